#include "dialogs/TFormInj.h"

#include "dialogs/TStrzalki.h"
#include "lang/LangText.h"
#include "settings/TKatalogNastaw.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormInj::TFormInj(QWidget *parent) : TDialog(parent, QStringLiteral("FormInj"), 350, 350) {
    for (int n = 0; n < 8; ++n) {
        const int y = 24 + 30 * n;
        Label[size_t(n)] = Etykieta(40, y, 30, 24, Qt::AlignRight | Qt::AlignVCenter);
        Label[size_t(n)]->setText(QString::number(n + 1));
        Edit[size_t(n)] = Pole(80, y, 110, 24);
        Edit[size_t(n)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        UpDown[size_t(n)] = new TStrzalki(this, n);
        UpDown[size_t(n)]->setGeometry(194, y, 44, 24);
        UpDown[size_t(n)]->UstawZakres(ArrowMin, ArrowMax);
        connect(UpDown[size_t(n)], &TStrzalki::Zmiana, this, &TFormInj::UpDownClick);
        Jednostka[size_t(n)] = Etykieta(246, y, 60, 24);
    }
}

void TFormInj::Przygotuj(TKatalogNastaw *catalogue, int injectorCount) {
    katalog_ = catalogue;
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(1281));
    for (QLabel *u : Jednostka)
        u->setText(LangText(1053));
    wiersze_ = Wiersze(injectorCount);
    for (int n = 0; n < 8; ++n) {
        const bool on = n < wiersze_;
        Label[size_t(n)]->setVisible(on);
        Edit[size_t(n)]->setVisible(on);
        UpDown[size_t(n)]->setVisible(on);
        Jednostka[size_t(n)]->setVisible(on);
        if (katalog_) UpDown[size_t(n)]->UstawPozycje(katalog_->Wartosc(PierwszaNastawa + n));
    }
    const int h = Wysokosc(wiersze_);
    setFixedSize(350, h);
    Ok->setGeometry(130, h - 52, 90, 28);
    Wypelnij();
}

void TFormInj::UpDownClick(int tag, int v) {
    if (!katalog_ || tag < 0 || tag > 7) return;
    katalog_->UstawNastawe(PierwszaNastawa + tag, v);
    Wypelnij();
}

void TFormInj::Wypelnij() {
    for (int n = 0; n < 8; ++n)
        Edit[size_t(n)]->setText(katalog_ ? katalog_->TekstNastawy(PierwszaNastawa + n) : QString());
}
