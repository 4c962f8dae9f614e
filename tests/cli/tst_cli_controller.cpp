// tarven-cli against the virtual controller, end to end through pseudo-terminals.
#include "tst_cli_common.h"

#include "link/Frame.h"
#include "link/PortNumbering.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPort>

using namespace cli;

class TestCliController : public QObject {
    Q_OBJECT
private slots:
    void init();
    void infoShowsTheControllersOwnTexts();
    void infoByPortNumberAndOtherModel();
    void linkKeyMustMatch();
    void settingsWrittenAndReadBackEqual();
    void writeSettingsRefusesAForeignFile();
    void recordThenExportCsv();
    void recordStopsCleanlyOnSigterm();
    void monitorPrintsReadings();
    void errorsAndClear();
    void readSettingsOverALossyLink();
    void silentControllerEndsWithExitOne();
    void portErrorsSayWhy();

private:
    QStringList Base(const Sim &sim) const {
        return {QStringLiteral("--port"), sim.Pty(), QStringLiteral("--lang"), QStringLiteral("en")};
    }
    QString Path(const QString &name) const { return dir_->filePath(name); }
    QProcessEnvironment Env() const { return Environment(dir_->filePath(QStringLiteral("config"))); }

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestCliController::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestCliController::infoShowsTheControllersOwnTexts() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    const Result r = Run(Base(sim) << QStringLiteral("info"), Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QStringList l = r.Lines();
    QCOMPARE(l.size(), 7);
    QCOMPARE(l[0], QStringLiteral("model: TARVEN PRO+"));
    QCOMPARE(l[1], QStringLiteral("serial: TV2403PRO00417"));
    QVERIFY2(l[2].startsWith(QLatin1String("version: 3.8.21")), qPrintable(l[2]));
    QCOMPARE(l[3], QStringLiteral("production: 2024.03.15")); // the first history entry
    QCOMPARE(l[4], QStringLiteral("injectors: 8"));
    QVERIFY2(
        QRegularExpression(QStringLiteral("^petrol time: 123:[0-5]\\d:[0-5]\\d$")).match(l[5]).hasMatch(),
        qPrintable(l[5]));
    QVERIFY2(QRegularExpression(QStringLiteral("^gas time: 456:[0-5]\\d:[0-5]\\d$")).match(l[6]).hasMatch(),
             qPrintable(l[6]));
}

void TestCliController::infoByPortNumberAndOtherModel() {
    Sim sim;
    QVERIFY(
        sim.Start(QStringLiteral("controller"), {"--model", "1", "--channels", "4", "--serial", "ECO-77"}));
    const int number = PortNumberOfDevice(sim.Pty());
    QVERIFY2(number > 700 && number < 1024, qPrintable(sim.Pty()));
    const Result r = Run({"--port", QString::number(number), "--lang", "pl", "info"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QStringList l = r.Lines();
    QCOMPARE(l.value(0), QStringLiteral("model: TARVEN ECO+"));
    QCOMPARE(l.value(1), QStringLiteral("serial: ECO-77"));
    QVERIFY2(l.value(2).startsWith(QLatin1String("version: 3.4.21")), qPrintable(l.value(2)));
    QCOMPARE(l.value(4), QStringLiteral("injectors: 4"));
}

void TestCliController::linkKeyMustMatch() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {"--link-key", "0x17"}));
    // With the default key no frame checks out: nothing is identified within the time-out.
    Result r = Run(Base(sim) << "--timeout"
                             << "1.5"
                             << "info",
                   Env());
    QVERIFY2(r.finished && r.code == 1, qPrintable(r.Describe()));
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains("did not answer within 1.5 s"), r.err.constData());
    r = Run(Base(sim) << "--link-key"
                      << "23"
                      << "info",
            Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(r.Lines().value(0), QStringLiteral("model: TARVEN PRO+"));
}

void TestCliController::settingsWrittenAndReadBackEqual() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    const QString before = Path("before.set"), changed = Path("changed.set"), after = Path("after.set");
    Result r = Run(Base(sim) << "read-settings" << before, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QByteArray set = ReadAll(before);
    QCOMPARE(set.size(), SetFile::End);
    QVERIFY(set.startsWith("set file"));
    QCOMPARE(int(uint8_t(set[8])), 1);
    const auto *settings = reinterpret_cast<const uint8_t *>(set.constData() + SetFile::Settings);
    QCOMPARE(Frame::Sum(settings, 256), uint8_t(0));          // the block as the controller keeps it
    QCOMPARE(int(uint8_t(set[SetFile::Settings + 51])), 168); // a factory value of the controller

    // Change a few bytes of several blocks; the settings checksum is left stale on purpose (the
    // program recomputes it for every write).
    const QList<int> offsets = {SetFile::Settings + 51,
                                SetFile::Settings + 60,
                                SetFile::Multipliers1 + 5,
                                SetFile::RpmCorrection1 + 200,
                                SetFile::GasPressureCurve + 120,
                                SetFile::MapA + 16 * 15 + 15,
                                SetFile::MapB + 33,
                                SetFile::MapC + 7,
                                SetFile::End - 1};
    for (int o : offsets)
        set[o] = char(uint8_t(set[o]) + 7);
    QVERIFY(WriteAll(changed, set));
    r = Run(Base(sim) << "write-settings" << changed, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QStringList lines = r.Lines();
    QCOMPARE(lines.size(), 14);
    for (const QString &l : lines)
        QVERIFY2(l.contains(QLatin1String("written and read back equal")), qPrintable(l));

    // A second program reads back what the controller now holds.
    r = Run(Base(sim) << "read-settings" << after, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QByteArray back = ReadAll(after);
    QCOMPARE(back.size(), SetFile::End);
    // Settings (but the checksum, recomputed), multipliers, RPM corrections and curves: byte for byte.
    QCOMPARE(back.mid(SetFile::Settings + 1, SetFile::MapA - SetFile::Settings - 1),
             set.mid(SetFile::Settings + 1, SetFile::MapA - SetFile::Settings - 1));
    QCOMPARE(Frame::Sum(reinterpret_cast<const uint8_t *>(back.constData() + SetFile::Settings), 256),
             uint8_t(0));
    // Maps C to F byte for byte; maps A and B are learnt by the running controller, so there only
    // the cells written are compared.
    QCOMPARE(back.mid(SetFile::MapC), set.mid(SetFile::MapC));
    for (int o : offsets)
        QCOMPARE(uint8_t(back[o]), uint8_t(set[o]));
    // The write is recorded in the controller's history: a new entry beside the installation.
    QVERIFY(back.mid(256 + 8, 8) != QByteArray(8, '\0'));
    QCOMPARE(int(uint8_t(back[256 + 8])) & 0x08, 0x08);
}

void TestCliController::writeSettingsRefusesAForeignFile() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    const QString bad = Path("bad.set");
    QByteArray data(4096, '\0');
    data.replace(0, 8, "osc file");
    data[8] = 1;
    QVERIFY(WriteAll(bad, data));
    Result r = Run(Base(sim) << "write-settings" << bad, Env());
    QVERIFY2(r.finished && r.code == 3, qPrintable(r.Describe()));
    QVERIFY(r.err.contains("Error code 123"));
    QVERIFY(r.out.isEmpty());
    data.replace(0, 8, "set file");
    data[8] = 2; // a newer format version
    QVERIFY(WriteAll(bad, data));
    r = Run(Base(sim) << "write-settings" << bad, Env());
    QVERIFY2(r.finished && r.code == 3, qPrintable(r.Describe()));
    r = Run(Base(sim) << "write-settings" << Path("missing.set"), Env());
    QVERIFY2(r.finished && r.code == 3 && r.err.contains("Error code 122"), qPrintable(r.Describe()));
}

void TestCliController::recordThenExportCsv() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    const QString osc = Path("drive.osc"), csv = Path("drive.csv");
    Result r = Run(Base(sim) << "record" << osc << "--seconds"
                             << "2",
                   Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QByteArray rec = ReadAll(osc);
    QVERIFY(rec.startsWith("osc file"));
    QCOMPARE(int(uint8_t(rec[8])), 1);
    QCOMPARE(int(uint8_t(rec[9])), 1);
    QCOMPARE((rec.size() - 4096) % 128, 0);
    const int samples = int((rec.size() - 4096) / 128);
    QVERIFY2(samples >= 8, qPrintable(QString::number(samples))); // one poll every 100-200 ms
    QVERIFY2(r.out.startsWith("recorded " + QByteArray::number(samples) + " samples ("), r.out.constData());
    // The header holds the controller's configuration at the time of recording.
    QCOMPARE(int(uint8_t(rec[SetFile::Settings + 51])), 168);
    QCOMPARE(int(uint8_t(rec[128 + 3])), 0x81);

    r = Run(Base(sim) << "export-csv" << osc << csv, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QByteArray text = ReadAll(csv);
    QVERIFY(text.endsWith("\r\n"));
    QStringList rows = QString::fromUtf8(text).split(QStringLiteral("\r\n"));
    QVERIFY(rows.last().isEmpty()); // every line ends with CR LF
    rows.removeLast();
    QCOMPARE(rows.size(), samples + 1);
    for (const QString &row : rows)
        QVERIFY2(row.endsWith(QLatin1Char(';')) && !row.contains(QLatin1Char('\n')) &&
                     !row.contains(QLatin1Char('\r')),
                 qPrintable(row));
    const QStringList head = rows[0].chopped(1).split(QLatin1Char(';'));
    QCOMPARE(head.first(), QStringLiteral("sec"));
    QCOMPARE(head.value(1), QStringLiteral("Revolutions"));
    QCOMPARE(head.value(5), QStringLiteral("Reducer temp."));
    for (int i = 0; i < samples; ++i) {
        const QStringList f = rows[i + 1].chopped(1).split(QLatin1Char(';'));
        QCOMPARE(f.size(), head.size()); // the time and one field per series
        QCOMPARE(f[0], QStringLiteral("%1.%2").arg(i / 10).arg(i % 10));
        // Values decoded from the recorded bytes: engine speed (word at 17) x 10, reducer
        // temperature (byte at 40) - 128.
        const auto *s = reinterpret_cast<const uint8_t *>(rec.constData() + 4096 + 128 * i);
        QCOMPARE(f[1].toInt(), (s[17] | s[18] << 8) * 10);
        QCOMPARE(f[5].toInt(), s[40] - 128);
    }
}

void TestCliController::recordStopsCleanlyOnSigterm() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    const QString osc = Path("open.osc");
    QProcess p;
    p.setProcessEnvironment(Env());
    p.start(QStringLiteral(TARVEN_CLI_PATH), Base(sim) << "record" << osc);
    QVERIFY(p.waitForStarted(StartMs));
    // Recording until interrupted: the file grows while the run goes on.
    QVERIFY(QTest::qWaitFor([&] { return QFileInfo(osc).size() >= 4096 + 3 * 128; }, 30000));
    p.terminate();
    QVERIFY(p.waitForFinished(StartMs));
    QCOMPARE(p.exitCode(), 0);
    const QByteArray out = p.readAllStandardOutput();
    const qint64 size = QFileInfo(osc).size();
    QCOMPARE((size - 4096) % 128, 0);
    QVERIFY2(out.startsWith("recorded " + QByteArray::number((size - 4096) / 128) + " samples"),
             out.constData());
}

void TestCliController::monitorPrintsReadings() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    const Result r = Run(Base(sim) << "monitor"
                                   << "--seconds"
                                   << "1.5",
                         Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QStringList lines = r.Lines();
    QVERIFY2(lines.size() >= 4, qPrintable(r.Describe()));
    double last = -1;
    for (const QString &l : lines) {
        const QStringList f = l.split(QLatin1Char('\t'));
        QVERIFY2(f.size() == 7 && f[0].startsWith(QLatin1String("t=")), qPrintable(l));
        const double t = f[0].mid(2).toDouble();
        QVERIFY(t >= last && t <= 1.6);
        last = t;
        QVERIFY2(QRegularExpression(QStringLiteral("^Revolutions=\\d+ \\[rpm\\]$")).match(f[1]).hasMatch(),
                 qPrintable(f[1]));
        QVERIFY2(QRegularExpression(QStringLiteral("^Power supply=1[34]\\.\\d\\d \\[V\\]$"))
                     .match(f[6])
                     .hasMatch(),
                 qPrintable(f[6]));
    }
}

void TestCliController::errorsAndClear() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    Result r = Run(Base(sim) << "errors", Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    // The car comes with two stored gas-pressure errors and one switch for lack of gas.
    QCOMPARE(r.Lines(), (QStringList{"Gas pressure too low", "Switched to petrol - out of gas", "",
                                     "\tStored errors:", "", "2 x Gas pressure too low",
                                     "1 x Switched to petrol - out of gas"}));
    r = Run(Base(sim) << "--lang"
                      << "pl"
                      << "errors",
            Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(r.Lines().value(0), QStringLiteral("Za niskie ciśnienie gazu"));

    r = Run(Base(sim) << "errors"
                      << "--clear",
            Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QVERIFY2(r.out.isEmpty(), r.out.constData()); // the list read after the erase is empty
    r = Run(Base(sim) << "errors", Env());
    QVERIFY2(r.finished && r.code == 0 && r.out.isEmpty(), qPrintable(r.Describe()));
}

void TestCliController::readSettingsOverALossyLink() {
    Sim clean, lossy;
    QVERIFY(clean.Start(QStringLiteral("controller"), {}));
    QVERIFY(lossy.Start(QStringLiteral("controller"), {"--drop", "0.2", "--garbage", "0.2", "--corrupt",
                                                       "0.05", "--seed", "7", "--verbose"}));
    const QString good = Path("clean.set"), got = Path("lossy.set");
    Result r = Run(Base(clean) << "read-settings" << good, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    r = Run(Base(lossy) << "read-settings" << got, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QByteArray a = ReadAll(good), b = ReadAll(got);
    QCOMPARE(b.size(), SetFile::End);
    // Nothing lost: every block as a clean link reads it (map A is learnt by the engine as it runs).
    QCOMPARE(b.mid(SetFile::Settings, SetFile::MapA - SetFile::Settings),
             a.mid(SetFile::Settings, SetFile::MapA - SetFile::Settings));
    QCOMPARE(b.mid(SetFile::MapB), a.mid(SetFile::MapB));
    QCOMPARE(b.mid(256, 256), a.mid(256, 256)); // history
    // The faults really happened.
    const QByteArray stats = lossy.Stop();
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("\\((\\d+) dropped, (\\d+) corrupted, (\\d+) garbage bursts\\)"))
            .match(QString::fromUtf8(stats));
    QVERIFY2(m.hasMatch(), stats.right(400).constData());
    QVERIFY(m.captured(1).toInt() > 0);
    QVERIFY(m.captured(3).toInt() > 0);
}

void TestCliController::silentControllerEndsWithExitOne() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {"--silent-after", "4"}));
    const Result r = Run(Base(sim) << "--timeout"
                                   << "2"
                                   << "info",
                         Env());
    QVERIFY2(r.finished && r.code == 1, qPrintable(r.Describe()));
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains("did not answer within 2 s"), r.err.constData());
    // Ended by the time-out after the last answer, not by anything longer.
    QVERIFY2(r.ms >= 2000 && r.ms < 2000 + 3000, qPrintable(QString::number(r.ms)));
}

// A port that does not open says why: unplugged, or held by another program.
void TestCliController::portErrorsSayWhy() {
    Result r = Run({"--port", "/dev/ttyUSB-unplugged", "info"}, Env());
    QVERIFY2(r.finished && r.code == 1 &&
                 r.err.contains(
                     "cannot open the controller port /dev/ttyUSB-unplugged: the device does not exist"),
             qPrintable(r.Describe()));
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    QSerialPort holder(sim.Pty());
    QVERIFY(holder.open(QIODevice::ReadWrite));
    r = Run(Base(sim) << QStringLiteral("info"), Env());
    QVERIFY2(r.finished && r.code == 1 && r.err.contains(": the port is busy: another program holds it"),
             qPrintable(r.Describe()));
}

QTEST_GUILESS_MAIN(TestCliController)
#include "tst_cli_controller.moc"
