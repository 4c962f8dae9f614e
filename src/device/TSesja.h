#pragma once
// Which controller the changes waiting in the image were made for. Every change the fitter makes
// (an edit, an erase, factory settings, an undo, a loaded file) is made for one controller, or for
// none when nothing was connected ("offline"). The session keeps, for the blocks a change can reach,
// the bytes the controller last held (read from it, or written and acknowledged; offline: the file
// shown), so that what the fitter changed is exactly where the image differs from them.
//
// When the controller identifies itself at the start of a link, nothing that waits is sent: the
// changed bytes and the factory command are set aside and the controller is read. Then the owner
// either lays them again (the same controller after a break, or the fitter's Yes for another one)
// or drops them (No).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class TSterownik;

class TSesja {
public:
    explicit TSesja(TSterownik &s);
    TSesja(const TSesja &) = delete;
    TSesja &operator=(const TSesja &) = delete;

    // The serial the changes are made for; "" offline.
    QByteArray Numer() const { return numer_; }
    bool Offline() const { return offline_; }

    // ---- what the link tells it
    void PoczatekLacza();                          // a link (re)started: nothing read yet
    void PoIdentyfikacji(const QByteArray &numer); // identified running its application
    void Odczytano(int bit);                       // a block read from the controller
    void Wyslano(int bit, const uint8_t *blok);    // a block write sent (256 bytes)
    void Potwierdzono(int bit);                    // its acknowledgement
    void Komorka(int bit, int poz, uint8_t v);     // a map cell the controller learnt
    void PlikBezSterownika();                      // a file shown with no controller
    // After the owner has seen a reply (and taken the controller's backup with it): once the
    // controller is read whole, changes set aside for this same controller go back to it.
    void PoZdarzeniu();

    // ---- the changes set aside at the last identification
    bool Czeka() const { return czeka_; }
    // Made for the controller that is connected now (a break, not another car).
    bool TenSam() const;
    QByteArray Dla() const { return dla_; }
    bool DlaOffline() const { return dlaOffline_; }
    // The names of what was changed ("settings", "Map B …", "factory settings").
    QStringList Lista() const;
    int IleBajtow() const { return int(odlozone_.size()); }
    bool Fabryczne() const { return fabryczne_; }
    // Yes: the changed bytes laid over what the controller holds (for the same controller only where
    // it still holds what it held before the change) and written, the factory command sent. No: all
    // dropped and the journal cleared. Returns how many values kept the controller's value.
    int Zastosuj(bool tak);

private:
    struct TBajt {
        uint8_t bit, poz, z, na;
    };
    void Poloz(int bit);

    TSterownik &s_;
    uint8_t baza_[24][256] = {};
    uint8_t wyslane_[24][256] = {};
    uint32_t odczytane_ = 0; // blocks read since the link started
    QByteArray numer_;
    bool offline_ = true;
    // Set aside.
    bool czeka_ = false;
    std::vector<TBajt> odlozone_;
    bool fabryczne_ = false;
    QByteArray dla_;
    bool dlaOffline_ = true;
    // Laid once the block has been read (a table read only on demand).
    std::vector<TBajt> poOdczycie_;
    bool tenSamPoOdczycie_ = false;
    int zachowane_ = 0;
};
