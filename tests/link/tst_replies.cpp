// Reply analysis: what each reply from the controller does to the image and the requests.
#include "lang/LangText.h"
#include "support/ScriptedController.h"

#include <QtTest>

namespace {
constexpr uint32_t B(int n) {
    return uint32_t(1) << n;
}

QByteArray Block(int seed) {
    QByteArray b(256, '\0');
    for (int i = 0; i < 256; ++i)
        b[i] = char((seed * 31 + i * 3) & 0xFF);
    return b;
}
QByteArray Raw(const uint8_t *p, int n = 256) {
    return QByteArray(reinterpret_cast<const char *>(p), n);
}

QByteArray Poll(uint8_t code, std::initializer_list<std::pair<int, int>> bytes) {
    QByteArray p = PollPayload();
    for (const auto &b : bytes)
        SetFrameByte(p, b.first, uint8_t(b.second));
    return ReplyFrame(code, p);
}
} // namespace

class TestReplies : public QObject {
    Q_OBJECT
private slots:
    void blockReads_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("bit");
        const int codes[] = {0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xE0, 0xE1, 0xE2, 0xE3,
                             0xE4, 0xE5, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD};
        const int bits[] = {0, 1, 2, 3, 4, 16, 17, 20, 21, 22, 23, 7, 8, 9, 10, 11, 12, 13};
        for (int i = 0; i < 18; ++i)
            QTest::newRow(qPrintable(QString::number(codes[i], 16))) << codes[i] << bits[i];
    }
    void blockReads() {
        QFETCH(int, code);
        QFETCH(int, bit);
        TLinkRig r;
        r.Eng.ReadRequests = 0xF33F9F;
        r.Eng.Unanswered = 5;
        const QByteArray data = Block(code);
        r.Deliver(BlockReply(uint8_t(code), data));
        QCOMPARE(r.Eng.ReadRequests, 0xF33F9Fu & ~B(bit));
        QCOMPARE(Raw(r.Eng.Blok(bit)), data);
        QCOMPARE(r.Eng.Unanswered, 0);
        QCOMPARE(r.Events.last(), (QList<int>{0, code, 262, 0}));
        // Only the addressed block changed.
        QVERIFY(r.Eng.Mnoznik1[0] == 100 || bit == 1);
        QVERIFY(r.Eng.Wzbogacenie[0] == 128 || bit == 13);
    }

    void mapCReadClearsBit20() {
        TLinkRig r;
        r.Eng.ReadRequests = B(18) | B(20);
        r.Deliver(BlockReply(0xE2, Block(1)));
        QCOMPARE(r.Eng.ReadRequests, B(18));
        QCOMPARE(Raw(r.Eng.Mapy[MapaC]), Block(1));
        QCOMPARE(Raw(r.Eng.Mapy[MapaB]), QByteArray(256, '\0'));
    }

    void shortBlockIsNotTaken() {
        TLinkRig r;
        r.Eng.ReadRequests = B(1);
        r.Eng.Unanswered = 3;
        r.Deliver(ReplyFrame(0xE9, QByteArray(100, '\x11')));
        QCOMPARE(r.Eng.ReadRequests, B(1)); // asked again on a later turn
        QCOMPARE(int(r.Eng.Mnoznik1[0]), 100);
        QCOMPARE(r.Eng.Unanswered, 3);
        QCOMPARE(r.EventCount(0), 0);
    }

    void writeAcknowledgements_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("bit");
        const int codes[] = {0xF9, 0xFA, 0xFB, 0xFC, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4,
                             0xF5, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD};
        const int bits[] = {1, 2, 3, 4, 16, 17, 20, 21, 22, 23, 7, 8, 9, 10, 11, 12, 13};
        for (int i = 0; i < 17; ++i)
            QTest::newRow(qPrintable(QString::number(codes[i], 16))) << codes[i] << bits[i];
    }
    void writeAcknowledgements() {
        QFETCH(int, code);
        QFETCH(int, bit);
        TLinkRig r;
        r.Eng.WriteRequests = 0xF33F9E;
        r.Eng.SettingsWritePending = 1;
        r.Deliver(ReplyFrame(uint8_t(code)));
        QCOMPARE(r.Eng.WriteRequests, 0xF33F9Eu & ~B(bit));
        QCOMPARE(int(r.Eng.SettingsWritePending), 1);
        QCOMPARE(r.EventCount(0), 1);
    }

    void commandAcknowledgements() {
        TLinkRig r;
        auto &e = r.Eng;
        e.EraseErrorsPending = e.FuelAutoPending = e.FuelFastPending = e.InjectorMaskPending = 1;
        e.SpeakerTestPending = e.LeakTestPending = e.FactoryPending = e.SettingsWritePending = 1;
        e.OtherRequests = ReqReadErrors;
        r.Deliver(ReplyFrame(0x82));
        QCOMPARE(e.OtherRequests, 0u);
        r.Deliver(ReplyFrame(0x83));
        QCOMPARE(int(e.EraseErrorsPending), 0);
        QCOMPARE(e.OtherRequests, uint32_t(ReqReadErrors));
        r.Deliver(ReplyFrame(0x84));
        r.Deliver(ReplyFrame(0x85));
        r.Deliver(ReplyFrame(0x86));
        r.Deliver(ReplyFrame(0x87));
        r.Deliver(ReplyFrame(0x88));
        QVERIFY(!e.FuelAutoPending && !e.FuelFastPending && !e.InjectorMaskPending);
        QVERIFY(!e.SpeakerTestPending && !e.LeakTestPending);
        e.ReadRequests = B(11) | B(13);
        r.Deliver(ReplyFrame(0x89));
        QCOMPARE(int(e.FactoryPending), 0);
        QCOMPARE(e.ReadRequests, 0x71Fu);
        r.Deliver(ReplyFrame(0xF8));
        QCOMPARE(int(e.SettingsWritePending), 0);
        r.Deliver(ReplyFrame(0x8E));
        r.Deliver(ReplyFrame(0x8F));
        r.Deliver(ReplyFrame(0x80));
        QCOMPARE(r.EventCount(0), 12);
    }

    void identification() {
        TLinkRig r;
        r.Eng.ReadRequests = B(11) | B(12); // dropped: the identification replaces the read set
        r.Eng.OtherRequests = ReqIdentify;
        QByteArray p = IdentPayload(0, 3, 6, 6);
        r.Deliver(ReplyFrame(0x81, p));
        QCOMPARE(r.Eng.ReadRequests, 0xF3079Fu);
        QCOMPARE(r.Eng.OtherRequests, uint32_t(ReqReadErrors));
        QCOMPARE(int(r.Eng.InjectorCount), 6);
        QCOMPARE(int(r.Eng.Identyfikacja[0]), 86);
        QCOMPARE(int(r.Eng.Identyfikacja[3]), 0x81);
        QCOMPARE(Raw(r.Eng.Identyfikacja + 4, p.size()), p);
        QCOMPARE(int(r.Eng.Identyfikacja[4 + p.size()]), 0);
        QCOMPARE(int(r.Eng.NewBoard), 1); // board type 3
        QCOMPARE(r.Eng.Wykresy[27].Flags, 0);
        QCOMPARE(r.Eng.Wykresy[31].Flags, 0x41);

        // A shorter reply clears what the longer one left.
        r.Deliver(ReplyFrame(0x81, IdentPayload(0, 1, 0, 4, 40)));
        QCOMPARE(int(r.Eng.Identyfikacja[43]), 0);
        QCOMPARE(int(r.Eng.Identyfikacja[59]), 0);
        QCOMPARE(int(r.Eng.NewBoard), 0);
        QCOMPARE(int(r.Eng.InjectorCount), 6); // the reply did not reach the channel count
    }

    void identificationTooLong() {
        TLinkRig r;
        std::memset(r.Eng.Identyfikacja, 0x77, sizeof r.Eng.Identyfikacja);
        r.Eng.OtherRequests = ReqIdentify;
        r.Deliver(ReplyFrame(0x81, IdentPayload(0, 1, 0, 4, 124))); // 128 bytes in all
        for (int i = 0; i < 128; ++i)
            QCOMPARE(int(r.Eng.Identyfikacja[i]), 0);
        QCOMPARE(int(r.Eng.Identyfikacja[128]), 0x77); // the part kept only in files is untouched
        QCOMPARE(r.Eng.OtherRequests & ReqIdentify, 0u);
        QCOMPARE(r.Eng.ReadRequests, 0xF3079Fu);
        QCOMPARE(int(r.Eng.InjectorCount), 8); // not taken from a reply that was not stored
    }

    void bootloaderIdentification() {
        TLinkRig r;
        r.Eng.ReadRequests = B(11);
        r.Deliver(ReplyFrame(0x81, IdentPayload(1)));
        QCOMPARE(r.Messages.size(), 1);
        QCOMPARE(r.Messages[0].first, LangText(1365));
        QVERIFY(!r.Messages[0].first.isEmpty());
        QCOMPARE(r.Messages[0].second, 16);
        QCOMPARE(int(r.Eng.FlashActive), 0);
        QCOMPARE(r.Eng.ReadRequests, B(11)); // not an application: nothing more is read
        QCOMPARE(r.EventCount(0), 1);

        r.Eng.BootExpected = 1; // an update is under way: the transfer starts
        r.Deliver(ReplyFrame(0x81, IdentPayload(1)));
        QCOMPARE(int(r.Eng.FlashActive), 1);
        QCOMPARE(r.Messages.size(), 1);
    }

    void checksumError() {
        TLinkRig r;
        r.Eng.Unanswered = 7;
        r.Eng.ReadRequests = B(1);
        QByteArray bad = BlockReply(0xE9, Block(2));
        bad[bad.size() - 1] = char(bad[bad.size() - 1] ^ 0x01);
        r.Deliver(bad);
        QCOMPARE(r.Eng.Unanswered, 7);
        QCOMPARE(r.Eng.ReadRequests, B(1));
        QCOMPARE(r.EventCount(0), 0);
        QCOMPARE(r.LogLines(KolorCzerwony), QStringList{QString::fromUtf8("  błąd sumy ")});
        QVERIFY(r.LogLines(KolorNiebieski).isEmpty());
        r.Deliver(ReplyFrame(0x84));
        QCOMPARE(r.Eng.Unanswered, 0);
    }

    void unknownReplies() {
        TLinkRig r;
        r.Eng.Unanswered = 4;
        r.Deliver(ReplyFrame(0x8A));
        r.Deliver(ReplyFrame(0x40));
        r.Deliver(ReplyFrame(0x71, QByteArray(38, '\0'), 54));
        r.Deliver(ReplyFrame(0xFD));
        QCOMPARE(r.Eng.Unanswered, 4);
        QCOMPARE(r.EventCount(0), 0);
        QCOMPARE(r.LogLines(KolorCzerwony).count(QStringLiteral("\n Nie rozpoznany rozkaz")), 4);
        QCOMPARE(r.LogLines(KolorNiebieski).size(), 4); // traced all the same
        QVERIFY(r.LogLines(KolorNiebieski).first().startsWith("  RX: 56 "));
    }

    void settingsRead() {
        TLinkRig r;
        r.Eng.ReadRequests = B(0);
        QByteArray s(256, '\0');
        s[4] = 3;  // AFR input
        s[0] = 10; // bytes sum to 13
        r.Deliver(BlockReply(0xE8, s));
        QCOMPARE(r.Eng.ReadRequests, 0u);
        QCOMPARE(Raw(r.Eng.Nastawy), s); // kept although its sum is wrong
        QCOMPARE(r.Eng.Wykresy[8].LabelId, 3044);
        QCOMPARE(r.LogLines(KolorCzerwony), QStringList{QString::fromUtf8("13  błąd sumy nastaw")});
        QCOMPARE(r.EventCount(0), 1);
        s[0] = char(-3);
        r.Deliver(BlockReply(0xE8, s));
        QCOMPARE(r.LogLines(KolorCzerwony).size(), 1);
    }

    void learntCells_data() {
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("map");
        QTest::newRow("0 A") << 0 << int(MapaA);
        QTest::newRow("1 C") << 1 << int(MapaC);
        QTest::newRow("2 E") << 2 << int(MapaE);
        QTest::newRow("3 B") << 3 << int(MapaB);
        QTest::newRow("4 D") << 4 << int(MapaD);
        QTest::newRow("5 F") << 5 << int(MapaF);
    }
    void learntCells() {
        QFETCH(int, table);
        QFETCH(int, map);
        TLinkRig r;
        r.Deliver(Poll(0x90, {{6, 0}, {7, table}, {8, 0x3A}, {9, 77}}));
        for (int m = 0; m < 6; ++m) {
            for (int i = 0; i < 256; ++i) {
                const int want = (m == map && i == 3 * 16 + 10) ? 77 : 0;
                QCOMPARE(int(r.Eng.Mapy[m][i]), want);
            }
        }
    }

    void cellsNotLearnt() {
        TLinkRig r;
        r.Deliver(Poll(0x90, {{6, 0}, {7, 0}, {8, 0x11}, {9, 0}}));   // value 0: no change
        r.Deliver(Poll(0x90, {{6, 0}, {7, 7}, {8, 0x11}, {9, 5}}));   // no such table
        r.Deliver(Poll(0x90, {{6, 241}, {7, 0}, {8, 0x11}, {9, 5}})); // another record
        for (const auto &m : r.Eng.Mapy)
            for (int i = 0; i < 256; ++i)
                QCOMPARE(int(m[i]), 0);
        QCOMPARE(r.EventCount(0), 3);
    }

    void pollReply() {
        TLinkRig r;
        r.Eng.InjectorMask = 0x03;
        r.Eng.InjectorMaskPending = 1;
        r.Deliver(Poll(0x90, {{10, 6}, {11, 3}, {12, 9}, {22, 0x0F}}));
        QCOMPARE(int(r.Eng.InjectorMask), 0x03); // the user's change survives
        QCOMPARE(int(r.Eng.StatusBytes[0]), 6);
        QCOMPARE(int(r.Eng.StatusBytes[1]), 3);
        QCOMPARE(int(r.Eng.StatusBytes[2]), 9);
        r.Eng.InjectorMaskPending = 0;
        r.Deliver(Poll(0x94, {{22, 0x0F}}));
        QCOMPARE(int(r.Eng.InjectorMask), 0x0F);
        QCOMPARE(int(r.Eng.RxBuffer[17]), 0x4C); // the live bytes stay in place
        QCOMPARE(r.Events.last(), (QList<int>{0, 0x94, 92, 0}));
        QVERIFY(r.LogLines(KolorNiebieski).isEmpty()); // polls are traced only when verbose
        r.Eng.VerboseLog = 1;
        r.Deliver(Poll(0x90, {}));
        QCOMPARE(r.LogLines(KolorNiebieski).size(), 1);
    }

    // A calibration poll answered after Stop leaves the calibrated settings and the requests alone.
    void lateCalibrationReplyAfterStop() {
        TLinkRig r;
        r.Eng.InjectorCount = 4;
        QVERIFY(r.Eng.StartStopKalibracji());
        QVERIFY(!r.Eng.StartStopKalibracji()); // the fitter pressed Stop
        for (int i : {89, 90, 92, 94})
            r.Eng.Nastawy[i] = uint8_t(200 + i - 89);
        const QByteArray before = Raw(r.Eng.Nastawy, 304);
        const uint32_t writes = r.Eng.WriteRequests;
        r.Deliver(Poll(0x91, {{10, 6}, {17, 0x20}, {18, 3}, {60, 0x20}, {61, 3}}));
        QCOMPARE(Raw(r.Eng.Nastawy, 304), before);
        QCOMPARE(r.Eng.WriteRequests, writes);
        QCOMPARE(int(r.Eng.FuelAutoPending), 0);
        QCOMPARE(r.Eng.CalStage, 0);
    }

    // Changes made before the controller's history arrived are added to it once it has.
    void historyKindsRaisedBeforeRead() {
        TLinkRig r;
        r.Eng.UstawDateIdent(QDate(2026, 3, 4), 0x01020304);
        r.Eng.ReadRequests = B(0) | B(7);
        r.Eng.HistoriaZmian(3); // settings written
        r.Eng.HistoriaZmian(0); // firmware updated
        QCOMPARE(r.Eng.WriteRequests & B(7), 0u);
        QByteArray theirs(256, '\0');
        theirs.replace(0, 8, QByteArray::fromHex("0119020a0a0b0c0d"));
        r.Deliver(BlockReply(0xA7, theirs));
        QCOMPARE(Raw(r.Eng.Historia, 8), theirs.left(8));
        QCOMPARE(Raw(r.Eng.Historia + 8, 8), QByteArray::fromHex("091a030401020304"));
        QCOMPARE(int(r.Eng.Historia[16]), 0);
        QCOMPARE(r.Eng.WriteRequests & B(7), B(7));
        QCOMPARE(int(r.Eng.HistoriaOdlozona), 0);
    }

    void obdWorkState() {
        TLinkRig r;
        QByteArray p(38, '\0');
        for (int i = 0; i < 36; ++i)
            p[2 + i] = char(200 + i);
        r.Deliver(ReplyFrame(0x70, p, 54));
        QCOMPARE(Raw(r.Eng.ObdStan, 36), p.mid(2));
        QCOMPARE(r.Events.last(), (QList<int>{0, 0x70, 42, 0}));
        QVERIFY(r.LogLines(KolorNiebieski).isEmpty());
        r.Deliver(Poll(0x90, {}));
        QCOMPARE(Raw(r.Eng.RxBuffer + 92, 36), p.mid(2)); // live offsets 92…127

        // A short poll reply leaves no bytes of an earlier frame in the live offsets.
        r.Deliver(BlockReply(0xE9, QByteArray(256, '\x55')));
        r.Deliver(ReplyFrame(0x90, QByteArray(20, '\x01')));
        for (int i = 24; i < 92; ++i)
            QCOMPARE(int(r.Eng.RxBuffer[i]), 0);
        QCOMPARE(Raw(r.Eng.RxBuffer + 92, 36), p.mid(2));
    }

    void storageNotices() {
        TLinkRig r;
        r.Deliver(Poll(0x90, {{6, 241}, {7, 0x0A}}));
        QCOMPARE(r.LogLines(KolorCzarny), (QStringList{QStringLiteral("Zapis eeprom - mapy"),
                                                       QString::fromUtf8("Zapis eeprom - kasuj błędy")}));
        r.Log.clear();
        r.Deliver(Poll(0x90, {{6, 242}, {7, 0x31}}));
        QCOMPARE(r.LogLines(KolorCzarny),
                 (QStringList{"Zapis flash - nastawy", "Zapis flash - kor.obr.2", "Zapis flash - his/kor"}));
    }

    void firmwareAcknowledgement() {
        TLinkRig r;
        r.Eng.FlashActive = 1;
        r.Eng.FirmwareBlock = 10;
        r.Eng.FirmwareCopies = 1;
        r.Deliver(ReplyFrame(0xFF));
        QCOMPARE(r.Eng.FirmwareBlock, 11);
        QCOMPARE(r.EventCount(0), 1);
    }

    // The answers carry no block number: each one belongs to the oldest copy still unanswered, so
    // the answers to a block sent twice move the counter by one, never past a block not yet sent.
    void firmwareAnswersMatchTheCopiesSent() {
        struct Step {
            int send;    // copies of the current block sent before the answers
            int answers; // answers arriving together
            int block;   // block number afterwards
            int stale;   // answers still due for copies already counted
        };
        const QList<QList<Step>> cases = {
            {{1, 1, 1, 0}, {1, 1, 2, 0}},               // in time: one copy, one answer each
            {{2, 2, 1, 0}, {1, 1, 2, 0}},               // a slow block sent twice, both answers at once
            {{2, 1, 1, 1}, {1, 1, 1, 0}, {0, 1, 2, 0}}, // the second answer after the next block went out
            {{0, 1, 0, 0}, {1, 1, 1, 0}},               // an answer with no copy out moves nothing
        };
        for (const QList<Step> &steps : cases) {
            TLinkRig r;
            r.Eng.FlashActive = 1;
            for (const Step &s : steps) {
                r.Eng.FirmwareCopies += s.send;
                for (int a = 0; a < s.answers; ++a)
                    r.Deliver(ReplyFrame(0xFF));
                QCOMPARE(r.Eng.FirmwareBlock, s.block);
                QCOMPARE(r.Eng.FirmwareStale, s.stale);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestReplies)
#include "tst_replies.moc"
