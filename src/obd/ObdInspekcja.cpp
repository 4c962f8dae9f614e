#include "obd/ObdInspekcja.h"

#include "lang/LangText.h"
#include "obd/DtcTexts.h"

#include <QSet>

QList<uint16_t> KodyWiadomosci(const QList<QByteArray> &wiadomosci, int trybOdpowiedzi, bool can) {
    QList<uint16_t> kody;
    for (const QByteArray &w : wiadomosci) {
        if (w.isEmpty() || uint8_t(w[0]) != trybOdpowiedzi) continue;
        int od = 1, ile = int(w.size() - 1) / 2;
        if (can) {
            if (w.size() < 2) continue;
            od = 2;
            ile = std::min(int(uint8_t(w[1])), int(w.size() - 2) / 2);
        }
        for (int i = 0; i < ile; ++i) {
            const uint16_t k = uint16_t((uint8_t(w[od + 2 * i]) << 8) | uint8_t(w[od + 2 * i + 1]));
            if (k != 0 && !kody.contains(k)) kody.append(k);
        }
    }
    return kody;
}

std::optional<int> LicznikPid(int pid, const QByteArray &dane) {
    switch (pid) {
    case 0x30:
        if (dane.size() < 1) return std::nullopt;
        return uint8_t(dane[0]);
    case 0x21:
    case 0x31:
    case 0x4D:
    case 0x4E:
        if (dane.size() < 2) return std::nullopt;
        return uint8_t(dane[0]) * 256 + uint8_t(dane[1]);
    default: return std::nullopt;
    }
}

QStringList NiegotoweMonitory(const TObdPojazd &p) {
    QStringList l;
    for (const TObdEcuPojazdu &e : p.ecu)
        if (e.status)
            for (const TObdMonitor &m : e.status->monitory)
                if (m.obslugiwany && !m.gotowy && !l.contains(m.nazwa)) l.append(m.nazwa);
    return l;
}

std::optional<int> Licznik(const TObdPojazd &p, std::optional<int> TObdEcuPojazdu::*pole) {
    for (const TObdEcuPojazdu &e : p.ecu)
        if (e.*pole) return e.*pole;
    return std::nullopt;
}

TObdWerdykt Werdykt(const TObdPojazd &p, int dozwolone) {
    TObdWerdykt w;
    w.dozwolone = dozwolone;
    w.niekompletne = int(NiegotoweMonitory(p).size());
    QSet<uint16_t> permanentne;
    for (const TObdEcuPojazdu &e : p.ecu) {
        if (e.status) {
            w.znany = true;
            w.mil = w.mil || e.status->mil;
        }
        if (e.kodyPermanentne) {
            for (uint16_t k : *e.kodyPermanentne)
                permanentne.insert(k);
            w.permanentne = int(permanentne.size());
        }
    }
    w.gotowy = w.znany && !w.mil && w.niekompletne <= dozwolone && w.permanentne.value_or(0) == 0;
    return w;
}

QString TekstWerdyktu(const TObdWerdykt &w) {
    if (!w.znany) return LangText(4803);
    return LangText(4800)
        .arg(LangText(w.gotowy ? 4801 : 4802))
        .arg(w.niekompletne)
        .arg(w.dozwolone)
        .arg(LangText(w.mil ? 4404 : 4405))
        .arg(w.permanentne ? QString::number(*w.permanentne) : LangText(4418));
}

namespace {
// The codes of one read, as (unit, mode, code).
struct KodOdczytu {
    QString ecu;
    int tryb;
    uint16_t kod;
    bool operator==(const KodOdczytu &) const = default;
};

QList<KodOdczytu> KodyOdczytu(const TObdPojazd &p) {
    QList<KodOdczytu> l;
    for (const TObdEcuPojazdu &e : p.ecu) {
        const std::pair<int, const std::optional<QList<uint16_t>> *> listy[] = {
            {0x43, &e.kodyZapisane}, {0x47, &e.kodyOczekujace}, {0x4A, &e.kodyPermanentne}};
        for (const auto &[tryb, lista] : listy)
            if (*lista)
                for (uint16_t k : **lista)
                    l.append({e.adresTekst, tryb, k});
    }
    return l;
}

const TObdEcuPojazdu *Jednostka(const TObdPojazd &p, const QString &adres) {
    for (const TObdEcuPojazdu &e : p.ecu)
        if (e.adresTekst == adres) return &e;
    return nullptr;
}

std::optional<QString> Vin(const TObdPojazd &p) {
    for (const TObdEcuPojazdu &e : p.ecu)
        if (e.vin) return e.vin;
    return std::nullopt;
}
} // namespace

void TObdWizyta::Odczyt(const TObdPojazd &p, const QDateTime &czas) {
    const std::optional<QString> vin = Vin(p), vinPrzyjazdu = przyjazd ? Vin(*przyjazd) : std::nullopt;
    if (!przyjazd || (vin && vinPrzyjazdu && *vin != *vinPrzyjazdu)) {
        przyjazd = p;
        czasPrzyjazdu = czas;
        kody.clear();
    }
    teraz = p;
    czasTeraz = czas;
    const QList<KodOdczytu> obecne = KodyOdczytu(p);
    for (const KodOdczytu &k : obecne) {
        bool znany = false;
        for (const TObdKodWizyty &w : std::as_const(kody))
            znany = znany || (w.ecu == k.ecu && w.tryb == k.tryb && w.kod == k.kod);
        if (!znany) kody.append({k.kod, k.tryb, k.ecu, false});
    }
    // A unit that did not answer a mode this time says nothing about its codes of that mode.
    for (TObdKodWizyty &w : kody) {
        const TObdEcuPojazdu *e = Jednostka(p, w.ecu);
        const std::optional<QList<uint16_t>> *lista = !e               ? nullptr
                                                      : w.tryb == 0x43 ? &e->kodyZapisane
                                                      : w.tryb == 0x47 ? &e->kodyOczekujace
                                                                       : &e->kodyPermanentne;
        if (lista && *lista) w.skasowany = !(*lista)->contains(w.kod);
    }
}

QList<TObdZmianaMonitora> TObdWizyta::ZmianyMonitorow() const {
    QList<TObdZmianaMonitora> zmiany;
    if (!przyjazd) return zmiany;
    for (const TObdEcuPojazdu &e : teraz.ecu) {
        const TObdEcuPojazdu *p = Jednostka(*przyjazd, e.adresTekst);
        if (!p || !p->status || !e.status) continue;
        for (const TObdMonitor &m : e.status->monitory) {
            if (!m.obslugiwany) continue;
            for (const TObdMonitor &a : p->status->monitory)
                if (a.nazwa == m.nazwa && a.obslugiwany && a.gotowy != m.gotowy)
                    zmiany.append({e.adresTekst, m.nazwa, m.gotowy});
        }
    }
    return zmiany;
}

QString OpisKoduDtc(uint16_t kod) {
    const QString tekst = DtcTekstKodu(kod);
    QString opis;
    if (LangLanguage() == 1 && kod < 0x4000) opis = DtcOpis(tekst, true);
    if (opis.isNull()) opis = DtcOpis(tekst, false);
    return opis.trimmed();
}
