#pragma once
// The three views the main window places in its centre and bottom dock, seen from the window.
// The settings grid (TNastawy), the map view (TGrafika) and the scope view (TScope) implement these,
// so the window and the dialogs reach a view without knowing its widget class.
#include <QString>
#include <Qt>
#include <cstdint>

class QFont;
class QWidget;
class TSterownik;
class TKatalogNastaw;
struct TPaleta;

// The dialogs the settings grid opens (created once by the main window, shown modally on demand).
class TDialogiNastaw {
public:
    virtual ~TDialogiNastaw() = default;
    // The two buttons of the button row; any other value is the item whose "..." button was pressed
    // (8 injection type, 40 gas level sensor, 57, 63 and 96 the small settings dialog).
    static constexpr int KorektyWtryskiwaczy = -101;
    static constexpr int Kalkulator = -102;
    // Shows the dialog modally with the grid's font; returns when it closes.
    virtual void Otworz(int item, const QFont &font) = 0;
};

// Settings grid.
class TWidokNastaw {
public:
    virtual ~TWidokNastaw() = default;
    virtual QWidget *Widget() = 0;
    virtual void UstawStrone(int page) = 0;         // select a page of rows
    virtual void Rozmiesc() = 0;                    // lay out rows, columns and fonts again
    virtual void UstawPoziom(int level) = 0;        // view level 0 basic, 1 full, 2 advanced
    virtual void Ukryj() = 0;                       // hide the pop-up list and the grid
    virtual void UstawKolory(const TPaleta &p) = 0; // scheme colours (lines, texts, fixed cells)
    virtual void Odswiez() = 0;                     // repaint from the image
    virtual void UstawDialogi(TDialogiNastaw *) {}  // where the "..." buttons and the button row go
};

// Map and chart view.
class TWidokMapy {
public:
    virtual ~TWidokMapy() = default;
    virtual QWidget *Widget() = 0;
    virtual void UstawTryb(int mode) = 0; // sub-tab number of the map tab (5 = OBD maps)
    virtual void UstawPoziom(int level) = 0;
    virtual void Ukryj() = 0;
    virtual void NoweParametry(const uint8_t *reply) = 0; // live cursor from a polling reply
    virtual void KlawiszMapy(int key, Qt::KeyboardModifiers mods) = 0;
    virtual void KasujKorekte() = 0; // reset the correction curve shown
    virtual void UstawKolory(const TPaleta &p) = 0;
    virtual void RysujTlo() = 0;
    virtual void Rysuj() = 0;
};

// Scope view and recorder.
class TWidokScope {
public:
    virtual ~TWidokScope() = default;
    virtual QWidget *Widget() = 0;
    virtual void Polecenie(int command) = 0; // 1 live … 21 zoom in
    virtual void NowaProbka(const uint8_t *reply) = 0;
    virtual QString CzasNagrania() const = 0; // "12.5 [s]"
    virtual void UstawKolory(const TPaleta &p) = 0;
    virtual void Przerysuj() = 0; // full redraw (channel list or colours changed)
};

// A dialog that follows the live readings while it is shown (gas level sensor, sequence window).
class TOdbiorcaOdczytow {
public:
    virtual ~TOdbiorcaOdczytow() = default;
    virtual bool Widoczny() const = 0;
    virtual void NowyOdczyt(const uint8_t *reply) = 0;
};
