#pragma once
// What differs between two states of a controller (the image now, a settings file, a backup): every
// settings item whose byte differs, by its label and both value texts as the settings grid shows
// them; for each other block of a settings file how many bytes differ, the largest difference and
// the differing cells. The identification is not compared: a different serial number is said first.
#include <QList>
#include <QString>
#include <QStringList>

class TSterownik;

struct TZmianaNastawy {
    int Item = 0;
    int A = 0, B = 0; // raw bytes
    QString Nazwa, TekstA, TekstB, Jednostka;
};

struct TZmianaKomorki {
    int Indeks = 0; // byte of the block
    int A = 0, B = 0;
};

struct TZmianaBloku {
    int Bit = 0;         // request bit of the block
    bool Tabela = false; // a 16 x 16 table: cells as the map tables show them
    QString Nazwa;
    int Najwieksza = 0; // largest difference of one byte
    QList<TZmianaKomorki> Komorki;
    int Ile() const { return int(Komorki.size()); }
};

struct TRaportZmian {
    QString NumerA, NumerB; // serial numbers
    QString OpisA, OpisB;   // model, firmware version and serial number of each side
    QList<TZmianaNastawy> Nastawy;
    QList<TZmianaBloku> Bloki;

    bool InnySterownik() const { return NumerA != NumerB; }
    bool Rowne() const { return Nastawy.isEmpty() && Bloki.isEmpty(); }
    // "Another controller: A / B" in the current language ("" for the same controller).
    QString LiniaInnySterownik() const;
    // One line per differing item (item TAB label TAB text in A TAB text in B TAB unit), then one per
    // differing block (name TAB N bytes differ TAB largest difference).
    QStringList Linie() const;
};

// Compares the settings, multipliers, RPM corrections, correction curves and maps of two images.
// The settings checksum (byte 0) is left out: it is computed afresh for every write.
TRaportZmian PorownajObrazy(TSterownik &a, TSterownik &b);

// Where a cell of a 16 x 16 table appears in the map tables: row 1 … 16 (the lowest load at the
// bottom, row 16) and column 1 … 16 (RPM points from the left).
int WierszTabeli(int indeks);
int KolumnaTabeli(int indeks);
// "row 3, column 5" for a table, "byte 17" for the other blocks, in the current language.
QString OpisKomorki(const TZmianaBloku &b, int indeks);
