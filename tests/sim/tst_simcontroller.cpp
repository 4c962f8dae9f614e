// The virtual controller's logic on its virtual clock: commands, blocks, identification, the
// bootloader and the faults it can be told to make.
#include "tst_simcontroller_wire.h"

#include <QtTest>
#include <random>

namespace {
QByteArray RandomBlock(std::mt19937 &rng) {
    QByteArray b(256, '\0');
    for (auto &c : b)
        c = char(rng() & 0xFF);
    return b;
}

QByteArray SealedSettings(QByteArray b) {
    b[0] = 0;
    b[0] = char(-Frame::Sum(reinterpret_cast<const uint8_t *>(b.constData()), 256));
    return b;
}

// A firmware image of 224 blocks stamped with a version and a valid check sum.
std::vector<uint8_t> MakeImage(uint8_t v1, uint8_t v2, uint8_t v3) {
    std::vector<uint8_t> image(SimFirmware::Size);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = uint8_t(i * 7 + 3);
    SimFirmware::Stamp(image.data(), v1, v2, v3, 25, 6, 30);
    return image;
}

// Sends the image block by block; returns how many blocks were acknowledged.
int Flash(SimWire &w, const std::vector<uint8_t> &image, int skipBlock = -1) {
    int acks = 0;
    for (int b = 0; b < SimFirmware::Blocks; ++b) {
        if (b == skipBlock) continue;
        QByteArray p;
        p.append(char(b & 0xFF));
        p.append(char(b >> 8));
        p.append(reinterpret_cast<const char *>(&image[size_t(b) * 256]), 256);
        if (w.SendFor(0xFF, p).sumOk) ++acks;
    }
    return acks;
}

const uint8_t BlockCodes[][2] = { // read, write
    {0xE8, 0xF8}, {0xE9, 0xF9}, {0xEA, 0xFA}, {0xEB, 0xFB}, {0xEC, 0xFC}, {0xA7, 0xC7},
    {0xA8, 0xC8}, {0xA9, 0xC9}, {0xAA, 0xCA}, {0xAB, 0xCB}, {0xAC, 0xCC}, {0xAD, 0xCD},
    {0xE0, 0xF0}, {0xE1, 0xF1}, {0xE2, 0xF2}, {0xE3, 0xF3}, {0xE4, 0xF4}, {0xE5, 0xF5}};
} // namespace

class TestSimController : public QObject {
    Q_OBJECT
private slots:
    void everyCommandAnsweredWithItsOwnCode() {
        SimWire w;
        QList<uint8_t> codes = {0x81, 0x82, 0x83, 0x84, 0x85, 0x87, 0x88, 0x89, 0x8F, 0x90, 0x91,
                                0x92, 0x93, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xE0, 0xE1,
                                0xE2, 0xE3, 0xE4, 0xE5, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC};
        for (uint8_t c : codes) {
            const QList<SimGot> got =
                w.Send(c, c >= 0x90 && c <= 0x93 ? QByteArray() : QByteArray("\x55\0", 2));
            QVERIFY2(!got.isEmpty(), qPrintable(QString::number(c, 16)));
            QCOMPARE(got[0].start, uint8_t(86));
            QCOMPARE(got[0].code, c);
            QVERIFY(got[0].sumOk);
        }
        QCOMPARE(w.SendFor(0x86, QByteArray("\x10\0\x0F", 3)).code, uint8_t(0x86));
        for (uint8_t c = 0x94; c <= 0x97; ++c)
            QCOMPARE(w.SendFor(c, QByteArray("\x10\0\x00\x02\x90\x88\x80\x80", 8)).code, c);
        std::mt19937 rng(3);
        for (const auto &rw : BlockCodes) {
            QByteArray b = RandomBlock(rng);
            if (rw[1] == 0xF8) b = SealedSettings(b);
            const SimGot g = w.SendFor(rw[1], SimWire::WritePayload(b));
            QVERIFY2(g.sumOk, qPrintable(QString::number(rw[1], 16)));
            QCOMPARE(g.frame.size(), 6); // the acknowledgement carries no block
        }
        // Payload bytes 0-1 come back as they were sent; the block data follows from offset 2.
        const SimGot e9 = w.SendFor(0xE9, QByteArray("\xA5\0", 2));
        QCOMPARE(e9.at(4), uint8_t(0xA5));
        QCOMPARE(e9.frame.size(), 262);
        // Not a command of the controller: nothing comes back.
        QVERIFY(w.Send(0x40).isEmpty());
        QCOMPARE(w.ctl.Stats.unknown, 1);
    }

    void blocksWrittenAreReadBack() {
        SimWire w;
        std::mt19937 rng(11);
        for (const auto &rw : BlockCodes) {
            QByteArray b = RandomBlock(rng);
            if (rw[0] == 0xE8) b = SealedSettings(b);
            QVERIFY(w.SendFor(rw[1], SimWire::WritePayload(b)).sumOk);
            QCOMPARE(SimWire::Block(w.SendFor(rw[0])), b);
        }
        // A settings block whose sum is not 0 is refused and not acknowledged.
        QByteArray bad = SealedSettings(RandomBlock(rng));
        const QByteArray before = SimWire::Block(w.SendFor(0xE8));
        bad[0] = char(bad[0] + 1);
        QVERIFY(w.Send(0xF8, SimWire::WritePayload(bad)).isEmpty());
        QCOMPARE(SimWire::Block(w.SendFor(0xE8)), before);
        // A write cut short is not acknowledged either.
        QVERIFY(w.Send(0xF9, QByteArray(100, 'x')).isEmpty());
    }

    void factoryBlocksArePlausible() {
        SimWire w;
        const QByteArray s = SimWire::Block(w.SendFor(0xE8));
        QCOMPARE(Frame::Sum(reinterpret_cast<const uint8_t *>(s.constData()), 256), uint8_t(0));
        QCOMPARE(uint8_t(s[51]), uint8_t(168)); // switch to gas at 40 degrees
        QCOMPARE(uint8_t(s[90]), uint8_t(128));
        QCOMPARE(uint8_t(s[239]), uint8_t(100));
        QCOMPARE(SimWire::Block(w.SendFor(0xE9)), QByteArray(256, char(100)));
        const QByteArray curve = SimWire::Block(w.SendFor(0xA8));
        QCOMPARE(uint8_t(curve[0]), uint8_t(8));
        QCOMPARE(uint8_t(curve[16]), uint8_t(250));
        QCOMPARE(uint8_t(curve[200]), uint8_t(128));
        QCOMPARE(uint8_t(SimWire::Block(w.SendFor(0xAC))[2]), uint8_t(8)); // delay row 0: 2, 4, 8, ...
        // Factory settings put back what was changed.
        QVERIFY(w.SendFor(0xF9, SimWire::WritePayload(QByteArray(256, char(7)))).sumOk);
        QVERIFY(w.SendFor(0x89).sumOk);
        QCOMPARE(SimWire::Block(w.SendFor(0xE9)), QByteArray(256, char(100)));
    }

    void identificationLayout() {
        SimControllerOptions o;
        o.channels = 6;
        o.model = 1;
        o.serial = "AB12";
        SimWire w(o);
        const SimGot g = w.SendFor(0x81);
        QVERIFY(g.sumOk);
        QVERIFY(g.frame.size() < 128);
        QCOMPARE(g.at(5), uint8_t(0)); // application running
        QCOMPARE(g.frame.mid(6, 5), QByteArray("AB12\0", 5));
        QCOMPARE(g.at(38), uint8_t(1));
        QCOMPARE(g.at(40), SimIdent::Hw40);
        QCOMPARE(g.at(42), SimIdent::BoardType);
        QCOMPARE(g.at(43), SimIdent::BoardVariant);
        QCOMPARE(g.at(44), SimIdent::Hw44);
        QCOMPARE(g.at(46), uint8_t(24));
        QVERIFY(g.at(47) >= 1 && g.at(47) <= 12);
        QCOMPARE(g.at(59), uint8_t(6)); // version digit 2 = injector channels
        QVERIFY(g.at(60) != 0);
        QVERIFY(g.at(62) != 0);
        QCOMPARE(g.at(66), uint8_t(128));
        QVERIFY(g.u16(70) < 3600);
        QCOMPARE(long(g.u16(72)) * 3600 + g.u16(70), long(w.ctl.Engine.PetrolSeconds));
        QCOMPARE(long(g.u16(76)) * 3600 + g.u16(74), long(w.ctl.Engine.GasSeconds));
    }

    void bootloaderRoundTrip() {
        SimWire w;
        QVERIFY(w.SendFor(0x8E).sumOk);
        QVERIFY(w.ctl.Bootloader());
        QCOMPARE(w.SendFor(0x81).at(5), uint8_t(1));
        // In the bootloader polls get a bare header and the other commands nothing.
        QCOMPARE(w.SendFor(0x90).frame.size(), 4);
        QVERIFY(w.Send(0xE8).isEmpty());

        const auto image = MakeImage(4, 8, 2);
        QCOMPARE(Flash(w, image), SimFirmware::Blocks);
        QVERIFY(w.SendFor(0x8F).sumOk);
        QVERIFY(!w.ctl.Bootloader());
        const SimGot id = w.SendFor(0x81);
        QCOMPARE(id.at(5), uint8_t(0));
        QCOMPARE(id.at(58), uint8_t(4));
        QCOMPARE(id.at(59), uint8_t(8));
        QCOMPARE(id.at(60), uint8_t(2));
        QCOMPARE(id.at(62), uint8_t(25));
        QVERIFY(std::equal(image.begin(), image.end(), w.ctl.FirmwareImage()));
        QCOMPARE(w.SendFor(0x90).frame.size(), SimLive::FrameLength);
    }

    void badImagesKeepTheBootloader() {
        SimControllerOptions o;
        o.bootloader = true;
        SimWire w(o);
        QCOMPARE(w.SendFor(0x81).at(5), uint8_t(1));
        auto image = MakeImage(4, 8, 2);
        // One block missing.
        QCOMPARE(Flash(w, image, 100), SimFirmware::Blocks - 1);
        QVERIFY(w.SendFor(0x8F).sumOk);
        QVERIFY(w.ctl.Bootloader());
        // All blocks, but one byte changed after stamping.
        image[5000] ^= 0x40;
        QCOMPARE(Flash(w, image), SimFirmware::Blocks);
        w.SendFor(0x8F);
        QVERIFY(w.ctl.Bootloader());
        QCOMPARE(w.SendFor(0x81).at(5), uint8_t(1));
        // A block number out of range or a short block is not acknowledged.
        QVERIFY(w.Send(0xFF, QByteArray("\xE0\0", 2) + QByteArray(256, '\0')).isEmpty());
        QVERIFY(w.Send(0xFF, QByteArray("\x01\0", 2) + QByteArray(16, '\0')).isEmpty());
        image[5000] ^= 0x40;
        Flash(w, image);
        w.SendFor(0x8F);
        QVERIFY(!w.ctl.Bootloader());
    }

    void linkKeyIsHonoured() {
        SimControllerOptions o;
        o.linkKey = 0x13;
        SimWire w(o);
        QVERIFY(w.SendFor(0x81).sumOk);
        // A frame scrambled with another key does not check out and is not answered.
        w.ctl.Input(Frame::Build(Frame::StartPc, 0x81, QByteArray("\x44\0", 2), Frame::DefaultLinkKey));
        QVERIFY(w.ctl.Advance(50).isEmpty());
        QVERIFY(w.ctl.Stats.badFrames >= 1);
    }

    void inputResynchronises() {
        SimWire w;
        QByteArray junk("\x01\x02\x65\x00\x10\x81 junk", 12);
        QByteArray bad = Frame::Build(Frame::StartPc, 0x82, QByteArray("\x10\0", 2), w.key);
        bad[1] = char(bad[1] ^ 0x5A);
        w.ctl.Input(junk + bad + Frame::Build(Frame::StartPc, 0x81, {}, w.key));
        QList<SimGot> got = ParseReplies(w.ctl.Advance(300), w.key);
        QVERIFY(!got.isEmpty());
        QCOMPARE(got.last().code, uint8_t(0x81));
        // A frame that stops half-way is given up, and the next one is answered.
        const QByteArray e8 = Frame::Build(Frame::StartPc, 0xE8, {}, w.key);
        w.ctl.Input(Frame::Build(Frame::StartPc, 0xF9, QByteArray(258, '\0'), w.key).left(40));
        w.ctl.Advance(300);
        w.ctl.Input(e8);
        got = ParseReplies(w.ctl.Advance(50), w.key);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got[0].code, uint8_t(0xE8));
    }

    void dropRate() {
        SimControllerOptions o;
        o.dropRate = 0.3;
        o.seed = 7;
        o.obdEveryMs = 0;
        SimWire w(o);
        int answered = 0;
        const int polls = 2000;
        for (int i = 0; i < polls; ++i)
            answered += w.Send(0x90, {}, 20).size();
        QCOMPARE(w.ctl.Stats.dropped, polls - answered);
        const double share = double(polls - answered) / polls;
        QVERIFY2(share > 0.26 && share < 0.34, qPrintable(QString::number(share)));
    }

    void corruptRate() {
        SimControllerOptions o;
        o.corruptRate = 0.2;
        o.seed = 9;
        SimWire w(o);
        int bad = 0, total = 0;
        for (int i = 0; i < 1000; ++i)
            for (const SimGot &g : w.Send(0x90, {}, 20)) {
                ++total;
                if (!g.sumOk) ++bad;
                QCOMPARE(g.start == 86 ? g.code : uint8_t(0x90), uint8_t(0x90)); // header intact
            }
        QVERIFY(total >= 1000);
        QCOMPARE(bad, w.ctl.Stats.corrupted);
        QVERIFY2(bad > 150 && bad < 260, qPrintable(QString::number(bad)));
    }

    void garbageStaysBetweenFrames() {
        SimControllerOptions o;
        o.garbageRate = 0.5;
        o.seed = 5;
        o.obdEveryMs = 0;
        SimWire w(o);
        QByteArray stream;
        for (int i = 0; i < 300; ++i) {
            w.ctl.Input(Frame::Build(Frame::StartPc, 0x90, {}, w.key));
            stream += w.ctl.Advance(100);
        }
        QVERIFY(w.ctl.Stats.garbageBursts > 100);
        // Every reply arrives whole; the garbage only ever sits between them.
        int good = 0;
        qsizetype i = 0;
        while (i < stream.size()) {
            const QList<SimGot> one = ParseReplies(stream.mid(i, SimLive::FrameLength), w.key);
            if (one.size() == 1 && one[0].sumOk && one[0].code == 0x90 && uint8_t(stream[i]) == 86) {
                ++good;
                i += SimLive::FrameLength;
            } else {
                ++i;
            }
        }
        QCOMPARE(good, 300);
    }

    void splitRepliesArriveInPieces() {
        SimControllerOptions o;
        o.split = true;
        o.seed = 2;
        o.obdEveryMs = 0;
        SimWire w(o);
        int piecesOver1 = 0;
        QByteArray stream;
        for (int i = 0; i < 50; ++i) {
            w.ctl.Input(Frame::Build(Frame::StartPc, 0x81, {}, w.key));
            int pieces = 0;
            for (int ms = 0; ms < 100; ++ms) {
                const QByteArray b = w.ctl.Advance(1);
                if (!b.isEmpty()) ++pieces;
                stream += b;
            }
            piecesOver1 += pieces > 1;
        }
        QVERIFY(piecesOver1 > 25);
        const QList<SimGot> got = ParseReplies(stream, w.key);
        QCOMPARE(got.size(), 50);
        for (const SimGot &g : got)
            QVERIFY(g.sumOk && g.code == 0x81);
    }

    void silentAfter() {
        SimControllerOptions o;
        o.silentAfter = 5;
        SimWire w(o);
        int n = 0;
        for (int i = 0; i < 10; ++i)
            n += w.Send(0x90, {}, 100).size();
        QCOMPARE(n, 5);
        QVERIFY(w.Send(0x81).isEmpty());
    }

    // Noise and well-formed frames of every code with payloads of every length, in and out of the
    // bootloader: nothing breaks, and a plain identification request is still answered afterwards.
    void anyInputIsSurvived() {
        SimWire w;
        std::mt19937 rng(99);
        for (int i = 0; i < 3000; ++i) {
            const uint8_t code = uint8_t(rng() & 0xFF);
            QByteArray payload(int(rng() % 300), '\0');
            for (auto &c : payload)
                c = char(rng() & 0xFF);
            QByteArray noise(int(rng() % 8), '\0');
            for (auto &c : noise)
                c = char(rng() & 0xFF);
            w.ctl.Input(noise + Frame::Build(Frame::StartPc, code, payload, w.key));
            w.ctl.Advance(int(rng() % 300));
        }
        w.ctl.Advance(1000);
        if (w.ctl.Bootloader()) w.SendFor(0x8F); // a random image does not check out
        const SimGot id = w.SendFor(0x81, {}, 100);
        QVERIFY(id.sumOk);
        QVERIFY(w.ctl.Stats.framesIn > 2000);
    }

    void sameSeedSameBytes() {
        SimControllerOptions o;
        o.seed = 42;
        o.dropRate = 0.1;
        o.garbageRate = 0.1;
        SimWire a(o), b(o);
        for (int i = 0; i < 100; ++i) {
            const QByteArray cmd = Frame::Build(Frame::StartPc, 0x90, {}, a.key);
            a.ctl.Input(cmd);
            b.ctl.Input(cmd);
            QCOMPARE(a.ctl.Advance(100), b.ctl.Advance(100));
        }
    }
};

QTEST_GUILESS_MAIN(TestSimController)
#include "tst_simcontroller.moc"
