#include "link/TcpBackend.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>

bool ParseTcpAddress(const QString &text, TTcpAddress *address) {
    QString host, port;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1String("]:"));
        if (close < 0) return false;
        host = text.mid(1, close - 1);
        port = text.mid(close + 2);
        QHostAddress a;
        if (!a.setAddress(host) || a.protocol() != QAbstractSocket::IPv6Protocol) return false;
    } else {
        const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
        if (colon <= 0) return false;
        host = text.left(colon);
        port = text.mid(colon + 1);
        // A name or an IPv4 address: nothing that can appear in a device path but not in a host name.
        for (const QChar c : std::as_const(host))
            if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('.') &&
                c != QLatin1Char('-') && c != QLatin1Char('_'))
                return false;
        if (host.startsWith(QLatin1Char('.')) || host.startsWith(QLatin1Char('-'))) return false;
    }
    if (port.isEmpty() || port.size() > 5) return false;
    for (const QChar c : std::as_const(port))
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    const int n = port.toInt();
    if (n < 1 || n > 65535) return false;
    if (address) {
        address->Host = host;
        address->Port = quint16(n);
    }
    return true;
}

namespace {

class TTcpPort : public TSerialBackend {
public:
    // A connection not made by then is given up (an adapter on the local network answers at once).
    static constexpr int ConnectTimeoutMs = 5000;

    ~TTcpPort() override { Close(); }

    bool Open(const QString &path, const TLineSettings &) override {
        Close();
        TTcpAddress a;
        if (!ParseTcpAddress(path, &a)) return false;
        socket_ = std::make_unique<QTcpSocket>();
        socket_->setReadBufferSize(0);
        QObject::connect(socket_.get(), &QIODevice::readyRead, socket_.get(), [this] {
            if (OnBytes) OnBytes();
        });
        QObject::connect(socket_.get(), &QAbstractSocket::connected, socket_.get(), [s = socket_.get()] {
            s->setSocketOption(QAbstractSocket::LowDelayOption, 1); // short commands go out at once
        });
        started_.start();
        socket_->connectToHost(a.Host, a.Port);
        return socket_->state() != QAbstractSocket::UnconnectedState;
    }

    void Close() override {
        if (socket_) {
            socket_->abort();
            socket_.reset();
        }
    }

    bool Connected() override {
        if (!socket_) return false;
        switch (socket_->state()) {
        case QAbstractSocket::ConnectedState: return true;
        case QAbstractSocket::HostLookupState:
        case QAbstractSocket::ConnectingState:
            if (started_.elapsed() < ConnectTimeoutMs) return true;
            socket_->abort();
            return false;
        default: return false;
        }
    }

    int InQueCount() override {
        if (!socket_) return -1;
        // Take in what the kernel holds without waiting, as the serial backend does. Only once
        // connected: while connecting, the wait functions may look the host name up and block.
        if (socket_->state() == QAbstractSocket::ConnectedState) socket_->waitForReadyRead(0);
        const qint64 n = socket_->bytesAvailable();
        if (n > 0) return n > 0x7fffffff ? 0x7fffffff : int(n); // also what came before the peer closed
        return Connected() ? 0 : -1;
    }

    int Read(uint8_t *buf, int n) override {
        if (!socket_ || n < 0) return -1;
        // Bytes that came before the peer closed are still delivered.
        if (socket_->bytesAvailable() <= 0 && !Connected()) return -1;
        const qint64 r = socket_->read(reinterpret_cast<char *>(buf), n);
        return r < 0 ? -1 : int(r);
    }

    int Write(const uint8_t *buf, int n) override {
        if (!Connected() || n < 0) return -1;
        const qint64 r = socket_->write(reinterpret_cast<const char *>(buf), n);
        if (r < 0) return -1;
        if (socket_->state() == QAbstractSocket::ConnectedState) socket_->flush(); // never waits
        return int(r);
    }

    void PurgeRx() override {
        if (!socket_) return;
        if (socket_->state() == QAbstractSocket::ConnectedState) socket_->waitForReadyRead(0);
        socket_->readAll();
    }

    void PurgeTx() override {} // bytes handed to the network cannot be called back

    void SetLine(const TLineSettings &) override {} // a TCP link has no line settings

private:
    std::unique_ptr<QTcpSocket> socket_;
    QElapsedTimer started_;
};

} // namespace

std::unique_ptr<TSerialBackend> MakeTcpBackend() {
    return std::make_unique<TTcpPort>();
}
