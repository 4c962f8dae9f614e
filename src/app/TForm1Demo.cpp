// The administrator's "Demo" item: fills the six fuel maps with demonstration tables and queues them
// for writing, so a controller on the bench shows plausible maps.
#include "app/TForm1.h"

#include "device/TSterownik.h"

#include <cstring>

namespace {
// A map whose cells inside an ellipse around the working area hold values rising with load (rows)
// and revolutions (columns); every other cell is 0. Cell (column c, row r) is byte c x 16 + r, as the
// map tables and the controller's learnt cells number them.
void Mapa(uint8_t *m, double cx, double cy, double rx, double ry, int lo, int hi) {
    std::memset(m, 0, 256);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c) {
            const double dx = (c - cx) / rx, dy = (r - cy) / ry;
            if (dx * dx + dy * dy > 1.0) continue;
            const double t = (r + c * 0.35) / (15.0 + 15.0 * 0.35);
            m[c * 16 + r] = uint8_t(lo + (hi - lo) * t);
        }
}
} // namespace

void TForm1::Demo() {
    TZmiana krok(&Sterownik1->Dziennik, 0xF30000, QStringLiteral("Demo"));
    uint8_t(&m)[6][256] = Sterownik1->Mapy;
    Mapa(m[MapaA], 6.0, 7.0, 5.2, 4.6, 16, 175);  // petrol injection times
    Mapa(m[MapaB], 6.5, 7.0, 6.0, 5.4, 18, 202);  // gas injection times
    Mapa(m[MapaC], 6.0, 7.0, 5.0, 4.5, 118, 141); // OBD petrol
    Mapa(m[MapaD], 6.5, 7.0, 6.0, 5.3, 112, 141); // OBD gas
    std::memcpy(m[MapaE], m[MapaC], 256);
    std::memcpy(m[MapaF], m[MapaD], 256);
    Sterownik1->ZapiszDoSterownika(0xF30000);
    if (Grafika->Widget()->isVisible()) Grafika->Rysuj();
}
