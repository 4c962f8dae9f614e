// Views (basic, full, advanced), colour schemes and the window-size presets.
#include "app/TForm1.h"

#include "app/TListaKanalow.h"
#include "app/TPanelPrawy.h"
#include "device/TSterownik.h"
#include "obd/ui/TPanelObd.h"
#include "obd/ui/TWidokPojazdu.h"
#include "widgets/TRichBox.h"

#include <QAction>
#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

namespace {
// Series always shown in the basic and full views: revolutions, vacuum, gas pressure, reducer and gas
// temperature.
constexpr int SeriePodstawowe[] = {1, 3, 4, 6, 7};
} // namespace

void TForm1::MenuView0Click(int tag) {
    ViewIndex = tag >= 0 && tag <= 2 ? tag : (ViewIndex + 1) % 3;
    ActView[size_t(ViewIndex)]->setChecked(true);
    UstawWidok();
    Relabel();
    SpeedButton1Click(-1);
}

void TForm1::UstawWidok() {
    if (ViewIndex == 2) {
        PanelRight->UstawZaawansowany(true);
        TabObd[3]->show();
        PanelTopTab3Resize();
        PanelRight->PanelRightResize();
        PanelLeft->show();
    } else {
        if (RightCollapsed) PanelRightZwin(false);
        if (PodzakladkaObd() == 3) {
            WybierzPodzakladkeObd(0);
            SpeedButton31Click();
        }
        TabObd[3]->hide();
        PanelTopTab3Resize();
        PanelRight->UstawZaawansowany(false);
        for (int k : SeriePodstawowe)
            if (size_t(k) < Sterownik1->Wykresy.size())
                Sterownik1->Wykresy[size_t(k)].Flags |= WykresDrawn | WykresReadings;
        PanelRight->PanelRightResize();
        PanelLeft->hide();
    }
    PanelRight->StringGridParametry->viewport()->update();
    Nastawy->UstawPoziom(ViewIndex);
    Grafika->UstawPoziom(ViewIndex);
}

void TForm1::MenuColor0Click(int tag) {
    SchemeIndex = tag >= 0 && tag <= 5 ? tag : (SchemeIndex + 1) % 6;
    ActColor[size_t(SchemeIndex)]->setChecked(true);
    UstawSchemat();
}

void TForm1::UstawSchemat() {
    Paleta = PaletaSchematu(SchemeIndex);
    const TPaleta &p = Paleta;
    // 1-2. The views take their colours from the palette.
    Nastawy->UstawKolory(p);
    Grafika->UstawKolory(p);
    Scope->UstawKolory(p);

    // 3. Window, strips, boxes, grids, banners.
    KoloryPanelu(centralWidget(), p.Background, p.Text);
    centralWidget()->setAutoFillBackground(true);
    QPalette win = centralWidget()->palette();
    win.setColor(QPalette::Button, Kolor(p.Background));
    win.setColor(QPalette::ButtonText, Kolor(p.Text));
    centralWidget()->setPalette(win);
    KoloryPanelu(Centrum, p.Background, p.Text);
    for (QToolButton *s : {StripLeft, StripRight}) {
        QPalette sp = s->palette();
        sp.setColor(QPalette::Button, Kolor(p.Splitter));
        sp.setColor(QPalette::ButtonText, Kolor(p.SplitterText));
        s->setPalette(sp);
    }
    for (TRichBox *b : {RichEditBledy, RichEditInfo, PanelObd->RichEditDtc})
        KoloryPanelu(b, p.Box, p.Text);
    for (TSiatka *g : {PanelObd->StringGridElm, PanelObd->StringGridPid})
        KoloryPanelu(g, p.Box, p.Text);
    PanelObd->Pojazd->UstawKolory(p);
    KoloryPanelu(StringGrid1, p.Background, p.Text);
    KoloryPanelu(PanelLeft, p.Background, p.Text);
    for (QLabel *b : {BannerKanaly, BannerBledy, BannerInfo})
        KoloryPanelu(b, p.Background, p.BannerText);
    for (QPushButton *b : TabMain)
        KolorPrzycisku(b, b->isChecked() ? p.SelectedTab : p.Text);
    for (QPushButton *b : TabMapy)
        KolorPrzycisku(b, b->isChecked() ? p.SelectedTab : p.Text);
    for (QPushButton *b : TabObd)
        KolorPrzycisku(b, b->isChecked() ? p.SelectedTab : p.Text);
    NormalDiagColour = TabMain[3]->isChecked() ? p.SelectedTab : p.Text;
    IkonyScope();

    // 4-5. Repaint; the fuel-switch picture is drawn anew and its lamps forgotten.
    Nastawy->Odswiez();
    if (Grafika->Widget()->isVisible()) {
        Grafika->RysujTlo();
        Grafika->Rysuj();
    }
    if (Scope->Widget()->isVisible()) Scope->Przerysuj();
    PanelRight->Kolory();
    PanelRight->PanelRightResize();
    StringGrid1->viewport()->update();
}

// The system schemes take the desktop's colours when the palette is built: a desktop change builds it
// again, so that every text is measured against the new backgrounds.
void TForm1::changeEvent(QEvent *e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ApplicationPaletteChange && SchemeIndex / 2 == 0 && Nastawy) UstawSchemat();
}

void TForm1::UstawRozmiar(int width, int height) {
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) showNormal();
    resize(width, height);
}
