#include "obd/ui/TPanelObd.h"

#include "obd/ui/TWidokPojazdu.h"
#include "widgets/TRichBox.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QPushButton>

namespace {
constexpr int WysokoscZakladek = 22;
constexpr int SzerokoscStatusu = 300;
} // namespace

TPanelObd::TPanelObd(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelObd"));
    SpeedButton41 = new QPushButton(this);
    SpeedButton42 = new QPushButton(QStringLiteral("PID"), this);
    SpeedButton43 = new QPushButton(this);
    SpeedButton43->setObjectName(QStringLiteral("SpeedButton43"));
    for (QPushButton *b : {SpeedButton41, SpeedButton42, SpeedButton43}) {
        b->setCheckable(true);
        b->setFlat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    Grupa = new QButtonGroup(this);
    Grupa->addButton(SpeedButton41, 0);
    Grupa->addButton(SpeedButton42, 1);
    Grupa->addButton(SpeedButton43, 2);
    SpeedButton42->setChecked(true);

    RichEditDtc = new TRichBox(this);
    RichEditDtc->setObjectName(QStringLiteral("RichEditDtc"));
    StringGridPid = new TSiatka(this);
    StringGridPid->setObjectName(QStringLiteral("StringGridPid"));
    StringGridPid->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGridPid->verticalHeader()->setDefaultSectionSize(18);
    StringGridElm = new TSiatka(this);
    StringGridElm->setObjectName(QStringLiteral("StringGridElm"));
    StringGridElm->verticalHeader()->setDefaultSectionSize(18);
    StringGridElm->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridElm->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridElm->setFixedWidth(SzerokoscStatusu);

    GridStatus = std::make_unique<TObdSiatka>(StringGridElm, 3, 0);
    GridPidy = std::make_unique<TObdSiatka>(StringGridPid, 2, 2);
    Dtc = std::make_unique<TObdRichBox>(RichEditDtc);
    RichEditDtc->hide();
    Pojazd = new TWidokPojazdu(this);
    Pojazd->hide();
}

TPanelObd::~TPanelObd() = default;

void TPanelObd::PokazZakladki(bool on) {
    zakladki_ = on;
    Rozmiesc();
}

void TPanelObd::PokazStatus(bool on) {
    status_ = on;
    Rozmiesc();
}

void TPanelObd::resizeEvent(QResizeEvent *) {
    Rozmiesc();
}

void TPanelObd::Rozmiesc() {
    const int w = width(), h = height();
    const int prawa = status_ ? std::min(SzerokoscStatusu, w / 2) : 0;
    int y = 0;
    SpeedButton41->setVisible(zakladki_);
    SpeedButton42->setVisible(zakladki_);
    SpeedButton43->setVisible(zakladki_);
    if (zakladki_) {
        SpeedButton41->setGeometry(0, 0, 120, WysokoscZakladek);
        SpeedButton42->setGeometry(120, 0, 120, WysokoscZakladek);
        SpeedButton43->setGeometry(240, 0, 120, WysokoscZakladek);
        y = WysokoscZakladek;
    }
    const QRect lewa(0, y, w - prawa - (prawa ? 4 : 0), h - y);
    RichEditDtc->setGeometry(lewa);
    StringGridPid->setGeometry(lewa);
    Pojazd->setGeometry(lewa);
    StringGridElm->setVisible(status_);
    if (status_) {
        StringGridElm->setFixedWidth(prawa);
        StringGridElm->move(w - prawa, y);
    }
}
