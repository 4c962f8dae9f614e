// Menus of the main window, Relabel, and the file menu items.
#include "app/TForm1.h"

#include "app/TListaKanalow.h"
#include "app/TPanelPrawy.h"
#include "backup/MagazynKopii.h"
#include "config/TConfig.h"
#include "device/TSterownik.h"
#include "dialogs/TFormDevice.h"
#include "dialogs/TFormProg.h"
#include "dialogs/TFormService.h"
#include "lang/LangText.h"
#include "link/TcpBackend.h"
#include "obd/TObd.h"
#include "obd/ui/TPanelObd.h"
#include "obd/ui/TWidokPojazdu.h"

#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace {
// The connection menus are rebuilt each time they open: the head item, then the engine's ports.
void WypelnijMenuPortow(QMenu *menu, TSerial *port, int headTag, const std::function<void(int)> &klik) {
    menu->clear();
    QAction *head = menu->addAction(LangText(port->PortConnected() ? 1119 : 1118));
    QObject::connect(head, &QAction::triggered, menu, [klik, headTag] { klik(headTag); });
    menu->addSeparator();
    auto *group = new QActionGroup(menu);
    for (const TPortMenuEntry &e : port->PortList()) {
        QAction *a = menu->addAction(e.Caption);
        a->setCheckable(true);
        a->setChecked(e.Checked);
        group->addAction(a);
        const int tag = e.Tag;
        QObject::connect(a, &QAction::triggered, menu, [klik, tag] { klik(tag); });
    }
}
} // namespace

void TForm1::UtworzMenu() {
    QMenuBar *bar = menuBar();
    MenuDevice = bar->addMenu(QString());
    ActDeviceInfo = MenuDevice->addAction(QString(), this, &TForm1::DeviceInfoClick);
    ActService = MenuDevice->addAction(QString(), this, &TForm1::ServiceClick);
    ActFirmware = MenuDevice->addAction(QString(), this, &TForm1::AktualizacjaClick);
    MenuDevice->addSeparator();
    ActReadSet = MenuDevice->addAction(QString(), this, &TForm1::CzytajUstawieniaClick);
    ActSaveSet = MenuDevice->addAction(QString(), this, &TForm1::ZapiszUstawieniaClick);
    MenuDevice->addSeparator();
    ActReadOsc = MenuDevice->addAction(QString(), this, [this] {
        Scope->Polecenie(5);
        SpeedButton1Click(4);
    });
    ActSaveOsc = MenuDevice->addAction(QString(), this, [this] { Scope->Polecenie(4); });
    ActCsv = MenuDevice->addAction(QString(), this, [this] { Scope->Polecenie(7); });

    MenuConn = bar->addMenu(QString());
    connect(MenuConn, &QMenu::aboutToShow, this, &TForm1::MenuPolaczenie);
    MenuElmMenu = bar->addMenu(QStringLiteral("ELM"));
    connect(MenuElmMenu, &QMenu::aboutToShow, this, &TForm1::MenuElm);

    MenuLang = bar->addMenu(QString());
    auto *langs = new QActionGroup(this);
    const char *names[] = {"English", "Polski (Polish)", "Русский (Russian)", "Español (Spain)"};
    for (int i = 0; i < 4; ++i) {
        ActLang[size_t(i)] =
            MenuLang->addAction(QString::fromUtf8(names[i]), this, [this, i] { MenuLangClick(i); });
        ActLang[size_t(i)]->setCheckable(true);
        langs->addAction(ActLang[size_t(i)]);
    }
    MenuViewMenu = bar->addMenu(QString());
    auto *views = new QActionGroup(this);
    for (int i = 0; i < 3; ++i) {
        ActView[size_t(i)] = MenuViewMenu->addAction(QString(), this, [this, i] { MenuView0Click(i); });
        ActView[size_t(i)]->setCheckable(true);
        views->addAction(ActView[size_t(i)]);
    }
    MenuColor = bar->addMenu(QString());
    auto *colours = new QActionGroup(this);
    for (int i = 0; i < 6; ++i) {
        ActColor[size_t(i)] = MenuColor->addAction(QString(), this, [this, i] { MenuColor0Click(i); });
        ActColor[size_t(i)]->setCheckable(true);
        colours->addAction(ActColor[size_t(i)]);
    }
    MenuDoc = bar->addMenu(QString());
    for (int i = 0; i < 3; ++i)
        ActDoc[size_t(i)] = MenuDoc->addAction(QString()); // no action

    MenuAdm = bar->addMenu(QStringLiteral("Adm"));
    MenuAdmAction = MenuAdm->menuAction();
    MenuAdmAction->setVisible(false);
    ActTransmisja = MenuAdm->addAction(QStringLiteral("Transmisja"));
    ActTransmisja->setCheckable(true);
    connect(ActTransmisja, &QAction::toggled, this, &TForm1::Transmisja);
    ActVerbose = MenuAdm->addAction(QStringLiteral("    Param. bieżące"));
    ActVerbose->setCheckable(true);
    connect(ActVerbose, &QAction::toggled, this, [this](bool on) { Sterownik1->VerboseLog = on ? 1 : 0; });
    MenuAdm->addSeparator();
    auto *sizes = new QActionGroup(this);
    const int presets[][2] = {{640, 480}, {800, 600}, {1200, 900}, {1200, 675}, {1200, 575}, {1366, 768}};
    for (const auto &s : presets) {
        QAction *a = MenuAdm->addAction(QStringLiteral("%1x%2").arg(s[0]).arg(s[1]), this,
                                        [this, w = s[0], h = s[1]] { UstawRozmiar(w, h); });
        a->setCheckable(true);
        sizes->addAction(a);
    }
    MenuAdm->addSeparator();
    MenuAdm->addAction(QStringLiteral("Demo"), this, &TForm1::Demo);
    for (const char *tool : {"UTF16->UTF8", "Zasoby->UTF16", "Nastawy"})
        MenuAdm->addAction(QString::fromLatin1(tool))
            ->setEnabled(false); // developer tools of the firmware project
    MenuAdm->addAction(QStringLiteral("Program"), this, [this] {
        Edit1->setVisible(!Edit1->isVisible());
        LayoutActionButtons();
    });
    MenuAdm->addAction(QStringLiteral("Kasowanie Historii"), this,
                       [this] { Sterownik1->HistoriaZmianKasuj(); });
}

// ------------------------------------------------------------------------------------ Relabel

void TForm1::Relabel() {
    LangReload();
    LangSetLanguage(LangIndex);
    MenuDevice->setTitle(LangText(1100));
    ActDeviceInfo->setText(LangText(1330));
    ActService->setText(LangText(1340));
    ActFirmware->setText(LangText(1360));
    ActReadSet->setText(LangText(1101));
    ActSaveSet->setText(LangText(1102));
    ActReadOsc->setText(LangText(1105));
    ActSaveOsc->setText(LangText(1106));
    ActCsv->setText(LangText(1107));
    RelabelKopii();
    RelabelRaportu();
    MenuConn->setTitle(LangText(1117));
    MenuLang->setTitle(LangText(1120).trimmed());
    MenuViewMenu->setTitle(LangText(1150));
    for (int i = 0; i < 3; ++i)
        ActView[size_t(i)]->setText(LangText(1151 + i));
    MenuColor->setTitle(LangText(1160));
    for (int i = 0; i < 6; ++i)
        ActColor[size_t(i)]->setText(LangText(1161 + i));
    MenuDoc->setTitle(LangText(1170));
    for (int i = 0; i < 3; ++i)
        ActDoc[size_t(i)]->setText(LangText(1171 + i));

    for (int i = 0; i < 6; ++i)
        TabMain[size_t(i)]->setText(LangText(1200 + i) + QStringLiteral(" [F%1]").arg(i + 1));
    const int mapy[12] = {1210, 1211, 1212, 1213, 1214, 1215, 1216, 1218, 0, 0, 0, 0};
    for (int i = 0; i < 12; ++i)
        TabMapy[size_t(i)]->setText(mapy[i] ? LangText(mapy[i]) : QString());
    TabObd[0]->setText(QStringLiteral("ELM"));
    TabObd[1]->setText(QStringLiteral("Moduł"));
    TabObd[2]->setText(LangText(1100));
    TabObd[3]->setText(LangText(1211));
    PanelObd->SpeedButton41->setText(LangText(1232));
    PanelObd->SpeedButton43->setText(LangText(4400));
    PanelObd->Pojazd->Relabel();

    BannerKanaly->setText(QString());
    BannerBledy->setText(QLatin1Char(' ') + LangText(1232) + QLatin1Char(' '));
    BannerInfo->setText(QLatin1Char(' ') + LangText(1234) + QLatin1Char(' '));
    PanelRight->Relabel();

    PrzebudujKanaly();
    PanelRight->PanelRightResize();
    PanelTopTab1Resize();
    PanelTopTab2Resize();
}

void TForm1::MenuLangClick(int index) {
    LangIndex = std::clamp(index, 0, 3);
    langChosen_ = true;
    LangSetLanguage(LangIndex);
    ActLang[size_t(LangIndex)]->setChecked(true);
    Relabel();
    SpeedButton1Click(-1);
}

// ------------------------------------------------------------------------------------ connection menus

void TForm1::MenuPolaczenie() {
    WypelnijMenuPortow(MenuConn, Sterownik1, ConnectTag,
                       [this](int tag) { ConnectTag = Sterownik1->PortOnClick(tag); });
}

void TForm1::MenuElm() {
    WypelnijMenuPortow(MenuElmMenu, Obd, 0, [this](int tag) { Obd->PortOnClick(tag); });
    // OBD polling: as specified, or fast (several PIDs a request on CAN, the next at the answer).
    // The menu is filled anew each time it opens: everything made here goes with its actions.
    MenuElmMenu->addSection(LangText(5000));
    QActionGroup *group = nullptr;
    for (const bool fast : {false, true}) {
        QAction *a = MenuElmMenu->addAction(LangText(fast ? 5002 : 5001));
        if (!group) group = new QActionGroup(a);
        a->setCheckable(true);
        a->setChecked(Obd->SzybkiPolling == fast);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, fast] { Obd->SzybkiPolling = fast; });
    }
    // A Wi-Fi adapter: asked for its address, then connected like a port.
    MenuElmMenu->addSeparator();
    QAction *wifi = MenuElmMenu->addAction(LangText(1115) + QStringLiteral("…"));
    wifi->setCheckable(true);
    wifi->setChecked(Obd->PortIsTcp());
    connect(wifi, &QAction::triggered, this, [this] {
        bool ok = false;
        const QString proposed = Obd->PortIsTcp() ? Obd->PortPath : QString::fromLatin1(DefaultWifiAdapter);
        const QString address = QInputDialog::getText(this, QStringLiteral("TARVEN"), LangText(1115),
                                                      QLineEdit::Normal, proposed, &ok)
                                    .trimmed();
        if (!ok) return;
        if (!IsTcpAddress(address)) {
            QApplication::beep();
            return;
        }
        Obd->PortPath = address;
        Obd->PortOpen(-1);
    });
}

// ------------------------------------------------------------------------------------ files

void TForm1::CzytajUstawieniaClick() {
    QFileDialog dlg(this, LangText(1103));
    if (!DocumentsFolder.isEmpty() && QDir(DocumentsFolder).exists())
        dlg.setDirectory(TConfig::FolderUstawien(DocumentsFolder));
    dlg.setNameFilters(
        {LangText(1111) + QStringLiteral(" (*.set)"), LangText(1110) + QStringLiteral(" (*.*)")});
    dlg.setDefaultSuffix(QStringLiteral("set"));
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    const QString file = dlg.selectedFiles().constFirst();
    PrzedZapisem(TPowodKopii::ZapisPliku, [this, file] { WczytajPlikUstawien(file); });
}

void TForm1::ZapiszUstawieniaClick() {
    QFileDialog dlg(this, LangText(1104));
    if (!DocumentsFolder.isEmpty() && QDir(DocumentsFolder).exists())
        dlg.setDirectory(TConfig::FolderUstawien(DocumentsFolder));
    dlg.setNameFilters(
        {LangText(1111) + QStringLiteral(" (*.set)"), LangText(1110) + QStringLiteral(" (*.*)")});
    dlg.setDefaultSuffix(QStringLiteral("set"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    Sterownik1->ZapiszUstawienia(dlg.selectedFiles().constFirst());
}

void TForm1::AktualizacjaClick() {
    // An update is for the controller on the cable now; none is kept for the next one.
    if (!Sterownik1->PortConnected()) {
        LangMessage(4607, 16);
        return;
    }
    QFileDialog dlg(this);
    const QString start = TConfig::FolderStartowyFirmware(
        Config->FirmwareDir(), QCoreApplication::applicationDirPath(), DocumentsFolder);
    if (!start.isEmpty()) dlg.setDirectory(start);
    dlg.setNameFilters(
        {LangText(1114) + QStringLiteral(" (*.img)"), LangText(1110) + QStringLiteral(" (*.*)")});
    dlg.setDefaultSuffix(QStringLiteral("img"));
    dlg.setFileMode(QFileDialog::ExistingFile);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    const QString file = dlg.selectedFiles().constFirst();
    Config->SetFirmwareDir(QFileInfo(file).absolutePath()); // the next box starts there
    // A file that will be refused leaves no backup behind: it is checked first.
    if (!Sterownik1->SprawdzAktualizacje(file)) return;
    PrzedZapisem(TPowodKopii::Firmware, [this, file] {
        if (!Sterownik1->Aktualizacja(file)) return;
        FormProg->Przygotuj(Kolor(Paleta.Background), Kolor(Paleta.DialogText),
                            QStringLiteral("TARVEN - ") + LangText(1360), LangText(1361));
        FormProg->exec();
    });
}

void TForm1::DeviceInfoClick() {
    FormDevice->Przygotuj(Sterownik1, Kolor(Paleta.Background), Kolor(Paleta.DialogText), font());
    FormDevice->exec();
}

void TForm1::ServiceClick() {
    FormService->Przygotuj(Sterownik1, Kolor(Paleta.Background), Kolor(Paleta.DialogText), font());
    FormService->exec();
}
