#include "dialogs/TFormParam.h"

#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "widgets/TPaleta.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

namespace {
constexpr int ListaWyboru = WykresChooser;
constexpr int Kolumna0 = TFormParam::WysokoscWiersza + 4; // the check box column
constexpr int DolOk = 44;                                 // room for "OK" below the rows
} // namespace

TFormParam::TFormParam(QWidget *parent) : TDialog(parent, QStringLiteral("FormParam"), Szerokosc, 100) {
    setFocusPolicy(Qt::StrongFocus);
    Ok->setFocusPolicy(Qt::NoFocus); // Enter toggles the current row
    Ok->setDefault(false);
    Ok->setAutoDefault(false);
}

void TFormParam::Przygotuj(TSterownik *link, const QColor &box) {
    link_ = link;
    box_ = box;
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(1230));
    biezacy_ = 0;
    Przebuduj();
}

int TFormParam::Seria(int row) const {
    if (!link_ || row < 0 || row >= wiersze_) return -1;
    const int i = link_->PodajPozycje(ListaWyboru, row);
    return i >= 0 && i < int(link_->Wykresy.size()) ? i : -1;
}

bool TFormParam::Zaznaczony(int row) const {
    const int i = Seria(row);
    return i >= 0 && (link_->Wykresy[size_t(i)].Flags & WykresReadings) != 0;
}

void TFormParam::Przelacz(int row) {
    const int i = Seria(row);
    if (i < 0) return;
    link_->Wykresy[size_t(i)].Flags ^= WykresReadings;
    Przebuduj();
}

void TFormParam::Przebuduj() {
    wiersze_ = link_ ? std::max(link_->PodajIleParamBiez(ListaWyboru), 0) : 0;
    biezacy_ = std::clamp(biezacy_, 0, std::max(wiersze_ - 1, 0));
    setFixedSize(Szerokosc, wiersze_ * (WysokoscWiersza + 1) + DolOk);
    Ok->setGeometry((Szerokosc - 90) / 2, height() - DolOk + 8, 90, 28);
    update();
}

void TFormParam::paintEvent(QPaintEvent *) {
    QPainter g(this);
    const QColor tekst = palette().color(QPalette::WindowText);
    const int h = WysokoscWiersza;
    for (int r = 0; r < wiersze_; ++r) {
        const int y = r * (h + 1);
        const QRect box(2, y + 2, h - 4, h - 4);
        g.fillRect(box, box_);
        g.setPen(tekst);
        g.drawRect(box.adjusted(0, 0, -1, -1));
        if (Zaznaczony(r)) {
            g.setPen(QPen(QColor(0, 128, 0), 3));
            g.drawLine(box.left() + 3, box.center().y(), box.center().x() - 1, box.bottom() - 3);
            g.drawLine(box.center().x() - 1, box.bottom() - 3, box.right() - 3, box.top() + 3);
        }
        const QRect cell(Kolumna0, y, width() - Kolumna0 - 32, h);
        const bool biezacy = r == biezacy_ && hasFocus();
        const QColor podswietlenie = palette().color(QPalette::Highlight).lighter(170);
        if (biezacy) g.fillRect(cell, podswietlenie);
        g.setPen(biezacy ? Czytelny(tekst, podswietlenie) : tekst);
        const int i = Seria(r);
        const QString name = i >= 0 ? LangText(link_->Wykresy[size_t(i)].LabelId) : QString();
        g.drawText(cell.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QLatin1Char(' ') + name);
    }
}

void TFormParam::mousePressEvent(QMouseEvent *e) {
    const int row = int(e->position().y()) / (WysokoscWiersza + 1);
    if (e->button() != Qt::LeftButton || row >= wiersze_) return TDialog::mousePressEvent(e);
    biezacy_ = row;
    Przelacz(row);
}

void TFormParam::keyPressEvent(QKeyEvent *e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Przelacz(biezacy_); return;
    case Qt::Key_Up:
        biezacy_ = std::max(biezacy_ - 1, 0);
        update();
        return;
    case Qt::Key_Down:
        biezacy_ = std::min(biezacy_ + 1, std::max(wiersze_ - 1, 0));
        update();
        return;
    default: TDialog::keyPressEvent(e);
    }
}
