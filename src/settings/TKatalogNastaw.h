#pragma once
// The settings catalogue: for each of the 304 bytes of the settings block, how it is named, limited,
// converted, shown and changed. It keeps no values: it reads and writes the settings block of the
// controller it is given, which owns every value.
#include "settings/TNastawa.h"

#include <QString>

#include <functional>
#include <initializer_list>

class TSterownik;

class TKatalogNastaw {
public:
    explicit TKatalogNastaw(TSterownik *sterownik = nullptr);

    void UstawSterownik(TSterownik *sterownik) { Sterownik = sterownik; }
    TSterownik *PodajSterownik() const { return Sterownik; }

    // Fills the catalogue (every record is first cleared to zero).
    void UtworzNastawy();
    // Fills one record; up to ten choice ids (language ids of the texts of raw 0, 1, ...).
    void DodajNastawe(int item, int labelId, int unit, double scale, int kind, int min, int def, int max,
                      std::initializer_list<int> choices = {});

    // The record of an item (an all-zero record for numbers outside 0..303).
    const TNastawa &Rekord(int item) const;

    // Label of the item in the current language.
    QString NazwaNastawy(int item) const;
    // Text of the item's unit ("" when it has none).
    QString JednostkaNastawy(int item) const;
    // Shown text of a raw value; raw = -1 takes the item's current value from the settings block.
    // A choice byte found outside its limits in the block is pulled to the nearest limit and written
    // back to the controller.
    QString TekstNastawy(int item, int raw = -1);
    // Current raw value of the item (0 without a controller or for numbers outside 0..303).
    int Wartosc(int item) const;

    // Whether the item can be changed now (items 2, 3 and 4 depend on the RPM signal, item 1).
    bool CzyDostepna(int item) const;
    // Clamps and stores a value, applies the changes that depend on it and queues the settings
    // block for writing. A refused change (unavailable item, or changes locked) only beeps.
    void UstawNastawe(int item, int value);
    // Every item to its factory default (items without a record to 0); nothing is queued.
    void NastawyDomyslne();

    // Set by the grid while it shows the calibration page at the basic view level: no change allowed.
    bool BlokadaZmian = false;

    // The system beep of a refused change; installed by the user interface.
    std::function<void()> OnBeep;
    // Called after every stored change, so the grid repaints.
    std::function<void()> OnZmiana;

private:
    void Zapisz(int item, int value);
    void Ustaw(int item, int value); // UstawNastawe without the checks and the journal
    void Zmiany(int item, int value);
    void Beep() {
        if (OnBeep) OnBeep();
    }

    TSterownik *Sterownik = nullptr;
    TNastawa Nastawy[IleNastaw];
};
