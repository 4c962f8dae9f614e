#include "dialogs/TFormService.h"

#include "device/TSterownik.h"
#include "dialogs/OknoDialogu.h"
#include "lang/LangText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {
constexpr int Wiersze = 33; // header + 32 history entries
constexpr int Kolumny = 6;
// Wide enough for the longest translated header; the last column takes the rest.
constexpr int Szerokosci[Kolumny] = {84, 84, 84, 84, 84, 100};

int Slowo(const uint8_t *b, int at) {
    return b[at] | (b[at + 1] << 8);
}

QLabel *Etykieta(QWidget *parent, int x, int y, int w) {
    auto *l = new QLabel(parent);
    l->setGeometry(x, y, w, 28);
    return l;
}

QLineEdit *Pole(QWidget *parent, int x, int y, int w) {
    auto *e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setGeometry(x, y, w, 28);
    return e;
}
} // namespace

TFormService::TFormService(QWidget *parent) : QDialog(parent, OknoDialogu::Flagi()) {
    setObjectName(QStringLiteral("FormService"));
    setFixedSize(600, 480);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setGeometry(8, 4, 584, 300);
    Label1 = Etykieta(GroupBox1, 12, 28, 300);
    Label2 = Etykieta(GroupBox1, 12, 60, 300);
    Label3 = Etykieta(GroupBox1, 12, 92, 300);
    Edit1 = Pole(GroupBox1, 330, 28, 240);
    Edit2 = Pole(GroupBox1, 330, 60, 240);
    Edit3 = Pole(GroupBox1, 330, 92, 240);

    StringGrid1 = new QTableWidget(Wiersze, Kolumny, GroupBox1);
    StringGrid1->setGeometry(12, 126, 560, 164);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setFocusPolicy(Qt::NoFocus);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    StringGrid1->verticalHeader()->setDefaultSectionSize(22);
    for (int c = 0; c < Kolumny; ++c)
        StringGrid1->setColumnWidth(c, Szerokosci[c]);
    for (int r = 0; r < Wiersze; ++r)
        for (int c = 0; c < Kolumny; ++c) {
            auto *it = new QTableWidgetItem;
            it->setTextAlignment(c >= 1 && c <= 4 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            if (r == 0) it->setBackground(palette().button()); // the fixed header row
            StringGrid1->setItem(r, c, it);
        }

    GroupBox2 = new QGroupBox(this);
    GroupBox2->setGeometry(8, 310, 584, 124);
    Label5 = Etykieta(GroupBox2, 12, 26, 260);
    CheckBox1 = new QCheckBox(GroupBox2);
    CheckBox1->setGeometry(290, 26, 28, 28);
    Edit4 = Pole(GroupBox2, 330, 26, 150);
    Label6 = Etykieta(GroupBox2, 12, 60, 300);
    ComboBox1 = new QComboBox(GroupBox2);
    ComboBox1->setGeometry(330, 60, 90, 28);
    for (int i = 1; i <= 25; ++i)
        ComboBox1->addItem(QString::number(i * 1000).rightJustified(5, QLatin1Char(' ')));
    ComboBox1->setCurrentIndex(9); // "10000"
    Label7 = Etykieta(GroupBox2, 424, 60, 40);
    Button1 = new QPushButton(GroupBox2);
    Button1->setGeometry(464, 58, 108, 32);
    LabelNieWyslano = Etykieta(GroupBox2, 12, 92, 560);
    LabelNieWyslano->hide();

    ButtonOk = new QPushButton(QStringLiteral("OK"), this);
    ButtonOk->setGeometry(250, 440, 100, 34);
    ButtonOk->setDefault(true);

    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &TFormService::Button1Click);
    // clicked, not toggled: filling the window sets the box without writing anything.
    connect(CheckBox1, &QCheckBox::clicked, this, &TFormService::CheckBox1Click);
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &TFormService::Timer1Timer);
}

void TFormService::Przygotuj(TSterownik *link, const QColor &background, const QColor &text,
                             const QFont &font) {
    Sterownik = link;
    OknoDialogu::Kolory(this, background, text, font, 14);
    QFont grid = font; // the history grid in plain type, so its narrow headers fit
    grid.setPixelSize(13);
    grid.setBold(false);
    StringGrid1->setFont(grid);
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(1340));
    GroupBox1->setTitle(QLatin1Char(' ') + LangText(1341) + QLatin1Char(' '));
    GroupBox2->setTitle(QLatin1Char(' ') + LangText(1342) + QLatin1Char(' '));
    Label1->setText(LangText(1343));
    Label2->setText(LangText(1344));
    Label3->setText(LangText(1345));
    Label5->setText(LangText(1352));
    Label6->setText(LangText(1353));
    Label7->setText(LangText(1058));
    Button1->setText(LangText(1354));
    LabelNieWyslano->setText(LangText(1356));
    const int naglowki[Kolumny] = {1347, 1348, 1349, 1350, 1351, 1346};
    for (int c = 0; c < Kolumny; ++c)
        StringGrid1->item(0, c)->setText(LangText(naglowki[c]));
}

uint16_t TFormService::NastepnyPrzeglad(int gasHours, int secondsInHour, int entry) {
    const int h = gasHours + (secondsInHour > 1800 ? 1 : 0);
    return uint16_t(h + (entry + 1) * 1000 / 50);
}

void TFormService::Wypelnij() {
    if (!Sterownik) return;
    TSterownik &s = *Sterownik;
    Edit1->setText(s.StrCzasNaBenzynie());
    Edit2->setText(s.StrCzasNaGazie());
    Edit3->setText(s.StrIdentWlasny());
    Edit4->setText(s.StrCzasPrzegladu());
    UstawPrzypomnienie(s.Nastawy[100] != 0);
    for (int r = 1; r < Wiersze; ++r)
        for (int c = 0; c < Kolumny; ++c)
            StringGrid1->item(r, c)->setText(s.StrHistoria(c, r - 1));
}

void TFormService::UstawPrzypomnienie(bool on) {
    CheckBox1->setChecked(on);
    Edit4->setEnabled(on);
}

void TFormService::Timer1Timer() {
    if (!Sterownik) {
        Timer1.stop();
        return;
    }
    if (Sterownik->ReadRequests & (1u << BitHistoria)) return;
    Timer1.stop();
    Wypelnij();
}

void TFormService::CheckBox1Click() {
    if (!Sterownik) return;
    TZmiana krok(&Sterownik->Dziennik, 1u << BitNastawy, LangText(1340));
    uint8_t &reminder = Sterownik->Nastawy[100];
    reminder = reminder ? 0 : 1;
    UstawPrzypomnienie(reminder != 0);
    ZapiszNastawy();
}

void TFormService::Button1Click() {
    if (!Sterownik) return;
    TZmiana krok(&Sterownik->Dziennik, 1u << BitNastawy, LangText(1340));
    TSterownik &s = *Sterownik;
    const uint16_t next =
        NastepnyPrzeglad(Slowo(s.Identyfikacja, 76), Slowo(s.Identyfikacja, 74), ComboBox1->currentIndex());
    s.Nastawy[101] = uint8_t(next & 0xFF);
    s.Nastawy[102] = uint8_t(next >> 8);
    Edit4->setText(s.StrCzasPrzegladu());
    if (s.Nastawy[100] == 0) s.Nastawy[100] = 1;
    UstawPrzypomnienie(true);
    ZapiszNastawy();
}

void TFormService::ZapiszNastawy() {
    TSterownik &s = *Sterownik;
    s.ZapiszDoSterownika(1u << BitNastawy);
    // The link refuses the write while the controller is not answering or the settings were not read
    // yet; the change then lives only in this PC's image, and the fitter must know it.
    const bool queued = (s.WriteRequests & (1u << BitNastawy)) || s.SettingsWritePending;
    LabelNieWyslano->setVisible(!queued);
}

void TFormService::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    if (!Sterownik) {
        OknoDialogu::ZamknijPozniej(this);
        return;
    }
    LabelNieWyslano->hide();
    Wypelnij();
    Timer1.start();
}

void TFormService::hideEvent(QHideEvent *e) {
    Timer1.stop();
    QDialog::hideEvent(e);
}
