#pragma once
// The right panel: readings grid, injection-time grid, the OBD protocol picture and the fuel-switch
// picture with its six lamps. Cells are written only when their text changes; the lamps are repainted
// only when their two status bytes change.
#include "widgets/TSiatka.h"

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>

class QLabel;
class QToolButton;
class TSterownik;
struct TPaleta;

class TPanelPrawy : public QWidget {
    Q_OBJECT
public:
    explicit TPanelPrawy(QWidget *parent = nullptr);

    void UstawSterownik(TSterownik *link) { link_ = link; }
    void UstawPalete(const TPaleta *p) { pal_ = p; }

    // Parts of one polling reply's update.
    void AktualizujOdczyty(const uint8_t *rx);
    void AktualizujCzasy(const uint8_t *rx);
    void AktualizujLampki(const uint8_t *rx);

    // Sizes grids and fonts and redraws the protocol picture.
    void PanelRightResize();
    // Captions of the two banners.
    void Relabel();
    // Colours of the current scheme; the switch picture is drawn anew and the lamps forgotten.
    void Kolory();
    // Advanced view: the "V", ">" and "-" buttons are shown.
    void UstawZaawansowany(bool on);

    // OBD protocol picture: adapter protocol number, 0 adapter ready, -1 no adapter.
    void UstawIkoneObd(int icon) { ikonaObd_ = icon; }
    int IkonaObd() const { return ikonaObd_; }
    // Resource name of the protocol picture for an icon value ("RC_OBD_CAN" ...).
    static QString NazwaObrazkaObd(int icon);
    QString PokazanyObrazekObd() const { return pokazanyObd_; }

    // Injection grid folded to one row ("+") or showing every channel ("-").
    void BtnParamIngClick();
    bool Zwiniete() const { return zwiniete_; }
    void Rozwin();
    int WierszeCzasow() const;

    void ZapomnijLampki() { lampki_ = {0, 0}; }
    const QImage &Przelacznik() const { return przelacznik_; }

    TSiatka *StringGridParametry;
    TSiatka *StringGridCzasyWtr;
    QLabel *Banner1;
    QLabel *Banner2;
    QToolButton *BtnParam;    // "V"
    QToolButton *BtnZwin;     // ">"
    QToolButton *BtnParamIng; // "-" / "+"
    QLabel *ImageObd;
    QLabel *ImageCen;

    bool NazwyOdswiez = true; // each new value also repaints its name cell
    int RozmiarNazw = 8;
    int RozmiarWartosci = 10;

signals:
    void KliknietoPrzelacznik(); // the fuel-switch picture: automatic fuel change
    void ZwinPanel();            // ">"
    void WyborParametrow();      // "V"

protected:
    void resizeEvent(QResizeEvent *) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void RysujOdczyt(QPainter &p, int col, int row, const QRect &r);
    void RysujCzas(QPainter &p, int col, int row, const QRect &r);
    void CzasyWtrSelectCell(int col, int row);
    void RysujLampki();
    void Rozmiesc();
    uint8_t Nastawa(int item) const;

    TSterownik *link_ = nullptr;
    const TPaleta *pal_ = nullptr;
    int ikonaObd_ = -1;
    QString pokazanyObd_;
    bool zwiniete_ = false;
    std::array<double, 8> ostatniBen_;
    std::array<double, 8> ostatniGaz_;
    std::array<uint8_t, 2> lampki_{0, 0};
    QImage przelacznik_;
    QImage cen_;
};
