#pragma once
// Injector corrections: one gas-time trim per gas injector (settings items 216…223), each step stored
// through the catalogue's setter, as an edit in the settings grid would be.
#include "dialogs/TDialog.h"

#include <algorithm>
#include <array>

class TKatalogNastaw;
class TStrzalki;

class TFormInj : public TDialog {
    Q_OBJECT
public:
    static constexpr int PierwszaNastawa = 216;
    static constexpr int ArrowMin = 78; // -1.25 ms
    static constexpr int ArrowMax = 178;

    explicit TFormInj(QWidget *parent = nullptr);

    // Caption and unit texts, arrows from the settings block, rows for the channel count.
    void Przygotuj(TKatalogNastaw *catalogue, int injectorCount);
    // Rows shown for a channel count: the count itself within 1…8, so any count the controller
    // reports shows its own rows.
    static int Wiersze(int injectorCount) { return std::clamp(injectorCount, 1, 8); }
    static int Wysokosc(int rows) { return 110 + 30 * rows; }
    int PokazaneWiersze() const { return wiersze_; }

    // An arrow step on row tag (0…7) to position v.
    void UpDownClick(int tag, int v);
    void Wypelnij();

    std::array<QLabel *, 8> Label{};
    std::array<QLineEdit *, 8> Edit{};
    std::array<TStrzalki *, 8> UpDown{};
    std::array<QLabel *, 8> Jednostka{};

protected:
    bool MaDane() const override { return katalog_ != nullptr; }

private:
    TKatalogNastaw *katalog_ = nullptr;
    int wiersze_ = 8;
};
