#pragma once
// The arithmetic of the map view, without widgets: the plot rectangle and the mapping of values onto
// it, the least-squares trend of the map dots, the multiplier knots and the correction-curve points
// with their processing and key edits. The widget only draws what these compute.
#include <cstdint>

namespace Wykres2D {

// Settings items used by the charts.
enum : int {
    ItemTypSilnika = 10,
    ItemTempPrzelaczenia = 51,
    ItemMinTempGazu = 62,
    ItemMinCisnienie = 63,
    ItemOsKorekt = 76,
    ItemZakres = 80,
    ItemAdaptacja = 81,
    ItemCzasBenzyny = 83,
    ItemWezly = 190, // 190 … 215
    ItemOsObciazenia = 224,
    ItemOsObrotow = 240,
};
constexpr int Wezly = 26;
constexpr int Punkty = 8;

// The plot rectangle of a view of width x height in mode `mode`.
struct TObszar {
    int left = 40;
    int w = 0;
    int h = 0;
    int bottom = 0;
    int top() const { return bottom - h; }
    int right() const { return left + w; }
    bool Rysowalny() const { return w > 0 && h > 0; }
};
TObszar Obszar(int width, int height, int mode);

// Least-squares polynomial y(x) of degree 1 (below 9 points) or 2. False when the system is singular
// (every x equal, fewer distinct x than the degree needs, fewer than 3 points); then no trend is drawn.
struct TTrend {
    double c[3] = {0, 0, 0}; // in u = (x - x0) / s, which keeps the normal equations well conditioned
    double x0 = 0, s = 1;
    int stopien = 0;
    double operator()(double x) const {
        const double u = (x - x0) / s;
        return c[0] + c[1] * u + c[2] * u * u;
    }
};
bool Dopasuj(const int *xs, const int *ys, int n, TTrend &out, int forcedDegree = -1);

// ------------------------------------------------------------------------------ multiplier knots

// The multiplier curve of bank 1: knot i has its x in settings item 190 + i and its y in table[x].
struct TMnoznik {
    uint8_t *nastawy = nullptr; // settings block
    uint8_t *tabela = nullptr;  // multipliers bank 1 (256 entries)
    int skala = 200;            // MultiplierScale
    int wybrany = -1;           // selected knot, -1 none

    bool Szeroki() const { return nastawy[ItemZakres] & 1; }
    int Min() const { return Szeroki() ? 1 : 50; }
    int Max() const { return Szeroki() ? 250 : 150; }
    int X(int i) const { return nastawy[ItemWezly + i]; }
    bool Jest(int i) const { return i == 0 || X(i) != 0; }

    // Knot 0 at 0, the last at the scale, sorted, no two at one x, the table joined between them.
    void Przelicz();
    // Knot edits; each returns false when refused (the caller beeps) and leaves the image unchanged.
    bool Nastepny();                    // Page Up
    bool Poprzedni();                   // Page Down
    bool Lewo();                        // Left
    bool Prawo();                       // Right
    bool Zmien(int delta);              // Up / Down: the selected knot, or every knot when none is selected
    bool Wstaw();                       // Insert
    bool Usun();                        // Delete
    bool WstawW(int x);                 // right click at x
    int Najblizszy(int x, int y) const; // left click: the knot within 4 units, else -1
};

// ------------------------------------------------------------------------------ correction curves

// A correction curve block: id in byte 0, points (x, y) at 2 + 2i, the curve from byte 50 on.
struct TKorekta {
    uint8_t *blok = nullptr;
    int wybrany = -1;

    int Id() const { return blok[0]; }
    bool Cisnienie() const { return blok[0] == 8; }
    int X(int i) const { return blok[2 + 2 * i]; }
    int Y(int i) const { return blok[3 + 2 * i]; }
    bool Uzyty(int i) const { return Y(i) != 0; }
    int XMin() const { return Cisnienie() ? 50 : 98; }
    int XMax() const { return Cisnienie() ? 250 : 228; }
    int Uzytych() const;

    void Przelicz();    // sort the points and sample the curve between them
    void Kasuj(int id); // the two end points at no correction, then Przelicz
    bool Nastepny();
    bool Poprzedni();
    bool Lewo();
    bool Prawo();
    bool Zmien(int delta);
    bool Wstaw(); // Insert: halfway between the neighbours
    bool Usun();
    bool WstawW(int x); // right click at x
    int Najblizszy(int x, int y) const;
};

} // namespace Wykres2D
