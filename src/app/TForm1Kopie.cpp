// Backups of the controller before every write of its whole state (a settings file, factory
// settings, a firmware update, a restore), the change report and the backups window.
#include "app/TForm1.h"

#include "backup/RaportZmian.h"
#include "backup/StrazKopii.h"
#include "config/TConfig.h"
#include "device/TDziennik.h"
#include "device/TSesja.h"
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
        if (!path.isEmpty()) KopieWizyty.append({Sterownik1->NumerKopii(), path});
        Sterownik1->Log(path.isEmpty() ? QStringLiteral("\n  Kopia zapasowa nieudana: ") + error
                                       : QStringLiteral("\n  Kopia zapasowa: ") + path,
                        path.isEmpty() ? KolorCzerwony : KolorSrebrny);
        // The log is mostly hidden: a backup that could not be saved is told where it is seen.
        if (path.isEmpty()) KomunikatPozniej(LangText(4608).arg(error), 48);
    };
    Sterownik1->Dziennik.OnZachowane = [this](int kept) {
        KomunikatPozniej(kept == 1 ? LangText(4610) : LangText(4609).arg(kept), 64);
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
    // Made for the controller on the link now; one that answers after a break is another car
    // until its serial says otherwise.
    czekajacyNumer_ = Sterownik1->IdentSterownika[3] == 0x81 ? Sterownik1->NumerSterownika() : QString();
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
    if (kind == 0 && a == 0x81 && czekajacy_ && Sterownik1->IdentSterownika[3] == 0x81) {
        // A write picked for one car never goes to the next one on the cable.
        const QString numer = Sterownik1->NumerSterownika();
        if (czekajacyNumer_.isEmpty()) {
            czekajacyNumer_ = numer;
        } else if (numer != czekajacyNumer_) {
            czekajacy_ = nullptr;
            if (Czekanie) Czekanie->hide();
        }
    }
    // Changes waiting from before this identification for another controller (or none): once this
    // one is read and backed up the fitter is asked (the same controller takes them back by itself).
    if (kind == 0 && Straz->Kompletna() && Sterownik1->Sesja->Czeka() && !Sterownik1->Sesja->TenSam()) {
        if (!pytanieZaplanowane_) {
            pytanieZaplanowane_ = true;
            QTimer::singleShot(0, this, [this] {
                pytanieZaplanowane_ = false;
                ZmianyInnejSesji();
            });
        }
    }
    // Run from the event loop, not inside the link's tick: the write may open modal windows.
    if (czekajacy_ && !wykonanieZaplanowane_ && Straz->Kompletna()) {
        wykonanieZaplanowane_ = true;
        QTimer::singleShot(0, this, [this] {
            wykonanieZaplanowane_ = false;
            if (czekajacy_ && Straz->Kompletna()) WykonajCzekajacy();
        });
    }
}

void TForm1::KomunikatPozniej(const QString &text, int flags) {
    QTimer::singleShot(0, this, [text, flags] { LangMessageText(text, flags); });
}

void TForm1::ZmianyInnejSesji() {
    TSesja &z = *Sterownik1->Sesja;
    if (!z.Czeka() || !Straz->Kompletna() || z.TenSam()) return;
    const QString dla = z.DlaOffline() ? LangText(4602) : QString::fromLatin1(z.Dla());
    const QStringList lista = z.Lista();
    const QString numer = Sterownik1->NumerSterownika();
    const QString tekst = lista.size() == 1 ? LangText(4601).arg(dla, lista.first(), numer)
                                            : LangText(4600).arg(QString::number(lista.size()), dla,
                                                                 lista.join(QStringLiteral(", ")), numer);
    if (!Pytanie) {
        Pytanie = new QMessageBox(QMessageBox::Warning, QStringLiteral("TARVEN"), QString(),
                                  QMessageBox::Yes | QMessageBox::No, this);
        Pytanie->setObjectName(QStringLiteral("Pytanie"));
    }
    Pytanie->setText(tekst);
    Pytanie->button(QMessageBox::Yes)->setText(LangText(1080));
    Pytanie->button(QMessageBox::No)->setText(LangText(1081));
    // Another car's values are written only on purpose: Enter and Esc keep the controller's.
    Pytanie->setDefaultButton(QMessageBox::No);
    Pytanie->setEscapeButton(QMessageBox::No);
    const bool tak = Pytanie->exec() == QMessageBox::Yes;
    // The link may have moved on while the box was open.
    if (!z.Czeka() || !Straz->Kompletna() || z.TenSam()) return;
    if (tak && Straz->SciezkaPolaczenia().isEmpty()) {
        // The controller's own backup before anything of another session reaches it.
        QString error;
        const QString path = Straz->Zapisz(TPowodKopii::Polaczenie, &error);
        if (path.isEmpty()) {
            if (LangMessageText(LangText(4265).arg(error) + QLatin1Char('\n') + LangText(4266), 52) != 6) {
                z.Zastosuj(false);
                PoCofnieciu(); // the image changed under the views
                return;
            }
        } else {
            KopieWizyty.append({Sterownik1->NumerKopii(), path});
        }
    }
    z.Zastosuj(tak);
    PoCofnieciu(); // the image changed under the views
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
        KopieWizyty.append({Sterownik1->NumerKopii(), path});
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
