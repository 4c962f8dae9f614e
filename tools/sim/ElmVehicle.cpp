#include "ElmVehicle.h"

#include "ElmFrames.h"

#include <algorithm>
#include <cmath>

namespace {

// PIDs of the engine unit: load, temperatures, both fuel trim banks, MAP, RPM, speed, ...
// and the bitmap PIDs 20, 40, 60 and 80 that chain the supported ranges.
const int enginePids[] = {0x01, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0B, 0x0C, 0x0D, 0x0E,
                          0x0F, 0x10, 0x11, 0x13, 0x14, 0x15, 0x1C, 0x1F, 0x20, 0x21, 0x2F, 0x30,
                          0x31, 0x33, 0x40, 0x41, 0x42, 0x46, 0x4D, 0x4E, 0x5C, 0x60, 0x80};
// Further units (gearbox, ...): their own status, speed and temperature, no fuel trims.
const int otherPids[] = {0x01, 0x05, 0x0D};

uint8_t clampByte(double v) {
    return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

QByteArray word(double v) {
    const long w = std::clamp(std::lround(v), 0L, 65535L);
    return elmBytes({int(w >> 8), int(w & 0xFF)});
}

// One drive cycle of 40 s: 8 s idle, speed up to 80 km/h, cruise, slow down.
double speedAt(double t) {
    const double p = std::fmod(t, 40.0) / 40.0;
    if (p < 0.2) return 0.0;
    if (p < 0.5) return 80.0 * (p - 0.2) / 0.3;
    if (p < 0.8) return 80.0 + 3.0 * std::sin(t);
    return 80.0 * (1.0 - p) / 0.2;
}

double rpmAt(double t) {
    const double v = speedAt(t);
    if (v < 1.0) return 780.0 + 25.0 * std::sin(t * 2.0);
    return 1100.0 + v * 24.0 + 150.0 * std::sin(t * 0.7);
}

double coolantAt(double t) {
    return 20.0 + 70.0 * (1.0 - std::exp(-t / 90.0));
}
double mapAt(double t) {
    return 31.0 + speedAt(t) * 0.55 + 2.0 * std::sin(t * 1.7);
}
double stft1At(double t) {
    return 2.5 * std::sin(t * 1.3);
}
double stft2At(double t) {
    return -1.0 + 2.0 * std::sin(t * 1.1 + 0.5);
}
// The engine as it ran when the first stored code set: warm idle, running lean (positive trims).
struct FreezeValue {
    int pid;
    QByteArray data;
};
const FreezeValue engineFreeze[] = {
    {0x03, QByteArray("\x02\x00", 2)},
    {0x04, "\x4D"},
    {0x05, "\x7B"},
    {0x06, "\x97"},
    {0x07, "\x8F"},
    {0x0B, "\x21"},
    {0x0C, "\x0C\xB0"},
    {0x0D, QByteArray(1, '\0')},
    {0x2F, "\x9E"},
};

// Names of the units (20 bytes: acronym padded to 4, "-", name padded to 15).
QByteArray unitName(const char *acronym, const char *name) {
    QByteArray a(acronym), n(name);
    return a.leftJustified(4, '\0', true) + '-' + n.leftJustified(15, '\0', true);
}

// Fuel trim in % as the byte 128 + 1.28 * %.
uint8_t trimByte(double percent) {
    return clampByte(128.0 + percent * 1.28);
}

} // namespace

ElmVehicle::ElmVehicle(const ElmOptions &options)
    : protocol_(options.protocol), ignitionOn_(!options.ignitionOff), voltage_(options.voltage),
      vin_(options.vin), noData_(options.noData) {
    static const char *const others[][2] = {
        {"TCM", "TransmissionCtl"}, {"ABSM", "BrakeControl"},   {"BCM", "BodyControl"}, {"AHCM", "AuxHeater"},
        {"SRS", "Airbag"},          {"HVAC", "ClimateControl"}, {"PAM", "ParkAssist"}};
    for (int i = 0; i < std::clamp(options.ecus, 1, 8); ++i) {
        Ecu e;
        e.engine = i == 0;
        if (e.engine) {
            for (int p : enginePids)
                e.pids.insert(p);
            e.stored = options.stored;
            e.pending = options.pending;
            e.permanent = options.permanent;
            if (!e.stored.isEmpty()) e.freezeCode = e.stored.first();
            // Two calibrations (engine and the gas-ready fuel map), NUL-padded to 16 bytes.
            e.calids = {"TRV1A2B3C4D5E6F", "TRVGAS0720"};
            e.cvns = {0x1A2B3C4D, 0x5E6F7081};
            e.name = unitName("ECM", "EngineControl");
        } else {
            for (int p : otherPids)
                e.pids.insert(p);
            e.calids = {"TRVUNIT0" + QByteArray::number(i)};
            e.cvns = {0x0BAD0000u + uint32_t(i)};
            e.name = unitName(others[i - 1][0], others[i - 1][1]);
        }
        ecus_.append(e);
    }
}

QByteArray ElmVehicle::readiness(const Ecu &e, bool thisCycle) const {
    if (!e.engine) return QByteArray(3, '\0');
    // Misfire, fuel system and components supported and complete (they run all the time); catalyst,
    // evaporative system, oxygen sensor and its heater, EGR supported. Since the codes were cleared
    // the catalyst and the evaporative system have not finished; this drive cycle the evaporative
    // system and the oxygen sensor have not. Clearing the codes leaves every one of them incomplete.
    const uint8_t supported = 0xE5;
    const uint8_t incomplete = e.cleared ? supported : thisCycle ? 0x24 : 0x05;
    return elmBytes({0x07, supported, incomplete});
}

QByteArray ElmVehicle::freezeFrame(int ecu, int pid) const {
    if (ecu < 0 || ecu >= ecus_.size() || dropped("freeze")) return {};
    const Ecu &e = ecus_[ecu];
    if (!e.engine) return {};
    if (pid == 0x02) return elmBytes({e.freezeCode >> 8, e.freezeCode & 0xFF});
    if (e.freezeCode == 0) return {};
    if (pid == 0x00 || pid == 0x20) {
        uint32_t bits = 0;
        if (pid == 0x00) bits = (1u << (31 - (0x02 - 1))) | 1u; // PID 02, and the next bitmap
        for (const FreezeValue &v : engineFreeze)
            if (v.pid > pid && v.pid <= pid + 0x20) bits |= 1u << (31 - (v.pid - pid - 1));
        return elmBytes(
            {int(bits >> 24), int((bits >> 16) & 0xFF), int((bits >> 8) & 0xFF), int(bits & 0xFF)});
    }
    for (const FreezeValue &v : engineFreeze)
        if (v.pid == pid) return v.data;
    return {};
}

QByteArray ElmVehicle::vehicleInfo(int ecu, int infoType) const {
    if (ecu < 0 || ecu >= ecus_.size()) return {};
    const Ecu &e = ecus_[ecu];
    QByteArray data;
    int count = 1;
    switch (infoType) {
    case 0x00: {
        // Info types 02, 04, 06 and 0A.
        if (!e.engine) return elmBytes({0x49, 0x00, 0x14, 0x40, 0x00, 0x00});
        return elmBytes({0x49, 0x00, 0x54, 0x40, 0x00, 0x00});
    }
    case 0x02:
        if (!e.engine || dropped("vin")) return {};
        data = vin_;
        break;
    case 0x04:
        if (dropped("calid")) return {};
        for (const QByteArray &c : e.calids)
            data += c.leftJustified(16, '\0', true);
        count = int(e.calids.size());
        break;
    case 0x06:
        if (dropped("cvn")) return {};
        for (uint32_t c : e.cvns)
            data += elmBytes({int(c >> 24), int((c >> 16) & 0xFF), int((c >> 8) & 0xFF), int(c & 0xFF)});
        count = int(e.cvns.size());
        break;
    case 0x0A:
        if (dropped("ecu-name")) return {};
        data = e.name;
        break;
    default: return {};
    }
    return elmBytes({0x49, infoType, count}) + data;
}

bool ElmVehicle::supportsPid(int ecu, int pid) const {
    if (ecu < 0 || ecu >= ecus_.size()) return false;
    return pid == 0 || ecus_[ecu].pids.contains(pid);
}

uint32_t ElmVehicle::pidBitmap(int ecu, int base) const {
    uint32_t bits = 0;
    for (int i = 0; i < 32; ++i)
        if (supportsPid(ecu, base + 1 + i)) bits |= 1u << (31 - i);
    return bits;
}

QList<uint16_t> ElmVehicle::codes(int ecu, int responseMode) const {
    if (ecu < 0 || ecu >= ecus_.size()) return {};
    const Ecu &e = ecus_[ecu];
    switch (responseMode) {
    case 0x43: return e.stored;
    case 0x47: return e.pending;
    case 0x4A: return e.permanent;
    default: return {};
    }
}

bool ElmVehicle::milOn(int ecu) const {
    return !codes(ecu, 0x43).isEmpty();
}

QByteArray ElmVehicle::pidData(int ecu, int pid, double t) const {
    if (!supportsPid(ecu, pid)) return {};
    if (pid % 0x20 == 0) {
        const uint32_t b = pidBitmap(ecu, pid);
        return elmBytes({int(b >> 24), int((b >> 16) & 0xFF), int((b >> 8) & 0xFF), int(b & 0xFF)});
    }
    const bool engine = ecus_[ecu].engine;
    const double v = speedAt(t);
    switch (pid) {
    case 0x01: {
        // Monitor status: MIL and stored code count, then the readiness bytes.
        const int count = std::min<int>(int(codes(ecu, 0x43).size()), 0x7F);
        const uint8_t a = uint8_t((milOn(ecu) ? 0x80 : 0) | count);
        if (dropped("monitors")) return {};
        return QByteArray(1, char(a)) + readiness(ecus_[ecu], false);
    }
    case 0x41:
        if (dropped("cycle")) return {};
        return QByteArray(1, '\0') + readiness(ecus_[ecu], true);
    case 0x03: {
        // Open loop while cold, closed loop once warm; both banks alike.
        const char s = coolantAt(t) < 40.0 ? 0x01 : 0x02;
        return elmBytes({s, s});
    }
    case 0x04: return QByteArray(1, char(clampByte((18.0 + v * 0.45) * 2.55)));
    case 0x05: return QByteArray(1, char(clampByte(coolantAt(t) + 40.0 - (engine ? 0.0 : 8.0))));
    case 0x06: return QByteArray(1, char(trimByte(stft1At(t))));
    case 0x07: return QByteArray(1, char(trimByte(3.1)));
    case 0x08: return QByteArray(1, char(trimByte(stft2At(t))));
    case 0x09: return QByteArray(1, char(trimByte(-2.3)));
    case 0x0B: return QByteArray(1, char(clampByte(mapAt(t))));
    case 0x0C: return word(rpmAt(t) * 4.0);
    case 0x0D: return QByteArray(1, char(clampByte(v)));
    case 0x0E: return QByteArray(1, char(clampByte((8.0 + v * 0.2) * 2.0 + 128.0)));
    case 0x0F: return QByteArray(1, char(clampByte(27.0 + 40.0)));
    case 0x10: return word(rpmAt(t) * mapAt(t) / 9000.0 * 100.0);
    case 0x11: return QByteArray(1, char(clampByte((12.0 + v * 0.35) * 2.55)));
    case 0x13: return QByteArray(1, char(0x33));
    case 0x14:
    case 0x15: {
        const double volts = pid == 0x14 ? 0.45 + 0.4 * std::sin(t * 6.0) : 0.62 + 0.05 * std::sin(t * 0.3);
        return elmBytes({clampByte(volts * 200.0), pid == 0x14 ? trimByte(stft1At(t)) : 0xFF});
    }
    case 0x1C: return QByteArray(1, char(0x06)); // EOBD
    case 0x1F: return word(t);
    // The counters that give a fresh clear away: warm-ups, km and minutes since the codes were
    // cleared (all 0 right after a clear, the minutes counting on), km and minutes with the lamp on.
    case 0x21:
        if (dropped("distance-mil")) return {};
        return word(milOn(ecu) ? 57 : 0);
    case 0x4D:
        if (dropped("time-mil")) return {};
        return word(milOn(ecu) ? 95 : 0);
    case 0x30:
        if (dropped("warm-ups")) return {};
        return QByteArray(1, char(ecus_[ecu].cleared ? 0 : 42));
    case 0x31:
        if (dropped("distance-cleared")) return {};
        return word(ecus_[ecu].cleared ? 0 : 1234);
    case 0x4E:
        if (dropped("time-cleared")) return {};
        return word(ecus_[ecu].cleared ? std::max(0.0, t - ecus_[ecu].clearedAtS) / 60.0 - 0.5 : 2710);
    case 0x2F: return QByteArray(1, char(clampByte(62.0 * 2.55)));
    case 0x33: return QByteArray(1, char(101));
    case 0x42: return word((voltage_ + 1.4) * 1000.0); // charging
    case 0x46: return QByteArray(1, char(22 + 40));
    case 0x5C: return QByteArray(1, char(clampByte(coolantAt(t) - 4.0 + 40.0)));
    default: return {};
    }
}

QByteArray ElmVehicle::codesMessage(const Ecu &e, uint8_t responseMode) const {
    const QList<uint16_t> &list = responseMode == 0x43   ? e.stored
                                  : responseMode == 0x47 ? e.pending
                                                         : e.permanent;
    // Codes and their count as ISO 15765 sends them; a single frame holds up to 255 codes' worth.
    const int n = int(std::min<qsizetype>(list.size(), 255));
    QByteArray m;
    m.append(char(responseMode));
    m.append(char(n));
    for (int i = 0; i < n; ++i) {
        m.append(char(list[i] >> 8));
        m.append(char(list[i] & 0xFF));
    }
    return m;
}

QList<ElmEcuAnswer> ElmVehicle::answer(const QByteArray &request, int64_t msSinceStart) {
    QList<ElmEcuAnswer> out;
    if (!ignitionOn_ || request.isEmpty()) return out;
    const double t = double(msSinceStart) / 1000.0;
    const uint8_t mode = uint8_t(request[0]);
    for (int i = 0; i < ecus_.size(); ++i) {
        Ecu &e = ecus_[i];
        QByteArray m;
        switch (mode) {
        case 0x01: {
            // Up to six PIDs a request: the unit answers those it has, each with its data, in the
            // order asked; none of them, no answer.
            if (request.size() < 2 || request.size() > 7) break;
            QByteArray all;
            for (int k = 1; k < request.size(); ++k) {
                const int pid = uint8_t(request[k]);
                const QByteArray data = pidData(i, pid, t);
                if (!data.isEmpty()) all += char(pid) + data;
            }
            if (!all.isEmpty()) m = char(0x41) + all;
            break;
        }
        case 0x03:
        case 0x07:
        case 0x0A:
            if (mode == 0x0A && dropped("permanent")) break;
            if (request.size() == 1) m = codesMessage(e, uint8_t(mode + 0x40));
            break;
        case 0x04:
            if (request.size() == 1) {
                // Stored and pending codes go, the lamp goes out; permanent codes stay until the
                // unit has seen the fault gone over several drive cycles.
                e.stored.clear();
                e.pending.clear();
                e.freezeCode = 0;
                e.cleared = true;
                e.clearedAtS = t;
                m = QByteArray(1, char(0x44));
            }
            break;
        case 0x02:
            if (request.size() == 3 && request[2] == 0) {
                const QByteArray data = freezeFrame(i, uint8_t(request[1]));
                if (!data.isEmpty()) m = elmBytes({0x42, uint8_t(request[1]), 0x00}) + data;
            }
            break;
        case 0x09:
            if (request.size() == 2) m = vehicleInfo(i, uint8_t(request[1]));
            break;
        default: break;
        }
        if (!m.isEmpty()) out.append({i, m});
    }
    return out;
}
