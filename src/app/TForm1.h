#pragma once
// The main window: owner of the controller link, the OBD engine and the three centre views; the tabs,
// menus, panels and the dispatcher of device events.
//
// Implementation files:
//   TForm1.cpp          creation of the widgets, outer layout
//   TForm1Start.cpp     configuration, FormCreate, FormShow, supervision, splash, shutdown
//   TForm1Klawisze.cpp  hot keys
//   TForm1Zdarzenia.cpp dispatcher of device events, communication log
//   TForm1Panele.cpp    live update of the status panel and the right panel
//   TForm1Zakladki.cpp  main tabs, sub-tabs, action buttons, tab-bar layout
//   TForm1Menu.cpp      menus, Relabel, file menu items
//   TForm1Widok.cpp     views, colour schemes, window-size presets
//   TForm1Demo.cpp      the administrator's demonstration maps
//   TForm1Kopie.cpp     backups before every write of the whole state, change report, backups window
//   TForm1Cofanie.cpp   undo and redo
//   TForm1Raport.cpp    the service report of the visit and the workshop's details
#include "widgets/TPaleta.h"
#include "widgets/TWidoki.h"

#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QButtonGroup;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMessageBox;
class QProgressBar;
class QPushButton;
class QToolButton;
class TConfig;
class TDialogi;
class TFormAdmin;
class TFormLogo;
class TFormProg;
class TFormDevice;
class TFormKopie;
class TFormRaport;
class TFormRaportSerwisowy;
class TFormWarsztat;
class TFormService;
class TKatalogNastaw;
class TListaKanalow;
class TObd;
class TPanelObd;
class TPanelPrawy;
class TRichBox;
class TSterownik;
class TStrazKopii;
enum class TPowodKopii;

// A panel whose children all fill it (the centre and the bottom dock).
class TKontener : public QWidget {
    Q_OBJECT
public:
    explicit TKontener(QWidget *parent = nullptr) : QWidget(parent) {}
    void Wypelnij();
signals:
    void Zmieniono();

protected:
    void resizeEvent(QResizeEvent *) override;
    void childEvent(QChildEvent *e) override;
};

// Command-line choices of one run; none of them is stored in the configuration.
struct TRaportSerwisowy;

struct TOpcjeStartu {
    QString Port;             // --port PATH: controller on this device file
    QString PortObd;          // --obd-port PATH: adapter on this device file, opened at start
    int LinkKey = -1;         // --link-key N
    bool Admin = false;       // --admin: hot keys H, J, K, Q
    int Jezyk = -1;           // --lang
    QString PlikKonfiguracji; // tests: an INI file instead of the per-user store
    bool Splash = true;
    bool OtworzPort = true; // FormShow opens the controller port
    // The system's locale: a first start takes its language (tests give others).
    QLocale Lokalizacja = QLocale::system();
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(const TOpcjeStartu &opcje = {}, QWidget *parent = nullptr);
    ~TForm1() override;

    // ---------------------------------------------------------------- life (TForm1Start.cpp)
    void FormCreate();
    void FormShow();
    void FormClose();
    void Timer1Timer();
    void Timer2Timer();
    // Applies the stored configuration to the window (FormCreate step 3).
    void CzytajKonfiguracje();
    void ZapiszKonfiguracje();
    static QString TytulBazowy(const QString &version);

    // ---------------------------------------------------------------- hot keys (TForm1Klawisze.cpp)
    void FormKeyDown(int key, Qt::KeyboardModifiers mods);

    // ---------------------------------------------------------------- events (TForm1Zdarzenia.cpp)
    void Zdarzenie(int kind, int a, int b, int c);
    void LogTekst(QObject *sender, const QString &text, uint32_t colour);
    void Transmisja(bool on);
    void Dodaj(TOdbiorcaOdczytow *o) { odbiorcy_.push_back(o); }

    // ---------------------------------------------------------------- panels (TForm1Panele.cpp)
    void UpdateLive(const uint8_t *rx);
    void StatusPolaczenia(bool connected);
    void ZglosBladPortu();
    int ZgloszonyBladPortu = 0; // the port fault last written to the log (TPortFault)
    void PrzebudujKanaly();
    void PanelLeftZwin(bool collapse);
    void PanelRightZwin(bool collapse);

    // ---------------------------------------------------------------- tabs (TForm1Zakladki.cpp)
    void SpeedButton1Click(int tab = -1); // -1: re-apply the current tab
    void SpeedButton11Click();
    void SpeedButton31Click();
    void SpeedButton41Click();
    void Btn51Click(QPushButton *button);
    void Akcja(int tag);
    void LayoutActionButtons();
    void PanelTopTab1Resize();
    void PanelTopTab2Resize();
    void PanelTopTab3Resize();
    void WybierzPodzakladkeMapy(int sub);
    void WybierzPodzakladkeObd(int sub);
    int PodzakladkaMapy() const;
    int PodzakladkaObd() const;
    void FormResize();

    // ---------------------------------------------------------------- menus (TForm1Menu.cpp)
    void Relabel();
    void MenuLangClick(int index);
    void MenuPolaczenie();
    void MenuElm();
    void CzytajUstawieniaClick();
    void ZapiszUstawieniaClick();
    void AktualizacjaClick();
    void DeviceInfoClick();
    void ServiceClick();
    void Demo();

    // ---------------------------------------------------------------- backups (TForm1Kopie.cpp)
    void UtworzKopie();
    void RelabelKopii();
    // Every event of the controller link: what has been read, and a write waiting for it.
    void ZdarzenieKopii(int kind, int a);
    // A write of the controller's whole state: runs once the controller is read and backed up (or
    // the fitter chose to go on without a backup); at once when the port is closed.
    void PrzedZapisem(TPowodKopii powod, std::function<void()> zapis);
    // A settings file into the image (written to the controller when connected), views redrawn.
    void WczytajPlikUstawien(const QString &file);
    void PorownajZPlikiemClick();
    void PorownajZPlikiem(const QString &file);
    void KopieClick();
    std::unique_ptr<TStrazKopii> Straz;
    TFormRaport *FormRaport = nullptr;
    TFormKopie *FormKopie = nullptr;
    QAction *ActPorownaj = nullptr, *ActKopie = nullptr;
    QMessageBox *Czekanie = nullptr; // shown while a write waits for the read
    // Changes made for another controller (or none) found at the identification: asked once the
    // controller has been read and backed up; Yes writes them, No (the default) drops them.
    void ZmianyInnejSesji();
    QMessageBox *Pytanie = nullptr;
    // A message for the fitter shown from the event loop (the link's tick never opens a box).
    void KomunikatPozniej(const QString &text, int flags);
    // ---------------------------------------------------------------- report (TForm1Raport.cpp)
    void UtworzRaport();
    void RelabelRaportu();
    void RaportSerwisowyClick();
    void WarsztatClick();
    // The visit as the report tells it: the car of the vehicle page, the controller read since the
    // connection, the change report since its connection backup, the backups taken.
    TRaportSerwisowy RaportWizyty();
    TFormRaportSerwisowy *FormRaportSerwisowy = nullptr;
    TFormWarsztat *FormWarsztat = nullptr;
    QAction *ActRaport = nullptr, *ActWarsztat = nullptr;
    QByteArray RaportBledow;                    // the controller's last error report (reply 0x82)
    QList<QPair<QString, QString>> KopieWizyty; // serial and path of every backup saved this run
    // ---------------------------------------------------------------- undo (TForm1Cofanie.cpp)
    void Cofnij();
    void Ponow();
    void OdswiezMenuCofania();
    bool KlawiszCofania(const QKeyEvent *k); // Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z
    QAction *ActCofnij = nullptr, *ActPonow = nullptr;

    // ---------------------------------------------------------------- views (TForm1Widok.cpp)
    void MenuView0Click(int tag = -1);
    void MenuColor0Click(int tag = -1);
    void UstawWidok();
    void UstawSchemat();
    void UstawRozmiar(int width, int height);
    void IkonyScope(); // the scope buttons' pictures in the scheme's text colour
    QColor KolorPalety(uint32_t v) const { return Kolor(v); }

    // ---------------------------------------------------------------- state
    TOpcjeStartu Opcje;
    QString BaseTitle;
    QString DocumentsFolder;
    int LangIndex = 1;
    int ViewIndex = 1;
    int SchemeIndex = 3;
    int AdminFlag = 0; // bit 0 maker workstation (--admin), bit 1 administrator mode on
    int TickCounter = 0;
    int SecondsCounter = 0;
    int KeepAlive = 0;
    int SplashCounter = 0;
    int CurrentTab = 0;
    int ConnectTag = 0; // tag of the connection menu's head item: -1 no automatic reconnection
    bool LeftCollapsed = false;
    bool RightCollapsed = false;
    uint32_t NormalDiagColour = SysButtonText;
    TPaleta Paleta;

    // ---------------------------------------------------------------- owned objects
    TSterownik *Sterownik1 = nullptr;
    TObd *Obd = nullptr;
    std::unique_ptr<TKatalogNastaw> Katalog;
    std::unique_ptr<TWidokMapy> Grafika;
    std::unique_ptr<TWidokScope> Scope;
    std::unique_ptr<TWidokNastaw> Nastawy;
    std::unique_ptr<TConfig> Config;
    // The dialogs of the settings grid and the readings chooser.
    std::unique_ptr<TDialogi> Dialogi;
    QTimer Timer1; // supervision, 100 ms
    QTimer Timer2; // splash

    // ---------------------------------------------------------------- windows
    TFormAdmin *FormAdmin = nullptr;
    TFormLogo *FormLogo = nullptr;
    TFormProg *FormProg = nullptr;
    TFormDevice *FormDevice = nullptr;
    TFormService *FormService = nullptr;

    // ---------------------------------------------------------------- widgets
    QWidget *PanelTopTab1;
    QWidget *PanelTopTab2;
    QWidget *PanelTopTab3;
    std::array<QPushButton *, 6> TabMain{};  // SpeedButton1 … 6
    std::array<QPushButton *, 12> TabMapy{}; // SpeedButton11 … 16, 21 … 26 (sub-tabs 0 … 11)
    std::array<QPushButton *, 4> TabObd{};   // SpeedButton31 … 34
    QButtonGroup *GrupaMain;
    QButtonGroup *GrupaMapy;
    QButtonGroup *GrupaObd;
    TKontener *Centrum;
    TKontener *PanelNasInfoObd;
    QWidget *PanelInfo;
    QLabel *BannerInfo;
    TRichBox *RichEditInfo;
    QWidget *PanelBledy;
    QLabel *BannerBledy;
    TRichBox *RichEditBledy;
    TPanelObd *PanelObd;
    QWidget *PanelLeft;
    QLabel *BannerKanaly;
    TListaKanalow *StringGrid1;
    QToolButton *StripLeft; // ">" of the collapsed left panel
    TPanelPrawy *PanelRight;
    QToolButton *StripRight; // "<" of the collapsed right panel
    QWidget *PanelBottomStatus;
    std::array<QPushButton *, 4> Btn{}; // Btn51 … Btn54
    QProgressBar *ProgressBar1;
    QWidget *PanelOsc;
    std::vector<QToolButton *> BtnOsc;
    QLineEdit *Edit1;
    QLabel *PanelStatus;

    // Menus.
    QMenu *MenuDevice;
    QMenu *MenuConn;
    QMenu *MenuElmMenu;
    QMenu *MenuLang;
    QMenu *MenuViewMenu;
    QMenu *MenuColor;
    QMenu *MenuDoc;
    QMenu *MenuAdm;
    QAction *MenuAdmAction;
    QAction *ActDeviceInfo, *ActService, *ActFirmware, *ActReadSet, *ActSaveSet, *ActReadOsc, *ActSaveOsc,
        *ActCsv;
    std::array<QAction *, 4> ActLang{};
    std::array<QAction *, 3> ActView{};
    std::array<QAction *, 6> ActColor{};
    std::array<QAction *, 3> ActDoc{};
    QAction *ActTransmisja, *ActVerbose;

    int BarHeight = 28;
    int StatusWidth = 180;

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void UtworzWidgety();
    void UtworzMenu();
    void UtworzMenuCofania();
    void PoCofnieciu();
    void UtworzPanelDolny();
    void UtworzPanelBoczne();
    void UkladDoku();
    void KoloryPanelu(QWidget *w, uint32_t bg, uint32_t fg);
    void KolorPrzycisku(QPushButton *b, uint32_t fg);
    void WierszBledu(int idText, int injector, int count);
    void AktualizujTytul(const QString &suffix);
    bool shown_ = false;
    bool closed_ = false;
    int dok_ = 0;    // bottom dock: 0 hidden, 1 80 px, 2 a third, 3 half, 4 all but 65 px
    int mapSub_ = 0; // map sub-tab shown (-1 none)
    bool langChosen_ = false;
    std::vector<TOdbiorcaOdczytow *> odbiorcy_;
    void WykonajCzekajacy();
    std::function<void()> czekajacy_; // the write waiting for the backup
    TPowodKopii czekajacyPowod_{};
    QString czekajacyNumer_; // the controller the waiting write was asked for ("" not yet known)
    bool wykonanieZaplanowane_ = false;
    bool pytanieZaplanowane_ = false;
};
