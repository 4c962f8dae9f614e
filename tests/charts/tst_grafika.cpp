// The map view as a widget: knots and curve points under mouse and keys, the live cursor, the
// tables with their header entries and block edits, and the guards against zero divisors.
#include "Stanowisko.h"
#include "charts/TTabelaMapy.h"
#include "charts/TabeleMap.h"

#include <QLineEdit>
#include <QtTest>

using namespace Wykres2D;

class TestGrafika : public QObject {
    Q_OBJECT

    static void Aktywne(TStanowisko &t) {
        t.panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&t.panel));
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void knotAtTheMiddle() {
        TStanowisko t;
        Aktywne(t);
        t.s.Nastawy[ItemWezly + 1] = 100;
        t.Tryb(0);
        const TObszar o = t.g->Obszar();
        const QPoint p(o.left + o.w / 2 + 1, o.bottom - o.h / 2 + 1);
        t.g->Nacisnij(p, Qt::LeftButton);
        QVERIFY(t.g->PoleFokusu()->hasFocus());
        QVERIFY(t.g->WybranyWezel() > 0);
        QCOMPARE(t.g->Obraz().pixelColor(p), QColor(255, 255, 0)); // selected, with the focus
        QCOMPARE(t.g->Etykieta(0), QStringLiteral("10.0"));
        QCOMPARE(t.g->Etykieta(1), QStringLiteral("1.00"));
        // Up raises it and queues settings and multipliers for writing.
        t.g->KlawiszMapy(Qt::Key_Up, Qt::NoModifier);
        QCOMPARE(int(t.s.Mnoznik1[100]), 101);
        QCOMPARE(t.s.WriteRequests & 3u, 3u);
        QCOMPARE(t.g->Etykieta(1), QStringLiteral("1.01"));
        // The up and down buttons move every knot.
        const int e = (t.g->height() - 14) / 2;
        t.g->Nacisnij(QPoint(t.g->width() - 10, e + 10), Qt::LeftButton);
        QCOMPARE(int(t.s.Mnoznik1[100]), 100);
        QCOMPARE(int(t.s.Mnoznik1[0]), 99);
        // A right click far from every knot adds one there.
        t.g->Nacisnij(QPoint(o.left + o.w * 3 / 4 + 1, p.y()), Qt::RightButton);
        QCOMPARE(t.s.Nastawy[ItemWezly + t.g->WybranyWezel()], uint8_t(150));
    }

    void dragging() {
        TStanowisko t;
        Aktywne(t);
        t.s.Nastawy[ItemWezly + 1] = 100;
        t.Tryb(0);
        const TObszar o = t.g->Obszar();
        t.g->Nacisnij(QPoint(o.left + o.w / 2 + 1, o.bottom - o.h / 2 + 1), Qt::LeftButton);
        QVERIFY(t.g->WybranyWezel() > 0);
        t.g->Przeciagnij(QPoint(o.left + o.w * 3 / 5 + 1, o.bottom - o.h * 7 / 10));
        QCOMPARE(int(t.s.Nastawy[ItemWezly + t.g->WybranyWezel()]), 120);
        QCOMPARE(int(t.s.Mnoznik1[120]), 119);
        QCOMPARE(int(t.s.Mnoznik1[100]), 115); // on the line from knot 0 (100) to the moved knot
        QCOMPARE(t.s.WriteRequests & 3u, 3u);
        t.g->Przeciagnij(QPoint(o.right() + 50, o.top() - 50)); // off the plot: held at the ends
        QCOMPARE(int(t.s.Nastawy[ItemWezly + t.g->WybranyWezel()]), 199);
        QCOMPARE(int(t.s.Mnoznik1[199]), 150);
    }

    // Only a press that picked a knot inside the plot starts a drag, and only a move of a few pixels.
    void dragNeedsAPickedKnot() {
        TStanowisko t;
        Aktywne(t);
        t.s.Nastawy[ItemWezly + 1] = 100;
        t.Tryb(0);
        const TObszar o = t.g->Obszar();
        const QPoint knot(o.left + o.w / 2 + 1, o.bottom - o.h / 2 + 1);
        const QPoint far(o.left + o.w * 3 / 5 + 1, o.bottom - o.h * 7 / 10);
        const int e = (t.g->height() - 14) / 2;
        auto image = [&] {
            return QByteArray(reinterpret_cast<char *>(t.s.Mnoznik1), 256) +
                   QByteArray(reinterpret_cast<char *>(t.s.Nastawy + ItemWezly), Wezly);
        };
        // The raise button, an x-axis label, the right axis.
        const QPoint presses[] = {
            {t.g->width() - 10, e - 10}, {o.left + 100, o.bottom + 15}, {o.right() + 30, o.bottom - o.h / 2}};
        for (const QPoint &p : presses) {
            QTest::mouseClick(t.g, Qt::LeftButton, {}, knot);
            QVERIFY(t.g->WybranyWezel() > 0);
            QTest::mousePress(t.g, Qt::LeftButton, {}, p);
            t.Bez();
            const QByteArray before = image();
            QTest::mouseMove(t.g, far);
            QTest::mouseRelease(t.g, Qt::LeftButton, {}, far);
            QCOMPARE(image(), before);
            QCOMPARE(t.s.WriteRequests, 0u);
        }
        // A press on the knot and a shake of one pixel is a click, not a drag.
        QTest::mousePress(t.g, Qt::LeftButton, {}, knot);
        QTest::mouseMove(t.g, knot + QPoint(1, 1));
        QTest::mouseRelease(t.g, Qt::LeftButton, {}, knot + QPoint(1, 1));
        QCOMPARE(int(t.s.Mnoznik1[100]), 101); // as the raise button left it
        QCOMPARE(t.s.WriteRequests, 0u);
        // In a curve mode a press outside the plot does not drag the selected point either.
        t.Tryb(4);
        t.g->Nacisnij(QPoint(o.left + o.w / 2, o.bottom - o.h / 2), Qt::RightButton);
        QVERIFY(t.g->WybranyPunkt() > 0);
        t.Bez();
        const QByteArray curve(reinterpret_cast<char *>(t.s.KorCis), 256);
        QTest::mousePress(t.g, Qt::LeftButton, {}, QPoint(o.left + 100, o.bottom + 15));
        QTest::mouseMove(t.g, far);
        QTest::mouseRelease(t.g, Qt::LeftButton, {}, far);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(t.s.KorCis), 256), curve);
    }

    // Knots are drawn at the table's value plus the adaptation offset (identification byte 67 - 128):
    // the mouse picks and drags them where they are drawn.
    void knotsUnderTheAdaptationOffset() {
        TStanowisko t;
        Aktywne(t);
        t.s.Identyfikacja[67] = 128 + 10;
        t.s.Nastawy[ItemWezly + 1] = 100; // table value 100, drawn at 1.10
        t.Tryb(0);
        const TObszar o = t.g->Obszar();
        const QPoint drawn(o.left + o.w / 2 + 1, int(o.bottom - 60 * o.h * 0.01 + 1));
        QTest::mouseClick(t.g, Qt::LeftButton, {}, drawn);
        QCOMPARE(t.g->WybranyWezel(), 1);
        QCOMPARE(t.g->Etykieta(1), QStringLiteral("1.10"));
        // Dragged to 1.20 (70 % of the height above the bottom): the table keeps 1.20 - 0.10.
        const QPoint to(o.left + o.w * 3 / 5 + 1, o.bottom - 494);
        QTest::mousePress(t.g, Qt::LeftButton, {}, drawn);
        QTest::mouseMove(t.g, to);
        QTest::mouseRelease(t.g, Qt::LeftButton, {}, to);
        QCOMPARE(int(t.s.Nastawy[ItemWezly + t.g->WybranyWezel()]), 120);
        QCOMPARE(int(t.s.Mnoznik1[120]), 110);
    }

    // Each curve mode asks for its own curve, and a key edit writes that curve alone.
    void curveModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("id");
        QTest::addColumn<uint32_t>("bit");
        QTest::newRow("reducer temperature") << 2 << 9 << 512u;
        QTest::newRow("gas temperature") << 3 << 10 << 1024u;
        QTest::newRow("gas pressure") << 4 << 8 << 256u;
    }
    void curveModes() {
        QFETCH(int, mode);
        QFETCH(int, id);
        QFETCH(uint32_t, bit);
        TStanowisko t;
        Aktywne(t);
        t.g->UstawTryb(mode);
        QCOMPARE(t.s.CurveSelected, id);
        QCOMPARE(t.s.ReadRequests & 0x700u, bit);
        t.Bez();
        t.g->PoleFokusu()->setFocus();
        t.g->KlawiszMapy(Qt::Key_Up, Qt::NoModifier); // every used point
        QCOMPARE(t.s.WriteRequests, bit);
    }

    void keysNeedTheFocus() {
        TStanowisko t;
        t.Tryb(0);
        t.g->KlawiszMapy(Qt::Key_Up, Qt::NoModifier);
        QCOMPARE(int(t.s.Mnoznik1[0]), 100);
        QCOMPARE(t.s.WriteRequests, 0u);
        Aktywne(t);
        t.g->PoleFokusu()->setFocus();
        t.g->KlawiszMapy(Qt::Key_Up, Qt::NoModifier); // none selected: every knot
        QCOMPARE(int(t.s.Mnoznik1[0]), 101);
        QCOMPARE(int(t.s.Mnoznik1[200]), 101);
        t.g->KlawiszMapy(Qt::Key_End, Qt::NoModifier);
        t.g->KlawiszMapy(Qt::Key_PageUp, Qt::NoModifier);
        QCOMPARE(t.beeps, 1);
        t.g->KlawiszMapy(Qt::Key_Delete, Qt::NoModifier); // knot 25 cannot go
        QCOMPARE(t.beeps, 2);
    }

    void correctionCurves() {
        TStanowisko t;
        Aktywne(t);
        t.Tryb(4);
        QCOMPARE(t.s.CurveSelected, 8);
        for (int m = 50; m <= 255; ++m)
            QCOMPARE(int(t.s.KorCis[m]), 128);
        // Six right clicks fill the points; the seventh changes nothing.
        const TObszar o = t.g->Obszar();
        for (int i = 0; i < 7; ++i)
            t.g->Nacisnij(QPoint(o.left + o.w * (i + 1) / 8, o.bottom - o.h / 2), Qt::RightButton);
        QCOMPARE(t.beeps, 0);
        QCOMPARE(t.s.WriteRequests & 256u, 256u);
        t.Tryb(2);
        for (int i = 0; i < 6; ++i)
            t.g->Nacisnij(QPoint(o.left + o.w * (i + 1) / 7, o.bottom - o.h / 4), Qt::RightButton);
        const QByteArray full(reinterpret_cast<char *>(t.s.KorTempRed), 256);
        t.g->Nacisnij(QPoint(o.left + o.w / 2 + 3, o.top() + 5), Qt::RightButton);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(t.s.KorTempRed), 256), full);
        // Clear corrections resets it.
        t.g->KasujKorekte();
        QCOMPARE(t.s.KorTempRed[2], uint8_t(98));
        QCOMPARE(t.s.KorTempRed[5], uint8_t(0));
        QCOMPARE(t.s.WriteRequests & 512u, 512u);
    }

    void modeChangedWhileHidden() {
        // The window hides the view, sets the next mode and shows it again: no stale picture.
        TStanowisko t;
        t.Tryb(0);
        t.g->hide();
        t.g->UstawTryb(4);
        t.g->show();
        t.g->repaint();
        const TObszar o = t.g->Obszar();
        QCOMPARE(o.w, 1286);
        QCOMPARE(t.g->Obraz().pixelColor(o.left + 1270, o.top() + 10),
                 Kolor(PaletaSchematu(2).MapBackground));
    }

    void cursor_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("share");    // expected x as a share of w in percent
        QTest::addColumn<int>("pressure"); // manifold pressure, 0.01 bar (16 bits at 44)
        QTest::addColumn<int>("yshare");   // mode 0: expected height of y as a share of h in percent
        QTest::newRow("reducer 90") << 2 << 40 << 90 << 0 << 50 << 0;
        QTest::newRow("reducer 240") << 2 << 40 << 240 << 100 << 50 << 0;
        QTest::newRow("gas temperature 163") << 3 << 42 << 163 << 50 << 50 << 0;
        QTest::newRow("petrol 10.0 ms") << 0 << 19 << 100 << 50 << 50 << 50;
        QTest::newRow("petrol beyond the scale") << 0 << 19 << 250 << 100 << 50 << 50;
        // 3.00 bar = 0x012C: the high byte puts it above the last load point (1.00 bar), at the top.
        QTest::newRow("manifold 3.00 bar") << 0 << 19 << 100 << 50 << 300 << 100;
    }
    void cursor() {
        QFETCH(int, mode);
        QFETCH(int, offset);
        QFETCH(int, value);
        QFETCH(int, share);
        QFETCH(int, pressure);
        QFETCH(int, yshare);
        TStanowisko t;
        t.Tryb(mode);
        const int rysowan = t.g->LiczbaRysowan();
        t.Odpowiedz({{offset, value}, {44, pressure & 0xFF}, {45, pressure >> 8}});
        const TObszar o = t.g->Obszar();
        QCOMPARE(t.g->KursorX(), o.left + o.w * share / 100);
        if (mode == 0) QCOMPARE(t.g->KursorY(), o.bottom - o.h * yshare / 100);
        QCOMPARE(t.g->LiczbaRysowan(), rysowan); // the picture is not composed again
    }

    void noDivisionByZero() {
        // Scale 0, last load point 0 and a window too small for a plot: nothing drawn, no crash.
        TStanowisko t;
        t.s.MultiplierScale = 0;
        t.s.Nastawy[239] = 0;
        t.Tryb(0);
        t.Odpowiedz({{19, 50}, {44, 30}});
        QCOMPARE(t.g->KursorX(), -1);
        QCOMPARE(t.g->KursorY(), -1);
        t.g->Nacisnij(QPoint(400, 300), Qt::RightButton);
        TStanowisko mala(60, 40);
        for (int mode = 0; mode <= 7; ++mode) {
            mala.Tryb(mode);
            mala.Odpowiedz({{19, 50}, {40, 150}, {15, 3}, {16, 4}});
            mala.g->Nacisnij(QPoint(20, 20), Qt::LeftButton);
            QCOMPARE(mala.g->Obraz().size(), QSize(60, 40));
        }
        QCOMPARE(mala.g->KursorX(), -1);
    }

    void liveCell() {
        TStanowisko t;
        t.Tryb(1);
        t.Odpowiedz({{15, 3}, {16, 5}});
        QCOMPARE(t.g->ZywaKolumna(), 3);
        QCOMPARE(t.g->ZywyWiersz(), 5);
        uint32_t bg = 0, fg = 0;
        t.g->TabelaDolna()->Kolory(4, 11, bg, fg);
        QCOMPARE(bg, TabeleMap::Pomaranczowy);
        t.Odpowiedz({{15, 16}, {16, 5}}); // outside the grid: no live cell
        QCOMPARE(t.g->ZywaKolumna(), -1);
        t.s.Nastawy[ItemOsKorekt] = 1; // the row follows the petrol time
        t.Odpowiedz({{15, 2}, {16, 9}, {19, 0x75}});
        QCOMPARE(t.g->ZywyWiersz(), 7);
    }

    void loadAxisByPetrolTime() {
        TStanowisko t;
        t.s.Nastawy[ItemOsKorekt] = 1;
        t.Tryb(1);
        TTabelaMapy *d = t.g->TabelaDolna();
        QCOMPARE(d->Tekst[0][16], QStringLiteral("1.6"));
        QCOMPARE(d->Tekst[0][1], QStringLiteral("25.6"));
        QCOMPARE(d->Tekst[0][0], QStringLiteral("ms/rpm"));
        QCOMPARE(t.g->TabelaGorna()->Tekst[0][16], QStringLiteral("0.06"));
        d->OnKlik(0, 5); // a load header: only parks the entry box
        QCOMPARE(t.g->PoleFokusu()->width(), 1);
    }

    void headerEntry() {
        TStanowisko t;
        Aktywne(t);
        t.Tryb(1);
        TTabelaMapy *d = t.g->TabelaDolna();
        d->OnKlik(1, 0);
        QLineEdit *pole = t.g->PoleFokusu();
        QVERIFY(pole->width() > 1);
        QCOMPARE(pole->text(), QStringLiteral("600"));
        pole->setText(QStringLiteral("12000"));
        QTest::keyClick(pole, Qt::Key_Return);
        QCOMPARE(t.s.Nastawy[240], uint8_t(200));
        QCOMPARE(t.s.WriteRequests & 1u, 1u);
        QCOMPARE(d->Tekst[1][0], QStringLiteral("10000"));
        QCOMPARE(pole->width(), 1);
        d->OnKlik(0, 13); // load point 3
        pole->setText(QStringLiteral("0,75"));
        QTest::keyClick(pole, Qt::Key_Return);
        QCOMPARE(t.s.Nastawy[227], uint8_t(75));
        QCOMPARE(d->Tekst[0][13], QStringLiteral("0.75"));
        QCOMPARE(t.g->TabelaGorna()->Tekst[0][13], QStringLiteral("0.75"));
    }

    void blockKeys() {
        TStanowisko t;
        Aktywne(t);
        t.Tryb(1);
        TTabelaMapy *d = t.g->TabelaDolna();
        t.s.KorObr1[3 * 16 + 5] = 150;
        d->setFocus();
        d->UstawBlok(4, 11, 5, 11); // RPM points 3 and 4 at load point 5
        t.g->KlawiszMapy(Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(int(t.s.KorObr1[3 * 16 + 5]), 150);
        QCOMPARE(int(t.s.KorObr1[4 * 16 + 5]), 71);
        QCOMPARE(int(t.s.KorObr1[5 * 16 + 5]), 100);
        QCOMPARE(t.s.WriteRequests & 8u, 8u);
        QCOMPARE(d->Tekst[5][11], QStringLiteral("-29"));
        t.g->KlawiszMapy(Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier); // the whole table
        QCOMPARE(int(t.s.KorObr1[0]), 99);
        QCOMPARE(t.g->OdstepTimera(), 100);
        t.g->TimerTick();
        QCOMPARE(t.g->OdstepTimera(), 1500);
        t.Odpowiedz({{15, 0}, {16, 0}});
        t.g->KlawiszMapy(Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(int(t.s.KorObr1[0]), 100);
    }

    // The petrol map's dots join its trend up to RPM column 12; the deviation line lies above the
    // deviation scale's zero when petrol times are longer than gas times.
    void mapTrendAndDeviation() {
        TStanowisko t;
        auto count = [&](const QColor &c, int x0, int x1, int y0, int y1) {
            int n = 0;
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    n += t.g->Obraz().pixelColor(x, y) == c;
            return n;
        };
        const QColor red(255, 0, 0), blue(2, 116, 253);
        uint8_t *a = t.s.Mapy[MapaA], *b = t.s.Mapy[MapaB];
        const TObszar &o = t.g->Obszar();
        int reds[2] = {};
        for (int c : {12, 13}) {
            std::memset(a, 0, 256);
            std::memset(b, 0, 256);
            for (int r = 1; r <= 5; ++r)
                a[c * 16 + r] = uint8_t(10 + 30 * r);
            t.Tryb(0);
            reds[c - 12] = count(red, o.left, o.right(), o.top(), o.bottom);
        }
        QVERIFY2(reds[0] > reds[1] + 500, qPrintable(QStringLiteral("%1 %2").arg(reds[0]).arg(reds[1])));
        // Petrol 2.0 ms longer than gas everywhere: the line at bottom - 0.2 h - 20 h / 400.
        std::memset(a, 0, 256);
        for (int c = 1; c < 10; ++c)
            for (int r = 2; r < 12; ++r) {
                a[c * 16 + r] = uint8_t(20 + 6 * r + c);
                b[c * 16 + r] = uint8_t(a[c * 16 + r] - 20);
            }
        t.Tryb(0);
        const int x = o.left + 64 * o.w / 200;
        const int above = int(o.bottom - 0.25 * o.h), below = int(o.bottom - 0.15 * o.h);
        QVERIFY(count(blue, x - 5, x + 5, above - 3, above + 3) > 0);
        QCOMPARE(count(blue, x - 5, x + 5, below - 3, below + 3), 0);
    }

    void deviationColours() {
        TStanowisko t;
        t.Tryb(1);
        QCOMPARE(t.g->ZawartoscGornej(), 2);
        t.s.Mapy[MapaA][2 * 16 + 3] = 111;
        t.s.Mapy[MapaB][2 * 16 + 3] = 100;
        t.s.Mapy[MapaA][2 * 16 + 4] = 110;
        t.s.Mapy[MapaB][2 * 16 + 4] = 100;
        t.g->Rysuj();
        TTabelaMapy *u = t.g->TabelaGorna();
        uint32_t bg = 0, fg = 0;
        u->Kolory(3, 13, bg, fg);
        QCOMPARE(fg, TabeleMap::CiemnoCzerwony);
        QCOMPARE(u->Tekst[3][13], QStringLiteral("+1.1"));
        u->Kolory(3, 12, bg, fg);
        QCOMPARE(fg, TabeleMap::Szary);
        t.g->KlawiszMapy(Qt::Key_F8, Qt::NoModifier);
        QCOMPARE(t.g->ZawartoscGornej(), 0);
        QCOMPARE(u->Tekst[3][13], QStringLiteral("11.1"));
    }

    void cornerTogglesTheLoadAxis() {
        TStanowisko t;
        t.Tryb(1);
        t.g->TabelaDolna()->OnKlik(0, 0);
        QCOMPARE(t.s.Nastawy[ItemOsKorekt], uint8_t(1));
        QCOMPARE(t.s.WriteRequests & 1u, 1u);
        QCOMPARE(t.s.ReadRequests & 24u, 0u); // not yet: a timer asks for them, nothing waits
        QTRY_COMPARE_WITH_TIMEOUT(t.s.ReadRequests & 24u, 24u, 2000);
    }
};

QTEST_MAIN(TestGrafika)
#include "tst_grafika.moc"
