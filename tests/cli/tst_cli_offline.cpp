// tarven-cli commands that need no device (defaults, show-set, export-csv, ports), and the exit
// codes of usage and file errors.
#include "tst_cli_common.h"

#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "link/Frame.h"
#include "settings/TKatalogNastaw.h"

#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <cstring>

using namespace cli;

namespace {

void Put16(uint8_t *s, int at, int v) {
    s[at] = uint8_t(v & 0xFF);
    s[at + 1] = uint8_t(v >> 8);
}

// The CSV as rows of fields, the ";" ending every line and the CR LF checked on the way.
QList<QStringList> CsvRows(const QByteArray &text) {
    QList<QStringList> rows;
    QStringList lines = QString::fromUtf8(text).split(QStringLiteral("\r\n"));
    if (lines.isEmpty() || !lines.last().isEmpty()) return {};
    lines.removeLast();
    for (const QString &l : lines) {
        if (!l.endsWith(QLatin1Char(';')) || l.contains(QLatin1Char('\n'))) return {};
        rows << l.chopped(1).split(QLatin1Char(';'));
    }
    return rows;
}

} // namespace

class TestCliOffline : public QObject {
    Q_OBJECT
private slots:
    void init();
    void defaultsHoldTheCatalogueDefaults();
    void showSetListsEveryLabelledItem();
    void exportCsvDecodesTheSamples();
    void exportCsvAfrAndExtendedView();
    void exportCsvWithTheUsersDecimalSeparator();
    void portsListing();
    void languageOfTheSystemUntilOneIsStored();
    void versions();
    void usageErrorsExitTwo();
    void fileErrorsExitThree();

private:
    QString Path(const QString &name) const { return dir_->filePath(name); }
    QProcessEnvironment Env(const QString &locale = QStringLiteral("C.UTF-8")) const {
        return Environment(dir_->filePath(QStringLiteral("config")), locale);
    }
    // A recording of three samples made by the program's own scope file writer.
    QString MakeRecording(const QString &name, uint8_t board, uint8_t rpmInput);

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestCliOffline::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    LangSetLanguage(0);
}

void TestCliOffline::defaultsHoldTheCatalogueDefaults() {
    const QString file = Path("factory.set");
    const Result r = Run({"defaults", file}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QByteArray data = ReadAll(file);
    QCOMPARE(data.size(), 4096);
    QVERIFY(data.startsWith("set file"));
    QCOMPARE(int(uint8_t(data[8])), 1);
    const auto *settings = reinterpret_cast<const uint8_t *>(data.constData() + SetFile::Settings);
    QCOMPARE(Frame::Sum(settings, 256), uint8_t(0)); // a block as a controller would hold it

    TSterownik s;
    s.StopTimer();
    TKatalogNastaw k(&s);
    k.UtworzNastawy();
    int nonZero = 0;
    for (int item = 1; item < IleNastaw; ++item) {
        // Items 0-255 are the settings block, 256-303 the extension kept at file offset 16.
        const uint8_t got = item < 256 ? settings[item] : uint8_t(data[16 + item - 256]);
        QCOMPARE(int(got), int(k.Rekord(item).Default));
        nonZero += got != 0;
    }
    QVERIFY(nonZero > 20);
    // The tables beside the settings are the program's own defaults: multipliers and RPM
    // corrections 100, the gas-pressure curve with its id and neutral points.
    QCOMPARE(data.mid(SetFile::Multipliers1, 4 * 256), QByteArray(4 * 256, char(100)));
    QCOMPARE(int(uint8_t(data[SetFile::GasPressureCurve])), 8);
    QCOMPARE(int(uint8_t(data[SetFile::GasPressureCurve + 100])), 128);
}

void TestCliOffline::showSetListsEveryLabelledItem() {
    const QString file = Path("shown.set");
    QVERIFY(Run({"defaults", file}, Env()).code == 0);
    // One choice byte out of its limits: shown by its limit, listed with the raw byte of the file.
    QByteArray data = ReadAll(file);
    TSterownik s;
    s.StopTimer();
    TKatalogNastaw k(&s);
    k.UtworzNastawy();
    QCOMPARE(k.Rekord(56).Rodzaj(), int(NastawaWybor));
    data[SetFile::Settings + 56] = char(k.Rekord(56).Max + 9);
    QVERIFY(WriteAll(file, data));

    const Result r = Run({"--lang", "en", "show-set", file}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(ReadAll(file), data); // showing changes nothing
    std::memcpy(s.Nastawy, data.constData() + SetFile::Settings, 256);
    std::memcpy(s.Nastawy + 256, data.constData() + 16, 48);
    QStringList expected;
    for (int item = 0; item < IleNastaw; ++item) {
        if (k.Rekord(item).LabelId == 0) continue;
        const int raw = s.Nastawy[item];
        expected << QStringList{QString::number(item), k.NazwaNastawy(item), QString::number(raw),
                                k.TekstNastawy(item, raw), k.JednostkaNastawy(item)}
                        .join(QLatin1Char('\t'));
    }
    QCOMPARE(r.Lines(), expected);
    // A few lines as the fitter reads them.
    QVERIFY(r.Lines().contains(QStringLiteral("51\tSwitching to LPG when temp. rises above\t168\t40\t[°C]")));
    QVERIFY(r.Lines().contains(QStringLiteral("24\tInjectors\t1\tBarracuda 1.9 \u2126\t")));
    const QString line56 = r.Lines().filter(QRegularExpression(QStringLiteral("^56\t"))).value(0);
    QCOMPARE(line56.split(QLatin1Char('\t')).value(2), QString::number(k.Rekord(56).Max + 9));
    QCOMPARE(line56.split(QLatin1Char('\t')).value(3), k.TekstNastawy(56, k.Rekord(56).Max));

    const Result pl = Run({"--lang", "pl", "show-set", file}, Env(QStringLiteral("pl_PL.UTF-8")));
    QVERIFY2(pl.finished && pl.code == 0, qPrintable(pl.Describe()));
    QVERIFY(pl.Lines().contains(QStringLiteral("55\tOpóźnienie na cylinder\t10\t1,0\t[s]")));
}

QString TestCliOffline::MakeRecording(const QString &name, uint8_t board, uint8_t rpmInput) {
    TSterownik s;
    s.StopTimer();
    s.Identyfikacja[0] = 86;
    s.Identyfikacja[3] = 0x81;
    s.Identyfikacja[42] = board;
    s.Identyfikacja[43] = 8;
    s.Nastawy[4] = rpmInput;
    uint8_t samples[3][128] = {};
    for (int i = 0; i < 3; ++i) {
        uint8_t *p = samples[i];
        Put16(p, 17, 100 + i);         // revolutions / 10
        Put16(p, 44, 32);              // vacuum, 0.01 bar
        p[40] = uint8_t(128 + 34 - i); // reducer temperature + 128
        Put16(p, 58, 200);             // lambda 1 (new boards) / RPM input (old ones), 0.005 V
        Put16(p, 60, 1000);            // petrol time of channel 1, 0.004 ms
        p[97] = 2;                     // OBD fuel system 1: closed loop
        p[99] = 0;                     // short trim 1: no value
        p[100] = 255;                  // long trim 1
        p[101] = 1;                    // short trim 2
        p[54] = 0x2F;                  // board temperature in kelvin (service series)
        p[55] = 0x01;
    }
    const QString file = Path(name);
    return s.ZapiszOscyloskop(file, &samples[0][0], 3) ? (s.ZamnkijOscyloskop(), file) : QString();
}

void TestCliOffline::exportCsvDecodesTheSamples() {
    const QString osc = MakeRecording(QStringLiteral("new.osc"), 3, 0);
    QVERIFY(!osc.isEmpty());
    const QString csv = Path("new.csv");
    // Polish names: the OBD series have no English ones.
    const Result r = Run({"--lang", "pl", "export-csv", osc, csv}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(r.Lines(), QStringList{QStringLiteral("exported 3 samples to %1").arg(csv)});
    const QList<QStringList> rows = CsvRows(ReadAll(csv));
    QCOMPARE(rows.size(), 4);
    LangSetLanguage(1);
    const QStringList head = rows[0];
    QCOMPARE(head.first(), QStringLiteral("sec"));
    // The board of the recording (type 3) lists both lambda probes and not the RPM input.
    QVERIFY(head.contains(LangText(1420)) && head.contains(LangText(1422)));
    auto col = [&](int id) { return head.indexOf(LangText(id)); };
    QVERIFY(col(1400) > 0 && col(1452) > 0 && col(1501) > 0);
    for (int i = 0; i < 3; ++i) {
        const QStringList &f = rows[i + 1];
        QCOMPARE(f.size(), head.size());
        QCOMPARE(f[0], QStringLiteral("0.%1").arg(i));
        QCOMPARE(f[col(1400)], QString::number((100 + i) * 10));
        QCOMPARE(f[col(1404)], QStringLiteral("0.32"));
        QCOMPARE(f[col(1410)], QString::number(34 - i));
        QCOMPARE(f[col(1420)], QStringLiteral("1.00"));
        QCOMPARE(f[col(1501)], QStringLiteral("4.00"));
        QCOMPARE(f[col(1450)], QStringLiteral("2"));     // fuel system status as its number
        QCOMPARE(f[col(1452)], QStringLiteral("0.0"));   // trim byte 0: no value, 0
        QCOMPARE(f[col(1454)], QStringLiteral("99.0"));  // (255 - 128) x 100 / 128, whole
        QCOMPARE(f[col(1458)], QStringLiteral("-99.0")); // (1 - 128) x 100 / 128, toward zero
    }
}

void TestCliOffline::exportCsvAfrAndExtendedView() {
    // An old board measuring AFR on its RPM wire: the series reads the word at 58 as AFR.
    const QString osc = MakeRecording(QStringLiteral("old.osc"), 1, 3);
    QVERIFY(!osc.isEmpty());
    const QString csv = Path("old.csv");
    Result r = Run({"--lang", "en", "export-csv", osc, csv}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QList<QStringList> rows = CsvRows(ReadAll(csv));
    QCOMPARE(rows.size(), 4);
    const int afr = rows[0].indexOf(QStringLiteral("AFR"));
    QVERIFY2(afr > 0, qPrintable(rows[0].join(QLatin1Char('|'))));
    QVERIFY(!rows[0].contains(LangText(1420))); // the new boards' probes are not listed
    // trunc(200 x 3 + 7.35 / 0.008) x 0.008 = 1518 x 0.008
    QCOMPARE(rows[1][afr], QStringLiteral("12.14"));
    const int plain = rows[0].size();

    r = Run({"--lang", "en", "export-csv", "--extended", osc, csv}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    rows = CsvRows(ReadAll(csv));
    QCOMPARE(rows[0].size(), plain + 10); // the ten service series
    const int kelvin = rows[0].indexOf(QStringLiteral("t. ster."));
    QVERIFY(kelvin > 0);
    QCOMPARE(rows[1][kelvin], QString::number(0x12F - 273));
}

void TestCliOffline::exportCsvWithTheUsersDecimalSeparator() {
    const QString osc = MakeRecording(QStringLiteral("pl.osc"), 3, 0);
    QVERIFY(!osc.isEmpty());
    const QString csv = Path("pl.csv");
    const Result r = Run({"--lang", "pl", "export-csv", osc, csv}, Env(QStringLiteral("pl_PL.UTF-8")));
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QList<QStringList> rows = CsvRows(ReadAll(csv));
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[2][0], QStringLiteral("0,1"));
    QCOMPARE(rows[0][0], QStringLiteral("sec"));
    QVERIFY(rows[1].contains(QStringLiteral("0,32")));
    QVERIFY(ReadAll(csv).contains("Ciś.")); // UTF-8
}

void TestCliOffline::portsListing() {
    const Result r = Run({"ports"}, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QRegularExpression line(QStringLiteral("^\\d+\t.+$"));
    for (const QString &l : r.Lines())
        QVERIFY2(line.match(l).hasMatch(), qPrintable(l));
}

// Without --lang the configured language counts; while none is configured (nothing stored, or the
// stored values end before Lang), the system's locale chooses.
void TestCliOffline::languageOfTheSystemUntilOneIsStored() {
    const QString file = Path("lang.set");
    QVERIFY(Run({"defaults", file}, Env()).code == 0);
    TSterownik s;
    s.StopTimer();
    TKatalogNastaw k(&s);
    k.UtworzNastawy();
    QString label[4];
    for (int lang = 0; lang < 4; ++lang) {
        LangSetLanguage(lang);
        label[lang] = k.NazwaNastawy(55);
    }
    QCOMPARE(QSet<QString>(std::begin(label), std::end(label)).size(), 4);

    const struct {
        const char *locale;
        QVariantMap stored;
        int lang;
    } rows[] = {
        {"ru_RU.UTF-8", {}, 2}, // which locale is which language: the configuration's own test
        {"es_ES.UTF-8", {{"Comm", 101}, {"ElmComm", 102}}, 3},
        {"pl_PL.UTF-8", {{"Comm", 1}, {"ElmComm", 1}, {"Comp", 3}, {"Lang", 3}}, 3},
        {"ru_RU.UTF-8", {{"Comm", 1}, {"ElmComm", 1}, {"Comp", 3}, {"Lang", 0}}, 0},
    };
    int n = 0;
    for (const auto &r : rows) {
        const QString config = Path(QStringLiteral("config%1").arg(++n));
        {
            QSettings store(config + QStringLiteral("/DuzERO.conf"), QSettings::IniFormat);
            for (auto i = r.stored.cbegin(); i != r.stored.cend(); ++i)
                store.setValue(i.key(), i.value());
        }
        const Result shown = Run({"show-set", file}, Environment(config, QString::fromLatin1(r.locale)));
        QVERIFY2(shown.finished && shown.code == 0, qPrintable(shown.Describe()));
        const QString line = shown.Lines().filter(QRegularExpression(QStringLiteral("^55\t"))).value(0);
        QVERIFY2(line.split(QLatin1Char('\t')).value(1) == label[r.lang],
                 qPrintable(r.locale + (": " + line)));
    }
}

void TestCliOffline::versions() {
    const Result cli = Run({"--version"}, Env());
    QCOMPARE(cli.code, 0);
    QCOMPARE(cli.out, QByteArray("tarven-cli " TARVEN_VERSION "\n"));
    QProcess sim;
    sim.start(QStringLiteral(TARVEN_SIM_PATH), {QStringLiteral("--version")});
    QVERIFY(sim.waitForFinished(StartMs));
    QCOMPARE(sim.exitCode(), 0);
    QCOMPARE(sim.readAllStandardOutput(), QByteArray("tarven-sim " TARVEN_VERSION "\n"));
}

void TestCliOffline::usageErrorsExitTwo() {
    const QList<QStringList> cases = {
        {},
        {"nonsense"},
        {"--timeout", "0", "info"},
        {"--timeout", "abc", "info"},
        {"--lang", "de", "info"},
        {"--link-key", "256", "info"},
        {"--port"},
        {"info", "extra"},
        {"monitor", "--seconds", "x"},
        {"monitor", "--frequency", "3"},
        {"record"},
        {"read-settings"},
        {"read-settings", "a.set", "b.set"},
        {"errors", "--clear", "now"},
        {"export-csv", "only.osc"},
        {"show-set"},
    };
    for (const QStringList &args : cases) {
        const Result r = Run(QStringList{"--port", "/dev/null"} + args, Env());
        QVERIFY2(r.finished && r.code == 2 && !r.err.isEmpty() && r.out.isEmpty(),
                 qPrintable(args.join(QLatin1Char(' ')) + QLatin1Char('\n') + r.Describe()));
    }
    const Result help = Run({"--help"}, Env());
    QVERIFY2(help.finished && help.code == 0 && help.out.startsWith("usage: tarven-cli"),
             qPrintable(help.Describe()));
    QVERIFY(help.out.contains("obd clear-dtc"));
}

void TestCliOffline::fileErrorsExitThree() {
    const QString set = Path("ok.set");
    QVERIFY(Run({"defaults", set}, Env()).code == 0);
    const QString junk = Path("junk.bin");
    QVERIFY(WriteAll(junk, QByteArray(5000, 'x')));
    const QString noDir = Path("no/such/folder/file");
    struct Case {
        QStringList args;
        const char *message;
    };
    const QList<Case> cases = {
        {{"export-csv", Path("missing.osc"), Path("x.csv")}, "Error code 132"},
        {{"export-csv", set, Path("x.csv")}, "Error code 133"},
        {{"show-set", junk}, "Error code 123"},
        {{"show-set", Path("missing.set")}, "Error code 122"},
        {{"defaults", noDir}, "cannot be written"},
        // Checked before any port is opened.
        {{"--port", "/dev/null", "read-settings", noDir}, "does not exist"},
        {{"--port", "/dev/null", "record", noDir}, "does not exist"},
    };
    for (const Case &c : cases) {
        const Result r = Run(c.args, Env());
        QVERIFY2(r.finished && r.code == 3 && r.err.contains(c.message),
                 qPrintable(c.args.join(QLatin1Char(' ')) + QLatin1Char('\n') + r.Describe()));
    }
    // A recording whose CSV cannot be written.
    const QString osc = MakeRecording(QStringLiteral("r.osc"), 3, 0);
    const Result r = Run({"export-csv", osc, noDir}, Env());
    QVERIFY2(r.finished && r.code == 3 && r.err.contains("cannot be written"), qPrintable(r.Describe()));
}

QTEST_GUILESS_MAIN(TestCliOffline)
#include "tst_cli_offline.moc"
