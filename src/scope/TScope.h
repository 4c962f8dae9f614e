#pragma once
// The scope view: records every polling reply as a sample (TModelScope) and draws the recording as
// traces over time with the work-state bar and an overview strip of the whole recording.
//
//   TScope.cpp        commands, samples, file dialogs, paint
//   TScopeRysuj.cpp   the composed picture (RysujOscyloskop)
//   TScopeMysz.cpp    cursor read-outs and the click on the overview strip
//   TScopeNaZywo.cpp  a live sample moving the picture on instead of composing it again
#include "scope/TModelScope.h"
#include "widgets/TPaleta.h"
#include "widgets/TWidoki.h"

#include <QImage>
#include <QWidget>
#include <climits>
#include <functional>
#include <utility>
#include <vector>

class QPainter;
class TSterownik;
struct TWykres;

// What the scope asks a file dialog: titles and filters are language-table ids.
struct TDialogPlikuScope {
    bool Zapis = false;   // save dialog (else open)
    int Tytul = 0;        // 1105 read, 1106 record, 1107 CSV
    int Filtr = 0;        // 1112 scope file, 1113 CSV file
    QString Rozszerzenie; // "osc", "csv"
    QString Folder;       // initial folder, may be empty
};
// The dialog the scope opens: returns the chosen file, or "" when cancelled. Empty hook = the
// framework's modal dialog; tests install their own answer.
using THakDialoguScope = std::function<QString(const TDialogPlikuScope &)>;
THakDialoguScope &DialogPlikuScope();

class TScope : public QWidget, public TWidokScope {
    Q_OBJECT
public:
    TScope(QWidget *parent, TSterownik *link);

    // TWidokScope
    QWidget *Widget() override { return this; }
    void Polecenie(int command) override;
    void NowaProbka(const uint8_t *reply) override;
    QString CzasNagrania() const override { return model_.CzasNagrania(); }
    void UstawKolory(const TPaleta &p) override;
    void Przerysuj() override { RysujOscyloskop(false); }

    void EksportCsv() { Polecenie(7); }
    // Composes the picture; tylkoPasek: only the overview strip (a new sample while paused).
    void RysujOscyloskop(bool tylkoPasek);

    TModelScope &Model() { return model_; }
    const QImage &Obraz() const { return obraz_; }
    int KursorX() const { return kursorX_; }
    // Band height and base of each drawn channel in the last picture (catalogue index, E, G).
    struct TPasmo {
        int Seria, E, G;
    };
    const QList<TPasmo> &Pasma() const { return pasma_; }
    // Live samples that moved the picture on instead of composing it again; false: every one
    // composes it (the two must give the same picture).
    bool PrzesuwajNaZywo = true;
    int Przesuniecia() const { return przesuniecia_; }

protected:
    void paintEvent(QPaintEvent *) override;
    void showEvent(QShowEvent *) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    // Drawing steps (TScopeRysuj.cpp); r: the part of the picture to compose.
    void Rysuj(QPainter &g, const QRect &r);
    void RysujTlo(QPainter &g, const QRect &r);
    void RysujRamy(QPainter &g, const QRect &r);
    void RysujRuchome(QPainter &g, const QRect &r, bool pasek = true, int trasyDo = INT_MAX);
    void RysujRamkePaska(QPainter &g, const QRect &r);
    void RysujPasek(QPainter &g, int s, const QRect &r);
    QList<int> Kanaly() const;           // drawn series, catalogue order
    int WysokoscPasma(int kanaly) const; // E
    int UstawPasma();
    void RysujSiatke(QPainter &g, int s, int E, const QRect &r);
    void RysujKanaly(QPainter &g, int s, const QRect &r, int trasyDo);
    void RysujPasekStanu(QPainter &g, int s, const QRect &r);
    enum : int { Dzialka = 1, Czas = 2, Stan = 4 }; // the texts of step 9
    void RysujTeksty(QPainter &g, const QRect &r, int ktore);
    // A live sample moving the picture instead of composing it again (TScopeNaZywo.cpp).
    bool PrzesunNaZywo();
    QByteArray KluczKlatki() const;
    void ZapamietajKlatke();
    // Whether a live sample may move the picture on; the rows each trace covers.
    bool TrasyWPlocie(std::vector<std::pair<int, int>> &wiersze) const;
    QString Dialog(bool zapis, int tytul, int filtr, const QString &ext) const;
    const TWykres *Seria(int k) const;
    int StanPracy(int i) const; // work state of sample i, −1 for no sample
    // Cursor read-outs (TScopeMysz.cpp).
    void Odczyty(int x);

    TSterownik *link_;
    TModelScope model_;
    QImage obraz_;
    QList<TPasmo> pasma_;
    TPaleta paleta_;
    int kursorX_ = -1;
    int wcisniecieX_ = -1;
    int wcisniecieY_ = -1;
    // The last whole picture, as far as a live sample may move it on.
    struct TKlatka {
        bool Wazna = false;
        QByteArray Klucz;           // what the picture depends on besides the samples
        int64_t PierwszaProbka = 0; // number of the sample at the left edge (TModelScope::Dodane)
        bool WPlocie = false;       // traces inside the plot, the strip above it
        QString Czas;               // the time under the plot
    } klatka_;
    int przesuniecia_ = 0;
    int pasekYmax_ = 0; // lowest point of the overview strip drawn since the picture began
    QImage tlo_;        // RysujTlo of the whole view
    QByteArray tloKlucz_;
};
