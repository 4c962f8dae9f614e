// Showing and changing settings items: value texts, availability, the dependent changes and the
// refused changes.
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "link/SerialBackend.h"
#include "settings/TKatalogNastaw.h"

#include <QLocale>
#include <QTest>

#include <memory>

class TstKatalogNastaw : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TSterownik> s;
    std::unique_ptr<TKatalogNastaw> k;
    std::shared_ptr<TMemoryPort> port;
    int beeps = 0;
    int changes = 0;

    bool Zapis() const { return (s->WriteRequests & 1u) != 0; }

private slots:
    void init();
    void cleanup();

    void rpmSignalSetsDivider_data();
    void rpmSignalSetsDivider();
    void injectionType_data();
    void injectionType();
    void fastFuelOnlyWithStatus();
    void engineTypeRewritesLoadAxis();
    void calibrationItemsRecomputeReference();
    void petrolAdditionZero();
    void injectorTypeCopiesRow();
    void gasLevelSensorThresholds();
    void ohmShownAsOmega();
    void valueTexts_data();
    void valueTexts();
    void flagsAndErrorCodes();
    void localeDecimalSeparator();
    void idleCorrectionAddsAdaptation();
    void availabilityFollowsRpmSignal();
    void refusedChangesBeep();
    void clampsToLimits();
    void outOfRangeChoiceIsWrittenBack();
    void askedValueOutOfRangeChangesNothing();
    void factoryDefaults();
    void labelsAndUnits();
    void withoutController();
};

void TstKatalogNastaw::init() {
    LangSetLanguage(0);
    QLocale::setDefault(QLocale::c());
    s = std::make_unique<TSterownik>();
    s->StopTimer();
    port = std::make_shared<TMemoryPort>();
    s->UseBackend(port);
    QVERIFY(s->PortOpen(1));
    k = std::make_unique<TKatalogNastaw>(s.get());
    k->UtworzNastawy();
    k->NastawyDomyslne();
    beeps = changes = 0;
    k->OnBeep = [this] { ++beeps; };
    k->OnZmiana = [this] { ++changes; };
    s->WriteRequests = 0;
    s->InjectorMaskPending = 0;
    s->FuelFastPending = 0;
}

void TstKatalogNastaw::cleanup() {
    k.reset();
    s.reset();
    port.reset();
}

void TstKatalogNastaw::rpmSignalSetsDivider_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("divider");
    QTest::addColumn<int>("wire");
    const int dividers[9] = {1, 2, 3, 4, 5, 6, 8, 1, 116};
    for (int v = 0; v <= 8; ++v)
        QTest::addRow("signal %d", v) << v << dividers[v] << (v == 7 ? 2 : 0);
}

void TstKatalogNastaw::rpmSignalSetsDivider() {
    QFETCH(int, signal);
    QFETCH(int, divider);
    QFETCH(int, wire);
    s->Nastawy[2] = 77;
    s->Nastawy[4] = 2; // the rpm wire keeps its value only for signal 7 (from the injectors)
    k->UstawNastawe(1, signal);
    QCOMPARE(int(s->Nastawy[1]), signal);
    QCOMPARE(int(s->Nastawy[2]), divider);
    QCOMPARE(int(s->Nastawy[4]), wire);
    QVERIFY(Zapis());
    QCOMPARE(changes, 1);
    QCOMPARE(beeps, 0);
}

void TstKatalogNastaw::injectionType_data() {
    QTest::addColumn<int>("injectors");
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("masks");
    QTest::newRow("sequential 4") << 4 << 0 << QList<int>{1, 2, 4, 8, 0, 0, 0, 0};
    QTest::newRow("sequential 6") << 6 << 0 << QList<int>{1, 2, 4, 8, 16, 32, 0, 0};
    QTest::newRow("sequential 8") << 8 << 0 << QList<int>{1, 2, 4, 8, 16, 32, 64, 128};
    QTest::newRow("sequential 3") << 3 << 0 << QList<int>{1, 2, 4, 8, 16, 32, 64, 128};
    QTest::newRow("semi 6") << 6 << 1 << QList<int>{0x15, 0x2A, 0, 0, 0, 0, 0, 0};
    QTest::newRow("semi 4") << 4 << 1 << QList<int>{0x05, 0x0A, 0, 0, 0, 0, 0, 0};
    QTest::newRow("semi 8") << 8 << 1 << QList<int>{0x55, 0xAA, 0, 0, 0, 0, 0, 0};
    QTest::newRow("full 4") << 4 << 2 << QList<int>{0x0F, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("full 6") << 6 << 2 << QList<int>{0x3F, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("full 8") << 8 << 2 << QList<int>{0xFF, 0, 0, 0, 0, 0, 0, 0};
}

void TstKatalogNastaw::injectionType() {
    QFETCH(int, injectors);
    QFETCH(int, type);
    QFETCH(QList<int>, masks);
    s->InjectorCount = uint8_t(injectors);
    for (int i = 32; i < 40; ++i)
        s->Nastawy[i] = 0x5A;
    s->Nastawy[56] = type == 0 ? 2 : 0;
    k->UstawNastawe(8, type);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(int(s->Nastawy[32 + i]), masks[i]);
    QCOMPARE(int(s->Nastawy[56]), type);
    QCOMPARE(int(s->InjectorMaskPending), 1);
    QCOMPARE(int(s->FuelFastPending), 0); // no live status yet
    QVERIFY(Zapis());
}

void TstKatalogNastaw::fastFuelOnlyWithStatus() {
    s->StatusBytes[0] = 3;
    k->UstawNastawe(8, 1);
    QCOMPARE(int(s->FuelFastPending), 1);
    QCOMPARE(int(s->InjectorMaskPending), 1);
}

void TstKatalogNastaw::engineTypeRewritesLoadAxis() {
    const int turbo[16] = {12, 25, 37, 50, 62, 75, 87, 100, 112, 125, 137, 150, 162, 175, 187, 200};
    const int standard[16] = {6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100};
    k->UstawNastawe(10, 1);
    for (int i = 0; i < 16; ++i)
        QCOMPARE(int(s->Nastawy[224 + i]), turbo[i]);
    QCOMPARE(k->TekstNastawy(239), QStringLiteral("2")); // 2.00 bar, general format
    QCOMPARE(k->TekstNastawy(224), QStringLiteral("0.12"));
    for (int i = 0; i < 16; ++i)
        s->Nastawy[224 + i] = 1;
    k->UstawNastawe(10, 0);
    for (int i = 0; i < 16; ++i)
        QCOMPARE(int(s->Nastawy[224 + i]), standard[i]);
    // Valvectronic lies above the maximum: clamped to turbo.
    k->UstawNastawe(10, 2);
    QCOMPARE(int(s->Nastawy[10]), 1);
    QCOMPARE(int(s->Nastawy[224]), 12);
}

void TstKatalogNastaw::calibrationItemsRecomputeReference() {
    for (int item : {10, 85, 86}) {
        const int value = item == 10 ? 1 : item == 85 ? 160 : 150;
        s->Nastawy[94] = 0;
        k->UstawNastawe(item, value);
        const int got = s->Nastawy[94];
        s->Nastawy[94] = 0;
        s->ObliczKorekteOdniesienia();
        QVERIFY2(got != 0, qPrintable(QString::number(item)));
        QCOMPARE(got, int(s->Nastawy[94]));
    }
    // Other items leave it alone.
    s->Nastawy[94] = 0;
    k->UstawNastawe(83, 70);
    QCOMPARE(int(s->Nastawy[94]), 0);
}

void TstKatalogNastaw::petrolAdditionZero() {
    k->UstawNastawe(12, 5);
    QCOMPARE(int(s->InjectorMaskPending), 0);
    k->UstawNastawe(12, 0);
    QCOMPARE(int(s->InjectorMaskPending), 1);
}

void TstKatalogNastaw::injectorTypeCopiesRow() {
    k->UstawNastawe(24, 26);
    QCOMPARE(int(s->Nastawy[25]), 30);
    QCOMPARE(int(s->Nastawy[26]), 168);
    QCOMPARE(int(s->Nastawy[27]), 128);
    QCOMPARE(int(s->Nastawy[28]), 100);
    QCOMPARE(k->TekstNastawy(24), QStringLiteral("r > 10 \u2126 (PWM 100%)"));
    // Row 0 is below the minimum and never chosen.
    k->UstawNastawe(24, 0);
    QCOMPARE(int(s->Nastawy[24]), 1);
    QCOMPARE(int(s->Nastawy[25]), 18);
    QCOMPARE(k->TekstNastawy(24), QStringLiteral("Barracuda 1.9 \u2126"));
    QCOMPARE(k->TekstNastawy(24, 11), QStringLiteral("Matrix"));
}

void TstKatalogNastaw::gasLevelSensorThresholds() {
    const int t[4][4] = {{44, 39, 20, 8}, {8, 20, 39, 44}, {58, 54, 40, 11}, {11, 40, 54, 58}};
    for (int v : {3, 0, 2, 1}) {
        k->UstawNastawe(40, v);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(int(s->Nastawy[41 + i]), t[v][i]);
    }
    QCOMPARE(k->TekstNastawy(41), QStringLiteral("0.16")); // 8 x 0.02 V
}

void TstKatalogNastaw::ohmShownAsOmega() {
    QCOMPARE(k->TekstNastawy(40, 0), QStringLiteral("90 \u2126 growing"));
    QCOMPARE(k->TekstNastawy(40, 3), QStringLiteral("50 k\u2126 falling"));
    QCOMPARE(k->TekstNastawy(45, 4), QStringLiteral("10 k\u2126"));
    QCOMPARE(k->TekstNastawy(46, 1), QStringLiteral("2.2 k\u2126"));
    LangSetLanguage(1);
    QCOMPARE(k->TekstNastawy(45, 4), QStringLiteral("10 k\u2126 (w zestawie)"));
    QCOMPARE(k->TekstNastawy(40, 1), QStringLiteral("90 \u2126 malejący"));
    // Other choice items keep their texts as they are.
    QCOMPARE(k->TekstNastawy(1, 7), QStringLiteral("Z wtryskiwaczy benz."));
}

void TstKatalogNastaw::valueTexts_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("text");
    QTest::newRow("85 lowest") << 85 << 0 << "-128";
    QTest::newRow("85 highest") << 85 << 255 << "127";
    QTest::newRow("62 lowest") << 62 << 108 << "-20";
    QTest::newRow("51 default") << 51 << 168 << "40";
    QTest::newRow("53 general 2.5") << 53 << 25 << "2.5";
    QTest::newRow("53 general 2") << 53 << 20 << "2";
    QTest::newRow("66 general") << 66 << 3 << "0.3";
    QTest::newRow("3 two decimals") << 3 << 50 << "3.00";
    QTest::newRow("3 highest") << 3 << 200 << "12.00";
    QTest::newRow("11 one decimal") << 11 << 0 << "0.0";
    QTest::newRow("55 one decimal") << 55 << 10 << "1.0";
    QTest::newRow("89 three decimals") << 89 << 60 << "0.240";
    QTest::newRow("26 offset three decimals") << 26 << 140 << "0.300";
    QTest::newRow("27 offset lowest") << 27 << 0 << "-3.200";
    QTest::newRow("94 reference") << 94 << 181 << "1.41";
    QTest::newRow("50 rpm") << 50 << 70 << "700";
    QTest::newRow("240 rpm highest") << 240 << 255 << "12750";
    QTest::newRow("216 injector correction") << 216 << 0 << "-3.2";
    QTest::newRow("223 injector correction") << 223 << 255 << "3.175";
    QTest::newRow("31 scale 0") << 31 << 200 << "0";
    QTest::newRow("80 kind 0x90") << 80 << 17 << "17";
    QTest::newRow("116 second byte") << 116 << 7 << "7";
    QTest::newRow("unfilled item") << 6 << 99 << "0";
    QTest::newRow("63 pressure") << 63 << 60 << "0.60";
    QTest::newRow("83 petrol time") << 83 << 255 << "12.75";
}

void TstKatalogNastaw::valueTexts() {
    QFETCH(int, item);
    QFETCH(int, raw);
    QFETCH(QString, text);
    QCOMPARE(k->TekstNastawy(item, raw), text);
    // raw -1 takes the value from the settings block
    s->Nastawy[item] = uint8_t(raw);
    QCOMPARE(k->TekstNastawy(item), text);
    QCOMPARE(k->TekstNastawy(item, -1), text);
}

void TstKatalogNastaw::flagsAndErrorCodes() {
    QCOMPARE(k->TekstNastawy(57, 0), QStringLiteral("No"));
    QCOMPARE(k->TekstNastawy(57, 1), QStringLiteral("Yes"));
    QCOMPARE(k->TekstNastawy(57, 9), QStringLiteral("Yes"));
    LangSetLanguage(1);
    QCOMPARE(k->TekstNastawy(68, -1), QStringLiteral("Tak")); // default 1
    QCOMPARE(k->TekstNastawy(67, -1), QStringLiteral("Nie"));
    for (int item : {115, 117, 119, 121, 263, 265, 267, 269}) {
        QCOMPARE(k->TekstNastawy(item, 0), QStringLiteral("-"));
        QCOMPARE(k->TekstNastawy(item, 200), QStringLiteral("-"));
    }
    QCOMPARE(k->TekstNastawy(-1, 0), QString());
    QCOMPARE(k->TekstNastawy(IleNastaw, 0), QString());
}

void TstKatalogNastaw::localeDecimalSeparator() {
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QCOMPARE(k->TekstNastawy(3, 50), QStringLiteral("3,00"));
    QCOMPARE(k->TekstNastawy(53, 25), QStringLiteral("2,5"));
    QCOMPARE(k->TekstNastawy(27, 0), QStringLiteral("-3,200"));
    QCOMPARE(k->TekstNastawy(240, 255), QStringLiteral("12750"));
    // Choice texts are not numbers: "2.2 kOhm" keeps its point.
    QCOMPARE(k->TekstNastawy(45, 1), QStringLiteral("2.2 k\u2126"));
}

void TstKatalogNastaw::idleCorrectionAddsAdaptation() {
    s->Identyfikacja[66] = 128;
    s->Identyfikacja[68] = 128;
    QCOMPARE(k->TekstNastawy(90, 128), QStringLiteral("1.00"));
    s->Identyfikacja[66] = 138;
    QCOMPARE(k->TekstNastawy(90, 128), QStringLiteral("1.10"));
    QCOMPARE(k->TekstNastawy(90, 138), QStringLiteral("1.30")); // + 10 x 0.02
    QCOMPARE(k->TekstNastawy(92, 128), QStringLiteral("1.00")); // item 92 follows byte 68
    s->Identyfikacja[68] = 118;
    QCOMPARE(k->TekstNastawy(92, 128), QStringLiteral("0.90"));
    QCOMPARE(k->TekstNastawy(92, 0), QStringLiteral("-1.66"));
}

void TstKatalogNastaw::availabilityFollowsRpmSignal() {
    for (int signal = 0; signal <= 8; ++signal) {
        s->Nastawy[1] = uint8_t(signal);
        QCOMPARE(k->CzyDostepna(2), signal > 6);
        QCOMPARE(k->CzyDostepna(3), signal != 7);
        QCOMPARE(k->CzyDostepna(4), signal == 7);
        QVERIFY(k->CzyDostepna(1));
        QVERIFY(k->CzyDostepna(86));
    }
    // The calibration lock is not an availability: the grid still lets the press through, and the
    // change itself is refused with a beep.
    k->BlokadaZmian = true;
    QVERIFY(k->CzyDostepna(86));
}

void TstKatalogNastaw::refusedChangesBeep() {
    k->UstawNastawe(1, 3);
    s->WriteRequests = 0;
    changes = 0;
    QByteArray before(reinterpret_cast<const char *>(s->Nastawy), IleNastaw);
    k->UstawNastawe(2, 50);
    QCOMPARE(beeps, 1);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(s->Nastawy), IleNastaw), before);
    QVERIFY(!Zapis());
    QCOMPARE(changes, 0);

    k->UstawNastawe(4, 1); // rpm wire only with signal 7
    QCOMPARE(beeps, 2);
    QCOMPARE(int(s->Nastawy[4]), 0);

    k->UstawNastawe(1, 7);
    k->UstawNastawe(3, 100); // level of the signal is not used with signal 7
    QCOMPARE(beeps, 3);
    QCOMPARE(int(s->Nastawy[3]), 50);
    k->UstawNastawe(2, 60);
    QCOMPARE(int(s->Nastawy[2]), 60);
    QCOMPARE(beeps, 3);

    // Calibration page at the basic level: nothing changes.
    s->WriteRequests = 0;
    before = QByteArray(reinterpret_cast<const char *>(s->Nastawy), IleNastaw);
    k->BlokadaZmian = true;
    k->UstawNastawe(86, 120);
    k->UstawNastawe(8, 2);
    k->UstawNastawe(24, 5);
    QCOMPARE(beeps, 6);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(s->Nastawy), IleNastaw), before);
    QVERIFY(!Zapis());
    QCOMPARE(int(s->InjectorMaskPending), 0);
    k->BlokadaZmian = false;
    k->UstawNastawe(86, 120);
    QCOMPARE(int(s->Nastawy[86]), 120);
    QVERIFY(Zapis());

    // Without an installed handler a refused change is silent, not a crash.
    k->OnBeep = nullptr;
    k->UstawNastawe(4, 1);
}

void TstKatalogNastaw::clampsToLimits() {
    k->UstawNastawe(61, 0);
    QCOMPARE(int(s->Nastawy[61]), 60);
    k->UstawNastawe(61, 1000);
    QCOMPARE(int(s->Nastawy[61]), 200);
    k->UstawNastawe(51, -40);
    QCOMPARE(int(s->Nastawy[51]), 128);
    k->UstawNastawe(47, 3);
    QCOMPARE(int(s->Nastawy[47]), 0);
    k->UstawNastawe(1, 8);
    k->UstawNastawe(2, -5);
    QCOMPARE(int(s->Nastawy[2]), 1);
    k->UstawNastawe(1, 200); // the choice's maximum, crankshaft
    QCOMPARE(int(s->Nastawy[1]), 8);
    QCOMPARE(int(s->Nastawy[2]), 116);
    QCOMPARE(beeps, 0);
    // Numbers outside the block are ignored.
    k->UstawNastawe(-1, 5);
    k->UstawNastawe(IleNastaw, 5);
    QCOMPARE(beeps, 0);
}

void TstKatalogNastaw::outOfRangeChoiceIsWrittenBack() {
    // A byte from the controller below the minimum: shown as the minimum and written back.
    s->Nastawy[45] = 0;
    QCOMPARE(k->TekstNastawy(45), QStringLiteral("2.2 k\u2126"));
    QCOMPARE(int(s->Nastawy[45]), 1);
    QVERIFY(Zapis());
    QCOMPARE(changes, 1);
    // Above the maximum, with its dependent changes.
    s->InjectorCount = 4;
    s->Nastawy[8] = 7;
    QCOMPARE(k->TekstNastawy(8), QStringLiteral("Full group"));
    QCOMPARE(int(s->Nastawy[8]), 2);
    QCOMPARE(int(s->Nastawy[32]), 0x0F);
    QCOMPARE(int(s->Nastawy[56]), 2);
    s->Nastawy[257] = 40;
    QCOMPARE(k->TekstNastawy(257), QStringLiteral("SEA J1850 VPW"));
    QCOMPARE(int(s->Nastawy[257]), 10);
    s->Nastawy[24] = 0;
    QCOMPARE(k->TekstNastawy(24), QStringLiteral("Barracuda 1.9 \u2126"));
    QCOMPARE(int(s->Nastawy[24]), 1);
    QCOMPARE(int(s->Nastawy[25]), 18);
    // Shown a second time: nothing more to correct.
    changes = 0;
    QCOMPARE(k->TekstNastawy(45), QStringLiteral("2.2 k\u2126"));
    QCOMPARE(changes, 0);
    QCOMPARE(beeps, 0);
}

void TstKatalogNastaw::askedValueOutOfRangeChangesNothing() {
    const QByteArray before(reinterpret_cast<const char *>(s->Nastawy), IleNastaw);
    QCOMPARE(k->TekstNastawy(45, 0), QStringLiteral("2.2 k\u2126"));
    QCOMPARE(k->TekstNastawy(10, 2), QStringLiteral("Turbo"));
    QCOMPARE(k->TekstNastawy(1, 300), QStringLiteral("From crankshaft"));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(s->Nastawy), IleNastaw), before);
    QVERIFY(!Zapis());

    // A stored byte of an item that cannot be changed now is shown by its limit without a beep.
    s->Nastawy[1] = 0;
    s->Nastawy[4] = 9;
    QCOMPARE(k->TekstNastawy(4), QStringLiteral("AFR"));
    QCOMPARE(int(s->Nastawy[4]), 9);
    QCOMPARE(beeps, 0);
}

void TstKatalogNastaw::factoryDefaults() {
    for (int i = 0; i < IleNastaw; ++i)
        s->Nastawy[i] = 0xAA;
    s->WriteRequests = 0;
    k->NastawyDomyslne();
    QCOMPARE(int(s->Nastawy[61]), 200);
    QCOMPARE(int(s->Nastawy[68]), 1);
    const int rpm[16] = {12, 18, 24, 30, 36, 42, 48, 54, 60, 66, 72, 80, 90, 100, 110, 120};
    for (int i = 0; i < 16; ++i)
        QCOMPARE(int(s->Nastawy[240 + i]), rpm[i]);
    for (int item :
         {0, 6, 7, 14, 19, 29, 48, 75, 84, 91, 93, 95, 97, 105, 108, 111, 123, 163, 256, 259, 271, 303})
        QCOMPARE(int(s->Nastawy[item]), 0);
    QCOMPARE(int(s->Nastawy[45]), 4);
    QCOMPARE(int(s->Nastawy[85]), 178);
    QCOMPARE(int(s->Nastawy[94]), 181);
    QCOMPARE(int(s->Nastawy[257]), 1);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(int(s->Nastawy[32 + i]), 1 << i);
    QVERIFY(!Zapis());
    QCOMPARE(changes, 0);
}

void TstKatalogNastaw::labelsAndUnits() {
    QCOMPARE(k->NazwaNastawy(1), QStringLiteral("RPM signal"));
    QCOMPARE(k->NazwaNastawy(92), k->NazwaNastawy(90));
    QCOMPARE(k->NazwaNastawy(6), QString());
    QCOMPARE(k->JednostkaNastawy(3), QStringLiteral("[V]"));
    QCOMPARE(k->JednostkaNastawy(55), QStringLiteral("[sec]"));
    QCOMPARE(k->JednostkaNastawy(50), QStringLiteral("[rpm]"));
    QCOMPARE(k->JednostkaNastawy(1), QString());
    LangSetLanguage(1);
    QCOMPARE(k->NazwaNastawy(1), QStringLiteral("Sygnał obrotów"));
    QCOMPARE(k->JednostkaNastawy(55), QStringLiteral("[s]"));
    QCOMPARE(k->JednostkaNastawy(51), QStringLiteral("[°C]"));
}

void TstKatalogNastaw::withoutController() {
    TKatalogNastaw alone;
    alone.UtworzNastawy();
    int b = 0;
    alone.OnBeep = [&b] { ++b; };
    QCOMPARE(alone.TekstNastawy(3), QStringLiteral("0.00"));
    QCOMPARE(alone.TekstNastawy(45), QStringLiteral("2.2 k\u2126")); // nothing to write back to
    alone.UstawNastawe(50, 10);
    alone.NastawyDomyslne();
    QCOMPARE(alone.Wartosc(50), 0);
    QCOMPARE(b, 0);
}

QTEST_GUILESS_MAIN(TstKatalogNastaw)
#include "tst_katalognastaw.moc"
