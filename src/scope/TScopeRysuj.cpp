// The composed picture of the scope view. The plot is the rectangle (10, 40) … (W − 110, H − 40),
// s = W − 120 pixels wide; the overview strip lies above it, the texts right of and below it.
//
// Every part of the picture can be composed alone inside a rectangle r (the painter clipped to it):
// each step then draws only what can reach r, and r comes out exactly as in the whole picture. A
// line is drawn from a few segments before r to a few after it, since the line rasteriser carries
// each segment's last pixel and direction into the next one, and its ends have caps.
#include "device/Liczby.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "scope/TLamana.h"
#include "scope/TScope.h"

#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {
constexpr int Gora = 40; // top of the plot, bottom of the overview strip
constexpr int Zapas = 8; // segments a part of a line starts before, and ends after, what it draws

// A thick line as side-by-side one-pixel lines: the framework's wide-pen stroking costs far more
// than the plain line rasteriser, and a trace of 2 px needs no joins. Written straight into the
// picture where that gives the painter's pixels.
void Gruba(QPainter &g, const QPolygon &pts, const QColor &c, int width) {
    if (pts.size() < 2) return;
    QPen pen(c, 1);
    pen.setCosmetic(true);
    g.setPen(pen);
    if (LamanaWprost(g, pts.constData(), int(pts.size()), c, width)) return;
    g.drawPolyline(pts);
    for (int d = 1; d < width; ++d)
        g.drawPolyline(pts.translated(d, 0));
}

// Whether a line through pts (of the given width) can reach the rows of r.
bool SiegaWierszy(const QPolygon &pts, const QRect &r) {
    if (pts.isEmpty()) return false;
    int lo = pts.first().y(), hi = lo;
    for (const QPoint &p : pts) {
        lo = std::min(lo, p.y());
        hi = std::max(hi, p.y());
    }
    return hi + 1 >= r.top() && lo - 1 <= r.bottom();
}

// Polyline whose segments take the colour of the point they lead to; runs of one colour become one
// polyline, so a column of equal colours costs one call. Runs that cannot reach r are not drawn.
class TLinia {
public:
    TLinia(QPainter &g, int width, const QRect &r) : g_(g), width_(width), r_(r) {}
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
        if (SiegaWierszy(pts_, r_)) Gruba(g_, pts_, Kolor(colour_), width_);
        pts_.clear();
    }

private:
    QPainter &g_;
    int width_;
    QRect r_;
    uint32_t colour_ = 0;
    QPolygon pts_;
};

// Plot x from which, and up to which, the points of a line with one point every `krok` pixels are
// needed for columns r (image x = plot x + 10); xa stays on the grid 1, 1 + krok, …
void ZakresX(const QRect &r, int krok, int xKoniec, int &xa, int &xb) {
    const int od = r.left() - 10 - 2 - Zapas * krok;
    xa = od <= 1 ? 1 : 1 + (od - 1) / krok * krok;
    xb = std::min(xKoniec, r.right() - 10 + 2 + Zapas * krok);
}

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

// The readable colour of a label, worked out once per trace colour and background: the search for
// it costs more than the rest of a label, and the labels are drawn with every live sample.
QColor CzytelnaEtykieta(const QColor &c, const QColor &tlo) {
    static QHash<quint64, QColor> znane;
    const quint64 klucz = quint64(c.rgba()) << 32 | tlo.rgba();
    auto it = znane.constFind(klucz);
    if (it != znane.constEnd()) return *it;
    if (znane.size() >= 256) znane.clear(); // colours set one after another by hand
    return *znane.insert(klucz, Czytelny(c, tlo));
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
    if (!isVisible()) {
        klatka_.Wazna = false;
        return;
    }
    const int W = width(), s = W - 120;
    TModelScope &m = model_;
    if (m.Stan == TModelScope::Live) m.Last = m.Ile();
    m.First = int(std::trunc(m.Last - s * m.Zoom()));
    if (obraz_.size() != size()) {
        obraz_ = QImage(size(), QImage::Format_RGB32);
        tylkoPasek = false;
    }
    if (obraz_.isNull()) return;

    QPainter g(&obraz_);
    if (tylkoPasek) {
        klatka_.Wazna = false;
        const QRect r(0, 0, W, Gora);
        g.fillRect(r, Kolor(paleta_.Background));
        RysujRamkePaska(g, r);
        if (s > 0) RysujPasek(g, s, r);
        g.end();
        update(0, 0, W, Gora);
        return;
    }
    pasekYmax_ = INT_MIN;
    Rysuj(g, obraz_.rect());
    g.end();
    // 10. A full picture replaces whatever cursor was on the screen.
    kursorX_ = -1;
    ZapamietajKlatke();
    update();
}

// Surroundings, plot and strip frames: the first step of every picture.
void TScope::RysujRamy(QPainter &g, const QRect &r) {
    g.fillRect(r, Kolor(paleta_.Background));
    g.setPen(Kolor(paleta_.ScopeGrid));
    g.setBrush(Kolor(paleta_.ScopeBackground));
    g.drawRect(10, Gora, std::max(width() - 120, 0), std::max(height() - 80, 0));
    RysujRamkePaska(g, r);
}

// The whole picture, or the part of it inside r, in the order of its steps.
void TScope::Rysuj(QPainter &g, const QRect &r) {
    const int s = width() - 120;
    RysujRamy(g, r);
    if (s > 0) RysujPasek(g, s, r);
    const int E = UstawPasma();
    if (s > 0 && E > 0) {
        RysujSiatke(g, s, E, r);
        RysujKanaly(g, s, r, INT_MAX);
        RysujPasekStanu(g, s, r);
    }
    RysujTeksty(g, r, Dzialka | Czas | Stan);
}

// What no sample changes: surroundings, plot, frames, state pictures, grid.
void TScope::RysujTlo(QPainter &g, const QRect &r) {
    const int s = width() - 120;
    RysujRamy(g, r);
    const int E = UstawPasma();
    if (s > 0 && E > 0) RysujSiatke(g, s, E, r);
    RysujTeksty(g, r, Dzialka);
}

// What samples change, over the background: the overview strip, traces, labels, bar, texts. Over
// the background of RysujTlo this gives Rysuj's picture wherever the strip keeps above the plot and
// the traces above the texts.
void TScope::RysujRuchome(QPainter &g, const QRect &r, bool pasek, int trasyDo) {
    const int s = width() - 120;
    if (s > 0 && pasek) RysujPasek(g, s, r);
    const int E = UstawPasma();
    if (s > 0 && E > 0) {
        RysujKanaly(g, s, r, trasyDo);
        RysujPasekStanu(g, s, r);
    }
    RysujTeksty(g, r, Czas | Stan);
}

void TScope::RysujRamkePaska(QPainter &g, const QRect &r) {
    const int W = width();
    g.setBrush(Qt::NoBrush);
    g.setPen(Kolor(paleta_.ScopeGrid));
    g.drawRect(10, 8, std::max(W - 120, 0), 24);
    // 3. State pictures.
    if (r.right() >= W - 55) {
        g.drawImage(W - 27, 8, Obrazek(ObrazekStanu(model_.Stan)));
        if (link_ && link_->ScopeFile) g.drawImage(W - 55, 8, Obrazek("RC_OSC_REC"));
    }
}

// 5. Overview strip: the engine speed over the whole recording, coloured by the work state, and the
// frame of the visible window.
void TScope::RysujPasek(QPainter &g, int s, const QRect &r) {
    const TWykres *rpm = Seria(1);
    if (!rpm || !link_) return;
    const TModelScope &m = model_;
    const int count = m.Ile();
    const TWykres *stan = Seria(0);
    int xa, xb;
    ZakresX(r, 1, s - 1, xa, xb);
    if (xb >= xa) {
        // One sample every s-th of the recording: read from the keys kept per channel, the samples
        // themselves lie too far apart for the memory caches.
        const auto n = size_t(xb - xa + 1);
        std::vector<int> i(n), v(n), st(n, -1);
        for (int x = xa; x <= xb; ++x)
            i[size_t(x - xa)] = int(qint64(count) * x / s);
        m.WartosciProbek(*rpm, i.data(), int(n), 20, v.data());
        if (stan) m.WartosciProbek(*stan, i.data(), int(n), 0, st.data());
        TLinia linia(g, 2, r);
        for (int x = xa; x <= xb; ++x) {
            const size_t k = size_t(x - xa);
            if (i[k] < 0 || i[k] >= count) {
                linia.Przerwa();
                continue;
            }
            const int y = 30 - v[k];
            pasekYmax_ = std::max(pasekYmax_, y);
            linia.Punkt(QPoint(x + 10, y), link_->KolorStanuPracy(st[k]));
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

QList<int> TScope::Kanaly() const {
    QList<int> kanaly;
    const int n = link_ ? link_->PodajIleParamBiez(WykresDrawn) : 0;
    for (int j = 0; j < n; ++j) {
        const int k = link_->PodajPozycje(WykresDrawn, j);
        if (Seria(k)) kanaly << k;
    }
    return kanaly;
}

// 6. Band height of n drawn channels; 0 or less: the view is too low for a band (a stacked layout
// without channels has none either), and only frames, the overview strip and texts are drawn.
int TScope::WysokoscPasma(int n) const {
    int E = height() - 98;
    if (model_.Uklad == 2) E /= 4;
    if (model_.Uklad == 3) E = n > 0 ? E / n : 0;
    return E;
}

// 6. The bands of the drawn channels (pasma_); returns their height E.
int TScope::UstawPasma() {
    pasma_.clear();
    const QList<int> kanaly = Kanaly();
    const int E = WysokoscPasma(int(kanaly.size()));
    if (E <= 0 || width() <= 120) return E;
    int G = E + 40;
    for (int k : kanaly) {
        if (model_.Uklad == 2) {
            // Grouped: each pair of series shares a band; others stay in the band before them,
            // the first of all in the first band.
            if (k >= 1 && k <= 7) G = (k / 2 + 1) * E + 40;
        }
        pasma_ << TPasmo{k, E, G};
        if (model_.Uklad == 3) G += E;
    }
    return E;
}

// 4, 6. Dotted grid: vertical lines every 50 px (one division), horizontal ones at the bands.
void TScope::RysujSiatke(QPainter &g, int s, int E, const QRect &r) {
    const int H = height(), W = width();
    g.setPen(QPen(Kolor(paleta_.ScopeGrid), 1, Qt::DotLine));
    for (int x = 60; x < s; x += 50)
        if (x >= r.left() && x <= r.right()) g.drawLine(x, Gora, x, H - 40);
    if (pasma_.isEmpty()) return;
    for (int y = pasma_.first().G; y < H - 40; y += E)
        if (y >= r.top() && y <= r.bottom()) g.drawLine(10, y, W - 110, y);
}

// 7. Traces of the drawn channels and their labels. No trace is drawn into rows below trasyDo (the
// caller knows none reaches them) nor above the plot's top row, which none reaches.
void TScope::RysujKanaly(QPainter &g, int s, const QRect &r, int trasyDo) {
    if (!link_ || pasma_.isEmpty()) return;
    const TModelScope &m = model_;
    const int W = width();
    const double zoom = m.Zoom();
    const int krok = zoom <= 1 ? 1 + m.Przeskok() : 1;
    const int xKoniec = 1 + (s - 2) / krok * krok; // the last point's x
    int xa, xb;
    ZakresX(r, krok, xKoniec, xa, xb);
    const QFont bold10 = Czcionka(font(), 10, true);
    std::vector<int> dol, gora; // a channel's column extremes
    for (const TPasmo &pasmo : std::as_const(pasma_)) {
        TWykres &w = link_->Wykresy[size_t(pasmo.Seria)];
        const int G = pasmo.G, E = pasmo.E;
        // The points of the trace: one sample per point up to one sample per pixel, else one
        // min–max column per pixel, whose cost follows the width, not the samples.
        const int z = int(zoom);
        auto punkty = [&](int x, QPolygon &pts) {
            if (zoom <= 1) {
                const int i = int(std::trunc(x * zoom + m.First));
                pts << QPoint(x + 10, std::max(G - WartoscKanalu(w, m.Probka(i), E), Gora));
            } else {
                int lo, hi;
                m.ZakresKanalu(w, x * z + m.First, z, E, lo, hi);
                pts << QPoint(x + 10, std::max(G - lo, Gora)) << QPoint(x + 10, std::max(G - hi, Gora));
            }
        };
        QPolygon pts;
        if (r.bottom() >= Gora - 1 && r.top() <= trasyDo) {
            if (zoom <= 1) {
                pts.reserve((xb - xa) / krok + 1);
                for (int x = xa; x <= xb; x += krok)
                    punkty(x, pts);
            } else if (xb >= xa) { // the columns read together (krok is 1 here)
                const int n = xb - xa + 1;
                dol.resize(size_t(n));
                gora.resize(size_t(n));
                m.ZakresyKanalu(w, xa * z + m.First, z, n, E, dol.data(), gora.data());
                pts.resize(2 * n);
                QPoint *p = pts.data();
                for (size_t k = 0; k < size_t(n); ++k) {
                    *p++ = QPoint(xa + int(k) + 10, std::max(G - dol[k], Gora));
                    *p++ = QPoint(xa + int(k) + 10, std::max(G - gora[k], Gora));
                }
            }
        }
        const QColor c = Kolor(w.Colour);
        if (SiegaWierszy(pts, r)) Gruba(g, pts, c, 2);
        int y;
        if (m.Uklad == 1) {
            QPolygon ostatni; // the label follows the end of the trace
            if (xb == xKoniec && !pts.isEmpty())
                ostatni << pts.last();
            else if (xKoniec >= 1)
                punkty(xKoniec, ostatni);
            y = (ostatni.isEmpty() ? G : ostatni.last().y()) - 8;
        } else if (m.Uklad == 2) {
            y = (pasmo.Seria == 3 || pasmo.Seria == 5 || pasmo.Seria == 7) ? G - 32 : G - 16;
        } else {
            y = G - 8;
        }
        w.LabelRow = y;
        const QRect etykieta(W - 108, y, 108, 20);
        if (!etykieta.intersects(r)) continue;
        g.setFont(bold10);
        // The label in the trace's colour, lightened or darkened where that colour is hard to read.
        g.setPen(CzytelnaEtykieta(c, Kolor(paleta_.Background)));
        // The trailing spaces cover a longer text only where nothing is cleared first (the cursor
        // read-outs); here they would only cost shaping.
        g.drawText(etykieta, Qt::AlignLeft | Qt::AlignTop, TekstKanalu(w, m.Probka(m.Ile() - 1)).chopped(26));
    }
}

// 8. Work-state bar along the bottom of the plot, 4 px high: each run of one state one rectangle.
void TScope::RysujPasekStanu(QPainter &g, int s, const QRect &r) {
    if (!link_) return;
    const TModelScope &m = model_;
    const int y = height() - 45;
    if (r.bottom() < y - 2 || r.top() > y + 1) return;
    const double zoom = m.Zoom();
    const int krok = zoom < 1 ? 1 + m.Przeskok() : 1;
    int xa, xb;
    ZakresX(r, krok, s - 1, xa, xb);
    // The segment up to x takes the colour of the sample at x, as a pen moving there would; the
    // first one starts at the plot's edge.
    int od = -1, stanRun = -1, poprzedni = xa == 1 ? 0 : xa - krok;
    auto zamknij = [&](int doX) {
        if (od >= 0 && doX > od)
            g.fillRect(QRect(od + 10, y - 2, doX - od, 4), Kolor(link_->KolorStanuPracy(stanRun)));
    };
    for (int x = xa; x <= xb; x += krok) {
        const int stan = StanPracy(int(std::trunc(x * zoom + m.First)));
        if (stan != stanRun || od < 0) {
            zamknij(poprzedni);
            od = stan < 0 ? -1 : poprzedni;
            stanRun = stan;
        }
        poprzedni = x;
    }
    zamknij(poprzedni);
}

// 9. Seconds per division, the time at the right edge and the work state there.
void TScope::RysujTeksty(QPainter &g, const QRect &r, int ktore) {
    const TModelScope &m = model_;
    const int W = width(), H = height();
    if (r.bottom() < H - 60) return;
    g.setPen(Kolor(paleta_.Text));
    g.setFont(Czcionka(font(), 8, false));
    if (ktore & Dzialka)
        g.drawText(QRect(10, H - 40, std::max(W - 120, 200), 20), Qt::AlignLeft | Qt::AlignTop,
                   m.TekstDzialki());
    if (ktore & Czas)
        g.drawText(QRect(0, H - 40, std::max(W - 110, 0), 20), Qt::AlignRight | Qt::AlignTop, m.TekstCzasu());
    const int stan = StanPracy(m.Last - 1);
    if ((ktore & Stan) && stan >= 0 && link_ && r.right() >= W - 108) {
        g.setFont(Czcionka(font(), 8, true));
        g.drawText(QRect(W - 108, H - 52, 108, 20), Qt::AlignLeft | Qt::AlignTop,
                   link_->StrStanPracy(stan, 0));
    }
}
