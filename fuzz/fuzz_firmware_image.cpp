// Any file given to the firmware image check, against a controller whose hardware bytes come from
// the input's first four bytes; a taken image never starts a transfer past its end. The bytes go
// through the check's device entry, which its file entry calls with the opened file.
#include "FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 4) return 0;
    TSterownik &eng = fuzz::Sterownik();
    eng.Identyfikacja[40] = data[0];
    eng.Identyfikacja[42] = data[1];
    eng.Identyfikacja[43] = data[2];
    eng.Identyfikacja[44] = data[3];
    const bool taken = eng.Aktualizacja(fuzz::AsDevice(data + 4, size - 4));
    if (taken && (size - 4 < 57600 || size - 4 >= 65536)) __builtin_trap();
    if (taken && eng.FirmwareImage.size() != 65536) __builtin_trap();
    return 0;
}
