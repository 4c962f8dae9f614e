#include "device/TDziennik.h"

#include "device/TSterownik.h"

#include <algorithm>
#include <cstring>

namespace {

// The areas of the journal, back to back in one position space.
struct TObszar {
    int bit;
    int rozmiar;
};
constexpr TObszar Obszary[] = {
    {BitNastawy, 304},
    {BitMnoznik1, 256},
    {BitMnoznik2, 256},
    {BitKorObr1, 256},
    {BitKorObr2, 256},
    {BitKorCis, 256},
    {BitKorTempRed, 256},
    {BitKorTempGazu, 256},
    {BitEmulator, 256},
    {BitOpoznienia, 256},
    {BitWzbogacenie, 256},
    {BitMapaA, 256},
    {BitMapaB, 256},
    {BitMapaC, 256},
    {BitMapaD, 256},
    {BitMapaE, 256},
    {BitMapaF, 256},
    {24, 192}, // identification (DziennikIdent)
    {25, 2},   // FactoryPending, InjectorMask (DziennikStan)
};
constexpr int IleObszarow = int(std::size(Obszary));
// Settings item whose lowest bit says what the load axis of the RPM corrections is: the controller
// rebuilds both correction banks when it changes.
constexpr int ItemOsiKorekt = 76;
constexpr int BitIdent = 24, BitStanu = 25;

struct TPoczatki {
    int p[IleObszarow + 1] = {};
    constexpr TPoczatki() {
        for (int i = 0; i < IleObszarow; ++i)
            p[i + 1] = p[i] + Obszary[i].rozmiar;
    }
};
constexpr TPoczatki Poczatki;

constexpr int Start(int i) {
    return Poczatki.p[i];
}

int ObszarPozycji(int poz) {
    const int *k = std::upper_bound(Poczatki.p + 1, Poczatki.p + IleObszarow, poz);
    return int(k - (Poczatki.p + 1));
}

} // namespace

QString TOpisKroku::Tekst() const {
    if (Przed.isEmpty() && Po.isEmpty()) return Co;
    QString t = Co + QLatin1Char(' ') + Przed + QString::fromUtf8(" → ") + Po;
    if (!Jednostka.isEmpty()) t += QLatin1Char(' ') + Jednostka;
    return t;
}

uint8_t &TDziennik::Bajt(int poz) {
    const int i = ObszarPozycji(poz);
    const int off = poz - Start(i);
    if (Obszary[i].bit == BitStanu) return off == 0 ? s_.FactoryPending : s_.InjectorMask;
    return Dane(i)[off];
}

uint8_t *TDziennik::Dane(int obszar) {
    const int bit = Obszary[obszar].bit;
    return bit == BitIdent ? s_.Identyfikacja : bit == BitStanu ? nullptr : s_.Blok(bit);
}

// Copies area i into out (the state area is two separate fields).
void TDziennik::Kopiuj(int i, uint8_t *out) {
    if (uint8_t *d = Dane(i)) {
        std::memcpy(out, d, size_t(Obszary[i].rozmiar));
    } else {
        out[0] = s_.FactoryPending;
        out[1] = s_.InjectorMask;
    }
}

void TDziennik::Poczatek(uint32_t bloki, uint32_t gest) {
    static_assert(Start(IleObszarow) == Rozmiar);
    if (glebokosc_++ == 0) {
        bloki_ = 0;
        gest_ = gest;
        opisWewn_ = TOpisKroku();
    }
    const uint32_t nowe = bloki & DziennikWszystko & ~bloki_;
    bloki_ |= nowe;
    for (int i = 0; i < IleObszarow; ++i)
        if (nowe & (1u << Obszary[i].bit)) Kopiuj(i, kopia_.data() + Start(i));
}

void TDziennik::Koniec(const TOpisKroku &opis, bool porzuc) {
    if (glebokosc_ == 0) return;
    if (--glebokosc_ > 0) {
        if (opisWewn_.Co.isEmpty()) opisWewn_ = opis;
        return;
    }
    if (porzuc) return;
    std::vector<TBajt> nowe;
    uint8_t teraz[304];
    for (int i = 0; i < IleObszarow; ++i) {
        if (!(bloki_ & (1u << Obszary[i].bit))) continue;
        Kopiuj(i, teraz);
        const uint8_t *przed = kopia_.data() + Start(i);
        for (int k = 0; k < Obszary[i].rozmiar; ++k)
            if (teraz[k] != przed[k]) nowe.push_back({uint16_t(Start(i) + k), przed[k], teraz[k]});
    }
    if (nowe.empty()) return;
    const TOpisKroku &o = opis.Co.isEmpty() ? opisWewn_ : opis;
    if (gest_ != 0 && scalaj_ && !cofnij_.empty() && cofnij_.back().gest == gest_) {
        Scal(cofnij_.back(), std::move(nowe), o);
        if (cofnij_.back().bajty.empty()) cofnij_.pop_back(); // the gesture came back to its start
    } else {
        cofnij_.push_back({o, std::move(nowe), gest_});
        if (int(cofnij_.size()) > MaksKrokow) cofnij_.pop_front();
    }
    ponow_.clear();
    scalaj_ = true;
}

void TDziennik::Scal(TKrok &k, std::vector<TBajt> &&nowe, const TOpisKroku &opis) {
    std::vector<TBajt> w;
    w.reserve(k.bajty.size() + nowe.size());
    size_t i = 0, j = 0;
    while (i < k.bajty.size() || j < nowe.size()) {
        if (j == nowe.size() || (i < k.bajty.size() && k.bajty[i].poz < nowe[j].poz)) {
            w.push_back(k.bajty[i++]);
        } else if (i == k.bajty.size() || nowe[j].poz < k.bajty[i].poz) {
            w.push_back(nowe[j++]);
        } else {
            const TBajt b{k.bajty[i].poz, k.bajty[i].przed, nowe[j].po};
            if (b.przed != b.po) w.push_back(b);
            ++i;
            ++j;
        }
    }
    k.bajty = std::move(w);
    // The run's name: its first value before, its last after.
    const QString przed = k.opis.Przed;
    k.opis = opis;
    if (!przed.isEmpty()) k.opis.Przed = przed;
}

bool TDziennik::Cofnij() {
    if (glebokosc_ > 0 || cofnij_.empty()) return false;
    TKrok k = std::move(cofnij_.back());
    cofnij_.pop_back();
    Zastosuj(k, true);
    ponow_.push_back(std::move(k));
    scalaj_ = false;
    return true;
}

bool TDziennik::Ponow() {
    if (glebokosc_ > 0 || ponow_.empty()) return false;
    TKrok k = std::move(ponow_.back());
    ponow_.pop_back();
    Zastosuj(k, false);
    cofnij_.push_back(std::move(k));
    scalaj_ = false;
    return true;
}

void TDziennik::Wyczysc() {
    cofnij_.clear();
    ponow_.clear();
    oczekujace_.clear();
    oczekujaceBloki_ = 0;
    scalaj_ = false;
}

void TDziennik::Zastosuj(const TKrok &k, bool wstecz) {
    uint32_t zmienione = 0;
    int zachowane = 0;
    for (const TBajt &b : k.bajty) {
        const uint8_t z = wstecz ? b.po : b.przed, na = wstecz ? b.przed : b.po;
        uint8_t &v = Bajt(b.poz);
        // Changed since by someone else (a learnt cell, a read-back): left as it is.
        if (v != z) {
            ++zachowane;
            continue;
        }
        v = na;
        const int i = ObszarPozycji(b.poz);
        const int bit = Obszary[i].bit;
        zmienione |= 1u << bit;
        if (bit < BitIdent) {
            // A byte undone twice before its block went out: the controller still holds what
            // the first of them found.
            const auto [it, nowy] = oczekujace_.try_emplace(b.poz, z, na);
            if (!nowy) it->second.second = na;
            if (it->second.first == it->second.second) oczekujace_.erase(it);
        }
        if (bit == BitStanu && b.poz - Start(i) == 1) s_.InjectorMaskPending = 1;
        // The axis switched back: the banks are read again, as after the switch itself.
        if (bit == BitNastawy && b.poz - Start(i) == ItemOsiKorekt && ((z ^ na) & 1))
            s_.CzytajZeSterownika((1u << BitKorObr1) | (1u << BitKorObr2));
    }
    if (zachowane > 0 && OnZachowane) OnZachowane(zachowane);
    oczekujaceBloki_ |= zmienione & 0xFFFFFFu;
    if (zmienione & (1u << BitNastawy)) s_.ListaRpmLamMafAfr();
    if (zmienione & DziennikIdent) s_.ListaParamOdPlytki();
    Przeslij();
}

void TDziennik::Przeslij() {
    bool nastawy = false;
    int zachowane = 0;
    for (int i = 0; i < IleObszarow && oczekujaceBloki_; ++i) {
        const uint32_t bit = 1u << Obszary[i].bit;
        if (!(oczekujaceBloki_ & bit) || !s_.ZapisMozliwy(bit)) continue;
        // The block may have been read again meanwhile: the step's bytes go over it once more,
        // where the controller still holds what the step had undone or redone.
        const auto od = oczekujace_.lower_bound(uint16_t(Start(i)));
        const auto doo = oczekujace_.lower_bound(uint16_t(Start(i) + Obszary[i].rozmiar));
        for (auto it = od; it != doo; ++it) {
            uint8_t &v = Bajt(it->first);
            if (v == it->second.first) {
                v = it->second.second;
                nastawy = nastawy || Obszary[i].bit == BitNastawy;
            } else {
                ++zachowane;
            }
        }
        oczekujace_.erase(od, doo);
        oczekujaceBloki_ &= ~bit;
        s_.ZapiszDoSterownika(bit);
    }
    if (nastawy) s_.ListaRpmLamMafAfr();
    if (zachowane > 0 && OnZachowane) OnZachowane(zachowane);
}

void TDziennik::PoOdpowiedzi(uint8_t) {
    if (oczekujaceBloki_) Przeslij();
}

void TDziennik::PorzucOczekujace() {
    oczekujace_.clear();
    oczekujaceBloki_ = 0;
}
