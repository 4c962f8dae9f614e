#pragma once
// Nozzle calculator: estimates the calibrated nozzle diameter (or the nozzle class) a gas injector
// needs for an engine. It reads its presets from the settings and changes nothing.
#include "dialogs/TDialog.h"

class QComboBox;
class QGroupBox;
class TKatalogNastaw;
class TStrzalki;

// One estimate: the diameter in mm and the text shown (a diameter, a class, or a dash when the
// estimate is not a usable diameter); Jednostka says whether the "[mm]" label belongs to it.
struct TWynikDyszy {
    double Srednica = 0.0;
    QString Tekst;
    bool Jednostka = true;
};

// Cylinder counts of the list and the pressure correction of each pressure entry (1.00 … 2.20 bar).
constexpr int IleCylindrow = 9;
extern const int Cylindry[IleCylindrow];
constexpr int IleCisnien = 13;
extern const double KorektaCisnienia[IleCisnien];

// The estimate. power in the unit chosen (kW converted to horsepower), pressureEntry 0…12, cng for
// every fuel but the first, injection 0 sequential / 1 semi-sequential / 2 full group, injector the
// injector type value.
TWynikDyszy ObliczDysze(int power, bool kW, int cylinders, int pressureEntry, bool cng, int injection,
                        int injector);

// Pressure list entry preset from the working pressure setting (raw in 0.01 bar).
int WpisCisnienia(int raw);

class TFormCal : public TDialog {
    Q_OBJECT
public:
    explicit TFormCal(QWidget *parent = nullptr);

    // Texts and lists of the current language, presets from the settings; then one calculation.
    void Przygotuj(TKatalogNastaw *catalogue);
    // Recalculates from the controls as now shown.
    void Oblicz();
    // A power typed into the field (taken when it is a whole number within 25…1000).
    void Edit1Change(const QString &text);

    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *LabelA, *LabelB;
    QLineEdit *Edit1; // power
    TStrzalki *UpDown1;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5, *ComboBox6;
    QLineEdit *Edit2; // result

protected:
    bool MaDane() const override { return katalog_ != nullptr; }

private:
    void Lista(QComboBox *box, int item);
    TKatalogNastaw *katalog_ = nullptr;
};
