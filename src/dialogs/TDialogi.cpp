#include "dialogs/TDialogi.h"

#include "device/TSterownik.h"
#include "dialogs/TFormCal.h"
#include "dialogs/TFormInj.h"
#include "dialogs/TFormLevel.h"
#include "dialogs/TFormNastaw.h"
#include "dialogs/TFormParam.h"
#include "dialogs/TFormSeq.h"
#include "settings/TKatalogNastaw.h"
#include "widgets/TPaleta.h"

TDialogi::TDialogi(QWidget *owner, TKatalogNastaw *catalogue, const TPaleta *palette)
    : FormCal(new TFormCal(owner)), FormInj(new TFormInj(owner)), FormLevel(new TFormLevel(owner)),
      FormSeq(new TFormSeq(owner)), FormNastaw(new TFormNastaw(owner)), FormParam(new TFormParam(owner)),
      katalog_(catalogue), paleta_(palette) {}

QDialog *TDialogi::Przygotuj(int item, const QFont &font) {
    TSterownik *s = katalog_ ? katalog_->PodajSterownik() : nullptr;
    const int kanaly = s ? s->InjectorCount : 0;
    TDialog *d = nullptr;
    switch (item) {
    case KorektyWtryskiwaczy:
        FormInj->Przygotuj(katalog_, kanaly);
        d = FormInj;
        break;
    case Kalkulator:
        FormCal->Przygotuj(katalog_);
        d = FormCal;
        break;
    case 8:
        FormSeq->Przygotuj(katalog_, kanaly);
        d = FormSeq;
        break;
    case 40:
        FormLevel->Przygotuj(katalog_);
        d = FormLevel;
        break;
    case 57:
    case 63:
    case 96:
        FormNastaw->Przygotuj(katalog_, item);
        d = FormNastaw;
        break;
    default: return nullptr;
    }
    const TPaleta p = paleta_ ? *paleta_ : TPaleta{};
    d->Kolory(Kolor(p.Background), Kolor(p.DialogText));
    d->Czcionka(font);
    d->Wysrodkuj();
    return d;
}

void TDialogi::Otworz(int item, const QFont &font) {
    if (QDialog *d = Przygotuj(item, font)) d->exec();
}

QDialog *TDialogi::PrzygotujParametry(const QFont &font) {
    const TPaleta p = paleta_ ? *paleta_ : TPaleta{};
    FormParam->Przygotuj(katalog_ ? katalog_->PodajSterownik() : nullptr, Kolor(p.Box));
    FormParam->Kolory(Kolor(p.Background), Kolor(p.DialogText));
    FormParam->Czcionka(font);
    FormParam->Wysrodkuj();
    return FormParam;
}

void TDialogi::OtworzParametry(const QFont &font) {
    PrzygotujParametry(font)->exec();
}

void TDialogi::Zamknij() {
    for (QDialog *d :
         std::initializer_list<QDialog *>{FormCal, FormInj, FormLevel, FormSeq, FormNastaw, FormParam})
        if (d->isVisible()) d->reject();
}

std::vector<TOdbiorcaOdczytow *> TDialogi::Odbiorcy() const {
    return {FormLevel, FormSeq};
}
