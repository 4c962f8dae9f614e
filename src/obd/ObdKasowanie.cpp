#include "obd/ObdKasowanie.h"

#include <QList>

namespace {
// Index of the first data byte of one answer line, -1 when the line is no answer.
int PierwszyBajtDanych(const QList<QByteArray> &t) {
    if (t.isEmpty()) return -1;
    if (t[0] == "44" || t[0] == "7F") return 0;                  // no headers
    if (t.size() >= 6 && t[0] == "18" && t[1] == "DA") return 5; // CAN 29 bit: id, PCI
    if (t[0].size() == 3) return t.size() >= 3 ? 2 : -1;         // CAN 11 bit: id, PCI
    return t.size() >= 4 && t[0].size() == 2 ? 3 : -1;           // J1850, ISO 9141, KWP
}
} // namespace

TKasowanieDtc OcenKasowanieDtc(const QByteArray &reply) {
    bool potwierdzone = false;
    QByteArray tekst = reply;
    tekst.replace('\n', '\r');
    for (QByteArray linia : tekst.split('\r')) {
        linia.replace('>', ' ');
        QList<QByteArray> t;
        for (const QByteArray &s : linia.simplified().split(' '))
            if (!s.isEmpty()) t.append(s.toUpper());
        const int i = PierwszyBajtDanych(t);
        if (i < 0 || i >= t.size()) continue;
        if (t[i] == "7F" && i + 1 < t.size() && t[i + 1] == "04") return TKasowanieDtc::Odmowa;
        if (t[i] == "44") potwierdzone = true;
    }
    return potwierdzone ? TKasowanieDtc::Potwierdzone : TKasowanieDtc::Brak;
}
