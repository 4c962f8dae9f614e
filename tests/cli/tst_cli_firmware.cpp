// tarven-cli firmware against the virtual controller's bootloader.
#include "tst_cli_common.h"
#include "tst_cli_firmware_image.h"

using namespace cli;

class TestCliFirmware : public QObject {
    Q_OBJECT
private slots:
    void init();
    void updateReportsTheNewVersion();
    void everyBlockWrittenOnceWhateverTheFlashTiming();
    void otherHardwareIsRefused();
    void badFilesAreRefusedBeforeConnecting();

private:
    QStringList Base(const Sim &sim) const {
        return {QStringLiteral("--port"), sim.Pty(), QStringLiteral("--lang"), QStringLiteral("en")};
    }
    QString Path(const QString &name) const { return dir_->filePath(name); }
    QProcessEnvironment Env() const { return Environment(dir_->filePath(QStringLiteral("config"))); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestCliFirmware::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestCliFirmware::updateReportsTheNewVersion() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    const QString img = Path("new.img");
    QVERIFY(WriteAll(img, FirmwareImage()));
    Result r = Run(Base(sim) << QStringList{"firmware", img}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QStringList l = r.Lines();
    QVERIFY2(l.size() >= 3, qPrintable(r.Describe()));
    // NN% lines rising from 0 to 100, then the version the controller reports after the restart.
    QCOMPARE(l.first(), QStringLiteral("0%"));
    const QString version = l.takeLast();
    QCOMPARE(l.last(), QStringLiteral("100%"));
    int last = -1;
    for (const QString &p : l) {
        QVERIFY2(p.endsWith(QLatin1Char('%')), qPrintable(p));
        const int n = p.chopped(1).toInt();
        QVERIFY2(n > last, qPrintable(p));
        last = n;
    }
    QVERIFY(l.contains(QStringLiteral("50%")));
    // The controller as it was before the update, backed up for that reason, named on stderr.
    const QDir kopie(Path("config/Documents/QERN/Tarven II/Backups/TV2403PRO00417"));
    const QStringList pliki = kopie.entryList({QStringLiteral("*_firmware.set")}, QDir::Files);
    QVERIFY2(pliki.size() == 1, qPrintable(r.Describe()));
    QVERIFY2(r.err.contains(pliki.first().toUtf8()), qPrintable(r.Describe()));
    QVERIFY2(version.startsWith(QLatin1String("version: 4.8.2  (25.01.02)")), qPrintable(version));

    r = Run(Base(sim) << QStringLiteral("info"), Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QVERIFY2(r.Lines().value(2).startsWith(QLatin1String("version: 4.8.2")), qPrintable(r.Describe()));

    // The update joined the controller's own history (beside its installation entry).
    const QString set = Path("after.set");
    r = Run(Base(sim) << QStringList{"read-settings", set}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QByteArray data = ReadAll(set);
    QCOMPARE(int(uint8_t(data[256])), 0x08);            // the installation
    QCOMPARE(int(uint8_t(data[256 + 8])) & 0x01, 0x01); // a firmware update today
}

// A flash that answers every 4th block late (it erases a sector first) must still receive every
// block exactly once: the simulator reports what it holds when it ends.
void TestCliFirmware::everyBlockWrittenOnceWhateverTheFlashTiming() {
    const QByteArray image = FirmwareImage();
    const QByteArray digest = QCryptographicHash::hash(image.mid(256), QCryptographicHash::Sha1).toHex();
    const QString img = Path("new.img");
    QVERIFY(WriteAll(img, image));
    for (const QStringList &timing : {QStringList{"--flash-delay", "150"}, QStringList{}}) {
        Sim sim;
        const QString trace = Path("sim.err");
        QVERIFY(sim.Start(QStringLiteral("controller"), timing + QStringList{"--verbose"}, trace));
        const Result r = Run(Base(sim) << QStringList{"firmware", img}, Env());
        QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
        sim.Stop();
        const QByteArray err = ReadAll(trace);
        const qsizetype at = err.lastIndexOf("ctl: firmware: ");
        QVERIFY2(at >= 0, err.right(2000).constData());
        const QByteArray line = err.mid(at, err.indexOf('\n', at) - at);
        // Each block once (no copy sent again: the cadence stays one block a turn), all in place.
        QCOMPARE(line, "ctl: firmware: 224 of 224 blocks written, 0 missing, 224 frames, 0 repeated copies, "
                       "0 rewritten with other data, image valid, sha1 " +
                           digest);
    }
}

void TestCliFirmware::otherHardwareIsRefused() {
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    ImageSpec spec;
    spec.hw21 = uint8_t(SimIdent::BoardVariant + 1);
    const QString img = Path("other.img");
    QVERIFY(WriteAll(img, FirmwareImage(spec)));
    Result r = Run(Base(sim) << QStringList{"firmware", img}, Env());
    QVERIFY2(r.finished && r.code == 3, qPrintable(r.Describe()));
    QVERIFY(r.out.isEmpty()); // no transfer started
    QVERIFY2(r.err.contains("built for other hardware"), r.err.constData());
    // The controller was left running its application.
    r = Run(Base(sim) << QStringLiteral("info"), Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QVERIFY(r.Lines().value(2).startsWith(QLatin1String("version: 3.8.21")));
}

void TestCliFirmware::badFilesAreRefusedBeforeConnecting() {
    // No controller at all: the file is judged first.
    const QStringList base = {"--port", "/dev/null", "--timeout", "1"};
    const QByteArray good = FirmwareImage();
    const QString img = Path("x.img");
    struct Case {
        QByteArray data;
        const char *message;
    };
    QByteArray wrongMagic = good;
    wrongMagic.replace(0, 8, "set file");
    const QList<Case> cases = {
        {good.left(57599), "cannot hold"},                            // one byte short of 224 blocks
        {good + QByteArray(65536 - good.size(), '\xFF'), "too long"}, // 65536 bytes
        {wrongMagic, "not a firmware image"},
    };
    for (const Case &c : cases) {
        QVERIFY(WriteAll(img, c.data));
        const Result r = Run(base + QStringList{"firmware", img}, Env());
        QVERIFY2(r.finished && r.code == 3 && r.err.contains(c.message), qPrintable(r.Describe()));
    }
    const Result r = Run(base + QStringList{"firmware", Path("missing.img")}, Env());
    QVERIFY2(r.finished && r.code == 3 && r.err.contains("Error code 141"), qPrintable(r.Describe()));
}

QTEST_GUILESS_MAIN(TestCliFirmware)
#include "tst_cli_firmware.moc"
