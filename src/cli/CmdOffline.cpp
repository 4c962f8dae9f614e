// Commands that need no device: ports, export-csv, defaults, show-set.
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "device/ImageFile.h"
#include "device/ScopeCsv.h"
#include "device/TSterownik.h"
#include "link/Frame.h"
#include "settings/TKatalogNastaw.h"

#include <QFile>
#include <cstring>
#include <vector>

namespace {

// Recordings longer than this (about 28 hours) are exported up to here.
constexpr qint64 NajwiecejProbek = 1000000;

// A controller image that is never connected; the engine's message boxes become error texts.
struct ObrazOffline {
    TSterownik S;
    QString Message;
    explicit ObrazOffline(const CliOptions &o) {
        UstawJezyk(o, CzytajKonfiguracje());
        S.StopTimer();
        S.OnMessage = [this](const QString &text, int) {
            Message = text;
            return 1;
        };
    }
    ~ObrazOffline() { S.OnMessage = nullptr; }
};

int BladPliku(const QString &message) {
    Blad(message);
    return WyjscieBladPliku;
}

} // namespace

int CmdPorts(const CliOptions &o) {
    if (!o.Args.isEmpty()) return UsageError(QStringLiteral("ports takes no arguments"));
    TSerial port;
    port.PortNumber = 0; // no entry is marked as the selected one
    for (const TPortMenuEntry &e : port.PortList())
        if (e.Tag > 0) Wypisz(QString::number(e.Tag) + QLatin1Char('\t') + e.Caption);
    return WyjscieOk;
}

int CmdExportCsv(const CliOptions &o) {
    TArgumenty a;
    QString error;
    if (!a.Czytaj(o.Args, {}, {QStringLiteral("--extended")}, &error))
        return UsageError(QStringLiteral("export-csv: ") + error);
    if (a.Operandy().size() != 2) return UsageError(QStringLiteral("export-csv needs OSC and CSV"));
    const QString osc = a.Operandy()[0];
    const QString csv = a.Operandy()[1];

    QFile f(osc);
    if (!f.open(QIODevice::ReadOnly))
        return BladPliku(
            QStringLiteral("%1: cannot be opened: %2 (Error code 132)").arg(osc, f.errorString()));
    const QByteArray head = f.read(256);
    if (head.size() < 256 || !head.startsWith("osc file") || uint8_t(head[8]) != 1 || uint8_t(head[9]) != 1)
        return BladPliku(QStringLiteral("%1: not a scope recording (Error code 133)").arg(osc));
    const qint64 inFile = std::max<qint64>(0, (f.size() - TImageFile::Size) / TImageFile::SampleSize);
    f.close();

    ObrazOffline obraz(o);
    TSterownik &s = obraz.S;
    // The series of a recording depend on the board that made it: take the recording's own
    // identification (loading a recording keeps the image's, which offline is empty).
    std::memcpy(s.Identyfikacja, head.constData() + 128, 128);
    std::memcpy(s.Identyfikacja + 128, head.constData() + 64, 64);
    s.ExtendedView = a.Flaga(QStringLiteral("--extended")) ? 1 : 0;

    const qint64 capacity = std::min(inFile, NajwiecejProbek);
    if (inFile > capacity)
        Blad(QStringLiteral("%1 holds %2 samples; the first %3 are exported")
                 .arg(osc)
                 .arg(inFile)
                 .arg(capacity));
    std::vector<uint8_t> samples(size_t(std::max<qint64>(capacity, 1)) * TImageFile::SampleSize, 0);
    const int n = s.CzytajOscyloskop(osc, samples.data(), int(capacity));
    if (!obraz.Message.isEmpty()) return BladPliku(QStringLiteral("%1: %2").arg(osc, obraz.Message));
    if (!ScopeCsv::Zapisz(s, samples.data(), n, csv, &error))
        return BladPliku(QStringLiteral("%1: cannot be written: %2").arg(csv, error));
    Wypisz(QStringLiteral("exported %1 samples to %2").arg(n).arg(csv));
    return WyjscieOk;
}

int CmdDefaults(const CliOptions &o) {
    if (o.Args.size() != 1 || o.Args.first().startsWith(QLatin1String("--")))
        return UsageError(QStringLiteral("defaults needs one FILE"));
    const QString file = o.Args.first();
    ObrazOffline obraz(o);
    TSterownik &s = obraz.S;
    TKatalogNastaw katalog(&s);
    katalog.UtworzNastawy();
    katalog.NastawyDomyslne();
    // Byte 0 is the block's checksum, as in a block read from a controller.
    s.Nastawy[0] = 0;
    s.Nastawy[0] = uint8_t(-Frame::Sum(s.Nastawy, 256));
    if (!s.ZapiszUstawienia(file))
        return BladPliku(QStringLiteral("%1: cannot be written (%2)").arg(file, obraz.Message));
    Wypisz(QStringLiteral("saved %1").arg(file));
    return WyjscieOk;
}

int CmdShowSet(const CliOptions &o) {
    if (o.Args.size() != 1 || o.Args.first().startsWith(QLatin1String("--")))
        return UsageError(QStringLiteral("show-set needs one FILE"));
    const QString file = o.Args.first();
    QString message;
    if (!SprawdzPlikUstawien(file, &message)) return BladPliku(message);
    ObrazOffline obraz(o);
    TSterownik &s = obraz.S;
    if (!s.CzytajUstawienia(file)) return BladPliku(QStringLiteral("%1: %2").arg(file, obraz.Message));
    TKatalogNastaw katalog(&s);
    katalog.UtworzNastawy();
    for (int item = 0; item < IleNastaw; ++item) {
        if (katalog.Rekord(item).LabelId == 0) continue;
        const int raw = s.Nastawy[item];
        Wypisz(QStringList{QString::number(item), katalog.NazwaNastawy(item), QString::number(raw),
                           katalog.TekstNastawy(item, raw), katalog.JednostkaNastawy(item)}
                   .join(QLatin1Char('\t')));
    }
    return WyjscieOk;
}
