// The shipped language table: its stored form, its ids, its source, and every quoted text.
#include "lang/LangText.h"

#include <QFile>
#include <QTest>

namespace {

QString sourcePath(const char *relative) {
    return QStringLiteral(TARVEN_SOURCE_DIR "/") + QLatin1String(relative);
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

// The ids of the table, as ranges of consecutive ids.
QList<int> expectedIds() {
    static const int ranges[][2] = {
        {1050, 1062}, {1080, 1083}, {1088, 1090}, {1100, 1107}, {1110, 1115}, {1117, 1133}, {1150, 1153},
        {1160, 1166}, {1170, 1173}, {1200, 1205}, {1210, 1218}, {1230, 1234}, {1240, 1252}, {1260, 1276},
        {1278, 1282}, {1290, 1298}, {1300, 1304}, {1330, 1335}, {1340, 1356}, {1360, 1370}, {1372, 1373},
        {1375, 1377}, {1380, 1387}, {1400, 1413}, {1418, 1433}, {1450, 1461}, {1501, 1508}, {1601, 1608},
        {1700, 1718}, {1800, 1804}, {1811, 1817}, {1821, 1826}, {1901, 1908}, {1911, 1915}, {1921, 1928},
        {1931, 1934}, {1940, 1940}, {1950, 1950}, {1960, 1960}, {2001, 2023}, {2100, 2107}, {3010, 3020},
        {3030, 3030}, {3040, 3044}, {3050, 3052}, {3080, 3083}, {3090, 3092}, {3100, 3103}, {3110, 3110},
        {3120, 3120}, {3200, 3202}, {3210, 3210}, {3230, 3230}, {3240, 3241}, {3310, 3310}, {3400, 3404},
        {3450, 3450}, {3452, 3455}, {3460, 3460}, {3470, 3471}, {3500, 3500}, {3510, 3510}, {3520, 3520},
        {3530, 3530}, {3540, 3540}, {3550, 3551}, {3560, 3563}, {3570, 3570}, {3580, 3580}, {3590, 3590},
        {3600, 3600}, {3610, 3610}, {3620, 3620}, {3630, 3630}, {3640, 3640}, {3650, 3650}, {3660, 3660},
        {3670, 3670}, {3680, 3680}, {3690, 3690}, {3700, 3700}, {3770, 3770}, {3780, 3780}, {3790, 3790},
        {3810, 3813}, {3820, 3820}, {3830, 3830}, {3850, 3850}, {3860, 3860}, {3900, 3901}, {3960, 3964},
        {3980, 3980}, {3990, 3990}, {4030, 4030}, {4040, 4040}, {4050, 4050}, {4060, 4060}, {4070, 4070},
        {4090, 4092}, {4120, 4120}, {4130, 4130}, {4140, 4141}};
    QList<int> ids;
    for (const auto &r : ranges)
        for (int id = r[0]; id <= r[1]; ++id)
            ids.append(id);
    return ids;
}

// The program's own texts, beyond the table it was built with, start here; each feature takes a range
// of its own (4200 backups and the change report, 4300 undo and the spreadsheet tools, 4400 the
// vehicle page of the OBD tab, 4500 first start and the package).
constexpr int FirstAddedId = 4200;

bool isEmptyEnglishRow(int id) {
    return id == 1234 || id == 3562 || (id >= 1450 && id <= 1461);
}

struct Row {
    int id = 0;
    QStringList cells; // Polish, English, Russian, Spanish, untrimmed
};

} // namespace

class TestLangTable : public QObject {
    Q_OBJECT

    QByteArray raw;
    QStringList lines;
    QList<Row> rows;

private slots:
    void initTestCase();
    void storedForm();
    void idsAndCells();
    void sourceMatchesTable();
    void builtInResourceIsTheFile();
    void quotedTexts();
    void translationTypography();
};

void TestLangTable::initTestCase() {
    raw = readFile(sourcePath("resources/lang/langtable.txt"));
    QVERIFY2(!raw.isEmpty(), "resources/lang/langtable.txt missing");
    QVERIFY(raw.size() % 2 == 0);
    QString text;
    for (qsizetype i = 2; i + 1 < raw.size(); i += 2)
        text.append(QChar(char16_t(uchar(raw[i]) | uchar(raw[i + 1]) << 8)));
    lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.takeLast(), QString()); // the last line ends with CR LF too
    for (const QString &line : lines) {
        Row r;
        r.id = line.left(4).toInt();
        r.cells = line.mid(5).split(u'\t');
        rows.append(r);
    }
}

void TestLangTable::storedForm() {
    QCOMPARE(uchar(raw[0]), uchar(0xFF));
    QCOMPARE(uchar(raw[1]), uchar(0xFE));
    QVERIFY(lines.size() >= 447);
    for (const QString &line : lines) {
        QVERIFY2(!line.contains(u'\r') && !line.contains(u'\n'), qPrintable(line));
        QVERIFY2(line.count(u'\t') == 4, qPrintable(line));
        QVERIFY2(line.size() >= 5 && line[4] == u'\t', qPrintable(line));
        for (int i = 0; i < 4; ++i)
            QVERIFY2(line[i].isDigit() && line[i].unicode() < 128, qPrintable(line));
    }
}

void TestLangTable::idsAndCells() {
    QList<int> ids, added;
    for (const Row &r : rows)
        (r.id < FirstAddedId ? ids : added).append(r.id);
    const QList<int> expected = expectedIds();
    QCOMPARE(expected.size(), 447);
    QCOMPARE(ids, expected);              // exactly these ids, ascending, each once
    for (int i = 1; i < rows.size(); ++i) // the added ones too: ascending, each once
        QVERIFY2(rows[i].id > rows[i - 1].id, qPrintable(QString::number(rows[i].id)));
    QVERIFY(added.isEmpty() || added.last() <= 9999);

    for (const Row &r : rows) {
        QCOMPARE(r.cells.size(), 4);
        if (r.id >= FirstAddedId) { // the program's own texts are written in all four languages
            for (int lang = 0; lang < 4; ++lang)
                QVERIFY2(!r.cells[lang].trimmed().isEmpty(), qPrintable(QString::number(r.id)));
            continue;
        }
        QVERIFY2(!r.cells[0].trimmed().isEmpty(), qPrintable(QString::number(r.id)));
        // English is empty exactly where the table is known to have none.
        QCOMPARE(r.cells[1].isEmpty(), isEmptyEnglishRow(r.id));
        // Translations are complete apart from the Polish-only rows of 1234 and the OBD series names
        // (1450-1461), and the Spanish unit of 1050 that falls back to English.
        const bool polishOnly = r.id == 1234 || (r.id >= 1450 && r.id <= 1461);
        QVERIFY2(r.cells[2].isEmpty() == polishOnly, qPrintable(QString::number(r.id)));
        QVERIFY2(r.cells[3].isEmpty() == (polishOnly || r.id == 1050), qPrintable(QString::number(r.id)));
    }
}

// The generated table is the readable source, row for row.
void TestLangTable::sourceMatchesTable() {
    const QByteArray src = readFile(sourcePath("resources/lang/langtable.src.tsv"));
    QVERIFY(!src.isEmpty());
    QStringList srcRows;
    for (const QString &line : QString::fromUtf8(src).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#')) continue;
        srcRows.append(line.endsWith(u'\r') ? line.chopped(1) : line);
    }
    QCOMPARE(srcRows, lines);
}

void TestLangTable::builtInResourceIsTheFile() {
    QFile res(QStringLiteral(":/lang/langtable.txt"));
    QVERIFY2(res.open(QIODevice::ReadOnly), "the table is not built into the program");
    QCOMPARE(res.readAll(), raw);
    TLangTable t;
    QVERIFY(t.LoadResource());
    QCOMPARE(t.RowCount(), lines.size());
}

// Every text quoted by the documentation is stored exactly so, and looked up trimmed.
void TestLangTable::quotedTexts() {
    const QByteArray data = readFile(sourcePath("tests/lang/quoted_texts.tsv"));
    QVERIFY(!data.isEmpty());
    QHash<int, int> rowOf;
    for (int i = 0; i < rows.size(); ++i)
        rowOf.insert(rows[i].id, i);

    TLangTable t;
    QVERIFY(t.Load(raw));
    int checked = 0;
    for (QString line : QString::fromUtf8(data).split(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const QStringList f = line.split(u'\t');
        QVERIFY2(f.size() == 3, qPrintable(line));
        const int id = f[0].toInt();
        QVERIFY2(f[1] == QLatin1String("pl") || f[1] == QLatin1String("en"), qPrintable(line));
        const bool polish = f[1] == QLatin1String("pl");
        QVERIFY2(rowOf.contains(id), qPrintable(line));
        const QString stored = rows[rowOf.value(id)].cells[polish ? 0 : 1];
        QVERIFY2(stored == f[2],
                 qPrintable(
                     QStringLiteral("%1 %2: stored \"%3\", quoted \"%4\"").arg(id).arg(f[1], stored, f[2])));
        t.SetLanguage(polish ? 1 : 0);
        QString expected = f[2];
        while (!expected.isEmpty() && expected.back().unicode() <= 32)
            expected.chop(1);
        while (!expected.isEmpty() && expected.front().unicode() <= 32)
            expected.remove(0, 1);
        QCOMPARE(t.Text(id), expected);
        ++checked;
    }
    QVERIFY(checked > 500);
}

// Russian and Spanish put no space before "?" and "!", and the Spanish cylinder series name the
// fuels so that neither reads as the other (and the gas one fits LPG and CNG cars alike).
void TestLangTable::translationTypography() {
    for (const Row &r : rows)
        for (int lang : {2, 3})
            QVERIFY2(!r.cells[lang].contains(QLatin1String(" ?")) &&
                         !r.cells[lang].contains(QLatin1String(" !")),
                     qPrintable(QString::number(r.id) + QLatin1Char(' ') + r.cells[lang]));
    for (const Row &r : rows) {
        if (r.id >= 1501 && r.id <= 1508) QVERIFY(r.cells[3].startsWith(QLatin1String("Gasol ")));
        if (r.id >= 1601 && r.id <= 1608) QCOMPARE(r.cells[3], QStringLiteral("Gas %1").arg(r.id - 1600));
    }
}

QTEST_GUILESS_MAIN(TestLangTable)
#include "tst_langtable.moc"
