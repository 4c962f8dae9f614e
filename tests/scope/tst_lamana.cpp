// Polylines written straight into the picture against the painter's own: every pixel the same for
// lines in every direction, joints of every kind, ends on and just past the image's edges, clip
// rectangles cutting them anywhere, and runs of changing colour that share their joint points.
#include "scope/TLamana.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

namespace {
using TLinie = QList<std::pair<QPolygon, QRgb>>;

// Both pictures of the lines, each `width` times side by side, on one background with one clip:
// empty when every pixel agrees, else the first that does not.
QString Porownaj(const TLinie &linie, QSize size, int width, const QRect &clip,
                 QImage::Format format = QImage::Format_RGB32) {
    // The written picture lies in a larger buffer: three guard pixels right of every row and a guard
    // row below, none of which may change.
    const int stride = size.width() + 3;
    std::vector<uint32_t> puszka(size_t(stride) * size_t(size.height() + 1), 0x12345678u);
    QImage a(size, format),
        b(reinterpret_cast<uchar *>(puszka.data()), size.width(), size.height(), stride * 4, format);
    a.fill(0xff203040);
    b.fill(0xff203040);
    QPainter ga(&a), gb(&b);
    if (!clip.isNull()) ga.setClipRect(clip), gb.setClipRect(clip);
    for (const auto &[pts, kolor] : linie) {
        QPen pen(QColor::fromRgb(kolor), 1);
        pen.setCosmetic(true);
        ga.setPen(pen);
        for (int d = 0; d < width; ++d)
            ga.drawPolyline(pts.translated(d, 0));
        if (!LamanaWprost(gb, pts.constData(), int(pts.size()), QColor::fromRgb(kolor), width))
            return "not written";
    }
    gb.end();
    for (size_t i = 0; i < puszka.size(); ++i)
        if ((int(i % size_t(stride)) >= size.width() || int(i / size_t(stride)) >= size.height()) &&
            puszka[i] != 0x12345678u)
            return QString::asprintf("written outside the picture at (%d, %d)", int(i % size_t(stride)),
                                     int(i / size_t(stride)));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QString::asprintf("(%d, %d): painter %08x, written %08x", x, y, a.pixel(x, y),
                                         b.pixel(x, y));
    return {};
}

// A trace as the scope draws it: per column a run from one extreme to the other, and a new
// polyline from the last point wherever the colour changes.
TLinie Kolumny(QRandomGenerator &r, QSize size, int width) {
    TLinie linie{{{}, 0xffff0000}};
    const int x0 = r.bounded(-1, 6),
              x1 = std::min(x0 + r.bounded(size.width() + 4), size.width() + 2 - width);
    const int skok = r.bounded(2) ? size.height() : 6; // tall columns or short ones
    for (int x = x0; x <= x1; ++x) {
        if (r.bounded(8) == 0 && !linie.last().first.isEmpty())
            linie.append({{linie.last().first.last()}, 0xff000000 | r.generate()});
        const int lo = r.bounded(-1, size.height() + 2);
        linie.last().first << QPoint(x, lo)
                           << QPoint(x, std::clamp(lo + r.bounded(-skok, skok + 1), -1, size.height() + 1));
    }
    if (linie.last().first.size() < 2) linie.removeLast();
    return linie;
}

// Any polyline: long segments in every direction, or short ones with many joints and repeats;
// now and then closed.
TLinie Dowolna(QRandomGenerator &r, QSize size, int width) {
    QPolygon p;
    const int krok = r.bounded(4) == 0 ? 2 : 1000, xMax = size.width() + 2 - width;
    QPoint q(r.bounded(-1, xMax + 1), r.bounded(-1, size.height() + 2));
    p << q;
    for (int i = 0, n = r.bounded(2, 40); i < n; ++i) {
        if (r.bounded(6) != 0) // else the same point again
            q = QPoint(std::clamp(q.x() + r.bounded(-krok, krok + 1), -1, xMax),
                       std::clamp(q.y() + r.bounded(-krok, krok + 1), -1, size.height() + 1));
        p << q;
    }
    if (r.bounded(5) == 0) p << p.first();
    return {{p, 0xff000000 | r.generate()}};
}
} // namespace

class TstLamana : public QObject {
    Q_OBJECT
private slots:
    void samePixelsAsThePainter_data() {
        QTest::addColumn<int>("ksztalt");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("przyciete");
        QTest::addColumn<int>("format");
        for (int ksztalt : {0, 1})
            for (int width : {1, 2, 3})
                for (bool przyciete : {false, true})
                    QTest::addRow("%s w%d%s", ksztalt ? "any" : "columns", width, przyciete ? " clipped" : "")
                        << ksztalt << width << przyciete
                        << int(width == 2 && przyciete ? QImage::Format_ARGB32_Premultiplied
                                                       : QImage::Format_RGB32);
    }
    void samePixelsAsThePainter() {
        QFETCH(int, ksztalt);
        QFETCH(int, width);
        QFETCH(bool, przyciete);
        QFETCH(int, format);
        QRandomGenerator r(uint(ksztalt * 100 + width * 10 + przyciete));
        for (int i = 0; i < 400; ++i) {
            const QSize size(r.bounded(1, 48), r.bounded(1, 40));
            QRect clip;
            if (przyciete)
                clip = QRect(r.bounded(-2, size.width()), r.bounded(-2, size.height()),
                             r.bounded(0, size.width() + 2), r.bounded(0, size.height() + 2));
            const TLinie linie = ksztalt ? Dowolna(r, size, width) : Kolumny(r, size, width);
            const QString blad = Porownaj(linie, size, width, clip, QImage::Format(format));
            if (!blad.isEmpty()) {
                QString opis;
                for (const auto &l : linie)
                    for (const QPoint &p : l.first)
                        opis += QString::asprintf(" (%d,%d)", p.x(), p.y());
                QFAIL(qPrintable(QString("case %1, %2x%3, clip %4,%5 %6x%7:%8 → %9")
                                     .arg(i)
                                     .arg(size.width())
                                     .arg(size.height())
                                     .arg(clip.x())
                                     .arg(clip.y())
                                     .arg(clip.width())
                                     .arg(clip.height())
                                     .arg(opis, blad)));
            }
        }
    }

    // Where the result is not known to be the painter's, nothing is written and the caller draws.
    void leavesTheRestToThePainter() {
        const QPoint pts[] = {{2, 2}, {10, 8}};
        QImage img(20, 20, QImage::Format_RGB32);
        img.fill(0xff000000);
        const QImage przed = img;
        auto sprobuj = [&](auto ustaw, QColor c = Qt::red, const QPoint *p = nullptr) {
            if (!p) p = pts;
            QPainter g(&img);
            ustaw(g);
            const bool wynik = LamanaWprost(g, p, 2, c, 2);
            g.end();
            return wynik;
        };
        QVERIFY(!sprobuj([](QPainter &g) { g.setRenderHint(QPainter::Antialiasing); }));
        QVERIFY(!sprobuj([](QPainter &g) { g.translate(1, 0); }));
        QVERIFY(!sprobuj([](QPainter &g) { g.setOpacity(0.5); }));
        QVERIFY(!sprobuj([](QPainter &g) { g.setCompositionMode(QPainter::CompositionMode_Xor); }));
        QVERIFY(!sprobuj([](QPainter &) {}, QColor(255, 0, 0, 128)));
        QVERIFY(!sprobuj([](QPainter &g) { g.setClipRegion(QRegion(0, 0, 5, 5) + QRegion(8, 8, 5, 5)); }));
        const QPoint daleko[] = {{2, 2}, {30, 8}};
        QVERIFY(!sprobuj([](QPainter &) {}, Qt::red, daleko));
        QCOMPARE(img, przed);
        QImage inny(20, 20, QImage::Format_RGB16);
        QPainter g(&inny);
        QVERIFY(!LamanaWprost(g, pts, 2, Qt::red, 2));
    }
};

QTEST_GUILESS_MAIN(TstLamana)
#include "tst_lamana.moc"
