#pragma once
// Injection type: which petrol injector signal drives which gas injector (settings items 31…39 and
// the link's injector mask), the petrol injection type and switching type, and the type the
// controller detects from the live petrol signals.
#include "dialogs/TDialog.h"
#include "widgets/TWidoki.h"

class QComboBox;
class TKatalogNastaw;
class TMacierzSeq;

class TFormSeq : public TDialog, public TOdbiorcaOdczytow {
    Q_OBJECT
public:
    static constexpr int Komorka = 28;

    explicit TFormSeq(QWidget *parent = nullptr);

    // Texts, lists and matrix for the controller's channel count (only 4, 6 and 8 are accepted).
    void Przygotuj(TKatalogNastaw *catalogue, int injectorCount);
    int Kanaly() const { return n_; }

    // Click on matrix cell (c, r), c, r >= 1: assign or free gas injector c on petrol signal r.
    void KlikMacierzy(int c, int r);
    // Click on the cell of gas injector c + 1 in the row below the matrix: keep it on petrol or not.
    void KlikWiersza(int c);
    void ComboBox2Change(int index);
    void ComboBox3Change(int index);

    // Detection from the live petrol signals.
    bool Widoczny() const override { return isVisible(); }
    void NowyOdczyt(const uint8_t *reply) override;

    // What the matrix shows (for drawing and tests): 0 white, 1 typical pattern, 2 assigned.
    int Komorki(int c, int r) const;
    bool KrzyzKolumny(int c) const; // gas injector c (1…n) kept on petrol
    bool KrzyzWiersza(int r) const; // petrol signal r (1…n) drives nothing

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    QLineEdit *Edit1;
    QComboBox *ComboBox2, *ComboBox3;
    TMacierzSeq *Macierz;
    TMacierzSeq *Wiersz;

protected:
    bool MaDane() const override { return katalog_ != nullptr && (n_ == 4 || n_ == 6 || n_ == 8); }

private:
    void Zapisz();
    void Lista(QComboBox *box, int item);
    TKatalogNastaw *katalog_ = nullptr;
    int n_ = 8;
};
