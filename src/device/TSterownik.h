#pragma once
// The controller: link (25 ms tick, frames, scheduler, reply analysis) and the PC-side image of
// everything the controller holds (blocks, live bytes, chart series, files, calibration, firmware).
//
// Implementation files:
//   link/TSterownikLink.cpp   tick, frames, receive path
//   link/TSterownikTx.cpp     command scheduler (NadawanieTx and the request operations)
//   link/TSterownikRx.cpp     reply analysis (AnalizaOdbioru)
//   device/TSterownikImage.cpp  blocks, defaults, erase operations, history
//   device/Wykresy.cpp        chart series catalogue
//   device/TSterownikTexts.cpp, device/ReferenceCurves.cpp  live and status texts, reference curves
//   device/SettingsFile.cpp, device/ScopeFile.cpp, device/Kalibracja.cpp, device/Aktualizacja.cpp
#include "device/TDziennik.h"
#include "device/Wykres.h"
#include "link/Frame.h"
#include "link/TSerial.h"

#include <QDate>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

class QFile;
class QIODevice;
class TSesja;

// Block bit numbers, shared by ReadRequests and WriteRequests.
enum TBlokBit : int {
    BitNastawy = 0,
    BitMnoznik1 = 1,
    BitMnoznik2 = 2,
    BitKorObr1 = 3,
    BitKorObr2 = 4,
    BitHistoria = 7,
    BitKorCis = 8,
    BitKorTempRed = 9,
    BitKorTempGazu = 10,
    BitEmulator = 11,
    BitOpoznienia = 12,
    BitWzbogacenie = 13,
    BitMapaA = 16,
    BitMapaB = 17,
    BitMapaC = 20,
    BitMapaD = 21,
    BitMapaE = 22,
    BitMapaF = 23,
};

// OtherRequests bits.
enum : uint32_t { ReqIdentify = 1u << 0, ReqReadErrors = 1u << 1 };

// Map indices of TSterownik::Mapy.
enum TMapa : int { MapaA = 0, MapaB, MapaC, MapaD, MapaE, MapaF };

// Colours of the communication log (0x00BBGGRR).
enum : uint32_t {
    KolorCzarny = 0x000000,
    KolorCzerwony = 0x0000FF,
    KolorCiemnoczerwony = 0x000080,
    KolorNiebieski = 0xFF0000,
    KolorSrebrny = 0xC0C0C0,
};

class TSterownik : public TSerial {
    Q_OBJECT
public:
    explicit TSterownik(QObject *owner = nullptr);
    ~TSterownik() override;

    // ---------------------------------------------------------------- callbacks
    // A line for the communication log; installed only while the log window is shown.
    std::function<void(QObject *sender, const QString &text, uint32_t colour)> OnTekst;
    // Device events: 0 reply accepted, 1 frame sent, 2 calibration, 3 link started, 4 file loaded.
    std::function<void(int kind, int a, int b, int c)> OnZdarzenie;
    // A message box (caption "TARVEN"); flags as the message-box style (16 error, 52 yes/no, 64 info).
    // Returns the pressed button (6 = Yes). Without it the text goes to the log.
    std::function<int(const QString &text, int flags)> OnMessage;
    // Firmware transfer progress (percent 0…100) and its end; the progress window listens.
    std::function<void(int percent)> OnFirmwareProgress;
    std::function<void()> OnFirmwareDone;

    // ---------------------------------------------------------------- link (frames, tick, receive)
    uint8_t LinkKey = Frame::DefaultLinkKey;
    uint8_t TxBuffer[300] = {};
    uint8_t RxBuffer[1024] = {};
    int32_t RxStage = 0;
    int32_t RxExpected = 0;
    int32_t RxStallTicks = 0; // ticks a held header has waited for the rest of its frame
    uint8_t TickBusy = 0;
    int32_t TickCount = 0;
    int32_t TxCycle = 0;
    int32_t Unanswered = 0;
    uint8_t VerboseLog = 0;
    QTimer *Timer = nullptr;

    void Timer1OnTimer();
    void Ramka(uint8_t command, int length) { RamkaAll(Frame::StartPc, command, length); }
    void RamkaAll(uint8_t start, uint8_t command, int length);
    int OdbiorRx();
    // Stops the run-time tick (tests drive Timer1OnTimer directly).
    void StopTimer();

    // ---------------------------------------------------------------- scheduler
    uint32_t ReadRequests = 0;
    uint32_t WriteRequests = 0;
    uint32_t OtherRequests = 0;
    uint32_t PollMode = 0;
    int32_t TxWait = 0;
    uint8_t ObdRelayPending = 0;
    uint8_t EraseErrorsPending = 0;
    uint8_t FuelAutoPending = 0;
    uint8_t FuelFastPending = 0;
    uint8_t InjectorMaskPending = 0;
    uint8_t SpeakerTestPending = 0;
    uint8_t LeakTestPending = 0;
    uint8_t FactoryPending = 0;
    uint8_t JumpBootPending = 0;
    uint8_t ReturnBootPending = 0;
    uint8_t SettingsWritePending = 0;
    uint8_t FlashActive = 0;
    uint8_t BootExpected = 0;

    void NadawanieTx();
    void CzytajZeSterownika(uint32_t bits);
    void ZapiszDoSterownika(uint32_t bits);
    // Whether ZapiszDoSterownika(bits) would queue the blocks now.
    bool ZapisMozliwy(uint32_t bits);
    void RozkazDoSterownika(uint32_t bits);
    void CzytajBledyObd(int) {}
    void KasujBledyObd(int) {}
    uint8_t LosowyBajt();

    // ---------------------------------------------------------------- reply analysis
    void AnalizaOdbioru(int length);
    // The block bit a read reply fills (-1 when the code reads no block).
    static int BitOdczytu(uint8_t code);

    // ---------------------------------------------------------------- device data image
    uint8_t Nastawy[256 + 48] = {};       // settings: 256 exchanged + 48 kept only in files
    uint8_t Mnoznik1[256] = {};           // multipliers bank 1
    uint8_t Mnoznik2[256] = {};           // multipliers bank 2
    uint8_t KorObr1[256] = {};            // RPM correction bank 1
    uint8_t KorObr2[256] = {};            // RPM correction bank 2
    uint8_t Historia[256] = {};           // 32 entries of 8 bytes
    uint8_t KorCis[256] = {};             // correction by gas pressure (curve id 8)
    uint8_t KorTempRed[256] = {};         // correction by reducer temperature (id 9)
    uint8_t KorTempGazu[256] = {};        // correction by gas temperature (id 10)
    uint8_t Emulator[256] = {};           // rail-pressure emulator
    uint8_t Opoznienia[256] = {};         // gas injection delay
    uint8_t Wzbogacenie[256] = {};        // enrichment / leaning
    uint8_t Mapy[6][256] = {};            // maps A…F
    uint8_t Identyfikacja[128 + 64] = {}; // identification reply frame + 64 bytes kept only in files
    uint8_t ObdStan[36] = {};             // OBD work state (start byte 54, command 0x70)
    uint8_t ObdRelay[7] = {};             // PID 03 hi/lo, 06, 07, 08, 09 (0 sent as 1), 0
    std::vector<uint8_t> FirmwareImage;   // 65536: 256-byte file header, then 224 blocks
    int32_t FirmwareBlock = 0;
    // The answers to 0xFF carry no block number, so they are matched to the copies sent, in order:
    // copies of the current block still unanswered, turns since the last one went out, and
    // answers still due for extra copies of blocks already counted.
    int32_t FirmwareCopies = 0;
    int32_t FirmwareQuiet = 0;
    int32_t FirmwareStale = 0;

    uint8_t InjectorMask = 255;
    uint8_t InjectorCount = 8;
    uint8_t MultiplierScale = 200;
    uint8_t StatusBytes[3] = {};
    int32_t CurveSelected = 0;
    int32_t ChangeDate[3] = {}; // year - 2000, month, day
    uint32_t WorkstationId = 0;
    QString DocumentsFolder;
    QString LastFileName;
    std::unique_ptr<QFile> ScopeFile;
    uint8_t ExtendedView = 0;
    uint8_t NewBoard = 0;

    // Block of a bit number (nullptr for bits that name no block).
    uint8_t *Blok(int bit);
    // The fitter's edits of the image, for undo and redo.
    TDziennik Dziennik{*this};
    // Which controller the changes waiting in the image were made for (device/TSesja.h).
    std::unique_ptr<TSesja> Sesja;
    // What the controller itself answered at the start of the link (its identification reply),
    // kept apart from the image's identification, which a loaded file replaces. It stays when the
    // link drops, until another controller answers.
    uint8_t IdentSterownika[128] = {};
    // Its serial number; "" before any controller identified itself running its application.
    QString NumerSterownika() const;
    // Whose the image is: the controller's that answered, or, for an image no controller ever
    // answered (a file read into an image of its own), the serial its identification holds.
    QString NumerKopii();

    void KasujMnoznik();
    void KasujKorOdObr();
    void KasujKorekty();
    void KasujMapeEcuBen();
    void KasujMapeEcuGaz();
    void KasujMapeOdbBen();
    void KasujMapeObdGaz();
    void KasujOpoznienia();
    void KasujWzbogacenie();
    void NastawyFabryczne();
    void HistoriaZmian(int kind);
    // Kinds raised while the controller's own history was still unread; recorded once it arrives.
    uint8_t HistoriaOdlozona = 0;
    void HistoriaPoOdczycie();
    void HistoriaZmianKasuj();
    // Today and this PC, as the history records them.
    void UstawDateIdent(const QDate &today, uint32_t workstationId);

    // ---------------------------------------------------------------- chart series catalogue
    std::vector<TWykres> Wykresy;
    void UtworzWykresy();
    void DodajWykres(int labelId, int unitId, int position, int rawType, double scale, int decimals,
                     uint32_t colour, double gain, int flags);
    int PodajIleParamBiez(int mask);
    int PodajPozycje(int mask, int n);
    void ListaRpmLamMafAfr();
    void ListaParamOdPlytki();

    // ---------------------------------------------------------------- live and status texts
    QString StrParamBiez(int mask, int n);
    QString StrStanPracy(int state, int variant);
    uint32_t KolorStanuPracy(int state);
    QString StrWersjaSterownika();
    QString StrNrSeryjny();
    QString StrDataProdukcji();
    QString StrWersjaCyframi(int flags);
    QString StrIleWtryskiwaczy();
    QString StrCzasNaBenzynie();
    QString StrCzasNaGazie();
    QString StrCzasPrzegladu();
    QString StrIdentWlasny();
    QString StrHistoria(int column, int entry);
    static int CzytajKorOdCis(int i);
    static int CzytajKorOdTempGazu(int i);
    static int CzytajTabTer2k2(int i);
    static int CzytajTabTer4k7(int i);
    static int CzytajTabTer6k8(int i);
    static int CzytajTabTer10k(int i);

    // ---------------------------------------------------------------- settings and scope files
    // The file entries open the file and hand it to the device entries, which do the rest with the
    // same results and messages; a device entry takes any open device (a file, or bytes in memory).
    bool ZapiszUstawienia(const QString &fileName);
    bool ZapiszUstawienia(QIODevice &out); // the bytes only: no message, false when not all written
    bool CzytajUstawienia(const QString &fileName);
    bool CzytajUstawienia(QIODevice &in, const QString &fileName); // the name for LastFileName
    bool ZapiszOscyloskop(const QString &fileName, const uint8_t *samples, int count);
    void DopiszOscyloskop(const uint8_t *samples, int index);
    void ZamnkijOscyloskop();
    int CzytajOscyloskop(const QString &fileName, uint8_t *samples, int capacity);
    // The port, LastFileName and event 4 are the file entry's, done before the file is opened.
    int CzytajOscyloskop(QIODevice &in, uint8_t *samples, int capacity);

    // ---------------------------------------------------------------- auto-calibration
    int32_t CalStage = 0;
    int32_t CalProgress = 0;
    int32_t CalCounter = 0;
    int32_t CalChannel = 0;
    int32_t CalStopCount = 0;
    int32_t CalBadCount = 0;
    int32_t CalMeanFilter = 0;
    int32_t CalPressureFilter = 0;
    uint8_t CalPetrolMean = 0;
    bool StartStopKalibracji();
    void EtapyKalibracji();
    void ObliczKorekteOdniesienia();
    void WykonajAdaptacje() {}

    // ---------------------------------------------------------------- firmware update
    // Checks an image file and starts the transfer; false (with a message where one is due) when refused.
    bool Aktualizacja(const QString &fileName);
    bool Aktualizacja(QIODevice &in);
    // The same checks without starting anything (before a backup is taken for the update).
    bool SprawdzAktualizacje(const QString &fileName);
    // The 0xFF reply: counts the block, reports progress, ends the transfer after the last block.
    void FirmwareBlokPotwierdzony();
    // Turns without an answer before a firmware block is sent again (the slowest answer accepted).
    static constexpr int FirmwareResendTurns = 5;
    // Forgets every copy in flight (a new transfer or a new connection).
    void FirmwareKasujKopie() { FirmwareCopies = FirmwareQuiet = FirmwareStale = 0; }

    // ---------------------------------------------------------------- helpers
    void Log(const QString &text, uint32_t colour);
    void Zdarzenie(int kind, int a, int b, int c) {
        if (OnZdarzenie) OnZdarzenie(kind, a, b, c);
    }
    int Komunikat(const QString &text, int flags);

private:
    std::minstd_rand rng_{12345};
};
