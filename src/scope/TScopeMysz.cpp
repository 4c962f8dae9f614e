// The mouse over the scope view (not while live): a cursor line with the read-outs of every drawn
// channel at that time, and a click on the overview strip that moves the window there.
#include "device/Liczby.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "scope/TScope.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {
const QString Spacje26(26, QLatin1Char(' '));

// Text on the panel colour, so that it covers the read-out before it.
void Napis(QPainter &g, const QRect &r, int flags, const QString &text, const QColor &tlo) {
    g.fillRect(g.boundingRect(r, flags, text), tlo);
    g.drawText(r, flags, text);
}
} // namespace

void TScope::Odczyty(int x) {
    if (obraz_.size() != size()) return;
    const TModelScope &m = model_;
    const int W = width(), H = height();
    const int i = int(std::trunc((x - 10) * m.Zoom())) + m.First;
    const QColor tlo = Kolor(paleta_.Background);
    QPainter g(&obraz_);
    QFont f = font();
    f.setPointSize(8);
    g.setFont(f);
    g.setPen(Kolor(paleta_.Text));
    QString czas = Spacje26;
    if (i >= 0) czas += FormatLiczby(i * 0.1, 1) + QStringLiteral(" [s]");
    Napis(g, QRect(0, H - 40, std::max(W - 110, 0), 20), Qt::AlignRight | Qt::AlignTop, czas, tlo);
    f.setBold(true);
    g.setFont(f);
    QString stan;
    const int sp = StanPracy(i);
    if (sp >= 0 && link_) stan = link_->StrStanPracy(sp, 0);
    Napis(g, QRect(W - 108, H - 52, 108, 20), Qt::AlignLeft | Qt::AlignTop, stan + Spacje26, tlo);
    f.setPointSize(10);
    g.setFont(f);
    for (const TPasmo &p : pasma_) {
        const TWykres *w = Seria(p.Seria);
        if (!w) continue;
        g.setPen(Czytelny(Kolor(w->Colour), tlo));
        Napis(g, QRect(W - 108, w->LabelRow, 108, 20), Qt::AlignLeft | Qt::AlignTop,
              TekstKanalu(*w, m.Probka(i)), tlo);
    }
}

void TScope::mouseMoveEvent(QMouseEvent *e) {
    if (model_.Stan == TModelScope::Live) return;
    const int x = int(e->position().x()), y = int(e->position().y());
    const int W = width(), H = height();
    if (!(x > 10 && x < W - 110 && y > 40 && y < H - 40)) return;
    Odczyty(x);
    kursorX_ = x;
    update();
}

void TScope::mousePressEvent(QMouseEvent *e) {
    if (model_.Stan == TModelScope::Live) return;
    wcisniecieX_ = int(e->position().x());
    wcisniecieY_ = int(e->position().y());
}

void TScope::mouseReleaseEvent(QMouseEvent *e) {
    if (model_.Stan == TModelScope::Live) return;
    const int x = int(e->position().x()), y = int(e->position().y());
    const bool pressed = wcisniecieX_ >= 0;
    wcisniecieX_ = wcisniecieY_ = -1;
    const int s = width() - 120;
    if (!pressed || s <= 0 || !(x > 10 && x < width() - 110 && y < 40)) return;
    TModelScope &m = model_;
    // The strip starts at x = 10, as the plot does: the click names the sample under it.
    int b = int(qint64(x - 10) * m.Ile() / s);
    if (m.First >= 0) {
        const int c = (m.Last - m.First) / 2;
        b = b < c ? 2 * c : b + c;
    }
    m.Last = std::min(b, m.Ile());
    RysujOscyloskop(false);
}
