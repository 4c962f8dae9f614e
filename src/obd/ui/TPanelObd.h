#pragma once
// The OBD panel of the bottom dock: a tab row (errors / PID / vehicle), the trouble-code box, the PID
// grid, the vehicle page and, at the right edge, the adapter status grid. The engine writes into them
// through the adapters.
#include "obd/ui/TObdWidgety.h"

#include <QWidget>
#include <memory>

class QPushButton;
class QButtonGroup;
class TRichBox;
class TSiatka;
class TWidokPojazdu;

class TPanelObd : public QWidget {
    Q_OBJECT
public:
    explicit TPanelObd(QWidget *parent = nullptr);
    ~TPanelObd() override;

    // Tab row shown (sub-tab "ELM") or not (the module pages).
    void PokazZakladki(bool on);
    bool ZakladkiWidoczne() const { return zakladki_; }
    // Status grid shown at the right edge.
    void PokazStatus(bool on);

    QPushButton *SpeedButton41; // errors
    QPushButton *SpeedButton42; // "PID"
    QPushButton *SpeedButton43; // vehicle
    QButtonGroup *Grupa;
    TRichBox *RichEditDtc;
    TSiatka *StringGridPid;
    TSiatka *StringGridElm;
    TWidokPojazdu *Pojazd;

    std::unique_ptr<TObdSiatka> GridStatus;
    std::unique_ptr<TObdSiatka> GridPidy;
    std::unique_ptr<TObdRichBox> Dtc;

protected:
    void resizeEvent(QResizeEvent *) override;

private:
    void Rozmiesc();
    bool zakladki_ = true;
    bool status_ = true;
};
