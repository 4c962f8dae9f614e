// OBD engine: polling of the chosen PIDs, their decoders, the PID grid, and the relay of the fuel
// system status and fuel trims to the gas controller.
#include "device/TSterownik.h"
#include "obd/TObd.h"

#include <QLocale>
#include <cmath>

namespace {
QLocale Liczby() {
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}

// One decimal place, halves rounded away from zero.
QString JednoMiejsce(double v) {
    double r = std::round(v * 10.0) / 10.0;
    if (r == 0.0) r = 0.0; // no "-0.0"
    return Liczby().toString(r, 'f', 1);
}

// Shortest decimal form, up to 15 significant digits.
QString Ogolny(double v) {
    return Liczby().toString(v, 'g', 15);
}

QString Hex(uint32_t v, int cyfry) {
    return QString::number(v, 16).toUpper().rightJustified(std::max(cyfry, 0), u'0');
}

const char16_t *const StandardyObd[] = {
    u"Reserved",
    u"OBD-II as defined by the CARB",
    u"OBD as defined by the EPA",
    u"OBD and OBD-II",
    u"OBD-I",
    u"Not OBD compliant",
    u"EOBD (Europe)",
    u"EOBD and OBD-II",
    u"EOBD and OBD",
    u"EOBD, OBD and OBD II",
    u"JOBD (Japan)",
    u"JOBD and OBD II",
    u"JOBD and EOBD",
    u"JOBD, EOBD, and OBD II",
    u"Reserved",
    u"Reserved",
    u"Reserved",
    u"Engine Manufacturer Diagnostics (EMD)",
    u"Engine Manufacturer Diagnostics Enhanced (EMD+)",
    u"Heavy Duty On-Board Diagnostics (Child/Partial) (HD OBD-C)",
    u"Heavy Duty On-Board Diagnostics (HD OBD)",
    u"World Wide Harmonized OBD (WWH OBD)",
    u"Reserved",
    u"Heavy Duty Euro OBD Stage I without NOx control (HD EOBD-I)",
    u"Heavy Duty Euro OBD Stage I with NOx control (HD EOBD-I N)",
    u"Heavy Duty Euro OBD Stage II without NOx control (HD EOBD-II)",
    u"Heavy Duty Euro OBD Stage II with NOx control (HD EOBD-II N)",
    u"Reserved",
    u"Brazil OBD Phase 1 (OBDBr-1)",
    u"Brazil OBD Phase 2 (OBDBr-2)",
    u"Korean OBD (KOBD)",
    u"India OBD I (IOBD I)",
    u"India OBD II (IOBD II)",
    u"Heavy Duty Euro OBD Stage VI (HD EOBD-IV)",
};
} // namespace

QString TObd::NazwaStandarduObd(uint32_t n) {
    if (n >= std::size(StandardyObd)) return QStringLiteral("Reserved");
    return QString::fromUtf16(StandardyObd[n]);
}

void TObd::KolejnyPid() {
    const int rozmiar = int(Pidy.size());
    if (AktualnyPid < 0 || AktualnyPid >= rozmiar) AktualnyPid = 0;
    auto wybrany = [this](int i) { return Pidy[i].obslugiwany && Pidy[i].odpytywany; };
    int znaleziony = -1;
    for (int i = AktualnyPid + 1; i < rozmiar && znaleziony < 0; ++i)
        if (wybrany(i)) znaleziony = i;
    for (int i = 0; i <= AktualnyPid && znaleziony < 0; ++i)
        if (wybrany(i)) znaleziony = i;
    if (znaleziony < 0) return;
    AktualnyPid = znaleziony;
    QList<int> grupa;
    if (SzybkiCan() && MaksGrupy > 1) grupa = GrupaOd(znaleziony);
    if (grupa.size() < 2) {
        Nadaj("01" + QByteArray::number(znaleziony, 16).toUpper().rightJustified(2, '0') + '\r');
        return;
    }
    // The next round goes on after the last PID asked.
    GrupaPidow = grupa;
    AktualnyPid = grupa.last();
    QByteArray zadanie = "01";
    for (int n : grupa)
        zadanie += QByteArray::number(n, 16).toUpper().rightJustified(2, '0');
    Nadaj(zadanie + '\r');
}

QString TObd::DekodujPid(int numer, uint32_t n, uint32_t a) const {
    const pid &p = Pidy[numer];
    switch (p.typ) {
    case 1: return QString::number(a & 0x7F);
    case 2: return QString::number(n);
    case 3:
        switch (a) {
        case 1: return QStringLiteral("OL");
        case 2: return QStringLiteral("CL");
        case 4: return QStringLiteral("OL Load");
        case 8: return QStringLiteral("OL Fault");
        case 16: return QStringLiteral("CL Error");
        default: return QString();
        }
    case 4: return JednoMiejsce(double(n) * 100.0 / 255.0);
    case 5: return QString::number(int64_t(n) - 40);
    case 6: return JednoMiejsce((double(n) - 128.0) * 100.0 / 128.0);
    case 10: return QString::number(uint64_t(n) * 3);
    case 11: return QString::number(n);
    case 12: return Ogolny(double(n) * 0.25);
    case 14: return Ogolny(double(n) * 0.5 - 64.0);
    case 16: return Ogolny(double(n) * 0.01);
    case 18:
        switch (n) {
        case 1: return QStringLiteral("Upstream");
        case 2: return QStringLiteral("Downstream of catalytic converter");
        case 4: return QStringLiteral("From the outside atmosphere or off");
        case 8: return QStringLiteral("Pump commanded on for diagnostics");
        default: return QString();
        }
    case 19: return QStringLiteral("B1:%1 B2:%2").arg(n & 0x0F).arg(n >> 4);
    case 20: return Ogolny(double(a) * 0.005);
    case 28: return NazwaStandarduObd(n);
    case 29:
        return QStringLiteral("B1:%1 B2:%2 B3:%3 B4:%4")
            .arg(n & 3)
            .arg((n >> 2) & 3)
            .arg((n >> 4) & 3)
            .arg((n >> 6) & 3);
    case 31: return QString::number(n);
    default: return QStringLiteral("0x") + Hex(n, p.bajty);
    }
}

std::optional<double> TObd::WartoscPid(int numer, uint32_t n, uint32_t a) const {
    // Rounded as the text shows it.
    auto jednoMiejsce = [](double v) { return std::round(v * 10.0) / 10.0 + 0.0; };
    switch (Pidy[numer].typ) {
    case 1: return double(a & 0x7F);
    case 2:
    case 11:
    case 31: return double(n);
    case 4: return jednoMiejsce(double(n) * 100.0 / 255.0);
    case 5: return double(n) - 40.0;
    case 6: return jednoMiejsce((double(n) - 128.0) * 100.0 / 128.0);
    case 10: return double(n) * 3.0;
    case 12: return double(n) * 0.25;
    case 14: return double(n) * 0.5 - 64.0;
    case 16: return double(n) * 0.01;
    case 20: return double(a) * 0.005;
    default: return std::nullopt;
    }
}

void TObd::WyswietlPid() {
    if (!GrupaPidow.isEmpty()) {
        WyswietlGrupe();
        return;
    }
    if (AktualnyPid < 0 || AktualnyPid >= Pidy.size()) return;
    const std::optional<int> p = SzukajEcuPid(AktualnyPid);
    if (!p) return;
    const QByteArray dane = Odpowiedz.mid(*p);
    PokazPid(AktualnyPid, uint32_t(TekstNaInt(dane, Pidy[AktualnyPid].bajty)), uint32_t(TekstNaInt(dane, 1)));
}

void TObd::PokazPid(int numer, uint32_t n, uint32_t a) {
    pid &wpis = Pidy[numer];
    if (Sterownik) {
        if (numer == 0x03) {
            Sterownik->ObdRelay[0] = uint8_t(n >> 8);
            Sterownik->ObdRelay[1] = uint8_t(n);
        } else if (numer >= 0x06 && numer <= 0x09) {
            // The controller takes 0 as "no value": a trim of 0 is sent as 1.
            const uint8_t trym = uint8_t(n);
            Sterownik->ObdRelay[2 + numer - 0x06] = trym == 0 ? 1 : trym;
        }
        Sterownik->ObdRelay[6] = 0;
        Sterownik->ObdRelayPending = 1;
    }

    QString tekst = DekodujPid(numer, n, a);
    if (!wpis.jednostka.isEmpty()) tekst += u'[' + wpis.jednostka + u']';
    if (MyGridPidy && wpis.wiersz >= 0) {
        const int kolor = (TrybListy == 0 && !wpis.obslugiwany) ? ObdSilver : ObdDefaultColour;
        MyGridPidy->SetCell(TrybListy == 0 ? 4 : 2, wpis.wiersz, tekst, kolor);
    }
}

void TObd::OpiszPid() {
    if (!MyGridPidy) return;
    TObdGrid &g = *MyGridPidy;
    if (TrybListy == 0) {
        g.SetRowCount(int(Pidy.size()));
        g.SetColCount(5);
        g.SetDefaultColWidth(70);
        g.SetColWidth(0, 20);
        g.SetColWidth(1, 20);
        g.SetColWidth(2, 200);
        g.SetTogglingEnabled(true);
        for (int i = 0; i < Pidy.size(); ++i) {
            WierszPidu(i, QString());
            Pidy[i].wiersz = i;
        }
        return;
    }
    g.SetColCount(3);
    g.SetDefaultColWidth(70);
    g.SetColWidth(0, 220);
    g.SetTogglingEnabled(false);
    int wierszy = 0;
    for (const pid &p : std::as_const(Pidy))
        if (p.obslugiwany && p.odpytywany) ++wierszy;
    g.SetRowCount(wierszy);
    int wiersz = 0;
    for (pid &p : Pidy) {
        if (p.obslugiwany && p.odpytywany) {
            g.SetCell(0, wiersz, p.nazwa);
            g.SetCell(1, wiersz, p.skrot);
            g.SetCell(2, wiersz, QString());
            p.wiersz = wiersz++;
        } else {
            p.wiersz = -1;
        }
    }
}

void TObd::WierszPidu(int i, const QString &wartosc) {
    TObdGrid &g = *MyGridPidy;
    const pid &p = Pidy[i];
    const int szary = p.obslugiwany ? ObdDefaultColour : ObdSilver;
    const QString stan = !p.obslugiwany ? QStringLiteral("x")
                         : p.odpytywany ? QStringLiteral("on")
                                        : QStringLiteral("off");
    g.SetCell(0, i, Hex(uint32_t(i), 2), szary);
    g.SetCell(1, i, stan, p.obslugiwany && p.odpytywany ? ObdGreen : szary);
    g.SetCell(2, i, p.nazwa, szary);
    g.SetCell(3, i, p.skrot, szary);
    g.SetCell(4, i, wartosc, szary);
}

void TObd::KolorujPidy() {
    if (!MyGridPidy) return;
    if (TrybListy != 0) {
        OpiszPid(); // the compact list holds only the supported, polled rows: its rows change
        return;
    }
    // The full list keeps its rows; each takes the colours of its new flags and keeps its value.
    for (int i = 0; i < Pidy.size() && i < MyGridPidy->RowCount(); ++i)
        WierszPidu(i, MyGridPidy->Cell(4, i));
}

void TObd::ZmianaListy(int tryb) {
    TrybListy = tryb;
    OpiszPid();
}

void TObd::PrzelaczPolling() {
    if (MyGridPidy) {
        const int wiersz = MyGridPidy->CurrentRow();
        if (wiersz >= 0 && wiersz < Pidy.size() && Pidy[wiersz].obslugiwany)
            Pidy[wiersz].odpytywany = Pidy[wiersz].odpytywany ? 0 : 1;
    }
    OpiszPid();
}

void TObd::MyGridPidyClick() {
    if (TrybListy == 0 && MyGridPidy && MyGridPidy->CurrentCol() == 1) PrzelaczPolling();
}

void TObd::MyGridPidyDblClick() {
    if (TrybListy == 0 && MyGridPidy && MyGridPidy->CurrentCol() != 1) PrzelaczPolling();
}

void TObd::MyGridPidyKeyDown(int klawisz) {
    // The compact list has no toggling: its rows are not catalogue indexes.
    if (TrybListy == 0 && klawisz == 13) PrzelaczPolling();
}
