// Numbers as the user sees them: general and fixed formats with the locale's decimal separator.
#include "device/Liczby.h"

#include <QLocale>
#include <QTest>

class TstLiczby : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void generalFormat_data();
    void generalFormat();
    void fixedFormat_data();
    void fixedFormat();
    void decimalSeparatorOfTheLocale();
    void readingUserNumbers();
    void hexadecimal();
};

void TstLiczby::generalFormat_data() {
    QTest::addColumn<double>("v");
    QTest::addColumn<QString>("text");
    QTest::newRow("2.5") << 25 * 0.1 << "2.5";
    QTest::newRow("2") << 20 * 0.1 << "2";
    QTest::newRow("-3.2") << -128 * 0.025 << "-3.2";
    QTest::newRow("binary noise") << 3 * 0.1 << "0.3"; // 0.30000000000000004
    QTest::newRow("no group separator") << 255 * 50.0 << "12750";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("small") << 0.004 << "0.004";
    QTest::newRow("3.175") << 127 * 0.025 << "3.175";
}

void TstLiczby::generalFormat() {
    QFETCH(double, v);
    QFETCH(QString, text);
    QCOMPARE(FormatLiczby(v, 0), text);
}

void TstLiczby::fixedFormat_data() {
    QTest::addColumn<double>("v");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.0") << 0.0 << 1 << "0.0";
    QTest::newRow("3.00") << 50 * 0.06 << 2 << "3.00";
    QTest::newRow("0.240") << 60 * 0.004 << 3 << "0.240";
    QTest::newRow("0.0000") << 1.0 / 3 << 4 << "0.3333";
    QTest::newRow("-3.200") << -128 * 0.025 << 3 << "-3.200";
    QTest::newRow("1.41") << 181 * 0.0078125 << 2 << "1.41";
    QTest::newRow("half up") << 16 * 0.0078125 << 2 << "0.13"; // exactly 0.125
    QTest::newRow("half up negative") << -0.125 << 2 << "-0.13";
    QTest::newRow("decimal half") << 1.005 << 2 << "1.01"; // stored as 1.00499999999999989...
    QTest::newRow("carry") << 9.995 << 2 << "10.00";
    QTest::newRow("carry 99.96") << 99.96 << 1 << "100.0";
    QTest::newRow("below half") << 0.0049 << 2 << "0.00";
    QTest::newRow("no negative zero") << -0.001 << 2 << "0.00";
    QTest::newRow("large") << 12750.0 << 2 << "12750.00";
    QTest::newRow("tiny") << 1e-9 << 3 << "0.000";
    QTest::newRow("1.10") << 1.0 + 10 * 0.01 << 2 << "1.10";
}

void TstLiczby::fixedFormat() {
    QFETCH(double, v);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(FormatLiczby(v, decimals), text);
    QCOMPARE(FormatStaly(v, decimals), text);
}

void TstLiczby::decimalSeparatorOfTheLocale() {
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QCOMPARE(SeparatorDziesietny(), QStringLiteral(","));
    QCOMPARE(FormatLiczby(2.5, 0), QStringLiteral("2,5"));
    QCOMPARE(FormatLiczby(3.0, 2), QStringLiteral("3,00"));
    QCOMPARE(FormatLiczby(-3.2, 3), QStringLiteral("-3,200"));
    QCOMPARE(FormatLiczby(12750, 0), QStringLiteral("12750")); // no group separator
    QCOMPARE(FormatStaly(2.5, 0), QStringLiteral("3"));
    QCOMPARE(FormatStaly(-2.5, 0), QStringLiteral("-3"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(FormatLiczby(1234.5, 1), QStringLiteral("1234,5"));
}

void TstLiczby::readingUserNumbers() {
    double v = -1;
    QVERIFY(CzytajLiczbe(QStringLiteral("2.25"), &v));
    QCOMPARE(v, 2.25);
    QVERIFY(CzytajLiczbe(QStringLiteral(" 1,5 "), &v));
    QCOMPARE(v, 1.5);
    QVERIFY(CzytajLiczbe(QStringLiteral("-3"), &v));
    QCOMPARE(v, -3.0);
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QVERIFY(CzytajLiczbe(QStringLiteral("0,75"), &v));
    QCOMPARE(v, 0.75);
    v = 7;
    QVERIFY(!CzytajLiczbe(QString(), &v));
    QVERIFY(!CzytajLiczbe(QStringLiteral("abc"), &v));
    QVERIFY(!CzytajLiczbe(QStringLiteral("1.2.3"), &v));
    QVERIFY(!CzytajLiczbe(QStringLiteral("1e999"), &v));
    QCOMPARE(v, 7.0); // untouched by a refused entry
}

void TstLiczby::hexadecimal() {
    QCOMPARE(HexLiczby(0x0A), QStringLiteral("0A"));
    QCOMPARE(HexLiczby(0x7E8), QStringLiteral("7E8"));
    QCOMPARE(HexLiczby(0x10, 4), QStringLiteral("0010"));
}

QTEST_GUILESS_MAIN(TstLiczby)
#include "tst_liczby.moc"
