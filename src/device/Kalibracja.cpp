// Auto-calibration: one step per calibration poll reply, comparing the mean injection time on petrol
// with the one on gas and moving the gas correction (settings 90 and 92) until they agree.
#include "device/TSterownik.h"

#include <cmath>

namespace {
const uint8_t CalMasks[8] = {1, 3, 7, 15, 31, 63, 127, 255};

int Clamp255(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}
} // namespace

bool TSterownik::StartStopKalibracji() {
    CalStage = CalProgress = CalChannel = CalStopCount = CalBadCount = 0;
    CalMeanFilter = CalPressureFilter = 0;
    if (PollMode & 1) {
        PollMode &= ~1u;
        Zdarzenie(2, 5, 0, 0);
        return false;
    }
    PollMode |= 1;
    Zdarzenie(2, 1, 0, 0);
    return true;
}

void TSterownik::ObliczKorekteOdniesienia() {
    int i = Nastawy[86];
    if (Nastawy[10] == 0)
        i += 100;
    else if (Nastawy[10] == 1)
        i += 200;
    const float p = float(CzytajKorOdCis(i));
    const float t = float(CzytajKorOdTempGazu(Nastawy[85]));
    const float c = p / 128.0f * t / 128.0f;
    float r = c > 0.0f ? 128.0f / c : 161.0f;
    if (r > 255.0f) r = 255.0f;
    Nastawy[94] = uint8_t(int(std::trunc(r)));
}

void TSterownik::EtapyKalibracji() {
    // The injection-time offsets and the mask table cover eight channels at most.
    const int channels = InjectorCount > 8 ? 8 : InjectorCount;
    const int perChannel = InjectorCount == 0 ? 1 : InjectorCount; // no division by zero
    const int w = RxBuffer[10];
    const uint8_t *live = RxBuffer;

    // 1. Engine watch.
    if ((live[17] | (live[18] << 8)) == 0)
        ++CalStopCount;
    else
        CalStopCount = 0;
    if (CalStopCount > 10) CalStage = 255;

    // 2. Mean injection time of the channels that inject, in units of 12.5 (rounded).
    int sum = 0, used = 0;
    for (int i = 0; i < channels; ++i) {
        const int t = live[60 + 4 * i] | (live[61 + 4 * i] << 8);
        if (t != 0) {
            sum += t;
            ++used;
        }
    }
    int a = 0;
    if (used > 0) {
        const int m = sum / used;
        int b = m * 2 / 25;
        if (m - (b * 25) / 2 > 6) ++b;
        if (CalMeanFilter == 0 && b != 0) CalMeanFilter = b * 16;
        const int f = CalMeanFilter / 16;
        CalMeanFilter += b - f;
        a = f > 255 ? 255 : f;
    }

    // 3. A usable mean.
    if (a == 0 || a > 200)
        ++CalBadCount;
    else
        CalBadCount = 0;
    if (CalBadCount > 50) CalStage = 255;

    // 4. Filtered gas pressure.
    const int p = live[48];
    if (CalPressureFilter == 0) CalPressureFilter = p * 16;
    const int pf = CalPressureFilter / 16;
    CalPressureFilter += p - pf;

    const int group = CalStage & ~15;
    auto autoSwitch = [this] { FuelAutoPending = 1; };
    auto write = [this] { WriteRequests |= 1u << BitNastawy; };
    auto setCorrection = [this](int v) { Nastawy[90] = Nastawy[92] = uint8_t(Clamp255(v)); };

    switch (CalStage) {
    case 0:
        if (w != 0) autoSwitch();
        Nastawy[89] = 60;
        Nastawy[90] = 128;
        Nastawy[92] = 128;
        Nastawy[94] = 181;
        write();
        CalCounter = 0;
        CalProgress = 0;
        CalStage = 1;
        break;
    case 1:
        if (w == 0) {
            CalCounter = 0;
            CalStage = (Nastawy[82] & 1) ? 16 : 80;
        } else if (++CalCounter >= 256) {
            CalStage = 0;
        }
        break;
    case 16:
    case 80:
    case 144:
        CalProgress = CalStage == 144 ? 512 : 0;
        if (++CalCounter >= 11) {
            if (w != 0) autoSwitch();
            CalPetrolMean = uint8_t(a);
            CalMeanFilter = 0;
            CalCounter = 0;
            ++CalStage;
        }
        break;
    case 17:
    case 81:
    case 145:
        if (w == 0) {
            CalCounter = 0;
            ++CalStage;
        } else if (++CalCounter >= 256) {
            --CalStage;
        }
        break;
    case 18:
    case 82:
    case 146:
        if (w != 0) {
            CalStage -= 2;
            return;
        }
        Nastawy[83] = uint8_t(a);
        CalCounter += (std::abs(a - int(CalPetrolMean)) < 10 && a < 120) ? 5 : 1;
        CalProgress = CalCounter + (CalStage == 146 ? 512 : 0);
        if (CalCounter >= 256) {
            CalStage = group + 16;
            CalCounter = 0;
            CalChannel = 0;
        }
        break;
    case 32:
        InjectorMask = CalMasks[qBound(0, CalChannel, 7)];
        InjectorMaskPending = 1;
        CalCounter = 0;
        CalStage = 33;
        break;
    case 96:
    case 160: {
        const uint8_t mask = uint8_t(~Nastawy[31]);
        if (mask != InjectorMask) {
            InjectorMask = mask;
            InjectorMaskPending = 1;
        }
        CalCounter = 0;
        ++CalStage;
        break;
    }
    case 33:
    case 97:
    case 161:
        if (++CalCounter >= 11) {
            autoSwitch();
            CalCounter = 0;
            ++CalStage;
        }
        break;
    case 34:
    case 98:
    case 162:
        if (w == 6) {
            CalMeanFilter = 0;
            CalCounter = 0;
            CalStage = group + 16;
        }
        break;
    case 48:
    case 112:
    case 176: {
        Nastawy[85] = live[42];
        Nastawy[86] = uint8_t(pf);
        Nastawy[87] = live[40];
        Nastawy[88] = live[44];
        const uint8_t before = Nastawy[94];
        ObliczKorekteOdniesienia();
        if (Nastawy[94] != before) write();
        const int d = int(Nastawy[83]) - a;
        if (d > 20 || d < -20) {
            setCorrection(Nastawy[90] - d);
            write();
            CalStage -= 32; // measure petrol again after a coarse correction
            return;
        }
        if (CalCounter % 16 == 0) {
            if (d > 4 || d < -4) {
                setCorrection(Nastawy[90] - d / 2);
                write();
            } else if (d > 0 && Nastawy[90] > 0) {
                setCorrection(Nastawy[90] - 1);
                write();
            } else if (d < 0 && Nastawy[90] < 255) {
                setCorrection(Nastawy[90] + 1);
                write();
            }
        }
        CalCounter += (d >= -1 && d <= 1) ? 5 : 1;
        if (CalChannel >= 2) ++CalCounter;
        if (CalStage == 48)
            CalProgress = (CalCounter / 2) / perChannel + CalChannel * 256 / perChannel + 256;
        else if (CalStage == 112)
            CalProgress = CalCounter / 2 + 256;
        else
            CalProgress = CalCounter / 2 + 768;
        if (CalCounter >= 512) {
            CalStage = group + 16;
            CalCounter = 0;
        }
        break;
    }
    case 64:
        ++CalChannel;
        if (CalChannel < channels) {
            InjectorMask = CalMasks[CalChannel];
            InjectorMaskPending = 1;
            CalStage = 48;
            break;
        }
        [[fallthrough]]; // all channels done: on as the switch back to petrol
    case 128:
    case 192:
        if (w != 0) autoSwitch();
        ++CalStage;
        break;
    case 65:
    case 129:
    case 193:
        if (w == 0) {
            CalStage = CalStage == 193 ? 254 : 144;
            CalCounter = 0;
        }
        break;
    case 254:
        PollMode &= ~1u;
        Zdarzenie(2, 3, 0, 0);
        break;
    case 255:
        PollMode &= ~1u;
        Zdarzenie(2, 4, 0, 0);
        break;
    default: break;
    }
    Zdarzenie(2, 2, 0, CalProgress);
}
