#pragma once
// The program's configuration in the per-user settings store (organisation "DuzERO").
//
// Every value is a 32-bit integer. The values are read in a fixed order and the first one that is
// missing or not an integer ends the reading: it and every value after it keep their defaults. This
// keeps a store written by an older program (which knew fewer values) from being half-applied out of
// order. `LinkKey`, `ElmHost` and `FirmwareDir` are newer than the rest and are read on their own,
// outside that chain.
//
// Language of a first start: when the chain ends before `Lang` (nothing stored yet, or an older store),
// the system's language decides (Polish, Russian, Spanish, else English); a stored `Lang` always wins.
//
// On Linux the store is the file ~/.config/DuzERO.conf (QSettings' native format); tests give a file.
#include <QLocale>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QSettings;

class TConfig {
public:
    static constexpr int ColourCount = 34;
    // Language-table ids of the series names; value "Color<id>" belongs to chart series n + 1.
    static const std::array<int, ColourCount> ColourIds;

    // Value names in their read order (colours and LinkKey not included).
    static constexpr const char *KeyComm = "Comm";
    static constexpr const char *KeyElmComm = "ElmComm";
    static constexpr const char *KeyComp = "Comp";
    static constexpr const char *KeyLang = "Lang";
    static constexpr const char *KeyView = "View";
    static constexpr const char *KeyTop = "WTop";
    static constexpr const char *KeyLeft = "WLeft";
    static constexpr const char *KeyWidth = "WWidth";
    static constexpr const char *KeyHeight = "WHeight";
    static constexpr const char *KeyState = "WState";
    static constexpr const char *KeyLinkKey = "LinkKey";
    static constexpr const char *KeyElmHost = "ElmHost";
    static constexpr const char *KeyFirmwareDir = "FirmwareDir";
    // The workshop on the service report, and the incomplete monitors an inspection allows; read on
    // their own like LinkKey.
    static constexpr const char *KeyWorkshopName = "WorkshopName";
    static constexpr const char *KeyWorkshopAddress = "WorkshopAddress";
    static constexpr const char *KeyWorkshopPhone = "WorkshopPhone";
    static constexpr const char *KeyInspectionAllowance = "InspectionAllowance";
    // OBD polling: 0 as specified (one PID a request, one step a tick), 1 fast; read on its own.
    static constexpr const char *KeyObdPolling = "ObdPolling";
    static QString ColourKey(int n); // "Color1400" for n = 0

    // Defaults and ranges.
    static constexpr int DefaultComm = 1;
    static constexpr int DefaultComp = 3;
    static constexpr int DefaultLang = 1;
    static constexpr int DefaultView = 1;
    static constexpr int MaxComp = 5;
    static constexpr int MaxLang = 3;
    static constexpr int MaxView = 2;
    static constexpr int DefaultAllowance = 1;
    static constexpr int MaxAllowance = 11; // a spark engine has eleven monitors
    enum WindowState { StateNormal = 0, StateMinimised = 1, StateMaximised = 2 };

    // The per-user store.
    TConfig();
    // A store in the given INI file (tests, portable set-ups).
    explicit TConfig(const QString &iniFile);
    ~TConfig();
    TConfig(const TConfig &) = delete;
    TConfig &operator=(const TConfig &) = delete;

    // Resets everything to defaults, then reads the store in order; clamps Comp, Lang and View. When
    // no Lang was read, the language of the given locale is taken. Returns how many chained values
    // were read (0 when the store is empty).
    int Read(const QLocale &system = QLocale::system());
    // Language index of a locale: 1 Polish, 2 Russian, 3 Spanish, 0 English for every other language.
    static int JezykLokalizacji(const QLocale &locale);
    // Writes every value; the window bounds only when the window is not maximised (the stored normal
    // bounds then stay as they were) or when the store holds none yet. Returns false when the store
    // could not be written.
    bool Write();

    int Comm() const { return comm_; }
    void SetComm(int port) { comm_ = port; }
    int ElmComm() const { return elmComm_; }
    void SetElmComm(int port) { elmComm_ = port; }
    int Comp() const { return comp_; }
    void SetComp(int scheme) { comp_ = scheme; }
    int Lang() const { return lang_; }
    void SetLang(int language) { lang_ = language; }
    int View() const { return view_; }
    void SetView(int view) { view_ = view; }

    // Window placement: valid only when all four values were read.
    bool HasBounds() const { return hasBounds_; }
    QRect Bounds() const { return bounds_; }
    void SetBounds(const QRect &r) {
        bounds_ = r;
        hasBounds_ = true;
    }
    bool HasWindowState() const { return hasState_; }
    int WindowStateValue() const { return state_; }
    void SetWindowState(int s) {
        state_ = s;
        hasState_ = true;
    }

    // Stored colour of series n + 1 (0x00BBGGRR), or -1 when the store held none or a negative one.
    int64_t Colour(int n) const;
    void SetColour(int n, uint32_t colour);

    uint8_t LinkKey() const { return linkKey_; }
    void SetLinkKey(uint8_t key) { linkKey_ = key; }

    // The Wi-Fi adapter's address HOST:PORT when that is the adapter in use, empty when the adapter
    // is on the serial port ElmComm. Read on its own like LinkKey; a stored text that is not such an
    // address reads as empty.
    QString ElmHost() const { return elmHost_; }
    void SetElmHost(const QString &address);

    // The folder a firmware image was last opened from (empty when none was).
    QString FirmwareDir() const { return firmwareDir_; }
    void SetFirmwareDir(const QString &folder) { firmwareDir_ = folder; }

    // The workshop's name, address (may hold line breaks) and phone for the service report.
    QString WorkshopName() const { return workshopName_; }
    QString WorkshopAddress() const { return workshopAddress_; }
    QString WorkshopPhone() const { return workshopPhone_; }
    void SetWorkshop(const QString &name, const QString &address, const QString &phone);
    // Incomplete readiness monitors an emissions inspection allows (0 the strictest, default 1); a
    // stored value out of 0 … MaxAllowance reads as the default.
    int InspectionAllowance() const { return allowance_; }
    // OBD polling fast (the default) or as specified; a stored value other than 0 or 1 reads as fast.
    bool ObdFast() const { return obdFast_; }
    void SetObdFast(bool fast) { obdFast_ = fast; }
    void SetInspectionAllowance(int n) { allowance_ = n >= 0 && n <= MaxAllowance ? n : DefaultAllowance; }

    // Identity of this PC for the controller's change history: the first 32 bits of the SHA-256 of the
    // machine id (/etc/machine-id, else /var/lib/dbus/machine-id), read as a big-endian number. The id
    // is fixed when the system is installed, so the number stays the same across runs; 0 when no id
    // can be read. A file may be given instead (tests).
    static uint32_t WorkstationId(const QString &machineIdFile = QString());
    // Creates the user's folders under the documents folder: "QERN", "QERN/Tarven II" and its
    // "Scope", "Settings" and "Firmware". Returns false when one could not be created (or docs is empty).
    static bool UtworzFoldery(const QString &docs);
    static QString FolderUstawien(const QString &docs); // docs + "/QERN/Tarven II/Settings"
    static QString FolderScope(const QString &docs);    // docs + "/QERN/Tarven II/Scope"
    static QString FolderFirmware(const QString &docs); // docs + "/QERN/Tarven II/Firmware"
    // Where the firmware file box starts: the folder an image was last opened from, else a "Firmware"
    // folder beside the program, else the one in the documents folder; the first of them that exists
    // (empty when none does).
    static QString FolderStartowyFirmware(const QString &remembered, const QString &programDir,
                                          const QString &docs);

    // Number of chained values found by the last Read (for diagnostics and tests).
    int ValuesRead() const { return valuesRead_; }

private:
    void Defaults();
    std::unique_ptr<QSettings> store_;
    int comm_ = DefaultComm, elmComm_ = DefaultComm, comp_ = DefaultComp, lang_ = DefaultLang,
        view_ = DefaultView;
    bool hasBounds_ = false, hasState_ = false;
    QRect bounds_;
    int state_ = StateNormal;
    std::array<int64_t, ColourCount> colours_{};
    uint8_t linkKey_;
    QString elmHost_;
    QString firmwareDir_;
    QString workshopName_, workshopAddress_, workshopPhone_;
    int allowance_ = DefaultAllowance;
    bool obdFast_ = true;
    int valuesRead_ = 0;
};
