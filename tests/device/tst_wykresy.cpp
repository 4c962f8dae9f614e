// The chart series catalogue: its records, the counting of list members, and its adjustment to the
// controller's board and RPM input.
#include "device/TSterownik.h"

#include <QtTest>

namespace {
constexpr uint32_t Rgb(int r, int g, int b) {
    return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}

struct Eng : TSterownik {
    Eng() { StopTimer(); }
};
} // namespace

class TestWykresy : public QObject {
    Q_OBJECT
private slots:
    void records_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("label");
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("rawType");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<uint32_t>("colour");
        QTest::addColumn<double>("gain");
        QTest::addColumn<int>("flags");
        QTest::newRow("0 work state") << 0 << 0 << 0 << 10 << 11 << 1.0 << 0 << Rgb(0, 0, 0) << 1.0 << 0x00;
        QTest::newRow("1 rpm") << 1 << 1400 << 1056 << 17 << 11 << 10.0 << 0 << Rgb(0, 112, 253) << 1.4
                               << 0x33;
        QTest::newRow("5 abs gas") << 5 << 1408 << 1051 << 46 << 11 << 0.01 << 2 << Rgb(0, 160, 128) << 5.0
                                   << 0x03;
        QTest::newRow("7 gas temp") << 7 << 1412 << 1054 << 42 << 20 << 1.0 << 0 << Rgb(255, 1, 134) << 1.0
                                    << 0x33;
        QTest::newRow("8 rpm input") << 8 << 1418 << 1050 << 58 << 11 << 0.008 << 2 << Rgb(255, 0, 255) << 1.0
                                     << 0;
        QTest::newRow("10 lambda 2") << 10 << 1422 << 1050 << 56 << 11 << 0.005 << 2 << Rgb(128, 0, 128)
                                     << 2.5 << 0x03;
        QTest::newRow("11 level") << 11 << 1430 << 1050 << 50 << 10 << 0.02 << 2 << Rgb(0, 80, 255) << 1.0
                                  << 0x03;
        QTest::newRow("12 supply") << 12 << 1432 << 1050 << 52 << 11 << 0.005 << 2 << Rgb(255, 0, 128) << 1.0
                                   << 0x23;
        QTest::newRow("13 fuel sys") << 13 << 1450 << 0 << 97 << 23 << 1.0 << 0 << Rgb(144, 96, 48) << 1.0
                                     << 0x03;
        QTest::newRow("18 long ft 2")
            << 18 << 1460 << 1057 << 102 << 22 << 1.0 << 1 << Rgb(0, 160, 160) << 1.0 << 0x03;
        QTest::newRow("19 P1") << 19 << 1501 << 1053 << 60 << 11 << 0.004 << 2 << Rgb(255, 0, 0) << 0.16
                               << 0x51;
        QTest::newRow("20 G1") << 20 << 1601 << 1053 << 62 << 11 << 0.004 << 2 << Rgb(0, 160, 0) << 0.16
                               << 0x51;
        QTest::newRow("26 G4") << 26 << 1604 << 1053 << 74 << 11 << 0.004 << 2 << Rgb(90, 160, 90) << 0.16
                               << 0x41;
        QTest::newRow("27 P5") << 27 << 1505 << 1053 << 76 << 11 << 0.004 << 2 << Rgb(255, 0, 0) << 0.16
                               << 0x41;
        QTest::newRow("34 G8") << 34 << 1608 << 1053 << 90 << 11 << 0.004 << 2 << Rgb(90, 160, 90) << 0.16
                               << 0x41;
        QTest::newRow("35 t ster") << 35 << -30 << 1054 << 54 << 21 << 1.0 << 0 << Rgb(255, 0, 0) << 1.0
                                   << 0x04;
        QTest::newRow("36 cal") << 36 << -31 << 1053 << 60 << 12 << 0.004 << 3 << Rgb(0, 255, 0) << 1.0
                                << 0x04;
        QTest::newRow("39 kor cis") << 39 << -34 << 0 << 35 << 10 << 0.0078125 << 2 << Rgb(0, 255, 0) << 1.0
                                    << 0x04;
        QTest::newRow("42 plus") << 42 << -37 << 1053 << 37 << 20 << 0.025 << 3 << Rgb(0, 255, 0) << 1.0
                                 << 0x04;
        QTest::newRow("43 otw/nat") << 43 << -38 << 1053 << 38 << 13 << 0.1 << 1 << Rgb(0, 255, 0) << 1.0
                                    << 0x04;
        QTest::newRow("44 test") << 44 << -39 << 0 << 29 << 10 << 1.0 << 0 << Rgb(0, 255, 0) << 1.0 << 0x04;
    }
    void records() {
        QFETCH(int, n);
        Eng e;
        QCOMPARE(int(e.Wykresy.size()), 45);
        const TWykres &w = e.Wykresy[size_t(n)];
        QTEST(w.LabelId, "label");
        QTEST(w.UnitId, "unit");
        QTEST(w.Position, "position");
        QTEST(w.RawType, "rawType");
        QTEST(w.Scale, "scale");
        QTEST(w.Decimals, "decimals");
        QTEST(w.Colour, "colour");
        QTEST(w.Gain, "gain");
        QTEST(w.Flags, "flags");
        QCOMPARE(w.LabelRow, 0);
        QCOMPARE(w.LastValue, 0.0001);
    }

    void injectionSeriesFollowTheChannels() {
        Eng e;
        for (int k = 1; k <= 8; ++k) {
            const TWykres &p = e.Wykresy[size_t(19 + 2 * (k - 1))];
            const TWykres &g = e.Wykresy[size_t(20 + 2 * (k - 1))];
            QCOMPARE(p.LabelId, 1500 + k);
            QCOMPARE(g.LabelId, 1600 + k);
            QCOMPARE(p.Position, 60 + 4 * (k - 1));
            QCOMPARE(g.Position, 62 + 4 * (k - 1));
            QVERIFY(p.Flags & WykresInjection);
            QVERIFY(g.Flags & WykresInjection);
        }
        QCOMPARE(e.PodajIleParamBiez(WykresInjection), 16);
        QCOMPARE(e.PodajPozycje(WykresInjection, 0), 19);
        QCOMPARE(e.PodajPozycje(WykresInjection, 15), 34);
    }

    void counting() {
        Eng e;
        QCOMPARE(e.PodajPozycje(0x20, 0), 1);
        QCOMPARE(e.PodajPozycje(0x20, 5), 12); // 1, 3, 4, 6, 7, 12
        QCOMPARE(e.PodajPozycje(0x20, 6), 45); // none: the catalogue's size
        QCOMPARE(e.PodajPozycje(0x20, -1), 45);
        QCOMPARE(e.PodajIleParamBiez(0x20), 6);

        const int scopeOff = e.PodajIleParamBiez(WykresScope);
        const int chooserOff = e.PodajIleParamBiez(WykresChooser);
        QCOMPARE(scopeOff, 32);   // series 1…34 without 2 and 8
        QCOMPARE(chooserOff, 16); // 1, 3…7, 9…18
        QCOMPARE(e.PodajPozycje(WykresScope, scopeOff), 45);
        e.ExtendedView = 1;
        QCOMPARE(e.PodajIleParamBiez(WykresScope), scopeOff + 10);
        QCOMPARE(e.PodajIleParamBiez(WykresChooser), chooserOff + 10);
        QCOMPARE(e.PodajPozycje(WykresScope, scopeOff), 35);
        QCOMPARE(e.PodajPozycje(WykresScope, scopeOff + 9), 44);
        // The service series join only the two lists, not the readings grid.
        QCOMPARE(e.PodajIleParamBiez(0x20), 6);
    }

    void rpmInput_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("label");
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("rawType");
        QTest::newRow("rpm") << 0 << 3041 << 1050 << 11;
        QTest::newRow("lambda") << 1 << 3042 << 1050 << 11;
        QTest::newRow("maf") << 2 << 3043 << 1050 << 11;
        QTest::newRow("afr") << 3 << 3044 << 0 << 24;
    }
    void rpmInput() {
        QFETCH(int, item);
        Eng e;
        e.Nastawy[4] = uint8_t(item);
        e.ListaRpmLamMafAfr();
        const TWykres &w = e.Wykresy[8];
        QTEST(w.LabelId, "label");
        QTEST(w.UnitId, "unit");
        QTEST(w.RawType, "rawType");
        QCOMPARE(w.Scale, 0.008);
        QCOMPARE(w.Position, 58);
        // An unknown input leaves the series as it was.
        e.Nastawy[4] = 9;
        e.ListaRpmLamMafAfr();
        QTEST(e.Wykresy[8].LabelId, "label");
        QTEST(e.Wykresy[8].RawType, "rawType");
    }

    void boardType() {
        Eng e;
        e.Identyfikacja[42] = 2;
        e.ListaParamOdPlytki();
        QCOMPARE(e.Wykresy[8].Flags, 0x03);
        QCOMPARE(e.Wykresy[9].Flags, 0);
        QCOMPARE(e.Wykresy[10].Flags, 0);
        QCOMPARE(int(e.NewBoard), 0);
        e.Identyfikacja[42] = 3;
        e.ListaParamOdPlytki();
        QCOMPARE(e.Wykresy[8].Flags, 0);
        QCOMPARE(e.Wykresy[9].Flags, 0x03);
        QCOMPARE(e.Wykresy[10].Flags, 0x03);
        QCOMPARE(int(e.NewBoard), 1);
    }

    void boardVariant_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QList<int>>("listed"); // channels 5…8
        QTest::newRow("4 channels") << 4 << QList<int>{0, 0, 0, 0};
        QTest::newRow("variant 6") << 6 << QList<int>{0, 0, 1, 1};
        QTest::newRow("8 channels") << 0 << QList<int>{1, 1, 1, 1};
        QTest::newRow("variant 5") << 5 << QList<int>{1, 1, 1, 1};
    }
    void boardVariant() {
        QFETCH(int, variant);
        QFETCH(QList<int>, listed);
        Eng e;
        for (int n = 27; n < 35; ++n)
            e.Wykresy[size_t(n)].Flags = 0x17; // every flag is rewritten
        e.Identyfikacja[43] = uint8_t(variant);
        e.ListaParamOdPlytki();
        for (int ch = 5; ch <= 8; ++ch) {
            const int want = listed[ch - 5] ? 0x41 : 0;
            QCOMPARE(e.Wykresy[size_t(19 + 2 * (ch - 1))].Flags, want);
            QCOMPARE(e.Wykresy[size_t(20 + 2 * (ch - 1))].Flags, want);
        }
        for (int n = 19; n < 27; ++n)
            QVERIFY(e.Wykresy[size_t(n)].Flags & WykresInjection); // 1…4 untouched
    }

    void rebuildEmptiesFirst() {
        Eng e;
        e.Wykresy[1].Flags = 0;
        e.DodajWykres(1, 2, 3, 4, 5.0, 6, 7, 8.0, 9);
        QCOMPARE(int(e.Wykresy.size()), 46);
        QCOMPARE(e.Wykresy[45].Position, 3);
        QCOMPARE(e.Wykresy[45].RawType, 4);
        e.UtworzWykresy();
        QCOMPARE(int(e.Wykresy.size()), 45);
        QCOMPARE(e.Wykresy[1].Flags, 0x33);
    }
};

QTEST_GUILESS_MAIN(TestWykresy)
#include "tst_wykresy.moc"
