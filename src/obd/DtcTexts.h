#pragma once
// Trouble-code descriptions from the two tables built into the program: English for every code
// (":/dtc/dtc_en.txt", table id 900) and Polish for P codes (":/dtc/dtc_pl.txt", table id 901).
//
// A table is code page 1250 text, one "CODE description" per line: the five-character code, one
// space, the description. Lines end in CR LF; a bare LF or CR ends a line too, and the last line
// counts whether or not a line end follows it. Lines that do not start with a well-formed code and a
// space (notes, empty lines, junk) never match. When a code appears twice, the first line wins.
//
// A description is handed out the way the trouble-code box prints it: starting with the separating
// space, bytes below 0x80 as they are, the eighteen Polish letters of code page 1250 as those letters,
// and any other byte (above 0x7F, or a control character other than TAB) as "/" and its decimal
// value, so 0x96 shows as "/150".
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>

#include <cstdint>

// Table ids as the trouble-code printer names them.
constexpr int DtcZasobAngielski = 900;
constexpr int DtcZasobPolski = 901;

// One description table, indexed by code once when it is loaded.
class TDtcTabela {
public:
    TDtcTabela() = default;
    // Indexes the table's bytes (the test entry: any bytes are accepted, bad lines are skipped).
    explicit TDtcTabela(const QByteArray &tabela);

    // Reads and indexes a file or resource; false (and an empty table) when it cannot be read or is
    // larger than any description table can be (16 MiB).
    bool WczytajPlik(const QString &sciezka);

    bool Wczytana() const { return Zaladowana; } // the bytes were there (even if no line matched)
    int Ilosc() const { return int(Indeks.size()); }
    bool Zawiera(QStringView kod) const;

    // The description of the code, starting with the separating space; a null QString when the code
    // is malformed or has no line in this table.
    QString Opis(QStringView kod) const;

private:
    struct Wpis {
        uint32_t Poczatek; // offset of the separating space
        uint32_t Dlugosc;  // the space and the description, without the line end
    };
    void Indeksuj();

    QByteArray Dane;
    QHash<uint16_t, Wpis> Indeks;
    bool Zaladowana = false;
};

// The 16-bit value of a code text ("P0105" -> 0x0105, "U0155" -> 0xC155), or -1 when the text is not
// a letter P, C, B or U followed by a digit 0-3 and three hexadecimal digits. Lower-case input is
// accepted.
int DtcKodNaLiczbe(QStringView kod);

// The five characters of a 16-bit code: letter from the two top bits (P, C, B, U), then the low 14
// bits as four upper-case hexadecimal digits.
QString DtcTekstKodu(uint16_t kod);

// Code page 1250 bytes decoded by the rule above (no separating space is added or removed).
QString DtcDekoduj(const char *bajty, qsizetype n);

// The description of a code from the built-in English (polski = false) or Polish table, read and
// indexed on first use. A null QString when the code has no line there or the table is missing;
// the trouble-code box then gets no description line from that table.
QString DtcOpis(QStringView kod, bool polski);

// The same by table id: 900 English, 901 Polish; any other id has no table (null QString).
QString DtcOpisZasobu(QStringView kod, int zasob);

// The built-in table of one language, as DtcOpis uses it.
const TDtcTabela &DtcTabela(bool polski);

// Tests: use the given table in place of the built-in one of that language until called again with
// nullptr. The caller keeps the table alive meanwhile.
void DtcPodstawTabele(bool polski, const TDtcTabela *tabela);
