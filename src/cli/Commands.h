#pragma once
// The commands of tarven-cli; each returns the exit code.
#include <QStringList>

struct CliOptions;
struct TObdPojazd;

int CmdPorts(const CliOptions &o);
int CmdInfo(const CliOptions &o);
int CmdReadSettings(const CliOptions &o);
int CmdWriteSettings(const CliOptions &o);
int CmdMonitor(const CliOptions &o);
int CmdErrors(const CliOptions &o);
int CmdRecord(const CliOptions &o);
int CmdFirmware(const CliOptions &o);
int CmdExportCsv(const CliOptions &o);
int CmdDefaults(const CliOptions &o);
int CmdShowSet(const CliOptions &o);
int CmdObd(const CliOptions &o);
// obd vehicle [--json]; args are those after "vehicle".
int CmdObdPojazd(const CliOptions &o, const QStringList &args);
// The vehicle read of obd vehicle into *pojazd; the exit code.
int CzytajPojazdCli(const CliOptions &o, TObdPojazd *pojazd);
int CmdBackup(const CliOptions &o);
int CmdDiff(const CliOptions &o);
int CmdRaport(const CliOptions &o);

// Usage error of a command: the message and a hint on standard error; returns exit code 2.
int UsageError(const QString &message);
