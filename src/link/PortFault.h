#pragma once
// Why a port could not be opened, in words a fitter can act on.
#include <QString>

enum class TPortFault {
    None,      // open, or never tried
    Missing,   // no such device: the cable is unplugged or the name is wrong
    NotSerial, // the path exists but is no serial device
    Denied,    // the user may not use the device
    Busy,      // another program holds the port
    Other,     // anything else; the system's own words say what
};

// Classifies a failed open from what the port library reported (its error code), whether the
// device file exists, and the errno of a read-write access check of it (0 when access is granted).
TPortFault ClassifyPortFault(int serialPortError, bool exists, int accessErrno);

// "permission denied: add yourself to the dialout group: …" and the like; detail is the system's
// own text, added for Other.
QString PortFaultText(TPortFault fault, const QString &detail = QString());
