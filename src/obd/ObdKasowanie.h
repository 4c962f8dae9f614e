#pragma once
// The adapter's answer to mode 04 (clear trouble codes): confirmed only by the positive answer 44
// in the answer's first data byte; 7F 04 is the car's refusal; anything else ("NO DATA", "ERROR",
// an empty or stray text) confirms nothing.
#include <QByteArray>

enum class TKasowanieDtc { Potwierdzone, Odmowa, Brak };

TKasowanieDtc OcenKasowanieDtc(const QByteArray &reply);
