#pragma once
// The service report a customer takes home: what the workshop did to the car and to its gas
// controller during one visit. Plain data gathered from the engines (the vehicle read at arrival and
// now, the controller's identification and error log, the change report since the connection, the
// backups taken) and turned into one HTML document in the current language; RaportPdf makes a PDF
// of it or prints it.
#include "backup/RaportZmian.h"
#include "obd/ObdInspekcja.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

class TSterownik;

struct TWarsztat {
    QString nazwa, adres, telefon;
};

// The gas controller as the report shows it.
struct TRaportSterownika {
    QString model, numer, wersja, dataProdukcji, czasGaz, czasBenzyna;
    std::optional<QStringList> bledy; // the error log's lines; empty when it was not read
};

struct TRaportSerwisowy {
    TWarsztat warsztat;
    QDateTime czas;
    int dozwolone = 1; // incomplete monitors an inspection allows

    std::optional<TObdWizyta> pojazd;           // empty: no adapter connected
    std::optional<TRaportSterownika> sterownik; // empty: no controller connected

    // The settings changed since the connection: the report between the backup taken then (A) and
    // the controller now (B). Empty with bazaZmian empty when no such backup is known.
    std::optional<TRaportZmian> zmiany;
    QString bazaZmian; // file name of that backup
    QStringList kopie; // file names of the backups taken during the visit
};

// The controller's part: identification texts and, when a report (reply 0x82, header included) was
// read, the error log as the error box lists it.
TRaportSterownika OpisSterownika(TSterownik &s, const QByteArray &raportBledow);

// The whole report as one HTML document (A4 in the PDF), in the current language.
QString RaportHtml(const TRaportSerwisowy &r);

// The file name ending that chooses the format: true for ".pdf", false for ".html"/".htm"; empty for
// anything else.
std::optional<bool> RaportJakoPdf(const QString &path);
