// Any bytes loaded as the language table, then texts looked up by ids from the input in every
// language, before and after a reload; the built-in table is put back at the end.
#include "FuzzCommon.h"
#include "lang/LangText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::App();
    static bool warmed = false;
    if (!warmed) { // fill the row cache from the built-in table first
        warmed = true;
        for (int id = 0; id < 5000; ++id)
            LangText(id);
    }
    LangLoadFrom(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (int lang = 0; lang < 4; ++lang) {
        LangSetLanguage(lang);
        for (size_t i = 0; i + 1 < size && i < 64; i += 2)
            LangText(int(data[i] | data[i + 1] << 8) - 100);
        for (int id : {0, 1, 1000, 1240, 1362, 9999})
            LangText(id);
    }
    // Now and then the built-in table comes back, as a reload in the program does; the row cache
    // outlives every load.
    static unsigned count = 0;
    if (++count % 64 == 0) {
        LangReload();
        LangText(1240);
    }
    return 0;
}
