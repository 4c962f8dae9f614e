#include "link/SerialBackend.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

class TDevicePort : public TSerialBackend {
public:
    ~TDevicePort() override { Close(); }

    bool Open(const QString &path, const TLineSettings &line) override {
        Close();
        port_ = std::make_unique<QSerialPort>();
        port_->setPortName(path);
        port_->setReadBufferSize(0);
        QObject::connect(port_.get(), &QIODevice::readyRead, port_.get(), [this] {
            if (OnBytes) OnBytes();
        });
        if (!port_->open(QIODevice::ReadWrite)) {
            // Tell a missing device, a lack of permission and a port held elsewhere apart.
            const QByteArray name = QFile::encodeName(path);
            const int access = ::access(name.constData(), R_OK | W_OK) == 0 ? 0 : errno;
            fault_ = ClassifyPortFault(port_->error(), QFileInfo::exists(path), access);
            error_ = port_->errorString();
            port_.reset();
            return false;
        }
        fault_ = TPortFault::None;
        error_.clear();
        SetLine(line);
        return true;
    }

    void Close() override {
        if (port_) {
            port_->close();
            port_.reset();
        }
    }

    bool Connected() override {
        if (!port_ || !port_->isOpen()) return false;
        const auto e = port_->error();
        return e == QSerialPort::NoError || e == QSerialPort::TimeoutError;
    }

    int InQueCount() override {
        if (!Connected()) return -1;
        // Pull in whatever the driver holds without waiting, so the count does not depend on
        // the event loop having run since the bytes arrived.
        port_->waitForReadyRead(0);
        if (!Connected()) return -1;
        const qint64 n = port_->bytesAvailable();
        return n > 0x7fffffff ? 0x7fffffff : int(n);
    }

    int Read(uint8_t *buf, int n) override {
        if (!Connected() || n < 0) return -1;
        const qint64 r = port_->read(reinterpret_cast<char *>(buf), n);
        return r < 0 ? -1 : int(r);
    }

    int Write(const uint8_t *buf, int n) override {
        if (!Connected() || n < 0) return -1;
        const qint64 r = port_->write(reinterpret_cast<const char *>(buf), n);
        if (r < 0) return -1;
        port_->flush(); // hand the bytes to the driver now; the tick does not return to the loop first
        return Connected() ? int(r) : -1;
    }

    void PurgeRx() override {
        if (!port_ || !port_->isOpen()) return;
        port_->clear(QSerialPort::Input);
        port_->readAll();
    }

    void PurgeTx() override {
        if (port_ && port_->isOpen()) port_->clear(QSerialPort::Output);
    }

    void SetLine(const TLineSettings &line) override {
        if (!port_ || !port_->isOpen()) return;
        port_->setBaudRate(line.BaudRate);
        switch (line.DataBits) {
        case 5: port_->setDataBits(QSerialPort::Data5); break;
        case 6: port_->setDataBits(QSerialPort::Data6); break;
        case 7: port_->setDataBits(QSerialPort::Data7); break;
        default: port_->setDataBits(QSerialPort::Data8); break;
        }
        switch (line.Parity) {
        case 1: port_->setParity(QSerialPort::OddParity); break;
        case 2: port_->setParity(QSerialPort::EvenParity); break;
        case 3: port_->setParity(QSerialPort::MarkParity); break;
        case 4: port_->setParity(QSerialPort::SpaceParity); break;
        default: port_->setParity(QSerialPort::NoParity); break;
        }
        port_->setStopBits(line.StopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
        port_->setFlowControl(QSerialPort::NoFlowControl);
        // Setting line parameters on a pseudo-terminal may report an unsupported-operation error
        // that does not affect the byte stream; forget it so the port still counts as usable.
        if (port_->error() == QSerialPort::UnsupportedOperationError) port_->clearError();
    }

    TPortFault OpenFault() const override { return fault_; }
    QString OpenError() const override { return error_; }

private:
    std::unique_ptr<QSerialPort> port_;
    TPortFault fault_ = TPortFault::None;
    QString error_;
};

} // namespace

std::unique_ptr<TSerialBackend> MakeDeviceBackend() {
    return std::make_unique<TDevicePort>();
}

bool TMemoryPort::Open(const QString &path, const TLineSettings &line) {
    LastPath = path;
    Line = line;
    ++OpenCount;
    if (RefuseOpen) return false;
    IsOpen = true;
    Fail = false;
    return true;
}

int TMemoryPort::InQueCount() {
    if (!Connected()) return -1;
    return Rx.size();
}

int TMemoryPort::Read(uint8_t *buf, int n) {
    if (!Connected() || n < 0) return -1;
    int k = qMin(n, int(Rx.size()));
    std::memcpy(buf, Rx.constData(), size_t(k));
    Rx.remove(0, k);
    return k;
}

int TMemoryPort::Write(const uint8_t *buf, int n) {
    if (!Connected() || n < 0) return -1;
    Tx.append(reinterpret_cast<const char *>(buf), n);
    return n;
}
