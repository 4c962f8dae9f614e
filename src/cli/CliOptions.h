#pragma once
// Command line of tarven-cli: the global options (anywhere on the line), the command and its own
// arguments, and a small reader for the options of each command.
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// Exit codes of every command.
enum TKodWyjscia : int {
    WyjscieOk = 0,             // done
    WyjscieBrakOdpowiedzi = 1, // the device did not answer in time (or did not do what it was asked)
    WyjscieUzycie = 2,         // usage error
    WyjscieBladPliku = 3,      // a file could not be read or written
};

struct CliOptions {
    QString Port;         // --port: a port number or a device path; empty = the configured port
    QString ObdPort;      // --obd-port, the same for the OBD adapter
    int LinkKey = -1;     // --link-key 0..255; -1 = the configured key
    int Lang = -1;        // --lang: 0 English, 1 Polish, 2 Russian, 3 Spanish; -1 = the configured one
                          // (the system's language when none is configured)
    double TimeoutS = 30; // --timeout: how long a device may keep us waiting
    bool Verbose = false; // --verbose: the communication log on standard error
    bool Help = false;    // --help
    bool Version = false; // --version
    QString Command;      // "info", "obd", ...
    QStringList Args;     // everything after the command that is not a global option
};

// Parses the whole argument list (without the program name). On a usage error returns nullopt and
// puts a message into *error.
std::optional<CliOptions> ParseCliOptions(const QStringList &args, QString *error);

// The usage text printed by --help and after usage errors.
QString CliUsage();

// The options and operands of one command. Options take a value unless listed as flags; an option
// may be given more than once (all values are kept in order).
class TArgumenty {
public:
    // Reads args; false with a message on an unknown option or a missing value.
    bool Czytaj(const QStringList &args, const QStringList &withValue, const QStringList &flags,
                QString *error);

    bool Flaga(const QString &name) const { return flags_.contains(name); }
    QStringList Wartosci(const QString &name) const { return values_.value(name); }
    bool Jest(const QString &name) const { return values_.contains(name); }
    QString Wartosc(const QString &name) const {
        const QStringList v = values_.value(name);
        return v.isEmpty() ? QString() : v.last();
    }
    const QStringList &Operandy() const { return operands_; }

    // A positive number of seconds given with the option into *out (left alone when the option is
    // absent); false with a message when the value is not one.
    bool Sekundy(const QString &name, double *out, QString *error) const;

private:
    QMap<QString, QStringList> values_;
    QStringList flags_;
    QStringList operands_;
};
