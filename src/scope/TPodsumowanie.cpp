#include "scope/TPodsumowanie.h"

#include "device/Wykres.h"
#include "scope/TModelScope.h"

#include <algorithm>
#include <bit>

TPodsumowanie::TRodzaj TPodsumowanie::RodzajSerii(const TWykres &w) {
    const int p = w.Position, t = w.RawType;
    const bool bajt = p >= 0 && p < TModelScope::Rozmiar, slowo = bajt && p + 1 < TModelScope::Rozmiar;
    switch (t) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
        if (bajt) return {p, 10 + t};
        break;
    case 10:
    case 20:
        if (bajt) return {p, 0};
        break;
    case 22:
        if (bajt) return {p, 1};
        break;
    case 11:
    case 21:
    case 24:
        if (slowo) return {p, 2};
        break;
    case 23:
        if (bajt) return {p, 20};
        break;
    default: break;
    }
    return {}; // the value does not depend on the sample
}

TPodsumowanie::TPodsumowanie(TRodzaj rodzaj, int pojemnosc, int rozmiarProbki)
    : rodzaj_(rodzaj), pojemnosc_(pojemnosc), rozmiar_(rozmiarProbki),
      okna_(size_t(Poziomy) * size_t(pojemnosc)) {}

int TPodsumowanie::Klucz(const uint8_t *probka) const {
    const int t = rodzaj_.Typ;
    if (t < 0) return 0;
    const int b = probka[rodzaj_.Pozycja];
    switch (t) {
    case 0: return b;
    case 1: return b == 0 ? 128 : b; // no trim reads as 0 %
    case 2: return b | probka[rodzaj_.Pozycja + 1] << 8;
    case 20: return (b & 0x12) ? 1 : 0;
    default: return (b >> (t - 10)) & 1;
    }
}

int TPodsumowanie::PikselKlucza(const TWykres &w, TRodzaj rodzaj, int k, int c) {
    // A sample that carries only the key, decoded the way every sample is.
    thread_local uint8_t s[TModelScope::Rozmiar] = {};
    const int p = rodzaj.Pozycja, t = rodzaj.Typ;
    if (t < 0) return WartoscKanalu(w, s, c);
    if (t == 0 || t == 1) {
        s[p] = uint8_t(k);
    } else if (t == 2) {
        s[p] = uint8_t(k);
        s[p + 1] = uint8_t(k >> 8);
    } else if (t == 20) {
        s[p] = k ? 0x02 : 0;
    } else {
        s[p] = uint8_t(k << (t - 10));
    }
    const int v = WartoscKanalu(w, s, c);
    s[p] = 0;
    if (t == 2) s[p + 1] = 0;
    return v;
}

void TPodsumowanie::Przelicz(int poziom, int slot) {
    const int pol = 1 << (poziom - 1);
    const TPara a = Okno(poziom - 1, slot), b = Okno(poziom - 1, (slot + pol) % pojemnosc_);
    Okno(poziom, slot) = {std::min(a.Lo, b.Lo), std::max(a.Hi, b.Hi)};
}

void TPodsumowanie::Zbuduj(const uint8_t *bufor) {
    for (int j = 0; j < pojemnosc_; ++j) {
        const auto k = uint16_t(Klucz(bufor + size_t(j) * size_t(rozmiar_)));
        Okno(0, j) = {k, k};
    }
    for (int poziom = 1; poziom < Poziomy; ++poziom)
        for (int j = 0; j < pojemnosc_; ++j)
            Przelicz(poziom, j);
}

void TPodsumowanie::Zapisano(const uint8_t *bufor, int slot) {
    const auto k = uint16_t(Klucz(bufor + size_t(slot) * size_t(rozmiar_)));
    Okno(0, slot) = {k, k};
    // Every window that holds the slot, shortest first: each is made of two shorter ones.
    for (int poziom = 1; poziom < Poziomy; ++poziom)
        for (int d = (1 << poziom) - 1; d >= 0; --d)
            Przelicz(poziom, (slot - d + pojemnosc_) % pojemnosc_);
}

void TPodsumowanie::Zakres(int slot, int n, int &kmin, int &kmax) const {
    n = std::clamp(n, 1, NajwiecejProbek);
    const int poziom = std::min(int(std::bit_width(unsigned(n))) - 1, Poziomy - 1);
    const TPara a = Okno(poziom, slot), b = Okno(poziom, (slot + n - (1 << poziom)) % pojemnosc_);
    kmin = std::min(a.Lo, b.Lo);
    kmax = std::max(a.Hi, b.Hi);
}
