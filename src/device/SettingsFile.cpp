// Settings (".set") and scope (".osc") files: the image blocks back to back behind a 16-byte header.
#include "device/ImageFile.h"
#include "device/TSesja.h"
#include "device/TSterownik.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>

namespace {
constexpr char SetMagic[] = "set file";
} // namespace

QList<TImageFile::TBlock> TImageFile::Blocks(TSterownik &s) {
    QList<TBlock> b;
    b.append({s.Nastawy + 256, 48, false});
    b.append({s.Identyfikacja + 128, 64, false});
    b.append({s.Identyfikacja, 128, false});
    b.append({s.Historia, 256, true});
    b.append({s.Nastawy, 256, false});
    b.append({s.Mnoznik1, 256, false});
    b.append({s.Mnoznik2, 256, false});
    b.append({s.KorObr1, 256, false});
    b.append({s.KorObr2, 256, false});
    b.append({s.KorCis, 256, false});
    b.append({s.KorTempRed, 256, false});
    b.append({s.KorTempGazu, 256, false});
    for (auto &m : s.Mapy)
        b.append({m, 256, false});
    return b;
}

QByteArray TImageFile::Serialize(TSterownik &s, const char *magic, uint8_t b8, uint8_t b9) {
    QByteArray out(16, '\0');
    std::memcpy(out.data(), magic, 8);
    out[8] = char(b8);
    out[9] = char(b9);
    for (const TBlock &b : Blocks(s))
        out.append(reinterpret_cast<const char *>(b.Data), b.Size);
    return out; // 4096 bytes
}

bool TSterownik::ZapiszUstawienia(const QString &fileName) {
    // Written beside the old file and renamed over it: a failed save never destroys the old one.
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly) || !ZapiszUstawienia(f) || !f.commit()) {
        Komunikat(QStringLiteral("Error code 121"), 16);
        return false;
    }
    return true;
}

bool TSterownik::ZapiszUstawienia(QIODevice &f) {
    const QByteArray data = TImageFile::Serialize(*this, SetMagic, 1, 0);
    return f.write(data) == data.size();
}

bool TSterownik::CzytajUstawienia(const QString &fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        Komunikat(QStringLiteral("Error code 122"), 16);
        return false;
    }
    return CzytajUstawienia(f, fileName);
}

bool TSterownik::CzytajUstawienia(QIODevice &f, const QString &fileName) {
    const QByteArray data = f.read(TImageFile::Size);
    if (data.size() < 16 || std::memcmp(data.constData(), SetMagic, 8) != 0 || uint8_t(data[8]) != 1) {
        Komunikat(QStringLiteral("Error code 123"), 16);
        return false;
    }
    // Blocks follow one another with no length check: a short file leaves the later blocks as they were.
    int pos = 16;
    for (const TImageFile::TBlock &b : TImageFile::Blocks(*this)) {
        const int n = qBound(0, int(data.size()) - pos, b.Size);
        if (!b.KeepOwn && n > 0) std::memcpy(b.Data, data.constData() + pos, size_t(n));
        pos += b.Size;
    }
    ListaRpmLamMafAfr();
    ListaParamOdPlytki();
    if (PortConnected()) {
        WriteRequests = 0xF3071F; // written to the controller, then read back
        ReadRequests = 0xF3071F;
    } else {
        LastFileName = fileName;
        Sesja->PlikBezSterownika(); // shown, not changed: what a later edit changes is measured from it
        Zdarzenie(4, 0, 0, 0);
    }
    return true;
}
