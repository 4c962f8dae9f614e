#include "obd/ObdPojazdDekoder.h"

#include <QMap>
#include <algorithm>

namespace {

// The bytes of a line of two-digit hexadecimal groups; false when any group is something else.
bool Bajty(const QList<QByteArray> &grupy, int od, QByteArray *wynik) {
    wynik->clear();
    for (int i = od; i < grupy.size(); ++i) {
        bool ok = false;
        const uint v = grupy[i].toUInt(&ok, 16);
        if (!ok || grupy[i].size() != 2) return false;
        wynik->append(char(v));
    }
    return true;
}

// A multi-frame message of one unit being put together.
struct Skladanie {
    int dlugosc = 0;
    int kolejny = 1; // sequence number of the next consecutive frame (modulo 16)
    QByteArray dane;
};

struct Monitor {
    int bit;
    const char16_t *nazwa;
};

const Monitor Ciagle[] = {{0, u"Misfire"}, {1, u"Fuel system"}, {2, u"Components"}};
const Monitor Iskrowe[] = {
    {0, u"Catalyst"},        {1, u"Heated catalyst"}, {2, u"Evaporative system"},   {3, u"Secondary air"},
    {4, u"A/C refrigerant"}, {5, u"Oxygen sensor"},   {6, u"Oxygen sensor heater"}, {7, u"EGR/VVT"}};
const Monitor Samoczynne[] = {{0, u"NMHC catalyst"},  {1, u"NOx/SCR aftertreatment"},
                              {3, u"Boost pressure"}, {5, u"Exhaust gas sensor"},
                              {6, u"PM filter"},      {7, u"EGR/VVT"}};

QString Drukowalne(const QByteArray &b) {
    QString s;
    for (char c : b) {
        const uint8_t u = uint8_t(c);
        if (u == 0) continue;
        s.append(u >= 0x20 && u < 0x7F ? QChar(char16_t(u)) : QChar(u'?'));
    }
    return s;
}

} // namespace

QList<TObdWiadomosc> WiadomosciOdpowiedzi(const QByteArray &odpowiedz, int protokol) {
    QList<TObdWiadomosc> wynik;
    const bool can11 = protokol == 6 || protokol == 8;
    const bool can29 = protokol == 7 || protokol == 9;
    if (!(protokol >= 1 && protokol <= 9)) return wynik;
    QMap<int, Skladanie> skladane;
    QByteArray tekst = odpowiedz;
    tekst.replace('\n', '\r');
    for (const QByteArray &linia : tekst.split('\r')) {
        QList<QByteArray> g;
        for (const QByteArray &s : linia.simplified().split(' '))
            if (!s.isEmpty()) g.append(s);
        int adres = 0;
        QByteArray b;
        if (can11) {
            bool ok = false;
            if (g.size() < 2 || g[0].size() != 3) continue;
            adres = int(g[0].toUInt(&ok, 16));
            if (!ok || !Bajty(g, 1, &b)) continue;
        } else if (can29) {
            if (g.size() < 5 || g[0] != "18" || g[1] != "DA" || g[2] != "F1" || !Bajty(g, 3, &b)) continue;
            adres = uint8_t(b[0]);
            b.remove(0, 1);
        } else {
            // Three header bytes (priority or format, target, source), the data, a check byte.
            if (g.size() < 5 || !Bajty(g, 0, &b)) continue;
            if (uint8_t(b[1]) != (protokol <= 3 ? 0x6B : 0xF1)) continue;
            wynik.append({uint8_t(b[2]), b.mid(3, b.size() - 4)});
            continue;
        }
        // ISO 15765-2: single frame, first frame, consecutive frames.
        const uint8_t pci = uint8_t(b[0]);
        switch (pci >> 4) {
        case 0: {
            const int n = pci & 0x0F;
            if (n >= 1 && n < b.size()) wynik.append({adres, b.mid(1, n)});
            break;
        }
        case 1: {
            if (b.size() < 3) break;
            Skladanie s;
            s.dlugosc = ((pci & 0x0F) << 8) | uint8_t(b[1]);
            if (s.dlugosc == 0) break;
            s.dane = b.mid(2, s.dlugosc);
            if (s.dane.size() >= s.dlugosc)
                wynik.append({adres, s.dane});
            else
                skladane[adres] = s;
            break;
        }
        case 2: {
            auto it = skladane.find(adres);
            if (it == skladane.end()) break;
            if ((pci & 0x0F) != (it->kolejny & 0x0F)) {
                skladane.erase(it); // a frame went missing: the message cannot be trusted
                break;
            }
            ++it->kolejny;
            it->dane += b.mid(1, it->dlugosc - int(it->dane.size()));
            if (it->dane.size() >= it->dlugosc) {
                wynik.append({adres, it->dane});
                skladane.erase(it);
            }
            break;
        }
        default: break;
        }
    }
    return wynik;
}

TObdGotowosc DekodujGotowosc(const QByteArray &abcd, bool cykl, std::optional<bool> samoczynny) {
    TObdGotowosc g;
    auto bajt = [&](int i) { return i < abcd.size() ? uint8_t(abcd[i]) : uint8_t(0); };
    const uint8_t a = bajt(0), b = bajt(1), c = bajt(2), d = bajt(3);
    if (!cykl) {
        g.mil = a & 0x80;
        g.kody = a & 0x7F;
    }
    g.samoczynny = samoczynny.value_or((b & 0x08) != 0);
    // Continuous monitors in B: supported in bits 0-2, incomplete in bits 4-6.
    for (const Monitor &m : Ciagle)
        g.monitory.append({QString::fromUtf16(m.nazwa), bool(b & (1 << m.bit)), !(b & (0x10 << m.bit))});
    // The others: supported in C, incomplete in D; what each bit is depends on the ignition.
    auto inne = [&](const auto &lista) {
        for (const Monitor &m : lista)
            g.monitory.append({QString::fromUtf16(m.nazwa), bool(c & (1 << m.bit)), !(d & (1 << m.bit))});
    };
    if (g.samoczynny)
        inne(Samoczynne);
    else
        inne(Iskrowe);
    return g;
}

QByteArray DaneInformacji(const QList<QByteArray> &wiadomosci, int pid, bool can) {
    QMap<int, QByteArray> linie; // by message counter
    for (const QByteArray &w : wiadomosci) {
        if (w.size() < 3 || uint8_t(w[0]) != 0x49 || uint8_t(w[1]) != pid) continue;
        if (can) return w.mid(3);
        const int licznik = uint8_t(w[2]);
        if (!linie.contains(licznik)) linie.insert(licznik, w.mid(3));
    }
    // The lines count from 1 without a gap: a lost line would shift the rest into each other.
    QByteArray dane;
    int oczekiwany = 1;
    for (auto it = linie.cbegin(); it != linie.cend(); ++it, ++oczekiwany) {
        if (it.key() != oczekiwany) return {};
        dane += it.value();
    }
    // Nor may the last lines be missing: calibration IDs are 16 bytes each, the ECU name 20.
    const int kawalek = pid == 0x04 ? 16 : pid == 0x0A ? 20 : 0;
    if (kawalek && dane.size() % kawalek) return {};
    return dane;
}

QString TekstVin(const QByteArray &dane) {
    // The older buses lead the number with three NULs; anything but 17 characters is no VIN.
    const QString vin = Drukowalne(dane).trimmed();
    return vin.size() == 17 ? vin : QString();
}

QStringList KalibracjeId(const QByteArray &dane) {
    QStringList lista;
    for (int i = 0; i < dane.size(); i += 16) {
        // Units pad an ID to 16 bytes with NULs, 0xFF or spaces.
        QByteArray id = dane.mid(i, 16);
        auto wypelnienie = [](char c) { return c == '\0' || c == ' ' || uint8_t(c) == 0xFF; };
        while (!id.isEmpty() && wypelnienie(id.back()))
            id.chop(1);
        while (!id.isEmpty() && wypelnienie(id.front()))
            id.remove(0, 1);
        const QString t = Drukowalne(id);
        if (!t.isEmpty()) lista.append(t);
    }
    return lista;
}

QStringList NumeryCvn(const QByteArray &dane) {
    QStringList lista;
    for (int i = 0; i + 4 <= dane.size(); i += 4)
        lista.append(QString::fromLatin1(dane.mid(i, 4).toHex().toUpper()));
    return lista;
}

QString NazwaSterownika(const QByteArray &dane) {
    return Drukowalne(dane).trimmed();
}
