// Data of the charts: map dots and their trends, the deviation, the multiplier knots, the correction
// curve points.
#include "charts/TGrafika.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QLocale>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

using namespace Wykres2D;

namespace {
const QColor Czerwony(255, 0, 0);
const QColor Zielony(0, 160, 0);
const QColor Niebieski(2, 116, 253);
const QColor Zolty(255, 255, 0);
const QColor JasnoZolty(255, 255, 200);

// The trend drawn for every x from the smallest to the largest buffered x; values below the plot
// are skipped, values above it held at its top.
void RysujTrend(QPainter &g, const TTrend &t, int x0, int x1, const TObszar &o, const QPen &pen) {
    g.setPen(pen);
    QPolygon linia;
    auto wypusc = [&] {
        if (linia.size() > 1) g.drawPolyline(linia);
        linia.clear();
    };
    // A vertex every other pixel: the same line at half the cost of the wide pen.
    for (int x = x0; x <= x1; x = x + 2 > x1 && x < x1 ? x1 : x + 2) {
        double y = t(x);
        if (y > o.bottom) {
            wypusc();
            continue;
        }
        if (y < o.top()) y = o.top() + 1;
        linia << QPoint(x, int(y));
    }
    wypusc();
}
} // namespace

// Points joined by a 3 px line, circles of radius 5, and the box of the selected one.
void TGrafika::RysujWezly(QPainter &g, const QPoint *pts, const int *idx, int n, int selected, bool box,
                          const QString *l1, const QString *l2) {
    const QColor krzywa = Kolor(p_.MapCurve);
    g.setRenderHint(QPainter::Antialiasing, true);
    if (n > 1) {
        g.setPen(QPen(krzywa, 3));
        g.drawPolyline(pts, n);
    }
    const bool fokus = Fokus();
    int zaznaczony = -1;
    for (int i = 0; i < n; ++i) {
        const bool zolty = fokus && (idx[i] == selected || selected < 0);
        g.setPen(QPen(krzywa, 1));
        g.setBrush(zolty ? Zolty : krzywa);
        g.drawEllipse(pts[i], 5, 5);
        if (idx[i] == selected) zaznaczony = i;
    }
    g.setBrush(Qt::NoBrush);
    g.setRenderHint(QPainter::Antialiasing, false);
    etykiety_[0].clear();
    etykiety_[1].clear();
    if (box && fokus && zaznaczony >= 0) {
        etykiety_[0] = *l1;
        etykiety_[1] = *l2;
        const QPoint p = pts[zaznaczony];
        const QRect r(QPoint(p.x() - 14, p.y() + 10), QPoint(p.x() + 14, p.y() + 36));
        g.fillRect(r, JasnoZolty);
        g.setPen(QColor(0, 0, 0));
        g.drawRect(r);
        g.drawText(r.adjusted(0, 1, 0, -r.height() / 2), Qt::AlignCenter, *l1);
        g.drawText(r.adjusted(0, r.height() / 2, 0, -1), Qt::AlignCenter, *l2);
    }
}

int TGrafika::PrzesuniecieWezlow() const {
    // Identification byte 67 is 128 when there is no adaptation; 0 means it was never read.
    return s_->Identyfikacja[67] ? s_->Identyfikacja[67] - 128 : 0;
}

void TGrafika::DaneTrybu0(QPainter &g) {
    const TObszar &o = o_;
    const int left = o.left, w = o.w, h = o.h, bottom = o.bottom;
    const int skala = s_->MultiplierScale;
    const int i239 = Item(239);
    const int id67 = PrzesuniecieWezlow();
    const int id66 = s_->Identyfikacja[66] ? s_->Identyfikacja[66] - 128 : 0;

    if (Item(ItemAdaptacja) != 0) {
        const QString t = LangText(3810) + QStringLiteral("   ") + QString::number(id66) +
                          QStringLiteral(" , ") + QString::number(id67) + QStringLiteral("   ");
        const QFontMetrics fm(g.font());
        g.setPen(Kolor(p_.Text));
        g.drawText((width() - fm.horizontalAdvance(t)) / 2, 2 + fm.ascent(), t);
    }
    if (skala <= 0) return; // no axis to place anything on

    // 1. The petrol and gas maps as dots, each with its trend.
    if (i239 > 0) {
        const uint8_t *mapy[2] = {s_->Mapy[MapaA], s_->Mapy[MapaB]};
        const QColor kolory[2] = {Czerwony, Zielony};
        int xs[256], ys[256];
        for (int m = 0; m < 2; ++m) {
            int n = 0;
            for (int r = 0; r < 16; ++r)
                for (int c = 0; c < 16; ++c) {
                    const int v = mapy[m][c * 16 + r];
                    if (v == 0 || v > skala) continue;
                    const int x = left + v * w / skala;
                    const int y = int(bottom - double(h) * Item(ItemOsObciazenia + r) / i239 *
                                                   (1 - (16 - c) * 0.1 / 16));
                    g.fillRect(x - 1, y - 1, 3, 3, kolory[m]);
                    if (c >= 2 && r >= 1 && c <= 12 &&
                        (Item(ItemTypSilnika) != 0 || c < 16 - r / 2 || r > 13)) {
                        xs[n] = x;
                        ys[n] = y;
                        ++n;
                    }
                }
            TTrend t;
            if (Dopasuj(xs, ys, n, t))
                RysujTrend(g, t, *std::min_element(xs, xs + n), *std::max_element(xs, xs + n), o,
                           QPen(kolory[m], 4));
        }
    }

    // 2. The deviation of the two maps.
    if (poziom_ > 0) {
        int xs[256], ys[256], n = 0;
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c <= 12; ++c) {
                const int a = s_->Mapy[MapaA][c * 16 + r], b = s_->Mapy[MapaB][c * 16 + r];
                if (a == 0 || b == 0) continue;
                xs[n] = left + a * w / skala;
                ys[n] = int(bottom - 0.2 * h - (a - b) * h / 400.0);
                ++n;
            }
        TTrend t;
        if (Dopasuj(xs, ys, n, t, 1)) {
            const int x0 = std::max(*std::min_element(xs, xs + n), left);
            const int x1 = std::min(*std::max_element(xs, xs + n), left + w);
            RysujTrend(g, t, x0, x1, o, QPen(Niebieski, 3));
            RysujTrend(g, t, x0, x1, o, QPen(QColor(0, 0, 0), 1));
        }
    }

    // 3. The multiplier knots.
    const bool szeroki = Item(ItemZakres) & 1;
    QPoint pts[Wykres2D::Wezly];
    int idx[Wykres2D::Wezly], n = 0;
    QString l1, l2;
    for (int i = 0; i < Wykres2D::Wezly; ++i) {
        const int x = i == 0 ? 0 : Item(ItemWezly + i);
        if ((i != 0 && x == 0) || x > skala) continue;
        const int v = s_->Mnoznik1[x] + id67;
        const int px = int(double(x) * w / skala + left + 1);
        const int py = szeroki ? int(bottom - v * h * 0.004 + 1) : int(bottom - (v - 50) * h * 0.01 + 1);
        pts[n] = QPoint(px, py);
        idx[n++] = i;
        if (i == wezel_) {
            l1 = QLocale().toString(x * 0.1, 'f', 1);
            l2 = QLocale().toString(v * 0.01, 'f', 2);
        }
    }
    RysujWezly(g, pts, idx, n, wezel_, true, &l1, &l2);
}

void TGrafika::DaneKorekty(QPainter &g) {
    TKorekta k = Korekta();
    if (!k.blok) return;
    if (k.Uzytych() <= 1) {
        KasujKorekte();
        k = Korekta();
    }
    const TObszar &o = o_;
    const bool cis = tryb_ == 4;
    QPoint pts[Punkty];
    int idx[Punkty], n = 0;
    QString l1, l2;
    for (int i = 0; i < Punkty; ++i) {
        if (!k.Uzyty(i)) continue;
        const int x = k.X(i), y = k.Y(i);
        const int px = o.left + (cis ? (x - 50) * o.w / 200 : (x - 98) * o.w / 130) + 1;
        const int py = int(o.bottom - double(o.h) * (y - 64) / 128 + 1);
        pts[n] = QPoint(px, py);
        idx[n++] = i;
        if (i == punkt_) {
            l1 = cis ? QLocale().toString(x * 0.01, 'f', 2) : QString::number(x - 128);
            l2 = (y > 128 ? QStringLiteral("+") : QString()) + QString::number(int(y * 0.78125 - 100));
        }
    }
    RysujWezly(g, pts, idx, n, punkt_, true, &l1, &l2);
}
