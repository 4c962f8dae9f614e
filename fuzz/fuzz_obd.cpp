// Any adapter reply, in any pieces, through the OBD task loop with the controller attached.
#include "device/TSterownik.h"
#include "obd/TObd.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_obd";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    TSterownik ster;
    ster.StopTimer();
    TObd obd;
    obd.StopTimer();
    obd.Sterownik = &ster;
    auto mem = std::make_shared<TMemoryPort>();
    obd.UseBackend(mem);
    obd.PortOpen(-1);
    obd.OnTimer0();
    for (size_t at = 0; at < size; at += 32) {
        const size_t n = std::min<size_t>(32, size - at);
        mem->Rx.append(reinterpret_cast<const char *>(data + at), qsizetype(n));
        for (int t = data[at] % 4; t >= 0; --t)
            obd.OnTimer1();
        mem->TakeTx();
    }
    for (int t = 0; t < 40; ++t)
        obd.OnTimer1();
    return 0;
}
