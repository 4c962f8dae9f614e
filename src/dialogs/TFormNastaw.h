#pragma once
// The small settings window: a group of two or three related settings reached from one item of the
// settings grid (57 quick start, 63 gas pressure, 96 switch signal and buzzer).
#include "dialogs/TDialog.h"

#include <array>

class QComboBox;
class TKatalogNastaw;
class TStrzalki;

class TFormNastaw : public TDialog {
    Q_OBJECT
public:
    explicit TFormNastaw(QWidget *parent = nullptr);

    // Rows for the mode (the item whose "..." button opened it); an unknown mode shows no rows.
    void Przygotuj(TKatalogNastaw *catalogue, int mode);
    int Tryb() const { return tryb_; }
    // Item of row r (0…2), 0 when the row is hidden.
    int Pozycja(int row) const { return pozycje_[size_t(row)]; }

    void UpDownClick(int item, int v);
    void ComboBox1Change(int index);
    void Wypelnij();

    std::array<QLabel *, 3> Label{};
    std::array<QLineEdit *, 3> Edit{};
    std::array<TStrzalki *, 3> UpDown{};
    QComboBox *ComboBox1; // row 1 of mode 96

protected:
    bool MaDane() const override { return katalog_ != nullptr && tryb_ != 0; }

private:
    TKatalogNastaw *katalog_ = nullptr;
    int tryb_ = 0;
    std::array<int, 3> pozycje_{};
};
