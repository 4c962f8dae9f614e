#include "config/TConfig.h"

#include "link/Frame.h"
#include "link/TcpBackend.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <optional>

const std::array<int, TConfig::ColourCount> TConfig::ColourIds = {
    1400, 1402, 1404, 1406, 1408, 1410, 1412, 1418, 1420, 1422, 1430, 1432, 1450, 1452, 1454, 1456, 1458,
    1460, 1501, 1601, 1502, 1602, 1503, 1603, 1504, 1604, 1505, 1605, 1506, 1606, 1507, 1607, 1508, 1608};

QString TConfig::ColourKey(int n) {
    return QStringLiteral("Color%1").arg(ColourIds.at(size_t(n)));
}

TConfig::TConfig()
    : store_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                         QStringLiteral("DuzERO"))),
      linkKey_(Frame::DefaultLinkKey) {
    Defaults();
}

TConfig::TConfig(const QString &iniFile)
    : store_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)), linkKey_(Frame::DefaultLinkKey) {
    Defaults();
}

TConfig::~TConfig() = default;

void TConfig::Defaults() {
    comm_ = DefaultComm;
    elmComm_ = DefaultComm;
    comp_ = DefaultComp;
    lang_ = DefaultLang;
    view_ = DefaultView;
    hasBounds_ = false;
    hasState_ = false;
    bounds_ = QRect();
    state_ = StateNormal;
    colours_.fill(-1);
    linkKey_ = Frame::DefaultLinkKey;
    elmHost_.clear();
    firmwareDir_.clear();
    workshopName_.clear();
    workshopAddress_.clear();
    workshopPhone_.clear();
    allowance_ = DefaultAllowance;
    obdFast_ = true;
    valuesRead_ = 0;
}

namespace {
// A stored 32-bit value, as the DWORD it stands for (negative numbers keep their bit pattern).
std::optional<int32_t> ReadDword(QSettings &s, const QString &key) {
    if (!s.contains(key)) return std::nullopt;
    bool ok = false;
    const qlonglong v = s.value(key).toLongLong(&ok);
    if (!ok || v < INT32_MIN || v > UINT32_MAX) return std::nullopt;
    return int32_t(uint32_t(uint64_t(v)));
}
} // namespace

int TConfig::JezykLokalizacji(const QLocale &locale) {
    switch (locale.language()) {
    case QLocale::Polish: return 1;
    case QLocale::Russian: return 2;
    case QLocale::Spanish: return 3;
    default: return 0;
    }
}

int TConfig::Read(const QLocale &system) {
    Defaults();
    QSettings &s = *store_;
    s.sync();
    int n = 0;
    bool langStored = false;
    // The chain: each value read replaces its default; the first gap ends it.
    auto next = [&](const char *key) -> std::optional<int32_t> {
        auto v = ReadDword(s, QString::fromLatin1(key));
        if (v) ++n;
        return v;
    };
    [&] {
        const char *plain[] = {KeyComm, KeyElmComm, KeyComp, KeyLang, KeyView};
        int *target[] = {&comm_, &elmComm_, &comp_, &lang_, &view_};
        for (int i = 0; i < 5; ++i) {
            auto v = next(plain[i]);
            if (!v) return;
            *target[i] = *v;
            if (target[i] == &lang_) langStored = true;
        }
        auto top = next(KeyTop);
        if (!top) return;
        auto left = next(KeyLeft);
        if (!left) return;
        auto width = next(KeyWidth);
        if (!width) return;
        auto height = next(KeyHeight);
        if (!height) return;
        bounds_ = QRect(*left, *top, *width, *height);
        hasBounds_ = true;
        auto state = next(KeyState);
        if (!state) return;
        state_ = *state;
        hasState_ = true;
        for (int i = 0; i < ColourCount; ++i) {
            auto c = ReadDword(s, ColourKey(i));
            if (!c) return;
            ++n;
            if (*c >= 0) colours_[size_t(i)] = *c;
        }
    }();
    valuesRead_ = n;
    // A first start speaks the user's language; once stored, Lang is the user's choice.
    if (!langStored) lang_ = JezykLokalizacji(system);

    if (auto k = ReadDword(s, QString::fromLatin1(KeyLinkKey)); k && *k >= 0 && *k <= 255)
        linkKey_ = uint8_t(*k);
    SetElmHost(s.value(QString::fromLatin1(KeyElmHost)).toString());
    firmwareDir_ = s.value(QString::fromLatin1(KeyFirmwareDir)).toString();
    SetWorkshop(s.value(QString::fromLatin1(KeyWorkshopName)).toString(),
                s.value(QString::fromLatin1(KeyWorkshopAddress)).toString(),
                s.value(QString::fromLatin1(KeyWorkshopPhone)).toString());
    if (auto a = ReadDword(s, QString::fromLatin1(KeyInspectionAllowance))) SetInspectionAllowance(*a);
    if (auto p = ReadDword(s, QString::fromLatin1(KeyObdPolling))) obdFast_ = *p != 0;

    // Range checks of the start: values above the range fall back to the defaults. Negative values
    // are not in any menu either; they are treated the same way so that no index ever goes negative.
    if (comp_ > MaxComp || comp_ < 0) comp_ = DefaultComp;
    if (lang_ > MaxLang || lang_ < 0) lang_ = DefaultLang;
    if (view_ > MaxView || view_ < 0) view_ = DefaultView;
    return n;
}

bool TConfig::Write() {
    QSettings &s = *store_;
    s.setValue(QString::fromLatin1(KeyComm), comm_);
    s.setValue(QString::fromLatin1(KeyElmComm), elmComm_);
    s.setValue(QString::fromLatin1(KeyComp), comp_);
    s.setValue(QString::fromLatin1(KeyLang), lang_);
    s.setValue(QString::fromLatin1(KeyView), view_);
    s.setValue(QString::fromLatin1(KeyState), state_);
    // A maximised window keeps the stored normal bounds. When there are none yet (first run ended
    // maximised) the normal bounds are written anyway: a gap there would end the next reading before
    // the window state and the series colours.
    const bool storeHasBounds =
        s.contains(QString::fromLatin1(KeyTop)) && s.contains(QString::fromLatin1(KeyLeft)) &&
        s.contains(QString::fromLatin1(KeyWidth)) && s.contains(QString::fromLatin1(KeyHeight));
    if (hasBounds_ && (state_ != StateMaximised || !storeHasBounds)) {
        s.setValue(QString::fromLatin1(KeyTop), bounds_.top());
        s.setValue(QString::fromLatin1(KeyLeft), bounds_.left());
        s.setValue(QString::fromLatin1(KeyWidth), bounds_.width());
        s.setValue(QString::fromLatin1(KeyHeight), bounds_.height());
    }
    for (int i = 0; i < ColourCount; ++i)
        if (colours_[size_t(i)] >= 0) s.setValue(ColourKey(i), qlonglong(colours_[size_t(i)]));
    s.setValue(QString::fromLatin1(KeyLinkKey), int(linkKey_));
    s.setValue(QString::fromLatin1(KeyElmHost), elmHost_);
    if (!firmwareDir_.isEmpty()) s.setValue(QString::fromLatin1(KeyFirmwareDir), firmwareDir_);
    s.setValue(QString::fromLatin1(KeyWorkshopName), workshopName_);
    s.setValue(QString::fromLatin1(KeyWorkshopAddress), workshopAddress_);
    s.setValue(QString::fromLatin1(KeyWorkshopPhone), workshopPhone_);
    s.setValue(QString::fromLatin1(KeyInspectionAllowance), allowance_);
    s.setValue(QString::fromLatin1(KeyObdPolling), obdFast_ ? 1 : 0);
    s.sync();
    return s.status() == QSettings::NoError;
}

void TConfig::SetElmHost(const QString &address) {
    const QString a = address.trimmed();
    elmHost_ = IsTcpAddress(a) ? a : QString();
}

void TConfig::SetWorkshop(const QString &name, const QString &address, const QString &phone) {
    // Short texts of one line each (the address keeps its line breaks): a damaged store must not fill
    // the report's head.
    auto kroj = [](const QString &t, bool linie) {
        QString r = t.left(200);
        for (QChar &c : r)
            if (c.unicode() < 0x20 && !(linie && c == u'\n')) c = u' ';
        return r.trimmed();
    };
    workshopName_ = kroj(name, false);
    workshopAddress_ = kroj(address, true);
    workshopPhone_ = kroj(phone, false);
}

int64_t TConfig::Colour(int n) const {
    if (n < 0 || n >= ColourCount) return -1;
    return colours_[size_t(n)];
}

void TConfig::SetColour(int n, uint32_t colour) {
    if (n < 0 || n >= ColourCount) return;
    colours_[size_t(n)] = int64_t(colour);
}

uint32_t TConfig::WorkstationId(const QString &machineIdFile) {
    const QStringList files =
        machineIdFile.isEmpty()
            ? QStringList{QStringLiteral("/etc/machine-id"), QStringLiteral("/var/lib/dbus/machine-id")}
            : QStringList{machineIdFile};
    for (const QString &name : files) {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray id = f.read(256).trimmed();
        if (id.isEmpty()) continue;
        const QByteArray h = QCryptographicHash::hash(id, QCryptographicHash::Sha256);
        return (uint32_t(uint8_t(h[0])) << 24) | (uint32_t(uint8_t(h[1])) << 16) |
               (uint32_t(uint8_t(h[2])) << 8) | uint32_t(uint8_t(h[3]));
    }
    return 0;
}

bool TConfig::UtworzFoldery(const QString &docs) {
    if (docs.isEmpty()) return false;
    const QDir d(docs);
    bool ok = true;
    for (const char *sub : {"QERN", "QERN/Tarven II", "QERN/Tarven II/Scope", "QERN/Tarven II/Settings",
                            "QERN/Tarven II/Firmware"})
        if (!d.exists(QString::fromLatin1(sub))) ok = d.mkpath(QString::fromLatin1(sub)) && ok;
    return ok;
}

QString TConfig::FolderUstawien(const QString &docs) {
    return docs + QStringLiteral("/QERN/Tarven II/Settings");
}
QString TConfig::FolderScope(const QString &docs) {
    return docs + QStringLiteral("/QERN/Tarven II/Scope");
}
QString TConfig::FolderFirmware(const QString &docs) {
    return docs + QStringLiteral("/QERN/Tarven II/Firmware");
}

QString TConfig::FolderStartowyFirmware(const QString &remembered, const QString &programDir,
                                        const QString &docs) {
    QStringList candidates{remembered,
                           programDir.isEmpty() ? QString() : programDir + QStringLiteral("/Firmware"),
                           docs.isEmpty() ? QString() : FolderFirmware(docs)};
    for (const QString &c : candidates)
        if (!c.isEmpty() && QDir(c).exists()) return c;
    return QString();
}
