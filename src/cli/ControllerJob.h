#pragma once
// One command run against the controller: the controller link driven by its own 25 ms tick inside
// the event loop, a watchdog that ends the run with exit code 1 when the controller stops making
// progress for the time-out, and the bookkeeping every command needs (identification, reads,
// messages of the engine).
#include "backup/StrazKopii.h"
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "device/TSterownik.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class ControllerJob : public QObject {
public:
    explicit ControllerJob(const CliOptions &options);
    ~ControllerJob() override;

    // Checks, connects, runs the event loop until the job ends; returns the exit code.
    int Run();

protected:
    // Offline checks before connecting (files); false after Fail or Finish.
    virtual bool Prepare() { return true; }
    // The controller identified itself running its application (again after every identification).
    virtual void Identified() {}
    // Every reply the link accepted (event 0), after the common handling.
    virtual void Reply(int code, int length) {
        Q_UNUSED(code);
        Q_UNUSED(length);
    }
    // Whether an identification in the bootloader is acceptable (the firmware command).
    virtual bool AcceptBootloader() { return false; }
    // Ctrl-C / SIGTERM: by default the job ends with exit code 1.
    virtual void Interrupted();
    // What the job still waits for, for the time-out message ("" = nothing particular).
    virtual QString Waiting() const;

    // Restarts the watchdog: the controller did something the job was waiting for.
    void Progress();
    void Finish(int code);
    void Fail(int code, const QString &message);
    // A file can be created beside where it is to go; otherwise fails with a file error.
    bool FolderWritable(const QString &file);
    bool Finished() const { return finished_; }
    // Identified in application mode and every block of the full read is in.
    bool AllRead() const { return identified_ && S.ReadRequests == 0; }
    bool IsIdentified() const { return identified_; }
    // Last text the engine wanted to show in a message box.
    QString LastMessage() const { return lastMessage_; }
    void ClearMessage() { lastMessage_.clear(); }
    // Saves a backup of the controller before a write of its whole state and names it on standard
    // error; when none can be saved the run ends with exit code 3 and nothing is written, unless
    // the fitter said --no-backup.
    bool KopiaPrzedZapisem(TPowodKopii powod, bool bezKopii);
    // Seconds since the port was opened.
    double Seconds() const { return clock_.elapsed() / 1000.0; }

    const CliOptions &Options;
    TKonfiguracjaCli Config;
    TSterownik S;
    TStrazKopii Straz{S}; // what has been read from the controller since the connection

private:
    void OnEvent(int kind, int a, int b, int c);
    void Watchdog();
    static int Outstanding(const TSterownik &s);

    bool finished_ = false;
    bool inLoop_ = false;
    int code_ = WyjscieOk;
    bool identified_ = false;
    int lastOutstanding_ = 0;
    QString lastMessage_;
    QString portName_;
    QTimer watchdog_;
    QElapsedTimer clock_;
};
