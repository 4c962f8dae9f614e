#pragma once
// The car as the virtual controller sees it: ignition, engine speed, manifold and gas pressure,
// temperatures, lambda probes, the tank level sensor, the supply voltage and the petrol and gas
// injection time of every channel, together with the controller's own work state (petrol, waiting,
// switching, gas), its error log and the short records it reports in the poll reply.
//
// Gas mixture model: the controller opens each gas injector for the petrol time plus a correction
// c = settings[89] * 0.004 ms + (settings[90 or 92] - 128) * 0.02 ms (byte 90 for channels 1-4,
// byte 92 for channels 5-8). The real injectors lose `DeadTime` ms of that opening, so on gas the
// engine computer's lambda loop trims its petrol time by the share of channels on gas times
// (DeadTime - c). Auto-calibration compares the petrol times on petrol and on gas and moves bytes
// 90/92 until they agree, which it reaches at c = DeadTime.
#include <cstdint>
#include <deque>
#include <random>

// Offsets of the poll reply (frame offsets, the payload starts at 4).
namespace SimLive {
constexpr int FrameLength = 92; // the live offset space 0-91
constexpr int Record = 6;       // record type, then 7-9
constexpr int WorkState = 10;
constexpr int StateFlags = 11;
constexpr int Status3 = 12;
constexpr int Lamps = 13;
constexpr int FuelLamp = 14;
constexpr int CellRpm = 15;      // RPM point of the map cell the engine runs in
constexpr int CellLoad = 16;     // its load point
constexpr int Rpm = 17;          // uint16, rpm / 10
constexpr int PetrolTenths = 19; // petrol time of channel 1, 0.1 ms
constexpr int InjectorMask = 22;
constexpr int ReducerTemp = 40; // degrees + 128
constexpr int GasTemp = 42;     // degrees + 128
constexpr int Manifold = 44;    // uint16, 0.01 bar
constexpr int GasPressureAbs = 46;
constexpr int GasPressure = 48;
constexpr int Level = 50;     // 0.02 V
constexpr int Supply = 52;    // uint16, 0.005 V
constexpr int BoardTemp = 54; // uint16, kelvin
constexpr int Lambda2 = 56;   // uint16, 0.005 V
constexpr int Lambda1 = 58;
constexpr int Injection = 60; // channel i: petrol time at 60 + 4i, gas time at 62 + 4i (0.004 ms)
} // namespace SimLive

// Work-state codes of live byte 10.
enum SimFuel : uint8_t {
    FuelPetrol = 0,
    FuelWaiting = 2,
    FuelSwitching = 4,
    FuelSwitchingLast = 5,
    FuelGas = 6
};

// Fuel-change reasons of record 0xF0.
enum SimFuelReason : uint8_t {
    ReasonPcPetrol = 17,
    ReasonAutoGas = 0x21,
    ReasonPcGas = 0x23,
};

class SimEngine {
public:
    explicit SimEngine(std::mt19937 &rng);

    // The controller's settings block (256 bytes); the thresholds and gas corrections come from it.
    const uint8_t *Settings = nullptr;
    int Channels = 8;
    double DeadTime = 1.0;   // ms lost by the gas injectors, what calibration has to find
    int LearnEveryMs = 2500; // a learnt map cell this often while on petrol or gas
    int LearnSpread = 0;     // learnt cells up to this many points around the operating one

    // Moves the model on by ms of virtual time.
    void Advance(int ms);
    // Fuel-switch commands: from petrol towards gas (through waiting and switching, or at once when
    // fast); from any other state back to petrol.
    void FuelSwitch(bool fast);
    void SetInjectorMask(uint8_t mask) { mask_ = mask; }
    uint8_t InjectorMask() const { return mask_; }
    void SetRelay(const uint8_t *six);
    const uint8_t *Relay() const { return relay_; }
    // A calibration poll came: the driver holds the engine at a steady speed for a while.
    void CalibrationPoll();

    // Live bytes 6-91 of a poll reply (one record taken from the queue into 6-9).
    void FillLive(uint8_t *frame);
    // Error report bytes 6-68: seven bit bytes and 56 counters.
    void FillErrors(uint8_t *frame) const;
    void EraseErrors();
    // Counts one occurrence of error bit `bit` of report byte `byteIndex` (6-12).
    void RaiseError(int byteIndex, int bit);
    // The 36-byte OBD work state.
    void FillObd(uint8_t *block) const;

    // Queues a record for bytes 6-9 of a later poll reply (241 EEPROM, 242 flash, 240 fuel change).
    void PushRecord(uint8_t type, uint8_t a, uint8_t b = 0, uint8_t c = 0);

    // Seconds of running on petrol and on gas (statistics of the identification).
    uint32_t PetrolSeconds = 123 * 3600 + 1234;
    uint32_t GasSeconds = 456 * 3600 + 789;

    // Model state, readable by tests.
    uint8_t Fuel = FuelPetrol;
    bool Ignition = true;
    double RpmNow = 800;
    double ManifoldBar = 0.32;
    double ReducerC = 34;
    double GasC = 15;
    double LevelRaw = 42; // 0.02 V
    double Trim = 0;      // ms the engine computer adds to its petrol time
    int64_t Clock = 0;

    // Gas correction of channel ch in ms, from the settings.
    double Correction(int ch) const;
    // Petrol time of channel ch in ms as the engine computer gives it now.
    double PetrolTime(int ch) const;
    bool OnGas(int ch) const;

private:
    double Noise(double amplitude);
    double SwitchTemp() const;
    int SwitchingMs(bool last) const;
    void StepFuel(int ms);
    void LearnCell();
    int AxisPoint(int firstItem, double value) const;
    int LoadPoint() const;
    int RpmPoint() const;
    uint8_t SettingsByte(int i, uint8_t fallback) const { return Settings ? Settings[i] : fallback; }

    std::mt19937 &rng_;
    uint8_t mask_ = 0xFF;
    uint8_t relay_[6] = {};
    bool relaySeen_ = false;
    int stateMs_ = 0;          // time in the current work state
    int64_t holdUntil_ = -1;   // steady speed for calibration until this time
    int64_t nextCell_ = 2500;  // next learnt map cell
    int64_t nextSave_ = 60000; // next statistics save notice
    int cellsSinceSave_ = 0;
    int64_t secondAcc_ = 0;
    uint8_t errBits_[7] = {};
    uint8_t errCount_[56] = {};
    std::deque<uint8_t> records_; // groups of four bytes
    double basePetrol_ = 3.5;
};
