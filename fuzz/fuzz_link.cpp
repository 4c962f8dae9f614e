// Any byte stream from the controller's side, in any pieces, through the tick and reply analysis.
#include "device/TSterownik.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_link";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    TSterownik eng;
    eng.StopTimer();
    auto mem = std::make_shared<TMemoryPort>();
    eng.UseBackend(mem);
    eng.PortOpen(1);
    // The first byte of every 64 picks how many ticks pass before the next piece arrives.
    for (size_t at = 0; at < size; at += 64) {
        const size_t n = std::min<size_t>(64, size - at);
        mem->Rx.append(reinterpret_cast<const char *>(data + at), qsizetype(n));
        for (int t = data[at] % 8; t >= 0; --t)
            eng.Timer1OnTimer();
        mem->TakeTx();
    }
    for (int t = 0; t < 64; ++t)
        eng.Timer1OnTimer();
    return 0;
}
