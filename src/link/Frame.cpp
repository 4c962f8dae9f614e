#include "link/Frame.h"

#include <cstring>

uint8_t Frame::Sum(const uint8_t *f, int len) {
    unsigned s = 0;
    for (int i = 0; i < len; ++i)
        s += f[i];
    return uint8_t(s);
}

int Frame::Seal(uint8_t *f, uint8_t start, uint8_t command, int n) {
    if (n & 1) ++n;
    f[0] = start;
    f[1] = 0;
    f[2] = uint8_t(n / 2);
    f[3] = command;
    const int len = n + 4;
    f[1] = uint8_t(-Sum(f, len));
    return len;
}

void Frame::Scramble(uint8_t *f, int len, uint8_t key) {
    uint8_t k = f[1] ^ key;
    for (int i = 4; i < len; ++i) {
        const uint8_t p = f[i];
        f[i] = uint8_t(k ^ p ^ uint8_t(~i));
        k = p;
    }
}

void Frame::Unscramble(uint8_t *f, int len, uint8_t key) {
    uint8_t k = f[1] ^ key;
    for (int i = 4; i < len; ++i) {
        k = uint8_t(k ^ f[i] ^ uint8_t(~i));
        f[i] = k;
    }
}

QByteArray Frame::Build(uint8_t start, uint8_t command, const QByteArray &payload, uint8_t key) {
    const int n = int(qMin<qsizetype>(payload.size(), 510));
    QByteArray f(4 + n + (n & 1), '\0');
    auto *p = reinterpret_cast<uint8_t *>(f.data());
    std::memcpy(p + 4, payload.constData(), size_t(n));
    const int len = Seal(p, start, command, n);
    Scramble(p, len, key);
    return f;
}

QByteArray Frame::Trace(const char *prefix, const uint8_t *f, int len) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray s(prefix);
    s.reserve(s.size() + len * 3 + 2);
    for (int i = 0; i < len; ++i) {
        s.append(' ');
        s.append(hex[f[i] >> 4]);
        s.append(hex[f[i] & 15]);
        if (i == 3) s.append("  ");
    }
    return s;
}
