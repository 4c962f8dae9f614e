// The virtual controller's live parameters: the engine model behind the poll reply, fuel switching,
// the injector mask, OBD relay data, learnt map cells, notices and the error log.
#include "tst_simcontroller_wire.h"

#include <QtTest>
#include <algorithm>

namespace {
// Polls every periodMs for totalMs and returns every poll reply (and OBD report) that came.
QList<SimGot> PollFor(SimWire &w, int totalMs, int periodMs = 200, uint8_t code = 0x90) {
    QList<SimGot> out;
    for (int t = 0; t < totalMs; t += periodMs)
        out += w.Send(code, {}, periodMs);
    return out;
}

QList<SimGot> Only(const QList<SimGot> &all, uint8_t start) {
    QList<SimGot> out;
    for (const SimGot &g : all)
        if (g.start == start) out.append(g);
    return out;
}

// Mean petrol time of channel 1 in ms over the replies.
double MeanPetrol(const QList<SimGot> &polls) {
    double s = 0;
    for (const SimGot &g : polls)
        s += g.u16(60) * 0.004;
    return polls.isEmpty() ? 0 : s / polls.size();
}

QByteArray WithSettings(SimWire &w, std::initializer_list<std::pair<int, int>> changes) {
    QByteArray s = SimWire::Block(w.SendFor(0xE8));
    for (const auto &[i, v] : changes)
        s[i] = char(v);
    s[0] = 0;
    s[0] = char(-Frame::Sum(reinterpret_cast<const uint8_t *>(s.constData()), 256));
    return s;
}
} // namespace

class TestSimControllerLive : public QObject {
    Q_OBJECT
private slots:
    void pollsChangeOverTime() {
        SimWire w;
        const QList<SimGot> polls = Only(PollFor(w, 60000), 86);
        QVERIFY(polls.size() >= 290);
        int rpmMin = 1 << 20, rpmMax = 0, lambdaMin = 1 << 20, lambdaMax = 0;
        for (const SimGot &g : polls) {
            QCOMPARE(g.frame.size(), SimLive::FrameLength);
            QVERIFY(g.sumOk);
            rpmMin = std::min(rpmMin, g.u16(17) * 10);
            rpmMax = std::max(rpmMax, g.u16(17) * 10);
            lambdaMin = std::min(lambdaMin, g.u16(58));
            lambdaMax = std::max(lambdaMax, g.u16(58));
            QCOMPARE(g.at(11) & 3, 3); // ignition on, engine turning
            QVERIFY(std::abs(g.u16(52) * 0.005 - 14.1) < 0.1);
            QVERIFY(g.u16(60) > 0);
        }
        QVERIFY2(rpmMin < 1000 && rpmMax > 2500, qPrintable(QStringLiteral("%1 %2").arg(rpmMin).arg(rpmMax)));
        QVERIFY(lambdaMax - lambdaMin > 100);
        QVERIFY(polls.last().at(40) > polls.first().at(40)); // the reducer warms up
        QVERIFY(polls.first().u16(44) > 10 && polls.first().u16(44) < 100);
    }

    void unusedChannelsStayZero() {
        SimControllerOptions o;
        o.channels = 4;
        SimWire w(o);
        const SimGot g = w.SendFor(0x90);
        for (int ch = 0; ch < 4; ++ch)
            QVERIFY(g.u16(60 + 4 * ch) > 0);
        for (int off = 76; off < 92; ++off)
            QCOMPARE(g.at(off), uint8_t(0));
    }

    void fuelSwitchGoesThroughWaitingAndSwitching() {
        SimWire w;
        QCOMPARE(w.SendFor(0x90).at(10), uint8_t(0));
        QVERIFY(w.SendFor(0x84).sumOk);
        QList<int> states;
        bool waitReason = false, gasRecord = false, gasLamp = false, gasTimes = false;
        for (const SimGot &g : Only(PollFor(w, 20000, 100), 86)) {
            if (states.isEmpty() || states.last() != g.at(10)) states.append(g.at(10));
            waitReason |= g.at(10) == 2 && g.at(6) == 10 && g.at(7) == 0x02 && (g.at(11) & 3) == 3;
            gasRecord |= g.at(6) == 0xF0 && g.at(7) == ReasonPcGas;
            if (g.at(10) == 6) {
                gasLamp = (g.at(14) & 2) != 0;
                gasTimes = g.u16(62) > g.u16(60) / 2 && g.u16(90) > 0;
            }
        }
        QCOMPARE(states, (QList<int>{2, 4, 5, 6}));
        QVERIFY(waitReason && gasRecord && gasLamp && gasTimes);

        QVERIFY(w.SendFor(0x84).sumOk);
        const QList<SimGot> back = Only(PollFor(w, 1000, 100), 86);
        QCOMPARE(back.first().at(10), uint8_t(0));
        QCOMPARE(back.first().u16(62), 0);
        QVERIFY(std::any_of(back.begin(), back.end(),
                            [](const SimGot &g) { return g.at(6) == 0xF0 && g.at(7) == ReasonPcPetrol; }));

        // The fast switch skips the waiting.
        QVERIFY(w.SendFor(0x85).sumOk);
        QList<int> fast;
        for (const SimGot &g : Only(PollFor(w, 1500, 100), 86))
            if (fast.isEmpty() || fast.last() != g.at(10)) fast.append(g.at(10));
        QCOMPARE(fast, (QList<int>{5, 6}));
    }

    void injectorMaskDecidesGasChannels() {
        SimWire w;
        w.SendFor(0x85);
        PollFor(w, 1500);
        QVERIFY(w.SendFor(0x86, QByteArray("\x21\0\x05", 3)).sumOk);
        const SimGot g = w.SendFor(0x90, {}, 1000);
        QCOMPARE(g.at(10), uint8_t(6));
        QCOMPARE(g.at(22), uint8_t(0x05));
        for (int ch = 0; ch < 8; ++ch)
            QCOMPARE(g.u16(62 + 4 * ch) > 0, ch == 0 || ch == 2);
    }

    void relayDataComesBackInTheObdReport() {
        SimWire w;
        const QByteArray relay("\x00\x02\x90\x88\x70\x81", 6);
        QVERIFY(w.SendFor(0x94, QByteArray("\x10\0", 2) + relay).sumOk);
        const QList<SimGot> obd = Only(PollFor(w, 3000), 54);
        QVERIFY(!obd.isEmpty());
        QCOMPARE(obd.first().code, uint8_t(0x70));
        QCOMPARE(obd.first().frame.size(), 42);
        QVERIFY(obd.first().sumOk);
        QCOMPARE(obd.first().frame.mid(6 + 5, 6), relay);
        QCOMPARE(obd.first().at(17), uint8_t(0)); // no trace lines
    }

    void learntCellsGoToTheMaps() {
        SimWire w;
        QMap<int, uint8_t> cells;
        for (const SimGot &g : Only(PollFor(w, 30000), 86))
            if (g.at(6) == 0 && g.at(9) != 0) {
                QCOMPARE(g.at(7), uint8_t(0)); // on petrol: map A
                cells[g.at(8)] = g.at(9);
            }
        QVERIFY(cells.size() >= 3);
        const QByteArray mapA = SimWire::Block(w.SendFor(0xE0));
        for (auto it = cells.begin(); it != cells.end(); ++it)
            QCOMPARE(uint8_t(mapA[it.key()]), it.value());
    }

    void errorListAndErase() {
        SimWire w;
        const SimGot e = w.SendFor(0x82);
        QVERIFY(e.sumOk);
        QCOMPARE(e.at(7), uint8_t(0x01));                 // gas pressure too low
        QCOMPARE(e.at(8), uint8_t(0x40));                 // switched to petrol, out of gas
        QCOMPARE(e.at(13 + 8 * (7 - 6) + 0), uint8_t(2)); // its counter
        QCOMPARE(e.at(13 + 8 * (8 - 6) + 6), uint8_t(1));
        QVERIFY(e.frame.size() >= 69);
        QVERIFY(w.SendFor(0x90).at(11) & 0x10);

        QVERIFY(w.SendFor(0x83).sumOk);
        const SimGot none = w.SendFor(0x82);
        for (int i = 6; i <= 68; ++i)
            QCOMPARE(none.at(i), uint8_t(0));
        const QList<SimGot> polls = Only(PollFor(w, 1000), 86);
        QVERIFY(!(polls.first().at(11) & 0x10));
        QVERIFY(std::any_of(polls.begin(), polls.end(),
                            [](const SimGot &g) { return g.at(6) == 241 && (g.at(7) & 0x08); }));
    }

    void writesAreNoticed() {
        SimWire w;
        QVERIFY(w.SendFor(0xF8, SimWire::WritePayload(WithSettings(w, {{12, 5}}))).sumOk);
        QVERIFY(w.SendFor(0xFB, SimWire::WritePayload(QByteArray(256, char(90)))).sumOk);
        QVERIFY(w.SendFor(0xF3, SimWire::WritePayload(QByteArray(256, char(1)))).sumOk);
        QList<QPair<int, int>> notices;
        for (const SimGot &g : Only(PollFor(w, 1000), 86))
            if (g.at(6) == 241 || g.at(6) == 242) notices.append({g.at(6), g.at(7)});
        QCOMPARE(notices, (QList<QPair<int, int>>{{242, 0x01}, {242, 0x08}, {241, 0x02}}));
    }

    void calibrationAndLevelPolls() {
        SimWire w;
        const QList<SimGot> cal = Only(PollFor(w, 10000, 200, 0x91), 86);
        for (const SimGot &g : cal)
            QCOMPARE(g.code, uint8_t(0x91));
        QVERIFY(std::abs(cal.last().u16(17) * 10 - 2500) <= 30); // the driver holds 2500 rpm
        QCOMPARE(w.SendFor(0x92).code, uint8_t(0x92));
        QVERIFY(w.SendFor(0x92).at(50) > 0);
    }

    // The engine computer trims its petrol time on gas by the gas injectors' error, so the petrol
    // times on petrol and on gas agree once bytes 90/92 match the injectors.
    void petrolTimeOnGasFollowsTheCorrection() {
        SimWire w;
        PollFor(w, 5000, 200, 0x91);
        const double petrol = MeanPetrol(Only(PollFor(w, 4000, 200, 0x91), 86));
        w.SendFor(0x85);
        PollFor(w, 5000, 200, 0x91);
        const double lean = MeanPetrol(Only(PollFor(w, 4000, 200, 0x91), 86));
        QVERIFY2(std::abs(lean - petrol - (1.0 - 0.24)) < 0.05, qPrintable(QString::number(lean - petrol)));
        // 166 = 128 + (1.0 - 0.24) / 0.02: the correction equals the injectors' loss.
        QVERIFY(w.SendFor(0xF8, SimWire::WritePayload(WithSettings(w, {{90, 166}, {92, 166}}))).sumOk);
        PollFor(w, 5000, 200, 0x91);
        const double right = MeanPetrol(Only(PollFor(w, 4000, 200, 0x91), 86));
        QVERIFY2(std::abs(right - petrol) < 0.03, qPrintable(QString::number(right - petrol)));
    }
};

QTEST_GUILESS_MAIN(TestSimControllerLive)
#include "tst_simcontroller_live.moc"
