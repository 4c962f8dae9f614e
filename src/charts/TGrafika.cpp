#include "charts/TGrafika.h"

#include "charts/TTabelaMapy.h"
#include "device/TSterownik.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

using namespace Wykres2D;

TGrafika::TGrafika(QWidget *parent, TSterownik *link) : QWidget(parent), s_(link) {
    setObjectName(QStringLiteral("Grafika"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    hide();
    if (parent) {
        setGeometry(parent->rect());
        parent->installEventFilter(this);
    }
    // The chart's keyboard focus; in the table modes also the entry box of the headers.
    pole_ = new QLineEdit(this);
    pole_->setObjectName(QStringLiteral("PoleFokusu"));
    pole_->setFrame(false);
    ParkujPole();
    connect(pole_, &QLineEdit::returnPressed, this, [this] { WpisPolaKrok(); });
    pole_->installEventFilter(this);
    timer_ = new QTimer(this);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, [this] { TimerTick(); });
    timer_->start();
}

TGrafika::~TGrafika() {
    timer_->stop();
    if (parentWidget()) parentWidget()->removeEventFilter(this);
}

int TGrafika::Item(int i) const {
    return s_->Nastawy[i];
}

int TGrafika::OdstepTimera() const {
    return timer_->interval();
}

bool TGrafika::eventFilter(QObject *o, QEvent *e) {
    if (o == parentWidget() && e->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    // On the charts the focus box is no text field: copy and paste are the curve's (KlawiszMapy).
    if (o == pole_ && e->type() == QEvent::KeyPress && Wykres() &&
        (static_cast<QKeyEvent *>(e)->modifiers() & Qt::ControlModifier))
        return true;
    return QWidget::eventFilter(o, e);
}

void TGrafika::Beep() {
    if (OnBeep)
        OnBeep();
    else
        QApplication::beep();
}

void TGrafika::Zapisz(uint32_t mask) {
    s_->ZapiszDoSterownika(mask);
}

bool TGrafika::Fokus() const {
    return pole_->hasFocus();
}

TMnoznik TGrafika::Mnoznik() {
    TMnoznik m;
    m.nastawy = s_->Nastawy;
    m.tabela = s_->Mnoznik1;
    m.skala = s_->MultiplierScale;
    m.wybrany = wezel_;
    return m;
}

uint8_t *TGrafika::BlokKorekty() const {
    switch (tryb_) {
    case 2: return s_->KorTempRed;
    case 3: return s_->KorTempGazu;
    case 4: return s_->KorCis;
    default: return nullptr;
    }
}

TKorekta TGrafika::Korekta() {
    TKorekta k;
    k.blok = BlokKorekty();
    k.wybrany = punkt_;
    return k;
}

// ------------------------------------------------------------------------------------ modes

void TGrafika::UstawTryb(int mode) {
    tryb_ = mode;
    if (mode >= 2 && mode <= 4) {
        static const int ids[3] = {9, 10, 8};
        static const uint32_t bits[3] = {512, 1024, 256};
        punkt_ = -1;
        s_->CurveSelected = ids[mode - 2];
        s_->CzytajZeSterownika(bits[mode - 2]);
    }
    if (mode != 1 && mode != 5) {
        if (gorna_) gorna_->hide();
        if (dolna_ && mode != 6 && mode != 7) dolna_->hide();
    }
    if (mode == 6) s_->CzytajZeSterownika(4096);
    if (mode == 7) s_->CzytajZeSterownika(8192);
    RysujTlo();
    Rysuj();
}

void TGrafika::UstawPoziom(int level) {
    poziom_ = level;
    RysujTlo();
    Rysuj();
}

void TGrafika::Ukryj() {
    if (gorna_) gorna_->hide();
    if (dolna_) dolna_->hide();
    ParkujPole();
    hide();
}

void TGrafika::ParkujPole() {
    pole_->setGeometry(-2, -2, 1, 20);
    pole_->clear();
    poleKol_ = poleWiersz_ = -1;
}

void TGrafika::UstawKolory(const TPaleta &p) {
    p_ = p;
    if (isVisible()) {
        RysujTlo();
        Rysuj();
    }
}

void TGrafika::KasujKorekte() {
    if (!BlokKorekty()) return;
    TKorekta k = Korekta();
    k.Kasuj(tryb_ == 2 ? 9 : tryb_ == 3 ? 10 : 8);
    punkt_ = k.wybrany;
    s_->CurveSelected = k.Id();
    Zapisz(tryb_ == 2 ? 512 : tryb_ == 3 ? 1024 : 256);
    Rysuj();
}

// ------------------------------------------------------------------------------------ composition

void TGrafika::RysujTlo() {
    const QSize sz = size().expandedTo(QSize(1, 1));
    tlo_ = QImage(sz, QImage::Format_RGB32);
    tlo_.fill(Kolor(p_.Background));
    rozmiarTla_ = size();
    o_ = Wykres2D::Obszar(width(), height(), tryb_);
    QPainter g(&tlo_);
    QFont f = font();
    f.setPointSize(8);
    g.setFont(f);
    if (Wykres()) {
        if (gorna_) gorna_->hide();
        if (dolna_) dolna_->hide();
        if (!pole_->hasFocus() || pole_->width() > 1) ParkujPole();
        if (o_.Rysowalny()) TloWykresu(g);
    } else if (Tabela()) {
        UtworzTabele();
        UkladTabel();
        TloTabel(g);
    }
}

void TGrafika::Rysuj() {
    if (rysuje_) return;
    if (!isVisible()) {
        obraz_ = QImage(); // composed again when shown
        return;
    }
    rysuje_ = true;
    if (size() != rozmiarTla_ || tlo_.isNull()) RysujTlo();
    // The tables draw nothing into the picture: it shares the background's pixels.
    obraz_ = Wykres() ? tlo_.copy() : tlo_;
    if (Wykres() && o_.Rysowalny()) {
        QPainter g(&obraz_);
        QFont f = font();
        f.setPointSize(8);
        g.setFont(f);
        if (tryb_ == 0)
            DaneTrybu0(g);
        else if (tryb_ >= 2 && tryb_ <= 4)
            DaneKorekty(g);
    }
    if (Tabela()) WypelnijTabele();
    ++rysowan_;
    kursorX_ = kursorY_ = -1; // the next reply draws it again
    update();
    rysuje_ = false;
}

void TGrafika::TimerTick() {
    if (timer_->interval() != 1500) timer_->setInterval(1500);
    Rysuj();
}

void TGrafika::paintEvent(QPaintEvent *e) {
    QPainter g(this);
    if (obraz_.size() != size()) {
        // Shown or resized since the last composition.
        g.end();
        Rysuj();
        g.begin(this);
    }
    if (obraz_.isNull()) {
        g.fillRect(e->rect(), Kolor(p_.Background));
        return;
    }
    g.drawImage(e->rect(), obraz_, e->rect());
    if (kursorX_ >= 0 && Wykres() && o_.Rysowalny()) {
        g.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        g.setPen(QPen(Kolor(p_.MapCursor), 1));
        g.drawLine(kursorX_, o_.top(), kursorX_, o_.bottom);
        if (tryb_ == 0 && kursorY_ >= 0) g.drawLine(o_.left, kursorY_, o_.right(), kursorY_);
    }
}

void TGrafika::showEvent(QShowEvent *) {
    // The mode may have changed while hidden.
    Rysuj();
}

void TGrafika::resizeEvent(QResizeEvent *) {
    if (isVisible()) {
        RysujTlo();
        Rysuj();
    }
}

// ------------------------------------------------------------------------------------ live cursor

void TGrafika::Kursor(int x, int y) {
    if (x == kursorX_ && y == kursorY_) return;
    // Only the strips of the old and the new lines are painted again.
    auto linie = [&](int cx, int cy) {
        if (cx >= 0) update(QRect(cx - 1, o_.top() - 1, 3, o_.h + 3));
        if (cy >= 0) update(QRect(o_.left - 1, cy - 1, o_.w + 3, 3));
    };
    linie(kursorX_, kursorY_);
    kursorX_ = x;
    kursorY_ = y;
    linie(x, y);
}

void TGrafika::NoweParametry(const uint8_t *b) {
    if (!b || !isVisible()) return;
    if (Tabela()) {
        int c = b[15], r = b[16];
        if ((tryb_ == 1 || tryb_ == 5) && (Item(ItemOsKorekt) & 1)) r = b[19] >> 4;
        // A cell outside the 16 x 16 grid is no cell at all.
        if (c > 15 || r > 15) c = r = -1;
        if (c == zywaC_ && r == zywyR_) return;
        for (TTabelaMapy *t : {gorna_, dolna_})
            if (t && t->isVisible()) {
                t->OdswiezKomorke(zywaC_ + 1, 16 - zywyR_);
                t->OdswiezKomorke(c + 1, 16 - r);
            }
        zywaC_ = c;
        zywyR_ = r;
        return;
    }
    if (!Wykres() || !o_.Rysowalny()) return;
    const int w = o_.w, h = o_.h;
    int x = -1, y = -1;
    if (tryb_ == 0) {
        const int skala = s_->MultiplierScale;
        const int i239 = Item(239);
        if (skala > 0) x = o_.left + std::min<int>(b[19], skala) * w / skala;
        const int p = b[44] | b[45] << 8;
        if (i239 > 0) y = o_.bottom - std::min(p, i239) * h / i239;
    } else if (tryb_ == 2 || tryb_ == 3) {
        const int t = b[tryb_ == 2 ? 40 : 42];
        x = o_.left + (t < 98 ? 0 : std::clamp(t - 98, 0, 130)) * w / 130;
    } else {
        const int g = b[48] | b[49] << 8;
        x = o_.left + std::clamp(int((g - 50) * 1.28), 0, 256) * w / 256;
    }
    Kursor(x, y);
}
