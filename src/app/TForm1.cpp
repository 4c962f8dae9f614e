// The main window: creation of the engines, views and widgets; outer layout.
#include "app/TForm1.h"

#include "app/TFormAdmin.h"
#include "app/TListaKanalow.h"
#include "app/TPanelPrawy.h"
#include "backup/StrazKopii.h"
#include "charts/TGrafika.h"
#include "config/TConfig.h"
#include "device/TSterownik.h"
#include "dialogs/TDialogi.h"
#include "dialogs/TFormDevice.h"
#include "dialogs/TFormProg.h"
#include "dialogs/TFormService.h"
#include "lang/LangText.h"
#include "obd/TObd.h"
#include "obd/ui/TPanelObd.h"
#include "obd/ui/TWidokPojazdu.h"
#include "scope/TScope.h"
#include "settings/TKatalogNastaw.h"
#include "settings/ui/TNastawy.h"
#include "widgets/TRichBox.h"

#include <QApplication>
#include <QButtonGroup>
#include <QChildEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

// ------------------------------------------------------------------------------------ TKontener

void TKontener::Wypelnij() {
    for (QObject *o : children())
        if (auto *w = qobject_cast<QWidget *>(o); w && !w->isWindow()) w->setGeometry(rect());
}

void TKontener::resizeEvent(QResizeEvent *) {
    Wypelnij();
    emit Zmieniono();
}

void TKontener::childEvent(QChildEvent *e) {
    QWidget::childEvent(e);
    if (e->added())
        if (auto *w = qobject_cast<QWidget *>(e->child())) w->setGeometry(rect());
}

// ------------------------------------------------------------------------------------ creation

namespace {
QPushButton *PrzyciskZakladki(QWidget *parent, const QString &name) {
    auto *b = new QPushButton(parent);
    b->setObjectName(name);
    b->setCheckable(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFlat(true);
    b->setAutoFillBackground(true);
    return b;
}

// The pictures of the scope buttons: simple glyphs drawn on the spot, in the scheme's text colour so
// that they show on a black bar as on a grey one.
QIcon IkonaScope(int tag, const QColor &ink) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter g(&pm);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(ink, 2));
    g.setBrush(ink);
    switch (tag) {
    case 1: g.drawPolygon(QPolygon({QPoint(5, 3), QPoint(16, 10), QPoint(5, 17)})); break;
    case 2:
        g.drawRect(5, 4, 3, 12);
        g.drawRect(12, 4, 3, 12);
        break;
    case 3: g.drawRect(5, 5, 10, 10); break;
    case 4:
        g.setBrush(QColor(200, 0, 0));
        g.setPen(QPen(QColor(200, 0, 0), 1));
        g.drawEllipse(4, 4, 12, 12);
        break;
    case 5:
        g.setBrush(Qt::NoBrush);
        g.drawRect(3, 7, 14, 9);
        g.drawLine(3, 7, 7, 4);
        g.drawLine(7, 4, 10, 7);
        break;
    case 6:
        g.drawLine(5, 5, 15, 15);
        g.drawLine(15, 5, 5, 15);
        break;
    case 7: {
        QFont f = g.font();
        f.setPixelSize(8);
        f.setBold(true);
        g.setFont(f);
        g.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, QStringLiteral("CSV"));
        break;
    }
    case 10:
    case 11:
    case 12: {
        g.setBrush(Qt::NoBrush);
        g.setPen(QPen(ink, 1));
        const int n = tag - 9;
        for (int i = 0; i < n; ++i)
            g.drawRect(3, 3 + i * 14 / n, 14, 14 / n - 1);
        break;
    }
    case 20:
    case 21:
        g.setBrush(Qt::NoBrush);
        g.drawEllipse(3, 3, 10, 10);
        g.drawLine(12, 12, 17, 17);
        g.drawLine(5, 8, 11, 8);
        if (tag == 21) g.drawLine(8, 5, 8, 11);
        break;
    default: break;
    }
    return QIcon(pm);
}
} // namespace

void TForm1::IkonyScope() {
    for (QToolButton *b : BtnOsc)
        b->setIcon(IkonaScope(b->property("tag").toInt(), Kolor(Paleta.Text)));
}

TForm1::TForm1(const TOpcjeStartu &opcje, QWidget *parent) : QMainWindow(parent), Opcje(opcje) {
    setObjectName(QStringLiteral("Form1"));
    // 1. Base title from the program's version.
    BaseTitle = TytulBazowy(QStringLiteral(TARVEN_VERSION));
    setWindowTitle(BaseTitle);
    setMinimumSize(640, 480);
    resize(740, 480);
    Config = Opcje.PlikKonfiguracji.isEmpty() ? std::make_unique<TConfig>()
                                              : std::make_unique<TConfig>(Opcje.PlikKonfiguracji);
    Paleta = PaletaSchematu(SchemeIndex);

    // 2-3. Widgets (double-buffered by the toolkit) and the fuel-switch picture.
    UtworzWidgety();
    UtworzMenu();
    UtworzMenuCofania();

    // 4. The controller link.
    Sterownik1 = new TSterownik(this);
    Sterownik1->setObjectName(QStringLiteral("Sterownik1"));
    Sterownik1->OnZdarzenie = [this](int kind, int a, int b, int c) { Zdarzenie(kind, a, b, c); };
    Sterownik1->OnMessage = [](const QString &text, int flags) { return LangMessageText(text, flags); };

    // 5. Views, settings catalogue and the OBD engine.
    Katalog = std::make_unique<TKatalogNastaw>(Sterownik1);
    Katalog->OnBeep = [] { QApplication::beep(); };
    Grafika = std::make_unique<TGrafika>(Centrum, Sterownik1);
    Scope = std::make_unique<TScope>(Centrum, Sterownik1);
    Nastawy = std::make_unique<TNastawy>(Centrum, Sterownik1, Katalog.get());
    Obd = new TObd(this);
    Obd->setObjectName(QStringLiteral("Obd"));
    Obd->MyGridStatus = PanelObd->GridStatus.get();
    Obd->MyGridPidy = PanelObd->GridPidy.get();
    Obd->MyRichDtc = PanelObd->Dtc.get();
    Obd->MyPojazd = PanelObd->Pojazd;
    PanelObd->Pojazd->OnCzytaj = [this] { Obd->WcisnietoPrzycisk(5); };
    Obd->OnZdarzenie = [this](int kind, int a, int b, int c) { Zdarzenie(kind, a, b, c); };
    Obd->Sterownik = Sterownik1;
    // Clicks, double clicks and Enter on the PID grid toggle polling, while the engine allows it.
    TSiatka *pidy = PanelObd->StringGridPid;
    connect(pidy, &QTableWidget::cellClicked, this, [this] {
        if (PanelObd->GridPidy->Toggling()) Obd->MyGridPidyClick();
    });
    connect(pidy, &QTableWidget::cellDoubleClicked, this, [this] {
        if (PanelObd->GridPidy->Toggling()) Obd->MyGridPidyDblClick();
    });
    connect(pidy, &TSiatka::EnterWcisniety, this, [this] {
        if (PanelObd->GridPidy->Toggling()) Obd->MyGridPidyKeyDown(13);
    });

    PanelRight->UstawSterownik(Sterownik1);
    StringGrid1->UstawSterownik(Sterownik1);
    connect(StringGrid1, &TListaKanalow::Zmieniono, this, [this] { Scope->Przerysuj(); });

    // The other windows, each created once: log, progress, splash.
    FormAdmin = new TFormAdmin(this);
    connect(FormAdmin, &TFormAdmin::Zamknieto, this, [this] {
        if (ActTransmisja->isChecked()) ActTransmisja->setChecked(false);
    });
    FormProg = new TFormProg(this);
    Sterownik1->OnFirmwareProgress = [this](int percent) { FormProg->Postep(percent); };
    Sterownik1->OnFirmwareDone = [this] { FormProg->Koniec(); };
    FormLogo = new TFormLogo(this);
    // The settings grid's dialogs and the readings chooser ("V" of the readings banner).
    Dialogi = std::make_unique<TDialogi>(this, Katalog.get(), &Paleta);
    Nastawy->UstawDialogi(Dialogi.get());
    for (TOdbiorcaOdczytow *o : Dialogi->Odbiorcy())
        Dodaj(o);
    connect(PanelRight, &TPanelPrawy::WyborParametrow, this, [this] {
        Dialogi->OtworzParametry(font());
        PanelRight->PanelRightResize();
        PanelRight->StringGridParametry->viewport()->update();
    });
    FormDevice = new TFormDevice(this);
    FormService = new TFormService(this);
    UtworzKopie();
    UtworzRaport();

    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer2.setInterval(1000);
    connect(&Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);

    FormCreate();
    qApp->installEventFilter(this);
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
    if (!closed_) FormClose();
}

void TForm1::UtworzWidgety() {
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Central"));
    setCentralWidget(central);
    auto *root = new QVBoxLayout(central);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    root->addLayout(body, 1);

    UtworzPanelBoczne();
    body->addWidget(PanelLeft);

    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    body->addLayout(column, 1);

    // Main tab bar.
    PanelTopTab1 = new QWidget(central);
    PanelTopTab1->setObjectName(QStringLiteral("PanelTopTab1"));
    GrupaMain = new QButtonGroup(this);
    for (int i = 0; i < 6; ++i) {
        TabMain[size_t(i)] = PrzyciskZakladki(PanelTopTab1, QStringLiteral("SpeedButton%1").arg(i + 1));
        GrupaMain->addButton(TabMain[size_t(i)], i);
    }
    connect(GrupaMain, &QButtonGroup::idClicked, this, [this](int id) { SpeedButton1Click(id); });
    column->addWidget(PanelTopTab1);

    // Map sub-tabs: first row 11…16, second row 21…26.
    PanelTopTab2 = new QWidget(central);
    PanelTopTab2->setObjectName(QStringLiteral("PanelTopTab2"));
    GrupaMapy = new QButtonGroup(this);
    for (int i = 0; i < 12; ++i) {
        const int name = i < 6 ? 11 + i : 21 + (i - 6);
        TabMapy[size_t(i)] = PrzyciskZakladki(PanelTopTab2, QStringLiteral("SpeedButton%1").arg(name));
        GrupaMapy->addButton(TabMapy[size_t(i)], i);
    }
    connect(GrupaMapy, &QButtonGroup::idClicked, this, [this] { SpeedButton11Click(); });
    column->addWidget(PanelTopTab2);

    // OBD sub-tabs.
    PanelTopTab3 = new QWidget(central);
    PanelTopTab3->setObjectName(QStringLiteral("PanelTopTab3"));
    GrupaObd = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        TabObd[size_t(i)] = PrzyciskZakladki(PanelTopTab3, QStringLiteral("SpeedButton%1").arg(31 + i));
        GrupaObd->addButton(TabObd[size_t(i)], i);
    }
    connect(GrupaObd, &QButtonGroup::idClicked, this, [this] { SpeedButton31Click(); });
    PanelTopTab3->setFixedHeight(25);
    column->addWidget(PanelTopTab3);

    // Centre and bottom dock.
    Centrum = new TKontener(central);
    Centrum->setObjectName(QStringLiteral("Centrum"));
    Centrum->setAutoFillBackground(true);
    column->addWidget(Centrum, 1);
    PanelNasInfoObd = new TKontener(central);
    PanelNasInfoObd->setObjectName(QStringLiteral("PanelNasInfoObd"));
    column->addWidget(PanelNasInfoObd);
    connect(Centrum, &TKontener::Zmieniono, this, [this] {
        if (Nastawy && Nastawy->Widget()->parent() == Centrum) Nastawy->Rozmiesc();
    });
    connect(PanelNasInfoObd, &TKontener::Zmieniono, this, [this] {
        if (Nastawy && Nastawy->Widget()->parent() == PanelNasInfoObd) Nastawy->Rozmiesc();
    });

    PanelBledy = new QWidget(Centrum);
    PanelBledy->setObjectName(QStringLiteral("PanelBledy"));
    {
        auto *l = new QVBoxLayout(PanelBledy);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(0);
        BannerBledy = new QLabel(PanelBledy);
        BannerBledy->setAutoFillBackground(true);
        BannerBledy->setFixedHeight(20);
        RichEditBledy = new TRichBox(PanelBledy);
        RichEditBledy->setObjectName(QStringLiteral("RichEditBledy"));
        l->addWidget(BannerBledy);
        l->addWidget(RichEditBledy, 1);
    }
    PanelInfo = new QWidget(PanelNasInfoObd);
    PanelInfo->setObjectName(QStringLiteral("PanelInfo"));
    {
        auto *l = new QVBoxLayout(PanelInfo);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(0);
        BannerInfo = new QLabel(PanelInfo);
        BannerInfo->setAutoFillBackground(true);
        BannerInfo->setFixedHeight(20);
        RichEditInfo = new TRichBox(PanelInfo);
        RichEditInfo->setObjectName(QStringLiteral("RichEditInfo"));
        l->addWidget(BannerInfo);
        l->addWidget(RichEditInfo, 1);
    }
    PanelObd = new TPanelObd(PanelNasInfoObd);
    connect(PanelObd->Grupa, &QButtonGroup::idClicked, this, [this] { SpeedButton41Click(); });

    // Right panel and its strip.
    PanelRight = new TPanelPrawy(central);
    PanelRight->UstawPalete(&Paleta);
    connect(PanelRight, &TPanelPrawy::ZwinPanel, this, [this] { PanelRightZwin(true); });
    connect(PanelRight, &TPanelPrawy::KliknietoPrzelacznik, this,
            [this] { Sterownik1->FuelAutoPending = 1; });
    StripRight = new QToolButton(central);
    StripRight->setText(QStringLiteral("<"));
    StripRight->setToolTip(QStringLiteral("[R]"));
    StripRight->setFixedWidth(14);
    StripRight->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    StripRight->hide();
    connect(StripRight, &QToolButton::clicked, this, [this] { PanelRightZwin(false); });
    body->addWidget(PanelRight);
    body->addWidget(StripRight);

    UtworzPanelDolny();
    root->addWidget(PanelBottomStatus);
}

void TForm1::UtworzPanelBoczne() {
    PanelLeft = new QWidget(this);
    PanelLeft->setObjectName(QStringLiteral("PanelLeft"));
    PanelLeft->setAutoFillBackground(true);
    auto *l = new QVBoxLayout(PanelLeft);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    auto *top = new QHBoxLayout;
    BannerKanaly = new QLabel(PanelLeft);
    BannerKanaly->setFixedHeight(20);
    auto *zwin = new QToolButton(PanelLeft);
    zwin->setText(QStringLiteral("<"));
    zwin->setToolTip(QStringLiteral("[L]"));
    zwin->setFixedSize(20, 20);
    connect(zwin, &QToolButton::clicked, this, [this] { PanelLeftZwin(true); });
    top->addWidget(BannerKanaly, 1);
    top->addWidget(zwin);
    l->addLayout(top);
    StringGrid1 = new TListaKanalow(PanelLeft);
    StringGrid1->UstawPalete(&Paleta);
    l->addWidget(StringGrid1, 1);
    StripLeft = new QToolButton(PanelLeft);
    StripLeft->setText(QStringLiteral(">"));
    StripLeft->setToolTip(QStringLiteral("[L]"));
    StripLeft->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    StripLeft->setFixedWidth(14);
    StripLeft->hide();
    connect(StripLeft, &QToolButton::clicked, this, [this] { PanelLeftZwin(false); });
    l->addWidget(StripLeft, 1);
    PanelLeft->setFixedWidth(180);
}

void TForm1::UtworzPanelDolny() {
    PanelBottomStatus = new QWidget(centralWidget());
    PanelBottomStatus->setObjectName(QStringLiteral("PanelBottomStatus"));
    PanelBottomStatus->setFixedHeight(BarHeight);
    for (int i = 0; i < 4; ++i) {
        auto *b = new QPushButton(PanelBottomStatus);
        b->setObjectName(QStringLiteral("Btn5%1").arg(i + 1));
        b->setFocusPolicy(Qt::NoFocus);
        b->setProperty("tag", 0);
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, b] { Btn51Click(b); });
        Btn[size_t(i)] = b;
    }
    ProgressBar1 = new QProgressBar(PanelBottomStatus);
    ProgressBar1->setRange(0, 1024);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    PanelOsc = new QWidget(PanelBottomStatus);
    PanelOsc->setObjectName(QStringLiteral("PanelOsc"));
    for (int tag : {1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 20, 21}) {
        auto *b = new QToolButton(PanelOsc);
        b->setObjectName(QStringLiteral("BitBtnOsc%1").arg(tag, 2, 10, QLatin1Char('0')));
        b->setProperty("tag", tag);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, tag] { Scope->Polecenie(tag); });
        BtnOsc.push_back(b);
    }
    PanelOsc->hide();
    Edit1 = new QLineEdit(PanelBottomStatus);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->hide();
    PanelStatus = new QLabel(PanelBottomStatus);
    PanelStatus->setObjectName(QStringLiteral("PanelStatus"));
    PanelStatus->setAlignment(Qt::AlignCenter);
    PanelStatus->setAutoFillBackground(true);
    PanelStatus->setToolTip(QStringLiteral("[F11]"));
    PanelStatus->installEventFilter(this);
}

// ------------------------------------------------------------------------------------ outer layout

void TForm1::resizeEvent(QResizeEvent *e) {
    QMainWindow::resizeEvent(e);
    FormResize();
}

void TForm1::FormResize() {
    const QWidget *c = centralWidget();
    const int w = c->width() / 100;
    StatusWidth = w > 8 ? 20 * w : 180;
    PanelRight->setFixedWidth(StatusWidth);
    PanelRight->setVisible(!RightCollapsed);
    StripRight->setVisible(RightCollapsed);
    PanelLeft->setFixedWidth(LeftCollapsed ? 14 : 180);
    BarHeight = c->height() <= 550 ? 28 : 32;
    PanelTopTab1->setFixedHeight(BarHeight);
    PanelBottomStatus->setFixedHeight(BarHeight);
    QFont f = Btn[0]->font();
    f.setPointSize(c->height() <= 550 ? 8 : 10);
    for (QPushButton *b : Btn)
        b->setFont(f);
    PanelTopTab1Resize();
    PanelTopTab2Resize();
    PanelTopTab3Resize();
    UkladDoku();
    LayoutActionButtons();
}

void TForm1::UkladDoku() {
    // The centre height is the space of the centre and the dock together, below the tab bars.
    int total = centralWidget()->height() - BarHeight - BarHeight;
    if (!PanelTopTab2->isHidden()) total -= PanelTopTab2->height();
    if (!PanelTopTab3->isHidden()) total -= PanelTopTab3->height();
    int h = 0;
    switch (dok_) {
    case 1: h = 80; break;
    case 2: h = total / 3; break;
    case 3: h = total / 2; break;
    case 4: h = total - 65; break;
    default: break;
    }
    PanelNasInfoObd->setVisible(dok_ != 0);
    if (dok_ != 0) PanelNasInfoObd->setFixedHeight(std::max(40, h));
}

void TForm1::KoloryPanelu(QWidget *w, uint32_t bg, uint32_t fg) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Kolor(bg));
    p.setColor(QPalette::Base, Kolor(bg));
    p.setColor(QPalette::WindowText, Kolor(fg));
    p.setColor(QPalette::Text, Kolor(fg));
    w->setPalette(p);
}

void TForm1::KolorPrzycisku(QPushButton *b, uint32_t fg) {
    QPalette p = b->palette();
    p.setColor(QPalette::ButtonText, Kolor(fg));
    b->setPalette(p);
}
