#pragma once
// The 4096-byte image layout shared by settings and scope files.
#include <QByteArray>
#include <QList>
#include <cstdint>

class TSterownik;

namespace TImageFile {
constexpr int Size = 4096;
constexpr int SampleSize = 128;
// A settings file: its first eight bytes and its format version (byte 8).
constexpr char SettingsMagic[] = "set file";
constexpr uint8_t SettingsVersion = 1;
// Request bits of the blocks a settings file writes to a connected controller: the settings, both
// multipliers, both RPM corrections, the three correction curves and the six maps.
constexpr uint32_t SettingsBlocks = 0xF3071F;
struct TBlock {
    uint8_t *Data;
    int Size;
    bool KeepOwn; // the history: the image keeps its own when a file is loaded
};
// From file offset 16 on, in file order.
QList<TBlock> Blocks(TSterownik &s);
QByteArray Serialize(TSterownik &s, const char *magic, uint8_t b8, uint8_t b9);
} // namespace TImageFile
