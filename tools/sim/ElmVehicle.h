#pragma once
// The car behind the virtual adapter: its control units, the mode 01 values they report (changing
// with time), their trouble codes and identification. Answers are whole messages in the ISO 15765
// form (mode + 0x40, then the data); ElmFrames cuts them into the frames of each bus.
#include "ElmOptions.h"

#include <QByteArray>
#include <QList>
#include <QSet>
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

private:
    struct Ecu {
        QSet<int> pids;
        QList<uint16_t> stored, pending, permanent;
        bool engine = false;
    };
    QByteArray codesMessage(const Ecu &e, uint8_t responseMode) const;

    int protocol_;
    bool ignitionOn_;
    double voltage_;
    QByteArray vin_;
    QList<Ecu> ecus_;
};
