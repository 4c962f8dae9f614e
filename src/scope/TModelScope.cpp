#include "scope/TModelScope.h"

#include "device/Liczby.h"
#include "device/ScopeCsv.h"
#include "device/Wykres.h"
#include "lang/LangText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr double Zoomy[TModelScope::IleZoomow] = {0.1, 0.2, 0.4, 1, 2, 4, 10, 20, 40};
// trunc(1 / zoom − 1) for the zooms below 1, worked out once (1 / 0.1 is not exactly 10 in doubles).
constexpr int Przeskoki[TModelScope::IleZoomow] = {9, 4, 1, 0, 0, 0, 0, 0, 0};
const QString Spacje26(26, QLatin1Char(' '));
} // namespace

TModelScope::TModelScope() : probki_(new uint8_t[size_t(Pojemnosc) * Rozmiar]()) {}

const uint8_t *TModelScope::Probka(int i) const {
    if (i < 0 || i >= ile_) return nullptr;
    const int slot = (start_ + i) % Pojemnosc;
    return probki_.get() + size_t(slot) * Rozmiar;
}

int TModelScope::Dodaj(const uint8_t *bytes) {
    int slot;
    if (ile_ < Pojemnosc) {
        slot = (start_ + ile_) % Pojemnosc;
        ++ile_;
    } else {
        slot = start_; // the hour is full: the oldest sample makes room
        start_ = (start_ + 1) % Pojemnosc;
    }
    std::memcpy(probki_.get() + size_t(slot) * Rozmiar, bytes, Rozmiar);
    licznik_ = (licznik_ + 1) % Pojemnosc;
    return slot;
}

void TModelScope::Kasuj() {
    std::memset(probki_.get(), 0, size_t(Pojemnosc) * Rozmiar);
    ile_ = 0;
    start_ = 0;
    licznik_ = 0;
    First = 0;
}

void TModelScope::Wyprostuj() {
    if (start_ == 0) return;
    uint8_t *b = probki_.get();
    std::rotate(b, b + size_t(start_) * Rozmiar, b + size_t(Pojemnosc) * Rozmiar);
    start_ = 0;
}

void TModelScope::Wczytane(int n) {
    ile_ = std::clamp(n, 0, Pojemnosc);
    start_ = 0;
    licznik_ = ile_ % Pojemnosc;
}

QString TModelScope::CzasNagrania() const {
    return FormatLiczby(licznik_ * 0.1, 1) + QStringLiteral(" [s]");
}

double TModelScope::ZoomZ(int index) {
    return Zoomy[std::clamp(index, 0, IleZoomow - 1)];
}

double TModelScope::Zoom() const {
    return ZoomZ(ZoomIndeks);
}

int TModelScope::Przeskok() const {
    return Przeskoki[std::clamp(ZoomIndeks, 0, IleZoomow - 1)];
}

QString TModelScope::TekstDzialki() const {
    return FormatLiczby(Zoom() * 5, 0) + QLatin1Char(' ') + LangText(1062) + QString(5, QLatin1Char(' '));
}

QString TModelScope::TekstCzasu() const {
    return FormatLiczby(Last * 0.1, 1) + QLatin1Char(' ') + LangText(1055);
}

int PikselKanalu(const TWykres &w, double d, int c) {
    const double gain = w.Gain;
    switch (w.RawType) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7: return c * int(d);
    case 10: return int(std::trunc(gain * d * c / 256));
    case 11: return int(std::trunc(gain * c * d / 1024));
    case 20: return int(std::trunc(gain * c * d / 256));
    case 21: return int(std::trunc(gain * c * d / 1024));
    case 22: return int(std::trunc(gain * c * d / 100));
    case 23: return (int(d) & 0x12) ? int(std::trunc(gain * c * 0.5)) : 0;
    case 24: return int(std::trunc(c * d * gain / 1024 * 0.25));
    default: return 0;
    }
}

int WartoscKanalu(const TWykres &w, const uint8_t *sample, int c) {
    if (!sample) return 0;
    const double d = ScopeCsv::WartoscKanalu(w, sample);
    return c == 0 ? int(d) : PikselKanalu(w, d, c);
}

void TModelScope::ZakresKanalu(const TWykres &w, int i0, int n, int c, int &lo, int &hi) const {
    // Every decoding that grows with its raw byte or word gives its extremes at the raw extremes, so
    // a column needs one pass over the raw values and two decodings; the others go sample by sample.
    const int t = w.RawType, p = w.Position;
    const bool bajt = t == 10 || t == 20 || t == 22;
    const bool slowo = t == 11 || t == 21 || t == 24;
    const int from = std::max(i0, 0), to = std::min(i0 + n, ile_);
    const bool brak = from > i0 || to < i0 + n; // some of the column lies outside the recording
    lo = hi = 0;
    bool first = !brak;
    auto dodaj = [&](int v) {
        if (first) {
            lo = hi = v;
            first = false;
        } else {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    };
    if (from >= to) return;
    const bool wBajcie = p >= 0 && p < Rozmiar, wSlowie = p >= 0 && p + 1 < Rozmiar;
    if ((bajt && wBajcie) || (slowo && wSlowie)) {
        int rlo = INT32_MAX, rhi = INT32_MIN;
        int slot = (start_ + from) % Pojemnosc;
        const uint8_t *b = probki_.get() + p;
        for (int i = from; i < to; ++i) {
            const uint8_t *q = b + size_t(slot) * Rozmiar;
            int r = bajt ? q[0] : q[0] | q[1] << 8;
            if (t == 22 && r == 0) r = 128; // no trim reads as 0 %
            rlo = std::min(rlo, r);
            rhi = std::max(rhi, r);
            if (++slot == Pojemnosc) slot = 0;
        }
        uint8_t s[Rozmiar] = {};
        s[p] = uint8_t(rlo);
        if (slowo) s[p + 1] = uint8_t(rlo >> 8);
        dodaj(WartoscKanalu(w, s, c));
        s[p] = uint8_t(rhi);
        if (slowo) s[p + 1] = uint8_t(rhi >> 8);
        dodaj(WartoscKanalu(w, s, c));
        return;
    }
    for (int i = from; i < to; ++i)
        dodaj(WartoscKanalu(w, Probka(i), c));
}

QString NazwaKanalu(const TWykres &w) {
    const int id = w.LabelId;
    return LangText(id >= 1400 && id <= 1440 ? id + 1 : id);
}

QString TekstKanalu(const TWykres &w, const uint8_t *sample) {
    QString t = NazwaKanalu(w);
    if (sample) {
        t += QLatin1Char('=');
        const int d = WartoscKanalu(w, sample, 0);
        if (w.RawType == 23) {
            switch (d) {
            case 1: t += QStringLiteral(" OL"); break;
            case 2: t += QStringLiteral(" CL"); break;
            case 4: t += QStringLiteral(" OL Load"); break;
            case 8: t += QStringLiteral(" OL Fault"); break;
            case 16: t += QStringLiteral(" CL Error"); break;
            default: break;
            }
        } else {
            t += ScopeCsv::TekstWartosci(w, sample);
        }
    }
    return t + Spacje26;
}
