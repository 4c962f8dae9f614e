// Reply analysis: every complete frame from the controller is unscrambled, checked and acted on.
// Read replies fill the image, acknowledgements clear the request that was being sent, the poll
// reply stays in RxBuffer as the live bytes.
#include "device/TSesja.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <cstring>

namespace {

constexpr uint32_t Bit(int n) {
    return uint32_t(1) << n;
}

constexpr int Dane = 6; // block data starts at payload offset 2
constexpr int ObdStanRozmiar = 36;
constexpr int ObdStanLive = 92;             // the OBD work state follows the poll reply in the live bytes
constexpr uint32_t PelnyOdczyt = 0xF3079F;  // everything read after an identification
constexpr uint32_t OdczytFabryczny = 0x71F; // everything a factory reset changes

// Map of the controller's live cell reports: table number 0…5 → maps A, C, E, B, D, F.
constexpr int MapaTablicy[6] = {MapaA, MapaC, MapaE, MapaB, MapaD, MapaF};
constexpr int BitMapy[6] = {BitMapaA, BitMapaC, BitMapaE, BitMapaB, BitMapaD, BitMapaF};

const char *const ZapisEeprom[4] = {"Zapis eeprom - dane", "Zapis eeprom - mapy", "Zapis eeprom - błędy",
                                    "Zapis eeprom - kasuj błędy"};
const char *const ZapisFlash[6] = {"Zapis flash - nastawy",   "Zapis flash - kor.czas",
                                   "Zapis flash - kor.czas",  "Zapis flash - kor.obr.1",
                                   "Zapis flash - kor.obr.2", "Zapis flash - his/kor"};

// The block bit of a write acknowledgement (settings excluded), -1 when none.
int BitZapisu(uint8_t code) {
    switch (code) {
    case 0xF9: return BitMnoznik1;
    case 0xFA: return BitMnoznik2;
    case 0xFB: return BitKorObr1;
    case 0xFC: return BitKorObr2;
    case 0xF0: return BitMapaA;
    case 0xF1: return BitMapaB;
    case 0xF2: return BitMapaC;
    case 0xF3: return BitMapaD;
    case 0xF4: return BitMapaE;
    case 0xF5: return BitMapaF;
    default: break;
    }
    if (code >= 0xC7 && code <= 0xCD) return BitHistoria + (code - 0xC7);
    return -1;
}

} // namespace

int TSterownik::BitOdczytu(uint8_t code) {
    switch (code) {
    case 0xE8: return BitNastawy;
    case 0xE9: return BitMnoznik1;
    case 0xEA: return BitMnoznik2;
    case 0xEB: return BitKorObr1;
    case 0xEC: return BitKorObr2;
    case 0xE0: return BitMapaA;
    case 0xE1: return BitMapaB;
    case 0xE2: return BitMapaC;
    case 0xE3: return BitMapaD;
    case 0xE4: return BitMapaE;
    case 0xE5: return BitMapaF;
    default: break;
    }
    if (code >= 0xA7 && code <= 0xAD) return BitHistoria + (code - 0xA7);
    return -1;
}

void TSterownik::AnalizaOdbioru(int length) {
    if (length < 4 || length > int(sizeof RxBuffer)) return;
    bool recognised = false;
    uint8_t *f = RxBuffer;

    Frame::Unscramble(f, length, LinkKey);
    if (Frame::Sum(f, length) != 0) {
        Log(QString::fromUtf8("  błąd sumy "), KolorCzerwony);
        return;
    }
    const uint8_t start = f[0];
    const uint8_t cmd = f[3];
    const auto nieznany = [&] {
        recognised = false;
        Log(QStringLiteral("\n Nie rozpoznany rozkaz"), KolorCzerwony);
    };

    if (start == Frame::StartObd) {
        recognised = true;
        if (cmd == 0x70 && length >= Dane + ObdStanRozmiar) {
            if (VerboseLog) Log(QStringLiteral("\n Stan pracy obd"), KolorSrebrny);
            std::memcpy(ObdStan, f + Dane, ObdStanRozmiar);
        } else {
            nieznany(); // another command, or a report too short to hold the work state
        }
    } else if (start == Frame::StartReply) {
        recognised = true;
        if ((cmd & 0xF0) == 0x90) {
            // The live parameters stay where they are; bytes the frame did not bring read as 0.
            if (length < ObdStanLive) std::memset(f + length, 0, size_t(ObdStanLive - length));
            StatusBytes[0] = f[10];
            StatusBytes[1] = f[11];
            StatusBytes[2] = f[12];
            // A calibration poll still on its way back after Stop must not run a step: state 0 would
            // put the start values back over the calibrated settings and write them.
            if ((cmd & 1) && (PollMode & 1)) EtapyKalibracji();
            if (!InjectorMaskPending) InjectorMask = f[22];
            if (f[6] == 0 && f[9] != 0 && f[7] < 6) {
                const int row = f[8] >> 4;
                const int col = f[8] & 15;
                Mapy[MapaTablicy[f[7]]][row * 16 + col] = f[9];
                Sesja->Komorka(BitMapy[f[7]], row * 16 + col, f[9]);
            }
            if (OnTekst) {
                if (f[6] == 241) {
                    for (int b = 0; b < 4; ++b)
                        if (f[7] & (1 << b)) Log(QString::fromUtf8(ZapisEeprom[b]), KolorCzarny);
                } else if (f[6] == 242) {
                    for (int b = 0; b < 6; ++b)
                        if (f[7] & (1 << b)) Log(QString::fromUtf8(ZapisFlash[b]), KolorCzarny);
                }
            }
            std::memcpy(f + ObdStanLive, ObdStan, ObdStanRozmiar);
        } else if (cmd < 0x80) {
            nieznany();
        } else if (const int bit = BitOdczytu(cmd); bit >= 0) {
            if (length < Dane + 256) {
                nieznany(); // a short block is not taken: the request stays and is sent again
            } else {
                ReadRequests &= ~Bit(bit);
                std::memcpy(Blok(bit), f + Dane, 256);
                Sesja->Odczytano(bit);
                if (bit == BitHistoria) HistoriaPoOdczycie(); // changes made while it was unread
                if (cmd == 0xE8) {
                    ListaRpmLamMafAfr();
                    const uint8_t sum = Frame::Sum(Nastawy, 256);
                    if (sum != 0)
                        Log(QString::number(sum) + QString::fromUtf8("  błąd sumy nastaw"), KolorCzerwony);
                }
            }
        } else if (const int wbit = BitZapisu(cmd); wbit >= 0) {
            WriteRequests &= ~Bit(wbit);
            Sesja->Potwierdzono(wbit);
        } else {
            switch (cmd) {
            case 0x80:
                if (VerboseLog) Log(QStringLiteral("\n Stan pracy komp"), KolorSrebrny);
                break;
            case 0x81: {
                OtherRequests &= ~ReqIdentify;
                std::memset(Identyfikacja, 0, 128);
                if (length < 128) std::memcpy(Identyfikacja, f, size_t(length));
                const int mode = length > 5 ? f[5] : -1;
                if (mode == 0) {
                    // Only a stored reply that reached byte 59 says how many channels there are.
                    if (length < 128 && length > 59) InjectorCount = Identyfikacja[59];
                    ListaParamOdPlytki();
                    OtherRequests |= ReqReadErrors;
                    std::memcpy(IdentSterownika, Identyfikacja, sizeof IdentSterownika);
                    Sesja->PoIdentyfikacji(NumerSterownika().toLatin1());
                    ReadRequests = PelnyOdczyt;
                } else if (mode == 1) {
                    if (BootExpected)
                        FlashActive = 1;
                    else
                        Komunikat(LangText(1365), 16);
                }
                break;
            }
            case 0x82: OtherRequests &= ~ReqReadErrors; break;
            case 0x83:
                EraseErrorsPending = 0;
                OtherRequests |= ReqReadErrors;
                break;
            case 0x84: FuelAutoPending = 0; break;
            case 0x85: FuelFastPending = 0; break;
            case 0x86: InjectorMaskPending = 0; break;
            case 0x87: SpeakerTestPending = 0; break;
            case 0x88: LeakTestPending = 0; break;
            case 0x89:
                FactoryPending = 0;
                ReadRequests = OdczytFabryczny;
                break;
            case 0x8E:
            case 0x8F: break;
            case 0xF8:
                SettingsWritePending = 0;
                Sesja->Potwierdzono(BitNastawy);
                break;
            case 0xFF: FirmwareBlokPotwierdzony(); break;
            default: nieznany(); break;
            }
        }
    }
    // Any other start byte cannot reach here (the receive path drops it), and is not recognised.

    if (OnTekst && ((((cmd >> 4) != 9) && cmd != 0x70) || VerboseLog == 1))
        Log(QString::fromLatin1(Frame::Trace("  RX:", f, length)), KolorNiebieski);
    if (recognised) {
        Unanswered = 0;
        Dziennik.PoOdpowiedzi(cmd);
        Zdarzenie(0, cmd, length, 0);
        Sesja->PoZdarzeniu(); // after the owner's backup of what the controller holds
    }
}
