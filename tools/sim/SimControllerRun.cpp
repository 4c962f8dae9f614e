// `tarven-sim controller`: a SimController behind a pseudo-terminal. Bytes from the terminal go in
// at the real time they came (the controller's clock follows the wall clock); a single-shot timer
// wakes the shell when the next reply byte is due. Nothing polls.
#include "Pty.h"
#include "SimController.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <optional>

namespace {

QString controllerUsage() {
    return QStringLiteral(
               "usage: tarven-sim controller [options]\n"
               "  --link PATH         symbolic link to the pseudo-terminal (removed on exit)\n"
               "  --link-key N        link key of the frame scrambling, 0..255 (default %1)\n"
               "  --drop RATE         share of replies never sent, 0..1\n"
               "  --corrupt RATE      share of replies sent with a bad checksum, 0..1\n"
               "  --garbage RATE      share of replies followed by garbage bytes, 0..1\n"
               "  --split             deliver replies in random pieces\n"
               "  --silent-after N    answer N commands, then fall silent\n"
               "  --bootloader        start in the bootloader (no valid application)\n"
               "  --seed N            seed of every random choice (default 1)\n"
               "  --model N           1 TARVEN ECO+, 2 TARVEN PRO+ (default 2)\n"
               "  --channels N        injector channels 1..8 (default 8)\n"
               "  --serial TEXT       serial number, up to 16 characters\n"
               "  --reply-delay MS    time before a reply starts (default 4)\n"
               "  --obd-every MS      period of the OBD work-state report, 0 = never (default 2000)\n"
               "  --learn-every MS    a learnt map cell this often on petrol or gas (default 2500)\n"
               "  --learn-spread N    learn cells up to N map points around the operating one (default 0)\n"
               "  --flash-delay MS    the first copy of every 4th firmware block is answered after MS,\n"
               "                      every other block and repeated copy after 5 ms (default 0: off)\n"
               "  --verbose           trace every frame on stderr\n"
               "  --exit-on-stdin-eof exit when standard input closes\n")
        .arg(Frame::DefaultLinkKey);
}

struct RunOptions {
    SimControllerOptions sim;
    QString link;
    bool verbose = false;
};

std::optional<RunOptions> parseOptions(const QStringList &args, QString *error) {
    RunOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&](QString *out) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            *out = args[++i];
            return true;
        };
        auto integer = [&](int lo, int hi, int *out) {
            QString v;
            if (!value(&v)) return false;
            bool ok = false;
            const int n = v.toInt(&ok, 0);
            if (!ok || n < lo || n > hi) {
                *error = QStringLiteral("%1: \"%2\" is not a number from %3 to %4").arg(a, v).arg(lo).arg(hi);
                return false;
            }
            *out = n;
            return true;
        };
        auto rate = [&](double *out) {
            QString v;
            if (!value(&v)) return false;
            bool ok = false;
            const double r = v.toDouble(&ok);
            if (!ok || !(r >= 0 && r <= 1)) {
                *error = QStringLiteral("%1: \"%2\" is not a share from 0 to 1").arg(a, v);
                return false;
            }
            *out = r;
            return true;
        };
        int n = 0;
        QString text;
        bool ok = true;
        if (a == QLatin1String("--link")) {
            ok = value(&o.link);
        } else if (a == QLatin1String("--link-key")) {
            ok = integer(0, 255, &n);
            o.sim.linkKey = uint8_t(n);
        } else if (a == QLatin1String("--drop")) {
            ok = rate(&o.sim.dropRate);
        } else if (a == QLatin1String("--corrupt")) {
            ok = rate(&o.sim.corruptRate);
        } else if (a == QLatin1String("--garbage")) {
            ok = rate(&o.sim.garbageRate);
        } else if (a == QLatin1String("--split")) {
            o.sim.split = true;
        } else if (a == QLatin1String("--silent-after")) {
            ok = integer(0, 1 << 30, &o.sim.silentAfter);
        } else if (a == QLatin1String("--bootloader")) {
            o.sim.bootloader = true;
        } else if (a == QLatin1String("--seed")) {
            QString v;
            ok = value(&v);
            if (ok) {
                const qulonglong s = v.toULongLong(&ok, 0);
                if (!ok || s > 0xFFFFFFFFull) {
                    *error = QStringLiteral("--seed: \"%1\" is not a 32-bit number").arg(v);
                    ok = false;
                }
                o.sim.seed = uint32_t(s);
            }
        } else if (a == QLatin1String("--model")) {
            ok = integer(1, 2, &o.sim.model);
        } else if (a == QLatin1String("--channels")) {
            ok = integer(1, 8, &o.sim.channels);
        } else if (a == QLatin1String("--serial")) {
            ok = value(&text);
            if (ok && (text.size() > 16 || text.toLatin1() != text.toUtf8())) {
                *error = QStringLiteral("--serial: up to 16 plain characters");
                ok = false;
            }
            o.sim.serial = text.toLatin1();
        } else if (a == QLatin1String("--reply-delay")) {
            ok = integer(0, 10000, &o.sim.replyDelayMs);
        } else if (a == QLatin1String("--obd-every")) {
            ok = integer(0, 3600000, &o.sim.obdEveryMs);
        } else if (a == QLatin1String("--learn-every")) {
            ok = integer(10, 3600000, &o.sim.learnEveryMs);
        } else if (a == QLatin1String("--learn-spread")) {
            ok = integer(0, 15, &o.sim.learnSpread);
        } else if (a == QLatin1String("--flash-delay")) {
            ok = integer(0, 10000, &o.sim.flashDelayMs);
        } else if (a == QLatin1String("--verbose")) {
            o.verbose = true;
        } else {
            *error = QStringLiteral("unknown option \"%1\"").arg(a);
            ok = false;
        }
        if (!ok) return std::nullopt;
    }
    return o;
}

// The running controller: terminal in, controller, terminal out.
class ControllerShell : public QObject {
public:
    explicit ControllerShell(const RunOptions &o) : options_(o), ctl_(o.sim) {
        clock_.start();
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] { pump(); });
        connect(&pty_, &Pty::received, this, [this](const QByteArray &bytes) {
            catchUp();
            ctl_.Input(bytes);
            pump();
        });
        if (o.verbose)
            ctl_.OnLog = [](const QString &line) { std::fprintf(stderr, "ctl:%s\n", qPrintable(line)); };
    }
    ~ControllerShell() override {
        if (options_.verbose) {
            const auto &s = ctl_.Stats;
            std::fprintf(stderr,
                         "ctl: %d frames in (%d bad, %d noise bytes, %d unknown), %d replies (%d dropped, "
                         "%d corrupted, %d garbage bursts), %d OBD reports\n",
                         s.framesIn, s.badFrames, s.noiseBytes, s.unknown, s.replies, s.dropped, s.corrupted,
                         s.garbageBursts, s.obdReports);
            if (s.flashFrames > 0) std::fprintf(stderr, "ctl: %s\n", qPrintable(ctl_.FirmwareSummary()));
        }
    }

    bool start(QString *error) {
        if (!pty_.open(error)) return false;
        if (!options_.link.isEmpty() && !pty_.createLink(options_.link, error)) return false;
        std::printf("PTY %s\n", qPrintable(pty_.slaveName()));
        if (!options_.link.isEmpty()) std::printf("LINK %s\n", qPrintable(options_.link));
        std::fflush(stdout);
        return true;
    }

private:
    // The controller's clock follows the wall clock.
    void catchUp() {
        const qint64 behind = clock_.elapsed() - ctl_.Now();
        if (behind > 0) out_.append(ctl_.Advance(int(std::min<qint64>(behind, 1 << 30))));
    }
    void pump() {
        catchUp();
        if (!out_.isEmpty()) {
            pty_.write(out_);
            out_.clear();
        }
        const int next = ctl_.NextDueMs();
        if (next >= 0)
            timer_.start(std::max(1, next));
        else
            timer_.stop();
    }

    RunOptions options_;
    Pty pty_;
    SimController ctl_;
    QTimer timer_;
    QElapsedTimer clock_;
    QByteArray out_;
};

} // namespace

int RunController(const QStringList &args) {
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(qPrintable(controllerUsage()), stdout);
        return 0;
    }
    QString error;
    const std::optional<RunOptions> options = parseOptions(args, &error);
    if (!options) {
        std::fprintf(stderr, "tarven-sim controller: %s\n%s", qPrintable(error),
                     qPrintable(controllerUsage()));
        return 2;
    }
    ControllerShell shell(*options);
    if (!shell.start(&error)) {
        std::fprintf(stderr, "tarven-sim controller: %s\n", qPrintable(error));
        return 1;
    }
    return QCoreApplication::exec();
}
