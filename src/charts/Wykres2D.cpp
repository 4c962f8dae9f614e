#include "charts/Wykres2D.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace Wykres2D {

TObszar Obszar(int width, int height, int mode) {
    TObszar o;
    o.w = width - (mode == 0 ? 120 : 80);
    o.h = int(height - 62.5);
    o.bottom = o.h + 25;
    return o;
}

// ------------------------------------------------------------------------------ least squares

bool Dopasuj(const int *xs, const int *ys, int n, TTrend &out, int forcedDegree) {
    out = TTrend{};
    if (n < 3) return false;
    const int d = forcedDegree >= 1 ? std::min(forcedDegree, 2) : (n < 9 ? 1 : 2);
    int lo = xs[0], hi = xs[0], distinct = 1;
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        lo = std::min(lo, xs[i]);
        hi = std::max(hi, xs[i]);
        sum += xs[i];
    }
    // Distinct x values (up to three are enough to know).
    {
        int seen[3] = {xs[0], 0, 0};
        for (int i = 1; i < n && distinct < 3; ++i) {
            bool nowy = true;
            for (int k = 0; k < distinct; ++k)
                nowy = nowy && seen[k] != xs[i];
            if (nowy) seen[distinct++] = xs[i];
        }
    }
    if (distinct < d + 1) return false;
    out.x0 = sum / n;
    out.s = std::max(1.0, (hi - lo) / 2.0);

    const int m = d + 1;
    double a[3][4] = {};
    for (int i = 0; i < n; ++i) {
        const double u = (xs[i] - out.x0) / out.s;
        double p[5] = {1, u, u * u, u * u * u, u * u * u * u};
        for (int r = 0; r < m; ++r) {
            for (int c = 0; c < m; ++c)
                a[r][c] += p[r + c];
            a[r][m] += ys[i] * p[r];
        }
    }
    // Gaussian elimination with partial pivoting.
    for (int col = 0; col < m; ++col) {
        int piv = col;
        for (int r = col + 1; r < m; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[piv][col])) piv = r;
        if (std::fabs(a[piv][col]) < 1e-9 * n) return false;
        if (piv != col) std::swap(a[piv], a[col]);
        for (int r = col + 1; r < m; ++r) {
            const double f = a[r][col] / a[col][col];
            for (int c = col; c <= m; ++c)
                a[r][c] -= f * a[col][c];
        }
    }
    for (int r = m - 1; r >= 0; --r) {
        double v = a[r][m];
        for (int c = r + 1; c < m; ++c)
            v -= a[r][c] * out.c[c];
        out.c[r] = v / a[r][r];
        if (!std::isfinite(out.c[r])) {
            out = TTrend{};
            return false;
        }
    }
    out.stopien = d;
    return true;
}

// ------------------------------------------------------------------------------ multiplier knots

void TMnoznik::Przelicz() {
    uint8_t *k = nastawy + ItemWezly;
    const int s = std::clamp(skala, 0, 255);
    // 1. The ends.
    k[0] = 0;
    k[Wezly - 1] = uint8_t(s);
    for (int i = 1; i < Wezly; ++i)
        if (k[i] > s) k[i] = uint8_t(s);
    auto sortuj = [&] {
        for (bool again = true; again;) {
            again = false;
            for (int i = 1; i + 1 < Wezly; ++i)
                if (k[i] > k[i + 1]) {
                    std::swap(k[i], k[i + 1]);
                    if (wybrany == i)
                        wybrany = i + 1;
                    else if (wybrany == i + 1)
                        wybrany = i;
                    again = true;
                    break;
                }
        }
    };
    // 2-3. Sorted, and no two present knots at one x: the first of a pair moves up by one. A pair at
    // the scale cannot move up (the knot would leave the axis or wrap to 0); the pass below resolves it.
    sortuj();
    for (;;) {
        int para = -1;
        for (int i = 1; i + 1 < Wezly && para < 0; ++i)
            if (k[i] != 0 && k[i] == k[i + 1]) para = i;
        if (para < 0 || k[para] >= s) break;
        ++k[para];
        sortuj();
    }
    // Downward pass: every present knot below the next one (a knot pushed under 1 is removed).
    for (int i = Wezly - 2; i >= 1; --i) {
        if (k[i] == 0) continue;
        if (k[i] >= k[i + 1]) k[i] = uint8_t(std::max(0, int(k[i + 1]) - 1));
    }
    sortuj();
    // 4. Straight lines between consecutive present knots.
    const int lo = Min(), hi = Max();
    int x1 = 0;
    for (int i = 1; i < Wezly; ++i) {
        if (!Jest(i)) continue;
        const int x2 = k[i];
        if (x2 > x1) {
            const int t1 = tabela[x1], t2 = tabela[x2];
            for (int x = x1; x < x2; ++x)
                tabela[x] = uint8_t(std::clamp(t1 - (x - x1) * (t1 - t2) / (x2 - x1), lo, hi));
            x1 = x2;
        }
    }
    tabela[s] = uint8_t(std::clamp(int(tabela[s]), lo, hi));
    // 5. Flat beyond the scale.
    for (int x = s + 1; x < 256; ++x)
        tabela[x] = tabela[s];
}

bool TMnoznik::Nastepny() {
    if (wybrany > 24) return false;
    for (int i = wybrany + 1; i < Wezly; ++i)
        if (Jest(i)) {
            wybrany = i;
            return true;
        }
    return false;
}

bool TMnoznik::Poprzedni() {
    if (wybrany <= 0) return false;
    for (int i = wybrany - 1; i >= 0; --i)
        if (Jest(i)) {
            wybrany = i;
            return true;
        }
    return false;
}

bool TMnoznik::Lewo() {
    if (wybrany == 25) {
        int i = 24;
        while (i > 0 && !Jest(i))
            --i;
        wybrany = i;
        return true;
    }
    if (wybrany < 1 || wybrany > 24) return true; // knot 0 or none: nothing
    const int x = X(wybrany);
    for (int i = 0; i < wybrany; ++i)
        if (Jest(i) && X(i) == x - 1) {
            wybrany = i;
            Przelicz();
            return true;
        }
    nastawy[ItemWezly + wybrany] = uint8_t(std::max(0, x - 1));
    Przelicz();
    return true;
}

bool TMnoznik::Prawo() {
    if (wybrany == 0) {
        for (int i = 1; i < Wezly; ++i)
            if (Jest(i)) {
                wybrany = i;
                return true;
            }
        return true;
    }
    if (wybrany < 1 || wybrany > 24) return true;
    const int x = X(wybrany);
    for (int i = wybrany + 1; i < Wezly; ++i)
        if (Jest(i) && X(i) == x + 1) {
            wybrany = i;
            Przelicz();
            return true;
        }
    nastawy[ItemWezly + wybrany] = uint8_t(std::min(std::clamp(skala, 0, 255), x + 1));
    Przelicz();
    return true;
}

bool TMnoznik::Zmien(int delta) {
    bool zmiana = false;
    for (int i = 0; i < Wezly; ++i) {
        if (!Jest(i) || (wybrany >= 0 && i != wybrany)) continue;
        const int x = X(i);
        const int v = std::clamp(tabela[x] + delta, Min(), Max());
        zmiana = zmiana || v != tabela[x];
        tabela[x] = uint8_t(v);
    }
    Przelicz();
    return zmiana;
}

bool TMnoznik::Wstaw() {
    int wolny = -1;
    for (int i = 1; i <= 24 && wolny < 0; ++i)
        if (!Jest(i)) wolny = i;
    if (wolny < 0) return false;
    if (wybrany < 0 || X(wybrany) >= skala - 10) return true; // nothing to do
    nastawy[ItemWezly + wolny] = uint8_t(X(wybrany) + 10);
    wybrany = wolny;
    Przelicz();
    return true;
}

bool TMnoznik::Usun() {
    if (wybrany < 1 || wybrany > 24) return false;
    nastawy[ItemWezly + wybrany] = 0;
    int i = wybrany - 1;
    while (i > 0 && X(i) == 0)
        --i;
    wybrany = i; // knot 0 when no other present knot lies below
    Przelicz();
    return true;
}

bool TMnoznik::WstawW(int x) {
    int wolny = -1;
    for (int i = 1; i <= 24 && wolny < 0; ++i)
        if (!Jest(i)) wolny = i;
    if (wolny < 0) return false;
    nastawy[ItemWezly + wolny] = uint8_t(std::clamp(x, 1, std::clamp(skala, 1, 255)));
    wybrany = wolny;
    Przelicz();
    return true;
}

int TMnoznik::Najblizszy(int x, int y) const {
    int best = 0;
    for (int i = 1; i < Wezly; ++i)
        if (Jest(i) && std::abs(X(i) - x) < std::abs(X(best) - x)) best = i;
    if (std::abs(X(best) - x) <= 4 && std::abs(tabela[X(best)] - y) <= 4) return best;
    return -1;
}

// ------------------------------------------------------------------------------ correction curves

int TKorekta::Uzytych() const {
    int n = 0;
    for (int i = 0; i < Punkty; ++i)
        n += Uzyty(i);
    return n;
}

void TKorekta::Przelicz() {
    uint8_t *p = blok + 2;
    // 1. Points 1-6 in x order among the used ones.
    for (bool again = true; again;) {
        again = false;
        for (int i = 1; i <= 6 && !again; ++i) {
            if (!Uzyty(i)) continue;
            for (int j = i + 1; j <= 6; ++j) {
                if (!Uzyty(j)) continue;
                if (X(i) > X(j)) {
                    std::swap(p[2 * i], p[2 * j]);
                    std::swap(p[2 * i + 1], p[2 * j + 1]);
                    if (wybrany == i)
                        wybrany = j;
                    else if (wybrany == j)
                        wybrany = i;
                    again = true;
                }
                break;
            }
        }
    }
    // 2. Straight lines between consecutive used points; the curve starts at byte 50, so a point
    // below 50 never writes into the point table.
    auto put = [&](int m, int v) {
        if (m >= 50 && m <= 255) blok[m] = uint8_t(std::clamp(v, 0, 255));
    };
    int prev = -1;
    for (int i = 0; i < Punkty; ++i) {
        if (!Uzyty(i)) continue;
        if (prev >= 0) {
            const int x1 = X(prev), y1 = Y(prev), x2 = X(i), y2 = Y(i);
            if (x2 > x1)
                for (int m = x1; m <= x2; ++m)
                    put(m, y1 - (m - x1) * (y1 - y2) / (x2 - x1));
        }
        prev = i;
    }
    // 3. Flat before the first and after the last point.
    if (Uzyty(0) && X(0) != 0)
        for (int m = 50; m < X(0); ++m)
            put(m, Y(0));
    if (Uzyty(7) && X(7) != 255)
        for (int m = X(7); m <= 255; ++m)
            put(m, Y(7));
}

void TKorekta::Kasuj(int id) {
    std::memset(blok, 0, 50);
    blok[0] = uint8_t(id);
    const bool cis = id == 8;
    blok[2] = uint8_t(cis ? 50 : 98);
    blok[3] = 128;
    blok[16] = uint8_t(cis ? 250 : 228);
    blok[17] = 128;
    if (wybrany >= 0) wybrany = -1;
    Przelicz();
}

bool TKorekta::Nastepny() {
    if (wybrany > 6) return false;
    for (int i = wybrany + 1; i < Punkty; ++i)
        if (Uzyty(i)) {
            wybrany = i;
            return true;
        }
    return false;
}

bool TKorekta::Poprzedni() {
    if (wybrany <= 0) return false;
    for (int i = wybrany - 1; i >= 0; --i)
        if (Uzyty(i)) {
            wybrany = i;
            return true;
        }
    return false;
}

bool TKorekta::Lewo() {
    if (wybrany < 1 || wybrany > 6 || X(wybrany) <= XMin()) return false;
    const int x = X(wybrany);
    for (int i = 0; i < wybrany; ++i)
        if (Uzyty(i) && X(i) == x - 1) {
            wybrany = i;
            Przelicz();
            return true;
        }
    blok[2 + 2 * wybrany] = uint8_t(x - 1);
    Przelicz();
    return true;
}

bool TKorekta::Prawo() {
    if (wybrany < 1 || wybrany > 6 || X(wybrany) > XMax()) return false;
    const int x = X(wybrany);
    for (int i = wybrany + 1; i < Punkty; ++i)
        if (Uzyty(i) && X(i) == x + 1) {
            wybrany = i;
            Przelicz();
            return true;
        }
    blok[2 + 2 * wybrany] = uint8_t(x + 1);
    Przelicz();
    return true;
}

bool TKorekta::Zmien(int delta) {
    bool zmiana = false;
    for (int i = 0; i < Punkty; ++i) {
        if (!Uzyty(i) || (wybrany >= 0 && i != wybrany)) continue;
        const int v = std::clamp(Y(i) + delta, 64, 192);
        zmiana = zmiana || v != Y(i);
        blok[3 + 2 * i] = uint8_t(v);
    }
    Przelicz();
    return zmiana;
}

bool TKorekta::Wstaw() {
    int wolny = -1;
    for (int i = 1; i <= 6 && wolny < 0; ++i)
        if (!Uzyty(i)) wolny = i;
    if (wolny < 0) return false;
    int nast = -1;
    for (int i = wolny + 1; i < Punkty && nast < 0; ++i)
        if (Uzyty(i)) nast = i;
    if (nast < 0) return false;
    const int x = (X(wolny - 1) + X(nast)) / 2;
    blok[2 + 2 * wolny] = uint8_t(x);
    blok[3 + 2 * wolny] = uint8_t(std::clamp(int(blok[std::clamp(x, 50, 255)]), 1, 255));
    wybrany = wolny;
    Przelicz();
    return true;
}

bool TKorekta::Usun() {
    if (wybrany < 1 || wybrany > 6) return false;
    blok[2 + 2 * wybrany] = 0;
    blok[3 + 2 * wybrany] = 0;
    int i = wybrany - 1;
    while (i > 0 && !Uzyty(i))
        --i;
    wybrany = i;
    Przelicz();
    return true;
}

bool TKorekta::WstawW(int x) {
    int wolny = -1;
    for (int i = 1; i < Punkty && wolny < 0; ++i)
        if (!Uzyty(i)) wolny = i;
    if (wolny < 0) return false;
    const int xr = std::clamp(x, XMin(), XMax());
    blok[2 + 2 * wolny] = uint8_t(xr);
    blok[3 + 2 * wolny] = uint8_t(std::max(1, int(blok[xr])));
    wybrany = wolny;
    Przelicz();
    return true;
}

int TKorekta::Najblizszy(int x, int y) const {
    int best = -1;
    for (int i = 0; i < Punkty; ++i)
        if (Uzyty(i) && (best < 0 || std::abs(X(i) - x) < std::abs(X(best) - x))) best = i;
    if (best >= 0 && std::abs(X(best) - x) <= 4 && std::abs(Y(best) - y) <= 4) return best;
    return -1;
}

} // namespace Wykres2D
