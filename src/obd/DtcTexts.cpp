#include "obd/DtcTexts.h"

#include <QFile>

namespace {

const char *const SciezkaAngielska = ":/dtc/dtc_en.txt";
const char *const SciezkaPolska = ":/dtc/dtc_pl.txt";

// No description table comes near this; anything larger is not one.
constexpr qint64 NajwiekszaTabela = 16 * 1024 * 1024;

// Value of an upper-case hexadecimal digit, or -1.
int CyfraHex(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code's value from five ASCII characters in upper case, or -1.
int Wartosc(const uint8_t *z) {
    int litera;
    switch (z[0]) {
    case 'P': litera = 0; break;
    case 'C': litera = 1; break;
    case 'B': litera = 2; break;
    case 'U': litera = 3; break;
    default: return -1;
    }
    int wartosc = 0;
    for (int i = 1; i < 5; ++i) {
        const int d = CyfraHex(z[i]);
        if (d < 0) return -1;
        wartosc = wartosc << 4 | d;
    }
    if (wartosc > 0x3FFF) return -1; // the first digit is 0-3
    return litera << 14 | wartosc;
}

// The eighteen Polish letters of code page 1250; 0 elsewhere.
char16_t PolskaLitera(uint8_t b) {
    switch (b) {
    case 0xA5: return u'Ą';
    case 0xC6: return u'Ć';
    case 0xCA: return u'Ę';
    case 0xA3: return u'Ł';
    case 0xD1: return u'Ń';
    case 0xD3: return u'Ó';
    case 0x8C: return u'Ś';
    case 0x8F: return u'Ź';
    case 0xAF: return u'Ż';
    case 0xB9: return u'ą';
    case 0xE6: return u'ć';
    case 0xEA: return u'ę';
    case 0xB3: return u'ł';
    case 0xF1: return u'ń';
    case 0xF3: return u'ó';
    case 0x9C: return u'ś';
    case 0x9F: return u'ź';
    case 0xBF: return u'ż';
    default: return 0;
    }
}

const TDtcTabela *Podstawione[2] = {nullptr, nullptr};

} // namespace

int DtcKodNaLiczbe(QStringView kod) {
    if (kod.size() != 5) return -1;
    uint8_t z[5];
    for (int i = 0; i < 5; ++i) {
        char16_t c = kod[i].unicode();
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
        if (c > 0x7F) return -1;
        z[i] = uint8_t(c);
    }
    return Wartosc(z);
}

QString DtcTekstKodu(uint16_t kod) {
    static const char16_t Litery[4] = {u'P', u'C', u'B', u'U'};
    static const char16_t Hex[] = u"0123456789ABCDEF";
    QString t(5, Qt::Uninitialized);
    t[0] = QChar(Litery[kod >> 14]);
    t[1] = QChar(Hex[(kod >> 12) & 0x3]);
    t[2] = QChar(Hex[(kod >> 8) & 0xF]);
    t[3] = QChar(Hex[(kod >> 4) & 0xF]);
    t[4] = QChar(Hex[kod & 0xF]);
    return t;
}

QString DtcDekoduj(const char *bajty, qsizetype n) {
    QString s;
    s.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const uint8_t b = uint8_t(bajty[i]);
        if ((b >= 0x20 && b < 0x7F) || b == '\t') {
            s.append(QChar(b));
        } else if (const char16_t litera = PolskaLitera(b)) {
            s.append(QChar(litera));
        } else {
            s.append(u'/');
            s.append(QString::number(b));
        }
    }
    return s;
}

TDtcTabela::TDtcTabela(const QByteArray &tabela) : Dane(tabela), Zaladowana(true) {
    Indeksuj();
}

bool TDtcTabela::WczytajPlik(const QString &sciezka) {
    Dane.clear();
    Indeks.clear();
    Zaladowana = false;
    QFile plik(sciezka);
    if (!plik.open(QIODevice::ReadOnly)) return false;
    if (plik.size() > NajwiekszaTabela) return false;
    Dane = plik.read(NajwiekszaTabela + 1);
    if (Dane.size() > NajwiekszaTabela) {
        Dane.clear();
        return false;
    }
    Zaladowana = true;
    Indeksuj();
    return true;
}

void TDtcTabela::Indeksuj() {
    Indeks.clear();
    const char *d = Dane.constData();
    const qsizetype n = Dane.size();
    if (n > NajwiekszaTabela) return; // offsets are kept in 32 bits
    qsizetype poczatek = 0;
    while (poczatek < n) {
        // One line: up to CR or LF, or to the end of the bytes when the last line has no line end.
        qsizetype koniec = poczatek;
        while (koniec < n && d[koniec] != '\r' && d[koniec] != '\n')
            ++koniec;
        const qsizetype dlugosc = koniec - poczatek;
        if (dlugosc > 6 && d[poczatek + 5] == ' ') {
            const int kod = Wartosc(reinterpret_cast<const uint8_t *>(d + poczatek));
            // Blanks at the end of a description are not part of it.
            qsizetype k = koniec;
            while (k > poczatek + 6 && (d[k - 1] == ' ' || d[k - 1] == '\t'))
                --k;
            if (kod >= 0 && k > poczatek + 6 && !Indeks.contains(uint16_t(kod)))
                Indeks.insert(uint16_t(kod), Wpis{uint32_t(poczatek + 5), uint32_t(k - poczatek - 5)});
        }
        // CR LF, a lone LF or a lone CR ends the line.
        poczatek = koniec;
        if (poczatek < n && d[poczatek] == '\r') ++poczatek;
        if (poczatek < n && d[poczatek] == '\n') ++poczatek;
    }
}

bool TDtcTabela::Zawiera(QStringView kod) const {
    const int k = DtcKodNaLiczbe(kod);
    return k >= 0 && Indeks.contains(uint16_t(k));
}

QString TDtcTabela::Opis(QStringView kod) const {
    const int k = DtcKodNaLiczbe(kod);
    if (k < 0) return QString();
    const auto it = Indeks.constFind(uint16_t(k));
    if (it == Indeks.constEnd()) return QString();
    return DtcDekoduj(Dane.constData() + it->Poczatek, it->Dlugosc);
}

const TDtcTabela &DtcTabela(bool polski) {
    if (const TDtcTabela *t = Podstawione[polski ? 1 : 0]) return *t;
    if (polski) {
        static const TDtcTabela pl = [] {
            TDtcTabela t;
            t.WczytajPlik(QString::fromLatin1(SciezkaPolska));
            return t;
        }();
        return pl;
    }
    static const TDtcTabela en = [] {
        TDtcTabela t;
        t.WczytajPlik(QString::fromLatin1(SciezkaAngielska));
        return t;
    }();
    return en;
}

void DtcPodstawTabele(bool polski, const TDtcTabela *tabela) {
    Podstawione[polski ? 1 : 0] = tabela;
}

QString DtcOpis(QStringView kod, bool polski) {
    return DtcTabela(polski).Opis(kod);
}

QString DtcOpisZasobu(QStringView kod, int zasob) {
    if (zasob == DtcZasobAngielski) return DtcOpis(kod, false);
    if (zasob == DtcZasobPolski) return DtcOpis(kod, true);
    return QString();
}
