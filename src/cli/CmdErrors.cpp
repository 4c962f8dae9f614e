// errors [--clear]: the controller's error report as the error box shows it; with --clear the list
// is erased first and the report read afresh.
#include "cli/Commands.h"
#include "cli/ControllerJob.h"
#include "device/ErrorLines.h"

#include <QByteArray>

namespace {

class ErrorsJob : public ControllerJob {
public:
    ErrorsJob(const CliOptions &o, bool clear) : ControllerJob(o), clear_(clear) {}

protected:
    void Identified() override {
        if (phase_ != Start) return;
        if (clear_) {
            S.EraseErrorsPending = 1;
            phase_ = Erasing;
        } else {
            phase_ = Report;
        }
    }
    QString Waiting() const override {
        switch (phase_) {
        case Start: return QStringLiteral("the identification");
        case Erasing: return QStringLiteral("the errors to be erased");
        case Report: return QStringLiteral("the error report");
        case Poll: return QStringLiteral("a poll reply");
        }
        return QString();
    }
    void Reply(int code, int length) override {
        switch (phase_) {
        case Start: return;
        case Erasing:
            // The erase acknowledgement asks for a new report; reports before it are the old list.
            if (code == 0x83) {
                Progress();
                phase_ = Report;
            }
            return;
        case Report:
            if (code != 0x82) return;
            Progress();
            report_ = QByteArray(reinterpret_cast<const char *>(S.RxBuffer), qBound(0, length, 128));
            phase_ = Poll;
            return;
        case Poll:
            // The stored-error flag is read from a poll that came after the report.
            if ((code & 0xF0) != 0x90 || length <= 4) return;
            for (const QString &line : LinieBledow(reinterpret_cast<const uint8_t *>(report_.constData()),
                                                   int(report_.size()), S.StatusBytes[1]))
                Wypisz(line);
            Finish(WyjscieOk);
            return;
        }
    }

private:
    enum { Start, Erasing, Report, Poll } phase_ = Start;
    bool clear_;
    QByteArray report_;
};

} // namespace

int CmdErrors(const CliOptions &o) {
    TArgumenty a;
    QString error;
    if (!a.Czytaj(o.Args, {}, {QStringLiteral("--clear")}, &error))
        return UsageError(QStringLiteral("errors: ") + error);
    if (!a.Operandy().isEmpty()) return UsageError(QStringLiteral("errors takes no operands"));
    ErrorsJob job(o, a.Flaga(QStringLiteral("--clear")));
    return job.Run();
}
