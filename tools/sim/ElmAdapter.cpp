#include "ElmAdapter.h"

#include <algorithm>
#include <cctype>

ElmAdapter::ElmAdapter(const ElmOptions &options, int64_t startMs)
    : options_(options), vehicle_(options), startMs_(startMs), rng_(options.seed), busyUntil_(startMs) {
    defaults();
    echo_ = true;
    linefeeds_ = options_.linefeeds;
}

void ElmAdapter::defaults() {
    display_ = ElmDisplay{};
    display_.padding = options_.canPadding;
    display_.padByte = options_.padByte;
    responses_ = true;
    selectProtocol(0, true);
}

void ElmAdapter::selectProtocol(int number, bool automatic) {
    setting_ = number;
    automatic_ = automatic || number == 0;
    active_ = 0;
    connected_ = false;
}

void ElmAdapter::receive(const QByteArray &bytes, int64_t nowMs) {
    for (char c : bytes) {
        if (c == '\r') {
            const QByteArray raw = line_;
            const bool overflow = lineOverflow_;
            line_.clear();
            lineOverflow_ = false;
            // The command, its CR included, took its time on the serial line to come in.
            const int64_t in = nowMs + (transferUs(raw.size() + 1) + 999) / 1000;
            handleLine(raw, std::max(in, busyUntil_), overflow);
        } else if (c == '\n' || c == '\0') {
            // The adapter ignores line feeds and NULs.
        } else if (line_.size() < MaxLine) {
            line_.append(c);
        } else {
            lineOverflow_ = true;
        }
    }
}

QByteArray ElmAdapter::takeOutput(int64_t nowMs) {
    QByteArray out;
    while (!out_.isEmpty() && out_.first().due <= nowMs)
        out += out_.takeFirst().bytes;
    return out;
}

std::optional<int64_t> ElmAdapter::nextOutputMs() const {
    if (out_.isEmpty()) return std::nullopt;
    return out_.first().due;
}

int64_t ElmAdapter::transferUs(qsizetype bytes) const {
    // Start bit, 8 data bits, stop bit.
    return options_.baud > 0 ? int64_t(bytes) * 10 * 1000000 / options_.baud : 0;
}

void ElmAdapter::queue(int64_t due, const QByteArray &bytes) {
    if (bytes.isEmpty()) return;
    if (options_.baud > 0) {
        // The piece is in the host's hands when its last byte is through the serial line.
        lineFreeUs_ = std::max(lineFreeUs_, due * 1000) + transferUs(bytes.size());
        due = (lineFreeUs_ + 999) / 1000;
    }
    due = std::max(due, busyUntil_);
    if (!out_.isEmpty() && out_.last().due == due) {
        out_.last().bytes += bytes;
    } else {
        out_.append({due, bytes});
    }
    busyUntil_ = due;
    transcript_ += bytes;
}

void ElmAdapter::flushLines(Lines *lines, int64_t t) {
    QByteArray body;
    for (const QByteArray &l : *lines)
        body += l + eol();
    lines->clear();
    queue(t, body);
}

void ElmAdapter::handleLine(const QByteArray &raw, int64_t start, bool overflow) {
    transcript_.clear();
    int64_t t = start;
    if (echo_) queue(t, raw + eol());

    // The adapter ignores spaces and control characters and takes either case.
    QByteArray cmd;
    for (char c : raw)
        if (uint8_t(c) > ' ') cmd.append(char(std::toupper(uint8_t(c))));
    if (cmd.isEmpty())
        cmd = lastCommand_; // an empty line repeats the last command
    else if (!overflow)
        lastCommand_ = cmd;

    std::optional<Lines> lines;
    if (overflow) {
        lines = std::nullopt;
    } else if (cmd.isEmpty()) {
        lines = Lines{};
    } else if (cmd.startsWith("AT")) {
        t += options_.atMs;
        lines = handleAt(cmd.mid(2), &t);
    } else {
        lines = handleRequest(cmd, &t);
    }
    if (!lines) {
        t = start + options_.atMs;
        lines = Lines{"?"};
    }
    flushLines(&*lines, t);

    // The prompt: an empty line and ">", unless this reply loses it.
    std::uniform_real_distribution<double> dist(0.0, 1.0);
    const bool drop = options_.dropPromptRate > 0.0 && dist(rng_) < options_.dropPromptRate;
    if (drop) {
        queue(t, eol());
    } else if (options_.splitPrompt) {
        queue(t, eol());
        queue(t + options_.splitPromptMs, ">");
    } else {
        queue(t, eol() + ">");
    }
    if (onExchange) onExchange(cmd, transcript_);
}

std::optional<ElmAdapter::Lines> ElmAdapter::reset(int64_t *t, bool warm) {
    defaults();
    echo_ = true;
    linefeeds_ = options_.linefeeds;
    *t += warm ? options_.atMs : options_.resetMs;
    QByteArray lead;
    if (options_.junk && !warm) {
        // Noise of the restarting chip: NULs and stray high bytes before the banner.
        std::uniform_int_distribution<int> count(3, 9), pick(0, 5);
        static const char noise[] = {'\0', char(0xFF), char(0xFC), '\0', char(0x80), char(0xE0)};
        for (int i = count(rng_); i > 0; --i)
            lead.append(noise[pick(rng_)]);
    }
    queue(*t, lead + eol());
    return Lines{options_.banner};
}

std::optional<ElmAdapter::Lines> ElmAdapter::handleAt(const QByteArray &cmd, int64_t *t) {
    auto hexArg = [](const QByteArray &a, int minLen, int maxLen) {
        if (a.size() < minLen || a.size() > maxLen) return false;
        return std::all_of(a.begin(), a.end(), [](char c) { return std::isxdigit(uint8_t(c)) != 0; });
    };
    auto flag = [&](const char *name, bool *target) -> std::optional<Lines> {
        const QByteArray n(name);
        if (cmd == n + "0" || cmd == n + "1") {
            if (target) *target = cmd.endsWith('1');
            return Lines{"OK"};
        }
        return std::nullopt;
    };

    if (cmd == "Z") return reset(t, false);
    if (cmd == "WS") return reset(t, true);
    if (cmd == "D") {
        defaults();
        return Lines{"OK"};
    }
    if (cmd == "I") return Lines{options_.banner};
    if (cmd == "@1") return Lines{"OBDII to RS232 Interpreter"};
    if (cmd == "RV") return Lines{QByteArray::number(options_.voltage, 'f', 1) + "V"};
    if (cmd == "DPN") return Lines{protocolNumberText()};
    if (cmd == "DP") return Lines{protocolText()};
    if (cmd == "AL" || cmd == "NL" || cmd == "PC" || cmd == "CEA" || cmd == "BI") {
        if (cmd == "PC") connected_ = false;
        return Lines{"OK"};
    }
    if (cmd.startsWith("SP") || cmd.startsWith("TP")) {
        // "SP 6" sets protocol 6; "SP A6" tries 6 first and searches on; "SP 0" searches.
        // ATTP behaves alike here, so that a program trying protocols one by one sees each fail.
        QByteArray a = cmd.mid(2);
        bool automatic = false;
        if (a.size() == 2 && a.startsWith('A')) {
            automatic = true;
            a = a.mid(1);
        }
        bool ok = false;
        const int n = a.toInt(&ok, 16);
        if (a.size() != 1 || !ok || n > 0xC) return std::nullopt;
        selectProtocol(n, automatic);
        return Lines{"OK"};
    }
    static const char *const boolFlags[] = {"L", "E", "S", "H", "M", "CAF", "R", "CFC", "V", "KW", "D"};
    for (const char *name : boolFlags) {
        bool *target = nullptr;
        const QByteArray n(name);
        if (n == "L") target = &linefeeds_;
        if (n == "E") target = &echo_;
        if (n == "S") target = &display_.spaces;
        if (n == "H") target = &display_.headers;
        if (n == "CAF") target = &display_.caf;
        if (n == "R") target = &responses_;
        if (auto r = flag(name, target)) return r;
    }
    if (cmd.startsWith("AT") && cmd.size() == 3 && cmd[2] >= '0' && cmd[2] <= '2') return Lines{"OK"};
    if (cmd.startsWith("ST") && hexArg(cmd.mid(2), 1, 2)) return Lines{"OK"};
    if (cmd.startsWith("SH") && hexArg(cmd.mid(2), 3, 8) && cmd.size() != 6 && cmd.size() != 7 &&
        cmd.size() != 9)
        return Lines{"OK"}; // 3, 6 or 8 digits
    if ((cmd.startsWith("CP") || cmd.startsWith("SW") || cmd.startsWith("IIA")) &&
        hexArg(cmd.mid(cmd.startsWith("IIA") ? 3 : 2), 2, 2))
        return Lines{"OK"};
    if ((cmd.startsWith("CRA") || cmd.startsWith("CEA")) && hexArg(cmd.mid(3), 2, 8)) return Lines{"OK"};
    if (cmd == "IB10" || cmd == "IB48" || cmd == "IB96") return Lines{"OK"};
    return std::nullopt;
}

QByteArray ElmAdapter::protocolNumberText() const {
    const int n = connected_ ? active_ : setting_;
    const QByteArray digit = QByteArray::number(n, 16).toUpper();
    return automatic_ ? "A" + digit : digit;
}

QByteArray ElmAdapter::protocolText() const {
    static const char *const names[] = {"AUTO",
                                        "SAE J1850 PWM",
                                        "SAE J1850 VPW",
                                        "ISO 9141-2",
                                        "ISO 14230-4 (KWP 5BAUD)",
                                        "ISO 14230-4 (KWP FAST)",
                                        "ISO 15765-4 (CAN 11/500)",
                                        "ISO 15765-4 (CAN 29/500)",
                                        "ISO 15765-4 (CAN 11/250)",
                                        "ISO 15765-4 (CAN 29/250)",
                                        "SAE J1939 (CAN 29/250)",
                                        "USER1 (CAN 11/125)",
                                        "USER2 (CAN 11/50)"};
    const int n = std::clamp(connected_ ? active_ : setting_, 0, 12);
    if (automatic_ && n != 0) return QByteArray("AUTO, ") + names[n];
    return names[n];
}

bool ElmAdapter::connectBus(int64_t *t, Lines *lines) {
    if (connected_) return true;
    const int car = vehicle_.protocol();
    const bool on = vehicle_.ignitionOn();
    if (automatic_) {
        flushLines(lines, *t);
        lines->append("SEARCHING...");
        flushLines(lines, *t + options_.atMs);
        *t += options_.searchMs;
        if (!on) {
            lines->append("UNABLE TO CONNECT");
            return false;
        }
        active_ = car;
        connected_ = true;
        return true;
    }
    const int p = setting_;
    if (options_.searching) {
        lines->append("SEARCHING...");
        flushLines(lines, *t + options_.atMs);
    }
    if (elmBusOf(p) == ElmBus::KLine) {
        // "BUS INIT: " at once, the dots while the slow initialisation runs, then the verdict.
        queue(*t, "BUS INIT: ");
        queue(*t + options_.busInitMs / 2, "...");
        *t += options_.busInitMs;
        const bool ok = on && p == car;
        queue(*t, QByteArray(ok ? "OK" : "ERROR") + eol());
        if (!ok) return false;
    } else if (!on) {
        *t += options_.searchMs;
        lines->append("UNABLE TO CONNECT");
        return false;
    } else if (p != car) {
        *t += options_.delayMs;
        const ElmBus bus = elmBusOf(p), carBus = elmBusOf(car);
        const bool can = bus == ElmBus::Can11 || bus == ElmBus::Can29;
        const bool carCan = carBus == ElmBus::Can11 || carBus == ElmBus::Can29;
        // A CAN request at the right speed but with the other identifier size is acknowledged and
        // left unanswered; at the wrong speed (or on a car without CAN) the adapter sees bus errors.
        const bool sameSpeed = carCan && ((p == 6 || p == 7) == (car == 6 || car == 7)) && p <= 9;
        lines->append(can && !sameSpeed ? "CAN ERROR" : "NO DATA");
        return false;
    }
    active_ = p;
    connected_ = true;
    return true;
}

std::optional<ElmAdapter::Lines> ElmAdapter::handleRequest(const QByteArray &cmd, int64_t *t) {
    if (!std::all_of(cmd.begin(), cmd.end(), [](char c) { return std::isxdigit(uint8_t(c)) != 0; }))
        return std::nullopt;
    // An odd digit at the end is the number of answers to wait for ("01001": the first one).
    QByteArray hex = cmd;
    int limit = 0;
    if (hex.size() % 2 == 1) {
        limit = QByteArray(1, hex.back()).toInt(nullptr, 16);
        hex.chop(1);
        if (limit == 0) return std::nullopt;
    }
    QByteArray request = QByteArray::fromHex(hex);
    if (request.isEmpty() || request.size() > 7) return std::nullopt;
    if (request[0] == 0x01 && request.size() > 2) {
        switch (options_.grouped) {
        case ElmGrouped::Answer: break;
        case ElmGrouped::NoData: *t += options_.delayMs; return Lines{"NO DATA"};
        case ElmGrouped::Question: return std::nullopt;
        case ElmGrouped::First: request.truncate(2); break;
        }
    }

    Lines lines;
    if (!connectBus(t, &lines)) return lines;
    *t += options_.delayMs;
    QList<ElmEcuAnswer> answers = vehicle_.answer(request, *t - startMs_);
    if (limit > 0 && answers.size() > limit) answers = answers.mid(0, limit);
    if (answers.isEmpty()) {
        lines.append("NO DATA");
        return lines;
    }
    if (!responses_) return lines;
    for (const ElmEcuAnswer &a : answers)
        lines += elmFormatAnswer(active_, a.ecu, a.message, display_);
    return lines;
}
