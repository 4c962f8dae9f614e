#pragma once
// The lines of the error box for the controller's error report (reply 0x82): one line per error bit
// set in reply bytes 6-12, then, when the last poll reported stored errors (status byte 11 bit 4),
// the counters of bytes 13-68. Texts come from the language table in the current language.
#include <QStringList>
#include <cstdint>

// Text of error bit k of report byte n (6-12); "" for bits that carry no error.
QString TekstBledu(int byteIndex, int bit);

// reply: the unscrambled frame, header included; length: its length (bytes beyond it read as 0).
QStringList LinieBledow(const uint8_t *reply, int length, uint8_t statusByte11);
