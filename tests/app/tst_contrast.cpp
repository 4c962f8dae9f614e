// Every text the window draws reads in all six colour schemes: 4.5:1 against its background, 3:1 for
// greyed text. The palette's text entries on the backgrounds the views draw them on, and the pressed tab
// and emphasised action buttons measured on the grabbed window.
#include "Okno.h"
#include "widgets/TPaleta.h"

#include <QPushButton>

namespace {
struct TPara {
    const char *co;
    uint32_t TPaleta::*tekst;
    uint32_t TPaleta::*tlo;
    double prog = KontrastTekstu;
};

// What the drawing code puts on what.
const TPara Pary[] = {
    {"window, grid labels, map and scope texts", &TPaleta::Text, &TPaleta::Background},
    {"reading names", &TPaleta::Text, &TPaleta::NameCell},
    {"boxes, adapter and PID grids", &TPaleta::Text, &TPaleta::Box},
    {"side strips", &TPaleta::SplitterText, &TPaleta::Splitter},
    {"banners, grid captions", &TPaleta::BannerText, &TPaleta::Background},
    {"reading values", &TPaleta::BannerText, &TPaleta::ValueCell},
    {"pressed tab, emphasised buttons", &TPaleta::SelectedTab, &TPaleta::Background},
    {"red buttons and captions", &TPaleta::CaptionRed, &TPaleta::Background},
    {"petrol injection times", &TPaleta::CaptionRed, &TPaleta::ValueCell},
    {"green buttons and captions", &TPaleta::CaptionGreen, &TPaleta::Background},
    {"gas injection times", &TPaleta::CaptionGreen, &TPaleta::ValueCell},
    {"purple buttons", &TPaleta::CaptionPurple, &TPaleta::Background},
    {"diagnostics tab, controller warns", &TPaleta::CaptionDarkGreen, &TPaleta::Background},
    {"value boxes", &TPaleta::EditableText, &TPaleta::Box},
    {"value boxes out of range", &TPaleta::EditableText, &TPaleta::WarningBox},
    {"selected value box", &TPaleta::SelectedCellText, &TPaleta::SelectedCell},
    {"locked value box", &TPaleta::LockedCellText, &TPaleta::LockedCell, KontrastWyszarzony},
    {"locked label", &TPaleta::LockedCellText, &TPaleta::Background, KontrastWyszarzony},
    {"dialogs", &TPaleta::DialogText, &TPaleta::Background},
    {"map legend: curve", &TPaleta::MapCurveText, &TPaleta::MapBackground},
    {"map legend: petrol", &TPaleta::MapPetrolText, &TPaleta::MapBackground},
    {"map legend: gas", &TPaleta::MapGasText, &TPaleta::MapBackground},
    {"map legend and scale: deviation", &TPaleta::MapDeviationText, &TPaleta::MapBackground},
    {"map marker labels", &TPaleta::MapMarkerText, &TPaleta::MapBackground},
};

QString Opis(const QColor &text, const QColor &background) {
    return QStringLiteral("%1 on %2: %3:1")
        .arg(text.name(), background.name())
        .arg(Kontrast(text, background), 0, 'f', 2);
}

// On screen: the face is the colour most pixels of r have; the pixel that stands out most from it is
// the text's own colour where a stroke covers a whole pixel.
QString NaEkranie(const QImage &im, const QRect &r, double *ratio) {
    QHash<QRgb, int> ile;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++ile[im.pixel(x, y)];
    QRgb face = 0;
    for (auto it = ile.cbegin(); it != ile.cend(); ++it)
        if (it.value() > ile.value(face)) face = it.key();
    const QColor tlo(face);
    QColor ink = tlo;
    for (auto it = ile.cbegin(); it != ile.cend(); ++it)
        if (Kontrast(QColor(it.key()), tlo) > Kontrast(ink, tlo)) ink = QColor(it.key());
    *ratio = Kontrast(ink, tlo);
    return Opis(ink, tlo);
}
} // namespace

class TestContrast : public QObject {
    Q_OBJECT
    std::unique_ptr<TOkno> o_;

private slots:
    void initTestCase() { o_ = std::make_unique<TOkno>(1); }
    void cleanupTestCase() { o_.reset(); }

    void paletteFloor_data() {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("pair");
        for (int s = 0; s < 6; ++s)
            for (int i = 0; i < int(std::size(Pary)); ++i)
                QTest::addRow("%d %s", s, Pary[i].co) << s << i;
    }
    void paletteFloor() {
        QFETCH(int, scheme);
        QFETCH(int, pair);
        const TPaleta p = PaletaSchematu(scheme);
        const TPara &q = Pary[pair];
        const QColor t = Kolor(p.*q.tekst), b = Kolor(p.*q.tlo);
        QVERIFY2(Kontrast(t, b) >= q.prog, qPrintable(Opis(t, b)));
    }

    // Moved just far enough, toward white on dark and black on light; what reads stays as it is.
    // Worked out with a separate model of the relative-luminance formula and the 1/255 steps.
    void movedJustFarEnough_data() {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<double>("floor");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("dark blue on black")
            << QColor(0, 0, 128) << QColor(0, 0, 0) << 4.5 << QColor(109, 109, 182);
        QTest::newRow("locked grey, dim")
            << QColor(60, 60, 60) << QColor(40, 40, 40) << 3.0 << QColor(113, 113, 113);
        QTest::newRow("white on mid blue")
            << QColor(255, 255, 255) << QColor(48, 140, 198) << 4.5 << QColor(30, 30, 30);
        QTest::newRow("reads already")
            << QColor(0, 0, 160) << QColor(210, 210, 210) << 4.5 << QColor(0, 0, 160);
    }
    void movedJustFarEnough() {
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QFETCH(double, floor);
        QFETCH(QColor, expected);
        QCOMPARE(Czytelny(text, background, floor), expected);
    }

    // The pressed tab and the emphasised action buttons (and the diagnostics tab, pressed, in its error
    // and warning colours) as the window draws them.
    void onScreen_data() {
        QTest::addColumn<int>("scheme");
        for (int s = 0; s < 6; ++s)
            QTest::addRow("scheme %d", s) << s;
    }
    void onScreen() {
        QFETCH(int, scheme);
        TForm1 &w = *o_->w;
        w.MenuColor0Click(scheme);
        auto czytelny = [&](QWidget *b, const char *what) {
            const QImage im = b->grab().toImage();
            double k = 0;
            const QString opis = NaEkranie(im, im.rect().adjusted(2, 2, -2, -2), &k); // inside the frame
            QVERIFY2(k >= KontrastTekstu, qPrintable(QStringLiteral("%1: ").arg(QLatin1String(what)) + opis));
        };
        w.SpeedButton1Click(0);
        czytelny(w.TabMain[0], "pressed tab");
        czytelny(w.Btn[3], "Factory settings");
        w.SpeedButton1Click(1);
        czytelny(w.Btn[3], "Start [Enter]");
        w.SpeedButton1Click(3);
        czytelny(w.Btn[3], "Clear errors");
        for (uint8_t bits : {uint8_t(0x08), uint8_t(0x04)}) {
            o_->Zero();
            o_->S().RxBuffer[11] = bits;
            w.UpdateLive(o_->S().RxBuffer);
            czytelny(w.TabMain[3], bits == 0x08 ? "diagnostics tab, errors" : "diagnostics tab, warning");
        }
        w.SpeedButton1Click(2);
        w.WybierzPodzakladkeMapy(0);
        w.SpeedButton11Click();
        czytelny(w.Btn[0], "Erase petrol map");
        czytelny(w.Btn[1], "Erase gas map");
        czytelny(w.Btn[2], "Erase adjustments");
        w.WybierzPodzakladkeMapy(1);
        w.SpeedButton11Click();
        czytelny(w.Btn[2], "Clear corrections");
    }
};

QTEST_MAIN(TestContrast)
#include "tst_contrast.moc"
