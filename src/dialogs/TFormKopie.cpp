#include "dialogs/TFormKopie.h"

#include "backup/RaportZmian.h"
#include "device/TSterownik.h"
#include "dialogs/TFormRaport.h"
#include "lang/LangText.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int RolaIndeksu = Qt::UserRole;

QString TekstPowodu(const QString &powod) {
    static const char *const nazwy[] = {"connect", "file-write", "factory", "firmware", "restore", "manual"};
    for (int i = 0; i < 6; ++i)
        if (powod == QLatin1String(nazwy[i])) return LangText(4270 + i);
    return powod;
}

} // namespace

TFormKopie::TFormKopie(QWidget *parent, TFormRaport *raport) : QDialog(parent), Raport(raport) {
    setObjectName(QStringLiteral("FormKopie"));
    resize(760, 480);
    Wszystkie = new QCheckBox(this);
    Lista = new QTreeWidget(this);
    Lista->setColumnCount(4);
    Lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Lista->setAllColumnsShowFocus(true);
    Lista->setUniformRowHeights(true);
    Podsumowanie = new QLabel(this);
    ZeSterownikiem = new QPushButton(this);
    Dwie = new QPushButton(this);
    Przywroc = new QPushButton(this);
    Folder = new QPushButton(this);
    Zamknij = new QPushButton(this);
    OnOtworzFolder = [](const QString &folder) { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); };

    connect(Wszystkie, &QCheckBox::toggled, this, &TFormKopie::Odswiez);
    connect(Lista, &QTreeWidget::itemSelectionChanged, this, &TFormKopie::Przyciski);
    connect(ZeSterownikiem, &QPushButton::clicked, this, &TFormKopie::ZeSterownikiemClick);
    connect(Dwie, &QPushButton::clicked, this, &TFormKopie::DwieClick);
    connect(Przywroc, &QPushButton::clicked, this, &TFormKopie::PrzywrocClick);
    connect(Folder, &QPushButton::clicked, this, &TFormKopie::FolderClick);
    connect(Zamknij, &QPushButton::clicked, this, &QDialog::accept);

    auto *top = new QHBoxLayout;
    top->addWidget(Wszystkie);
    top->addStretch();
    top->addWidget(Podsumowanie);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {ZeSterownikiem, Dwie, Przywroc, Folder})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(Zamknij);
    auto *l = new QVBoxLayout(this);
    l->addLayout(top);
    l->addWidget(Lista, 1);
    l->addLayout(buttons);
}

void TFormKopie::Przygotuj(TSterownik *link, const QColor &background, const QColor &text) {
    Sterownik = link;
    tlo_ = background;
    tekst_ = text;
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    setPalette(p);
    setAutoFillBackground(true);
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(4250));
    Wszystkie->setText(LangText(4251));
    ZeSterownikiem->setText(LangText(4256));
    Dwie->setText(LangText(4257));
    Dwie->setToolTip(LangText(4263));
    Przywroc->setText(LangText(4258));
    Folder->setText(LangText(4259));
    Zamknij->setText(LangText(4269));
    Lista->setHeaderLabels({LangText(4252), LangText(4253), LangText(4254), LangText(4255)});
    Odswiez();
}

QString TFormKopie::NazwaKopii(const TKopia &k) {
    return k.Czas.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char(' ') + TekstPowodu(k.Powod);
}

void TFormKopie::Odswiez() {
    if (!Sterownik) return;
    const TMagazynKopii m(Sterownik->DocumentsFolder);
    const bool wszystkie = Wszystkie->isChecked();
    kopie_ = wszystkie ? m.Wszystkie() : m.Lista(Sterownik->NumerKopii());
    Lista->clear();
    Lista->setRootIsDecorated(wszystkie);
    QHash<QString, QTreeWidgetItem *> grupy;
    qint64 bajty = 0;
    int ile = 0;
    for (int i = 0; i < kopie_.size(); ++i) {
        const TKopia &k = kopie_[i];
        if (k.Czytelna) {
            ++ile;
            bajty += k.Rozmiar;
        }
        QTreeWidgetItem *rodzic = nullptr;
        if (wszystkie) {
            rodzic = grupy.value(k.Folder);
            if (!rodzic) {
                rodzic = new QTreeWidgetItem(Lista, {k.Folder.isEmpty() ? m.Folder() : k.Folder});
                rodzic->setFirstColumnSpanned(true);
                rodzic->setFlags(Qt::ItemIsEnabled);
                QFont f = rodzic->font(0);
                f.setBold(true);
                rodzic->setFont(0, f);
                rodzic->setExpanded(true);
                grupy.insert(k.Folder, rodzic);
            }
        }
        const QStringList cells =
            k.Czytelna ? QStringList{k.Czas.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                     TekstPowodu(k.Powod), k.Wersja, k.Model}
                       : QStringList{k.Czas.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                     LangText(4261) + QStringLiteral(": ") + QFileInfo(k.Sciezka).fileName()};
        auto *it = rodzic ? new QTreeWidgetItem(rodzic, cells) : new QTreeWidgetItem(Lista, cells);
        it->setData(0, RolaIndeksu, i);
        if (!k.Czytelna) it->setForeground(1, QColor(160, 0, 0));
    }
    Podsumowanie->setText(LangText(4260).arg(ile).arg((bajty + 1023) / 1024));
    for (int c = 0; c < 4; ++c)
        Lista->resizeColumnToContents(c);
    Przyciski();
}

QList<TKopia> TFormKopie::Zaznaczone() const {
    QList<int> indeksy;
    for (const QTreeWidgetItem *it : Lista->selectedItems()) {
        const QVariant v = it->data(0, RolaIndeksu);
        if (v.isValid() && kopie_.value(v.toInt()).Czytelna) indeksy.append(v.toInt());
    }
    std::sort(indeksy.begin(), indeksy.end()); // the list is newest first
    QList<TKopia> l;
    for (int i : indeksy)
        l.append(kopie_[i]);
    return l;
}

void TFormKopie::Przyciski() {
    const qsizetype n = Zaznaczone().size();
    ZeSterownikiem->setEnabled(n == 1);
    Przywroc->setEnabled(n == 1);
    Dwie->setEnabled(n == 2);
}

void TFormKopie::Porownaj(const TKopia &a, TSterownik *b, const QString &nazwaB) {
    QString error;
    const auto obraz = WczytajObraz(a.Sciezka, &error, true);
    if (!obraz) {
        LangMessageText(QDir::toNativeSeparators(a.Sciezka) + QStringLiteral(": ") + error, 16);
        return;
    }
    Raport->Przygotuj(PorownajObrazy(*obraz, *b), NazwaKopii(a), nazwaB, tlo_, tekst_);
    Raport->exec();
}

void TFormKopie::ZeSterownikiemClick() {
    const QList<TKopia> z = Zaznaczone();
    if (z.size() == 1) Porownaj(z[0], Sterownik, LangText(4204));
}

void TFormKopie::DwieClick() {
    const QList<TKopia> z = Zaznaczone();
    if (z.size() != 2) {
        LangMessage(4263, 64);
        return;
    }
    // The older one is A, so the report reads as what changed since.
    QString error;
    const auto nowsza = WczytajObraz(z[0].Sciezka, &error, true);
    if (!nowsza) {
        LangMessageText(QDir::toNativeSeparators(z[0].Sciezka) + QStringLiteral(": ") + error, 16);
        return;
    }
    Porownaj(z[1], nowsza.get(), NazwaKopii(z[0]));
}

void TFormKopie::PrzywrocClick() {
    const QList<TKopia> z = Zaznaczone();
    if (z.size() != 1) return;
    if (!Sterownik->PortConnected()) {
        LangMessage(4264, 16);
        return;
    }
    QString pytanie = LangText(4262);
    if (z[0].Numer != Sterownik->NumerKopii()) {
        TRaportZmian r;
        r.NumerA = z[0].Numer;
        r.NumerB = Sterownik->NumerKopii();
        pytanie = r.LiniaInnySterownik() + QLatin1Char('\n') + pytanie;
    }
    if (LangMessageText(pytanie, 52) != 6) return;
    if (OnPrzywroc) OnPrzywroc(z[0].Sciezka);
    Odswiez();
}

void TFormKopie::FolderClick() {
    if (!Sterownik) return;
    const TMagazynKopii m(Sterownik->DocumentsFolder);
    QString folder = Wszystkie->isChecked() ? m.Folder() : m.FolderSterownika(Sterownik->NumerKopii());
    if (!QFileInfo(folder).isDir()) folder = m.Folder();
    QDir().mkpath(folder);
    if (OnOtworzFolder) OnOtworzFolder(folder);
}
