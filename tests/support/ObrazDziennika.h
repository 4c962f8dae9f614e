#pragma once
// Every area of the image the journal of edits covers, as one array, and the blocks in which two
// such arrays differ: what an undo must give back and mark.
#include "device/TSterownik.h"

#include <QByteArray>

// n bytes of an image area (a block by default).
inline QByteArray Bajty(const uint8_t *p, int n = 256) {
    return QByteArray(reinterpret_cast<const char *>(p), n);
}

inline QByteArray ObrazDziennika(TSterownik &s) {
    QByteArray b = Bajty(s.Nastawy, 304);
    for (int bit = 1; bit < 24; ++bit)
        if (bit != BitHistoria && s.Blok(bit)) b += Bajty(s.Blok(bit));
    b += Bajty(s.Identyfikacja, 192);
    b.append(char(s.FactoryPending)).append(char(s.InjectorMask));
    return b;
}

inline uint32_t BlokiRozne(TSterownik &s, const QByteArray &a, const QByteArray &b) {
    uint32_t m = a.left(304) != b.left(304) ? 1u : 0u; // bytes 256…303 are never sent, but mark the block
    int off = 304;
    for (int bit = 1; bit < 24; ++bit) {
        if (bit == BitHistoria || !s.Blok(bit)) continue;
        if (a.mid(off, 256) != b.mid(off, 256)) m |= 1u << bit;
        off += 256;
    }
    return m;
}
