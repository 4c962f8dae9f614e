#pragma once
// The scope channel list of the left panel: one row per scope series with its colour swatch, a tick
// box (drawn in the scope or not) and its name.
#include "widgets/TSiatka.h"

#include <QColor>
#include <functional>

class TSterownik;
struct TPaleta;

class TListaKanalow : public TSiatka {
    Q_OBJECT
public:
    explicit TListaKanalow(QWidget *parent = nullptr);
    void UstawSterownik(TSterownik *link) { link_ = link; }
    void UstawPalete(const TPaleta *p) { pal_ = p; }

    // Rows, sizes and names from the series list.
    void Przebuduj();
    // Index in the series list of a row (the list's size when there is none).
    int Seria(int row) const;

    // Mouse click on a cell; Enter on the current row.
    void Klik(int col, int row);
    void Enter();

    // Colour chooser (the standard colour dialog; tests replace it). Returns an invalid colour on cancel.
    std::function<QColor(const QColor &preset)> WybierzKolor;

signals:
    void Zmieniono(); // ticks or colours changed: the scope view redraws

protected:
    void resizeEvent(QResizeEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    void Rysuj(QPainter &p, int col, int row, const QRect &r);
    TSterownik *link_ = nullptr;
    const TPaleta *pal_ = nullptr;
};
