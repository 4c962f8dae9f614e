// Frame codec: sealing, padding, scrambling in both directions.
#include "link/Frame.h"

#include <QtTest>
#include <random>

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    void roundTripEveryLength() {
        std::mt19937 rng(7);
        for (int key : {0x00, 0x5A, 0xFF}) {
            for (int len = 4; len <= 262; ++len) {
                uint8_t plain[300];
                for (int i = 0; i < len; ++i)
                    plain[i] = uint8_t(rng());
                uint8_t f[300];
                std::memcpy(f, plain, size_t(len));
                Frame::Scramble(f, len, uint8_t(key));
                if (len > 6) QVERIFY(std::memcmp(f + 4, plain + 4, size_t(len - 4)) != 0);
                QCOMPARE(std::memcmp(f, plain, 4), 0); // the header is never scrambled
                Frame::Unscramble(f, len, uint8_t(key));
                QVERIFY2(std::memcmp(f, plain, size_t(len)) == 0, qPrintable(QString::number(len)));
            }
        }
    }

    void wrongKeyDoesNotUnscramble() {
        const QByteArray w = Frame::Build(Frame::StartReply, 0xE8, QByteArray(258, '\x11'), 0x5A);
        QByteArray f = w;
        Frame::Unscramble(reinterpret_cast<uint8_t *>(f.data()), int(f.size()), 0x5B);
        QVERIFY(Frame::Sum(reinterpret_cast<const uint8_t *>(f.constData()), int(f.size())) != 0);
        f = w;
        Frame::Unscramble(reinterpret_cast<uint8_t *>(f.data()), int(f.size()), 0x5A);
        QCOMPARE(Frame::Sum(reinterpret_cast<const uint8_t *>(f.constData()), int(f.size())), uint8_t(0));
    }

    void oddPayloadIsPadded() {
        uint8_t f[16] = {0, 0, 0, 0, 0xAA, 0x00, 0x7F, 0x33 /* padding: whatever the buffer holds */};
        const int len = Frame::Seal(f, Frame::StartPc, 0x86, 3);
        QCOMPARE(len, 8);
        QCOMPARE(int(f[2]), 2);
        QCOMPARE(Frame::Sum(f, 8), uint8_t(0)); // the checksum covers the padding byte
        f[7] ^= 1;
        QVERIFY(Frame::Sum(f, 8) != 0);
    }

    void headerOnlyFrame() {
        uint8_t f[8] = {};
        const int len = Frame::Seal(f, Frame::StartPc, 0x81, 0);
        QCOMPARE(len, 4);
        QCOMPARE(int(f[1]), int(uint8_t(-(101 + 0 + 0x81))));
        uint8_t g[8];
        std::memcpy(g, f, 8);
        Frame::Scramble(g, len, 0x5A);
        QCOMPARE(std::memcmp(f, g, 4), 0);
    }

    void traceLayout() {
        const uint8_t f[6] = {0x65, 0xD4, 0x01, 0x86, 0x0A, 0xFF};
        QCOMPARE(Frame::Trace("  TX:", f, 6), QByteArray("  TX: 65 D4 01 86   0A FF"));
    }
};

QTEST_GUILESS_MAIN(TestFrame)
#include "tst_link_frame.moc"
