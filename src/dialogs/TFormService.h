#pragma once
// Running-time statistics, this PC's identifier, the controller's change history, and the next
// service inspection with its reminder. The reminder box and "Set" change settings bytes 100-102 in
// the link's image and ask for the settings block to be written; when the link refuses the write
// (controller not answering, settings not read yet) the window says the change was not sent.
#include <QDialog>
#include <QTimer>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TSterownik;

class TFormService : public QDialog {
    Q_OBJECT
public:
    explicit TFormService(QWidget *parent = nullptr);

    // Handed over by the opener before every opening.
    void Przygotuj(TSterownik *link, const QColor &background, const QColor &text, const QFont &font);
    // Fills every field from the image; the reminder box shows byte 100 without writing anything.
    void Wypelnij();
    // Refresh tick (public so tests can drive it).
    void Timer1Timer();
    // The reminder box clicked by the user, and the "Set" button.
    void CheckBox1Click();
    void Button1Click();

    // The gas-hour count at which the next inspection falls, for list entry `entry` (0 = 1000 km):
    // gas hours rounded to the nearest hour plus the distance at 50 km per hour, low 16 bits.
    static uint16_t NastepnyPrzeglad(int gasHours, int secondsInHour, int entry);

    TSterownik *Sterownik = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    QLabel *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr;
    QLabel *LabelNieWyslano = nullptr; // "the change was not sent"
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr;
    QLineEdit *Edit4 = nullptr; // hours left to the inspection
    QTableWidget *StringGrid1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *ButtonOk = nullptr;
    QTimer Timer1;

protected:
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    // Asks for the settings block to be written; shows the refusal line when it was not queued.
    void ZapiszNastawy();
    void UstawPrzypomnienie(bool on);
};
