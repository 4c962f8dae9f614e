// Display texts made from the image: live parameters, work state, identification, history.
#include "device/Cp1250.h"
#include "device/Liczby.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <limits>

namespace {
QString Dwie(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}
int Slowo(const uint8_t *b, int at) {
    return b[at] | (b[at + 1] << 8);
}
} // namespace

QString TSterownik::StrParamBiez(int mask, int n) {
    const int p = PodajPozycje(mask, n);
    if (p < 0 || p >= int(Wykresy.size())) return QString();
    TWykres &w = Wykresy[size_t(p)];
    // Live bytes are offsets 0…127; a position outside reads nothing.
    const int pos = w.Position;
    const bool inRange = pos >= 0 && pos + 1 < 128;
    const uint8_t b = inRange ? RxBuffer[pos] : 0;
    const int u16 = inRange ? Slowo(RxBuffer, pos) : 0;
    // A text returned as it is replaces the shown number, so the next number must be shown again
    // even when it equals the last one.
    const auto wprost = [&w](const QString &text) {
        w.LastValue = std::numeric_limits<double>::quiet_NaN();
        return text;
    };
    double d = 0;
    switch (w.RawType) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7: d = (b >> w.RawType) & 1; break;
    case 10: d = b; break;
    case 11: d = u16; break;
    case 12: return wprost(FormatLiczby(Nastawy[89] * 0.004 - (Nastawy[90] - 128) * 0.02, 3));
    case 13:
        return wprost(FormatLiczby(RxBuffer[38] * 0.1, 1) + QLatin1Char(' ') +
                      FormatLiczby(RxBuffer[39] * 0.1, 1));
    case 20: d = b - 128; break;
    case 21: d = u16 - 273; break;
    case 22:
        if (b == 0) return wprost(QStringLiteral("-"));
        d = (b - 128) * 100.0 / 128.0;
        break;
    case 23:
        switch (b) {
        case 1: return wprost(QStringLiteral("OL"));
        case 2: return wprost(QStringLiteral("CL"));
        case 4: return wprost(QStringLiteral("OL Load"));
        case 8: return wprost(QStringLiteral("OL Fault"));
        case 16: return wprost(QStringLiteral("CL Error"));
        default: return wprost(QStringLiteral("-"));
        }
    case 24: d = u16; break;
    default: return wprost(QStringLiteral(" "));
    }
    double value = d * w.Scale;
    if (w.RawType == 24) value = value * 3 + 7.35;
    if (value == w.LastValue) return QString(); // nothing changed: the caller keeps its text
    w.LastValue = value;
    return FormatLiczby(value, w.Decimals <= 0 ? 0 : (w.Decimals >= 3 ? 3 : w.Decimals));
}

QString TSterownik::StrStanPracy(int state, int variant) {
    if (!(state & 0x100)) return LangText(1242);
    if (!(state & 0x200)) return LangText(1243);
    switch (state & 0xFF) {
    case 0: return LangText(variant == 1 ? 1245 : 1244);
    case 2: return LangText(1246);
    case 4:
    case 5: return LangText(1247);
    case 6: return LangText(variant == 1 ? 1250 : 1249);
    case 7: return LangText(1248);
    default: return QString();
    }
}

uint32_t TSterownik::KolorStanuPracy(int state) {
    if (!(state & 0x100)) return 0x808080;
    if (!(state & 0x200)) return 0xC0C0C0;
    switch (state & 0xFF) {
    case 0: return 0x0000FF;
    case 2: return 0x4080FF;
    case 4:
    case 5: return 0xEA00EA;
    case 6: return 0x00A000;
    case 7: return 0xFF8000;
    default: return 0;
    }
}

QString TSterownik::StrWersjaSterownika() {
    switch (Identyfikacja[38]) {
    case 1: return QStringLiteral("TARVEN ECO+");
    case 2: return QStringLiteral("TARVEN PRO+");
    default: return QString();
    }
}

QString TSterownik::StrNrSeryjny() {
    int n = 0;
    while (n < 16 && Identyfikacja[6 + n] != 0)
        ++n;
    return Cp1250::toUnicode(reinterpret_cast<const char *>(Identyfikacja + 6), n);
}

QString TSterownik::NumerSterownika() const {
    int n = 0;
    while (n < 16 && IdentSterownika[6 + n] != 0)
        ++n;
    return Cp1250::toUnicode(reinterpret_cast<const char *>(IdentSterownika + 6), n);
}

QString TSterownik::NumerKopii() {
    const bool odpowiedzial = IdentSterownika[3] == 0x81;
    return odpowiedzial ? NumerSterownika() : StrNrSeryjny();
}

QString TSterownik::StrDataProdukcji() {
    // The year is stored as year - 2000; two digits keep 2005 from reading "205".
    auto data = [](int y, int m, int d) {
        return QStringLiteral("20") + Dwie(y) + QLatin1Char('.') + Dwie(m) + QLatin1Char('.') + Dwie(d);
    };
    if (Historia[0] != 0) return data(Historia[1], Historia[2], Historia[3]);
    if (Identyfikacja[46] != 0) return data(Identyfikacja[46], Identyfikacja[47], Identyfikacja[48]);
    return QString();
}

QString TSterownik::StrWersjaCyframi(int flags) {
    const uint8_t *id = Identyfikacja;
    if (id[5] != 0) return QString();
    QString s;
    if (id[60] != 0) s += QStringLiteral("%1.%2.%3  ").arg(id[58]).arg(id[59]).arg(id[60]);
    if ((flags & 1) && id[62] != 0)
        s += QStringLiteral("(%1.%2.%3)  ").arg(id[62]).arg(Dwie(id[63]), Dwie(id[64]));
    if (flags & 2)
        s += HexLiczby(id[50]) + QLatin1Char('.') + HexLiczby(id[51]) + QLatin1Char('.') + HexLiczby(id[52]) +
             QStringLiteral("  ");
    if ((flags & 4) && !s.isEmpty()) s += QChar(char16_t(u'A' + id[53])) + QLatin1Char(' ');
    if (flags & 8) s += QStringLiteral("SN=") + StrNrSeryjny() + QLatin1Char(' ');
    if (flags & 16) {
        s += QStringLiteral("Dev=");
        for (int i = 22; i <= 34; ++i)
            s += HexLiczby(id[i]) + QLatin1Char(' ');
    }
    if (flags & 32) {
        s += QStringLiteral("Eep=");
        for (int i = 66; i <= 77; ++i)
            s += HexLiczby(id[i]) + QLatin1Char(' ');
    }
    return s;
}

QString TSterownik::StrIleWtryskiwaczy() {
    return QString::number(InjectorCount);
}

namespace {
QString Czas(const uint8_t *id, int secondsAt, int hoursAt) {
    const int s = Slowo(id, secondsAt), h = Slowo(id, hoursAt);
    return QString::number(h) + QLatin1Char(':') + Dwie(s / 60) + QLatin1Char(':') + Dwie(s % 60);
}
} // namespace

QString TSterownik::StrCzasNaBenzynie() {
    return Czas(Identyfikacja, 70, 72);
}
QString TSterownik::StrCzasNaGazie() {
    return Czas(Identyfikacja, 74, 76);
}

QString TSterownik::StrCzasPrzegladu() {
    const int left = Slowo(Nastawy, 101) - Slowo(Identyfikacja, 76);
    return QString::number(left < 0 ? 0 : left) + QStringLiteral(":00:00");
}

QString TSterownik::StrIdentWlasny() {
    return HexLiczby(WorkstationId >> 16, 4) + QLatin1Char('-') + HexLiczby(WorkstationId & 0xFFFF, 4);
}

QString TSterownik::StrHistoria(int column, int entry) {
    if (entry < 0 || entry > 31) return QString();
    const uint8_t *e = Historia + entry * 8;
    const bool used = e[0] != 0;
    if (column == 0)
        return used ? QStringLiteral("20") + Dwie(e[1]) + QStringLiteral(".%1.%2").arg(e[2]).arg(e[3])
                    : QString();
    if (column >= 1 && column <= 4) return (e[0] >> (column - 1)) & 1 ? QStringLiteral("v") : QString();
    if (column == 5)
        return used ? HexLiczby(e[4]) + HexLiczby(e[5]) + QLatin1Char('-') + HexLiczby(e[6]) + HexLiczby(e[7])
                    : QString();
    return QString();
}
