#include "widgets/TSiatka.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
constexpr int RolaKoloru = Qt::UserRole + 1;

class TRysownik : public QStyledItemDelegate {
public:
    explicit TRysownik(TSiatka *grid) : QStyledItemDelegate(grid), grid_(grid) {}
    void paint(QPainter *p, const QStyleOptionViewItem &opt, const QModelIndex &idx) const override {
        p->save();
        p->setClipRect(opt.rect);
        if (grid_->OnDrawCell) {
            grid_->OnDrawCell(*p, idx.column(), idx.row(), opt.rect);
        } else {
            p->fillRect(opt.rect, grid_->palette().color(QPalette::Base));
            p->setPen(grid_->palette().color(QPalette::Text));
            p->drawText(opt.rect.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                        idx.data().toString());
        }
        p->restore();
    }

private:
    TSiatka *grid_;
};
} // namespace

TSiatka::TSiatka(QWidget *parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setWordWrap(false);
    setItemDelegate(new TRysownik(this));
}

QTableWidgetItem *TSiatka::Element(int col, int row) {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return nullptr;
    QTableWidgetItem *it = item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        setItem(row, col, it);
    }
    return it;
}

bool TSiatka::UstawKomorke(int col, int row, const QString &text) {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return false;
    QTableWidgetItem *it = item(row, col);
    if (it ? it->text() == text : text.isEmpty()) return false;
    Element(col, row)->setText(text);
    ++zapisy_;
    return true;
}

QString TSiatka::Komorka(int col, int row) const {
    const QTableWidgetItem *it = (col >= 0 && row >= 0) ? item(row, col) : nullptr;
    return it ? it->text() : QString();
}

void TSiatka::UstawKolorKomorki(int col, int row, int colour) {
    QTableWidgetItem *it = item(row, col);
    if (!it && colour < 0) return;
    if (it && it->data(RolaKoloru).isValid() && it->data(RolaKoloru).toInt() == colour) return;
    if (QTableWidgetItem *e = Element(col, row)) e->setData(RolaKoloru, colour);
}

int TSiatka::KolorKomorki(int col, int row) const {
    const QTableWidgetItem *it = (col >= 0 && row >= 0) ? item(row, col) : nullptr;
    return it && it->data(RolaKoloru).isValid() ? it->data(RolaKoloru).toInt() : -1;
}

void TSiatka::UstawWymiary(int cols, int rows) {
    if (columnCount() != cols) setColumnCount(cols);
    if (rowCount() != rows) setRowCount(rows);
}

void TSiatka::UstawWysokoscWiersza(int h) {
    if (verticalHeader()->defaultSectionSize() != h) verticalHeader()->setDefaultSectionSize(h);
    for (int r = 0; r < rowCount(); ++r)
        if (rowHeight(r) != h) setRowHeight(r, h);
}

void TSiatka::Przerysuj(int col, int row) {
    if (row < 0) {
        for (int r = 0; r < rowCount(); ++r)
            viewport()->update(visualRect(model()->index(r, col)));
        return;
    }
    if (col < 0 || row >= rowCount() || col >= columnCount()) return;
    viewport()->update(visualRect(model()->index(row, col)));
}

void TSiatka::keyPressEvent(QKeyEvent *e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit EnterWcisniety();
        e->accept();
        return;
    }
    QTableWidget::keyPressEvent(e);
}
