// The tarven-sim program's virtual ELM327 adapter as a real process on a pseudo-terminal, opened
// here as a plain serial device.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int WaitMs = 10000; // bound of every wait; the answers come within milliseconds

// Opens a terminal device raw, as a serial port program does.
int openRaw(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

// Reads until the text ends with the prompt or the deadline passes.
QByteArray readUntilPrompt(int fd, int timeoutMs = WaitMs) {
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (!got.endsWith('>') && clock.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(timeoutMs - clock.elapsed())) <= 0) continue;
        char buf[256];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) got.append(buf, n);
    }
    return got;
}

bool writeAll(int fd, const QByteArray &bytes) {
    return ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
}

// Starts `tarven-sim elm` with the options and returns the slave path of its first line.
QString startSim(QProcess *p, const QStringList &options) {
    p->setProgram(QStringLiteral(TARVEN_SIM_PATH));
    p->setArguments(QStringList{"elm", "--exit-on-stdin-eof"} + options);
    p->start();
    if (!p->waitForStarted(WaitMs)) return {};
    QElapsedTimer clock;
    clock.start();
    while (!p->canReadLine() && clock.elapsed() < WaitMs)
        if (!p->waitForReadyRead(int(WaitMs - clock.elapsed()))) break;
    const QByteArray line = p->readLine().trimmed();
    return line.startsWith("PTY ") ? QString::fromLocal8Bit(line.mid(4)) : QString();
}

} // namespace

class TestElmSimProcess : public QObject {
    Q_OBJECT
private slots:
    void bannerOverPseudoTerminal();
    void exitsWhenStdinCloses();
    void refusesBadOptions();
};

void TestElmSimProcess::bannerOverPseudoTerminal() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("elm"));
    QProcess sim;
    const QString slave = startSim(&sim, {"--link", link, "--dtc", "P0420"});
    QVERIFY2(slave.startsWith(QLatin1String("/dev/")), qPrintable(sim.readAllStandardError()));
    QCOMPARE(QFileInfo(link).symLinkTarget(), slave);

    const int fd = openRaw(link);
    QVERIFY(fd >= 0);
    QVERIFY(writeAll(fd, "ATZ\r"));
    const QByteArray banner = readUntilPrompt(fd);
    QCOMPARE(banner, QByteArray("ATZ\r\rELM327 v1.5\r\r>"));

    // A second opener (the device itself) sees the same adapter, echo still on.
    const int fd2 = openRaw(slave);
    QVERIFY(fd2 >= 0);
    ::close(fd);
    QVERIFY(writeAll(fd2, "ATE0\rATH1\rATTP6\r0101\r"));
    QByteArray all;
    QElapsedTimer clock;
    clock.start();
    while (all.count('>') < 4 && clock.elapsed() < WaitMs)
        all += readUntilPrompt(fd2, int(WaitMs - clock.elapsed()));
    QCOMPARE(all, QByteArray("ATE0\rOK\r\r>OK\r\r>OK\r\r>7E8 06 41 01 81 07 E5 05 \r\r>"));
    ::close(fd2);

    sim.terminate(); // SIGTERM
    QVERIFY(sim.waitForFinished(WaitMs));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink()); // the link went with it
}

void TestElmSimProcess::exitsWhenStdinCloses() {
    QProcess sim;
    const QString slave = startSim(&sim, {});
    QVERIFY(!slave.isEmpty());
    sim.closeWriteChannel();
    QVERIFY(sim.waitForFinished(WaitMs));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

void TestElmSimProcess::refusesBadOptions() {
    QProcess sim;
    sim.start(QStringLiteral(TARVEN_SIM_PATH), {"elm", "--protocol", "12"});
    QVERIFY(sim.waitForFinished(WaitMs));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY(sim.readAllStandardError().contains("--protocol"));
    QVERIFY(sim.readAllStandardOutput().isEmpty());

    // A link path that is a real file is left alone.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("taken"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("keep");
    f.close();
    sim.start(QStringLiteral(TARVEN_SIM_PATH), {"elm", "--link", file});
    QVERIFY(sim.waitForFinished(WaitMs));
    QCOMPARE(sim.exitCode(), 1);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("keep"));
}

QTEST_GUILESS_MAIN(TestElmSimProcess)
#include "tst_elmsim_process.moc"
