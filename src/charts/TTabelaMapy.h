#pragma once
// One 17 x 17 map grid: row 0 and column 0 are headers, the cell texts and colours come from the map
// view. The lower grid keeps a selected block of cells (click, drag, arrows; Shift extends it); the
// right button opens the map view's menu of the table.
#include <QFont>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <QWidget>
#include <functional>

class TTabelaMapy : public QWidget {
public:
    TTabelaMapy(QWidget *parent, bool selectable);

    QString Tekst[17][17];
    QFont FontKomorki, FontRogu;
    // Background and text colour of a cell (0x00RRGGBB each).
    std::function<void(int col, int row, uint32_t &bg, uint32_t &fg)> Kolory;
    // Cells framed as the selected block (grid coordinates), or an empty rectangle.
    std::function<QRect()> Ramka;
    std::function<void(int col, int row)> OnKlik;
    // Right button: the block stays when the press is inside it (else the cell becomes the block),
    // then the table's menu opens at the global point.
    std::function<void(QPoint global)> OnMenu;
    std::function<void(int key, Qt::KeyboardModifiers mods)> OnKlawisz;
    bool PrawyDoPrawej = true; // cell texts right-aligned (else centred)

    // Cell pitch: D wide, B high; the widget becomes 17 D + 4 by 17 B + 4.
    void Uklad(int d, int b);
    int D() const { return d_; }
    int B() const { return b_; }
    QRect Komorka(int col, int row) const; // the cell's rectangle in widget coordinates
    void OdswiezKomorke(int col, int row);
    // The selected block in grid coordinates (columns and rows 1-16).
    QRect Blok() const { return QRect(QPoint(ac_, ar_), QPoint(kc_, kr_)).normalized(); }
    void UstawBlok(int c0, int r0, int c1, int r1);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    bool Pozycja(QPoint p, int &col, int &row) const;
    // Laid-out texts, kept until the text or the fonts change (most repaints change no text).
    QStaticText uklad_[17][17];
    QString ukladZ_[17][17];
    QFont ukladF_[2];
    bool wybor_;
    int d_ = 20, b_ = 12;
    int ac_ = 1, ar_ = 1, kc_ = 1, kr_ = 1;
};
