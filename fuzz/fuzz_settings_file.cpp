// Any file given to the settings loader: the image stays consistent and nothing is read or written
// outside its blocks.
#include "FuzzCommon.h"
#include "device/TSterownik.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::App();
    static TSterownik eng; // one image for the whole run: every load overwrites what it holds
    eng.StopTimer();
    const QString file = fuzz::AsFile(data, size);
    if (eng.CzytajUstawienia(file)) {
        // A file that was taken can be written and read back.
        eng.ZapiszUstawienia(file);
        eng.CzytajUstawienia(file);
    }
    return 0;
}
