// Trouble-code description tables: their stored form, the texts of well-known codes, and the
// lookup on good and bad tables.
#include "device/Cp1250.h"
#include "obd/DtcTexts.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

QByteArray ReadAll(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

QString SourcePath(const char *name) {
    return QStringLiteral(TARVEN_SOURCE_DIR "/resources/dtc/") + name;
}

// Code page 1250 bytes of a readable UTF-8 source, in the table's stored form.
QByteArray TableFromSource(const QByteArray &utf8) {
    QMap<QString, QString> rows;
    for (const QByteArray &raw : utf8.split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        rows.insert(line.left(5), line.mid(6));
    }
    QByteArray out;
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        out += Cp1250::fromUnicode(it.key() + u' ' + it.value()) + "\r\n";
    return out;
}

const char PolishBytes[] = "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";

} // namespace

class TstDtcTexts : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        DtcPodstawTabele(false, nullptr);
        DtcPodstawTabele(true, nullptr);
    }

    // Every line of both built-in tables: a code, a space and a description of printable ASCII and
    // Polish letters, ended by CR LF; codes strictly ascending (sorted, no duplicates).
    void tablesKeepTheStoredForm_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("polish");
        QTest::newRow("english") << QStringLiteral(":/dtc/dtc_en.txt") << false;
        QTest::newRow("polish") << QStringLiteral(":/dtc/dtc_pl.txt") << true;
    }
    void tablesKeepTheStoredForm() {
        QFETCH(QString, path);
        QFETCH(bool, polish);
        const QByteArray table = ReadAll(path);
        QVERIFY2(!table.isEmpty(), qPrintable(path));
        QVERIFY(table.endsWith("\r\n"));

        const QRegularExpression codeRe(QStringLiteral("^[PBCU][0-3][0-9A-F]{3}$"));
        const QByteArray allowedHigh(PolishBytes);
        QByteArray previous;
        int lines = 0, polishLetters = 0;
        QMap<QByteArray, int> perFamily;
        qsizetype start = 0;
        while (start < table.size()) {
            const qsizetype cr = table.indexOf('\r', start);
            QVERIFY2(cr >= 0 && cr + 1 < table.size() && table[cr + 1] == '\n',
                     qPrintable(QStringLiteral("line %1 not ended by CR LF").arg(lines + 1)));
            const QByteArray line = table.mid(start, cr - start);
            QVERIFY2(!line.contains('\n'), qPrintable(QStringLiteral("bare LF in line %1").arg(lines + 1)));
            const QByteArray code = line.left(5);
            QVERIFY2(codeRe.match(QString::fromLatin1(code)).hasMatch(), line.constData());
            QVERIFY2(line.size() > 6 && line[5] == ' ' && line[6] != ' ', line.constData());
            QVERIFY2(code > previous, line.constData()); // sorted, no duplicates
            for (char c : line) {
                const uint8_t b = uint8_t(c);
                if (b >= 0x80) {
                    QVERIFY2(allowedHigh.contains(c), line.constData());
                    ++polishLetters;
                } else {
                    QVERIFY2(b >= 0x20 && b < 0x7F, line.constData());
                }
            }
            // Manufacturer-controlled ranges stay out: P1xxx, P3000-P33FF, B1/B2, C1/C2, U1/U2.
            const bool manufacturer =
                (code[0] == 'P' && (code[1] == '1' || (code[1] == '3' && code[2] <= '3'))) ||
                (code[0] != 'P' && (code[1] == '1' || code[1] == '2'));
            QVERIFY2(!manufacturer, line.constData());
            ++perFamily[code.left(2)];
            previous = code;
            ++lines;
            start = cr + 2;
        }
        QVERIFY(lines > 1000);
        if (polish) QVERIFY(polishLetters > 1000);
        // Every generic family is there in both languages (a floor, so a lost family shows).
        for (const auto &[family, least] :
             {std::pair{"P0", 1285}, {"P2", 695}, {"P3", 98}, {"U0", 240}, {"C0", 30}, {"B0", 10}})
            QVERIFY2(perFamily.value(family) >= least, family);
        // Valid code page 1250 throughout: it decodes without a replacement character.
        QVERIFY(!Cp1250::toUnicode(table).contains(QChar(0xFFFD)));
    }

    // The built-in tables are what the readable sources produce, and every code has both texts.
    void tablesMatchTheirSources() {
        const QByteArray en = ReadAll(QStringLiteral(":/dtc/dtc_en.txt"));
        const QByteArray pl = ReadAll(QStringLiteral(":/dtc/dtc_pl.txt"));
        QCOMPARE(en, ReadAll(SourcePath("dtc_en.txt")));
        QCOMPARE(pl, ReadAll(SourcePath("dtc_pl.txt")));
        QCOMPARE(en, TableFromSource(ReadAll(SourcePath("dtc_en.src.txt"))));
        QCOMPARE(pl, TableFromSource(ReadAll(SourcePath("dtc_pl.src.txt"))));

        QStringList inEnglish, inPolish;
        for (const QByteArray &line : en.split('\n'))
            if (!line.isEmpty()) inEnglish << QString::fromLatin1(line.left(5));
        for (const QByteArray &line : pl.split('\n'))
            if (!line.isEmpty()) inPolish << QString::fromLatin1(line.left(5));
        QCOMPARE(inPolish, inEnglish);
    }

    void wellKnownCodesHaveBothTexts() {
        QStringList codes;
        for (int n = 0x100; n <= 0x175; ++n)
            if ((n & 0xF) <= 9) codes << QStringLiteral("P%1").arg(n, 4, 16, QChar(u'0'));
        for (int n = 0x300; n <= 0x312; ++n)
            if ((n & 0xF) <= 9) codes << QStringLiteral("P%1").arg(n, 4, 16, QChar(u'0'));
        codes << QStringLiteral("P0011") << QStringLiteral("P0016") << QStringLiteral("P0030")
              << QStringLiteral("P0201") << QStringLiteral("P0299") << QStringLiteral("P0335")
              << QStringLiteral("P0340") << QStringLiteral("P0351") << QStringLiteral("P0401")
              << QStringLiteral("P0420") << QStringLiteral("P0430") << QStringLiteral("P0442")
              << QStringLiteral("P0455") << QStringLiteral("P0500") << QStringLiteral("P0505")
              << QStringLiteral("P0562") << QStringLiteral("P0601") << QStringLiteral("P0700")
              << QStringLiteral("P0740") << QStringLiteral("P2096") << QStringLiteral("P2097")
              << QStringLiteral("P2135") << QStringLiteral("P2187") << QStringLiteral("P2195")
              << QStringLiteral("P3496");
        QCOMPARE(codes.size(), 76 + 13 + 25); // P0100-P0175, P0300-P0312 and the others
        for (const QString &code : codes) {
            const QString en = DtcOpis(code, false);
            const QString pl = DtcOpis(code, true);
            QVERIFY2(en.startsWith(u' ') && en.size() > 8, qPrintable(code));
            QVERIFY2(pl.startsWith(u' ') && pl.size() > 8, qPrintable(code));
            QVERIFY2(en != pl, qPrintable(code));
        }
        for (const char *u : {"U0001", "U0073", "U0100", "U0101", "U0121", "U0140", "U0155", "U0164"})
            QVERIFY2(DtcOpis(QString::fromLatin1(u), false).size() > 8, u);

        QCOMPARE(DtcOpis(u"P0105", false),
                 QStringLiteral(" Manifold Absolute Pressure/Barometric Circuit Malfunction"));
        QCOMPARE(DtcOpis(u"U0155", false),
                 QStringLiteral(" Lost Communication With Instrument Panel Cluster (IPC) Control Module"));
        QCOMPARE(DtcOpis(u"P0420", false),
                 QStringLiteral(" Catalyst System Efficiency Below Threshold (Bank 1)"));
        QCOMPARE(DtcOpis(u"P0430", false),
                 QStringLiteral(" Catalyst System Efficiency Below Threshold (Bank 2)"));
        QCOMPARE(DtcOpis(u"P0304", false), QStringLiteral(" Cylinder 4 Misfire Detected"));
        QCOMPARE(DtcOpis(u"P0171", false), QStringLiteral(" System Too Lean (Bank 1)"));
        QCOMPARE(DtcOpis(u"U0100", false), QStringLiteral(" Lost Communication With ECM/PCM \"A\""));
        // Polish texts come out with their letters.
        QCOMPARE(DtcOpis(u"P0300", true), QStringLiteral(" Wykryto losowe/wielokrotne wypadanie zapłonów"));
        QCOMPARE(DtcOpis(u"P0420", true), QStringLiteral(" Sprawność katalizatora poniżej progu (rząd 1)"));
        QVERIFY(DtcOpis(u"P0135", true).contains(QStringLiteral("grzałki sondy lambda")));
        QVERIFY(DtcOpis(u"P0201", true).contains(QStringLiteral("wtryskiwacza cylindra 1")));
        // The table ids the printer uses.
        QCOMPARE(DtcOpisZasobu(u"P0420", DtcZasobAngielski), DtcOpis(u"P0420", false));
        QCOMPARE(DtcOpisZasobu(u"P0420", DtcZasobPolski), DtcOpis(u"P0420", true));
        QVERIFY(DtcOpisZasobu(u"P0420", 902).isNull());
        // A code that no table knows.
        QVERIFY(DtcOpis(u"P1234", false).isNull());
        QVERIFY(DtcOpis(u"P1234", true).isNull());
    }

    // Well-known codes of every generic family read right in both languages: each text holds the
    // words that carry the code's meaning (component, fault, bank or wheel), so a text shifted onto
    // the neighbouring code, a swapped bank or a wrong wheel fails here.
    void wellKnownCodesReadRight_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("english");
        QTest::addColumn<QStringList>("polish");
        const auto row = [](const char *code, QStringList en, QStringList pl) {
            QTest::newRow(code) << QString::fromLatin1(code) << en << pl;
        };
        row("P0011", {"\"A\" Camshaft", "Over-Advanced", "Bank 1"}, {"wałka rozrządu \"A\"", "rząd 1"});
        row("P0101", {"Air Flow", "Range/Performance"}, {"przepływomierza", "zakres/działanie"});
        row("P0113", {"Intake Air Temperature", "High"}, {"temperatury powietrza dolotowego", "wysoki"});
        row("P0117", {"Engine Coolant Temperature", "Low"}, {"cieczy chłodzącej", "niski"});
        row("P0122", {"Throttle", "\"A\"", "Low"}, {"przepustnicy", "\"A\"", "niski"});
        row("P0130", {"O2 Sensor", "Bank 1 Sensor 1"}, {"sondy lambda", "rząd 1, sonda 1"});
        row("P0135", {"Heater", "Bank 1 Sensor 1"}, {"grzałki sondy lambda", "rząd 1, sonda 1"});
        row("P0171", {"Too Lean", "Bank 1"}, {"uboga", "rząd 1"});
        row("P0172", {"Too Rich", "Bank 1"}, {"bogata", "rząd 1"});
        row("P0174", {"Too Lean", "Bank 2"}, {"uboga", "rząd 2"});
        row("P0201", {"Injector", "Cylinder 1"}, {"wtryskiwacza cylindra 1"});
        row("P0300", {"Random/Multiple", "Misfire"}, {"wypadanie zapłonów"});
        row("P0304", {"Cylinder 4", "Misfire"}, {"cylindrze 4", "wypadanie zapłonów"});
        row("P0335", {"Crankshaft Position Sensor \"A\""}, {"położenia wału korbowego \"A\""});
        row("P0340", {"Camshaft Position Sensor"}, {"położenia wałka rozrządu"});
        row("P0401", {"Exhaust Gas Recirculation", "Insufficient"}, {"EGR", "zbyt mały"});
        row("P0420", {"Catalyst", "Below Threshold", "Bank 1"}, {"katalizatora", "rząd 1"});
        row("P0455", {"Evaporative", "gross leak"}, {"EVAP", "duża"});
        row("P0505", {"Idle Control"}, {"biegu jałowego"});
        row("P0535", {"A/C Evaporator Temperature Sensor Circuit"}, {"temperatury parownika", "usterka"});
        row("P0562", {"System Voltage Low"}, {"niskie napięcie"});
        row("P0599", {"Thermostat Heater", "High"}, {"grzałki termostatu", "wysoki"});
        row("P0601", {"Memory", "Check Sum"}, {"sumy kontrolnej"});
        row("P0776", {"Pressure Control Solenoid \"B\"", "Stuck Off"},
            {"regulacji ciśnienia \"B\"", "wyłączonym"});
        row("P0856", {"Traction Control Input"}, {"kontroli trakcji"});
        row("P0894", {"Slipping"}, {"Poślizg"});
        row("P0972", {"Shift Solenoid \"A\"", "Range/Performance"},
            {"zmiany biegów \"A\"", "zakres/działanie"});
        row("P0999", {"Shift Solenoid \"F\"", "High"}, {"zmiany biegów \"F\"", "wysoki"});
        row("P0A0F", {"Engine Failed to Start"}, {"nie uruchomił"});
        row("P0A80", {"Replace Hybrid Battery Pack"}, {"akumulator trakcyjny"});
        row("P010C", {"Air Flow \"B\"", "Low"}, {"przepływomierza powietrza \"B\"", "niski"});
        row("P06A3", {"Reference Voltage \"D\"", "Open"}, {"odniesienia", "\"D\"", "przerwa"});
        row("P06A6", {"Reference Voltage \"A\"", "Range/Performance"}, {"\"A\"", "zakres/działanie"});
        row("P020A", {"Cylinder 1 Injection Timing"}, {"cylindrze 1"});
        row("P021F", {"Cylinder 12 Injection Timing"}, {"cylindrze 12"});
        row("P043F", {"Reference Orifice", "High Flow"}, {"EVAP", "zbyt duży"});
        row("P204A", {"Reductant Pressure Sensor Circuit"}, {"ciśnienia reduktora", "usterka"});
        row("P20EF", {"SCR", "Bank 2"}, {"SCR", "rząd 2"});
        row("P2031", {"Exhaust Gas Temperature Sensor", "Bank 1 Sensor 2"},
            {"temperatury spalin", "rząd 1, czujnik 2"});
        row("P2088", {"\"A\" Camshaft Position Actuator", "Low", "Bank 1"},
            {"wałka rozrządu \"A\"", "niski", "rząd 1"});
        row("P2095", {"\"B\" Camshaft Position Actuator", "High", "Bank 2"},
            {"wałka rozrządu \"B\"", "wysoki", "rząd 2"});
        row("P2096", {"Post Catalyst", "Too Lean", "Bank 1"}, {"za katalizatorem", "uboga", "rząd 1"});
        row("P2097", {"Post Catalyst", "Too Rich", "Bank 1"}, {"za katalizatorem", "bogata", "rząd 1"});
        row("P2135", {"Throttle/Pedal Position", "Correlation"}, {"przepustnicy", "niezgodność"});
        row("P2187", {"Too Lean at Idle", "Bank 1"}, {"uboga", "jałowym", "rząd 1"});
        row("P2213", {"NOx Sensor Circuit", "Bank 2"}, {"czujnika NOx", "rząd 2"});
        row("P2428", {"Exhaust Gas Temperature Too High", "Bank 1"}, {"temperatura spalin", "rząd 1"});
        row("P2560", {"Coolant Level Low"}, {"poziom cieczy chłodzącej"});
        row("P2763", {"Torque Converter Clutch Pressure Control Solenoid", "High"},
            {"przemiennika momentu", "wysoki"});
        row("P3400", {"Cylinder Deactivation", "Bank 1"}, {"odłączania cylindrów", "rząd 1"});
        row("P3497", {"Cylinder Deactivation", "Bank 2"}, {"odłączania cylindrów", "rząd 2"});
        row("B0001", {"Driver Frontal Stage 1"}, {"kierowcy", "stopień 1"});
        row("B0011", {"Passenger Frontal Stage 2"}, {"pasażera", "stopień 2"});
        row("B0020", {"Left Side Airbag"}, {"lewej bocznej"});
        row("B0029", {"Right Curtain"}, {"prawej kurtyny"});
        row("B0081", {"Occupant Classification"}, {"klasyfikacji pasażera"});
        row("C0035", {"Left Front Wheel Speed Sensor Circuit"}, {"prędkości koła przedniego lewego"});
        row("C0037", {"Left Front Wheel Speed Sensor", "Low"}, {"koła przedniego lewego", "niski"});
        row("C0040", {"Right Front Wheel Speed Sensor Circuit"}, {"prędkości koła przedniego prawego"});
        row("C0045", {"Left Rear Wheel Speed Sensor Circuit"}, {"prędkości koła tylnego lewego"});
        row("C0050", {"Right Rear Wheel Speed Sensor Circuit"}, {"prędkości koła tylnego prawego"});
        row("C0060", {"Left Front ABS Solenoid #1"}, {"elektrozaworu ABS nr 1", "przedniego lewego"});
        row("C0110", {"Pump Motor"}, {"pompy ABS"});
        row("C0265", {"Relay"}, {"przekaźnika"});
        row("U0001", {"High Speed CAN"}, {"CAN wysokiej prędkości"});
        row("U0073", {"Bus Off"}, {"wyłączona"});
        row("U0100", {"Lost Communication", "ECM/PCM \"A\""},
            {"Utrata komunikacji", "sterownikiem silnika", "\"A\""});
        row("U0101", {"Lost Communication", "TCM"}, {"Utrata komunikacji", "skrzyni biegów"});
        row("U0108", {"Alternative Fuel"}, {"paliwa alternatywnego"});
        row("U0121", {"Lost Communication", "Anti-Lock Brake"}, {"Utrata komunikacji", "ABS"});
        row("U0140", {"Lost Communication", "Body Control Module"}, {"Utrata komunikacji", "nadwozia"});
        row("U0151", {"Lost Communication", "Restraints"}, {"Utrata komunikacji", "poduszek"});
        row("U0155", {"Lost Communication", "Instrument Panel Cluster"},
            {"Utrata komunikacji", "zestawem wskaźników"});
        row("U0164", {"Lost Communication", "HVAC"}, {"Utrata komunikacji", "klimatyzacji"});
        row("U0315", {"Software Incompatibility", "Anti-Lock Brake"}, {"Niezgodność oprogramowania", "ABS"});
        row("U0401", {"Invalid Data", "ECM/PCM"}, {"Nieprawidłowe dane", "sterownika silnika"});
        row("U0415", {"Invalid Data", "Anti-Lock Brake"}, {"Nieprawidłowe dane", "ABS"});
    }
    void wellKnownCodesReadRight() {
        QFETCH(QString, code);
        QFETCH(QStringList, english);
        QFETCH(QStringList, polish);
        const QString en = DtcOpis(code, false);
        const QString pl = DtcOpis(code, true);
        for (const QString &w : english)
            QVERIFY2(en.contains(w), qPrintable(code + u':' + en + QStringLiteral(" lacks ") + w));
        for (const QString &w : polish)
            QVERIFY2(pl.contains(w), qPrintable(code + u':' + pl + QStringLiteral(" lacks ") + w));
    }

    // Manufacturer-controlled ranges have no text: the box shows the bare code for them.
    void manufacturerCodesStayBare() {
        for (const char16_t *c : {u"P1000", u"P1234", u"P3000", u"P33FF", u"B1000", u"B2000", u"C1000",
                                  u"C2000", u"U1000", u"U2000"}) {
            QVERIFY2(DtcOpis(c, false).isNull(), qPrintable(QString::fromUtf16(c)));
            QVERIFY2(DtcOpis(c, true).isNull(), qPrintable(QString::fromUtf16(c)));
        }
    }

    // The last line counts even without a line end; bare LF and bare CR end lines too.
    void lastLineWithoutLineEndIsFound() {
        const TDtcTabela t(QByteArrayLiteral("P0100 First\r\nU2619 Last one without a line end"));
        QCOMPARE(t.Ilosc(), 2);
        QCOMPARE(t.Opis(u"U2619"), QStringLiteral(" Last one without a line end"));
        QCOMPARE(t.Opis(u"P0100"), QStringLiteral(" First"));

        const TDtcTabela lf(QByteArrayLiteral("P0100 A\nP0101 B\rP0102 C\r\n\r\nP0103 D"));
        QCOMPARE(lf.Ilosc(), 4);
        QCOMPARE(lf.Opis(u"P0100"), QStringLiteral(" A"));
        QCOMPARE(lf.Opis(u"P0101"), QStringLiteral(" B"));
        QCOMPARE(lf.Opis(u"P0102"), QStringLiteral(" C"));
        QCOMPARE(lf.Opis(u"P0103"), QStringLiteral(" D"));

        // Through the built-in lookup too, with the table swapped in.
        DtcPodstawTabele(true, &t);
        QCOMPARE(DtcOpis(u"U2619", true), QStringLiteral(" Last one without a line end"));
        QCOMPARE(DtcOpisZasobu(u"U2619", DtcZasobPolski), QStringLiteral(" Last one without a line end"));
        DtcPodstawTabele(true, nullptr);
        QVERIFY(DtcOpis(u"U2619", true).isNull());
    }

    // Only a code at the start of a line followed by a space matches; the first line of a code wins.
    void onlyLineStartsMatch() {
        const TDtcTabela t(QByteArrayLiteral("P0100-P0199 Fuel and air metering\r\n"
                                             "P0101 See also P0100 and P0102\r\n"
                                             "0105 code without its letter\r\n"
                                             "p0106 lower-case code\r\n"
                                             "P4000 first digit beyond 3\r\n"
                                             "P01G0 not hexadecimal\r\n"
                                             "P0107\tTAB instead of the space\r\n"
                                             "P0108 first\r\n"
                                             "P0108 second\r\n"));
        QCOMPARE(t.Ilosc(), 2);
        QVERIFY(t.Opis(u"P0100").isNull());
        QVERIFY(t.Opis(u"P0102").isNull());
        QCOMPARE(t.Opis(u"P0101"), QStringLiteral(" See also P0100 and P0102"));
        QVERIFY(t.Opis(u"P0105").isNull());
        QVERIFY(t.Opis(u"P0106").isNull());
        QVERIFY(t.Opis(u"P0107").isNull());
        QCOMPARE(t.Opis(u"P0108"), QStringLiteral(" first"));
    }

    void badTablesDoNotBreakTheLookup() {
        const TDtcTabela empty{QByteArray()};
        QVERIFY(empty.Wczytana());
        QCOMPARE(empty.Ilosc(), 0);
        QVERIFY(empty.Opis(u"P0100").isNull());

        // Short lines, a code without a description, blanks for a description, a line end right after
        // the code, and a table cut in the middle of a code.
        const TDtcTabela shortLines(QByteArrayLiteral("P\r\nP01\r\nP0100\r\nP0101 \r\nP0102    \t\r\n"
                                                      "P0103\r\nP0104 ok  \r\nP01"));
        QCOMPARE(shortLines.Ilosc(), 1);
        for (const char16_t *c : {u"P0100", u"P0101", u"P0102", u"P0103"})
            QVERIFY(shortLines.Opis(c).isNull());
        QCOMPARE(shortLines.Opis(u"P0104"), QStringLiteral(" ok"));

        // Junk: every byte value, NULs, long lines; nothing matches by accident and nothing breaks.
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(char((i * 7919 + 13) & 0xFF));
        junk.append(QByteArray(2000, '\0'));
        junk.append(QByteArray(100000, 'x'));
        junk.append("\nC0035 after the junk");
        const TDtcTabela j(junk);
        QCOMPARE(j.Opis(u"C0035"), QStringLiteral(" after the junk"));

        // A file that does not exist leaves an empty table.
        TDtcTabela missing;
        QVERIFY(!missing.WczytajPlik(QStringLiteral(":/dtc/no_such_table.txt")));
        QVERIFY(!missing.Wczytana());
        QVERIFY(missing.Opis(u"P0100").isNull());
        // Reading a real table replaces what was there before.
        QVERIFY(missing.WczytajPlik(QStringLiteral(":/dtc/dtc_pl.txt")));
        QVERIFY(missing.Ilosc() > 1000);
        QVERIFY(!missing.WczytajPlik(QStringLiteral("/nonexistent/dtc.txt")));
        QCOMPARE(missing.Ilosc(), 0);

        // With the built-in table replaced by an empty one, there is no description.
        DtcPodstawTabele(false, &empty);
        QVERIFY(DtcOpis(u"P0420", false).isNull());
    }

    void malformedCodesFindNothing() {
        const TDtcTabela t(QByteArrayLiteral("P0420 Catalyst\r\n"));
        QCOMPARE(t.Opis(u"p0420"), QStringLiteral(" Catalyst")); // case does not matter in a request
        for (const char16_t *c :
             {u"", u"P042", u"P04200", u" P0420", u"P0420 ", u"X0420", u"P4420", u"P04Z0", u"P\u04330420"})
            QVERIFY2(t.Opis(c).isNull(), qPrintable(QString::fromUtf16(c)));
        QVERIFY(!t.Zawiera(u"P042"));
        QVERIFY(t.Zawiera(u"P0420"));
    }

    // Bytes below 0x80 as they are, the Polish letters as letters, anything else as "/" + decimal.
    void descriptionsDecodeByTheCodePageRule() {
        const QByteArray bytes = QByteArray("P0100 ") + PolishBytes + " \x93quoted\x94 \x96 \xE9 \x01\t\x7F";
        const TDtcTabela t(bytes);
        QCOMPARE(t.Opis(u"P0100"), QStringLiteral(" ĄĆĘŁŃÓŚŹŻąćęłńóśźż /147quoted/148 /150 /233 /1\t/127"));
        QCOMPARE(DtcDekoduj("\x00\xFF", 2), QStringLiteral("/0/255"));
        QCOMPARE(DtcDekoduj("", 0), QString());
    }

    void codeTextsAndValues() {
        QCOMPARE(DtcTekstKodu(0x0105), QStringLiteral("P0105"));
        QCOMPARE(DtcTekstKodu(0xC155), QStringLiteral("U0155"));
        QCOMPARE(DtcTekstKodu(0x2097), QStringLiteral("P2097"));
        QCOMPARE(DtcTekstKodu(0x4073), QStringLiteral("C0073"));
        QCOMPARE(DtcTekstKodu(0xBFFF), QStringLiteral("B3FFF"));
        QCOMPARE(DtcKodNaLiczbe(u"U0073"), 0xC073);
        QCOMPARE(DtcKodNaLiczbe(u"b3fff"), 0xBFFF);
        QCOMPARE(DtcKodNaLiczbe(u"P4000"), -1);
        for (int v = 0; v <= 0xFFFF; ++v)
            if (DtcKodNaLiczbe(DtcTekstKodu(uint16_t(v))) != v) QFAIL(qPrintable(DtcTekstKodu(uint16_t(v))));
    }
};

QTEST_GUILESS_MAIN(TstDtcTexts)
#include "tst_dtctexts.moc"
