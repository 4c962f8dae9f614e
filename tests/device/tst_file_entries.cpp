// The loaders' device entries (any open device, bytes in memory too) against their file entries:
// the same result, messages and image for the same bytes.
#include "device/TSterownik.h"
#include "link/SerialBackend.h"
#include "support/ObrazDziennika.h"

#include <QBuffer>
#include <QtTest>
#include <cstring>
#include <functional>

namespace {
struct Engine {
    TSterownik eng;
    QStringList messages;
    Engine() {
        eng.StopTimer();
        eng.OnMessage = [this](const QString &t, int) {
            messages << t;
            return 1;
        };
        // The hardware a firmware image must match; the image blocks start from a known pattern.
        eng.Identyfikacja[40] = 1;
        eng.Identyfikacja[42] = 3;
        eng.Identyfikacja[43] = 4;
        eng.Identyfikacja[44] = 7;
        for (int i = 0; i < 256; ++i)
            eng.Mnoznik2[i] = eng.Mapy[MapaF][i] = uint8_t(i);
    }
    // Everything a load may change: the journal's areas, the history and the firmware image.
    QByteArray Image() {
        QByteArray b = ObrazDziennika(eng) + Bajty(eng.Historia);
        b += Bajty(eng.FirmwareImage.data(), int(eng.FirmwareImage.size()));
        return b.append(char(eng.JumpBootPending)).append(char(eng.BootExpected)).append(char(eng.NewBoard));
    }
};

QByteArray Header(const char *magic, uint8_t b8, uint8_t b9, int size) {
    QByteArray b(size, '\x5A');
    std::memcpy(b.data(), magic, std::min<size_t>(8, size_t(size)));
    if (size > 9) {
        b[8] = char(b8);
        b[9] = char(b9);
    }
    return b;
}

QByteArray Firmware(int size, uint8_t board) {
    QByteArray b = Header("img file", 7, 0, size);
    b[18] = 1;
    b[20] = 3;
    b[21] = char(board);
    return b;
}

// One load: through the file entry (file) or through the device entry on a buffer.
using Load = std::function<int(TSterownik &, const QString &file, QIODevice *buffer)>;
} // namespace

class TestFileEntries : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void sameAsFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("loader"); // 0 settings, 1 scope (capacity 3), 2 firmware
        QTest::addColumn<int>("result");
        QTest::newRow("settings whole") << Header("set file", 1, 0, 4096) << 0 << 1;
        QTest::newRow("settings short") << Header("set file", 1, 0, 1000) << 0 << 1;
        QTest::newRow("settings version 2") << Header("set file", 2, 0, 4096) << 0 << 0;
        QTest::newRow("settings empty") << QByteArray() << 0 << 0;
        QTest::newRow("scope with samples") << Header("osc file", 1, 1, 4096 + 300) << 1 << 2;
        QTest::newRow("scope more than buffer") << Header("osc file", 1, 1, 4096 + 128 * 5) << 1 << 3;
        QTest::newRow("scope short") << Header("osc file", 1, 1, 700) << 1 << 0;
        QTest::newRow("scope wrong kind") << Header("osc file", 1, 0, 4096) << 1 << 0;
        QTest::newRow("firmware taken") << Firmware(57600, 4) << 2 << 1;
        QTest::newRow("firmware other board") << Firmware(60000, 5) << 2 << 0;
        QTest::newRow("firmware too long") << Firmware(65536, 4) << 2 << 0;
        QTest::newRow("firmware too short") << Firmware(57599, 4) << 2 << 0;
    }

    void sameAsFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, loader);
        QFETCH(int, result);
        uint8_t samples[2][3 * 128] = {};
        const Load loads[] = {
            [](TSterownik &e, const QString &f, QIODevice *b) {
                return int(b ? e.CzytajUstawienia(*b, f) : e.CzytajUstawienia(f));
            },
            [&samples](TSterownik &e, const QString &f, QIODevice *b) {
                return b ? e.CzytajOscyloskop(*b, samples[1], 3) : e.CzytajOscyloskop(f, samples[0], 3);
            },
            [](TSterownik &e, const QString &f, QIODevice *b) {
                return int(b ? e.Aktualizacja(*b) : e.Aktualizacja(f));
            },
        };
        const QString path = dir.filePath(QStringLiteral("f%1.bin").arg(loader));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
        f.close();

        Engine fromFile, fromMemory;
        if (loader == 2) { // an update is only for a controller on the link
            for (Engine *e : {&fromFile, &fromMemory}) {
                e->eng.UseBackend(std::make_shared<TMemoryPort>());
                QVERIFY(e->eng.PortOpen(1));
            }
        }
        const int fileResult = loads[loader](fromFile.eng, path, nullptr);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const int memoryResult = loads[loader](fromMemory.eng, path, &buffer);
        QCOMPARE(fileResult, result);
        QCOMPARE(memoryResult, fileResult);
        QCOMPARE(fromMemory.messages, fromFile.messages);
        // The scope's device entry leaves the name, the port and event 4 to its file entry.
        if (loader != 1) QCOMPARE(fromMemory.eng.LastFileName, fromFile.eng.LastFileName);
        QVERIFY(fromMemory.Image() == fromFile.Image());
        QVERIFY(std::memcmp(samples[0], samples[1], sizeof samples[0]) == 0);
    }
};

QTEST_GUILESS_MAIN(TestFileEntries)
#include "tst_file_entries.moc"
