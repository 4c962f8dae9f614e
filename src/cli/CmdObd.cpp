// obd status | pids | dtc | clear-dtc: the OBD engine against the adapter, up to polling and then
// the command's own part (obd vehicle: CmdObdPojazd.cpp).
#include "cli/Commands.h"
#include "cli/ObdJob.h"
#include "obd/ObdKasowanie.h"

#include <QElapsedTimer>
#include <QSet>
#include <optional>

namespace {

QString Hex2(int v) {
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

class StatusJob : public ObdJob {
public:
    using ObdJob::ObdJob;

protected:
    void PollingStarted() override {
        for (const QString &line : StatusLines())
            Wypisz(line);
        Finish(WyjscieOk);
    }
};

class PidsJob : public ObdJob {
public:
    PidsJob(const CliOptions &o, const QList<int> &pids, double seconds, std::optional<bool> fast)
        : ObdJob(o), asked_(pids), seconds_(seconds) {
        if (fast) O.SzybkiPolling = *fast;
        if (!asked_.isEmpty()) {
            // The PIDs given replace the polled set.
            for (pid &p : O.Pidy)
                p.odpytywany = 0;
            for (int n : asked_)
                O.Pidy[n].odpytywany = 1;
        }
        PidGrid.OnSet = [this](int col, int row, const QString &text) {
            // In the full-catalogue layout row n is PID n and column 4 its value.
            if (!PollingReached() || Finished() || col != 4 || text.isEmpty() || row < 0 ||
                row >= O.Pidy.size())
                return;
            Progress();
            ++values_;
            Wypisz(Hex2(row) + QLatin1Char('\t') + O.Pidy[row].skrot + QLatin1Char('\t') + text);
        };
        stop_.setSingleShot(true);
        stop_.setTimerType(Qt::PreciseTimer);
        connect(&stop_, &QTimer::timeout, this, [this] {
            Podsumowanie();
            Finish(WyjscieOk);
        });
    }
    ~PidsJob() override { PidGrid.OnSet = nullptr; }

protected:
    void Interrupted() override {
        Podsumowanie();
        Finish(WyjscieOk);
    }
    QString Waiting() const override {
        return PollingReached() ? QStringLiteral("PID values") : ObdJob::Waiting();
    }
    void PollingStarted() override {
        int polled = 0;
        for (int n = 0; n < O.Pidy.size(); ++n) {
            const pid &p = O.Pidy[n];
            if (!p.odpytywany) continue;
            if (p.obslugiwany)
                ++polled;
            else if (asked_.contains(n))
                Blad(QStringLiteral("PID %1 (%2) is not supported by the ECU").arg(Hex2(n), p.skrot));
        }
        if (polled == 0) {
            Fail(WyjscieBrakOdpowiedzi, QStringLiteral("the ECU supports none of the PIDs to poll"));
            return;
        }
        polled_ = polled;
        started_.start();
        if (seconds_ > 0) stop_.start(int(seconds_ * 1000));
    }

private:
    // The rate reached, on stderr (stdout keeps the values), so that adapters and cars can be compared.
    void Podsumowanie() {
        const double s = started_.isValid() ? double(started_.elapsed()) / 1000.0 : 0.0;
        if (s <= 0) return;
        QString how = QStringLiteral("polling as specified");
        if (O.SzybkiPolling && !O.SzybkiCan())
            how = QStringLiteral("fast polling, one PID a request on this bus");
        else if (O.SzybkiPolling && O.MaksGrupy > 1)
            how = QStringLiteral("fast polling, up to %1 PIDs a request").arg(O.MaksGrupy);
        else if (O.SzybkiPolling)
            how =
                QStringLiteral("fast polling, one PID a request: grouped requests were not answered in full");
        Blad(QStringLiteral("%1 values of %2 PIDs in %3 s: %4 values/s (%5)")
                 .arg(values_)
                 .arg(polled_)
                 .arg(s, 0, 'f', 1)
                 .arg(double(values_) / s, 0, 'f', 1)
                 .arg(how));
    }

    QList<int> asked_;
    double seconds_;
    QTimer stop_;
    QElapsedTimer started_; // polling reached
    int values_ = 0;        // values shown since
    int polled_ = 0;
};

// Presses a button of the OBD panel once polling runs and waits for the loop to come back to it.
class ButtonJob : public ObdJob {
public:
    ButtonJob(const CliOptions &o, int button) : ObdJob(o), button_(button) {}

protected:
    QString Waiting() const override {
        if (!PollingReached()) return ObdJob::Waiting();
        return button_ == 3 ? QStringLiteral("the trouble codes") : QStringLiteral("the codes to be cleared");
    }
    void PollingStarted() override {
        O.WcisnietoPrzycisk(button_);
        lastState_ = O.Stan;
        pressed_ = true;
    }
    void Ticked() override {
        if (!pressed_) return;
        if (O.Stan != lastState_) Progress();
        const int before = lastState_;
        lastState_ = O.Stan;
        if (Polling() && before >= 3000) Done();
    }
    virtual void Done() = 0;

private:
    int button_;
    bool pressed_ = false;
    int lastState_ = 0;
};

class DtcJob : public ButtonJob {
public:
    explicit DtcJob(const CliOptions &o) : ButtonJob(o, 3) {}

protected:
    void Done() override {
        for (const QString &line : Dtc.Lines)
            Wypisz(line);
        Finish(WyjscieOk);
    }
};

class ClearDtcJob : public ButtonJob {
public:
    explicit ClearDtcJob(const CliOptions &o) : ButtonJob(o, 4) {}

protected:
    void Done() override {
        // The loop does not look at the answer; only the positive answer to mode 04 counts. The
        // polling step that follows has not sent anything yet, so the answer is still there.
        const QByteArray reply = O.Odpowiedz;
        QString text = QString::fromLatin1(reply).simplified();
        text.remove(QLatin1Char('>'));
        const TKasowanieDtc wynik = OcenKasowanieDtc(reply);
        if (wynik == TKasowanieDtc::Potwierdzone) {
            Wypisz(QStringLiteral("trouble codes cleared"));
            Finish(WyjscieOk);
        } else if (reply.isEmpty()) {
            Fail(WyjscieBrakOdpowiedzi,
                 QStringLiteral("the adapter did not answer the clearing of the codes"));
        } else if (wynik == TKasowanieDtc::Odmowa) {
            Fail(WyjscieBrakOdpowiedzi,
                 QStringLiteral("the car refused to clear the codes: the answer was \"%1\"")
                     .arg(text.trimmed()));
        } else {
            Fail(WyjscieBrakOdpowiedzi,
                 QStringLiteral("the codes were not cleared: the answer was \"%1\"").arg(text.trimmed()));
        }
    }
};

} // namespace

int CmdObd(const CliOptions &o) {
    if (o.Args.isEmpty())
        return UsageError(QStringLiteral("obd needs status, pids, dtc, clear-dtc or vehicle"));
    const QString sub = o.Args.first();
    const QStringList rest = o.Args.mid(1);
    if (sub == QLatin1String("vehicle")) return CmdObdPojazd(o, rest);
    TArgumenty a;
    QString error;
    if (sub == QLatin1String("pids")) {
        double seconds = 0;
        if (!a.Czytaj(rest,
                      {QStringLiteral("--pid"), QStringLiteral("--seconds"), QStringLiteral("--polling")}, {},
                      &error) ||
            !a.Sekundy(QStringLiteral("--seconds"), &seconds, &error))
            return UsageError(QStringLiteral("obd pids: ") + error);
        std::optional<bool> fast; // the configured way unless given
        for (const QString &v : a.Wartosci(QStringLiteral("--polling"))) {
            if (v != QLatin1String("fast") && v != QLatin1String("as-specified"))
                return UsageError(
                    QStringLiteral("obd pids: --polling \"%1\" is neither \"fast\" nor \"as-specified\"")
                        .arg(v));
            fast = v == QLatin1String("fast");
        }
        if (!a.Operandy().isEmpty())
            return UsageError(QStringLiteral("obd pids: unexpected \"%1\"").arg(a.Operandy().first()));
        QList<int> pids;
        for (QString v : a.Wartosci(QStringLiteral("--pid"))) {
            if (v.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) v = v.mid(2);
            bool ok = false;
            const int n = v.toInt(&ok, 16);
            if (!ok || n < 0 || n > 0x80 || v.size() > 2)
                return UsageError(
                    QStringLiteral("obd pids: --pid \"%1\" is not a PID from 00 to 80 (hexadecimal)").arg(v));
            if (!pids.contains(n)) pids << n;
        }
        PidsJob job(o, pids, seconds, fast);
        return job.Run();
    }
    if (!rest.isEmpty()) return UsageError(QStringLiteral("obd %1 takes no arguments").arg(sub));
    if (sub == QLatin1String("status")) {
        StatusJob job(o);
        return job.Run();
    }
    if (sub == QLatin1String("dtc")) {
        DtcJob job(o);
        return job.Run();
    }
    if (sub == QLatin1String("clear-dtc")) {
        ClearDtcJob job(o);
        return job.Run();
    }
    return UsageError(QStringLiteral("unknown obd command \"%1\"").arg(sub));
}
