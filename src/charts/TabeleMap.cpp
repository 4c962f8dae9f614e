#include "charts/TabeleMap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace TabeleMap {

int WpisObrotow(const QString &text, int current, int *shownRpm) {
    bool ok = false;
    int n = text.trimmed().toInt(&ok);
    if (!ok) n = current * 50;
    n = std::clamp(n, 50, 10000);
    if (shownRpm) *shownRpm = n;
    return n / 50;
}

int WpisObciazenia(const QString &text, int current) {
    QString t = text.trimmed();
    const int comma = t.indexOf(QLatin1Char(','));
    if (comma >= 0) t[comma] = QLatin1Char('.');
    bool ok = false;
    double v = t.toDouble(&ok);
    if (!ok || v == 0 || !std::isfinite(v)) return current;
    v = std::clamp(v, 0.01, 2.55);
    return int(std::lround(v * 100));
}

uint32_t KolorOdchylki(int roznica, bool obd) {
    const int prog = obd ? 6 : 11;
    if (roznica >= prog) return CiemnoCzerwony;
    if (roznica <= -prog) return Niebieski;
    return Szary;
}

uint32_t KolorKorekty(int v) {
    const int a = std::clamp(v - 100, -150, 155);
    if (a > 0) {
        const int c = std::max(0, 235 - a);
        return 0xFF0000u | uint32_t(c) << 8 | uint32_t(c);
    }
    if (a < 0) {
        const int c = std::max(0, 235 + a);
        return uint32_t(c) << 16 | uint32_t(c) << 8 | 0xFFu;
    }
    return Bialy;
}

bool ZmienBlok(uint8_t *t, int c0, int c1, int r0, int r1, int delta, int lo, int hi) {
    bool zmiana = false;
    for (int c = std::max(0, std::min(c0, c1)); c <= std::min(15, std::max(c0, c1)); ++c)
        for (int r = std::max(0, std::min(r0, r1)); r <= std::min(15, std::max(r0, r1)); ++r) {
            uint8_t &v = t[c * 16 + r];
            // A cell is raised while below the upper limit and lowered while above the lower one, so
            // a cell outside the range moves back towards it.
            if (delta > 0 ? v >= hi : v <= lo) continue;
            v = uint8_t(std::clamp(v + delta, 0, 255));
            zmiana = true;
        }
    return zmiana;
}

} // namespace TabeleMap
