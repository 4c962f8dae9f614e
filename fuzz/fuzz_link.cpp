// Any byte stream from the controller's side, in any pieces, through the tick and reply analysis.
#include "FuzzCommon.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    TSterownik &eng = fuzz::Sterownik();
    static const std::shared_ptr<TMemoryPort> mem = [&eng] {
        auto m = std::make_shared<TMemoryPort>();
        eng.UseBackend(m);
        return m;
    }();
    // An input whose first byte has its top bit set runs with the communication log shown.
    fuzz::ShowLog(eng, size > 0 && (data[0] & 0x80));
    mem->Rx.resize(0);
    mem->Tx.resize(0);
    eng.PortOpen(1);
    // The first byte of every 64 picks how many ticks pass before the next piece arrives.
    for (size_t at = 0; at < size; at += 64) {
        const size_t n = std::min<size_t>(64, size - at);
        mem->Rx.append(reinterpret_cast<const char *>(data + at), qsizetype(n));
        for (int t = data[at] % 8; t >= 0; --t)
            eng.Timer1OnTimer();
        mem->Tx.resize(0); // what the engine sent is not looked at
    }
    for (int t = 0; t < 64; ++t)
        eng.Timer1OnTimer();
    return 0;
}
