#pragma once
// The settings grid: two columns of settings items and frame decorations, drawn cell by cell from the
// settings block on every repaint (it keeps no values of its own). Every change goes through the
// catalogue's UstawNastawe, which stores the byte and queues the block for the controller.
//
//   TNastawyUklad.cpp   pages, view levels, layout (row height, column stops, font size)
//   TNastawyRysuj.cpp   drawing of the cells
//   TNastawyMysz.cpp    mouse, keys, auto-repeat and the pop-up choice list
#include "widgets/TPaleta.h"
#include "widgets/TWidoki.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QPixmap>
#include <QStaticText>
#include <QTimer>
#include <array>
#include <functional>

class QListWidget;
class QPainter;
class TKatalogNastaw;
class TSterownik;

class TNastawy : public QAbstractScrollArea, public TWidokNastaw {
public:
    TNastawy(QWidget *parent, TSterownik *sterownik, TKatalogNastaw *katalog);
    ~TNastawy() override;

    // ---- the window's view interface
    QWidget *Widget() override { return this; }
    void UstawStrone(int page) override;
    void Rozmiesc() override;
    void UstawPoziom(int level) override;
    void Ukryj() override;
    void UstawKolory(const TPaleta &p) override;
    void Odswiez() override;
    void UstawDialogi(TDialogiNastaw *d) override { Dialogi = d; }

    // ---- handlers (public so that tests drive them the way the toolkit does)
    // Press and release at a point of the viewport (left button).
    void MouseDown(int x, int y);
    void MouseUp();
    // A key on the selected cell; returns whether the key was one of the grid's.
    bool MyKeyDown(int key);
    // One tick of the auto-repeat of a held - or + button.
    void TimerPowtarzaniaTimer();
    // The entry under the mouse in the pop-up list was pressed: store it and close the list.
    void ListaWyboruClick();

    // ---- state, read by the main window and the tests
    int Strona() const { return Page; }
    int Poziom() const { return Level; }
    int IleWierszy() const { return RowCount; }
    int Komorka(int col, int row) const; // item number or decoration code (-1 outside the page)
    int WybranaKolumna() const { return SelCol; }
    int WybranyWiersz() const { return SelRow; }
    int WysokoscWiersza() const { return RowHeight; }
    int SzerokoscKolumny() const { return ColWidth; }
    int RozmiarPrzycisku() const { return ButtonSize; }
    int RozmiarCzcionki() const { return FontSize; }
    int Stop(int col, int i) const { return Stops[size_t(col & 1)][size_t(i & 7)]; }
    // The first page (0, 1, 20, 50, 51) that shows an item at any view level; -1 when none does.
    static int StronaNastawy(int item);
    // Rectangle of a cell in viewport coordinates (the first visible row at the top).
    QRect ProstokatKomorki(int col, int row) const;
    QListWidget *ListaWyboru() const { return Lista; }
    int ListaWyboruItem() const { return ListaTag; }
    const QTimer &TimerPowtarzania() const { return Timer; }
    int LicznikPowtorzen() const { return RepeatCount; }

    // Colours of the grid, resolved from the palette.
    struct TKolory {
        QColor Tlo, Ramka, Wartosc;           // grid background, frame pen, value text
        QColor Tekst, Naglowek, Panel;        // label text, caption text, decoration fill
        QColor Pole, Wybrane, WybraneTekst;   // value box, selected box and its text
        QColor Zablokowane, ZablokowaneTekst; // greyed box and its text
        QColor Ostrzezenie;                   // value box of an item outside its safe range
        QColor RamkaJasna, RamkaCiemna;       // the two lines of the double frame
        QColor NapisZielony, NapisCzerwony;   // captions "switching to gas / petrol", changed corrections
    };
    const TKolory &Kolory() const { return K; }

    // Draws the cells of rows [first, last] into a painter (the paint handler and the benchmark).
    void RysujWiersze(QPainter &p, int first, int last);

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // layout
    void KopiujStrone();
    void UstawPasek();
    int PierwszyWiersz() const;
    void OdswiezWiersz(int row);
    void OdswiezItem(int item);
    // drawing
    void MyDrawCell(QPainter &p, int col, int row, const QRect &r);
    void RysujRamki(QPainter &p, int col, int row, const QRect &r);
    void RysujDekoracje(QPainter &p, int code, int col, const QRect &r);
    void RysujPrzyciski(QPainter &p, const QRect &r);
    void RysujItem(QPainter &p, int item, int col, int row, const QRect &r);
    void RysujPrzycisk(QPainter &p, const QRect &b, bool rounded);
    enum {
        KontrolkaTak = 1,
        KontrolkaNie,
        KontrolkaWybor,
        KontrolkaMinus,
        KontrolkaPlus,
        KontrolkaDialog,
        KontrolkaPole
    };
    void Kafel(QPainter &p, const QRect &r, uint64_t id,
               const std::function<void(QPainter &, const QRect &)> &draw);
    void Kontrolka(QPainter &p, const QRect &b, int what, bool greyed);
    const QStaticText &Napis(const QString &t, bool bold);
    bool CzyOstrzezenie(int item, int raw) const;
    bool KorektyZmienione() const;
    // input
    void Beep();
    void Krok(int item, int delta, int x, int y);
    void OtworzListe(int item, int col, int row);
    void ZamknijListe();
    void OtworzDialog(int item);
    void Zmien(int item, int value);

    TSterownik *Sterownik;
    TKatalogNastaw *Katalog;
    TDialogiNastaw *Dialogi = nullptr;

    int Page = 0;
    int Level = 1;
    std::array<int32_t, 256> Cells{};
    int RowCount = 16;
    int SelCol = 0;
    int SelRow = 1;
    std::array<std::array<int, 8>, 2> Stops{};
    int RowHeight = 20;
    int ColWidth = 100;
    int ButtonSize = 10;
    int FontSize = 7;
    int WidestLabel = 0;
    int TextHalf = 6; // half the height of "A" at the current font

    QListWidget *Lista = nullptr;
    int ListaTag = 0;
    int ListaZamknietaMysza = 0; // the list a press on the grid has just closed by taking its focus
    QTimer Timer;
    int RepeatX = -1, RepeatY = -1, RepeatCount = 0;
    int ZmianaItem = -1;   // item being changed by the grid itself (repaint its rows only)
    uint32_t Przebieg = 0; // the journal's gesture of the auto-repeat run under way

    TKolory K;
    QFont FontN, FontB; // the grid's font at the fitted size, regular and bold
    QFontMetrics FmN{QFont()}, FmB{QFont()};
    QHash<uint64_t, QPixmap> Kafle;               // drawn value boxes and buttons, by kind, colour and size
    QHash<QString, QStaticText> NapisyN, NapisyB; // laid-out texts in the regular and bold font
};
