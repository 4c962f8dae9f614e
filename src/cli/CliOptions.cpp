#include "cli/CliOptions.h"

#include <cmath>

namespace {

const QStringList GlobalWithValue = {"--port", "--obd-port", "--link-key", "--lang", "--timeout"};

// "--name=value" is the same as "--name value".
bool Rozdziel(const QString &arg, QString *name, QString *value) {
    const qsizetype eq = arg.indexOf(QLatin1Char('='));
    if (!arg.startsWith(QLatin1String("--")) || eq < 0) return false;
    *name = arg.left(eq);
    *value = arg.mid(eq + 1);
    return true;
}

int JezykZNazwy(const QString &name) {
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("en")) return 0;
    if (n == QLatin1String("pl")) return 1;
    if (n == QLatin1String("ru")) return 2;
    if (n == QLatin1String("es")) return 3;
    return -1;
}

} // namespace

std::optional<CliOptions> ParseCliOptions(const QStringList &args, QString *error) {
    CliOptions o;
    bool commandSeen = false;
    for (int i = 0; i < args.size(); ++i) {
        QString a = args[i];
        QString value;
        bool hasValue = false;
        QString name;
        if (Rozdziel(a, &name, &value) && GlobalWithValue.contains(name)) {
            a = name;
            hasValue = true;
        }
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.Help = true;
            continue;
        }
        if (a == QLatin1String("--version")) {
            o.Version = true;
            continue;
        }
        if (a == QLatin1String("--verbose")) {
            o.Verbose = true;
            continue;
        }
        if (!GlobalWithValue.contains(a)) {
            if (!commandSeen && !a.startsWith(QLatin1Char('-'))) {
                o.Command = a;
                commandSeen = true;
            } else {
                o.Args.append(args[i]);
            }
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("%1 needs a value").arg(a);
                return std::nullopt;
            }
            value = args[++i];
        }
        if (a == QLatin1String("--port")) {
            o.Port = value;
        } else if (a == QLatin1String("--obd-port")) {
            o.ObdPort = value;
        } else if (a == QLatin1String("--link-key")) {
            bool ok = false;
            const int k = value.toInt(&ok, 0);
            if (!ok || k < 0 || k > 255) {
                *error = QStringLiteral("--link-key: \"%1\" is not a number from 0 to 255").arg(value);
                return std::nullopt;
            }
            o.LinkKey = k;
        } else if (a == QLatin1String("--lang")) {
            o.Lang = JezykZNazwy(value);
            if (o.Lang < 0) {
                *error = QStringLiteral("--lang: \"%1\" is not one of pl, en, ru, es").arg(value);
                return std::nullopt;
            }
        } else if (a == QLatin1String("--timeout")) {
            bool ok = false;
            const double t = value.toDouble(&ok);
            if (!ok || !std::isfinite(t) || t <= 0 || t > 86400) {
                *error = QStringLiteral("--timeout: \"%1\" is not a number of seconds above 0").arg(value);
                return std::nullopt;
            }
            o.TimeoutS = t;
        }
    }
    if (!o.Help && !o.Version && o.Command.isEmpty()) {
        *error = QStringLiteral("no command given");
        return std::nullopt;
    }
    return o;
}

QString CliUsage() {
    return QStringLiteral(
        "usage: tarven-cli [global options] COMMAND [arguments]\n"
        "\n"
        "Global options:\n"
        "  --port PORT          controller port: a port number as the program numbers ports, or a device "
        "path\n"
        "  --obd-port PORT      OBD adapter port, the same way, or HOST:PORT of a Wi-Fi adapter\n"
        "                       (e.g. 192.168.0.10:35000)\n"
        "  --link-key N         link key of the controller frames, 0..255 (default: the configured key)\n"
        "  --lang pl|en|ru|es   language of the texts (default: the configured language, else the\n"
        "                       system's: pl, ru or es, otherwise en)\n"
        "  --timeout SECONDS    how long a device may keep us waiting (default 30)\n"
        "  --verbose            the communication log on standard error\n"
        "  --help, -h           this text\n"
        "  --version            the program's version\n"
        "\n"
        "Commands:\n"
        "  ports                          one line per port: number, TAB, caption\n"
        "  info                           model, serial, version, production, injectors, petrol and gas "
        "time\n"
        "  read-settings FILE             read every block and save a settings file\n"
        "  write-settings FILE [--no-backup]  back the controller up, write a settings file to it and read "
        "it back\n"
        "  monitor [--seconds N]          one line per poll reply: t= seconds, then name=value unit\n"
        "  errors [--clear]               the controller's error lines (erased first with --clear)\n"
        "  record FILE [--seconds N]      record live samples to a scope file\n"
        "  firmware FILE [--no-backup]    back the controller up, update the firmware, printing NN% lines\n"
        "  backup                         save a backup of the controller and print its path\n"
        "  export-csv OSC CSV [--extended] a scope recording to CSV as the scope exports it\n"
        "  defaults FILE                  a settings file holding the factory defaults\n"
        "  show-set FILE                  item TAB label TAB raw TAB text TAB unit for every labelled item\n"
        "  diff A.set B.set               differing items (item TAB label TAB A TAB B TAB unit), then "
        "blocks\n"
        "                                 (name TAB N bytes differ TAB largest difference); exit 0 equal, 1 "
        "differ\n"
        "  obd status                     the seven rows of the adapter status panel\n"
        "  obd pids [--pid XX]... [--seconds N] [--polling fast|as-specified]\n"
        "                                 PID values as they arrive: XX TAB name TAB value; at the end the\n"
        "                                 values a second on stderr\n"
        "  obd dtc                        read the trouble codes\n"
        "  obd clear-dtc                  clear the trouble codes\n"
        "  obd vehicle [--json]           readiness monitors, freeze frame, VIN, calibration IDs, CVNs\n"
        "                                 and ECU name of every control unit that answers, counters since\n"
        "                                 the codes were cleared, stored, pending and permanent codes, and\n"
        "                                 the emissions-inspection verdict\n"
        "  report OUT.pdf|OUT.html        the service report of this visit: the car (--obd-port) and the\n"
        "                                 gas controller (--port), what was not reached said so\n"
        "\n"
        "Without --seconds, monitor, record and obd pids run until interrupted (Ctrl-C).\n"
        "Backups go to Documents/QERN/Tarven II/Backups/<serial>/; without one nothing is written (exit 3)\n"
        "unless --no-backup is given.\n"
        "Exit codes: 0 done, 1 the device did not answer in time, 2 usage, 3 a file error.\n");
}

bool TArgumenty::Czytaj(const QStringList &args, const QStringList &withValue, const QStringList &flags,
                        QString *error) {
    values_.clear();
    flags_.clear();
    operands_.clear();
    for (int i = 0; i < args.size(); ++i) {
        QString a = args[i];
        QString name, value;
        if (Rozdziel(a, &name, &value) && withValue.contains(name)) {
            values_[name].append(value);
            continue;
        }
        if (flags.contains(a)) {
            if (!flags_.contains(a)) flags_.append(a);
            continue;
        }
        if (withValue.contains(a)) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            values_[a].append(args[++i]);
            continue;
        }
        if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown option \"%1\"").arg(a);
            return false;
        }
        operands_.append(a);
    }
    return true;
}

bool TArgumenty::Sekundy(const QString &name, double *out, QString *error) const {
    if (!Jest(name)) return true;
    const QString v = Wartosc(name);
    bool ok = false;
    const double s = v.toDouble(&ok);
    if (!ok || !std::isfinite(s) || s <= 0 || s > 31 * 86400.0) {
        *error = QStringLiteral("%1: \"%2\" is not a number of seconds above 0").arg(name, v);
        return false;
    }
    *out = s;
    return true;
}
