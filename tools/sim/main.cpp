// tarven-sim: simulated devices on pseudo-terminals, for trying the program without hardware and
// for the integration tests.
//
//   tarven-sim <simulator> [--exit-on-stdin-eof] [options of the simulator]
//
// Every simulator prints "PTY <slave device>" as its first line on stdout and runs until SIGTERM
// or SIGINT, or until standard input closes when --exit-on-stdin-eof is given (so that a parent
// that dies does not leave it behind). It cleans up (links, terminals) on the way out.
#include "ElmShell.h"
#include "SimController.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

struct Simulator {
    const char *name;
    int (*run)(const QStringList &args);
    const char *summary;
};

// ---- The simulators: one entry each. ----
const Simulator simulators[] = {
    {"elm", runElmSimulator, "virtual ELM327 OBD-II adapter"},
    {"controller", RunController, "virtual TARVEN gas-injection controller"},
};

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char b = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &b, 1);
}

// SIGTERM and SIGINT end the event loop through a pipe, so that destructors run as usual.
void watchSignals(QCoreApplication *app) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    auto *n = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, app);
    QObject::connect(n, &QSocketNotifier::activated, app, [n] {
        char buf[16];
        while (::read(signalPipe[0], buf, sizeof buf) > 0) {
        }
        n->setEnabled(false);
        QCoreApplication::quit();
    });
}

// Quits when standard input reaches its end; whatever is read before that is ignored.
void watchStdin(QCoreApplication *app) {
    auto *n = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, app);
    QObject::connect(n, &QSocketNotifier::activated, app, [n] {
        char buf[256];
        const ssize_t r = ::read(STDIN_FILENO, buf, sizeof buf);
        if (r <= 0) {
            n->setEnabled(false);
            QCoreApplication::quit();
        }
    });
}

void usage(FILE *to) {
    std::fputs("usage: tarven-sim <simulator> [--exit-on-stdin-eof] [options]   (--help after a name for its "
               "options)\n"
               "       tarven-sim --version\n",
               to);
    for (const Simulator &s : simulators)
        std::fprintf(to, "  %-12s %s\n", s.name, s.summary);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        usage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        std::fputs("tarven-sim " TARVEN_VERSION "\n", stdout);
        return 0;
    }
    const QString name = args.takeFirst();
    for (const Simulator &s : simulators) {
        if (name != QLatin1String(s.name)) continue;
        watchSignals(&app);
        if (args.removeAll(QStringLiteral("--exit-on-stdin-eof")) > 0) watchStdin(&app);
        return s.run(args);
    }
    std::fprintf(stderr, "tarven-sim: unknown simulator \"%s\"\n", qPrintable(name));
    usage(stderr);
    return 2;
}
