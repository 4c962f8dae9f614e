#pragma once
// Byte transport under both device engines. One object drives one port at a time; reads never
// wait: they return what is already waiting, and failures give -1.
#include "link/PortNumbering.h"
#include "link/SerialBackend.h"

#include <QObject>
#include <functional>
#include <memory>

class TSerial : public QObject {
    Q_OBJECT
public:
    explicit TSerial(QObject *owner = nullptr);
    ~TSerial() override;

    // Selects and opens a port; port <= 0 reopens the port already selected.
    bool PortOpen(int port);
    // Opens an explicit device file (a pseudo-terminal or a link to one) or the TCP address HOST:PORT of
    // a Wi-Fi adapter; later PortOpen(-1) reopens it.
    bool PortOpenPath(const QString &path);
    // The selected port is a TCP address (PortPath), not a device.
    bool PortIsTcp() const;
    void PortClose();
    bool PortConnected();
    int PortInQueCount();
    int PortRead(uint8_t *buf, int n);
    int PortWrite(const uint8_t *buf, int n);
    void PortPurgeRx();
    void PortPurgeTx();
    // Applies the line settings again to the open port.
    void PortSetComm();

    // Port entries of the connection menu (the connect/disconnect head entry belongs to the menu).
    QList<TPortMenuEntry> PortList();
    // Click on a menu entry with the given tag. A port entry (tag > 0) selects and opens that port;
    // anything else connects or disconnects. Returns the head entry's new tag: -1 after the user
    // disconnected (automatic reconnection stays off), 0 otherwise.
    int PortOnClick(int tag);

    // Tests: every open goes to this backend instead of a device file.
    void UseBackend(std::shared_ptr<TSerialBackend> backend);
    // Tests: the ports the system would list.
    void SetPortSource(std::function<QList<TPortInfo>()> source) { portSource_ = std::move(source); }

    // Device path of the selected port ("" when the number names no device).
    QString ResolvePath();

    // Why the last open failed (None after a successful one), and in words with the fix.
    TPortFault PortFault = TPortFault::None;
    QString PortFaultDetail; // the system's own words, when it gave any
    QString PortFaultReason() const { return PortFaultText(PortFault, PortFaultDetail); }

    QString PortName; // device path used by the last open
    QString PortPath; // explicit device path or TCP address; overrides PortNumber while set
    uint8_t CommOptions = 0;
    uint8_t CommOpen = 0;
    uint8_t JustOpened = 0;
    int PortNumber = FtdiPortBase;
    int BaudRate = 38400;
    int DataBits = 8;
    int Parity = 0;
    int StopBits = 1;

signals:
    // Bytes have come in on the open port (the engines read them on their own schedule).
    void BajtyPrzyszly();

private:
    TLineSettings Line() const;
    std::shared_ptr<TSerialBackend> backend_;
    std::shared_ptr<TSerialBackend> testBackend_;
    std::function<QList<TPortInfo>()> portSource_;
};
