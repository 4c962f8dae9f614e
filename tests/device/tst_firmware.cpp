// Firmware update: checking the image file, and the whole transfer through the scheduler.
#include "lang/LangText.h"
#include "support/ScriptedController.h"

#include <QtTest>

namespace {
QByteArray Image(int size, const QByteArray &ident) {
    QByteArray img(size, '\0');
    std::memcpy(img.data(), "img file", 8);
    img[8] = ident[44 - 4];
    img[18] = ident[40 - 4];
    img[20] = ident[42 - 4];
    img[21] = ident[43 - 4];
    for (int i = 256; i < size; ++i)
        img[i] = char(i / 256);
    return img;
}

QString Write(QTemporaryDir &dir, const QString &name, const QByteArray &data) {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(data);
    return f.fileName();
}
} // namespace

class TestFirmware : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    void Identify(TLinkRig &rig) {
        SetFrameByte(rig.Ctl.Ident, 40, 0x21);
        SetFrameByte(rig.Ctl.Ident, 44, 0x37);
        rig.Eng.RozkazDoSterownika(ReqIdentify);
        for (int i = 0; i < 20 && (rig.Eng.OtherRequests & ReqIdentify); ++i)
            rig.Turn();
        QCOMPARE(int(rig.Eng.Identyfikacja[44]), 0x37);
    }

private slots:
    void checks() {
        TLinkRig rig;
        Identify(rig);
        const QByteArray ident = rig.Ctl.Ident;
        // Complete and matching: up to 65535 bytes.
        QVERIFY(rig.Eng.Aktualizacja(Write(dir, "ok.img", Image(65535, ident))));
        QCOMPARE(int(rig.Eng.JumpBootPending), 1);
        QCOMPARE(int(rig.Eng.BootExpected), 1);
        rig.Eng.JumpBootPending = rig.Eng.BootExpected = 0;

        const int msgs = rig.Messages.size();
        QVERIFY(!rig.Eng.Aktualizacja(Write(dir, "big.img", Image(65536, ident))));
        QByteArray other = Image(57600, ident);
        other[21] = char(other[21] + 1);
        QVERIFY(!rig.Eng.Aktualizacja(Write(dir, "other.img", other)));
        QVERIFY(!rig.Eng.Aktualizacja(Write(dir, "short.img", Image(57599, ident))));
        QByteArray magic = Image(57600, ident);
        magic[0] = 'I';
        QVERIFY(!rig.Eng.Aktualizacja(Write(dir, "magic.img", magic)));
        QCOMPARE(int(rig.Eng.JumpBootPending), 0);
        QCOMPARE(int(rig.Eng.BootExpected), 0);
        QCOMPARE(rig.Messages.size(), msgs + 4);
        // Not a whole image (size, magic) and an image for other hardware are told apart.
        const int texts[] = {1367, 1366, 1367, 1367};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(rig.Messages[msgs + i].first, LangText(texts[i]));
        QVERIFY(!rig.Eng.Aktualizacja(dir.filePath("none.img")));
        QCOMPARE(rig.Messages.last().first, QString("Error code 141"));
    }

    void wholeTransfer() {
        TLinkRig rig;
        Identify(rig);
        const QByteArray img = Image(57600, rig.Ctl.Ident);
        QList<int> progress;
        bool done = false;
        rig.Eng.OnFirmwareProgress = [&](int p) { progress << p; };
        rig.Eng.OnFirmwareDone = [&] { done = true; };
        QVERIFY(rig.Eng.Aktualizacja(Write(dir, "fw.img", img)));

        QByteArray flashed;
        bool jumped = false, returned = false;
        int firstBlockTurn = -1, lastBlockTurn = -1;
        for (int turn = 0; turn < 2000 && !returned; ++turn) {
            for (const TPcFrame &f : rig.Turn()) {
                if (f.Code == 0xFF) {
                    if (firstBlockTurn < 0) firstBlockTurn = turn;
                    lastBlockTurn = turn;
                }
                if (f.Code == 0x8E) {
                    jumped = true;
                    rig.Ctl.Ident = IdentPayload(1);
                }
                if (f.Code == 0xFF) {
                    const int block = uint8_t(f.Payload[0]) | (uint8_t(f.Payload[1]) << 8);
                    QCOMPARE(block, int(flashed.size() / 256));
                    flashed += f.Payload.mid(2, 256);
                }
                if (f.Code == 0x8F) {
                    returned = true;
                    rig.Ctl.Ident = IdentPayload(0);
                }
            }
        }
        QVERIFY(jumped);
        QVERIFY(returned);
        QVERIFY(done);
        QCOMPARE(flashed, img.mid(256));
        QCOMPARE(lastBlockTurn - firstBlockTurn + 1, 224); // one block a turn when answered in time
        QCOMPARE(progress.size(), 224);
        QCOMPARE(progress[111], 50);      // 112 blocks
        QCOMPARE(progress[222], 99);      // 223 blocks acknowledged: not done yet
        QCOMPARE(progress.count(100), 1); // 100 % only once the last block is acknowledged
        QCOMPARE(progress.last(), 100);
        QCOMPARE(int(rig.Eng.FlashActive), 0);
        // Identified again in application mode, and everything is read again.
        for (int i = 0; i < 20 && (rig.Eng.OtherRequests & ReqIdentify); ++i)
            rig.Turn();
        QCOMPARE(int(rig.Eng.Identyfikacja[5]), 0);
        QCOMPARE(rig.Eng.ReadRequests & 1u, 1u);
    }

    void strayAcknowledgementIgnored() {
        TLinkRig rig;
        rig.Eng.FirmwareBlock = 3;
        rig.Deliver(ReplyFrame(0xFF));
        QCOMPARE(rig.Eng.FirmwareBlock, 3);
    }
};

QTEST_GUILESS_MAIN(TestFirmware)
#include "tst_firmware.moc"
