// The PC-side image of the controller's blocks: block lookup by request bit, defaults, the erase
// operations that reset a block and mark it for writing, and the change history.
#include "device/TSterownik.h"

#include <cstring>

namespace {

constexpr uint32_t Bit(int n) {
    return uint32_t(1) << n;
}

constexpr int HistoriaWpisy = 32;
constexpr int HistoriaWpis = 8;

// A correction curve at its default: no correction anywhere, first and eighth break point at the
// ends of the range the curve is edited in.
void KrzywaDomyslna(uint8_t *k, uint8_t id, uint8_t xFirst, uint8_t xLast) {
    std::memset(k, 0, 50);
    std::memset(k + 50, 128, 256 - 50);
    k[0] = id;
    k[1] = 0;
    k[2] = xFirst;
    k[3] = 128;
    k[16] = xLast;
    k[17] = 128;
}

} // namespace

uint8_t *TSterownik::Blok(int bit) {
    switch (bit) {
    case BitNastawy: return Nastawy;
    case BitMnoznik1: return Mnoznik1;
    case BitMnoznik2: return Mnoznik2;
    case BitKorObr1: return KorObr1;
    case BitKorObr2: return KorObr2;
    case BitHistoria: return Historia;
    case BitKorCis: return KorCis;
    case BitKorTempRed: return KorTempRed;
    case BitKorTempGazu: return KorTempGazu;
    case BitEmulator: return Emulator;
    case BitOpoznienia: return Opoznienia;
    case BitWzbogacenie: return Wzbogacenie;
    case BitMapaA: return Mapy[MapaA];
    case BitMapaB: return Mapy[MapaB];
    case BitMapaC: return Mapy[MapaC];
    case BitMapaD: return Mapy[MapaD];
    case BitMapaE: return Mapy[MapaE];
    case BitMapaF: return Mapy[MapaF];
    default: return nullptr;
    }
}

void TSterownik::KasujMnoznik() {
    std::memset(Mnoznik1, 100, sizeof Mnoznik1);
    std::memset(Mnoznik2, 100, sizeof Mnoznik2);
    // The multiplier areas of the settings: bank 2 at 164…189, bank 1 at 190…215; the last byte of
    // each holds the full scale of the multiplier axis.
    std::memset(Nastawy + 164, 0, 189 - 164);
    Nastawy[189] = MultiplierScale;
    std::memset(Nastawy + 190, 0, 215 - 190);
    Nastawy[215] = MultiplierScale;
    WriteRequests |= Bit(BitNastawy) | Bit(BitMnoznik1) | Bit(BitMnoznik2);
}

void TSterownik::KasujKorOdObr() {
    std::memset(KorObr1, 100, sizeof KorObr1);
    std::memset(KorObr2, 100, sizeof KorObr2);
    WriteRequests |= Bit(BitKorObr1) | Bit(BitKorObr2);
}

void TSterownik::KasujKorekty() {
    KrzywaDomyslna(KorCis, 8, 50, 250);
    KrzywaDomyslna(KorTempRed, 9, 98, 228);
    KrzywaDomyslna(KorTempGazu, 10, 98, 228);
    WriteRequests |= Bit(BitKorCis) | Bit(BitKorTempRed) | Bit(BitKorTempGazu);
}

void TSterownik::KasujMapeEcuBen() {
    std::memset(Mapy[MapaA], 0, 256);
    if (Nastawy[79] != 0) {
        Nastawy[79] = 0;
        WriteRequests |= Bit(BitNastawy);
    }
    WriteRequests |= Bit(BitMapaA);
}

void TSterownik::KasujMapeEcuGaz() {
    std::memset(Mapy[MapaB], 0, 256);
    WriteRequests |= Bit(BitMapaB);
}

void TSterownik::KasujMapeOdbBen() {
    std::memset(Mapy[MapaC], 0, 256);
    std::memset(Mapy[MapaE], 0, 256);
    WriteRequests |= Bit(BitMapaC) | Bit(BitMapaE);
}

void TSterownik::KasujMapeObdGaz() {
    std::memset(Mapy[MapaD], 0, 256);
    std::memset(Mapy[MapaF], 0, 256);
    WriteRequests |= Bit(BitMapaD) | Bit(BitMapaF);
}

void TSterownik::KasujOpoznienia() {
    // Row r, column c: 2 on and below the diagonal, 4 just above it, then rising by 2 per column.
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            int v;
            if (c <= r)
                v = 2;
            else if (c == r + 1)
                v = 4;
            else
                v = 8 + 2 * (c - r - 2);
            Opoznienia[r * 16 + c] = uint8_t(v);
        }
    }
    ZapiszDoSterownika(Bit(BitOpoznienia));
}

void TSterownik::KasujWzbogacenie() {
    std::memset(Wzbogacenie, 128, sizeof Wzbogacenie);
    ZapiszDoSterownika(Bit(BitWzbogacenie));
}

void TSterownik::NastawyFabryczne() {
    KasujMnoznik();
    KasujKorOdObr();
    KasujKorekty();
    FactoryPending = 1;
}

void TSterownik::UstawDateIdent(const QDate &today, uint32_t workstationId) {
    if (today.isValid()) {
        ChangeDate[0] = today.year() - 2000;
        ChangeDate[1] = today.month();
        ChangeDate[2] = today.day();
    } else {
        ChangeDate[0] = ChangeDate[1] = ChangeDate[2] = 0;
    }
    WorkstationId = workstationId;
}

void TSterownik::HistoriaZmian(int kind) {
    if (kind < 0 || kind > 7) return; // one bit of the entry's first byte per kind
    const uint8_t mask = uint8_t(1u << kind);
    // While the controller's own history has not been read, writing the image's copy back would
    // replace the controller's record with ours; the kind waits until that read has merged it.
    if (ReadRequests & Bit(BitHistoria)) {
        HistoriaOdlozona |= mask;
        return;
    }
    const uint8_t rok = uint8_t(ChangeDate[0]);
    const uint8_t miesiac = uint8_t(ChangeDate[1]);
    const uint8_t dzien = uint8_t(ChangeDate[2]);
    const uint8_t id[4] = {uint8_t(WorkstationId >> 24), uint8_t(WorkstationId >> 16),
                           uint8_t(WorkstationId >> 8), uint8_t(WorkstationId)};

    int n = 0;
    while (n < HistoriaWpisy && Historia[n * HistoriaWpis] != 0)
        ++n;

    if (n > 0) {
        const uint8_t *p = Historia + (n - 1) * HistoriaWpis;
        if (p[1] == rok && p[2] == miesiac && p[3] == dzien && std::memcmp(p + 4, id, 4) == 0) {
            if (p[0] & mask) return; // already recorded today by this PC
            --n;                     // the same day and PC: merge into that entry
        }
    }
    if (n == HistoriaWpisy) {
        // Full: the oldest entry stays (it is the production date), the rest move up by one.
        std::memmove(Historia + 1 * HistoriaWpis, Historia + 2 * HistoriaWpis,
                     size_t(HistoriaWpisy - 2) * HistoriaWpis);
        n = HistoriaWpisy - 1;
        std::memset(Historia + n * HistoriaWpis, 0, HistoriaWpis);
    }
    uint8_t *e = Historia + n * HistoriaWpis;
    e[0] |= mask;
    e[1] = rok;
    e[2] = miesiac;
    e[3] = dzien;
    std::memcpy(e + 4, id, 4);
    WriteRequests |= Bit(BitHistoria);
}

void TSterownik::HistoriaPoOdczycie() {
    const uint8_t kinds = HistoriaOdlozona;
    HistoriaOdlozona = 0;
    for (int kind = 0; kind < 8; ++kind)
        if (kinds & (1u << kind)) HistoriaZmian(kind);
}

void TSterownik::HistoriaZmianKasuj() {
    std::memset(Historia, 0, sizeof Historia);
    WriteRequests |= Bit(BitHistoria);
}
