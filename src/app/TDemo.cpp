#include "app/TDemo.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

TDemo::TDemo(QObject *parent) : QObject(parent) {}

TDemo::~TDemo() {
    Zatrzymaj();
}

QString TDemo::SciezkaSymulatora(const QString &programDir) {
    const QString dir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    const QString beside = dir + QStringLiteral("/tarven-sim");
    if (QFileInfo(beside).isExecutable()) return beside;
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("tarven-sim"));
    if (!onPath.isEmpty()) return onPath;
    return QStringLiteral("/usr/bin/tarven-sim");
}

QString TDemo::Uruchom(const QString &program, const QString &simulator, const QStringList &extra,
                       QString *error, int timeoutMs) {
    if (!QFileInfo(program).isExecutable()) {
        if (error) *error = QStringLiteral("%1 not found").arg(program);
        return {};
    }
    auto *p = new QProcess(this);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The simulator ends by itself when its standard input closes, so it never outlives the program.
    p->start(program, QStringList{simulator, QStringLiteral("--exit-on-stdin-eof")} + extra);
    procesy_.append(p);
    if (!p->waitForStarted(timeoutMs)) {
        if (error) *error = QStringLiteral("%1 %2 did not start").arg(program, simulator);
        return {};
    }
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray line;
    while (!p->canReadLine()) {
        if (deadline.hasExpired() || p->state() != QProcess::Running ||
            !p->waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())))) {
            if (p->canReadLine()) break;
            if (error) *error = QStringLiteral("%1 %2 gave no terminal").arg(program, simulator);
            return {};
        }
    }
    line = p->readLine().trimmed();
    if (!line.startsWith("PTY ")) {
        if (error)
            *error = QStringLiteral("%1 %2: unexpected \"%3\"")
                         .arg(program, simulator, QString::fromLocal8Bit(line));
        return {};
    }
    // Later output of the simulator is not needed; keep its pipe from filling up.
    connect(p, &QProcess::readyReadStandardOutput, p, [p] { p->readAllStandardOutput(); });
    return QString::fromLocal8Bit(line.mid(4)).trimmed();
}

void TDemo::Zatrzymaj() {
    for (QProcess *p : std::as_const(procesy_)) {
        if (p->state() != QProcess::NotRunning) {
            p->closeWriteChannel();
            p->terminate();
            if (!p->waitForFinished(2000)) {
                p->kill();
                p->waitForFinished(1000);
            }
        }
        delete p;
    }
    procesy_.clear();
}
