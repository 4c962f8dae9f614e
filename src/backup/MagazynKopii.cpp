#include "backup/MagazynKopii.h"

#include "device/ImageFile.h"
#include "device/TSterownik.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace {

// File offset of the 128 identification bytes the controller exchanges (behind the header, the
// 48 file-only settings bytes and the 64 file-only identification bytes).
constexpr int IdentOffset = 16 + 48 + 64;

constexpr const char *Powody[] = {"connect", "file-write", "factory", "firmware", "restore", "manual"};

// "2024-05-01_14-03-27_file-write.set", a second one in that second "…_file-write_2.set".
const QRegularExpression &WzorNazwy() {
    static const QRegularExpression r(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})_([a-z-]+)(?:_(\\d{1,4}))?\\.set$"));
    return r;
}

QString Natywna(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// Loads a settings file into s; the loader's message becomes *error.
bool WczytajDo(TSterownik &s, const QString &path, QString *error, bool caly) {
    if (caly && QFileInfo(path).size() != TImageFile::Size) {
        *error = QStringLiteral("not %1 bytes long").arg(TImageFile::Size);
        return false;
    }
    QString message;
    auto old = std::move(s.OnMessage);
    s.OnMessage = [&message](const QString &text, int) {
        message = text;
        return 1;
    };
    const bool ok = s.CzytajUstawienia(path);
    s.OnMessage = std::move(old);
    if (!ok) *error = message;
    return ok;
}

} // namespace

QString NazwaPowodu(TPowodKopii p) {
    return QString::fromLatin1(Powody[int(p)]);
}

std::unique_ptr<TSterownik> WczytajObraz(const QString &path, QString *error, bool caly) {
    auto s = std::make_unique<TSterownik>();
    s->StopTimer();
    if (!WczytajDo(*s, path, error, caly)) return nullptr;
    return s;
}

QString TMagazynKopii::BezpiecznyNumer(const QString &serial) {
    QString safe = serial;
    for (QChar &c : safe) {
        const char16_t u = c.unicode();
        const bool keep = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                          u == '-' || u == '_';
        if (!keep) c = QLatin1Char('_');
    }
    return safe.isEmpty() ? QStringLiteral("unknown") : safe;
}

QString TMagazynKopii::Folder() const {
    return Dokumenty + QStringLiteral("/QERN/Tarven II/Backups");
}

QString TMagazynKopii::FolderSterownika(const QString &serial) const {
    return Folder() + QLatin1Char('/') + BezpiecznyNumer(serial);
}

QString TMagazynKopii::Zapisz(TSterownik &s, TPowodKopii powod, QString *error, const QDateTime &czas) const {
    if (Dokumenty.isEmpty()) {
        *error = QStringLiteral("there is no documents folder");
        return QString();
    }
    const QString folder = FolderSterownika(s.NumerKopii());
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        *error = QStringLiteral("the folder %1 cannot be created").arg(Natywna(folder));
        return QString();
    }
    QByteArray data = TImageFile::Serialize(s, TImageFile::SettingsMagic, TImageFile::SettingsVersion, 0);
    // A backup holds the identification the controller gave, not one a loaded file brought.
    if (s.IdentSterownika[3] == 0x81)
        data.replace(IdentOffset, 128, reinterpret_cast<const char *>(s.IdentSterownika), 128);
    QTemporaryFile tmp(folder + QStringLiteral("/.backup-XXXXXX"));
    if (!tmp.open()) {
        *error = QStringLiteral("%1: %2").arg(Natywna(folder), tmp.errorString());
        return QString();
    }
    if (tmp.write(data) != data.size() || !tmp.flush()) {
        *error = QStringLiteral("%1: %2").arg(Natywna(folder), tmp.errorString());
        return QString();
    }
#ifdef Q_OS_UNIX
    if (::fsync(tmp.handle()) != 0) { // a full disk may only say so here
        *error = QStringLiteral("%1: %2").arg(Natywna(folder), QString::fromLocal8Bit(std::strerror(errno)));
        return QString();
    }
#endif
    tmp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                       QFileDevice::ReadOther);
    const QString base = czas.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss_")) + NazwaPowodu(powod);
    for (int n = 1; n < 1000; ++n) {
        const QString path = folder + QLatin1Char('/') + base +
                             (n > 1 ? QStringLiteral("_%1").arg(n) : QString()) + QStringLiteral(".set");
        if (QFileInfo::exists(path)) continue;
        // The rename never replaces a file: one that appeared meanwhile only moves us to the next name.
        if (tmp.rename(path)) {
            tmp.setAutoRemove(false);
            return path;
        }
        if (!QFileInfo::exists(path)) {
            *error = QStringLiteral("%1: %2").arg(Natywna(path), tmp.errorString());
            return QString();
        }
    }
    *error = QStringLiteral("%1: too many backups in one second").arg(Natywna(folder));
    return QString();
}

QList<TKopia> TMagazynKopii::ListaFolderu(const QString &folder, TSterownik *scratch) const {
    QList<TKopia> lista;
    const QDir dir(folder);
    for (const QFileInfo &fi : dir.entryInfoList(QDir::Files, QDir::Name)) {
        TKopia k;
        k.Sciezka = fi.filePath();
        k.Folder = dir.dirName();
        k.Rozmiar = fi.size();
        k.Czas = k.Zapisany = fi.lastModified();
        const QRegularExpressionMatch m = WzorNazwy().match(fi.fileName());
        const QString powod = m.hasMatch() ? m.captured(2) : QString();
        if (std::find(std::begin(Powody), std::end(Powody), powod) != std::end(Powody)) {
            const QDateTime t = QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
            if (t.isValid()) {
                k.Czas = t;
                k.Powod = powod;
            }
        }
        // Only a file named as a backup is opened, and only a whole settings file counts as one.
        QString error;
        if (scratch && !k.Powod.isEmpty() && WczytajDo(*scratch, k.Sciezka, &error, true)) {
            k.Czytelna = true;
            k.Numer = scratch->StrNrSeryjny();
            k.Model = scratch->StrWersjaSterownika();
            k.Wersja = scratch->StrWersjaCyframi(1).trimmed();
        }
        lista.append(k);
    }
    return lista;
}

namespace {
void NajnowszeNajpierw(QList<TKopia> &l) {
    std::stable_sort(l.begin(), l.end(), [](const TKopia &a, const TKopia &b) {
        if (a.Czas != b.Czas) return a.Czas > b.Czas;
        if (a.Zapisany != b.Zapisany) return a.Zapisany > b.Zapisany;
        return a.Sciezka.size() != b.Sciezka.size() ? a.Sciezka.size() > b.Sciezka.size()
                                                    : a.Sciezka > b.Sciezka; // "_10" after "_9"
    });
}
} // namespace

QList<TKopia> TMagazynKopii::Lista(const QString &serial) const {
    TSterownik scratch;
    scratch.StopTimer();
    QList<TKopia> l = ListaFolderu(FolderSterownika(serial), &scratch);
    NajnowszeNajpierw(l);
    return l;
}

QList<TKopia> TMagazynKopii::Wszystkie() const {
    TSterownik scratch;
    scratch.StopTimer();
    QList<TKopia> l;
    const QDir root(Folder());
    l += ListaFolderu(root.path(), &scratch); // stray files beside the folders: shown, as unreadable
    for (TKopia &k : l) {
        k.Folder.clear();
        k.Czytelna = false;
    }
    for (const QString &sub : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        l += ListaFolderu(root.filePath(sub), &scratch);
    NajnowszeNajpierw(l);
    return l;
}

QString TMagazynKopii::Najnowsza(const QString &serial) const {
    // By name first; files are opened only until the newest readable one is found.
    QList<TKopia> l = ListaFolderu(FolderSterownika(serial), nullptr);
    NajnowszeNajpierw(l);
    TSterownik scratch;
    scratch.StopTimer();
    QString error;
    for (const TKopia &k : l)
        if (!k.Powod.isEmpty() && WczytajDo(scratch, k.Sciezka, &error, true)) return k.Sciezka;
    return QString();
}
