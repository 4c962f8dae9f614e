#include "obd/ui/TObdWidgety.h"

#include "widgets/TPaleta.h"
#include "widgets/TRichBox.h"

#include <QHeaderView>
#include <QPainter>

TObdSiatka::TObdSiatka(TSiatka *grid, int insetX, int insetY) : grid_(grid) {
    grid_->OnDrawCell = [this, insetX, insetY](QPainter &p, int col, int row, const QRect &r) {
        const QColor tlo = grid_->palette().color(QPalette::Base);
        p.fillRect(r, tlo);
        const int c = grid_->KolorKomorki(col, row);
        // The engine's colours are fixed; on the scheme's box each is moved until it reads (the grey of
        // an unsupported PID only as far as dim text must).
        p.setPen(
            c < 0 ? grid_->palette().color(QPalette::Text)
                  : Czytelny(Kolor(uint32_t(c)), tlo, c == ObdSilver ? KontrastWyszarzony : KontrastTekstu));
        p.drawText(r.adjusted(insetX, insetY, 0, 0), Qt::AlignLeft | Qt::AlignTop, grid_->Komorka(col, row));
    };
}

void TObdSiatka::SetColCount(int cols) {
    const int before = grid_->columnCount();
    grid_->setColumnCount(std::max(0, cols));
    for (int c = before; c < grid_->columnCount(); ++c)
        grid_->setColumnWidth(c, defaultWidth_);
}

void TObdSiatka::SetRowCount(int rows) {
    grid_->setRowCount(std::max(0, rows));
}
int TObdSiatka::RowCount() const {
    return grid_->rowCount();
}

void TObdSiatka::SetCell(int col, int row, const QString &text, int colour) {
    if (col < 0 || row < 0) return;
    // The engine may write past the current size while it builds the grid.
    if (col >= grid_->columnCount()) SetColCount(col + 1);
    if (row >= grid_->rowCount()) grid_->setRowCount(row + 1);
    const bool changed = grid_->UstawKomorke(col, row, text);
    const bool recolour = grid_->KolorKomorki(col, row) != colour;
    grid_->UstawKolorKomorki(col, row, colour);
    if (recolour && !changed) grid_->Przerysuj(col, row);
}

QString TObdSiatka::Cell(int col, int row) const {
    return grid_->Komorka(col, row);
}

void TObdSiatka::SetDefaultColWidth(int width) {
    defaultWidth_ = width;
    grid_->horizontalHeader()->setDefaultSectionSize(width);
    for (int c = 0; c < grid_->columnCount(); ++c)
        grid_->setColumnWidth(c, width);
}

void TObdSiatka::SetColWidth(int col, int width) {
    if (col >= 0 && col < grid_->columnCount()) grid_->setColumnWidth(col, std::max(0, width));
}

int TObdSiatka::Width() const {
    return grid_->width();
}

void TObdSiatka::FitPlainRows(int rows) {
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setFocusPolicy(Qt::NoFocus);
    const int h = grid_->verticalHeader()->defaultSectionSize();
    grid_->setFixedHeight(h * rows + 2);
}

int TObdSiatka::CurrentCol() const {
    return grid_->currentColumn();
}
int TObdSiatka::CurrentRow() const {
    return grid_->currentRow();
}

void TObdRichBox::Append(const QString &line, int colour) {
    box_->Dodaj(line, colour);
}
void TObdRichBox::Clear() {
    box_->Wyczysc();
}
