#pragma once
// Progress of a firmware transfer: a title line, the percentage and a bar. A watchdog closes the
// window when the controller stops acknowledging blocks (5 s for the first, 1 s between blocks); the
// transfer itself goes on in the controller link.
#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;

class TFormProg : public QDialog {
    Q_OBJECT
public:
    explicit TFormProg(QWidget *parent = nullptr);

    // Colours and texts handed over by the opener.
    void Przygotuj(const QColor &background, const QColor &text, const QString &caption,
                   const QString &title);
    // One acknowledged block: percentage shown, watchdog restarted with 1 s.
    void Postep(int percent);
    // The last block was acknowledged.
    void Koniec();
    // Watchdog expiry (public so tests can drive it).
    void Timer1Timer();

    QLabel *Label1;
    QLabel *Label2;
    QProgressBar *ProgressBar1;
    QTimer Timer1;

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void reject() override {} // no Escape: the window closes itself
};
