#pragma once
// What the controller says about itself: model, serial number, date of production, version and the
// number of injectors, all read-only from the link's image. A 1 s timer fills the fields once more
// when the history read that follows a connection has finished, so a window opened right after
// connecting shows the values the reads brought.
#include <QDialog>
#include <QTimer>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class TSterownik;

class TFormDevice : public QDialog {
    Q_OBJECT
public:
    explicit TFormDevice(QWidget *parent = nullptr);

    // Handed over by the opener before every opening.
    void Przygotuj(TSterownik *link, const QColor &background, const QColor &text, const QFont &font);
    void Wypelnij();
    // Refresh tick (public so tests can drive it).
    void Timer1Timer();

    TSterownik *Sterownik = nullptr;
    std::array<QLabel *, 5> Labels{};
    std::array<QLineEdit *, 5> Pola{};
    QPushButton *ButtonOk = nullptr;
    QTimer Timer1;

protected:
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;
};
