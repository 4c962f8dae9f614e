// Drawing of the settings grid: frames and captions, the button row, and each item's label, value box,
// unit and controls.
#include "settings/ui/TNastawy.h"

#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "settings/TKatalogNastaw.h"

#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStaticText>
#include <algorithm>
#include <cmath>

namespace {

constexpr int IdParametrySilnika = 1275;
constexpr int IdWtryskiwacze = 1276;
constexpr int IdCzujniki = 1278;
constexpr int IdNaGaz = 1279;
constexpr int IdNaBenzyne = 1280;
constexpr int IdKorekty = 1281;
constexpr int IdKalkulator = 1282;

const QColor Zielony(0, 160, 0); // the tick of a flag
const QColor CiemnyCzerwony(180, 0, 0);

bool Liczba(int kind) {
    return kind == NastawaLiczba || kind == NastawaPrzesuniecie || kind == NastawaLiczba2;
}

bool KodBledu(int kind) {
    return kind == NastawaKodBledu || kind == NastawaKodBledu2;
}

bool MaDialog(int item) {
    return item == 8 || item == 40 || item == 57 || item == 63 || item == 96;
}

QColor Ciemniejszy(const QColor &c, int n) {
    return QColor(std::max(0, c.red() - n), std::max(0, c.green() - n), std::max(0, c.blue() - n));
}

} // namespace

void TNastawy::paintEvent(QPaintEvent *e) {
    QPainter p(viewport());
    const QRect r = e->rect();
    const int first = PierwszyWiersz();
    const int top = first + std::max(0, r.top()) / std::max(1, RowHeight);
    const int bottom = first + std::max(0, r.bottom()) / std::max(1, RowHeight);
    RysujWiersze(p, top, bottom);
    // Below the last row and right of the two columns: background only.
    const int end = (RowCount - first) * RowHeight;
    if (end < viewport()->height())
        p.fillRect(0, end, viewport()->width(), viewport()->height() - end, K.Tlo);
    if (2 * ColWidth < viewport()->width())
        p.fillRect(2 * ColWidth, 0, viewport()->width() - 2 * ColWidth, viewport()->height(), K.Tlo);
}

void TNastawy::RysujWiersze(QPainter &p, int first, int last) {
    p.setRenderHint(QPainter::Antialiasing, false);
    first = std::max(first, 0);
    last = std::min(last, RowCount - 1);
    for (int row = first; row <= last; ++row) {
        for (int col = 0; col < 2; ++col)
            MyDrawCell(p, col, row, ProstokatKomorki(col, row));
        // The caption of the frame across both columns is centred on the whole grid, over both cells.
        if (Komorka(0, row) == -2) {
            const QRect r = ProstokatKomorki(0, row);
            p.setFont(FontB);
            const QString t = QStringLiteral(" ") + LangText(IdParametrySilnika) + QStringLiteral(" ");
            const int tw = p.fontMetrics().horizontalAdvance(t);
            const QRect tr(ColWidth - tw / 2, r.top(), tw, r.height());
            p.fillRect(tr.adjusted(0, r.height() / 4, 0, -r.height() / 4), K.Panel);
            p.setPen(K.Naglowek);
            p.drawText(tr, Qt::AlignCenter, t);
        }
    }
}

void TNastawy::MyDrawCell(QPainter &p, int col, int row, const QRect &r) {
    p.fillRect(r, K.Tlo);
    const int code = Komorka(col, row);
    if (code < 0 && code >= -8 && code != -1) {
        RysujDekoracje(p, code, col, r);
        return;
    }
    if (Page == 0) RysujRamki(p, col, row, r);
    if (code == -10)
        RysujPrzyciski(p, r);
    else if (code >= 0)
        RysujItem(p, code, col, row, r);
}

// The double side lines of the frames around the items of page 0.
void TNastawy::RysujRamki(QPainter &p, int col, int row, const QRect &r) {
    const int y0 = r.top() - 2;
    const int y1 = r.bottom() + 2;
    auto bok = [&](int x, int inward) {
        p.setPen(K.RamkaJasna);
        p.drawLine(x, y0, x, y1);
        p.setPen(K.RamkaCiemna);
        p.drawLine(x + inward, y0, x + inward, y1);
    };
    const bool lewy = row >= 6 || col == 0;
    const bool prawy = row >= 6 || col == 1;
    p.save();
    p.setClipRect(r);
    if (lewy) bok(r.left() + 3, 1);
    if (prawy) bok(r.right() - 3, -1);
    p.restore();
}

// Frame tops (-2..-6) and bottoms (-7, -8) with their captions.
void TNastawy::RysujDekoracje(QPainter &p, int code, int col, const QRect &r) {
    p.fillRect(r, K.Panel);
    const bool wspolna = code == -2 || code == -7; // the frame across both columns
    const bool gora = code >= -6;
    int x0 = r.left() + 3;
    int x1 = r.right() - 3;
    bool lewyKoniec = true, prawyKoniec = true;
    if (wspolna) {
        if (col == 0) {
            x1 = r.right() + 1;
            prawyKoniec = false;
        } else {
            x0 = r.left();
            lewyKoniec = false;
        }
    }
    const int y = r.top() + r.height() / 2;
    // Outer line light, inner line dark; the inner line sits on the inside of the frame.
    const int yIn = gora ? y + 1 : y - 1;
    const int yEnd = gora ? r.bottom() + 2 : r.top() - 2;
    p.save();
    p.setClipRect(r);
    p.setPen(K.RamkaJasna);
    p.drawLine(x0, y, x1, y);
    if (lewyKoniec) p.drawLine(x0, y, x0, yEnd);
    if (prawyKoniec) p.drawLine(x1, y, x1, yEnd);
    p.setPen(K.RamkaCiemna);
    p.drawLine(x0 + (lewyKoniec ? 1 : 0), yIn, x1 - (prawyKoniec ? 1 : 0), yIn);
    if (lewyKoniec) p.drawLine(x0 + 1, yIn, x0 + 1, yEnd);
    if (prawyKoniec) p.drawLine(x1 - 1, yIn, x1 - 1, yEnd);
    p.restore();

    int id = 0;
    QColor kolor = K.Naglowek;
    switch (code) {
    case -3: id = IdWtryskiwacze; break;
    case -4: id = IdCzujniki; break;
    case -5:
        id = IdNaGaz;
        kolor = K.NapisZielony;
        break;
    case -6:
        id = IdNaBenzyne;
        kolor = K.NapisCzerwony;
        break;
    default: return; // -2 is captioned over both cells; -7, -8 have none
    }
    p.setFont(FontB);
    const QString t = QStringLiteral(" ") + LangText(id) + QStringLiteral(" ");
    const int tw = std::min(p.fontMetrics().horizontalAdvance(t), r.width() - 8);
    const int cx = Stop(col, 0) + width() / 4;
    const QRect tr(cx - tw / 2, r.top(), tw, r.height());
    p.fillRect(tr.adjusted(0, r.height() / 4, 0, -r.height() / 4), K.Panel);
    p.setPen(kolor);
    p.drawText(tr, Qt::AlignCenter, t);
}

// A raised button: frame, fill and a shaded lowest third.
void TNastawy::RysujPrzycisk(QPainter &p, const QRect &b, bool rounded) {
    p.setPen(K.Ramka);
    p.setBrush(K.Tlo);
    const bool aa = p.testRenderHint(QPainter::Antialiasing);
    if (rounded) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.drawRoundedRect(QRectF(b).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    } else {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawRect(b.adjusted(0, 0, -1, -1));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    const int third = b.height() / 3;
    for (int g = 0; g < third; ++g) {
        const int y = b.bottom() - third + g;
        p.setPen(Ciemniejszy(K.Tlo, RowHeight * g / 20));
        p.drawLine(b.left() + 2, y, b.right() - 2, y);
    }
    p.setRenderHint(QPainter::Antialiasing, aa);
}

// The row of two buttons: injector corrections and the nozzle calculator.
void TNastawy::RysujPrzyciski(QPainter &p, const QRect &r) {
    p.setFont(FontB);
    const QString korekty = LangText(IdKorekty);
    const QString kalk = LangText(IdKalkulator);
    const QFontMetrics fm = p.fontMetrics();
    const int s0 = Stop(0, 0), s2 = Stop(0, 2), s5 = Stop(0, 5), s6 = Stop(0, 6);
    const int right = fm.horizontalAdvance(korekty) + 6 <= s6 - s0 ? s6 : s2 - 3;
    const QRect b1(s0, r.top() + 2, right - s0, r.height() - 4);
    const QRect b2(s2, r.top() + 2, s5 - s2, r.height() - 4);
    RysujPrzycisk(p, b1, true);
    RysujPrzycisk(p, b2, true);
    p.setPen(KorektyZmienione() ? K.NapisCzerwony : K.Tekst);
    p.drawText(b1, Qt::AlignCenter, fm.elidedText(korekty, Qt::ElideRight, b1.width() - 4));
    p.setPen(K.Tekst);
    p.drawText(b2, Qt::AlignCenter, fm.elidedText(kalk, Qt::ElideRight, b2.width() - 4));
}

bool TNastawy::KorektyZmienione() const {
    if (!Sterownik) return false;
    const int n = std::clamp(int(Sterownik->InjectorCount), 0, 8);
    for (int i = 0; i < n; ++i)
        if (Sterownik->Nastawy[216 + i] != 128) return true;
    return false;
}

bool TNastawy::CzyOstrzezenie(int item, int raw) const {
    switch (item) {
    case 83: return raw < 20 || raw > 120;
    case 85: return raw < 148 || raw > 218;
    case 86: return raw < 80 || raw > 200;
    default: return false;
    }
}

// A part of a cell that looks the same wherever it stands (value box, buttons) is drawn once per size
// and colour into a tile and copied from then on: a full repaint copies tiles instead of rasterising
// rounded, antialiased shapes again.
void TNastawy::Kafel(QPainter &p, const QRect &r, uint64_t id,
                     const std::function<void(QPainter &, const QRect &)> &draw) {
    if (r.width() <= 0 || r.height() <= 0) return;
    const uint64_t key = (id << 24) ^ (uint64_t(r.width() & 0xFFF) << 12) ^ uint64_t(r.height() & 0xFFF);
    auto it = Kafle.find(key);
    if (it == Kafle.end()) {
        const qreal dpr = devicePixelRatioF();
        QPixmap pm(r.size() * dpr);
        pm.setDevicePixelRatio(dpr);
        pm.fill(K.Tlo); // every tile stands on the grid's background: an opaque copy is fastest
        QPainter q(&pm);
        draw(q, QRect(QPoint(0, 0), r.size()));
        q.end();
        it = Kafle.insert(key, pm);
    }
    p.drawPixmap(r.topLeft(), *it);
}

// Texts are laid out once per font and kept: shaping a text costs more than drawing it.
const QStaticText &TNastawy::Napis(const QString &t, bool bold) {
    QHash<QString, QStaticText> &h = bold ? NapisyB : NapisyN;
    auto it = h.find(t);
    if (it == h.end()) {
        if (h.size() > 4000) h.clear();
        QStaticText st(t);
        st.setTextFormat(Qt::PlainText);
        st.setPerformanceHint(QStaticText::AggressiveCaching);
        st.prepare(QTransform(), bold ? FontB : FontN);
        it = h.insert(t, st);
    }
    return *it;
}

void TNastawy::Kontrolka(QPainter &p, const QRect &b, int what, bool greyed) {
    Kafel(p, b, uint64_t(what) << 1 | (greyed ? 1 : 0), [&](QPainter &q, const QRect &r) {
        q.setRenderHint(QPainter::Antialiasing, true);
        RysujPrzycisk(q, r, what == KontrolkaWybor || what == KontrolkaDialog);
        const QColor znak = greyed ? K.ZablokowaneTekst : K.Tekst;
        const QRectF c =
            QRectF(r).adjusted(r.width() * 0.25, r.height() * 0.25, -r.width() * 0.25, -r.height() * 0.25);
        switch (what) {
        case KontrolkaTak:
            q.setPen(QPen(greyed ? K.ZablokowaneTekst : Zielony, 3));
            q.drawPolyline(
                QPolygonF({QPointF(c.left(), c.center().y()), QPointF(c.left() + c.width() * 0.4, c.bottom()),
                           QPointF(c.right(), c.top())}));
            break;
        case KontrolkaNie:
            q.setPen(QPen(greyed ? K.ZablokowaneTekst : CiemnyCzerwony, 3));
            q.drawLine(c.topLeft(), c.bottomRight());
            q.drawLine(c.topRight(), c.bottomLeft());
            break;
        case KontrolkaWybor: {
            const QRectF v = QRectF(r).adjusted(r.width() * 0.28, r.height() * 0.33, -r.width() * 0.28,
                                                -r.height() * 0.33);
            q.setPen(QPen(znak, 3));
            q.drawPolyline(QPolygonF({v.topLeft(), QPointF(v.center().x(), v.bottom()), v.topRight()}));
            break;
        }
        case KontrolkaMinus:
        case KontrolkaPlus: {
            const QPointF m = QRectF(r).center();
            const double a = std::max(2.0, std::min(r.width(), r.height()) * 0.25);
            q.setPen(QPen(znak, 3));
            q.drawLine(QPointF(m.x() - a, m.y()), QPointF(m.x() + a, m.y()));
            if (what == KontrolkaPlus) q.drawLine(QPointF(m.x(), m.y() - a), QPointF(m.x(), m.y() + a));
            break;
        }
        case KontrolkaDialog: {
            q.setPen(QPen(znak, 3, Qt::SolidLine, Qt::FlatCap));
            const QPointF m = QRectF(r).center();
            const double step = std::max(3.0, r.width() / 4.0);
            for (int k = -1; k <= 1; ++k)
                q.drawLine(QPointF(m.x() + k * step - 1, m.y()), QPointF(m.x() + k * step + 1, m.y()));
            break;
        }
        default: break;
        }
    });
}

void TNastawy::RysujItem(QPainter &p, int item, int col, int row, const QRect &r) {
    if (!Katalog) return;
    const TNastawa &n = Katalog->Rekord(item);
    const int kind = n.Rodzaj();
    const bool greyed = !Katalog->CzyDostepna(item) || (Page == 1 && Level == 0 && Liczba(kind));
    const auto &s = Stops[size_t(col)];
    const int top = r.top() + (r.height() - FmB.height()) / 2;

    // Label, left-aligned on a common line so that every label ends before the value boxes.
    p.setFont(FontB);
    p.setPen(greyed ? K.ZablokowaneTekst : K.Tekst);
    const int lx = std::max(s[0], s[2] - WidestLabel - 4);
    const int lEnd = MaDialog(item) ? s[6] - 2 : s[2] - 2;
    const QString label = Katalog->NazwaNastawy(item);
    const QStaticText &napis = Napis(label, true);
    // A label too long even at the smallest font is cut with an ellipsis before the value box.
    if (napis.size().width() <= lEnd - lx)
        p.drawStaticText(lx, top, napis);
    else
        p.drawStaticText(lx, top, Napis(FmB.elidedText(label, Qt::ElideRight, std::max(0, lEnd - lx)), true));

    // Value box.
    const int boxRight = kind == NastawaWybor || kind == NastawaFlaga ? s[4] : KodBledu(kind) ? s[5] : s[3];
    const QRect box(s[2], r.top() + 1, boxRight - s[2], r.height() - 2);
    const int raw = Katalog->Wartosc(item);
    QColor fill = K.Pole, ink = K.Wartosc;
    if (greyed) {
        fill = K.Zablokowane;
        ink = K.ZablokowaneTekst;
    } else if (col == SelCol && row == SelRow && hasFocus() && ListaTag == 0) {
        fill = K.Wybrane;
        ink = K.WybraneTekst;
    } else if (CzyOstrzezenie(item, raw)) {
        fill = K.Ostrzezenie;
    }
    Kafel(p, box, uint64_t(KontrolkaPole) << 1 | uint64_t(fill.rgb() & 0xFFFFFF) << 8,
          [&](QPainter &q, const QRect &b) {
              q.setRenderHint(QPainter::Antialiasing, true);
              q.setPen(K.Ramka);
              q.setBrush(fill);
              q.drawRoundedRect(QRectF(b).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
          });

    // Value text, cut to the box.
    QString t = Katalog->TekstNastawy(item);
    const int room = box.width() - 4;
    int tw = int(std::ceil(Napis(t, true).size().width()));
    // A box narrower than the text's first letter ends with no text at all, never in an endless loop.
    while (!t.isEmpty() && tw > room) {
        t.chop(1);
        tw = FmB.horizontalAdvance(t);
    }
    p.setPen(ink);
    p.drawStaticText(s[2] + 3, top, Napis(t, true));
    const int textEnd = s[2] + 3 + tw;

    // Unit, right-aligned inside the box when there is room after the value.
    const QString unit = Katalog->JednostkaNastawy(item);
    if (!unit.isEmpty()) {
        p.setFont(FontN);
        const QStaticText &u = Napis(unit, false);
        const int ux = box.right() - 3 - int(std::ceil(u.size().width()));
        if (ux > textEnd) p.drawStaticText(ux, r.top() + (r.height() - FmN.height()) / 2, u);
    }

    // Controls.
    const QRect right(s[4] + 1, r.top() + 1, s[5] - s[4] - 1, r.height() - 2);
    if (kind == NastawaFlaga) {
        Kontrolka(p, right, raw != 0 ? KontrolkaTak : KontrolkaNie, greyed);
    } else if (kind == NastawaWybor) {
        Kontrolka(p, right, KontrolkaWybor, greyed);
    } else if (Liczba(kind)) {
        Kontrolka(p, QRect(s[3] + 1, r.top() + 1, s[4] - s[3] - 1, r.height() - 2), KontrolkaMinus, greyed);
        Kontrolka(p, right, KontrolkaPlus, greyed);
    }
    if (MaDialog(item))
        Kontrolka(p, QRect(s[6], r.top() + 1, s[7] - s[6], r.height() - 2), KontrolkaDialog, greyed);
}
