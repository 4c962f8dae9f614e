// The main window's life: configuration, FormCreate, FormShow, supervision, splash and shutdown.
#include "app/TForm1.h"

#include "app/TFormAdmin.h"
#include "app/TListaKanalow.h"
#include "app/TPanelPrawy.h"
#include "config/TConfig.h"
#include "device/TSesja.h"
#include "device/TSterownik.h"
#include "dialogs/TDialogi.h"
#include "lang/LangText.h"
#include "obd/TObd.h"
#include "obd/ui/TPanelObd.h"
#include "obd/ui/TWidokPojazdu.h"
#include "settings/TKatalogNastaw.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

namespace {
constexpr uint32_t TloStatusu = 0xF0FBFF;
constexpr uint32_t Czerwony = 0x0000FF;
} // namespace

QString TForm1::TytulBazowy(const QString &version) {
    const QStringList parts = version.split(QLatin1Char('.'));
    bool ok = parts.size() >= 3;
    int n[3] = {0, 0, 0};
    for (int i = 0; ok && i < 3; ++i) {
        n[i] = parts[i].toInt(&ok);
        ok = ok && n[i] >= 0 && n[i] <= 0xFFFF;
    }
    if (!ok) return QStringLiteral("TARVEN ver 2.01");
    return QStringLiteral("TARVEN v%1.%2%3").arg(n[0]).arg(n[1]).arg(n[2]);
}

// ------------------------------------------------------------------------------------ FormCreate

void TForm1::FormCreate() {
    // 1. Left panel collapsed, grids prepared, settings block filled with the catalogue's defaults.
    PanelLeftZwin(true);
    Katalog->UtworzNastawy();
    Katalog->NastawyDomyslne();
    // What the window starts with is shown, not changed: no controller is offered it.
    Sterownik1->Sesja->PlikBezSterownika();

    // 2-5. Configuration.
    CzytajKonfiguracje();

    // 6. No adapter yet; the lamps are drawn by the first reply.
    PanelRight->UstawIkoneObd(-1);
    PanelRight->ZapomnijLampki();

    // 7. Texts, colours, view.
    Relabel();
    UstawSchemat();
    UstawWidok();
}

void TForm1::CzytajKonfiguracje() {
    TConfig &c = *Config;
    c.Read(Opcje.Lokalizacja);
    Sterownik1->PortNumber = c.Comm();
    Obd->PortNumber = c.ElmComm();
    if (!c.ElmHost().isEmpty()) Obd->PortPath = c.ElmHost(); // the Wi-Fi adapter is the one in use
    SchemeIndex = c.Comp();
    LangIndex = c.Lang();
    ViewIndex = c.View();
    PanelObd->Pojazd->UstawDozwolone(c.InspectionAllowance());
    Obd->SzybkiPolling = c.ObdFast();
    if (c.HasBounds()) setGeometry(c.Bounds());
    if (c.HasWindowState()) {
        switch (c.WindowStateValue()) {
        case TConfig::StateMaximised: setWindowState(Qt::WindowMaximized); break;
        case TConfig::StateMinimised: setWindowState(Qt::WindowMinimized); break;
        default: setWindowState(Qt::WindowNoState); break;
        }
    }
    for (int i = 0; i < TConfig::ColourCount; ++i) {
        const int64_t col = c.Colour(i);
        if (col >= 0 && size_t(i + 1) < Sterownik1->Wykresy.size())
            Sterownik1->Wykresy[size_t(i + 1)].Colour = uint32_t(col);
    }
    Sterownik1->LinkKey = Opcje.LinkKey >= 0 && Opcje.LinkKey <= 255 ? uint8_t(Opcje.LinkKey) : c.LinkKey();
    if (Opcje.Jezyk >= 0 && Opcje.Jezyk <= TConfig::MaxLang) LangIndex = Opcje.Jezyk;
    LangSetLanguage(LangIndex);
    ActLang[size_t(LangIndex)]->setChecked(true);
    ActView[size_t(ViewIndex)]->setChecked(true);
    ActColor[size_t(SchemeIndex)]->setChecked(true);
}

// ------------------------------------------------------------------------------------ FormShow

void TForm1::showEvent(QShowEvent *e) {
    QMainWindow::showEvent(e);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TForm1::FormShow() {
    shown_ = true;
    // 1. Documents folder and the user's folders.
    DocumentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    Sterownik1->DocumentsFolder = DocumentsFolder;
    if (!DocumentsFolder.isEmpty()) TConfig::UtworzFoldery(DocumentsFolder);

    // 2. Identity of this PC; the administrator switch of the command line.
    AdminFlag = Opcje.Admin ? 1 : 0;
    const uint32_t id = TConfig::WorkstationId();
    if (AdminFlag) Timer2.setInterval(100);

    // 3. Today's date for the change history.
    Sterownik1->UstawDateIdent(QDate::currentDate(), id);

    // 4. Default tabs.
    WybierzPodzakladkeObd(0);
    TabMapy[0]->setChecked(true);
    SpeedButton1Click(0);

    // 5. Ports and timers.
    if (Opcje.OtworzPort) {
        if (!Opcje.Port.isEmpty())
            Sterownik1->PortOpenPath(Opcje.Port);
        else
            Sterownik1->PortOpen(-1);
        if (!Opcje.PortObd.isEmpty()) Obd->PortOpenPath(Opcje.PortObd);
        ZglosBladPortu();
        Timer1.start();
    }
    if (Opcje.Splash) Timer2.start();
}

// ------------------------------------------------------------------------------------ supervision

void TForm1::Timer1Timer() {
    if (Timer1.isActive()) Timer1.start();
    if (++TickCounter > 9) {
        TickCounter = 0;
        ++SecondsCounter;
    }
    if (CurrentTab == 3 && ++KeepAlive > 50) {
        KeepAlive = 0;
        Sterownik1->RozkazDoSterownika(ReqReadErrors);
    }
    if (Sterownik1->Unanswered <= 10 && Sterownik1->PortConnected()) return;
    StatusPolaczenia(false);
    if (TickCounter == 0 && ConnectTag == 0) {
        Sterownik1->PortOpen(-1);
        ZglosBladPortu();
    }
}

// Why the controller's port does not open: on the status panel's tip, and once per new reason
// in the communication log (reconnection tries again every second).
void TForm1::ZglosBladPortu() {
    const TPortFault fault = Sterownik1->PortFault;
    const QString reason = Sterownik1->PortFaultReason();
    PanelStatus->setToolTip(reason.isEmpty() ? QStringLiteral("[F11]") : reason + QStringLiteral("  [F11]"));
    if (int(fault) == ZgloszonyBladPortu) return;
    ZgloszonyBladPortu = int(fault);
    if (fault != TPortFault::None)
        Sterownik1->Log(QStringLiteral("\n  %1: %2").arg(Sterownik1->PortName, reason), KolorCzerwony);
}

void TForm1::StatusPolaczenia(bool connected) {
    QPalette p = PanelStatus->palette();
    p.setColor(QPalette::Window, Kolor(TloStatusu));
    p.setColor(QPalette::WindowText, Czytelny(Kolor(connected ? 0x008000 : Czerwony), Kolor(TloStatusu)));
    PanelStatus->setPalette(p);
    QFont f = PanelStatus->font();
    f.setPointSize(10);
    PanelStatus->setFont(f);
    PanelStatus->setText(LangText(connected ? 1241 : 1240));
}

// ------------------------------------------------------------------------------------ splash

void TForm1::Timer2Timer() {
    ++SplashCounter;
    if (SplashCounter == 1) {
        FormLogo->Przygotuj(Kolor(Paleta.Background));
        FormLogo->move(geometry().center() - FormLogo->rect().center());
        // Shown modally from outside this handler: a timer does not fire again while its own handler
        // is still running, and this one has to close the splash.
        QTimer::singleShot(0, FormLogo, [this] {
            if (SplashCounter < 5) FormLogo->exec();
        });
    } else if (SplashCounter >= 5) {
        Timer2.stop();
        if (FormLogo->isVisible()) FormLogo->done(0);
    }
}

// ------------------------------------------------------------------------------------ shutdown

void TForm1::closeEvent(QCloseEvent *e) {
    // FormCloseQuery: the supervision stops; closing is always allowed.
    Timer1.stop();
    Timer2.stop();
    if (!closed_) FormClose();
    e->accept();
}

void TForm1::FormClose() {
    closed_ = true;
    Timer1.stop();
    if (Dialogi) Dialogi->Zamknij(); // a dialog left open would keep its poll mode on the link
    Sterownik1->PortClose();
    Obd->PortClose();
    ZapiszKonfiguracje();
    if (ActTransmisja->isChecked()) ActTransmisja->setChecked(false);
}

void TForm1::ZapiszKonfiguracje() {
    TConfig &c = *Config;
    // Ports given on the command line (and the demo's pseudo-terminals) are not remembered.
    if (Opcje.Port.isEmpty()) c.SetComm(Sterownik1->PortNumber);
    if (Opcje.PortObd.isEmpty()) {
        c.SetElmComm(Obd->PortNumber);
        c.SetElmHost(Obd->PortIsTcp() ? Obd->PortPath : QString());
    }
    c.SetComp(SchemeIndex);
    c.SetObdFast(Obd->SzybkiPolling);
    if (Opcje.Jezyk < 0 || langChosen_) c.SetLang(LangIndex);
    c.SetView(ViewIndex);
    const Qt::WindowStates st = windowState();
    c.SetWindowState(st & Qt::WindowMaximized   ? TConfig::StateMaximised
                     : st & Qt::WindowMinimized ? TConfig::StateMinimised
                                                : TConfig::StateNormal);
    QRect bounds = st & (Qt::WindowMaximized | Qt::WindowMinimized) ? normalGeometry() : geometry();
    if (!bounds.isValid()) bounds = geometry();
    c.SetBounds(bounds);
    for (int i = 0; i < TConfig::ColourCount; ++i)
        if (size_t(i + 1) < Sterownik1->Wykresy.size())
            c.SetColour(i, Sterownik1->Wykresy[size_t(i + 1)].Colour);
    c.Write(); // a failure is not reported
}
