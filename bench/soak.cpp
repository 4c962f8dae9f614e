// Long run of the real engines against both simulators with faults on. The controller is polled
// all the time and once a minute its settings are written and read back; the OBD engine polls PIDs
// and reads the trouble codes every 20 s. The simulators are tarven-sim processes on pseudo-terminals.
//
//   soak [--minutes N] [--sim PATH] [--seed N]      (default 30 minutes)
//
// At the end it prints replies handled, settings round trips equal / unequal, resident memory at
// the start and at the end, and CPU time per hour; the exit code is 0 only when every round trip
// was equal and both simulators lived to the end.
#include "device/TSterownik.h"
#include "obd/ObdModels.h"
#include "obd/TObd.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QPair>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

constexpr uint32_t BitUstawien = 1u << BitNastawy;
constexpr int Zmieniane[] = {51, 60}; // settings bytes changed by every round trip

long RezydentnaKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

double CpuSekundy() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A simulator process; the first line it prints names its pseudo-terminal.
QString Uruchom(QProcess &p, const QString &program, const QStringList &args) {
    p.setProgram(program);
    p.setArguments(args);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start();
    if (!p.waitForStarted(10000)) return QString();
    QElapsedTimer t;
    t.start();
    while (!p.canReadLine() && t.elapsed() < 10000)
        p.waitForReadyRead(1000);
    const QByteArray line = p.readLine().trimmed();
    return line.startsWith("PTY ") ? QString::fromLocal8Bit(line.mid(4)) : QString();
}

class Grid : public TObdGrid {
public:
    std::function<void(int, int, const QString &)> OnSet;
    void SetColCount(int) override {}
    void SetRowCount(int r) override { rows_ = r; }
    int RowCount() const override { return rows_; }
    void SetCell(int col, int row, const QString &text, int) override {
        cells_[{col, row}] = text;
        if (OnSet) OnSet(col, row, text);
    }
    QString Cell(int col, int row) const override { return cells_.value({col, row}); }

private:
    int rows_ = 0;
    QMap<QPair<int, int>, QString> cells_;
};

class Box : public TObdTextBox {
public:
    void Append(const QString &, int) override { ++Lines; }
    void Clear() override {}
    long Lines = 0;
};

struct Wyniki {
    long controllerReplies = 0, pidValues = 0, dtcReads = 0, dtcLines = 0;
    int equal = 0, unequal = 0, stalled = 0, reconnects = 0;
};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    double minutes = 30;
    QString sim;
#ifdef TARVEN_SIM_PATH
    sim = QStringLiteral(TARVEN_SIM_PATH);
#endif
    QString seed = QStringLiteral("1");
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--minutes"))
            minutes = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--sim"))
            sim = args[i + 1];
        else if (args[i] == QLatin1String("--seed"))
            seed = args[i + 1];
    }
    if (!(minutes > 0) || sim.isEmpty()) {
        std::fprintf(stderr, "usage: soak [--minutes N] [--sim PATH-OF-tarven-sim] [--seed N]\n");
        return 2;
    }

    QProcess ctlSim, elmSim;
    const QString ctlPty = Uruchom(ctlSim, sim,
                                   {"controller", "--exit-on-stdin-eof", "--drop", "0.1", "--garbage", "0.1",
                                    "--split", "--seed", seed});
    const QString elmPty =
        Uruchom(elmSim, sim,
                {"elm", "--exit-on-stdin-eof", "--drop-prompt-rate", "0.1", "--split-prompt", "--junk",
                 "--dtc", "P0420,C0035,U0100", "--pending", "P0171", "--seed", seed});
    if (ctlPty.isEmpty() || elmPty.isEmpty()) {
        std::fprintf(stderr, "soak: the simulators did not start\n");
        return 1;
    }

    Wyniki w;
    TSterownik ster;
    ster.OnZdarzenie = [&](int kind, int, int, int) {
        if (kind == 0) ++w.controllerReplies;
    };
    if (!ster.PortOpenPath(ctlPty)) {
        std::fprintf(stderr, "soak: %s: %s\n", qPrintable(ctlPty), qPrintable(ster.PortFaultReason()));
        return 1;
    }

    Grid status, pidy;
    Box dtc;
    TObd obd;
    obd.StopTimer();
    obd.Sterownik = &ster;
    obd.MyGridStatus = &status;
    obd.MyGridPidy = &pidy;
    obd.MyRichDtc = &dtc;
    pidy.OnSet = [&](int col, int, const QString &text) {
        if (col == 4 && !text.isEmpty()) ++w.pidValues;
    };
    if (!obd.PortOpenPath(elmPty)) {
        std::fprintf(stderr, "soak: %s: %s\n", qPrintable(elmPty), qPrintable(obd.PortFaultReason()));
        return 1;
    }

    QElapsedTimer clock;
    clock.start();
    const qint64 endMs = qint64(minutes * 60000);
    const long rssStart = RezydentnaKb();
    long rssWarm = -1;
    const double cpuStart = CpuSekundy();

    // The OBD engine's tick: 200 ms once, then 100 ms; the trouble codes are read every 20 s.
    QTimer obdTick;
    bool firstTick = true;
    int dtcState = 0; // 0 waiting for the time, 1 pressed
    qint64 nextDtc = 20000;
    QObject::connect(&obdTick, &QTimer::timeout, [&] {
        if (firstTick) {
            firstTick = false;
            obd.OnTimer0();
            obdTick.setInterval(TObd::Takt);
            return;
        }
        const int before = obd.Stan;
        obd.OnTimer1();
        const bool polling = obd.Stan == 1000 || obd.Stan == 1001;
        if (dtcState == 1 && polling && before >= 3000) {
            dtcState = 0;
            ++w.dtcReads;
            w.dtcLines = dtc.Lines;
        }
        if (dtcState == 0 && polling && clock.elapsed() >= nextDtc) {
            nextDtc = clock.elapsed() + 20000;
            obd.WcisnietoPrzycisk(3);
            dtcState = 1;
        }
    });
    obdTick.start(200);

    // Supervision as the main window does it: reconnect a port that went away or stopped answering.
    // Once a minute: settings written, then read back and compared.
    enum { Czeka, Zapis, Odczyt } faza = Czeka;
    uint8_t oczekiwane[256] = {};
    qint64 nextTrip = 60000, tripStart = 0;
    int round = 0;
    QTimer supervision;
    QObject::connect(&supervision, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (!ster.PortConnected() || ster.Unanswered > 10) {
            ++w.reconnects;
            ster.PortOpen(-1);
        }
        if (!obd.PortConnected()) obd.PortOpen(-1);
        if (rssWarm < 0 && now >= 60000) rssWarm = RezydentnaKb();
        const bool ready = ster.Identyfikacja[5] == 0 && ster.Identyfikacja[0] != 0 &&
                           ster.ReadRequests == 0 && ster.WriteRequests == 0 && !ster.SettingsWritePending;
        switch (faza) {
        case Czeka:
            if (now < nextTrip || !ready) break;
            nextTrip += 60000;
            ++round;
            for (int k : Zmieniane)
                ster.Nastawy[k] = uint8_t(ster.Nastawy[k] + 7);
            std::memcpy(oczekiwane, ster.Nastawy, 256);
            ster.ZapiszDoSterownika(BitUstawien);
            tripStart = now;
            faza = Zapis;
            break;
        case Zapis:
            if (ster.SettingsWritePending || (ster.WriteRequests & BitUstawien)) {
                if (now - tripStart > 30000) {
                    ++w.stalled;
                    faza = Czeka;
                }
                break;
            }
            std::memset(ster.Nastawy, 0, 256); // what comes back must come from the controller
            ster.CzytajZeSterownika(BitUstawien);
            faza = Odczyt;
            break;
        case Odczyt:
            if (ster.ReadRequests & BitUstawien) {
                if (now - tripStart > 30000) {
                    ++w.stalled;
                    faza = Czeka;
                }
                break;
            }
            // Byte 0 is the checksum, computed afresh for every write.
            if (std::memcmp(oczekiwane + 1, ster.Nastawy + 1, 255) == 0 && Frame::Sum(ster.Nastawy, 256) == 0)
                ++w.equal;
            else
                ++w.unequal;
            faza = Czeka;
            break;
        }
        if (now / 60000 != (now - 100) / 60000)
            std::fprintf(stderr,
                         "soak: %lld min: %ld controller replies, %ld PID values, %ld trouble-code reads, "
                         "round trips %d equal %d unequal %d stalled, %ld kB resident\n",
                         now / 60000, w.controllerReplies, w.pidValues, w.dtcReads, w.equal, w.unequal,
                         w.stalled, RezydentnaKb());
        bool lost = ctlSim.state() != QProcess::Running || elmSim.state() != QProcess::Running;
        if (now >= endMs || lost) QCoreApplication::quit();
    });
    supervision.start(100);
    app.exec();

    const double hours = double(clock.elapsed()) / 3.6e6;
    const long rssEnd = RezydentnaKb();
    const double cpu = CpuSekundy() - cpuStart;
    const bool simsLived = ctlSim.state() == QProcess::Running && elmSim.state() == QProcess::Running;
    ster.StopTimer();
    ster.PortClose();
    obd.PortClose();
    ctlSim.closeWriteChannel();
    elmSim.closeWriteChannel();
    ctlSim.waitForFinished(10000);
    elmSim.waitForFinished(10000);

    const long base = rssWarm > 0 ? rssWarm : rssStart;
    const double warmHours = rssWarm > 0 ? hours - 1.0 / 60 : hours;
    std::printf("soak: %.1f minutes, faults on (controller --drop 0.1 --garbage 0.1 --split; adapter "
                "--drop-prompt-rate 0.1 --split-prompt --junk)\n",
                hours * 60);
    std::printf("controller replies handled: %ld (%d reconnections)\n", w.controllerReplies, w.reconnects);
    std::printf("OBD: %ld PID values, %ld trouble-code reads\n", w.pidValues, w.dtcReads);
    std::printf("settings round trips: %d equal, %d unequal, %d stalled\n", w.equal, w.unequal, w.stalled);
    std::printf("resident memory: %ld kB at the start, %ld kB after the first minute, %ld kB at the end "
                "(%+.0f kB per hour after the first minute)\n",
                rssStart, rssWarm, rssEnd, warmHours > 0 ? double(rssEnd - base) / warmHours : 0.0);
    std::printf("CPU: %.1f s in %.1f minutes = %.1f s per hour\n", cpu, hours * 60,
                hours > 0 ? cpu / hours : 0.0);
    std::printf("simulators %s\n", simsLived ? "ran to the end" : "ENDED EARLY");
    return (w.unequal == 0 && w.stalled == 0 && w.equal > 0 && simsLived) ? 0 : 1;
}
