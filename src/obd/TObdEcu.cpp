// OBD engine: which control units answered, which one is read, where its answers are in a reply,
// and the supported-PID bitmaps.
#include "obd/TObd.h"

namespace {
QByteArray Hex(uint32_t v, int cyfry) {
    return QByteArray::number(v, 16).toUpper().rightJustified(cyfry, '0');
}

bool Can11(int protokol) {
    return protokol == 6 || protokol == 8;
}
bool Can29(int protokol) {
    return protokol == 7 || protokol == 9;
}
} // namespace

QString TObd::AdresEcu(int minCyfr) const {
    return QString::fromLatin1(Hex(uint32_t(Ecu), minCyfr));
}

void TObd::StatusEcu() {
    SzukajEcu();
}

void TObd::SzukajEcu() {
    QByteArray work = Odpowiedz;
    QString lista;
    LiczbaEcu = 0;
    Ecu = 0;
    while (work.size() >= 20) {
        bool odczytano = false;
        uint32_t adres = 0;
        uint32_t mapa = 0; // first bitmap byte: PIDs 01..08
        if (Protokol >= 1 && Protokol <= 5) {
            // J1850 / ISO 9141-2: "48 6B EE 41 00 ..."; KWP: "86 F1 EE 41 00 ...".
            if (Protokol <= 3) {
                if (work.mid(3, 2) != "6B") break;
            } else if (!work.startsWith("86 F1 ")) {
                break;
            }
            work.remove(0, 6);
            if (work.mid(2, 7) != " 41 00 ") break;
            adres = uint32_t(TekstNaInt(work, 1));
            mapa = uint32_t(TekstNaInt(work.mid(9), 1));
            odczytano = true;
        } else if (Can11(Protokol) || Can29(Protokol)) {
            const int i = int(work.indexOf(" 06 41 00 "));
            if (i < 0) break;
            adres = uint32_t(TekstNaInt(Can11(Protokol) ? work : work.mid(9), 1));
            mapa = uint32_t(TekstNaInt(work.mid(i + 10), 1));
            odczytano = true;
        }
        if (odczytano) {
            lista += QString::fromLatin1(Hex(adres, 2)) + QStringLiteral("h ");
            if (LiczbaEcu == 0) Ecu = int32_t(adres);
            // Prefer the unit that reports a bank 1 fuel trim (PID 06 or 07).
            if (mapa & 0x06) Ecu = int32_t(adres);
            ++LiczbaEcu;
        }
        const int cr = int(work.indexOf('\r'));
        if (cr < 0) break;
        work.remove(0, cr + 1);
    }
    Status(4, lista, false);
    DoOnTekst(QStringLiteral("ECU: ") + lista, ObdGreen);
    DoOnTekst(QStringLiteral("ECU: ") + AdresEcu(2) + u'h', ObdRed);
}

std::optional<int> TObd::SzukajEcuPid(int pp) const {
    if (pp < 0 || pp >= Pidy.size()) return std::nullopt;
    const QByteArray p = Hex(uint32_t(pp), 2);
    const QByteArray l = QByteArray::number(Pidy[pp].bajty + 2);
    QByteArray wzorzec;
    switch (Protokol) {
    case 1:
    case 2:
    case 3: wzorzec = "6B " + Hex(uint32_t(Ecu), 2) + " 41 " + p; break;
    case 4:
    case 5: wzorzec = "F1 " + Hex(uint32_t(Ecu), 2) + " 41 " + p; break;
    case 6:
    case 8: wzorzec = Hex(uint32_t(Ecu), 3) + " 0" + l + " 41 " + p; break;
    case 7:
    case 9: wzorzec = Hex(uint32_t(Ecu), 2) + " 0" + l + " 41 " + p; break;
    default: return std::nullopt;
    }
    const int i = int(Odpowiedz.indexOf(wzorzec));
    if (i < 0) return std::nullopt;
    return i + int(wzorzec.size()) + 1; // past the pattern and its space: the first data byte
}

bool TObd::SzukajEcuMode(int mm) {
    const QByteArray m = Hex(uint32_t(mm & 0xFF), 2);
    QByteArray wzorzec;
    if (Protokol >= 1 && Protokol <= 3)
        wzorzec = "6B " + Hex(uint32_t(Ecu), 2) + " " + m;
    else if (Protokol == 4 || Protokol == 5)
        wzorzec = "F1 " + Hex(uint32_t(Ecu), 2) + " " + m;
    else if (Can11(Protokol))
        wzorzec = Hex(uint32_t(Ecu), 3);
    else if (Can29(Protokol))
        wzorzec = "18 DA F1 " + Hex(uint32_t(Ecu), 2);
    else
        return false;
    const int i = int(Odpowiedz.indexOf(wzorzec));
    if (i < 0) return false;
    Odpowiedz = Odpowiedz.mid(i + wzorzec.size() + 1);
    if (Protokol <= 5) return true;
    // CAN: the text now starts at the PCI; the mode follows a single frame's length byte
    // ("04 43") or a first frame's two PCI bytes ("10 08 43").
    const int j = int(Odpowiedz.indexOf(m));
    return j == 3 || j == 6;
}

void TObd::PIDsupported(int baza) {
    if (baza == 0) {
        for (pid &p : Pidy)
            p.obslugiwany = 0;
        Pidy[0].obslugiwany = 1;
    }
    const std::optional<int> pos = SzukajEcuPid(baza);
    if (pos) {
        const uint32_t bity = uint32_t(TekstNaInt(Odpowiedz.mid(*pos), 4));
        for (int i = 0; i < 32; ++i) {
            const int n = baza + 1 + i;
            if (n >= 0 && n < Pidy.size()) Pidy[n].obslugiwany = (bity >> (31 - i)) & 1;
        }
        DoOnTekst(QStringLiteral("PIDs supported 0x") + QString::fromLatin1(Hex(bity, 4)), ObdGreen);
    }
    KolorujPidy();
}
