#include "TcpLink.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

TcpLink::TcpLink(QObject *parent) : QObject(parent), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &TcpLink::onNewConnection);
}

TcpLink::~TcpLink() = default;

bool TcpLink::listen(const QString &address, int port, QString *error) {
    QHostAddress a;
    if (!a.setAddress(address)) {
        *error = QStringLiteral("\"%1\" is not an address to listen on").arg(address);
        return false;
    }
    if (!server_->listen(a, quint16(port))) {
        *error = QStringLiteral("cannot listen on %1 port %2: %3")
                     .arg(address)
                     .arg(port)
                     .arg(server_->errorString());
        return false;
    }
    return true;
}

QString TcpLink::address() const {
    const QHostAddress a = server_->serverAddress();
    const QString host = a.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(a.toString())
                             : a.toString();
    return QStringLiteral("%1:%2").arg(host).arg(server_->serverPort());
}

void TcpLink::write(const QByteArray &bytes) {
    if (host_ && host_->state() == QAbstractSocket::ConnectedState) host_->write(bytes);
}

void TcpLink::onNewConnection() {
    while (QTcpSocket *s = server_->nextPendingConnection()) {
        if (host_) {
            host_->disconnect(this);
            host_->abort();
            host_->deleteLater();
        }
        host_ = s;
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(s, &QTcpSocket::readyRead, this, [this, s] { emit received(s->readAll()); });
        connect(s, &QTcpSocket::disconnected, this, [this, s] {
            if (host_ == s) host_ = nullptr;
            s->deleteLater();
        });
    }
}
