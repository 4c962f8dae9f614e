#include "SimEngine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr int SaveEveryMs = 60000;

void Put16(uint8_t *p, double v) {
    const long x = std::clamp(std::lround(v), 0L, 65535L);
    p[0] = uint8_t(x & 0xFF);
    p[1] = uint8_t(x >> 8);
}

uint8_t Byte(double v) {
    return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}
} // namespace

SimEngine::SimEngine(std::mt19937 &rng) : rng_(rng) {
    // A car that has been driven: a few stored errors with their counters.
    RaiseError(7, 0);
    RaiseError(7, 0);
    RaiseError(8, 6);
}

double SimEngine::Noise(double amplitude) {
    std::uniform_real_distribution<double> d(-amplitude, amplitude);
    return d(rng_);
}

void SimEngine::SetRelay(const uint8_t *six) {
    std::memcpy(relay_, six, 6);
    relaySeen_ = true;
}

void SimEngine::CalibrationPoll() {
    holdUntil_ = Clock + 3000;
}

double SimEngine::Correction(int ch) const {
    const int bank = ch < 4 ? 90 : 92;
    return SettingsByte(89, 60) * 0.004 + (int(SettingsByte(bank, 128)) - 128) * 0.02;
}

bool SimEngine::OnGas(int ch) const {
    if (ch < 0 || ch >= Channels || !((mask_ >> ch) & 1)) return false;
    switch (Fuel) {
    case FuelGas: return true;
    case FuelSwitching: return ch < Channels / 2;
    case FuelSwitchingLast: return ch < Channels - 1;
    default: return false;
    }
}

double SimEngine::PetrolTime(int ch) const {
    if (!Ignition || RpmNow < 1) return 0;
    return std::max(0.0, basePetrol_ + Trim + ch * 0.012);
}

// Reducer temperature needed before gas is allowed (settings item 51, degrees + 128).
double SimEngine::SwitchTemp() const {
    return int(SettingsByte(51, 168)) - 128;
}

// The changeover takes the per-cylinder delay (item 55, 0.1 s) for the first half of the
// channels and half of it for the rest.
int SimEngine::SwitchingMs(bool last) const {
    const int ms = std::max(1, int(SettingsByte(55, 10))) * 100;
    return last ? ms / 2 : ms;
}

void SimEngine::FuelSwitch(bool fast) {
    if (Fuel == FuelPetrol) {
        stateMs_ = 0;
        if (fast)
            Fuel = FuelSwitchingLast;
        else
            Fuel = ReducerC < SwitchTemp() ? FuelWaiting : FuelSwitching;
        return;
    }
    Fuel = FuelPetrol;
    stateMs_ = 0;
    PushRecord(240, ReasonPcPetrol);
}

void SimEngine::StepFuel(int ms) {
    stateMs_ += ms;
    switch (Fuel) {
    case FuelWaiting:
        if (ReducerC >= SwitchTemp()) {
            Fuel = FuelSwitching;
            stateMs_ = 0;
        }
        break;
    case FuelSwitching:
        if (stateMs_ >= SwitchingMs(false)) {
            Fuel = FuelSwitchingLast;
            stateMs_ = 0;
        }
        break;
    case FuelSwitchingLast:
        if (stateMs_ >= SwitchingMs(true)) {
            Fuel = FuelGas;
            stateMs_ = 0;
            PushRecord(240, ReasonPcGas);
        }
        break;
    default: break;
    }
}

void SimEngine::Advance(int ms) {
    if (ms <= 0) return;
    Clock += ms;
    const double dt = ms;

    // The driver: a slow town cycle, or a steady 2500 rpm while the fitter calibrates.
    double target = 0;
    if (Ignition) {
        if (Clock < holdUntil_) {
            target = 2500;
        } else {
            const double s = std::fmod(Clock / 1000.0, 60.0);
            if (s < 20)
                target = 800;
            else if (s < 28)
                target = 800 + (s - 20) * 250;
            else if (s < 45)
                target = 2800 + 150 * std::sin((s - 28) * 0.7);
            else if (s < 55)
                target = 2800 - (s - 45) * 200;
            else
                target = 800;
        }
    }
    const double lag = std::min(1.0, dt / 400.0);
    const double accel = target - RpmNow;
    RpmNow += accel * lag;
    if (RpmNow < 1) RpmNow = 0;
    ManifoldBar = Ignition ? std::clamp(0.30 + (RpmNow - 800) / 2000 * 0.25 + accel / 8000, 0.2, 1.0) : 1.0;
    basePetrol_ = 2.2 + 4.0 * ManifoldBar;

    if (RpmNow > 0) {
        ReducerC += (80 - ReducerC) * dt / 60000;
        GasC = 15 + (ReducerC - 30) / 4;
    }

    StepFuel(ms);

    // The engine computer's lambda loop answers the mixture error of the channels on gas.
    double error = 0;
    for (int ch = 0; ch < Channels; ++ch)
        if (OnGas(ch)) error += Correction(ch) - DeadTime;
    const double trimTarget = Channels > 0 ? -error / Channels : 0;
    Trim += (trimTarget - Trim) * std::min(1.0, dt / 800.0);

    if (Fuel == FuelGas) {
        LevelRaw -= dt / 30000;
        if (LevelRaw < 6) LevelRaw = 46; // filled up again
    }

    secondAcc_ += ms;
    while (secondAcc_ >= 1000) {
        secondAcc_ -= 1000;
        if (RpmNow > 0) {
            if (Fuel == FuelGas)
                ++GasSeconds;
            else
                ++PetrolSeconds;
        }
        // Now and then the gas pressure dips on gas and the controller stores it.
        if (Fuel == FuelGas && std::uniform_int_distribution<int>(0, 899)(rng_) == 0) {
            RaiseError(7, 0);
            PushRecord(241, 0x04);
        }
    }

    if (Clock >= nextCell_) {
        nextCell_ += std::max(10, LearnEveryMs);
        if (RpmNow > 0 && (Fuel == FuelPetrol || Fuel == FuelGas)) LearnCell();
    }
    if (Clock >= nextSave_) {
        nextSave_ += SaveEveryMs;
        PushRecord(241, 0x01);
    }
}

// The map point of a value on an axis of the settings (16 ascending points): the last one the value
// has reached.
int SimEngine::AxisPoint(int firstItem, double value) const {
    int p = 0;
    for (int i = 1; i < 16; ++i)
        if (SettingsByte(firstItem + i, 0) != 0 && value >= SettingsByte(firstItem + i, 0)) p = i;
    return p;
}

// The load point from the manifold pressure (items 224-239, 0.01 bar), the RPM point from the engine
// speed (items 240-255, 50 rpm); the cell is entry rpm point x 16 + load point, in 0.1 ms.
int SimEngine::LoadPoint() const {
    return AxisPoint(224, ManifoldBar * 100);
}
int SimEngine::RpmPoint() const {
    return AxisPoint(240, RpmNow / 50);
}

void SimEngine::LearnCell() {
    int load = LoadPoint();
    int rpm = RpmPoint();
    double petrol = PetrolTime(0);
    if (LearnSpread > 0) {
        // A cell around the operating one, with the time the engine would need at its load.
        std::uniform_int_distribution<int> d(-LearnSpread, LearnSpread);
        rpm = std::clamp(rpm + d(rng_), 0, 15);
        const int moved = std::clamp(load + d(rng_), 0, 15);
        const int axis = SettingsByte(224 + moved, 0), now = SettingsByte(224 + load, 0);
        petrol = std::max(0.1, petrol + 4.0 * (axis - now) / 100.0);
        load = moved;
    }
    const bool gas = Fuel == FuelGas;
    const double t = gas ? std::max(0.0, petrol + Correction(0)) : petrol;
    const uint8_t value = uint8_t(std::clamp(std::lround(t * 10), 1L, 200L));
    PushRecord(0, gas ? 3 : 0, uint8_t(rpm << 4 | load), value);
    if (++cellsSinceSave_ >= 10) {
        cellsSinceSave_ = 0;
        PushRecord(241, 0x02);
    }
}

void SimEngine::PushRecord(uint8_t type, uint8_t a, uint8_t b, uint8_t c) {
    if (records_.size() > 64 * 4) return; // nobody is polling: keep the newest few
    records_.insert(records_.end(), {type, a, b, c});
}

void SimEngine::RaiseError(int byteIndex, int bit) {
    if (byteIndex < 6 || byteIndex > 12 || bit < 0 || bit > 7) return;
    errBits_[byteIndex - 6] |= uint8_t(1u << bit);
    uint8_t &n = errCount_[8 * (byteIndex - 6) + bit];
    if (n < 255) ++n;
}

void SimEngine::EraseErrors() {
    std::memset(errBits_, 0, sizeof errBits_);
    std::memset(errCount_, 0, sizeof errCount_);
}

void SimEngine::FillErrors(uint8_t *frame) const {
    std::memcpy(frame + 6, errBits_, sizeof errBits_);
    std::memcpy(frame + 13, errCount_, sizeof errCount_);
}

void SimEngine::FillObd(uint8_t *block) const {
    std::memset(block, 0, 36);
    block[0] = relaySeen_ ? 1 : 0;
    std::memcpy(block + 5, relay_, 6);
}

void SimEngine::FillLive(uint8_t *f) {
    using namespace SimLive;
    std::memset(f + 6, 0, FrameLength - 6);

    if (records_.size() >= 4) {
        for (int i = 0; i < 4; ++i) {
            f[Record + i] = records_.front();
            records_.pop_front();
        }
    } else if (Fuel == FuelWaiting) {
        f[Record] = 10;
        f[Record + 1] = 0x02; // reducer temperature too low
    } else if (Fuel == FuelSwitching || Fuel == FuelSwitchingLast) {
        f[Record] = 10;
        f[Record + 1] = 0x40; // switching the cylinders over
    }

    const bool turning = Ignition && RpmNow > 0;
    bool stored = false;
    for (uint8_t c : errCount_)
        stored |= c != 0;
    f[WorkState] = Fuel;
    f[StateFlags] = uint8_t((Ignition ? 1 : 0) | (turning ? 2 : 0) | (stored ? 0x10 : 0));
    f[Status3] = 0;

    const uint8_t level = Byte(LevelRaw);
    uint8_t lamps = 0;
    const int bits[4] = {5, 4, 3, 2};
    const uint8_t thresholds[4] = {44, 39, 20, 8};
    for (int i = 0; i < 4; ++i)
        if (level >= SettingsByte(41 + i, thresholds[i])) lamps |= uint8_t(1u << bits[i]);
    lamps |= level >= SettingsByte(44, 8) ? 0x02 : 0x01;
    f[Lamps] = lamps;
    if (Fuel == FuelGas)
        f[FuelLamp] = 0x02;
    else if (Fuel != FuelPetrol)
        f[FuelLamp] = ((Clock / 500) & 1) ? 0x01 : 0;

    Put16(f + Rpm, turning ? (RpmNow + Noise(15)) / 10 : 0); // the idle speed wobbles a little
    f[SimLive::InjectorMask] = mask_;
    // The map cell the engine runs in, and the petrol time in 0.1 ms.
    f[CellRpm] = uint8_t(RpmPoint());
    f[CellLoad] = uint8_t(LoadPoint());
    f[PetrolTenths] = Byte(PetrolTime(0) * 10);

    // Service values: the correction factors at their neutral points, the added gas time.
    const double c0 = Correction(0);
    const double tp0 = PetrolTime(0);
    f[30] = 128;
    f[31] = 100;
    f[33] = 100;
    f[35] = 128;
    f[36] = 128;
    f[37] = Byte(128 + c0 / 0.025);
    f[38] = Byte((OnGas(0) ? tp0 + c0 : 0) * 10);
    f[39] = Byte(tp0 * 10);

    f[ReducerTemp] = Byte(ReducerC + 128);
    f[GasTemp] = Byte(GasC + 128);
    const bool solenoid = Fuel != FuelPetrol && Fuel != FuelWaiting;
    const double gasBar = (solenoid ? 1.20 - (RpmNow - 800) / 20000 : 0.95) + Noise(0.01);
    Put16(f + Manifold, (ManifoldBar + Noise(0.005)) * 100);
    Put16(f + GasPressureAbs, (ManifoldBar + gasBar) * 100);
    Put16(f + GasPressure, gasBar * 100);
    f[Level] = level;
    Put16(f + Supply, (Ignition ? 14.1 : 12.4) / 0.005 + Noise(6));
    Put16(f + BoardTemp, 273 + 32 + (ReducerC - 30) / 10);
    const double phase = Clock / 1300.0 * 6.2831853;
    Put16(f + Lambda1, turning ? (0.45 + 0.4 * std::sin(phase)) / 0.005 : 0);
    Put16(f + Lambda2, turning ? (0.45 + 0.4 * std::sin(phase + 1.3)) / 0.005 : 0);

    for (int ch = 0; ch < 8 && ch < Channels; ++ch) {
        const double tp = PetrolTime(ch);
        const double noisy = tp > 0 ? tp + Noise(0.008) : 0;
        Put16(f + Injection + 4 * ch, noisy / 0.004);
        const double tg = OnGas(ch) && tp > 0 ? std::max(0.0, noisy + Correction(ch)) : 0;
        Put16(f + Injection + 4 * ch + 2, tg / 0.004);
    }
}
