// The virtual ELM327 adapter's logic, driven headless on a virtual clock.
#include "ElmAdapter.h"
#include "ElmFrames.h"
#include "ElmOptions.h"
#include "ElmVehicle.h"

#include <QList>
#include <QtTest>

namespace {

struct Piece {
    int64_t at;
    QByteArray bytes;
};

// A command goes in, the clock runs until every piece of its answer is out.
class Bench {
public:
    explicit Bench(const ElmOptions &o = ElmOptions()) : adapter(o, 0) {}

    QByteArray send(const QByteArray &command) { return feed(command + "\r"); }

    QByteArray feed(const QByteArray &bytes) {
        adapter.receive(bytes, now);
        return run();
    }

    QByteArray run() {
        QByteArray all;
        pieces.clear();
        while (const auto next = adapter.nextOutputMs()) {
            now = std::max(now, *next);
            const QByteArray part = adapter.takeOutput(now);
            pieces.append({now, part});
            all += part;
        }
        return all;
    }

    // The set-up the OBD engine makes before it searches: echo off here to keep answers short.
    void setUp(bool headers = true) {
        send("ATZ");
        send("ATE0");
        send(headers ? "ATH1" : "ATH0");
    }

    ElmAdapter adapter;
    int64_t now = 0;
    QList<Piece> pieces;
};

// Answer lines without the echo, the empty line and the prompt.
QList<QByteArray> lines(const QByteArray &answer) {
    QList<QByteArray> out;
    for (const QByteArray &l : answer.split('\r'))
        if (!l.isEmpty() && l != ">") out.append(l);
    return out;
}

ElmOptions carOptions(int protocol, const char *dtc = "", int ecus = 1) {
    ElmOptions o;
    o.protocol = protocol;
    o.ecus = ecus;
    QString error;
    if (!parseDtcList(QString::fromLatin1(dtc), &o.stored, &error)) qFatal("bad test codes");
    return o;
}

// The engine's test for a failed answer.
bool isError(const QByteArray &a) {
    return a.contains("NO DATA") || a.contains("ERROR") || a.contains("NO");
}

} // namespace

class TestElmSim : public QObject {
    Q_OBJECT
private slots:
    void bannerAndEcho();
    void junkBeforeBanner();
    void commandsInPiecesAndQueued();
    void protocolNumberWithAndWithoutA();
    void headerLayoutsPerProtocol_data();
    void headerLayoutsPerProtocol();
    void checkBytes();
    void multiFrameTroubleCodes_data();
    void multiFrameTroubleCodes();
    void multiFrameWithoutHeaders();
    void troubleCodesOnSlowBuses();
    void clearCodes();
    void inspectionCounters_data();
    void inspectionCounters();
    void unknownCommands();
    void ignitionOff();
    void busInitOnKLine();
    void engineSearchReachesEveryProtocol();
    void severalEcus();
    void valuesChangeWithTime();
    void timingQuirks();
    void options();
    void randomInputAlwaysAnswered();
    void groupedRequests_data();
    void groupedRequests();
    void serialTiming_data();
    void serialTiming();
};

void TestElmSim::bannerAndEcho() {
    Bench b;
    // Echo of the command with its CR, an empty line, the banner, an empty line, the prompt.
    QCOMPARE(b.send("ATZ"), QByteArray("ATZ\r\rELM327 v1.5\r\r>"));
    QCOMPARE(b.send("ATI"), QByteArray("ATI\rELM327 v1.5\r\r>"));
    QCOMPARE(b.send("ATE0"), QByteArray("ATE0\rOK\r\r>")); // echoed: echo was still on
    QCOMPARE(b.send("ATI"), QByteArray("ELM327 v1.5\r\r>"));
    QCOMPARE(b.send("ATRV"), QByteArray("12.6V\r\r>"));
    QCOMPARE(b.send("ATL1"), QByteArray("OK\r\n\r\n>"));
    QCOMPARE(b.send("ATI"), QByteArray("ELM327 v1.5\r\n\r\n>"));
    QCOMPARE(b.send("ATE1"), QByteArray("OK\r\n\r\n>"));
    QCOMPARE(b.send("ATL0"), QByteArray("ATL0\r\nOK\r\r>"));
    // A reset brings the echo back.
    b.send("ATE0");
    QCOMPARE(b.send("ATZ"), QByteArray("\rELM327 v1.5\r\r>"));
    QCOMPARE(b.send("ATI"), QByteArray("ATI\rELM327 v1.5\r\r>"));

    ElmOptions o;
    o.voltage = 11.85;
    o.banner = "ELM327 v2.1";
    Bench c(o);
    QCOMPARE(c.send("ATRV"), QByteArray("ATRV\r11.8V\r\r>"));
    QVERIFY(c.send("ATZ").contains("\rELM327 v2.1\r"));
}

void TestElmSim::junkBeforeBanner() {
    ElmOptions o;
    o.junk = true;
    Bench b(o);
    const QByteArray a = b.send("ATZ");
    QVERIFY(a.startsWith("ATZ\r"));
    QVERIFY(a.endsWith("\rELM327 v1.5\r\r>"));
    const QByteArray junk = a.mid(4, a.size() - 4 - int(qstrlen("\rELM327 v1.5\r\r>")));
    QVERIFY(junk.size() >= 3);
    QVERIFY(junk.contains('\0') || junk.contains(char(0xFF)) || junk.contains(char(0xFC)));
    // Only a cold reset makes noise.
    QCOMPARE(b.send("ATWS"), QByteArray("ATWS\r\rELM327 v1.5\r\r>"));
}

void TestElmSim::commandsInPiecesAndQueued() {
    Bench b;
    b.send("ATE0");
    QCOMPARE(b.feed("A"), QByteArray());
    QCOMPARE(b.feed("t i"), QByteArray());
    QCOMPARE(b.feed("\r"), QByteArray("ELM327 v1.5\r\r>"));
    // Line feeds and NULs are ignored; two commands at once are answered one after the other.
    QCOMPARE(b.feed(QByteArray("AT\nRV\r\0ATI\r", 11)), QByteArray("12.6V\r\r>ELM327 v1.5\r\r>"));
    // An empty line repeats the last command.
    QCOMPARE(b.feed("\r"), QByteArray("ELM327 v1.5\r\r>"));
}

void TestElmSim::protocolNumberWithAndWithoutA() {
    Bench b(carOptions(6));
    b.setUp();
    QCOMPARE(lines(b.send("ATDPN")), QList<QByteArray>{"A0"});
    QCOMPARE(lines(b.send("ATDP")), QList<QByteArray>{"AUTO"});
    // Found by the search: the number with "A" in front, as real adapters report it.
    const QByteArray a = b.send("0100");
    QVERIFY(a.startsWith("SEARCHING...\r7E8 06 41 00 "));
    QCOMPARE(lines(b.send("ATDPN")), QList<QByteArray>{"A6"});
    QCOMPARE(lines(b.send("ATDP")), QList<QByteArray>{"AUTO, ISO 15765-4 (CAN 11/500)"});
    // Set by the program: the plain number, and no search.
    QCOMPARE(lines(b.send("ATTP6")), QList<QByteArray>{"OK"});
    QCOMPARE(lines(b.send("ATDPN")), QList<QByteArray>{"6"});
    QVERIFY(!b.send("0100").contains("SEARCHING"));
    QCOMPARE(lines(b.send("ATDPN")), QList<QByteArray>{"6"});
    QCOMPARE(lines(b.send("ATSP 7")), QList<QByteArray>{"OK"});
    QCOMPARE(lines(b.send("ATDPN")), QList<QByteArray>{"7"});
    QCOMPARE(lines(b.send("ATDP")), QList<QByteArray>{"ISO 15765-4 (CAN 29/500)"});
    QCOMPARE(lines(b.send("ATSPA3")), QList<QByteArray>{"OK"});
    QCOMPARE(lines(b.send("ATDPN")), QList<QByteArray>{"A3"});
    QCOMPARE(lines(b.send("ATSPD")), QList<QByteArray>{"?"});
    QCOMPARE(lines(b.send("ATTP")), QList<QByteArray>{"?"});

    // With --searching even a set protocol searches first.
    ElmOptions o = carOptions(6);
    o.searching = true;
    Bench s(o);
    s.setUp();
    s.send("ATTP6");
    QVERIFY(s.send("0100").startsWith("SEARCHING...\r7E8 06 41 00"));
    QVERIFY(!s.send("0100").contains("SEARCHING"));
}

void TestElmSim::headerLayoutsPerProtocol_data() {
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("J1850 PWM") << 1 << QByteArray("41 6B 10 41 0D ");
    QTest::newRow("J1850 VPW") << 2 << QByteArray("48 6B 10 41 0D ");
    QTest::newRow("ISO 9141-2") << 3 << QByteArray("48 6B 11 41 0D ");
    QTest::newRow("KWP slow") << 4 << QByteArray("83 F1 11 41 0D ");
    QTest::newRow("KWP fast") << 5 << QByteArray("83 F1 11 41 0D ");
    QTest::newRow("CAN 11/500") << 6 << QByteArray("7E8 03 41 0D ");
    QTest::newRow("CAN 29/500") << 7 << QByteArray("18 DA F1 10 03 41 0D ");
    QTest::newRow("CAN 11/250") << 8 << QByteArray("7E8 03 41 0D ");
    QTest::newRow("CAN 29/250") << 9 << QByteArray("18 DA F1 10 03 41 0D ");
}

void TestElmSim::headerLayoutsPerProtocol() {
    QFETCH(int, protocol);
    QFETCH(QByteArray, header);
    Bench b(carOptions(protocol));
    b.setUp(true);
    b.send("ATTP" + QByteArray::number(protocol));
    const QList<QByteArray> on = lines(b.send("010D"));
    QVERIFY(!on.isEmpty());
    QVERIFY2(on.last().startsWith(header), on.last().constData());
    // One data byte after the PID; the slow buses add their check byte.
    const int extra = protocol <= 5 ? 2 : 1;
    QCOMPARE(on.last().size(), header.size() + 3 * extra);

    // The supported-PIDs answer in the layout the ECU discovery reads.
    const QByteArray bitmap = lines(b.send("0100")).last();
    if (protocol == 4 || protocol == 5) QVERIFY(bitmap.startsWith("86 F1 11 41 00 "));
    if (protocol <= 3) QCOMPARE(bitmap.indexOf("6B"), 3);
    if (protocol >= 6) QVERIFY(bitmap.contains(" 06 41 00 "));

    b.send("ATH0");
    const QList<QByteArray> off = lines(b.send("010D"));
    QCOMPARE(off.size(), 1);
    QVERIFY(off[0].startsWith("41 0D "));
    QCOMPARE(off[0].size(), 9);
    b.send("ATS0");
    QCOMPARE(lines(b.send("0100")), QList<QByteArray>{"4100BFBFB813"});
    b.send("ATH1");
    const QByteArray tight = lines(b.send("0100")).last();
    QVERIFY(!tight.contains(' '));
    QVERIFY(tight.contains("4100BFBFB813"));
}

void TestElmSim::checkBytes() {
    // A request as a J1850 scan tool sends it, with its known CRC.
    QCOMPARE(elmJ1850Crc(QByteArray::fromHex("686AF10100")), uint8_t(0x17));
    // K-line: the sum of every byte.
    Bench b(carOptions(4));
    b.setUp();
    b.send("ATTP4");
    const QByteArray line = lines(b.send("010D")).last();
    const QByteArray bytes = QByteArray::fromHex(line.simplified().replace(' ', ""));
    uint8_t sum = 0;
    for (int i = 0; i + 1 < bytes.size(); ++i)
        sum = uint8_t(sum + uint8_t(bytes[i]));
    QCOMPARE(uint8_t(bytes.back()), sum);
    // J1850: the CRC over header and data.
    Bench j(carOptions(2));
    j.setUp();
    j.send("ATTP2");
    const QByteArray jb = QByteArray::fromHex(lines(j.send("0100")).last().simplified().replace(' ', ""));
    QCOMPARE(uint8_t(jb.back()), elmJ1850Crc(jb.left(jb.size() - 1)));
}

void TestElmSim::multiFrameTroubleCodes_data() {
    QTest::addColumn<int>("protocol");
    QTest::addColumn<bool>("padding");
    QTest::addColumn<QString>("codes");
    QTest::addColumn<QList<QByteArray>>("expected");
    const QString five = QStringLiteral("P0105,P0340,P1120,P0121,P0221");
    QTest::newRow("29 bit, padded") << 7 << true << five
                                    << QList<QByteArray>{"18 DA F1 10 10 0C 43 05 01 05 03 40 ",
                                                         "18 DA F1 10 21 11 20 01 21 02 21 00 "};
    QTest::newRow("29 bit, unpadded")
        << 7 << false << five
        << QList<QByteArray>{"18 DA F1 10 10 0C 43 05 01 05 03 40 ", "18 DA F1 10 21 11 20 01 21 02 21 "};
    const QString three = QStringLiteral("U0155,U0101,U0121");
    QTest::newRow("11 bit, padded") << 6 << true << three
                                    << QList<QByteArray>{"7E8 10 08 43 03 C1 55 C1 01 ",
                                                         "7E8 21 C1 21 00 00 00 00 00 "};
    QTest::newRow("11 bit, unpadded")
        << 8 << false << three << QList<QByteArray>{"7E8 10 08 43 03 C1 55 C1 01 ", "7E8 21 C1 21 "};
    QTest::newRow("one code, padded")
        << 6 << true << QStringLiteral("U0073") << QList<QByteArray>{"7E8 04 43 01 C0 73 00 00 00 "};
    QTest::newRow("one code, unpadded")
        << 6 << false << QStringLiteral("U0073") << QList<QByteArray>{"7E8 04 43 01 C0 73 "};
    QTest::newRow("none, padded") << 6 << true << QString()
                                  << QList<QByteArray>{"7E8 02 43 00 00 00 00 00 00 "};
    // Eighteen codes: first frame and five consecutive frames, numbered 21 .. 25.
    QStringList many;
    for (int i = 1; i <= 18; ++i)
        many << QStringLiteral("P%1").arg(0x100 + i, 4, 16, QLatin1Char('0')).toUpper();
    QTest::newRow("18 codes") << 6 << false << many.join(',')
                              << QList<QByteArray>{
                                     "7E8 10 26 43 12 01 01 01 02 ", "7E8 21 01 03 01 04 01 05 01 ",
                                     "7E8 22 06 01 07 01 08 01 09 ", "7E8 23 01 0A 01 0B 01 0C 01 ",
                                     "7E8 24 0D 01 0E 01 0F 01 10 ", "7E8 25 01 11 01 12 "};
}

void TestElmSim::multiFrameTroubleCodes() {
    QFETCH(int, protocol);
    QFETCH(bool, padding);
    QFETCH(QString, codes);
    QFETCH(QList<QByteArray>, expected);
    ElmOptions o = carOptions(protocol, codes.toLatin1().constData());
    o.canPadding = padding;
    Bench b(o);
    b.setUp();
    b.send("ATTP" + QByteArray::number(protocol));
    QCOMPARE(lines(b.send("03")), expected);
}

void TestElmSim::multiFrameWithoutHeaders() {
    Bench b(carOptions(6, "P0105,P0340,P1120,P0121,P0221"));
    b.setUp(false);
    b.send("ATTP6");
    QCOMPARE(lines(b.send("03")),
             (QList<QByteArray>{"00C", "0: 43 05 01 05 03 40 ", "1: 11 20 01 21 02 21 "}));
    // The vehicle number in three frames.
    QCOMPARE(lines(b.send("0902")),
             (QList<QByteArray>{"014", "0: 49 02 01 54 52 56 ", "1: 53 49 4D 30 41 30 42 ",
                                "2: 31 43 32 33 34 35 36 "}));
    // Without automatic formatting the PCI bytes show, as with headers.
    b.send("ATCAF0");
    QCOMPARE(lines(b.send("03")), (QList<QByteArray>{"10 0C 43 05 01 05 03 40 ", "21 11 20 01 21 02 21 "}));
    QCOMPARE(lines(b.send("0101")), QList<QByteArray>{"06 41 01 85 07 E5 05 "});
}

void TestElmSim::troubleCodesOnSlowBuses() {
    ElmOptions o = carOptions(2, "P0105,P0340,P1120,P0121");
    o.pending = {0x2097};
    Bench b(o);
    b.setUp();
    b.send("ATTP2");
    QList<QByteArray> l = lines(b.send("03"));
    QCOMPARE(l.size(), 2); // three codes a line, the rest filled with 00 00
    QVERIFY(l[0].startsWith("48 6B 10 43 01 05 03 40 11 20 "));
    QVERIFY(l[1].startsWith("48 6B 10 43 01 21 00 00 00 00 "));
    QVERIFY(lines(b.send("07")).first().startsWith("48 6B 10 47 20 97 00 00 00 00 "));
    QVERIFY(lines(b.send("0A")).first().startsWith("48 6B 10 4A 00 00 00 00 00 00 "));

    Bench k(carOptions(5, "P2097"));
    k.setUp();
    k.send("ATTP5");
    const QList<QByteArray> kl = lines(k.send("03"));
    QVERIFY(kl.last().startsWith("87 F1 11 43 20 97 00 00 00 00 "));
    QVERIFY(lines(k.send("0902")).size() == 5); // the vehicle number in five numbered lines
}

void TestElmSim::clearCodes() {
    ElmOptions o = carOptions(6, "P0420,P0171");
    o.pending = {0x0300};
    o.permanent = {0x0420};
    Bench b(o);
    b.setUp();
    b.send("ATTP6");
    QCOMPARE(lines(b.send("0101")), QList<QByteArray>{"7E8 06 41 01 82 07 E5 05 "});
    QCOMPARE(lines(b.send("04")), QList<QByteArray>{"7E8 01 44 "});
    QCOMPARE(lines(b.send("03")), QList<QByteArray>{"7E8 02 43 00 "});
    QCOMPARE(lines(b.send("07")), QList<QByteArray>{"7E8 02 47 00 "});
    QCOMPARE(lines(b.send("0A")), QList<QByteArray>{"7E8 04 4A 01 04 20 "}); // permanent stays
    QCOMPARE(lines(b.send("0101")),
             QList<QByteArray>{"7E8 06 41 01 00 07 E5 E5 "}); // lamp out, monitors to run again

    Bench k(carOptions(3, "P0420"));
    k.setUp(false);
    k.send("ATTP3");
    k.send("0100");
    QCOMPARE(lines(k.send("04")), QList<QByteArray>{"44 "});
}

void TestElmSim::inspectionCounters_data() {
    QTest::addColumn<QString>("noData");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("arrival"); // with P0420 stored, lamp on
    QTest::addColumn<QByteArray>("cleared"); // after 04
    // 57 km and 95 min with the lamp on, 42 warm-ups, 1234 km and 2710 min since the last clear.
    QTest::newRow("21") << "" << QByteArray("0121") << QByteArray("7E8 04 41 21 00 39 ")
                        << QByteArray("7E8 04 41 21 00 00 ");
    QTest::newRow("4D") << "" << QByteArray("014D") << QByteArray("7E8 04 41 4D 00 5F ")
                        << QByteArray("7E8 04 41 4D 00 00 ");
    QTest::newRow("30") << "" << QByteArray("0130") << QByteArray("7E8 03 41 30 2A ")
                        << QByteArray("7E8 03 41 30 00 ");
    QTest::newRow("31") << "" << QByteArray("0131") << QByteArray("7E8 04 41 31 04 D2 ")
                        << QByteArray("7E8 04 41 31 00 00 ");
    QTest::newRow("4E") << "" << QByteArray("014E") << QByteArray("7E8 04 41 4E 0A 96 ")
                        << QByteArray("7E8 04 41 4E 00 00 ");
    QTest::newRow("0A") << "" << QByteArray("0A") << QByteArray("7E8 04 4A 01 04 20 ")
                        << QByteArray("7E8 04 4A 01 04 20 ");
    for (const char *item : {"distance-mil", "time-mil", "warm-ups", "distance-cleared", "time-cleared"}) {
        const QByteArray pid = QByteArray("01") + (QByteArray(item) == "distance-mil"       ? "21"
                                                   : QByteArray(item) == "time-mil"         ? "4D"
                                                   : QByteArray(item) == "warm-ups"         ? "30"
                                                   : QByteArray(item) == "distance-cleared" ? "31"
                                                                                            : "4E");
        QTest::newRow(item) << item << pid << QByteArray("NO DATA") << QByteArray("NO DATA");
    }
    QTest::newRow("permanent") << "permanent" << QByteArray("0A") << QByteArray("NO DATA")
                               << QByteArray("NO DATA");
}

void TestElmSim::inspectionCounters() {
    QFETCH(QString, noData);
    QFETCH(QByteArray, request);
    QString error;
    auto o = parseElmOptions(
        {"--dtc", "P0420", "--permanent", "P0420", "--no-data", noData.isEmpty() ? "vin" : noData}, &error);
    QVERIFY2(o, qPrintable(error));
    Bench b(*o);
    b.setUp();
    b.send("ATTP6");
    QTEST(lines(b.send(request)).value(0), "arrival");
    b.send("04");
    // The minutes since the clear count on from it: none has passed yet.
    QTEST(lines(b.send(request)).value(0), "cleared");
}

void TestElmSim::unknownCommands() {
    Bench b;
    b.send("ATE0");
    for (const char *c : {"ATFOO", "ATE2", "XYZ", "0G00", "ATST", "ATSH12", "01000", "0102030405060708"})
        QCOMPARE(b.send(c), QByteArray("?\r\r>"));
    QCOMPARE(b.send(QByteArray(ElmAdapter::MaxLine + 10, 'A')), QByteArray("?\r\r>"));
    // Set-up commands the program may send are all accepted.
    for (const char *c : {"ATL0", "ATS1", "ATH1", "ATM0", "ATM1", "ATCAF1", "ATAL", "ATST32", "ATAT1",
                          "ATSH7DF", "ATCFC1", "ATD", "ATPC"})
        QCOMPARE(b.send(c), QByteArray("OK\r\r>"));
    // Requests nobody answers.
    b.send("ATTP6");
    QCOMPARE(b.send("0102"), QByteArray("NO DATA\r\r>"));
    QCOMPARE(b.send("22F190"), QByteArray("NO DATA\r\r>"));
}

void TestElmSim::ignitionOff() {
    ElmOptions o = carOptions(6);
    o.ignitionOff = true;
    Bench b(o);
    b.setUp();
    QCOMPARE(lines(b.send("0100")), (QList<QByteArray>{"SEARCHING...", "UNABLE TO CONNECT"}));
    QCOMPARE(lines(b.send("ATDPN")), QList<QByteArray>{"A0"});
    b.send("ATTP6");
    QCOMPARE(lines(b.send("0100")), QList<QByteArray>{"UNABLE TO CONNECT"});
    QCOMPARE(lines(b.send("ATRV")), QList<QByteArray>{"12.6V"}); // the adapter itself still works
    b.send("ATTP4");
    QCOMPARE(lines(b.send("0100")), QList<QByteArray>{"BUS INIT: ...ERROR"});
}

void TestElmSim::busInitOnKLine() {
    for (int p : {3, 4, 5}) {
        ElmOptions o = carOptions(p);
        o.busInitMs = 1000;
        Bench b(o);
        b.setUp();
        b.send("ATTP" + QByteArray::number(p));
        const int64_t start = b.now;
        const QByteArray a = b.send("0100");
        QVERIFY2(a.startsWith("BUS INIT: ...OK\r"), a.constData());
        // "BUS INIT: " at once, the dots on the way, the verdict when the initialisation is done.
        QVERIFY(b.pieces.size() >= 3);
        QCOMPARE(b.pieces[0].bytes, QByteArray("BUS INIT: "));
        QCOMPARE(b.pieces[1].bytes, QByteArray("..."));
        QVERIFY(b.pieces[2].at - start >= 1000);
        QVERIFY(!b.send("0100").contains("BUS INIT")); // the bus stays up
        b.send("ATPC");
        QVERIFY(b.send("0100").contains("BUS INIT: ...OK"));
    }
    // No bus init on the other buses.
    Bench c(carOptions(2));
    c.setUp();
    c.send("ATTP2");
    QVERIFY(!c.send("0100").contains("BUS INIT"));
}

void TestElmSim::engineSearchReachesEveryProtocol() {
    // The OBD engine's sequence: set-up, then ATTP n / 0100 in this order until an answer is no
    // error, then ATDPN. For every car protocol the search must stop at that protocol.
    const int order[] = {6, 7, 2, 1, 3, 4, 5, 6, 7, 8, 9};
    for (int car = 1; car <= 9; ++car) {
        Bench b(carOptions(car, "P0420", 2));
        for (const char *c : {"ATZ", "ATE1", "ATL0", "ATCAF1", "ATH1", "ATM0", "ATRV"}) {
            const QByteArray a = b.send(c);
            QVERIFY(a.endsWith("\r>"));
            QVERIFY2(a.contains(c[2] == 'Z' ? "ELM" : c[3] == 'V' ? "V" : "OK"), c);
        }
        int found = 0;
        for (int p : order) {
            QVERIFY(b.send("ATTP" + QByteArray::number(p)).contains("OK"));
            if (!isError(b.send("0100"))) {
                found = p;
                break;
            }
        }
        QCOMPARE(found, car);
        QCOMPARE(b.send("ATDPN"), "ATDPN\r" + QByteArray::number(car) + "\r\r>");
        for (const char *c : {"ATM1", "ATST32", "ATAL", "ATE0"})
            QVERIFY(b.send(c).endsWith("OK\r\r>"));
        QCOMPARE(b.send("ATH1"), QByteArray("OK\r\r>"));
        QCOMPARE(lines(b.send("01001")).size(), 1); // first answer only
        QCOMPARE(lines(b.send("0100")).size(), 2);  // both units
        for (const char *c :
             {"0101", "0120", "0140", "0160", "0180", "0103", "0106", "0107", "0108", "0109", "010C"})
            QVERIFY2(!isError(b.send(c)), c);
        QVERIFY(lines(b.send("ATRV")) == QList<QByteArray>{"12.6V"});
        for (const char *c : {"03", "07", "0A", "04"})
            QVERIFY2(!isError(b.send(c)), c);
    }
}

void TestElmSim::severalEcus() {
    Bench b(carOptions(7, "", 3));
    b.setUp();
    b.send("ATTP7");
    const QList<QByteArray> l = lines(b.send("0100"));
    QCOMPARE(l.size(), 3);
    QVERIFY(l[0].startsWith("18 DA F1 10 06 41 00 BF "));
    QVERIFY(l[1].startsWith("18 DA F1 18 06 41 00 88 "));
    QVERIFY(l[2].startsWith("18 DA F1 1A 06 41 00 88 "));
    // Only the engine unit has the fuel trims and RPM.
    QCOMPARE(lines(b.send("010C")).size(), 1);
    QCOMPARE(lines(b.send("010D")).size(), 3);
    QCOMPARE(lines(b.send("010D2")).size(), 2);
    // The bitmaps chain to each other up to PID 80, whose own bitmap is empty.
    // PIDs 21, 2F, 30, 31, 33 and 40 of the engine unit (bits 31, 17, 16, 15, 13, 0); the others do not
    // answer.
    QCOMPARE(lines(b.send("0120")), QList<QByteArray>{"18 DA F1 10 06 41 20 80 03 A0 01 "});
    QVERIFY(b.adapter.vehicle().pidBitmap(0, 0x60) & 1u);
    QCOMPARE(lines(b.send("0180")), QList<QByteArray>{"18 DA F1 10 06 41 80 00 00 00 00 "});
}

void TestElmSim::valuesChangeWithTime() {
    ElmVehicle car(carOptions(6));
    auto rpm = [&](double t) {
        const QByteArray d = car.pidData(0, 0x0C, t);
        return (uint8_t(d[0]) * 256 + uint8_t(d[1])) / 4;
    };
    QVERIFY(rpm(2.0) > 700 && rpm(2.0) < 850); // idle
    QVERIFY(rpm(25.0) > 2000);                 // cruising
    QCOMPARE(uint8_t(car.pidData(0, 0x0D, 2.0)[0]), uint8_t(0));
    QVERIFY(uint8_t(car.pidData(0, 0x0D, 25.0)[0]) > 70);
    // Cold start: open loop; warm: closed loop, and the coolant has risen.
    QCOMPARE(car.pidData(0, 0x03, 1.0), QByteArray::fromHex("0101"));
    QCOMPARE(car.pidData(0, 0x03, 300.0), QByteArray::fromHex("0202"));
    QVERIFY(uint8_t(car.pidData(0, 0x05, 300.0)[0]) - 40 > uint8_t(car.pidData(0, 0x05, 1.0)[0]) - 40 + 50);
    // The short trim moves around its centre, the long one holds.
    QVERIFY(car.pidData(0, 0x06, 1.0) != car.pidData(0, 0x06, 2.0));
    QCOMPARE(car.pidData(0, 0x07, 1.0), car.pidData(0, 0x07, 200.0));
    QVERIFY(!car.pidData(0, 0x0B, 1.0).isEmpty());
    QVERIFY(car.pidData(0, 0x02, 1.0).isEmpty()); // not supported
    // Through the adapter: the same request later gives another RPM.
    Bench b(carOptions(6));
    b.setUp();
    b.send("ATTP6");
    const QByteArray first = lines(b.send("010C")).first();
    b.now += 20000;
    QVERIFY(lines(b.send("010C")).first() != first);
}

void TestElmSim::timingQuirks() {
    ElmOptions o = carOptions(6);
    o.delayMs = 500;
    o.splitPrompt = true;
    Bench b(o);
    b.setUp();
    b.send("ATTP6");
    const int64_t start = b.now;
    const QByteArray a = b.send("010D");
    QVERIFY(a.endsWith("\r\r>"));
    QCOMPARE(b.pieces.size(), 2); // the answer, then the prompt on its own
    QCOMPARE(b.pieces.last().bytes, QByteArray(">"));
    QVERIFY(b.pieces.first().at - start >= 500); // slow answer
    QVERIFY(b.pieces.last().at > b.pieces.first().at);

    // Every prompt lost: answers end with the empty line and no ">".
    ElmOptions d;
    d.dropPromptRate = 1.0;
    Bench c(d);
    QCOMPARE(c.send("ATI"), QByteArray("ATI\rELM327 v1.5\r\r"));
    // Half of them lost, repeatably with the same seed.
    d.dropPromptRate = 0.5;
    Bench e1(d), e2(d);
    int lost = 0;
    for (int i = 0; i < 40; ++i) {
        const QByteArray x = e1.send("ATI");
        QCOMPARE(e2.send("ATI"), x);
        lost += x.endsWith('>') ? 0 : 1;
    }
    QVERIFY(lost > 5 && lost < 35);

    // Padding shows on single frames with headers on, not with headers off.
    ElmOptions p = carOptions(6);
    p.canPadding = true;
    p.padByte = 0x55;
    Bench f(p);
    f.setUp();
    f.send("ATTP6");
    QVERIFY(lines(f.send("010D")).first().endsWith(" 55 55 55 55 "));
    f.send("ATH0");
    QCOMPARE(lines(f.send("0101")), QList<QByteArray>{"41 01 00 07 E5 05 "});
}

void TestElmSim::options() {
    QString error;
    auto o = parseElmOptions({"--protocol", "3", "--ecus=2", "--dtc", "P0420,c0035,U0100,B1234", "--pending",
                              "P0300", "--voltage", "13.8", "--delay-ms", "5", "--drop-prompt-rate", "0.25",
                              "--junk", "--ignition-off", "--split-prompt", "--can-padding=AA", "--link",
                              "/tmp/x"},
                             &error);
    QVERIFY2(o, qPrintable(error));
    QCOMPARE(o->protocol, 3);
    QCOMPARE(o->ecus, 2);
    QCOMPARE(o->stored, (QList<uint16_t>{0x0420, 0x4035, 0xC100, 0x9234}));
    QCOMPARE(o->pending, QList<uint16_t>{0x0300});
    QCOMPARE(o->voltage, 13.8);
    QCOMPARE(o->delayMs, 5);
    QCOMPARE(o->dropPromptRate, 0.25);
    QVERIFY(o->junk && o->ignitionOff && o->splitPrompt && o->canPadding);
    QCOMPARE(o->padByte, uint8_t(0xAA));
    QCOMPARE(o->link, QStringLiteral("/tmp/x"));
    QCOMPARE(o->tcpPort, -1); // no TCP port unless asked
    o = parseElmOptions({"--tcp", "0"}, &error);
    QVERIFY2(o, qPrintable(error));
    QCOMPARE(o->tcpPort, 0);
    QCOMPARE(o->tcpBind, QStringLiteral("127.0.0.1")); // loopback unless told otherwise
    QCOMPARE(dtcText(0xC100), QByteArray("U0100"));
    QCOMPARE(dtcText(0x4035), QByteArray("C0035"));

    for (const QStringList &bad :
         {QStringList{"--protocol", "0"}, QStringList{"--protocol", "10"}, QStringList{"--ecus", "9"},
          QStringList{"--dtc", "P04200"}, QStringList{"--dtc", "X0420"}, QStringList{"--dtc", "P4420"},
          QStringList{"--drop-prompt-rate", "1.5"}, QStringList{"--can-padding=XYZ"},
          QStringList{"--voltage"}, QStringList{"--bogus"}, QStringList{"--junk=1"},
          QStringList{"--tcp", "65536"}, QStringList{"--tcp", "-1"}, QStringList{"--bind", "localhost:1"}}) {
        error.clear();
        QVERIFY2(!parseElmOptions(bad, &error), qPrintable(bad.join(' ')));
        QVERIFY(!error.isEmpty());
    }
}

void TestElmSim::randomInputAlwaysAnswered() {
    // Whatever arrives, every line gets exactly one prompt and the adapter keeps working.
    std::mt19937 rng(7);
    for (int protocol : {2, 4, 6, 7}) {
        Bench b(carOptions(protocol, "P0420,U0155,P0171,P0300", 3));
        b.setUp();
        std::uniform_int_distribution<int> len(0, 90), byte(0, 255), pick(0, 5);
        static const char alphabet[] = "0123456789ABCDEFATSPZHLE ";
        int lines = 0;
        QByteArray out;
        for (int i = 0; i < 300; ++i) {
            QByteArray chunk;
            for (int n = len(rng); n > 0; --n) {
                const int k = pick(rng);
                chunk.append(k == 0 ? char(byte(rng)) : alphabet[byte(rng) % (sizeof alphabet - 1)]);
            }
            chunk.replace('>', '<');
            // Echo back on (or a reset, which turns it on) would echo the prompt characters too.
            QByteArray seen;
            for (char c : chunk)
                if (uint8_t(c) > ' ') seen.append(char(std::toupper(uint8_t(c))));
            if (seen.contains("ATE1") || seen.contains("ATZ") || seen.contains("ATWS")) continue;
            chunk.append('\r');
            lines += int(chunk.count('\r'));
            out += b.feed(chunk);
        }
        QCOMPARE(int(out.count('>')), lines);
        b.send("ATE0");
        QCOMPARE(b.send("ATI"), QByteArray("ELM327 v1.5\r\r>"));
    }
}

// Several PIDs a mode-01 request, with the values that do not move: 07 long trim +3.1 % = 128 + 3.968
// -> 84, 09 -2.3 % -> 7D, 0F intake 27 °C -> 43, 13 sensors 33, 1C EOBD 06, 33 101 kPa -> 65.
void TestElmSim::groupedRequests_data() {
    QTest::addColumn<QString>("grouped");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QList<QByteArray>>("answer");
    // 41 and 12 bytes of PIDs and data = 0x0D: a first frame with 6, one consecutive frame with 7.
    QTest::newRow("six PIDs") << "answer" << QByteArray("0107090F131C33")
                              << QList<QByteArray>{"7E8 10 0D 41 07 84 09 7D 0F ",
                                                   "7E8 21 43 13 33 1C 06 33 65 "};
    // 0A is not the unit's: left out. The second unit has none of them: no answer from it.
    QTest::newRow("one the unit lacks")
        << "answer" << QByteArray("01070A09") << QList<QByteArray>{"7E8 05 41 07 84 09 7D "};
    QTest::newRow("refused: NO DATA") << "no-data" << QByteArray("010709") << QList<QByteArray>{"NO DATA"};
    QTest::newRow("refused: ?") << "question" << QByteArray("010709") << QList<QByteArray>{"?"};
    QTest::newRow("the first only") << "first" << QByteArray("010709")
                                    << QList<QByteArray>{"7E8 03 41 07 84 "};
    QTest::newRow("a single PID whatever the mode")
        << "no-data" << QByteArray("0109") << QList<QByteArray>{"7E8 03 41 09 7D "};
}

void TestElmSim::groupedRequests() {
    QFETCH(QString, grouped);
    QFETCH(QByteArray, request);
    QString error;
    const std::optional<ElmOptions> o =
        parseElmOptions({"--ecus", "2", "--grouped", grouped, "--protocol", "6"}, &error);
    QVERIFY2(o, qPrintable(error));
    Bench b(*o);
    b.setUp(true);
    b.send("ATSP6");
    b.send("0100");
    QTEST(lines(b.send(request)), "answer");
}

// At 38400 baud a byte takes 10 / 38400 s = 0.2604 ms. "0107" + CR: 5 bytes in, 1.302 ms (the answer
// starts at the next whole ms, 2); the ECU 25 ms; "7E8 03 41 07 84 " + CR + CR + ">": 19 bytes,
// 4.948 ms out: the prompt at 27 + 4.948 -> 32 ms. At 9600: 5.208 -> 6, + 25, + 19.79 -> 51 ms.
void TestElmSim::serialTiming_data() {
    QTest::addColumn<QString>("baud");
    QTest::addColumn<int>("promptMs");
    QTest::newRow("38400") << "38400" << 32;
    QTest::newRow("9600") << "9600" << 51;
    QTest::newRow("instant") << "" << 25;
}

void TestElmSim::serialTiming() {
    QFETCH(QString, baud);
    QStringList args{"--delay-ms", "25"};
    if (!baud.isEmpty()) args << "--baud" << baud;
    QString error;
    const std::optional<ElmOptions> o = parseElmOptions(args, &error);
    QVERIFY2(o, qPrintable(error));
    Bench b(*o);
    b.setUp(true);
    b.send("ATSP6");
    b.send("0100");
    const int64_t start = b.now;
    QCOMPARE(b.send("0107"), QByteArray("7E8 03 41 07 84 \r\r>"));
    QTEST(int(b.pieces.last().at - start), "promptMs");
    QVERIFY(!parseElmOptions({"--baud", "100"}, &error));
    QVERIFY(!parseElmOptions({"--grouped", "some"}, &error));
}

QTEST_APPLESS_MAIN(TestElmSim)
#include "tst_elmsim.moc"
