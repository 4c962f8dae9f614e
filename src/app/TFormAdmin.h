#pragma once
// The administrator's communication log ("Transmisja"): a window with one box of coloured lines that
// both engines write into while it is shown.
#include <QDialog>

class TRichBox;

class TFormAdmin : public QDialog {
    Q_OBJECT
public:
    explicit TFormAdmin(QWidget *parent = nullptr);
    // The log line of an engine; dropped while the window is hidden.
    void Dodaj(const QString &text, uint32_t colour);
    TRichBox *Log;

signals:
    void Zamknieto(); // closed by the user: the menu item loses its tick

protected:
    void closeEvent(QCloseEvent *e) override;
};

// The splash window: the logo picture on the scheme's background, no border.
class TFormLogo : public QDialog {
    Q_OBJECT
public:
    explicit TFormLogo(QWidget *parent = nullptr);
    void Przygotuj(const QColor &background);
};
