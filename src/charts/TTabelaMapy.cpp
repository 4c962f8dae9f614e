#include "charts/TTabelaMapy.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {
QColor Rgb(uint32_t v) {
    return QColor(int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF));
}
} // namespace

TTabelaMapy::TTabelaMapy(QWidget *parent, bool selectable) : QWidget(parent), wybor_(selectable) {
    setFocusPolicy(selectable ? Qt::StrongFocus : Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TTabelaMapy::Uklad(int d, int b) {
    d_ = std::max(2, d);
    b_ = std::max(2, b);
    resize(17 * d_ + 4, 17 * b_ + 4);
}

QRect TTabelaMapy::Komorka(int col, int row) const {
    return QRect(2 + col * d_, 2 + row * b_, d_ - 1, b_ - 1);
}

void TTabelaMapy::OdswiezKomorke(int col, int row) {
    if (col >= 0 && col < 17 && row >= 0 && row < 17) update(Komorka(col, row).adjusted(-1, -1, 1, 1));
}

void TTabelaMapy::UstawBlok(int c0, int r0, int c1, int r1) {
    auto k = [](int v) { return std::clamp(v, 1, 16); };
    ac_ = k(c0);
    ar_ = k(r0);
    kc_ = k(c1);
    kr_ = k(r1);
    update();
}

bool TTabelaMapy::Pozycja(QPoint p, int &col, int &row) const {
    col = (p.x() - 2) / d_;
    row = (p.y() - 2) / b_;
    return p.x() >= 2 && p.y() >= 2 && col < 17 && row < 17;
}

void TTabelaMapy::paintEvent(QPaintEvent *e) {
    // New fonts: every text is laid out again.
    if (ukladF_[0] != FontRogu || ukladF_[1] != FontKomorki) {
        ukladF_[0] = FontRogu;
        ukladF_[1] = FontKomorki;
        for (auto &w : ukladZ_)
            for (QString &z : w)
                z.clear();
    }
    QPainter g(this);
    g.fillRect(e->rect(), QColor(160, 160, 160));
    const QRect ramka = Ramka ? Ramka() : QRect();
    for (int row = 0; row < 17; ++row)
        for (int col = 0; col < 17; ++col) {
            const QRect r = Komorka(col, row);
            if (!r.intersects(e->rect())) continue;
            uint32_t bg = 0xFFFFFF, fg = 0;
            if (Kolory) Kolory(col, row, bg, fg);
            if (!ramka.isEmpty() && ramka.contains(col, row)) {
                g.fillRect(r, QColor(255, 0, 255));
                QRect in = r.adjusted(col == ramka.left() ? 2 : 0, row == ramka.top() ? 2 : 0,
                                      col == ramka.right() ? -2 : 0, row == ramka.bottom() ? -2 : 0);
                g.fillRect(in, Rgb(bg));
            } else {
                g.fillRect(r, Rgb(bg));
            }
            const QString &t = Tekst[col][row];
            if (t.isEmpty()) continue;
            const bool rog = col == 0 && row == 0;
            const QFont &f = rog ? FontRogu : FontKomorki;
            QStaticText &st = uklad_[col][row];
            if (ukladZ_[col][row] != t) {
                ukladZ_[col][row] = t;
                st.setText(t);
                st.setTextFormat(Qt::PlainText);
                st.prepare(QTransform(), f);
            }
            if (g.font() != f) g.setFont(f);
            g.setPen(Rgb(fg));
            const QSizeF sz = st.size();
            const bool naglowek = col == 0 || row == 0;
            const double x = naglowek || !PrawyDoPrawej ? r.x() + (r.width() - sz.width()) / 2
                                                        : r.right() - 1 - sz.width();
            // The fonts are chosen to fit the cells, so no clipping is needed.
            g.drawStaticText(QPointF(x, r.y() + (r.height() - sz.height()) / 2), st);
        }
}

void TTabelaMapy::mousePressEvent(QMouseEvent *e) {
    int col, row;
    if (!Pozycja(e->position().toPoint(), col, row)) return;
    if (e->button() == Qt::RightButton) {
        if (wybor_ && col >= 1 && row >= 1) {
            setFocus(Qt::MouseFocusReason);
            if (!Blok().contains(col, row)) UstawBlok(col, row, col, row);
        }
        if (OnMenu) OnMenu(e->globalPosition().toPoint());
        return;
    }
    if (wybor_ && col >= 1 && row >= 1) {
        setFocus(Qt::MouseFocusReason);
        if (e->modifiers() & Qt::ShiftModifier)
            UstawBlok(ac_, ar_, col, row);
        else
            UstawBlok(col, row, col, row);
    }
    if (OnKlik) OnKlik(col, row);
}

void TTabelaMapy::mouseMoveEvent(QMouseEvent *e) {
    int col, row;
    if (!wybor_ || !(e->buttons() & Qt::LeftButton) || !Pozycja(e->position().toPoint(), col, row)) return;
    if (col >= 1 && row >= 1 && (col != kc_ || row != kr_)) UstawBlok(ac_, ar_, col, row);
}

void TTabelaMapy::keyPressEvent(QKeyEvent *e) {
    const auto mods = e->modifiers();
    const bool edycja = mods & (Qt::ControlModifier | Qt::AltModifier);
    if (wybor_ && !edycja) {
        int dc = 0, dr = 0;
        switch (e->key()) {
        case Qt::Key_Left: dc = -1; break;
        case Qt::Key_Right: dc = 1; break;
        case Qt::Key_Up: dr = -1; break;
        case Qt::Key_Down: dr = 1; break;
        default: break;
        }
        if (dc || dr) {
            const int c = std::clamp(kc_ + dc, 1, 16), r = std::clamp(kr_ + dr, 1, 16);
            if (mods & Qt::ShiftModifier)
                UstawBlok(ac_, ar_, c, r);
            else
                UstawBlok(c, r, c, r);
        }
    }
    if (OnKlawisz) OnKlawisz(e->key(), mods);
    e->accept();
}

void TTabelaMapy::focusInEvent(QFocusEvent *) {
    update();
}
void TTabelaMapy::focusOutEvent(QFocusEvent *) {
    update();
}
