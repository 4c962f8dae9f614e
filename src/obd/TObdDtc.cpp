// OBD engine: stored, pending and permanent trouble codes of the chosen ECU, with descriptions.
#include "obd/DtcTexts.h"
#include "obd/TObd.h"

#include <algorithm>

namespace {
QString Naglowek(int tryb) {
    switch (tryb) {
    case 0x43: return QStringLiteral("\tStored Trouble Codes  /  Błędy zarejestrowane :");
    case 0x47: return QStringLiteral("\tPending Trouble Codes  /  Błędy oczekujące :");
    case 0x4A: return QStringLiteral("\tPermanent Trouble Codes  /  Błędy permanentne :");
    default: return QString();
    }
}

QByteArray Hex(uint32_t v, int cyfry) {
    return QByteArray::number(v, 16).toUpper().rightJustified(cyfry, '0');
}
} // namespace

QString TObd::TekstKodu(uint16_t kod) {
    static const char Litery[4] = {'P', 'C', 'B', 'U'};
    return QChar(QLatin1Char(Litery[kod >> 14])) + QString::fromLatin1(Hex(kod & 0x3FFF, 4));
}

void TObd::KodyBledow(int tryb) {
    if (!MyRichDtc) return;
    if (Protokol >= 1 && Protokol <= 5)
        KodyBledowISO(tryb);
    else if (Protokol >= 6 && Protokol <= 9)
        KodyBledowCAN(tryb);
}

void TObd::KodyBledowISO(int tryb) {
    if (!MyRichDtc) return;
    bool naglowek = false;
    // Every answer line of the chosen ECU holds up to three codes; 00 00 pads a line.
    while (SzukajEcuMode(tryb)) {
        if (!naglowek) {
            MyRichDtc->Append(Naglowek(tryb), ObdGreen);
            naglowek = true;
        }
        for (int i = 0; i < 3; ++i) {
            const uint16_t kod = uint16_t(TekstNaInt(Odpowiedz, 2));
            if (kod == 0) break;
            KodyBledowCyfra(kod);
            if (Odpowiedz.size() < 6) break;
        }
        if (Odpowiedz.size() < 7) break;
    }
}

void TObd::KodyBledowCAN(int tryb) {
    if (!MyRichDtc) return;
    if (!SzukajEcuMode(tryb)) return;
    MyRichDtc->Append(Naglowek(tryb), ObdGreen);

    const QByteArray m = Hex(uint32_t(tryb & 0xFF), 2);
    int q = 0;
    if (Odpowiedz.startsWith("02 " + m + " 00")) {
        q = 0;
        Odpowiedz.remove(0, 9);
    } else if (Odpowiedz.startsWith("04 " + m + " 01")) {
        q = 1;
        Odpowiedz.remove(0, 9);
    } else if (Odpowiedz.startsWith("06 " + m + " 02")) {
        q = 2;
        Odpowiedz.remove(0, 9);
    } else if (Odpowiedz.startsWith("10") && Odpowiedz.indexOf(m) == 6) {
        // First frame "10 LL MM QQ": the count byte, then the first two codes.
        q = TekstNaInt(Odpowiedz.mid(9), 1);
        Odpowiedz.remove(0, 12);
        // The count is one byte: a longer group is no first frame, and its count would have the
        // search below look for up to hundreds of millions of frame headers.
        if (q <= 0 || q > 0xFF) return;
        if (q > 2) UsunNaglowkiRamek(q);
    } else {
        return;
    }
    DoOnTekst(QString::number(q), ObdMagenta);
    DoOnTekst(QString::fromLatin1(Odpowiedz), ObdMagenta);
    for (int i = 0; i < q; ++i) {
        const uint16_t kod = uint16_t(TekstNaInt(Odpowiedz, 2));
        if (kod == 0) break;
        KodyBledowCyfra(kod);
    }
}

// The first frame carries two codes, each consecutive frame seven bytes more (three and a half
// codes): take the consecutive frames' headers out so that all codes follow each other.
void TObd::UsunNaglowkiRamek(int q) {
    const bool can11 = Protokol == 6 || Protokol == 8;
    for (int k = 0; (q - 2) * 2 > 7 * k; ++k) {
        // Sequence numbers run 21..2F, 20, 21, ...
        const QByteArray wzorzec = Hex(uint32_t(Ecu), 2) + " 2" + Hex(uint32_t(k + 1) & 0x0F, 1);
        const int i = int(Odpowiedz.indexOf(wzorzec));
        DoOnTekst(QString::fromLatin1(wzorzec), ObdGreen);
        DoOnTekst(QString::number(i + 1), ObdGreen);
        if (i < 0) continue;
        // Out go the CR before the header, the header (on 29-bit CAN "18 DA F1 " too) and the space.
        const int przed = can11 ? 1 : 10;
        const int od = std::max(0, i - przed);
        Odpowiedz.remove(od, i + int(wzorzec.size()) + 1 - od);
    }
}

void TObd::KodyBledowCyfra(uint16_t kod) {
    if (!MyRichDtc) return;
    const QString tekst = TekstKodu(kod);
    DoOnTekst(tekst, ObdRed);
    MyRichDtc->Append(tekst, ObdRed);
    Odpowiedz.remove(0, 6);
    KodyBledowOpis(tekst, 900);
    if (kod < 0x4000) KodyBledowOpis(tekst, 901);
}

void TObd::KodyBledowOpis(const QString &kod, int zasob) {
    if (!MyRichDtc) return;
    const QString opis = DtcOpisZasobu(kod, zasob);
    if (opis.isNull()) return;
    MyRichDtc->Append(opis, ObdDefaultColour);
}
