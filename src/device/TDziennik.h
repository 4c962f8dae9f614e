#pragma once
// The journal of the fitter's edits of the device data image, for undo and redo.
//
// An edit is bracketed by a TZmiana: the blocks it may touch are copied when it starts and compared
// when it ends, so a step holds exactly the bytes the edit changed, whatever code made the change.
// Undo puts back only those bytes and only where they still hold what the edit left: a cell the
// controller learnt since, or a block read back with other values, stays as it is. The blocks it
// changed are then marked for writing through ZapiszDoSterownika; a block the link cannot take yet
// (down, or still to be read) waits, and is marked once a reply shows the link takes it, with the
// undone bytes laid again over what the controller sent meanwhile.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <vector>

class TSterownik;

// What an edit may touch: the block bits of the request words, and two areas kept with the image.
enum : uint32_t {
    DziennikIdent = 1u << 24, // the identification block (a settings file brings one)
    DziennikStan = 1u << 25,  // the factory-settings command still to be sent, the injector mask
    DziennikWszystko = 0x03F33F1Fu,
};

// The name of a step: "Gas temperature for switching 40 → 45 °C", or only "Erase gas map".
struct TOpisKroku {
    QString Co;
    QString Przed, Po; // values before and after; both empty when the step is not one value
    QString Jednostka;
    QString Tekst() const;
};

class TDziennik {
public:
    static constexpr int MaksKrokow = 1000;
    explicit TDziennik(TSterownik &s) : s_(s) {}
    TDziennik(const TDziennik &) = delete;
    TDziennik &operator=(const TDziennik &) = delete;

    // An edit begins and ends (TZmiana calls these). Edits inside an edit join the outermost one;
    // its name wins, else the first inner one's. Steps of one gesture (gest != 0: an auto-repeat
    // run, a mouse drag) merge into one as long as nothing else came between them.
    void Poczatek(uint32_t bloki, uint32_t gest = 0);
    void Koniec(const TOpisKroku &opis, bool porzuc = false);
    uint32_t NowyGest() { return ++gesty_; }
    bool Otwarty() const { return glebokosc_ > 0; }

    // False when there is nothing to undo or redo, or while an edit is open.
    bool Cofnij();
    bool Ponow();
    int IleCofnij() const { return int(cofnij_.size()); }
    int IlePonow() const { return int(ponow_.size()); }
    QString OpisCofnij() const { return cofnij_.empty() ? QString() : cofnij_.back().opis.Tekst(); }
    QString OpisPonow() const { return ponow_.empty() ? QString() : ponow_.back().opis.Tekst(); }
    void Wyczysc();

    // After every reply the link accepted: undone blocks still waiting are marked once the link
    // takes them.
    void PoOdpowiedzi(uint8_t cmd);
    // The undone bytes still waiting are left in the image for the session to set aside (a new
    // identification); the steps stay.
    void PorzucOczekujace();
    // Told how many values an undo or redo left as the controller holds them (it learnt a cell, or
    // a read-back changed it since the step).
    std::function<void(int kept)> OnZachowane;
    // Blocks (bits) an undo or redo changed that still wait for the link.
    uint32_t Oczekujace() const { return oczekujaceBloki_; }

private:
    static constexpr int Rozmiar = 304 + 16 * 256 + 192 + 2;
    struct TBajt {
        uint16_t poz;
        uint8_t przed, po;
    };
    struct TKrok {
        TOpisKroku opis;
        std::vector<TBajt> bajty; // ascending positions
        uint32_t gest = 0;
    };

    uint8_t &Bajt(int poz);
    uint8_t *Dane(int obszar);
    void Kopiuj(int obszar, uint8_t *out);
    void Zastosuj(const TKrok &k, bool wstecz);
    void Przeslij();
    void Scal(TKrok &k, std::vector<TBajt> &&nowe, const TOpisKroku &opis);

    TSterownik &s_;
    std::deque<TKrok> cofnij_, ponow_;
    std::array<uint8_t, Rozmiar> kopia_{};
    uint32_t bloki_ = 0; // blocks copied for the open edit
    int glebokosc_ = 0;
    uint32_t gest_ = 0;
    uint32_t gesty_ = 0;
    bool scalaj_ = false; // the last step may still take its gesture's next change
    TOpisKroku opisWewn_;
    bool porzuc_ = false;
    // Undone or redone bytes whose block the link has not taken yet: position → (from, to).
    std::map<uint16_t, std::pair<uint8_t, uint8_t>> oczekujace_;
    uint32_t oczekujaceBloki_ = 0;
};

// One edit of the image by the fitter, from construction to destruction.
class TZmiana {
public:
    TZmiana(TDziennik *d, uint32_t bloki, const QString &co = QString(), uint32_t gest = 0) : d_(d) {
        opis_.Co = co;
        if (d_) d_->Poczatek(bloki, gest);
    }
    ~TZmiana() {
        if (d_) d_->Koniec(opis_, porzuc_);
    }
    TZmiana(const TZmiana &) = delete;
    TZmiana &operator=(const TZmiana &) = delete;
    void Opis(const TOpisKroku &o) { opis_ = o; }
    void Porzuc() { porzuc_ = true; } // the edit failed: nothing is recorded

private:
    TDziennik *d_;
    TOpisKroku opis_;
    bool porzuc_ = false;
};
