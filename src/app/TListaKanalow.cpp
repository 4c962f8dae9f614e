#include "app/TListaKanalow.h"

#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "widgets/TPaleta.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

TListaKanalow::TListaKanalow(QWidget *parent) : TSiatka(parent) {
    setObjectName(QStringLiteral("StringGrid1"));
    UstawWymiary(3, 0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    OnDrawCell = [this](QPainter &p, int c, int r, const QRect &rc) { Rysuj(p, c, r, rc); };
    connect(this, &TSiatka::EnterWcisniety, this, &TListaKanalow::Enter);
    WybierzKolor = [this](const QColor &preset) { return QColorDialog::getColor(preset, this); };
}

int TListaKanalow::Seria(int row) const {
    return link_ ? link_->PodajPozycje(WykresScope, row) : 0;
}

void TListaKanalow::Przebuduj() {
    const int rows = link_ ? link_->PodajIleParamBiez(WykresScope) : 0;
    UstawWymiary(3, rows);
    const int size = rows > 0 ? std::clamp(height() / rows, 18, 22) : 18;
    UstawWysokoscWiersza(size);
    setColumnWidth(0, size);
    setColumnWidth(1, size);
    setColumnWidth(2, std::max(0, width() - 2 * size - 4));
    for (int i = 0; i < rows; ++i) {
        const int k = Seria(i);
        const QString name = k >= 0 && k < int(link_->Wykresy.size())
                                 ? LangText(link_->Wykresy[size_t(k)].LabelId)
                                 : QString();
        UstawKomorke(2, i, QStringLiteral(" ") + name);
    }
    viewport()->update();
}

void TListaKanalow::resizeEvent(QResizeEvent *e) {
    TSiatka::resizeEvent(e);
    Przebuduj();
}

void TListaKanalow::mousePressEvent(QMouseEvent *e) {
    TSiatka::mousePressEvent(e);
    const QModelIndex idx = indexAt(e->position().toPoint());
    if (idx.isValid()) Klik(idx.column(), idx.row());
}

void TListaKanalow::Klik(int col, int row) {
    if (!link_ || row < 0 || row >= rowCount()) return;
    const int k = Seria(row);
    if (k < 0 || k >= int(link_->Wykresy.size())) return;
    TWykres &w = link_->Wykresy[size_t(k)];
    if (col == 1 || col == 2) {
        w.Flags ^= WykresDrawn;
    } else if (col == 0 && (w.Flags & WykresDrawn)) {
        const QColor c = WybierzKolor ? WybierzKolor(Kolor(w.Colour)) : QColor();
        if (c.isValid()) w.Colour = KolorWartosc(c);
    } else {
        return;
    }
    viewport()->update();
    emit Zmieniono();
}

void TListaKanalow::Enter() {
    if (!link_ || currentRow() < 0 || currentRow() >= rowCount()) return;
    const int k = Seria(currentRow());
    if (k < 0 || k >= int(link_->Wykresy.size())) return;
    link_->Wykresy[size_t(k)].Flags ^= WykresDrawn;
    viewport()->update();
    emit Zmieniono();
}

void TListaKanalow::Rysuj(QPainter &p, int col, int row, const QRect &r) {
    static const TPaleta domyslna = PaletaSchematu(3);
    const TPaleta &pal = pal_ ? *pal_ : domyslna;
    p.fillRect(r, Kolor(pal.Background));
    const int k = Seria(row);
    const bool ok = link_ && k >= 0 && k < int(link_->Wykresy.size());
    const bool drawn = ok && (link_->Wykresy[size_t(k)].Flags & WykresDrawn);
    if (col == 0) {
        if (drawn) p.fillRect(r.adjusted(2, 2, -2, -2), Kolor(link_->Wykresy[size_t(k)].Colour));
    } else if (col == 1) {
        const QRect box = r.adjusted(2, 2, -2, -2);
        p.fillRect(box, Kolor(pal.Box));
        if (drawn) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(Kolor(0x008000), 3));
            p.drawLine(box.left() + 3, box.center().y(), box.left() + box.width() / 3 + 1, box.bottom() - 3);
            p.drawLine(box.left() + box.width() / 3 + 1, box.bottom() - 3, box.right() - 3, box.top() + 3);
        }
    } else {
        p.setPen(Kolor(pal.Text));
        p.drawText(r.adjusted(1, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, Komorka(2, row));
    }
}
