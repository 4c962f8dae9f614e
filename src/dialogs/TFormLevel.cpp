#include "dialogs/TFormLevel.h"

#include "device/TSterownik.h"
#include "dialogs/TStrzalki.h"
#include "lang/LangText.h"
#include "settings/TKatalogNastaw.h"
#include "widgets/TPaleta.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {
constexpr int PierwszyProg = 41;
} // namespace

TFormLevel::TFormLevel(QWidget *parent) : TDialog(parent, QStringLiteral("FormLevel"), 600, 400) {
    // Left column, top to bottom: lamp 4, threshold 41, lamp 3, … threshold 44, reserve lamp.
    for (int k = 0; k < 5; ++k) {
        auto *f = new QFrame(this);
        f->setFrameShape(QFrame::Box);
        f->setGeometry(30, 8 + 81 * k, 57, 49);
        f->setAutoFillBackground(true);
        Lampa[size_t(k == 4 ? 0 : 4 - k)] = f;
    }
    for (int i = 0; i < 4; ++i) {
        const int y = 61 + 81 * i;
        Prog[size_t(i)] = Pole(30, y, 90, 24);
        Prog[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        UpDown[size_t(i)] = new TStrzalki(this, PierwszyProg + i);
        UpDown[size_t(i)]->setGeometry(124, y, 44, 24);
        UpDown[size_t(i)]->UstawZakres(0, 255);
        connect(UpDown[size_t(i)], &TStrzalki::Zmiana, this, &TFormLevel::UpDownClick);
    }
    Label1 = Etykieta(280, 24, 300, 24);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setGeometry(280, 50, 290, 26);
    connect(ComboBox1, &QComboBox::activated, this, &TFormLevel::ComboBox1Change);
    Label2 = Etykieta(280, 110, 300, 24);
    EditNapiecie = Pole(280, 136, 100, 26);
    EditNapiecie->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label3 = Etykieta(388, 136, 60, 26);
    Ok->setGeometry(480, 352, 90, 28);
    for (int k = 0; k < 5; ++k)
        Lampka(k, Szary);
}

TFormLevel::~TFormLevel() {
    KoniecPomiaru();
}

void TFormLevel::Przygotuj(TKatalogNastaw *catalogue) {
    katalog_ = catalogue;
    link_ = catalogue ? catalogue->PodajSterownik() : nullptr;
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(1372));
    Label2->setText(LangText(1373));
    Label3->setText(LangText(1050));
    if (!katalog_) return;
    Label1->setText(katalog_->NazwaNastawy(40));
}

void TFormLevel::showEvent(QShowEvent *e) {
    TDialog::showEvent(e);
    if (!katalog_) return;
    if (link_) link_->PollMode |= BitPoziomu;
    ostatnieLampki_ = ostatnieNapiecie_ = Zapomniane;
    EditNapiecie->clear();
    for (int k = 0; k < 5; ++k)
        Lampka(k, Szary);
    const TNastawa &n = katalog_->Rekord(40);
    ComboBox1->clear();
    for (int v = n.Min; v <= n.Max; ++v)
        ComboBox1->addItem(katalog_->TekstNastawy(40, v));
    ComboBox1->setCurrentIndex(katalog_->Wartosc(40) - n.Min);
    Wypelnij();
}

// Every way out (OK, Esc, the close box, the owner closing) passes through here or hides the window.
void TFormLevel::done(int r) {
    KoniecPomiaru();
    TDialog::done(r);
}

void TFormLevel::hideEvent(QHideEvent *e) {
    KoniecPomiaru();
    TDialog::hideEvent(e);
}

void TFormLevel::KoniecPomiaru() {
    if (link_) link_->PollMode &= ~BitPoziomu;
}

void TFormLevel::Lampka(int lamp, uint32_t colour) {
    lampki_[size_t(lamp)] = colour;
    QPalette p = Lampa[size_t(lamp)]->palette();
    p.setColor(QPalette::Window, Kolor(colour));
    Lampa[size_t(lamp)]->setPalette(p);
}

void TFormLevel::NowyOdczyt(const uint8_t *reply) {
    const int lampki = reply[13];
    if (lampki != ostatnieLampki_) {
        ostatnieLampki_ = lampki;
        for (int k = 1; k <= 4; ++k)
            Lampka(k, lampki & (1 << (k + 1)) ? Zielony : Szary);
        Lampka(0, lampki & 2 ? Zielony : lampki & 1 ? Czerwony : Szary);
    }
    const int napiecie = reply[50];
    if (napiecie != ostatnieNapiecie_) {
        ostatnieNapiecie_ = napiecie;
        EditNapiecie->setText(QLocale().toString(napiecie * 0.02, 'f', 2));
    }
}

void TFormLevel::ComboBox1Change(int index) {
    if (!katalog_) return;
    // The setter rewrites items 41…44 with the type's defaults before it returns, so the arrows and
    // fields can follow at once.
    katalog_->UstawNastawe(40, index + katalog_->Rekord(40).Min);
    Wypelnij();
}

void TFormLevel::UpDownClick(int item, int v) {
    if (!katalog_ || item < PierwszyProg || item > PierwszyProg + 3) return;
    if (v != katalog_->Wartosc(item)) katalog_->UstawNastawe(item, v);
    Wypelnij();
}

std::array<bool, 4> TFormLevel::PozaKolejnoscia(int type, int t41, int t42, int t43, int t44) {
    const bool rosnacy = type == 0 || type == 2;
    const bool a = rosnacy ? t43 < t44 : t44 < t43;
    const bool b = rosnacy ? t42 < t43 : t43 < t42;
    const bool c = rosnacy ? t41 < t42 : t42 < t41;
    return {c, b || c, a || b, a};
}

void TFormLevel::Wypelnij() {
    if (!katalog_) return;
    int t[4];
    for (int i = 0; i < 4; ++i) {
        t[i] = katalog_->Wartosc(PierwszyProg + i);
        UpDown[size_t(i)]->UstawPozycje(t[i]);
        Prog[size_t(i)]->setText(katalog_->TekstNastawy(PierwszyProg + i));
    }
    czerwone_ = PozaKolejnoscia(katalog_->Wartosc(40), t[0], t[1], t[2], t[3]);
    for (int i = 0; i < 4; ++i) {
        QPalette p = Prog[size_t(i)]->palette();
        const QColor czerwony = Czytelny(QColor(255, 0, 0), p.color(QPalette::Base));
        p.setColor(QPalette::Text, czerwone_[size_t(i)] ? czerwony : QColor(0, 0, 0));
        Prog[size_t(i)]->setPalette(p);
    }
}
