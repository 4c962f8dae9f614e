// The OBD engine against the virtual ELM327 adapter (tarven-sim elm) over a real pseudo-terminal, and
// once over TCP on 127.0.0.1 as a Wi-Fi adapter: adapter set-up, protocol search, ECU discovery,
// polling, trouble codes, clearing.
#include "device/TSterownik.h"
#include "tst_obd_common.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

constexpr int StartMs = 10000; // bound of the program start
constexpr int StageMs = 30000; // bound of one stage (connection, a trouble-code read, ...)

const QString Stored = QStringLiteral("\tStored Trouble Codes  /  Błędy zarejestrowane :");
const QString Pending = QStringLiteral("\tPending Trouble Codes  /  Błędy oczekujące :");
const QString Permanent = QStringLiteral("\tPermanent Trouble Codes  /  Błędy permanentne :");

// The engine with its recording widgets and the gas controller it relays to, on the simulator's port.
struct Rig {
    TSterownik ster;
    TObd obd;
    GridRec status;
    GridRec pidy;
    TextRec dtc;
    QList<QList<int>> events;

    Rig() {
        ster.StopTimer();
        obd.StopTimer();
        obd.MyGridStatus = &status;
        obd.MyGridPidy = &pidy;
        obd.MyRichDtc = &dtc;
        obd.Sterownik = &ster;
        obd.OnZdarzenie = [this](int k, int a, int b, int c) { events.append({k, a, b, c}); };
    }

    // Ticks the engine as its timer would, until done() or the deadline. A tick comes at once
    // when nothing is awaited or bytes have arrived; otherwise it waits for the port (events are
    // processed, so the serial port takes in what arrives) for at most one tick interval, so that
    // the engine's reply time-out runs in real time.
    bool RunUntil(const std::function<bool()> &done, int limitMs = StageMs) {
        QElapsedTimer deadline, sinceTick;
        deadline.start();
        sinceTick.start();
        QTimer wake;
        wake.setSingleShot(true);
        while (!done()) {
            if (deadline.elapsed() > limitMs) return false;
            if (obd.CzekaNaOdpowiedz && obd.PortInQueCount() <= 0 && sinceTick.elapsed() < TObd::Takt) {
                wake.start(10);
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                continue;
            }
            obd.OnTimer1();
            sinceTick.restart();
        }
        return true;
    }

    bool Polling() const { return obd.Stan == 1000 || obd.Stan == 1001; }
};

} // namespace

class TestObdE2e : public QObject {
    Q_OBJECT
private slots:
    void connectPollAndCodes_data();
    void connectPollAndCodes();
};

void TestObdE2e::connectPollAndCodes_data() {
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("protocolText");
    QTest::addColumn<QString>("ecus");
    QTest::newRow("CAN 11 bit, padded") << 6 << QStringList{"--can-padding"} << "CAN (11 bit ID, 500 kb)"
                                        << "7E8h 7E9h ";
    QTest::newRow("CAN 11 bit over TCP") << 6 << QStringList{"--tcp", "0"} << "CAN (11 bit ID, 500 kb)"
                                         << "7E8h 7E9h ";
    QTest::newRow("CAN 29 bit, split prompt")
        << 7 << QStringList{"--split-prompt"} << "CAN (29 bit ID, 500 kb)"
        << "10h 18h ";
    QTest::newRow("K-line KWP") << 4 << QStringList{"--junk"} << "ISO 14230-4 (KWP slow init)"
                                << "11h 18h ";
    QTest::newRow("J1850 VPW") << 2 << QStringList{} << "SAE J1850 VPW"
                               << "10h 18h ";
}

void TestObdE2e::connectPollAndCodes() {
    QFETCH(int, protocol);
    QFETCH(QStringList, extra);
    QFETCH(QString, protocolText);
    QFETCH(QString, ecus);

    QProcess sim;
    sim.setProgram(QStringLiteral(TARVEN_SIM_PATH));
    sim.setArguments(QStringList{"elm", "--exit-on-stdin-eof", "--protocol", QString::number(protocol),
                                 "--ecus", "2", "--dtc", "P0420,U0155,P0171", "--pending", "P0300",
                                 "--permanent", "P0420", "--delay-ms", "5", "--bus-init-ms", "60"} +
                     extra);
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start();
    QVERIFY(sim.waitForStarted(StartMs));
    QElapsedTimer clock;
    clock.start();
    while (!sim.canReadLine() && clock.elapsed() < StartMs)
        sim.waitForReadyRead(int(StartMs - clock.elapsed()));
    const QByteArray first = sim.readLine().trimmed();
    QVERIFY2(first.startsWith("PTY /dev/"), first.constData());
    QString port = QString::fromLocal8Bit(first.mid(4));
    const bool tcp = extra.contains(QStringLiteral("--tcp"));
    if (tcp) { // the Wi-Fi adapter's address follows
        while (!sim.canReadLine() && clock.elapsed() < StartMs)
            sim.waitForReadyRead(int(StartMs - clock.elapsed()));
        const QByteArray line = sim.readLine().trimmed();
        QVERIFY2(line.startsWith("TCP 127.0.0.1:"), line.constData());
        port = QString::fromLocal8Bit(line.mid(4));
    }

    Rig r;
    r.obd.OnTimer0();
    QVERIFY(r.obd.PortOpenPath(port));

    // Connection: set-up, search, discovery, bitmaps, probes; then polling.
    QVERIFY2(r.RunUntil([&] { return r.Polling(); }),
             qPrintable(QStringLiteral("stuck in state %1").arg(r.obd.Stan)));
    QCOMPARE(r.obd.Protokol, protocol);
    if (tcp)
        QCOMPARE(r.status.Cell(1, 0), port); // a Wi-Fi adapter is named by its address
    else
        QVERIFY(r.status.Cell(1, 0).startsWith(QLatin1String("COMM ")));
    QCOMPARE(r.status.Cell(1, 1), QStringLiteral("ELM327 v1.5"));
    QCOMPARE(r.status.Cell(1, 2), QStringLiteral("12.6V"));
    QCOMPARE(r.status.Cell(1, 3), protocolText);
    QCOMPARE(r.status.Cell(1, 4), ecus);
    QCOMPARE(r.status.Cell(1, 5), QStringLiteral("3"));
    QCOMPARE(r.status.Cell(1, 6), QStringLiteral("zapalony"));
    QCOMPARE(r.events.last(), (QList<int>{100, 100, protocol, 0}));
    QCOMPARE(r.obd.Pidy[0x0C].obslugiwany, uint8_t(1));
    QCOMPARE(r.obd.Pidy[0x02].obslugiwany, uint8_t(0));
    QCOMPARE(r.obd.Pidy[0x5C].obslugiwany, uint8_t(1)); // from the third bitmap

    // Polling: the default PIDs show values and reach the gas controller.
    r.ster.ObdRelayPending = 0;
    QVERIFY(r.RunUntil([&] {
        for (int p : {0x03, 0x06, 0x07, 0x08, 0x09})
            if (r.pidy.Cell(4, p).isEmpty()) return false;
        return true;
    }));
    QVERIFY(r.pidy.Cell(4, 0x03) == QLatin1String("OL") || r.pidy.Cell(4, 0x03) == QLatin1String("CL"));
    QCOMPARE(r.pidy.Cell(4, 0x07), QStringLiteral("3.1[%]"));
    QCOMPARE(r.pidy.Cell(4, 0x09), QStringLiteral("-2.3[%]"));
    QVERIFY(r.pidy.Cell(4, 0x06).endsWith(QLatin1String("[%]")));
    QVERIFY(r.ster.ObdRelay[0] == 0x01 || r.ster.ObdRelay[0] == 0x02);
    QCOMPARE(r.ster.ObdRelay[1], r.ster.ObdRelay[0]);
    QVERIFY(std::abs(int(r.ster.ObdRelay[2]) - 128) < 8);
    QCOMPARE(r.ster.ObdRelay[3], uint8_t(132));
    QCOMPARE(r.ster.ObdRelay[5], uint8_t(125));
    QCOMPARE(r.ster.ObdRelayPending, uint8_t(1));

    // Polling a live value too: the engine speed.
    r.obd.Pidy[0x0C].odpytywany = 1;
    QVERIFY(r.RunUntil([&] { return r.pidy.Cell(4, 0x0C).endsWith(QLatin1String("[rpm]")); }));
    const double rpm = r.pidy.Cell(4, 0x0C).chopped(5).toDouble();
    QVERIFY2(rpm > 600 && rpm < 4000, qPrintable(r.pidy.Cell(4, 0x0C)));

    // Trouble codes: stored, pending and permanent, with their descriptions.
    r.obd.WcisnietoPrzycisk(3);
    QVERIFY(r.RunUntil([&] { return r.obd.Stan == 1001; }));
    const QStringList t = r.dtc.Texts();
    const QString catalyst = QStringLiteral(" Catalyst System Efficiency Below Threshold (Bank 1)");
    const QStringList english = {Stored,
                                 "P0420",
                                 catalyst,
                                 "U0155",
                                 " Lost Communication With Instrument Panel Cluster (IPC) Control Module",
                                 "P0171",
                                 " System Too Lean (Bank 1)",
                                 Pending,
                                 "P0300",
                                 " Random/Multiple Cylinder Misfire Detected",
                                 Permanent,
                                 "P0420",
                                 catalyst};
    // Every P code also has its Polish description right after the English one.
    QStringList withoutPolish;
    int polish = 0;
    for (int i = 0; i < t.size(); ++i) {
        if (i > 0 && t[i].startsWith(u' ') && t[i - 1].startsWith(u' '))
            ++polish;
        else
            withoutPolish << t[i];
    }
    QCOMPARE(withoutPolish, english);
    QCOMPARE(polish, 4);

    // Clearing, then reading again: only the permanent code is left.
    r.obd.WcisnietoPrzycisk(4);
    QVERIFY(r.RunUntil([&] { return r.obd.Stan == 1001; }));
    r.obd.WcisnietoPrzycisk(3);
    QVERIFY(r.RunUntil([&] { return r.obd.Stan == 1001; }));
    const QStringList after = r.dtc.Texts();
    QVERIFY(!after.contains(QStringLiteral("P0171")));
    QVERIFY(!after.contains(QStringLiteral("P0300")));
    QCOMPARE(after.count(QStringLiteral("P0420")), 1);
    QVERIFY(after.indexOf(QStringLiteral("P0420")) > after.indexOf(Permanent));

    r.obd.PortClose();
    sim.terminate();
    QVERIFY(sim.waitForFinished(StartMs));
    QCOMPARE(sim.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestObdE2e)
#include "tst_obd_e2e.moc"
