// Background of the charts: plot, grid, axes, titles, markers, legend and the two buttons.
#include "charts/TGrafika.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>

using namespace Wykres2D;

namespace {
const QColor Niebieski(2, 116, 253); // the deviation's line

QString Liczba(double v, int decimals) {
    return decimals < 0 ? QLocale().toString(v, 'g', 6) : QLocale().toString(v, 'f', decimals);
}

// Text whose right edge is at x and whose top is at y.
void TekstPrawy(QPainter &g, int x, int y, const QString &t) {
    const QFontMetrics m(g.font());
    g.drawText(x - m.horizontalAdvance(t), y + m.ascent(), t);
}

// Text rotated by 90 degrees (read bottom to top), centred on (x, cy), with its top at x.
void TekstPionowy(QPainter &g, int x, int cy, const QString &t) {
    const QFontMetrics m(g.font());
    g.save();
    g.translate(x, cy + m.horizontalAdvance(t) / 2);
    g.rotate(-90);
    g.drawText(0, m.ascent(), t);
    g.restore();
}

// The up or down arrow of a button (the arrows are drawn, no picture file needed).
void Strzalka(QPainter &g, QRect r, bool up, const QColor &c) {
    QPainterPath p;
    const QPointF m = QRectF(r).center();
    const double a = r.width() * 0.32;
    if (up) {
        p.moveTo(m.x(), m.y() - a);
        p.lineTo(m.x() + a, m.y() + a * 0.6);
        p.lineTo(m.x() - a, m.y() + a * 0.6);
    } else {
        p.moveTo(m.x(), m.y() + a);
        p.lineTo(m.x() + a, m.y() - a * 0.6);
        p.lineTo(m.x() - a, m.y() - a * 0.6);
    }
    p.closeSubpath();
    g.setRenderHint(QPainter::Antialiasing, true);
    g.fillPath(p, c);
    g.setRenderHint(QPainter::Antialiasing, false);
}
} // namespace

void TGrafika::TloWykresu(QPainter &g) {
    const TObszar &o = o_;
    const int left = o.left, w = o.w, h = o.h, bottom = o.bottom, top = o.top();
    const QColor tekst = Kolor(p_.Text), siatka = Kolor(p_.MapGrid);
    const QFontMetrics fm(g.font());
    const int skala = s_->MultiplierScale;
    const bool szeroki = Item(ItemZakres) & 1;
    g.fillRect(QRect(left, top, w, h), Kolor(p_.MapBackground));
    g.setPen(Kolor(p_.MapFrame));
    g.drawRect(QRect(left, top, w, h));

    // Dotted grid.
    g.setPen(QPen(siatka, 1, Qt::DotLine));
    auto pion = [&](int x) { g.drawLine(x, top + 1, x, bottom - 1); };
    if (tryb_ == 0)
        for (int k = 1; k <= 9; ++k)
            pion(left + int(w * 0.1 * k));
    else if (tryb_ == 4)
        for (int v = 25; v <= 175; v += 25)
            pion(left + w * v / 200);
    else
        for (int v = 10; v <= 120; v += 10)
            pion(left + w * v / 130);
    for (int k = 1; k <= 9; ++k)
        g.drawLine(left + 1, bottom - h * k / 10, left + w - 1, bottom - h * k / 10);

    // X axis.
    g.setPen(tekst);
    auto tick = [&](int x, const QString &label) {
        g.drawLine(x, bottom, x, bottom + 6);
        g.drawText(x - 4, bottom + 6 + fm.ascent(), label);
    };
    int tytulX = 0;
    if (tryb_ == 0) {
        if (skala > 0)
            for (int v = 0; v <= skala; v += 20)
                tick(left + w * v / skala, QString::number(v / 10));
        tytulX = 1703;
    } else if (tryb_ == 4) {
        for (int v = 0; v <= 200; v += 25)
            tick(left + w * v / 200, Liczba(v * 0.01 + 0.5, -1));
        tytulX = 1707;
    } else {
        for (int v = 0; v <= 130; v += 10)
            tick(left + w * v / 130, QString::number(v - 30));
        tytulX = tryb_ == 2 ? 1705 : 1706;
    }
    const QString tx = LangText(tytulX);
    g.drawText((width() - fm.horizontalAdvance(tx)) / 2, bottom + 20 + fm.ascent(), tx);

    // The neutral line.
    g.setPen(QPen(Kolor(p_.MapFrame), 1));
    const int neutral = bottom - h * (tryb_ == 0 && szeroki ? 4 : 5) / 10;
    g.drawLine(left, neutral, left + w, neutral);

    // Y axis.
    g.setPen(tekst);
    if (tryb_ == 0) {
        if (szeroki)
            for (int k = 0; k <= 25; k += 5) {
                const int y = bottom - h * k / 25;
                g.drawLine(left - 6, y, left, y);
                TekstPrawy(g, left - 6, y - fm.height() / 2, Liczba(k * 0.1, 1));
            }
        else
            for (int k = 0; k <= 10; ++k) {
                const int y = bottom - h * k / 10;
                g.drawLine(left - 6, y, left, y);
                TekstPrawy(g, left - 6, y - fm.height() / 2, Liczba(k * 0.1 + 0.5, 1));
            }
        TekstPionowy(g, 0, top + h / 2, LangText(1709));
        TloTrybu0(g);
        return;
    }
    for (int k = 0; k <= 10; ++k) {
        const int y = bottom - h * k / 10;
        g.drawLine(left - 6, y, left, y);
        TekstPrawy(g, left - 8, y - fm.height() / 2, QString::number(k * 10 - 50));
    }
    TekstPionowy(g, 0, top + h / 2, LangText(1708));
    // Marker of the threshold setting of this curve.
    int x = 0;
    QString label;
    if (tryb_ == 4) {
        const int v = Item(ItemMinCisnienie);
        x = left + (v - 50) * w / 200;
        label = QLatin1Char(' ') + Liczba(v * 0.01, 2) + QLatin1Char(' ');
    } else {
        const int v = Item(tryb_ == 2 ? ItemTempPrzelaczenia : ItemMinTempGazu);
        x = left + (v - 98) * w / 130;
        label = QLatin1Char(' ') + QString::number(v - 128) + QLatin1Char(' ');
    }
    if (x >= left && x <= left + w) {
        g.setPen(QPen(siatka, 1, Qt::DashLine));
        g.drawLine(x, top + 1, x, bottom - 1);
        g.setPen(Kolor(p_.MapMarkerText));
        g.drawText(x, bottom - 16, label);
    }
}

void TGrafika::TloTrybu0(QPainter &g) {
    const TObszar &o = o_;
    const int left = o.left, w = o.w, h = o.h, bottom = o.bottom, top = o.top(), right = o.right();
    const QFontMetrics fm(g.font());
    const QColor tekst = Kolor(p_.Text);
    const int i239 = Item(239);
    const int skala = s_->MultiplierScale;

    // Right axis: the load in bar up to the last load-axis point.
    g.setPen(tekst);
    int szer = 0;
    for (int k = 0; k <= 100; k += 10) {
        const int y = bottom - h * k / 100;
        const QString t = Liczba(k * i239 * 0.0001, -1);
        g.drawLine(right, y, right + 6, y);
        g.drawText(right + 8, y - fm.height() / 2 + fm.ascent(), t);
        szer = std::max(szer, fm.horizontalAdvance(t));
    }
    // 27 px right of the plot, or further when the labels are wider.
    TekstPionowy(g, std::max(right + 27, right + 12 + szer), top + h / 2, LangText(1707));

    // Deviation scale.
    if (poziom_ > 0) {
        g.setPen(Kolor(p_.MapDeviationText));
        const int zero = bottom - int(0.2 * h);
        static const char *const labels[3] = {"-2", "0", "+2"};
        for (int k = -1; k <= 1; ++k)
            TekstPrawy(g, right - 2, zero - h * k / 10 - fm.height() / 2, QLatin1String(labels[k + 1]));
        g.setPen(QPen(Niebieski, 1, Qt::DotLine));
        g.drawLine(left + 1, zero, right - 1, zero);
    }

    // Petrol time marker.
    const int i83 = Item(ItemCzasBenzyny);
    if (i83 != 0 && skala > 0) {
        const int x = left + int(i83 * 0.05 * w * 10 / skala);
        if (x <= right) {
            g.setPen(QPen(Kolor(p_.MapGrid), 1, Qt::DashLine));
            g.drawLine(x, top + 1, x, bottom - 1);
            g.setPen(Kolor(p_.MapMarkerText));
            g.drawText(x, bottom - 16, QLatin1Char(' ') + Liczba(i83 * 0.05, 2) + QLatin1Char(' '));
        }
    }

    // Legend.
    struct Wpis {
        QColor c;
        int id;
    };
    const Wpis wpisy[4] = {{Kolor(p_.MapCurveText), 1709},
                           {Kolor(p_.MapPetrolText), 1700},
                           {Kolor(p_.MapGasText), 1701},
                           {Kolor(p_.MapDeviationText), 1702}};
    const int ile = poziom_ > 0 ? 4 : 3;
    for (int i = 0; i < ile; ++i) {
        g.setPen(wpisy[i].c);
        g.drawText(left + 20, top + 20 * (i + 1) + fm.ascent() - fm.height() / 2,
                   QStringLiteral("----  ") + LangText(wpisy[i].id));
    }

    // Buttons raising and lowering every knot.
    const int e = (height() - 14) / 2;
    const QRect gora(QPoint(width() - 32, e - 32), QPoint(width() - 2, e - 2));
    const QRect dol(QPoint(width() - 32, e + 2), QPoint(width() - 2, e + 32));
    g.setRenderHint(QPainter::Antialiasing, true);
    g.setPen(Kolor(p_.MapLabelOutline));
    g.setBrush(Kolor(p_.MapLabelFill));
    g.drawRoundedRect(gora, 5, 5);
    g.drawRoundedRect(dol, 5, 5);
    g.setBrush(Qt::NoBrush);
    g.setRenderHint(QPainter::Antialiasing, false);
    Strzalka(g, gora.adjusted(4, 4, -4, -4), true, Kolor(p_.MapCurve));
    Strzalka(g, dol.adjusted(4, 4, -4, -4), false, Kolor(p_.MapCurve));
}
