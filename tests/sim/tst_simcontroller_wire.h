#pragma once
// Test side of the virtual controller: sends PC frames into a SimController and takes its replies
// apart again.
#include "SimController.h"
#include "SimEngine.h"

#include <QList>

// One frame from the controller, unscrambled.
struct SimGot {
    uint8_t start = 0;
    uint8_t code = 0;
    QByteArray frame; // header included
    bool sumOk = false;
    uint8_t at(int offset) const { return offset < frame.size() ? uint8_t(frame[offset]) : 0; }
    int u16(int offset) const { return at(offset) | at(offset + 1) << 8; }
};

// Splits a byte stream into controller frames. Bytes that cannot start a frame are skipped; a
// frame that fails its checksum is returned (sumOk false) and the scan goes on after it.
inline QList<SimGot> ParseReplies(const QByteArray &bytes, uint8_t key = Frame::DefaultLinkKey,
                                  int *skipped = nullptr) {
    QList<SimGot> out;
    qsizetype i = 0;
    while (i + 4 <= bytes.size()) {
        const uint8_t s = uint8_t(bytes[i]);
        const int len = 4 + 2 * uint8_t(bytes[i + 2]);
        if ((s != 86 && s != 54) || i + len > bytes.size()) {
            ++i;
            if (skipped) ++*skipped;
            continue;
        }
        SimGot g;
        g.frame = bytes.mid(i, len);
        auto *f = reinterpret_cast<uint8_t *>(g.frame.data());
        Frame::Unscramble(f, len, key);
        g.start = s;
        g.code = f[3];
        g.sumOk = Frame::Sum(f, len) == 0;
        out.append(g);
        i += len;
    }
    return out;
}

struct SimWire {
    SimController ctl;
    uint8_t key;
    explicit SimWire(const SimControllerOptions &o = {}) : ctl(o), key(o.linkKey) {}

    // Sends one command, lets waitMs of virtual time pass, returns what came back.
    QList<SimGot> Send(uint8_t code, const QByteArray &payload = {}, int waitMs = 50) {
        ctl.Input(Frame::Build(Frame::StartPc, code, payload, key));
        return ParseReplies(ctl.Advance(waitMs), key);
    }
    // The reply with the given code among those of one command (an empty SimGot when none).
    SimGot SendFor(uint8_t code, const QByteArray &payload = {}, int waitMs = 50) {
        for (const SimGot &g : Send(code, payload, waitMs))
            if (g.start == 86 && g.code == code) return g;
        return {};
    }
    static QByteArray Block(const SimGot &g) { return g.frame.mid(6, 256); }
    // A write payload: random byte, 0, then the block.
    static QByteArray WritePayload(const QByteArray &block) { return QByteArray("\x37\0", 2) + block; }
};
