#pragma once
// The controller frame, the same in both directions:
//   0 start byte (101 from the PC, 86 replies, 54 the controller's OBD work-state report)
//   1 checksum making the 8-bit sum of the plain frame 0
//   2 payload length in 16-bit words
//   3 command code
//   4… payload, scrambled on the wire; odd payloads are padded with one byte
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace Frame {
constexpr uint8_t StartPc = 101;
constexpr uint8_t StartReply = 86;
constexpr uint8_t StartObd = 54;
constexpr int MaxPc = 262;
constexpr uint8_t DefaultLinkKey = 0x5A;

uint8_t Sum(const uint8_t *f, int len);
// Writes the header and checksum of a plain frame whose payload (n bytes, padded when odd) stands
// from byte 4; returns the frame length.
int Seal(uint8_t *f, uint8_t start, uint8_t command, int n);
void Scramble(uint8_t *f, int len, uint8_t key);
void Unscramble(uint8_t *f, int len, uint8_t key);
// A whole frame ready for the wire (sealed and scrambled).
QByteArray Build(uint8_t start, uint8_t command, const QByteArray &payload, uint8_t key);
// "  TX: 65 D4 00 81" layout: every byte as " XX", two extra blanks after the fourth.
QByteArray Trace(const char *prefix, const uint8_t *f, int len);
} // namespace Frame
