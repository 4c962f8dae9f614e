// write-settings: the controller is read first (a block that was never read is not written back)
// and backed up, then the file is loaded, which writes every block to the controller and reads it back; the
// run succeeds only when every write was acknowledged and every block came back as it was written.
#include "cli/Commands.h"
#include "cli/ControllerJob.h"
#include "device/ImageFile.h"

#include <QFileInfo>
#include <cstring>
#include <map>
#include <set>

namespace {

struct TBlokPliku {
    int Bit;
    const char *Name;
};
// The blocks a settings file writes, in the order the controller receives them.
constexpr TBlokPliku Bloki[] = {
    {BitNastawy, "settings"},
    {BitMnoznik1, "multipliers bank 1"},
    {BitMnoznik2, "multipliers bank 2"},
    {BitKorObr1, "RPM correction bank 1"},
    {BitKorObr2, "RPM correction bank 2"},
    {BitMapaA, "map A"},
    {BitMapaB, "map B"},
    {BitMapaC, "map C"},
    {BitMapaD, "map D"},
    {BitMapaE, "map E"},
    {BitMapaF, "map F"},
    {BitKorCis, "correction by gas pressure"},
    {BitKorTempRed, "correction by reducer temperature"},
    {BitKorTempGazu, "correction by gas temperature"},
};
// Table numbers of the controller's learnt-cell reports → block bits (maps A, C, E, B, D, F).
constexpr int BitTablicy[6] = {BitMapaA, BitMapaC, BitMapaE, BitMapaB, BitMapaD, BitMapaF};

class WriteSettingsJob : public ControllerJob {
public:
    WriteSettingsJob(const CliOptions &o, const QString &file, bool noBackup)
        : ControllerJob(o), file_(file), noBackup_(noBackup) {}

protected:
    bool Prepare() override {
        QString message;
        if (!SprawdzPlikUstawien(file_, &message)) {
            Fail(WyjscieBladPliku, message);
            return false;
        }
        const qint64 size = QFileInfo(file_).size();
        if (size < TImageFile::Size)
            Blad(QStringLiteral(
                     "%1 holds %2 of %3 bytes: the blocks beyond its end keep the controller's values")
                     .arg(file_)
                     .arg(size)
                     .arg(TImageFile::Size));
        return true;
    }

    void Reply(int code, int length) override {
        if (!loaded_) {
            if (AllRead()) Load();
            return;
        }
        if ((code & 0xF0) == 0x90 && length > 9) NoteLearntCell();
        if (S.WriteRequests == 0 && !S.SettingsWritePending && S.ReadRequests == 0) Verify();
    }

    QString Waiting() const override {
        return loaded_ ? ControllerJob::Waiting()
                       : QStringLiteral("the controller's blocks to be read first");
    }

private:
    void Load() {
        if (!KopiaPrzedZapisem(TPowodKopii::ZapisPliku, noBackup_)) return;
        ClearMessage();
        if (!S.CzytajUstawienia(file_)) {
            Fail(WyjscieBladPliku, QStringLiteral("%1: cannot be loaded (%2)").arg(file_, LastMessage()));
            return;
        }
        loaded_ = true;
        for (const TBlokPliku &b : Bloki)
            written_[b.Bit] = QByteArray(reinterpret_cast<const char *>(S.Blok(b.Bit)), 256);
        Progress();
    }

    // The controller goes on learning map cells while it runs; a cell it reports after the load is
    // its own new value, not a fault of the write.
    void NoteLearntCell() {
        const uint8_t *f = S.RxBuffer;
        if (f[6] != 0 || f[9] == 0 || f[7] >= 6) return;
        learnt_[BitTablicy[f[7]]].insert((f[8] >> 4) * 16 + (f[8] & 15));
    }

    void Verify() {
        int bad = 0;
        for (const TBlokPliku &b : Bloki) {
            const auto *want = reinterpret_cast<const uint8_t *>(written_[b.Bit].constData());
            const uint8_t *got = S.Blok(b.Bit);
            const std::set<int> &own = learnt_[b.Bit];
            int differ = 0, skipped = 0;
            // The settings checksum (byte 0) is computed afresh for every write.
            for (int i = b.Bit == BitNastawy ? 1 : 0; i < 256; ++i) {
                if (want[i] == got[i]) continue;
                if (own.count(i)) {
                    ++skipped;
                    continue;
                }
                ++differ;
            }
            QString line = QString::fromLatin1(b.Name) + QStringLiteral(": ");
            line += differ ? QStringLiteral("%1 byte(s) read back different").arg(differ)
                           : QStringLiteral("written and read back equal");
            if (skipped)
                line += QStringLiteral(" (%1 cell(s) learnt by the controller meanwhile)").arg(skipped);
            Wypisz(line);
            if (differ) ++bad;
        }
        if (bad)
            Fail(WyjscieBrakOdpowiedzi,
                 QStringLiteral("%1 block(s) did not read back as they were written").arg(bad));
        else
            Finish(WyjscieOk);
    }

    QString file_;
    bool noBackup_;
    bool loaded_ = false;
    std::map<int, QByteArray> written_;
    std::map<int, std::set<int>> learnt_;
};

} // namespace

int CmdWriteSettings(const CliOptions &o) {
    TArgumenty a;
    QString error;
    if (!a.Czytaj(o.Args, {}, {QStringLiteral("--no-backup")}, &error))
        return UsageError(QStringLiteral("write-settings: ") + error);
    if (a.Operandy().size() != 1) return UsageError(QStringLiteral("write-settings needs one FILE"));
    WriteSettingsJob job(o, a.Operandy().first(), a.Flaga(QStringLiteral("--no-backup")));
    return job.Run();
}
