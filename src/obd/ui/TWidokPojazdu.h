#pragma once
// The OBD panel's vehicle page: a "Read" button and a status line (MIL, stored codes, ignition) above
// one grid that lists, for every control unit that answered, its readiness monitors (incomplete ones
// on the scheme's warning colour), its freeze frame and its vehicle information.
#include "obd/ObdModels.h"
#include "widgets/TPaleta.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class TSiatka;

class TWidokPojazdu : public QWidget, public TObdPojazdWidok {
    Q_OBJECT
public:
    explicit TWidokPojazdu(QWidget *parent = nullptr);

    void CzytaniePojazdu() override;
    void PokazPojazd(const TObdPojazd &pojazd) override;

    // Captions in the current language; the page is drawn again with them.
    void Relabel();
    void UstawKolory(const TPaleta &p);

    // "Read" pressed.
    std::function<void()> OnCzytaj;

    QPushButton *PrzyciskCzytaj;
    QLabel *LiniaStatusu;
    TSiatka *Siatka;

    // What a row shows, for drawing.
    enum class Rodzaj { Zwykly, Naglowek, Kolumny };

protected:
    void resizeEvent(QResizeEvent *) override;

private:
    struct Wiersz {
        Rodzaj rodzaj = Rodzaj::Zwykly;
        QString komorki[4];
        bool ostrzezenie[4] = {false, false, false, false}; // cell on the warning colour
        bool scalony = false;                               // the value spans columns 1..3
    };
    void Przebuduj();
    void DodajEcu(const TObdEcuPojazdu &e);
    void Rozmiesc();

    QList<Wiersz> wiersze_;
    TObdPojazd pojazd_;
    bool odczytany_ = false;
    bool czyta_ = false;
    TPaleta paleta_;
};
