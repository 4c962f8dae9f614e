#include "link/PortNumbering.h"

#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

namespace {
struct TRange {
    const char *Prefix; // device name without /dev/
    int First;
    int Count;
};
const TRange Ranges[] = {
    {"ttyS", 1, 100},     {"ttyUSB", 101, 200}, {"ttyACM", 301, 200},
    {"rfcomm", 501, 100}, {"ttyAMA", 601, 100}, {"pts/", 701, 323},
};

bool IsFtdi(const TPortInfo &p) {
    return p.HasVendor && p.Vendor == FtdiVendorId;
}
} // namespace

int PortNumberOfDevice(const QString &nameOrPath) {
    QString name = nameOrPath;
    if (name.startsWith(QLatin1String("/dev/"))) name = name.mid(5);
    for (const TRange &r : Ranges) {
        const QString prefix = QLatin1String(r.Prefix);
        if (!name.startsWith(prefix)) continue;
        const QString rest = name.mid(prefix.size());
        if (rest.isEmpty() || rest.size() > 4) return 0;
        bool ok = false;
        const int n = rest.toInt(&ok, 10);
        for (QChar c : rest)
            if (!c.isDigit()) ok = false;
        if (!ok || n < 0 || n >= r.Count) return 0;
        return r.First + n;
    }
    return 0;
}

QString DevicePathOfNumber(int number) {
    for (const TRange &r : Ranges)
        if (number >= r.First && number < r.First + r.Count)
            return QStringLiteral("/dev/") + QLatin1String(r.Prefix) + QString::number(number - r.First);
    return QString();
}

QList<TPortInfo> SystemPorts() {
    QList<TPortInfo> out;
    for (const QSerialPortInfo &i : QSerialPortInfo::availablePorts()) {
        TPortInfo p;
        p.SystemLocation = i.systemLocation();
        p.PortName = i.portName();
        p.Description = i.description();
        p.SerialNumber = i.serialNumber();
        p.HasVendor = i.hasVendorIdentifier();
        p.Vendor = i.vendorIdentifier();
        out.append(p);
    }
    return out;
}

QList<TPortInfo> FtdiPorts(const QList<TPortInfo> &all) {
    QList<TPortInfo> f;
    for (const TPortInfo &p : all)
        if (IsFtdi(p)) f.append(p);
    std::stable_sort(f.begin(), f.end(), [](const TPortInfo &a, const TPortInfo &b) {
        return a.SystemLocation < b.SystemLocation;
    });
    return f;
}

QList<TPortMenuEntry> PortMenuEntries(const QList<TPortInfo> &all, int portNumber, bool connected) {
    QList<TPortMenuEntry> out;
    const QList<TPortInfo> ftdi = FtdiPorts(all);
    for (int i = 0; i < ftdi.size(); ++i) {
        const TPortInfo &p = ftdi[i];
        TPortMenuEntry e;
        e.Tag = FtdiPortBase + i;
        if (!p.Description.isEmpty() && !p.SerialNumber.isEmpty())
            e.Caption = p.Description + QStringLiteral(" - ") + p.SerialNumber;
        else
            e.Caption = QStringLiteral("FTDI ") + QString::number(i);
        if (!connected && portNumber == e.Tag) e.Caption += QStringLiteral(" (*)");
        e.AutoCheck = true;
        e.Checked = connected && portNumber == e.Tag;
        out.append(e);
    }
    for (const TPortInfo &p : all) {
        if (IsFtdi(p)) continue; // listed once, as FTDI
        TPortMenuEntry e;
        e.Caption = p.PortName.isEmpty() ? p.SystemLocation : p.PortName;
        e.Tag = PortNumberOfDevice(p.SystemLocation.isEmpty() ? p.PortName : p.SystemLocation);
        if (!connected && e.Tag > 0 && portNumber == e.Tag) e.Caption += QStringLiteral(" (*)");
        e.AutoCheck = false;
        e.Checked = connected && e.Tag > 0 && portNumber == e.Tag;
        out.append(e);
    }
    return out;
}
