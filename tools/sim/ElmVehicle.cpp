#include "ElmVehicle.h"

#include "ElmFrames.h"

#include <algorithm>
#include <cmath>

namespace {

// PIDs of the engine unit: load, temperatures, both fuel trim banks, MAP, RPM, speed, ...
// and the bitmap PIDs 20, 40, 60 and 80 that chain the supported ranges.
const int enginePids[] = {0x01, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0B, 0x0C,
                          0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x13, 0x14, 0x15, 0x1C, 0x1F,
                          0x20, 0x21, 0x2F, 0x33, 0x40, 0x42, 0x46, 0x5C, 0x60, 0x80};
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
// Fuel trim in % as the byte 128 + 1.28 * %.
uint8_t trimByte(double percent) {
    return clampByte(128.0 + percent * 1.28);
}

} // namespace

ElmVehicle::ElmVehicle(const ElmOptions &options)
    : protocol_(options.protocol), ignitionOn_(!options.ignitionOff), voltage_(options.voltage),
      vin_(options.vin) {
    for (int i = 0; i < std::clamp(options.ecus, 1, 8); ++i) {
        Ecu e;
        e.engine = i == 0;
        if (e.engine) {
            for (int p : enginePids)
                e.pids.insert(p);
            e.stored = options.stored;
            e.pending = options.pending;
            e.permanent = options.permanent;
        } else {
            for (int p : otherPids)
                e.pids.insert(p);
        }
        ecus_.append(e);
    }
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
        return engine ? elmBytes({a, 0x07, 0xE5, 0x00}) : elmBytes({a, 0x00, 0x00, 0x00});
    }
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
    case 0x21: return word(0);
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
        case 0x01:
            if (request.size() == 2) {
                const int pid = uint8_t(request[1]);
                const QByteArray data = pidData(i, pid, t);
                if (!data.isEmpty()) m = elmBytes({0x41, pid}) + data;
            }
            break;
        case 0x03:
        case 0x07:
        case 0x0A:
            if (request.size() == 1) m = codesMessage(e, uint8_t(mode + 0x40));
            break;
        case 0x04:
            if (request.size() == 1) {
                // Stored and pending codes go, the lamp goes out; permanent codes stay until the
                // unit has seen the fault gone over several drive cycles.
                e.stored.clear();
                e.pending.clear();
                m = QByteArray(1, char(0x44));
            }
            break;
        case 0x09:
            if (e.engine && request.size() == 2 && request[1] == 0x00)
                m = QByteArray::fromHex("4900") + QByteArray::fromHex("40000000");
            else if (e.engine && request.size() == 2 && request[1] == 0x02)
                m = QByteArray::fromHex("490201") + vin_;
            break;
        default: break;
        }
        if (!m.isEmpty()) out.append({i, m});
    }
    return out;
}
