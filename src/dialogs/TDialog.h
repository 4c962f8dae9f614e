#pragma once
// Common ground of the dialogs the settings grid and the main window open: fixed client size, the
// opener's colours and font family, centred on the opener, and the rule that a dialog shown without
// its data closes at once.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TDialog : public QDialog {
    Q_OBJECT
public:
    TDialog(QWidget *parent, const QString &name, int width, int height);

    // Background and text colours handed over by the opener.
    void Kolory(const QColor &background, const QColor &text);
    // The opener's font family; the dialog keeps its own size so its fixed layout fits.
    void Czcionka(const QFont &font);
    // Centre on the window that opened it.
    void Wysrodkuj();

    QPushButton *Ok;

protected:
    // Whether the opener handed over what the dialog works on.
    virtual bool MaDane() const = 0;
    void showEvent(QShowEvent *e) override;

    QLabel *Etykieta(int x, int y, int w, int h, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    QLineEdit *Pole(int x, int y, int w, int h); // read-only field
};
