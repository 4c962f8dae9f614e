#pragma once
// Horizontal step arrows beside a read-only field: a left and a right button that move a position
// within a range by one step. Only a user's step is reported; setting the position from code is silent,
// so a dialog can refill its arrows from the settings block without changing anything.
#include <QWidget>

class QToolButton;

class TStrzalki : public QWidget {
    Q_OBJECT
public:
    explicit TStrzalki(QWidget *parent = nullptr, int tag = 0);

    void UstawZakres(int min, int max);
    void UstawPozycje(int position); // clamped to the range, no signal
    int Pozycja() const { return pozycja_; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Tag() const { return tag_; }
    void UstawTag(int tag) { tag_ = tag; }

    // One step as a click on an arrow would make it (+1 right, -1 left); at the limit nothing happens.
    void Krok(int direction);

    QToolButton *Lewa;
    QToolButton *Prawa;

signals:
    // The user stepped to a new position (already within the range).
    void Zmiana(int tag, int position);

protected:
    void resizeEvent(QResizeEvent *) override;

private:
    int min_ = 0;
    int max_ = 100;
    int pozycja_ = 0;
    int tag_ = 0;
};
