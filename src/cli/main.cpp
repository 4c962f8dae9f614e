// tarven-cli: the controller and OBD engines of TARVEN without windows, for scripted work and tests.
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"

#include <QCoreApplication>
#include <cstdio>

int UsageError(const QString &message) {
    Blad(message);
    Blad(QStringLiteral("run tarven-cli --help for the commands"));
    return WyjscieUzycie;
}

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarven-cli"));

    QString error;
    const std::optional<CliOptions> o = ParseCliOptions(app.arguments().mid(1), &error);
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
    };
    for (const Entry &e : commands)
        if (o->Command == QLatin1String(e.name)) return e.run(*o);
    return UsageError(QStringLiteral("unknown command \"%1\"").arg(o->Command));
}
