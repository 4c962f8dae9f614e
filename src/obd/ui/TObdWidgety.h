#pragma once
// The OBD engine's grids and trouble-code box on screen.
#include "obd/ObdModels.h"
#include "widgets/TSiatka.h"

class TRichBox;

// A string grid the engine writes (adapter status, PID catalogue): text plus colour per cell; each cell
// is drawn in its colour (or the grid's text colour) at a fixed inset from its corner.
class TObdSiatka : public TObdGrid {
public:
    // Inset of the text from the cell's left and top edges.
    TObdSiatka(TSiatka *grid, int insetX, int insetY);

    void SetColCount(int cols) override;
    void SetRowCount(int rows) override;
    int RowCount() const override;
    void SetCell(int col, int row, const QString &text, int colour = ObdDefaultColour) override;
    QString Cell(int col, int row) const override;
    void SetDefaultColWidth(int width) override;
    void SetColWidth(int col, int width) override;
    int Width() const override;
    void FitPlainRows(int rows) override;
    void SetTogglingEnabled(bool enabled) override { toggling_ = enabled; }
    int CurrentCol() const override;
    int CurrentRow() const override;

    bool Toggling() const { return toggling_; }
    TSiatka *Grid() const { return grid_; }

private:
    TSiatka *grid_;
    int defaultWidth_ = 64;
    bool toggling_ = false;
};

// The trouble-code box.
class TObdRichBox : public TObdTextBox {
public:
    explicit TObdRichBox(TRichBox *box) : box_(box) {}
    void Append(const QString &line, int colour = ObdDefaultColour) override;
    void Clear() override;

private:
    TRichBox *box_;
};
