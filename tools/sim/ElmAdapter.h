#pragma once
// The virtual ELM327 adapter: takes the host's bytes and produces the adapter's text, each piece
// due at a moment of a virtual clock in milliseconds. No port and no event loop here: the shell
// feeds the bytes with the time they came and writes out what is due; tests drive the clock.
//
// Commands are handled one after another; a line that arrives while the previous answer is still
// coming waits for it. Every answer ends with an empty line and the ">" prompt.
#include "ElmFrames.h"
#include "ElmOptions.h"
#include "ElmVehicle.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>

class ElmAdapter {
public:
    static constexpr int MaxLine = 64; // longer command lines are answered "?"

    // startMs: the virtual time at which the car's engine started.
    explicit ElmAdapter(const ElmOptions &options, int64_t startMs = 0);

    // Bytes from the host, arrived at nowMs.
    void receive(const QByteArray &bytes, int64_t nowMs);
    // Everything due by nowMs, in order (removed from the queue).
    QByteArray takeOutput(int64_t nowMs);
    // Moment of the next piece still to come, nullopt when nothing is queued.
    std::optional<int64_t> nextOutputMs() const;

    // State shown by the adapter's own commands.
    bool echo() const { return echo_; }
    bool headers() const { return display_.headers; }
    int activeProtocol() const { return connected_ ? active_ : 0; }
    QByteArray protocolNumberText() const; // ATDPN
    QByteArray protocolText() const;       // ATDP
    ElmVehicle &vehicle() { return vehicle_; }

    // Called for every command handled with the whole answer text (for the --verbose log).
    std::function<void(const QByteArray &command, const QByteArray &answer)> onExchange;

private:
    struct Piece {
        int64_t due;
        QByteArray bytes;
    };
    using Lines = QList<QByteArray>;

    // A line too long for the adapter's buffer (overflow) is answered "?".
    void handleLine(const QByteArray &raw, int64_t start, bool overflow);
    // AT commands: the lines of the answer, nullopt for "?". May move *t on (ATZ).
    std::optional<Lines> handleAt(const QByteArray &cmd, int64_t *t);
    // OBD requests (hex digits, optionally ended by a response count digit).
    std::optional<Lines> handleRequest(const QByteArray &cmd, int64_t *t);
    // Brings the bus up for the first request after a protocol change; false with the error line.
    bool connectBus(int64_t *t, Lines *lines);
    std::optional<Lines> reset(int64_t *t, bool warm);
    void defaults();
    void selectProtocol(int number, bool automatic);

    void queue(int64_t due, const QByteArray &bytes);
    // Microseconds the serial line takes for that many bytes at the --baud rate (0 without).
    int64_t transferUs(qsizetype bytes) const;
    // Sends lines with their line ends (and a part answer so far) due at *t.
    void flushLines(Lines *lines, int64_t t);
    QByteArray eol() const { return linefeeds_ ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\r"); }

    ElmOptions options_;
    ElmVehicle vehicle_;
    int64_t startMs_;
    std::mt19937 rng_;

    QList<Piece> out_;
    int64_t busyUntil_ = 0;
    int64_t lineFreeUs_ = 0; // the adapter's serial output is busy until then
    QByteArray line_;        // command being typed
    bool lineOverflow_ = false;
    QByteArray lastCommand_; // repeated by an empty line
    QByteArray transcript_;  // answer text of the command being handled, for onExchange

    // Adapter settings
    bool echo_ = true;
    bool linefeeds_ = false;
    bool responses_ = true;
    ElmDisplay display_;
    int setting_ = 0;       // protocol set by ATSP/ATTP, 0 = automatic search
    bool automatic_ = true; // searching allowed ("A" in front of ATDPN)
    int active_ = 0;        // protocol in use once the bus is up
    bool connected_ = false;
};
