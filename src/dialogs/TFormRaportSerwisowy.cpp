#include "dialogs/TFormRaportSerwisowy.h"

#include "lang/LangText.h"
#include "raport/pdf/RaportPdf.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

TFormRaportSerwisowy::TFormRaportSerwisowy(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormRaportSerwisowy"));
    resize(720, 640);
    Podglad = new QTextBrowser(this);
    Podglad->setObjectName(QStringLiteral("Podglad"));
    Podglad->setOpenLinks(false);
    Wynik = new QLabel(this);
    Wynik->setObjectName(QStringLiteral("Wynik"));
    Wynik->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Wynik->setWordWrap(true);
    Pdf = new QPushButton(this);
    Pdf->setObjectName(QStringLiteral("Pdf"));
    Html = new QPushButton(this);
    Html->setObjectName(QStringLiteral("Html"));
    Drukuj = new QPushButton(this);
    Drukuj->setObjectName(QStringLiteral("Drukuj"));
    Zamknij = new QPushButton(this);
    Zamknij->setDefault(true);
    connect(Pdf, &QPushButton::clicked, this, [this] { ZapiszClick(true); });
    connect(Html, &QPushButton::clicked, this, [this] { ZapiszClick(false); });
    connect(Drukuj, &QPushButton::clicked, this, &TFormRaportSerwisowy::DrukujClick);
    connect(Zamknij, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Pdf);
    buttons->addWidget(Html);
    buttons->addWidget(Drukuj);
    buttons->addStretch();
    buttons->addWidget(Zamknij);
    auto *l = new QVBoxLayout(this);
    l->addWidget(Podglad, 1);
    l->addWidget(Wynik);
    l->addLayout(buttons);
}

void TFormRaportSerwisowy::Przygotuj(const QString &html, const QString &folder, const QColor &background,
                                     const QColor &text) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    setPalette(p);
    setAutoFillBackground(true);
    // The page is the customer's paper: black on white whatever the scheme.
    QPalette k = Podglad->palette();
    k.setColor(QPalette::Base, Qt::white);
    k.setColor(QPalette::Text, Qt::black);
    Podglad->setPalette(k);
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(4810));
    Pdf->setText(LangText(4866));
    Html->setText(LangText(4867));
    Drukuj->setText(LangText(4868));
    Zamknij->setText(LangText(4876));
    html_ = html;
    folder_ = folder;
    nazwa_ = LangText(4810) + QStringLiteral(" ") + QDate::currentDate().toString(Qt::ISODate);
    Podglad->setHtml(html);
    Wynik->clear();
}

bool TFormRaportSerwisowy::ZapiszDo(const QString &path) {
    QString error;
    if (!ZapiszRaport(html_, path, &error)) {
        Wynik->setText(LangText(4869).arg(error));
        return false;
    }
    Wynik->setText(LangText(4877).arg(QDir::toNativeSeparators(path)));
    return true;
}

void TFormRaportSerwisowy::ZapiszClick(bool pdf) {
    QString path;
    if (OnWybierzPlik) {
        path = OnWybierzPlik(pdf);
    } else {
        const QString filtr = pdf ? QStringLiteral("PDF (*.pdf)") : QStringLiteral("HTML (*.html *.htm)");
        path = QFileDialog::getSaveFileName(
            this, LangText(pdf ? 4866 : 4867),
            folder_ + u'/' + nazwa_ + (pdf ? QStringLiteral(".pdf") : QStringLiteral(".html")), filtr);
    }
    if (path.isEmpty()) return;
    if (pdf && !path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    ZapiszDo(path);
}

void TFormRaportSerwisowy::DrukujClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(nazwa_);
    QPrintDialog dlg(&printer, this);
    if (dlg.exec() != QDialog::Accepted) return;
    DrukujRaport(html_, printer);
}
