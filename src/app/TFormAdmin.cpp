#include "app/TFormAdmin.h"

#include "widgets/TRichBox.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QVBoxLayout>

namespace {
// Long logs stay usable: the oldest lines go once this many are kept.
constexpr int LimitLinii = 20000;
} // namespace

TFormAdmin::TFormAdmin(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormAdmin"));
    setWindowTitle(QStringLiteral("Transmisja"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);
    resize(643, 304);
    Log = new TRichBox(this);
    Log->UstawLimit(LimitLinii);
    QFont f(QStringLiteral("Lucida Console"));
    f.setStyleHint(QFont::Monospace);
    f.setFamilies(
        {QStringLiteral("Lucida Console"), QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    Log->setFont(f);
    Log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(Log);
}

void TFormAdmin::Dodaj(const QString &text, uint32_t colour) {
    if (!isVisible()) return;
    // Engines put a line feed in front of a new entry; the box starts a new line for every call anyway.
    QString t = text;
    while (t.startsWith(QLatin1Char('\n')) || t.startsWith(QLatin1Char('\r')))
        t.remove(0, 1);
    Log->Dodaj(t, int(colour & 0xFFFFFF));
}

void TFormAdmin::closeEvent(QCloseEvent *e) {
    QDialog::closeEvent(e);
    emit Zamknieto();
}

TFormLogo::TFormLogo(QWidget *parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QStringLiteral("FormLogo"));
    setFixedSize(708, 490);
    auto *obraz = new QLabel(this);
    obraz->setObjectName(QStringLiteral("Image1"));
    obraz->setGeometry(4, 4, 700, 482);
    obraz->setPixmap(QPixmap(QStringLiteral(":/img/RC_LOGO_BMP.png")));
    setAutoFillBackground(true);
}

void TFormLogo::Przygotuj(const QColor &background) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    setPalette(p);
}
