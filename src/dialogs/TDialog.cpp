#include "dialogs/TDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

TDialog::TDialog(QWidget *parent, const QString &name, int width, int height)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName(name);
    setFixedSize(width, height);
    setModal(true);
    Ok = new QPushButton(QStringLiteral("OK"), this);
    Ok->setDefault(true);
    connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TDialog::Kolory(const QColor &background, const QColor &text) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    setPalette(p);
    setAutoFillBackground(true);
}

void TDialog::Czcionka(const QFont &font) {
    QFont f = this->font();
    f.setFamilies(font.families());
    setFont(f);
}

void TDialog::Wysrodkuj() {
    if (QWidget *w = parentWidget()) move(w->window()->geometry().center() - rect().center());
}

void TDialog::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    if (!MaDane()) QTimer::singleShot(0, this, &QDialog::reject);
}

QLabel *TDialog::Etykieta(int x, int y, int w, int h, Qt::Alignment align) {
    auto *l = new QLabel(this);
    l->setGeometry(x, y, w, h);
    l->setAlignment(align);
    return l;
}

QLineEdit *TDialog::Pole(int x, int y, int w, int h) {
    auto *e = new QLineEdit(this);
    e->setGeometry(x, y, w, h);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}
