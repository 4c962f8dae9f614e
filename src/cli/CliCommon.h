#pragma once
// What every command of tarven-cli shares: output lines, error messages, the interrupt (Ctrl-C,
// SIGTERM) on the event loop, the program's configuration as defaults, and opening a port given as
// a number or as a device path.
#include <QString>
#include <cstdint>
#include <functional>

class TSerial;
struct CliOptions;

// One line on standard output, written at once (scripts read the lines as they come).
void Wypisz(const QString &line);
// "tarven-cli: message" on standard error.
void Blad(const QString &message);

// Routes SIGINT and SIGTERM to handler, called from the event loop. Without a handler the event
// loop ends with exit code 1.
void PrzechwycPrzerwanie();
void UstawPrzerwanie(std::function<void()> handler);

// The program's stored configuration, used where the command line leaves something out.
struct TKonfiguracjaCli {
    int Comm = 1;
    int ElmComm = 1;
    QString ElmHost; // the Wi-Fi adapter's address when that is the configured adapter
    int Lang = 1;
    uint8_t LinkKey = 0;
    uint32_t WorkstationId = 0;
    QString WarsztatNazwa, WarsztatAdres, WarsztatTelefon; // the workshop on the service report
    int Dozwolone = 1;                                     // incomplete monitors an inspection allows
    bool ObdSzybko = true;                                 // OBD polling fast (else as specified)
};
TKonfiguracjaCli CzytajKonfiguracje();

// Language of the texts: the one given, else the configured one.
void UstawJezyk(const CliOptions &o, const TKonfiguracjaCli &k);

// Opens the port given on the command line (a number or a device path), or the configured number
// when none was given. *description names it for messages ("/dev/pts/3 (port 704)").
bool OtworzPort(TSerial &port, const QString &given, int configured, QString *description);

// Checks that a settings file can be read and starts as one ("set file", version 1); false with a
// message naming the file and the program's error code (122, 123).
bool SprawdzPlikUstawien(const QString &file, QString *message);
