#pragma once
// The workshop's details for the service report (name, address, phone) and the incomplete monitors
// an emissions inspection allows; OK hands them back, Cancel leaves them as they were.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

class TFormWarsztat : public QDialog {
    Q_OBJECT
public:
    explicit TFormWarsztat(QWidget *parent = nullptr);

    void Przygotuj(const QString &nazwa, const QString &adres, const QString &telefon, int dozwolone,
                   const QColor &background, const QColor &text);

    QString NazwaWarsztatu() const;
    QString AdresWarsztatu() const;
    QString TelefonWarsztatu() const;
    int Dozwolone() const;

    QLabel *EtykietaNazwy, *EtykietaAdresu, *EtykietaTelefonu, *EtykietaDozwolonych, *Podpowiedz;
    QLineEdit *Nazwa, *Telefon;
    QPlainTextEdit *Adres;
    QSpinBox *Liczba;
    QPushButton *Ok, *Anuluj;
};
