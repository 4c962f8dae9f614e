#include "scope/TLamana.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {
constexpr int Poczatek = 1, Koniec = 2; // the square cap at a segment's start, at its end
// The way the last segment went: along y (down, up) or along x (right, left).
enum { Brak = 0, WDol = 1, WGore = 2, WPrawo = 4, WLewo = 8 };

struct TPiksel {
    int x, y;
    bool operator==(const TPiksel &) const = default;
};

class TKreslarz {
public:
    TKreslarz(uint32_t *bits, qsizetype wiersz, const QRect &clip, uint32_t kolor, int width)
        : bits_(bits), wiersz_(wiersz), clip_(clip), kolor_(kolor), width_(width) {}

    void Lamana(const QPoint *pts, int n) {
        // A polyline ending where it starts is closed: no caps, and its first joint is the one
        // with its last segment.
        const bool zamknieta = pts[0] == pts[n - 1];
        if (zamknieta) Odcinek(pts[n > 2 ? n - 2 : n - 1], pts[0], 0, false);
        int konce = zamknieta ? 0 : Poczatek;
        for (int i = 1; i < n; ++i) {
            if (!zamknieta && i == n - 1) konce |= Koniec;
            Odcinek(pts[i - 1], pts[i], konce, true);
            konce = 0; // a zero-length segment uses up its cap too
        }
    }

private:
    // One segment from p to q. Along its major axis `a` (rows of a steep segment) one pixel per
    // unit, across it `b` in 16.16 fixed point; `rysuj` false only works out where it ends.
    void Odcinek(QPoint p, QPoint q, int konce, bool rysuj) {
        const bool pion = std::abs(q.x() - p.x()) < std::abs(q.y() - p.y());
        int a1 = pion ? p.y() : p.x(), a2 = pion ? q.y() : q.x();
        int b1 = pion ? p.x() : p.y(), b2 = pion ? q.x() : q.y();
        if (a1 == a2) return; // zero length: nothing drawn, nothing carried on
        auto piksel = [pion](int64_t b, int a) {
            return pion ? TPiksel{int(b >> 16), a} : TPiksel{a, int(b >> 16)};
        };
        int kier = pion ? WDol : WPrawo;
        const bool wstecz = a1 > a2;
        if (wstecz) {
            std::swap(a1, a2);
            std::swap(b1, b2);
            konce = (konce & Poczatek) << 1 | (konce & Koniec) >> 1;
            kier = pion ? WGore : WLewo;
        }
        // Across per unit along, in 16.16: with whole-pixel ends the quotient of the pixel distances,
        // in 32 bits for pictures up to 16 384 pixels; columns and one-pixel steps need no division.
        const int da = a2 - a1, db = b2 - b1;
        const int64_t inc = db == 0 ? 0 : da == 1 ? db * 65536 : db * 65536 / da;
        int64_t b = int64_t(b1) * 65536;
        a1 *= 64; // 26.6 from here on
        a2 *= 64;
        // Turning back along the same axis caps the joint.
        if ((kierunek_ ^ (pion ? WDol | WGore : WPrawo | WLewo)) == kier) konce |= wstecz ? Koniec : Poczatek;
        if (konce & Poczatek) {
            a1 -= 32;
            b -= inc >> 1;
        }
        if (konce & Koniec) a2 += 32;
        int a = (a1 + 32) >> 6, az = (a2 + 32) >> 6;
        if ((konce & Poczatek) && (pion ? ostatni_.y : ostatni_.x) == a + 1) ++a;
        if (a == az) return;
        b += int64_t(a * 64 + (inc > 0 ? 32 : 0) - a1) * inc >> 6;
        TPiksel pierwszy = piksel(b, a), ostatni = piksel(b + (az - a - 1) * inc, az - 1);
        if (wstecz) std::swap(pierwszy, ostatni);
        const bool osiowy = std::abs(inc) < (1 << 14);
        // The joint with the segment before. (The painter has one more rule, for two segments the
        // same way whose pixels lie two rows apart; with whole-pixel ends and no clipping that
        // cannot happen.)
        if (ostatni_.x > INT_MIN) {
            const int dx = std::abs(ostatni_.x - pierwszy.x), dy = std::abs(ostatni_.y - pierwszy.y);
            if (pierwszy == ostatni_) { // the joint's pixel once only
                if (wstecz) {
                    --az;
                } else {
                    ++a;
                    b += inc;
                }
            } else if (kierunek_ != kier && ((osiowy && osiowy_ && dx != 0 && dy != 0) || dx > 1 || dy > 1)) {
                if (wstecz) { // a gap at the joint: one more pixel
                    ++az;
                } else {
                    --a;
                    b -= inc;
                }
            }
        }
        kierunek_ = kier;
        osiowy_ = osiowy;
        // At least one pixel, even where the joint took the only one.
        if (rysuj) pion ? Wiersze(a, std::max(az, a + 1), b, inc) : Kolumny(a, std::max(az, a + 1), b, inc);
        ostatni_ = ostatni;
    }

    // Rows y0 … y1 − 1 of a steep segment at x = b >> 16, b + inc >> 16, …: the shape of a trace
    // at high zoom, so written without a test per pixel wherever the whole run, all `width` pixels
    // of every row, is inside the clip.
    void Wiersze(int y0, int y1, int64_t b, int64_t inc) {
        const int od = std::max(y0, clip_.top()), doY = std::min(y1, clip_.bottom() + 1);
        if (od >= doY) return;
        b += (od - y0) * inc;
        uint32_t *w = bits_ + od * wiersz_;
        const int xa = int(b >> 16), xb = int((b + (doY - od - 1) * inc) >> 16);
        if (std::min(xa, xb) >= clip_.left() && std::max(xa, xb) + width_ - 1 <= clip_.right()) {
            if (inc == 0) {
                Kolumna(w + xa, doY - od);
                return;
            }
            for (int y = od; y < doY; ++y, w += wiersz_, b += inc)
                Kolumna(w + (b >> 16), 1);
            return;
        }
        for (int y = od; y < doY; ++y, w += wiersz_, b += inc)
            Piksele(w, int(b >> 16));
    }
    // n rows of the `width` pixels from p down.
    void Kolumna(uint32_t *p, int n) const {
        const uint32_t k = kolor_; // locals: the pixels written could alias the members
        const qsizetype s = wiersz_;
        if (width_ == 2)
            for (int i = 0; i < n; ++i, p += s)
                p[0] = p[1] = k;
        else
            for (int i = 0, w = width_; i < n; ++i, p += s)
                std::fill_n(p, w, k);
    }
    // Columns x0 … x1 − 1 of a flat segment at y = b >> 16, b + inc >> 16, …
    void Kolumny(int x0, int x1, int64_t b, int64_t inc) {
        for (int x = x0; x < x1; ++x, b += inc) {
            const int y = int(b >> 16);
            if (y >= clip_.top() && y <= clip_.bottom()) Piksele(bits_ + y * wiersz_, x);
        }
    }
    // The `width` pixels from x of row w within the clip.
    void Piksele(uint32_t *w, int x) {
        for (int i = std::max(x, clip_.left()); i <= std::min(x + width_ - 1, clip_.right()); ++i)
            w[i] = kolor_;
    }

    uint32_t *bits_;
    qsizetype wiersz_;
    QRect clip_;
    uint32_t kolor_;
    int width_;
    int kierunek_ = Brak;
    bool osiowy_ = false; // the last segment within a quarter pixel of its axis
    TPiksel ostatni_{INT_MIN, INT_MIN};
};
} // namespace

bool LamanaWprost(QPainter &g, const QPoint *pts, int n, const QColor &c, int width) {
    if (n < 2 || width < 1 || !g.isActive() || !g.device() || g.device()->devType() != QInternal::Image)
        return false;
    auto *img = static_cast<QImage *>(g.device());
    if ((img->format() != QImage::Format_RGB32 && img->format() != QImage::Format_ARGB32_Premultiplied) ||
        img->devicePixelRatio() != 1.0 || !img->isDetached() || img->width() > 16384 || img->height() > 16384)
        return false;
    if (c.alpha() != 255 || g.opacity() != 1.0 || (g.renderHints() & QPainter::Antialiasing) ||
        g.compositionMode() != QPainter::CompositionMode_SourceOver ||
        g.combinedTransform().type() != QTransform::TxNone)
        return false;
    QRect clip = img->rect();
    if (g.hasClipping()) {
        // One rectangle, not a path that only comes close to one.
        const QRegion obszar = g.clipRegion();
        if (obszar.isEmpty() && g.clipBoundingRect().isEmpty()) return true; // nothing gets through
        if (obszar.rectCount() > 1 || QRectF(obszar.boundingRect()) != g.clipBoundingRect()) return false;
        clip &= obszar.boundingRect();
    }
    // Within a pixel of the image the painter does not clip the line itself.
    const int W = img->width(), H = img->height();
    for (int i = 0; i < n; ++i)
        if (pts[i].x() < -1 || pts[i].x() + width - 1 > W + 1 || pts[i].y() < -1 || pts[i].y() > H + 1)
            return false;
    if (clip.isEmpty()) return true;
    // The painter writes into this same buffer (the image is not shared).
    auto *bits = reinterpret_cast<uint32_t *>(const_cast<uchar *>(img->constBits()));
    TKreslarz(bits, img->bytesPerLine() / 4, clip, c.rgba(), width).Lamana(pts, n);
    return true;
}
