// The service report put together from a visit made by hand: what each section says for a full visit
// and for one with nothing connected, the texts escaped, the language followed, the PDF (its text
// through pdftotext, A4) and the files written or refused.
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "raport/TRaportSerwisowy.h"
#include "raport/pdf/RaportPdf.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {
TObdPojazd Samochod(const char *pid01, QList<uint16_t> zapisane, int km) {
    TObdPojazd p;
    TObdEcuPojazdu e;
    e.adres = 0x7E8;
    e.adresTekst = QStringLiteral("7E8");
    e.status = DekodujGotowosc(QByteArray::fromHex(pid01), false);
    e.vin = QStringLiteral("WVWZZZ1JZXW000001");
    e.kalibracje = QStringList{QStringLiteral("CAL-1")};
    e.kmOdKasowania = km;
    e.kodyZapisane = zapisane;
    e.kodyOczekujace = QList<uint16_t>{};
    e.kodyPermanentne = QList<uint16_t>{};
    p.ecu = {e};
    return p;
}

// The document's text as a reader sees it, one line per block.
QString Tekst(const QString &html) {
    QTextDocument d;
    d.setHtml(html);
    return d.toPlainText();
}
} // namespace

class TestRaport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { LangSetLanguage(0); }
    void fullVisit();
    void nothingConnected();
    void followsTheLanguage();
    void pdfText();
    void files_data();
    void files();
};

void TestRaport::fullVisit() {
    TSterownik a, b;
    a.StopTimer();
    b.StopTimer();
    b.Nastawy[51] = uint8_t(a.Nastawy[51] + 3);
    b.Blok(BitMapaA)[5] = 7;
    TRaportSerwisowy r;
    r.warsztat = {QStringLiteral("<Gaz & Co>"), QStringLiteral("Line 1\nLine 2"), QStringLiteral("123")};
    r.czas = QDateTime(QDate(2024, 5, 1), QTime(15, 4));
    TObdWizyta w;
    // Arrival: lamp on with P0420, catalyst incomplete; now cleared and the catalyst done.
    w.Odczyt(Samochod("8107E501", {0x0420}, 1234), QDateTime(QDate(2024, 5, 1), QTime(9, 0)));
    w.Odczyt(Samochod("0007E500", {}, 0), r.czas);
    r.pojazd = w;
    TRaportSterownika s;
    s.model = QStringLiteral("TARVEN PRO+");
    s.numer = QStringLiteral("SN-1");
    s.bledy = QStringList{QStringLiteral("Gas pressure too low"), QString()};
    r.sterownik = s;
    r.zmiany = PorownajObrazy(a, b);
    r.bazaZmian = QStringLiteral("2024-05-01_09-00-00_connect.set");
    r.kopie = {QStringLiteral("2024-05-01_09-00-00_connect.set"),
               QStringLiteral("2024-05-01_10-00-00_file-write.set")};
    const QString html = RaportHtml(r);
    const QString t = Tekst(html);
    const QStringList inOrder = {
        "Service report", "Workshop", "<Gaz & Co>", "Line 1", "Line 2", "123", "Date: 2024-05-01 15:04",
        "Car", "WVWZZZ1JZXW000001", "CAL-1", "Gas controller", "TARVEN PRO+", "SN-1",
        "Controller's error log", "Gas pressure too low", "This visit", "Trouble codes read",
        // One row: code, kind, unit, description, whether it was cleared.
        "P0420\nstored\n7E8\nCatalyst System Efficiency Below Threshold (Bank 1)\ncleared",
        "Readiness and counters", "At arrival", "2024-05-01 09:00", "Now", "2024-05-01 15:04", "MIL lamp",
        "on", "off", "Incomplete monitors", "1: Catalyst", "0", "Distance since codes cleared", "1234 km",
        "0 km",
        "At arrival: Ready for an emissions inspection: no — 1 monitors incomplete "
        "(allowed 1), lamp on, permanent codes 0",
        "Now: Ready for an emissions inspection: yes — 0 monitors incomplete (allowed "
        "1), lamp off, permanent codes 0",
        "Monitors completed since arrival: Catalyst", "Settings changed since the connection",
        "Compared with the backup 2024-05-01_09-00-00_connect.set", "Setting", "Before", "After", "Map A",
        "1 bytes differ", "Backups taken", "2024-05-01_10-00-00_file-write.set", "Fitter's signature"};
    qsizetype at = 0;
    for (const QString &s : inOrder) {
        const qsizetype next = t.indexOf(s, at);
        QVERIFY2(next >= 0, qPrintable(QStringLiteral("%1 after position %2 in\n%3").arg(s).arg(at).arg(t)));
        at = next + s.size();
    }
    QVERIFY(!html.contains(QLatin1String("<Gaz")));
    // Not read, not given: "not available" rather than a blank.
    QVERIFY(t.contains(QStringLiteral("Warm-ups since codes cleared\nnot available\nnot available")));
}

void TestRaport::nothingConnected() {
    TRaportSerwisowy r;
    r.czas = QDateTime(QDate(2024, 5, 1), QTime(8, 0));
    const QString t = Tekst(RaportHtml(r));
    QCOMPARE(t.count(QStringLiteral("The OBD adapter was not connected.")), 2); // the car and the visit
    QCOMPARE(t.count(QStringLiteral("The gas controller was not connected.")), 2);
    QVERIFY(t.contains(QStringLiteral("Workshop\nnot available")));
    QVERIFY(t.contains(QStringLiteral("Backups taken\nnone")));
    QVERIFY(t.contains(QStringLiteral("Fitter's signature")));
    // A controller without an error report and without a connection backup.
    r.sterownik = TRaportSterownika{};
    const QString s = Tekst(RaportHtml(r));
    QVERIFY(s.contains(QStringLiteral("Controller's error log\nnot read")));
    QVERIFY(s.contains(QStringLiteral("Not known: no backup was taken at the connection.")));
    r.sterownik->bledy = QStringList{};
    QVERIFY(Tekst(RaportHtml(r)).contains(QStringLiteral("Controller's error log\nno errors")));
}

void TestRaport::followsTheLanguage() {
    TRaportSerwisowy r;
    TObdWizyta w;
    w.Odczyt(Samochod("8107E500", {0x0420}, 5));
    r.pojazd = w;
    LangSetLanguage(1);
    const QString t = Tekst(RaportHtml(r));
    LangSetLanguage(0);
    QVERIFY(t.contains(QStringLiteral("Raport serwisowy")));
    QVERIFY(t.contains(QStringLiteral("Sterownik gazowy nie był podłączony.")));
    // A P code in Polish when the language is Polish.
    QVERIFY2(t.contains(QStringLiteral("Sprawność katalizatora poniżej progu")), qPrintable(t));
}

void TestRaport::pdfText() {
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    QVERIFY2(!exe.isEmpty(), "pdftotext (poppler-utils) is needed");
    TRaportSerwisowy r;
    TObdWizyta w;
    w.Odczyt(Samochod("0007E500", {}, 77));
    r.pojazd = w;
    r.warsztat.nazwa = QStringLiteral("Zakład Gazowy Łódź");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.pdf"));
    QString error;
    QVERIFY2(ZapiszRaport(RaportHtml(r), path, &error), qPrintable(error));
    QProcess p;
    p.start(exe, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(30000));
    // Ligatures ("ﬃ") come out as one character: back to their letters.
    const QString text =
        QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC).simplified();
    for (const char *s : {"Service report", "Zakład Gazowy Łódź", "WVWZZZ1JZXW000001", "77 km",
                          "Ready for an emissions inspection: yes"})
        QVERIFY2(text.contains(QString::fromUtf8(s)), qPrintable(QString::fromUtf8(s) + u'\n' + text));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    QVERIFY(info.waitForFinished(30000));
    const QString i = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(i.contains(QStringLiteral("(A4)")), qPrintable(i));
    QVERIFY2(i.contains(QStringLiteral("Title:")) && i.contains(QStringLiteral("Service report")),
             qPrintable(i));
}

void TestRaport::files_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("starts");
    QTest::newRow("pdf") << "a.pdf" << true << QByteArray("%PDF-");
    QTest::newRow("PDF upper case") << "b.PDF" << true << QByteArray("%PDF-");
    QTest::newRow("html") << "c.html" << true << QByteArray("<!DOCTYPE html>");
    QTest::newRow("no folder") << "missing/d.pdf" << false << QByteArray();
    QTest::newRow("over a folder") << "sub" << false << QByteArray();
}

void TestRaport::files() {
    QFETCH(QString, name);
    QFETCH(bool, written);
    QFETCH(QByteArray, starts);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString path = dir.filePath(name);
    QString error;
    QCOMPARE(ZapiszRaport(RaportHtml(TRaportSerwisowy()), path, &error), written);
    QCOMPARE(error.isEmpty(), written);
    if (!written) {
        QVERIFY(error.contains(path));
        return;
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().startsWith(starts));
    QCOMPARE(RaportJakoPdf(path).value_or(false), starts.startsWith("%PDF"));
    QVERIFY(!RaportJakoPdf(QStringLiteral("x.txt")));
    QCOMPARE(RaportJakoPdf(QStringLiteral("x.HTM")), std::optional<bool>(false));
}

QTEST_MAIN(TestRaport)
#include "tst_raport.moc"
