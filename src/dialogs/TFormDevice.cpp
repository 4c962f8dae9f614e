#include "dialogs/TFormDevice.h"

#include "device/TSterownik.h"
#include "dialogs/OknoDialogu.h"
#include "lang/LangText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormDevice::TFormDevice(QWidget *parent) : QDialog(parent, OknoDialogu::Flagi()) {
    setObjectName(QStringLiteral("FormDevice"));
    setFixedSize(600, 400);
    for (int i = 0; i < 5; ++i) {
        Labels[size_t(i)] = new QLabel(this);
        Labels[size_t(i)]->setGeometry(24, 40 + i * 56, 250, 32);
        Pola[size_t(i)] = new QLineEdit(this);
        Pola[size_t(i)]->setReadOnly(true);
        Pola[size_t(i)]->setGeometry(284, 40 + i * 56, 292, 32);
    }
    ButtonOk = new QPushButton(QStringLiteral("OK"), this);
    ButtonOk->setGeometry(250, 340, 100, 36);
    ButtonOk->setDefault(true);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &TFormDevice::Timer1Timer);
}

void TFormDevice::Przygotuj(TSterownik *link, const QColor &background, const QColor &text,
                            const QFont &font) {
    Sterownik = link;
    OknoDialogu::Kolory(this, background, text, font);
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(1330));
    for (int i = 0; i < 5; ++i)
        Labels[size_t(i)]->setText(LangText(1331 + i));
}

void TFormDevice::Wypelnij() {
    if (!Sterownik) return;
    TSterownik &s = *Sterownik;
    const QString texts[5] = {s.StrWersjaSterownika(), s.StrNrSeryjny(), s.StrDataProdukcji(),
                              s.StrWersjaCyframi(5), s.StrIleWtryskiwaczy()};
    for (int i = 0; i < 5; ++i)
        Pola[size_t(i)]->setText(texts[i]);
}

void TFormDevice::Timer1Timer() {
    if (!Sterownik) {
        Timer1.stop();
        return;
    }
    if (Sterownik->ReadRequests & (1u << BitHistoria)) return;
    Timer1.stop();
    Wypelnij();
}

void TFormDevice::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    if (!Sterownik) {
        OknoDialogu::ZamknijPozniej(this);
        return;
    }
    Wypelnij();
    Timer1.start();
}

void TFormDevice::hideEvent(QHideEvent *e) {
    Timer1.stop();
    QDialog::hideEvent(e);
}
