// Any file given to the scope loader, with a sample buffer that is often smaller than the file:
// the first byte picks the buffer's capacity (0 … 15 samples), the rest is the file. The bytes go
// through the loader's device entry, which its file entry calls with the opened file.
#include "FuzzCommon.h"
#include "device/ImageFile.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    TSterownik &eng = fuzz::Sterownik();
    const int capacity = data[0] & 0x0F;
    // Exactly the capacity asked for, so that ASan sees any write past it.
    std::vector<uint8_t> samples(size_t(capacity) * TImageFile::SampleSize);
    const int n = eng.CzytajOscyloskop(fuzz::AsDevice(data + 1, size - 1),
                                       samples.empty() ? nullptr : samples.data(), capacity);
    if (n < 0 || n > capacity) __builtin_trap();
    return 0;
}
