#pragma once
// One settings item: how a byte of the settings block is named, limited, converted and shown.
#include <QString>

#include <cstdint>

struct TNastawa {
    int32_t LabelId = 0;     // language-table id of the label; 0 = no label, never shown in the grid
    uint8_t Unit = 0;        // 0 none, 1..8 the unit text with language id 1049 + code
    double Scale = 0.0;      // raw units to shown units
    uint8_t Kind = 0;        // high nibble: kind (TRodzajNastawy), low nibble: decimals
    uint8_t Min = 0;         // lowest raw value accepted
    uint8_t Default = 0;     // raw factory value
    uint8_t Max = 0;         // highest raw value accepted
    int32_t Choice[10] = {}; // choice items: language id of the text of raw 0..9; 0 = none

    int Rodzaj() const { return Kind & 0xF0; }
    int Miejsca() const { return Kind & 0x0F; }
};

// Kinds (high nibble of TNastawa::Kind).
enum TRodzajNastawy : int {
    NastawaLiczba = 0x10,       // raw x scale, stepped with - and +
    NastawaPrzesuniecie = 0x20, // (raw - 128) x scale, stepped with - and +
    NastawaFlaga = 0x70,        // Yes / No, one check box toggling 0 <-> 1
    NastawaWybor = 0x80,        // a text out of a list, chosen from a pop-up list
    NastawaLiczba2 = 0x90,      // handled as NastawaLiczba
    NastawaKodBledu = 0xA0,     // an OBD error code: always shown as "-"
    NastawaKodBledu2 = 0xB0,    // the second byte of an error code, never shown
};

constexpr int IleNastaw = 256 + 48; // settings bytes: 256 exchanged with the controller + 48 kept in files

// Injector types behind item 24: a name and the four values copied into items 25..28.
struct TTypWtryskiwacza {
    const char *Nazwa;
    int Wartosci[4];
};
constexpr int IleTypowWtryskiwaczy = 27;
extern const TTypWtryskiwacza TypyWtryskiwaczy[IleTypowWtryskiwaczy];

// OBD protocols behind items 109 and 257: a language id (raw 0 and 1) or a fixed text.
struct TProtokolObd {
    int LangId;
    const char *Tekst;
};
constexpr int IleProtokolowObd = 11;
extern const TProtokolObd ProtokolyObd[IleProtokolowObd];

// Text of an injector type row ("" outside the table).
QString NazwaTypuWtryskiwacza(int row);
// Text of an OBD protocol entry in the current language ("" outside the table).
QString NazwaProtokoluObd(int raw);
