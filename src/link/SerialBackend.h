#pragma once
// Byte-level backends behind TSerial: a real port (device file or USB converter) or memory for tests.
#include "link/PortFault.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

struct TLineSettings {
    int BaudRate = 38400;
    int DataBits = 8;
    int Parity = 0; // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int StopBits = 1;
};

class TSerialBackend {
public:
    virtual ~TSerialBackend() = default;
    virtual bool Open(const QString &path, const TLineSettings &line) = 0;
    virtual void Close() = 0;
    // Open and still usable (a vanished device or a closed peer makes this false).
    virtual bool Connected() = 0;
    // Bytes already received and waiting; -1 when the port cannot be asked.
    virtual int InQueCount() = 0;
    // Never blocks: returns at most what is waiting; -1 on failure.
    virtual int Read(uint8_t *buf, int n) = 0;
    virtual int Write(const uint8_t *buf, int n) = 0;
    virtual void PurgeRx() = 0;
    virtual void PurgeTx() = 0;
    virtual void SetLine(const TLineSettings &line) = 0;
    // Why the last Open failed, and the system's own words for it.
    virtual TPortFault OpenFault() const { return TPortFault::Other; }
    virtual QString OpenError() const { return QString(); }

    // Called when bytes have come in (from the event loop; the bytes are then read as usual).
    std::function<void()> OnBytes;
};

// QSerialPort on a device file: ttyS, ttyUSB, ttyACM, rfcomm, pseudo-terminals, FTDI converters.
std::unique_ptr<TSerialBackend> MakeDeviceBackend();

// In-memory port for tests: what the engine writes lands in Tx, what a test puts in Rx is read.
class TMemoryPort : public TSerialBackend {
public:
    QByteArray Rx; // bytes waiting to be read by the engine
    QByteArray Tx; // bytes the engine wrote
    bool IsOpen = false;
    bool Fail = false; // simulate a vanished device: reads/writes fail, not connected
    bool RefuseOpen = false;
    TPortFault RefuseWith = TPortFault::Other; // the reason a refused open gives
    int OpenCount = 0;
    QString LastPath;
    TLineSettings Line;

    bool Open(const QString &path, const TLineSettings &line) override;
    void Close() override { IsOpen = false; }
    bool Connected() override { return IsOpen && !Fail; }
    int InQueCount() override;
    int Read(uint8_t *buf, int n) override;
    int Write(const uint8_t *buf, int n) override;
    void PurgeRx() override { Rx.clear(); }
    void PurgeTx() override {}
    void SetLine(const TLineSettings &line) override { Line = line; }
    TPortFault OpenFault() const override { return RefuseWith; }
    // Bytes arriving as a real port reports them.
    void Deliver(const QByteArray &bytes) {
        Rx += bytes;
        if (OnBytes) OnBytes();
    }
    QByteArray TakeTx() {
        QByteArray t = Tx;
        Tx.clear();
        return t;
    }
};
