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
        QTest::addColumn<int>("share"); // expected x as a share of w in percent
        QTest::newRow("reducer 90") << 2 << 40 << 90 << 0;
        QTest::newRow("reducer 240") << 2 << 40 << 240 << 100;
        QTest::newRow("gas temperature 163") << 3 << 42 << 163 << 50;
        QTest::newRow("petrol 10.0 ms") << 0 << 19 << 100 << 50;
        QTest::newRow("petrol beyond the scale") << 0 << 19 << 250 << 100;
    }
    void cursor() {
        QFETCH(int, mode);
        QFETCH(int, offset);
        QFETCH(int, value);
        QFETCH(int, share);
        TStanowisko t;
        t.Tryb(mode);
        const int rysowan = t.g->LiczbaRysowan();
        t.Odpowiedz({{offset, value}, {44, 50}});
        const TObszar o = t.g->Obszar();
        QCOMPARE(t.g->KursorX(), o.left + o.w * share / 100);
        if (mode == 0) QCOMPARE(t.g->KursorY(), o.bottom - o.h / 2);
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
