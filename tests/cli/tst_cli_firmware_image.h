#pragma once
// Firmware images for the virtual controller: a 256-byte file header whose hardware bytes match
// (or do not match) the simulator's identification, and the 224 blocks stamped the way the
// simulator's bootloader checks them.
#include "../../tools/sim/SimController.h"

#include <QByteArray>

namespace cli {

struct ImageSpec {
    uint8_t version[3] = {4, 0, 2}; // a middle digit of 0 keeps the channel count
    uint8_t date[3] = {25, 1, 2};
    bool goodSum = true;
    uint8_t hw8 = SimIdent::Hw44, hw18 = SimIdent::Hw40, hw20 = SimIdent::BoardType,
            hw21 = SimIdent::BoardVariant;
};

inline QByteArray FirmwareImage(const ImageSpec &spec = {}) {
    QByteArray header(256, '\0');
    header.replace(0, 8, "img file");
    header[8] = char(spec.hw8);
    header[18] = char(spec.hw18);
    header[20] = char(spec.hw20);
    header[21] = char(spec.hw21);
    QByteArray body(SimFirmware::Size, '\0');
    for (int i = 0; i < body.size(); ++i)
        body[i] = char((i * 7 + i / 256) & 0xFF);
    body.replace(0, 4, SimFirmware::Magic);
    for (int i = 0; i < 3; ++i) {
        body[4 + i] = char(spec.version[i]);
        body[7 + i] = char(spec.date[i]);
    }
    unsigned sum = 0;
    for (int i = 0; i < body.size() - 2; ++i)
        sum += uint8_t(body[i]);
    if (!spec.goodSum) ++sum;
    body[body.size() - 2] = char(sum & 0xFF);
    body[body.size() - 1] = char((sum >> 8) & 0xFF);
    return header + body;
}

} // namespace cli
