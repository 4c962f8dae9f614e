#include "dialogs/TFormRaport.h"

#include "backup/RaportZmian.h"
#include "lang/LangText.h"
#include "settings/ui/TNastawy.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>

namespace {

struct TGrupa {
    int Strona;
    int NazwaId;
};
// The settings pages in the order of the tabs that show them; last the items no page shows.
constexpr TGrupa Grupy[] = {{0, 1200}, {1, 1201}, {20, 1202}, {50, 4225}, {51, 4226}, {-1, 4224}};

QTreeWidgetItem *Grupa(QTreeWidget *t, const QString &caption) {
    auto *g = new QTreeWidgetItem(t, {caption});
    QFont f = g->font(0);
    f.setBold(true);
    g->setFont(0, f);
    g->setFirstColumnSpanned(true);
    return g;
}

} // namespace

TFormRaport::TFormRaport(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormRaport"));
    resize(760, 520);
    Naglowek = new QLabel(this);
    Naglowek->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Inny = new QLabel(this);
    Inny->setObjectName(QStringLiteral("Inny"));
    QFont bold = Inny->font();
    bold.setBold(true);
    Inny->setFont(bold);
    Drzewo = new QTreeWidget(this);
    Drzewo->setColumnCount(4);
    Drzewo->setRootIsDecorated(true);
    Drzewo->setAlternatingRowColors(true);
    Zapisz = new QPushButton(this);
    Zamknij = new QPushButton(this);
    Zamknij->setDefault(true);
    connect(Zapisz, &QPushButton::clicked, this, &TFormRaport::ZapiszClick);
    connect(Zamknij, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Zapisz);
    buttons->addStretch();
    buttons->addWidget(Zamknij);
    auto *l = new QVBoxLayout(this);
    l->addWidget(Naglowek);
    l->addWidget(Inny);
    l->addWidget(Drzewo, 1);
    l->addLayout(buttons);
}

void TFormRaport::Przygotuj(const TRaportZmian &r, const QString &nazwaA, const QString &nazwaB,
                            const QColor &background, const QColor &text) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    setPalette(p);
    setAutoFillBackground(true);
    // Red that stands out on the light and on the black schemes alike.
    QPalette red = Inny->palette();
    red.setColor(QPalette::WindowText,
                 background.lightness() < 128 ? QColor(255, 112, 112) : QColor(192, 0, 0));
    Inny->setPalette(red);
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(4203));
    Zapisz->setText(LangText(4205));
    Zamknij->setText(LangText(4269));
    // The identification of each side, apart from the comparison.
    const auto strona = [](const QString &n, const QString &opis) {
        return opis.isEmpty() ? n : n + QStringLiteral("   (") + opis + QLatin1Char(')');
    };
    Naglowek->setText(QStringLiteral("A: ") + strona(nazwaA, r.OpisA) + QStringLiteral("\nB: ") +
                      strona(nazwaB, r.OpisB));
    Inny->setText(r.LiniaInnySterownik());
    Inny->setVisible(r.InnySterownik());

    Drzewo->clear();
    Drzewo->setHeaderLabels({LangText(4208), QStringLiteral("A"), QStringLiteral("B"), LangText(4209)});
    if (r.Rowne()) Grupa(Drzewo, LangText(4207));
    for (const TGrupa &g : Grupy) {
        QTreeWidgetItem *grupa = nullptr;
        for (const TZmianaNastawy &z : r.Nastawy) {
            if (TNastawy::StronaNastawy(z.Item) != g.Strona) continue;
            if (!grupa) grupa = Grupa(Drzewo, LangText(g.NazwaId));
            new QTreeWidgetItem(grupa, {z.Nazwa, z.TekstA, z.TekstB, z.Jednostka});
        }
        if (grupa) grupa->setExpanded(true);
    }
    if (!r.Bloki.isEmpty()) {
        QTreeWidgetItem *tablice = Grupa(Drzewo, LangText(4223));
        for (const TZmianaBloku &b : r.Bloki) {
            auto *blok = new QTreeWidgetItem(
                tablice, {b.Nazwa, LangText(4240).arg(b.Ile()), LangText(4241).arg(b.Najwieksza)});
            for (const TZmianaKomorki &k : b.Komorki)
                new QTreeWidgetItem(blok,
                                    {OpisKomorki(b, k.Indeks), QString::number(k.A), QString::number(k.B)});
        }
        tablice->setExpanded(true);
    }
    for (int c = 0; c < 4; ++c)
        Drzewo->resizeColumnToContents(c);
}

QString TFormRaport::Tekst() const {
    QStringList lines{windowTitle(), Naglowek->text()};
    if (Inny->isVisibleTo(this)) lines << Inny->text();
    const std::function<void(const QTreeWidgetItem *, int)> wiersz = [&](const QTreeWidgetItem *it,
                                                                         int depth) {
        QStringList cells;
        for (int c = 0; c < it->columnCount(); ++c)
            cells << it->text(c);
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        lines << QString(depth, QLatin1Char('\t')) + cells.join(QLatin1Char('\t'));
        for (int i = 0; i < it->childCount(); ++i)
            wiersz(it->child(i), depth + 1);
    };
    for (int i = 0; i < Drzewo->topLevelItemCount(); ++i) {
        lines << QString();
        wiersz(Drzewo->topLevelItem(i), 0);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool TFormRaport::ZapiszDo(const QString &path, QString *error) const {
    QSaveFile f(path);
    const QByteArray data = Tekst().toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        *error = f.errorString();
        return false;
    }
    return true;
}

void TFormRaport::ZapiszClick() {
    QFileDialog dlg(this, LangText(4205));
    dlg.setNameFilters({LangText(4206) + QStringLiteral(" (*.txt)")});
    dlg.setDefaultSuffix(QStringLiteral("txt"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    const QString path = dlg.selectedFiles().constFirst();
    QString error;
    if (!ZapiszDo(path, &error)) LangMessageText(LangText(4227).arg(error), 16);
}
