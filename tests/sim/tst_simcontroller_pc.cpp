// The PC's controller engine (TSterownik) against the virtual controller: in memory on a shared
// virtual clock (a whole session, a settings write, auto-calibration to its end, a firmware update,
// faults on the line), and once against the tarven-sim program over a real pseudo-terminal.
#include "tst_simcontroller_wire.h"

#include "device/TSterownik.h"

#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The engine on the in-memory port, the virtual controller behind it, one 25 ms tick at a time.
struct PcRig {
    TSterownik eng;
    std::shared_ptr<TMemoryPort> mem = std::make_shared<TMemoryPort>();
    SimController ctl;
    QList<QList<int>> events;
    QStringList messages;
    QList<int> rpm; // engine speed of every poll reply the PC took
    int64_t ms = 0;

    explicit PcRig(const SimControllerOptions &o = {}) : ctl(o) {
        eng.StopTimer();
        eng.UseBackend(mem);
        eng.LinkKey = o.linkKey;
        eng.OnZdarzenie = [this](int k, int a, int b, int c) {
            events.append({k, a, b, c});
            if (k == 0 && (a & 0xF0) == 0x90 && b > 4)
                rpm.append((eng.RxBuffer[17] | eng.RxBuffer[18] << 8) * 10);
        };
        eng.OnMessage = [this](const QString &text, int) {
            messages.append(text);
            return 1;
        };
        eng.PortOpen(1);
    }
    void Tick() {
        eng.Timer1OnTimer();
        const QByteArray tx = mem->TakeTx();
        if (!tx.isEmpty()) ctl.Input(tx);
        mem->Rx.append(ctl.Advance(25));
        ms += 25;
    }
    template <typename Done> bool RunUntil(Done done, int maxMs) {
        for (int t = 0; t < maxMs; t += 25) {
            Tick();
            if (done()) return true;
        }
        return false;
    }
    int Count(int kind, int a) const {
        int n = 0;
        for (const auto &e : events)
            n += e[0] == kind && e[1] == a;
        return n;
    }
    // Identified in application mode and every block of the identification's read set read.
    bool Synchronised() const {
        return Count(0, 0x81) > 0 && eng.Identyfikacja[5] == 0 && eng.ReadRequests == 0;
    }
};

bool SameBlock(const uint8_t *a, const uint8_t *b) {
    return std::memcmp(a, b, 256) == 0;
}

void CheckImageMatches(PcRig &r) {
    QVERIFY(SameBlock(r.eng.Nastawy, r.ctl.Block(0)));
    QVERIFY(SameBlock(r.eng.Mnoznik1, r.ctl.Block(1)));
    QVERIFY(SameBlock(r.eng.KorObr2, r.ctl.Block(4)));
    QVERIFY(SameBlock(r.eng.Historia, r.ctl.Block(7)));
    QVERIFY(SameBlock(r.eng.KorTempGazu, r.ctl.Block(10)));
    QVERIFY(SameBlock(r.eng.Mapy[MapaF], r.ctl.Block(23)));
    QCOMPARE(Frame::Sum(r.eng.Nastawy, 256), uint8_t(0));
}

QByteArray ImageFile(uint8_t v1) {
    QByteArray file(256 + SimFirmware::Size, '\0');
    std::memcpy(file.data(), "img file", 8);
    file[8] = char(SimIdent::Hw44);
    file[18] = char(SimIdent::Hw40);
    file[20] = char(SimIdent::BoardType);
    file[21] = char(SimIdent::BoardVariant);
    auto *image = reinterpret_cast<uint8_t *>(file.data() + 256);
    for (int i = 0; i < SimFirmware::Size; ++i)
        image[i] = uint8_t(i * 13 + 1);
    SimFirmware::Stamp(image, v1, 8, 3, 25, 7, 1);
    return file;
}
} // namespace

class TestSimControllerPc : public QObject {
    Q_OBJECT
private slots:
    void wholeSession() {
        PcRig r;
        QVERIFY(r.RunUntil([&] { return r.Synchronised(); }, 30000));
        QCOMPARE(r.eng.Identyfikacja[38], uint8_t(2));
        QCOMPARE(int(r.eng.InjectorCount), 8);
        QCOMPARE(r.eng.StrWersjaSterownika(), QStringLiteral("TARVEN PRO+"));
        CheckImageMatches(r);
        QCOMPARE(r.ctl.Stats.badFrames, 0);

        // Live values keep coming and moving.
        r.rpm.clear();
        r.RunUntil([] { return false; }, 30000);
        QVERIFY(r.rpm.size() >= 140);
        QVERIFY(QSet<int>(r.rpm.begin(), r.rpm.end()).size() > 20);
        QVERIFY(r.eng.Unanswered <= 1);

        // A settings change goes to the controller.
        r.eng.Nastawy[12] = 7;
        r.eng.ZapiszDoSterownika(1u << BitNastawy);
        QVERIFY(r.RunUntil([&] { return !r.eng.SettingsWritePending && !r.eng.WriteRequests; }, 5000));
        QCOMPARE(r.ctl.Block(0)[12], uint8_t(7));
        QCOMPARE(Frame::Sum(r.ctl.Block(0), 256), uint8_t(0));
        // The learnt map cells the PC copied agree with the controller's map.
        r.eng.CzytajZeSterownika(1u << BitMapaA);
        QVERIFY(r.RunUntil([&] { return r.eng.ReadRequests == 0; }, 5000));
        QVERIFY(SameBlock(r.eng.Mapy[MapaA], r.ctl.Block(16)));
        QVERIFY(std::any_of(r.eng.Mapy[MapaA], r.eng.Mapy[MapaA] + 256, [](uint8_t v) { return v != 0; }));
    }

    void autoCalibrationConverges() {
        PcRig r;
        QVERIFY(r.RunUntil([&] { return r.Synchronised(); }, 30000));
        QVERIFY(r.eng.StartStopKalibracji());
        const bool ended = r.RunUntil([&] { return r.Count(2, 3) + r.Count(2, 4) > 0; }, 30 * 60 * 1000);
        QVERIFY2(ended,
                 qPrintable(QStringLiteral("stage %1 after %2 s").arg(r.eng.CalStage).arg(r.ms / 1000)));
        QCOMPARE(r.Count(2, 4), 0); // not aborted
        qInfo("calibration finished after %lld s of virtual time, settings 90 = %d", (long long)(r.ms / 1000),
              int(r.eng.Nastawy[90]));
        QVERIFY(std::abs(int(r.eng.Nastawy[90]) - 166) <= 3);
        QCOMPARE(r.eng.Nastawy[92], r.eng.Nastawy[90]);
        QVERIFY(r.RunUntil([&] { return !r.eng.SettingsWritePending && !r.eng.WriteRequests; }, 5000));
        QCOMPARE(r.ctl.Block(0)[90], r.eng.Nastawy[90]);
        QCOMPARE(r.ctl.Engine.Fuel, uint8_t(FuelPetrol)); // calibration ends on petrol
    }

    void firmwareUpdate() {
        PcRig r;
        QVERIFY(r.RunUntil([&] { return r.Synchronised(); }, 30000));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new.img"));
        QSaveFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray file = ImageFile(5);
        f.write(file);
        QVERIFY(f.commit());
        int done = 0;
        r.eng.OnFirmwareDone = [&] { ++done; };
        QVERIFY(r.eng.Aktualizacja(path));
        QVERIFY(r.RunUntil([&] { return done == 1 && r.Synchronised() && r.eng.Identyfikacja[58] == 5; },
                           120000));
        QVERIFY(!r.ctl.Bootloader());
        QCOMPARE(r.ctl.Version[0], uint8_t(5));
        QVERIFY(std::equal(file.begin() + 256, file.end(),
                           reinterpret_cast<const char *>(r.ctl.FirmwareImage())));
        QVERIFY(r.messages.isEmpty());
    }

    void bootloaderWithoutUpdateIsReported() {
        SimControllerOptions o;
        o.bootloader = true;
        PcRig r(o);
        QVERIFY(r.RunUntil([&] { return !r.messages.isEmpty(); }, 5000));
        QCOMPARE(r.eng.Identyfikacja[5], uint8_t(1));
        // The bare poll replies are taken but carry no live values.
        r.RunUntil([] { return false; }, 3000);
        QVERIFY(r.Count(0, 0x90) > 0);
        QVERIFY(r.rpm.isEmpty());
    }

    // Drops, bad checksums, garbage and replies in pieces: the PC gets through all the same.
    void faultyLineStillSynchronises() {
        SimControllerOptions o;
        o.dropRate = 0.1;
        o.corruptRate = 0.1;
        o.garbageRate = 0.2;
        o.split = true;
        o.seed = 3;
        o.linkKey = 0x77;
        PcRig r(o);
        QVERIFY(r.RunUntil([&] { return r.Synchronised(); }, 120000));
        CheckImageMatches(r);
        r.rpm.clear();
        r.RunUntil([] { return false; }, 20000);
        QVERIFY2(r.rpm.size() >= 40, qPrintable(QString::number(r.rpm.size())));
        QVERIFY(r.ctl.Stats.dropped > 0 && r.ctl.Stats.corrupted > 0 && r.ctl.Stats.garbageBursts > 0);
    }

    void silentControllerIsNoticed() {
        SimControllerOptions o;
        o.silentAfter = 20;
        PcRig r(o);
        r.RunUntil([] { return false; }, 10000);
        QVERIFY(r.eng.Unanswered > 10);
        QCOMPARE(r.ctl.Stats.replies, 20);
    }

    void overPseudoTerminal() {
        QProcess sim;
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("ttyTARVEN"));
        sim.start(QStringLiteral(TARVEN_SIM_PATH), {"controller", "--exit-on-stdin-eof", "--link", link});
        QVERIFY2(sim.waitForStarted(10000), TARVEN_SIM_PATH);
        QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 10000);
        const QByteArray first = sim.readLine().trimmed();
        QVERIFY2(first.startsWith("PTY /dev/"), first.constData());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 5000);
        QCOMPARE(QFileInfo(link).symLinkTarget(), QString::fromLatin1(first.mid(4)));

        TSterownik eng;
        QList<int> rpm;
        int identified = 0;
        eng.OnZdarzenie = [&](int k, int a, int b, int) {
            if (k == 0 && a == 0x81) ++identified;
            if (k == 0 && (a & 0xF0) == 0x90 && b > 4) rpm.append(eng.RxBuffer[17] | eng.RxBuffer[18] << 8);
        };
        QVERIFY(eng.PortOpenPath(link));
        QTRY_VERIFY_WITH_TIMEOUT(identified > 0 && eng.ReadRequests == 0, 30000);
        QCOMPARE(eng.Identyfikacja[38], uint8_t(2));
        QCOMPARE(eng.Identyfikacja[42], SimIdent::BoardType);
        QCOMPARE(Frame::Sum(eng.Nastawy, 256), uint8_t(0));
        QCOMPARE(eng.KorCis[0], uint8_t(8));
        QCOMPARE(eng.Mnoznik2[17], uint8_t(100));
        rpm.clear();
        QTRY_VERIFY_WITH_TIMEOUT(rpm.size() >= 15 && QSet<int>(rpm.begin(), rpm.end()).size() >= 3, 20000);
        QVERIFY(eng.Unanswered < 10); // the link counts as connected
        eng.PortClose();

        sim.terminate();
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestSimControllerPc)
#include "tst_simcontroller_pc.moc"
