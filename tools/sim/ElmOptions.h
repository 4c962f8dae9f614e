#pragma once
// Settings of the virtual ELM327 adapter and the car behind it, filled from the command line.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// How the adapter takes a mode-01 request for several PIDs ("010C0D05"): as an ELM327 on CAN does, or
// refused as some clones do (NO DATA, "?", or only the first PID answered).
enum class ElmGrouped { Answer, NoData, Question, First };

struct ElmOptions {
    // The car
    int protocol = 6;          // bus protocol of the car, 1..9 in the adapter's numbering
    int ecus = 1;              // control units answering, 1..8; the first one is the engine
    QList<uint16_t> stored;    // mode 03 codes of the engine unit
    QList<uint16_t> pending;   // mode 07 codes
    QList<uint16_t> permanent; // mode 0A codes (a clear does not remove them)
    bool ignitionOff = false;  // no unit answers: "UNABLE TO CONNECT"
    QByteArray vin = "TRVSIM0A0B1C23456";
    // Items of the emissions check answered "NO DATA": monitors (01 01), cycle (01 41), freeze
    // (mode 02), vin, calid, cvn, ecu-name (mode 09 items 02, 04, 06, 0A), distance-mil (01 21),
    // warm-ups (01 30), distance-cleared (01 31), time-mil (01 4D), time-cleared (01 4E), permanent
    // (mode 0A).
    QStringList noData;

    // The adapter
    QByteArray banner = "ELM327 v1.5";
    double voltage = 12.6;  // ATRV
    bool linefeeds = false; // line feeds after CR from reset on (ATL1)

    // Timing in milliseconds
    int delayMs = 40;       // a unit's answer to one request (the ECU's answer time)
    int baud = 0;           // serial transfer at this rate (10 bits a byte, both ways); 0 = instant
    int atMs = 2;           // an AT command
    int resetMs = 250;      // ATZ until the banner
    int searchMs = 600;     // automatic protocol search
    int busInitMs = 400;    // K-line bus initialisation
    int splitPromptMs = 60; // gap before the prompt with splitPrompt

    // Quirks of real adapters
    double dropPromptRate = 0.0; // share of replies whose ">" never arrives, 0..1
    bool junk = false;           // junk bytes and NULs before the "ATZ" banner
    bool splitPrompt = false;    // the prompt arrives as a piece of its own
    bool canPadding = false;     // CAN frames are padded to 8 bytes
    uint8_t padByte = 0x00;
    bool searching = false; // "SEARCHING..." before the first answer on a set protocol too
    uint32_t seed = 1;      // random quirks are repeatable
    ElmGrouped grouped = ElmGrouped::Answer;

    // The program
    QString link;     // symbolic link to the pseudo-terminal, removed on exit
    int tcpPort = -1; // also listen on this TCP port (0 = any free one) as a Wi-Fi adapter; -1 = not
    QString tcpBind = QStringLiteral("127.0.0.1"); // address the TCP port is bound to
    bool verbose = false;                          // log every exchange on stderr
};

// Parses "P0420,C0035,U0100" into 16-bit codes; false with a message on a bad entry.
bool parseDtcList(const QString &text, QList<uint16_t> *codes, QString *error);
// Five-character text of a code, "P0420".
QByteArray dtcText(uint16_t code);

// The names --no-data takes.
const QStringList &elmNoDataItems();

// Parses the options of `tarven-sim elm`; nullopt with a message in *error on bad input.
std::optional<ElmOptions> parseElmOptions(const QStringList &args, QString *error);
QString elmUsage();
