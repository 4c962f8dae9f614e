// Firmware update: the image file is checked against the connected controller's hardware; the
// transfer itself runs through the scheduler (jump, identify, 224 blocks, return).
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QFile>
#include <cstring>

namespace {
constexpr int FirmwareBlocks = 224;
constexpr int FirmwareHeader = 256;
constexpr int FirmwareMinSize = FirmwareHeader + FirmwareBlocks * 256; // 57600
constexpr int FirmwareMaxSize = 65536;
} // namespace

bool TSterownik::Aktualizacja(const QString &fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        Komunikat(QStringLiteral("Error code 141"), 16);
        return false;
    }
    return Aktualizacja(f);
}

namespace {

// 0 when the file is an image for this hardware, else the text id that says why not: a file that
// is no firmware image at all, or an image for other hardware (1362 is kept for a transfer that
// failed).
int Odmowa(const QByteArray &data, bool atEnd, const uint8_t *ident) {
    // A file too short to hold all blocks would flash whatever the buffer held before; files too
    // long, of another kind or for other hardware are refused too, and the fitter is told so.
    const bool fits = data.size() >= FirmwareMinSize && data.size() < FirmwareMaxSize && atEnd;
    const auto *d = reinterpret_cast<const uint8_t *>(data.constData());
    if (!fits || std::memcmp(d, "img file", 8) != 0) return 1367;
    const bool matches = d[8] == ident[44] && d[18] == ident[40] && d[20] == ident[42] && d[21] == ident[43];
    return matches ? 0 : 1366;
}

} // namespace

bool TSterownik::SprawdzAktualizacje(const QString &fileName) {
    if (!PortConnected()) {
        Komunikat(LangText(4607), 16);
        return false;
    }
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        Komunikat(QStringLiteral("Error code 141"), 16);
        return false;
    }
    const QByteArray data = f.read(FirmwareMaxSize);
    if (const int id = Odmowa(data, f.atEnd(), Identyfikacja)) {
        Komunikat(LangText(id), 16);
        return false;
    }
    return true;
}

bool TSterownik::Aktualizacja(QIODevice &f) {
    // The jump to the bootloader would wait for whatever controller is connected next.
    if (!PortConnected()) {
        Komunikat(LangText(4607), 16);
        return false;
    }
    const QByteArray data = f.read(FirmwareMaxSize);
    const auto *d = reinterpret_cast<const uint8_t *>(data.constData());
    if (const int id = Odmowa(data, f.atEnd(), Identyfikacja)) {
        Komunikat(LangText(id), 16);
        return false;
    }
    FirmwareImage.assign(FirmwareMaxSize, 0xFF);
    std::memcpy(FirmwareImage.data(), d, size_t(data.size()));
    FirmwareBlock = 0;
    FirmwareKasujKopie();
    BootExpected = 1;
    JumpBootPending = 1;
    return true;
}

void TSterownik::FirmwareBlokPotwierdzony() {
    if (!FlashActive) return; // a stray acknowledgement outside a transfer moves nothing
    // The controller answers in the order it was sent: first the extra copies of blocks already
    // counted, then the current block. An answer while no copy of the current block is out cannot
    // be its own, so it moves nothing; counting it would skip a block that was never written.
    if (FirmwareStale > 0) {
        --FirmwareStale;
        Log(QStringLiteral("  powtórzony blok potwierdzony"), KolorSrebrny);
        return;
    }
    if (FirmwareCopies <= 0) {
        Log(QStringLiteral("  potwierdzenie bez wysłanego bloku"), KolorCzerwony);
        return;
    }
    FirmwareStale = FirmwareCopies - 1;
    FirmwareCopies = 0;
    FirmwareQuiet = 0;
    ++FirmwareBlock;
    if (OnFirmwareProgress) OnFirmwareProgress(FirmwareBlock * 100 / FirmwareBlocks);
    if (FirmwareBlock >= FirmwareBlocks) {
        FirmwareBlock = FirmwareBlocks;
        FlashActive = 0;
        BootExpected = 0;
        ReturnBootPending = 1;
        if (OnFirmwareDone) OnFirmwareDone();
    }
}
