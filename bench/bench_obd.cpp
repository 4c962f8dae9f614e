// Live OBD at the adapter's limit: PID values a second with eleven polled PIDs on CAN against the
// virtual adapter (tarven-sim elm) at 38400 baud and 25 ms ECU time, polling as specified and fast,
// against the limit worked out from the same timings (the serial bytes of every request and its answer
// at the baud rate, plus the ECU time per request), with the engine's CPU while polling fast. Then the
// same requests against an adapter that answers at once, the engine against a plain blocking client.
//
//   bench_obd [--seconds N] [--sim PATH] [--baud N] [--ecu-ms N]      (default 20 s a run)
#include "obd/ObdModels.h"
#include "obd/TObd.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QPair>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The relayed five and six more the fitter picks: load, coolant, MAP, RPM, speed, intake air.
const int Polled[] = {0x03, 0x06, 0x07, 0x08, 0x09, 0x04, 0x05, 0x0B, 0x0C, 0x0D, 0x0F};

double CpuSekundy() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
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
    void Append(const QString &, int) override {}
    void Clear() override {}
};

QString Uruchom(QProcess &p, const QString &program, const QStringList &args) {
    p.setProgram(program);
    p.setArguments(args);
    p.start();
    if (!p.waitForStarted(10000)) return QString();
    QElapsedTimer t;
    t.start();
    while (!p.canReadLine() && t.elapsed() < 10000)
        p.waitForReadyRead(1000);
    const QByteArray line = p.readLine().trimmed();
    return line.startsWith("PTY ") ? QString::fromLocal8Bit(line.mid(4)) : QString();
}

// Bytes of one side of an exchange as the simulator's --verbose log prints it ("\r", "\x00").
int Bajty(const QByteArray &tekst) {
    int n = 0;
    for (int i = 0; i < tekst.size(); ++i, ++n)
        if (tekst[i] == '\\' && i + 1 < tekst.size()) i += tekst[i + 1] == 'x' ? 3 : 1;
    return n;
}

struct Przebieg {
    double wartosciNaS = 0; // values shown a second
    double zadanNaS = 0;    // requests a second
    double cpuProcent = 0;  // of one core
    double granica = 0;     // values a second the timings allow for the requests made
    int maksGrupy = 0;
};

// The engine against a simulator for `sekundy` once polling runs.
Przebieg Silnik(const QString &sim, const QStringList &simArgs, bool szybko, double sekundy, int baud,
                int ecuMs) {
    Przebieg w;
    QProcess p;
    const QString pty = Uruchom(p, sim,
                                QStringList{"elm", "--exit-on-stdin-eof"} +
                                    (baud > 0 ? QStringList{"--verbose"} : QStringList()) + simArgs);
    if (pty.isEmpty()) return w;
    Grid status, pidy;
    Box dtc;
    TObd obd;
    obd.StopTimer();
    obd.SzybkiPolling = szybko;
    obd.MyGridStatus = &status;
    obd.MyGridPidy = &pidy;
    obd.MyRichDtc = &dtc;
    for (pid &e : obd.Pidy)
        e.odpytywany = 0;
    for (int n : Polled)
        obd.Pidy[n].odpytywany = 1;
    long wartosci = 0;
    bool polling = false;
    pidy.OnSet = [&](int col, int, const QString &text) {
        if (polling && col == 4 && !text.isEmpty()) ++wartosci;
    };
    if (!obd.PortOpenPath(pty)) return w;

    QElapsedTimer zegar;
    double cpu0 = 0;
    QTimer tik;
    bool pierwszy = true;
    QObject::connect(&tik, &QTimer::timeout, [&] {
        if (pierwszy) {
            pierwszy = false;
            obd.OnTimer0();
            tik.setInterval(TObd::Takt);
            return;
        }
        obd.OnTimer1();
        if (!polling && obd.Stan == 1000) {
            polling = true;
            // The connection's exchanges are not counted: all of them are in the pipe by now.
            p.setReadChannel(QProcess::StandardError);
            while (p.waitForReadyRead(50)) {
            }
            p.readAllStandardError();
            zegar.start();
            cpu0 = CpuSekundy();
        }
        if (polling && zegar.elapsed() >= qint64(sekundy * 1000)) QCoreApplication::exit(0);
    });
    tik.start(200);
    QTimer bezpiecznik; // a connection that never comes
    bezpiecznik.setSingleShot(true);
    QObject::connect(&bezpiecznik, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    bezpiecznik.start(int(sekundy * 1000) + 30000);
    QCoreApplication::exec();
    const double s = double(zegar.elapsed()) / 1000.0;
    const double cpu = CpuSekundy() - cpu0;
    tik.stop();
    obd.PortClose();
    p.closeWriteChannel();
    p.waitForFinished(3000);
    const QByteArray log = p.readAllStandardError();
    if (!polling || s <= 0) return w;

    // Every mode-01 request of polling: its bytes and its answer's at the baud rate, plus the ECU time.
    long zadan = 0, pidow = 0;
    double czas = 0;
    for (const QByteArray &linia : log.split('\n')) {
        if (!linia.startsWith("elm: 01")) continue;
        const int strzalka = int(linia.indexOf(" -> "));
        if (strzalka < 0) continue;
        const QByteArray cmd = linia.mid(5, strzalka - 5);
        ++zadan;
        // A refused request takes its time but gives no value.
        const QByteArray odpowiedz = linia.mid(strzalka + 4);
        if (!odpowiedz.contains("?") && !odpowiedz.contains("NO DATA")) pidow += (cmd.size() - 2) / 2;
        if (baud > 0)
            czas += double(cmd.size() + 1 + Bajty(linia.mid(strzalka + 4))) * 10.0 / baud + ecuMs / 1000.0;
    }
    w.wartosciNaS = double(wartosci) / s;
    w.zadanNaS = double(zadan) / s;
    w.cpuProcent = 100.0 * cpu / s;
    w.granica = czas > 0 ? double(pidow) / czas : 0;
    w.maksGrupy = obd.MaksGrupy;
    return w;
}

// A plain blocking client: requests in turn, each written and then read until the prompt, nothing
// else; grouped as the engine groups them, or one PID a request. Values a second.
double Blokujacy(const QString &sim, const QStringList &simArgs, double sekundy, bool grupami) {
    QProcess p;
    const QString pty = Uruchom(p, sim, QStringList{"elm", "--exit-on-stdin-eof"} + simArgs);
    if (pty.isEmpty()) return 0;
    const int fd = ::open(pty.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) return 0;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    auto zapytaj = [&](const QByteArray &cmd) {
        const QByteArray z = cmd + '\r';
        if (::write(fd, z.constData(), size_t(z.size())) != z.size()) return false;
        char buf[512];
        for (;;) {
            pollfd f{fd, POLLIN, 0};
            if (::poll(&f, 1, 3000) <= 0) return false;
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0) return false;
            if (buf[n - 1] == '>') return true;
        }
    };
    for (const char *c : {"ATZ", "ATE0", "ATH1", "ATSP6", "0100"})
        zapytaj(c);
    // Eleven PIDs, six a request, as the engine groups them.
    QByteArrayList zadania{"01030405060708", "01090B0C0D0F03", "01040506070809",
                           "010B0C0D0F0304", "0105060708090B", "010C0D0F030405"};
    if (!grupami) {
        zadania.clear();
        for (int n : Polled)
            zadania << "01" + QByteArray::number(n, 16).toUpper().rightJustified(2, '0');
    }
    long wartosci = 0;
    QElapsedTimer zegar;
    zegar.start();
    for (int i = 0; zegar.elapsed() < qint64(sekundy * 1000); ++i) {
        const QByteArray &z = zadania[i % zadania.size()];
        if (!zapytaj(z)) break;
        wartosci += (z.size() - 2) / 2;
    }
    const double s = double(zegar.elapsed()) / 1000.0;
    ::close(fd);
    p.closeWriteChannel();
    p.waitForFinished(3000);
    return s > 0 ? double(wartosci) / s : 0;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    double sekundy = 20;
    int baud = 38400, ecuMs = 25;
    QString sim;
#ifdef TARVEN_SIM_PATH
    sim = QStringLiteral(TARVEN_SIM_PATH);
#endif
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--seconds"))
            sekundy = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--sim"))
            sim = args[i + 1];
        else if (args[i] == QLatin1String("--baud"))
            baud = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--ecu-ms"))
            ecuMs = args[i + 1].toInt();
    }
    if (!(sekundy > 0) || sim.isEmpty() || baud <= 0 || ecuMs < 0) {
        std::fprintf(stderr,
                     "usage: bench_obd [--seconds N] [--sim PATH-OF-tarven-sim] [--baud N] [--ecu-ms N]\n");
        return 2;
    }
    const QStringList realistic{"--baud", QString::number(baud), "--delay-ms", QString::number(ecuMs)};
    const Przebieg spec = Silnik(sim, realistic, false, sekundy, baud, ecuMs);
    const Przebieg fast = Silnik(sim, realistic, true, sekundy, baud, ecuMs);
    // A clone that refuses grouped requests ("?"): fast polling falls back to one PID a request.
    const Przebieg clone =
        Silnik(sim, realistic + QStringList{"--grouped", "question"}, true, sekundy, baud, ecuMs);
    if (spec.wartosciNaS <= 0 || fast.wartosciNaS <= 0) {
        std::fprintf(stderr, "bench_obd: the engine did not reach polling\n");
        return 1;
    }
    std::printf("11 PIDs on CAN, %d baud, %d ms ECU time, %.0f s a run\n\n", baud, ecuMs, sekundy);
    std::printf("| polling | PID values/s | requests/s | CPU %% of a core |\n|---|---|---|---|\n");
    std::printf("| as specified | %.1f | %.1f | %.1f |\n", spec.wartosciNaS, spec.zadanNaS, spec.cpuProcent);
    std::printf("| fast | %.1f | %.1f | %.1f |\n", fast.wartosciNaS, fast.zadanNaS, fast.cpuProcent);
    std::printf("| limit of the timings | %.1f | | |\n", fast.granica);
    std::printf("| fast, a clone refusing grouped requests | %.1f | %.1f | %.1f |\n", clone.wartosciNaS,
                clone.zadanNaS, clone.cpuProcent);
    std::printf("| limit of its timings | %.1f | | |\n\n", clone.granica);
    const double razy = fast.wartosciNaS / spec.wartosciNaS, odGranicy = fast.granica / fast.wartosciNaS;
    std::printf("fast / as specified: %.1f (goal at least 6)\n", razy);
    std::printf("limit / fast: %.2f (goal at most 1.3); groups of up to %d PIDs kept\n", odGranicy,
                fast.maksGrupy);

    // An adapter that answers at once: the engine against a plain blocking client.
    const QStringList atOnce{"--delay-ms", "0"};
    const Przebieg engine = Silnik(sim, atOnce, true, sekundy / 2, 0, 0);
    const double plain = Blokujacy(sim, atOnce, sekundy / 2, false);
    const double plainGrouped = Blokujacy(sim, atOnce, sekundy / 2, true);
    std::printf(
        "\nadapter answering at once: engine %.0f values/s (CPU %.0f %%); a plain blocking client %.0f "
        "values/s one PID a request (engine / client %.2f), %.0f values/s with the engine's grouped "
        "requests (%.2f)\n",
        engine.wartosciNaS, engine.cpuProcent, plain, plain > 0 ? engine.wartosciNaS / plain : 0.0,
        plainGrouped, plainGrouped > 0 ? engine.wartosciNaS / plainGrouped : 0.0);
    const bool ok = razy >= 6.0 && odGranicy <= 1.3;
    std::printf("%s\n", ok ? "goal met" : "goal missed");
    return ok ? 0 : 1;
}
