// The transmit scheduler: order of service, turns, skipped turns, payloads, write refusals.
#include "support/ScriptedController.h"

#include <QtTest>

namespace {
constexpr uint32_t B(int n) {
    return uint32_t(1) << n;
}
constexpr uint32_t AllWrites = 0x1F | 0x3F80 | B(16) | B(17) | B(20) | B(21) | B(22) | B(23);

bool IsPoll(int code) {
    return code >= 0x90 && code <= 0x9F;
}

// Runs the connection until the controller was identified and every block read.
void Ready(TLinkRig &r) {
    r.Ctl.Block(0xA7).fill('\0'); // a fresh controller: empty history
    r.Eng.UstawDateIdent(QDate(2025, 5, 20), 0x11223344);
    for (int i = 0; i < 300; ++i) {
        r.Turn();
        if (i > 2 && !r.Eng.ReadRequests && !r.Eng.OtherRequests && !r.Eng.WriteRequests &&
            !r.Eng.SettingsWritePending && !r.Eng.TxWait)
            break;
    }
    r.Settle();
    QVERIFY(!r.Eng.ReadRequests && !r.Eng.OtherRequests && !r.Eng.WriteRequests);
}

// Makes the next turn an odd one (a request turn).
void NextOdd(TLinkRig &r) {
    if (((r.Eng.TxCycle + 1) & 1) == 0) r.Turn();
}
void NextEven(TLinkRig &r) {
    if (((r.Eng.TxCycle + 1) & 1) == 1) r.Turn();
}

struct Sent {
    int cycle;
    int code;
};
QList<Sent> Run(TLinkRig &r, int turns) {
    QList<Sent> s;
    for (int i = 0; i < turns; ++i) {
        const int code = r.TurnCode();
        s.append({r.Eng.TxCycle, code});
    }
    return s;
}
QList<int> NonPolls(const QList<Sent> &s) {
    QList<int> l;
    for (const Sent &x : s)
        if (x.code >= 0 && !IsPoll(x.code)) l.append(x.code);
    return l;
}
} // namespace

class TestScheduler : public QObject {
    Q_OBJECT
private slots:
    void identificationFirstThenReadsInOrder() {
        TLinkRig r;
        r.Ctl.Silent.insert(0x81);
        // Identification takes every turn, even and odd, until it is answered.
        QCOMPARE(r.TurnCodes(3), (QList<int>{0x81, 0x81, 0x81}));
        QCOMPARE(r.Eng.Unanswered, 3);
        r.Ctl.Silent.clear();
        QCOMPARE(r.TurnCode(), 0x81);
        r.Settle();
        QCOMPARE(r.Eng.Unanswered, 0);
        QCOMPARE(r.Eng.ReadRequests, 0xF3079Fu);

        NextOdd(r);
        QCOMPARE(r.TurnCode(), 0x82); // the error list, asked for by the identification
        const int order[] = {0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xE0, 0xE1, 0xE2,
                             0xE3, 0xE4, 0xE5, 0xA7, 0xA8, 0xA9, 0xAA};
        for (int code : order) {
            r.Ctl.Silent = {uint8_t(code)}; // the first request goes unanswered
            QCOMPARE(r.TurnCode(), 0x90);
            QCOMPARE(r.TurnCode(), code);
            r.Ctl.Silent.clear();
            QCOMPARE(r.TurnCode(), 0x90);
            QCOMPARE(r.TurnCode(), code); // sent again, now answered
        }
        r.Settle();
        QCOMPARE(r.Eng.ReadRequests, 0u);
        QCOMPARE(r.TurnCodes(4), (QList<int>{0x90, 0x90, 0x90, 0x90}));
    }

    void orderOfService() {
        TLinkRig r;
        Ready(r);
        NextEven(r);
        r.Eng.OtherRequests |= ReqReadErrors;
        r.Eng.EraseErrorsPending = 1;
        r.Eng.FuelAutoPending = 1;
        r.Eng.FuelFastPending = 1;
        r.Eng.InjectorMask = 0x35;
        r.Eng.InjectorMaskPending = 1;
        r.Eng.ZapiszDoSterownika(AllWrites);
        QCOMPARE(r.Eng.WriteRequests, AllWrites);
        r.Eng.SpeakerTestPending = 1;
        r.Eng.LeakTestPending = 1;
        r.Eng.FactoryPending = 1;
        r.Eng.ReadRequests = B(11) | B(12) | B(13);

        const QList<Sent> s = Run(r, 200);
        for (const Sent &x : s) {
            if (x.code < 0) continue;
            // Even turns poll; everything else goes out on odd turns.
            if ((x.cycle & 1) == 0) QCOMPARE(x.code, 0x90);
        }
        const QList<int> want = {
            0x82, 0x83, 0x82, // the erase asks for the list again
            0x84, 0x85, 0x86, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xF0, 0xF1, 0xF2, 0xF3,
            0xF4, 0xF5, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0x87, 0x88, 0x89,
            0xC7,                                           // the factory reset is a new kind of change today
            0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xA8, 0xA9, 0xAA, // 0x89 replaced the read requests
        };
        QCOMPARE(NonPolls(s), want);
        QCOMPARE(r.Eng.ReadRequests, 0u);
        QCOMPARE(int(r.Eng.Historia[0]), 0x0E); // errors erased, written, factory settings
        QCOMPARE(int(r.Eng.Historia[8]), 0);
        // The injector-mask command carries the mask in payload byte 2.
        for (const TPcFrame &f : r.Ctl.Received)
            if (f.Code == 0x86) {
                QCOMPARE(f.Length(), 8);
                QCOMPARE(uint8_t(f.Payload[2]), uint8_t(0x35));
                QCOMPARE(uint8_t(f.Payload[1]), uint8_t(0));
            }
    }

    void skippedTurns() {
        TLinkRig r;
        Ready(r);
        NextOdd(r);
        r.Eng.ZapiszDoSterownika(B(1));
        QCOMPARE(r.TurnCodes(5), (QList<int>{0xF9, -1, -1, 0x90, 0xC7}));
        QCOMPARE(r.TurnCodes(4), (QList<int>{-1, -1, 0x90, 0x90}));

        NextOdd(r);
        r.Eng.EraseErrorsPending = 1;
        QCOMPARE(r.TurnCodes(7), (QList<int>{0x83, -1, -1, -1, -1, 0x90, 0x82}));

        r.Eng.JumpBootPending = 1;
        QList<int> jump = r.TurnCodes(10);
        QCOMPARE(jump.first(), 0x8E);
        QCOMPARE(jump.mid(1, 8), QList<int>(8, -1));
        QCOMPARE(jump.last(), 0x81);
        QVERIFY(r.Eng.Historia[0] & 0x01); // a firmware update is recorded

        r.Settle();
        r.Eng.ReturnBootPending = 1;
        QCOMPARE(r.TurnCodes(4), (QList<int>{0x8F, -1, -1, 0x81}));
    }

    void settingsBitBecomesPendingDuringSkippedTurns() {
        TLinkRig r;
        Ready(r);
        r.Eng.TxWait = 2;
        r.Eng.ZapiszDoSterownika(B(0));
        QCOMPARE(r.TurnCode(), -1);
        QCOMPARE(int(r.Eng.SettingsWritePending), 1);
        QCOMPARE(r.Eng.WriteRequests & B(0), 0u);
        QCOMPARE(r.Eng.TxWait, 1);
    }

    void writesRefused() {
        TLinkRig r;
        QCOMPARE(r.TurnCode(), 0x81);
        r.Settle();
        QVERIFY(r.Eng.ReadRequests & B(0));
        r.Eng.ZapiszDoSterownika(B(0)); // not read yet
        r.Eng.ZapiszDoSterownika(B(0) | B(3));
        QCOMPARE(r.Eng.WriteRequests, 0u);
        r.Eng.ReadRequests &= ~B(0);
        r.Eng.ZapiszDoSterownika(B(0));
        QCOMPARE(r.Eng.WriteRequests, B(0));

        r.Eng.WriteRequests = 0;
        r.Eng.ReadRequests = 0;
        r.Eng.Unanswered = 11;
        r.Eng.ZapiszDoSterownika(B(16));
        QCOMPARE(r.Eng.WriteRequests, 0u);
        r.Eng.Unanswered = 10;
        r.Eng.ZapiszDoSterownika(B(16));
        QCOMPARE(r.Eng.WriteRequests, B(16));

        r.Eng.WriteRequests = 0;
        r.Eng.PortClose();
        r.Eng.ZapiszDoSterownika(B(16));
        QCOMPARE(r.Eng.WriteRequests, 0u);
        // Reads and other requests are always taken.
        r.Eng.CzytajZeSterownika(B(11));
        r.Eng.RozkazDoSterownika(ReqReadErrors);
        QCOMPARE(r.Eng.ReadRequests, B(11));
        QCOMPARE(r.Eng.OtherRequests, uint32_t(ReqReadErrors));
    }

    void settingsPayloadChecksum() {
        TLinkRig r;
        Ready(r);
        std::memset(r.Eng.Nastawy, 0, 256);
        r.Eng.Nastawy[0] = 0x55; // the image's own byte 0 is never sent
        r.Eng.Nastawy[10] = 0x30;
        r.Eng.Nastawy[255] = 0x04; // bytes 1…255 sum to 0x37 with byte 4
        r.Eng.Nastawy[4] = 3;
        r.Eng.Nastawy[256] = 0xEE; // kept only in files
        NextOdd(r);
        r.Eng.ZapiszDoSterownika(B(0));
        r.Eng.Nastawy[20] = 5; // edited while the write is pending: sent too
        const QList<TPcFrame> f = r.Turn();
        QCOMPARE(f.size(), 1);
        QCOMPARE(f[0].Code, uint8_t(0xF8));
        QVERIFY(f[0].SumOk);
        QCOMPARE(f[0].Payload.size(), 258);
        QCOMPARE(uint8_t(f[0].Payload[2]), uint8_t(0xC9 - 5));
        QCOMPARE(f[0].Payload.mid(3, 255),
                 QByteArray(reinterpret_cast<const char *>(r.Eng.Nastawy + 1), 255));
        QCOMPARE(r.Eng.Wykresy[8].LabelId, 3044); // the RPM input series follows the settings sent

        r.Settle(); // the acknowledgement of that write
        QCOMPARE(int(r.Eng.SettingsWritePending), 0);
        r.Eng.Nastawy[20] = 0;
        r.Eng.SettingsWritePending = 1;
        r.Ctl.Silent = {0xF8};
        QCOMPARE(r.TurnCode(), -1);
        QCOMPARE(r.TurnCode(), -1);
        QCOMPARE(r.TurnCode(), 0x90);
        const QList<TPcFrame> again = r.Turn(); // unanswered: sent again
        QCOMPARE(again.size(), 1);
        QCOMPARE(uint8_t(again[0].Payload[2]), uint8_t(0xC9));
        QCOMPARE(int(r.Eng.SettingsWritePending), 1);
    }

    void blockWritePayload() {
        TLinkRig r;
        Ready(r);
        for (int i = 0; i < 256; ++i)
            r.Eng.Mapy[MapaE][i] = uint8_t(255 - i);
        NextOdd(r);
        r.Eng.ZapiszDoSterownika(B(22));
        const QList<TPcFrame> f = r.Turn();
        QCOMPARE(f.size(), 1);
        QCOMPARE(f[0].Code, uint8_t(0xF4));
        QCOMPARE(uint8_t(f[0].Payload[1]), uint8_t(0));
        QCOMPARE(f[0].Payload.mid(2), QByteArray(reinterpret_cast<const char *>(r.Eng.Mapy[MapaE]), 256));
        QCOMPARE(r.Eng.TxWait, 2);
        QCOMPARE(r.Eng.WriteRequests & B(7), 0u); // map writes are not recorded in the history
    }

    void relayPoll() {
        TLinkRig r;
        Ready(r);
        const uint8_t relay[7] = {0x01, 0x02, 0x83, 0x84, 0x85, 0x86, 0};
        std::memcpy(r.Eng.ObdRelay, relay, 7);
        NextEven(r);
        r.Eng.ObdRelayPending = 1;
        QList<TPcFrame> f = r.Turn();
        QCOMPARE(f[0].Code, uint8_t(0x90)); // even-turn polls never carry relay data
        QCOMPARE(f[0].Length(), 4);
        QCOMPARE(int(r.Eng.ObdRelayPending), 1);

        r.Eng.SpeakerTestPending = 1; // something else pending on the odd turn: it goes first
        QCOMPARE(r.TurnCode(), 0x87);
        QCOMPARE(int(r.Eng.ObdRelayPending), 1);
        r.Turn();
        r.Ctl.Silent = {0x94};
        f = r.Turn();
        QCOMPARE(f[0].Code, uint8_t(0x94));
        QCOMPARE(f[0].Length(), 12);
        QCOMPARE(f[0].Payload.mid(2, 6), QByteArray(reinterpret_cast<const char *>(relay), 6));
        QCOMPARE(int(r.Eng.ObdRelayPending), 0); // cleared when sent, not when answered
        r.Turn();
        QCOMPARE(r.TurnCode(), 0x90);

        r.Eng.PollMode = 1; // calibration poll (left unanswered: the calibration is not under test)
        r.Ctl.Silent = {0x91, 0x95};
        r.Eng.ObdRelayPending = 1;
        NextEven(r);
        QCOMPARE(r.TurnCode(), 0x91);
        QCOMPARE(r.TurnCode(), 0x95);
        r.Eng.PollMode = 2;
        QCOMPARE(r.TurnCode(), 0x92);
    }

    void firmwareBlocks() {
        TLinkRig r;
        Ready(r);
        r.Ctl.Silent = {0xFF};
        for (int i = 0; i < 256; ++i)
            r.Eng.FirmwareImage[size_t(256 + 256 * 3 + i)] = uint8_t(i ^ 0xA5);
        r.Eng.FirmwareBlock = 3;
        r.Eng.FlashActive = 1;
        r.Eng.OtherRequests |= ReqIdentify; // blocks come before the identification
        // Unanswered, the block goes out again after five turns (500 ms), on even and odd turns
        // alike, and nothing else is sent in between.
        for (int copy = 0; copy < 2; ++copy) {
            if (copy > 0) QCOMPARE(r.TurnCodes(4), (QList<int>{-1, -1, -1, -1}));
            const QList<TPcFrame> f = r.Turn();
            QCOMPARE(f.size(), 1);
            QCOMPARE(f[0].Code, uint8_t(0xFF));
            QCOMPARE(f[0].Payload.size(), 258);
            QCOMPARE(uint8_t(f[0].Payload[0]), uint8_t(3));
            QCOMPARE(uint8_t(f[0].Payload[1]), uint8_t(0));
            for (int i = 0; i < 256; ++i)
                QCOMPARE(uint8_t(f[0].Payload[2 + i]), uint8_t(i ^ 0xA5));
        }
        QCOMPARE(r.Eng.FirmwareCopies, 2);
        r.Eng.FirmwareKasujKopie();
        r.Eng.FirmwareBlock = 254; // the last block the buffer holds
        QCOMPARE(r.Turn()[0].Payload.left(2), QByteArray("\xFE\x00", 2));
        r.Eng.FirmwareKasujKopie();
        r.Eng.FirmwareBlock = 255; // beyond the buffer: nothing is read past its end
        QCOMPARE(r.TurnCode(), 0x81);
        QCOMPARE(int(r.Eng.FlashActive), 0);
    }

    void logTexts() {
        TLinkRig r;
        Ready(r);
        r.Log.clear();
        NextOdd(r);
        r.Eng.CzytajZeSterownika(B(12));
        r.Turn();
        QCOMPARE(r.LogLines(KolorSrebrny), QStringList{QString::fromUtf8("\n  Odczyt opóźnienia wtr. gazu")});
        QCOMPARE(r.LogLines(KolorCiemnoczerwony).size(), 1);
        QVERIFY(r.LogLines(KolorCiemnoczerwony).first().startsWith("  TX: 65 "));

        r.Log.clear();
        r.Turn(); // a poll: silent unless the verbose log is on
        r.Turn();
        QVERIFY(r.LogLines(KolorSrebrny).isEmpty());
        r.Eng.VerboseLog = 1;
        r.Turn();
        QCOMPARE(r.LogLines(KolorSrebrny), QStringList{QString::fromUtf8("\n  Paramerte bieżące")});

        r.Log.clear();
        r.Eng.VerboseLog = 0;
        NextOdd(r);
        r.Log.clear();
        r.Eng.InjectorMaskPending = 1;
        r.Turn();
        QCOMPARE(r.LogLines(KolorSrebrny),
                 QStringList{QString::fromUtf8("\n  Zmiana załączonych wtryskiwaczy")});
    }
};

QTEST_GUILESS_MAIN(TestScheduler)
#include "tst_scheduler.moc"
