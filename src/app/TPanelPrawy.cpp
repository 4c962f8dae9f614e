#include "app/TPanelPrawy.h"

#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "widgets/TPaleta.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

namespace {
constexpr int BannerGorny = 20;
constexpr int BannerDolny = 22;
constexpr int Pasek = 91; // the picture strip
constexpr int WysokoscObd = 48;
constexpr uint32_t Zielony = 0x00A000;
constexpr uint32_t ZielonyZnacznik = 0x008000;
constexpr uint32_t Szary = 0x808080;

const TPaleta &Domyslna() {
    static const TPaleta p = PaletaSchematu(3);
    return p;
}

int Slowo(const uint8_t *rx, int at) {
    return rx[at] | (rx[at + 1] << 8);
}
} // namespace

TPanelPrawy::TPanelPrawy(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelRight"));
    setAutoFillBackground(true);
    ostatniBen_.fill(0.0001);
    ostatniGaz_.fill(0.0001);

    Banner1 = new QLabel(this);
    Banner1->setAlignment(Qt::AlignCenter);
    Banner1->setAutoFillBackground(true);
    Banner2 = new QLabel(this);
    Banner2->setAlignment(Qt::AlignCenter);
    Banner2->setAutoFillBackground(true);
    BtnParam = new QToolButton(this);
    BtnParam->setText(QStringLiteral("V"));
    BtnZwin = new QToolButton(this);
    BtnZwin->setText(QStringLiteral(">"));
    BtnZwin->setToolTip(QStringLiteral("[R]"));
    BtnParamIng = new QToolButton(this);
    BtnParamIng->setText(QStringLiteral("-"));
    connect(BtnParam, &QToolButton::clicked, this, &TPanelPrawy::WyborParametrow);
    connect(BtnZwin, &QToolButton::clicked, this, &TPanelPrawy::ZwinPanel);
    connect(BtnParamIng, &QToolButton::clicked, this, &TPanelPrawy::BtnParamIngClick);

    StringGridParametry = new TSiatka(this);
    StringGridParametry->setObjectName(QStringLiteral("StringGridParametry"));
    StringGridParametry->UstawWymiary(3, 0);
    StringGridParametry->setSelectionMode(QAbstractItemView::NoSelection);
    StringGridParametry->setFocusPolicy(Qt::NoFocus);
    StringGridParametry->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridParametry->OnDrawCell = [this](QPainter &p, int c, int r, const QRect &rc) {
        RysujOdczyt(p, c, r, rc);
    };
    connect(StringGridParametry, &QTableWidget::cellDoubleClicked, this,
            [this] { NazwyOdswiez = !NazwyOdswiez; });

    StringGridCzasyWtr = new TSiatka(this);
    StringGridCzasyWtr->setObjectName(QStringLiteral("StringGridCzasyWtr"));
    StringGridCzasyWtr->UstawWymiary(4, 8);
    StringGridCzasyWtr->setSelectionMode(QAbstractItemView::NoSelection);
    StringGridCzasyWtr->setFocusPolicy(Qt::NoFocus);
    StringGridCzasyWtr->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridCzasyWtr->OnDrawCell = [this](QPainter &p, int c, int r, const QRect &rc) {
        RysujCzas(p, c, r, rc);
    };
    connect(StringGridCzasyWtr, &QTableWidget::cellClicked, this,
            [this](int row, int col) { CzasyWtrSelectCell(col, row); });

    ImageObd = new QLabel(this);
    ImageCen = new QLabel(this);
    ImageCen->setToolTip(QStringLiteral("[SPACE]"));
    ImageCen->setFixedSize(Pasek, Pasek);
    ImageCen->installEventFilter(this);
    ImageCen->setCursor(Qt::PointingHandCursor);

    cen_ = QImage(QStringLiteral(":/img/RC_CEN_BMP.png"));
    przelacznik_ = QImage(Pasek, Pasek, QImage::Format_RGB32);
    Kolory();
}

bool TPanelPrawy::eventFilter(QObject *o, QEvent *e) {
    if (o == ImageCen && e->type() == QEvent::MouseButtonPress) {
        emit KliknietoPrzelacznik();
        return true;
    }
    return QWidget::eventFilter(o, e);
}

uint8_t TPanelPrawy::Nastawa(int item) const {
    return link_ ? link_->Nastawy[item] : 0;
}

void TPanelPrawy::Relabel() {
    Banner1->setText(LangText(1230));
    Banner2->setText(LangText(1231));
}

void TPanelPrawy::Kolory() {
    const TPaleta &p = pal_ ? *pal_ : Domyslna();
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Kolor(p.Background));
    pal.setColor(QPalette::Base, Kolor(p.Background));
    pal.setColor(QPalette::WindowText, Kolor(p.BannerText));
    pal.setColor(QPalette::Text, Kolor(p.Text));
    setPalette(pal);
    for (QLabel *b : {Banner1, Banner2})
        b->setPalette(pal);
    StringGridParametry->setPalette(pal);
    StringGridCzasyWtr->setPalette(pal);

    przelacznik_.fill(Kolor(p.Background));
    if (!cen_.isNull()) {
        QPainter g(&przelacznik_);
        g.drawImage(0, 0, cen_);
    }
    ZapomnijLampki();
    ImageCen->setPixmap(QPixmap::fromImage(przelacznik_));
    StringGridParametry->viewport()->update();
    StringGridCzasyWtr->viewport()->update();
}

void TPanelPrawy::UstawZaawansowany(bool on) {
    BtnParam->setVisible(on);
    BtnZwin->setVisible(on);
    BtnParamIng->setVisible(on);
    if (!on && zwiniete_) Rozwin();
}

void TPanelPrawy::Rozwin() {
    zwiniete_ = false;
    BtnParamIng->setText(QStringLiteral("-"));
    PanelRightResize();
}

void TPanelPrawy::BtnParamIngClick() {
    zwiniete_ = !zwiniete_;
    BtnParamIng->setText(zwiniete_ ? QStringLiteral("+") : QStringLiteral("-"));
    PanelRightResize();
}

int TPanelPrawy::WierszeCzasow() const {
    if (!link_ || zwiniete_) return 1;
    return std::clamp(int(link_->InjectorCount), 1, 8);
}

// ------------------------------------------------------------------------------------ live update

void TPanelPrawy::AktualizujOdczyty(const uint8_t *) {
    if (!link_) return;
    const int n = link_->PodajIleParamBiez(WykresReadings);
    if (StringGridParametry->rowCount() != n) PanelRightResize();
    for (int i = 0; i < n; ++i) {
        const QString t = link_->StrParamBiez(WykresReadings, i);
        if (t.isEmpty()) continue;
        if (StringGridParametry->UstawKomorke(1, i, t) && NazwyOdswiez) StringGridParametry->Przerysuj(0, i);
    }
}

void TPanelPrawy::AktualizujCzasy(const uint8_t *rx) {
    const int n = WierszeCzasow();
    if (StringGridCzasyWtr->rowCount() != n) {
        StringGridCzasyWtr->setRowCount(n);
        PanelRightResize();
    }
    const QLocale loc;
    for (int r = 0; r < n; ++r) {
        const double ben = Slowo(rx, 60 + 4 * r) * 0.004;
        const double gaz = Slowo(rx, 62 + 4 * r) * 0.004;
        if (ben != ostatniBen_[size_t(r)]) {
            StringGridCzasyWtr->UstawKomorke(1, r, loc.toString(ben, 'f', 2));
            ostatniBen_[size_t(r)] = ben;
        }
        if (gaz != ostatniGaz_[size_t(r)]) {
            StringGridCzasyWtr->UstawKomorke(3, r, loc.toString(gaz, 'f', 2));
            ostatniGaz_[size_t(r)] = gaz;
        }
    }
}

void TPanelPrawy::AktualizujLampki(const uint8_t *rx) {
    if (rx[13] == lampki_[0] && rx[14] == lampki_[1]) return;
    lampki_ = {rx[13], rx[14]};
    RysujLampki();
}

void TPanelPrawy::RysujLampki() {
    QPainter g(&przelacznik_);
    auto lampa = [&g](int l, int t, int r, int b, uint32_t c) {
        g.fillRect(QRect(l, t, r - l, b - t), Kolor(c));
    };
    const uint8_t a = lampki_[0], b = lampki_[1];
    auto bit = [](uint8_t v, int k) { return (v >> k) & 1; };
    lampa(12, 14, 20, 19, bit(a, 5) ? Zielony : 0);
    lampa(12, 29, 20, 34, bit(a, 4) ? Zielony : 0);
    lampa(12, 44, 20, 49, bit(a, 3) ? Zielony : 0);
    lampa(12, 59, 20, 64, bit(a, 2) ? Zielony : 0);
    lampa(12, 74, 20, 79, bit(a, 1) ? Zielony : bit(a, 0) ? 200u : 0u);
    lampa(71, 14, 78, 19, bit(b, 1) ? Zielony : bit(b, 0) ? 200u : 0u);
    g.end();
    ImageCen->setPixmap(QPixmap::fromImage(przelacznik_));
}

// ------------------------------------------------------------------------------------ clicks

void TPanelPrawy::CzasyWtrSelectCell(int col, int row) {
    if (col != 2 || !link_ || row < 0 || row > 7) return;
    link_->InjectorMask ^= uint8_t(1u << row);
    link_->InjectorMask &= uint8_t(~link_->Nastawy[31]);
    link_->InjectorMaskPending = 1;
    StringGridCzasyWtr->viewport()->update();
}

// ------------------------------------------------------------------------------------ layout

QString TPanelPrawy::NazwaObrazkaObd(int icon) {
    switch (icon) {
    case 1: return QStringLiteral("RC_OBD_PWM");
    case 2: return QStringLiteral("RC_OBD_VPW");
    case 3:
    case 4:
    case 5: return QStringLiteral("RC_OBD_ISO");
    case 6:
    case 7:
    case 8:
    case 9: return QStringLiteral("RC_OBD_CAN");
    case -1: return QStringLiteral("RC_OBD_OFF");
    default: return QStringLiteral("RC_OBD_ON");
    }
}

void TPanelPrawy::resizeEvent(QResizeEvent *) {
    PanelRightResize();
}

void TPanelPrawy::PanelRightResize() {
    const TPaleta &pal = pal_ ? *pal_ : Domyslna();
    const int W0 = width();
    const int stripY = height() - Pasek;

    // 1. Protocol picture.
    if (W0 > 100) {
        const int W = W0 - 90;
        pokazanyObd_ = NazwaObrazkaObd(ikonaObd_);
        const QImage obraz(QStringLiteral(":/img/%1.png").arg(pokazanyObd_));
        QPixmap canvas(W, WysokoscObd);
        canvas.fill(Kolor(pal.Background));
        if (!obraz.isNull()) {
            QPainter g(&canvas);
            g.setRenderHint(QPainter::SmoothPixmapTransform);
            if (W >= 136) {
                g.drawImage((W - obraz.width()) / 2, 0, obraz);
            } else if (W > 4) {
                const int top = WysokoscObd - (W - 4) * WysokoscObd / 135;
                g.drawImage(QRect(QPoint(0, top), QPoint(W - 4 - 1, WysokoscObd - 1)), obraz);
            }
        }
        ImageObd->setPixmap(canvas);
        ImageObd->setGeometry(0, stripY, W, WysokoscObd);
        ImageObd->show();
    } else {
        ImageObd->hide();
    }
    ImageCen->move(W0 - Pasek, stripY);

    // 2. Row height.
    const int h = std::max(18, height() / 20);

    // 3. Readings grid.
    const int rows = link_ ? link_->PodajIleParamBiez(WykresReadings) : 0;
    StringGridParametry->UstawWymiary(3, rows);
    const int gw = W0;
    const int c0 = gw * 65 / 100;
    StringGridParametry->setColumnWidth(0, c0);
    StringGridParametry->setColumnWidth(1, std::max(0, gw - c0 - 1));
    StringGridParametry->setColumnWidth(2, 0);
    StringGridParametry->UstawWysokoscWiersza(h + 1);
    Banner1->setGeometry(0, 0, W0, BannerGorny);
    BtnParam->setGeometry(0, 0, BannerGorny, BannerGorny);
    BtnZwin->setGeometry(W0 - BannerGorny, 0, BannerGorny, BannerGorny);
    const int odczytyH =
        std::clamp((h + 1) * rows + 3, 0, std::max(0, stripY - BannerGorny - BannerDolny - h));
    StringGridParametry->setGeometry(0, BannerGorny, gw, odczytyH);

    // 4. Fonts.
    if (link_) {
        QFont fn = font();
        fn.setBold(false);
        for (int size = 20; size >= 7; --size) {
            fn.setPointSize(size);
            const QFontMetrics m(fn);
            int widest = 0;
            for (int i = 0; i < rows; ++i) {
                const int k = link_->PodajPozycje(WykresReadings, i);
                if (k < 0 || k >= int(link_->Wykresy.size())) continue;
                const TWykres &w = link_->Wykresy[size_t(k)];
                widest = std::max(widest, m.horizontalAdvance(LangText(w.LabelId) +
                                                              (w.UnitId ? LangText(w.UnitId) : QString())));
            }
            if (widest + 4 < c0 && m.height() < h) {
                RozmiarNazw = size;
                break;
            }
        }
    }
    {
        QFont fv = font();
        fv.setBold(true);
        for (int size = 26; size >= 7; --size) {
            fv.setPointSize(size);
            const QFontMetrics m(fv);
            if (m.horizontalAdvance(QStringLiteral("88,88")) + 5 < gw - c0 - 1 && m.height() < h) {
                RozmiarWartosci = size;
                break;
            }
        }
    }

    // 5. Injection grid.
    const int n = WierszeCzasow();
    StringGridCzasyWtr->UstawWymiary(4, n);
    StringGridCzasyWtr->UstawWysokoscWiersza(h + 1);
    const int y2 = BannerGorny + odczytyH;
    Banner2->setGeometry(0, y2, W0, BannerDolny);
    BtnParamIng->setGeometry(0, y2 + 1, BannerDolny - 2, BannerDolny - 2);
    const int potrzebne = (h + 1) * n + 3;
    const int czasyH = std::clamp(potrzebne, 0, std::max(0, stripY - y2 - BannerDolny));
    StringGridCzasyWtr->setGeometry(0, y2 + BannerDolny, gw, czasyH);
    const bool obciete = czasyH < potrzebne;
    StringGridCzasyWtr->setVerticalScrollBarPolicy(obciete ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    const int a = gw * 10 / 100, b = gw * 35 / 100, c = gw * 20 / 100;
    if (obciete) {
        StringGridCzasyWtr->setColumnWidth(0, a - 5);
        StringGridCzasyWtr->setColumnWidth(1, b - 5);
        StringGridCzasyWtr->setColumnWidth(2, c - 5);
        StringGridCzasyWtr->setColumnWidth(3, std::max(0, gw - (a + b + c - 15) - 20));
    } else {
        StringGridCzasyWtr->setColumnWidth(0, a);
        StringGridCzasyWtr->setColumnWidth(1, b);
        StringGridCzasyWtr->setColumnWidth(2, c);
        StringGridCzasyWtr->setColumnWidth(3, std::max(0, gw - (a + b + c) - 3));
    }
    StringGridParametry->viewport()->update();
    StringGridCzasyWtr->viewport()->update();
}

// ------------------------------------------------------------------------------------ drawing

void TPanelPrawy::RysujOdczyt(QPainter &p, int col, int row, const QRect &r) {
    const TPaleta &pal = pal_ ? *pal_ : Domyslna();
    const int rows = link_ ? link_->PodajIleParamBiez(WykresReadings) : 0;
    if (col == 0) {
        p.fillRect(r, Kolor(pal.NameCell));
        if (!link_ || row >= rows) return;
        const int k = link_->PodajPozycje(WykresReadings, row);
        if (k < 0 || k >= int(link_->Wykresy.size())) return;
        const TWykres &w = link_->Wykresy[size_t(k)];
        QFont f = font();
        f.setBold(false);
        f.setPointSize(RozmiarNazw);
        p.setFont(f);
        p.setPen(Kolor(pal.Text));
        p.drawText(r.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, LangText(w.LabelId));
        if (w.UnitId)
            p.drawText(r.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignRight, LangText(w.UnitId));
        return;
    }
    p.fillRect(r, Kolor(pal.ValueCell));
    if (col != 1) return;
    QFont f = font();
    f.setBold(true);
    f.setPointSize(row < rows ? RozmiarWartosci : 10);
    p.setFont(f);
    p.setPen(Kolor(pal.BannerText));
    p.drawText(r.adjusted(0, 0, -5, 0), Qt::AlignVCenter | Qt::AlignRight,
               StringGridParametry->Komorka(1, row));
}

void TPanelPrawy::RysujCzas(QPainter &p, int col, int row, const QRect &r) {
    const TPaleta &pal = pal_ ? *pal_ : Domyslna();
    const uint8_t przypisanie = row >= 0 && row < 8 ? Nastawa(32 + row) : 0;
    if (przypisanie == 0 && col >= 1) {
        p.fillRect(r, Kolor(pal.NameCell));
        return;
    }
    QFont f = font();
    if (col == 1 || col == 3) {
        p.fillRect(r, Kolor(pal.ValueCell));
        f.setBold(true);
        f.setPointSize(RozmiarWartosci);
        p.setFont(f);
        p.setPen(Kolor(col == 1 ? pal.CaptionRed : pal.CaptionGreen));
        p.drawText(r.adjusted(0, 0, -2, 0), Qt::AlignVCenter | Qt::AlignRight,
                   StringGridCzasyWtr->Komorka(col, row));
        return;
    }
    p.fillRect(r, Kolor(pal.NameCell));
    p.setPen(Kolor(Szary));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    f.setBold(false);
    f.setPointSize(RozmiarNazw);
    p.setFont(f);
    p.setPen(Kolor(pal.Text));
    if (col == 0) {
        p.drawText(r, Qt::AlignCenter, QString::number(row + 1));
        return;
    }
    QString numery;
    for (int j = 0; j < 8; ++j)
        if (przypisanie & (1u << j)) numery += QString::number(j + 1);
    QRect tekst = r.adjusted(0, 0, -20, 0);
    if (QFontMetrics(f).horizontalAdvance(numery) < tekst.width()) {
        p.drawText(r.adjusted(0, 0, -20, 0), Qt::AlignCenter, numery);
    } else {
        if (f.pointSize() > 9) f.setPointSize(f.pointSize() - 2);
        p.setFont(f);
        p.drawText(tekst.adjusted(1, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, numery);
    }
    const QRect box(r.right() - 18, r.center().y() - 8, 16, 16);
    p.fillRect(box, Kolor(pal.Box));
    p.setPen(Kolor(Szary));
    p.drawRect(box);
    if (link_ && (link_->InjectorMask >> row) & 1) {
        QPen pen(Kolor(ZielonyZnacznik), 3);
        p.setPen(pen);
        p.setRenderHint(QPainter::Antialiasing);
        p.drawLine(box.left() + 3, box.center().y(), box.left() + 7, box.bottom() - 3);
        p.drawLine(box.left() + 7, box.bottom() - 3, box.right() - 3, box.top() + 3);
    }
}
