#pragma once
// How the adapter prints one control unit's answer on each bus: the frames a message travels in
// (J1850 and K-line lines of up to 7 data bytes, ISO 15765 single, first and consecutive frames),
// their headers and check bytes, and the text layout chosen by ATH, ATS and ATCAF.
#include <QByteArray>
#include <QList>
#include <cstdint>
#include <initializer_list>

struct ElmDisplay {
    bool headers = false; // ATH1: header bytes (and CAN PCI, K-line check byte) shown
    bool spaces = true;   // ATS1: a space after every byte
    bool caf = true;      // ATCAF1: the adapter strips and joins ISO 15765 frames itself
    bool padding = false; // the units pad CAN frames to 8 bytes
    uint8_t padByte = 0x00;
};

enum class ElmBus { None, J1850, KLine, Can11, Can29 };

// Bytes from a list of values 0..255.
QByteArray elmBytes(std::initializer_list<int> values);

ElmBus elmBusOf(int protocol);
// Source address of unit `ecu` on that protocol: 7E8.. on 11-bit CAN, one byte otherwise.
int elmEcuAddress(int protocol, int ecu);
// SAE J1850 CRC-8 of the bytes.
uint8_t elmJ1850Crc(const QByteArray &bytes);

// Text lines (without line ends) the adapter prints for one unit's message.
QList<QByteArray> elmFormatAnswer(int protocol, int ecu, const QByteArray &message, const ElmDisplay &d);

// Splits a message into the data of successive K-line/J1850 lines: trouble codes three to a line,
// vehicle information four bytes to a numbered line, anything else as it is.
QList<QByteArray> elmSplitForSlowBus(const QByteArray &message);
// ISO 15765-2 frames (PCI included, padded when asked) of a message.
QList<QByteArray> elmIsoTpFrames(const QByteArray &message, bool padding, uint8_t padByte);
