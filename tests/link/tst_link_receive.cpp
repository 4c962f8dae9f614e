// The controller link's tick and receive path, driven through the in-memory transport.
#include "device/TSterownik.h"

#include <QtTest>
#include <random>

namespace {
QByteArray Reply(uint8_t command, const QByteArray &payload = QByteArray(2, '\0'), uint8_t start = 86) {
    return Frame::Build(start, command, payload, Frame::DefaultLinkKey);
}

struct Rig {
    TSterownik eng;
    std::shared_ptr<TMemoryPort> mem = std::make_shared<TMemoryPort>();
    QList<QList<int>> events;
    QStringList log;
    Rig() {
        eng.StopTimer();
        eng.UseBackend(mem);
        eng.OnZdarzenie = [this](int k, int a, int b, int c) { events.append({k, a, b, c}); };
        eng.OnTekst = [this](QObject *, const QString &t, uint32_t) { log.append(t); };
        eng.PortOpen(1);
    }
    int Replies() const {
        int n = 0;
        for (const auto &e : events)
            if (e[0] == 0) ++n;
        return n;
    }
};
} // namespace

class TestReceive : public QObject {
    Q_OBJECT
private slots:
    void connectionEdge() {
        Rig r;
        r.eng.OtherRequests = ReqReadErrors;
        r.eng.FlashActive = 1;
        r.eng.BootExpected = 1;
        r.eng.Timer1OnTimer();
        QCOMPARE(r.eng.OtherRequests, uint32_t(ReqIdentify));
        QCOMPARE(int(r.eng.FlashActive), 0);
        QCOMPARE(int(r.eng.BootExpected), 0);
        QCOMPARE(r.events.first(), (QList<int>{3, 0, 0, 0}));
        QCOMPARE(int(r.eng.JustOpened), 0);
        r.eng.Timer1OnTimer();
        int starts = 0;
        for (const auto &e : r.events)
            starts += e[0] == 3;
        QCOMPARE(starts, 1);
    }

    void transmitEveryFourthTick() {
        Rig r;
        for (int i = 0; i < 3; ++i)
            r.eng.Timer1OnTimer();
        QVERIFY(r.mem->Tx.isEmpty());
        r.eng.Timer1OnTimer();
        const QByteArray tx = r.mem->TakeTx();
        QVERIFY(!tx.isEmpty());
        QCOMPARE(uint8_t(tx[0]), uint8_t(101));
        QCOMPARE(uint8_t(tx[3]), uint8_t(0x81)); // identification first
        QCOMPARE(r.eng.Unanswered, 1);
        bool sentEvent = false;
        for (const auto &e : r.events)
            sentEvent |= e[0] == 1 && e[1] == 0x81 && e[2] == 4;
        QVERIFY(sentEvent);
    }

    // A turn whose frame is answered lasts five ticks (the tick that takes the reply's header is
    // not counted), a silent one four. Controllers see this spacing; it must not change unnoticed.
    void answeredTurnLastsFiveTicks() {
        Rig r;
        const auto ticksToTransmit = [&r] {
            for (int n = 1; n <= 16; ++n) {
                r.eng.Timer1OnTimer();
                if (!r.mem->TakeTx().isEmpty()) return n;
            }
            return -1;
        };
        QCOMPARE(ticksToTransmit(), 4);               // the first turn after the port opened
        r.mem->Rx = Reply(0x81, QByteArray(8, '\0')); // answered at once
        QCOMPARE(ticksToTransmit(), 5);
        QCOMPARE(ticksToTransmit(), 4); // silent
        r.mem->Rx = Reply(0x84);
        QCOMPARE(ticksToTransmit(), 5);
    }

    void twoRepliesOnePerStep() {
        Rig r;
        r.mem->Rx = Reply(0x84) + Reply(0x85);
        QCOMPARE(r.eng.OdbiorRx(), -2); // header held
        QCOMPARE(r.eng.OdbiorRx(), 6);
        QCOMPARE(r.Replies(), 1);
        QCOMPARE(r.eng.OdbiorRx(), -2);
        QCOMPARE(r.eng.OdbiorRx(), 6);
        QCOMPARE(r.Replies(), 2);
        QCOMPARE(r.eng.OdbiorRx(), -1);
    }

    void splitAtEveryByte() {
        Rig r;
        const QByteArray f = Reply(0xE9, QByteArray(258, '\x64'));
        for (int i = 0; i < f.size(); ++i) {
            r.mem->Rx.append(f[i]);
            r.eng.OdbiorRx();
        }
        r.eng.OdbiorRx();
        QCOMPARE(r.Replies(), 1);
        QCOMPARE(int(r.eng.Mnoznik1[17]), 0x64);
        QCOMPARE(r.eng.RxStage, 0);
    }

    void wrongStartBytePurged() {
        Rig r;
        r.mem->Rx = QByteArray("\x01\x02\xAB\x04", 4) + Reply(0x84);
        QCOMPARE(r.eng.OdbiorRx(), -1);
        QVERIFY(r.mem->Rx.isEmpty()); // the rest of the junk window is purged too
        QCOMPARE(r.log.last(), QString("  brak bajtu startowego :  01 02 AB 04"));
        QCOMPARE(r.eng.RxStage, 0);
        r.mem->Rx = Reply(0x84);
        r.eng.OdbiorRx();
        r.eng.OdbiorRx();
        QCOMPARE(r.Replies(), 1);
    }

    void overflowPurged() {
        Rig r;
        r.mem->Rx = QByteArray(1024, '\x56');
        QCOMPARE(r.eng.OdbiorRx(), -1);
        QCOMPARE(r.log.last(), QString("  przekroczenie bufora"));
        QVERIFY(r.mem->Rx.isEmpty());
        // A held header counts: 4 held + 1020 waiting is too much as well.
        r.mem->Rx = Reply(0xE8, QByteArray(258, '\0')).left(4);
        QCOMPARE(r.eng.OdbiorRx(), -2);
        r.mem->Rx = QByteArray(1020, '\0');
        QCOMPARE(r.eng.OdbiorRx(), -1);
        QCOMPARE(r.eng.RxStage, 0);
    }

    void headerInsidePayloadDoesNotResync() {
        Rig r;
        // A 200-byte reply whose payload never fully arrives, then a good reply.
        QByteArray lost = Reply(0xE8, QByteArray(200, '\x11'));
        lost.truncate(60);
        r.mem->Rx = lost;
        QCOMPARE(r.eng.OdbiorRx(), -2);
        QCOMPARE(r.eng.OdbiorRx(), -2);
        const int unanswered = r.eng.Unanswered = 7;
        for (int i = 0; i < 30; ++i)
            r.mem->Rx += Reply(0x84);
        QCOMPARE(r.eng.OdbiorRx(), 204); // the following replies complete the lost frame
        QCOMPARE(r.Replies(), 0);        // which fails its checksum
        QCOMPARE(r.eng.Unanswered, unanswered);
        QVERIFY2(r.log.contains("  błąd sumy "), qPrintable(r.log.join("|")));
        // Drain the rest: the stream realigns on a later header.
        for (int i = 0; i < 200; ++i)
            r.eng.OdbiorRx();
        QVERIFY(r.Replies() > 0);
        QCOMPARE(r.eng.Unanswered, 0);
    }

    void noTransmitWhilePayloadArrives() {
        Rig r;
        r.eng.Timer1OnTimer(); // consume the connection edge
        r.mem->TakeTx();
        const QByteArray f = Reply(0xE8, QByteArray(258, '\0'));
        r.mem->Rx = f.left(10);
        for (int i = 0; i < 20; ++i)
            r.eng.Timer1OnTimer();
        QVERIFY(r.mem->Tx.isEmpty());
        r.mem->Rx += f.mid(10);
        for (int i = 0; i < 5; ++i)
            r.eng.Timer1OnTimer();
        QVERIFY(!r.mem->Tx.isEmpty());
    }

    void stalledFrameDropped() {
        Rig r;
        r.eng.Timer1OnTimer();
        r.mem->TakeTx();
        // Noise that looks like a header with a long payload, then nothing more.
        r.mem->Rx = QByteArray("\x56\x00\xF0\x90", 4) + QByteArray(30, '\0');
        for (int i = 0; i < 40; ++i)
            r.eng.Timer1OnTimer();
        QVERIFY(r.mem->Tx.isEmpty());
        QCOMPARE(r.eng.RxStage, 4);
        for (int i = 0; i < 8; ++i)
            r.eng.Timer1OnTimer();
        QCOMPARE(r.eng.RxStage, 0);
        QVERIFY(r.log.contains("  niepełna ramka"));
        QVERIFY(!r.mem->Tx.isEmpty()); // the link speaks again
        r.mem->Rx = Reply(0x84);
        r.eng.OdbiorRx();
        r.eng.OdbiorRx();
        QCOMPARE(r.Replies(), 1);
    }

    void unansweredCapped() {
        Rig r;
        for (int i = 0; i < 300; ++i)
            r.eng.Ramka(0x84, 0);
        QCOMPARE(r.eng.Unanswered, 255);
        r.mem->Rx = Reply(0x84);
        r.eng.OdbiorRx();
        r.eng.OdbiorRx();
        QCOMPARE(r.eng.Unanswered, 0);
    }

    void closedPortSendsNothing() {
        Rig r;
        r.eng.PortClose();
        r.eng.Ramka(0x84, 0);
        QCOMPARE(r.eng.Unanswered, 0);
        for (int i = 0; i < 8; ++i)
            r.eng.Timer1OnTimer();
        QVERIFY(r.mem->Tx.isEmpty());
    }

    void nestedTickReturns() {
        Rig r;
        r.eng.Timer1OnTimer();
        r.eng.TickBusy = 1;
        const int before = r.eng.TickCount;
        r.eng.Timer1OnTimer();
        QCOMPARE(r.eng.TickCount, before);
    }

    void randomStreamsLeaveItConsistent() {
        Rig r;
        std::mt19937 rng(2024);
        for (int round = 0; round < 3000; ++round) {
            const int kind = int(rng() % 4);
            QByteArray chunk;
            if (kind == 0) {
                chunk.resize(int(rng() % 64));
                for (auto &c : chunk)
                    c = char(rng());
            } else if (kind == 1) {
                QByteArray payload(int(rng() % 300), '\0');
                for (auto &c : payload)
                    c = char(rng());
                chunk = Reply(uint8_t(rng()), payload, rng() % 2 ? 86 : 54);
                if (rng() % 3 == 0) chunk[int(rng() % chunk.size())] ^= char(1 + rng() % 255);
            } else if (kind == 2) {
                chunk = Reply(0x90 | (rng() % 2), QByteArray(88, char(rng())));
            } else {
                chunk = QByteArray(int(rng() % 1500), char(rng()));
            }
            r.mem->Rx += chunk;
            for (int t = int(rng() % 6); t >= 0; --t)
                r.eng.Timer1OnTimer();
            QVERIFY(r.eng.RxStage == 0 || r.eng.RxStage == 4);
            QVERIFY(r.eng.RxExpected >= 0 && r.eng.RxExpected <= 510);
            QVERIFY(r.eng.Unanswered >= 0 && r.eng.Unanswered <= 255);
        }
        // After the noise a clean reply is still understood.
        r.mem->Rx.clear();
        r.eng.RxStage = r.eng.RxExpected = 0;
        const int before = r.Replies();
        r.mem->Rx = Reply(0x84);
        r.eng.OdbiorRx();
        r.eng.OdbiorRx();
        QCOMPARE(r.Replies(), before + 1);
    }
};

QTEST_GUILESS_MAIN(TestReceive)
#include "tst_link_receive.moc"
