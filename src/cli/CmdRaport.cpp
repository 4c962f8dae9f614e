// report OUT.pdf|OUT.html: the service report of a visit as this run reads it: the car through the
// adapter (readiness, counters, codes, vehicle information), then the gas controller (identification,
// error log, the settings changed since its newest "connect" backup). A device that cannot be reached
// is left out of the report, which says so; the file is written whatever was reached.
#include "backup/MagazynKopii.h"
#include "cli/Commands.h"
#include "cli/ControllerJob.h"
#include "raport/TRaportSerwisowy.h"
#include "raport/pdf/RaportPdf.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Reads the controller: every block, the error report and a poll after it (its stored-error flag).
class ControllerReadJob : public ControllerJob {
public:
    using ControllerJob::ControllerJob;
    TSterownik &Sterownik() { return S; }
    QByteArray RaportBledow;

protected:
    QString Waiting() const override {
        if (AllRead() && RaportBledow.isEmpty()) return QStringLiteral("the error report");
        return ControllerJob::Waiting();
    }
    void Reply(int code, int length) override {
        if (code == 0x82 && length >= 13) {
            RaportBledow = QByteArray(reinterpret_cast<const char *>(S.RxBuffer), qBound(0, length, 128));
            Progress();
            poll_ = false;
            return;
        }
        if ((code & 0xF0) == 0x90 && length > 4 && !RaportBledow.isEmpty()) poll_ = true;
        if (poll_ && AllRead()) Finish(WyjscieOk);
    }

private:
    bool poll_ = false;
};

// The newest "connect" backup of the controller, compared with the controller now; the backups taken
// since then, by file name.
void ZmianyOdPolaczenia(TSterownik &s, TRaportSerwisowy *r) {
    const QList<TKopia> kopie = TMagazynKopii(s.DocumentsFolder).Lista(s.NumerKopii());
    for (const TKopia &k : kopie) {
        if (!k.Czytelna || k.Powod != NazwaPowodu(TPowodKopii::Polaczenie)) continue;
        QString error;
        const auto baza = WczytajObraz(k.Sciezka, &error, true);
        if (!baza) continue;
        r->zmiany = PorownajObrazy(*baza, s);
        r->bazaZmian = QFileInfo(k.Sciezka).fileName();
        for (const TKopia &p : kopie)
            if (p.Czytelna && p.Czas >= k.Czas) r->kopie.prepend(QFileInfo(p.Sciezka).fileName());
        return;
    }
}

} // namespace

int CmdRaport(const CliOptions &o) {
    if (o.Args.size() != 1 || o.Args[0].startsWith(QLatin1String("--")))
        return UsageError(QStringLiteral("report needs one OUT.pdf or OUT.html"));
    const QString out = o.Args[0];
    if (!RaportJakoPdf(out))
        return UsageError(QStringLiteral("report: %1 is neither .pdf nor .html").arg(out));
    const QFileInfo folder(QFileInfo(out).absolutePath());
    if (!folder.isDir() || !folder.isWritable()) {
        Blad(QStringLiteral("%1: the folder %2 does not exist or cannot be written")
                 .arg(out, QDir::toNativeSeparators(folder.filePath())));
        return WyjscieBladPliku;
    }
    const TKonfiguracjaCli k = CzytajKonfiguracje();
    UstawJezyk(o, k);
    TRaportSerwisowy r;
    r.warsztat = {k.WarsztatNazwa, k.WarsztatAdres, k.WarsztatTelefon};
    r.czas = QDateTime::currentDateTime();
    r.dozwolone = k.Dozwolone;
    {
        TObdPojazd pojazd;
        if (CzytajPojazdCli(o, &pojazd) == WyjscieOk) {
            TObdWizyta w;
            w.Odczyt(pojazd, r.czas);
            r.pojazd = w;
        } else {
            Blad(QStringLiteral("report: the car is left out"));
        }
    }
    {
        ControllerReadJob c(o);
        if (c.Run() == WyjscieOk) {
            r.sterownik = OpisSterownika(c.Sterownik(), c.RaportBledow);
            ZmianyOdPolaczenia(c.Sterownik(), &r);
        } else {
            Blad(QStringLiteral("report: the gas controller is left out"));
        }
    }
    QString error;
    if (!ZapiszRaport(RaportHtml(r), out, &error)) {
        Blad(QStringLiteral("the report cannot be written: %1").arg(error));
        return WyjscieBladPliku;
    }
    Wypisz(QDir::toNativeSeparators(QFileInfo(out).absoluteFilePath()));
    return WyjscieOk;
}
