#pragma once
// Pictures of the window for the documentation (`tarven --demo --screenshot-dir DIR`): waits until
// the controller has learnt its maps (map A on petrol, then map B after a fuel change to gas), then
// shows every main tab and every OBD sub-tab that is not hidden, saves the window as one PNG file
// each, named after the tab's caption ("settings.png", "obd-elm-vehicle.png"), and closes the window.
#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <vector>

class TForm1;

class TZrzuty : public QObject {
    Q_OBJECT
public:
    TZrzuty(TForm1 *okno, const QString &folder, QObject *parent = nullptr);

    // Sizes the window to 1366 x 768 and starts the timer that calls Krok.
    void Start();
    // One step: wait for the maps, show the next tab, or grab the tab shown.
    void Krok();
    QTimer Timer; // every 250 ms: Krok

    int CzekajNaMapyMs = 150000;       // the longest wait for the maps
    int KomorekMapy = 48;              // learnt cells of map A and of map B that make a map look filled
    int PrzerwaMs = 1500;              // from showing a tab to grabbing it (live values, the map's cursor)
    qint64 GranicaBajtow = 200 * 1024; // a picture is kept below this size
    bool Koniec = false;               // every picture taken (or one could not be written)
    bool Blad = false;                 // a picture could not be written (the message on standard error)
    QStringList Zapisane;              // the files written, in order

    // File name of a tab caption: the key in brackets dropped, lower case, letters without accents
    // and digits, everything else one "-" ("Settings [F1]" -> "settings", "Moduł" -> "modul").
    static QString Nazwa(const QString &caption);
    // The PNG file of a picture, strongest compression; one that would reach the limit is stored
    // with fewer colours. Empty when the picture cannot be encoded.
    static QByteArray Png(const QImage &obraz, qint64 granica);

private:
    struct TKrok {
        QString plik;
        std::function<void()> pokaz;
    };
    int Komorki(int mapa) const;
    void Kroki();
    void Zrob(const TKrok &k);
    void Zakoncz();

    TForm1 *okno_;
    QString folder_;
    QElapsedTimer zegar_;
    bool paliwo_ = false; // the fuel change to gas requested
    std::vector<TKrok> kroki_;
    int nastepny_ = -1;     // next step to show; -1 while waiting for the maps
    bool pokazany_ = false; // step nastepny_ is shown and waits to be grabbed
};
