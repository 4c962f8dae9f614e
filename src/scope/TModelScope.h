#pragma once
// The recorder behind the scope view: one hour of 128-byte live samples in a ring, the view's
// window on them (first, last, zoom, layout, state) and the channel arithmetic of the traces.
// No widgets here, so every rule can be driven directly.
#include "scope/TPodsumowanie.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct TWykres;

class TModelScope {
public:
    static constexpr int Pojemnosc = 36000; // samples: one hour at 10 samples a second
    static constexpr int Rozmiar = 128;     // bytes of one sample
    static constexpr int IleZoomow = 9;
    static constexpr int ZoomStartowy = 3;

    // Recorder states.
    enum : int { Live = 1, Pauza = 2, Stop = 3, Odtwarzanie = 5 };

    TModelScope();

    // ---------------------------------------------------------------- samples
    // The buffer as stored: slot Start() holds the oldest sample, the ring wraps at Pojemnosc.
    uint8_t *Bufor() { return probki_.get(); }
    const uint8_t *Bufor() const { return probki_.get(); }
    int Ile() const { return ile_; } // samples held, 0 … Pojemnosc
    // Samples stored since the recording was cleared or loaded (the loaded ones included): sample i
    // is number Dodane() − Ile() + i of them, whatever the ring has dropped since.
    int64_t Dodane() const { return dodane_; }
    int Start() const { return start_; } // slot of the oldest sample
    // Sample i counted from the oldest; nullptr for no sample (i < 0 or i >= Ile()).
    const uint8_t *Probka(int i) const;
    // Stores one sample as the newest, overwriting the oldest once the hour is full; returns the slot.
    int Dodaj(const uint8_t *bytes);
    // All samples to 0, nothing held.
    void Kasuj();
    // Turns the ring so that the oldest sample is in slot 0: the buffer then reads in time order.
    void Wyprostuj();
    // n samples were loaded into slots 0 … n − 1.
    void Wczytane(int n);
    // The buffer was written from outside (a load that failed half-way): the extremes kept per
    // channel are worked out again when next asked for.
    void BuforZmieniony() { podsumowania_.clear(); }

    // Elapsed recording time of the fuel-change history: the samples taken since the last clear,
    // restarting after each hour, × 0.1 s, "0.0" followed by " [s]".
    QString CzasNagrania() const;
    int Licznik() const { return licznik_; }

    // ---------------------------------------------------------------- view
    int First = 0; // sample at the plot's left edge (may be negative)
    int Last = 0;  // sample at the plot's right edge
    int ZoomIndeks = ZoomStartowy;
    int Uklad = 3; // channel layout 1 overlay, 2 grouped, 3 stacked
    int Stan = Live;
    double Zoom() const; // samples per pixel
    static double ZoomZ(int index);
    // Extra pixels a trace skips per sample when one sample spans several pixels.
    int Przeskok() const;
    // Smallest and largest pixel height of a series over samples i0 … i0 + n − 1 in a band of c
    // pixels (samples outside the recording count as 0): one pixel column at zoom above 1. Read from
    // the extremes kept per channel, so a column costs the same at every zoom.
    void ZakresKanalu(const TWykres &w, int i0, int n, int c, int &lo, int &hi) const;
    // The same for `ile` neighbouring columns of n samples, the first from i0, into lo[] and hi[].
    void ZakresyKanalu(const TWykres &w, int i0, int n, int ile, int c, int *lo, int *hi) const;
    // WartoscKanalu of series w in samples i[0 … n − 1] (c = 0: decoded values) into out, read from
    // the keys kept per channel (two bytes a sample instead of the whole sample) where they settle it.
    void WartosciProbek(const TWykres &w, const int *i, int n, int c, int *out) const;
    // Texts under the plot: seconds per division ("5 [s/dz]     "), time at the right edge.
    QString TekstDzialki() const;
    QString TekstCzasu() const;

private:
    const TPodsumowanie &Podsumowanie(TPodsumowanie::TRodzaj rodzaj) const;

    std::unique_ptr<uint8_t[]> probki_;
    // Extremes of the channels asked for lately, kept up to date with every sample; the least
    // recently used goes when more are asked for.
    static constexpr int IlePodsumowan = 16;
    mutable std::vector<std::unique_ptr<TPodsumowanie>> podsumowania_;
    mutable std::vector<uint64_t> uzyte_;
    mutable uint64_t zapytania_ = 0;
    int ile_ = 0;
    int64_t dodane_ = 0;
    int start_ = 0;
    int licznik_ = 0;
};

// Decoded value of a series in a sample (c = 0), or its pixel height in a band of c pixels.
// No sample (nullptr) gives 0.
int WartoscKanalu(const TWykres &w, const uint8_t *sample, int c);
// Pixel height of a decoded value d in a band of c pixels (c != 0).
int PikselKanalu(const TWykres &w, double d, int c);

// The series' short name, then, for a sample, "=" and its value; last 26 spaces, so that a shorter
// text written over a longer one covers it.
QString NazwaKanalu(const TWykres &w);
QString TekstKanalu(const TWykres &w, const uint8_t *sample);
