#pragma once
// The emissions check of the car's control units: readiness monitors (mode 01 PIDs 01 and 41), the
// freeze frame (mode 02 frame 0) and the vehicle information (mode 09: VIN, calibration IDs, CVNs,
// ECU name). Plain data and the readers of the adapter's answers; the task loop asks,
// TObdPetlaPojazdu.cpp collects.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// One readiness monitor: supported (or, this drive cycle, enabled) and complete.
struct TObdMonitor {
    QString nazwa; // English name, as in the JSON of tarven-cli
    bool obslugiwany = false;
    bool gotowy = false; // complete; the standard sends 0 for complete, 1 for incomplete
};

// Decoded PID 01 (since the codes were cleared) or PID 41 (this drive cycle).
struct TObdGotowosc {
    bool mil = false;
    int kody = 0;                // stored (confirmed) codes, from PID 01 only
    bool samoczynny = false;     // compression ignition (diesel); spark otherwise
    QList<TObdMonitor> monitory; // continuous ones first, then those of this ignition type
};

// One value of the freeze frame, decoded with the mode-01 decoder of its PID.
struct TObdWartoscZamrozona {
    int pid = 0;
    QString nazwa;                 // catalogue name
    QString jednostka;             // catalogue unit
    QString tekst;                 // decoded text without the unit
    std::optional<double> wartosc; // the number, for decoders that give one
};

struct TObdZamrozenie {
    QString dtc; // the code that stored the frame, "P0171"
    QList<TObdWartoscZamrozona> wartosci;
};

// Everything one control unit answered; an item it did not answer (NO DATA, 7F) is empty.
struct TObdEcuPojazdu {
    int adres = 0;
    QString adresTekst;                       // "7E8" on 11-bit CAN, the source address ("10") otherwise
    std::optional<TObdGotowosc> status;       // PID 01
    std::optional<TObdGotowosc> cykl;         // PID 41
    std::optional<TObdZamrozenie> zamrozenie; // none stored: empty
    std::optional<QString> vin;
    std::optional<QStringList> kalibracje; // calibration IDs
    std::optional<QStringList> cvn;        // calibration verification numbers, 8 hex digits each
    std::optional<QString> nazwaEcu;
    // What reveals freshly cleared codes: counters since the clear and with the lamp on.
    std::optional<int> rozgrzania;     // PID 30: warm-ups since the codes were cleared
    std::optional<int> kmOdKasowania;  // PID 31: km since the codes were cleared
    std::optional<int> minOdKasowania; // PID 4E: minutes since the codes were cleared
    std::optional<int> kmZLampa;       // PID 21: km driven with the lamp on
    std::optional<int> minZLampa;      // PID 4D: minutes run with the lamp on
    // Trouble codes: stored (mode 03), pending (07) and permanent (0A).
    std::optional<QList<uint16_t>> kodyZapisane, kodyOczekujace, kodyPermanentne;
};

struct TObdPojazd {
    QList<TObdEcuPojazdu> ecu; // by address
};

// One message of one control unit, headers taken off and CAN frames joined: response mode first.
struct TObdWiadomosc {
    int adres = 0;
    QByteArray dane;
};

// The messages of an adapter reply (headers on) for the protocol 1..9; lines of other shapes
// ("NO DATA", "SEARCHING...", an echo) are left out, and so is a multi-frame message that lost a frame.
QList<TObdWiadomosc> WiadomosciOdpowiedzi(const QByteArray &odpowiedz, int protokol);

// Bytes A, B, C, D of PID 01 (cykl = false) or PID 41 (cykl = true). For PID 41 the ignition type of
// PID 01 is given when known; otherwise bit 3 of B tells.
TObdGotowosc DekodujGotowosc(const QByteArray &abcd, bool cykl, std::optional<bool> samoczynny = {});

// The data of one unit's mode-09 answer to info type pid: on CAN the bytes after the item count;
// on the older buses the 4-byte pieces of the numbered lines, in the order of their counter; empty
// when a line is missing (a gap in the counter, or calibration IDs or a name cut short).
QByteArray DaneInformacji(const QList<QByteArray> &wiadomosci, int pid, bool can);

// Readers of the mode-09 items; empty when nothing printable is left.
QString TekstVin(const QByteArray &dane);         // empty unless 17 characters
QStringList KalibracjeId(const QByteArray &dane); // 16 bytes each, padding (NUL, 0xFF, space) removed
QStringList NumeryCvn(const QByteArray &dane);    // 4 bytes each as 8 hex digits
QString NazwaSterownika(const QByteArray &dane);  // "ECM\0-EngineControl" -> "ECM-EngineControl"
