#include "cli/CliCommon.h"

#include "cli/CliOptions.h"
#include "config/TConfig.h"
#include "lang/LangText.h"
#include "link/TSerial.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
int pipeSygnalu[2] = {-1, -1};
std::function<void()> &ObslugaPrzerwania() {
    static std::function<void()> h;
    return h;
}

void NaSygnal(int) {
    const char b = 1;
    [[maybe_unused]] const ssize_t n = ::write(pipeSygnalu[1], &b, 1);
}
} // namespace

void Wypisz(const QString &line) {
    const QByteArray b = line.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
    std::fflush(stdout);
}

void Blad(const QString &message) {
    const QByteArray b = "tarven-cli: " + message.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
    std::fflush(stderr);
}

void PrzechwycPrzerwanie() {
    if (pipeSygnalu[0] >= 0) return;
    if (::pipe2(pipeSygnalu, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction sa {};
    sa.sa_handler = NaSygnal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN); // a closed reader of our output must not kill a firmware update
    auto *n = new QSocketNotifier(pipeSygnalu[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(n, &QSocketNotifier::activated, n, [] {
        char buf[16];
        while (::read(pipeSygnalu[0], buf, sizeof buf) > 0) {
        }
        if (ObslugaPrzerwania())
            ObslugaPrzerwania()();
        else
            QCoreApplication::exit(WyjscieBrakOdpowiedzi);
    });
}

void UstawPrzerwanie(std::function<void()> handler) {
    ObslugaPrzerwania() = std::move(handler);
}

TKonfiguracjaCli CzytajKonfiguracje() {
    TConfig c;
    c.Read();
    TKonfiguracjaCli k;
    k.Comm = c.Comm();
    k.ElmComm = c.ElmComm();
    k.ElmHost = c.ElmHost();
    k.Lang = c.Lang();
    k.LinkKey = c.LinkKey();
    k.WorkstationId = TConfig::WorkstationId();
    k.WarsztatNazwa = c.WorkshopName();
    k.WarsztatAdres = c.WorkshopAddress();
    k.WarsztatTelefon = c.WorkshopPhone();
    k.Dozwolone = c.InspectionAllowance();
    k.ObdSzybko = c.ObdFast();
    return k;
}

void UstawJezyk(const CliOptions &o, const TKonfiguracjaCli &k) {
    LangSetLanguage(o.Lang >= 0 ? o.Lang : k.Lang);
}

bool OtworzPort(TSerial &port, const QString &given, int configured, QString *description) {
    bool ok = false;
    const int number = given.isEmpty() ? configured : given.toInt(&ok, 10);
    bool opened = false;
    if (given.isEmpty() || ok) {
        opened = number > 0 && port.PortOpen(number);
        const QString path = port.ResolvePath();
        *description = path.isEmpty() ? QStringLiteral("port %1 (no such device)").arg(number)
                                      : QStringLiteral("%1 (port %2)").arg(path).arg(number);
    } else {
        opened = port.PortOpenPath(given);
        *description = given;
    }
    if (!opened && port.PortFault == TPortFault::None) port.PortFault = TPortFault::Missing; // no number
    return opened;
}

bool SprawdzPlikUstawien(const QString &file, QString *message) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        *message = QStringLiteral("%1: cannot be opened: %2 (Error code 122)").arg(file, f.errorString());
        return false;
    }
    const QByteArray head = f.read(16);
    if (head.size() < 16 || !head.startsWith("set file") || uint8_t(head[8]) != 1) {
        *message = QStringLiteral("%1: not a settings file (Error code 123)").arg(file);
        return false;
    }
    return true;
}
