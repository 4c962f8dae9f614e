// Every record of the settings catalogue and the injector type table against data files kept
// beside the tests (transcribed separately from the code).
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "settings/TKatalogNastaw.h"

#include <QFile>
#include <QTest>

#include <map>
#include <vector>

namespace {

QList<QStringList> CzytajTsv(const QString &name) {
    QList<QStringList> rows;
    QFile f(QStringLiteral(TARVEN_SOURCE_DIR "/tests/settings/") + name);
    if (!f.open(QIODevice::ReadOnly)) return rows;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#')) continue;
        rows.append(QString::fromUtf8(line).split(QLatin1Char('\t')));
    }
    return rows;
}

} // namespace

class TstKatalogDane : public QObject {
    Q_OBJECT
private slots:
    void everyRecordMatchesTheTable();
    void invariantsHold();
    void injectorTypes();
    void obdProtocols();
};

void TstKatalogDane::everyRecordMatchesTheTable() {
    const QList<QStringList> rows = CzytajTsv(QStringLiteral("catalogue.tsv"));
    QCOMPARE(rows.size(), 202);
    std::map<int, QStringList> byItem;
    for (const QStringList &r : rows) {
        QCOMPARE(r.size(), 18);
        byItem[r[0].toInt()] = r;
    }

    TKatalogNastaw k;
    k.UtworzNastawy();
    for (int item = 0; item < IleNastaw; ++item) {
        const TNastawa &n = k.Rekord(item);
        auto it = byItem.find(item);
        if (it == byItem.end()) {
            // Not in the table: an all-zero record.
            QVERIFY2(n.LabelId == 0 && n.Unit == 0 && n.Scale == 0.0 && n.Kind == 0 && n.Min == 0 &&
                         n.Default == 0 && n.Max == 0,
                     qPrintable(QStringLiteral("item %1 should be empty").arg(item)));
            for (int c = 0; c < 10; ++c)
                QCOMPARE(n.Choice[c], 0);
            continue;
        }
        const QStringList &r = it->second;
        const QByteArray what = QByteArray("item ") + QByteArray::number(item);
        QVERIFY2(n.LabelId == r[1].toInt(), what + " label");
        QVERIFY2(n.Unit == r[2].toInt(), what + " unit");
        QVERIFY2(qFuzzyCompare(1.0 + n.Scale, 1.0 + r[3].toDouble()), what + " scale");
        QVERIFY2(n.Kind == r[4].toInt(nullptr, 16), what + " kind");
        QVERIFY2(n.Min == r[5].toInt(), what + " minimum");
        QVERIFY2(n.Default == r[6].toInt(), what + " default");
        QVERIFY2(n.Max == r[7].toInt(), what + " maximum");
        for (int c = 0; c < 10; ++c)
            QVERIFY2(n.Choice[c] == r[8 + c].toInt(), what + " choice " + QByteArray::number(c));
    }
}

void TstKatalogDane::invariantsHold() {
    TKatalogNastaw k;
    k.UtworzNastawy();
    int filled = 0;
    for (int item = 0; item < IleNastaw; ++item) {
        const TNastawa &n = k.Rekord(item);
        if (n.Kind == 0) continue;
        ++filled;
        QVERIFY2(n.Min <= n.Default && n.Default <= n.Max, qPrintable(QString::number(item)));
        if (n.Rodzaj() == NastawaWybor && item != 24 && item != 109 && item != 257) {
            int last = -1;
            for (int c = 0; c < 10; ++c)
                if (n.Choice[c] != 0) last = c;
            QVERIFY2(n.Max <= last, qPrintable(QString::number(item)));
        }
    }
    QCOMPARE(filled, 202);
    // The tables behind the three choice items cover their maxima.
    QVERIFY(k.Rekord(24).Max < IleTypowWtryskiwaczy);
    QVERIFY(k.Rekord(109).Max < IleProtokolowObd);
    QVERIFY(k.Rekord(257).Max < IleProtokolowObd);
    // Out-of-range item numbers give the empty record.
    QCOMPARE(k.Rekord(-1).Kind, uint8_t(0));
    QCOMPARE(k.Rekord(IleNastaw).Max, uint8_t(0));
}

void TstKatalogDane::injectorTypes() {
    const QList<QStringList> rows = CzytajTsv(QStringLiteral("injectors.tsv"));
    QCOMPARE(rows.size(), IleTypowWtryskiwaczy);
    TSterownik s;
    s.StopTimer();
    TKatalogNastaw k(&s);
    k.UtworzNastawy();
    for (const QStringList &r : rows) {
        const int row = r[0].toInt();
        QCOMPARE(NazwaTypuWtryskiwacza(row), r[1]);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(TypyWtryskiwaczy[row].Wartosci[i], r[2 + i].toInt());
        if (row == 0) continue; // below the item's minimum
        // Choosing the row copies its four values into items 25..28.
        k.UstawNastawe(24, row);
        QCOMPARE(int(s.Nastawy[24]), row);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(int(s.Nastawy[25 + i]), r[2 + i].toInt());
    }
    QCOMPARE(NazwaTypuWtryskiwacza(-1), QString());
    QCOMPARE(NazwaTypuWtryskiwacza(IleTypowWtryskiwaczy), QString());
}

void TstKatalogDane::obdProtocols() {
    LangSetLanguage(0);
    const QStringList expected = {QStringLiteral("Off"),
                                  QStringLiteral("Automatic"),
                                  QStringLiteral("ISO 15765-4 CAN 11/500"),
                                  QStringLiteral("ISO 15765-4 CAN 29/500"),
                                  QStringLiteral("ISO 15765-4 CAN 11/250"),
                                  QStringLiteral("ISO 15765-4 CAN 29/250"),
                                  QStringLiteral("ISO 14230-4 KWP fast init."),
                                  QStringLiteral("ISO 14230-4 KWP slow init."),
                                  QStringLiteral("ISO 9141-2"),
                                  QStringLiteral("SEA J1850 PWM"),
                                  QStringLiteral("SEA J1850 VPW")};
    for (int i = 0; i < IleProtokolowObd; ++i)
        QCOMPARE(NazwaProtokoluObd(i), expected[i]);
    LangSetLanguage(1);
    QCOMPARE(NazwaProtokoluObd(0), QStringLiteral("Wyłączony"));
    QCOMPARE(NazwaProtokoluObd(1), QStringLiteral("Automatycznie"));
    QCOMPARE(NazwaProtokoluObd(11), QString());

    TSterownik s;
    s.StopTimer();
    TKatalogNastaw k(&s);
    k.UtworzNastawy();
    QCOMPARE(k.TekstNastawy(257, 10), QStringLiteral("SEA J1850 VPW"));
    QCOMPARE(k.TekstNastawy(109, 2), QStringLiteral("ISO 15765-4 CAN 11/500"));
    // Item 109 stops at 8: a stored 10 is pulled back and shown as entry 8.
    s.Nastawy[109] = 10;
    QCOMPARE(k.TekstNastawy(109), QStringLiteral("ISO 9141-2"));
    QCOMPARE(int(s.Nastawy[109]), 8);
}

QTEST_GUILESS_MAIN(TstKatalogDane)
#include "tst_katalogdane.moc"
