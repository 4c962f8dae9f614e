#pragma once
// The OBD panel's vehicle page: a "Read" button and a status line (MIL, stored codes, ignition), the
// emissions-inspection verdict, then one grid: what changed since the car's arrival (the first read
// of this run), and for every control unit that answered its readiness monitors (incomplete ones on
// the scheme's warning colour), the counters since the codes were cleared and with the lamp on, its
// stored, pending and permanent codes, its freeze frame and its vehicle information.
#include "obd/ObdInspekcja.h"
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

    // Incomplete monitors the verdict allows.
    void UstawDozwolone(int n);
    int Dozwolone() const { return dozwolone_; }
    // The visit: the read at arrival and the last one.
    const TObdWizyta &Wizyta() const { return wizyta_; }

    // "Read" pressed.
    std::function<void()> OnCzytaj;

    QPushButton *PrzyciskCzytaj;
    QLabel *LiniaStatusu;
    QLabel *LiniaWerdyktu;
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
    Wiersz *DodajWiersz(Rodzaj r, const QString &a, const QString &b, bool scalony);
    void DodajEcu(const TObdEcuPojazdu &e);
    void DodajZmiany();
    void Rozmiesc();

    QList<Wiersz> wiersze_;
    TObdPojazd pojazd_;
    TObdWizyta wizyta_;
    int dozwolone_ = 1;
    bool odczytany_ = false;
    bool czyta_ = false;
    TPaleta paleta_;
};
