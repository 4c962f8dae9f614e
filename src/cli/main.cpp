// tarven-cli: the controller and OBD engines of TARVEN without windows, for scripted work and tests.
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

int UsageError(const QString &message) {
    Blad(message);
    Blad(QStringLiteral("run tarven-cli --help for the commands"));
    return WyjscieUzycie;
}

int main(int argc, char **argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QString error;
    const std::optional<CliOptions> o = ParseCliOptions(args, &error);
    // The report's PDF is laid out with the framework's fonts: a GUI application, on the offscreen
    // platform, so that no display is needed. Every other command stays a console one.
    std::unique_ptr<QCoreApplication> app;
    if (o && o->Command == QLatin1String("report")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("tarven-cli"));

    if (!o) return UsageError(error);
    if (o->Help) {
        std::fputs(CliUsage().toUtf8().constData(), stdout);
        return WyjscieOk;
    }
    if (o->Version) {
        std::fputs("tarven-cli " TARVEN_VERSION "\n", stdout);
        return WyjscieOk;
    }
    PrzechwycPrzerwanie();

    struct Entry {
        const char *name;
        int (*run)(const CliOptions &);
    };
    static const Entry commands[] = {
        {"ports", CmdPorts},
        {"info", CmdInfo},
        {"read-settings", CmdReadSettings},
        {"write-settings", CmdWriteSettings},
        {"monitor", CmdMonitor},
        {"errors", CmdErrors},
        {"record", CmdRecord},
        {"firmware", CmdFirmware},
        {"export-csv", CmdExportCsv},
        {"defaults", CmdDefaults},
        {"show-set", CmdShowSet},
        {"obd", CmdObd},
        {"backup", CmdBackup},
        {"diff", CmdDiff},
        {"report", CmdRaport},
    };
    for (const Entry &e : commands)
        if (o->Command == QLatin1String(e.name)) return e.run(*o);
    return UsageError(QStringLiteral("unknown command \"%1\"").arg(o->Command));
}
