#pragma once
// Numbers as the user sees them: the decimal separator of the user's locale (the application's
// default QLocale, which follows the system unless a test pins it), always '-' for negatives and
// never a group separator.
#include <QString>

// decimals 0: general format, as many digits as the value needs (2.5, 2, -3.2; 15 significant
// digits at most, so 3 x 0.1 gives 0.3). decimals > 0: exactly that many decimals, rounded half
// away from zero ("0.0", "0.00", "0.000", "0.0000" patterns).
QString FormatLiczby(double v, int decimals);

// Fixed pattern with 0 or more decimals ("0" rounds to a whole number).
QString FormatStaly(double v, int decimals);

// The decimal separator used by the two formats above.
QString SeparatorDziesietny();

// Reads a number typed by the user: the locale's decimal separator, '.' and ',' are all accepted as
// the decimal point; blanks around are ignored. False for anything else (the value is left alone).
bool CzytajLiczbe(const QString &text, double *value);

// Upper-case hexadecimal with at least `digits` digits ("0A", "7E8").
QString HexLiczby(unsigned value, int digits = 2);
