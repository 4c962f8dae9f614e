#pragma once
// The virtual TARVEN controller: takes the bytes the PC sends, answers them as a controller does
// and hands back the bytes to send, on a virtual clock so that it runs headless in tests. The
// program shell (SimControllerRun.cpp) only moves bytes between this object and a pseudo-terminal.
//
// Frames are those of the link (checksum, scrambling with the link key). Every command is
// answered with its own code; blocks written are kept and returned by the matching reads; the poll
// reply carries the live parameters of SimEngine; the bootloader takes 224 firmware blocks and
// starts the new firmware when the image checks out (layout in SimFirmware below).
#include "SimEngine.h"
#include "link/Frame.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <functional>
#include <random>

struct SimControllerOptions {
    uint8_t linkKey = Frame::DefaultLinkKey;
    double dropRate = 0;     // share of replies never sent
    double corruptRate = 0;  // share of replies sent with a bad checksum
    double garbageRate = 0;  // share of replies followed by a burst of garbage bytes
    bool split = false;      // replies delivered in random pieces
    int silentAfter = -1;    // answers this many commands, then nothing more (-1: never silent)
    bool bootloader = false; // starts in the bootloader (no valid application)
    uint32_t seed = 1;
    int model = 2;    // identification byte 38: 1 ECO+, 2 PRO+
    int channels = 8; // injector channels (also version digit 2)
    QByteArray serial = "TV2403PRO00417";
    int replyDelayMs = 4;    // time from a complete command to the first reply byte
    int obdEveryMs = 2000;   // unsolicited OBD work-state report period (0: never)
    int learnEveryMs = 2500; // period of the learnt map cells
    int learnSpread = 0;     // learnt cells around the operating one, in map points
    // A flash that erases a sector every 4th block: the first copy of blocks 3, 7, 11, … is
    // answered after this many ms, every other block and every repeated copy after 5 ms (0: off).
    int flashDelayMs = 0;
};

// Fixed identification values (the hardware checks of a firmware image compare them).
namespace SimIdent {
constexpr uint8_t Hw40 = 0x31;      // compared with image file byte 18
constexpr uint8_t BoardType = 3;    // byte 42, compared with image file byte 20
constexpr uint8_t BoardVariant = 8; // byte 43, compared with image file byte 21
constexpr uint8_t Hw44 = 0x52;      // compared with image file byte 8
constexpr int FrameLength = 80;     // identification reply, header included
} // namespace SimIdent

// The flashed image: the 224 blocks of 256 bytes (file offset 256 on).
namespace SimFirmware {
constexpr int Blocks = 224;
constexpr int Size = Blocks * 256;
// Image bytes 0-3 "TVFW", 4-6 version digits (identification 58-60; a 0 in byte 5 keeps the
// channel count), 7-9 firmware date year - 2000, month, day (identification 62-64), and in its
// last two bytes the 16-bit little-endian sum of all bytes before them.
constexpr char Magic[] = "TVFW";
bool Valid(const uint8_t *image);
// Stamps magic, version, date and the check sum into an image of Size bytes (tests, tools).
void Stamp(uint8_t *image, uint8_t v1, uint8_t v2, uint8_t v3, uint8_t year, uint8_t month, uint8_t day);
} // namespace SimFirmware

class SimController {
    std::mt19937 rng_; // first: the engine model draws its noise from it

public:
    explicit SimController(const SimControllerOptions &options = {});

    // Bytes from the PC, arriving at the current virtual time.
    void Input(const QByteArray &bytes);
    // Moves the virtual clock on by ms and returns the bytes due for the PC by then.
    QByteArray Advance(int ms);
    // Milliseconds until the next output byte is due; -1 when nothing waits.
    int NextDueMs() const;
    int64_t Now() const { return now_; }

    // Optional trace of frames (one line each) for the program's --verbose.
    std::function<void(const QString &line)> OnLog;

    // ---- state, readable by tests
    SimEngine Engine;
    bool Bootloader() const { return boot_; }
    const uint8_t *Identification() const { return ident_; }
    // 256-byte block by its bit number (0-4, 7-13, 16, 17, 20-23); nullptr for other bits.
    uint8_t *Block(int bit);
    const uint8_t *FirmwareImage() const { return image_.data(); }
    uint8_t Version[3] = {3, 8, 21};       // identification 58-60 (the middle digit: channels)
    uint8_t FirmwareDate[3] = {24, 11, 5}; // identification 62-64
    struct Counters {
        int framesIn = 0, badFrames = 0, noiseBytes = 0, unknown = 0;
        int replies = 0, dropped = 0, corrupted = 0, garbageBursts = 0, obdReports = 0;
        // Firmware blocks of the last transfer: frames taken, copies of a block already written,
        // and copies that carried other data than the block already written.
        int flashFrames = 0, flashRepeats = 0, flashRewrites = 0;
    } Stats;
    // Blocks of the last transfer written at least once (0 … 224), and a digest of the image held.
    int FlashedBlocks() const;
    QByteArray FirmwareDigest() const;
    // One line on the last transfer: blocks written and missing, copies, digest.
    QString FirmwareSummary() const;

private:
    void Parse();
    void Handle(uint8_t command, const uint8_t *payload, int n);
    void HandleBoot(uint8_t command, const uint8_t *payload, int n);
    bool HandleBlock(uint8_t command, const uint8_t *payload, int n);
    void Reply(uint8_t command, const QByteArray &payload, int delayMs = -1);
    QByteArray Echoed(const QByteArray &data) const;
    QByteArray IdentPayload() const;
    void SendObd();
    void Queue(const QByteArray &bytes, int64_t due);
    bool Roll(double rate);
    void BuildIdentification();
    void FactoryDefaults();
    void DefaultBlocks();
    void LogFrame(const char *prefix, const uint8_t *f, int len);
    void StoreCell(const uint8_t *f);

    SimControllerOptions opt_;
    int64_t now_ = 0;
    int64_t inSince_ = 0; // when the first byte of the pending input arrived
    int64_t nextObd_ = 0;
    bool boot_ = false;
    bool silent_ = false;
    bool obdDue_ = false;
    uint8_t echo_[2] = {}; // payload bytes 0-1 of the command being answered
    QByteArray in_;
    struct Out {
        int64_t due;
        QByteArray bytes;
    };
    std::deque<Out> out_;
    uint8_t ident_[SimIdent::FrameLength] = {};
    uint8_t blocks_[24][256] = {};
    std::vector<uint8_t> image_;
    std::vector<bool> flashed_;
};

// `tarven-sim controller [options]` (SimControllerRun.cpp): prints "PTY <slave>" and runs until
// SIGTERM/SIGINT.
int RunController(const QStringList &args);
