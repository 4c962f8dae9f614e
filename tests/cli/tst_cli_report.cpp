// The service report through tarven-cli against the virtual controller and the virtual adapter: the
// PDF's text extracted with pdftotext, the HTML's cells read back; a visit with nothing connected;
// paths that cannot be written; the workshop and the allowance from the configuration.
#include "tst_cli_common.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace cli;

namespace {
// The text of an HTML document: tags out, entities back, blanks folded.
QString TekstHtml(const QByteArray &html) {
    QString t = QString::fromUtf8(html);
    t.replace(QRegularExpression(QStringLiteral("<(br|/tr|/h\\d|/p|/table)[^>]*>")), QStringLiteral("\n"));
    t.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral(" "));
    t.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    QStringList lines;
    for (const QString &l : t.split(u'\n'))
        if (!l.simplified().isEmpty()) lines << l.simplified();
    return lines.join(u'\n');
}

// The cells of the table row whose first cell is the label.
QStringList Wiersz(const QByteArray &html, const QString &label) {
    const QRegularExpression row(QStringLiteral("<tr>(.*?)</tr>"));
    const QRegularExpression cell(QStringLiteral("<t[hd][^>]*>(.*?)</t[hd]>"));
    for (auto m = row.globalMatch(QString::fromUtf8(html)); m.hasNext();) {
        QStringList cells;
        for (auto c = cell.globalMatch(m.next().captured(1)); c.hasNext();)
            cells << TekstHtml(c.next().captured(1).toUtf8()).replace(u'\n', u' ');
        if (cells.value(0) == label) return cells.mid(1);
    }
    return {};
}

// pdftotext's text of a PDF, blanks and line breaks folded into single spaces.
QString TekstPdf(const QString &pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(StartMs) || p.exitCode() != 0) return QString();
    // Ligatures ("ﬃ") come out as one character: back to their letters.
    return QString::fromUtf8(p.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC)
        .simplified();
}
} // namespace

class TestCliReport : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void visitOfBoth();
    void whatWasNotConnected_data();
    void whatWasNotConnected();
    void badPaths_data();
    void badPaths();

private:
    QString Path(const QString &name) const { return dir_->filePath(name); }
    QProcessEnvironment Env() const { return Environment(Path("home")); }
    std::unique_ptr<QTemporaryDir> dir_;
};

// A car with two stored codes, one of them permanent, and a controller one setting of which the
// fitter changed after the connection backup; the PDF and the HTML say the same.
void TestCliReport::visitOfBoth() {
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
             "pdftotext (poppler-utils) is needed");
    QDir().mkpath(Path("home"));
    QVERIFY(WriteAll(Path("home/DuzERO.conf"),
                     "[General]\nWorkshopName=Auto-Gaz <Serwis> & Syn\n"
                     "WorkshopAddress=ul. D\xC5\x82uga 5\nWorkshopPhone=+48 22 000 00 00\n"
                     "InspectionAllowance=2\n"));
    Sim ctl, elm;
    QVERIFY(ctl.Start(QStringLiteral("controller"), {"--learn-every", "3600000"}));
    QVERIFY(elm.Start(QStringLiteral("elm"), {"--dtc", "P0420,P0171", "--permanent", "P0420"}));
    const QStringList base = {"--port", ctl.Pty(), "--obd-port", elm.Pty(), "--lang", "en"};

    // The connection backup as the window takes it, holding setting 51 as it was before the change.
    Result r = Run(QStringList(base) << "backup", Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    const QString manual = r.Lines().value(0);
    const QString connect =
        QString(manual).replace(QStringLiteral("_manual.set"), QStringLiteral("_connect.set"));
    QVERIFY(QFile::rename(manual, connect));
    QByteArray set = ReadAll(connect);
    set[SetFile::Settings + 51] = char(uint8_t(set[SetFile::Settings + 51]) - 5);
    QVERIFY(WriteAll(connect, set));
    r = Run(QStringList(base) << "read-settings" << Path("now.set"), Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    r = Run({"--lang", "en", "diff", connect, Path("now.set")}, Env());
    QCOMPARE(r.code, 1);
    const QStringList change = r.Lines().value(0).split(u'\t'); // item, label, before, after, unit
    QCOMPARE(change.value(0), QStringLiteral("51"));
    const QString unit =
        change.value(4).isEmpty() ? QString() : QStringLiteral(" [") + change.value(4) + u']';

    r = Run(QStringList(base) << "report" << Path("visit.pdf"), Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(r.Lines(), QStringList{QDir(Path("visit.pdf")).absolutePath()});
    r = Run(QStringList(base) << "report" << Path("visit.html"), Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));

    const QByteArray pdf = ReadAll(Path("visit.pdf"));
    QVERIFY(pdf.startsWith("%PDF-"));
    const QString text = TekstPdf(Path("visit.pdf"));
    const QByteArray html = ReadAll(Path("visit.html"));
    const QString htmlText = TekstHtml(html).simplified();
    const QStringList expected = {
        "Service report",
        "Auto-Gaz <Serwis> & Syn",
        "ul. Długa 5",
        "+48 22 000 00 00",
        // The car.
        "TRVSIM0A0B1C23456",
        "TRV1A2B3C4D5E6F, TRVGAS0720",
        "1A2B3C4D, 5E6F7081",
        "ECM-EngineControl",
        // The controller, its error log (two errors stored at start).
        "TARVEN PRO+",
        "TV2403PRO00417",
        "3.8.21",
        "P0420 stored 7E8 Catalyst System Efficiency Below Threshold (Bank 1) present",
        "P0171 stored 7E8 System Too Lean (Bank 1) present",
        "P0420 permanent 7E8",
        // Read at arrival and now in one run: the same on both sides.
        "Warm-ups since codes cleared 42 42",
        "Distance since codes cleared 1234 km 1234 km",
        "Time since codes cleared 2710 min 2710 min",
        "Distance with the lamp on 57 km 57 km",
        "Time with the lamp on 95 min 95 min",
        "Now: Ready for an emissions inspection: no — 2 monitors incomplete (allowed 2), lamp on, permanent "
        "codes 1",
        QStringLiteral("Compared with the backup %1").arg(QFileInfo(connect).fileName()),
        QStringLiteral("%1 %2%4 %3%4").arg(change.value(1), change.value(2), change.value(3), unit),
        "Backups taken " + QFileInfo(connect).fileName(),
        "Fitter's signature",
    };
    for (const QString &e : expected) {
        QVERIFY2(text.contains(e), qPrintable(e + QStringLiteral("\n--- PDF:\n") + text));
        QVERIFY2(htmlText.contains(e), qPrintable(e + QStringLiteral("\n--- HTML:\n") + htmlText));
    }
    // The cells themselves.
    QCOMPARE(Wiersz(html, QStringLiteral("VIN")), QStringList{"TRVSIM0A0B1C23456"});
    QCOMPARE(Wiersz(html, QStringLiteral("Serial number")), QStringList{"TV2403PRO00417"});
    QCOMPARE(Wiersz(html, QStringLiteral("Incomplete monitors")),
             QStringList({"2: Catalyst, Evaporative system", "2: Catalyst, Evaporative system"}));
    QCOMPARE(Wiersz(html, QStringLiteral("MIL lamp")), QStringList({"on", "on"}));
    QVERIFY2(!html.contains("<Serwis>"), "the workshop's name is escaped");
    QVERIFY2(!text.contains("not connected"), qPrintable(text));
    // One A4 page or more, numbered.
    QVERIFY(pdf.contains("/MediaBox [0 0 595"));
}

void TestCliReport::whatWasNotConnected_data() {
    QTest::addColumn<bool>("car");
    QTest::addColumn<bool>("controller");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QStringList>("says");
    QTest::newRow("neither") << false << false << "en"
                             << QStringList{"The OBD adapter was not connected.",
                                            "The gas controller was not connected.", "Fitter's signature"};
    QTest::newRow("neither, Polish") << false << false << "pl"
                                     << QStringList{"Raport serwisowy", "Adapter OBD nie był podłączony.",
                                                    "Sterownik gazowy nie był podłączony."};
    QTest::newRow("car only") << true << false << "en"
                              << QStringList{"TRVSIM0A0B1C23456", "The gas controller was not connected.",
                                             "no trouble codes"};
    QTest::newRow("controller only") << false << true << "en"
                                     << QStringList{"TV2403PRO00417", "The OBD adapter was not connected.",
                                                    "Not known: no backup was taken at the connection."};
}

void TestCliReport::whatWasNotConnected() {
    QFETCH(bool, car);
    QFETCH(bool, controller);
    QFETCH(QString, lang);
    QFETCH(QStringList, says);
    Sim ctl, elm;
    if (controller) QVERIFY(ctl.Start(QStringLiteral("controller"), {}));
    if (car) QVERIFY(elm.Start(QStringLiteral("elm"), {}));
    const QStringList args = {"--port",     controller ? ctl.Pty() : Path("no-controller"),
                              "--obd-port", car ? elm.Pty() : Path("no-adapter"),
                              "--lang",     lang,
                              "--timeout",  "20",
                              "report",     Path("visit.html")};
    const Result r = Run(args, Env());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.Describe()));
    QCOMPARE(r.err.contains("the car is left out"), !car);
    QCOMPARE(r.err.contains("the gas controller is left out"), !controller);
    const QString text = TekstHtml(ReadAll(Path("visit.html"))).simplified();
    for (const QString &s : says)
        QVERIFY2(text.contains(s), qPrintable(s + u'\n' + text));
}

void TestCliReport::badPaths_data() {
    QTest::addColumn<QString>("out");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    QTest::newRow("no such folder") << "missing/visit.pdf" << 3 << "does not exist or cannot be written";
    QTest::newRow("a folder") << "folder.html" << 3 << "the report cannot be written";
    QTest::newRow("neither pdf nor html") << "visit.txt" << 2 << "neither .pdf nor .html";
    QTest::newRow("no file") << "" << 2 << "report needs one OUT.pdf or OUT.html";
}

void TestCliReport::badPaths() {
    QFETCH(QString, out);
    QFETCH(int, code);
    QFETCH(QString, says);
    QVERIFY(QDir().mkpath(Path("folder.html")));
    QStringList args = {"--port", Path("none"), "--obd-port", Path("none"), "--timeout", "5", "report"};
    if (!out.isEmpty()) args << Path(out);
    const Result r = Run(args, Env());
    QVERIFY2(r.finished && r.code == code, qPrintable(r.Describe()));
    QVERIFY2(r.err.contains(says.toUtf8()), qPrintable(r.Describe()));
    QVERIFY(r.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestCliReport)
#include "tst_cli_report.moc"
