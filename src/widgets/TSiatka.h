#pragma once
// A string grid with owner-drawn cells, as the panels of the main window use it: cells hold texts,
// a draw handler paints each cell, and a cell is written (and repainted) only when its text changes.
#include <QTableWidget>
#include <functional>

class QPainter;

class TSiatka : public QTableWidget {
    Q_OBJECT
public:
    explicit TSiatka(QWidget *parent = nullptr);

    // Paints one cell; without it the text is drawn plainly.
    std::function<void(QPainter &p, int col, int row, const QRect &r)> OnDrawCell;

    // Writes the text when it differs from the cell's; true when written.
    bool UstawKomorke(int col, int row, const QString &text);
    QString Komorka(int col, int row) const;
    // Colour of a cell's text (0x00BBGGRR), -1 = the grid's own.
    void UstawKolorKomorki(int col, int row, int colour);
    int KolorKomorki(int col, int row) const;
    // Writes that really changed a cell since creation.
    int LiczbaZapisow() const { return zapisy_; }

    void UstawWymiary(int cols, int rows);
    void UstawWysokoscWiersza(int h);
    // Repaints one cell (or a whole column with row -1).
    void Przerysuj(int col, int row);

signals:
    void EnterWcisniety();

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    QTableWidgetItem *Element(int col, int row);
    int zapisy_ = 0;
};
