#include "dialogs/TFormWarsztat.h"

#include "config/TConfig.h"
#include "lang/LangText.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFormWarsztat::TFormWarsztat(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormWarsztat"));
    EtykietaNazwy = new QLabel(this);
    EtykietaAdresu = new QLabel(this);
    EtykietaTelefonu = new QLabel(this);
    EtykietaDozwolonych = new QLabel(this);
    Podpowiedz = new QLabel(this);
    Nazwa = new QLineEdit(this);
    Nazwa->setObjectName(QStringLiteral("Nazwa"));
    Nazwa->setMaxLength(200);
    Adres = new QPlainTextEdit(this);
    Adres->setObjectName(QStringLiteral("Adres"));
    Adres->setTabChangesFocus(true);
    Adres->setFixedHeight(Adres->fontMetrics().lineSpacing() * 3 + 12);
    Telefon = new QLineEdit(this);
    Telefon->setObjectName(QStringLiteral("Telefon"));
    Telefon->setMaxLength(200);
    Liczba = new QSpinBox(this);
    Liczba->setObjectName(QStringLiteral("Liczba"));
    Liczba->setRange(0, TConfig::MaxAllowance);
    Ok = new QPushButton(this);
    Ok->setDefault(true);
    Anuluj = new QPushButton(this);
    connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(Anuluj, &QPushButton::clicked, this, &QDialog::reject);
    EtykietaNazwy->setBuddy(Nazwa);
    EtykietaAdresu->setBuddy(Adres);
    EtykietaTelefonu->setBuddy(Telefon);
    EtykietaDozwolonych->setBuddy(Liczba);

    auto *form = new QFormLayout;
    form->addRow(EtykietaNazwy, Nazwa);
    form->addRow(EtykietaAdresu, Adres);
    form->addRow(EtykietaTelefonu, Telefon);
    form->addRow(EtykietaDozwolonych, Liczba);
    form->addRow(QString(), Podpowiedz);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Ok);
    buttons->addWidget(Anuluj);
    auto *l = new QVBoxLayout(this);
    l->addLayout(form);
    l->addLayout(buttons);
    setMinimumWidth(460);
}

void TFormWarsztat::Przygotuj(const QString &nazwa, const QString &adres, const QString &telefon,
                              int dozwolone, const QColor &background, const QColor &text) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    setPalette(p);
    setAutoFillBackground(true);
    // The entry boxes keep the system's colours: the scheme's dark background would hide the arrows.
    for (QWidget *w : std::initializer_list<QWidget *>{Nazwa, Adres, Telefon, Liczba})
        w->setPalette(QApplication::palette());
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(4870));
    EtykietaNazwy->setText(LangText(4860) + u':');
    EtykietaAdresu->setText(LangText(4861) + u':');
    EtykietaTelefonu->setText(LangText(4862) + u':');
    EtykietaDozwolonych->setText(LangText(4863) + u':');
    Podpowiedz->setText(LangText(4875));
    Ok->setText(LangText(1082));
    Anuluj->setText(LangText(1083));
    Nazwa->setText(nazwa);
    Adres->setPlainText(adres);
    Telefon->setText(telefon);
    Liczba->setValue(dozwolone);
    Nazwa->setFocus();
}

QString TFormWarsztat::NazwaWarsztatu() const {
    return Nazwa->text().trimmed();
}
QString TFormWarsztat::AdresWarsztatu() const {
    return Adres->toPlainText().trimmed();
}
QString TFormWarsztat::TelefonWarsztatu() const {
    return Telefon->text().trimmed();
}
int TFormWarsztat::Dozwolone() const {
    return Liczba->value();
}
