#pragma once
// The backups of the controllers: one folder per controller under the documents folder,
// "QERN/Tarven II/Backups/<serial>/", each backup an ordinary settings file named by the local time
// it was taken and why ("2024-05-01_14-03-27_file-write.set"). Nothing here ever deletes a file.
#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

class TSterownik;

// Why a backup was taken; the name is the last part of the file name.
enum class TPowodKopii { Polaczenie, ZapisPliku, Fabryczne, Firmware, Przywrocenie, Reczna };
QString NazwaPowodu(TPowodKopii p); // "connect", "file-write", "factory", "firmware", "restore", "manual"

// One file found in a controller's folder.
struct TKopia {
    QString Sciezka;
    QString Folder;        // the controller's folder name (its serial made safe)
    QDateTime Czas;        // from the file name; the file's modification time when the name has none
    QDateTime Zapisany;    // the file's modification time (orders backups of the same second)
    QString Powod;         // from the file name ("" when the name is not a backup's)
    qint64 Rozmiar = 0;    // bytes
    bool Czytelna = false; // a whole settings file; the others are listed, never opened, never deleted
    // From the backup's identification block.
    QString Numer, Model, Wersja;
};

class TMagazynKopii {
public:
    explicit TMagazynKopii(const QString &documentsFolder) : Dokumenty(documentsFolder) {}

    // A serial number made safe for a folder name: ASCII letters, digits, '-' and '_' kept, anything
    // else '_' (so no "..", no '/'); an empty one is "unknown".
    static QString BezpiecznyNumer(const QString &serial);

    QString Folder() const;                                // <documents>/QERN/Tarven II/Backups
    QString FolderSterownika(const QString &serial) const; // Folder()/<safe serial>

    // Saves the image as a backup of its controller (the serial of its identification block), written
    // beside and renamed into place, never over another file: two backups in the same second get
    // "_2", "_3" … before the extension. Returns the path, or "" with the reason in *error.
    QString Zapisz(TSterownik &s, TPowodKopii powod, QString *error,
                   const QDateTime &czas = QDateTime::currentDateTime()) const;

    // The files of one controller's folder (serial given), or of every controller's folder (serial
    // empty), newest first.
    QList<TKopia> Lista(const QString &serial) const;
    QList<TKopia> Wszystkie() const;
    // The newest readable backup of a controller ("" when there is none).
    QString Najnowsza(const QString &serial) const;

private:
    // scratch == nullptr: names only, no file opened.
    QList<TKopia> ListaFolderu(const QString &folder, TSterownik *scratch) const;
    QString Dokumenty;
};

// A settings file read into an image of its own that is never connected. nullptr when the file
// cannot be read or is no settings file, with the loader's text ("Error code 122", "Error code 123")
// in *error. A backup must also be a whole file (4096 bytes) to be read.
std::unique_ptr<TSterownik> WczytajObraz(const QString &path, QString *error, bool caly = false);
