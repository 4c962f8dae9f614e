// The chart series catalogue: every live value the controller reports (and a few computed service
// values), where it lies in the live bytes, how it is decoded, shown and listed.
#include "device/TSterownik.h"

namespace {

constexpr uint32_t Rgb(int r, int g, int b) {
    return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}

// Raw types of the catalogue.
enum : int {
    TypBajt = 10,
    TypSlowo = 11,
    TypKalibracja = 12,
    TypDwaBajty = 13,
    TypBajtMinus128 = 20,
    TypKelwin = 21,
    TypObdKorekta = 22,
    TypObdStatus = 23,
    TypAfr = 24,
};

constexpr int SeriaRpm = 8;     // the RPM / LAMBDA / MAF / AFR input
constexpr int SeriaLambda1 = 9; // lambda probes of the newer boards
constexpr int SeriaLambda2 = 10;
constexpr int SeriaKanal5 = 27; // injection times of channels 5…8: series 27…34
constexpr int SeriaKanal7 = 31;
constexpr int SeriaKanalKoniec = 35;

} // namespace

void TSterownik::DodajWykres(int labelId, int unitId, int position, int rawType, double scale, int decimals,
                             uint32_t colour, double gain, int flags) {
    TWykres w;
    w.LabelId = labelId;
    w.UnitId = unitId;
    w.Position = position;
    w.RawType = rawType;
    w.Scale = scale;
    w.Decimals = decimals;
    w.Colour = colour;
    w.Gain = gain;
    w.Flags = flags;
    w.LabelRow = 0;
    w.LastValue = 0.0001;
    Wykresy.push_back(w);
}

void TSterownik::UtworzWykresy() {
    Wykresy.clear();
    Wykresy.reserve(45);
    // label, unit, position, raw type, scale, decimals, colour, gain, flags
    DodajWykres(0, 0, 10, TypSlowo, 1, 0, Rgb(0, 0, 0), 1, 0x00);                   // 0 work state
    DodajWykres(1400, 1056, 17, TypSlowo, 10, 0, Rgb(0, 112, 253), 1.4, 0x33);      // 1 revolutions
    DodajWykres(1402, 1057, 17, TypSlowo, 10, 0, Rgb(0, 112, 253), 1.4, 0x00);      // 2 engine load
    DodajWykres(1404, 1051, 44, TypSlowo, 0.01, 2, Rgb(144, 144, 0), 5, 0x33);      // 3 vacuum
    DodajWykres(1406, 1051, 48, TypSlowo, 0.01, 2, Rgb(0, 160, 0), 5, 0x33);        // 4 gas pressure
    DodajWykres(1408, 1051, 46, TypSlowo, 0.01, 2, Rgb(0, 160, 128), 5, 0x03);      // 5 abs. gas pressure
    DodajWykres(1410, 1054, 40, TypBajtMinus128, 1, 0, Rgb(255, 128, 64), 1, 0x33); // 6 reducer temp.
    DodajWykres(1412, 1054, 42, TypBajtMinus128, 1, 0, Rgb(255, 1, 134), 1, 0x33);  // 7 gas temp.
    DodajWykres(1418, 1050, 58, TypSlowo, 0.008, 2, Rgb(255, 0, 255), 1, 0x00);     // 8 RPM-wire input
    DodajWykres(1420, 1050, 58, TypSlowo, 0.005, 2, Rgb(255, 0, 255), 2.5, 0x03);   // 9 lambda 1
    DodajWykres(1422, 1050, 56, TypSlowo, 0.005, 2, Rgb(128, 0, 128), 2.5, 0x03);   // 10 lambda 2
    DodajWykres(1430, 1050, 50, TypBajt, 0.02, 2, Rgb(0, 80, 255), 1, 0x03);        // 11 level sensor
    DodajWykres(1432, 1050, 52, TypSlowo, 0.005, 2, Rgb(255, 0, 128), 1, 0x23);     // 12 power supply
    DodajWykres(1450, 0, 97, TypObdStatus, 1, 0, Rgb(144, 96, 48), 1, 0x03);        // 13 fuel sys 1
    DodajWykres(1452, 1057, 99, TypObdKorekta, 1, 1, Rgb(96, 208, 96), 1, 0x03);    // 14 short FT 1
    DodajWykres(1454, 1057, 100, TypObdKorekta, 1, 1, Rgb(0, 184, 184), 1, 0x03);   // 15 long FT 1
    DodajWykres(1456, 0, 98, TypObdStatus, 1, 0, Rgb(128, 80, 32), 1, 0x03);        // 16 fuel sys 2
    DodajWykres(1458, 1057, 101, TypObdKorekta, 1, 1, Rgb(80, 192, 80), 1, 0x03);   // 17 short FT 2
    DodajWykres(1460, 1057, 102, TypObdKorekta, 1, 1, Rgb(0, 160, 160), 1, 0x03);   // 18 long FT 2

    // 19…34: petrol and gas injection times of channels 1…8, four bytes per channel from offset 60.
    static const uint32_t benzyna[4] = {Rgb(255, 0, 0), Rgb(255, 40, 40), Rgb(255, 70, 70), Rgb(255, 90, 90)};
    static const uint32_t gaz[4] = {Rgb(0, 160, 0), Rgb(40, 160, 40), Rgb(70, 160, 70), Rgb(90, 160, 90)};
    for (int k = 0; k < 8; ++k) {
        const int flags = k == 0 ? 0x51 : 0x41;
        DodajWykres(1501 + k, 1053, 60 + 4 * k, TypSlowo, 0.004, 2, benzyna[k % 4], 0.16, flags);
        DodajWykres(1601 + k, 1053, 62 + 4 * k, TypSlowo, 0.004, 2, gaz[k % 4], 0.16, flags);
    }

    // 35…44: service series, listed only in the extended view.
    DodajWykres(-30, 1054, 54, TypKelwin, 1, 0, Rgb(255, 0, 0), 1, 0x04);
    DodajWykres(-31, 1053, 60, TypKalibracja, 0.004, 3, Rgb(0, 255, 0), 1, 0x04);
    DodajWykres(-32, 0, 31, TypBajt, 0.01, 2, Rgb(0, 255, 0), 1, 0x04);
    DodajWykres(-33, 0, 33, TypBajt, 0.01, 2, Rgb(0, 255, 0), 1, 0x04);
    DodajWykres(-34, 0, 35, TypBajt, 0.0078125, 2, Rgb(0, 255, 0), 1, 0x04);
    DodajWykres(-35, 0, 36, TypBajt, 0.0078125, 2, Rgb(0, 255, 0), 1, 0x04);
    DodajWykres(-36, 0, 30, TypBajt, 0.0078125, 2, Rgb(0, 255, 0), 1, 0x04);
    DodajWykres(-37, 1053, 37, TypBajtMinus128, 0.025, 3, Rgb(0, 255, 0), 1, 0x04);
    DodajWykres(-38, 1053, 38, TypDwaBajty, 0.1, 1, Rgb(0, 255, 0), 1, 0x04);
    DodajWykres(-39, 0, 29, TypBajt, 1, 0, Rgb(0, 255, 0), 1, 0x04);
}

static int MaskaListy(int mask, bool extendedView) {
    if (extendedView && (mask & (WykresScope | WykresChooser))) mask |= WykresService;
    return mask;
}

int TSterownik::PodajIleParamBiez(int mask) {
    mask = MaskaListy(mask, ExtendedView != 0);
    int n = 0;
    for (const TWykres &w : Wykresy)
        if (w.Flags & mask) ++n;
    return n;
}

int TSterownik::PodajPozycje(int mask, int n) {
    mask = MaskaListy(mask, ExtendedView != 0);
    const int size = int(Wykresy.size());
    if (n < 0) return size;
    for (int i = 0; i < size; ++i) {
        if (Wykresy[i].Flags & mask) {
            if (n == 0) return i;
            --n;
        }
    }
    return size;
}

void TSterownik::ListaRpmLamMafAfr() {
    if (int(Wykresy.size()) <= SeriaRpm) return;
    TWykres &w = Wykresy[SeriaRpm];
    const int wejscie = Nastawy[4]; // what the RPM wire measures
    if (wejscie <= 2) {
        w.LabelId = 3041 + wejscie; // "RPM", "LAMBDA", "MAF"
        w.UnitId = 1050;
        w.RawType = TypSlowo;
    } else if (wejscie == 3) {
        w.LabelId = 3044; // "AFR"
        w.UnitId = 0;
        w.RawType = TypAfr;
    }
}

void TSterownik::ListaParamOdPlytki() {
    if (int(Wykresy.size()) < SeriaKanalKoniec) return;
    if (Identyfikacja[42] < 3) {
        Wykresy[SeriaRpm].Flags = 0x03;
        Wykresy[SeriaLambda1].Flags = 0;
        Wykresy[SeriaLambda2].Flags = 0;
        NewBoard = 0;
    } else {
        Wykresy[SeriaRpm].Flags = 0;
        Wykresy[SeriaLambda1].Flags = 0x03;
        Wykresy[SeriaLambda2].Flags = 0x03;
        NewBoard = 1;
    }
    const int wariant = Identyfikacja[43];
    for (int i = SeriaKanal5; i < SeriaKanalKoniec; ++i) {
        int flags = 0x41;
        if (wariant == 4)
            flags = 0; // four channels
        else if (wariant == 6 && i < SeriaKanal7)
            flags = 0; // channels 7 and 8 wired, 5 and 6 not
        Wykresy[i].Flags = flags;
    }
}
