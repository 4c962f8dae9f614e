#pragma once
// A map view on a panel with a controller whose port is a memory port (so edits are queued for
// writing), the axes and maps of a controller that has run a while, and beeps counted.
#include "charts/TGrafika.h"
#include "device/TSterownik.h"
#include "link/SerialBackend.h"
#include "widgets/TPaleta.h"

#include <QWidget>
#include <cstring>
#include <memory>

struct TStanowisko {
    QWidget panel;
    TSterownik s;
    std::shared_ptr<TMemoryPort> port = std::make_shared<TMemoryPort>();
    TGrafika *g = nullptr;
    int beeps = 0;

    explicit TStanowisko(int w = 1366, int h = 768, int scheme = 2) {
        s.StopTimer();
        s.UseBackend(port);
        s.PortOpen(1);
        static const uint8_t load[16] = {6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100};
        static const uint8_t rpm[16] = {12, 18, 24, 30, 36, 42, 48, 54, 60, 66, 72, 80, 90, 100, 110, 120};
        std::memcpy(s.Nastawy + 224, load, 16);
        std::memcpy(s.Nastawy + 240, rpm, 16);
        s.Nastawy[83] = 60;
        s.Identyfikacja[66] = s.Identyfikacja[67] = s.Identyfikacja[68] = 128;
        for (int c = 1; c < 10; ++c)
            for (int r = 2; r < 12; ++r) {
                s.Mapy[MapaA][c * 16 + r] = uint8_t(20 + 6 * r + c);
                s.Mapy[MapaB][c * 16 + r] = uint8_t(22 + 6 * r + c + (r > 8 ? 12 : 0));
                s.Mapy[MapaC][c * 16 + r] = uint8_t(120 + r);
                s.Mapy[MapaD][c * 16 + r] = uint8_t(118 + c);
            }
        s.KorObr1[3 * 16 + 5] = 130;
        s.KorObr1[4 * 16 + 5] = 70;
        panel.resize(w, h);
        g = new TGrafika(&panel, &s);
        g->OnBeep = [this] { ++beeps; };
        g->UstawKolory(PaletaSchematu(scheme));
        panel.show();
        g->show();
        Bez();
    }
    // As if every block had been read: nothing pending.
    void Bez() {
        s.ReadRequests = 0;
        s.WriteRequests = 0;
    }
    void Tryb(int mode) {
        g->UstawTryb(mode);
        Bez();
        g->Rysuj();
    }
    // A poll reply with the given bytes set.
    void Odpowiedz(std::initializer_list<std::pair<int, int>> bytes) {
        uint8_t b[128] = {};
        for (auto [i, v] : bytes)
            b[i] = uint8_t(v);
        g->NoweParametry(b);
    }
};
