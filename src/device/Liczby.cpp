#include "device/Liczby.h"

#include <QLocale>

#include <cmath>

namespace {

// Puts the locale's decimal separator in place of the '.' of a C-formatted number.
QString ZSeparatorem(QString s) {
    const QString sep = SeparatorDziesietny();
    if (sep != QLatin1String(".")) s.replace(QLatin1Char('.'), sep);
    return s;
}

// Drops the sign of a text that shows nothing but zeros ("-0.00" -> "0.00").
QString BezMinusaZera(QString s) {
    if (s.startsWith(QLatin1Char('-'))) {
        bool zero = true;
        for (qsizetype i = 1; i < s.size(); ++i)
            if (s[i] != QLatin1Char('0') && s[i] != QLatin1Char('.')) zero = false;
        if (zero) s.remove(0, 1);
    }
    return s;
}

// Fixed decimals, rounding half away from zero on the value's 15 significant digits, so that
// binary noise (1.0049999999999999 for 1.005) does not decide a rounding.
QString Staly(double v, int decimals) {
    if (!std::isfinite(v)) return QString::number(v);
    if (decimals < 0) decimals = 0;
    if (decimals > 15) decimals = 15;
    const bool minus = std::signbit(v);
    // d.dddddddddddddde±x
    const QString e = QString::number(std::fabs(v), 'e', 14);
    const qsizetype ePos = e.indexOf(QLatin1Char('e'));
    QString digits = e.left(ePos);
    digits.remove(QLatin1Char('.'));
    const int exponent = e.mid(ePos + 1).toInt();
    // The digits stand for 0.digits x 10^(exponent + 1); bring them to a whole number of
    // units of 10^-decimals: `intLen` digits before the point.
    int intLen = exponent + 1;
    if (intLen < 0) {
        digits = QString(-intLen, QLatin1Char('0')) + digits;
        intLen = 0;
    }
    const int keep = intLen + decimals;
    if (digits.size() < keep + 1) digits += QString(keep + 1 - digits.size(), QLatin1Char('0'));
    QString kept = digits.left(keep);
    if (digits[keep] >= QLatin1Char('5')) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (kept[i] == QLatin1Char('9')) {
                kept[i] = QLatin1Char('0');
            } else {
                kept[i] = QChar(kept[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            kept.prepend(QLatin1Char('1'));
            ++intLen;
        }
    }
    QString intPart = kept.left(intLen);
    while (intPart.size() > 1 && intPart[0] == QLatin1Char('0'))
        intPart.remove(0, 1);
    if (intPart.isEmpty()) intPart = QStringLiteral("0");
    QString s = intPart;
    if (decimals > 0) s += QLatin1Char('.') + kept.mid(intLen, decimals);
    if (minus) s.prepend(QLatin1Char('-'));
    return BezMinusaZera(s);
}

} // namespace

QString SeparatorDziesietny() {
    const QString sep = QLocale().decimalPoint();
    return sep.isEmpty() ? QStringLiteral(".") : sep;
}

QString FormatStaly(double v, int decimals) {
    return ZSeparatorem(Staly(v, decimals));
}

QString FormatLiczby(double v, int decimals) {
    if (decimals > 0) return FormatStaly(v, decimals);
    if (v == 0.0) return QStringLiteral("0");
    return ZSeparatorem(BezMinusaZera(QString::number(v, 'g', 15)));
}

bool CzytajLiczbe(const QString &text, double *value) {
    QString t = text.trimmed();
    const QString sep = SeparatorDziesietny();
    if (sep != QLatin1String(".")) t.replace(sep, QLatin1String("."));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.isEmpty()) return false;
    for (QChar c : t)
        if (!(c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('+') ||
              c == QLatin1Char('e') || c == QLatin1Char('E')))
            return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    if (value) *value = v;
    return true;
}

QString HexLiczby(unsigned value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}
