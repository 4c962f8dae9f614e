#pragma once
// The 4096-byte image layout shared by settings and scope files.
#include <QByteArray>
#include <QList>
#include <cstdint>

class TSterownik;

namespace TImageFile {
constexpr int Size = 4096;
constexpr int SampleSize = 128;
struct TBlock {
    uint8_t *Data;
    int Size;
    bool KeepOwn; // the history: the image keeps its own when a file is loaded
};
// From file offset 16 on, in file order.
QList<TBlock> Blocks(TSterownik &s);
QByteArray Serialize(TSterownik &s, const char *magic, uint8_t b8, uint8_t b9);
} // namespace TImageFile
