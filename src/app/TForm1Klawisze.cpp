// Hot keys of the main window. The window sees every key before the focused control and lets it
// through, so a key typed into a text field acts here as well.
#include "app/TForm1.h"

#include "device/TSterownik.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

bool TForm1::eventFilter(QObject *o, QEvent *e) {
    if (o == PanelStatus && e->type() == QEvent::MouseButtonPress) {
        Sterownik1->FuelFastPending = 1; // fast fuel change [F11]
        return true;
    }
    if (e->type() == QEvent::Resize) {
        if (o == PanelTopTab1)
            PanelTopTab1Resize();
        else if (o == PanelTopTab2)
            PanelTopTab2Resize();
        else if (o == PanelTopTab3)
            PanelTopTab3Resize();
        else if (o == PanelBottomStatus)
            LayoutActionButtons();
    }
    if (e->type() == QEvent::KeyPress && o->isWidgetType()) {
        // A key travels from the focused control up to the window; only its first stop counts.
        auto *w = static_cast<QWidget *>(o);
        QWidget *focus = QApplication::focusWidget();
        if (w->window() == this && (w == focus || (!focus && w == this))) {
            const auto *k = static_cast<QKeyEvent *>(e);
            if (KlawiszCofania(k)) return true;
            FormKeyDown(k->key(), k->modifiers());
        }
    }
    return QMainWindow::eventFilter(o, e);
}

void TForm1::FormKeyDown(int key, Qt::KeyboardModifiers mods) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (CurrentTab == 1) Sterownik1->StartStopKalibracji();
        if (CurrentTab == 2) Sterownik1->WykonajAdaptacje();
        break;
    case Qt::Key_Space: Sterownik1->FuelAutoPending = 1; break;
    case Qt::Key_F11: Sterownik1->FuelFastPending = 1; break;
    case Qt::Key_F1: SpeedButton1Click(0); break;
    case Qt::Key_F2: SpeedButton1Click(1); break;
    case Qt::Key_F4: SpeedButton1Click(3); break;
    case Qt::Key_F5: SpeedButton1Click(4); break;
    case Qt::Key_F3:
        if (CurrentTab != 2) {
            SpeedButton1Click(2);
        } else {
            const int sub = PodzakladkaMapy();
            WybierzPodzakladkeMapy(sub >= 0 && sub < 4 ? sub + 1 : 0);
            SpeedButton11Click();
        }
        break;
    case Qt::Key_F6:
        if (CurrentTab != 5) {
            SpeedButton1Click(5);
        } else {
            WybierzPodzakladkeObd((PodzakladkaObd() + 1) % 4);
            SpeedButton31Click();
        }
        break;
    case Qt::Key_L: PanelLeftZwin(!LeftCollapsed); break;
    case Qt::Key_R: PanelRightZwin(!RightCollapsed); break;
    case Qt::Key_H:
        if (AdminFlag) MenuView0Click(-1);
        break;
    case Qt::Key_J:
        if (AdminFlag) MenuLangClick((LangIndex + 1) % 4);
        break;
    case Qt::Key_K:
        if (AdminFlag) MenuColor0Click(-1);
        break;
    case Qt::Key_Q:
        if (AdminFlag) {
            AdminFlag ^= 2;
            MenuAdmAction->setVisible(AdminFlag & 2);
            Sterownik1->ExtendedView ^= 1;
            UstawWidok();
            Relabel();
            SpeedButton1Click(-1);
        }
        break;
    default: break;
    }
    if (Grafika) Grafika->KlawiszMapy(key, mods);
}
