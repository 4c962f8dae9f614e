#include "SimController.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cstring>

namespace {
constexpr int PartialFrameMs = 200; // a command that stops half-way is given up after this

// Bit number of the block a read or write command carries; -1 for other commands.
int BlockBit(uint8_t c, bool *write) {
    static const int maps[6] = {16, 17, 20, 21, 22, 23};
    *write = false;
    if (c >= 0xA7 && c <= 0xAD) return 7 + (c - 0xA7);
    if (c >= 0xE0 && c <= 0xE5) return maps[c - 0xE0];
    if (c >= 0xE8 && c <= 0xEC) return c - 0xE8;
    *write = true;
    if (c >= 0xC7 && c <= 0xCD) return 7 + (c - 0xC7);
    if (c >= 0xF0 && c <= 0xF5) return maps[c - 0xF0];
    if (c >= 0xF8 && c <= 0xFC) return c - 0xF8;
    return -1;
}
} // namespace

SimController::SimController(const SimControllerOptions &options)
    : rng_(options.seed), Engine(rng_), opt_(options), image_(SimFirmware::Size, 0xFF),
      flashed_(SimFirmware::Blocks, false) {
    opt_.channels = std::clamp(opt_.channels, 1, 8);
    Engine.Channels = opt_.channels;
    Engine.LearnEveryMs = opt_.learnEveryMs;
    Engine.LearnSpread = opt_.learnSpread;
    Version[1] = uint8_t(opt_.channels);
    boot_ = opt_.bootloader;
    nextObd_ = opt_.obdEveryMs;
    DefaultBlocks();
    Engine.Settings = blocks_[0];
    BuildIdentification();
}

uint8_t *SimController::Block(int bit) {
    const bool known = (bit >= 0 && bit <= 4) || (bit >= 7 && bit <= 13) || bit == 16 || bit == 17 ||
                       (bit >= 20 && bit <= 23);
    return known ? blocks_[bit] : nullptr;
}

bool SimController::Roll(double rate) {
    if (rate <= 0) return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < rate;
}

void SimController::LogFrame(const char *prefix, const uint8_t *f, int len) {
    if (OnLog) OnLog(QString::fromLatin1(Frame::Trace(prefix, f, len)));
}

// ---------------------------------------------------------------- input

void SimController::Input(const QByteArray &bytes) {
    if (bytes.isEmpty()) return;
    if (in_.isEmpty()) inSince_ = now_;
    in_.append(bytes);
    if (in_.size() > 4096) { // nobody sends this much without a frame in it
        Stats.noiseBytes += int(in_.size() - 4096);
        in_.remove(0, in_.size() - 4096);
    }
    Parse();
}

void SimController::Parse() {
    for (;;) {
        qsizetype skip = 0;
        while (skip < in_.size() && uint8_t(in_[skip]) != Frame::StartPc)
            ++skip;
        if (skip > 0) {
            Stats.noiseBytes += int(skip);
            in_.remove(0, skip);
            inSince_ = now_;
        }
        if (in_.size() < 4) return;
        const int len = 4 + 2 * uint8_t(in_[2]);
        if (in_.size() < len) return;
        QByteArray frame = in_.left(len);
        auto *f = reinterpret_cast<uint8_t *>(frame.data());
        Frame::Unscramble(f, len, opt_.linkKey);
        if (Frame::Sum(f, len) != 0) {
            // Not a frame after all: look for the next start byte after this one.
            ++Stats.badFrames;
            in_.remove(0, 1);
            inSince_ = now_;
            continue;
        }
        in_.remove(0, len);
        inSince_ = now_;
        ++Stats.framesIn;
        LogFrame("  >", f, len);
        Handle(f[3], f + 4, len - 4);
    }
}

// ---------------------------------------------------------------- commands

void SimController::Handle(uint8_t c, const uint8_t *p, int n) {
    if (silent_) return;
    echo_[0] = n >= 1 ? p[0] : 0;
    echo_[1] = n >= 2 ? p[1] : 0;
    if (boot_) {
        HandleBoot(c, p, n);
        return;
    }
    if (HandleBlock(c, p, n)) return;

    switch (c) {
    case 0x80: Reply(c, Echoed(QByteArray(1, char(Engine.Fuel)))); return;
    case 0x81:
        BuildIdentification(); // the running hours move on
        Reply(c, IdentPayload());
        return;
    case 0x82: {
        uint8_t f[70] = {};
        Engine.FillErrors(f);
        Reply(c, Echoed(QByteArray(reinterpret_cast<const char *>(f + 6), 64)));
        return;
    }
    case 0x83:
        Engine.EraseErrors();
        Engine.PushRecord(241, 0x08);
        Reply(c, Echoed({}));
        return;
    case 0x84:
    case 0x85:
        Engine.FuelSwitch(c == 0x85);
        Reply(c, Echoed({}));
        return;
    case 0x86:
        if (n >= 3) Engine.SetInjectorMask(p[2]);
        Reply(c, Echoed({}));
        return;
    case 0x87: // speaker test: the buzzer sounds in the car
    case 0x88: // leak test: the solenoid valves close and the pressure is watched
        Reply(c, Echoed({}));
        return;
    case 0x89:
        FactoryDefaults();
        Engine.PushRecord(242, 0x01);
        Reply(c, Echoed({}));
        return;
    case 0x8E:
        Reply(c, Echoed({}));
        boot_ = true;
        std::fill(flashed_.begin(), flashed_.end(), false);
        Stats.flashFrames = Stats.flashRepeats = Stats.flashRewrites = 0;
        BuildIdentification();
        return;
    case 0x8F: Reply(c, Echoed({})); return;
    default: break;
    }
    if ((c & 0xF0) == 0x90) {
        if ((c & 4) && n >= 8) Engine.SetRelay(p + 2);
        if (c & 1) Engine.CalibrationPoll();
        uint8_t f[SimLive::FrameLength] = {};
        Engine.FillLive(f);
        StoreCell(f);
        Reply(c, Echoed(QByteArray(reinterpret_cast<const char *>(f + 6), SimLive::FrameLength - 6)));
        return;
    }
    ++Stats.unknown;
}

// A learnt map cell reported in a poll reply is also kept in the controller's map.
void SimController::StoreCell(const uint8_t *f) {
    static const int maps[6] = {16, 20, 22, 17, 21, 23}; // table number -> block bit
    if (f[SimLive::Record] != 0 || f[9] == 0 || f[7] > 5) return;
    blocks_[maps[f[7]]][f[8]] = f[9];
}

bool SimController::HandleBlock(uint8_t c, const uint8_t *p, int n) {
    bool write = false;
    const int bit = BlockBit(c, &write);
    if (bit < 0) return false;
    uint8_t *block = blocks_[bit];
    if (!write) {
        Reply(c, Echoed(QByteArray(reinterpret_cast<const char *>(block), 256)));
        return true;
    }
    if (n < 258) { // a write without its block is not acknowledged
        ++Stats.badFrames;
        return true;
    }
    if (bit == 0 && Frame::Sum(p + 2, 256) != 0) {
        // The controller keeps its settings when the block does not check out, and says nothing.
        ++Stats.badFrames;
        if (OnLog) OnLog(QStringLiteral("  settings block with a bad sum refused"));
        return true;
    }
    std::memcpy(block, p + 2, 256);
    if (bit == 0)
        Engine.PushRecord(242, 0x01);
    else if (bit <= 4)
        Engine.PushRecord(242, uint8_t(1u << bit)); // multipliers 1, 2; RPM corrections 1, 2
    else if (bit <= 13)
        Engine.PushRecord(242, 0x20);
    else
        Engine.PushRecord(241, 0x02);
    Reply(c, Echoed({}));
    return true;
}

void SimController::HandleBoot(uint8_t c, const uint8_t *p, int n) {
    switch (c) {
    case 0x81: Reply(c, IdentPayload()); return;
    case 0x8E: Reply(c, Echoed({})); return;
    case 0x8F: {
        const bool all = std::all_of(flashed_.begin(), flashed_.end(), [](bool b) { return b; });
        Reply(c, Echoed({}));
        if (!all || !SimFirmware::Valid(image_.data())) {
            if (OnLog) OnLog(QStringLiteral("  firmware image incomplete or bad: staying in the bootloader"));
            return;
        }
        Version[0] = image_[4];
        if (image_[5] != 0) Version[1] = std::min<uint8_t>(image_[5], 8);
        Version[2] = image_[6];
        std::memcpy(FirmwareDate, &image_[7], 3);
        Engine.Channels = Version[1];
        boot_ = false;
        BuildIdentification();
        return;
    }
    case 0xFF: {
        const int block = n >= 2 ? p[0] | p[1] << 8 : -1;
        if (n < 258 || block < 0 || block >= SimFirmware::Blocks) {
            ++Stats.badFrames;
            return;
        }
        uint8_t *at = &image_[size_t(block) * 256];
        const bool first = !flashed_[size_t(block)];
        ++Stats.flashFrames;
        if (!first) {
            ++Stats.flashRepeats;
            if (std::memcmp(at, p + 2, 256) != 0) ++Stats.flashRewrites;
        }
        std::memcpy(at, p + 2, 256);
        flashed_[size_t(block)] = true;
        int delay = -1;
        if (opt_.flashDelayMs > 0) delay = first && block % 4 == 3 ? opt_.flashDelayMs : 5;
        Reply(c, Echoed({}), delay); // carries the block number back
        return;
    }
    default: break;
    }
    // The bootloader answers polls with a bare header (no live data) and ignores everything else.
    if ((c & 0xF0) == 0x90)
        Reply(c, QByteArray());
    else
        ++Stats.unknown;
}

int SimController::FlashedBlocks() const {
    return int(std::count(flashed_.begin(), flashed_.end(), true));
}

QByteArray SimController::FirmwareDigest() const {
    return QCryptographicHash::hash(
               QByteArrayView(reinterpret_cast<const char *>(image_.data()), qsizetype(image_.size())),
               QCryptographicHash::Sha1)
        .toHex();
}

QString SimController::FirmwareSummary() const {
    return QStringLiteral("firmware: %1 of %2 blocks written, %3 missing, %4 frames, %5 repeated copies, "
                          "%6 rewritten with other data, image %7, sha1 %8")
        .arg(FlashedBlocks())
        .arg(SimFirmware::Blocks)
        .arg(SimFirmware::Blocks - FlashedBlocks())
        .arg(Stats.flashFrames)
        .arg(Stats.flashRepeats)
        .arg(Stats.flashRewrites)
        .arg(SimFirmware::Valid(image_.data()) ? QStringLiteral("valid") : QStringLiteral("invalid"))
        .arg(QString::fromLatin1(FirmwareDigest()));
}

// ---------------------------------------------------------------- output

// Payload bytes 0-1 of a reply repeat those of the command; the data follows from byte 2.
QByteArray SimController::Echoed(const QByteArray &data) const {
    QByteArray payload;
    payload.append(char(echo_[0]));
    payload.append(char(echo_[1]));
    payload.append(data);
    return payload;
}

QByteArray SimController::IdentPayload() const {
    return QByteArray(reinterpret_cast<const char *>(ident_ + 4), SimIdent::FrameLength - 4);
}

void SimController::Reply(uint8_t command, const QByteArray &payload, int delayMs) {
    if (opt_.silentAfter >= 0 && Stats.replies >= opt_.silentAfter) {
        silent_ = true;
        return;
    }
    ++Stats.replies;
    const int n = int(payload.size());
    QByteArray frame(4 + n + (n & 1), '\0');
    auto *f = reinterpret_cast<uint8_t *>(frame.data());
    std::memcpy(f + 4, payload.constData(), size_t(n));
    const int len = Frame::Seal(f, Frame::StartReply, command, n);
    LogFrame("  <", f, len);

    int64_t due = now_ + (delayMs >= 0 ? delayMs : opt_.replyDelayMs);
    auto send = [&](QByteArray &bytes) {
        auto *b = reinterpret_cast<uint8_t *>(bytes.data());
        const int l = int(bytes.size());
        if (Roll(opt_.dropRate)) {
            ++Stats.dropped;
            return;
        }
        if (Roll(opt_.corruptRate)) {
            // Disturb the checksum itself: the frame still unscrambles, but its sum is wrong.
            b[1] = uint8_t(b[1] + 1 + std::uniform_int_distribution<int>(0, 254)(rng_));
            ++Stats.corrupted;
        }
        Frame::Scramble(b, l, opt_.linkKey);
        if (opt_.split && l > 1) {
            int at = 0;
            while (at < l) {
                const int piece = std::uniform_int_distribution<int>(1, std::max(1, l - at))(rng_);
                Queue(bytes.mid(at, piece), due);
                at += piece;
                due += std::uniform_int_distribution<int>(1, 12)(rng_);
            }
        } else {
            Queue(bytes, due);
        }
        if (Roll(opt_.garbageRate)) {
            QByteArray junk(std::uniform_int_distribution<int>(1, 12)(rng_), '\0');
            for (auto &ch : junk)
                ch = char(std::uniform_int_distribution<int>(0, 255)(rng_));
            Queue(junk, due + std::uniform_int_distribution<int>(15, 40)(rng_));
            ++Stats.garbageBursts;
        }
    };
    send(frame);

    // The OBD work-state report goes out right after a reply, so it never cuts into one.
    if (obdDue_ && !boot_) {
        obdDue_ = false;
        QByteArray obd(4 + 38, '\0');
        auto *o = reinterpret_cast<uint8_t *>(obd.data());
        Engine.FillObd(o + 6);
        const int olen = Frame::Seal(o, Frame::StartObd, 0x70, 38);
        LogFrame("  <", o, olen);
        ++Stats.obdReports;
        due += 3;
        send(obd);
    }
}

void SimController::Queue(const QByteArray &bytes, int64_t due) {
    if (bytes.isEmpty()) return;
    if (!out_.empty()) due = std::max(due, out_.back().due);
    out_.push_back({due, bytes});
}

int SimController::NextDueMs() const {
    if (out_.empty()) return -1;
    return int(std::max<int64_t>(0, out_.front().due - now_));
}

QByteArray SimController::Advance(int ms) {
    while (ms > 0) {
        // Fine steps while the PC talks; a long quiet spell is crossed in coarser ones.
        const int step = std::min(ms, ms > 5000 ? 500 : 10);
        ms -= step;
        now_ += step;
        Engine.Advance(step);
        if (!in_.isEmpty() && now_ - inSince_ > PartialFrameMs) {
            ++Stats.noiseBytes;
            in_.remove(0, 1);
            inSince_ = now_;
            Parse();
        }
        if (opt_.obdEveryMs > 0 && now_ >= nextObd_) {
            nextObd_ = now_ + opt_.obdEveryMs;
            obdDue_ = true;
        }
    }
    QByteArray bytes;
    while (!out_.empty() && out_.front().due <= now_) {
        bytes.append(out_.front().bytes);
        out_.pop_front();
    }
    return bytes;
}
