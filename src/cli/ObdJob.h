#pragma once
// One command run against the OBD adapter: the OBD engine's tick driven from our own timer (200 ms
// to the first tick, then every 100 ms), its status grid, PID grid and trouble-code box recorded in
// memory, and a watchdog that ends the run with exit code 1 when the adapter keeps us waiting.
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "obd/TObd.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <functional>

// A grid that keeps its cells and reports every cell written.
class TSiatkaZapisu : public TObdGrid {
public:
    void SetColCount(int cols) override;
    void SetRowCount(int rows) override;
    int RowCount() const override { return int(rows_.size()); }
    void SetCell(int col, int row, const QString &text, int colour = ObdDefaultColour) override;
    QString Cell(int col, int row) const override;

    std::function<void(int col, int row, const QString &text)> OnSet;

private:
    int cols_ = 0;
    QVector<QStringList> rows_;
};

// A text box that keeps its lines.
class TPoleZapisu : public TObdTextBox {
public:
    void Append(const QString &line, int colour = ObdDefaultColour) override;
    void Clear() override { Lines.clear(); }
    QStringList Lines;
};

class ObdJob : public QObject {
public:
    explicit ObdJob(const CliOptions &options);
    ~ObdJob() override;

    int Run();

protected:
    // The task loop reached polling for the first time (adapter, protocol, ECUs and PIDs known).
    virtual void PollingStarted() {}
    // After every tick of the engine.
    virtual void Ticked() {}
    virtual void Interrupted();
    virtual QString Waiting() const;

    void Progress();
    void Finish(int code);
    void Fail(int code, const QString &message);
    bool Finished() const { return finished_; }
    bool Polling() const { return O.Stan == 1000 || O.Stan == 1001; }
    bool PollingReached() const { return polling_; }
    // The seven status rows as "LABEL value".
    QStringList StatusLines() const;

    const CliOptions &Options;
    TKonfiguracjaCli Config;
    TObd O;
    TSiatkaZapisu Status;
    TSiatkaZapisu PidGrid;
    TPoleZapisu Dtc;

private:
    void Tick();
    void Watchdog();

    bool finished_ = false;
    bool inLoop_ = false;
    bool firstTick_ = true;
    bool polling_ = false;
    int code_ = WyjscieOk;
    QString portName_;
    QTimer tick_;
    QTimer watchdog_;
};
