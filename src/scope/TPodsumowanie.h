#pragma once
// Extremes of one channel over the recording, kept as samples arrive, so that a pixel column at any
// zoom reads two entries instead of every sample behind it.
//
// A channel's pixel height grows (or, with a negative gain, falls) with one integer key of the sample:
// its raw byte or word, the bit it shows, the trim byte with "no value" read as 128, the fuel-status
// flags. The summary holds, for every slot of the recorder's ring and every window of 1, 2, 4 … 32
// slots starting there, the smallest and largest key; any run of up to 64 samples is the union of
// two such windows, and its extreme pixel heights are those of its extreme keys.
#include <cstddef>
#include <cstdint>
#include <vector>

struct TWykres;

class TPodsumowanie {
public:
    static constexpr int Poziomy = 6;          // windows of 1 … 32 slots
    static constexpr int NajwiecejProbek = 64; // the longest run one query answers
    // The key a series is summarised by: the byte or word behind it and how it is read.
    struct TRodzaj {
        int Pozycja = -1;
        int Typ = -1; // 0 byte, 1 trim byte, 2 word, 10 + n bit n, 20 fuel status; -1 none (always 0)
        bool operator==(const TRodzaj &) const = default;
    };
    static TRodzaj RodzajSerii(const TWykres &w);

    TPodsumowanie(TRodzaj rodzaj, int pojemnosc, int rozmiarProbki);
    TRodzaj Rodzaj() const { return rodzaj_; }

    // Every slot from the buffer (all of it is read; slots not yet recorded are never asked for).
    void Zbuduj(const uint8_t *bufor);
    // Slot `slot` of the buffer was written.
    void Zapisano(const uint8_t *bufor, int slot);
    // Smallest and largest key over n (1 … 64) slots from `slot` on, the ring wrapping.
    void Zakres(int slot, int n, int &kmin, int &kmax) const;

    int Klucz(const uint8_t *probka) const;
    int KluczSlotu(int slot) const { return Okno(0, slot).Lo; }
    // Pixel height of series w in a band of c pixels for a sample whose key is k.
    static int PikselKlucza(const TWykres &w, TRodzaj rodzaj, int k, int c);

private:
    struct TPara {
        uint16_t Lo, Hi;
    };
    TPara &Okno(int poziom, int slot) { return okna_[size_t(poziom) * size_t(pojemnosc_) + size_t(slot)]; }
    const TPara &Okno(int poziom, int slot) const {
        return okna_[size_t(poziom) * size_t(pojemnosc_) + size_t(slot)];
    }
    void Przelicz(int poziom, int slot);

    TRodzaj rodzaj_;
    int pojemnosc_;
    int rozmiar_;
    std::vector<TPara> okna_; // Poziomy x pojemnosc
};
