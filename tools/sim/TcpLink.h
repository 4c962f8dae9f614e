#pragma once
// The simulators' TCP side, as a Wi-Fi adapter has it: a listening port that takes one host at a
// time (a new host replaces the one before, as when a program is started again after a crash).
// Bytes from the host are handed on with received(); write() sends to the connected host and is
// dropped when there is none.
#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

class TcpLink : public QObject {
    Q_OBJECT
public:
    explicit TcpLink(QObject *parent = nullptr);
    ~TcpLink() override;

    // Listens on address:port (port 0 = any free port). False with a message.
    bool listen(const QString &address, int port, QString *error);
    // "127.0.0.1:35000", the address a host connects to.
    QString address() const;
    bool hasHost() const { return host_ != nullptr; }

    void write(const QByteArray &bytes);

signals:
    void received(const QByteArray &bytes);

private:
    void onNewConnection();

    QTcpServer *server_ = nullptr;
    QTcpSocket *host_ = nullptr;
};
