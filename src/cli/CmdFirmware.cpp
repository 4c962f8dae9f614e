// firmware FILE: the image is checked against the controller's hardware, the controller is backed
// up, the image is sent block by block to its bootloader, and the run ends once the controller identifies
// itself running its application again (and the update is recorded in its history).
#include "cli/Commands.h"
#include "cli/ControllerJob.h"
#include "lang/LangText.h"

#include <QFile>

namespace {

constexpr int Naglowek = 256;
constexpr int Bloki = 224;
constexpr qint64 NajmniejszyPlik = Naglowek + Bloki * 256; // 57600
constexpr qint64 NajwiekszyPlik = 65536;                   // the image buffer; files must be shorter

QString Hex2(int v) {
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

class FirmwareJob : public ControllerJob {
public:
    FirmwareJob(const CliOptions &o, const QString &file, bool noBackup)
        : ControllerJob(o), file_(file), noBackup_(noBackup) {
        S.OnFirmwareProgress = [this](int percent) {
            Progress();
            if (percent != lastPercent_) Wypisz(QString::number(percent) + QLatin1Char('%'));
            lastPercent_ = percent;
        };
        S.OnFirmwareDone = [this] {
            Progress();
            phase_ = Returning;
        };
    }
    ~FirmwareJob() override {
        S.OnFirmwareProgress = nullptr;
        S.OnFirmwareDone = nullptr;
    }

protected:
    bool Prepare() override {
        QFile f(file_);
        if (!f.open(QIODevice::ReadOnly)) {
            Fail(WyjscieBladPliku,
                 QStringLiteral("%1: cannot be opened: %2 (Error code 141)").arg(file_, f.errorString()));
            return false;
        }
        const qint64 size = f.size();
        header_ = f.read(Naglowek);
        if (size >= NajwiekszyPlik) {
            Fail(WyjscieBladPliku,
                 QStringLiteral("%1: %2 bytes is too long for a firmware image (at most %3)")
                     .arg(file_)
                     .arg(size)
                     .arg(NajwiekszyPlik - 1));
            return false;
        }
        if (size < NajmniejszyPlik) {
            Fail(WyjscieBladPliku,
                 QStringLiteral("%1: %2 bytes cannot hold the %3 firmware blocks (%4 bytes)")
                     .arg(file_)
                     .arg(size)
                     .arg(Bloki)
                     .arg(NajmniejszyPlik));
            return false;
        }
        if (!header_.startsWith("img file")) {
            Fail(WyjscieBladPliku,
                 QStringLiteral("%1: not a firmware image (no \"img file\" header)").arg(file_));
            return false;
        }
        return true;
    }

    bool AcceptBootloader() override { return phase_ != Done; }

    QString Waiting() const override {
        switch (phase_) {
        case Start: return IsIdentified() ? ControllerJob::Waiting() : QStringLiteral("the identification");
        case Flashing: return QStringLiteral("the bootloader to take block %1").arg(S.FirmwareBlock);
        case Returning: return QStringLiteral("the controller to start the new firmware");
        case Done: return QStringLiteral("the update to be recorded in the controller's history");
        }
        return QString();
    }

    void Interrupted() override {
        if (phase_ == Flashing || phase_ == Returning)
            Fail(WyjscieBrakOdpowiedzi,
                 QStringLiteral("interrupted during the transfer: the controller stays in "
                                "its bootloader until a complete image is loaded"));
        else
            ControllerJob::Interrupted();
    }

    void Identified() override {
        if (phase_ == Returning) {
            phase_ = Done;
            if (!historyRead_)
                S.WriteRequests &= ~(1u << BitHistoria); // never write a history we did not read
            Wypisz(QStringLiteral("version: ") + S.StrWersjaCyframi(5).trimmed());
        }
    }

    void Reply(int code, int) override {
        switch (phase_) {
        case Start:
            // In application mode the whole image is read first, so that the history entry of the
            // update joins the controller's own history. A controller found in its bootloader (a
            // failed update before) is given the image straight away.
            if (AllRead() || (code == 0x81 && S.Identyfikacja[5] == 1)) Begin();
            return;
        case Returning:
            if (code == 0x81 && S.Identyfikacja[5] == 1)
                Fail(WyjscieBrakOdpowiedzi,
                     QStringLiteral("the controller stayed in its bootloader: the image was "
                                    "not accepted (%1)")
                         .arg(LangText(1365)));
            return;
        case Done:
            if (S.WriteRequests == 0) Finish(WyjscieOk);
            return;
        case Flashing: return;
        }
    }

private:
    void Begin() {
        const uint8_t *id = S.Identyfikacja;
        const auto *h = reinterpret_cast<const uint8_t *>(header_.constData());
        if (h[8] != id[44] || h[18] != id[40] || h[20] != id[42] || h[21] != id[43]) {
            Fail(WyjscieBladPliku,
                 QStringLiteral(
                     "%1 is built for other hardware: header bytes 8, 18, 20, 21 are %2 %3 %4 %5, the "
                     "controller has %6 %7 %8 %9")
                     .arg(file_, Hex2(h[8]), Hex2(h[18]), Hex2(h[20]), Hex2(h[21]), Hex2(id[44]),
                          Hex2(id[40]), Hex2(id[42]), Hex2(id[43])));
            return;
        }
        historyRead_ = AllRead();
        if (S.Identyfikacja[5] == 1) {
            if (!noBackup_) Blad(QStringLiteral("no backup: the controller is running its bootloader"));
        } else if (!KopiaPrzedZapisem(TPowodKopii::Firmware, noBackup_)) {
            return;
        }
        ClearMessage();
        if (!S.Aktualizacja(file_)) {
            Fail(WyjscieBladPliku, QStringLiteral("%1: %2").arg(file_, LastMessage()));
            return;
        }
        phase_ = Flashing;
        lastPercent_ = 0;
        Wypisz(QStringLiteral("0%"));
        Progress();
    }

    QString file_;
    bool noBackup_;
    QByteArray header_;
    enum { Start, Flashing, Returning, Done } phase_ = Start;
    int lastPercent_ = -1;
    bool historyRead_ = false;
};

} // namespace

int CmdFirmware(const CliOptions &o) {
    TArgumenty a;
    QString error;
    if (!a.Czytaj(o.Args, {}, {QStringLiteral("--no-backup")}, &error))
        return UsageError(QStringLiteral("firmware: ") + error);
    if (a.Operandy().size() != 1) return UsageError(QStringLiteral("firmware needs one FILE"));
    FirmwareJob job(o, a.Operandy().first(), a.Flaga(QStringLiteral("--no-backup")));
    return job.Run();
}
