// The two fixed tables behind the choice items 24 (injector type) and 109 / 257 (OBD protocol).
#include "settings/TNastawa.h"

#include "lang/LangText.h"

const TTypWtryskiwacza TypyWtryskiwaczy[IleTypowWtryskiwaczy] = {
    {"", {0, 128, 128, 100}},
    {"Barracuda 1.9 Ohm", {18, 140, 168, 50}},
    {"Napoleon", {22, 144, 168, 50}},
    {"QERN 3 Ohm", {27, 136, 188, 65}},
    {"QERN 2 Ohm", {22, 120, 176, 65}},
    {"Valtek 3 Ohm", {27, 136, 188, 65}},
    {"Valtek 1 Ohm", {17, 108, 160, 65}},
    {"OMVL/OMVL Fast", {20, 136, 164, 50}},
    {"Hana 3 Ohm", {18, 152, 192, 50}},
    {"Hana 1.9 Ohm", {16, 140, 168, 60}},
    {"Hana 1.3 Ohm", {16, 140, 168, 60}},
    {"Matrix", {11, 132, 143, 40}},
    {"Keihin", {17, 128, 152, 70}},
    {"RAIL IG1 3 Ohm", {27, 136, 188, 65}},
    {"RAIL IG1 2 Ohm", {22, 120, 176, 65}},
    {"RAIL IG5 3 Ohm", {27, 136, 188, 65}},
    {"RAIL IG5 2 Ohm", {22, 120, 176, 65}},
    {"RAIL IG3 Horizon 2.8 Ohm", {27, 136, 188, 65}},
    {"RAIL IG3 Horizon 2 Ohm", {22, 120, 176, 65}},
    {"RAIL IG2 3 Ohm", {27, 136, 188, 65}},
    {"RAIL IG2 2 Ohm", {22, 120, 176, 65}},
    {"AEB R4S 2 Ohm", {22, 120, 176, 65}},
    {"Zavoli Pan 3 Ohm", {27, 136, 188, 65}},
    {"PlaniJet", {20, 100, 228, 50}},
    {"MegicJet", {13, 126, 188, 70}},
    {"APIS SOLO FAST 1.6 Ohm", {22, 120, 176, 65}},
    {"r > 10 Ohm (PWM 100%)", {30, 168, 128, 100}},
};

const TProtokolObd ProtokolyObd[IleProtokolowObd] = {
    {4091, nullptr},
    {4092, nullptr},
    {0, "ISO 15765-4 CAN 11/500"},
    {0, "ISO 15765-4 CAN 29/500"},
    {0, "ISO 15765-4 CAN 11/250"},
    {0, "ISO 15765-4 CAN 29/250"},
    {0, "ISO 14230-4 KWP fast init."},
    {0, "ISO 14230-4 KWP slow init."},
    {0, "ISO 9141-2"},
    {0, "SEA J1850 PWM"},
    {0, "SEA J1850 VPW"},
};

QString NazwaTypuWtryskiwacza(int row) {
    if (row < 0 || row >= IleTypowWtryskiwaczy) return QString();
    return QString::fromLatin1(TypyWtryskiwaczy[row].Nazwa);
}

QString NazwaProtokoluObd(int raw) {
    if (raw < 0 || raw >= IleProtokolowObd) return QString();
    const TProtokolObd &p = ProtokolyObd[raw];
    return p.Tekst ? QString::fromLatin1(p.Tekst) : LangText(p.LangId);
}
