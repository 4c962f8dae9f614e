#pragma once
// Recording grid and text box, and an engine on an in-memory port, for the OBD engine tests.
#include "link/SerialBackend.h"
#include "obd/ObdModels.h"
#include "obd/TObd.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>

class GridRec : public TObdGrid {
public:
    struct Komorka {
        QString tekst;
        int kolor = ObdDefaultColour;
    };
    int cols = 0;
    int rows = 0;
    int curCol = -1;
    int curRow = -1;
    bool toggling = false;
    int setCellCount = 0;
    QMap<QPair<int, int>, Komorka> cells;

    void SetColCount(int c) override { cols = c; }
    void SetRowCount(int r) override { rows = r; }
    int RowCount() const override { return rows; }
    void SetCell(int col, int row, const QString &text, int colour) override {
        ++setCellCount;
        cells[{col, row}] = {text, colour};
    }
    QString Cell(int col, int row) const override { return cells.value({col, row}).tekst; }
    int Colour(int col, int row) const { return cells.value({col, row}).kolor; }
    void SetTogglingEnabled(bool e) override { toggling = e; }
    int CurrentCol() const override { return curCol; }
    int CurrentRow() const override { return curRow; }
};

class TextRec : public TObdTextBox {
public:
    QList<QPair<QString, int>> lines;
    int clears = 0;
    void Append(const QString &line, int colour) override { lines.append({line, colour}); }
    void Clear() override {
        lines.clear();
        ++clears;
    }
    QStringList Texts() const {
        QStringList t;
        for (const auto &l : lines)
            t << l.first;
        return t;
    }
};

struct LogLine {
    QString text;
    uint32_t colour;
};

// An engine with its grids, its box, its log and an open in-memory port; the run-time tick is off.
struct ObdRig {
    std::shared_ptr<TMemoryPort> port = std::make_shared<TMemoryPort>();
    TObd obd;
    GridRec status;
    GridRec pidy;
    TextRec dtc;
    QList<LogLine> log;
    QList<QList<int>> events;

    explicit ObdRig(bool open = true) {
        obd.StopTimer();
        obd.SzybkiPolling = false; // the loop as specified; the tests of fast polling switch it on
        obd.MyGridStatus = &status;
        obd.MyGridPidy = &pidy;
        obd.MyRichDtc = &dtc;
        obd.OnTekst = [this](QObject *, const QString &t, uint32_t c) { log.append({t, c}); };
        obd.OnZdarzenie = [this](int k, int a, int b, int c) { events.append({k, a, b, c}); };
        obd.UseBackend(port);
        if (open) obd.PortOpen(5);
    }
    bool Logged(const QString &text, uint32_t colour) const {
        for (const LogLine &l : log)
            if (l.text == text && l.colour == colour) return true;
        return false;
    }
    bool LoggedContaining(const QString &part) const {
        for (const LogLine &l : log)
            if (l.text.contains(part)) return true;
        return false;
    }
    // Sets the reply the parsers read, as the adapter lays it out (lines ended by CR, then ">").
    void Reply(const QStringList &lines) {
        QByteArray r;
        for (const QString &l : lines)
            r += l.toLatin1() + '\r';
        obd.Odpowiedz = r + "\r>";
    }
};

// Adapter layout of a line: every byte followed by a space.
inline QString L(const QString &bytes) {
    return bytes + u' ';
}
