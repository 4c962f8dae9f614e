#include "dialogs/TFormCal.h"

#include "dialogs/TStrzalki.h"
#include "lang/LangText.h"
#include "settings/TKatalogNastaw.h"

#include <QComboBox>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <algorithm>

const int Cylindry[IleCylindrow] = {1, 2, 3, 4, 5, 6, 8, 10, 12};
const double KorektaCisnienia[IleCisnien] = {0.10,  0.00,  -0.05, -0.10, -0.15, -0.20, -0.20,
                                             -0.25, -0.25, -0.25, -0.30, -0.30, -0.30};

namespace {
constexpr double KmNaKw = 1.3596;
constexpr int MocMin = 25;
constexpr int MocMax = 1000;
// Injector types that come in nozzle classes instead of diameters.
bool TypZKlasami(int injector) {
    return injector >= 8 && injector <= 10;
}
} // namespace

TWynikDyszy ObliczDysze(int power, bool kW, int cylinders, int pressureEntry, bool cng, int injection,
                        int injector) {
    TWynikDyszy w;
    double p = power;
    if (kW) p *= KmNaKw;
    double d = p / std::max(cylinders, 1) * 0.0625 + 0.2;
    d += KorektaCisnienia[std::clamp(pressureEntry, 0, IleCisnien - 1)];
    if (cng) d += 0.2;
    if (injection == 1) d -= 0.1;
    if (injection == 2) d -= 0.2;
    if (injector == 1) d += 0.2;
    w.Srednica = d;
    if (TypZKlasami(injector)) {
        w.Jednostka = false;
        w.Tekst = d < 2     ? QStringLiteral("C black")
                  : d < 2.4 ? QStringLiteral("B red")
                  : d < 3   ? QStringLiteral("A green")
                            : QStringLiteral("A+ blue");
        return w;
    }
    // A tiny engine with many cylinders can come out at no diameter at all: no number is shown then.
    if (d < 0.05) {
        w.Tekst = QStringLiteral("\u2014");
        return w;
    }
    w.Tekst = QLocale().toString(d, 'f', 1);
    return w;
}

int WpisCisnienia(int raw) {
    return std::clamp(raw / 10 - 10, 0, 5);
}

TFormCal::TFormCal(QWidget *parent) : TDialog(parent, QStringLiteral("FormCal"), 520, 460) {
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setGeometry(10, 8, 500, 148);
    GroupBox2 = new QGroupBox(this);
    GroupBox2->setGeometry(10, 164, 500, 148);
    GroupBox3 = new QGroupBox(this);
    GroupBox3->setGeometry(10, 320, 500, 66);
    auto etykieta = [](QWidget *parent, int x, int y, int w) {
        auto *l = new QLabel(parent);
        l->setGeometry(x, y, w, 24);
        return l;
    };
    auto lista = [](QWidget *parent, int x, int y, int w) {
        auto *c = new QComboBox(parent);
        c->setGeometry(x, y, w, 24);
        return c;
    };
    Label1 = etykieta(GroupBox1, 16, 30, 220);
    Label2 = etykieta(GroupBox1, 16, 68, 220);
    Label3 = etykieta(GroupBox1, 16, 106, 220);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setGeometry(240, 30, 70, 24);
    Edit1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Edit1->setValidator(new QIntValidator(MocMin, MocMax, Edit1));
    UpDown1 = new TStrzalki(GroupBox1);
    UpDown1->setGeometry(312, 30, 44, 24);
    UpDown1->UstawZakres(MocMin, MocMax);
    UpDown1->UstawPozycje(100);
    ComboBox1 = lista(GroupBox1, 364, 30, 110);
    ComboBox2 = lista(GroupBox1, 240, 68, 70);
    for (int c : Cylindry)
        ComboBox2->addItem(QString::number(c));
    ComboBox2->setCurrentIndex(3);
    ComboBox3 = lista(GroupBox1, 240, 106, 70);
    for (int i = 0; i < IleCisnien; ++i)
        ComboBox3->addItem(QString::number(1.0 + i * 0.1, 'f', 2));
    LabelA = etykieta(GroupBox1, 318, 106, 60);

    Label4 = etykieta(GroupBox2, 16, 30, 220);
    Label5 = etykieta(GroupBox2, 16, 68, 220);
    Label6 = etykieta(GroupBox2, 16, 106, 220);
    ComboBox4 = lista(GroupBox2, 240, 30, 234);
    ComboBox5 = lista(GroupBox2, 240, 68, 234);
    ComboBox6 = lista(GroupBox2, 240, 106, 234);

    Label7 = etykieta(GroupBox3, 16, 24, 220);
    Edit2 = new QLineEdit(GroupBox3);
    Edit2->setGeometry(240, 24, 120, 26);
    Edit2->setReadOnly(true);
    Edit2->setFocusPolicy(Qt::NoFocus);
    Edit2->setAlignment(Qt::AlignCenter);
    QFont bold = Edit2->font();
    bold.setBold(true);
    Edit2->setFont(bold);
    QPalette cream = Edit2->palette();
    cream.setColor(QPalette::Base, QColor(255, 251, 240));
    cream.setColor(QPalette::Text, Qt::black);
    Edit2->setPalette(cream);
    LabelB = etykieta(GroupBox3, 368, 24, 60);
    Label8 = Etykieta(10, 392, 500, 24, Qt::AlignCenter);
    Label8->setWordWrap(true);
    Ok->setGeometry(215, 424, 90, 28);

    connect(UpDown1, &TStrzalki::Zmiana, this, [this] { Oblicz(); });
    // A typed power counts as soon as it is within the limits; leaving the field shows the power used.
    connect(Edit1, &QLineEdit::textEdited, this, &TFormCal::Edit1Change);
    connect(Edit1, &QLineEdit::editingFinished, this, [this] { Oblicz(); });
    for (QComboBox *c : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { Oblicz(); });
}

void TFormCal::Lista(QComboBox *box, int item) {
    const TNastawa &n = katalog_->Rekord(item);
    box->clear();
    for (int v = n.Min; v <= n.Max; ++v)
        box->addItem(katalog_->TekstNastawy(item, v));
    box->setCurrentIndex(std::clamp(katalog_->Wartosc(item) - n.Min, 0, std::max(box->count() - 1, 0)));
}

void TFormCal::Przygotuj(TKatalogNastaw *catalogue) {
    katalog_ = catalogue;
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(1380));
    GroupBox1->setTitle(QLatin1Char(' ') + LangText(1381) + QLatin1Char(' '));
    GroupBox2->setTitle(QLatin1Char(' ') + LangText(1382) + QLatin1Char(' '));
    Label1->setText(LangText(1383));
    Label2->setText(LangText(1384));
    Label3->setText(LangText(1385));
    LabelA->setText(LangText(1051));
    Label7->setText(LangText(1386));
    LabelB->setText(LangText(1052));
    Label8->setText(LangText(1387));
    const QSignalBlocker b1(ComboBox1), b3(ComboBox3), b4(ComboBox4), b5(ComboBox5), b6(ComboBox6);
    ComboBox1->clear();
    ComboBox1->addItems({LangText(1060), LangText(1061)});
    ComboBox1->setCurrentIndex(0);
    if (!katalog_) return;
    Label4->setText(katalog_->NazwaNastawy(20));
    Label5->setText(katalog_->NazwaNastawy(8));
    Label6->setText(katalog_->NazwaNastawy(24));
    ComboBox3->setCurrentIndex(WpisCisnienia(katalog_->Wartosc(86)));
    Lista(ComboBox4, 20);
    Lista(ComboBox5, 8);
    Lista(ComboBox6, 24);
    Oblicz();
}

void TFormCal::Edit1Change(const QString &text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < MocMin || v > MocMax) return;
    UpDown1->UstawPozycje(v);
    Oblicz();
}

void TFormCal::Oblicz() {
    const QString moc = QString::number(UpDown1->Pozycja());
    if (Edit1->text() != moc) Edit1->setText(moc);
    if (!katalog_) return;
    const int cylinders = Cylindry[std::clamp(ComboBox2->currentIndex(), 0, IleCylindrow - 1)];
    const TWynikDyszy w =
        ObliczDysze(UpDown1->Pozycja(), ComboBox1->currentIndex() == 1, cylinders, ComboBox3->currentIndex(),
                    ComboBox4->currentIndex() > 0, ComboBox5->currentIndex() + katalog_->Rekord(8).Min,
                    ComboBox6->currentIndex() + katalog_->Rekord(24).Min);
    Edit2->setText(w.Tekst);
    LabelB->setVisible(w.Jednostka);
}
