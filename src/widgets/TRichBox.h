#pragma once
// A read-only box of coloured lines (error box, history box, trouble-code box, communication log).
// Lines are collected at once and put on screen by a short timer, so a burst of lines costs one
// repaint; the box scrolls to its last line at every change, and a double click clears it. A line in a
// colour of its own is drawn in that colour made readable on the box's background, again whenever the
// background changes; the other lines follow the box's text colour.
#include <QStringList>
#include <QTextEdit>
#include <QTimer>
#include <cstdint>

class TRichBox : public QTextEdit {
    Q_OBJECT
public:
    explicit TRichBox(QWidget *parent = nullptr);

    // Appends one line; colour 0x00BBGGRR, or -1 for the box's text colour.
    void Dodaj(const QString &line, int colour = -1);
    void Wyczysc();
    // The lines as held (including those not yet on screen).
    const QStringList &Linie() const { return linie_; }
    // Puts the waiting lines on screen now.
    void Wypisz();
    // Upper bound of lines kept; older ones are dropped (0 = no bound).
    void UstawLimit(int lines) { limit_ = lines; }

signals:
    void Wyczyszczono();

protected:
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    QColor KolorLinii(int colour) const;
    struct Linia {
        QString tekst;
        int kolor;
    };
    QStringList linie_;
    QList<Linia> oczekujace_;
    QTimer timer_;
    int limit_ = 0;
};
