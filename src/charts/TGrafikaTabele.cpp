// The table modes of the map view: the learnt maps (or their deviation) in the upper grid, the RPM
// correction, the gas injection delay or the enrichment table in the editable lower grid.
#include "charts/TGrafika.h"
#include "charts/TTabelaMapy.h"
#include "charts/TabeleMap.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QTimer>

using namespace Wykres2D;
using namespace TabeleMap;

namespace {
QString Jedno(double v) {
    return QLocale().toString(v, 'f', 1);
}
} // namespace

uint8_t *TGrafika::TabelaEdytowana() const {
    switch (tryb_) {
    case 1:
    case 5: return s_->KorObr1;
    case 6: return s_->Opoznienia;
    case 7: return s_->Wzbogacenie;
    default: return nullptr;
    }
}

uint32_t TGrafika::MaskaTabeli() const {
    return tryb_ == 6 ? 4096 : tryb_ == 7 ? 8192 : 8;
}

void TGrafika::UtworzTabele() {
    if (dolna_) return;
    gorna_ = new TTabelaMapy(this, false);
    gorna_->setObjectName(QStringLiteral("TabelaGorna"));
    dolna_ = new TTabelaMapy(this, true);
    dolna_->setObjectName(QStringLiteral("TabelaDolna"));
    dolna_->PrawyDoPrawej = false;
    gorna_->Kolory = [this](int col, int row, uint32_t &bg, uint32_t &fg) {
        fg = 0;
        if (col == 0 || row == 0) {
            bg = zawartosc_ == 0 ? JasnoCzerwony : zawartosc_ == 1 ? JasnoZielony : JasnoSzary;
            return;
        }
        const int c = col - 1, r = 16 - row;
        if (c == zywaC_ && r == zywyR_) {
            bg = Pomaranczowy;
            return;
        }
        const uint8_t *a = s_->Mapy[tryb_ == 5 ? MapaC : MapaA];
        const uint8_t *b = s_->Mapy[tryb_ == 5 ? MapaD : MapaB];
        const int va = a[c * 16 + r], vb = b[c * 16 + r];
        bg = Bialy;
        if (zawartosc_ == 0 && va) bg = JasnoCzerwony;
        if (zawartosc_ == 1 && vb) bg = JasnoZielony;
        if (zawartosc_ == 2) {
            if (va && vb) {
                bg = PrawieBialy;
                fg = KolorOdchylki(va - vb, tryb_ == 5);
            } else if (va) {
                bg = JasnoCzerwony;
            } else if (vb) {
                bg = JasnoZielony;
            }
        }
    };
    dolna_->Kolory = [this](int col, int row, uint32_t &bg, uint32_t &fg) {
        fg = 0;
        if (col == 0 || row == 0) {
            bg = JasnoSzary;
            return;
        }
        const int c = col - 1, r = 16 - row;
        if (c == zywaC_ && r == zywyR_) {
            bg = Pomaranczowy;
            return;
        }
        const uint8_t *t = TabelaEdytowana();
        bg = (tryb_ == 1 || tryb_ == 5) && t ? KolorKorekty(t[c * 16 + r]) : Bialy;
    };
    dolna_->Ramka = [this] { return dolna_->hasFocus() ? dolna_->Blok() : QRect(); };
    gorna_->Ramka = [this] {
        return dolna_->hasFocus() && !(Item(ItemOsKorekt) & 1) ? dolna_->Blok() : QRect();
    };
    gorna_->OnKlik = [this](int col, int row) { KlikTabeli(gorna_, col, row); };
    dolna_->OnKlik = [this](int col, int row) {
        TZmiana krok(Dziennik(), MaskaWidoku(), LangText(4313)); // the corner switches the load axis
        KlikTabeli(dolna_, col, row);
    };
    gorna_->OnMenu = [this](QPoint p) { MenuTabeli(gorna_, p); };
    dolna_->OnMenu = [this](QPoint p) { MenuTabeli(dolna_, p); };
}

void TGrafika::UkladTabel() {
    const int W = width(), H = height();
    const bool mapy = tryb_ == 1 || tryb_ == 5;
    const int X = mapy && poziom_ > 0 ? H / 2 - 20 : H - 20;
    const int B = X / 17, D = (W - 10) / 17;
    gorna_->Uklad(D, B);
    dolna_->Uklad(D, B);
    gorna_->move(5, 16);
    dolna_->move(5, mapy && poziom_ > 0 ? H / 2 + 16 : 16);
    gorna_->setVisible(mapy && poziom_ > 0);
    dolna_->show();

    // Fonts: the largest that fit the cells.
    auto dopasuj = [&](const QString &t, int maxW) {
        QFont f = font();
        for (int size = 25; size >= 5; --size) {
            f.setPointSize(size);
            const QFontMetrics m(f);
            if (m.horizontalAdvance(t) < maxW && m.height() < B - 1) return f;
        }
        f.setPointSize(5);
        return f;
    };
    const QString rog =
        mapy && (Item(ItemOsKorekt) & 1) ? QStringLiteral("ms/rpm") : QStringLiteral("bar/rpm");
    fontRogu_ = dopasuj(rog, D - 4);
    fontKomorek_ = dopasuj(QStringLiteral("5000"), D - 2);
    for (TTabelaMapy *t : {gorna_, dolna_}) {
        t->FontRogu = fontRogu_;
        t->FontKomorki = fontKomorek_;
    }
}

void TGrafika::TloTabel(QPainter &g) {
    if (!(tryb_ == 1 || tryb_ == 5) || poziom_ == 0) return;
    QFont f = g.font();
    f.setBold(true);
    g.setFont(f);
    g.setPen(Kolor(p_.Text));
    const QFontMetrics m(f);
    const int id = (tryb_ == 1 ? 1712 : 1715) + zawartosc_;
    const QString t1 = LangText(id);
    g.drawText((width() - m.horizontalAdvance(t1)) / 2, 2 + m.ascent(), t1);
    const QString t2 = LangText(1718) + QLatin1Char(' ') + LangText(1057);
    g.drawText((width() - m.horizontalAdvance(t2)) / 2, height() / 2 + 2 + m.ascent(), t2);
}

void TGrafika::WypelnijTabele() {
    if (!dolna_) return;
    const bool mapy = tryb_ == 1 || tryb_ == 5;
    const bool czas = mapy && (Item(ItemOsKorekt) & 1);
    const QString ben = LangText(1700), gaz = LangText(1701);
    QString rog;
    if (zawartosc_ == 0)
        rog = ben.left(3);
    else if (zawartosc_ == 1)
        rog = gaz.left(3);
    else
        rog = ben.left(1) + QLatin1Char('-') + gaz.left(1);
    // In very small grids the corners keep only what fits: the content without its key, the unit
    // of the load axis without the rpm.
    const QFontMetrics fm(fontRogu_);
    const int miejsce = gorna_->D() - 2;
    const QString pelny = rog + QStringLiteral(" [F8]");
    gorna_->Tekst[0][0] = fm.horizontalAdvance(pelny) <= miejsce ? pelny : rog;
    const QString jednostka = czas ? QStringLiteral("ms") : QStringLiteral("bar");
    const QString dolny = jednostka + QStringLiteral("/rpm");
    dolna_->Tekst[0][0] = fm.horizontalAdvance(dolny) <= miejsce ? dolny : jednostka;
    for (int i = 0; i < 16; ++i) {
        const QString obr = QString::number(Item(ItemOsObrotow + i) * 50);
        const QString obc = QLocale().toString(Item(ItemOsObciazenia + i) * 0.01, 'f', 2);
        gorna_->Tekst[i + 1][0] = dolna_->Tekst[i + 1][0] = obr;
        gorna_->Tekst[0][16 - i] = obc;
        dolna_->Tekst[0][16 - i] = czas ? Jedno((i + 1) * 1.6) : obc;
    }
    const uint8_t *a = s_->Mapy[tryb_ == 5 ? MapaC : MapaA];
    const uint8_t *b = s_->Mapy[tryb_ == 5 ? MapaD : MapaB];
    const uint8_t *t = TabelaEdytowana();
    for (int c = 0; c < 16; ++c)
        for (int r = 0; r < 16; ++r) {
            const int i = c * 16 + r;
            QString &g = gorna_->Tekst[c + 1][16 - r];
            auto forma = [&](int v) { return tryb_ == 5 ? Jedno(v - 128) : Jedno(v * 0.1); };
            if (zawartosc_ == 0)
                g = a[i] ? forma(a[i]) : QString();
            else if (zawartosc_ == 1)
                g = b[i] ? forma(b[i]) : QString();
            else if (a[i] && b[i]) {
                const int d = a[i] - b[i];
                g = (d > 0 ? QStringLiteral("+") : QString()) + (tryb_ == 5 ? Jedno(d) : Jedno(d * 0.1));
            } else {
                g.clear();
            }
            QString &d = dolna_->Tekst[c + 1][16 - r];
            if (!t)
                d.clear();
            else if (mapy)
                d = QString::number(t[i] - 100);
            else if (tryb_ == 6)
                d = Jedno(t[i] * 0.1);
            else
                d = QString::number(t[i] - 128);
        }
    gorna_->update();
    dolna_->update();
}

// ------------------------------------------------------------------------------------ editing

void TGrafika::KlikTabeli(TTabelaMapy *t, int col, int row) {
    const bool mapy = tryb_ == 1 || tryb_ == 5;
    if (t == gorna_) {
        ParkujPole();
        if (col == 0 && row == 0) {
            zawartosc_ = (zawartosc_ + 1) % 3;
            RysujTlo();
            Rysuj();
        }
        return;
    }
    if (col == 0 && row == 0) {
        if (!mapy) return;
        ParkujPole();
        s_->Nastawy[ItemOsKorekt] ^= 1;
        Zapisz(1);
        // The controller needs a moment for the settings before the tables are read again.
        QPointer<TGrafika> self(this);
        QTimer::singleShot(200, this, [self] {
            if (self) self->s_->CzytajZeSterownika(24);
        });
        RysujTlo();
        Rysuj();
        return;
    }
    const bool kolumna = row == 0 && col >= 1;
    const bool wiersz = col == 0 && row >= 1 && !(Item(ItemOsKorekt) & 1);
    if (!kolumna && !wiersz) {
        ParkujPole();
        return;
    }
    const QRect r = t->Komorka(col, row).translated(t->pos());
    pole_->setFont(fontKomorek_);
    pole_->setGeometry(r);
    pole_->setText(t->Tekst[col][row]);
    pole_->raise();
    pole_->setFocus(Qt::MouseFocusReason);
    pole_->selectAll();
    poleKol_ = col;
    poleWiersz_ = row;
}

void TGrafika::WpisPola() {
    const int col = poleKol_, row = poleWiersz_;
    const QString text = pole_->text();
    if (Tabela() && row == 0 && col >= 1 && col <= 16) {
        uint8_t &item = s_->Nastawy[ItemOsObrotow + col - 1];
        item = uint8_t(WpisObrotow(text, item));
        Zapisz(1);
    } else if (Tabela() && col == 0 && row >= 1 && row <= 16) {
        uint8_t &item = s_->Nastawy[ItemOsObciazenia + 16 - row];
        item = uint8_t(WpisObciazenia(text, item));
        Zapisz(1);
    }
    ParkujPole();
    if (dolna_ && dolna_->isVisible()) dolna_->setFocus();
    Rysuj();
}

void TGrafika::ZmienTabele(int delta, bool all) {
    uint8_t *t = TabelaEdytowana();
    if (!t) return;
    const bool mapy = tryb_ == 1 || tryb_ == 5;
    const QRect b = all ? QRect(1, 1, 16, 16) : dolna_->Blok();
    // Grid column col shows RPM point col - 1, grid row row shows load point 16 - row.
    if (ZmienBlok(t, b.left() - 1, b.right() - 1, 16 - b.bottom(), 16 - b.top(), delta, mapy ? 50 : 0,
                  mapy ? 150 : 255))
        Zapisz(MaskaTabeli());
    WypelnijTabele();
}

void TGrafika::ZmienZywa(int delta) {
    uint8_t *t = TabelaEdytowana();
    if (!t || zywaC_ < 0 || zywyR_ < 0) return;
    uint8_t &v = t[zywaC_ * 16 + zywyR_];
    if ((delta > 0 && v <= 149) || (delta < 0 && v >= 51)) {
        v = uint8_t(v + delta);
        Zapisz(MaskaTabeli());
    }
    WypelnijTabele();
}

void TGrafika::KlawiszTabeli(int key, Qt::KeyboardModifiers mods) {
    const bool mapy = tryb_ == 1 || tryb_ == 5;
    if (key == Qt::Key_F8 && mapy) {
        zawartosc_ = (zawartosc_ + 1) % 3;
        RysujTlo();
        Rysuj();
        return;
    }
    if (!dolna_ || !dolna_->hasFocus()) return;
    if (mods & Qt::ShiftModifier) timer_->setInterval(100); // until the next tick
    const int d = key == Qt::Key_Up ? 1 : key == Qt::Key_Down ? -1 : 0;
    if (d && (mods & Qt::ControlModifier))
        ZmienTabele(d, false);
    else if (d && (mods & Qt::AltModifier))
        ZmienTabele(d, true);
    else if (mapy && key == Qt::Key_Plus)
        ZmienZywa(1);
    else if (mapy && key == Qt::Key_Minus)
        ZmienZywa(-1);
}
