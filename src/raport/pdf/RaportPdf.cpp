#include "raport/pdf/RaportPdf.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>

namespace {
void Dokument(QTextDocument &doc, const QString &html) {
    doc.setDocumentMargin(0);
    doc.setHtml(html);
}
} // namespace

QByteArray RaportPdf(const QString &html, const QString &title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("TARVEN"));
        pdf.setResolution(300);
        // The document adds its own 2 cm around the text when it lays out the pages.
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
        QTextDocument doc;
        Dokument(doc, html);
        doc.print(&pdf);
    }
    return bytes;
}

bool ZapiszRaport(const QString &html, const QString &path, QString *error) {
    const bool pdf = QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
    QByteArray bytes;
    if (pdf) {
        QTextDocument doc;
        doc.setHtml(html);
        bytes = RaportPdf(html, doc.metaInformation(QTextDocument::DocumentTitle));
    } else {
        bytes = html.toUtf8();
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        *error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

void DrukujRaport(const QString &html, QPrinter &printer) {
    QTextDocument doc;
    Dokument(doc, html);
    doc.print(&printer);
}
