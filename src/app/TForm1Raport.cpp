// The service report of the visit ("Service report…" in the controller menu) and the workshop's
// details on it ("Workshop details…").
#include "app/TForm1.h"

#include "backup/StrazKopii.h"
#include "config/TConfig.h"
#include "device/TSterownik.h"
#include "dialogs/TFormRaportSerwisowy.h"
#include "dialogs/TFormWarsztat.h"
#include "lang/LangText.h"
#include "obd/ui/TPanelObd.h"
#include "obd/ui/TWidokPojazdu.h"
#include "raport/TRaportSerwisowy.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

void TForm1::UtworzRaport() {
    FormRaportSerwisowy = new TFormRaportSerwisowy(this);
    FormWarsztat = new TFormWarsztat(this);
    ActRaport = new QAction(this);
    ActRaport->setObjectName(QStringLiteral("ActRaport"));
    ActWarsztat = new QAction(this);
    ActWarsztat->setObjectName(QStringLiteral("ActWarsztat"));
    connect(ActRaport, &QAction::triggered, this, &TForm1::RaportSerwisowyClick);
    connect(ActWarsztat, &QAction::triggered, this, &TForm1::WarsztatClick);
    // After the backups, before the scope files.
    const QList<QAction *> items = MenuDevice->actions();
    const qsizetype at = items.indexOf(ActKopie) + 1;
    MenuDevice->insertActions(at > 0 && at < items.size() ? items[at] : nullptr, {ActRaport, ActWarsztat});
}

void TForm1::RelabelRaportu() {
    ActRaport->setText(LangText(4864));
    ActWarsztat->setText(LangText(4865));
}

TRaportSerwisowy TForm1::RaportWizyty() {
    TRaportSerwisowy r;
    r.warsztat = {Config->WorkshopName(), Config->WorkshopAddress(), Config->WorkshopPhone()};
    r.czas = QDateTime::currentDateTime();
    r.dozwolone = Config->InspectionAllowance();
    if (!PanelObd->Pojazd->Wizyta().Pusta()) r.pojazd = PanelObd->Pojazd->Wizyta();
    // The controller counts once it has been read whole since it connected.
    if (!Straz->Kompletna()) return r;
    r.sterownik = OpisSterownika(*Sterownik1, RaportBledow);
    const QString numer = Sterownik1->NumerKopii();
    for (const auto &[serial, path] : std::as_const(KopieWizyty))
        if (serial == numer) r.kopie << QFileInfo(path).fileName();
    const QString baza = Straz->SciezkaPolaczenia();
    QString error;
    if (const auto obraz = baza.isEmpty() ? nullptr : WczytajObraz(baza, &error, true)) {
        r.zmiany = PorownajObrazy(*obraz, *Sterownik1);
        r.bazaZmian = QFileInfo(baza).fileName();
    }
    return r;
}

void TForm1::RaportSerwisowyClick() {
    FormRaportSerwisowy->Przygotuj(RaportHtml(RaportWizyty()), DocumentsFolder, Kolor(Paleta.Background),
                                   Kolor(Paleta.DialogText));
    FormRaportSerwisowy->exec();
}

void TForm1::WarsztatClick() {
    FormWarsztat->Przygotuj(Config->WorkshopName(), Config->WorkshopAddress(), Config->WorkshopPhone(),
                            Config->InspectionAllowance(), Kolor(Paleta.Background),
                            Kolor(Paleta.DialogText));
    if (FormWarsztat->exec() != QDialog::Accepted) return;
    Config->SetWorkshop(FormWarsztat->NazwaWarsztatu(), FormWarsztat->AdresWarsztatu(),
                        FormWarsztat->TelefonWarsztatu());
    Config->SetInspectionAllowance(FormWarsztat->Dozwolone());
    Config->Write(); // tarven-cli's report reads them too
    PanelObd->Pojazd->UstawDozwolone(Config->InspectionAllowance());
}
