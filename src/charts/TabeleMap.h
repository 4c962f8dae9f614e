#pragma once
// The arithmetic of the map tables, without widgets: header entries, cell colours and block edits.
#include <QString>
#include <cstdint>

namespace TabeleMap {

// Entry of an RPM header: the setting (rpm / 50) to store; text that is not a number keeps current.
int WpisObrotow(const QString &text, int current, int *shownRpm = nullptr);
// Entry of a load header (bar, a comma accepted): the setting (0.01 bar) to store.
int WpisObciazenia(const QString &text, int current);

// Colours as 0x00RRGGBB.
constexpr uint32_t Pomaranczowy = 0xFF8040; // live operating cell
constexpr uint32_t JasnoCzerwony = 0xFFDCDC;
constexpr uint32_t JasnoZielony = 0xD2FFD2;
constexpr uint32_t JasnoSzary = 0xE1E1E1;
constexpr uint32_t PrawieBialy = 0xFAFAFA;
constexpr uint32_t Bialy = 0xFFFFFF;
constexpr uint32_t CiemnoCzerwony = 0xB00000;
constexpr uint32_t Niebieski = 0x0000EC;
constexpr uint32_t Szary = 0x808080;

// Text colour of a deviation a - b (both non-zero); obd = mode 5 (threshold 6 instead of 11).
uint32_t KolorOdchylki(int roznica, bool obd);
// Background of an RPM-correction cell of value v (100 = none).
uint32_t KolorKorekty(int v);

// Adds delta (+1 or -1) to every cell of the block c0…c1, r0…r1 (entry c × 16 + r) that is below hi
// (raising) or above lo (lowering). Returns whether any cell changed.
bool ZmienBlok(uint8_t *t, int c0, int c1, int r0, int r1, int delta, int lo, int hi);

} // namespace TabeleMap
