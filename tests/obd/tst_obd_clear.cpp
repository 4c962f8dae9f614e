// The answer to clearing the trouble codes: only a mode-04 positive answer in the answer's place
// counts; a "44" anywhere else, "NO DATA", "ERROR" and the car's refusal do not.
#include "obd/ObdKasowanie.h"

#include <QtTest>

class TestObdClear : public QObject {
    Q_OBJECT
private slots:
    void answers_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("result"); // 0 confirmed, 1 refused, 2 nothing
        QTest::newRow("no headers") << QByteArray("44 \r\r>") << 0;
        QTest::newRow("echo, no headers") << QByteArray("04\r44\r\r>") << 0;
        QTest::newRow("CAN 11") << QByteArray("7E8 01 44 \r\r>") << 0;
        QTest::newRow("CAN 29") << QByteArray("18 DA F1 10 01 44 \r\r>") << 0;
        QTest::newRow("J1850") << QByteArray("48 6B 10 44 0F \r\r>") << 0;
        QTest::newRow("KWP, two units") << QByteArray("81 F1 11 44 C7 \r81 F1 18 44 CE \r\r>") << 0;
        QTest::newRow("NO DATA") << QByteArray("NO DATA\r\r>") << 2;
        QTest::newRow("ERROR") << QByteArray("04\rERROR\r\r>") << 2;
        QTest::newRow("empty") << QByteArray() << 2;
        QTest::newRow("refusal ending in 44") << QByteArray("7E8 03 7F 04 44\r\r>") << 1;
        QTest::newRow("44 as data only") << QByteArray("48 6B 44 43 01 \r\r>") << 2;
        QTest::newRow("refused, no headers") << QByteArray("7F 04 22\r\r>") << 1;
        QTest::newRow("refused, CAN 11") << QByteArray("7E8 03 7F 04 22 \r\r>") << 1;
        QTest::newRow("one refuses") << QByteArray("7E8 01 44 \r7E9 03 7F 04 22 \r\r>") << 1;
        QTest::newRow("bus init") << QByteArray("BUS INIT: ...OK\r\r>") << 2;
    }
    void answers() {
        QFETCH(QByteArray, reply);
        QFETCH(int, result);
        QCOMPARE(int(OcenKasowanieDtc(reply)), result);
    }
};

QTEST_GUILESS_MAIN(TestObdClear)
#include "tst_obd_clear.moc"
