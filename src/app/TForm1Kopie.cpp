// Backups of the controller before every write of its whole state (a settings file, factory
// settings, a firmware update, a restore), the change report and the backups window.
#include "app/TForm1.h"

#include "backup/RaportZmian.h"
#include "backup/StrazKopii.h"
#include "config/TConfig.h"
#include "device/TDziennik.h"
#include "device/TSterownik.h"
#include "dialogs/TFormKopie.h"
#include "dialogs/TFormRaport.h"
#include "lang/LangText.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

void TForm1::UtworzKopie() {
    Straz = std::make_unique<TStrazKopii>(*Sterownik1);
    Straz->KopiaPolaczenia = true;
    Straz->OnKopiaPolaczenia = [this](const QString &path, const QString &error) {
        if (!path.isEmpty()) KopieWizyty.append({Sterownik1->StrNrSeryjny(), path});
        Sterownik1->Log(path.isEmpty() ? QStringLiteral("\n  Kopia zapasowa nieudana: ") + error
                                       : QStringLiteral("\n  Kopia zapasowa: ") + path,
                        path.isEmpty() ? KolorCzerwony : KolorSrebrny);
    };
    FormRaport = new TFormRaport(this);
    FormKopie = new TFormKopie(this, FormRaport);
    FormKopie->OnPrzywroc = [this](const QString &path) {
        PrzedZapisem(TPowodKopii::Przywrocenie, [this, path] { WczytajPlikUstawien(path); });
    };

    // The two items follow "save settings file" in the controller menu.
    ActPorownaj = new QAction(this);
    ActKopie = new QAction(this);
    connect(ActPorownaj, &QAction::triggered, this, &TForm1::PorownajZPlikiemClick);
    connect(ActKopie, &QAction::triggered, this, &TForm1::KopieClick);
    const QList<QAction *> items = MenuDevice->actions();
    const qsizetype at = items.indexOf(ActSaveSet) + 1;
    MenuDevice->insertActions(at > 0 && at < items.size() ? items[at] : nullptr, {ActPorownaj, ActKopie});
}

void TForm1::RelabelKopii() {
    ActPorownaj->setText(LangText(4200));
    ActKopie->setText(LangText(4201));
}

void TForm1::WczytajPlikUstawien(const QString &file) {
    {
        // One undo step; a file that was not taken changed nothing.
        TZmiana krok(&Sterownik1->Dziennik, DziennikWszystko,
                     LangText(1101) + QLatin1Char(' ') + QFileInfo(file).fileName());
        if (!Sterownik1->CzytajUstawienia(file)) krok.Porzuc();
    }
    if (Nastawy->Widget()->isVisible()) Nastawy->Rozmiesc();
    if (Grafika->Widget()->isVisible()) Grafika->Rysuj();
}

void TForm1::PrzedZapisem(TPowodKopii powod, std::function<void()> zapis) {
    // Offline nothing reaches a controller (a file is only shown); a controller in its bootloader
    // holds nothing to back up.
    if (!Sterownik1->PortConnected() || (powod == TPowodKopii::Firmware && Straz->WBootloaderze())) {
        zapis();
        return;
    }
    czekajacy_ = std::move(zapis);
    czekajacyPowod_ = powod;
    if (Straz->Kompletna()) {
        WykonajCzekajacy();
        return;
    }
    // Until every block has been read (about 4 s after connecting) the write waits; the fitter may
    // give it up.
    if (!Czekanie) {
        Czekanie = new QMessageBox(QMessageBox::Information, QStringLiteral("TARVEN"), QString(),
                                   QMessageBox::Cancel, this);
        Czekanie->setWindowModality(Qt::WindowModal);
        connect(Czekanie, &QMessageBox::buttonClicked, this, [this] { czekajacy_ = nullptr; });
    }
    Czekanie->setText(LangText(4267));
    Czekanie->button(QMessageBox::Cancel)->setText(LangText(1083));
    Czekanie->show();
}

void TForm1::ZdarzenieKopii(int kind, int a) {
    if (!Straz || (kind != 0 && kind != 3)) return;
    if (kind == 3) RaportBledow.clear(); // whatever answers now has not reported its errors yet
    Straz->Zdarzenie(kind, a);
    // Run from the event loop, not inside the link's tick: the write may open modal windows.
    if (czekajacy_ && !wykonanieZaplanowane_ && Straz->Kompletna()) {
        wykonanieZaplanowane_ = true;
        QTimer::singleShot(0, this, [this] {
            wykonanieZaplanowane_ = false;
            if (czekajacy_ && Straz->Kompletna()) WykonajCzekajacy();
        });
    }
}

void TForm1::WykonajCzekajacy() {
    const std::function<void()> zapis = std::move(czekajacy_);
    czekajacy_ = nullptr;
    if (Czekanie) Czekanie->hide();
    if (!zapis) return;
    QString error;
    const QString path = Straz->Zapisz(czekajacyPowod_, &error);
    if (path.isEmpty()) {
        if (LangMessageText(LangText(4265).arg(error) + QLatin1Char('\n') + LangText(4266), 52) != 6) return;
    } else {
        KopieWizyty.append({Sterownik1->StrNrSeryjny(), path});
        Sterownik1->Log(QStringLiteral("\n  Kopia zapasowa: ") + path, KolorSrebrny);
    }
    zapis();
}

void TForm1::PorownajZPlikiemClick() {
    QFileDialog dlg(this, LangText(4200));
    if (!DocumentsFolder.isEmpty() && QDir(DocumentsFolder).exists())
        dlg.setDirectory(TConfig::FolderUstawien(DocumentsFolder));
    dlg.setNameFilters(
        {LangText(1111) + QStringLiteral(" (*.set)"), LangText(1110) + QStringLiteral(" (*.*)")});
    dlg.setFileMode(QFileDialog::ExistingFile);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    PorownajZPlikiem(dlg.selectedFiles().constFirst());
}

void TForm1::PorownajZPlikiem(const QString &file) {
    QString error;
    const auto obraz = WczytajObraz(file, &error);
    if (!obraz) {
        LangMessageText(error, 16);
        return;
    }
    // What loading the file would change: the controller now is A, the file B.
    FormRaport->Przygotuj(PorownajObrazy(*Sterownik1, *obraz), LangText(4204), QDir::toNativeSeparators(file),
                          Kolor(Paleta.Background), Kolor(Paleta.DialogText));
    FormRaport->exec();
}

void TForm1::KopieClick() {
    FormKopie->Przygotuj(Sterownik1, Kolor(Paleta.Background), Kolor(Paleta.DialogText));
    FormKopie->exec();
}
