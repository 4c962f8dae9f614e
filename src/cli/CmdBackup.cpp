// backup: the controller read and saved as a "manual" backup; diff: what differs between two
// settings files, the way the program's change report lists it.
#include "backup/RaportZmian.h"
#include "cli/Commands.h"
#include "cli/ControllerJob.h"

#include <QDir>

namespace {

class BackupJob : public ControllerJob {
public:
    using ControllerJob::ControllerJob;

protected:
    void Reply(int, int) override {
        if (!AllRead()) return;
        QString error;
        const QString path = Straz.Zapisz(TPowodKopii::Reczna, &error);
        if (path.isEmpty()) {
            Fail(WyjscieBladPliku, QStringLiteral("no backup could be saved: %1").arg(error));
            return;
        }
        Wypisz(QDir::toNativeSeparators(path));
        Finish(WyjscieOk);
    }
};

} // namespace

int CmdBackup(const CliOptions &o) {
    if (!o.Args.isEmpty()) return UsageError(QStringLiteral("backup takes no arguments"));
    BackupJob job(o);
    return job.Run();
}

int CmdDiff(const CliOptions &o) {
    if (o.Args.size() != 2 || o.Args[0].startsWith(QLatin1String("--")) ||
        o.Args[1].startsWith(QLatin1String("--")))
        return UsageError(QStringLiteral("diff needs two FILEs"));
    UstawJezyk(o, CzytajKonfiguracje());
    std::unique_ptr<TSterownik> obrazy[2];
    for (int i = 0; i < 2; ++i) {
        QString error;
        obrazy[i] = WczytajObraz(o.Args[i], &error);
        if (!obrazy[i]) {
            Blad(QStringLiteral("%1: cannot be loaded (%2)").arg(o.Args[i], error));
            return WyjscieBladPliku;
        }
    }
    const TRaportZmian r = PorownajObrazy(*obrazy[0], *obrazy[1]);
    // Standard output holds only the differences; comparing two cars is worth a word on the side.
    if (r.InnySterownik()) Blad(r.LiniaInnySterownik());
    for (const QString &line : r.Linie())
        Wypisz(line);
    return r.Rowne() ? WyjscieOk : 1;
}
