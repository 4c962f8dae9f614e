#pragma once
// The service report on paper: written as a PDF by the framework's own PDF writer (A4, the pages
// numbered), as an HTML file for e-mail, or printed. Needs a QGuiApplication (tarven-cli makes one on
// the offscreen platform for its report command).
#include <QString>

class QPrinter;

// Writes the report's HTML to path: a PDF when the name ends in ".pdf", else the HTML itself (UTF-8).
// The file is written beside and renamed into place; false with the reason in *error.
bool ZapiszRaport(const QString &html, const QString &path, QString *error);

// The PDF's bytes.
QByteArray RaportPdf(const QString &html, const QString &title);

// Prints the report on a printer the print dialog has set up.
void DrukujRaport(const QString &html, QPrinter &printer);
