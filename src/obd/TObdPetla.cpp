// OBD engine: the task loop (connection, protocol search, set-up, polling, trouble codes).
#include "obd/TObd.h"

namespace {
struct KrokSzukaniaProtokolu {
    const char16_t *status; // status row 3
    const char16_t *opis;   // logged description
    const char *komenda;
};

// The two 500 kbaud CAN protocols are tried first and again after the K-line and J1850 ones.
const KrokSzukaniaProtokolu KrokiSzukania[11] = {
    {u"łączenie CAN (11 bit ID, 500 Kbaud)", u"ISO 15765-4 CAN (11 bit ID, 500 Kbaud)", "ATTP6"},
    {u"łączenie CAN (29 bit ID, 500 Kbaud)", u"ISO 15765-4 CAN (29 bit ID, 500 Kbaud)", "ATTP7"},
    {u"łączenie SAE J1850 VPW", u"SAE J1850 VPW (10.4 Kbaud)", "ATTP2"},
    {u"łączenie SAE J1850 PWM", u"SAE J1850 PWM (41.6 Kbaud)", "ATTP1"},
    {u"łączenie ISO 9141-2 (KL)", u"ISO 9141-2 (KL) ( 5 baud init, 10.4 Kbaud)", "ATTP3"},
    {u"łączenie KWP slow init", u"ISO 14230-4 KWP (5 baud init, 10.4 Kbaud)", "ATTP4"},
    {u"łączenie KWP fast init", u"ISO 14230-4 KWP (fast init, 10.4 Kbaud)", "ATTP5"},
    {u"łączenie CAN (11 bit ID, 500 Kbaud)", u"ISO 15765-4 CAN (11 bit ID, 500 Kbaud)", "ATTP6"},
    {u"łączenie CAN (29 bit ID, 500 Kbaud)", u"ISO 15765-4 CAN (29 bit ID, 500 Kbaud)", "ATTP7"},
    {u"łączenie CAN (11 bit ID, 250 Kbaud)", u"ISO 15765-4 CAN (11 bit ID, 250 Kbaud)", "ATTP8"},
    {u"łączenie CAN (29 bit ID, 250 Kbaud)", u"ISO 15765-4 CAN (29 bit ID, 250 Kbaud)", "ATTP9"},
};

QByteArray ZCr(const QByteArray &komenda) {
    return komenda + '\r';
}
} // namespace

void TObd::KrokSzukania(int krok) {
    const KrokSzukaniaProtokolu &k = KrokiSzukania[krok - 1];
    Status(3, QString::fromUtf16(k.status), true);
    DoOnTekst(QString::fromUtf16(k.opis), ObdBlack);
    Nadaj(ZCr(k.komenda));
}

// Set-up step: the previous command must have been answered "OK" (or "ELM"); then send the next one.
bool TObd::Sprawdz(const QByteArray &tekst, const QByteArray &komenda, int nastepny) {
    if (Analizuj(tekst)) {
        Nadaj(ZCr(komenda));
        Stan = nastepny;
        return true;
    }
    Opoznienie = 5000;
    Stan = 3;
    return false;
}

// While the ECUs and their bitmaps are read, an error reply resets the adapter and searches again,
// unless the protocol was forced. Judged on the reply as it came, before the step changes it.
bool TObd::BladPoPolaczeniu() const {
    return CzyBlad() && WymuszonyProtokol == 0;
}

void TObd::PetlaZadan() {
    if (Opoznienie > 0) {
        Opoznienie -= Takt;
        return;
    }
    if (CzekaNaOdpowiedz) {
        if (CzasOdpowiedzi > 0)
            CzasOdpowiedzi -= Takt;
        else
            Powtorz();
        return;
    }
    if (JestKomenda) {
        JestKomenda = 0;
        Nadaj(ZCr(KomendaUzytkownika));
        Opoznienie = 1000;
        return;
    }

    switch (Stan) {
    case 2:
        if (PortConnected()) {
            // A Wi-Fi adapter is named by its address.
            Status(0,
                   PortIsTcp()                 ? PortPath
                   : PortNumber < FtdiPortBase ? QStringLiteral("COMM %1").arg(PortNumber)
                                               : QStringLiteral("FTDI %1").arg(PortNumber - FtdiPortBase),
                   true);
            Opoznienie = 500;
            DoOnTekst(QStringLiteral("2) połączono") + (PortIsTcp() ? PortPath : QString::number(PortNumber)),
                      ObdBlack);
            Stan = 3;
        } else {
            Status(0, QStringLiteral("brak połączenia"), false);
            Opoznienie = 5000;
            DoOnTekst(QStringLiteral("2) brak połączenia"), ObdBlack);
            // Why the port did not open (unplugged, no permission, held by another program).
            if (PortFault != TPortFault::None)
                DoOnTekst(QStringLiteral("   %1: %2").arg(PortName, PortFaultReason()), ObdRed);
            DoOnZdarzenie(100, -1, 0);
            Stan = 0;
        }
        break;
    case 3:
        if (PortConnected()) {
            Status(1, QStringLiteral("szukanie interfejsu"), true);
            Protokol = -1;
            Opoznienie = 200;
            DoOnTekst(QStringLiteral("3) szukanie interfejsu"), ObdBlack);
            Stan = 100;
        } else {
            Status(0, QStringLiteral("brak połączenia"), false);
            Opoznienie = 5000;
            DoOnTekst(QStringLiteral("3) brak połączenia"), ObdBlack);
            Stan = 0;
        }
        DoOnZdarzenie(100, -1, 0);
        break;

    // ---- adapter reset and set-up
    case 100:
        Nadaj(ZCr("ATZ"));
        Stan = 101;
        break;
    case 101:
        StatusElm();
        Sprawdz("ELM", "ATE1", 102);
        break;
    case 102: Sprawdz("OK", "ATL0", 103); break;
    case 103: Sprawdz("OK", "ATCAF1", 104); break;
    case 104: Sprawdz("OK", "ATH1", 105); break;
    case 105: Sprawdz("OK", "ATM0", 106); break;
    case 106: Sprawdz("OK", "ATRV", 107); break;
    case 107:
        StatusVoltage();
        Stan = 200;
        break;

    // ---- protocol search
    case 200:
        DoOnZdarzenie(100, 0, 1);
        if (WymuszonyProtokol != 0) {
            Status(3, QStringLiteral("łączenie"), true);
            DoOnTekst(QStringLiteral("łączenie protokołu %1").arg(WymuszonyProtokol), ObdBlack);
            Nadaj(ZCr("ATTP" + QByteArray::number(WymuszonyProtokol)));
            Stan = 300;
        } else {
            KrokSzukania(1);
            Stan = 201;
        }
        break;
    case 201:
    case 203:
    case 205:
    case 207:
    case 209:
    case 211:
    case 213:
    case 215:
    case 217:
    case 219:
    case 221:
        if (Analizuj("OK")) {
            Nadaj(ZCr("0100"));
            Stan = Stan + 1;
        } else {
            // The adapter refused the protocol: start the search again from the first step.
            Opoznienie = 5000;
            Stan = 200;
        }
        break;
    case 202:
    case 204:
    case 206:
    case 208:
    case 210:
    case 212:
    case 214:
    case 216:
    case 218:
    case 220:
        if (CzyBlad()) {
            KrokSzukania((Stan - 200) / 2 + 1);
            Stan = Stan + 1;
        } else {
            Stan = 300;
        }
        break;
    case 222: Stan = CzyBlad() ? 223 : 300; break;
    case 223:
        Status(3, QStringLiteral("brak protokołu"), false);
        Opoznienie = 1000;
        Nadaj(ZCr("ATM1"));
        Stan = 224;
        break;
    case 224:
        Opoznienie = 5000;
        Nadaj(ZCr("ATZ"));
        Stan = 3;
        break;

    // ---- protocol report, adapter tuning, ECUs and supported PIDs
    case 300:
        // A new connection: grouped requests are tried again.
        MaksGrupy = NajwiekszaGrupa;
        BledyGrupy = 0;
        Nadaj(ZCr("ATDPN"));
        Stan = 301;
        break;
    case 301:
        StatusProtokol();
        Nadaj(ZCr("ATM1"));
        DoOnZdarzenie(100, Protokol, 0);
        Stan = 302;
        break;
    case 302:
        Nadaj(ZCr("ATST32"));
        Stan = 303;
        break;
    case 303:
        Nadaj(ZCr("ATAL"));
        Stan = 304;
        break;
    case 304:
        Nadaj(ZCr("ATE0"));
        Stan = 305;
        break;
    case 305:
        Nadaj(ZCr("ATH1"));
        Stan = 306;
        break;
    case 306:
        if (Analizuj("OK")) {
            Nadaj(ZCr("01001"));
            Stan = 307;
        } else {
            Stan = 100;
        }
        break;
    case 307:
        Nadaj(ZCr("0100"));
        Stan = 308;
        break;
    case 308: {
        const bool blad = BladPoPolaczeniu();
        StatusEcu();
        PIDsupported(0x00);
        if (Pidy[0x01].obslugiwany) Nadaj(ZCr("0101"));
        Stan = blad ? 100 : 309;
        break;
    }
    case 309: {
        const bool blad = BladPoPolaczeniu();
        if (Pidy[0x01].obslugiwany) StatusDteMil();
        Stan = 400;
        if (Pidy[0x20].obslugiwany) {
            Nadaj(ZCr("0120"));
            Stan = 310;
        }
        if (blad) Stan = 100;
        break;
    }
    case 310:
    case 311: {
        // Each bitmap says whether the next one exists.
        const bool blad = BladPoPolaczeniu();
        const int baza = Stan == 310 ? 0x20 : 0x40;
        PIDsupported(baza);
        const int nastepna = Stan + 1;
        Stan = 400;
        if (Pidy[baza + 0x20].obslugiwany) {
            Nadaj(ZCr("01" + QByteArray::number(baza + 0x20, 16).toUpper()));
            Stan = nastepna;
        }
        if (blad) Stan = 100;
        break;
    }
    case 312: {
        const bool blad = BladPoPolaczeniu();
        PIDsupported(0x60);
        if (Pidy[0x80].obslugiwany) Nadaj(ZCr("0180"));
        Stan = blad ? 100 : 400;
        break;
    }

    // ---- probe of the PIDs polled by default
    case 400:
        Nadaj(ZCr("0103"));
        Stan = 401;
        break;
    case 401:
        if (!CzyBlad()) Pidy[0x03].obslugiwany = 1;
        Nadaj(ZCr("0106"));
        Stan = 402;
        break;
    case 402:
        if (!CzyBlad()) Pidy[0x06].obslugiwany = 1;
        Nadaj(ZCr("0107"));
        Stan = 403;
        break;
    case 403:
        if (!CzyBlad()) Pidy[0x07].obslugiwany = 1;
        Nadaj(ZCr("0108"));
        Stan = 404;
        break;
    case 404:
        if (!CzyBlad()) Pidy[0x08].obslugiwany = 1;
        Nadaj(ZCr("0109"));
        Stan = 405;
        break;
    case 405:
        if (!CzyBlad()) Pidy[0x09].obslugiwany = 1;
        OpiszPid();
        Nadaj(ZCr("ATRV"));
        Stan = 406;
        break;
    case 406:
        StatusVoltage();
        Stan = MyPojazd ? 5000 : 1000; // the vehicle page is read once the car is known
        break;

    // ---- polling
    case 1000:
        if (pojazdZamowiony_) {
            Stan = 5000;
            break;
        }
        if (Protokol < 6) Opoznienie = 200;
        GrupaPidow.clear();
        if (WymuszonyProtokol != 0)
            Nadaj(ZCr("0101"));
        else
            KolejnyPid();
        Stan = 1001;
        break;
    case 1001:
        WyswietlPid();
        Stan = 1000;
        break;

    // ---- trouble codes
    case 3000:
        if (MyRichDtc) MyRichDtc->Clear();
        Opoznienie = 200;
        Nadaj(ZCr("03"));
        Stan = 3001;
        break;
    case 3001:
        Opoznienie = 200;
        KodyBledow(0x43);
        Stan = 3002;
        break;
    case 3002:
        Opoznienie = 200;
        Nadaj(ZCr("07"));
        Stan = 3003;
        break;
    case 3003:
        Opoznienie = 200;
        KodyBledow(0x47);
        Stan = 3004;
        break;
    case 3004:
        Opoznienie = 200;
        Nadaj(ZCr("0A"));
        Stan = 3005;
        break;
    case 3005:
        Opoznienie = 200;
        KodyBledow(0x4A);
        Stan = 1000;
        break;
    case 4000:
        Nadaj(ZCr("04"));
        Stan = 4001;
        break;
    // Clearing reset the monitors and the freeze frame: the page shows the car as it is now.
    case 4001: Stan = MyPojazd ? 5000 : 1000; break;

    // ---- vehicle page
    case 5000:
        CzytajPojazd();
        Stan = 5001;
        break;
    case 5001: ZapytajPojazd(); break;
    case 5002: OdpowiedzPojazdu(); break;
    default: break;
    }
}
