// The arithmetic of the map view without widgets: plot rectangle, least squares, multiplier knots,
// correction curves, header entries and table colours.
#include "charts/TabeleMap.h"
#include "charts/Wykres2D.h"

#include <QtTest>
#include <cstring>

using namespace Wykres2D;

namespace {
// A settings block and a multiplier table as the controller starts: every entry 100, knot 25 at 200.
struct TStanMnoznika {
    uint8_t nastawy[304] = {};
    uint8_t tabela[256];
    TMnoznik m;
    explicit TStanMnoznika(int skala = 200) {
        std::memset(tabela, 100, sizeof tabela);
        nastawy[ItemWezly + 25] = uint8_t(skala);
        m.nastawy = nastawy;
        m.tabela = tabela;
        m.skala = skala;
    }
    uint8_t &X(int i) { return nastawy[ItemWezly + i]; }
    int Obecnych() const {
        int n = 0;
        for (int i = 0; i < Wezly; ++i)
            n += m.Jest(i);
        return n;
    }
};

struct TStanKorekty {
    uint8_t blok[256] = {};
    TKorekta k;
    explicit TStanKorekty(int id) {
        k.blok = blok;
        k.Kasuj(id);
    }
};
} // namespace

class TestWykres2D : public QObject {
    Q_OBJECT

private slots:
    void plotRectangle_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<bool>("drawable");
        QTest::newRow("mode 0 at 1366x768") << 1366 << 768 << 0 << 1246 << 705 << 730 << true;
        QTest::newRow("curve at 1366x768") << 1366 << 768 << 2 << 1286 << 705 << 730 << true;
        QTest::newRow("too narrow for mode 0") << 120 << 300 << 0 << 0 << 237 << 262 << false;
        QTest::newRow("too low") << 600 << 60 << 4 << 520 << -2 << 23 << false;
    }
    void plotRectangle() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, mode);
        const TObszar o = Obszar(width, height, mode);
        QCOMPARE(o.left, 40);
        QTEST(o.w, "w");
        QTEST(o.h, "h");
        QTEST(o.bottom, "bottom");
        QTEST(o.Rysowalny(), "drawable");
    }

    void leastSquares() {
        // A line through 5 points and a parabola through 10 are found exactly.
        const int lx[5] = {1, 2, 3, 4, 10}, ly[5] = {3, 5, 7, 9, 21};
        TTrend t;
        QVERIFY(Dopasuj(lx, ly, 5, t));
        QCOMPARE(t.stopien, 1);
        QVERIFY(qAbs(t(7) - 15) < 1e-9);
        int px[10], py[10];
        for (int i = 0; i < 10; ++i) {
            px[i] = 100 + 37 * i;
            py[i] = (px[i] - 300) * (px[i] - 300) / 100;
        }
        QVERIFY(Dopasuj(px, py, 10, t));
        QCOMPARE(t.stopien, 2);
        QVERIFY(qAbs(t(300) - 0) < 1.0);
        QVERIFY(qAbs(t(500) - 400) < 1.0);
        // Singular systems give no trend rather than inf or NaN.
        const int same[6] = {50, 50, 50, 50, 50, 50}, ys[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        QVERIFY(!Dopasuj(same, ys, 6, t));
        const int two[12] = {5, 9, 5, 9, 5, 9, 5, 9, 5, 9, 5, 9}; // degree 2 needs three distinct x
        QVERIFY(!Dopasuj(two, ys, 12, t));
        QVERIFY(Dopasuj(two, ys, 12, t, 1));
        QVERIFY(!Dopasuj(lx, ly, 2, t)); // fewer than 3 points
    }

    void knotsJoinTheTable() {
        TStanMnoznika s;
        s.X(1) = 100;
        s.tabela[100] = 150;
        s.m.Przelicz();
        QCOMPARE(int(s.tabela[0]), 100);
        QCOMPARE(int(s.tabela[50]), 125);
        QCOMPARE(int(s.tabela[150]), 125);
        QCOMPARE(int(s.tabela[199]), 101); // 150 - 99 * 50 / 100, truncated
        QCOMPARE(int(s.tabela[255]), 100); // beyond the scale: the last knot's value
        // A knot past the scale is brought back onto it; the narrow range clamps the values.
        s.X(2) = 250;
        s.tabela[100] = 200;
        s.m.Przelicz();
        QVERIFY(s.X(24) < 200 && s.X(24) > 100);
        QCOMPARE(int(s.tabela[100]), 150);
    }

    void insertKnot_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("newX"); // 0: nothing inserted
        QTest::newRow("195 is too close to the end") << 195 << 0;
        QTest::newRow("150 gives 160") << 150 << 160;
    }
    void insertKnot() {
        QFETCH(int, x);
        QFETCH(int, newX);
        TStanMnoznika s;
        for (int i = 1; i <= 9; ++i)
            s.X(i) = uint8_t(i * 10);
        s.X(10) = uint8_t(x);
        s.m.wybrany = 10;
        QVERIFY(s.m.Wstaw());
        if (newX == 0) {
            QCOMPARE(s.Obecnych(), 12);
            QCOMPARE(s.m.wybrany, 10);
        } else {
            QCOMPARE(s.Obecnych(), 13);
            QCOMPARE(s.m.X(s.m.wybrany), newX);
        }
    }

    void knotsOnOneX_data() {
        QTest::addColumn<int>("skala");
        QTest::addColumn<int>("x");
        QTest::newRow("middle") << 200 << 80;
        QTest::newRow("at the scale") << 200 << 200;
        QTest::newRow("at 255") << 255 << 255;
    }
    void knotsOnOneX() {
        // Two knots on one x end one apart; a pair at the end of the axis never leaves it or wraps.
        QFETCH(int, skala);
        QFETCH(int, x);
        TStanMnoznika s(skala);
        s.X(3) = uint8_t(x);
        s.X(4) = uint8_t(x);
        s.m.Przelicz();
        QCOMPARE(s.Obecnych(), 4);
        int prev = 0;
        for (int i = 1; i < Wezly; ++i)
            if (s.m.Jest(i)) {
                QVERIFY2(s.m.X(i) > prev && s.m.X(i) <= skala, qPrintable(QString::number(s.m.X(i))));
                prev = s.m.X(i);
            }
        QCOMPARE(s.X(25), uint8_t(skala));
        if (x < skala) {
            QCOMPARE(s.X(24), uint8_t(x + 1));
            QCOMPARE(s.X(23), uint8_t(x));
        } else {
            QCOMPARE(s.X(24), uint8_t(skala - 1));
        }
    }

    void knotKeys() {
        TStanMnoznika s;
        s.X(1) = 50;
        s.X(2) = 51;
        s.m.Przelicz();
        s.m.wybrany = 25;
        QVERIFY(!s.m.Nastepny()); // Page Up above 24 beeps
        QVERIFY(s.m.Lewo());      // knot 25: the nearest present knot below
        QCOMPARE(s.m.wybrany, 24);
        QVERIFY(s.m.Lewo()); // a knot at x - 1: selected, nothing moves
        QCOMPARE(s.m.wybrany, 23);
        QCOMPARE(s.X(24), uint8_t(51));
        QVERIFY(s.m.Lewo()); // moved to 49
        QCOMPARE(s.X(23), uint8_t(49));
        QVERIFY(s.m.Zmien(60));
        QCOMPARE(int(s.tabela[49]), 150);
        QVERIFY(!s.m.Zmien(1)); // at the limit
        QVERIFY(s.m.Usun());
        QCOMPARE(s.Obecnych(), 3);
        QCOMPARE(s.m.wybrany, 0);
        QVERIFY(!s.m.Usun()); // knot 0 stays
        QCOMPARE(s.m.Najblizszy(52, 103), 24);
        QCOMPARE(s.m.Najblizszy(52, 110), -1);
    }

    void flatPressureCurve() {
        TStanKorekty s(8);
        QCOMPARE(s.k.Uzytych(), 2);
        QCOMPARE(s.k.X(0), 50);
        QCOMPARE(s.k.X(7), 250);
        for (int m = 50; m <= 255; ++m)
            QCOMPARE(int(s.blok[m]), 128);
    }

    void curveBetweenPoints() {
        TStanKorekty s(9);
        s.blok[3] = 64;   // point 0 (98, 64)
        s.blok[17] = 192; // point 7 (228, 192)
        s.k.Przelicz();
        QCOMPARE(int(s.blok[98]), 64);
        QCOMPARE(int(s.blok[163]), 128);
        QCOMPARE(int(s.blok[228]), 192);
        QCOMPARE(int(s.blok[60]), 64);   // before the first point
        QCOMPARE(int(s.blok[255]), 192); // after the last
        // A stored point below 50 never writes into the point table.
        s.blok[2] = 10;
        uint8_t przed[50];
        std::memcpy(przed, s.blok, 50);
        s.k.Przelicz();
        QCOMPARE(QByteArray(reinterpret_cast<char *>(s.blok), 50),
                 QByteArray(reinterpret_cast<char *>(przed), 50));
    }

    void curveInsertAndRightClick() {
        TStanKorekty s(10);
        QVERIFY(s.k.Wstaw()); // halfway between 98 and 228
        QCOMPARE(s.k.wybrany, 1);
        QCOMPARE(s.k.X(1), 163);
        QCOMPARE(s.k.Y(1), 128);
        for (int i = 0; i < 6; ++i)
            s.k.WstawW(100 + 20 * i);
        QCOMPARE(s.k.Uzytych(), 8);
        const QByteArray przed(reinterpret_cast<char *>(s.blok), 256);
        QVERIFY(!s.k.WstawW(150)); // all eight used: nothing changes
        QVERIFY(!s.k.Wstaw());
        QCOMPARE(QByteArray(reinterpret_cast<char *>(s.blok), 256), przed);
        for (int i = 1; i < 7; ++i)
            QVERIFY(s.k.X(i) >= s.k.X(i - 1));
    }

    void headerEntries_data() {
        QTest::addColumn<bool>("rpm");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("stored");
        QTest::newRow("12000 rpm") << true << "12000" << 30 << 200;
        QTest::newRow("20 rpm") << true << "20" << 30 << 1;
        QTest::newRow("rpm not a number") << true << "abc" << 30 << 30;
        QTest::newRow("0,75 bar") << false << "0,75" << 50 << 75;
        QTest::newRow("3 bar") << false << "3" << 50 << 255;
        QTest::newRow("0 bar keeps") << false << "0" << 50 << 50;
        QTest::newRow("bar not a number") << false << "x1" << 50 << 50;
        QTest::newRow("tiny bar") << false << "0.001" << 50 << 1;
    }
    void headerEntries() {
        QFETCH(bool, rpm);
        QFETCH(QString, text);
        QFETCH(int, current);
        QTEST(rpm ? TabeleMap::WpisObrotow(text, current) : TabeleMap::WpisObciazenia(text, current),
              "stored");
    }

    void tableColours() {
        using namespace TabeleMap;
        QCOMPARE(KolorOdchylki(11, false), CiemnoCzerwony);
        QCOMPARE(KolorOdchylki(10, false), Szary);
        QCOMPARE(KolorOdchylki(-11, false), Niebieski);
        QCOMPARE(KolorOdchylki(6, true), CiemnoCzerwony);
        QCOMPARE(KolorOdchylki(-5, true), Szary);
        QCOMPARE(KolorKorekty(100), Bialy);
        QCOMPARE(KolorKorekty(120), 0xFFD7D7u);
        QCOMPARE(KolorKorekty(80), 0xD7D7FFu);
    }

    void blockEdits() {
        uint8_t t[256];
        std::memset(t, 100, sizeof t);
        t[2 * 16 + 3] = 150;
        QVERIFY(TabeleMap::ZmienBlok(t, 1, 2, 3, 4, 1, 50, 150));
        QCOMPARE(int(t[2 * 16 + 3]), 150); // at its limit: unchanged
        QCOMPARE(int(t[2 * 16 + 4]), 101);
        QCOMPARE(int(t[1 * 16 + 3]), 101);
        QCOMPARE(int(t[0 * 16 + 3]), 100); // outside the block
        // Cells outside 50 … 150 move towards the range: 40 rises, 160 falls, neither moves away.
        t[1 * 16 + 3] = 40;
        t[1 * 16 + 4] = 160;
        QVERIFY(TabeleMap::ZmienBlok(t, 1, 1, 3, 4, 1, 50, 150));
        QCOMPARE(QPoint(t[1 * 16 + 3], t[1 * 16 + 4]), QPoint(41, 160));
        QVERIFY(TabeleMap::ZmienBlok(t, 1, 1, 3, 4, -1, 50, 150));
        QCOMPARE(QPoint(t[1 * 16 + 3], t[1 * 16 + 4]), QPoint(41, 159));
        std::memset(t, 50, sizeof t);
        QVERIFY(!TabeleMap::ZmienBlok(t, 0, 15, 0, 15, -1, 50, 150));
    }
};

QTEST_GUILESS_MAIN(TestWykres2D)
#include "tst_wykres2d.moc"
