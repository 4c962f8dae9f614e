// Settings and scope files: layout, load rules, failures, atomic saving.
#include "support/ScriptedController.h"

#include <QtTest>

namespace {
void Fill(TSterownik &s, uint8_t seed) {
    auto fill = [&](uint8_t *b, int n, int k) {
        for (int i = 0; i < n; ++i)
            b[i] = uint8_t(seed + k * 31 + i * 7);
    };
    fill(s.Nastawy, 304, 1);
    fill(s.Identyfikacja, 192, 2);
    fill(s.Historia, 256, 3);
    fill(s.Mnoznik1, 256, 4);
    fill(s.Mnoznik2, 256, 5);
    fill(s.KorObr1, 256, 6);
    fill(s.KorObr2, 256, 7);
    fill(s.KorCis, 256, 8);
    fill(s.KorTempRed, 256, 9);
    fill(s.KorTempGazu, 256, 10);
    for (int m = 0; m < 6; ++m)
        fill(s.Mapy[m], 256, 11 + m);
}

QByteArray Bytes(const uint8_t *b, int n) {
    return QByteArray(reinterpret_cast<const char *>(b), n);
}

struct Offline {
    TSterownik eng;
    QStringList messages;
    QList<QList<int>> events;
    Offline() {
        eng.StopTimer();
        eng.OnMessage = [this](const QString &t, int flags) {
            messages << t;
            return flags == 52 ? 6 : 1;
        };
        eng.OnZdarzenie = [this](int k, int a, int b, int c) { events.append({k, a, b, c}); };
    }
};
} // namespace

class TestFiles : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString Path(const QString &n) { return dir.filePath(n); }

private slots:
    void settingsRoundTripOffline() {
        Offline a;
        Fill(a.eng, 3);
        QVERIFY(a.eng.ZapiszUstawienia(Path("a.set")));
        QFile f(Path("a.set"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray data = f.readAll();
        QCOMPARE(data.size(), 4096);
        QCOMPARE(data.left(9), QByteArray("set file\x01", 9));
        QCOMPARE(data.mid(16, 48), Bytes(a.eng.Nastawy + 256, 48));
        QCOMPARE(data.mid(128, 128), Bytes(a.eng.Identyfikacja, 128));
        QCOMPARE(data.mid(512, 256), Bytes(a.eng.Nastawy, 256));
        QCOMPARE(data.mid(2304, 256), Bytes(a.eng.KorTempGazu, 256));
        QCOMPARE(data.mid(3840, 256), Bytes(a.eng.Mapy[MapaF], 256));

        Offline b;
        Fill(b.eng, 99);
        const QByteArray history = Bytes(b.eng.Historia, 256);
        QVERIFY(b.eng.CzytajUstawienia(Path("a.set")));
        QCOMPARE(Bytes(b.eng.Nastawy, 304), Bytes(a.eng.Nastawy, 304));
        QCOMPARE(Bytes(b.eng.Identyfikacja, 192), Bytes(a.eng.Identyfikacja, 192));
        QCOMPARE(Bytes(b.eng.Mapy[MapaC], 256), Bytes(a.eng.Mapy[MapaC], 256));
        QCOMPARE(Bytes(b.eng.KorObr2, 256), Bytes(a.eng.KorObr2, 256));
        QCOMPARE(Bytes(b.eng.Historia, 256), history); // the image keeps its own history
        QCOMPARE(b.eng.LastFileName, Path("a.set"));
        QVERIFY(b.events.contains(QList<int>{4, 0, 0, 0}));
        QVERIFY(b.messages.isEmpty());
    }

    void loadWhileConnectedQueuesWrites() {
        TLinkRig rig;
        rig.Turn(); // the connection asks for the identification, which asks for every block
        for (int i = 0; i < 200 && (rig.Eng.ReadRequests || rig.Eng.OtherRequests); ++i)
            rig.Turn();
        QCOMPARE(rig.Eng.ReadRequests, 0u);
        Offline src;
        Fill(src.eng, 40);
        QVERIFY(src.eng.ZapiszUstawienia(Path("c.set")));
        const int events4 = rig.EventCount(4);
        QVERIFY(rig.Eng.CzytajUstawienia(Path("c.set")));
        QCOMPARE(rig.EventCount(4), events4);
        QVERIFY(rig.Eng.LastFileName.isEmpty());
        QCOMPARE(rig.Eng.WriteRequests, 0xF3071Fu);
        QCOMPARE(rig.Eng.ReadRequests, 0xF3071Fu);
        QList<int> order;
        for (int i = 0;
             i < 200 && (rig.Eng.WriteRequests || rig.Eng.ReadRequests || rig.Eng.SettingsWritePending);
             ++i) {
            for (const TPcFrame &f : rig.Turn())
                if (f.Code < 0x90 || f.Code > 0x97) order << f.Code;
        }
        QList<int> firstSeen;
        for (int c : order)
            if (!firstSeen.contains(c) && c != 0xC7 && c != 0x82) firstSeen << c; // history, error list
        const QList<int> want = {0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4,
                                 0xF5, 0xC8, 0xC9, 0xCA, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xE0,
                                 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xA8, 0xA9, 0xAA};
        QVERIFY2(firstSeen == want, qPrintable(QString::number(firstSeen.size()) + ": " + [&] {
                     QStringList l;
                     for (int c : firstSeen)
                         l << QString::number(c, 16);
                     return l.join(" ");
                 }())); // writes first, then the read-back
        QCOMPARE(rig.Ctl.Block(0xE1), Bytes(src.eng.Mapy[MapaB], 256));
    }

    void refusedFiles() {
        Offline a;
        Fill(a.eng, 5);
        const QByteArray before = Bytes(a.eng.Nastawy, 304);
        QVERIFY(!a.eng.CzytajUstawienia(Path("missing.set")));
        QCOMPARE(a.messages.last(), QString("Error code 122"));
        QFile f(Path("v2.set"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray bad(4096, '\x01');
        std::memcpy(bad.data(), "set file\x02", 9);
        f.write(bad);
        f.close();
        QVERIFY(!a.eng.CzytajUstawienia(Path("v2.set")));
        QCOMPARE(a.messages.last(), QString("Error code 123"));
        QCOMPARE(Bytes(a.eng.Nastawy, 304), before);
        QVERIFY(a.events.isEmpty());
        QVERIFY(!a.eng.ZapiszUstawienia(Path("no/such/dir/x.set")));
        QCOMPARE(a.messages.last(), QString("Error code 121"));
    }

    void shortFileLeavesLaterBlocks() {
        Offline a;
        Fill(a.eng, 7);
        QVERIFY(a.eng.ZapiszUstawienia(Path("s.set")));
        QFile f(Path("s.set"));
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.resize(1024); // header, extensions, identification, history, settings, multipliers 1
        f.close();
        Offline b;
        Fill(b.eng, 77);
        const QByteArray m2 = Bytes(b.eng.Mnoznik2, 256);
        QVERIFY(b.eng.CzytajUstawienia(Path("s.set")));
        QCOMPARE(Bytes(b.eng.Mnoznik1, 256), Bytes(a.eng.Mnoznik1, 256));
        QCOMPARE(Bytes(b.eng.Mnoznik2, 256), m2);
    }

    void failedSaveKeepsOldFile() {
        Offline a;
        Fill(a.eng, 9);
        QVERIFY(a.eng.ZapiszUstawienia(Path("keep.set")));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        Fill(a.eng, 10);
        const bool saved = a.eng.ZapiszUstawienia(Path("keep.set"));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (saved) QSKIP("running as a user who may write anywhere");
        QFile f(Path("keep.set"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().size(), 4096); // the old file is intact
    }

    void scopeFiles() {
        Offline a;
        Fill(a.eng, 11);
        std::vector<uint8_t> samples(128 * 10);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = uint8_t(i * 3);
        QVERIFY(a.eng.ZapiszOscyloskop(Path("r.osc"), samples.data(), 0));
        QCOMPARE(QFileInfo(Path("r.osc")).size(), 4096);
        a.eng.DopiszOscyloskop(samples.data(), 1);
        a.eng.DopiszOscyloskop(samples.data(), 2);
        QCOMPARE(QFileInfo(Path("r.osc")).size(), 4096 + 256);
        a.eng.ZamnkijOscyloskop();
        a.eng.DopiszOscyloskop(samples.data(), 3); // closed: nothing more
        QCOMPARE(QFileInfo(Path("r.osc")).size(), 4096 + 256);

        Offline b;
        Fill(b.eng, 50);
        const QByteArray ident = Bytes(b.eng.Identyfikacja, 192), hist = Bytes(b.eng.Historia, 256);
        std::vector<uint8_t> buf(128 * 4);
        QCOMPARE(b.eng.CzytajOscyloskop(Path("r.osc"), buf.data(), 4), 2);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buf.data()), 256),
                 QByteArray(reinterpret_cast<char *>(samples.data()) + 128, 256));
        QCOMPARE(Bytes(b.eng.Identyfikacja, 192), ident);
        QCOMPARE(Bytes(b.eng.Historia, 256), hist);
        QCOMPARE(Bytes(b.eng.Nastawy, 256), Bytes(a.eng.Nastawy, 256));
        QCOMPARE(Bytes(b.eng.Mapy[MapaE], 256), Bytes(a.eng.Mapy[MapaE], 256));
        QCOMPARE(b.eng.LastFileName, Path("r.osc"));
        QVERIFY(b.events.contains(QList<int>{4, 0, 0, 0}));

        // Whole samples only: the torn rest after them never reaches the buffer.
        QFile f(Path("r.osc"));
        for (int tail : {100, 300}) {
            f.resize(4096 + tail);
            std::fill(buf.begin(), buf.end(), uint8_t(0x5A));
            QCOMPARE(b.eng.CzytajOscyloskop(Path("r.osc"), buf.data(), 4), tail / 128);
            QCOMPARE(int(buf[size_t(tail / 128 * 128)]), 0x5A);
        }
        f.resize(4096);
        QCOMPARE(b.eng.CzytajOscyloskop(Path("r.osc"), buf.data(), 4), 0);
    }

    void scopeFileLargerThanBuffer() {
        Offline a;
        std::vector<uint8_t> samples(128 * 50, 0xAB);
        QVERIFY(a.eng.ZapiszOscyloskop(Path("big.osc"), samples.data(), 50));
        a.eng.ZamnkijOscyloskop();
        QStringList log;
        a.eng.OnTekst = [&](QObject *, const QString &t, uint32_t) { log << t; };
        // A guard after the buffer shows that nothing is written past it.
        std::vector<uint8_t> buf(128 * 20 + 16, 0x11);
        QCOMPARE(a.eng.CzytajOscyloskop(Path("big.osc"), buf.data(), 20), 20);
        for (int i = 128 * 20; i < int(buf.size()); ++i)
            QCOMPARE(int(buf[size_t(i)]), 0x11);
        QCOMPARE(int(buf[128 * 20 - 1]), 0xAB);
        QVERIFY(!log.isEmpty());
    }

    void scopeFailures() {
        Offline a;
        a.eng.UseBackend(std::make_shared<TMemoryPort>());
        a.eng.PortOpen(1);
        std::vector<uint8_t> buf(128);
        QCOMPARE(a.eng.CzytajOscyloskop(Path("none.osc"), buf.data(), 1), 0);
        QCOMPARE(a.messages.last(), QString("Error code 132"));
        QVERIFY(!a.eng.PortConnected()); // the port was closed first
        QVERIFY(a.events.contains(QList<int>{4, 0, 0, 0}));
        QVERIFY(a.eng.ZapiszUstawienia(Path("x.set")));
        QCOMPARE(a.eng.CzytajOscyloskop(Path("x.set"), buf.data(), 1), 0);
        QCOMPARE(a.messages.last(), QString("Error code 133"));
        QVERIFY(!a.eng.ZapiszOscyloskop(Path("no/dir/x.osc"), buf.data(), 1));
        QCOMPARE(a.messages.last(), QString("Error code 131"));
        QVERIFY(!a.eng.ScopeFile);
        // Bytes 8 and 9 must both be 1.
        QVERIFY(a.eng.ZapiszOscyloskop(Path("v.osc"), buf.data(), 1));
        a.eng.ZamnkijOscyloskop();
        QFile v(Path("v.osc"));
        QVERIFY(v.open(QIODevice::ReadWrite));
        for (int at : {8, 9}) {
            a.messages.clear();
            v.seek(at);
            v.write("\x02", 1);
            v.flush();
            QCOMPARE(a.eng.CzytajOscyloskop(Path("v.osc"), buf.data(), 1), 0);
            QCOMPARE(a.messages, QStringList{"Error code 133"});
            v.seek(at);
            v.write("\x01", 1);
            v.flush();
        }
        QCOMPARE(a.eng.CzytajOscyloskop(Path("v.osc"), buf.data(), 1), 1);
        // An append that does not reach the disk (a full one here) ends recording to the file.
        if (!QFile::exists("/dev/full")) QSKIP("no /dev/full");
        a.eng.ScopeFile = std::make_unique<QFile>(QStringLiteral("/dev/full"));
        QVERIFY(a.eng.ScopeFile->open(QIODevice::WriteOnly));
        a.messages.clear();
        a.eng.DopiszOscyloskop(buf.data(), 0);
        a.eng.DopiszOscyloskop(buf.data(), 0);
        QCOMPARE(a.messages, QStringList{"Error code 131"});
        QVERIFY(!a.eng.ScopeFile);
    }

    void scopeSaveLeavesOtherFilesAlone() {
        // The temporary is the recorder's own: a user's file that happens to carry a name derived
        // from the recording's survives the save, and nothing else is left in the folder.
        QTemporaryDir d;
        QFile own(d.filePath("rec.osc.part"));
        QVERIFY(own.open(QIODevice::WriteOnly) && own.write("mine") == 4);
        own.close();
        Offline a;
        std::vector<uint8_t> samples(128 * 3, 7);
        QVERIFY(a.eng.ZapiszOscyloskop(d.filePath("rec.osc"), samples.data(), 3));
        a.eng.DopiszOscyloskop(samples.data(), 0);
        a.eng.ZamnkijOscyloskop();
        QCOMPARE(QFileInfo(d.filePath("rec.osc")).size(), 4096 + 4 * 128);
        QVERIFY(own.open(QIODevice::ReadOnly));
        QCOMPARE(own.readAll(), QByteArray("mine"));
        QCOMPARE(QDir(d.path()).entryList(QDir::Files), (QStringList{"rec.osc", "rec.osc.part"}));
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
