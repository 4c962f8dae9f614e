// Undo and redo of the fitter's edits: the controller menu's two items, Ctrl+Z and Ctrl+Y (or
// Ctrl+Shift+Z) wherever the focus is in the window, and the views redrawn after each.
#include "app/TForm1.h"

#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

void TForm1::UtworzMenuCofania() {
    ActCofnij = new QAction(this);
    ActPonow = new QAction(this);
    ActCofnij->setObjectName(QStringLiteral("ActCofnij"));
    ActPonow->setObjectName(QStringLiteral("ActPonow"));
    // The keys are taken by the window's key filter (a text field would keep Ctrl+Z for itself);
    // the items only show them.
    ActCofnij->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    ActPonow->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction *a : {ActCofnij, ActPonow})
        a->setShortcutContext(Qt::WidgetShortcut);
    connect(ActCofnij, &QAction::triggered, this, &TForm1::Cofnij);
    connect(ActPonow, &QAction::triggered, this, &TForm1::Ponow);
    QAction *first = MenuDevice->actions().value(0);
    MenuDevice->insertActions(first, {ActCofnij, ActPonow});
    MenuDevice->insertSeparator(first);
    connect(MenuDevice, &QMenu::aboutToShow, this, &TForm1::OdswiezMenuCofania);
    OdswiezMenuCofania();
}

void TForm1::OdswiezMenuCofania() {
    if (!ActCofnij) return;
    const TDziennik *d = Sterownik1 ? &Sterownik1->Dziennik : nullptr;
    auto ustaw = [](QAction *a, const QString &head, const QString &what) {
        QString t = head;
        if (!what.isEmpty()) t += QStringLiteral(": ") + what;
        a->setText(t.replace(QLatin1Char('&'), QStringLiteral("&&")));
        a->setEnabled(!what.isEmpty());
    };
    ustaw(ActCofnij, LangText(4300), d ? d->OpisCofnij() : QString());
    ustaw(ActPonow, LangText(4301), d ? d->OpisPonow() : QString());
}

void TForm1::Cofnij() {
    if (!Sterownik1->Dziennik.Cofnij()) {
        QApplication::beep();
        return;
    }
    PoCofnieciu();
}

void TForm1::Ponow() {
    if (!Sterownik1->Dziennik.Ponow()) {
        QApplication::beep();
        return;
    }
    PoCofnieciu();
}

void TForm1::PoCofnieciu() {
    // The image changed under the views: everything that shows it is drawn again.
    Nastawy->Odswiez();
    if (Grafika->Widget()->isVisible()) {
        Grafika->RysujTlo();
        Grafika->Rysuj();
    }
    PrzebudujKanaly();
    OdswiezMenuCofania();
}

bool TForm1::KlawiszCofania(const QKeyEvent *k) {
    const auto mods = k->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (k->key() == Qt::Key_Z && mods == Qt::ControlModifier) {
        Cofnij();
        return true;
    }
    if ((k->key() == Qt::Key_Y && mods == Qt::ControlModifier) ||
        (k->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
        Ponow();
        return true;
    }
    return false;
}
