// A live sample at a zoom where one sample is a whole number of pixels wide (0.1, 0.2 and 1 sample
// per pixel) moves every trace and the work-state bar left by those pixels and changes nothing else
// in the plot but its two ends. So the plot is moved instead of composed again, and only what the
// move cannot give is composed anew over the unchanging background, each part exactly as the whole
// picture has it there:
//   - both ends of the plot, with everything right of it (labels, state pictures, texts),
//   - the overview strip above the plot and the texts below it,
//   - the dotted grid inside the plot, which stays where it is while the traces move over it.
// Whatever the move could get wrong composes the whole picture instead: another window on the
// recording, a trace reaching out of the plot or drawn in a grid colour, any other change of the view.
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "scope/TScope.h"

#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {
constexpr int Gora = 40;
// Pixels one sample moves the traces at each zoom index; 0 where that is not a whole number.
constexpr int Przesuniecia[TModelScope::IleZoomow] = {10, 5, 0, 1, 0, 0, 0, 0, 0};
int Przesuniecie(int zoomIndeks) {
    return Przesuniecia[std::clamp(zoomIndeks, 0, TModelScope::IleZoomow - 1)];
}

// Rectangle r of `z` onto `do_` (same size and format).
void Kopiuj(const QImage &z, QImage &do_, const QRect &r) {
    const uchar *zr = z.constBits();
    uchar *dr = do_.bits();
    const qsizetype bpl = do_.bytesPerLine();
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(dr + y * bpl + r.left() * 4, zr + y * bpl + r.left() * 4, size_t(r.width()) * 4);
}
} // namespace

QByteArray TScope::KluczKlatki() const {
    QByteArray k;
    auto dodaj = [&k](const auto &v) { k.append(reinterpret_cast<const char *>(&v), sizeof v); };
    dodaj(width());
    dodaj(height());
    for (uint32_t c : {paleta_.Background, paleta_.ScopeBackground, paleta_.ScopeGrid, paleta_.Text})
        dodaj(Kolor(c).rgb());
    dodaj(model_.ZoomIndeks);
    dodaj(model_.Uklad);
    dodaj(model_.Stan);
    dodaj(bool(link_ && link_->ScopeFile));
    dodaj(LangLanguage());
    k += QLocale().decimalPoint().toUtf8();
    k += font().key().toUtf8();
    QList<int> serie = Kanaly();
    serie << 0 << 1; // the work state and the strip's engine speed
    for (int n : serie) {
        const TWykres *w = Seria(n);
        if (!w) continue;
        dodaj(n);
        dodaj(w->Position);
        dodaj(w->RawType);
        dodaj(w->Scale);
        dodaj(w->Gain);
        dodaj(w->Colour);
        dodaj(w->Decimals);
        dodaj(w->LabelId);
    }
    return k;
}

// Whether the picture as it stands is one the move can go on from: live at a zoom that moves by
// whole pixels, the window inside the recording (so the work-state bar has every sample's state),
// the traces within rows 40 … H − 43 (their pixels then keep off the texts under the plot).
bool TScope::TrasyWPlocie(std::vector<std::pair<int, int>> &wiersze) const {
    const TModelScope &m = model_;
    const int s = width() - 120, krok = 1 + m.Przeskok();
    wiersze.clear();
    if (m.Stan != TModelScope::Live || Przesuniecie(m.ZoomIndeks) == 0 || m.First < 0 || s < 2) return false;
    const int xKoniec = 1 + (s - 2) / krok * krok;
    const int n = int(std::trunc(xKoniec * m.Zoom())) + 1; // samples under the points
    const TWykres *stan = Seria(0);
    int lo, hi;
    if (!stan || m.First + n > m.Ile()) return false;
    m.ZakresKanalu(*stan, m.First, n, 0, lo, hi);
    if (lo < 0) return false; // a state the bar leaves out
    for (const TPasmo &p : pasma_) {
        m.ZakresKanalu(*Seria(p.Seria), m.First, n, p.E, lo, hi);
        const int y0 = std::max(p.G - hi, Gora), y1 = std::max(p.G - lo, Gora);
        if (y1 > height() - 43) return false;
        wiersze.emplace_back(y0 - 1, y1 + 1); // the rasteriser may add a pixel beside a segment's end
    }
    return true;
}

void TScope::ZapamietajKlatke() {
    klatka_.Klucz = KluczKlatki();
    klatka_.PierwszaProbka = model_.Dodane() - model_.Ile() + model_.First;
    std::vector<std::pair<int, int>> wiersze;
    klatka_.WPlocie = pasekYmax_ <= Gora - 3 && TrasyWPlocie(wiersze);
    klatka_.Czas = model_.TekstCzasu();
    klatka_.Wazna = true;
}

bool TScope::PrzesunNaZywo() {
    TModelScope &m = model_;
    const int W = width(), H = height(), s = W - 120;
    if (!PrzesuwajNaZywo || !klatka_.Wazna || !klatka_.WPlocie || m.Stan != TModelScope::Live ||
        obraz_.size() != size() || !link_ || !isVisible())
        return false;
    const int piksele = Przesuniecie(m.ZoomIndeks);
    const int krok = 1 + m.Przeskok();
    if (piksele == 0 || H < 160 || s < 200) return false;
    const int last = m.Ile(), first = int(std::trunc(last - s * m.Zoom()));
    // One new sample since the picture: the picture moves by one sample.
    if (first < 0 || m.Dodane() - m.Ile() + first != klatka_.PierwszaProbka + 1) return false;
    const int d = piksele;
    // Columns the move gives: right of where the start of the traces has its say, left of where
    // their old and new ends do.
    const int xKoniec = 1 + (s - 2) / krok * krok;
    const int xL = 11 + 3 * krok + 4, xR = xKoniec + 10 - d - 2 * krok - 4;
    if (xR - xL < 50 || KluczKlatki() != klatka_.Klucz) return false;
    const QRgb tloPlotu = Kolor(paleta_.ScopeBackground).rgb(), siatka = Kolor(paleta_.ScopeGrid).rgb();
    auto jakTlo = [&](uint32_t c) {
        const QRgb v = Kolor(c).rgb();
        return v == tloPlotu || v == siatka;
    };
    for (const TPasmo &p : pasma_)
        if (jakTlo(link_->Wykresy[size_t(p.Seria)].Colour)) return false;
    m.Last = last;
    m.First = first;
    std::vector<std::pair<int, int>> wiersze;
    if (!TrasyWPlocie(wiersze)) return false;
    // Rows where a trace or the bar moves; every other row of the plot shows the background in both
    // pictures (what the old one shows between the ends is still in the new one's window).
    const int pasekOd = H - 47, pasekDo = H - 44;
    std::vector<char> ruch(size_t(H), 0);
    wiersze.emplace_back(pasekOd, pasekDo);
    for (const auto &[a, b] : wiersze)
        std::fill(ruch.begin() + std::clamp(a, 0, H), ruch.begin() + std::clamp(b + 1, 0, H), 1);

    if (tlo_.size() != size() || tloKlucz_ != klatka_.Klucz) {
        tlo_ = QImage(size(), QImage::Format_RGB32);
        QPainter t(&tlo_);
        RysujTlo(t, tlo_.rect());
        tloKlucz_ = klatka_.Klucz;
    }
    // The plot moves; where the background under it differs from the background d pixels on (the
    // grid), a pixel that showed the background shows its own again.
    const int y0 = Gora - 1, y1 = H - 41;
    auto *obraz = reinterpret_cast<QRgb *>(obraz_.bits());
    const auto *tlo = reinterpret_cast<const QRgb *>(std::as_const(tlo_).bits());
    const qsizetype wiersz = obraz_.bytesPerLine() / 4;
    // The work-state bar covers its rows from end to end (every sample of the window has a state),
    // so nothing of the background shows there.
    for (int y = y0; y <= y1; ++y) {
        if (!ruch[size_t(y)]) continue;
        QRgb *o = obraz + y * wiersz;
        std::memmove(o + xL, o + xL + d, size_t(xR - xL + 1) * sizeof(QRgb));
        if (y >= pasekOd && y <= pasekDo) continue;
        const QRgb *t = tlo + y * wiersz;
        auto popraw = [&](int x) {
            if (o[x] == t[x + d]) o[x] = t[x];
        };
        for (int X = 60; X < s; X += 50)
            for (int x : {X, X - d})
                if (x >= xL && x <= xR) popraw(x);
        if (!pasma_.isEmpty() && y >= pasma_.first().G && (y - pasma_.first().G) % pasma_.first().E == 0 &&
            y < H - 40)
            for (int x = xL; x <= xR; ++x)
                popraw(x);
    }

    // The rest anew over the background: strip and texts above and below the moved part, then
    // both ends from top to bottom.
    pasekYmax_ = INT_MIN;
    const QRect czesci[] = {QRect(xL, 0, xR - xL + 1, y0), QRect(xL, y1 + 1, xR - xL + 1, H - y1 - 1),
                            QRect(0, 0, xL, H), QRect(xR + 1, 0, W - xR - 1, H)};
    // Under the moved part only the time can change (the texts' other parts lie at the ends).
    const bool czas = model_.TekstCzasu() != klatka_.Czas;
    QPainter g(&obraz_);
    for (const QRect &r : czesci) {
        if (r.top() > y1 && r.left() == xL && !czas) continue;
        Kopiuj(tlo_, obraz_, r);
        g.setClipRect(r);
        // The strip's middle, drawn first, must keep above the moved part and the texts under it.
        const bool dol = r.top() > y1 && r.left() == xL;
        RysujRuchome(g, r, !dol, y1 - 1);
        if (pasekYmax_ > Gora - 3) return false;
    }
    g.end();
    kursorX_ = -1;
    // The key was checked and the traces found inside the plot above: only the window and the time
    // move on.
    klatka_.PierwszaProbka = m.Dodane() - m.Ile() + m.First;
    klatka_.Czas = m.TekstCzasu();
    ++przesuniecia_;
    update();
    return true;
}
