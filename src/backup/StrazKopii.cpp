#include "backup/StrazKopii.h"

#include "device/ImageFile.h"
#include "device/TSterownik.h"

#include <cstring>

void TStrazKopii::Zdarzenie(int kind, int a) {
    if (kind == 3) { // the link (re)started: nothing read from whatever is on the other end yet
        odczytane_ = 0;
        identyfikacja_ = bootloader_ = polaczeniowa_ = false;
        sciezkaPolaczenia_.clear();
        return;
    }
    if (kind != 0) return;
    if (a == 0x81) {
        // A new identification starts a new full read (after a firmware update, another controller).
        odczytane_ = 0;
        identyfikacja_ = S.Identyfikacja[5] == 0;
        bootloader_ = S.Identyfikacja[5] == 1;
        polaczeniowa_ = false;
        sciezkaPolaczenia_.clear();
        return;
    }
    if (const int bit = TSterownik::BitOdczytu(uint8_t(a)); bit >= 0 && identyfikacja_)
        odczytane_ |= 1u << bit;
    if (KopiaPolaczenia && !polaczeniowa_ && Kompletna()) KopiaPoPolaczeniu();
}

bool TStrazKopii::Kompletna() const {
    constexpr uint32_t b = TImageFile::SettingsBlocks;
    return identyfikacja_ && (odczytane_ & b) == b && !(S.ReadRequests & b) && !(S.WriteRequests & b) &&
           !S.SettingsWritePending && !S.FactoryPending;
}

TMagazynKopii TStrazKopii::Magazyn() const {
    return TMagazynKopii(S.DocumentsFolder);
}

QString TStrazKopii::Zapisz(TPowodKopii powod, QString *error) const {
    if (!Kompletna()) {
        *error = bootloader_ ? QStringLiteral("the controller is running its bootloader")
                             : QStringLiteral("not every block has been read from the controller yet");
        return QString();
    }
    return Magazyn().Zapisz(S, powod, error);
}

void TStrazKopii::KopiaPoPolaczeniu() {
    polaczeniowa_ = true;
    const TMagazynKopii m = Magazyn();
    QString error;
    const QString newest = m.Najnowsza(S.NumerKopii());
    if (!newest.isEmpty()) {
        // Reconnecting to a controller that has not changed since leaves no second copy.
        if (auto last = WczytajObraz(newest, &error, true); last && TeSameBloki(*last, S)) {
            sciezkaPolaczenia_ = newest;
            return;
        }
    }
    const QString path = Zapisz(TPowodKopii::Polaczenie, &error);
    sciezkaPolaczenia_ = path;
    if (OnKopiaPolaczenia) OnKopiaPolaczenia(path, path.isEmpty() ? error : QString());
}

bool TeSameBloki(TSterownik &a, TSterownik &b) {
    for (int bit = 0; bit < 32; ++bit) {
        if (!(TImageFile::SettingsBlocks & (1u << bit))) continue;
        if (std::memcmp(a.Blok(bit), b.Blok(bit), 256) != 0) return false;
    }
    return true;
}
