// The transmit scheduler: on every transmit turn the single most urgent request is sent. Requests
// are flags and bits that stay set until the controller's reply with the same code clears them, so
// an unanswered request simply goes out again on a later turn.
#include "device/TSesja.h"
#include "device/TSterownik.h"

#include <cstring>

namespace {

constexpr uint32_t Bit(int n) {
    return uint32_t(1) << n;
}

constexpr int Payload = 4;      // first payload byte in TxBuffer
constexpr int BlockData = 6;    // block data follows the random byte and the 0
constexpr int BlockFrame = 258; // payload of every block write

struct TZapis {
    int bit;
    uint8_t code;
    const char *log; // UTF-8
    int history;     // kind for the change history, -1 none
};

// Block writes in the order they are served (settings, 0xF8, is handled on its own).
const TZapis ZapisyMnoznik[] = {
    {BitMnoznik1, 0xF9, "\n  Zapis mnożnika bank 1", 3},
    {BitMnoznik2, 0xFA, "\n  Zapis mnożnika bank 2", 3},
    {BitKorObr1, 0xFB, "\n  Zapis korekty od obrotów bank 1", 3},
    {BitKorObr2, 0xFC, "\n  Zapis korekty od obrotów bank 2", 3},
};
const TZapis ZapisyMapy[] = {
    {BitMapaA, 0xF0, "\n  Zapis mapy benzyny", -1},
    {BitMapaB, 0xF1, "\n  Zapis mapy gazu", -1},
    {BitMapaC, 0xF2, "\n  Zapis mapy kor. obd ben 1", -1},
    {BitMapaD, 0xF3, "\n  Zapis mapy kor. obd gaz 1", -1},
    {BitMapaE, 0xF4, "\n  Zapis mapy kor. obd ben 2", -1},
    {BitMapaF, 0xF5, "\n  Zapis mapy kor. obd gaz 2", -1},
};
const TZapis ZapisyTabele[] = {
    {BitHistoria, 0xC7, "\n  Zapis historii", -1},
    {BitKorCis, 0xC8, "\n  Zapis korekty od cis. gazu", 3},
    {BitKorTempRed, 0xC9, "\n  Zapis korekty od temp. red.", 3},
    {BitKorTempGazu, 0xCA, "\n  Zapis korekty od temp. gazu", 3},
    {BitEmulator, 0xCB, "\n  Zapis emulatora ciś. listwy", 3},
    {BitOpoznienia, 0xCC, "\n  Zapis opóźnienia wtr. gazu", 3},
    {BitWzbogacenie, 0xCD, "\n  Zapis wzbogacania-zubożania", 3},
};

struct TOdczyt {
    int bit;
    uint8_t code;
    const char *log;
};

const TOdczyt Odczyty[] = {
    {BitNastawy, 0xE8, "\n  Odczyt nastaw"},
    {BitMnoznik1, 0xE9, "\n  Odczyt mnożnika bank 1"},
    {BitMnoznik2, 0xEA, "\n  Odczyt mnożnika bank 2"},
    {BitKorObr1, 0xEB, "\n  Odczyt korekty od obrotów bank 1"},
    {BitKorObr2, 0xEC, "\n  Odczyt korekty od obrotów bank 2"},
    {BitMapaA, 0xE0, "\n  Odczyt mapy czasów wtrysku benzyny"},
    {BitMapaB, 0xE1, "\n  Odczyt mapy czasów wtrysku gazu"},
    {BitMapaC, 0xE2, "\n  Odczyt mapy obd benzyna bank 1"},
    {BitMapaD, 0xE3, "\n  Odczyt mapy obd gaz bank 1"},
    {BitMapaE, 0xE4, "\n  Odczyt mapy obd benzyna bank 2"},
    {BitMapaF, 0xE5, "\n  Odczyt mapy obd gaz bank 2"},
    {BitHistoria, 0xA7, "\n  Odczyt historii"},
    {BitKorCis, 0xA8, "\n  Odczyt korekt od cis. gazu"},
    {BitKorTempRed, 0xA9, "\n  Odczyt korekt od temp. red."},
    {BitKorTempGazu, 0xAA, "\n  Odczyt korekt od temp. gazu"},
    {BitEmulator, 0xAB, "\n  Odczyt emulatora ciś. listwy"},
    {BitOpoznienia, 0xAC, "\n  Odczyt opóźnienia wtr. gazu"},
    {BitWzbogacenie, 0xAD, "\n  Odczyt wzbogacania-zubożania"},
};

const char *const LogPoll = "\n  Paramerte bieżące";

} // namespace

void TSterownik::CzytajZeSterownika(uint32_t bits) {
    ReadRequests |= bits;
}

bool TSterownik::ZapisMozliwy(uint32_t bits) {
    // A block that was never read from the controller cannot be written back, and nothing is
    // queued while the link is down.
    return (bits & ReadRequests) == 0 && Unanswered <= 10 && PortConnected();
}

void TSterownik::ZapiszDoSterownika(uint32_t bits) {
    if (ZapisMozliwy(bits)) WriteRequests |= bits;
}

void TSterownik::RozkazDoSterownika(uint32_t bits) {
    OtherRequests |= bits;
}

void TSterownik::NadawanieTx() {
    if (WriteRequests & Bit(BitNastawy)) {
        SettingsWritePending = 1;
        WriteRequests &= ~Bit(BitNastawy);
    }
    if (TxWait > 0) {
        --TxWait;
        return;
    }
    TxBuffer[Payload] = LosowyBajt();
    TxBuffer[Payload + 1] = 0;

    // The log texts are built only while someone reads the log.
    const auto rozkaz = [this](uint8_t code, const char *log) {
        if (OnTekst) Log(QString::fromUtf8(log), KolorSrebrny);
        Ramka(code, 0);
    };
    const auto zapis = [this](const TZapis &z) {
        const uint8_t *blok = Blok(z.bit);
        std::memcpy(TxBuffer + BlockData, blok, 256);
        Sesja->Wyslano(z.bit, blok);
        TxWait = 2;
        if (OnTekst) Log(QString::fromUtf8(z.log), KolorSrebrny);
        Ramka(z.code, BlockFrame);
        if (z.history >= 0) HistoriaZmian(z.history);
    };
    const auto poll = [this](bool relay) {
        if (VerboseLog && OnTekst) Log(QString::fromUtf8(LogPoll), KolorSrebrny);
        const uint8_t code = uint8_t(0x90 | (PollMode & 0x0F));
        if (relay) {
            std::memcpy(TxBuffer + BlockData, ObdRelay, 6);
            Ramka(uint8_t(code | 4), 8);
        } else {
            Ramka(code, 0);
        }
    };

    if (JumpBootPending) {
        JumpBootPending = 0;
        TxWait = 8;
        OtherRequests |= ReqIdentify;
        rozkaz(0x8E, "\n  Skok do bootloader-a");
        HistoriaZmian(0);
        return;
    }
    if (ReturnBootPending) {
        ReturnBootPending = 0;
        TxWait = 2;
        OtherRequests |= ReqIdentify;
        rozkaz(0x8F, "\n  Powrót z bootloader-a");
        return;
    }
    if (FlashActive) {
        // One 256-byte block of the image after its 256-byte file header, preceded by its number.
        const size_t offset = 256 + 256 * size_t(FirmwareBlock);
        if (FirmwareBlock >= 0 && offset + 256 <= FirmwareImage.size()) {
            // A block goes out again only after a few quiet turns: a controller that is still
            // writing (erasing a sector) would otherwise answer both copies, one after the other.
            if (FirmwareCopies > 0 && ++FirmwareQuiet < FirmwareResendTurns) return;
            ++FirmwareCopies;
            FirmwareQuiet = 0;
            TxBuffer[Payload] = uint8_t(FirmwareBlock & 0xFF);
            TxBuffer[Payload + 1] = uint8_t((FirmwareBlock >> 8) & 0xFF);
            std::memcpy(TxBuffer + BlockData, FirmwareImage.data() + offset, 256);
            Log(QStringLiteral("\n  Zapis Flash"), KolorSrebrny);
            Ramka(0xFF, BlockFrame);
            return;
        }
        // A block number beyond the image cannot be sent: the transfer is over.
        FlashActive = 0;
        TxBuffer[Payload] = LosowyBajt();
        TxBuffer[Payload + 1] = 0;
    }
    if (OtherRequests & ReqIdentify) {
        rozkaz(0x81, "\n  Numer seryjny i wersja");
        return;
    }
    if ((TxCycle & 1) == 0) {
        poll(false);
        return;
    }
    if (OtherRequests & ReqReadErrors) {
        rozkaz(0x82, "\n  Odczyt błędów");
        return;
    }
    if (EraseErrorsPending) {
        TxWait = 4;
        rozkaz(0x83, "\n  Kasowanie błędów");
        HistoriaZmian(2);
        return;
    }
    if (FuelAutoPending) {
        rozkaz(0x84, "\n  Zmiana paliwa automatyczna");
        return;
    }
    if (FuelFastPending) {
        rozkaz(0x85, "\n  Zmiana paliwa szybka");
        return;
    }
    if (InjectorMaskPending) {
        TxBuffer[Payload + 2] = InjectorMask;
        Log(QStringLiteral("\n  Zmiana załączonych wtryskiwaczy"), KolorSrebrny);
        Ramka(0x86, 3);
        return;
    }
    if (SettingsWritePending) {
        ListaRpmLamMafAfr();
        // The checksum is always computed afresh, from the image as it is now.
        unsigned sum = 0;
        for (int i = 1; i < 256; ++i)
            sum += Nastawy[i];
        TxBuffer[BlockData] = uint8_t(-sum);
        std::memcpy(TxBuffer + BlockData + 1, Nastawy + 1, 255);
        Sesja->Wyslano(BitNastawy, TxBuffer + BlockData);
        TxWait = 2;
        Log(QStringLiteral("\n  Zapis nastaw"), KolorSrebrny);
        Ramka(0xF8, BlockFrame);
        HistoriaZmian(3);
        return;
    }
    for (const TZapis &z : ZapisyMnoznik)
        if (WriteRequests & Bit(z.bit)) return zapis(z);
    for (const TZapis &z : ZapisyMapy)
        if (WriteRequests & Bit(z.bit)) return zapis(z);
    for (const TZapis &z : ZapisyTabele)
        if (WriteRequests & Bit(z.bit)) return zapis(z);
    if (SpeakerTestPending) {
        rozkaz(0x87, "\n  Test głośnika");
        return;
    }
    if (LeakTestPending) {
        rozkaz(0x88, "\n  Test szczelności");
        return;
    }
    if (FactoryPending) {
        rozkaz(0x89, "\n  Nastawy fabryczne");
        HistoriaZmian(1);
        return;
    }
    for (const TOdczyt &o : Odczyty) {
        if (ReadRequests & Bit(o.bit)) {
            rozkaz(o.code, o.log);
            return;
        }
    }
    // Nothing else to do on this request turn: a poll, carrying the OBD relay data when there is some.
    if (ObdRelayPending) {
        ObdRelayPending = 0;
        poll(true);
        return;
    }
    poll(false);
}
