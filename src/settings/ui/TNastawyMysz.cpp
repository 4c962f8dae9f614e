// Mouse, keys, the auto-repeat of a held - or + button and the pop-up list of a choice item.
#include "settings/ui/TNastawy.h"

#include "device/TSterownik.h"
#include "settings/TKatalogNastaw.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

namespace {

bool Liczba(int kind) {
    return kind == NastawaLiczba || kind == NastawaPrzesuniecie || kind == NastawaLiczba2;
}

bool MaDialog(int item) {
    return item == 8 || item == 40 || item == 57 || item == 63 || item == 96;
}

bool W(int x, int a, int b) {
    return x >= a && x <= b;
}

} // namespace

void TNastawy::Beep() {
    if (Katalog && Katalog->OnBeep)
        Katalog->OnBeep();
    else
        QApplication::beep();
}

void TNastawy::Zmien(int item, int value) {
    ZmianaItem = item;
    // The steps of one held - or + button are one step of the journal; a run begins with the press
    // that starts the timer (no repeat yet).
    TSterownik *s = Katalog->PodajSterownik();
    if (!Timer.isActive())
        Przebieg = 0;
    else if (RepeatCount == 0 && s)
        Przebieg = s->Dziennik.NowyGest();
    TZmiana krok(s ? &s->Dziennik : nullptr, 1u << BitNastawy, QString(), Przebieg);
    Katalog->UstawNastawe(item, value);
    ZmianaItem = -1;
}

void TNastawy::OtworzDialog(int item) {
    if (!Dialogi) return;
    MouseUp();
    Dialogi->Otworz(item, font());
    viewport()->update();
}

// One step of a number from the - or + button; starts or continues the auto-repeat.
void TNastawy::Krok(int item, int delta, int x, int y) {
    const TNastawa &n = Katalog->Rekord(item);
    const int v = Katalog->Wartosc(item);
    const bool mozna = delta < 0 ? v > n.Min : v < n.Max;
    // A locked page refuses every step: one beep, and no repeat that would beep on and on.
    if (!mozna || Katalog->BlokadaZmian) {
        Timer.stop();
        Beep();
        return;
    }
    if (!Timer.isActive()) Timer.start();
    RepeatX = x;
    RepeatY = y;
    Zmien(item, v + delta);
}

void TNastawy::MouseDown(int x, int y) {
    if (!Katalog || RowHeight <= 0 || y < 0) return;
    const int col = x > ColWidth ? 1 : 0;
    const int row = std::min(y / RowHeight + PierwszyWiersz(), RowCount - 1);
    const int code = Komorka(col, row);
    if (code < 0) {
        ZamknijListe();
        if (code == -10)
            OtworzDialog(x < Stop(0, 2) ? TDialogiNastaw::KorektyWtryskiwaczy : TDialogiNastaw::Kalkulator);
        return;
    }
    if (!Katalog->CzyDostepna(code)) return;

    const int oldRow = SelRow;
    SelCol = col;
    SelRow = row;
    OdswiezWiersz(oldRow);
    OdswiezWiersz(row);

    const auto &s = Stops[size_t(col)];
    const int kind = Katalog->Rekord(code).Rodzaj();
    if (Liczba(kind)) {
        if (W(x, s[3], s[4]))
            Krok(code, -1, x, y);
        else if (W(x, s[4], s[5]))
            Krok(code, +1, x, y);
    } else if (kind == NastawaFlaga) {
        if (W(x, s[4], s[5])) Zmien(code, Katalog->Wartosc(code) == 0 ? 1 : 0);
    } else if (kind == NastawaWybor) {
        if (W(x, s[4], s[5])) {
            // The press that took the focus from the open list has already closed it.
            if (ListaTag == code || ListaZamknietaMysza == code)
                ZamknijListe();
            else
                OtworzListe(code, col, row);
            return;
        }
    }
    if (MaDialog(code) && W(x, s[6], s[7])) {
        ZamknijListe();
        OtworzDialog(code);
        return;
    }
    ZamknijListe();
}

void TNastawy::MouseUp() {
    RepeatX = RepeatY = -1;
    RepeatCount = 0;
    Timer.stop();
    Timer.setInterval(600);
}

void TNastawy::TimerPowtarzaniaTimer() {
    ++RepeatCount;
    Timer.setInterval(RepeatCount < 3 ? 600 : RepeatCount < 10 ? 300 : RepeatCount < 30 ? 100 : 30);
    if (RepeatX < 0 || !isVisible()) {
        MouseUp();
        return;
    }
    MouseDown(RepeatX, RepeatY);
}

bool TNastawy::MyKeyDown(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int item = Komorka(SelCol, SelRow);
        // Decorations and empty cells have no value to step.
        if (item < 0 || !Katalog) return true;
        const TNastawa &n = Katalog->Rekord(item);
        const int v = Katalog->Wartosc(item);
        if (key == Qt::Key_Left ? v > n.Min : v < n.Max)
            Zmien(item, v + (key == Qt::Key_Left ? -1 : 1));
        else
            Beep();
        return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int to = SelRow + (key == Qt::Key_Up ? -1 : 1);
        if (to < 1 || to > RowCount - 1) {
            Beep();
            return true;
        }
        const int old = SelRow;
        SelRow = to;
        // Keep the selected row in view.
        QScrollBar *bar = verticalScrollBar();
        const int visible = std::max(1, bar->pageStep());
        if (to < bar->value())
            bar->setValue(to);
        else if (to >= bar->value() + visible)
            bar->setValue(to - visible + 1);
        OdswiezWiersz(old);
        OdswiezWiersz(to);
        return true;
    }
    case Qt::Key_Escape:
        if (ListaTag == 0) return false;
        ZamknijListe();
        return true;
    default: return false;
    }
}

void TNastawy::OtworzListe(int item, int col, int row) {
    if (!Lista) {
        Lista = new QListWidget(viewport());
        Lista->setObjectName(QStringLiteral("ListaWyboru"));
        Lista->setFrameShape(QFrame::Box);
        Lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QPalette pal = Lista->palette();
        pal.setColor(QPalette::Base, QColor(255, 235, 172));
        pal.setColor(QPalette::Text, Qt::black);
        Lista->setPalette(pal);
        Lista->installEventFilter(this);
        connect(Lista, &QListWidget::itemPressed, this, [this](QListWidgetItem *it) {
            Lista->setCurrentItem(it);
            ListaWyboruClick();
        });
    }
    Lista->hide();
    const TNastawa &n = Katalog->Rekord(item);
    const QRect cell = ProstokatKomorki(col, row);
    QFont f = font();
    Lista->setFont(f);
    Lista->clear();
    const QFontMetrics fm(f);
    int width = Stop(col, 4) - Stop(col, 2);
    for (int v = n.Min; v <= n.Max; ++v) {
        const QString t = Katalog->TekstNastawy(item, v);
        Lista->addItem(t);
        width = std::max(width, fm.horizontalAdvance(t) + 8);
    }
    Lista->setCurrentRow(std::clamp(Katalog->Wartosc(item) - n.Min, 0, std::max(Lista->count() - 1, 0)));
    const int entry = std::max(1, Lista->sizeHintForRow(0));
    const int gh = viewport()->height();
    int height = Lista->count() * entry + 5;
    int top = cell.bottom() + 1;
    if (top + height > gh) top = gh - height;
    if (top < 0 || height > gh) {
        top = 0;
        height = gh;
    }
    Lista->setGeometry(Stop(col, 2), top, width, height);
    ListaTag = item;
    Lista->show();
    Lista->raise();
    Lista->setFocus();
    OdswiezWiersz(row);
}

void TNastawy::ZamknijListe() {
    if (!Lista || ListaTag == 0) return;
    ListaTag = 0;
    const bool fokus = Lista->hasFocus();
    Lista->hide();
    if (fokus && isVisible()) setFocus();
    OdswiezWiersz(SelRow);
}

void TNastawy::ListaWyboruClick() {
    const int item = ListaTag;
    if (!Lista || item == 0 || Lista->currentRow() < 0) return;
    const int value = Lista->currentRow() + Katalog->Rekord(item).Min;
    ZamknijListe();
    Zmien(item, value);
}

bool TNastawy::eventFilter(QObject *o, QEvent *e) {
    if (o == Lista) {
        if (e->type() == QEvent::FocusOut) {
            // A press on the grid takes the focus before the grid sees the press: remember which list
            // it closed, so that a press on that item's arrow closes the list instead of reopening it.
            if (static_cast<QFocusEvent *>(e)->reason() == Qt::MouseFocusReason &&
                QApplication::focusWidget() == this) {
                ListaZamknietaMysza = ListaTag;
                QTimer::singleShot(0, this, [this] { ListaZamknietaMysza = 0; });
            }
            ZamknijListe();
        } else if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(e)->key();
            if (key == Qt::Key_Escape) {
                ZamknijListe();
                return true;
            }
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                ListaWyboruClick();
                return true;
            }
        }
    }
    return QAbstractScrollArea::eventFilter(o, e);
}

void TNastawy::mousePressEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton) {
        const QPoint p = e->position().toPoint();
        MouseDown(p.x(), p.y());
    }
    ListaZamknietaMysza = 0;
    e->accept();
}

void TNastawy::mouseReleaseEvent(QMouseEvent *e) {
    MouseUp();
    e->accept();
}

void TNastawy::keyPressEvent(QKeyEvent *e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        e->ignore();
        return;
    }
    if (MyKeyDown(e->key()))
        e->accept();
    else
        e->ignore();
}

void TNastawy::focusInEvent(QFocusEvent *e) {
    QAbstractScrollArea::focusInEvent(e);
    OdswiezWiersz(SelRow);
}

void TNastawy::focusOutEvent(QFocusEvent *e) {
    QAbstractScrollArea::focusOutEvent(e);
    OdswiezWiersz(SelRow);
}
