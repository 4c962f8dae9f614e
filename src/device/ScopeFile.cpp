// Scope recordings: the image at the time of recording, then 128-byte live samples, oldest first.
#include "device/ImageFile.h"
#include "device/TSesja.h"
#include "device/TSterownik.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>

namespace {
constexpr char OscMagic[] = "osc file";
} // namespace

bool TSterownik::ZapiszOscyloskop(const QString &fileName, const uint8_t *samples, int count) {
    ZamnkijOscyloskop();
    if (count < 0 || !samples) count = 0;
    // The header and the samples so far go to a temporary file of its own beside the target, which
    // replaces the old file only once complete; later samples are appended to the file in place.
    QSaveFile save(fileName);
    bool ok = save.open(QIODevice::WriteOnly);
    if (ok) {
        const QByteArray head = TImageFile::Serialize(*this, OscMagic, 1, 1);
        ok = save.write(head) == head.size();
        const qint64 n = qint64(count) * TImageFile::SampleSize;
        if (ok && n > 0) ok = save.write(reinterpret_cast<const char *>(samples), n) == n;
        ok = ok && save.commit(); // uncommitted, the temporary goes away with `save`
    }
    auto f = std::make_unique<QFile>(fileName);
    if (!ok || !f->open(QIODevice::WriteOnly | QIODevice::Append)) {
        Komunikat(QStringLiteral("Error code 131"), 16);
        return false;
    }
    ScopeFile = std::move(f);
    return true;
}

void TSterownik::DopiszOscyloskop(const uint8_t *samples, int index) {
    if (!ScopeFile || !samples || index < 0) return;
    const bool ok =
        ScopeFile->write(reinterpret_cast<const char *>(samples) + qint64(index) * TImageFile::SampleSize,
                         TImageFile::SampleSize) == TImageFile::SampleSize &&
        ScopeFile->flush(); // complete whenever it is closed, or the program stops
    if (!ok) {
        // A full disk or a removed stick: recording to the file ends here, so the mark goes off
        // instead of claiming samples that never arrive; the view keeps them in memory.
        ZamnkijOscyloskop();
        Komunikat(QStringLiteral("Error code 131"), 16);
    }
}

void TSterownik::ZamnkijOscyloskop() {
    if (ScopeFile) {
        ScopeFile->close();
        ScopeFile.reset();
    }
}

int TSterownik::CzytajOscyloskop(const QString &fileName, uint8_t *samples, int capacity) {
    PortClose(); // live replies must not overwrite the replayed image
    LastFileName = fileName;
    Zdarzenie(4, 0, 0, 0);
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        Komunikat(QStringLiteral("Error code 132"), 16);
        return 0;
    }
    return CzytajOscyloskop(f, samples, capacity);
}

int TSterownik::CzytajOscyloskop(QIODevice &f, uint8_t *samples, int capacity) {
    const qint64 len = f.size();
    const QByteArray head = f.read(256);
    if (head.size() < 10 || std::memcmp(head.constData(), OscMagic, 8) != 0 || uint8_t(head[8]) != 1 ||
        uint8_t(head[9]) != 1) {
        Komunikat(QStringLiteral("Error code 133"), 16);
        return 0;
    }
    // The identification, its extension and the history stay as they are; from the settings on,
    // every block is loaded.
    f.seek(512);
    const QList<TImageFile::TBlock> blocks = TImageFile::Blocks(*this);
    for (int i = 4; i < blocks.size(); ++i) {
        const QByteArray b = f.read(blocks[i].Size);
        if (!b.isEmpty()) std::memcpy(blocks[i].Data, b.constData(), size_t(b.size()));
    }
    int loaded = 0;
    if (len > TImageFile::Size && samples && capacity > 0) {
        f.seek(TImageFile::Size);
        const qint64 inFile = (len - TImageFile::Size) / TImageFile::SampleSize;
        const qint64 take = qMin<qint64>(inFile, capacity);
        // Whole samples only: a torn last sample must not land in a slot nobody counts as loaded.
        const qint64 got = f.read(reinterpret_cast<char *>(samples), take * TImageFile::SampleSize);
        loaded = int(qMax<qint64>(got, 0) / TImageFile::SampleSize);
        if (inFile > capacity)
            Log(QStringLiteral("  Plik oscyloskopu ma %1 próbek, wczytano pierwsze %2")
                    .arg(inFile)
                    .arg(capacity),
                KolorCzerwony);
    }
    if (!PortConnected()) Sesja->PlikBezSterownika();
    ListaRpmLamMafAfr();
    ListaParamOdPlytki();
    return loaded;
}
