#pragma once
// The dialogs the settings grid opens, and the readings chooser: each created once with the main
// window and shown modally on demand, with the window's colours and the opener's font family.
#include "widgets/TWidoki.h"

#include <vector>

class QDialog;
class QWidget;
class TFormCal;
class TFormInj;
class TFormLevel;
class TFormNastaw;
class TFormParam;
class TFormSeq;
class TKatalogNastaw;
struct TPaleta;

class TDialogi : public TDialogiNastaw {
public:
    // owner: the main window (parent of every dialog); palette: the window's current colours, read at
    // each opening so a scheme change shows at the next one.
    TDialogi(QWidget *owner, TKatalogNastaw *catalogue, const TPaleta *palette);

    // Prepares the dialog of an item (texts, colours, data) without showing it; nullptr for an item
    // that opens nothing.
    QDialog *Przygotuj(int item, const QFont &font);
    void Otworz(int item, const QFont &font) override;
    // The readings chooser (the caller then rebuilds the readings grid).
    QDialog *PrzygotujParametry(const QFont &font);
    void OtworzParametry(const QFont &font);

    // Closes whichever dialog is shown (the main window is closing).
    void Zamknij();
    // The dialogs that follow the live readings while they are shown.
    std::vector<TOdbiorcaOdczytow *> Odbiorcy() const;

    TFormCal *FormCal;
    TFormInj *FormInj;
    TFormLevel *FormLevel;
    TFormSeq *FormSeq;
    TFormNastaw *FormNastaw;
    TFormParam *FormParam;

private:
    TKatalogNastaw *katalog_;
    const TPaleta *paleta_;
};
