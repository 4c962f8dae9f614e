// Naming, showing and changing the settings items; the records themselves are in KatalogNastaw.cpp.
#include "settings/TKatalogNastaw.h"

#include "device/Liczby.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int IdTak = 1080;
constexpr int IdNie = 1081;
constexpr int IdJednostki = 1049; // + unit code 1..8

const TNastawa PustyRekord{};

bool Poprawny(int item) {
    return item >= 0 && item < IleNastaw;
}

// Gas level sensor thresholds (items 41..44) for each sensor type of item 40.
constexpr uint8_t ProgiPoziomu[4][4] = {
    {44, 39, 20, 8},
    {8, 20, 39, 44},
    {58, 54, 40, 11},
    {11, 40, 54, 58},
};

} // namespace

TKatalogNastaw::TKatalogNastaw(TSterownik *sterownik) : Sterownik(sterownik) {}

void TKatalogNastaw::DodajNastawe(int item, int labelId, int unit, double scale, int kind, int min, int def,
                                  int max, std::initializer_list<int> choices) {
    if (!Poprawny(item)) return;
    TNastawa &n = Nastawy[item];
    n = TNastawa{};
    n.LabelId = labelId;
    n.Unit = uint8_t(std::clamp(unit, 0, 8));
    n.Scale = scale;
    n.Kind = uint8_t(kind);
    n.Min = uint8_t(std::clamp(min, 0, 255));
    n.Default = uint8_t(std::clamp(def, 0, 255));
    n.Max = uint8_t(std::clamp(max, 0, 255));
    // Limits given the wrong way round are swapped: every clamp and list between them needs Min <= Max.
    if (n.Min > n.Max) std::swap(n.Min, n.Max);
    int i = 0;
    for (int id : choices) {
        if (i >= 10) break;
        n.Choice[i++] = id;
    }
}

const TNastawa &TKatalogNastaw::Rekord(int item) const {
    return Poprawny(item) ? Nastawy[item] : PustyRekord;
}

QString TKatalogNastaw::NazwaNastawy(int item) const {
    return LangText(Rekord(item).LabelId);
}

QString TKatalogNastaw::JednostkaNastawy(int item) const {
    const int unit = Rekord(item).Unit;
    return unit ? LangText(IdJednostki + unit) : QString();
}

int TKatalogNastaw::Wartosc(int item) const {
    if (!Sterownik || !Poprawny(item)) return 0;
    return Sterownik->Nastawy[item];
}

QString TKatalogNastaw::TekstNastawy(int item, int raw) {
    if (!Poprawny(item)) return QString();
    const TNastawa &n = Nastawy[item];
    const bool zBloku = raw == -1;
    if (zBloku) raw = Wartosc(item);

    switch (n.Rodzaj()) {
    case NastawaFlaga: return LangText(raw != 0 ? IdTak : IdNie);
    case NastawaKodBledu: return QStringLiteral("-");
    case NastawaWybor: {
        if (raw < n.Min || raw > n.Max) {
            const int limit = raw < n.Min ? n.Min : n.Max;
            // A byte out of range in the block is corrected and written back the first time it is
            // shown (the program's own mend, not a step of the journal); a value merely asked about
            // is shown by its limit and changes nothing.
            if (zBloku && Sterownik && CzyDostepna(item) && !BlokadaZmian) Ustaw(item, limit);
            raw = limit;
        }
        QString t;
        if (item == 24)
            t = NazwaTypuWtryskiwacza(raw);
        else if (item == 109 || item == 257)
            t = NazwaProtokoluObd(raw);
        else if (raw >= 0 && raw < 10 && n.Choice[raw] != 0)
            t = LangText(n.Choice[raw]);
        if (item == 24 || item == 40 || item == 45 || item == 46) {
            const qsizetype p = t.indexOf(QLatin1String("Ohm"));
            if (p >= 0) t.replace(p, 3, QChar(0x2126));
        }
        return t;
    }
    default: break;
    }

    double x = raw;
    if (n.Rodzaj() == NastawaPrzesuniecie) x = raw - 128;
    x *= n.Scale;
    if (Sterownik) {
        if (item == 90) x += 1.0 + (Sterownik->Identyfikacja[66] - 128) * 0.01;
        if (item == 92) x += 1.0 + (Sterownik->Identyfikacja[68] - 128) * 0.01;
    }
    return FormatLiczby(x, n.Miejsca());
}

bool TKatalogNastaw::CzyDostepna(int item) const {
    const int sygnal = Wartosc(1);
    switch (item) {
    case 2: return sygnal > 6;
    case 3: return sygnal != 7;
    case 4: return sygnal == 7;
    default: return true;
    }
}

void TKatalogNastaw::Zapisz(int item, int value) {
    Sterownik->Nastawy[item] = uint8_t(std::clamp(value, 0, 255));
}

void TKatalogNastaw::UstawNastawe(int item, int value) {
    if (!Poprawny(item)) return;
    if (!CzyDostepna(item) || BlokadaZmian) {
        Beep();
        return;
    }
    if (!Sterownik) return;
    // One step of the journal, named by the item and its values before and after.
    TZmiana krok(&Sterownik->Dziennik, 1u << BitNastawy);
    const int przed = Wartosc(item);
    Ustaw(item, value);
    krok.Opis({NazwaNastawy(item), TekstNastawy(item, przed), TekstNastawy(item, Wartosc(item)),
               JednostkaNastawy(item)});
}

void TKatalogNastaw::Ustaw(int item, int value) {
    const TNastawa &n = Nastawy[item];
    value = std::clamp(value, int(n.Min), int(n.Max));
    Zapisz(item, value);
    Zmiany(item, value);
    Sterownik->ZapiszDoSterownika(1u << BitNastawy);
    if (OnZmiana) OnZmiana();
}

// The items that follow from a changed one.
void TKatalogNastaw::Zmiany(int item, int value) {
    TSterownik &s = *Sterownik;
    switch (item) {
    case 1: { // RPM signal: pulses per cycle follow the coil layout
        static constexpr int Dzielnik[8] = {1, 2, 3, 4, 5, 6, 8, 1};
        Zapisz(2, value >= 0 && value < 8 ? Dzielnik[value] : 116);
        if (value != 7) Zapisz(4, 0);
        break;
    }
    case 8: { // petrol injection type: which petrol signal drives which gas injector
        const int maska = s.InjectorCount == 6 ? 0x3F : s.InjectorCount == 4 ? 0x0F : 0xFF;
        for (int k = 0; k < 8; ++k) {
            int m = 0;
            if (value == 0)
                m = (1 << k) & maska;
            else if (value == 1)
                m = k == 0 ? (maska & 0x55) : k == 1 ? (maska & 0xAA) : 0;
            else
                m = k == 0 ? maska : 0;
            Zapisz(32 + k, m);
        }
        Zapisz(56, value);
        if (s.StatusBytes[0] != 0) s.FuelFastPending = 1;
        s.InjectorMaskPending = 1;
        break;
    }
    case 10: // engine type: load axis of the maps
        if (value == 0) {
            for (int i = 0; i < 16; ++i)
                Zapisz(224 + i, Nastawy[224 + i].Default);
        } else if (value == 1) {
            for (int i = 0; i < 16; ++i)
                Zapisz(224 + i, ((i + 1) * 200) / 16);
        }
        s.ObliczKorekteOdniesienia();
        break;
    case 12:
        if (value == 0) s.InjectorMaskPending = 1;
        break;
    case 24:
        if (value >= 0 && value < IleTypowWtryskiwaczy)
            for (int i = 0; i < 4; ++i)
                Zapisz(25 + i, TypyWtryskiwaczy[value].Wartosci[i]);
        break;
    case 40:
        if (value >= 0 && value < 4)
            for (int i = 0; i < 4; ++i)
                Zapisz(41 + i, ProgiPoziomu[value][i]);
        break;
    case 85:
    case 86: s.ObliczKorekteOdniesienia(); break;
    default: break;
    }
}

void TKatalogNastaw::NastawyDomyslne() {
    if (!Sterownik) return;
    for (int i = 0; i < IleNastaw; ++i)
        Sterownik->Nastawy[i] = Nastawy[i].Default;
}
