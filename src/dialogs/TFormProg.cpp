#include "dialogs/TFormProg.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>

TFormProg::TFormProg(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("FormProg"));
    setFixedSize(640, 200);
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(16);
    setFont(f);
    Label1 = new QLabel(this);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(10, 40, 620, 30);
    Label2 = new QLabel(QStringLiteral("0%"), this);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setGeometry(10, 80, 620, 30);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(10, 120, 620, 30);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &TFormProg::Timer1Timer);
}

void TFormProg::Przygotuj(const QColor &background, const QColor &text, const QString &caption,
                          const QString &title) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    setPalette(p);
    setAutoFillBackground(true);
    setWindowTitle(caption);
    Label1->setText(title);
}

void TFormProg::showEvent(QShowEvent *e) {
    ProgressBar1->setValue(0);
    Label2->setText(QStringLiteral("0%"));
    Timer1.start(5000);
    QDialog::showEvent(e);
}

void TFormProg::Postep(int percent) {
    percent = std::clamp(percent, 0, 100);
    ProgressBar1->setValue(percent);
    Label2->setText(QString::number(percent) + QLatin1Char('%'));
    if (isVisible()) Timer1.start(1000);
}

void TFormProg::Koniec() {
    Timer1.stop();
    if (isVisible()) done(QDialog::Accepted);
}

void TFormProg::Timer1Timer() {
    Timer1.stop();
    if (isVisible()) done(QDialog::Rejected);
}

void TFormProg::closeEvent(QCloseEvent *e) {
    Timer1.stop();
    QDialog::closeEvent(e);
}
