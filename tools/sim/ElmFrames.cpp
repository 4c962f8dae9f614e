#include "ElmFrames.h"

#include <algorithm>

namespace {

// Bytes as upper-case hexadecimal pairs; with spaces every pair is followed by one, as the adapter prints.
QByteArray hexBytes(const QByteArray &bytes, bool spaces) {
    QByteArray out;
    for (char c : bytes) {
        out += QByteArray::number(uint8_t(c), 16).toUpper().rightJustified(2, '0');
        if (spaces) out += ' ';
    }
    return out;
}

QByteArray canHeader(int protocol, int ecu, bool spaces) {
    const int addr = elmEcuAddress(protocol, ecu);
    if (elmBusOf(protocol) == ElmBus::Can11) {
        QByteArray h = QByteArray::number(addr, 16).toUpper().rightJustified(3, '0');
        return spaces ? h + ' ' : h;
    }
    return hexBytes(elmBytes({0x18, 0xDA, 0xF1, addr}), spaces);
}

QList<QByteArray> formatCan(int protocol, int ecu, const QByteArray &message, const ElmDisplay &d) {
    QList<QByteArray> lines;
    const QList<QByteArray> frames = elmIsoTpFrames(message, d.padding, d.padByte);
    if (d.headers || !d.caf) {
        // Every frame as it came: identifier (with ATH1), PCI, data and any padding.
        for (const QByteArray &f : frames)
            lines.append((d.headers ? canHeader(protocol, ecu, d.spaces) : QByteArray()) +
                         hexBytes(f, d.spaces));
        return lines;
    }
    if (frames.size() == 1) {
        lines.append(hexBytes(message, d.spaces));
        return lines;
    }
    // Without headers the adapter prints the message length, then the frames numbered 0, 1, 2, ...
    lines.append(QByteArray::number(int(message.size()), 16).toUpper().rightJustified(3, '0'));
    for (int i = 0; i < frames.size(); ++i) {
        const QByteArray data = frames[i].mid(i == 0 ? 2 : 1);
        lines.append(QByteArray::number(i % 16, 16).toUpper() + (d.spaces ? ": " : ":") +
                     hexBytes(data, d.spaces));
    }
    return lines;
}

QList<QByteArray> formatSlow(int protocol, int ecu, const QByteArray &message, const ElmDisplay &d) {
    QList<QByteArray> lines;
    const int addr = elmEcuAddress(protocol, ecu);
    for (const QByteArray &data : elmSplitForSlowBus(message)) {
        if (!d.headers) {
            lines.append(hexBytes(data, d.spaces));
            continue;
        }
        QByteArray frame;
        switch (protocol) {
        case 1: frame = elmBytes({0x41, 0x6B, addr}); break;                            // J1850 PWM
        case 2:                                                                         // J1850 VPW
        case 3: frame = elmBytes({0x48, 0x6B, addr}); break;                            // ISO 9141-2
        default: frame = elmBytes({0x80 | int(data.size() & 0x3F), 0xF1, addr}); break; // KWP
        }
        frame += data;
        uint8_t check = 0;
        if (elmBusOf(protocol) == ElmBus::J1850) {
            check = elmJ1850Crc(frame);
        } else {
            for (char c : frame)
                check = uint8_t(check + uint8_t(c));
        }
        frame.append(char(check));
        lines.append(hexBytes(frame, d.spaces));
    }
    return lines;
}

} // namespace

QByteArray elmBytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(uint8_t(v)));
    return out;
}

ElmBus elmBusOf(int protocol) {
    switch (protocol) {
    case 1:
    case 2: return ElmBus::J1850;
    case 3:
    case 4:
    case 5: return ElmBus::KLine;
    case 6:
    case 8:
    case 11:
    case 12: return ElmBus::Can11;
    case 7:
    case 9:
    case 10: return ElmBus::Can29;
    default: return ElmBus::None;
    }
}

int elmEcuAddress(int protocol, int ecu) {
    ecu = std::clamp(ecu, 0, 7);
    static const int others[] = {0x18, 0x1A, 0x1C, 0x1E, 0x20, 0x22, 0x24};
    switch (elmBusOf(protocol)) {
    case ElmBus::Can11: return 0x7E8 + ecu;
    case ElmBus::KLine: return ecu == 0 ? 0x11 : others[ecu - 1];
    default: return ecu == 0 ? 0x10 : others[ecu - 1];
    }
}

uint8_t elmJ1850Crc(const QByteArray &bytes) {
    uint8_t crc = 0xFF;
    for (char c : bytes) {
        crc ^= uint8_t(c);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 0x80) ? uint8_t((crc << 1) ^ 0x1D) : uint8_t(crc << 1);
    }
    return uint8_t(~crc);
}

QList<QByteArray> elmSplitForSlowBus(const QByteArray &message) {
    QList<QByteArray> out;
    if (message.isEmpty()) return out;
    const uint8_t mode = uint8_t(message[0]);
    if ((mode == 0x43 || mode == 0x47 || mode == 0x4A) && message.size() >= 2) {
        // No count byte on these buses; three codes a line, the last one filled up with 00 00.
        QByteArray codes = message.mid(2);
        do {
            QByteArray line = codes.left(6);
            codes.remove(0, 6);
            line.append(QByteArray(6 - line.size(), '\0'));
            out.append(char(mode) + line);
        } while (!codes.isEmpty());
        return out;
    }
    if (mode == 0x49 && message.size() >= 3) {
        // Vehicle information: numbered lines 49 PP 0n of four bytes each; the vehicle number is led
        // by three zeros to fill its first line; the info-type bitmap is line 1 of its own.
        const uint8_t type = uint8_t(message[1]);
        QByteArray data = type == 0x00 ? message.mid(2) : message.mid(3);
        if (type == 0x02) data = QByteArray(3, '\0') + data;
        for (int n = 1; !data.isEmpty(); ++n) {
            QByteArray part = data.left(4);
            data.remove(0, 4);
            part.append(QByteArray(4 - part.size(), '\0'));
            out.append(elmBytes({0x49, type, n & 0xFF}) + part);
        }
        return out;
    }
    out.append(message.left(7));
    return out;
}

QList<QByteArray> elmIsoTpFrames(const QByteArray &message, bool padding, uint8_t padByte) {
    QList<QByteArray> frames;
    auto pad = [&](QByteArray f) {
        if (padding && f.size() < 8) f.append(QByteArray(8 - f.size(), char(padByte)));
        return f;
    };
    const int n = int(std::min<qsizetype>(message.size(), 4095));
    if (n <= 7) {
        frames.append(pad(char(n) + message.left(n)));
        return frames;
    }
    frames.append(elmBytes({0x10 | (n >> 8), n & 0xFF}) + message.left(6));
    int seq = 1;
    for (int pos = 6; pos < n; pos += 7, ++seq)
        frames.append(pad(char(0x20 | (seq & 0x0F)) + message.mid(pos, std::min(7, n - pos))));
    return frames;
}

QList<QByteArray> elmFormatAnswer(int protocol, int ecu, const QByteArray &message, const ElmDisplay &d) {
    switch (elmBusOf(protocol)) {
    case ElmBus::Can11:
    case ElmBus::Can29: return formatCan(protocol, ecu, message, d);
    case ElmBus::J1850:
    case ElmBus::KLine: return formatSlow(protocol, ecu, message, d);
    default: return {};
    }
}
