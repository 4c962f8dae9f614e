// OBD engine: catalogue, reply reader, decoders, ECU discovery, bitmaps and status panel readers.
#include "device/TSterownik.h"
#include "tst_obd_common.h"

#include <QLocale>
#include <QtTest>

class TestObdParse : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void catalogue();
    void tekstNaInt_data();
    void tekstNaInt();
    void errorReplies_data();
    void errorReplies();

    void decoders_data();
    void decoders();
    void decimalSeparatorFollowsLocale();
    void answerOfOtherLengthOrEcuIsIgnored();
    void relayToController();
    void nextPidRoundRobin();
    void pidGridFullAndCompact();
    void toggling();

    void ecuLists_data();
    void ecuLists();
    void ecuScanStopsOnShortOrBadLine();
    void bitmapBase0();
    void bitmapChainAndEntry80();
    void bitmapRecoloursRows();

    void statusElm();
    void statusVoltage();
    void statusProtokol_data();
    void statusProtokol();
    void statusDteMil();
    void statusClearAndLayout();
};

void TestObdParse::catalogue() {
    ObdRig r(false);
    const QList<pid> &p = r.obd.Pidy;
    QCOMPARE(p.size(), 129);
    for (int i = 0; i < p.size(); ++i) {
        const bool polled = i == 3 || (i >= 6 && i <= 9);
        QCOMPARE(bool(p[i].odpytywany), polled);
        QCOMPARE(p[i].obslugiwany, uint8_t(0));
        QCOMPARE(p[i].typ == -1, i >= 0x65);
    }
    QCOMPARE(p[0x0C].bajty, 2);
    QCOMPARE(p[0x0C].nazwa, QStringLiteral("Engine RPM"));
    QCOMPARE(p[0x0C].jednostka, QStringLiteral("rpm"));
    QCOMPARE(p[0x05].jednostka, QStringLiteral("°C"));
    QCOMPARE(p[0x13].nazwa, p[0x1D].nazwa);
    QCOMPARE(p[0x13].skrot, p[0x1D].skrot);
    QCOMPARE(p[0x13].typ, 19);
    QCOMPARE(p[0x1D].typ, 29);
    QCOMPARE(p[0x53].nazwa, QStringLiteral("Absoulute Evap system Vapour Pressure"));
    QCOMPARE(p[0x30].nazwa, QStringLiteral("# of warm-ups since codes cleared "));
    QCOMPARE(p[0x7F].bajty, 13);
    QCOMPARE(p[0x80].nazwa, QStringLiteral("PIDs supported 81-A0"));
    QCOMPARE(p[0x64].bajty, 5);
    QCOMPARE(p[0x0D].typ, 11);
    QCOMPARE(p[0x4C].skrot, QString());
}

void TestObdParse::tekstNaInt_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<uint>("value");
    QTest::newRow("two groups") << QByteArray("1A F8 00") << 2 << 0x1AF8u;
    QTest::newRow("identifier") << QByteArray("7E8 06 41") << 1 << 0x7E8u;
    QTest::newRow("leading space") << QByteArray(" 1A F8") << 1 << 0u;
    QTest::newRow("lower case") << QByteArray("be 1f") << 2 << 0xBE1Fu;
    QTest::newRow("cr skipped") << QByteArray("1A\rF8 00") << 1 << 0x1AF8u;
    QTest::newRow("others skipped") << QByteArray("G1>Z2 33") << 1 << 0x12u;
    QTest::newRow("four bytes") << QByteArray("BE 1F B8 11 6F") << 4 << 0xBE1FB811u;
    QTest::newRow("nine digits") << QByteArray("123456789") << 1 << 0x23456789u;
    QTest::newRow("empty") << QByteArray() << 4 << 0u;
    QTest::newRow("n zero") << QByteArray("12 34") << 0 << 0x12u;
    QTest::newRow("only 255 read") << (QByteArray(254, 'x') + "12") << 1 << 0x1u;
}

void TestObdParse::tekstNaInt() {
    QFETCH(QByteArray, text);
    QFETCH(int, n);
    QFETCH(uint, value);
    QCOMPARE(uint32_t(TObd::TekstNaInt(text, n)), value);
}

void TestObdParse::errorReplies_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("error");
    QTest::newRow("no data") << QByteArray("0100\rNO DATA\r\r>") << true;
    QTest::newRow("error") << QByteArray("CAN ERROR\r\r>") << true;
    QTest::newRow("bus init error") << QByteArray("BUS INIT: ...ERROR\r\r>") << true;
    QTest::newRow("unable") << QByteArray("SEARCHING...\rUNABLE TO CONNECT\r\r>") << true;
    QTest::newRow("bare NO anywhere") << QByteArray("XNOX\r>") << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("answer") << QByteArray("7E8 06 41 00 BE 1F B8 11 \r\r>") << false;
    QTest::newRow("ok") << QByteArray("OK\r\r>") << false;
    QTest::newRow("stopped") << QByteArray("STOPPED\r\r>") << false;
}

void TestObdParse::errorReplies() {
    QFETCH(QByteArray, reply);
    QFETCH(bool, error);
    ObdRig r(false);
    r.obd.Odpowiedz = reply;
    QCOMPARE(r.obd.CzyBlad(), error);
    QCOMPARE(r.obd.Analizuj("41"), int(reply.indexOf("41")) + 1);
}

void TestObdParse::decoders_data() {
    QTest::addColumn<int>("pidNo");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("shown");
    QTest::newRow("rpm") << 0x0C << "1A F8"
                         << "1726[rpm]";
    QTest::newRow("rpm quarter") << 0x0C << "1A F9"
                                 << "1726.25[rpm]";
    QTest::newRow("trim 80") << 0x06 << "80"
                             << "0.0[%]";
    QTest::newRow("trim 00") << 0x07 << "00"
                             << "-100.0[%]";
    QTest::newRow("trim 81") << 0x08 << "81"
                             << "0.8[%]";
    QTest::newRow("trim half up") << 0x09 << "88"
                                  << "6.3[%]";
    QTest::newRow("trim half down") << 0x06 << "78"
                                    << "-6.3[%]";
    QTest::newRow("load FF") << 0x04 << "FF"
                             << "100.0[%]";
    QTest::newRow("coolant 28") << 0x05 << "28"
                                << "0[°C]";
    QTest::newRow("coolant 00") << 0x05 << "00"
                                << "-40[°C]";
    QTest::newRow("monitor") << 0x01 << "83 07 E5 00"
                             << "3";
    QTest::newRow("bitmap") << 0x00 << "BE 1F B8 11"
                            << "0xBE1FB811";
    QTest::newRow("freeze") << 0x02 << "01 02"
                            << "258";
    QTest::newRow("fuel sys CL") << 0x03 << "02 00"
                                 << "CL";
    QTest::newRow("fuel sys OL Load") << 0x03 << "04 01"
                                      << "OL Load";
    QTest::newRow("fuel sys CL Error") << 0x03 << "10 00"
                                       << "CL Error";
    QTest::newRow("fuel sys other") << 0x03 << "03 00"
                                    << "";
    QTest::newRow("fuel pressure") << 0x0A << "10"
                                   << "48[kPa]";
    QTest::newRow("speed") << 0x0D << "32"
                           << "50[km/h]";
    QTest::newRow("timing 0") << 0x0E << "80"
                              << "0[°]";
    QTest::newRow("timing half") << 0x0E << "81"
                                 << "0.5[°]";
    QTest::newRow("timing neg") << 0x0E << "00"
                                << "-64[°]";
    QTest::newRow("maf") << 0x10 << "01 F4"
                         << "5[g/sec]";
    QTest::newRow("maf hundredth") << 0x10 << "01 F5"
                                   << "5.01[g/sec]";
    QTest::newRow("air status") << 0x12 << "04"
                                << "From the outside atmosphere or off";
    QTest::newRow("air status other") << 0x12 << "03"
                                      << "";
    QTest::newRow("o2 two banks") << 0x13 << "21"
                                  << "B1:1 B2:2";
    QTest::newRow("o2 four banks") << 0x1D << "E4"
                                   << "B1:0 B2:1 B3:2 B4:3";
    QTest::newRow("o2 voltage") << 0x14 << "B4 80"
                                << "0.9[V]";
    QTest::newRow("obd standard") << 0x1C << "06"
                                  << "EOBD (Europe)";
    QTest::newRow("obd standard 33") << 0x1C << "21"
                                     << "Heavy Duty Euro OBD Stage VI (HD EOBD-IV)";
    QTest::newRow("obd standard 34") << 0x1C << "22"
                                     << "Reserved";
    QTest::newRow("obd standard 0") << 0x1C << "00"
                                    << "Reserved";
    QTest::newRow("obd standard 17") << 0x1C << "11"
                                     << "Engine Manufacturer Diagnostics (EMD)";
    QTest::newRow("run time") << 0x1F << "01 00"
                              << "256[sec]";
    QTest::newRow("no formula 1 byte") << 0x1E << "05"
                                       << "0x5";
    QTest::newRow("no formula with unit") << 0x50 << "01 02 03 04"
                                          << "0x1020304[g/s]";
    QTest::newRow("five bytes") << 0x64 << "01 02 03 04 05"
                                << "0x2030405[%]";
    QTest::newRow("no decoder") << 0x65 << "00 0A"
                                << "0x0A";
}

// The chosen ECU's answer on 11-bit CAN, with the length byte of the entry.
static QString CanAnswer(int pidNo, const QString &data, int bytes) {
    return QStringLiteral("7E8 0%1 41 %2 %3 ")
        .arg(bytes + 2)
        .arg(pidNo, 2, 16, QChar(u'0'))
        .toUpper()
        .arg(data);
}

void TestObdParse::decoders() {
    QFETCH(int, pidNo);
    QFETCH(QString, data);
    QFETCH(QString, shown);
    ObdRig r(false);
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.obd.Pidy[pidNo].obslugiwany = 1;
    r.obd.OpiszPid();
    r.obd.AktualnyPid = pidNo;
    r.Reply({CanAnswer(pidNo, data, r.obd.Pidy[pidNo].bajty)});
    r.obd.WyswietlPid();
    QCOMPARE(r.pidy.Cell(4, pidNo), shown);
}

void TestObdParse::decimalSeparatorFollowsLocale() {
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    ObdRig r(false);
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.obd.OpiszPid();
    r.obd.AktualnyPid = 0x0C;
    r.Reply({CanAnswer(0x0C, "FF F9", 2)});
    r.obd.WyswietlPid();
    QLocale::setDefault(QLocale::c());
    QCOMPARE(r.pidy.Cell(4, 0x0C), QStringLiteral("16382,25[rpm]")); // no thousands separator
}

void TestObdParse::answerOfOtherLengthOrEcuIsIgnored() {
    TSterownik ster;
    ster.StopTimer();
    ObdRig r(false);
    r.obd.Sterownik = &ster;
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.obd.OpiszPid();
    r.pidy.SetCell(4, 0x0C, QStringLiteral("old"), ObdDefaultColour);
    r.obd.AktualnyPid = 0x0C;
    r.Reply({L("7E8 03 41 0C 1A"), L("7E9 04 41 0C 1A F8")});
    r.obd.WyswietlPid();
    QCOMPARE(r.pidy.Cell(4, 0x0C), QStringLiteral("old"));
    QCOMPARE(ster.ObdRelayPending, uint8_t(0));
    r.obd.Odpowiedz = "NO DATA\r\r>";
    r.obd.WyswietlPid();
    QCOMPARE(r.pidy.Cell(4, 0x0C), QStringLiteral("old"));
    r.Reply({L("7E9 04 41 0C 1A F8"), L("7E8 04 41 0C 0F A0")});
    r.obd.WyswietlPid();
    QCOMPARE(r.pidy.Cell(4, 0x0C), QStringLiteral("1000[rpm]"));
    QCOMPARE(ster.ObdRelayPending, uint8_t(1)); // every decoded PID marks the block for sending

    // The same on the K-line and on 29-bit CAN.
    r.obd.Protokol = 4;
    r.obd.Ecu = 0x11;
    r.Reply({L("84 F1 18 41 0D 20 AA"), L("84 F1 11 41 0D 21 AA")});
    r.obd.AktualnyPid = 0x0D;
    r.obd.WyswietlPid();
    QCOMPARE(r.pidy.Cell(4, 0x0D), QStringLiteral("33[km/h]"));
    r.obd.Protokol = 9;
    r.obd.Ecu = 0x10;
    r.Reply({L("18 DA F1 11 03 41 0D 40"), L("18 DA F1 10 03 41 0D 41")});
    r.obd.WyswietlPid();
    QCOMPARE(r.pidy.Cell(4, 0x0D), QStringLiteral("65[km/h]"));
    r.obd.Protokol = 2;
    r.obd.Ecu = 0x1F;
    r.Reply({L("48 6B 1F 41 0D 10 AA")});
    r.obd.WyswietlPid();
    QCOMPARE(r.pidy.Cell(4, 0x0D), QStringLiteral("16[km/h]"));
    // Protocols that are shown but not parsed.
    r.obd.Protokol = 10;
    r.Reply({L("48 6B 1F 41 0D 11 AA")});
    r.obd.WyswietlPid();
    QCOMPARE(r.pidy.Cell(4, 0x0D), QStringLiteral("16[km/h]"));
}

void TestObdParse::relayToController() {
    TSterownik ster;
    ster.StopTimer();
    ObdRig r(false);
    r.obd.Sterownik = &ster;
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    memset(ster.ObdRelay, 0xEE, sizeof ster.ObdRelay);
    const struct {
        int pid;
        const char *data;
    } answers[] = {{0x03, "02 01"}, {0x06, "00"}, {0x07, "85"}, {0x08, "7F"}, {0x09, "00"}};
    for (const auto &a : answers) {
        r.obd.AktualnyPid = a.pid;
        r.Reply({CanAnswer(a.pid, QString::fromLatin1(a.data), r.obd.Pidy[a.pid].bajty)});
        r.obd.WyswietlPid();
    }
    const uint8_t expected[7] = {0x02, 0x01, 0x01, 0x85, 0x7F, 0x01, 0x00};
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(ster.ObdRelay), 7),
             QByteArray(reinterpret_cast<const char *>(expected), 7));
    QCOMPARE(ster.ObdRelayPending, uint8_t(1));
    // Other PIDs leave the data bytes alone but still mark the block.
    ster.ObdRelayPending = 0;
    r.obd.AktualnyPid = 0x0C;
    r.Reply({CanAnswer(0x0C, "1A F8", 2)});
    r.obd.WyswietlPid();
    QCOMPARE(ster.ObdRelay[3], uint8_t(0x85));
    QCOMPARE(ster.ObdRelayPending, uint8_t(1));
}

void TestObdParse::nextPidRoundRobin() {
    ObdRig r;
    for (pid &p : r.obd.Pidy)
        p.odpytywany = 0;
    r.obd.Pidy[0x0C].obslugiwany = r.obd.Pidy[0x0C].odpytywany = 1;
    r.obd.Pidy[0x0D].obslugiwany = r.obd.Pidy[0x0D].odpytywany = 1;
    r.obd.Pidy[0x0E].odpytywany = 1;  // polled but not supported
    r.obd.Pidy[0x0F].obslugiwany = 1; // supported but not polled
    r.obd.AktualnyPid = 500;
    QByteArray sent;
    for (int i = 0; i < 4; ++i) {
        r.obd.KolejnyPid();
        sent += r.port->TakeTx();
    }
    QCOMPARE(sent, QByteArray("010C\r010D\r010C\r010D\r"));
    r.obd.Pidy[0x0D].odpytywany = 0;
    r.obd.KolejnyPid();
    r.obd.KolejnyPid();
    QCOMPARE(r.port->TakeTx(), QByteArray("010C\r010C\r"));
    r.obd.Pidy[0x0C].odpytywany = 0;
    r.obd.KolejnyPid();
    QCOMPARE(r.port->TakeTx(), QByteArray());
    QCOMPARE(r.obd.AktualnyPid, 0x0C);
}

void TestObdParse::pidGridFullAndCompact() {
    ObdRig r(false);
    r.obd.Pidy[0x06].obslugiwany = 1;
    r.obd.Pidy[0x0C].obslugiwany = 1;
    r.obd.Pidy[0x0C].odpytywany = 1;
    r.obd.Pidy[0x0D].obslugiwany = 1;
    r.obd.OpiszPid();
    QCOMPARE(r.pidy.rows, 129);
    QCOMPARE(r.pidy.cols, 5);
    QVERIFY(r.pidy.toggling);
    QCOMPARE(r.pidy.Cell(0, 0x0C), QStringLiteral("0C"));
    QCOMPARE(r.pidy.Cell(1, 0x0C), QStringLiteral("on"));
    QCOMPARE(r.pidy.Colour(1, 0x0C), ObdGreen);
    QCOMPARE(r.pidy.Cell(1, 0x0D), QStringLiteral("off"));
    QCOMPARE(r.pidy.Colour(1, 0x0D), ObdDefaultColour);
    QCOMPARE(r.pidy.Cell(1, 0x07), QStringLiteral("x"));
    QCOMPARE(r.pidy.Colour(2, 0x07), ObdSilver);
    QCOMPARE(r.pidy.Cell(2, 0x80), QStringLiteral("PIDs supported 81-A0"));
    QCOMPARE(r.pidy.Cell(3, 0x0C), QStringLiteral("RPM"));
    QCOMPARE(r.obd.Pidy[0x55].wiersz, 0x55);

    r.pidy.cells.clear();
    r.obd.ZmianaListy(1);
    QCOMPARE(r.pidy.cols, 3);
    QCOMPARE(r.pidy.rows, 2); // 06 and 0C are both supported and polled
    QVERIFY(!r.pidy.toggling);
    QCOMPARE(r.pidy.Cell(0, 0), QStringLiteral("Short term fuel Bank 1"));
    QCOMPARE(r.pidy.Cell(1, 1), QStringLiteral("RPM"));
    QCOMPARE(r.obd.Pidy[0x0C].wiersz, 1);
    QCOMPARE(r.obd.Pidy[0x0D].wiersz, -1);

    // In the compact list a value goes to column 2 of the entry's row.
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.obd.AktualnyPid = 0x0C;
    r.Reply({CanAnswer(0x0C, "1A F8", 2)});
    r.obd.WyswietlPid();
    QCOMPARE(r.pidy.Cell(2, 1), QStringLiteral("1726[rpm]"));
    r.obd.AktualnyPid = 0x0D;
    r.Reply({CanAnswer(0x0D, "10", 1)});
    const int before = r.pidy.setCellCount;
    r.obd.WyswietlPid();
    QCOMPARE(r.pidy.setCellCount, before); // not listed: nothing shown
}

void TestObdParse::toggling() {
    ObdRig r(false);
    r.obd.Pidy[0x0C].obslugiwany = 1;
    r.obd.OpiszPid();
    r.pidy.curRow = 0x0C;
    r.pidy.curCol = 1;
    r.obd.MyGridPidyClick();
    QCOMPARE(r.pidy.Cell(1, 0x0C), QStringLiteral("on"));
    r.obd.MyGridPidyDblClick(); // column 1: double click does nothing
    QCOMPARE(r.obd.Pidy[0x0C].odpytywany, uint8_t(1));
    r.pidy.curCol = 2;
    r.obd.MyGridPidyClick(); // other columns: click does nothing
    QCOMPARE(r.obd.Pidy[0x0C].odpytywany, uint8_t(1));
    r.obd.MyGridPidyDblClick();
    QCOMPARE(r.pidy.Cell(1, 0x0C), QStringLiteral("off"));
    r.obd.MyGridPidyKeyDown(13);
    QCOMPARE(r.obd.Pidy[0x0C].odpytywany, uint8_t(1));
    r.obd.MyGridPidyKeyDown(32);
    QCOMPARE(r.obd.Pidy[0x0C].odpytywany, uint8_t(1));

    // An unsupported row cannot be selected, but the grid is still refreshed.
    r.pidy.curRow = 0x07;
    r.pidy.curCol = 1;
    r.pidy.cells.clear();
    r.obd.MyGridPidyClick();
    QCOMPARE(r.obd.Pidy[0x07].odpytywany, uint8_t(1));
    QCOMPARE(r.pidy.Cell(1, 0x07), QStringLiteral("x"));

    // The compact list does not toggle; a row outside the catalogue is ignored.
    r.obd.ZmianaListy(1);
    r.pidy.curRow = 0;
    r.obd.MyGridPidyKeyDown(13);
    r.obd.MyGridPidyClick();
    QCOMPARE(r.obd.Pidy[0].odpytywany, uint8_t(0));
    r.obd.ZmianaListy(0);
    r.pidy.curRow = 400;
    r.obd.MyGridPidyKeyDown(13);
    r.pidy.curRow = -1;
    r.obd.MyGridPidyKeyDown(13);
}

void TestObdParse::ecuLists_data() {
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("chosen");
    QTest::newRow("J1850 VPW") << 2
                               << QStringList{L("48 6B 11 41 00 80 00 00 00 50"),
                                              L("48 6B 1F 41 00 BE 1F B8 11 6F")}
                               << "11h 1Fh " << 0x1F;
    QTest::newRow("ISO 9141") << 3 << QStringList{L("48 6B 10 41 00 BE 3E B8 11 C9")} << "10h " << 0x10;
    QTest::newRow("CAN 11") << 6 << QStringList{L("7E8 06 41 00 BF 9F B9 93"), L("7E9 06 41 00 98 18 80 11")}
                            << "7E8h 7E9h " << 0x7E8;
    QTest::newRow("CAN 11 250") << 8
                                << QStringList{L("7E9 06 41 00 98 18 80 11"), L("7E8 06 41 00 BF 9F B9 93")}
                                << "7E9h 7E8h " << 0x7E8;
    QTest::newRow("CAN 29") << 7
                            << QStringList{L("18 DA F1 10 06 41 00 BF 9F B9 93"),
                                           L("18 DA F1 11 06 41 00 98 18 80 11")}
                            << "10h 11h " << 0x10;
    QTest::newRow("KWP") << 4
                         << QStringList{L("86 F1 18 41 00 80 00 00 00 50"),
                                        L("86 F1 11 41 00 BE 1F B8 11 6F")}
                         << "18h 11h " << 0x11;
    QTest::newRow("single without trims")
        << 6 << QStringList{L("7E9 06 41 00 98 18 80 11")} << "7E9h " << 0x7E9;
    QTest::newRow("unknown protocol") << 0 << QStringList{L("7E8 06 41 00 BF 9F B9 93")} << "" << 0;
    QTest::newRow("USER1 not parsed") << 11 << QStringList{L("7E8 06 41 00 BF 9F B9 93")} << "" << 0;
}

void TestObdParse::ecuLists() {
    QFETCH(int, protocol);
    QFETCH(QStringList, lines);
    QFETCH(QString, list);
    QFETCH(int, chosen);
    ObdRig r(false);
    r.obd.Protokol = protocol;
    r.obd.Ecu = 0x55;
    r.Reply(lines);
    const QByteArray before = r.obd.Odpowiedz;
    r.obd.StatusEcu();
    QCOMPARE(r.status.Cell(1, 4), list);
    QCOMPARE(r.obd.Ecu, chosen);
    QCOMPARE(r.obd.LiczbaEcu, list.count(u'h'));
    QCOMPARE(r.obd.Odpowiedz, before); // the reply itself is left for the bitmap
    QVERIFY(r.Logged(QStringLiteral("ECU: ") + list, ObdGreen));
    QVERIFY(r.Logged(QStringLiteral("ECU: ") + QString::number(chosen, 16).toUpper().rightJustified(2, u'0') +
                         u'h',
                     ObdRed));
}

void TestObdParse::ecuScanStopsOnShortOrBadLine() {
    ObdRig r(false);
    // A last line shorter than 20 characters is not read.
    r.obd.Protokol = 6;
    r.obd.Odpowiedz = "7E8 06 41 00 98 18 80 11 \r7E9 06 41 00 BE\r>";
    r.obd.SzukajEcu();
    QCOMPARE(r.status.Cell(1, 4), QStringLiteral("7E8h "));
    // On the K-line a line of another shape ends the scan.
    r.obd.Protokol = 2;
    r.Reply({L("48 6B 11 41 00 80 00 00 00 50"), L("41 6B 10 41 01 00 00 00 00 50"),
             L("48 6B 1F 41 00 BE 1F B8 11 6F")});
    r.obd.SzukajEcu();
    QCOMPARE(r.status.Cell(1, 4), QStringLiteral("11h "));
    QCOMPARE(r.obd.Ecu, 0x11);
    // No ECU at all.
    r.obd.Protokol = 6;
    r.obd.Odpowiedz = "NO DATA\r\r>";
    r.obd.SzukajEcu();
    QCOMPARE(r.status.Cell(1, 4), QString());
    QCOMPARE(r.obd.Ecu, 0);
    QCOMPARE(r.obd.LiczbaEcu, 0);
}

void TestObdParse::bitmapBase0() {
    ObdRig r(false);
    r.obd.Protokol = 2;
    r.Reply({L("48 6B 11 41 00 80 00 00 00 50"), L("48 6B 1F 41 00 BE 1F B8 11 6F")});
    r.obd.Pidy[0x21].obslugiwany = 1; // cleared by the PID 00 bitmap
    r.obd.SzukajEcu();
    r.obd.PIDsupported(0);
    const QList<int> yes = {0x00, 0x01, 0x03, 0x04, 0x05, 0x06, 0x07, 0x0C, 0x0D,
                            0x0E, 0x0F, 0x10, 0x11, 0x13, 0x14, 0x15, 0x1C, 0x20};
    for (int i = 0; i < r.obd.Pidy.size(); ++i)
        QCOMPARE(bool(r.obd.Pidy[i].obslugiwany), yes.contains(i));
    QVERIFY(r.Logged(QStringLiteral("PIDs supported 0xBE1FB811"), ObdGreen));

    // The other ECU's bitmap is not applied; a missing answer leaves only PID 00.
    r.obd.Ecu = 0x11;
    r.obd.PIDsupported(0);
    QVERIFY(r.obd.Pidy[0x01].obslugiwany == 1 && r.obd.Pidy[0x0C].obslugiwany == 0);
    r.obd.Ecu = 0x33;
    r.obd.PIDsupported(0);
    int count = 0;
    for (const pid &p : r.obd.Pidy)
        count += p.obslugiwany;
    QCOMPARE(count, 1);
}

// Rows grey or un-grey as soon as a bitmap arrives, and keep the values shown.
void TestObdParse::bitmapRecoloursRows() {
    ObdRig r(false);
    r.obd.Protokol = 2;
    r.obd.Pidy[0x21].obslugiwany = 1;
    r.obd.OpiszPid();
    r.pidy.SetCell(4, 0x21, QStringLiteral("12[km]"), ObdDefaultColour);
    QCOMPARE(r.pidy.Colour(2, 0x0C), int(ObdSilver));
    r.Reply({L("48 6B 1F 41 00 BE 1F B8 11 6F")});
    r.obd.SzukajEcu();
    r.obd.PIDsupported(0);
    QCOMPARE(r.pidy.Colour(2, 0x0C), int(ObdDefaultColour));
    QCOMPARE(r.pidy.Cell(1, 0x0C),
             r.obd.Pidy[0x0C].odpytywany ? QStringLiteral("on") : QStringLiteral("off"));
    QCOMPARE(r.pidy.Colour(2, 0x21), int(ObdSilver));
    QCOMPARE(r.pidy.Colour(4, 0x21), int(ObdSilver));
    QCOMPARE(r.pidy.Cell(4, 0x21), QStringLiteral("12[km]"));
    QCOMPARE(r.pidy.Cell(1, 0x21), QStringLiteral("x"));
}

void TestObdParse::bitmapChainAndEntry80() {
    ObdRig r(false);
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.Reply({L("7E8 06 41 40 00 00 00 01")});
    r.obd.PIDsupported(0x40);
    QCOMPARE(r.obd.Pidy[0x60].obslugiwany, uint8_t(1));
    QCOMPARE(r.obd.Pidy[0x41].obslugiwany, uint8_t(0));
    QVERIFY(r.Logged(QStringLiteral("PIDs supported 0x0001"), ObdGreen));
    r.Reply({L("7E8 06 41 60 80 00 00 01")});
    r.obd.PIDsupported(0x60);
    QCOMPARE(r.obd.Pidy[0x61].obslugiwany, uint8_t(1));
    QCOMPARE(r.obd.Pidy[0x80].obslugiwany, uint8_t(1));
    // A bitmap without its full length byte on CAN is not an answer.
    r.Reply({L("7E8 05 41 20 FF FF FF")});
    r.obd.PIDsupported(0x20);
    QCOMPARE(r.obd.Pidy[0x21].obslugiwany, uint8_t(0));
}

void TestObdParse::statusElm() {
    ObdRig r(false);
    r.obd.Odpowiedz = "ATZ\r\rELM327 v1.5\r\r>";
    r.obd.StatusElm();
    QCOMPARE(r.status.Cell(1, 1), QStringLiteral("ELM327 v1.5"));
    QCOMPARE(r.obd.Odpowiedz, QByteArray("ELM327 v1.5"));
    QVERIFY(r.Logged(QStringLiteral("ELM327 v1.5"), ObdGreen));
    r.status.SetCell(1, 5, QStringLiteral("3"), ObdDefaultColour);
    r.obd.Odpowiedz = "ATZ\r\r?\r>";
    r.obd.StatusElm();
    QCOMPARE(r.status.Cell(1, 1), QStringLiteral("brak interfejsu"));
    QCOMPARE(r.status.Cell(1, 5), QString()); // cleared below
    // A very long banner line is cut at its CR whatever follows it.
    r.obd.Odpowiedz = "ELM327 v2.1\r" + QByteArray(600, 'Z') + ">";
    r.obd.StatusElm();
    QCOMPARE(r.status.Cell(1, 1), QStringLiteral("ELM327 v2.1"));
}

void TestObdParse::statusVoltage() {
    ObdRig r(false);
    r.obd.Odpowiedz = "ATRV\r12.6V\r\r>";
    r.obd.StatusVoltage();
    QCOMPARE(r.status.Cell(1, 2), QStringLiteral("12.6V"));
    QVERIFY(r.Logged(QStringLiteral("12.6V"), ObdGreen));
    r.obd.Odpowiedz = "13.9V\r\r>";
    r.obd.StatusVoltage();
    QCOMPARE(r.status.Cell(1, 2), QStringLiteral("13.9V"));
    r.obd.Odpowiedz = "ATRV\r?\r\r>";
    r.obd.StatusVoltage();
    QCOMPARE(r.status.Cell(1, 2), QStringLiteral("-"));
    QVERIFY(r.Logged(QStringLiteral("nie odczytano napięcia"), ObdRed));
    r.obd.Odpowiedz.clear();
    r.obd.StatusVoltage();
    QCOMPARE(r.status.Cell(1, 2), QString());
}

void TestObdParse::statusProtokol_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("logged");
    QTest::newRow("6") << QByteArray("6\r\r>") << 6 << "CAN (11 bit ID, 500 kb)"
                       << "ISO 15765-4 CAN (11 bit ID, 500 Kbaud)";
    QTest::newRow("echo 6") << QByteArray("ATDPN\r6\r\r>") << 6 << "CAN (11 bit ID, 500 kb)"
                            << "ISO 15765-4 CAN (11 bit ID, 500 Kbaud)";
    QTest::newRow("A6 automatic") << QByteArray("ATDPN\rA6\r\r>") << 6 << "CAN (11 bit ID, 500 kb)"
                                  << "ISO 15765-4 CAN (11 bit ID, 500 Kbaud)";
    QTest::newRow("1") << QByteArray("1\r\r>") << 1 << "SAE J1850 PWM"
                       << "SAE J1850 PWM (41.6 Kbaud)";
    QTest::newRow("3") << QByteArray("A3\r\r>") << 3 << "ISO 9141-2 (KL)"
                       << "ISO 9141-2 (5 baud init, 10.4 Kbaud)";
    QTest::newRow("12") << QByteArray("12\r\r>") << 12 << "USER2"
                        << "USER2 CAN (11* bit ID, 50* Kbaud)";
    QTest::newRow("10") << QByteArray("10\r\r>") << 10 << "CAN (29 bit ID, 250* kb)"
                        << "SAE J1939 CAN (29 bit ID, 250* Kbaud)";
    QTest::newRow("0") << QByteArray("0\r\r>") << 0 << "?"
                       << "nieznany protokół";
    QTest::newRow("13 kept") << QByteArray("13\r\r>") << 13 << "?"
                             << "nieznany protokół";
    QTest::newRow("A15 kept") << QByteArray("ATDPN\rA15\r\r>") << 15 << "?"
                              << "nieznany protokół";
    QTest::newRow("A alone") << QByteArray("A\r\r>") << 0 << "?"
                             << "nieznany protokół";
    QTest::newRow("letter") << QByteArray("B6\r\r>") << 0 << "?"
                            << "nieznany protokół";
    QTest::newRow("negative") << QByteArray("-1\r\r>") << 0 << "?"
                              << "nieznany protokół";
    QTest::newRow("empty") << QByteArray() << 0 << "?"
                           << "nieznany protokół";
}

void TestObdParse::statusProtokol() {
    QFETCH(QByteArray, reply);
    QFETCH(int, protocol);
    QFETCH(QString, row);
    QFETCH(QString, logged);
    ObdRig r(false);
    r.obd.Protokol = -1;
    r.obd.Odpowiedz = reply;
    r.obd.StatusProtokol();
    QCOMPARE(r.obd.Protokol, protocol);
    QCOMPARE(r.status.Cell(1, 3), row);
    QVERIFY(r.Logged(logged, protocol >= 1 && protocol <= 12 ? ObdGreen : ObdRed));
}

void TestObdParse::statusDteMil() {
    ObdRig r(false);
    r.obd.Odpowiedz = "0101\r7E8 06 41 01 83 07 E5 00 \r\r>";
    r.obd.StatusDteMil();
    QCOMPARE(r.status.Cell(1, 5), QStringLiteral("3"));
    QCOMPARE(r.status.Cell(1, 6), QStringLiteral("zapalony"));
    QVERIFY(r.Logged(QStringLiteral("status 0x8307E500"), ObdGreen));
    r.obd.Odpowiedz = "7E8 06 41 01 00 07 E5 00 \r\r>";
    r.obd.StatusDteMil();
    QCOMPARE(r.status.Cell(1, 5), QStringLiteral("0"));
    QCOMPARE(r.status.Cell(1, 6), QStringLiteral("zgaszony"));
    r.obd.Odpowiedz = "NO DATA\r\r>";
    r.obd.StatusDteMil();
    QCOMPARE(r.status.Cell(1, 5), QStringLiteral("-"));
    QCOMPARE(r.status.Cell(1, 6), QStringLiteral("-"));
    QVERIFY(r.Logged(QStringLiteral("nie odczytano statusu"), ObdRed));
    // Truncated status bytes: no crash, what is there is read.
    r.obd.Odpowiedz = "41 01 8";
    r.obd.StatusDteMil();
    QCOMPARE(r.status.Cell(1, 5), QStringLiteral("0"));
}

void TestObdParse::statusClearAndLayout() {
    ObdRig r(false);
    r.obd.OnTimer0();
    QCOMPARE(r.status.rows, 7);
    QCOMPARE(r.status.cols, 2);
    const QStringList labels = {"PORT:", "ELM:", "PWR:", "OBD:", "ECU:", "DTC:", "MIL:"};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(r.status.Cell(0, i), labels[i]);
    QCOMPARE(r.pidy.rows, 129); // the PID grid is filled on the first tick
    QCOMPARE(r.dtc.clears, 1);
    for (int i = 0; i < 7; ++i)
        r.obd.Status(i, QStringLiteral("v%1").arg(i), false);
    r.obd.Status(3, QStringLiteral("x"), false);
    QCOMPARE(r.status.Cell(1, 4), QStringLiteral("v4"));
    r.obd.Status(0, QStringLiteral("COMM 5"), true);
    QCOMPARE(r.status.Cell(1, 0), QStringLiteral("COMM 5"));
    for (int i = 1; i < 7; ++i)
        QCOMPARE(r.status.Cell(1, i), QString());
    QCOMPARE(r.status.Cell(0, 3), QStringLiteral("OBD:")); // labels stay
    r.obd.MyGridStatus = nullptr;
    r.obd.Status(1, QStringLiteral("nothing"), true); // no grid: nothing, no crash
}

QTEST_GUILESS_MAIN(TestObdParse)
#include "tst_obd_parse.moc"
