#pragma once
// What an inspection station checks first, and what changed during the visit: the trouble codes of
// one unit's answers to modes 03, 07 and 0A, the counters since the codes were cleared, the verdict
// (monitors incomplete against an allowance, the lamp, permanent codes), and the visit itself, the
// car as it came in ("at arrival") against the car now.
#include "obd/ObdPojazdDekoder.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

// The codes of one unit's messages to a trouble-code request (response mode first). On CAN a message
// carries the count, then the codes; on the older buses every line holds up to three codes, padded
// with 00 00. Codes 0000 are no codes; a code given twice is listed once.
QList<uint16_t> KodyWiadomosci(const QList<QByteArray> &wiadomosci, int trybOdpowiedzi, bool can);

// The counter of PIDs 21, 30, 31, 4D, 4E from its data bytes: one byte for 30, two (A * 256 + B)
// for the others; empty when the answer is too short or the PID is none of them.
std::optional<int> LicznikPid(int pid, const QByteArray &dane);

// The verdict over every unit: a monitor counts once however many units report it; it is incomplete
// when a unit that supports it has not finished it since the codes were cleared.
struct TObdWerdykt {
    bool znany = false; // some unit answered PID 01
    bool gotowy = false;
    int niekompletne = 0;
    int dozwolone = 1;
    bool mil = false;
    std::optional<int> permanentne; // no unit answered mode 0A: empty
};
TObdWerdykt Werdykt(const TObdPojazd &p, int dozwolone);
// The names of the monitors counted incomplete, in the order the units list them.
QStringList NiegotoweMonitory(const TObdPojazd &p);
// A counter of the first unit (by address) that answered it.
std::optional<int> Licznik(const TObdPojazd &p, std::optional<int> TObdEcuPojazdu::*pole);
// "Ready for an emissions inspection: yes — 1 monitors incomplete (allowed 1), lamp off, permanent
// codes 0", in the current language.
QString TekstWerdyktu(const TObdWerdykt &w);

// One trouble code seen during the visit.
struct TObdKodWizyty {
    uint16_t kod = 0;
    int tryb = 0x43;        // 0x43 stored, 0x47 pending, 0x4A permanent
    QString ecu;            // the unit's address text
    bool skasowany = false; // not reported by the last read any more
};

// A monitor whose state changed since arrival.
struct TObdZmianaMonitora {
    QString ecu, nazwa;
    bool gotowy = false; // completed since arrival (false: back to incomplete, after a clear)
};

// The visit: the first read ("at arrival") and the last one. A read whose VIN differs from the one
// at arrival is another car: the visit starts again with it.
struct TObdWizyta {
    std::optional<TObdPojazd> przyjazd;
    QDateTime czasPrzyjazdu;
    TObdPojazd teraz;
    QDateTime czasTeraz;
    QList<TObdKodWizyty> kody; // in the order first seen

    bool Pusta() const { return !przyjazd; }
    void Odczyt(const TObdPojazd &p, const QDateTime &czas = QDateTime::currentDateTime());
    QList<TObdZmianaMonitora> ZmianyMonitorow() const;
};

// The description of a code in the current language: Polish for P codes when the language is Polish,
// else English; empty when the tables have none.
QString OpisKoduDtc(uint16_t kod);
