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
    ++dodane_;
    for (const auto &p : podsumowania_)
        p->Zapisano(probki_.get(), slot);
    return slot;
}

void TModelScope::Kasuj() {
    std::memset(probki_.get(), 0, size_t(Pojemnosc) * Rozmiar);
    ile_ = 0;
    dodane_ = 0;
    start_ = 0;
    licznik_ = 0;
    First = 0;
    BuforZmieniony();
}

void TModelScope::Wyprostuj() {
    if (start_ == 0) return;
    uint8_t *b = probki_.get();
    std::rotate(b, b + size_t(start_) * Rozmiar, b + size_t(Pojemnosc) * Rozmiar);
    start_ = 0;
    BuforZmieniony();
}

void TModelScope::Wczytane(int n) {
    ile_ = std::clamp(n, 0, Pojemnosc);
    dodane_ = ile_;
    start_ = 0;
    licznik_ = ile_ % Pojemnosc;
    BuforZmieniony();
}

const TPodsumowanie &TModelScope::Podsumowanie(TPodsumowanie::TRodzaj rodzaj) const {
    ++zapytania_;
    size_t i = 0;
    while (i < podsumowania_.size() && podsumowania_[i]->Rodzaj() != rodzaj)
        ++i;
    if (i == podsumowania_.size()) {
        if (podsumowania_.size() >= size_t(IlePodsumowan)) {
            i = size_t(std::min_element(uzyte_.begin(), uzyte_.end()) - uzyte_.begin());
            podsumowania_.erase(podsumowania_.begin() + std::ptrdiff_t(i));
            uzyte_.erase(uzyte_.begin() + std::ptrdiff_t(i));
        }
        auto p = std::make_unique<TPodsumowanie>(rodzaj, Pojemnosc, Rozmiar);
        p->Zbuduj(probki_.get());
        i = podsumowania_.size();
        podsumowania_.push_back(std::move(p));
        uzyte_.push_back(0);
    }
    uzyte_[i] = zapytania_;
    return *podsumowania_[i];
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
    ZakresyKanalu(w, i0, n, 1, c, &lo, &hi);
}

void TModelScope::ZakresyKanalu(const TWykres &w, int i0, int n, int ile, int c, int *lo, int *hi) const {
    // The pixel height follows the channel's key up or down, so the extreme keys of the column give
    // its extreme heights. Neighbouring columns mostly share their extreme keys: each key's height is
    // worked out once (for keys of a byte, every one; else the last one in each of 256 places).
    const TPodsumowanie::TRodzaj rodzaj = TPodsumowanie::RodzajSerii(w);
    const TPodsumowanie *p = nullptr;
    struct TZnany {
        int Klucz = -1, Piksel = 0;
    };
    std::vector<TZnany> znane(ile > 1 ? 256 : 0);
    auto piksel = [&](int k) {
        if (znane.empty()) return TPodsumowanie::PikselKlucza(w, rodzaj, k, c);
        TZnany &z = znane[size_t(k) & 255];
        if (z.Klucz != k) z = {k, TPodsumowanie::PikselKlucza(w, rodzaj, k, c)};
        return z.Piksel;
    };
    for (int j = 0; j < ile; ++j, i0 += n) {
        const int from = std::max(i0, 0), to = std::min(i0 + n, ile_);
        lo[j] = hi[j] = 0;
        if (from >= to) continue;
        if (c == 0 && w.RawType == 23) {
            // The fuel-status value is the whole byte, not its key: sample by sample.
            lo[j] = INT32_MAX;
            hi[j] = INT32_MIN;
            for (int i = from; i < to; ++i) {
                const int v = WartoscKanalu(w, Probka(i), 0);
                lo[j] = std::min(lo[j], v);
                hi[j] = std::max(hi[j], v);
            }
        } else {
            int kmin = 0, kmax = 0;
            if (rodzaj.Typ >= 0) {
                if (!p) p = &Podsumowanie(rodzaj);
                kmin = INT32_MAX;
                kmax = INT32_MIN;
                for (int i = from; i < to; i += TPodsumowanie::NajwiecejProbek) {
                    int a, b;
                    p->Zakres((start_ + i) % Pojemnosc, std::min(to - i, TPodsumowanie::NajwiecejProbek), a,
                              b);
                    kmin = std::min(kmin, a);
                    kmax = std::max(kmax, b);
                }
            }
            const int p1 = piksel(kmin), p2 = kmax == kmin ? p1 : piksel(kmax);
            lo[j] = std::min(p1, p2);
            hi[j] = std::max(p1, p2);
        }
        if (from > i0 || to < i0 + n) { // part of the column lies outside the recording: 0 there
            lo[j] = std::min(lo[j], 0);
            hi[j] = std::max(hi[j], 0);
        }
    }
}

void TModelScope::WartosciProbek(const TWykres &w, const int *i, int n, int c, int *out) const {
    const TPodsumowanie::TRodzaj rodzaj = TPodsumowanie::RodzajSerii(w);
    // The fuel-status key holds only whether the pixel height is 0; its value is the whole byte.
    const TPodsumowanie *p =
        rodzaj.Typ >= 0 && !(c == 0 && w.RawType == 23) ? &Podsumowanie(rodzaj) : nullptr;
    for (int k = 0; k < n; ++k) {
        if (i[k] < 0 || i[k] >= ile_)
            out[k] = 0;
        else if (p)
            out[k] = TPodsumowanie::PikselKlucza(w, rodzaj, p->KluczSlotu((start_ + i[k]) % Pojemnosc), c);
        else
            out[k] = WartoscKanalu(w, Probka(i[k]), c);
    }
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
