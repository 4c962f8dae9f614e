#pragma once
// Code page 1250: the 8-bit texts of the controller, the settings and scope files and the
// trouble-code tables. Converted to and from QString only at the edge.
#include <QByteArray>
#include <QString>

namespace Cp1250 {
QString toUnicode(const QByteArray &bytes);
QString toUnicode(const char *bytes, int n);
// Characters outside the code page become '?'.
QByteArray fromUnicode(const QString &text);
} // namespace Cp1250
