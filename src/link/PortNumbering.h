#pragma once
// Stable port numbers on Linux. A stored port number must name the same device tomorrow, so each
// kind of device file has a fixed range; USB converters of FTDI (vendor 0x0403) are 1024 + index.
//
//   1 …  100  /dev/ttyS0 … ttyS99        (ttyS n → n + 1, like COM1 = the first serial port)
//   101 … 300 /dev/ttyUSB0 … ttyUSB199   (non-FTDI USB converters)
//   301 … 500 /dev/ttyACM0 … ttyACM199
//   501 … 600 /dev/rfcomm0 … rfcomm99    (Bluetooth adapters)
//   601 … 700 /dev/ttyAMA0 … ttyAMA99
//   701 … 1023 /dev/pts/0 … pts/322      (pseudo-terminals, e.g. the simulators)
//   1024 + i  the i-th FTDI converter, in the order of system location
#include <QList>
#include <QString>

struct TPortInfo {
    QString SystemLocation; // e.g. /dev/ttyUSB0
    QString PortName;       // e.g. ttyUSB0
    QString Description;
    QString SerialNumber;
    bool HasVendor = false;
    quint16 Vendor = 0;
};

struct TPortMenuEntry {
    QString Caption;
    int Tag = 0;
    bool Checked = false;
    int RadioGroup = 1;
    bool AutoCheck = false;
};

constexpr int FtdiPortBase = 1024;
constexpr quint16 FtdiVendorId = 0x0403;

// Number of a device file by its name ("ttyUSB0", "/dev/pts/3"); 0 when it has none.
int PortNumberOfDevice(const QString &nameOrPath);
// Device file of a number below 1024; empty when the number is outside every range.
QString DevicePathOfNumber(int number);

QList<TPortInfo> SystemPorts();
// FTDI converters sorted by system location (index i is port 1024 + i).
QList<TPortInfo> FtdiPorts(const QList<TPortInfo> &all);
// Port entries of the connection menu: FTDI converters first, then device files.
QList<TPortMenuEntry> PortMenuEntries(const QList<TPortInfo> &all, int portNumber, bool connected);
