// Any adapter reply, in any pieces, through the OBD task loop with the controller attached.
#include "FuzzCommon.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    TSterownik &ster = fuzz::Sterownik();
    TObd &obd = fuzz::Obd();
    static const std::shared_ptr<TMemoryPort> mem = [&obd] {
        auto m = std::make_shared<TMemoryPort>();
        obd.UseBackend(m);
        return m;
    }();
    obd.Sterownik = &ster;
    // An input whose first byte has its top bit set runs with the communication log shown.
    fuzz::ShowLog(obd, size > 0 && (data[0] & 0x80));
    mem->Rx.resize(0);
    mem->Tx.resize(0);
    obd.PortOpen(-1);
    obd.OnTimer0();
    for (size_t at = 0; at < size; at += 32) {
        const size_t n = std::min<size_t>(32, size - at);
        mem->Rx.append(reinterpret_cast<const char *>(data + at), qsizetype(n));
        for (int t = data[at] % 4; t >= 0; --t)
            obd.OnTimer1();
        mem->Tx.resize(0); // what the engine sent is not looked at
    }
    for (int t = 0; t < 40; ++t)
        obd.OnTimer1();
    return 0;
}
