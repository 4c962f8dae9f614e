#pragma once
// The map and chart view: the multiplier curve over the learnt petrol and gas maps (mode 0), the
// correction curves (modes 2-4) and the map tables (modes 1, 5, 6, 7). The picture is composed off
// screen from the background and the image's data on the view's timer and after every edit; the live
// cursor is painted over it on its own, so a poll reply repaints two thin lines only.
//
// Implementation files: TGrafika.cpp (modes, composition, timer, cursor), TGrafikaTlo.cpp
// (background), TGrafikaDane.cpp (data of the charts), TGrafikaEdycja.cpp (keys and mouse of the
// charts), TGrafikaTabele.cpp (the table modes), TGrafikaArkusz.cpp (clipboard, block tools, the
// journal's steps of the view).
#include "charts/Wykres2D.h"
#include "widgets/TPaleta.h"
#include "widgets/TWidoki.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>

class QLineEdit;
class QTimer;
class TTabelaMapy;

class TGrafika : public QWidget, public TWidokMapy {
public:
    TGrafika(QWidget *parent, TSterownik *link);
    ~TGrafika() override;

    // TWidokMapy
    QWidget *Widget() override { return this; }
    void UstawTryb(int mode) override;
    void UstawPoziom(int level) override;
    void Ukryj() override;
    void NoweParametry(const uint8_t *reply) override;
    void KlawiszMapy(int key, Qt::KeyboardModifiers mods) override;
    void KasujKorekte() override;
    void UstawKolory(const TPaleta &p) override;
    void RysujTlo() override;
    void Rysuj() override;

    // The refresh timer's handler (public so tests drive it).
    void TimerTick();
    // The exclamation beep (tests count it).
    std::function<void()> OnBeep;

    int Tryb() const { return tryb_; }
    int Poziom() const { return poziom_; }
    const Wykres2D::TObszar &Obszar() const { return o_; }
    const QImage &Obraz() const { return obraz_; }
    QLineEdit *PoleFokusu() const { return pole_; }
    TTabelaMapy *TabelaGorna() const { return gorna_; }
    TTabelaMapy *TabelaDolna() const { return dolna_; }
    int WybranyWezel() const { return wezel_; }
    int WybranyPunkt() const { return punkt_; }
    int KursorX() const { return kursorX_; }
    int KursorY() const { return kursorY_; }
    int ZawartoscGornej() const { return zawartosc_; }
    int ZywaKolumna() const { return zywaC_; }
    int ZywyWiersz() const { return zywyR_; }
    int OdstepTimera() const;
    int LiczbaRysowan() const { return rysowan_; }
    // The two lines of the selected knot's or point's box as last drawn (empty without a box).
    QString Etykieta(int line) const { return etykiety_[line & 1]; }
    // The message of the last refused paste (shown as a tip beside the view).
    QString Komunikat() const { return komunikat_; }

    // Mouse press at view position p (the widget's handler; tests call it directly).
    void Nacisnij(QPoint p, Qt::MouseButton button);
    // Mouse moved to p with the left button held: the selected knot or point follows it.
    void Przeciagnij(QPoint p);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void showEvent(QShowEvent *) override;
    void mousePressEvent(QMouseEvent *) override;
    void mouseMoveEvent(QMouseEvent *) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // Background pieces (TGrafikaTlo.cpp).
    void TloWykresu(class QPainter &g);
    void TloTrybu0(class QPainter &g);
    // Data (TGrafikaDane.cpp).
    void DaneTrybu0(class QPainter &g);
    void DaneKorekty(class QPainter &g);
    void RysujWezly(class QPainter &g, const QPoint *pts, const int *idx, int n, int selected, bool box,
                    const QString *l1, const QString *l2);
    // Tables (TGrafikaTabele.cpp).
    void UtworzTabele();
    void UkladTabel();
    void WypelnijTabele();
    void TloTabel(class QPainter &g);
    void KlawiszTabeli(int key, Qt::KeyboardModifiers mods);
    void KlikTabeli(TTabelaMapy *t, int col, int row);
    void WpisPola();
    void ParkujPole();
    void ZmienTabele(int delta, bool all);
    void ZmienZywa(int delta);
    uint8_t *TabelaEdytowana() const;
    uint32_t MaskaTabeli() const;
    void Kursor(int x, int y);
    void Beep();
    void Zapisz(uint32_t mask);
    // The spreadsheet side and the journal (TGrafikaArkusz.cpp).
    bool KlawiszArkusza(int key, Qt::KeyboardModifiers mods);
    void MenuTabeli(TTabelaMapy *t, QPoint global);
    void KopiujTabele(TTabelaMapy *t);
    void WklejTabele();
    void NarzedzieBloku(int narzedzie);
    void KopiujPunkty();
    void WklejPunkty();
    void Odmowa(const QString &text);
    void WpisPolaKrok();
    class TDziennik *Dziennik() const;
    uint32_t MaskaWidoku() const;
    QString OpisWidoku() const;
    QString OpisKlawisza(int key, Qt::KeyboardModifiers mods) const;
    Wykres2D::TMnoznik Mnoznik();
    Wykres2D::TKorekta Korekta();
    uint8_t *BlokKorekty() const;
    bool Fokus() const;
    // Adaptation offset the multiplier knots are drawn with (identification byte 67 - 128).
    int PrzesuniecieWezlow() const;
    // A press that picked a knot or point at p: a move of ProgPrzeciagania pixels from it drags.
    void Chwyc(QPoint p);
    static constexpr int ProgPrzeciagania = 4;
    bool Wykres() const { return tryb_ == 0 || (tryb_ >= 2 && tryb_ <= 4); }
    bool Tabela() const { return tryb_ == 1 || (tryb_ >= 5 && tryb_ <= 7); }
    int Item(int i) const;

    TSterownik *s_;
    TPaleta p_;
    int tryb_ = 1;
    int poziom_ = 1;
    QImage tlo_, obraz_;
    QSize rozmiarTla_;
    Wykres2D::TObszar o_;
    int wezel_ = -1;
    int punkt_ = -1;
    int kursorX_ = -1, kursorY_ = -1;
    QPoint chwyt_{-1, -1}; // where the press that may start a drag was; x < 0: none
    bool ciagnie_ = false; // the drag has started (moved far enough from chwyt_)
    bool rysuje_ = false;
    int rysowan_ = 0;
    QTimer *timer_ = nullptr;
    QLineEdit *pole_ = nullptr;
    TTabelaMapy *gorna_ = nullptr;
    TTabelaMapy *dolna_ = nullptr;
    int zawartosc_ = 2;
    int zywaC_ = -1, zywyR_ = -1;
    int poleKol_ = -1, poleWiersz_ = -1; // header cell the entry box edits
    QFont fontKomorek_, fontRogu_;
    QString etykiety_[2];
    uint32_t gest_ = 0; // the journal's gesture of the mouse press: one drag is one step
    QString komunikat_;
};
