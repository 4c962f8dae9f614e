// info and read-settings: connect, wait for the identification and the full read, then report.
#include "cli/Commands.h"
#include "cli/ControllerJob.h"

#include <QDir>
#include <QFileInfo>

namespace {

class InfoJob : public ControllerJob {
public:
    using ControllerJob::ControllerJob;

protected:
    void Reply(int, int) override {
        if (!AllRead()) return;
        const QList<QPair<QString, QString>> lines = {
            {QStringLiteral("model"), S.StrWersjaSterownika()},
            {QStringLiteral("serial"), S.StrNrSeryjny()},
            {QStringLiteral("version"), S.StrWersjaCyframi(5).trimmed()},
            {QStringLiteral("production"), S.StrDataProdukcji()},
            {QStringLiteral("injectors"), S.StrIleWtryskiwaczy()},
            {QStringLiteral("petrol time"), S.StrCzasNaBenzynie()},
            {QStringLiteral("gas time"), S.StrCzasNaGazie()},
        };
        for (const auto &l : lines)
            Wypisz(l.first + QStringLiteral(": ") + l.second);
        Finish(WyjscieOk);
    }
};

class ReadSettingsJob : public ControllerJob {
public:
    ReadSettingsJob(const CliOptions &o, const QString &file) : ControllerJob(o), file_(file) {}

protected:
    bool Prepare() override { return FolderWritable(file_); }
    void Reply(int, int) override {
        if (!AllRead()) return;
        ClearMessage();
        if (!S.ZapiszUstawienia(file_)) {
            Fail(WyjscieBladPliku, QStringLiteral("%1: cannot be written (%2)").arg(file_, LastMessage()));
            return;
        }
        Wypisz(QStringLiteral("saved %1").arg(file_));
        Finish(WyjscieOk);
    }

private:
    QString file_;
};

} // namespace

int CmdInfo(const CliOptions &o) {
    if (!o.Args.isEmpty()) return UsageError(QStringLiteral("info takes no arguments"));
    InfoJob job(o);
    return job.Run();
}

int CmdReadSettings(const CliOptions &o) {
    if (o.Args.size() != 1 || o.Args.first().startsWith(QLatin1String("--")))
        return UsageError(QStringLiteral("read-settings needs one FILE"));
    ReadSettingsJob job(o, o.Args.first());
    return job.Run();
}
