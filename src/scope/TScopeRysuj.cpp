// The composed picture of the scope view. The plot is the rectangle (10, 40) … (W − 110, H − 40),
// s = W − 120 pixels wide; the overview strip lies above it, the texts right of and below it.
#include "device/Liczby.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "scope/TScope.h"

#include <QHash>
#include <QPainter>
#include <cmath>
#include <utility>

namespace {
constexpr int Gora = 40; // top of the plot, bottom of the overview strip

// A thick line as side-by-side one-pixel lines: the framework's wide-pen stroking costs far more
// than the plain line rasteriser, and a trace of 2 px needs no joins.
void Gruba(QPainter &g, const QPolygon &pts, const QColor &c, int width) {
    if (pts.size() < 2) return;
    QPen pen(c, 1);
    pen.setCosmetic(true);
    g.setPen(pen);
    g.drawPolyline(pts);
    for (int d = 1; d < width; ++d)
        g.drawPolyline(pts.translated(d, 0));
}

// Polyline whose segments take the colour of the point they lead to; runs of one colour become one
// polyline, so a column of equal colours costs one call.
class TLinia {
public:
    TLinia(QPainter &g, int width) : g_(g), width_(width) {}
    ~TLinia() { Koniec(); }
    void Punkt(QPoint p, uint32_t colour) {
        if (colour != colour_ && !pts_.isEmpty()) {
            const QPoint last = pts_.last();
            Koniec();
            pts_ << last;
        }
        colour_ = colour;
        pts_ << p;
    }
    void Przerwa() { Koniec(); } // no sample here: the line stops
    void Koniec() {
        Gruba(g_, pts_, Kolor(colour_), width_);
        pts_.clear();
    }

private:
    QPainter &g_;
    int width_;
    uint32_t colour_ = 0;
    QPolygon pts_;
};

const QImage &Obrazek(const char *name) {
    static QHash<QByteArray, QImage> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, QImage(QStringLiteral(":/img/%1.png").arg(QLatin1String(name))));
    return *it;
}

const char *ObrazekStanu(int state) {
    switch (state) {
    case 1: return "RC_OSC_PLAY";
    case 2: return "RC_OSC_PAUSA";
    case 3: return "RC_OSC_STOP";
    default: return "RC_OSC_READ";
    }
}

QFont Czcionka(const QFont &base, int points, bool bold) {
    QFont f = base;
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}
} // namespace

void TScope::RysujOscyloskop(bool tylkoPasek) {
    // 1. Window on the recording.
    if (!isVisible()) return;
    const int W = width(), H = height(), s = W - 120;
    TModelScope &m = model_;
    if (m.Stan == TModelScope::Live) m.Last = m.Ile();
    m.First = int(std::trunc(m.Last - s * m.Zoom()));
    if (obraz_.size() != size()) {
        obraz_ = QImage(size(), QImage::Format_RGB32);
        tylkoPasek = false;
    }
    if (obraz_.isNull()) return;

    QPainter g(&obraz_);
    const QColor tlo = Kolor(paleta_.Background);
    // 2. Surroundings, plot and strip frames.
    if (tylkoPasek) {
        g.fillRect(0, 0, W, Gora, tlo);
    } else {
        g.fillRect(obraz_.rect(), tlo);
        g.setPen(Kolor(paleta_.ScopeGrid));
        g.setBrush(Kolor(paleta_.ScopeBackground));
        g.drawRect(10, Gora, std::max(W - 120, 0), std::max(H - 80, 0));
    }
    g.setBrush(Qt::NoBrush);
    g.setPen(Kolor(paleta_.ScopeGrid));
    g.drawRect(10, 8, std::max(W - 120, 0), 24);
    // 3. State pictures.
    g.drawImage(W - 27, 8, Obrazek(ObrazekStanu(m.Stan)));
    if (link_ && link_->ScopeFile) g.drawImage(W - 55, 8, Obrazek("RC_OSC_REC"));
    if (s > 0) RysujPasek(g, s);
    if (tylkoPasek) {
        g.end();
        update(0, 0, W, Gora);
        return;
    }
    pasma_.clear();
    if (s > 0) {
        // 4. Vertical grid: one division is 50 px.
        g.setPen(QPen(Kolor(paleta_.ScopeGrid), 1, Qt::DotLine));
        for (int x = 60; x < s; x += 50)
            g.drawLine(x, Gora, x, H - 40);
        RysujKanaly(g, s);
        RysujPasekStanu(g, s);
    }
    RysujTeksty(g, s);
    g.end();
    // 10. A full picture replaces whatever cursor was on the screen.
    kursorX_ = -1;
    update();
}

// 5. Overview strip: the engine speed over the whole recording, coloured by the work state, and the
// frame of the visible window.
void TScope::RysujPasek(QPainter &g, int s) {
    const TWykres *rpm = Seria(1);
    if (!rpm || !link_) return;
    const TModelScope &m = model_;
    const int count = m.Ile();
    {
        TLinia linia(g, 2);
        for (int x = 1; x < s; ++x) {
            const int i = int(qint64(count) * x / s);
            const uint8_t *p = m.Probka(i);
            if (!p) {
                linia.Przerwa();
                continue;
            }
            const int y = 30 - WartoscKanalu(*rpm, p, 20);
            linia.Punkt(QPoint(x + 10, y), link_->KolorStanuPracy(StanPracy(i)));
        }
    }
    if (count > 10 && m.Stan != TModelScope::Live) {
        const int x1 = int(std::trunc(double(s) * std::max(m.First, 0) / count + 10 - 1));
        const int x2 = int(std::trunc(double(s) * m.Last / count + 10 + 1));
        g.setPen(QPen(QColor(0, 0, 255), 3));
        g.setBrush(Qt::NoBrush);
        g.drawRoundedRect(QRect(x1, 4, x2 - x1, 32), 4, 4);
    }
}

// 6–7. Bands, horizontal grid and the traces of the drawn channels.
void TScope::RysujKanaly(QPainter &g, int s) {
    if (!link_) return;
    const TModelScope &m = model_;
    const int H = height(), W = width();
    QList<int> kanaly;
    const int n = link_->PodajIleParamBiez(WykresDrawn);
    for (int j = 0; j < n; ++j) {
        const int k = link_->PodajPozycje(WykresDrawn, j);
        if (Seria(k)) kanaly << k;
    }
    if (kanaly.isEmpty()) return; // nothing to stack (and no band to divide the height by)
    int E = H - 98;
    if (m.Uklad == 2) E /= 4;
    if (m.Uklad == 3) E /= int(kanaly.size());
    int G = E + 40;
    for (int k : kanaly) {
        if (m.Uklad == 2) {
            // Grouped: each pair of series shares a band; others stay in the band before them,
            // the first of all in the first band.
            if (k >= 1 && k <= 7) G = (k / 2 + 1) * E + 40;
        }
        pasma_ << TPasmo{k, E, G};
        if (m.Uklad == 3) G += E;
    }
    if (E > 0) {
        g.setPen(QPen(Kolor(paleta_.ScopeGrid), 1, Qt::DotLine));
        for (int y = pasma_.first().G; y < H - 40; y += E)
            g.drawLine(10, y, W - 110, y);
    }

    const double zoom = m.Zoom();
    const int krok = 1 + m.Przeskok();
    const QFont bold10 = Czcionka(font(), 10, true);
    for (const TPasmo &pasmo : std::as_const(pasma_)) {
        TWykres &w = link_->Wykresy[size_t(pasmo.Seria)];
        const int G = pasmo.G, E = pasmo.E;
        QPolygon pts;
        pts.reserve(2 * s);
        if (zoom <= 1) {
            for (int x = 1; x < s; x += krok) {
                const int i = int(std::trunc(x * zoom + m.First));
                pts << QPoint(x + 10, std::max(G - WartoscKanalu(w, m.Probka(i), E), Gora));
            }
        } else {
            // One min–max column per pixel: the cost follows the width, not the samples.
            const int z = int(zoom);
            for (int x = 1; x < s; ++x) {
                int lo, hi;
                m.ZakresKanalu(w, x * z + m.First, z, E, lo, hi);
                pts << QPoint(x + 10, std::max(G - lo, Gora)) << QPoint(x + 10, std::max(G - hi, Gora));
            }
        }
        const QColor c = Kolor(w.Colour);
        Gruba(g, pts, c, 2);
        int y;
        if (m.Uklad == 1)
            y = (pts.isEmpty() ? G : pts.last().y()) - 8;
        else if (m.Uklad == 2)
            y = (pasmo.Seria == 3 || pasmo.Seria == 5 || pasmo.Seria == 7) ? G - 32 : G - 16;
        else
            y = G - 8;
        w.LabelRow = y;
        g.setFont(bold10);
        // The label in the trace's colour, lightened or darkened where that colour is hard to read.
        g.setPen(Czytelny(c, Kolor(paleta_.Background)));
        g.drawText(QRect(W - 108, y, 108, 20), Qt::AlignLeft | Qt::AlignTop,
                   TekstKanalu(w, m.Probka(m.Ile() - 1)));
    }
}

// 8. Work-state bar along the bottom of the plot, 4 px high: each run of one state one rectangle.
void TScope::RysujPasekStanu(QPainter &g, int s) {
    if (!link_) return;
    const TModelScope &m = model_;
    const int y = height() - 45;
    const double zoom = m.Zoom();
    const int krok = zoom < 1 ? 1 + m.Przeskok() : 1;
    int od = -1, stanRun = -1, poprzedni = 0;
    auto zamknij = [&](int doX) {
        if (od >= 0 && doX > od)
            g.fillRect(QRect(od + 10, y - 2, doX - od, 4), Kolor(link_->KolorStanuPracy(stanRun)));
    };
    for (int x = 1; x < s; x += krok) {
        const int stan = StanPracy(int(std::trunc(x * zoom + m.First)));
        if (stan != stanRun || od < 0) {
            // The segment up to x takes the colour of the sample at x, as a pen moving there would.
            zamknij(poprzedni);
            od = stan < 0 ? -1 : poprzedni;
            stanRun = stan;
        }
        poprzedni = x;
    }
    zamknij(poprzedni);
}

// 9. Seconds per division, the time at the right edge and the work state there.
void TScope::RysujTeksty(QPainter &g, int) {
    const TModelScope &m = model_;
    const int W = width(), H = height();
    g.setPen(Kolor(paleta_.Text));
    g.setFont(Czcionka(font(), 8, false));
    g.drawText(QRect(10, H - 40, std::max(W - 120, 200), 20), Qt::AlignLeft | Qt::AlignTop, m.TekstDzialki());
    g.drawText(QRect(0, H - 40, std::max(W - 110, 0), 20), Qt::AlignRight | Qt::AlignTop, m.TekstCzasu());
    const int stan = StanPracy(m.Last - 1);
    if (stan >= 0 && link_) {
        g.setFont(Czcionka(font(), 8, true));
        g.drawText(QRect(W - 108, H - 52, 108, 20), Qt::AlignLeft | Qt::AlignTop,
                   link_->StrStanPracy(stan, 0));
    }
}
