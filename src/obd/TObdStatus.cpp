// OBD engine: the adapter status panel (port, adapter, voltage, protocol, ECUs, trouble codes, MIL).
#include "obd/TObd.h"

namespace {
struct NazwaProtokoluObd {
    const char16_t *wiersz; // status row 3
    const char16_t *opis;   // logged text
};

const NazwaProtokoluObd Protokoly[12] = {
    {u"SAE J1850 PWM", u"SAE J1850 PWM (41.6 Kbaud)"},
    {u"SAE J1850 VPW", u"SAE J1850 VPW (10.4 Kbaud)"},
    {u"ISO 9141-2 (KL)", u"ISO 9141-2 (5 baud init, 10.4 Kbaud)"},
    {u"ISO 14230-4 (KWP slow init)", u"ISO 14230-4 KWP (5 baud init, 10.4 Kbaud)"},
    {u"ISO 14230-4 (KWP fast init)", u"ISO 14230-4 KWP (fast init, 10.4 Kbaud)"},
    {u"CAN (11 bit ID, 500 kb)", u"ISO 15765-4 CAN (11 bit ID, 500 Kbaud)"},
    {u"CAN (29 bit ID, 500 kb)", u"ISO 15765-4 CAN (29 bit ID, 500 Kbaud)"},
    {u"CAN (11 bit ID, 250 kb)", u"ISO 15765-4 CAN (11 bit ID, 250 Kbaud)"},
    {u"CAN (29 bit ID, 250 kb)", u"ISO 15765-4 CAN (29 bit ID, 250 Kbaud)"},
    {u"CAN (29 bit ID, 250* kb)", u"SAE J1939 CAN (29 bit ID, 250* Kbaud)"},
    {u"USER1", u"USER1 CAN (11* bit ID, 125* Kbaud)"},
    {u"USER2", u"USER2 CAN (11* bit ID, 50* Kbaud)"},
};

const char16_t *const Etykiety[7] = {u"PORT:", u"ELM:", u"PWR:", u"OBD:", u"ECU:", u"DTC:", u"MIL:"};

// A non-negative decimal number made of digits only.
bool LiczbaDziesietna(const QByteArray &t, int &wynik) {
    if (t.isEmpty() || t.size() > 9) return false;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    wynik = v;
    return true;
}
} // namespace

QString TObd::NazwaProtokolu(int protokol) {
    if (protokol < 1 || protokol > 12) return QStringLiteral("?");
    return QString::fromUtf16(Protokoly[protokol - 1].wiersz);
}

QString TObd::OpisProtokolu(int protokol) {
    if (protokol < 1 || protokol > 12) return QString();
    return QString::fromUtf16(Protokoly[protokol - 1].opis);
}

void TObd::UkladStatusu() {
    TObdGrid &g = *MyGridStatus;
    g.SetColCount(2);
    g.SetRowCount(7);
    g.SetDefaultColWidth(40);
    g.SetColWidth(1, g.Width() - 40 - 10);
    g.FitPlainRows(7);
    for (int r = 0; r < 7; ++r)
        g.SetCell(0, r, QString::fromUtf16(Etykiety[r]));
}

// The text up to its first CR.
void TObd::ObetnijNaCr() {
    const int cr = int(Odpowiedz.indexOf('\r'));
    if (cr >= 0) Odpowiedz.truncate(cr);
}

void TObd::StatusElm() {
    const int i = int(Odpowiedz.indexOf("ELM"));
    if (i < 0) {
        Status(1, QStringLiteral("brak interfejsu"), true);
        return;
    }
    Odpowiedz.remove(0, i);
    ObetnijNaCr();
    const QString baner = QString::fromLatin1(Odpowiedz);
    DoOnTekst(baner, ObdGreen);
    Status(1, baner, true);
}

void TObd::StatusVoltage() {
    if (Analizuj("ATRV")) Odpowiedz.remove(0, 5);
    if (Analizuj("?")) {
        Status(2, QStringLiteral("-"), false);
        DoOnTekst(QStringLiteral("nie odczytano napięcia"), ObdRed);
        return;
    }
    ObetnijNaCr();
    const QString napiecie = QString::fromLatin1(Odpowiedz);
    Status(2, napiecie, false);
    DoOnTekst(napiecie, ObdGreen);
}

void TObd::StatusProtokol() {
    if (Analizuj("ATDPN")) Odpowiedz.remove(0, 6);
    ObetnijNaCr();
    // A protocol the adapter found by itself is reported with a leading "A" ("A6").
    QByteArray numer = Odpowiedz;
    if (numer.startsWith('A')) numer.remove(0, 1);
    // Any other number is the adapter's own: it is kept (the slow-protocol pause and the event
    // value follow it) even when the table has no name for it.
    int p = 0;
    if (!LiczbaDziesietna(numer, p)) p = 0;
    Protokol = p;
    Status(3, NazwaProtokolu(p), false);
    if (OpisProtokolu(p).isEmpty())
        DoOnTekst(QStringLiteral("nieznany protokół"), ObdRed);
    else
        DoOnTekst(OpisProtokolu(p), ObdGreen);
}

void TObd::StatusDteMil() {
    if (Analizuj("0101")) Odpowiedz.remove(0, 5);
    const int i = int(Odpowiedz.indexOf("41 01"));
    if (i < 0) {
        Status(5, QStringLiteral("-"), false);
        Status(6, QStringLiteral("-"), false);
        DoOnTekst(QStringLiteral("nie odczytano statusu"), ObdRed);
        return;
    }
    Odpowiedz.remove(0, i + 6);
    const uint32_t wartosc = uint32_t(TekstNaInt(Odpowiedz, 4));
    const uint32_t a = wartosc >> 24;
    Status(5, QString::number(a & 0x7F), false);
    Status(6, (a & 0x80) ? QStringLiteral("zapalony") : QStringLiteral("zgaszony"), false);
    DoOnTekst(QStringLiteral("status 0x") + QString::number(wartosc, 16).toUpper().rightJustified(4, u'0'),
              ObdGreen);
}
