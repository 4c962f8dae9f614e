#include "cli/ControllerJob.h"

#include "lang/LangText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <bit>

ControllerJob::ControllerJob(const CliOptions &options) : Options(options), Config(CzytajKonfiguracje()) {
    UstawJezyk(Options, Config);
    S.LinkKey = Options.LinkKey >= 0 ? uint8_t(Options.LinkKey) : Config.LinkKey;
    S.UstawDateIdent(QDate::currentDate(), Config.WorkstationId);
    S.DocumentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    S.OnZdarzenie = [this](int kind, int a, int b, int c) { OnEvent(kind, a, b, c); };
    S.OnMessage = [this](const QString &text, int flags) {
        lastMessage_ = text;
        if (Options.Verbose) Blad(QStringLiteral("message: ") + text);
        return (flags & 0x0F) == 4 ? 7 : 1; // nobody to ask: "No" to questions, "OK" otherwise
    };
    if (Options.Verbose) S.OnTekst = [](QObject *, const QString &text, uint32_t) { Blad(text.trimmed()); };

    watchdog_.setSingleShot(true);
    watchdog_.setTimerType(Qt::PreciseTimer); // never before the time-out
    connect(&watchdog_, &QTimer::timeout, this, [this] { Watchdog(); });
}

ControllerJob::~ControllerJob() {
    UstawPrzerwanie({});
    S.OnZdarzenie = nullptr;
    S.OnMessage = nullptr;
    S.OnTekst = nullptr;
}

int ControllerJob::Run() {
    if (!Prepare() || finished_) return code_;
    if (!OtworzPort(S, Options.Port, Config.Comm, &portName_)) {
        Fail(WyjscieBrakOdpowiedzi,
             QStringLiteral("cannot open the controller port %1: %2").arg(portName_, S.PortFaultReason()));
        return code_;
    }
    clock_.start();
    UstawPrzerwanie([this] { Interrupted(); });
    Progress();
    inLoop_ = true;
    const int code = QCoreApplication::exec();
    inLoop_ = false;
    watchdog_.stop();
    S.StopTimer();
    S.ZamnkijOscyloskop();
    S.PortClose();
    return finished_ ? code_ : code;
}

void ControllerJob::Progress() {
    if (finished_) return;
    watchdog_.start(int(Options.TimeoutS * 1000));
}

void ControllerJob::Finish(int code) {
    if (finished_) return;
    finished_ = true;
    code_ = code;
    watchdog_.stop();
    if (inLoop_) QCoreApplication::exit(code);
}

void ControllerJob::Fail(int code, const QString &message) {
    if (finished_) return;
    Blad(message);
    Finish(code);
}

bool ControllerJob::FolderWritable(const QString &file) {
    const QFileInfo dir(QFileInfo(file).absolutePath());
    if (dir.isDir() && dir.isWritable()) return true;
    Fail(WyjscieBladPliku, QStringLiteral("%1: the folder %2 does not exist or cannot be written")
                               .arg(file, QDir::toNativeSeparators(dir.filePath())));
    return false;
}

bool ControllerJob::KopiaPrzedZapisem(TPowodKopii powod, bool bezKopii) {
    if (bezKopii) return true;
    QString error;
    const QString path = Straz.Zapisz(powod, &error);
    if (path.isEmpty()) {
        Fail(WyjscieBladPliku, QStringLiteral("no backup of the controller could be saved, so nothing was "
                                              "written: %1 (--no-backup writes without one)")
                                   .arg(error));
        return false;
    }
    Blad(QStringLiteral("backup: %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

void ControllerJob::Interrupted() {
    Fail(WyjscieBrakOdpowiedzi, QStringLiteral("interrupted"));
}

QString ControllerJob::Waiting() const {
    if (!identified_) return QStringLiteral("the identification");
    QStringList w;
    if (const int n = std::popcount(S.WriteRequests) + S.SettingsWritePending)
        w << QStringLiteral("%1 block(s) to write").arg(n);
    if (const int n = std::popcount(S.ReadRequests)) w << QStringLiteral("%1 block(s) to read").arg(n);
    return w.join(QStringLiteral(", "));
}

void ControllerJob::Watchdog() {
    if (finished_) return;
    QString m = QStringLiteral("the controller on %1 did not answer within %2 s")
                    .arg(portName_)
                    .arg(Options.TimeoutS);
    const QString w = Waiting();
    if (!w.isEmpty()) m += QStringLiteral(" (waiting for %1)").arg(w);
    Fail(WyjscieBrakOdpowiedzi, m);
}

int ControllerJob::Outstanding(const TSterownik &s) {
    return std::popcount(s.ReadRequests) + std::popcount(s.WriteRequests) + s.SettingsWritePending +
           std::popcount(s.OtherRequests) + s.EraseErrorsPending;
}

void ControllerJob::OnEvent(int kind, int a, int b, int c) {
    Q_UNUSED(c);
    Straz.Zdarzenie(kind, a);
    if (finished_ || kind != 0) return;
    if (a == 0x81) {
        Progress();
        const int mode = S.Identyfikacja[5];
        if (mode == 0) {
            identified_ = true;
            lastOutstanding_ = Outstanding(S);
            Identified();
        } else if (mode == 1 && !S.FlashActive && !AcceptBootloader()) {
            Fail(WyjscieBrakOdpowiedzi,
                 QStringLiteral("the controller is running its bootloader: %1").arg(LangText(1365)));
            return;
        }
    } else {
        const int outstanding = Outstanding(S);
        if (outstanding < lastOutstanding_) Progress();
        lastOutstanding_ = outstanding;
    }
    if (!finished_) Reply(a, b);
}
