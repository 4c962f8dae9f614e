// tarven: the service program of the TARVEN gas-injection controllers.
//
//   tarven [--port PATH] [--obd-port PATH] [--link-key N] [--admin] [--demo] [--lang L]
//
//   --port PATH      the controller on this device file instead of the configured port
//   --obd-port PATH  the OBD adapter on this device file (or the Wi-Fi adapter at HOST:PORT),
//                    connected at start
//   --link-key N     scrambling key of the controller link (0…255) for this run
//   --admin          administrator mode: the keys H (view), J (language), K (colours) and Q (the
//                    administrator menu) work, and the splash is short
//   --demo           start the virtual controller and the virtual ELM327 adapter (tarven-sim, beside
//                    this program, else on the PATH or in /usr/bin) and connect to them: the program
//                    live without hardware
//   --lang L         language of this run: en, pl, ru, es (or 0…3)
//   --version        the program's version
// None of these is stored in the configuration.
#include "app/Komunikaty.h"
#include "app/TDemo.h"
#include "app/TForm1.h"
#include "app/TZrzuty.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QMessageBox>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {
int sygnaly[2] = {-1, -1};

void NaSygnal(int) {
    const char b = 1;
    [[maybe_unused]] const ssize_t n = ::write(sygnaly[1], &b, 1);
}

// SIGTERM and SIGINT close the main window as the user would: the configuration is written and the
// demo's simulators are stopped.
void ObslugaSygnalow(QApplication *app) {
    if (::pipe2(sygnaly, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction sa {};
    sa.sa_handler = NaSygnal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    auto *n = new QSocketNotifier(sygnaly[0], QSocketNotifier::Read, app);
    QObject::connect(n, &QSocketNotifier::activated, app, [n] {
        char buf[16];
        while (::read(sygnaly[0], buf, sizeof buf) > 0) {
        }
        n->setEnabled(false);
        QApplication::closeAllWindows();
        QApplication::quit();
    });
}

int Jezyk(const QString &v) {
    const QString s = v.trimmed().toLower();
    const QStringList names = {QStringLiteral("en"), QStringLiteral("pl"), QStringLiteral("ru"),
                               QStringLiteral("es")};
    if (names.contains(s)) return int(names.indexOf(s));
    bool ok = false;
    const int n = s.toInt(&ok);
    return ok && n >= 0 && n <= 3 ? n : -2;
}
} // namespace

int main(int argc, char *argv[]) {
    // --version and --help answer before the window system is asked for: they work on a terminal
    // without a display too.
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--version" || a == "-v") {
            std::fputs("tarven " TARVEN_VERSION "\n", stdout);
            return 0;
        }
        if (a == "--help" || a == "-h" || a == "-?" || a == "--help-all")
            qputenv("QT_QPA_PLATFORM", "offscreen"); // the help opens no window
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarven"));
    QApplication::setOrganizationName(QStringLiteral("DuzERO"));
    QApplication::setApplicationVersion(QStringLiteral(TARVEN_VERSION));
    // The installed menu entry and its icon (the package puts both in the system's folders).
    QGuiApplication::setDesktopFileName(QStringLiteral(TARVEN_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarven")));

    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Service program of the TARVEN gas-injection controllers"));
    cli.addHelpOption();
    cli.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Controller on this device file."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption obdPort(QStringLiteral("obd-port"),
                                     QStringLiteral("OBD adapter on this device file, or the Wi-Fi "
                                                    "adapter at HOST:PORT (e.g. 192.168.0.10:35000)."),
                                     QStringLiteral("PATH"));
    const QCommandLineOption linkKey(QStringLiteral("link-key"), QStringLiteral("Link scrambling key 0-255."),
                                     QStringLiteral("N"));
    const QCommandLineOption admin(QStringLiteral("admin"),
                                   QStringLiteral("Administrator mode (keys H, J, K, Q)."));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Run against the virtual controller and adapter (tarven-sim)."));
    const QCommandLineOption lang(QStringLiteral("lang"), QStringLiteral("Language: en, pl, ru, es."),
                                  QStringLiteral("L"));
    // The pictures of the documentation (tools/screenshots.sh): every tab to a PNG file, then quit.
    QCommandLineOption shots(QStringLiteral("screenshot-dir"), QStringLiteral("Grab every tab into DIR."),
                             QStringLiteral("DIR"));
    shots.setFlags(QCommandLineOption::HiddenFromHelp);
    cli.addOptions({port, obdPort, linkKey, admin, demo, lang, shots});
    cli.process(app);

    TOpcjeStartu o;
    o.Splash = !cli.isSet(shots);
    o.Port = cli.value(port);
    o.PortObd = cli.value(obdPort);
    o.Admin = cli.isSet(admin);
    if (cli.isSet(linkKey)) {
        bool ok = false;
        const int k = cli.value(linkKey).toInt(&ok, 0);
        if (!ok || k < 0 || k > 255) {
            std::fprintf(stderr, "tarven: --link-key must be 0-255\n");
            return 2;
        }
        o.LinkKey = k;
    }
    if (cli.isSet(lang)) {
        o.Jezyk = Jezyk(cli.value(lang));
        if (o.Jezyk < 0) {
            std::fprintf(stderr, "tarven: --lang must be en, pl, ru or es\n");
            return 2;
        }
    }

    ZainstalujKomunikaty();
    ObslugaSygnalow(&app);

    TDemo symulatory;
    if (cli.isSet(demo)) {
        const QString sim = TDemo::SciezkaSymulatora();
        QString error;
        QStringList extra;
        if (o.LinkKey >= 0) extra << QStringLiteral("--link-key") << QString::number(o.LinkKey);
        // The demonstration controller learns its maps quickly, so the map view fills within a minute.
        extra << QStringLiteral("--learn-every") << QStringLiteral("250") << QStringLiteral("--learn-spread")
              << QStringLiteral("3");
        const QString controller = symulatory.Uruchom(sim, QStringLiteral("controller"), extra, &error);
        // The demonstration car has a stored code, so its vehicle page shows a freeze frame.
        const QString elm =
            controller.isEmpty()
                ? QString()
                : symulatory.Uruchom(sim, QStringLiteral("elm"),
                                     {QStringLiteral("--dtc"), QStringLiteral("P0171")}, &error);
        if (controller.isEmpty() || elm.isEmpty()) {
            symulatory.Zatrzymaj();
            std::fprintf(stderr, "tarven: demo mode: %s\n", qPrintable(error));
            QMessageBox::critical(nullptr, QStringLiteral("TARVEN"), QStringLiteral("Demo: ") + error);
            return 1;
        }
        o.Port = controller;
        o.PortObd = elm;
    }

    int rc = 0;
    try {
        TForm1 w(o);
        std::unique_ptr<TZrzuty> zrzuty;
        if (cli.isSet(shots)) zrzuty = std::make_unique<TZrzuty>(&w, cli.value(shots));
        w.show();
        if (zrzuty) zrzuty->Start();
        rc = app.exec();
        if (zrzuty && zrzuty->Blad) rc = 1;
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QStringLiteral("TARVEN"), QString::fromLocal8Bit(e.what()));
        rc = 1;
    }
    symulatory.Zatrzymaj();
    return rc;
}
