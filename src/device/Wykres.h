#pragma once
// One live value of the controller: where it lies in the live bytes, how it is decoded and shown.
#include <cstdint>

struct TWykres {
    int32_t LabelId = 0;  // language-table id of the name; -30…-39 for the service series
    int32_t UnitId = 0;   // language-table id of the unit (1050…1057), 0 = none
    int32_t Position = 0; // offset in the live bytes (and in every 128-byte scope sample)
    int32_t RawType = 0;
    double Scale = 1.0;
    int32_t Decimals = 0;
    uint32_t Colour = 0; // 0x00BBGGRR
    double Gain = 1.0;
    int32_t Flags = 0;
    int32_t LabelRow = 0;      // set by the scope
    double LastValue = 0.0001; // so the first text is always produced
};

// List membership flags of a series.
enum : int32_t {
    WykresScope = 0x01,     // scope channel list, CSV export
    WykresChooser = 0x02,   // readings chooser dialog
    WykresService = 0x04,   // counted only while ExtendedView is on
    WykresDrawn = 0x10,     // drawn in the scope
    WykresReadings = 0x20,  // shown in the readings grid
    WykresInjection = 0x40, // the sixteen injection-time series
};
