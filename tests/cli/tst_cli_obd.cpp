// tarven-cli's obd commands against the virtual ELM327 adapter, end to end through pseudo-terminals.
#include "tst_cli_common.h"

#include "link/PortNumbering.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace cli;

class TestCliObd : public QObject {
    Q_OBJECT
private slots:
    void init();
    void statusRowsOnCan();
    void statusRowsOnKLine();
    void pidsGivenReplaceThePolledSet();
    void pidsDefaultSetIsTheRelayedOnes();
    void pidsNotSupported();
    void pidsSummary_data();
    void pidsSummary();
    void dtcReadThenClear();
    void dtcOfEveryFamilyHasItsText();
    void vehicleJson_data();
    void vehicleJson();
    void vehicleTextMonitors();
    void noProtocolEndsWithExitOne();
    void obdUsageErrors();
    void wifiAdapter();

private:
    QStringList Base(const Sim &sim) const { return {QStringLiteral("--obd-port"), sim.Pty()}; }
    QProcessEnvironment Env() const { return Environment(dir_->filePath(QStringLiteral("config"))); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestCliObd::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestCliObd::statusRowsOnCan() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"), {"--dtc", "P0420,P0171", "--voltage", "13.8"}));
    const Result r = Run(Base(sim) << QStringLiteral("obd") << QStringLiteral("status"), Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const int port = PortNumberOfDevice(sim.Pty());
    QCOMPARE(r.Lines(),
             (QStringList{QStringLiteral("PORT: COMM %1").arg(port), "ELM: ELM327 v1.5", "PWR: 13.8V",
                          "OBD: CAN (11 bit ID, 500 kb)", "ECU: 7E8h", "DTC: 2", "MIL: zapalony"}));
}

void TestCliObd::statusRowsOnKLine() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"), {"--protocol", "3", "--banner", "ELM327 v2.1", "--search-ms",
                                              "100", "--bus-init-ms", "100"}));
    const Result r = Run(Base(sim) << QStringLiteral("obd") << QStringLiteral("status"), Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QStringList l = r.Lines();
    QCOMPARE(l.size(), 7);
    QCOMPARE(l[1], QStringLiteral("ELM: ELM327 v2.1"));
    QCOMPARE(l[3], QStringLiteral("OBD: ISO 9141-2 (KL)"));
    QCOMPARE(l[5], QStringLiteral("DTC: 0"));
    QCOMPARE(l[6], QStringLiteral("MIL: zgaszony"));
}

void TestCliObd::pidsGivenReplaceThePolledSet() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"), {}));
    const Result r =
        Run(Base(sim) << QStringList{"obd", "pids", "--pid", "0C", "--pid", "0x0d", "--seconds", "2"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QStringList l = r.Lines();
    QVERIFY2(l.size() >= 4, qPrintable(r.Describe()));
    const QRegularExpression rpm(QStringLiteral("^0C\tRPM\t\\d+(\\.\\d+)?\\[rpm\\]$"));
    const QRegularExpression speed(QStringLiteral("^0D\tVSS\t\\d+\\[km/h\\]$"));
    int rpms = 0, speeds = 0;
    for (const QString &line : l) {
        if (rpm.match(line).hasMatch())
            ++rpms;
        else if (speed.match(line).hasMatch())
            ++speeds;
        else
            QFAIL(qPrintable(QStringLiteral("unexpected line: ") + line)); // nothing of the default set
    }
    // The two PIDs take turns.
    QVERIFY(rpms >= 2 && speeds >= 2);
    QVERIFY(qAbs(rpms - speeds) <= 1);
}

void TestCliObd::pidsDefaultSetIsTheRelayedOnes() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"), {}));
    const Result r = Run(Base(sim) << QStringList{"obd", "pids", "--seconds", "2"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QSet<QString> seen;
    for (const QString &line : r.Lines()) {
        const QStringList f = line.split(QLatin1Char('\t'));
        QCOMPARE(f.size(), 3);
        seen.insert(f[0]);
        if (f[0] == QLatin1String("07")) QCOMPARE(line, QStringLiteral("07\tLONG FT1\t3.1[%]"));
        if (f[0] == QLatin1String("03"))
            QVERIFY2(QRegularExpression(QStringLiteral("^03\tFuel sys\t(OL|CL|OL Load|OL Fault|CL Error)?$"))
                         .match(line)
                         .hasMatch(),
                     qPrintable(line));
    }
    // Fuel system status and the four trims, and nothing else.
    QVERIFY2(seen.subtract({"03", "06", "07", "08", "09"}).isEmpty(), qPrintable(r.Describe()));
    QVERIFY(r.Lines().size() >= 5);
}

// The summary on stderr, fast and as specified, and from a clone that refuses grouped requests: every
// value still comes, one PID a request.
void TestCliObd::pidsSummary_data() {
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QStringList>("pidsOptions");
    QTest::addColumn<QString>("how");
    QTest::newRow("fast") << QStringList{} << QStringList{} << "fast polling, up to 6 PIDs a request";
    QTest::newRow("as specified") << QStringList{} << QStringList{"--polling", "as-specified"}
                                  << "polling as specified";
    QTest::newRow("a clone refusing grouped requests")
        << QStringList{"--grouped", "question"} << QStringList{}
        << "fast polling, one PID a request: grouped requests were not answered in full";
    QTest::newRow("K-line") << QStringList{"--protocol", "3"} << QStringList{"--polling", "fast"}
                            << "fast polling, one PID a request on this bus";
}

void TestCliObd::pidsSummary() {
    QFETCH(QStringList, simOptions);
    QFETCH(QStringList, pidsOptions);
    QFETCH(QString, how);
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"), simOptions));
    const Result r = Run(Base(sim) << QStringList{"obd", "pids", "--seconds", "3"} << pidsOptions, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QSet<QString> seen;
    for (const QString &line : r.Lines())
        seen.insert(line.section(QLatin1Char('\t'), 0, 0));
    QCOMPARE(seen, QSet<QString>({"03", "06", "07", "08", "09"}));
    const QRegularExpression summary(
        QStringLiteral("(\\d+) values of 5 PIDs in (\\d+\\.\\d) s: (\\d+\\.\\d) values/s \\((.*)\\)"));
    const QRegularExpressionMatch m = summary.match(QString::fromUtf8(r.err));
    QVERIFY2(m.hasMatch(), r.err.constData());
    QCOMPARE(m.captured(1).toInt(), int(r.Lines().size()));
    QCOMPARE(m.captured(4), how);
}

void TestCliObd::pidsNotSupported() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"), {}));
    Result r =
        Run(Base(sim) << QStringList{"obd", "pids", "--pid", "0A", "--pid", "0C", "--seconds", "1"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QVERIFY2(r.err.contains("PID 0A") && r.err.contains("not supported"), r.err.constData());
    for (const QString &line : r.Lines())
        QVERIFY(line.startsWith(QLatin1String("0C\t")));
    // Nothing at all to poll: the run cannot give a value and says so at once.
    r = Run(Base(sim) << QStringList{"obd", "pids", "--pid", "0A", "--seconds", "30"}, Env());
    QVERIFY2(r.finished && r.code == 1 && r.out.isEmpty(), qPrintable(r.Describe()));
    QVERIFY(r.ms < 20000);
}

void TestCliObd::dtcReadThenClear() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"),
                      {"--dtc", "P0420,P0171", "--pending", "U0155", "--permanent", "P0300"}));
    Result r = Run(Base(sim) << QStringList{"obd", "dtc"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(r.Lines(), (QStringList{"\tStored Trouble Codes  /  Błędy zarejestrowane :", "P0420",
                                     " Catalyst System Efficiency Below Threshold (Bank 1)",
                                     " Sprawność katalizatora poniżej progu (rząd 1)", "P0171",
                                     " System Too Lean (Bank 1)", " Mieszanka zbyt uboga (rząd 1)",
                                     "\tPending Trouble Codes  /  Błędy oczekujące :", "U0155",
                                     " Lost Communication With Instrument Panel Cluster (IPC) Control Module",
                                     "\tPermanent Trouble Codes  /  Błędy permanentne :", "P0300",
                                     " Random/Multiple Cylinder Misfire Detected",
                                     " Wykryto losowe/wielokrotne wypadanie zapłonów"}));

    r = Run(Base(sim) << QStringList{"obd", "clear-dtc"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(r.Lines(), QStringList{"trouble codes cleared"});

    // Stored and pending codes are gone; a permanent code stays until the car clears it itself.
    r = Run(Base(sim) << QStringList{"obd", "dtc"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QStringList l = r.Lines();
    QVERIFY2(!r.out.contains("P0420") && !r.out.contains("U0155"), r.out.constData());
    QVERIFY2(r.out.contains("P0300"), r.out.constData());
    QCOMPARE(l.value(0), QStringLiteral("\tStored Trouble Codes  /  Błędy zarejestrowane :"));
}

// The virtual car has no heated catalyst: since the clear "not supported"; this drive cycle's bits say
// only that the monitor is not enabled.
void TestCliObd::vehicleTextMonitors() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"), {}));
    const Result r = Run(Base(sim) << QStringList{"obd", "vehicle"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QStringList l = r.Lines();
    const int since = int(l.indexOf(QStringLiteral("  Monitors since codes cleared:")));
    const int cycle = int(l.indexOf(QStringLiteral("  Monitors this drive cycle:")));
    QVERIFY2(since >= 0 && cycle > since, r.out.constData());
    const QString heated =
        QStringLiteral("    ") + QStringLiteral("Heated catalyst").leftJustified(24) + u' ';
    QCOMPARE(l.value(since + 5), heated + QStringLiteral("not supported"));
    QCOMPARE(l.value(cycle + 5), heated + QStringLiteral("not enabled this cycle"));
    QCOMPARE(l.value(cycle + 4), QStringLiteral("    ") + QStringLiteral("Catalyst").leftJustified(24) +
                                     QStringLiteral(" complete"));
}

// The emissions check of the virtual car as one JSON object: on CAN with a second unit, and on the
// K-line from an adapter that leaves some items out (they are null, never missing).
void TestCliObd::vehicleJson_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("nullKeys");
    QTest::newRow("CAN, two units") << QStringList{"--dtc", "P0171,P0420", "--ecus", "2"} << QStringList{};
    QTest::newRow("KWP, some items missing")
        << QStringList{"--protocol", "5", "--dtc", "P0171", "--no-data", "calid,cvn,cycle,time-mil,permanent"}
        << QStringList{"calibration_ids", "cvns", "monitors_this_cycle", "time_mil_on_min",
                       "permanent_codes"};
}

void TestCliObd::vehicleJson() {
    QFETCH(QStringList, options);
    QFETCH(QStringList, nullKeys);
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"), options));
    const Result r = Run(Base(sim) << QStringList{"obd", "vehicle", "--json"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
    QVERIFY2(error.error == QJsonParseError::NoError, r.out.constData());
    const QJsonArray ecus = doc.object().value(QStringLiteral("ecus")).toArray();
    QCOMPARE(ecus.size(), options.contains(QStringLiteral("--ecus")) ? 2 : 1);
    const QJsonObject e = ecus[0].toObject();
    const QStringList keys{"address",
                           "vin",
                           "calibration_ids",
                           "cvns",
                           "ecu_name",
                           "mil",
                           "dtc_count",
                           "ignition",
                           "monitors",
                           "monitors_this_cycle",
                           "freeze_frame",
                           "warm_ups_since_clear",
                           "distance_since_clear_km",
                           "time_since_clear_min",
                           "distance_mil_on_km",
                           "time_mil_on_min",
                           "stored_codes",
                           "pending_codes",
                           "permanent_codes"};
    for (const QString &k : keys) {
        QVERIFY2(e.contains(k), qPrintable(k));
        QCOMPARE(e.value(k).isNull(), nullKeys.contains(k));
    }
    QCOMPARE(e.value("address").toString(),
             options.contains("5") ? QStringLiteral("11") : QStringLiteral("7E8"));
    QCOMPARE(e.value("vin").toString(), QStringLiteral("TRVSIM0A0B1C23456"));
    if (!nullKeys.contains("calibration_ids"))
        QCOMPARE(e.value("calibration_ids").toArray(), QJsonArray({"TRV1A2B3C4D5E6F", "TRVGAS0720"}));
    if (!nullKeys.contains("cvns")) QCOMPARE(e.value("cvns").toArray(), QJsonArray({"1A2B3C4D", "5E6F7081"}));
    QCOMPARE(e.value("ecu_name").toString(), QStringLiteral("ECM-EngineControl"));
    QCOMPARE(e.value("mil").toBool(), true);
    QCOMPARE(e.value("dtc_count").toInt(), options.contains("P0171,P0420") ? 2 : 1);
    QCOMPARE(e.value("ignition").toString(), QStringLiteral("spark"));
    // The car's catalyst and evaporative system have not finished since the codes were cleared.
    QStringList incomplete;
    for (const QJsonValue &m : e.value("monitors").toArray())
        if (m["supported"].toBool() && !m["complete"].toBool()) incomplete << m["name"].toString();
    QCOMPARE(incomplete, QStringList({"Catalyst", "Evaporative system"}));
    // The counters that give a fresh clear away, as the virtual car keeps them.
    QCOMPARE(e.value("warm_ups_since_clear").toInt(), 42);
    QCOMPARE(e.value("distance_since_clear_km").toInt(), 1234);
    QCOMPARE(e.value("time_since_clear_min").toInt(), 2710);
    QCOMPARE(e.value("distance_mil_on_km").toInt(), 57);
    if (!nullKeys.contains("time_mil_on_min")) QCOMPARE(e.value("time_mil_on_min").toInt(), 95);
    const QJsonArray stored = e.value("stored_codes").toArray();
    QCOMPARE(stored.size(), options.contains("P0171,P0420") ? 2 : 1);
    QCOMPARE(stored[0]["code"].toString(), QStringLiteral("P0171"));
    QCOMPARE(stored[0]["description"].toString(), QStringLiteral("System Too Lean (Bank 1)"));
    QCOMPARE(e.value("pending_codes").toArray(), QJsonArray());
    if (!nullKeys.contains("permanent_codes")) QCOMPARE(e.value("permanent_codes").toArray(), QJsonArray());
    // Two monitors incomplete against one allowed, and the lamp on: not ready.
    const QJsonObject v = doc.object().value(QStringLiteral("verdict")).toObject();
    QCOMPARE(v.value("ready").toBool(true), false);
    QCOMPARE(v.value("readiness_read").toBool(), true);
    QCOMPARE(v.value("incomplete_monitors").toInt(), 2);
    QCOMPARE(v.value("allowed").toInt(), 1);
    QCOMPARE(v.value("mil").toBool(), true);
    QCOMPARE(v.value("permanent_codes").isNull(), nullKeys.contains("permanent_codes"));
    QVERIFY2(v.value("text").toString().startsWith("Ready for an emissions inspection: no — 2 monitors"),
             qPrintable(v.value("text").toString()));
    const QJsonObject ff = e.value("freeze_frame").toObject();
    QCOMPARE(ff.value("dtc").toString(), QStringLiteral("P0171"));
    bool rpm = false;
    for (const QJsonValue &v : ff.value("values").toArray())
        if (v["pid"].toString() == "0C") {
            rpm = true;
            QCOMPARE(v["value"].toDouble(), 812.0);
            QCOMPARE(v["unit"].toString(), QStringLiteral("rpm"));
            QCOMPARE(v["name"].toString(), QStringLiteral("Engine RPM"));
        }
    QVERIFY(rpm);
    if (ecus.size() == 2) {
        const QJsonObject t = ecus[1].toObject();
        QCOMPARE(t.value("address").toString(), QStringLiteral("7E9"));
        QVERIFY(t.value("vin").isNull());
        QVERIFY(t.value("freeze_frame").isNull());
        QCOMPARE(t.value("ecu_name").toString(), QStringLiteral("TCM-TransmissionCtl"));
    }
}

// A car with codes of every generic family: each code is followed by its English text, and a P code
// by its Polish one too; body, chassis and network codes get the English line only.
void TestCliObd::dtcOfEveryFamilyHasItsText() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"),
                      {"--dtc", "P2096,P0A80,B0001,C0035,U0100", "--pending", "C0040,P0999"}));
    const Result r = Run(Base(sim) << QStringList{"obd", "dtc"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QStringList l = r.Lines();
    const QStringList codes{"P2096", "P0A80", "B0001", "C0035", "U0100", "C0040", "P0999"};
    for (const QString &code : codes) {
        const qsizetype at = l.indexOf(code);
        QVERIFY2(at >= 0, qPrintable(code + u'\n' + l.join(u'\n')));
        const int texts = code.startsWith(u'P') ? 2 : 1;
        for (int i = 1; i <= texts; ++i)
            QVERIFY2(l.value(at + i).startsWith(u' ') && l.value(at + i).size() > 8, qPrintable(code));
        const QString next = l.value(at + texts + 1);
        QVERIFY2(next.isEmpty() || codes.contains(next) || next.startsWith(u'\t'),
                 qPrintable(code + u' ' + next));
    }
    QCOMPARE(l.size(), 3 + 7 + 3 * 2 + 4); // three headings, seven codes, three P codes with two texts
}

void TestCliObd::noProtocolEndsWithExitOne() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"), {"--ignition-off", "--search-ms", "50"}));
    const Result r = Run(Base(sim) << QStringList{"--timeout", "3", "obd", "status"}, Env());
    QVERIFY2(r.finished && r.code == 1, qPrintable(r.Describe()));
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains("did not answer within 3 s"), r.err.constData());
    QVERIFY2(r.err.contains("ELM: ELM327 v1.5"), r.err.constData()); // how far it came
    QVERIFY2(r.ms >= 3000 && r.ms < 3000 + 4000, qPrintable(QString::number(r.ms)));
}

void TestCliObd::obdUsageErrors() {
    const QProcessEnvironment env = Env();
    for (const QStringList &args :
         {QStringList{"obd"}, QStringList{"obd", "nonsense"}, QStringList{"obd", "pids", "--pid", "1G"},
          QStringList{"obd", "pids", "--pid", "81"}, QStringList{"obd", "pids", "--seconds", "-1"},
          QStringList{"obd", "dtc", "extra"}, QStringList{"obd", "vehicle", "--xml"}}) {
        const Result r = Run(QStringList{"--obd-port", "/dev/null"} + args, env);
        QVERIFY2(r.finished && r.code == 2,
                 qPrintable(args.join(QLatin1Char(' ')) + QLatin1Char('\n') + r.Describe()));
    }
    // A port that is no serial device is refused.
    const Result r = Run(QStringList{"--obd-port", dir_->path(), "obd", "status"}, env);
    QVERIFY2(r.finished && r.code == 1 && r.err.contains("cannot open"), qPrintable(r.Describe()));
}

void TestCliObd::wifiAdapter() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("elm"), {"--tcp", "0", "--dtc", "P0420"}));
    QVERIFY2(sim.Tcp().startsWith(QLatin1String("127.0.0.1:")), qPrintable(sim.Tcp()));
    const QStringList expected = {QStringLiteral("PORT: ") + sim.Tcp(),
                                  "ELM: ELM327 v1.5",
                                  "PWR: 12.6V",
                                  "OBD: CAN (11 bit ID, 500 kb)",
                                  "ECU: 7E8h",
                                  "DTC: 1",
                                  "MIL: zapalony"};
    // Given on the command line.
    Result r = Run(QStringList{"--obd-port", sim.Tcp(), "obd", "status"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(r.Lines(), expected);

    // The configured Wi-Fi adapter, when no port is given.
    QDir().mkpath(dir_->filePath(QStringLiteral("config")));
    QVERIFY(WriteAll(dir_->filePath(QStringLiteral("config/DuzERO.conf")),
                     "[General]\nComm=1\nElmComm=704\nElmHost=" + sim.Tcp().toLatin1() + "\n"));
    r = Run(QStringList{"obd", "status"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(r.Lines(), expected);

    // Nothing listening: a closed port, said at once instead of waiting out the time-out.
    sim.Stop();
    r = Run(QStringList{"--obd-port", sim.Tcp(), "obd", "status"}, Env());
    QVERIFY2(r.finished && r.code == 1 && r.out.isEmpty(), qPrintable(r.Describe()));
    QVERIFY2(r.err.contains("is closed"), r.err.constData());
    QVERIFY2(r.ms < 10000, qPrintable(r.Describe()));
}

QTEST_GUILESS_MAIN(TestCliObd)
#include "tst_cli_obd.moc"
