#include "cli/ObdJob.h"

#include <QCoreApplication>

void TSiatkaZapisu::SetColCount(int cols) {
    cols_ = std::max(0, cols);
    for (QStringList &r : rows_)
        r.resize(cols_);
}

void TSiatkaZapisu::SetRowCount(int rows) {
    rows_.resize(std::max(0, rows));
    for (QStringList &r : rows_)
        r.resize(cols_);
}

void TSiatkaZapisu::SetCell(int col, int row, const QString &text, int) {
    if (row < 0 || row >= rows_.size() || col < 0 || col >= cols_) return;
    rows_[row][col] = text;
    if (OnSet) OnSet(col, row, text);
}

QString TSiatkaZapisu::Cell(int col, int row) const {
    if (row < 0 || row >= rows_.size() || col < 0 || col >= cols_) return QString();
    return rows_[row][col];
}

void TPoleZapisu::Append(const QString &line, int) {
    Lines.append(line);
}

ObdJob::ObdJob(const CliOptions &options) : Options(options), Config(CzytajKonfiguracje()) {
    UstawJezyk(Options, Config);
    O.StopTimer(); // ticked from here, so that every step can be looked at as it happens
    O.SzybkiPolling = Config.ObdSzybko;
    O.MyGridStatus = &Status;
    O.MyGridPidy = &PidGrid;
    O.MyRichDtc = &Dtc;
    if (Options.Verbose) O.OnTekst = [](QObject *, const QString &text, uint32_t) { Blad(text.trimmed()); };
    tick_.setInterval(200);
    connect(&tick_, &QTimer::timeout, this, [this] { Tick(); });
    watchdog_.setSingleShot(true);
    watchdog_.setTimerType(Qt::PreciseTimer); // never before the time-out
    connect(&watchdog_, &QTimer::timeout, this, [this] { Watchdog(); });
}

ObdJob::~ObdJob() {
    UstawPrzerwanie({});
    O.OnTekst = nullptr;
    O.MyGridStatus = nullptr;
    O.MyGridPidy = nullptr;
    O.MyRichDtc = nullptr;
}

int ObdJob::Run() {
    if (finished_) return code_;
    // Without --obd-port, the configured adapter: the Wi-Fi one if that is in use, else the serial port.
    const QString given = Options.ObdPort.isEmpty() ? Config.ElmHost : Options.ObdPort;
    if (!OtworzPort(O, given, Config.ElmComm, &portName_)) {
        Fail(WyjscieBrakOdpowiedzi,
             QStringLiteral("cannot open the OBD adapter port %1: %2").arg(portName_, O.PortFaultReason()));
        return code_;
    }
    UstawPrzerwanie([this] { Interrupted(); });
    Progress();
    tick_.start();
    inLoop_ = true;
    const int code = QCoreApplication::exec();
    inLoop_ = false;
    tick_.stop();
    watchdog_.stop();
    O.PortClose();
    return finished_ ? code_ : code;
}

void ObdJob::Tick() {
    if (finished_) return;
    // A port that closes under us (a Wi-Fi adapter that refused or dropped the connection, a converter
    // pulled out) will not answer again.
    if (!O.PortConnected()) {
        Fail(WyjscieBrakOdpowiedzi, QStringLiteral("the OBD adapter port %1 is closed (no connection, or the "
                                                   "connection dropped)")
                                        .arg(portName_));
        return;
    }
    if (firstTick_) {
        firstTick_ = false;
        O.OnTimer0();
        tick_.setInterval(TObd::Takt);
    } else {
        O.OnTimer1();
    }
    if (!polling_ && Polling()) {
        polling_ = true;
        Progress();
        PollingStarted();
    }
    if (!finished_) Ticked();
}

void ObdJob::Progress() {
    if (finished_) return;
    watchdog_.start(int(Options.TimeoutS * 1000));
}

void ObdJob::Finish(int code) {
    if (finished_) return;
    finished_ = true;
    code_ = code;
    watchdog_.stop();
    tick_.stop();
    if (inLoop_) QCoreApplication::exit(code);
}

void ObdJob::Fail(int code, const QString &message) {
    if (finished_) return;
    Blad(message);
    Finish(code);
}

void ObdJob::Interrupted() {
    Fail(WyjscieBrakOdpowiedzi, QStringLiteral("interrupted"));
}

QString ObdJob::Waiting() const {
    return polling_ ? QString() : QStringLiteral("the adapter to come to polling");
}

QStringList ObdJob::StatusLines() const {
    QStringList lines;
    for (int r = 0; r < Status.RowCount(); ++r) {
        const QString label = Status.Cell(0, r);
        if (label.isEmpty()) continue;
        lines << (label + QLatin1Char(' ') + Status.Cell(1, r)).trimmed();
    }
    return lines;
}

void ObdJob::Watchdog() {
    if (finished_) return;
    QString m = QStringLiteral("the OBD adapter on %1 did not answer within %2 s")
                    .arg(portName_)
                    .arg(Options.TimeoutS);
    const QString w = Waiting();
    if (!w.isEmpty()) m += QStringLiteral(" (waiting for %1)").arg(w);
    const QStringList status = StatusLines();
    if (!status.isEmpty()) m += QStringLiteral("; status: ") + status.join(QStringLiteral(", "));
    Fail(WyjscieBrakOdpowiedzi, m);
}
