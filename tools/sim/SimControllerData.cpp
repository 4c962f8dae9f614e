// The virtual controller's own data: factory settings and tables, the identification block, and
// the check of a flashed firmware image.
#include "SimController.h"

#include <algorithm>
#include <cstring>

namespace {
// Factory values of the settings block (item, raw value); every other item is 0.
struct Item {
    uint8_t item, value;
};
constexpr Item FactorySettings[] = {
    {2, 1},    {3, 50},    {5, 1},     {22, 128}, {24, 1},   {25, 19},  {26, 140},   {27, 168},   {28, 50},
    {32, 1},   {33, 2},    {34, 4},    {35, 8},   {36, 16},  {37, 32},  {38, 64},    {39, 128},   {41, 44},
    {42, 39},  {43, 20},   {44, 8},    {45, 4},   {46, 4},   {50, 70},  {51, 168},   {52, 6},     {53, 20},
    {54, 10},  {55, 10},   {58, 168},  {60, 30},  {61, 200}, {62, 128}, {63, 60},    {64, 20},    {65, 5},
    {66, 20},  {68, 1},    {77, 168},  {83, 60},  {85, 178}, {86, 100}, {87, 128},   {89, 60},    {90, 128},
    {92, 128}, {94, 181},  {96, 1},    {98, 4},   {99, 4},   {100, 1},  {101, 0xF4}, {102, 0x01}, {106, 10},
    {107, 5},  {189, 200}, {215, 200},
};
constexpr uint8_t LoadAxis[16] = {6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100};
constexpr uint8_t RpmAxis[16] = {12, 18, 24, 30, 36, 42, 48, 54, 60, 66, 72, 80, 90, 100, 110, 120};

void SealSettings(uint8_t *s) {
    s[0] = 0;
    s[0] = uint8_t(-Frame::Sum(s, 256));
}

void Curve(uint8_t *c, uint8_t id, uint8_t x1, uint8_t x8) {
    std::memset(c, 0, 50);
    std::memset(c + 50, 128, 206);
    c[0] = id;
    c[2] = x1;
    c[3] = 128;
    c[16] = x8;
    c[17] = 128;
}

void PutWord(uint8_t *p, unsigned v) {
    p[0] = uint8_t(v & 0xFF);
    p[1] = uint8_t(v >> 8);
}
} // namespace

void SimController::FactoryDefaults() {
    uint8_t *s = blocks_[0];
    std::memset(s, 0, 256);
    for (const Item &i : FactorySettings)
        s[i.item] = i.value;
    for (int i = 0; i < 8; ++i)
        s[216 + i] = 128;
    std::memcpy(s + 224, LoadAxis, 16);
    std::memcpy(s + 240, RpmAxis, 16);
    SealSettings(s);
    for (int bit = 1; bit <= 4; ++bit)
        std::memset(blocks_[bit], 100, 256);
    Curve(blocks_[8], 8, 50, 250);
    Curve(blocks_[9], 9, 98, 228);
    Curve(blocks_[10], 10, 98, 228);
}

void SimController::DefaultBlocks() {
    std::memset(blocks_, 0, sizeof blocks_);
    FactoryDefaults();
    // History: the installation, written by the fitter's PC.
    const uint8_t install[8] = {0x08, 24, 3, 15, 0x12, 0x34, 0xAB, 0xCD};
    std::memcpy(blocks_[7], install, 8);
    // Gas injection delay: 2 on and below the diagonal, 4 just above, then rising by 2.
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            blocks_[12][r * 16 + c] = uint8_t(c <= r ? 2 : c == r + 1 ? 4 : 8 + 2 * (c - r - 2));
    std::memset(blocks_[13], 128, 256);
}

void SimController::BuildIdentification() {
    uint8_t *d = ident_;
    std::memset(d, 0, sizeof ident_);
    d[0] = Frame::StartReply;
    d[3] = 0x81;
    d[5] = boot_ ? 1 : 0;
    std::memcpy(d + 6, opt_.serial.constData(), size_t(std::min<qsizetype>(opt_.serial.size(), 16)));
    const uint8_t device[13] = {0x1E, 0x95, 0x0F, 0x41, 0x00, 0x17, 0x38, 0x30, 0x34, 0x31, 0x10, 0x20, 0x09};
    std::memcpy(d + 22, device, sizeof device);
    d[38] = uint8_t(opt_.model);
    d[40] = SimIdent::Hw40;
    d[42] = SimIdent::BoardType;
    d[43] = SimIdent::BoardVariant;
    d[44] = SimIdent::Hw44;
    d[46] = 24; // produced 2024-03-15
    d[47] = 3;
    d[48] = 15;
    d[50] = 0x12; // bootloader version
    d[51] = 0x04;
    d[52] = 0x01;
    d[53] = 1; // hardware letter "B"
    if (!boot_) {
        std::memcpy(d + 58, Version, 3);
        std::memcpy(d + 62, FirmwareDate, 3);
    }
    d[66] = d[67] = d[68] = 128; // no adaptation
    PutWord(d + 70, Engine.PetrolSeconds % 3600);
    PutWord(d + 72, Engine.PetrolSeconds / 3600);
    PutWord(d + 74, Engine.GasSeconds % 3600);
    PutWord(d + 76, Engine.GasSeconds / 3600);
}

bool SimFirmware::Valid(const uint8_t *image) {
    if (std::memcmp(image, Magic, 4) != 0) return false;
    unsigned sum = 0;
    for (int i = 0; i < Size - 2; ++i)
        sum += image[i];
    return uint16_t(sum) == uint16_t(image[Size - 2] | image[Size - 1] << 8);
}

void SimFirmware::Stamp(uint8_t *image, uint8_t v1, uint8_t v2, uint8_t v3, uint8_t year, uint8_t month,
                        uint8_t day) {
    std::memcpy(image, Magic, 4);
    const uint8_t info[6] = {v1, v2, v3, year, month, day};
    std::memcpy(image + 4, info, 6);
    unsigned sum = 0;
    for (int i = 0; i < Size - 2; ++i)
        sum += image[i];
    image[Size - 2] = uint8_t(sum & 0xFF);
    image[Size - 1] = uint8_t((sum >> 8) & 0xFF);
}
