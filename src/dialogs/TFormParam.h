#pragma once
// Readings chooser: one row per live series of the chooser list, ticked when the series is shown in
// the readings grid; a click on a row or Enter on the current row toggles it.
#include "dialogs/TDialog.h"

class TSterownik;

class TFormParam : public TDialog {
    Q_OBJECT
public:
    static constexpr int Szerokosc = 320;
    static constexpr int WysokoscWiersza = 20;

    explicit TFormParam(QWidget *parent = nullptr);

    // Caption, box colour and the rows of the series list.
    void Przygotuj(TSterownik *link, const QColor &box);
    int Wiersze() const { return wiersze_; }
    int Biezacy() const { return biezacy_; }
    // Series index of row r (the chooser's list), -1 outside it.
    int Seria(int row) const;
    bool Zaznaczony(int row) const;
    // Toggles the readings-grid flag of row r's series and rebuilds.
    void Przelacz(int row);
    void Przebuduj();

protected:
    bool MaDane() const override { return link_ != nullptr; }
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    TSterownik *link_ = nullptr;
    QColor box_;
    int wiersze_ = 0;
    int biezacy_ = 0;
};
