#include "ElmShell.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

// Bytes of an exchange as readable text: CR, LF and other control bytes escaped.
QByteArray printable(const QByteArray &bytes) {
    QByteArray out;
    for (char c : bytes) {
        const uint8_t b = uint8_t(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (b < 0x20 || b >= 0x7F)
            out += "\\x" + QByteArray::number(b, 16).rightJustified(2, '0');
        else
            out += c;
    }
    return out;
}

} // namespace

ElmShell::ElmShell(const ElmOptions &options, QObject *parent)
    : QObject(parent), options_(options), adapter_(options, 0) {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer); // answers come within a millisecond of their time
    connect(&timer_, &QTimer::timeout, this, &ElmShell::pump);
    connect(&pty_, &Pty::received, this, [this](const QByteArray &b) { onReceived(b, false); });
    connect(&tcp_, &TcpLink::received, this, [this](const QByteArray &b) { onReceived(b, true); });
    if (options_.verbose) {
        adapter_.onExchange = [](const QByteArray &command, const QByteArray &answer) {
            std::fprintf(stderr, "elm: %s -> %s\n", command.constData(), printable(answer).constData());
        };
    }
}

bool ElmShell::start(QString *error) {
    if (!pty_.open(error)) return false;
    if (!options_.link.isEmpty() && !pty_.createLink(options_.link, error)) return false;
    if (options_.tcpPort >= 0 && !tcp_.listen(options_.tcpBind, options_.tcpPort, error)) return false;
    std::printf("PTY %s\n", qPrintable(pty_.slaveName()));
    if (!options_.link.isEmpty()) std::printf("LINK %s\n", qPrintable(options_.link));
    if (options_.tcpPort >= 0) std::printf("TCP %s\n", qPrintable(tcp_.address()));
    std::fflush(stdout);
    return true;
}

void ElmShell::onReceived(const QByteArray &bytes, bool fromTcp) {
    answerTcp_ = fromTcp;
    adapter_.receive(bytes, clock_.elapsed());
    pump();
}

void ElmShell::pump() {
    const qint64 now = clock_.elapsed();
    const QByteArray out = adapter_.takeOutput(now);
    if (!out.isEmpty()) {
        if (answerTcp_)
            tcp_.write(out);
        else
            pty_.write(out);
    }
    if (const auto next = adapter_.nextOutputMs())
        timer_.start(int(std::max<qint64>(0, *next - now)));
    else
        timer_.stop();
}

int runElmSimulator(const QStringList &args) {
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(qPrintable(elmUsage()), stdout);
        return 0;
    }
    QString error;
    const std::optional<ElmOptions> options = parseElmOptions(args, &error);
    if (!options) {
        std::fprintf(stderr, "tarven-sim elm: %s\n%s", qPrintable(error), qPrintable(elmUsage()));
        return 2;
    }
    ElmShell shell(*options);
    if (!shell.start(&error)) {
        std::fprintf(stderr, "tarven-sim elm: %s\n", qPrintable(error));
        return 1;
    }
    return QCoreApplication::exec();
}
