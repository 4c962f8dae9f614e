#pragma once
// The service report of the visit as the customer gets it: a preview of the document, saved as a
// PDF or as HTML for e-mail, or printed through the system's print dialog.
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTextBrowser;

class TFormRaportSerwisowy : public QDialog {
    Q_OBJECT
public:
    explicit TFormRaportSerwisowy(QWidget *parent = nullptr);

    // The report's HTML; folder: where the file boxes start.
    void Przygotuj(const QString &html, const QString &folder, const QColor &background, const QColor &text);
    // Writes the report (a PDF for ".pdf", else HTML); false with the reason shown in the window.
    bool ZapiszDo(const QString &path);

    // Tests: the file box's answer instead of the box (an empty path = Cancel).
    std::function<QString(bool pdf)> OnWybierzPlik;

    QTextBrowser *Podglad;
    QLabel *Wynik; // the file written, or why not
    QPushButton *Pdf, *Html, *Drukuj, *Zamknij;

private:
    void ZapiszClick(bool pdf);
    void DrukujClick();
    QString html_, folder_, nazwa_;
};
