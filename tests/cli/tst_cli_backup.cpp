// Backups before a write and the change report, through tarven-cli: against the virtual controller on
// a pseudo-terminal, and offline over pairs of settings files with the report worked out by hand.
#include "tst_cli_common.h"

#include <QDir>
#include <QRegularExpression>

using namespace cli;

using Bajty = QList<QPair<int, int>>; // file offset, value

namespace {
// Bytes of a settings file that the controller holds (settings to map F); identification and
// history lie before them.
QByteArray Bloki(const QByteArray &set) {
    return set.mid(SetFile::Settings);
}
} // namespace

class TestCliBackup : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void writeWaitsForItsBackup();
    void diffReport_data();
    void diffReport();
    void diffRefusesOtherFiles();

private:
    QString Path(const QString &name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

// Without a place for the backup nothing is written; with one the backup holds what the controller
// held before the write, and the write lands.
void TestCliBackup::writeWaitsForItsBackup() {
    Sim sim;
    // No learnt cells: the controller keeps exactly what it is given.
    QVERIFY(sim.Start(QStringLiteral("controller"), {"--learn-every", "3600000"}));
    const QStringList base = {"--port", sim.Pty(), "--lang", "en"};
    const QProcessEnvironment env = Environment(Path("home"));
    Result r = Run(QStringList(base) << "read-settings" << Path("before.set"), env);
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QByteArray before = ReadAll(Path("before.set"));
    QByteArray changed = before;
    for (int o : {SetFile::Settings + 51, SetFile::Multipliers1 + 9, SetFile::MapA + 40, SetFile::End - 1})
        changed[o] = char(uint8_t(changed[o]) + 5);
    // Another car's file: its identification names another controller.
    changed.replace(128 + 6, 16, QByteArray("OTHER99").leftJustified(16, '\0'));
    QVERIFY(WriteAll(Path("changed.set"), changed));

    // A documents "folder" that is a file cannot take a backup, not even for root.
    QDir().mkpath(Path("nodocs"));
    QVERIFY(WriteAll(Path("nodocs/Documents"), "a file"));
    r = Run(QStringList(base) << "write-settings" << Path("changed.set"), Environment(Path("nodocs")));
    QVERIFY2(r.finished && r.code == 3, qPrintable(r.Describe()));
    QVERIFY2(r.err.contains("no backup") && r.err.contains("cannot be created"), r.err.constData());
    QVERIFY(r.out.isEmpty());
    r = Run(QStringList(base) << "read-settings" << Path("still.set"), env);
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(Bloki(ReadAll(Path("still.set"))), Bloki(before));

    r = Run(QStringList(base) << "write-settings" << Path("changed.set"), env);
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("tarven-cli: backup: (.*/QERN/Tarven II/Backups/TV2403PRO00417/"
                                          "\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d_file-write\\.set)\n"))
            .match(QString::fromUtf8(r.err));
    QVERIFY2(m.hasMatch(), r.err.constData());
    const QByteArray backup = ReadAll(m.captured(1));
    QCOMPARE(backup.size(), SetFile::End);
    QCOMPARE(backup.left(9), QByteArray("set file\x01", 9));
    QCOMPARE(Bloki(backup), Bloki(before));
    QCOMPARE(backup.mid(128 + 6, 16), before.mid(128 + 6, 16)); // the controller's serial, not the file's
    QVERIFY(!QFileInfo::exists(Path("home/Documents/QERN/Tarven II/Backups/OTHER99")));
    r = Run(QStringList(base) << "read-settings" << Path("after.set"), env);
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QByteArray after = ReadAll(Path("after.set"));
    QCOMPARE(after.mid(SetFile::Settings + 1), changed.mid(SetFile::Settings + 1)); // but the checksum
}

// Each row: the bytes of B that differ from the factory defaults A, the report expected on standard
// output, and a text expected on standard error.
void TestCliBackup::diffReport_data() {
    QTest::addColumn<Bajty>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("err");
    using B = Bajty;
    const int s = SetFile::Settings;
    QTest::newRow("equal") << B{} << QStringList{} << QString();
    QTest::newRow("checksum only") << B{{s, 0x5A}} << QStringList{} << QString();
    QTest::newRow("offset number") << B{{s + 51, 175}}
                                   << QStringList{"51\tSwitching to LPG when temp. rises above\t40\t47\t[°C]"}
                                   << QString();
    QTest::newRow("number with decimals")
        << B{{s + 83, 90}} << QStringList{"83\tPetrol time\t3.00\t4.50\t[ms]"} << QString();
    QTest::newRow("choice") << B{{s + 24, 5}}
                            << QStringList{QStringLiteral(
                                   u"24\tInjectors\tBarracuda 1.9 \u2126\tValtek 3 \u2126\t")}
                            << QString();
    QTest::newRow("flag") << B{{s + 68, 0}} << QStringList{"68\tEnable full petrol injection\tYes\tNo\t"}
                          << QString();
    QTest::newRow("error code") << B{{s + 115, 7}} << QStringList{"115\tError code\t- (0)\t- (7)\t"}
                                << QString();
    QTest::newRow("axis point") << B{{s + 230, 50}}
                                << QStringList{"230\tLoad axis, point 7\t0.43\t0.5\t[bar]"} << QString();
    QTest::newRow("map cells") << B{{SetFile::MapC + 17, 9}, {SetFile::MapC + 200, 3}, {SetFile::MapB, 1}}
                               << QStringList{"Map B (gas injection times)\t1 bytes differ\t1",
                                              "Map C (OBD petrol bank 1)\t2 bytes differ\t9"}
                               << QString();
    QTest::newRow("item and curve")
        << B{{SetFile::GasPressureCurve + 100, 28}, {s + 51, 168 - 3}}
        << QStringList{"51\tSwitching to LPG when temp. rises above\t40\t37\t[°C]",
                       "Correction by gas pressure\t1 bytes differ\t100"}
        << QString();
    QTest::newRow("another serial") << B{{128 + 6, 'X'}} << QStringList{}
                                    << QStringLiteral("Another controller: ? / X");
}

void TestCliBackup::diffReport() {
    QFETCH(Bajty, bytes);
    QFETCH(QStringList, lines);
    QFETCH(QString, err);
    const QProcessEnvironment env = Environment(Path("home"));
    Result r = Run({"defaults", Path("a.set")}, env);
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QByteArray b = ReadAll(Path("a.set"));
    for (const auto &[offset, value] : bytes)
        b[offset] = char(value);
    QVERIFY(WriteAll(Path("b.set"), b));
    r = Run({"--lang", "en", "diff", Path("a.set"), Path("b.set")}, env);
    QVERIFY2(r.finished && r.code == (lines.isEmpty() ? 0 : 1), qPrintable(r.Describe()));
    QCOMPARE(r.Lines(), lines);
    if (!err.isEmpty()) QVERIFY2(r.err.contains(err.toUtf8()), r.err.constData());
}

// Files that are not settings files are named with the loader's error code.
void TestCliBackup::diffRefusesOtherFiles() {
    const QProcessEnvironment env = Environment(Path("home"));
    QVERIFY(WriteAll(Path("a.set"), QByteArray(4096, 'x')));
    Result r = Run({"diff", Path("a.set"), Path("a.set")}, env);
    QVERIFY2(r.finished && r.code == 3 && r.err.contains("Error code 123"), qPrintable(r.Describe()));
    r = Run({"diff", Path("missing.set"), Path("a.set")}, env);
    QVERIFY2(r.finished && r.code == 3 && r.err.contains("Error code 122"), qPrintable(r.Describe()));
    QVERIFY(r.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestCliBackup)
#include "tst_cli_backup.moc"
