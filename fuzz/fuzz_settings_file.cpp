// Any file given to the settings loader: the image stays consistent and nothing is read or written
// outside its blocks. The bytes go through the loader's device entry, which its file entry calls
// with the opened file.
#include "FuzzCommon.h"
#include "device/ImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    TSterownik &eng = fuzz::Sterownik();
    const QString name = QStringLiteral("fuzz.set");
    if (eng.CzytajUstawienia(fuzz::AsDevice(data, size), name)) {
        // A file that was taken can be written, read back, and written again byte for byte.
        static QByteArray saved, again;
        for (QByteArray *bytes : {&saved, &again})
            bytes->resize(0);
        QBuffer out(&saved), check(&again);
        out.open(QIODevice::WriteOnly);
        if (!eng.ZapiszUstawienia(out) || saved.size() != TImageFile::Size) __builtin_trap();
        out.close();
        out.open(QIODevice::ReadOnly);
        if (!eng.CzytajUstawienia(out, name)) __builtin_trap();
        check.open(QIODevice::WriteOnly);
        if (!eng.ZapiszUstawienia(check) || again != saved) __builtin_trap();
    }
    return 0;
}
