// Live update of the status panel and the right panel; the side panels.
#include "app/TForm1.h"

#include "app/TListaKanalow.h"
#include "app/TPanelPrawy.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {
// Reason shown instead of the work state while the controller waits (byte 6 the group, byte 7 bits).
int PowodOczekiwania(uint8_t group, uint8_t bits) {
    int id = 0;
    for (int k = 0; k < 8; ++k) {
        if (!((bits >> k) & 1)) continue;
        if (group == 1 && (k == 1 || k == 2))
            id = 1801 + k;
        else if (group == 10 && k <= 6)
            id = 1811 + k;
        else if (group == 20 && k <= 5)
            id = 1821 + k;
    }
    return id;
}
} // namespace

void TForm1::UpdateLive(const uint8_t *rx) {
    // 1. Work state.
    const int state = rx[11] * 256 + rx[10];
    QString text = Sterownik1->StrStanPracy(state, 1);
    int size = 10;
    // 3. Every other second a waiting controller shows why it waits.
    if ((rx[11] & 3) == 3 && rx[6] != 0 && (SecondsCounter & 1)) {
        if (const int id = PowodOczekiwania(rx[6], rx[7])) {
            text = LangText(id);
            size = 8;
        }
    }
    QPalette p = PanelStatus->palette();
    const QColor tlo = Kolor(Sterownik1->KolorStanuPracy(state));
    p.setColor(QPalette::Window, tlo);
    // Black, lightened only on the state colours too dark for it (black for "other" states).
    p.setColor(QPalette::WindowText, Czytelny(Qt::black, tlo));
    if (PanelStatus->palette() != p) PanelStatus->setPalette(p);
    QFont f = PanelStatus->font();
    if (f.pointSize() != size) {
        f.setPointSize(size);
        PanelStatus->setFont(f);
    }
    if (PanelStatus->text() != text) PanelStatus->setText(text);

    // 2. Caption of the diagnostics tab by the controller's error state.
    const uint32_t diag = (rx[11] & 0x08)   ? Paleta.CaptionRed
                          : (rx[11] & 0x14) ? Paleta.CaptionDarkGreen
                                            : NormalDiagColour;
    if (TabMain[3]->palette().color(QPalette::ButtonText) != Kolor(diag)) {
        QPalette bp = TabMain[3]->palette();
        bp.setColor(QPalette::ButtonText, Kolor(diag));
        TabMain[3]->setPalette(bp);
    }

    // 4-6. Readings, injection times, lamps.
    PanelRight->AktualizujOdczyty(rx);
    PanelRight->AktualizujCzasy(rx);
    PanelRight->AktualizujLampki(rx);
}

void TForm1::PrzebudujKanaly() {
    StringGrid1->Przebuduj();
}

void TForm1::PanelLeftZwin(bool collapse) {
    LeftCollapsed = collapse;
    for (QObject *o : PanelLeft->children())
        if (auto *w = qobject_cast<QWidget *>(o)) w->setVisible(collapse ? w == StripLeft : w != StripLeft);
    PanelLeft->setFixedWidth(collapse ? 14 : 180);
    if (!collapse) FormResize();
}

void TForm1::PanelRightZwin(bool collapse) {
    RightCollapsed = collapse;
    PanelRight->setVisible(!collapse);
    StripRight->setVisible(collapse);
    if (!collapse) FormResize();
}
