// An image the bootloader does not accept leaves the controller in its bootloader; tarven-cli says
// so, and a good image loaded afterwards brings the controller back.
#include "tst_cli_common.h"
#include "tst_cli_firmware_image.h"

using namespace cli;

class TestCliFirmwareRecovery : public QObject {
    Q_OBJECT
private slots:
    void rejectedImageThenRecovery();
};

void TestCliFirmwareRecovery::rejectedImageThenRecovery() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QProcessEnvironment env = Environment(dir.filePath(QStringLiteral("config")));
    Sim sim;
    QVERIFY(sim.Start(QStringLiteral("controller"), {}));
    const QStringList base = {"--port", sim.Pty(), "--lang", "en"};

    ImageSpec broken;
    broken.goodSum = false;
    const QString bad = dir.filePath(QStringLiteral("bad.img")),
                  good = dir.filePath(QStringLiteral("good.img"));
    QVERIFY(WriteAll(bad, FirmwareImage(broken)));
    ImageSpec fixed;
    fixed.version[0] = 5;
    fixed.version[1] = 6; // six channels from now on
    QVERIFY(WriteAll(good, FirmwareImage(fixed)));

    // Every block goes over, but the controller cannot start the image: a failure, not a success.
    Result r = Run(base + QStringList{"firmware", bad}, env);
    QVERIFY2(r.finished && r.code == 1, qPrintable(r.Describe()));
    QVERIFY(r.Lines().contains(QStringLiteral("100%")));
    QVERIFY2(r.err.contains("stayed in its bootloader"), r.err.constData());

    // Other commands find the bootloader and stop at once.
    r = Run(base + QStringList{"--timeout", "5", "info"}, env);
    QVERIFY2(r.finished && r.code == 1 && r.err.contains("bootloader"), qPrintable(r.Describe()));
    QVERIFY(r.ms < 5000);

    // A good image loads straight into the waiting bootloader.
    r = Run(base + QStringList{"firmware", good}, env);
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QVERIFY2(r.Lines().last().startsWith(QLatin1String("version: 5.6.2")), qPrintable(r.Describe()));
    r = Run(base + QStringList{"info"}, env);
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(r.Lines().value(4), QStringLiteral("injectors: 6"));
}

QTEST_GUILESS_MAIN(TestCliFirmwareRecovery)
#include "tst_cli_firmware_recovery.moc"
