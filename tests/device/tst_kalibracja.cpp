// Auto-calibration: the integer arithmetic of one step, the states, and a full run against a small
// engine model in which the gas time follows the correction being calibrated.
#include "device/TSterownik.h"

#include <QtTest>

namespace {
struct Cal {
    TSterownik eng;
    QList<QList<int>> events;
    Cal() {
        eng.StopTimer();
        eng.OnZdarzenie = [this](int k, int a, int b, int c) {
            if (k == 2) events.append({a, b, c});
        };
        eng.InjectorCount = 4;
    }
    void Live(int w, int rpm, std::initializer_list<int> times, int pressure = 100) {
        uint8_t *r = eng.RxBuffer;
        std::memset(r, 0, 128);
        r[10] = uint8_t(w);
        r[17] = uint8_t(rpm & 0xFF);
        r[18] = uint8_t(rpm >> 8);
        int i = 0;
        for (int t : times) {
            r[60 + 4 * i] = uint8_t(t & 0xFF);
            r[61 + 4 * i] = uint8_t(t >> 8);
            ++i;
        }
        r[48] = uint8_t(pressure);
        r[42] = 120;
    }
};
} // namespace

class TestKalibracja : public QObject {
    Q_OBJECT
private slots:
    void startStop() {
        Cal c;
        QVERIFY(c.eng.StartStopKalibracji());
        QCOMPARE(c.eng.PollMode & 1u, 1u);
        QCOMPARE(c.events.last(), (QList<int>{1, 0, 0}));
        QVERIFY(!c.eng.StartStopKalibracji());
        QCOMPARE(c.eng.PollMode & 1u, 0u);
        QCOMPARE(c.events.last(), (QList<int>{5, 0, 0}));
    }

    void meanRounding() {
        Cal c;
        c.eng.CalStage = 300; // a state that does nothing: only the mean is computed
        c.Live(0, 800, {800, 810, 0});
        c.eng.EtapyKalibracji();
        QCOMPARE(c.eng.CalMeanFilter, 64 * 16); // seeded with b x 16, so a = b = 64
        Cal d;
        d.eng.CalStage = 300;
        d.Live(0, 800, {807, 807, 807, 807});
        d.eng.EtapyKalibracji();
        QCOMPARE(d.eng.CalMeanFilter, 65 * 16);
    }

    void stateZeroAndPetrolWait() {
        Cal c;
        c.eng.StartStopKalibracji();
        c.Live(6, 800, {800, 800, 800, 800});
        c.eng.EtapyKalibracji();
        QCOMPARE(int(c.eng.FuelAutoPending), 1);
        QCOMPARE(int(c.eng.Nastawy[89]), 60);
        QCOMPARE(int(c.eng.Nastawy[94]), 181);
        QCOMPARE(c.eng.WriteRequests & 1u, 1u);
        QCOMPARE(c.eng.CalStage, 1);
        c.eng.Nastawy[82] = 1;
        c.Live(0, 800, {800, 800, 800, 800});
        c.eng.EtapyKalibracji();
        QCOMPARE(c.eng.CalStage, 16); // per-channel pass
        QCOMPARE(c.events.last(), (QList<int>{2, 0, 0}));
    }

    void progressOfChannelPass() {
        Cal c;
        c.eng.CalStage = 48;
        c.eng.CalChannel = 2;
        c.eng.CalCounter = 99; // +1 for a difference above 1 before the progress is taken
        c.eng.Nastawy[83] = 70;
        c.eng.Nastawy[90] = c.eng.Nastawy[92] = 128;
        c.Live(6, 800, {800, 800, 800, 800}); // a = 64, d = 6
        c.eng.EtapyKalibracji();
        // (100 + 1 for channel >= 2) / 2 / 4 + 2 x 256 / 4 + 256 = 12 + 128 + 256
        QCOMPARE(c.eng.CalCounter, 101);
        QCOMPARE(c.eng.CalProgress, 12 + 128 + 256);
        QCOMPARE(c.events.last(), (QList<int>{2, 0, 396}));
    }

    // How many replies each counted stage takes, and the progress on the reply that ends it, from the
    // algorithm's own numbers: a stage one reply longer still converges, so only a count catches it.
    void stageLengths_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("work");      // live work state during the stage
        QTest::addColumn<int>("reference"); // petrol mean held (83 and CalPetrolMean)
        QTest::addColumn<int>("replies");   // replies until the stage is left
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("progress"); // reported on the last of them
        // The live means are 800 on every channel: a = 64.
        QTest::newRow("petrol 80: 11") << 80 << 0 << 0 << 64 << 11 << 81 << 0;
        QTest::newRow("petrol 144: 11") << 144 << 0 << 0 << 64 << 11 << 145 << 512;
        QTest::newRow("to gas 97: 11") << 97 << 0 << 0 << 64 << 11 << 98 << 0;
        QTest::newRow("settle 82, close: 52 x 5") << 82 << 0 << 0 << 64 << 52 << 96 << 260;
        QTest::newRow("settle 82, apart: 256 x 1") << 82 << 0 << 0 << 20 << 256 << 96 << 256;
        QTest::newRow("settle 146, close") << 146 << 0 << 0 << 64 << 52 << 160 << 512 + 260;
        QTest::newRow("adjust 112, d 0: 103 x 5") << 112 << 0 << 6 << 64 << 103 << 128 << 515 / 2 + 256;
        QTest::newRow("adjust 112, d 3: 512 x 1") << 112 << 0 << 6 << 67 << 512 << 128 << 512 / 2 + 256;
        QTest::newRow("adjust 48, channel 0") << 48 << 0 << 6 << 64 << 103 << 64 << 515 / 2 / 4 + 256;
        QTest::newRow("adjust 48, channel 2: 86 x 6")
            << 48 << 2 << 6 << 64 << 86 << 64 << 516 / 2 / 4 + 128 + 256;
    }
    void stageLengths() {
        QFETCH(int, stage);
        QFETCH(int, channel);
        QFETCH(int, work);
        QFETCH(int, reference);
        QFETCH(int, replies);
        QFETCH(int, next);
        QFETCH(int, progress);
        Cal c;
        c.eng.PollMode |= 1u;
        c.eng.CalStage = stage;
        c.eng.CalChannel = channel;
        c.eng.CalPetrolMean = uint8_t(reference);
        c.eng.Nastawy[83] = uint8_t(reference);
        c.eng.Nastawy[90] = c.eng.Nastawy[92] = 128;
        c.eng.CalMeanFilter = 64 * 16;
        int n = 0;
        while (c.eng.CalStage == stage && n < 2000) {
            c.Live(work, 800, {800, 800, 800, 800});
            c.eng.EtapyKalibracji();
            ++n;
        }
        QCOMPARE(n, replies);
        QCOMPARE(c.eng.CalStage, next);
        QCOMPARE(c.events.last(), (QList<int>{2, 0, progress}));
    }

    void coarseCorrection() {
        Cal c;
        c.eng.CalStage = 112;
        c.eng.Nastawy[83] = 94; // petrol mean
        c.eng.Nastawy[90] = c.eng.Nastawy[92] = 128;
        c.Live(6, 800, {800, 800, 800, 800}); // gas mean a = 64: d = 30
        const int before = c.events.size();
        c.eng.EtapyKalibracji();
        QCOMPARE(int(c.eng.Nastawy[90]), 98);
        QCOMPARE(int(c.eng.Nastawy[92]), 98);
        QCOMPARE(c.eng.CalStage, 80);
        QCOMPARE(c.events.size(), before); // no event on this step
    }

    void fineCorrectionEverySixteenth() {
        for (int counter : {32, 33}) {
            Cal c;
            c.eng.CalStage = 112;
            c.eng.CalCounter = counter;
            c.eng.Nastawy[83] = 67;
            c.eng.Nastawy[90] = c.eng.Nastawy[92] = 128;
            c.Live(6, 800, {800, 800, 800, 800}); // d = 3
            c.eng.EtapyKalibracji();
            QCOMPARE(int(c.eng.Nastawy[90]), counter == 32 ? 127 : 128);
        }
    }

    void referenceCorrection() {
        TSterownik s;
        s.StopTimer();
        s.Nastawy[10] = 2;
        s.Nastawy[86] = 10;  // pressure table entry 10: 255
        s.Nastawy[85] = 170; // temperature entry: 128
        s.ObliczKorekteOdniesienia();
        QCOMPARE(int(s.Nastawy[94]), int(128.0f / (255.0f / 128.0f * 128.0f / 128.0f)));
        s.Nastawy[10] = 0;
        s.Nastawy[86] = 39; // entry 139: 128
        s.ObliczKorekteOdniesienia();
        QCOMPARE(int(s.Nastawy[94]), 128);
        QCOMPARE(TSterownik::CzytajKorOdCis(600), -1);
    }

    void abortWhenEngineStops() {
        Cal c;
        c.eng.StartStopKalibracji();
        for (int i = 0; i < 10; ++i) {
            c.Live(0, 0, {800});
            c.eng.EtapyKalibracji();
        }
        QCOMPARE(c.eng.PollMode & 1u, 1u); // ten stopped polls are tolerated
        c.eng.EtapyKalibracji();
        QCOMPARE(c.eng.CalStage, 255);
        QCOMPARE(c.eng.PollMode & 1u, 0u);
        QVERIFY(c.events.contains(QList<int>{4, 0, 0}));
    }

    void noInjectorsDoesNotDivideByZero() {
        Cal c;
        c.eng.InjectorCount = 0;
        c.eng.CalStage = 48;
        c.eng.Nastawy[83] = 0; // no channel counts, so the gas mean is 0 too
        c.Live(6, 800, {800});
        c.eng.EtapyKalibracji();
        QVERIFY(c.eng.CalProgress >= 256);
    }

    // A small engine: petrol time fixed, gas time scaled by the correction in settings 90.
    void fullRunConverges() {
        for (int perChannel : {0, 1}) {
            Cal c;
            c.eng.Nastawy[82] = uint8_t(perChannel);
            c.eng.StartStopKalibracji();
            int w = 0, switchTimer = 0;
            bool done = false;
            for (int step = 0; step < 40000 && !done; ++step) {
                if (c.eng.FuelAutoPending) { // the controller switches fuel a few polls later
                    c.eng.FuelAutoPending = 0;
                    switchTimer = 3;
                }
                if (switchTimer > 0 && --switchTimer == 0) w = w == 0 ? 6 : 0;
                const int petrol = 1000;
                const int gas =
                    1000 - (c.eng.Nastawy[90] - 100) * 25 / 2; // a higher 90 leans gas; 100 agrees
                const int t = w == 6 ? gas : petrol;
                c.Live(w, 900, {t, t, t, t});
                c.eng.EtapyKalibracji();
                done = c.eng.CalStage == 254 && !(c.eng.PollMode & 1u);
            }
            QVERIFY2(done, qPrintable(QString::number(c.eng.CalStage)));
            QVERIFY(c.events.contains(QList<int>{3, 0, 0}));
            QVERIFY(qAbs(int(c.eng.Nastawy[90]) - 100) <= 2);
            QCOMPARE(c.eng.Nastawy[92], c.eng.Nastawy[90]);
        }
    }
};

QTEST_GUILESS_MAIN(TestKalibracja)
#include "tst_kalibracja.moc"
