#pragma once
// A pseudo-terminal for a simulated device: the program under test opens the slave side (or a
// symbolic link to it) as if it were a serial port; the simulator reads and writes the master side.
//
// The slave side is put in raw mode (no echo, no CR/NL translation) and held open by the
// simulator itself, so that the master never sees a hang-up while no program has the port open.
// Reading is driven by the event loop (received() is emitted); writing never blocks: what the
// kernel does not take at once is kept and sent when the terminal has room.
#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

class Pty : public QObject {
    Q_OBJECT
public:
    // Bytes kept for a reader that does not read; beyond this the oldest output is dropped.
    static constexpr qsizetype MaxPending = 1 << 20;

    explicit Pty(QObject *parent = nullptr);
    ~Pty() override;

    // Opens the master, unlocks the slave, sets the slave to raw mode. False with a message.
    bool open(QString *error);
    // Points a symbolic link at the slave; a stale link there is replaced, any other file is kept
    // and reported. The link is removed by close() (and the destructor).
    bool createLink(const QString &path, QString *error);
    void close();

    bool isOpen() const { return master_ >= 0; }
    QString slaveName() const { return slaveName_; }
    QString linkPath() const { return link_; }
    int masterFd() const { return master_; }

    // Sends bytes to the program on the slave side.
    void write(const QByteArray &bytes);
    qsizetype pendingWrite() const { return pending_.size(); }

signals:
    void received(const QByteArray &bytes);

private:
    void onReadable();
    void flush();

    int master_ = -1;
    int slaveHold_ = -1;
    QString slaveName_;
    QString link_;
    QByteArray pending_;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
};
