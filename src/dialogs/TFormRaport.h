#pragma once
// The change report between two states of a controller, readable at a glance: another controller
// said first, then the changed settings grouped by the settings page that shows them, then the
// tables, each of which opens to its differing cells. It can be saved as a text file.
#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;
struct TRaportZmian;

class TFormRaport : public QDialog {
    Q_OBJECT
public:
    explicit TFormRaport(QWidget *parent = nullptr);

    // Fills the window with the report of a (nazwaA) against b (nazwaB).
    void Przygotuj(const TRaportZmian &r, const QString &nazwaA, const QString &nazwaB,
                   const QColor &background, const QColor &text);
    // The report as the text file holds it (UTF-8, one line per row of the window).
    QString Tekst() const;
    bool ZapiszDo(const QString &path, QString *error) const;

    QLabel *Naglowek;
    QLabel *Inny; // "Another controller: …", shown only then
    QTreeWidget *Drzewo;
    QPushButton *Zapisz;
    QPushButton *Zamknij;

private:
    void ZapiszClick();
};
