// The vehicle page's readers against answers worked out by hand from the OBD-II definitions: PID 01
// readiness (spark and compression), VIN on CAN and on the K-line, calibration IDs padded with NULs,
// the counters since the codes were cleared, stored, pending and permanent codes on every bus, the
// inspection verdict, the visit from arrival to now, and the whole read step by step through the task
// loop.
#include "lang/LangText.h"
#include "obd/ObdInspekcja.h"
#include "tst_obd_common.h"

#include <QLocale>
#include <QtTest>

using FrameMap = QMap<QString, QStringList>; // request -> answer lines

namespace {

// A reply as the adapter lays it out: every line's bytes followed by a space, CR, then the prompt.
QByteArray Reply(const QStringList &lines) {
    QByteArray r;
    for (const QString &l : lines)
        r += l.toLatin1() + " \r";
    return r + "\r>";
}

// One character per monitor: c supported and complete, i supported and incomplete, - not supported.
QString Stan(const TObdGotowosc &g) {
    QString s;
    for (const TObdMonitor &m : g.monitory)
        s += !m.obslugiwany ? u'-' : m.gotowy ? u'c' : u'i';
    return s;
}

struct PojazdRec : TObdPojazdWidok {
    int reads = 0;
    QList<TObdPojazd> shown;
    void CzytaniePojazdu() override { ++reads; }
    void PokazPojazd(const TObdPojazd &p) override { shown.append(p); }
};

} // namespace

class TestObdVehicle : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void readiness_data();
    void readiness();
    void monitorNames();
    void vin_data();
    void vin();
    void calibrationIds();
    void malformedAnswers();
    void counters_data();
    void counters();
    void troubleCodes_data();
    void troubleCodes();
    void verdict_data();
    void verdict();
    void visit();
    void freezeFrameThroughTheLoop_data();
    void freezeFrameThroughTheLoop();
};

void TestObdVehicle::counters_data() {
    QTest::addColumn<int>("pid");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("value"); // -1: no value
    // PID 30 is one byte A (warm-ups); 21, 31, 4D and 4E are A * 256 + B (km or minutes).
    QTest::newRow("30 warm-ups") << 0x30 << QByteArray::fromHex("0C") << 12;
    QTest::newRow("30 extra byte ignored") << 0x30 << QByteArray::fromHex("FF01") << 255;
    QTest::newRow("31 km since clear") << 0x31 << QByteArray::fromHex("04D2") << 1234;
    QTest::newRow("4E minutes since clear") << 0x4E << QByteArray::fromHex("0A96") << 2710;
    QTest::newRow("21 km with lamp on") << 0x21 << QByteArray::fromHex("0039") << 57;
    QTest::newRow("4D minutes with lamp on") << 0x4D << QByteArray::fromHex("FFFF") << 65535;
    QTest::newRow("31 short") << 0x31 << QByteArray::fromHex("04") << -1;
    QTest::newRow("30 empty") << 0x30 << QByteArray() << -1;
    QTest::newRow("0C is no counter") << 0x0C << QByteArray::fromHex("1AF8") << -1;
}

void TestObdVehicle::counters() {
    QFETCH(int, pid);
    QFETCH(QByteArray, data);
    QFETCH(int, value);
    QCOMPARE(LicznikPid(pid, data).value_or(-1), value);
}

void TestObdVehicle::troubleCodes_data() {
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("address");
    QTest::addColumn<QStringList>("codes");
    // CAN: response mode, count, then the codes; 04 20 = P0420, 01 71 = P0171, C0 73 = U0073.
    QTest::newRow("CAN permanent, two")
        << 6 << 0x4A << QStringList{"7E8 06 4A 02 04 20 01 71"} << 0x7E8 << QStringList{"P0420", "P0171"};
    QTest::newRow("CAN none") << 6 << 0x43 << QStringList{"7E8 02 43 00"} << 0x7E8 << QStringList{};
    // Three codes need a first frame and a consecutive frame; another unit's answer is not ours.
    QTest::newRow("CAN multi-frame") << 6 << 0x4A
                                     << QStringList{"7E8 10 08 4A 03 C1 55 C1 01", "7E9 04 4A 01 C0 73",
                                                    "7E8 21 C1 21 00 00 00 00 00"}
                                     << 0x7E8 << QStringList{"U0155", "U0101", "U0121"};
    QTest::newRow("CAN count above the data")
        << 6 << 0x47 << QStringList{"7E8 04 47 03 03 00"} << 0x7E8 << QStringList{"P0300"};
    QTest::newRow("CAN a code twice")
        << 6 << 0x43 << QStringList{"7E8 06 43 02 04 20 04 20"} << 0x7E8 << QStringList{"P0420"};
    QTest::newRow("CAN 29 bit") << 7 << 0x4A << QStringList{"18 DA F1 10 04 4A 01 20 97"} << 0x10
                                << QStringList{"P2097"};
    // K-line: three codes a line, 00 00 pads, a check byte at the end.
    QTest::newRow("KWP padded") << 5 << 0x43 << QStringList{"87 F1 1F 43 20 97 00 00 00 00 83"} << 0x1F
                                << QStringList{"P2097"};
    QTest::newRow("KWP two lines") << 4 << 0x4A
                                   << QStringList{"87 F1 10 4A 04 20 01 71 C0 73 00",
                                                  "87 F1 10 4A 03 00 00 00 00 00 00"}
                                   << 0x10 << QStringList{"P0420", "P0171", "U0073", "P0300"};
    QTest::newRow("J1850 pending") << 2 << 0x47 << QStringList{"48 6B 10 47 01 05 00 00 00 00 C2"} << 0x10
                                   << QStringList{"P0105"};
    QTest::newRow("another mode") << 6 << 0x4A << QStringList{"7E8 04 43 01 04 20"} << 0x7E8 << QStringList{};
}

void TestObdVehicle::troubleCodes() {
    QFETCH(int, protocol);
    QFETCH(int, mode);
    QFETCH(QStringList, lines);
    QFETCH(int, address);
    QList<QByteArray> own;
    for (const TObdWiadomosc &w : WiadomosciOdpowiedzi(Reply(lines), protocol))
        if (w.adres == address) own << w.dane;
    QStringList codes;
    for (uint16_t k : KodyWiadomosci(own, mode, protocol >= 6))
        codes << TObd::TekstKodu(k);
    QTEST(codes, "codes");
}

namespace {
TObdEcuPojazdu Unit(int address, const char *pid01, std::optional<QList<uint16_t>> permanent = {}) {
    TObdEcuPojazdu e;
    e.adres = address;
    e.adresTekst = QString::number(address, 16).toUpper();
    if (pid01) e.status = DekodujGotowosc(QByteArray::fromHex(pid01), false);
    e.kodyPermanentne = permanent;
    return e;
}
} // namespace

void TestObdVehicle::verdict_data() {
    QTest::addColumn<QList<TObdEcuPojazdu>>("units");
    QTest::addColumn<int>("allowed");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<int>("incomplete");
    QTest::addColumn<bool>("mil");
    QTest::addColumn<int>("permanent"); // -1: mode 0A not answered
    const QList<uint16_t> none, p0420{0x0420};
    // C E5: catalyst, evaporative system, oxygen sensor, its heater and EGR supported; D their incomplete
    // bits.
    QTest::newRow("all complete") << QList{Unit(0x7E8, "0007E500", none)} << 1 << true << 0 << false << 0;
    QTest::newRow("one incomplete, one allowed")
        << QList{Unit(0x7E8, "0007E501", none)} << 1 << true << 1 << false << 0;
    QTest::newRow("one incomplete, strictest station")
        << QList{Unit(0x7E8, "0007E501", none)} << 0 << false << 1 << false << 0;
    QTest::newRow("two incomplete") << QList{Unit(0x7E8, "0007E505", none)} << 1 << false << 2 << false << 0;
    QTest::newRow("two incomplete, two allowed")
        << QList{Unit(0x7E8, "0007E505", none)} << 2 << true << 2 << false << 0;
    QTest::newRow("continuous monitor incomplete")
        << QList{Unit(0x7E8, "0017E500", none)} << 0 << false << 1 << false << 0;
    QTest::newRow("lamp on") << QList{Unit(0x7E8, "8107E500", none)} << 1 << false << 0 << true << 0;
    QTest::newRow("permanent code") << QList{Unit(0x7E8, "0007E500", p0420)} << 1 << false << 0 << false << 1;
    QTest::newRow("mode 0A not answered") << QList{Unit(0x7E8, "0007E500")} << 1 << true << 0 << false << -1;
    // Incomplete bits of monitors the unit does not support count for nothing.
    QTest::newRow("unsupported bits") << QList{Unit(0x7E8, "000700FF", none)} << 0 << true << 0 << false << 0;
    QTest::newRow("same monitor in two units")
        << QList{Unit(0x7E8, "0007E501", none), Unit(0x7E9, "0007E501")} << 1 << true << 1 << false << 0;
    QTest::newRow("different monitors in two units")
        << QList{Unit(0x7E8, "0007E501", none), Unit(0x7E9, "0007E504")} << 1 << false << 2 << false << 0;
    QTest::newRow("lamp of the second unit")
        << QList{Unit(0x7E8, "0007E500", none), Unit(0x7E9, "8107E500")} << 1 << false << 0 << true << 0;
    QTest::newRow("the same permanent code twice")
        << QList{Unit(0x7E8, "0007E500", p0420), Unit(0x7E9, "0007E500", p0420)} << 1 << false << 0 << false
        << 1;
    QTest::newRow("readiness not read") << QList{Unit(0x7E8, nullptr, none)} << 1 << false << 0 << false << 0;
}

void TestObdVehicle::verdict() {
    QFETCH(QList<TObdEcuPojazdu>, units);
    QFETCH(int, allowed);
    TObdPojazd p;
    p.ecu = units;
    const TObdWerdykt w = Werdykt(p, allowed);
    QTEST(w.gotowy, "ready");
    QTEST(w.niekompletne, "incomplete");
    QTEST(w.mil, "mil");
    QTEST(w.permanentne.value_or(-1), "permanent");
    QCOMPARE(w.dozwolone, allowed);
    QCOMPARE(w.znany, units[0].status.has_value());
}

void TestObdVehicle::visit() {
    LangSetLanguage(0);
    auto car = [](const char *pid01, const QList<uint16_t> &stored, std::optional<QList<uint16_t>> pending,
                  const QList<uint16_t> &permanent, const char *vin) {
        TObdPojazd p;
        TObdEcuPojazdu e = Unit(0x7E8, pid01, permanent);
        e.kodyZapisane = stored;
        e.kodyOczekujace = pending;
        if (vin) e.vin = QString::fromLatin1(vin);
        p.ecu = {e};
        return p;
    };
    auto codes = [](const TObdWizyta &w) {
        QStringList l;
        for (const TObdKodWizyty &k : w.kody)
            l << QStringLiteral("%1 %2 %3%4")
                     .arg(k.ecu, TObd::TekstKodu(k.kod))
                     .arg(k.tryb, 0, 16)
                     .arg(k.skasowany ? " cleared" : "");
        return l;
    };
    auto changes = [](const TObdWizyta &w) {
        QStringList l;
        for (const TObdZmianaMonitora &z : w.ZmianyMonitorow())
            l << z.nazwa + (z.gotowy ? " +" : " -");
        return l;
    };
    TObdWizyta w;
    QVERIFY(w.Pusta());
    // Arrival: lamp on, catalyst and evaporative system incomplete, two stored codes, one pending, one
    // permanent.
    const QDateTime t0(QDate(2024, 5, 1), QTime(9, 0));
    w.Odczyt(car("8207E505", {0x0420, 0x0171}, QList<uint16_t>{0x0300}, {0x0420}, "VIN1"), t0);
    QVERIFY(!w.Pusta());
    QCOMPARE(w.czasPrzyjazdu, t0);
    QCOMPARE(codes(w), QStringList({"7E8 P0420 43", "7E8 P0171 43", "7E8 P0300 47", "7E8 P0420 4a"}));
    QCOMPARE(changes(w), QStringList());
    // Cleared: stored and pending gone, the permanent one stays; oxygen sensor, heater, EGR back to
    // incomplete.
    w.Odczyt(car("0007E5E5", {}, QList<uint16_t>{}, {0x0420}, "VIN1"), t0.addSecs(60));
    QCOMPARE(codes(w), QStringList({"7E8 P0420 43 cleared", "7E8 P0171 43 cleared", "7E8 P0300 47 cleared",
                                    "7E8 P0420 4a"}));
    QCOMPARE(changes(w), QStringList({"Oxygen sensor -", "Oxygen sensor heater -", "EGR/VVT -"}));
    // Driven: only the catalyst is left; a unit that did not answer mode 07 says nothing of its codes.
    w.Odczyt(car("0007E501", {}, std::nullopt, {0x0420}, nullptr), t0.addSecs(3600));
    QCOMPARE(changes(w), QStringList({"Evaporative system +"}));
    QCOMPARE(codes(w).at(2), QStringLiteral("7E8 P0300 47 cleared"));
    QCOMPARE(w.czasPrzyjazdu, t0); // a read without a VIN is the same car
    QCOMPARE(w.czasTeraz, t0.addSecs(3600));
    // A code that comes back is present again.
    w.Odczyt(car("0007E501", {0x0171}, QList<uint16_t>{}, {0x0420}, "VIN1"), t0.addSecs(3700));
    QCOMPARE(codes(w).at(1), QStringLiteral("7E8 P0171 43"));
    // Another car: the visit starts again with it.
    const QDateTime t1 = t0.addSecs(7200);
    w.Odczyt(car("0007E500", {0x0301}, QList<uint16_t>{}, {}, "VIN2"), t1);
    QCOMPARE(w.czasPrzyjazdu, t1);
    QCOMPARE(codes(w), QStringList({"7E8 P0301 43"}));
    QCOMPARE(changes(w), QStringList());
    QCOMPARE(
        TekstWerdyktu(Werdykt(w.teraz, 1)),
        QStringLiteral("Ready for an emissions inspection: yes — 0 monitors incomplete (allowed 1), lamp "
                       "off, permanent codes 0"));
    QCOMPARE(TekstWerdyktu(Werdykt(TObdPojazd(), 1)),
             QStringLiteral("Ready for an emissions inspection: no — readiness not available"));
}

void TestObdVehicle::readiness_data() {
    QTest::addColumn<QByteArray>("abcd");
    QTest::addColumn<bool>("cycle");
    QTest::addColumn<bool>("mil");
    QTest::addColumn<int>("codes");
    QTest::addColumn<bool>("compression");
    QTest::addColumn<QString>("monitors");
    // Spark order: misfire, fuel system, components | catalyst, heated catalyst, evaporative system,
    // secondary air, A/C, oxygen sensor, oxygen sensor heater, EGR/VVT.
    // B 07: the three continuous ones supported, none of bits 4-6 set: complete. C 65: catalyst,
    // evaporative system, oxygen sensor and heater. D 00: all complete.
    QTest::newRow("spark, all complete")
        << QByteArray::fromHex("00076500") << false << false << 0 << false << "cccc-c--cc-";
    // B 27: bit 5, fuel system incomplete. C E5 adds EGR. D 21: catalyst and oxygen sensor incomplete.
    QTest::newRow("spark, some incomplete")
        << QByteArray::fromHex("0027E521") << false << false << 0 << false << "cici-c--icc";
    QTest::newRow("MIL on, 3 codes") << QByteArray::fromHex("8307E500") << false << true << 3 << false
                                     << "cccc-c--ccc";
    // Compression order after the continuous ones: NMHC, NOx/SCR, boost, exhaust gas sensor, PM filter,
    // EGR/VVT (C/D bits 0, 1, 3, 5, 6, 7). B 0F: bit 3 set. C E9, D 40: PM filter incomplete.
    QTest::newRow("compression") << QByteArray::fromHex("000FE940") << false << false << 0 << true
                                 << "cccc-ccic";
    // B 1D: misfire (incomplete, bit 4) and components; C 03 NMHC and NOx, D 02 NOx incomplete.
    QTest::newRow("compression, MIL, 2 codes")
        << QByteArray::fromHex("821D0302") << false << true << 2 << true << "i-cci----";
    // PID 41: byte A is not the lamp.
    QTest::newRow("this drive cycle")
        << QByteArray::fromHex("8507E524") << true << false << 0 << false << "cccc-i--icc";
    QTest::newRow("short answer") << QByteArray::fromHex("83") << false << true << 3 << false
                                  << "-----------";
}

void TestObdVehicle::readiness() {
    QFETCH(QByteArray, abcd);
    QFETCH(bool, cycle);
    const TObdGotowosc g = DekodujGotowosc(abcd, cycle);
    QTEST(g.mil, "mil");
    QTEST(g.kody, "codes");
    QTEST(g.samoczynny, "compression");
    QTEST(Stan(g), "monitors");
}

void TestObdVehicle::monitorNames() {
    QStringList spark, compression, cycle;
    for (const TObdMonitor &m : DekodujGotowosc(QByteArray::fromHex("00070000"), false).monitory)
        spark << m.nazwa;
    for (const TObdMonitor &m : DekodujGotowosc(QByteArray::fromHex("00080000"), false).monitory)
        compression << m.nazwa;
    // This drive cycle takes the ignition type of PID 01 when it is known.
    for (const TObdMonitor &m : DekodujGotowosc(QByteArray::fromHex("00070000"), true, true).monitory)
        cycle << m.nazwa;
    QCOMPARE(spark, QStringList({"Misfire", "Fuel system", "Components", "Catalyst", "Heated catalyst",
                                 "Evaporative system", "Secondary air", "A/C refrigerant", "Oxygen sensor",
                                 "Oxygen sensor heater", "EGR/VVT"}));
    QCOMPARE(compression,
             QStringList({"Misfire", "Fuel system", "Components", "NMHC catalyst", "NOx/SCR aftertreatment",
                          "Boost pressure", "Exhaust gas sensor", "PM filter", "EGR/VVT"}));
    QCOMPARE(cycle, compression);
}

void TestObdVehicle::vin_data() {
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("vin"); // empty: not shown as the VIN
    const QString vin = QStringLiteral("WVWZZZ1JZXW000001");
    // WVWZZZ1JZXW000001 = 57 56 57 5A 5A 5A 31 4A 5A 58 57 30 30 30 30 30 31.
    // CAN: 49 02 01 + 17 bytes = 0x14 bytes: first frame with 6, two consecutive frames with 7 each;
    // another unit's refusal comes between them.
    QTest::newRow("CAN 11 bit") << 6
                                << QStringList{"7E8 10 14 49 02 01 57 56 57", "7E9 03 7F 09 12",
                                               "7E8 21 5A 5A 5A 31 4A 5A 58", "7E8 22 57 30 30 30 30 30 31"}
                                << 0x7E8 << vin;
    QTest::newRow("CAN 29 bit") << 7
                                << QStringList{"18 DA F1 10 10 14 49 02 01 57 56 57",
                                               "18 DA F1 10 21 5A 5A 5A 31 4A 5A 58",
                                               "18 DA F1 10 22 57 30 30 30 30 30 31"}
                                << 0x10 << vin;
    // The 250 kbaud CAN protocols lay their answers out as the 500 kbaud ones.
    QTest::newRow("CAN 11 bit 250 kbaud")
        << 8
        << QStringList{"7E8 10 14 49 02 01 57 56 57", "7E8 21 5A 5A 5A 31 4A 5A 58",
                       "7E8 22 57 30 30 30 30 30 31"}
        << 0x7E8 << vin;
    QTest::newRow("CAN 29 bit 250 kbaud")
        << 9
        << QStringList{"18 DA F1 10 10 14 49 02 01 57 56 57", "18 DA F1 10 21 5A 5A 5A 31 4A 5A 58",
                       "18 DA F1 10 22 57 30 30 30 30 30 31"}
        << 0x10 << vin;
    // A number of 16 characters is no VIN, on any bus.
    QTest::newRow("CAN 16 characters")
        << 6
        << QStringList{"7E8 10 13 49 02 01 57 56 57", "7E8 21 5A 5A 5A 31 4A 5A 58",
                       "7E8 22 57 30 30 30 30 30"}
        << 0x7E8 << QString();
    // ISO 9141-2: five lines 49 02 0n of four bytes, the first led by three zeros, then a check byte;
    // the adapter may print them in any order.
    QTest::newRow("K-line") << 3
                            << QStringList{"48 6B 11 49 02 01 00 00 00 57 E4",
                                           "48 6B 11 49 02 03 5A 31 4A 5A 3A",
                                           "48 6B 11 49 02 02 56 57 5A 5A 4B",
                                           "48 6B 11 49 02 04 58 57 30 30 98",
                                           "48 6B 11 49 02 05 30 30 30 31 70"}
                            << 0x11 << vin;
    // Line 3 came as "<DATA ERROR": the other four would make a 13-character number.
    QTest::newRow("K-line, a line lost")
        << 3
        << QStringList{"48 6B 11 49 02 01 00 00 00 57 E4", "48 6B 11 49 02 02 56 57 5A 5A 4B", "<DATA ERROR",
                       "48 6B 11 49 02 04 58 57 30 30 98", "48 6B 11 49 02 05 30 30 30 31 70"}
        << 0x11 << QString();
    // The last line lost leaves no gap, but 13 characters.
    QTest::newRow("KWP, the last line lost")
        << 4
        << QStringList{"87 F1 11 49 02 01 00 00 00 57 00", "87 F1 11 49 02 02 56 57 5A 5A 00",
                       "87 F1 11 49 02 03 5A 31 4A 5A 00", "87 F1 11 49 02 04 58 57 30 30 00"}
        << 0x11 << QString();
}

void TestObdVehicle::vin() {
    QFETCH(int, protocol);
    QFETCH(QStringList, lines);
    QFETCH(int, address);
    const QList<TObdWiadomosc> m = WiadomosciOdpowiedzi(Reply(lines), protocol);
    QList<QByteArray> own;
    for (const TObdWiadomosc &w : m)
        if (w.adres == address) own << w.dane;
    QVERIFY(!own.isEmpty());
    QTEST(TekstVin(DaneInformacji(own, 0x02, protocol >= 6)), "vin");
    if (QTest::currentDataTag() == QByteArrayView("CAN 11 bit")) {
        // The other unit's negative answer is a message of its own, not part of the number.
        QCOMPARE(m.size(), 2);
        QCOMPARE(m[0].adres, 0x7E9);
        QCOMPARE(m[0].dane, QByteArray::fromHex("7F0912"));
    }
}

void TestObdVehicle::calibrationIds() {
    // 49 04 02, "TRV1A2B3C4D5E6F" + one NUL, "TRVGAS0720" + six NULs: 35 = 0x23 bytes in a first frame
    // and five consecutive frames, the last one padded to 8 bytes.
    const QByteArray r =
        Reply({"7E8 10 23 49 04 02 54 52 56", "7E8 21 31 41 32 42 33 43 34", "7E8 22 44 35 45 36 46 00 54",
               "7E8 23 52 56 47 41 53 30 37", "7E8 24 32 30 00 00 00 00 00", "7E8 25 00 AA AA AA AA AA AA"});
    const QList<TObdWiadomosc> m = WiadomosciOdpowiedzi(r, 6);
    QCOMPARE(m.size(), 1);
    QCOMPARE(m[0].dane.size(), 35);
    QCOMPARE(KalibracjeId(DaneInformacji({m[0].dane}, 0x04, true)),
             QStringList({"TRV1A2B3C4D5E6F", "TRVGAS0720"}));
    // CVNs: four bytes each as eight digits; a short rest is no CVN.
    QCOMPARE(NumeryCvn(QByteArray::fromHex("1A2B3C4D00C0FFEE12")), QStringList({"1A2B3C4D", "00C0FFEE"}));
    QCOMPARE(NazwaSterownika(QByteArray("ECM\0-EngineControl\0\0", 20)), QStringLiteral("ECM-EngineControl"));
    // Unprintable bytes do not reach the screen as they are.
    QCOMPARE(KalibracjeId(QByteArray("A\xFF"
                                     "B\x07",
                                     4)),
             QStringList({"A?B?"}));
    // Padding with 0xFF or spaces is no part of the ID; an ID of padding alone is none.
    QCOMPARE(KalibracjeId(QByteArray("TRV1A2B3") + QByteArray(8, '\xFF') + QByteArray("  TRVGAS0720    ") +
                          QByteArray(16, '\xFF')),
             QStringList({"TRV1A2B3", "TRVGAS0720"}));

    // Seven IDs: 49 04 07 and 112 bytes = 0x73, a first frame and 16 consecutive frames, whose counter
    // runs 21..2F and wraps to 20.
    QByteArray seven;
    for (int i = 1; i <= 7; ++i)
        seven += QByteArray("TRVCAL0") + char('0' + i) + QByteArray(8, '\0');
    const QByteArray message = QByteArray::fromHex("490407") + seven;
    QStringList lines{"7E8 10 73 " + QString::fromLatin1(message.left(6).toHex(' ').toUpper())};
    for (int pos = 6, n = 1; pos < message.size(); pos += 7, ++n)
        lines << QStringLiteral("7E8 2%1 ").arg(n % 16, 1, 16).toUpper() +
                     QString::fromLatin1(message.mid(pos, 7).toHex(' ').toUpper());
    QCOMPARE(lines.size(), 17);
    QVERIFY(lines.last().startsWith(QLatin1String("7E8 20 ")));
    const QList<TObdWiadomosc> m7 = WiadomosciOdpowiedzi(Reply(lines), 6);
    QCOMPARE(m7.size(), 1);
    QCOMPARE(
        KalibracjeId(DaneInformacji({m7[0].dane}, 0x04, true)),
        QStringList({"TRVCAL01", "TRVCAL02", "TRVCAL03", "TRVCAL04", "TRVCAL05", "TRVCAL06", "TRVCAL07"}));

    // On the older buses a gap in the line counter makes the item not available, and so do
    // calibration IDs or a name whose last lines are missing.
    auto linia = [](const char *hex) { return QByteArray::fromHex(hex); };
    QCOMPARE(DaneInformacji({linia("49060211223344"), linia("490601AABBCCDD")}, 0x06, false),
             QByteArray::fromHex("AABBCCDD11223344"));
    QCOMPARE(DaneInformacji({linia("490601AABBCCDD"), linia("49060311223344")}, 0x06, false), QByteArray());
    QCOMPARE(DaneInformacji({linia("490602AABBCCDD"), linia("49060311223344")}, 0x06, false), QByteArray());
    QList<QByteArray> calid;
    for (int n = 1; n <= 8; ++n)
        calid << QByteArray::fromHex("4904") + char(n) + QByteArray("ABCD");
    QCOMPARE(DaneInformacji(calid, 0x04, false).size(), 32);
    QCOMPARE(DaneInformacji(calid.mid(0, 7), 0x04, false), QByteArray());
    QList<QByteArray> name;
    for (int n = 1; n <= 5; ++n)
        name << QByteArray::fromHex("490A") + char(n) + QByteArray("ECM-");
    QCOMPARE(DaneInformacji(name, 0x0A, false).size(), 20);
    QCOMPARE(DaneInformacji(name.mid(0, 4), 0x0A, false), QByteArray());
}

void TestObdVehicle::malformedAnswers() {
    const QList<QPair<int, QStringList>> cases = {
        {6, {"7E8 10 FF 49 02 01 57 56 57"}},                 // first frame whose frames never come
        {6, {"7E8 21 5A 5A 5A 31 4A 5A 58"}},                 // consecutive frame without a first
        {6, {"7E8 10 14 49 02 01 57 56 57", "7E8 22 57 30"}}, // a frame lost
        {6, {"7E8 08 49 02", "7E8", "7E8 00", "7E8 10 00 49", "7E8 ZZ 41"}},
        {7, {"18 DA F1", "18 DA F2 10 03 41 01 00", "18 DA F1 10"}},
        {3, {"48 6B 11 49", "48 6A 11 41 01 00 00 00 00 00", "NO DATA", "SEARCHING..."}},
        {12, {"7E8 03 41 01 00"}}, // a protocol that is not parsed
    };
    for (const auto &c : cases)
        QVERIFY2(WiadomosciOdpowiedzi(Reply(c.second), c.first).isEmpty(), qPrintable(c.second.join(" | ")));
    QCOMPARE(DaneInformacji({QByteArray::fromHex("4902"), QByteArray::fromHex("7F0912")}, 0x02, true),
             QByteArray());
}

void TestObdVehicle::freezeFrameThroughTheLoop_data() {
    QTest::addColumn<QString>("freezeDtc");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<FrameMap>("more"); // answers added to the car's
    QTest::addColumn<QStringList>("moreValues");
    const QStringList first{"0101", "0141", "0121", "0130", "0131",  "014D",
                            "014E", "03",   "07",   "0A",   "020200"};
    QTest::newRow("stored") << "01 71"
                            << first + QStringList{"020000", "020500", "020C00", "022000", "022F00",
                                                   "0902",   "0904",   "0906",   "090A"}
                            << FrameMap() << QStringList();
    QTest::newRow("none stored") << "00 00" << first + QStringList{"0902", "0904", "0906", "090A"}
                                 << FrameMap() << QStringList();
    // The bitmaps chain on to 02 60 00, which offers 62 (actual torque, A - 125 %) and the bitmap of
    // 81-A0, which the catalogue does not reach.
    QTest::newRow("above 60") << "01 71" << first + QStringList{"020000", "020500", "020C00", "022000",
                                                                "022F00", "024000", "026000", "026200",
                                                                "0902",   "0904",   "0906",   "090A"}
                              << FrameMap{{"022000", {"7E8 07 42 20 00 00 02 00 01"}},
                                          {"024000", {"7E8 07 42 40 00 00 00 00 01"}},
                                          {"026000", {"7E8 07 42 60 00 40 00 00 01"}},
                                          {"026200", {"7E8 04 42 62 00 8C"}}}
                              << QStringList{"62 Actual engine - percent torque 0x8C % -1"};
}

void TestObdVehicle::freezeFrameThroughTheLoop() {
    QFETCH(QString, freezeDtc);
    QFETCH(QStringList, asked);
    QFETCH(FrameMap, more);
    QFETCH(QStringList, moreValues);
    ObdRig r;
    PojazdRec page;
    r.obd.MyPojazd = &page;
    r.obd.Protokol = 6;
    // "Read" waits for polling: a trouble-code read under way is not cut short.
    r.obd.Stan = 3002;
    r.obd.WcisnietoPrzycisk(5);
    QCOMPARE(r.obd.Stan, 3002);
    r.obd.Stan = 1000;
    // A car answering by hand-made frames: MIL on with one code, no drive-cycle status, the frame of
    // P0171 (coolant 7B = 83 °C, RPM 0C B0 = 812, fuel level 9E = 62.0 %), a refused CALID, a CVN.
    FrameMap car = {
        {"0101", {"7E8 06 41 01 81 07 E5 05"}},
        {"0141", {"NO DATA"}},
        // 57 km and (no answer) minutes with the lamp on, 12 warm-ups, 1234 km and 2710 min since the clear.
        {"0121", {"7E8 04 41 21 00 39"}},
        {"0130", {"7E8 03 41 30 0C"}},
        {"0131", {"7E8 04 41 31 04 D2"}},
        {"014E", {"7E8 04 41 4E 0A 96"}},
        {"03", {"7E8 04 43 01 01 71"}},
        {"07", {"7E8 02 47 00"}},
        {"0A", {"7E8 03 7F 0A 11"}},
        {"020200", {"7E8 05 42 02 00 " + freezeDtc}},
        // 02, 05, 0C and the next bitmap; then 2F.
        {"020000", {"7E8 07 42 00 00 48 10 00 01"}},
        {"022000", {"7E8 07 42 20 00 00 02 00 00"}},
        {"020500", {"7E8 04 42 05 00 7B"}},
        {"020C00", {"7E8 05 42 0C 00 0C B0"}},
        {"022F00", {"7E8 04 42 2F 00 9E"}},
        {"0902", {"NO DATA"}},
        {"0904", {"7E8 03 7F 09 12"}},
        {"0906", {"7E8 07 49 06 01 1A 2B 3C 4D"}},
        {"090A", {"NO DATA"}},
    };
    car.insert(more);
    QStringList sent;
    for (int step = 0; step < 100 && page.shown.isEmpty(); ++step) {
        r.obd.Opoznienie = 0;
        r.obd.PetlaZadan();
        const QByteArray tx = r.port->TakeTx();
        if (tx.isEmpty()) continue;
        const QString cmd = QString::fromLatin1(tx).trimmed();
        sent << cmd;
        r.obd.Odpowiedz = Reply(car.value(cmd, {"NO DATA"}));
        r.obd.CzekaNaOdpowiedz = 0;
    }
    QCOMPARE(sent, asked);
    QCOMPARE(r.obd.Stan, 1000); // back to polling
    QCOMPARE(page.reads, 1);
    QCOMPARE(page.shown.size(), 1);
    QCOMPARE(page.shown[0].ecu.size(), 1);
    const TObdEcuPojazdu &e = page.shown[0].ecu[0];
    QCOMPARE(e.adresTekst, QStringLiteral("7E8"));
    QVERIFY(e.status && e.status->mil && e.status->kody == 1);
    QCOMPARE(Stan(*e.status), QStringLiteral("ccci-i--ccc"));
    QVERIFY(!e.cykl && !e.vin && !e.kalibracje && !e.nazwaEcu);
    QCOMPARE(e.cvn.value_or(QStringList()), QStringList({"1A2B3C4D"}));
    QCOMPARE(e.kmZLampa, std::optional<int>(57));
    QCOMPARE(e.minZLampa, std::optional<int>());
    QCOMPARE(e.rozgrzania, std::optional<int>(12));
    QCOMPARE(e.kmOdKasowania, std::optional<int>(1234));
    QCOMPARE(e.minOdKasowania, std::optional<int>(2710));
    QCOMPARE(e.kodyZapisane, std::optional<QList<uint16_t>>(QList<uint16_t>{0x0171}));
    QCOMPARE(e.kodyOczekujace, std::optional<QList<uint16_t>>(QList<uint16_t>{})); // answered: none
    QCOMPARE(e.kodyPermanentne, std::optional<QList<uint16_t>>());                 // refused: not available
    if (freezeDtc == QLatin1String("00 00")) {
        QVERIFY(!e.zamrozenie);
        return;
    }
    QVERIFY(e.zamrozenie);
    QCOMPARE(e.zamrozenie->dtc, QStringLiteral("P0171"));
    QStringList values;
    for (const TObdWartoscZamrozona &w : e.zamrozenie->wartosci)
        values << QStringLiteral("%1 %2 %3 %4 %5")
                      .arg(w.pid, 0, 16)
                      .arg(w.nazwa, w.tekst, w.jednostka)
                      .arg(w.wartosc.value_or(-1));
    QCOMPARE(values, QStringList({"5 Engine coolant temperature 83 °C 83", "c Engine RPM 812 rpm 812",
                                  "2f Fuel Level Input 62.0 % 62"}) +
                         moreValues);
}

QTEST_GUILESS_MAIN(TestObdVehicle)
#include "tst_obd_vehicle.moc"
