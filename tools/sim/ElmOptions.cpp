#include "ElmOptions.h"

#include <QHostAddress>
#include <functional>
#include <map>

bool parseDtcList(const QString &text, QList<uint16_t> *codes, QString *error) {
    codes->clear();
    const QStringList items = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString item : items) {
        item = item.trimmed().toUpper();
        static const QString letters = QStringLiteral("PCBU");
        const qsizetype letter = item.isEmpty() ? -1 : letters.indexOf(item.at(0));
        bool ok = false;
        const uint digits = item.mid(1).toUInt(&ok, 16);
        if (item.size() != 5 || letter < 0 || !ok || digits > 0x3FFF) {
            *error = QStringLiteral("bad trouble code \"%1\" (expected e.g. P0420)").arg(item);
            return false;
        }
        codes->append(uint16_t((uint(letter) << 14) | digits));
    }
    return true;
}

QByteArray dtcText(uint16_t code) {
    static const char letters[] = "PCBU";
    return QByteArray(1, letters[code >> 14]) +
           QByteArray::number(code & 0x3FFF, 16).toUpper().rightJustified(4, '0');
}

const QStringList &elmNoDataItems() {
    static const QStringList items = {
        "monitors",     "cycle",    "freeze",           "vin",      "calid",        "cvn",      "ecu-name",
        "distance-mil", "warm-ups", "distance-cleared", "time-mil", "time-cleared", "permanent"};
    return items;
}

QString elmUsage() {
    return QStringLiteral(
        "usage: tarven-sim elm [options]\n"
        "Virtual ELM327 adapter on a pseudo-terminal; prints \"PTY <slave>\" first.\n"
        "  --link PATH              symbolic link to the pseudo-terminal (removed on exit)\n"
        "  --tcp PORT               also listen on this TCP port like a Wi-Fi adapter (0 = a free one);\n"
        "                           prints \"TCP <address>:<port>\" after the PTY (and LINK) line\n"
        "  --bind ADDRESS           address the TCP port is bound to (default 127.0.0.1)\n"
        "  --protocol N             the car's bus protocol 1..9 (default 6, CAN 11 bit 500 kbaud)\n"
        "  --ecus N                 control units answering, 1..8 (default 1)\n"
        "  --dtc LIST               stored codes, e.g. P0420,P0171\n"
        "  --pending LIST           pending codes\n"
        "  --permanent LIST         permanent codes\n"
        "  --vin TEXT               vehicle identification number (17 characters)\n"
        "  --no-data LIST           answer NO DATA to these items of the emissions check: monitors\n"
        "                           (01 01), cycle (01 41), freeze (the freeze frame, mode 02), vin,\n"
        "                           calid, cvn, ecu-name (mode 09), distance-mil (01 21), warm-ups\n"
        "                           (01 30), distance-cleared (01 31), time-mil (01 4D), time-cleared\n"
        "                           (01 4E), permanent (mode 0A), e.g. --no-data vin,freeze\n"
        "  --voltage V              ATRV reading (default 12.6)\n"
        "  --banner TEXT            ATZ/ATI text (default \"ELM327 v1.5\")\n"
        "  --delay-ms N             a unit's answer time, the ECU time (default 40)\n"
        "  --baud N                 serial transfer time at N baud, both ways (default 0: instant)\n"
        "  --grouped MODE           mode-01 requests for several PIDs: answer (default, as on CAN),\n"
        "                           no-data, question (\"?\") or first (the first PID only)\n"
        "  --search-ms N            automatic protocol search time (default 600)\n"
        "  --bus-init-ms N          K-line bus initialisation time (default 400)\n"
        "  --drop-prompt-rate R     share of replies without the \">\" prompt, 0..1\n"
        "  --junk                   junk bytes and NULs before the ATZ banner\n"
        "  --ignition-off           no unit answers (\"UNABLE TO CONNECT\")\n"
        "  --split-prompt           the prompt arrives as a separate piece\n"
        "  --can-padding[=HH]       pad CAN frames to 8 bytes (with HH, default 00)\n"
        "  --searching              \"SEARCHING...\" before the first answer on a set protocol too\n"
        "  --linefeeds              line feeds after CR from reset on (as ATL1)\n"
        "  --seed N                 seed of the random quirks\n"
        "  --verbose                log the exchange on stderr\n"
        "  --exit-on-stdin-eof      exit when standard input closes\n");
}

namespace {

bool toInt(const QString &v, int lo, int hi, int *out) {
    bool ok = false;
    const int n = v.toInt(&ok);
    if (!ok || n < lo || n > hi) return false;
    *out = n;
    return true;
}

bool toDouble(const QString &v, double lo, double hi, double *out) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !(d >= lo && d <= hi)) return false;
    *out = d;
    return true;
}

} // namespace

std::optional<ElmOptions> parseElmOptions(const QStringList &args, QString *error) {
    ElmOptions o;
    using Setter = std::function<bool(const QString &)>;
    // Options that take a value.
    const std::map<QString, Setter> valued = {
        {"--link",
         [&](const QString &v) {
             o.link = v;
             return !v.isEmpty();
         }},
        {"--tcp", [&](const QString &v) { return toInt(v, 0, 65535, &o.tcpPort); }},
        {"--bind",
         [&](const QString &v) {
             o.tcpBind = v;
             return QHostAddress().setAddress(v);
         }},
        {"--protocol", [&](const QString &v) { return toInt(v, 1, 9, &o.protocol); }},
        {"--ecus", [&](const QString &v) { return toInt(v, 1, 8, &o.ecus); }},
        {"--dtc", [&](const QString &v) { return parseDtcList(v, &o.stored, error); }},
        {"--pending", [&](const QString &v) { return parseDtcList(v, &o.pending, error); }},
        {"--permanent", [&](const QString &v) { return parseDtcList(v, &o.permanent, error); }},
        {"--vin",
         [&](const QString &v) {
             o.vin = v.toLatin1();
             return v.size() == 17;
         }},
        {"--no-data",
         [&](const QString &v) {
             for (const QString &item : v.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                 if (!elmNoDataItems().contains(item.trimmed())) {
                     *error = QStringLiteral("bad item \"%1\" for --no-data (one of %2)")
                                  .arg(item, elmNoDataItems().join(QLatin1Char(',')));
                     return false;
                 }
                 o.noData.append(item.trimmed());
             }
             return true;
         }},
        {"--voltage", [&](const QString &v) { return toDouble(v, 0.0, 99.9, &o.voltage); }},
        {"--banner",
         [&](const QString &v) {
             o.banner = v.toLatin1();
             return !v.isEmpty() && v.size() < 64;
         }},
        {"--delay-ms", [&](const QString &v) { return toInt(v, 0, 60000, &o.delayMs); }},
        {"--search-ms", [&](const QString &v) { return toInt(v, 0, 60000, &o.searchMs); }},
        {"--baud", [&](const QString &v) { return toInt(v, 300, 4000000, &o.baud); }},
        {"--grouped",
         [&](const QString &v) {
             static const std::map<QString, ElmGrouped> modes = {{"answer", ElmGrouped::Answer},
                                                                 {"no-data", ElmGrouped::NoData},
                                                                 {"question", ElmGrouped::Question},
                                                                 {"first", ElmGrouped::First}};
             const auto m = modes.find(v);
             if (m == modes.end()) return false;
             o.grouped = m->second;
             return true;
         }},
        {"--bus-init-ms", [&](const QString &v) { return toInt(v, 0, 60000, &o.busInitMs); }},
        {"--drop-prompt-rate", [&](const QString &v) { return toDouble(v, 0.0, 1.0, &o.dropPromptRate); }},
        {"--seed",
         [&](const QString &v) {
             bool ok = false;
             o.seed = v.toUInt(&ok);
             return ok;
         }},
    };
    // Flags.
    const std::map<QString, bool *> flags = {
        {"--junk", &o.junk},           {"--ignition-off", &o.ignitionOff}, {"--split-prompt", &o.splitPrompt},
        {"--searching", &o.searching}, {"--linefeeds", &o.linefeeds},      {"--verbose", &o.verbose},
    };

    for (int i = 0; i < args.size(); ++i) {
        QString name = args.at(i);
        std::optional<QString> value;
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        if (name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
        }
        if (name == QLatin1String("--can-padding")) {
            o.canPadding = true;
            if (value) {
                bool ok = false;
                const uint b = value->toUInt(&ok, 16);
                if (!ok || b > 0xFF || value->size() > 2) {
                    *error = QStringLiteral("bad value for --can-padding: %1").arg(*value);
                    return std::nullopt;
                }
                o.padByte = uint8_t(b);
            }
            continue;
        }
        if (auto f = flags.find(name); f != flags.end() && !value) {
            *f->second = true;
            continue;
        }
        auto v = valued.find(name);
        if (v == valued.end()) {
            *error = QStringLiteral("unknown option: %1").arg(args.at(i));
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("option %1 needs a value").arg(name);
                return std::nullopt;
            }
            value = args.at(++i);
        }
        error->clear();
        if (!v->second(*value)) {
            if (error->isEmpty()) *error = QStringLiteral("bad value for %1: %2").arg(name, *value);
            return std::nullopt;
        }
    }
    return o;
}
