// monitor and record: live samples, one per poll reply, for a number of seconds or until
// interrupted.
#include "cli/Commands.h"
#include "cli/ControllerJob.h"
#include "device/ImageFile.h"
#include "device/Liczby.h"
#include "lang/LangText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <limits>

namespace {

bool IsLiveReply(int code, int length) {
    return (code & 0xF0) == 0x90 && length > 4;
}

// A job that ends by itself after its seconds (counted from the first sample), or on Ctrl-C.
class LiveJob : public ControllerJob {
public:
    LiveJob(const CliOptions &o, double seconds) : ControllerJob(o), seconds_(seconds) {
        stop_.setSingleShot(true);
        stop_.setTimerType(Qt::PreciseTimer);
        connect(&stop_, &QTimer::timeout, this, [this] { End(); });
    }

protected:
    void Interrupted() override { End(); }
    virtual void End() { Finish(WyjscieOk); }
    // Called for the first sample: starts the clock of the run.
    void FirstSample() {
        if (started_) return;
        started_ = true;
        since_.start();
        if (seconds_ > 0) stop_.start(int(seconds_ * 1000));
    }
    double SampleSeconds() const { return started_ ? since_.elapsed() / 1000.0 : 0.0; }

private:
    double seconds_;
    bool started_ = false;
    QElapsedTimer since_;
    QTimer stop_;
};

class MonitorJob : public LiveJob {
public:
    using LiveJob::LiveJob;

protected:
    QString Waiting() const override { return QStringLiteral("live parameters"); }
    void Reply(int code, int length) override {
        if (!IsIdentified() || !IsLiveReply(code, length)) return;
        FirstSample();
        Progress();
        QString line = QStringLiteral("t=") + FormatLiczby(SampleSeconds(), 1);
        const int n = S.PodajIleParamBiez(WykresReadings);
        for (int i = 0; i < n; ++i) {
            const int p = S.PodajPozycje(WykresReadings, i);
            if (p < 0 || p >= int(S.Wykresy.size())) continue;
            TWykres &w = S.Wykresy[size_t(p)];
            w.LastValue = std::numeric_limits<double>::quiet_NaN(); // every line carries every value
            const QString value = S.StrParamBiez(WykresReadings, i);
            const QString unit = w.UnitId ? LangText(w.UnitId) : QString();
            line += QLatin1Char('\t') + LangText(w.LabelId) + QLatin1Char('=') + value;
            if (!unit.isEmpty()) line += QLatin1Char(' ') + unit;
        }
        Wypisz(line);
    }
};

class RecordJob : public LiveJob {
public:
    RecordJob(const CliOptions &o, double seconds, const QString &file) : LiveJob(o, seconds), file_(file) {}

protected:
    bool Prepare() override { return FolderWritable(file_); }
    QString Waiting() const override {
        return open_ ? QStringLiteral("live parameters") : ControllerJob::Waiting();
    }
    void Reply(int code, int length) override {
        if (!open_) {
            // The recording starts once the image holds the controller's configuration, which
            // goes into the file's header.
            if (!AllRead()) return;
            ClearMessage();
            if (!S.ZapiszOscyloskop(file_, nullptr, 0)) {
                Fail(WyjscieBladPliku,
                     QStringLiteral("%1: cannot be created (%2)").arg(file_, LastMessage()));
                return;
            }
            open_ = true;
            return;
        }
        if (!IsLiveReply(code, length)) return;
        FirstSample();
        Progress();
        uint8_t sample[TImageFile::SampleSize];
        std::memcpy(sample, S.RxBuffer, sizeof sample);
        S.DopiszOscyloskop(sample, 0);
        ++count_;
        if (S.ScopeFile && S.ScopeFile->error() != QFileDevice::NoError)
            Fail(WyjscieBladPliku,
                 QStringLiteral("%1: writing failed: %2").arg(file_, S.ScopeFile->errorString()));
    }
    void End() override {
        if (!open_) {
            Fail(WyjscieBrakOdpowiedzi, QStringLiteral("interrupted before the recording started"));
            return;
        }
        S.ZamnkijOscyloskop();
        Wypisz(QStringLiteral("recorded %1 samples (%2 s) to %3")
                   .arg(count_)
                   .arg(FormatLiczby(SampleSeconds(), 1), file_));
        Finish(WyjscieOk);
    }

private:
    QString file_;
    bool open_ = false;
    int count_ = 0;
};

} // namespace

int CmdMonitor(const CliOptions &o) {
    TArgumenty a;
    QString error;
    double seconds = 0;
    if (!a.Czytaj(o.Args, {QStringLiteral("--seconds")}, {}, &error) ||
        !a.Sekundy("--seconds", &seconds, &error))
        return UsageError(QStringLiteral("monitor: ") + error);
    if (!a.Operandy().isEmpty()) return UsageError(QStringLiteral("monitor takes no FILE"));
    MonitorJob job(o, seconds);
    return job.Run();
}

int CmdRecord(const CliOptions &o) {
    TArgumenty a;
    QString error;
    double seconds = 0;
    if (!a.Czytaj(o.Args, {QStringLiteral("--seconds")}, {}, &error) ||
        !a.Sekundy("--seconds", &seconds, &error))
        return UsageError(QStringLiteral("record: ") + error);
    if (a.Operandy().size() != 1) return UsageError(QStringLiteral("record needs one FILE"));
    RecordJob job(o, seconds, a.Operandy().first());
    return job.Run();
}
