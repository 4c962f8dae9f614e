#pragma once
// The running virtual adapter: an ElmAdapter behind a pseudo-terminal, driven by the event loop.
// Bytes from the terminal go in with the time they came; a single-shot timer wakes the shell when
// the next piece of the answer is due. Nothing polls.
#include "ElmAdapter.h"
#include "Pty.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

class ElmShell : public QObject {
    Q_OBJECT
public:
    explicit ElmShell(const ElmOptions &options, QObject *parent = nullptr);

    // Opens the terminal (and the link) and prints "PTY <slave>" on stdout. False with a message.
    bool start(QString *error);
    const Pty &pty() const { return pty_; }

private:
    void onReceived(const QByteArray &bytes);
    void pump();

    ElmOptions options_;
    Pty pty_;
    ElmAdapter adapter_;
    QTimer timer_;
    QElapsedTimer clock_;
};

// `tarven-sim elm [options]`: runs until SIGTERM/SIGINT (or the end of stdin when asked).
int runElmSimulator(const QStringList &args);
