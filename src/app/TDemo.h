#pragma once
// Demonstration mode: the virtual controller and the virtual ELM327 adapter (tarven-sim) run as child
// processes on pseudo-terminals, and the two engines are connected to them.
#include <QList>
#include <QObject>
#include <QString>

class QProcess;

class TDemo : public QObject {
    Q_OBJECT
public:
    explicit TDemo(QObject *parent = nullptr);
    ~TDemo() override;

    // tarven-sim beside the program (a build tree), else on the PATH, else /usr/bin (the package).
    // programDir defaults to the running program's folder.
    static QString SciezkaSymulatora(const QString &programDir = QString());
    // Starts one simulator ("controller" or "elm") and returns its pseudo-terminal; empty on failure
    // (the reason in *error). Waits up to timeoutMs for the simulator's first line.
    QString Uruchom(const QString &program, const QString &simulator, const QStringList &extra,
                    QString *error, int timeoutMs = 5000);
    // Stops every simulator started here.
    void Zatrzymaj();

private:
    QList<QProcess *> procesy_;
};
