// Keys and mouse of the charts: knots of the multiplier curve (mode 0), points of the correction
// curves (modes 2-4). Every change is processed, written and drawn at once.
#include "charts/TGrafika.h"
#include "device/TDziennik.h"
#include "device/TSterownik.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <algorithm>

using namespace Wykres2D;

void TGrafika::KlawiszMapy(int key, Qt::KeyboardModifiers mods) {
    if (!isVisible()) return;
    if (KlawiszArkusza(key, mods)) return;
    TZmiana krok(Dziennik(), MaskaWidoku(), OpisKlawisza(key, mods));
    if (Tabela()) {
        KlawiszTabeli(key, mods);
        return;
    }
    if (!Wykres() || !Fokus()) return;
    const bool ctrl = mods & Qt::ControlModifier;
    if (ctrl && key == Qt::Key_Left) key = Qt::Key_PageDown;
    if (ctrl && key == Qt::Key_Right) key = Qt::Key_PageUp;
    bool ok = true, zmiana = false;
    if (tryb_ == 0) {
        TMnoznik m = Mnoznik();
        switch (key) {
        case Qt::Key_PageUp: ok = m.Nastepny(); break;
        case Qt::Key_PageDown: ok = m.Poprzedni(); break;
        case Qt::Key_Home: m.wybrany = 0; break;
        case Qt::Key_End: m.wybrany = Wykres2D::Wezly - 1; break;
        case Qt::Key_Left: zmiana = m.wybrany >= 1 && m.wybrany <= 24, ok = m.Lewo(); break;
        case Qt::Key_Right: zmiana = m.wybrany >= 1 && m.wybrany <= 24, ok = m.Prawo(); break;
        case Qt::Key_Up: ok = m.Zmien(1), zmiana = true; break;
        case Qt::Key_Down: ok = m.Zmien(-1), zmiana = true; break;
        case Qt::Key_Insert: ok = m.Wstaw(), zmiana = ok; break;
        case Qt::Key_Delete: ok = m.Usun(), zmiana = ok; break;
        default: return;
        }
        wezel_ = m.wybrany;
        if (zmiana) Zapisz(3);
    } else {
        TKorekta k = Korekta();
        switch (key) {
        case Qt::Key_PageUp: ok = k.Nastepny(); break;
        case Qt::Key_PageDown: ok = k.Poprzedni(); break;
        case Qt::Key_Home: k.wybrany = 0; break;
        case Qt::Key_End: k.wybrany = Punkty - 1; break;
        case Qt::Key_Left: ok = zmiana = k.Lewo(); break;
        case Qt::Key_Right: ok = zmiana = k.Prawo(); break;
        case Qt::Key_Up: ok = k.Zmien(1), zmiana = true; break;
        case Qt::Key_Down: ok = k.Zmien(-1), zmiana = true; break;
        case Qt::Key_Insert: ok = zmiana = k.Wstaw(); break;
        case Qt::Key_Delete: ok = zmiana = k.Usun(); break;
        default: return;
        }
        punkt_ = k.wybrany;
        if (zmiana) {
            s_->CurveSelected = k.Id();
            Zapisz(tryb_ == 2 ? 512 : tryb_ == 3 ? 1024 : 256);
        }
    }
    if (!ok) Beep();
    Rysuj();
}

void TGrafika::mousePressEvent(QMouseEvent *e) {
    gest_ = Dziennik() ? Dziennik()->NowyGest() : 0;
    TZmiana krok(Dziennik(), MaskaWidoku(), OpisWidoku(), gest_);
    Nacisnij(e->position().toPoint(), e->button());
}

void TGrafika::Nacisnij(QPoint p, Qt::MouseButton button) {
    const TObszar &o = o_;
    chwyt_ = QPoint(-1, -1); // a drag starts only from a press that picks a knot or point
    if (!Wykres() || !o.Rysowalny()) return;
    const int x = p.x(), y = p.y();
    if (tryb_ == 0) {
        const int skala = s_->MultiplierScale;
        const bool szeroki = Item(ItemZakres) & 1;
        const int e = (height() - 14) / 2;
        if (x > width() - 32) {
            int d = 0;
            if (y > e - 32 && y < e - 2) d = 1;
            if (y > e + 2 && y < e + 32) d = -1;
            if (d) {
                TMnoznik m = Mnoznik();
                m.wybrany = -1; // every knot
                m.Zmien(d);
                Zapisz(3);
                Rysuj();
            }
            return;
        }
        if (skala <= 0 || !QRect(o.left - 5, o.top() - 5, o.w + 11, o.h + 11).contains(p)) return;
        pole_->setFocus(Qt::MouseFocusReason);
        const int xr = (x - o.left) * skala / o.w;
        const int yr = szeroki ? (o.bottom - y) * 256 / o.h : (o.bottom - y) * 100 / o.h + 50;
        TMnoznik m = Mnoznik();
        if (button == Qt::RightButton) {
            if (!m.WstawW(xr)) {
                Beep();
            } else {
                Zapisz(3);
            }
            wezel_ = m.wybrany;
        } else {
            // The knots are drawn with the adaptation offset: pick them where they are drawn.
            wezel_ = m.Najblizszy(xr, yr - PrzesuniecieWezlow());
            if (wezel_ >= 0) Chwyc(p);
        }
        Rysuj();
        return;
    }
    if (!QRect(o.left, o.top(), o.w + 1, o.h + 1).contains(p)) return;
    pole_->setFocus(Qt::MouseFocusReason);
    const int yr = (o.bottom - y) * 128 / o.h + 64;
    const int xr = tryb_ == 4 ? (x - o.left) * 200 / o.w + 50 : (x - o.left) * 130 / o.w + 98;
    TKorekta k = Korekta();
    if (button == Qt::RightButton) {
        if (k.WstawW(xr)) {
            s_->CurveSelected = k.Id();
            Zapisz(tryb_ == 2 ? 512 : tryb_ == 3 ? 1024 : 256);
        }
        punkt_ = k.wybrany;
    } else {
        punkt_ = k.Najblizszy(xr, yr);
        if (punkt_ >= 0) Chwyc(p);
    }
    Rysuj();
}

void TGrafika::mouseMoveEvent(QMouseEvent *e) {
    if (!(e->buttons() & Qt::LeftButton)) return;
    TZmiana krok(Dziennik(), MaskaWidoku(), OpisWidoku(), gest_);
    Przeciagnij(e->position().toPoint());
}

void TGrafika::Chwyc(QPoint p) {
    chwyt_ = p;
    ciagnie_ = false;
}

void TGrafika::Przeciagnij(QPoint p) {
    const TObszar &o = o_;
    if (!o.Rysowalny() || !Fokus() || chwyt_.x() < 0) return;
    // A shake of the hand while clicking is no drag.
    if (!ciagnie_ && (p - chwyt_).manhattanLength() < ProgPrzeciagania) return;
    ciagnie_ = true;
    if (tryb_ == 0) {
        const int skala = s_->MultiplierScale;
        if (wezel_ < 0 || skala <= 0) return;
        TMnoznik m = Mnoznik();
        const int yr = m.Szeroki() ? (o.bottom - p.y()) * 256 / o.h : (o.bottom - p.y()) * 100 / o.h + 50;
        int x = m.X(wezel_);
        // Knots 0 and 25 keep their x; the others stay inside the axis.
        if (wezel_ >= 1 && wezel_ <= 24)
            x = std::clamp((p.x() - o.left) * skala / o.w, 1, std::max(1, skala - 1));
        s_->Nastawy[ItemWezly + wezel_] = uint8_t(wezel_ == 0 ? 0 : x);
        s_->Mnoznik1[x] = uint8_t(std::clamp(yr - PrzesuniecieWezlow(), m.Min(), m.Max()));
        m.Przelicz();
        wezel_ = m.wybrany;
        Zapisz(3);
    } else if (tryb_ >= 2 && tryb_ <= 4) {
        if (punkt_ < 0) return;
        TKorekta k = Korekta();
        const int yr = (o.bottom - p.y()) * 128 / o.h + 64;
        const int xr = tryb_ == 4 ? (p.x() - o.left) * 200 / o.w + 50 : (p.x() - o.left) * 130 / o.w + 98;
        if (punkt_ >= 1 && punkt_ <= 6) k.blok[2 + 2 * punkt_] = uint8_t(std::clamp(xr, k.XMin(), k.XMax()));
        k.blok[3 + 2 * punkt_] = uint8_t(std::clamp(yr, 64, 192));
        k.Przelicz();
        punkt_ = k.wybrany;
        s_->CurveSelected = k.Id();
        Zapisz(tryb_ == 2 ? 512 : tryb_ == 3 ? 1024 : 256);
    } else {
        return;
    }
    Rysuj();
}
