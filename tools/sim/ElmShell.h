#pragma once
// The running virtual adapter: an ElmAdapter behind a pseudo-terminal (and, when asked, a TCP port as
// a Wi-Fi adapter has), driven by the event loop. The answer goes where the last bytes came from.
// Bytes from the terminal go in with the time they came; a single-shot timer wakes the shell when
// the next piece of the answer is due. Nothing polls.
#include "ElmAdapter.h"
#include "Pty.h"
#include "TcpLink.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

class ElmShell : public QObject {
    Q_OBJECT
public:
    explicit ElmShell(const ElmOptions &options, QObject *parent = nullptr);

    // Opens the terminal (and the link, and the TCP port) and prints "PTY <slave>" on stdout, then
    // "LINK <path>" and "TCP <address>:<port>" for those. False with a message.
    bool start(QString *error);
    const Pty &pty() const { return pty_; }

private:
    void onReceived(const QByteArray &bytes, bool fromTcp);
    void pump();

    ElmOptions options_;
    Pty pty_;
    TcpLink tcp_;
    bool answerTcp_ = false; // the host on the TCP port spoke last
    ElmAdapter adapter_;
    QTimer timer_;
    QElapsedTimer clock_;
};

// `tarven-sim elm [options]`: runs until SIGTERM/SIGINT (or the end of stdin when asked).
int runElmSimulator(const QStringList &args);
