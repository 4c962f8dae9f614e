#include "link/PortFault.h"

#include <QSerialPort>
#include <cerrno>

TPortFault ClassifyPortFault(int serialPortError, bool exists, int accessErrno) {
    if (!exists || serialPortError == QSerialPort::DeviceNotFoundError) return TPortFault::Missing;
    if (accessErrno == EACCES || accessErrno == EPERM || accessErrno == EROFS) return TPortFault::Denied;
    // The port library reports a port held by another program (its lock file, or the exclusive
    // flag another program set) as a permission fault; the access check above has already told a
    // real lack of permission apart.
    if (serialPortError == QSerialPort::PermissionError || accessErrno == EBUSY) return TPortFault::Busy;
    return TPortFault::Other;
}

QString PortFaultText(TPortFault fault, const QString &detail) {
    switch (fault) {
    case TPortFault::None: return QString();
    case TPortFault::Missing: return QStringLiteral("the device does not exist (is the cable plugged in?)");
    case TPortFault::NotSerial: return QStringLiteral("the path is not a serial device");
    case TPortFault::Denied:
        return QStringLiteral("permission denied: add yourself to the dialout group: "
                              "sudo usermod -aG dialout $USER, then log in again");
    case TPortFault::Busy:
        return QStringLiteral("the port is busy: another program holds it (a modem manager probing "
                              "the adapter, a terminal program, another copy of this program)");
    case TPortFault::Other: break;
    }
    return detail.isEmpty() ? QStringLiteral("the port cannot be opened")
                            : QStringLiteral("the port cannot be opened: %1").arg(detail);
}
