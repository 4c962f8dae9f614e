// Main tabs, map and OBD sub-tabs, the action buttons and the tab-bar layout.
#include "app/TForm1.h"

#include "app/TListaKanalow.h"
#include "backup/MagazynKopii.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "obd/TObd.h"
#include "obd/ui/TPanelObd.h"
#include "obd/ui/TWidokPojazdu.h"
#include "settings/TKatalogNastaw.h"
#include "widgets/TRichBox.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <optional>

namespace {
int FontDopasowany(const QFont &base, const QList<QString> &texts, int width, int from, int to) {
    QFont f = base;
    for (int size = from; size >= to; --size) {
        f.setPointSize(size);
        const QFontMetrics m(f);
        bool fits = true;
        for (const QString &t : texts)
            fits = fits && m.horizontalAdvance(t) <= width;
        if (fits) return size;
    }
    return 6;
}
} // namespace

// ------------------------------------------------------------------------------------ helpers

namespace {
void Ustaw(QPushButton *b, const QString &text, int tag, uint32_t colour) {
    b->setText(text);
    b->setProperty("tag", tag);
    QPalette p = b->palette();
    p.setColor(QPalette::ButtonText, Kolor(colour));
    b->setPalette(p);
    b->show();
}
} // namespace

int TForm1::PodzakladkaMapy() const {
    return GrupaMapy->checkedId();
}
int TForm1::PodzakladkaObd() const {
    return GrupaObd->checkedId();
}

void TForm1::WybierzPodzakladkeMapy(int sub) {
    if (sub >= 0 && sub < int(TabMapy.size())) {
        TabMapy[size_t(sub)]->setChecked(true);
    } else if (QAbstractButton *b = GrupaMapy->checkedButton()) {
        GrupaMapy->setExclusive(false);
        b->setChecked(false);
        GrupaMapy->setExclusive(true);
    }
}

void TForm1::WybierzPodzakladkeObd(int sub) {
    if (sub >= 0 && sub < 4) TabObd[size_t(sub)]->setChecked(true);
}

// ------------------------------------------------------------------------------------ main tabs

void TForm1::SpeedButton1Click(int tab) {
    for (QPushButton *b : TabMain)
        KolorPrzycisku(b, Paleta.Text);
    if (tab >= 0 && tab < 6) CurrentTab = tab;
    TabMain[size_t(CurrentTab)]->setChecked(true);
    KolorPrzycisku(TabMain[size_t(CurrentTab)], Paleta.SelectedTab);

    for (QPushButton *b : Btn)
        b->hide();
    QWidget *grid = Nastawy->Widget();
    auto nastawy = [&](QWidget *parent, int page) {
        if (grid->parentWidget() != parent) grid->setParent(parent);
        grid->setGeometry(parent->rect());
        grid->show();
        grid->raise();
        Nastawy->UstawStrone(page);
        Nastawy->Rozmiesc();
    };
    const bool zaawansowany = ViewIndex == 2;
    PanelOsc->hide();
    PanelBledy->hide();
    PanelInfo->hide();
    PanelTopTab2->hide();
    PanelTopTab3->hide();

    switch (CurrentTab) {
    case 0:
        dok_ = 0;
        Grafika->Ukryj();
        Scope->Widget()->hide();
        nastawy(Centrum, 0);
        PanelLeft->hide();
        Ustaw(Btn[3], LangText(1260), 101, Paleta.SelectedTab);
        break;
    case 1:
        Grafika->Ukryj();
        Scope->Widget()->show();
        Scope->Polecenie(1);
        dok_ = 1;
        PanelObd->hide();
        nastawy(PanelNasInfoObd, 1);
        PanelLeft->setVisible(zaawansowany);
        Ustaw(Btn[3], LangText(Sterownik1->CalStage ? 1263 : 1261) + QStringLiteral("  [Enter]"), 201,
              Paleta.SelectedTab);
        break;
    case 2:
        Scope->Widget()->hide();
        PanelLeft->hide();
        PanelTopTab2->setFixedHeight(AdminFlag >= 2 ? 50 : 25);
        PanelTopTab2->show();
        SpeedButton11Click();
        break;
    case 3:
        Nastawy->Ukryj();
        Grafika->Ukryj();
        Scope->Widget()->hide();
        dok_ = 2;
        PanelObd->hide();
        PanelInfo->show();
        PanelInfo->raise();
        PanelBledy->show();
        PanelBledy->raise();
        PanelLeft->hide();
        Ustaw(Btn[0], LangText(1265), 402, Paleta.Text);
        Ustaw(Btn[1], LangText(1266), 403, Paleta.Text);
        Ustaw(Btn[3], LangText(1264), 401, Paleta.SelectedTab);
        Sterownik1->RozkazDoSterownika(ReqReadErrors);
        break;
    case 4:
        Nastawy->Ukryj();
        Grafika->Ukryj();
        Scope->Widget()->show();
        Scope->Widget()->raise();
        dok_ = 0;
        PanelLeft->setVisible(zaawansowany);
        PanelOsc->show();
        PrzebudujKanaly();
        break;
    case 5:
        Nastawy->Ukryj();
        Grafika->Ukryj();
        Scope->Widget()->hide();
        PanelLeft->hide();
        dok_ = 3;
        PanelTopTab3->show();
        SpeedButton31Click();
        break;
    default: break;
    }
    NormalDiagColour = CurrentTab == 3 ? Paleta.SelectedTab : Paleta.Text;
    if (CurrentTab != 5) PanelObd->hide();
    if (dok_ == 0) {
        if (grid->parentWidget() == PanelNasInfoObd) Nastawy->Ukryj();
    }
    UkladDoku();
    PanelTopTab2Resize();
    PanelTopTab3Resize();
    LayoutActionButtons();
}

// ------------------------------------------------------------------------------------ map sub-tabs

void TForm1::SpeedButton11Click() {
    const int sub = PodzakladkaMapy();
    mapSub_ = sub;
    for (QPushButton *b : Btn)
        b->hide();
    QWidget *grid = Nastawy->Widget();
    dok_ = 0;
    switch (sub) {
    case 0:
        dok_ = 1;
        PanelInfo->hide();
        PanelObd->hide();
        if (grid->parentWidget() != PanelNasInfoObd) grid->setParent(PanelNasInfoObd);
        grid->setGeometry(PanelNasInfoObd->rect());
        grid->show();
        Nastawy->UstawStrone(20);
        Nastawy->Rozmiesc();
        Ustaw(Btn[0], LangText(1268), 311, Paleta.CaptionRed);
        Ustaw(Btn[1], LangText(1269), 312, Paleta.CaptionGreen);
        Ustaw(Btn[2], LangText(1271), 313, Paleta.CaptionPurple);
        break;
    case 1:
        if (ViewIndex >= 1) {
            Ustaw(Btn[0], LangText(1268), 321, Paleta.CaptionRed);
            Ustaw(Btn[1], LangText(1269), 322, Paleta.CaptionGreen);
            Ustaw(Btn[2], LangText(1272), 323, Paleta.SelectedTab);
        } else {
            Ustaw(Btn[0], LangText(1272), 323, Paleta.SelectedTab);
        }
        break;
    case 2: Ustaw(Btn[0], LangText(1272), 331, Paleta.CaptionPurple); break;
    case 3:
    case 4: Ustaw(Btn[0], LangText(1272), 341, Paleta.CaptionPurple); break;
    case 6: Ustaw(Btn[0], LangText(1272), 351, Paleta.CaptionPurple); break;
    case 7: Ustaw(Btn[0], LangText(1272), 361, Paleta.CaptionPurple); break;
    default: break;
    }
    if (dok_ == 0) Nastawy->Ukryj();
    for (int i = 0; i < int(TabMapy.size()); ++i)
        KolorPrzycisku(TabMapy[size_t(i)], i == sub ? Paleta.SelectedTab : Paleta.Text);
    Grafika->UstawTryb(sub);
    Grafika->Widget()->show();
    Grafika->Widget()->raise();
    UkladDoku();
    LayoutActionButtons();
}

// ------------------------------------------------------------------------------------ OBD sub-tabs

void TForm1::SpeedButton31Click() {
    const int sub = PodzakladkaObd();
    for (QPushButton *b : Btn)
        b->hide();
    QWidget *grid = Nastawy->Widget();
    auto nastawyWCentrum = [&](int page) {
        if (grid->parentWidget() != Centrum) grid->setParent(Centrum);
        grid->setGeometry(Centrum->rect());
        grid->show();
        grid->raise();
        Nastawy->UstawStrone(page);
        Nastawy->Rozmiesc();
    };
    PanelInfo->hide();
    switch (sub) {
    case 0:
        dok_ = 4;
        Grafika->Ukryj();
        Nastawy->Ukryj();
        PanelObd->show();
        PanelObd->raise();
        PanelObd->PokazZakladki(true);
        PanelObd->RichEditDtc->Wyczysc();
        PanelObd->PokazStatus(true);
        SpeedButton41Click();
        Ustaw(Btn[0], LangText(1273), 391, Paleta.Text);
        Ustaw(Btn[1], LangText(1274), 392, Paleta.Text);
        Ustaw(Btn[3], LangText(1118), 390, Paleta.Text);
        break;
    case 1:
    case 2:
        dok_ = 3;
        Grafika->Ukryj();
        PanelObd->show();
        PanelObd->raise();
        PanelObd->PokazZakladki(false);
        PanelObd->RichEditDtc->Wyczysc();
        PanelObd->RichEditDtc->show();
        PanelObd->StringGridPid->hide();
        PanelObd->Pojazd->hide();
        PanelObd->PokazStatus(false);
        nastawyWCentrum(sub == 1 ? 50 : 51);
        Ustaw(Btn[0], LangText(1273), sub == 1 ? 393 : 395, Paleta.Text);
        Ustaw(Btn[1], LangText(1274), sub == 1 ? 394 : 396, Paleta.Text);
        break;
    case 3:
        dok_ = 0;
        Nastawy->Ukryj();
        PanelObd->hide();
        Ustaw(Btn[0], LangText(1268), 324, Paleta.CaptionRed);
        Ustaw(Btn[1], LangText(1269), 325, Paleta.CaptionGreen);
        Ustaw(Btn[2], LangText(1272), 323, Paleta.SelectedTab);
        Grafika->UstawTryb(5);
        Grafika->Widget()->show();
        Grafika->Widget()->raise();
        break;
    default: break;
    }
    for (int i = 0; i < 4; ++i)
        KolorPrzycisku(TabObd[size_t(i)], i == sub ? Paleta.SelectedTab : Paleta.Text);
    UkladDoku();
    LayoutActionButtons();
}

void TForm1::SpeedButton41Click() {
    // Errors, PID grid or the vehicle page.
    const int tab = PanelObd->Grupa->checkedId();
    PanelObd->RichEditDtc->setVisible(tab == 0);
    PanelObd->StringGridPid->setVisible(tab == 1);
    PanelObd->Pojazd->setVisible(tab == 2);
    PanelObd->PokazStatus(tab != 2); // the vehicle page takes the whole width; its status line says enough
    QPushButton *tabs[3] = {PanelObd->SpeedButton41, PanelObd->SpeedButton42, PanelObd->SpeedButton43};
    for (int i = 0; i < 3; ++i)
        KolorPrzycisku(tabs[i], i == tab ? Paleta.SelectedTab : Paleta.Text);
}

// ------------------------------------------------------------------------------------ action buttons

void TForm1::Btn51Click(QPushButton *button) {
    Akcja(button->property("tag").toInt());
}

void TForm1::Akcja(int tag) {
    // A confirmed erase or reset is one step of the journal, named as its button.
    std::optional<TZmiana> krok;
    QString nazwa;
    for (QPushButton *b : Btn)
        if (nazwa.isEmpty() && b->property("tag").toInt() == tag) nazwa = b->text();
    auto tak = [&](int id) {
        if (LangMessage(id, 52) != 6) return false;
        krok.emplace(&Sterownik1->Dziennik, DziennikWszystko, nazwa);
        return true;
    };
    switch (tag) {
    case 101:
        // The reset may wait for the backup: its step is taken when it runs.
        if (LangMessage(2100, 52) == 6)
            PrzedZapisem(TPowodKopii::Fabryczne, [this, nazwa] {
                TZmiana reset(&Sterownik1->Dziennik, DziennikWszystko, nazwa);
                Katalog->NastawyDomyslne();
                Sterownik1->NastawyFabryczne();
            });
        break;
    case 201: Sterownik1->StartStopKalibracji(); break;
    case 311:
    case 321:
        if (tak(2101)) Sterownik1->KasujMapeEcuBen();
        if (tag == 311) Nastawy->Odswiez();
        break;
    case 312:
    case 322:
        if (tak(2102)) Sterownik1->KasujMapeEcuGaz();
        break;
    case 313:
        if (tak(2103)) Sterownik1->KasujMnoznik();
        break;
    case 323:
        if (tak(2104)) Sterownik1->KasujKorOdObr();
        break;
    case 324:
        if (tak(2105)) Sterownik1->KasujMapeOdbBen();
        break;
    case 325:
        if (tak(2106)) Sterownik1->KasujMapeObdGaz();
        break;
    case 331:
    case 341:
        if (tak(2104)) Grafika->KasujKorekte();
        break;
    case 351:
        if (tak(2104)) Sterownik1->KasujOpoznienia();
        break;
    case 361:
        if (tak(2104)) Sterownik1->KasujWzbogacenie();
        break;
    case 390: Obd->PortOpen(-1); break;
    case 391: Obd->WcisnietoPrzycisk(3); break;
    case 392:
        // Clearing also erases the freeze frame and resets the readiness monitors: asked first.
        if (tak(4424)) Obd->WcisnietoPrzycisk(4);
        break;
    case 393: Sterownik1->CzytajBledyObd(0); break;
    case 394: Sterownik1->KasujBledyObd(0); break;
    case 395: Sterownik1->CzytajBledyObd(1); break;
    case 396: Sterownik1->KasujBledyObd(1); break;
    case 401: Sterownik1->EraseErrorsPending = 1; break;
    case 402: Sterownik1->SpeakerTestPending = 1; break;
    case 403: Sterownik1->LeakTestPending = 1; break;
    default: break;
    }
}

void TForm1::LayoutActionButtons() {
    const QFontMetrics m(Btn[0]->font());
    auto tw = [&](int i) { return m.horizontalAdvance(Btn[size_t(i)]->text()); };
    const int barW = PanelBottomStatus->width();
    const int h = BarHeight;
    PanelStatus->setGeometry(barW - StatusWidth, 0, StatusWidth, h);
    int w[4] = {0, 0, 0, 0};
    bool any = false;
    for (int i = 0; i < 3; ++i)
        if (!Btn[size_t(i)]->isHidden()) {
            w[i] = tw(i) + 20;
            any = true;
        }
    if (!Btn[0]->isHidden()) Btn[0]->setGeometry(8, 0, w[0], h);
    if (!Btn[1]->isHidden()) Btn[1]->setGeometry(w[0] + 16, 0, w[1], h);
    if (!Btn[2]->isHidden()) Btn[2]->setGeometry(w[0] + w[1] + 24, 0, w[2], h);
    if (!Btn[3]->isHidden()) {
        if (any) {
            w[3] = tw(3) + 20;
            const int x = barW - w[3] - StatusWidth - 8;
            Btn[3]->setGeometry(x, 0, w[3], h);
            const bool all = !Btn[0]->isHidden() && !Btn[1]->isHidden() && !Btn[2]->isHidden();
            if (all && x < w[0] + w[1] + w[2] + 32) {
                for (int i = 0; i < 4; ++i)
                    w[i] = tw(i) + 4;
                Btn[0]->setGeometry(0, 0, w[0], h);
                Btn[1]->setGeometry(w[0] + 2, 0, w[1], h);
                Btn[2]->setGeometry(w[0] + w[1] + 4, 0, w[2], h);
                Btn[3]->setGeometry(w[0] + w[1] + w[2] + 6, 0, w[3], h);
            }
        } else {
            w[3] = tw(3) + 120;
            const int x = barW - w[3] - StatusWidth - 8;
            Btn[3]->setGeometry(x, 0, w[3], h);
            ProgressBar1->setGeometry(4, 4, std::max(0, x - 12 - 4), h - 4 - 4);
        }
    }
    int x = 4;
    for (QToolButton *b : BtnOsc) {
        b->setGeometry(x - 4, 0, h, h);
        x += h;
    }
    PanelOsc->setGeometry(4, 0, x, h);
    Edit1->setGeometry(8, 3, std::min(300, std::max(60, barW - StatusWidth - 16)), h - 6);
}

// ------------------------------------------------------------------------------------ tab bars

void TForm1::PanelTopTab1Resize() {
    const int w = PanelTopTab1->width() / 6;
    QList<QString> texts;
    for (QPushButton *b : TabMain)
        texts << b->text();
    QFont f = TabMain[0]->font();
    f.setPointSize(FontDopasowany(f, texts, w - 2, 14, 7));
    for (int i = 0; i < 6; ++i) {
        TabMain[size_t(i)]->setFont(f);
        TabMain[size_t(i)]->setGeometry(i * w, 0, w, BarHeight);
    }
}

void TForm1::PanelTopTab2Resize() {
    const int w = PanelTopTab2->width() / 5;
    QList<QString> texts;
    for (int i = 0; i < 5; ++i)
        texts << TabMapy[size_t(i)]->text();
    QFont f = TabMapy[0]->font();
    f.setPointSize(FontDopasowany(f, texts, w - 2, 12, 7));
    const bool admin = AdminFlag >= 2;
    for (int i = 0; i < 12; ++i) {
        QPushButton *b = TabMapy[size_t(i)];
        b->setFont(f);
        const bool row2 = i >= 6;
        const int col = row2 ? i - 6 : i;
        b->setGeometry(col * w, row2 ? 25 : 0, w, 25);
        b->setVisible(i < 5 || (admin && (i == 6 || i == 7)));
    }
}

void TForm1::PanelTopTab3Resize() {
    const int w = PanelTopTab1->width() / 4;
    QList<QString> texts;
    for (QPushButton *b : TabObd)
        texts << b->text();
    QFont f = TabObd[0]->font();
    f.setPointSize(FontDopasowany(f, texts, w - 2, 14, 7));
    int x = 0;
    for (QPushButton *b : TabObd) {
        b->setFont(f);
        if (b->isHidden()) continue;
        b->setGeometry(x, 0, w, PanelTopTab3->height());
        x += w;
    }
}
