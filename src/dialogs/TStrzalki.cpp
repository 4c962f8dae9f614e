#include "dialogs/TStrzalki.h"

#include <QToolButton>
#include <algorithm>

TStrzalki::TStrzalki(QWidget *parent, int tag) : QWidget(parent), tag_(tag) {
    Lewa = new QToolButton(this);
    Prawa = new QToolButton(this);
    Lewa->setIcon(QIcon(QStringLiteral(":/img/RC_ARROW_LEFT.png")));
    Prawa->setIcon(QIcon(QStringLiteral(":/img/RC_ARROW_RIGHT.png")));
    for (QToolButton *b : {Lewa, Prawa}) {
        b->setAutoRepeat(true); // held like the system's arrows
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(Lewa, &QToolButton::clicked, this, [this] { Krok(-1); });
    connect(Prawa, &QToolButton::clicked, this, [this] { Krok(1); });
    resize(36, 22);
}

void TStrzalki::UstawZakres(int min, int max) {
    min_ = std::min(min, max);
    max_ = std::max(min, max);
    pozycja_ = std::clamp(pozycja_, min_, max_);
}

void TStrzalki::UstawPozycje(int position) {
    pozycja_ = std::clamp(position, min_, max_);
}

void TStrzalki::Krok(int direction) {
    const int nowa = std::clamp(pozycja_ + (direction < 0 ? -1 : 1), min_, max_);
    if (nowa == pozycja_) return;
    pozycja_ = nowa;
    emit Zmiana(tag_, pozycja_);
}

void TStrzalki::resizeEvent(QResizeEvent *) {
    const int half = width() / 2;
    Lewa->setGeometry(0, 0, half, height());
    Prawa->setGeometry(half, 0, width() - half, height());
}
