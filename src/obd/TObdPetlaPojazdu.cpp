// OBD engine: the vehicle page's read, a run of task-loop steps between the connection (or the
// "Read" button) and polling: readiness since the codes were cleared and this drive cycle, the
// counters since the clear and with the lamp on, the stored, pending and permanent codes, the freeze
// frame, and the vehicle information, each unit's answers kept under its address.
#include "obd/ObdInspekcja.h"
#include "obd/TObd.h"

#include <QMap>
#include <algorithm>

namespace {
QByteArray Hex2(int v) {
    return QByteArray::number(v, 16).toUpper().rightJustified(2, '0');
}

// The bitmaps of the freeze frame's PIDs: 02 00 00, 02 20 00, 02 40 00, 02 60 00.
bool MapaPidow(int pid) {
    return pid % 0x20 == 0;
}
} // namespace

TObdEcuPojazdu &TObd::EcuPojazdu(int adres) {
    for (TObdEcuPojazdu &e : Pojazd.ecu)
        if (e.adres == adres) return e;
    TObdEcuPojazdu e;
    e.adres = adres;
    const bool can11 = Protokol == 6 || Protokol == 8;
    e.adresTekst =
        QString::fromLatin1(QByteArray::number(adres, 16).toUpper().rightJustified(can11 ? 3 : 2, '0'));
    Pojazd.ecu.append(e);
    return Pojazd.ecu.last();
}

void TObd::CzytajPojazd() {
    Pojazd = TObdPojazd();
    pojazdZamowiony_ = false;
    pidyZamrozenia_.clear();
    kolejkaPojazdu_.clear();
    // Every item is asked whatever the info-type bitmap 09 00 says: adapters and units differ.
    if (Protokol >= 1 && Protokol <= 9)
        kolejkaPojazdu_ = {"0101", "0141", "0121",   "0130", "0131", "014D", "014E", "03",
                           "07",   "0A",   "020200", "0902", "0904", "0906", "090A"};
    if (MyPojazd) MyPojazd->CzytaniePojazdu();
    DoOnTekst(QStringLiteral("odczyt pojazdu"), ObdBlack);
}

void TObd::ZapytajPojazd() {
    if (kolejkaPojazdu_.isEmpty()) {
        std::sort(Pojazd.ecu.begin(), Pojazd.ecu.end(),
                  [](const TObdEcuPojazdu &a, const TObdEcuPojazdu &b) { return a.adres < b.adres; });
        DoOnTekst(QStringLiteral("pojazd: %1 ECU").arg(Pojazd.ecu.size()), ObdGreen);
        if (MyPojazd) MyPojazd->PokazPojazd(Pojazd);
        Stan = 1000;
        return;
    }
    if (Protokol < 6) Opoznienie = 200; // the slow buses want a pause between requests
    zadaniePojazdu_ = kolejkaPojazdu_.takeFirst();
    Nadaj(zadaniePojazdu_ + '\r');
    Stan = 5002;
}

void TObd::OdpowiedzPojazdu() {
    Stan = 5001;
    const QByteArray z = QByteArray::fromHex(zadaniePojazdu_);
    if (z.size() == 1) {
        KodyPojazdu(uint8_t(z[0]));
        return;
    }
    if (z.size() < 2) return;
    const int tryb = uint8_t(z[0]), nr = uint8_t(z[1]);

    // Positive answers to this request, by unit; a negative answer (7F) or NO DATA leaves the item empty.
    QMap<int, QList<QByteArray>> odpowiedzi;
    for (const TObdWiadomosc &w : WiadomosciOdpowiedzi(Odpowiedz, Protokol)) {
        const QByteArray &d = w.dane;
        if (d.size() < 2 || uint8_t(d[0]) != tryb + 0x40 || uint8_t(d[1]) != nr) continue;
        if (tryb == 0x02 && (d.size() < 3 || d[2] != 0)) continue; // frame 0 only
        odpowiedzi[w.adres].append(d);
    }

    QList<QByteArray> wartosci, mapy; // follow-up requests of the freeze frame
    for (auto it = odpowiedzi.cbegin(); it != odpowiedzi.cend(); ++it) {
        const QByteArray &d = it->first();
        if (tryb == 0x01) {
            const bool gotowosc = nr == 0x01 || nr == 0x41;
            const std::optional<int> licznik = LicznikPid(nr, d.mid(2));
            if (gotowosc ? d.size() < 6 : !licznik) continue;
            TObdEcuPojazdu &e = EcuPojazdu(it.key());
            if (!gotowosc) {
                std::optional<int> *pole = nr == 0x21   ? &e.kmZLampa
                                           : nr == 0x30 ? &e.rozgrzania
                                           : nr == 0x31 ? &e.kmOdKasowania
                                           : nr == 0x4D ? &e.minZLampa
                                                        : &e.minOdKasowania;
                *pole = licznik;
            } else if (nr == 0x01) {
                e.status = DekodujGotowosc(d.mid(2, 4), false);
            } else {
                std::optional<bool> zaplon;
                if (e.status) zaplon = e.status->samoczynny;
                e.cykl = DekodujGotowosc(d.mid(2, 4), true, zaplon);
            }
        } else if (tryb == 0x02 && nr == 0x02) {
            if (d.size() < 5) continue;
            const uint16_t kod = uint16_t((uint8_t(d[3]) << 8) | uint8_t(d[4]));
            if (kod == 0) continue; // 0000: no freeze frame stored
            EcuPojazdu(it.key()).zamrozenie = TObdZamrozenie{TekstKodu(kod), {}};
            if (mapy.isEmpty()) mapy.append("020000");
        } else if (tryb == 0x02) {
            TObdEcuPojazdu *ecu = nullptr;
            for (TObdEcuPojazdu &x : Pojazd.ecu)
                if (x.adres == it.key()) ecu = &x;
            if (!ecu || !ecu->zamrozenie) continue;
            TObdEcuPojazdu &e = *ecu;
            if (MapaPidow(nr)) {
                if (d.size() < 7) continue;
                const uint32_t bity = (uint32_t(uint8_t(d[3])) << 24) | (uint32_t(uint8_t(d[4])) << 16) |
                                      (uint32_t(uint8_t(d[5])) << 8) | uint8_t(d[6]);
                for (int i = 0; i < 32; ++i) {
                    const int n = nr + 1 + i;
                    // PID 01 has no place in a freeze frame and 02 was read first; bitmaps go up to
                    // 02 60 00, values as far as the catalogue goes.
                    const bool mapa = MapaPidow(n);
                    if (!((bity >> (31 - i)) & 1) || n <= 0x02 || (mapa ? n > 0x60 : n >= Pidy.size()) ||
                        pidyZamrozenia_.contains(n))
                        continue;
                    pidyZamrozenia_.insert(n);
                    (mapa ? mapy : wartosci).append("02" + Hex2(n) + "00");
                }
            } else if (nr < Pidy.size()) {
                const pid &p = Pidy[nr];
                if (d.size() < 3 + p.bajty) continue;
                uint32_t n = 0; // as the polling reads it: the oldest bytes of a long answer shift out
                for (int i = 0; i < p.bajty; ++i)
                    n = (n << 8) | uint8_t(d[3 + i]);
                const uint32_t a = uint8_t(d[3]);
                e.zamrozenie->wartosci.append(
                    {nr, p.nazwa, p.jednostka, DekodujPid(nr, n, a), WartoscPid(nr, n, a)});
            }
        } else if (tryb == 0x09) {
            const QByteArray dane = DaneInformacji(*it, nr, Protokol >= 6);
            TObdEcuPojazdu &e = EcuPojazdu(it.key());
            if (nr == 0x02) {
                if (const QString v = TekstVin(dane); !v.isEmpty()) e.vin = v;
            } else if (nr == 0x04) {
                if (const QStringList v = KalibracjeId(dane); !v.isEmpty()) e.kalibracje = v;
            } else if (nr == 0x06) {
                if (const QStringList v = NumeryCvn(dane); !v.isEmpty()) e.cvn = v;
            } else if (nr == 0x0A) {
                if (const QString v = NazwaSterownika(dane); !v.isEmpty()) e.nazwaEcu = v;
            }
        }
    }
    // The frame's values, then its next bitmap, then the rest of the read.
    kolejkaPojazdu_ = wartosci + mapy + kolejkaPojazdu_;
}

// The stored (03), pending (07) or permanent (0A) codes of every unit that answered.
void TObd::KodyPojazdu(int tryb) {
    QMap<int, QList<QByteArray>> odpowiedzi;
    for (const TObdWiadomosc &w : WiadomosciOdpowiedzi(Odpowiedz, Protokol))
        if (!w.dane.isEmpty() && uint8_t(w.dane[0]) == tryb + 0x40) odpowiedzi[w.adres].append(w.dane);
    for (auto it = odpowiedzi.cbegin(); it != odpowiedzi.cend(); ++it) {
        TObdEcuPojazdu &e = EcuPojazdu(it.key());
        std::optional<QList<uint16_t>> &kody = tryb == 0x03   ? e.kodyZapisane
                                               : tryb == 0x07 ? e.kodyOczekujace
                                                              : e.kodyPermanentne;
        kody = KodyWiadomosci(*it, tryb + 0x40, Protokol >= 6);
    }
}
