#include "scope/TModelScope.h"

#include "app/core/LangText.h"
#include "device/Liczby.h"
#include "device/ScopeCsv.h"
#include "device/Wykres.h"

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

int WartoscKanalu(const TWykres &w, const uint8_t *sample, int c) {
    if (!sample) return 0;
    const double d = ScopeCsv::WartoscKanalu(w, sample);
    if (c == 0) return int(d);
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
