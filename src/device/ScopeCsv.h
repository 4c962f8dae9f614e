#pragma once
// CSV export of a scope recording, as the scope view exports it: a header "sec;" and the name of
// every scope-list series (flag 0x01; the service series too while the extended view is on), then
// one row per sample: its time (sample n at n x 0.1 s) and each series' value, every field ending
// with ";", numbers with the user's decimal separator, lines ending with CR LF. The file is UTF-8.
#include <QByteArray>
#include <QString>
#include <cstdint>

class TSterownik;
struct TWykres;

namespace ScopeCsv {

constexpr int SampleSize = 128;

// Decoded value of a series in one 128-byte sample, before scaling (the scope's channel value at
// height 0). Bytes outside the sample read as 0; raw types without a decoding give 0.
double WartoscKanalu(const TWykres &w, const uint8_t *sample);

// Text of a series' value in a sample: decoded value x scale, by the series' decimals
// (0 general, 1 "0.0", 2 "0.00", 3 and more "0.000").
QString TekstWartosci(const TWykres &w, const uint8_t *sample);

// The whole CSV text of count samples (count x 128 bytes).
QByteArray Tekst(TSterownik &s, const uint8_t *samples, int count);

// Writes the CSV text atomically; false with a message in *error.
bool Zapisz(TSterownik &s, const uint8_t *samples, int count, const QString &fileName, QString *error);

} // namespace ScopeCsv
