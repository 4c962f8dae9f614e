#pragma once
// The backups window: the backups of the connected controller newest first (or of every controller,
// grouped by serial number), with their time, reason, firmware version and model, how many there
// are and their size; compares a backup with the controller or two backups, restores one, and opens
// the folder in the file manager. Files that are not whole backups are listed as unreadable and
// never opened.
#include "backup/MagazynKopii.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class TFormRaport;
class TSterownik;

class TFormKopie : public QDialog {
    Q_OBJECT
public:
    TFormKopie(QWidget *parent, TFormRaport *raport);

    void Przygotuj(TSterownik *link, const QColor &background, const QColor &text);
    // Reads the folder again and fills the list.
    void Odswiez();
    // The shown name of a backup: its time and reason.
    static QString NazwaKopii(const TKopia &k);

    // A restore the fitter confirmed: the window backs the controller up and writes the file.
    std::function<void(const QString &path)> OnPrzywroc;
    // Shows a folder in the file manager.
    std::function<void(const QString &folder)> OnOtworzFolder;

    QCheckBox *Wszystkie;
    QTreeWidget *Lista;
    QLabel *Podsumowanie;
    QPushButton *ZeSterownikiem, *Dwie, *Przywroc, *Folder, *Zamknij;
    const QList<TKopia> &Kopie() const { return kopie_; }

private:
    QList<TKopia> Zaznaczone() const; // the readable backups selected, newest first
    void Przyciski();
    void Porownaj(const TKopia &a, TSterownik *b, const QString &nazwaB);
    void ZeSterownikiemClick();
    void DwieClick();
    void PrzywrocClick();
    void FolderClick();

    TSterownik *Sterownik = nullptr;
    TFormRaport *Raport;
    QColor tlo_, tekst_;
    QList<TKopia> kopie_;
};
