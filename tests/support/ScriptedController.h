#pragma once
// A small stand-in for the controller on the far side of the link: it takes the PC's scrambled
// frames from the wire, keeps its own copy of every block, and answers the way the controller does
// (the same command code, block data from payload offset 2).
#include "device/TSterownik.h"
#include "link/Frame.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <cstdint>
#include <map>
#include <memory>

// One frame as it left the PC, unscrambled.
struct TPcFrame {
    uint8_t Start = 0;
    uint8_t Code = 0;
    QByteArray Payload; // padding included
    bool SumOk = false;
    int Length() const { return 4 + int(Payload.size()); }
};

// Collects frames from a byte stream; an incomplete tail waits for more bytes.
class TFrameReader {
public:
    explicit TFrameReader(uint8_t key = Frame::DefaultLinkKey) : key_(key) {}
    void Feed(const QByteArray &bytes) { buf_.append(bytes); }
    bool Next(TPcFrame &out);
    // Every whole frame in bytes (a convenience for one-shot parsing).
    static QList<TPcFrame> Parse(const QByteArray &bytes, uint8_t key = Frame::DefaultLinkKey);

private:
    QByteArray buf_;
    uint8_t key_;
};

// A reply frame ready for the wire. The default payload is the usual two bytes (random, 0).
QByteArray ReplyFrame(uint8_t code, const QByteArray &payload = QByteArray(2, '\0'), uint8_t start = 86,
                      uint8_t key = Frame::DefaultLinkKey);
// A block read reply: two bytes, then the 256 block bytes.
QByteArray BlockReply(uint8_t code, const QByteArray &block256, uint8_t key = Frame::DefaultLinkKey);
// Payload of an identification reply (frame offset = payload offset + 4), 76 bytes by default.
QByteArray IdentPayload(int mode, int boardType = 1, int variant = 0, int injectors = 4, int size = 76);
// Payload of a poll reply (88 bytes, so the frame fills live offsets 0…91).
QByteArray PollPayload();
// Sets a byte of a payload addressed by its frame offset.
inline void SetFrameByte(QByteArray &payload, int frameOffset, uint8_t v) {
    payload[frameOffset - 4] = char(v);
}

class ScriptedController {
public:
    explicit ScriptedController(uint8_t key = Frame::DefaultLinkKey);

    // Takes what the PC wrote and returns the bytes to send back (replies to every whole frame).
    QByteArray Handle(const QByteArray &fromPc);
    // Answer to one frame ("" when silent).
    QByteArray Answer(const TPcFrame &f);

    // The block kept for a read code (0xE8 settings, 0xE0… maps, 0xA7… tables).
    QByteArray &Block(uint8_t readCode) { return blocks_[readCode]; }
    // The read code of a block write code (0xF8 → 0xE8, 0xC7 → 0xA7), 0 when the code writes nothing.
    static uint8_t ReadCodeOfWrite(uint8_t code);

    uint8_t Key;
    QByteArray Ident;         // identification payload
    QByteArray Live;          // poll reply payload
    QSet<uint8_t> Silent;     // commands left unanswered
    QList<TPcFrame> Received; // every frame taken, in order
    int BadFrames = 0;        // frames whose checksum failed

private:
    TFrameReader reader_;
    std::map<uint8_t, QByteArray> blocks_;
};

// The engine on the in-memory transport with the scripted controller behind it. Ticks are driven
// by hand; every transmit turn's frame is handed to the controller, whose answer is read on the
// following ticks, before the next turn.
class TLinkRig {
public:
    explicit TLinkRig(bool connect = true);
    TLinkRig(const TLinkRig &) = delete;
    TLinkRig &operator=(const TLinkRig &) = delete;

    // Ticks until one transmit turn has happened; the frames it sent (none when the turn was skipped).
    QList<TPcFrame> Turn();
    // The code sent on the next turn, -1 when the turn sent nothing.
    int TurnCode();
    // Codes of the next n turns (-1 for skipped turns).
    QList<int> TurnCodes(int n);
    // Ticks until every byte waiting has been taken by the receive path.
    void Settle();
    // Puts a reply on the wire and lets the engine take it.
    void Deliver(const QByteArray &wire);
    // Log lines with the given colour.
    QStringList LogLines(uint32_t colour) const;
    int EventCount(int kind) const;

    TSterownik Eng;
    std::shared_ptr<TMemoryPort> Mem = std::make_shared<TMemoryPort>();
    ScriptedController Ctl;
    bool AutoAnswer = true;
    QList<QList<int>> Events;
    QList<QPair<QString, uint32_t>> Log;
    QList<QPair<QString, int>> Messages;
};
