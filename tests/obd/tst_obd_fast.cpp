// Fast polling: several PIDs a request on CAN, split per PID and decoded as single answers are, the
// fallback to smaller groups and single PIDs for adapters and cars that do not answer them in full,
// and the next request sent when the answer's prompt is in. The wire texts are worked out by hand
// from ISO 15765-2 framing and the SAE J1979 mode-01 layout.
#include "device/TSterownik.h"
#include "tst_obd_common.h"

#include <QCoreApplication>
#include <QtTest>

namespace {

// An engine in polling on a protocol, with the given PIDs supported and polled (and no others).
struct FastRig : ObdRig {
    TSterownik ster;
    FastRig(int protocol, int ecu, const QList<int> &pids, bool fast = true) {
        ster.StopTimer();
        obd.Sterownik = &ster;
        obd.SzybkiPolling = fast;
        obd.Protokol = protocol;
        obd.Ecu = ecu;
        for (pid &p : obd.Pidy)
            p.obslugiwany = p.odpytywany = 0;
        for (int n : pids)
            obd.Pidy[n].obslugiwany = obd.Pidy[n].odpytywany = 1;
        obd.OpiszPid();
        obd.Stan = 1000;
        obd.JustOpened = 0; // the port's opening is not to restart the loop
        port->TakeTx();
    }
    // What the engine sent since the last call, without the CR.
    QByteArray Sent() { return port->TakeTx().replace('\r', ""); }
    // One tick of the timer.
    void Tick() { obd.OnTimer1(); }
    // The adapter's answer arrives (lines as the adapter prints them with headers on).
    void Answer(const QStringList &lines) {
        QByteArray r;
        for (const QString &l : lines)
            r += l.toLatin1() + " \r";
        port->Deliver(r + "\r>");
    }
    QString Value(int n) const { return pidy.Cell(4, n); }
};

} // namespace

class TestObdFast : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void groupedRequests_data();
    void groupedRequests();
    void groupedAnswers_data();
    void groupedAnswers();
    void fallback_data();
    void fallback();
    void nextRequestAtThePrompt();
    void asSpecifiedUnchanged();
    void slowBusesStaySingle();
    void newConnectionTriesGroupsAgain();
};

// Eleven PIDs: the five relayed ones and six more. Round robin in groups of six, each group starting
// after the last PID of the one before.
void TestObdFast::groupedRequests_data() {
    QTest::addColumn<QList<int>>("pids");
    QTest::addColumn<int>("maxGroup");
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<int>("supportedOnly"); // supported but not polled, 0: none
    QTest::addColumn<int>("polledOnly");    // polled but not supported, 0: none
    const QList<int> eleven{0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0B, 0x0C, 0x0D, 0x0F};
    QTest::newRow("eleven, six a request")
        << eleven << 6
        << QByteArrayList{"01030405060708", "01090B0C0D0F03", "010405060708 09", "010B0C0D0F0304"} << 0 << 0;
    QTest::newRow("eleven, three a request")
        << eleven << 3 << QByteArrayList{"01030405", "01060708", "01090B0C", "010D0F03"} << 0 << 0;
    QTest::newRow("two PIDs") << QList<int>{0x0C, 0x0D} << 6 << QByteArrayList{"010C0D", "010C0D"} << 0 << 0;
    // One PID is asked as it always was.
    QTest::newRow("one PID") << QList<int>{0x0C} << 6 << QByteArrayList{"010C", "010C"} << 0 << 0;
    QTest::newRow("single PIDs") << QList<int>{0x0C, 0x0D, 0x05} << 1
                                 << QByteArrayList{"0105", "010C", "010D"} << 0 << 0;
    // Only PIDs both supported and polled go into a group.
    QTest::newRow("supported or polled only")
        << QList<int>{0x0C, 0x0D} << 6 << QByteArrayList{"010C0D", "010C0D"} << 0x05 << 0x0E;
}

void TestObdFast::groupedRequests() {
    QFETCH(QList<int>, pids);
    QFETCH(int, maxGroup);
    QFETCH(QByteArrayList, requests);
    QFETCH(int, supportedOnly);
    QFETCH(int, polledOnly);
    FastRig r(6, 0x7E8, pids);
    if (supportedOnly) r.obd.Pidy[supportedOnly].obslugiwany = 1;
    if (polledOnly) r.obd.Pidy[polledOnly].odpytywany = 1;
    r.obd.MaksGrupy = maxGroup;
    for (QByteArray expected : requests) {
        r.obd.PetlaZadan();
        QCOMPARE(r.Sent(), expected.replace(' ', ""));
        QCOMPARE(r.obd.Stan, 1001);
        r.obd.CzekaNaOdpowiedz = 0;
        r.obd.Stan = 1000;
        r.obd.GrupaPidow.clear();
    }
}

// Answers to "01030405060708" and "010C0D", and what each PID shows and relays. 03 02 00 closed loop;
// 04 4D = 77 * 100 / 255 = 30.2 %; 05 7B = 123 - 40 = 83 °C; 06 97 = (151 - 128) * 100 / 128 = 18.0 %;
// 07 8F = 11.7 %; 08 80 = 0.0 %; 0C 1A F8 = 6904 / 4 = 1726 rpm; 0D 32 = 50 km/h.
void TestObdFast::groupedAnswers_data() {
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("ecu");
    QTest::addColumn<QList<int>>("pids");
    QTest::addColumn<QStringList>("answer");
    QTest::addColumn<QStringList>("values"); // PID=text of each PID asked, in PID order
    const QList<int> six{0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
    const QStringList sixValues{"03=CL", "04=30.2[%]", "05=83[°C]", "06=18.0[%]", "07=11.7[%]", "08=0.0[%]"};
    // 41 and 13 bytes of PIDs and data = 0x0E: a first frame with 6, two consecutive frames.
    QTest::newRow("multi-frame") << 6 << 0x7E8 << six
                                 << QStringList{"7E8 10 0E 41 03 02 00 04 4D", "7E8 21 05 7B 06 97 07 8F 08",
                                                "7E8 22 80"}
                                 << sixValues;
    QTest::newRow("multi-frame, padded")
        << 8 << 0x7E8 << six
        << QStringList{"7E8 10 0E 41 03 02 00 04 4D", "7E8 21 05 7B 06 97 07 8F 08",
                       "7E8 22 80 00 00 00 00 00 00"}
        << sixValues;
    QTest::newRow("29 bit, another unit between the frames")
        << 7 << 0x10 << six
        << QStringList{"18 DA F1 10 10 0E 41 03 02 00 04 4D", "18 DA F1 18 04 41 05 73 06",
                       "18 DA F1 10 21 05 7B 06 97 07 8F 08", "18 DA F1 10 22 80"}
        << sixValues;
    QTest::newRow("single frame") << 6 << 0x7E8 << QList<int>{0x0C, 0x0D}
                                  << QStringList{"7E8 06 41 0C 1A F8 0D 32"}
                                  << QStringList{"0C=1726[rpm]", "0D=50[km/h]"};
    QTest::newRow("in another order")
        << 9 << 0x10 << QList<int>{0x0C, 0x0D} << QStringList{"18 DA F1 10 06 41 0D 32 0C 1A F8"}
        << QStringList{"0C=1726[rpm]", "0D=50[km/h]"};
    // Only the chosen unit counts; a unit that lacks a PID leaves it out of its answer.
    QTest::newRow("part of the PIDs")
        << 6 << 0x7E8 << QList<int>{0x0C, 0x0D} << QStringList{"7E9 04 41 0C 0B B8", "7E8 03 41 0D 32"}
        << QStringList{"0C=", "0D=50[km/h]"};
    // A PID that was not asked ends the reading: what follows cannot be placed.
    QTest::newRow("a PID not asked") << 6 << 0x7E8 << QList<int>{0x0C, 0x0D}
                                     << QStringList{"7E8 06 41 0C 1A F8 05 7B"}
                                     << QStringList{"0C=1726[rpm]", "0D="};
    QTest::newRow("cut short") << 6 << 0x7E8 << QList<int>{0x0C, 0x0D} << QStringList{"7E8 05 41 0D 32 0C 1A"}
                               << QStringList{"0C=", "0D=50[km/h]"};
    QTest::newRow("refused") << 6 << 0x7E8 << QList<int>{0x0C, 0x0D} << QStringList{"7E8 03 7F 01 12"}
                             << QStringList{"0C=", "0D="};
    QTest::newRow("a lost frame") << 6 << 0x7E8 << six
                                  << QStringList{"7E8 10 0E 41 03 02 00 04 4D", "7E8 22 80"}
                                  << QStringList{"03=", "04=", "05=", "06=", "07=", "08="};
}

void TestObdFast::groupedAnswers() {
    QFETCH(int, protocol);
    QFETCH(int, ecu);
    QFETCH(QList<int>, pids);
    QFETCH(QStringList, answer);
    FastRig r(protocol, ecu, pids);
    r.obd.PetlaZadan();
    QCOMPARE(r.obd.GrupaPidow, pids);
    r.Answer(answer);
    r.Tick();
    QStringList values;
    for (int n : pids)
        values << QString::number(n, 16).rightJustified(2, u'0').toUpper() + u'=' + r.Value(n);
    QTEST(values, "values");
    if (pids.contains(0x03) && !r.Value(0x03).isEmpty()) {
        // Relayed as a single answer is: 03 as two bytes, the trims as they came.
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(r.ster.ObdRelay), 7),
                 QByteArray::fromHex("0200978F800000"));
        QCOMPARE(r.ster.ObdRelayPending, uint8_t(1));
    }
    // The answer was taken and the next request went out without waiting for a tick.
    QCOMPARE(r.obd.Stan, 1001);
    QVERIFY(!r.Sent().isEmpty());
}

// An adapter or car that does not answer grouped requests in full: two failures in a row at each
// size, 6 -> 3 -> 2 -> 1, then one PID a request for the rest of the connection; every value still
// comes through.
void TestObdFast::fallback_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("NO DATA") << "nodata";
    QTest::newRow("question mark") << "question";
    QTest::newRow("first PID only") << "first";
    QTest::newRow("time-out") << "silent";
}

void TestObdFast::fallback() {
    QFETCH(QString, kind);
    const QList<int> pids{0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0B};
    FastRig r(6, 0x7E8, pids);
    // The car's value bytes of each PID (one byte each, 03 two).
    auto data = [](int n) {
        return n == 0x03 ? QStringLiteral("02 00") : QStringLiteral("%1").arg(0x40 + n, 2, 16);
    };
    QList<int> sizes;
    for (int step = 0; step < 400 && sizes.size() < 20; ++step) {
        const QByteArray req = r.Sent();
        if (req.isEmpty()) {
            r.Tick();
            continue;
        }
        QVERIFY(req.startsWith("01") && req.size() % 2 == 0);
        const int count = int(req.size()) / 2 - 1;
        sizes << count;
        const int first = req.mid(2, 2).toInt(nullptr, 16);
        QString single = QStringLiteral("7E8 %1 41 %2 %3")
                             .arg(2 + (first == 3 ? 2 : 1), 2, 10, QLatin1Char('0'))
                             .arg(first, 2, 16, QLatin1Char('0'))
                             .arg(data(first))
                             .toUpper();
        if (count == 1)
            r.Answer({single});
        else if (kind == QLatin1String("nodata"))
            r.Answer({"NO DATA"});
        else if (kind == QLatin1String("question"))
            r.Answer({"?"});
        else if (kind == QLatin1String("first"))
            r.Answer({single});
        else
            for (int t = 0; t < 32; ++t) // the engine's own reply time-out: 3 s in 100 ms ticks
                r.Tick();
        r.Tick();
    }
    QCOMPARE(sizes.mid(0, 7), QList<int>({6, 6, 3, 3, 2, 2, 1}));
    QVERIFY(!sizes.mid(6).contains(2) && !sizes.mid(6).contains(3)); // for the rest of the connection
    QVERIFY(
        r.Logged(QStringLiteral("zapytania o kilka PID bez pełnej odpowiedzi: 3 PID na zapytanie"), ObdRed));
    QVERIFY(r.Logged(
        QStringLiteral(
            "zapytania o kilka PID bez pełnej odpowiedzi: jeden PID na zapytanie do końca połączenia"),
        ObdRed));
    for (int n : pids)
        QVERIFY2(!r.Value(n).isEmpty(), qPrintable(QString::number(n, 16)));
    // One full answer in between does not let a single failure shrink the group.
    FastRig s(6, 0x7E8, {0x0C, 0x0D});
    s.Tick();
    for (const QStringList &a : {QStringList{"NO DATA"}, QStringList{"7E8 06 41 0C 1A F8 0D 32"},
                                 QStringList{"NO DATA"}, QStringList{"7E8 06 41 0C 1A F8 0D 32"}}) {
        QCOMPARE(s.Sent(), QByteArray("010C0D"));
        s.Answer(a);
        s.Tick();
    }
    QCOMPARE(s.obd.MaksGrupy, TObd::NajwiekszaGrupa);
}

// The prompt comes between ticks: the port's report takes the answer and sends the next request; the
// tick is left for the time-out.
void TestObdFast::nextRequestAtThePrompt() {
    FastRig r(6, 0x7E8, {0x0C, 0x0D});
    r.Tick();
    QCOMPARE(r.Sent(), QByteArray("010C0D"));
    r.port->Deliver("7E8 06 41 0C 1A F8 ");
    QCoreApplication::processEvents(); // the report is queued: part of the answer, nothing happens
    QCOMPARE(r.Sent(), QByteArray());
    r.port->Deliver("0D 32 \r\r>");
    QCoreApplication::processEvents();
    QCOMPARE(r.Value(0x0C), QStringLiteral("1726[rpm]"));
    QCOMPARE(r.Sent(), QByteArray("010C0D"));
    // Nothing more comes: the ticks count the time-out down, then the next request goes out.
    for (int t = 0; t < 30; ++t) {
        r.Tick();
        QCOMPARE(r.Sent(), QByteArray());
    }
    r.Tick(); // 3000 ms gone
    QVERIFY(r.Logged(QStringLiteral("Przekroczenie czasu"), ObdRed));
    QCOMPARE(r.Sent(), QByteArray("010C0D"));
    // A report while the engine is not waiting, or busy, does nothing.
    r.obd.Zajety = 1;
    r.port->Deliver("7E8 06 41 0C 1A F8 0D 32 \r\r>");
    r.obd.OnBajty();
    QCOMPARE(r.obd.CzekaNaOdpowiedz, uint8_t(1));
    r.obd.Zajety = 0;
}

// "As specified": one PID a request, one step a tick, the port's reports ignored.
void TestObdFast::asSpecifiedUnchanged() {
    FastRig r(6, 0x7E8, {0x0C, 0x0D}, false);
    QByteArrayList sent;
    for (int t = 0; t < 6; ++t) {
        r.Tick();
        const QByteArray s = r.Sent();
        if (!s.isEmpty()) {
            sent << s;
            r.Answer(
                {s == "010C" ? QStringLiteral("7E8 04 41 0C 1A F8") : QStringLiteral("7E8 03 41 0D 32")});
            QCoreApplication::processEvents();
            QCOMPARE(r.obd.CzekaNaOdpowiedz, uint8_t(1)); // taken only by the next tick
        }
    }
    QCOMPARE(sent, QByteArrayList({"010C", "010D", "010C"}));
    QCOMPARE(r.Value(0x0D), QStringLiteral("50[km/h]"));
}

// The K-line and J1850 keep one PID a request and their pause; a forced protocol polls "0101".
void TestObdFast::slowBusesStaySingle() {
    FastRig r(3, 0x10, {0x0C, 0x0D});
    r.Tick();
    QCOMPARE(r.Sent(), QByteArray("010C"));
    QCOMPARE(r.obd.Opoznienie, 200);
    r.Answer({"48 6B 10 41 0C 1A F8 00"});
    QCoreApplication::processEvents();
    QCOMPARE(r.obd.CzekaNaOdpowiedz, uint8_t(1)); // waits for the ticks of the pause
    FastRig f(6, 0x7E8, {0x0C, 0x0D});
    f.obd.WymuszonyProtokol = 6;
    f.Tick();
    QCOMPARE(f.Sent(), QByteArray("0101"));
}

void TestObdFast::newConnectionTriesGroupsAgain() {
    FastRig r(6, 0x7E8, {0x0C, 0x0D});
    r.obd.MaksGrupy = 1;
    r.obd.BledyGrupy = 1;
    r.obd.Stan = 300;
    r.obd.PetlaZadan();
    QCOMPARE(r.obd.MaksGrupy, TObd::NajwiekszaGrupa);
    QCOMPARE(r.obd.BledyGrupy, 0);
}

QTEST_GUILESS_MAIN(TestObdFast)
#include "tst_obd_fast.moc"
