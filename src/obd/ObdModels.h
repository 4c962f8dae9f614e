#pragma once
// What the OBD engine draws into: the status grid, the PID grid, the trouble-code box and the vehicle
// page. The window implements these on its widgets; tests record what the engine wrote.
#include "obd/ObdPojazdDekoder.h"

#include <QString>

// Colours are framework colour values 0x00BBGGRR; ObdDefaultColour means the widget's own text colour.
constexpr int ObdDefaultColour = -1;
constexpr int ObdBlack = 0x000000;
constexpr int ObdMagenta = 0xFF00FF;
constexpr int ObdBlue = 0xFF0000;
constexpr int ObdGreen = 0x008000;
constexpr int ObdRed = 0x0000FF;
constexpr int ObdSilver = 0xC0C0C0;

// A string grid of cells with a text and a text colour each.
class TObdGrid {
public:
    virtual ~TObdGrid() = default;

    virtual void SetColCount(int cols) = 0;
    virtual void SetRowCount(int rows) = 0;
    virtual int RowCount() const = 0;
    virtual void SetCell(int col, int row, const QString &text, int colour = ObdDefaultColour) = 0;
    virtual QString Cell(int col, int row) const = 0;

    // Layout hints; a recording grid may ignore them.
    virtual void SetDefaultColWidth(int /*width*/) {}
    virtual void SetColWidth(int /*col*/, int /*width*/) {}
    // Pixel width of the whole grid (used to give the last column the rest of it).
    virtual int Width() const { return 0; }
    // Height so that exactly this many rows show; no grid lines and no selection drawing.
    virtual void FitPlainRows(int /*rows*/) {}
    // Whether clicks, double clicks and Enter on the grid reach the engine.
    virtual void SetTogglingEnabled(bool /*enabled*/) {}

    // The grid's current cell (where the user clicked or pressed Enter).
    virtual int CurrentCol() const { return -1; }
    virtual int CurrentRow() const { return -1; }
};

// A rich-text box of appended lines, each in its own colour.
class TObdTextBox {
public:
    virtual ~TObdTextBox() = default;
    virtual void Append(const QString &line, int colour = ObdDefaultColour) = 0;
    virtual void Clear() = 0;
};

// The vehicle page: readiness, freeze frame and vehicle information of every unit that answered.
class TObdPojazdWidok {
public:
    virtual ~TObdPojazdWidok() = default;
    // A read began (the page may show that it is reading).
    virtual void CzytaniePojazdu() = 0;
    // The read is done; units that answered nothing at all are not listed.
    virtual void PokazPojazd(const TObdPojazd &pojazd) = 0;
};
