// Fixed reference curves: corrections over gas pressure and gas temperature (as the controller uses
// them) and the characteristics of the four thermistor sizes (guide curves of the map view).
#include "device/TSterownik.h"

#include <array>
#include <cmath>

namespace {
// Gas-pressure correction from entry 64 on; entries 0…63 are 255.
const uint8_t KorCisOd64[448] = {
    255, 255, 255, 255, 255, 255, 255, 252, 248, 245, 242, 238, 235, 232, 229, 226, 224, 221, 218, 215, 213,
    210, 208, 205, 203, 201, 199, 196, 194, 192, 190, 188, 186, 184, 182, 181, 179, 177, 175, 173, 172, 170,
    169, 167, 165, 164, 162, 161, 160, 158, 157, 155, 154, 153, 151, 150, 149, 148, 146, 145, 144, 143, 142,
    141, 140, 138, 137, 136, 135, 134, 133, 132, 131, 130, 129, 128, 128, 127, 126, 125, 124, 123, 122, 121,
    121, 120, 119, 118, 117, 117, 116, 115, 114, 114, 113, 112, 112, 111, 110, 109, 109, 108, 107, 107, 106,
    106, 105, 104, 104, 103, 102, 102, 101, 101, 100, 100, 99,  99,  98,  97,  97,  96,  96,  95,  95,  94,
    94,  93,  93,  92,  92,  91,  91,  90,  90,  90,  89,  89,  88,  88,  87,  87,  86,  86,  86,  85,  85,
    84,  84,  84,  83,  83,  82,  82,  82,  81,  81,  81,  80,  80,  80,  79,  79,  78,  78,  78,  77,  77,
    77,  76,  76,  76,  75,  75,  75,  74,  74,  74,  74,  73,  73,  73,  72,  72,  72,  71,  71,  71,  71,
    70,  70,  70,  70,  69,  69,  69,  68,  68,  68,  68,  67,  67,  67,  67,  66,  66,  66,  66,  65,  65,
    65,  65,  64,  64,  64,  64,  64,  63,  63,  63,  63,  62,  62,  62,  62,  62,  61,  61,  61,  61,  60,
    60,  60,  60,  60,  59,  59,  59,  59,  59,  58,  58,  58,  58,  58,  57,  57,  57,  57,  57,  57,  56,
    56,  56,  56,  56,  56,  55,  55,  55,  55,  55,  54,  54,  54,  54,  54,  54,  53,  53,  53,  53,  53,
    53,  53,  52,  52,  52,  52,  52,  52,  51,  51,  51,  51,  51,  51,  51,  50,  50,  50,  50,  50,  50,
    50,  49,  49,  49,  49,  49,  49,  49,  48,  48,  48,  48,  48,  48,  48,  48,  47,  47,  47,  47,  47,
    47,  47,  47,  46,  46,  46,  46,  46,  46,  46,  46,  45,  45,  45,  45,  45,  45,  45,  45,  45,  44,
    44,  44,  44,  44,  44,  44,  44,  44,  43,  43,  43,  43,  43,  43,  43,  43,  43,  42,  42,  42,  42,
    42,  42,  42,  42,  42,  42,  41,  41,  41,  41,  41,  41,  41,  41,  41,  41,  41,  40,  40,  40,  40,
    40,  40,  40,  40,  40,  40,  40,  39,  39,  39,  39,  39,  39,  39,  39,  39,  39,  39,  38,  38,  38,
    38,  38,  38,  38,  38,  38,  38,  38,  38,  37,  37,  37,  37,  37,  37,  37,  37,  37,  37,  37,  37,
    37,  36,  36,  36,  36,  36,  36,  36,  36,  36,  36,  36,  36,  36,  35,  35,  35,  35,  35,  35,  35,
    35,  35,  35,  35,  35,  35,  35};

// Gas-temperature correction from entry 80 on; entries 0…79 are 65.
const uint8_t KorTempOd80[176] = {
    66,  66,  66,  66,  67,  67,  68,  68,  69,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,
    80,  81,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  96,  97,  98,  99,  100,
    102, 102, 103, 104, 105, 105, 106, 107, 108, 108, 109, 110, 111, 112, 112, 113, 114, 115, 115, 116,
    117, 118, 119, 119, 120, 121, 122, 122, 123, 124, 125, 125, 125, 125, 126, 126, 126, 127, 127, 128,
    128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 129, 129, 129,
    130, 130, 130, 131, 131, 131, 132, 132, 132, 133, 133, 133, 134, 134, 135, 135, 135, 136, 136, 137,
    137, 137, 138, 138, 139, 139, 139, 140, 140, 141, 141, 141, 142, 142, 142, 143, 143, 144, 144, 144,
    145, 145, 146, 146, 146, 147, 147, 148, 148, 148, 149, 149, 150, 150, 150, 151, 151, 151, 152, 152,
    153, 153, 153, 154, 154, 155, 155, 155, 156, 156, 157, 157, 157, 158, 158, 159};

using TTermistor = std::array<uint8_t, 256>;

// A thermistor in a divider reads 255 while the input is cold-clamped, then the fixed first steps,
// then falls along an exponential towards the value at the hot end, then 0 (sensor shorted).
// The decay rate is chosen so the curve continues the fixed first steps without a kink.
TTermistor Termistor(int clampedTo, std::initializer_list<int> first, int endIndex) {
    TTermistor t{};
    for (int i = 0; i <= clampedTo; ++i)
        t[size_t(i)] = 255;
    int i = clampedTo + 1;
    int last = 255, step = 0;
    for (int v : first) {
        step = last - v;
        last = v;
        t[size_t(i++)] = uint8_t(v);
    }
    const int start = i - 1; // index of the last fixed value
    const double span = last - 88.0, steps = endIndex - start;
    // y(u) = 88 + span * (exp(-a u) - exp(-a)) / (1 - exp(-a)), u = 0…1; initial slope matches `step`.
    const double want = step * steps / span;
    double a = want;
    for (int k = 0; k < 60; ++k)
        a = want * (1.0 - std::exp(-a)); // fixed point of a / (1 - e^-a) = want
    const double ea = std::exp(-a);
    for (; i <= endIndex; ++i) {
        const double u = (i - start) / steps;
        const double y = 88.0 + span * (std::exp(-a * u) - ea) / (1.0 - ea);
        int v = int(std::lround(y));
        v = std::min(v, int(t[size_t(i - 1)]));
        t[size_t(i)] = uint8_t(std::max(v, 88));
    }
    t[size_t(endIndex)] = 88;
    for (i = endIndex + 1; i < 256; ++i)
        t[size_t(i)] = 0;
    return t;
}

const TTermistor &Ter2k2() {
    static const TTermistor t = Termistor(4, {248, 242, 236, 230}, 237);
    return t;
}
const TTermistor &Ter4k7() {
    static const TTermistor t = Termistor(8, {250, 245, 241, 238}, 243);
    return t;
}
const TTermistor &Ter6k8() {
    static const TTermistor t = Termistor(12, {252, 249, 246, 244}, 245);
    return t;
}
const TTermistor &Ter10k() {
    static const TTermistor t = Termistor(16, {252, 249, 247, 245}, 249);
    return t;
}
} // namespace

int TSterownik::CzytajKorOdCis(int i) {
    if (i < 0 || i >= 512) return -1;
    return i < 64 ? 255 : KorCisOd64[i - 64];
}

int TSterownik::CzytajKorOdTempGazu(int i) {
    if (i < 0 || i >= 256) return -1;
    return i < 80 ? 65 : KorTempOd80[i - 80];
}

int TSterownik::CzytajTabTer2k2(int i) {
    return i < 0 || i >= 256 ? -1 : Ter2k2()[size_t(i)];
}
int TSterownik::CzytajTabTer4k7(int i) {
    return i < 0 || i >= 256 ? -1 : Ter4k7()[size_t(i)];
}
int TSterownik::CzytajTabTer6k8(int i) {
    return i < 0 || i >= 256 ? -1 : Ter6k8()[size_t(i)];
}
int TSterownik::CzytajTabTer10k(int i) {
    return i < 0 || i >= 256 ? -1 : Ter10k()[size_t(i)];
}
