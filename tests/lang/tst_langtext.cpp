// Looking texts up: languages and fallbacks, fixed texts, the row cache, damaged tables, message boxes.
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QTest>

#include <climits>

namespace {

// A table in the stored form: UTF-16 LE with BOM, CR LF after every line.
QByteArray makeTable(const QStringList &lines) {
    QByteArray out("\xFF\xFE", 2);
    for (const QString &line : lines) {
        const QString l = line + QStringLiteral("\r\n");
        for (QChar c : l) {
            out.append(char(c.unicode() & 0xFF));
            out.append(char(c.unicode() >> 8));
        }
    }
    return out;
}

enum { English = 0, Polish = 1, Russian = 2, Spanish = 3 };

QString textIn(int language, int id) {
    LangSetLanguage(language);
    return LangText(id);
}

} // namespace

class TestLangText : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void languagesOfTheBuiltInTable();
    void fixedAndOutOfRangeIds();
    void languageIndexIsClamped();
    void rowCacheAnswersWithOneComparison();
    void idsAboveTheCacheAreStillFound();
    void unknownIdLeavesOtherCacheEntries();
    void reloadKeepsTheCache();
    void staleCacheAfterAnotherTable();
    void cellsTrimmedAndMissingCellsEmpty();
    void damagedTablesGiveEmptyTexts();
    void messageWithoutHandler();
    void messageThroughHandler();
};

void TestLangText::init() {
    LangReload();
    LangSetLanguage(English);
}

void TestLangText::cleanupTestCase() {
    LangSetMessageHandler(nullptr);
}

void TestLangText::languagesOfTheBuiltInTable() {
    QVERIFY(LangTableInstance().RowCount() >= 447);
    QCOMPARE(textIn(Polish, 1240), QStringLiteral("BRAK POŁĄCZENIA"));
    QCOMPARE(textIn(English, 1240), QStringLiteral("NO CONNECTION"));
    QCOMPARE(textIn(Russian, 1240), QStringLiteral("НЕТ СОЕДИНЕНИЯ"));
    QCOMPARE(textIn(Spanish, 1240), QStringLiteral("SIN CONEXIÓN"));

    // Empty Spanish cell: English instead. Russian has its own.
    QCOMPARE(textIn(Spanish, 1050), QStringLiteral("[V]"));
    QCOMPARE(textIn(Russian, 1050), QStringLiteral("[В]"));

    // No English text: English, Russian and Spanish stay empty, Polish has it.
    QCOMPARE(textIn(Polish, 1234), QStringLiteral("Historia"));
    QCOMPARE(textIn(English, 1234), QString());
    QCOMPARE(textIn(Russian, 1234), QString());
    QCOMPARE(textIn(Spanish, 1234), QString());
    QCOMPARE(textIn(English, 1450), QString());
    QCOMPARE(textIn(Polish, 1450), QStringLiteral("Fuel sys 1"));

    // Trailing blanks of the stored cell are not part of the text.
    QCOMPARE(textIn(Polish, 1120), QStringLiteral("Język"));
    QCOMPARE(textIn(English, 1376), QStringLiteral("Detected petrol injection type"));

    // Stored quirks come out as stored.
    QCOMPARE(
        textIn(English, 1295),
        QStringLiteral("Before calibration drive it''s recommended to clear both petrol map and gas map.'"));
}

void TestLangText::fixedAndOutOfRangeIds() {
    const QStringList fixed = {QStringLiteral("t. ster."),   QStringLiteral(" - "),
                               QStringLiteral("mnożnik"),    QStringLiteral("kor. obr."),
                               QStringLiteral("kor. cis."),  QStringLiteral("kor. temp."),
                               QStringLiteral("kor. razem"), QStringLiteral(" + "),
                               QStringLiteral("otw/nat"),    QStringLiteral("test")};
    for (int language = 0; language < 4; ++language) {
        for (int k = 0; k < 10; ++k)
            QCOMPARE(textIn(language, -30 - k), fixed[k]);
        for (int id : {-5, 0, 999, -29, -40, 1, 100, -1000, INT_MIN, 1070, 4100, 9999, 10500, INT_MAX})
            QVERIFY2(textIn(language, id).isEmpty(), qPrintable(QString::number(id)));
    }
}

void TestLangText::languageIndexIsClamped() {
    LangSetLanguage(7);
    QCOMPARE(LangLanguage(), 3);
    LangSetLanguage(-2);
    QCOMPARE(LangLanguage(), 0);
    LangSetLanguage(2);
    QCOMPARE(LangLanguage(), 2);
}

void TestLangText::rowCacheAnswersWithOneComparison() {
    TLangTable t;
    QVERIFY(t.LoadResource());
    QCOMPARE(t.CachedRow(1300), 0);
    QCOMPARE(t.ScanCount(), 0);

    const QString first = t.Text(1300);
    QVERIFY(!first.isEmpty());
    QCOMPARE(t.ScanCount(), 1);
    const int row = t.CachedRow(1300);
    QVERIFY(row > 0);

    for (int language = 0; language < 4; ++language) {
        t.SetLanguage(language);
        QVERIFY(!t.Text(1300).isEmpty());
    }
    QCOMPARE(t.ScanCount(), 1); // every later lookup was a cache hit
    QCOMPARE(t.CachedRow(1300), row);

    // The first row of the table sits at index 0, which is also the cache's initial value.
    t.SetLanguage(English);
    QCOMPARE(t.Text(1050), QStringLiteral("[V]"));
    QCOMPARE(t.ScanCount(), 1);
}

void TestLangText::idsAboveTheCacheAreStillFound() {
    TLangTable t;
    QVERIFY(t.LoadResource());
    t.SetLanguage(Polish);
    QCOMPARE(t.Text(4120), QStringLiteral("Kasuj wszystkie błędy"));
    QCOMPARE(t.Text(4141), QStringLiteral("Kod błędu"));
    t.SetLanguage(English);
    QCOMPARE(t.Text(4130), QStringLiteral("Clear fuel trim errors"));
    QCOMPARE(t.Text(4140), QStringLiteral("Clear selected errors"));
    QCOMPARE(t.Text(4120), QStringLiteral("Clear all OBD errors"));
    QCOMPARE(t.CachedRow(4120), -1);
    QCOMPARE(t.ScanCount(), 5); // no cache above 4095: one scan per lookup
}

void TestLangText::unknownIdLeavesOtherCacheEntries() {
    TLangTable t;
    QVERIFY(t.LoadResource());
    QVERIFY(!t.Text(1240).isEmpty());
    QVERIFY(!t.Text(2016).isEmpty());
    const int row1240 = t.CachedRow(1240), row2016 = t.CachedRow(2016);
    QCOMPARE(t.Text(1070), QString());
    QCOMPARE(t.CachedRow(1070), 0);
    QCOMPARE(t.CachedRow(1240), row1240);
    QCOMPARE(t.CachedRow(2016), row2016);
    const int scans = t.ScanCount();
    QVERIFY(!t.Text(1240).isEmpty());
    QVERIFY(!t.Text(2016).isEmpty());
    QCOMPARE(t.ScanCount(), scans);
}

void TestLangText::reloadKeepsTheCache() {
    TLangTable &t = LangTableInstance();
    LangSetLanguage(Polish);
    QCOMPARE(LangText(1241), QStringLiteral("POŁĄCZONY"));
    const int row = t.CachedRow(1241);
    const int scans = t.ScanCount();
    LangReload();
    QCOMPARE(t.CachedRow(1241), row);
    QCOMPARE(LangText(1241), QStringLiteral("POŁĄCZONY"));
    QCOMPARE(t.ScanCount(), scans);
}

// A table whose rows moved (or that is shorter) is read correctly although the cache still points elsewhere.
void TestLangText::staleCacheAfterAnotherTable() {
    TLangTable t;
    QVERIFY(t.Load(makeTable({"1000\ta\tA\t\t", "1001\tb\tB\t\t", "1002\tc\tC\t\t", "4141\td\tD\t\t"})));
    QCOMPARE(t.Text(1002), QStringLiteral("C"));
    QCOMPARE(t.CachedRow(1002), 2);

    QVERIFY(t.Load(makeTable({"1002\tx\tX\t\t", "1000\ty\tY\t\t", "1001\tz\tZ\t\t"})));
    QCOMPARE(t.Text(1002), QStringLiteral("X"));
    QCOMPARE(t.CachedRow(1002), 0);
    QCOMPARE(t.Text(1001), QStringLiteral("Z"));

    QVERIFY(t.Load(makeTable({"1001\tonly\tOnly\t\t"})));
    QCOMPARE(t.Text(1000), QString()); // cached index 1 lies beyond the table now
    QCOMPARE(t.Text(4141), QString());
    QCOMPARE(t.Text(1001), QStringLiteral("Only"));

    // The same table through the process-wide functions, then back to the built-in one.
    QVERIFY(LangLoadFrom(makeTable({"1240\tP\tE\tR\tS"})));
    LangSetLanguage(Spanish);
    QCOMPARE(LangText(1240), QStringLiteral("S"));
    QCOMPARE(LangText(1241), QString());
    LangReload();
    QCOMPARE(LangText(1241), QStringLiteral("CONECTADO"));
}

void TestLangText::cellsTrimmedAndMissingCellsEmpty() {
    TLangTable t;
    QVERIFY(t.Load(
        makeTable({QStringLiteral("1500\t\x01 pl \x1F\t en\x02\tru\x7F\t es"), "1501\tTylko",
                   "1502\tdwa\ttwo", QString::fromUtf16(u"1503\t\u00A0nbsp\u00A0\t\t\t"),
                   "15040\tfive digits\tfive\t\t", "1504\tfour\tfour\t\t", "1505\ta\tb\tc\td\textra"})));
    t.SetLanguage(Polish);
    QCOMPARE(t.Text(1500), QStringLiteral("pl"));
    QCOMPARE(t.Text(1501), QStringLiteral("Tylko"));
    QCOMPARE(t.Text(1503), QString::fromUtf16(u"\u00A0nbsp\u00A0")); // only codes up to 32 are trimmed
    QCOMPARE(t.Text(1504), QStringLiteral("four"));                  // a longer number is not this id
    t.SetLanguage(English);
    QCOMPARE(t.Text(1500), QStringLiteral("en"));
    QCOMPARE(t.Text(1501), QString());
    t.SetLanguage(Russian);
    QCOMPARE(t.Text(1500), QStringLiteral("ru\x7F"));
    QCOMPARE(t.Text(1501), QString());
    QCOMPARE(t.Text(1502), QStringLiteral("two"));
    t.SetLanguage(Spanish);
    QCOMPARE(t.Text(1500), QStringLiteral("es"));
    QCOMPARE(t.Text(1505), QStringLiteral("d"));
}

void TestLangText::damagedTablesGiveEmptyTexts() {
    TLangTable t;
    const QByteArray good = makeTable({"1240\tBRAK\tNONE\t\t"});

    QVERIFY(!t.Load(QByteArray()));
    QCOMPARE(t.RowCount(), 0);
    QCOMPARE(t.Text(1240), QString());

    QVERIFY(t.Load(good));
    QVERIFY(!t.Load(good.mid(2))); // no byte-order mark
    QCOMPARE(t.Text(1240), QString());
    QVERIFY(!t.Load(good.left(good.size() - 1))); // odd length
    QCOMPARE(t.RowCount(), 0);
    QVERIFY(!t.Load(QByteArray("\xFF\xFE", 2))); // a mark and nothing else
    QVERIFY(!t.Load(QByteArray("\xFF", 1)));

    // Big-endian with its own mark is read as well.
    QByteArray be("\xFE\xFF", 2);
    for (qsizetype i = 2; i < good.size(); i += 2) {
        be.append(good[i + 1]);
        be.append(good[i]);
    }
    QVERIFY(t.Load(be));
    QCOMPARE(t.Text(1240), QStringLiteral("NONE"));

    // Lines ended by LF alone, no final line end, a line that is only the id.
    QByteArray lf("\xFF\xFE", 2);
    for (QChar c : QStringLiteral("1240\tA\tB\t\t\n1241\n1242\tC\tD"))
        lf.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    QVERIFY(t.Load(lf));
    QCOMPARE(t.Text(1240), QStringLiteral("B"));
    QCOMPARE(t.Text(1241), QString());
    QCOMPARE(t.Text(1242), QStringLiteral("D"));
}

void TestLangText::messageWithoutHandler() {
    LangSetMessageHandler(nullptr);
    // An unattended question never proceeds; the controller link answers the same.
    QCOMPARE(LangMessage(2100, 52), 7);
    QCOMPARE(LangMessageText(QStringLiteral("?"), 35), 7);
    TSterownik s;
    s.StopTimer();
    QCOMPARE(s.Komunikat(QStringLiteral("?"), 52), LangMessage(2100, 52));
    QCOMPARE(LangMessage(1292, 16), 1);
    QCOMPARE(LangMessage(1293, 64), 1);
}

void TestLangText::messageThroughHandler() {
    QStringList texts;
    QList<int> flags;
    LangSetMessageHandler([&](const QString &text, int f) {
        texts.append(text);
        flags.append(f);
        return 7;
    });
    LangSetLanguage(English);
    QCOMPARE(LangMessage(2100, 52), 7);
    QCOMPARE(LangMessage(1292, 16), 7);
    QCOMPARE(LangMessageText(QStringLiteral("a\nb"), 64), 7);
    QCOMPARE(texts, QStringList({QStringLiteral("Do you want to restore default settings ?"),
                                 QStringLiteral("Autocalibration aborted"), QStringLiteral("a\nb")}));
    QCOMPARE(flags, QList<int>({52, 16, 64}));

    LangSetMessageHandler(nullptr);
    QCOMPARE(LangMessage(2100, 52), 7);
    QCOMPARE(texts.size(), 3);
}

QTEST_GUILESS_MAIN(TestLangText)
#include "tst_langtext.moc"
