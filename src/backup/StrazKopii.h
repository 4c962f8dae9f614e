#pragma once
// Keeps track of what the image holds from the connected controller, so that a backup is only ever
// the controller's own state: complete when, since the connection, the controller identified itself
// running its application and sent every block a settings file holds, and none of those blocks waits
// to be read or written. The first time that is so after a connection it can take the "connect"
// backup (unless the newest backup of that controller holds the same blocks).
#include "backup/MagazynKopii.h"

#include <cstdint>
#include <functional>

class TSterownik;

class TStrazKopii {
public:
    explicit TStrazKopii(TSterownik &s) : S(s) {}

    // Every event of the controller link, as its owner receives it (kind, a of OnZdarzenie).
    void Zdarzenie(int kind, int a);

    bool Kompletna() const;
    // Identified running its bootloader: there is nothing to back up.
    bool WBootloaderze() const { return bootloader_; }

    // Saves a backup of the image now; refused (with the reason) while it is not complete.
    QString Zapisz(TPowodKopii powod, QString *error) const;

    // The store of the backups (the documents folder of the image).
    TMagazynKopii Magazyn() const;

    // Take the "connect" backup by itself (the window does, the command line does not).
    bool KopiaPolaczenia = false;
    // The backup that holds the controller as it was at the connection: the "connect" backup, or the
    // newest one when it held the same blocks; "" before the first full read or when none was saved.
    QString SciezkaPolaczenia() const { return sciezkaPolaczenia_; }
    // Told of every "connect" backup: its path, or "" and the reason it failed.
    std::function<void(const QString &path, const QString &error)> OnKopiaPolaczenia;

private:
    void KopiaPoPolaczeniu();

    TSterownik &S;
    uint32_t odczytane_ = 0; // blocks read since the connection
    bool identyfikacja_ = false;
    bool bootloader_ = false;
    bool polaczeniowa_ = false; // the connect backup was handled since the connection
    QString sciezkaPolaczenia_;
};

// Whether two images hold the same blocks of a settings file (the 256 bytes of each block the
// controller exchanges; identification and history are not compared).
bool TeSameBloki(TSterownik &a, TSterownik &b);
