#include "device/TSesja.h"

#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <cstring>

namespace {

constexpr uint32_t Bit(int n) {
    return uint32_t(1) << n;
}

// The blocks a change of the fitter can reach and the link writes, in the order they are named.
struct TObszar {
    int bit;
    int nazwa; // text id
};
constexpr TObszar Obszary[] = {
    {BitNastawy, 4603},  {BitMnoznik1, 4210},   {BitMnoznik2, 4211},    {BitKorObr1, 4212},
    {BitKorObr2, 4213},  {BitKorCis, 4214},     {BitKorTempRed, 4215},  {BitKorTempGazu, 4216},
    {BitEmulator, 4604}, {BitOpoznienia, 4605}, {BitWzbogacenie, 4606}, {BitMapaA, 4217},
    {BitMapaB, 4218},    {BitMapaC, 4219},      {BitMapaD, 4220},       {BitMapaE, 4221},
    {BitMapaF, 4222},
};

} // namespace

TSesja::TSesja(TSterownik &s) : s_(s) {
    for (const TObszar &o : Obszary)
        std::memcpy(baza_[o.bit], s_.Blok(o.bit), 256);
}

bool TSesja::TenSam() const {
    return !dlaOffline_ && !offline_ && dla_ == numer_;
}

void TSesja::PoczatekLacza() {
    // A jump to the bootloader belongs to the update it was asked for, never to the next link.
    s_.JumpBootPending = 0;
    // Bytes still waiting for their block to be read go back into the image: the next
    // identification sets them aside again.
    for (const TBajt &b : poOdczycie_)
        s_.Blok(b.bit)[b.poz] = b.na;
    poOdczycie_.clear();
}

void TSesja::PoIdentyfikacji(const QByteArray &numer) {
    odczytane_ = 0;
    // Nothing made before this identification is sent until the owner has decided: what was
    // changed is taken out of the image's requests before the controller is read over it.
    std::vector<TBajt> zmiany;
    for (const TObszar &o : Obszary) {
        const uint8_t *b = s_.Blok(o.bit);
        // The settings checksum is computed afresh for every write.
        for (int i = o.bit == BitNastawy ? 1 : 0; i < 256; ++i)
            if (b[i] != baza_[o.bit][i])
                zmiany.push_back({uint8_t(o.bit), uint8_t(i), baza_[o.bit][i], b[i]});
    }
    const bool fabryczne = s_.FactoryPending != 0;
    uint32_t bloki = 0;
    for (const TObszar &o : Obszary)
        bloki |= Bit(o.bit);
    s_.WriteRequests &= ~bloki;
    s_.SettingsWritePending = 0;
    s_.FactoryPending = 0;
    s_.Dziennik.PorzucOczekujace();
    if (!zmiany.empty() || fabryczne) {
        if (!czeka_) {
            odlozone_.clear();
            fabryczne_ = false;
            dla_ = numer_;
            dlaOffline_ = offline_;
            czeka_ = true;
        }
        // Set aside twice (a second break before the answer): the newer value of a byte wins.
        for (const TBajt &z : zmiany) {
            bool jest = false;
            for (TBajt &b : odlozone_) {
                if (b.bit == z.bit && b.poz == z.poz) {
                    b.na = z.na;
                    jest = true;
                }
            }
            if (!jest) odlozone_.push_back(z);
        }
        fabryczne_ = fabryczne_ || fabryczne;
    } else if (!czeka_ && (offline_ || numer != numer_)) {
        // Steps made for another image, with nothing of them left to send.
        s_.Dziennik.Wyczysc();
    }
    numer_ = numer;
    offline_ = false;
}

void TSesja::Odczytano(int bit) {
    if (bit < 0 || bit >= 24 || !s_.Blok(bit)) return;
    std::memcpy(baza_[bit], s_.Blok(bit), 256);
    odczytane_ |= Bit(bit);
    Poloz(bit);
}

void TSesja::Wyslano(int bit, const uint8_t *blok) {
    if (bit >= 0 && bit < 24) std::memcpy(wyslane_[bit], blok, 256);
}

void TSesja::Potwierdzono(int bit) {
    if (bit >= 0 && bit < 24) std::memcpy(baza_[bit], wyslane_[bit], 256);
}

void TSesja::Komorka(int bit, int poz, uint8_t v) {
    if (bit >= 0 && bit < 24 && poz >= 0 && poz < 256) baza_[bit][poz] = v;
}

void TSesja::PoZdarzeniu() {
    constexpr uint32_t pelny = 0xF3071F; // every block a settings file holds
    if (!czeka_ || !TenSam() || (odczytane_ & pelny) != pelny || (s_.ReadRequests & pelny)) return;
    if (const int kept = Zastosuj(true); kept > 0 && s_.Dziennik.OnZachowane) s_.Dziennik.OnZachowane(kept);
}

void TSesja::PlikBezSterownika() {
    for (const TObszar &o : Obszary)
        std::memcpy(baza_[o.bit], s_.Blok(o.bit), 256);
    numer_.clear();
    offline_ = true;
}

QStringList TSesja::Lista() const {
    QStringList l;
    for (const TObszar &o : Obszary) {
        for (const TBajt &b : odlozone_) {
            if (b.bit == o.bit) {
                l << LangText(o.nazwa);
                break;
            }
        }
    }
    if (fabryczne_) l << LangText(4272);
    return l;
}

int TSesja::Zastosuj(bool tak) {
    if (!czeka_) return 0;
    czeka_ = false;
    std::vector<TBajt> l;
    l.swap(odlozone_);
    const bool fabryczne = fabryczne_;
    fabryczne_ = false;
    if (!tak) {
        s_.Dziennik.Wyczysc();
        return 0;
    }
    tenSamPoOdczycie_ = TenSam();
    zachowane_ = 0;
    uint32_t nieodczytane = 0;
    for (const TBajt &b : l) {
        poOdczycie_.push_back(b);
        if (!(odczytane_ & Bit(b.bit))) nieodczytane |= Bit(b.bit);
    }
    // A table read only on demand is read first, so that the rest of it stays the controller's.
    if (nieodczytane) s_.CzytajZeSterownika(nieodczytane);
    for (const TObszar &o : Obszary)
        if (odczytane_ & Bit(o.bit)) Poloz(o.bit);
    if (fabryczne) s_.FactoryPending = 1;
    return zachowane_;
}

void TSesja::Poloz(int bit) {
    bool jest = false;
    uint8_t *blok = s_.Blok(bit);
    for (auto it = poOdczycie_.begin(); it != poOdczycie_.end();) {
        if (it->bit != bit) {
            ++it;
            continue;
        }
        // The same controller: a value it changed itself since (a learnt cell) stays its own.
        if (tenSamPoOdczycie_ && blok[it->poz] != it->z) {
            ++zachowane_;
        } else {
            blok[it->poz] = it->na;
            jest = true;
        }
        it = poOdczycie_.erase(it);
    }
    if (!jest) return;
    s_.ZapiszDoSterownika(Bit(bit));
    if (bit == BitNastawy) s_.ListaRpmLamMafAfr();
}
