#include "device/ErrorLines.h"

#include "lang/LangText.h"

namespace {
// Text ids of bytes 6-9 by bit (0 = the bit carries no error). Bytes 10-12 name a gas injector.
constexpr int TekstyBledow[4][8] = {
    {1901, 1902, 1903, 1904, 1905, 1906, 1907, 1908},
    {1911, 1912, 0, 0, 1913, 1914, 1915, 0},
    {1921, 1922, 1923, 1924, 1925, 1926, 1927, 1928},
    {1931, 1932, 1933, 1934, 0, 0, 0, 0},
};
constexpr int PierwszyBajt = 6;
constexpr int OstatniBajt = 12;
constexpr int Liczniki = 13; // counter of byte n bit k: 13 + 8 (n - 6) + k
constexpr uint8_t BladZapamietany = 0x10;
} // namespace

QString TekstBledu(int n, int k) {
    if (k < 0 || k > 7) return QString();
    if (n >= 6 && n <= 9) {
        const int id = TekstyBledow[n - 6][k];
        return id ? LangText(id) : QString();
    }
    if (n >= 10 && n <= 12) {
        const int id = n == 10 ? 1940 : n == 11 ? 1950 : 1960; // gas injector missing / shorted / open
        return LangText(id) + QLatin1Char(' ') + QString::number(k + 1);
    }
    return QString();
}

QStringList LinieBledow(const uint8_t *reply, int length, uint8_t statusByte11) {
    auto bajt = [&](int i) -> int { return reply && i >= 0 && i < length ? reply[i] : 0; };
    QStringList lines;
    for (int n = PierwszyBajt; n <= OstatniBajt; ++n)
        for (int k = 0; k < 8; ++k)
            if (bajt(n) & (1 << k)) {
                const QString t = TekstBledu(n, k);
                if (!t.isEmpty()) lines << t;
            }
    if (statusByte11 & BladZapamietany) {
        lines << QString() << QLatin1Char('\t') + LangText(1233) + QLatin1Char(':') << QString();
        for (int n = PierwszyBajt; n <= OstatniBajt; ++n)
            for (int k = 0; k < 8; ++k) {
                const int count = bajt(Liczniki + 8 * (n - PierwszyBajt) + k);
                const QString t = TekstBledu(n, k);
                if (count != 0 && !t.isEmpty()) lines << QString::number(count) + QStringLiteral(" x ") + t;
            }
    }
    return lines;
}
