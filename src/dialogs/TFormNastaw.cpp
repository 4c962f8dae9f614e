#include "dialogs/TFormNastaw.h"

#include "device/TSterownik.h"
#include "dialogs/TStrzalki.h"
#include "lang/LangText.h"
#include "settings/TKatalogNastaw.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int PoziomGlosnosci = 98; // buzzer volume: each step is heard at once
} // namespace

TFormNastaw::TFormNastaw(QWidget *parent) : TDialog(parent, QStringLiteral("FormNastaw"), 420, 208) {
    for (int r = 0; r < 3; ++r) {
        const int y = 20 + 44 * r;
        Label[size_t(r)] = Etykieta(16, y, 210, 26);
        Label[size_t(r)]->setWordWrap(true);
        Edit[size_t(r)] = Pole(232, y, 110, 26);
        Edit[size_t(r)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        UpDown[size_t(r)] = new TStrzalki(this);
        UpDown[size_t(r)]->setGeometry(346, y, 50, 26);
        connect(UpDown[size_t(r)], &TStrzalki::Zmiana, this, &TFormNastaw::UpDownClick);
    }
    ComboBox1 = new QComboBox(this);
    ComboBox1->setGeometry(232, 20, 164, 26);
    connect(ComboBox1, &QComboBox::activated, this, &TFormNastaw::ComboBox1Change);
    Ok->setGeometry(165, 166, 90, 28);
}

void TFormNastaw::Przygotuj(TKatalogNastaw *catalogue, int mode) {
    katalog_ = catalogue;
    setWindowTitle(QStringLiteral("TARVEN"));
    switch (mode) {
    case 57: pozycje_ = {57, 58, 0}; break;
    case 63: pozycje_ = {63, 64, 69}; break;
    case 96: pozycje_ = {96, 99, 98}; break;
    default: pozycje_ = {0, 0, 0}; break;
    }
    tryb_ = pozycje_[0];
    const bool lista = tryb_ == 96;
    ComboBox1->setVisible(lista);
    for (int r = 0; r < 3; ++r) {
        const int item = pozycje_[size_t(r)];
        const bool on = item != 0 && katalog_;
        Label[size_t(r)]->setVisible(on);
        Edit[size_t(r)]->setVisible(on && !(lista && r == 0));
        UpDown[size_t(r)]->setVisible(on && !(lista && r == 0));
        if (!on) continue;
        QString text = katalog_->NazwaNastawy(item);
        if (item == 58) text += QLatin1Char(' ') + LangText(1054);
        if (item == 63) text += QLatin1Char(' ') + LangText(1051);
        if (item == 64) text += QLatin1Char(' ') + LangText(1055);
        Label[size_t(r)]->setText(text);
        const TNastawa &n = katalog_->Rekord(item);
        UpDown[size_t(r)]->UstawTag(item);
        UpDown[size_t(r)]->UstawZakres(n.Min, n.Max);
        UpDown[size_t(r)]->UstawPozycje(katalog_->Wartosc(item));
    }
    if (lista && katalog_) {
        const QSignalBlocker b(ComboBox1);
        ComboBox1->clear();
        for (int v = 0; v < 4; ++v)
            ComboBox1->addItem(katalog_->TekstNastawy(96, v));
        const int v = katalog_->Wartosc(96);
        ComboBox1->setCurrentIndex(v < 4 ? v : -1);
    }
    Wypelnij();
}

void TFormNastaw::UpDownClick(int item, int v) {
    if (!katalog_ || item <= 0) return;
    if (v != katalog_->Wartosc(item)) {
        katalog_->UstawNastawe(item, v);
        if (item == PoziomGlosnosci)
            if (TSterownik *s = katalog_->PodajSterownik()) s->SpeakerTestPending = 1;
    }
    Wypelnij();
}

void TFormNastaw::ComboBox1Change(int index) {
    if (!katalog_ || tryb_ != 96 || index < 0) return;
    katalog_->UstawNastawe(96, index);
    Wypelnij();
}

void TFormNastaw::Wypelnij() {
    for (int r = 0; r < 3; ++r) {
        const int item = pozycje_[size_t(r)];
        Edit[size_t(r)]->setText(katalog_ && item ? katalog_->TekstNastawy(item) : QString());
    }
}
