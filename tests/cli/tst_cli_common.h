#pragma once
// Running tarven-cli against tarven-sim: each simulator is a real process on a pseudo-terminal, each
// command a real tarven-cli process. Every wait is bounded; nothing sleeps for a fixed time.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

namespace cli {

constexpr int StartMs = 10000;

// One simulator process. Closing its standard input ends it (--exit-on-stdin-eof), so a test that
// fails half-way leaves nothing behind.
class Sim {
public:
    Sim() = default;
    Sim(const Sim &) = delete;
    Sim &operator=(const Sim &) = delete;
    ~Sim() { Stop(); }

    // Starts `tarven-sim <kind> options`; false when it did not print its "PTY" line. A long
    // --verbose trace goes to errFile: nobody reads the pipe while the simulator runs.
    bool Start(const QString &kind, const QStringList &options, const QString &errFile = QString()) {
        if (!errFile.isEmpty()) p_.setStandardErrorFile(errFile);
        p_.setProgram(QStringLiteral(TARVEN_SIM_PATH));
        p_.setArguments(QStringList{kind, QStringLiteral("--exit-on-stdin-eof")} + options);
        p_.start();
        if (!p_.waitForStarted(StartMs)) return false;
        QElapsedTimer clock;
        clock.start();
        while (!p_.canReadLine() && clock.elapsed() < StartMs)
            if (!p_.waitForReadyRead(int(StartMs - clock.elapsed()))) break;
        const QByteArray line = p_.readLine().trimmed();
        if (!line.startsWith("PTY ")) return false;
        pty_ = QString::fromLocal8Bit(line.mid(4));
        if (options.contains(QStringLiteral("--tcp"))) { // "TCP <address>" follows
            while (!p_.canReadLine() && clock.elapsed() < StartMs)
                if (!p_.waitForReadyRead(int(StartMs - clock.elapsed()))) break;
            const QByteArray tcp = p_.readLine().trimmed();
            if (!tcp.startsWith("TCP ")) return false;
            tcp_ = QString::fromLocal8Bit(tcp.mid(4));
        }
        return true;
    }
    QString Pty() const { return pty_; }
    QString Tcp() const { return tcp_; } // HOST:PORT when started with --tcp
    // Ends the simulator (SIGTERM) and returns what it wrote on standard error.
    QByteArray Stop() {
        if (p_.state() != QProcess::NotRunning) {
            p_.closeWriteChannel();
            p_.terminate();
            if (!p_.waitForFinished(StartMs)) {
                p_.kill();
                p_.waitForFinished(StartMs);
            }
        }
        return p_.readAllStandardError();
    }

private:
    QProcess p_;
    QString pty_;
    QString tcp_;
};

struct Result {
    bool finished = false;
    int code = -1;
    QByteArray out;
    QByteArray err;
    qint64 ms = 0;
    QStringList Lines() const {
        QStringList l = QString::fromUtf8(out).split(QLatin1Char('\n'));
        if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
        return l;
    }
    QString Describe() const {
        return QStringLiteral("exit %1 after %2 ms\nstdout:\n%3\nstderr:\n%4")
            .arg(code)
            .arg(ms)
            .arg(QString::fromUtf8(out), QString::fromUtf8(err));
    }
};

// Environment of every tarven-cli run: a configuration store of its own (never the user's) and a
// fixed locale unless the test asks for another.
inline QProcessEnvironment Environment(const QString &configHome,
                                       const QString &locale = QStringLiteral("C.UTF-8")) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("HOME"), configHome);
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("LANG"), locale);
    env.remove(QStringLiteral("LANGUAGE"));
    return env;
}

// Runs tarven-cli with the arguments and waits at most waitMs for it to end.
inline Result Run(const QStringList &args, const QProcessEnvironment &env, int waitMs = 120000) {
    Result r;
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProgram(QStringLiteral(TARVEN_CLI_PATH));
    p.setArguments(args);
    QElapsedTimer clock;
    clock.start();
    p.start();
    if (!p.waitForStarted(StartMs)) return r;
    p.closeWriteChannel();
    r.finished = p.waitForFinished(waitMs);
    r.ms = clock.elapsed();
    if (!r.finished) {
        p.kill();
        p.waitForFinished(StartMs);
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

inline QByteArray ReadAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteAll(const QString &path, const QByteArray &data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

// File offsets of the blocks of a settings file.
namespace SetFile {
constexpr int Settings = 512, Multipliers1 = 768, RpmCorrection1 = 1280, GasPressureCurve = 1792;
constexpr int MapA = 2560, MapB = 2816, MapC = 3072, End = 4096;
} // namespace SetFile

} // namespace cli
