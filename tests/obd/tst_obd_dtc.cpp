// OBD engine: stored, pending and permanent trouble codes on every protocol family.
#include "obd/DtcTexts.h"
#include "tst_obd_common.h"

#include <QtTest>

namespace {
const QString Stored = QStringLiteral("\tStored Trouble Codes  /  Błędy zarejestrowane :");
const QString Pending = QStringLiteral("\tPending Trouble Codes  /  Błędy oczekujące :");
const QString Permanent = QStringLiteral("\tPermanent Trouble Codes  /  Błędy permanentne :");

// The codes printed (the red lines).
QStringList Codes(const TextRec &box) {
    QStringList c;
    for (const auto &l : box.lines)
        if (l.second == ObdRed) c << l.first;
    return c;
}

// Adapter lines of the given bytes, 8 bytes (header and PCI included) per CAN frame.
QStringList CanFrames(const QString &header, const QList<int> &payload) {
    QStringList lines;
    auto hex = [](int b) { return QStringLiteral("%1").arg(b, 2, 16, QChar(u'0')).toUpper(); };
    // First frame: 10 LL, then six bytes.
    const int len = int(payload.size());
    QString l = header + QStringLiteral(" 10 ") + hex(len);
    int i = 0;
    for (; i < 6 && i < len; ++i)
        l += u' ' + hex(payload[i]);
    lines << l + u' ';
    for (int seq = 1; i < len; ++seq) {
        l = header + u' ' + hex(0x20 | (seq & 0x0F));
        for (int k = 0; k < 7; ++k, ++i)
            l += u' ' + (i < len ? hex(payload[i]) : QStringLiteral("00"));
        lines << l + u' ';
    }
    return lines;
}
} // namespace

class TestObdDtc : public QObject {
    Q_OBJECT
private slots:
    void codeText();
    void canSingleFrame();
    void canNoCodes();
    void can11MultiFrame();
    void can29MultiFrame();
    void canTwoConsecutiveFrames();
    void canManyFramesSequenceWraps();
    void canMissingConsecutiveFrame();
    void canUnknownShape();
    void kLineAndJ1850();
    void noAnswerNoHeading();
    void descriptionsAsTheTableHasThem();
    void withoutBoxNothingHappens();
    void readCodesThroughTheLoop();
};

void TestObdDtc::codeText() {
    QCOMPARE(TObd::TekstKodu(0x0105), QStringLiteral("P0105"));
    QCOMPARE(TObd::TekstKodu(0xC155), QStringLiteral("U0155"));
    QCOMPARE(TObd::TekstKodu(0x2097), QStringLiteral("P2097"));
    QCOMPARE(TObd::TekstKodu(0x4123), QStringLiteral("C0123"));
    QCOMPARE(TObd::TekstKodu(0xBFFF), QStringLiteral("B3FFF"));
}

void TestObdDtc::canSingleFrame() {
    ObdRig r(false);
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.Reply({L("7E8 04 43 01 C0 73")});
    r.obd.KodyBledow(0x43);
    QCOMPARE(r.dtc.Texts(), (QStringList{Stored, "U0073", " Control Module Communication Bus Off"}));
    QCOMPARE(r.dtc.lines[0].second, ObdGreen);
    QCOMPARE(r.dtc.lines[1].second, ObdRed);
    QCOMPARE(r.dtc.lines[2].second, ObdDefaultColour);
    QVERIFY(r.Logged(QStringLiteral("U0073"), ObdRed));
    QVERIFY(r.Logged(QStringLiteral("1"), ObdMagenta));

    // Two codes in one frame; a P code gets the English and the Polish description.
    r.dtc.Clear();
    r.Reply({L("7E8 06 43 02 01 05 20 97")});
    r.obd.KodyBledow(0x43);
    QCOMPARE(
        r.dtc.Texts(),
        (QStringList{Stored, "P0105", " Manifold Absolute Pressure/Barometric Circuit Malfunction",
                     DtcOpis(u"P0105", true), "P2097", DtcOpis(u"P2097", false), DtcOpis(u"P2097", true)}));
    QVERIFY(r.dtc.lines[3].first.startsWith(QStringLiteral(" Obwód")));
}

void TestObdDtc::canNoCodes() {
    ObdRig r(false);
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.Reply({L("7E8 02 47 00 00 00 00 00 00")});
    r.obd.KodyBledow(0x47);
    QCOMPARE(r.dtc.Texts(), QStringList{Pending});
}

void TestObdDtc::can11MultiFrame() {
    ObdRig r(false);
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.Reply({L("7E8 10 08 43 03 C1 55 C1 01"), L("7E8 21 C1 21 00 00 00 00 00"), L("7E9 04 43 01 C0 73")});
    r.obd.KodyBledow(0x43);
    QCOMPARE(Codes(r.dtc), (QStringList{"U0155", "U0101", "U0121"}));
    QCOMPARE(r.dtc.lines[2].first,
             QStringLiteral(" Lost Communication With Instrument Panel Cluster (IPC) Control Module"));
    QCOMPARE(r.dtc.lines.size(), 1 + 3 * 2); // U codes: no Polish line
    QVERIFY(r.Logged(QStringLiteral("7E8 21"), ObdGreen));
    QVERIFY(r.Logged(QStringLiteral("3"), ObdMagenta));
}

void TestObdDtc::can29MultiFrame() {
    ObdRig r(false);
    r.obd.Protokol = 7;
    r.obd.Ecu = 0x10;
    r.Reply({L("18 DA F1 10 10 0C 43 05 01 05 03 40"), L("18 DA F1 10 21 11 20 01 21 02 21 00")});
    r.obd.KodyBledow(0x43);
    QCOMPARE(Codes(r.dtc), (QStringList{"P0105", "P0340", "P1120", "P0121", "P0221"}));
    QCOMPARE(r.dtc.lines.first().first, Stored);

    // The same on 29-bit CAN at 250 kbaud, with another ECU's answer first.
    ObdRig s(false);
    s.obd.Protokol = 9;
    s.obd.Ecu = 0x10;
    s.Reply({L("18 DA F1 11 04 43 01 C0 73"), L("18 DA F1 10 10 0C 43 05 01 05 03 40"),
             L("18 DA F1 10 21 11 20 01 21 02 21 00")});
    s.obd.KodyBledow(0x4A);
    QVERIFY(s.dtc.lines.isEmpty()); // no permanent-code answer
    s.Reply({L("18 DA F1 11 04 43 01 C0 73"), L("18 DA F1 10 10 0C 43 05 01 05 03 40"),
             L("18 DA F1 10 21 11 20 01 21 02 21 00")});
    s.obd.KodyBledow(0x43);
    QCOMPARE(Codes(s.dtc), (QStringList{"P0105", "P0340", "P1120", "P0121", "P0221"}));
}

void TestObdDtc::canTwoConsecutiveFrames() {
    ObdRig r(false);
    r.obd.Protokol = 8;
    r.obd.Ecu = 0x7E8;
    QList<int> payload = {0x43, 9};
    for (int i = 1; i <= 9; ++i)
        payload << 0x01 << i;
    r.Reply(CanFrames(QStringLiteral("7E8"), payload));
    r.obd.KodyBledow(0x43);
    QStringList expected;
    for (int i = 1; i <= 9; ++i)
        expected << QStringLiteral("P010%1").arg(i);
    QCOMPARE(Codes(r.dtc), expected);
}

void TestObdDtc::canManyFramesSequenceWraps() {
    // 40 codes take a first frame and 11 consecutive frames: 21 ... 2F, 20, 21, ...
    ObdRig r(false);
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    QList<int> payload = {0x43, 40};
    QStringList expected;
    for (int i = 1; i <= 40; ++i) {
        payload << 0x02 << i;
        expected << QStringLiteral("P02%1").arg(i, 2, 16, QChar(u'0')).toUpper();
    }
    const QStringList frames = CanFrames(QStringLiteral("7E8"), payload);
    QCOMPARE(frames.size(), 12);
    QVERIFY(frames[10].startsWith(QStringLiteral("7E8 2A ")));
    r.Reply(frames);
    r.obd.KodyBledow(0x43);
    QCOMPARE(Codes(r.dtc), expected);
}

void TestObdDtc::canMissingConsecutiveFrame() {
    ObdRig r(false);
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.Reply({L("7E8 10 08 43 03 C1 55 C1 01")});
    r.obd.KodyBledow(0x43);
    QVERIFY(r.Logged(QStringLiteral("7E8 21"), ObdGreen));
    QVERIFY(r.Logged(QStringLiteral("0"), ObdGreen)); // not found
    QCOMPARE(Codes(r.dtc), (QStringList{"U0155", "U0101"}));
}

void TestObdDtc::canUnknownShape() {
    ObdRig r(false);
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.Reply({L("7E8 05 43 02 01 05 03")});
    r.obd.KodyBledow(0x43);
    QCOMPARE(r.dtc.Texts(), QStringList{Stored});
    // The mode byte elsewhere than after the PCI is not an answer at all.
    r.dtc.Clear();
    r.Reply({L("7E8 03 7F 03 43")});
    r.obd.KodyBledow(0x43);
    QVERIFY(r.dtc.lines.isEmpty());
    // A first frame with a count of 0 prints the heading only, and so does one whose count group
    // is longer than a byte: no frame header is looked for and no code read.
    for (const char *count : {"00", "100", "FFFFFFF"}) {
        r.dtc.Clear();
        r.Reply({L(QStringLiteral("7E8 10 08 43 %1 C1 55 C1 01").arg(QLatin1String(count)))});
        r.obd.KodyBledow(0x43);
        QCOMPARE(r.dtc.Texts(), QStringList{Stored});
        QVERIFY(!r.Logged(QStringLiteral("7E8 21"), ObdGreen));
    }
}

void TestObdDtc::kLineAndJ1850() {
    ObdRig r(false);
    r.obd.Protokol = 4;
    r.obd.Ecu = 0x1F;
    r.Reply({L("87 F1 1F 43 20 97 00 00 00 00 83")});
    r.obd.KodyBledow(0x43);
    QCOMPARE(r.dtc.Texts(), (QStringList{Stored, "P2097", " Post Catalyst Fuel Trim System Too Rich (Bank 1)",
                                         DtcOpis(u"P2097", true)}));

    // Several lines of three codes; other ECUs' lines are skipped; one heading.
    r.dtc.Clear();
    r.obd.Protokol = 5;
    r.Reply({L("87 F1 1F 43 01 05 03 40 11 20 83"), L("87 F1 11 43 C0 73 00 00 00 00 55"),
             L("87 F1 1F 43 01 21 00 00 00 00 83")});
    r.obd.KodyBledow(0x43);
    QCOMPARE(Codes(r.dtc), (QStringList{"P0105", "P0340", "P1120", "P0121"}));
    QCOMPARE(r.dtc.Texts().count(Stored), 1);

    r.dtc.Clear();
    r.obd.Protokol = 2;
    r.obd.Ecu = 0x10;
    r.Reply({L("48 6B 10 47 C1 55 00 00 00 00 A1")});
    r.obd.KodyBledow(0x47);
    QCOMPARE(r.dtc.Texts().first(), Pending);
    QCOMPARE(Codes(r.dtc), QStringList{"U0155"});

    // A line cut short after a code stops cleanly.
    r.dtc.Clear();
    r.obd.Protokol = 1;
    r.obd.Odpowiedz = "41 6B 10 4A 01 05 0";
    r.obd.KodyBledow(0x4A);
    QCOMPARE(r.dtc.Texts().first(), Permanent);
    QCOMPARE(Codes(r.dtc), QStringList{"P0105"});
}

void TestObdDtc::noAnswerNoHeading() {
    ObdRig r(false);
    for (int p : {1, 4, 6, 7}) {
        r.obd.Protokol = p;
        r.obd.Ecu = p == 6 ? 0x7E8 : 0x10;
        r.obd.Odpowiedz = "NO DATA\r\r>";
        r.obd.KodyBledow(0x43);
        r.obd.Odpowiedz.clear();
        r.obd.KodyBledow(0x47);
    }
    r.obd.Protokol = 0;
    r.Reply({L("7E8 04 43 01 C0 73")});
    r.obd.KodyBledow(0x43);
    r.obd.Protokol = 10;
    r.obd.KodyBledow(0x43);
    QVERIFY(r.dtc.lines.isEmpty());
}

void TestObdDtc::descriptionsAsTheTableHasThem() {
    const TDtcTabela en(QByteArray("P0105 Sensor \x93quoted\x94 text\r\nU0155 Lost\r\nP0999 Last line"));
    const TDtcTabela pl(QByteArray("P0105 Czujnik ci\xb6nienia\r\n"));
    DtcPodstawTabele(false, &en);
    DtcPodstawTabele(true, &pl);
    ObdRig r(false);
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.Reply({L("7E8 06 43 02 01 05 01 06")});
    r.obd.KodyBledow(0x43);
    DtcPodstawTabele(false, nullptr);
    DtcPodstawTabele(true, nullptr);
    // A code without a line gets no description line; nothing else marks it.
    QCOMPARE(r.dtc.Texts(), (QStringList{Stored, "P0105", " Sensor /147quoted/148 text",
                                         QStringLiteral(" Czujnik ci/182nienia"), "P0106"}));
}

void TestObdDtc::withoutBoxNothingHappens() {
    ObdRig r(false);
    r.obd.MyRichDtc = nullptr;
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.Reply({L("7E8 04 43 01 C0 73")});
    const QByteArray before = r.obd.Odpowiedz;
    r.obd.KodyBledow(0x43);
    r.obd.KodyBledowCyfra(0x0105);
    r.obd.KodyBledowOpis(QStringLiteral("P0105"), 900);
    QCOMPARE(r.obd.Odpowiedz, before);
    QVERIFY(r.log.isEmpty());
}

void TestObdDtc::readCodesThroughTheLoop() {
    ObdRig r;
    r.obd.Protokol = 6;
    r.obd.Ecu = 0x7E8;
    r.dtc.Append(QStringLiteral("old"), ObdDefaultColour);
    r.obd.JustOpened = 0;
    r.obd.WcisnietoPrzycisk(3);
    const QMap<QByteArray, QByteArray> answers = {
        {"03\r", "7E8 04 43 01 C0 73 \r\r>"},
        {"07\r", "7E8 02 47 00 00 00 00 00 00 \r\r>"},
        {"0A\r", "NO DATA\r\r>"},
    };
    QList<QByteArray> sent;
    for (int i = 0; i < 100 && r.obd.Stan != 1000; ++i) {
        r.obd.OnTimer1();
        const QByteArray tx = r.port->TakeTx();
        if (!tx.isEmpty()) {
            sent << tx;
            r.port->Rx += answers.value(tx);
        }
    }
    QCOMPARE(r.obd.Stan, 1000);
    QCOMPARE(sent, (QList<QByteArray>{"03\r", "07\r", "0A\r"}));
    QCOMPARE(r.dtc.Texts(), (QStringList{Stored, "U0073", " Control Module Communication Bus Off", Pending}));
}

QTEST_GUILESS_MAIN(TestObdDtc)
#include "tst_obd_dtc.moc"
