#pragma once
// The car behind the virtual adapter: its control units, the mode 01 values they report (changing
// with time), their trouble codes and identification. Answers are whole messages in the ISO 15765
// form (mode + 0x40, then the data); ElmFrames cuts them into the frames of each bus.
#include "ElmOptions.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QStringList>
#include <cstdint>

struct ElmEcuAnswer {
    int ecu = 0;        // index of the answering unit, 0 = the engine
    QByteArray message; // response mode byte first, e.g. 41 0C 1A F8
};

class ElmVehicle {
public:
    explicit ElmVehicle(const ElmOptions &options);

    int protocol() const { return protocol_; }
    int ecuCount() const { return int(ecus_.size()); }
    bool ignitionOn() const { return ignitionOn_; }

    // Answers of every unit to one request (mode byte first), in the order they arrive on the bus.
    // msSinceStart is the engine's running time, which the live values follow.
    QList<ElmEcuAnswer> answer(const QByteArray &request, int64_t msSinceStart);

    bool supportsPid(int ecu, int pid) const;
    // Four bitmap bytes of the supported PIDs base+1 .. base+32.
    uint32_t pidBitmap(int ecu, int base) const;
    // Value bytes of one mode 01 PID at a moment, empty when the unit does not have it.
    QByteArray pidData(int ecu, int pid, double seconds) const;

    QList<uint16_t> codes(int ecu, int responseMode) const;
    bool milOn(int ecu) const;

    // Data bytes of mode 02 frame 0 for one PID (02 = the code that stored it, 0000 when none),
    // empty when the unit has no such value.
    QByteArray freezeFrame(int ecu, int pid) const;
    // The mode 09 message (49, info type, item count, data) of one unit, empty when it has none.
    QByteArray vehicleInfo(int ecu, int infoType) const;

private:
    struct Ecu {
        QSet<int> pids;
        QList<uint16_t> stored, pending, permanent;
        bool engine = false;
        bool cleared = false;    // the codes were cleared: the monitors have not run since
        double clearedAtS = 0;   // engine time of the clear
        uint16_t freezeCode = 0; // the code whose freeze frame is held, 0 = none
        QList<QByteArray> calids;
        QList<uint32_t> cvns;
        QByteArray name; // 20 bytes: acronym, "-", name
    };
    QByteArray codesMessage(const Ecu &e, uint8_t responseMode) const;
    // Bytes B, C, D of PID 01 (or PID 41 for thisCycle).
    QByteArray readiness(const Ecu &e, bool thisCycle) const;
    bool dropped(const char *item) const { return noData_.contains(QLatin1String(item)); }

    int protocol_;
    bool ignitionOn_;
    double voltage_;
    QByteArray vin_;
    QStringList noData_;
    QList<Ecu> ecus_;
};
