// Any adapter reply, in any pieces, through the OBD task loop with the controller attached.
#include "FuzzCommon.h"
#include "obd/ObdModels.h"

#include <memory>

namespace {
// A vehicle page that takes what it is shown: with it attached, the loop reads the vehicle too.
class Pojazd : public TObdPojazdWidok {
public:
    void CzytaniePojazdu() override {}
    void PokazPojazd(const TObdPojazd &p) override { ecu_ = int(p.ecu.size()); }

private:
    int ecu_ = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    TSterownik &ster = fuzz::Sterownik();
    TObd &obd = fuzz::Obd();
    static const std::shared_ptr<TMemoryPort> mem = [&obd] {
        auto m = std::make_shared<TMemoryPort>();
        obd.UseBackend(m);
        return m;
    }();
    obd.Sterownik = &ster;
    static Pojazd pojazd;
    // An input whose first byte has bit 6 set runs with the vehicle page attached.
    obd.MyPojazd = size > 0 && (data[0] & 0x40) ? &pojazd : nullptr;
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
