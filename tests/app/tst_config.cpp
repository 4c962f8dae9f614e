// Configuration store: read order, the first gap ending the reading, range checks, colours, the
// window bounds of a maximised exit, the language of a first start, the firmware folder, and the
// identity of this PC.
#include "Okno.h"
#include "config/TConfig.h"
#include "link/Frame.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QTimer>

class TestConfig : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString Plik(const char *name) { return dir.filePath(QString::fromLatin1(name)); }
    // What a window stored at its exit, for the next start.
    static std::function<void(QSettings &)> Zostawione(const QString &ini) {
        return [ini](QSettings &s) {
            const QSettings store(ini, QSettings::IniFormat);
            for (const QString &k : store.allKeys())
                s.setValue(k, store.value(k));
        };
    }

private slots:
    void firstRunDefaults() {
        const QString f = Plik("empty.ini");
        TConfig c(f);
        QCOMPARE(c.Read(), 0);
        QCOMPARE(c.Comm(), 1);
        QCOMPARE(c.ElmComm(), 1);
        QCOMPARE(c.Comp(), 3);
        QCOMPARE(c.View(), 1);
        QVERIFY(!c.HasBounds());
        QVERIFY(!c.HasWindowState());
        QCOMPARE(c.Colour(0), int64_t(-1));
        QCOMPARE(c.LinkKey(), Frame::DefaultLinkKey);
        QVERIFY(!QFile::exists(f)); // reading creates nothing
    }

    void onlyPorts() {
        const QString f = Plik("ports.ini");
        {
            QSettings s(f, QSettings::IniFormat);
            s.setValue("Comm", 1025);
            s.setValue("ElmComm", 704);
        }
        TConfig c(f);
        QCOMPARE(c.Read(), 2);
        QCOMPARE(c.Comm(), 1025);
        QCOMPARE(c.ElmComm(), 704);
        QCOMPARE(c.Comp(), 3);
        QCOMPARE(c.View(), 1);
    }

    void rangeChecks() {
        const QString f = Plik("range.ini");
        {
            QSettings s(f, QSettings::IniFormat);
            s.setValue("Comm", 2);
            s.setValue("ElmComm", 3);
            s.setValue("Comp", 9);
            s.setValue("Lang", 7);
            s.setValue("View", 5);
        }
        TConfig c(f);
        c.Read();
        QCOMPARE(c.Comp(), 3);
        QCOMPARE(c.Lang(), 1);
        QCOMPARE(c.View(), 1);
    }

    void gapEndsReading() {
        const QString f = Plik("gap.ini");
        {
            QSettings s(f, QSettings::IniFormat);
            s.setValue("Comm", 5);
            s.setValue("ElmComm", 6);
            s.setValue("Comp", 0);
            // Lang missing: View and everything after keep their defaults.
            s.setValue("View", 2);
            s.setValue("WTop", 10);
            s.setValue("WLeft", 20);
            s.setValue("WWidth", 800);
            s.setValue("WHeight", 600);
            s.setValue("Color1400", 255);
        }
        TConfig c(f);
        QCOMPARE(c.Read(), 3);
        QCOMPARE(c.Comp(), 0);
        QCOMPARE(c.View(), 1);
        QVERIFY(!c.HasBounds());
        QCOMPARE(c.Colour(0), int64_t(-1));
    }

    // The language: the system's while no Lang is stored (also when the chain ends before it), the
    // stored one otherwise, out of range included.
    void firstStartLanguage_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<int>("lang");
        const QVariantMap none;
        const QVariantMap ports{{"Comm", 101}, {"ElmComm", 102}};
        const QVariantMap afterGap{{"Comm", 101}, {"ElmComm", 102}, {"Lang", 3}}; // Comp missing
        const QVariantMap notNumber{{"Comm", 1}, {"ElmComm", 1}, {"Comp", 3}, {"Lang", "en"}};
        auto chain = [](int lang) {
            return QVariantMap{{"Comm", 1}, {"ElmComm", 1}, {"Comp", 3}, {"Lang", lang}};
        };
        QTest::newRow("pl_PL, first start") << "pl_PL" << none << 1;
        QTest::newRow("en_US, first start") << "en_US" << none << 0;
        QTest::newRow("ru_RU, first start") << "ru_RU" << none << 2;
        QTest::newRow("es_MX, first start") << "es_MX" << none << 3;
        QTest::newRow("de_DE, first start") << "de_DE" << none << 0;
        QTest::newRow("es_ES, only the ports") << "es_ES" << ports << 3;
        QTest::newRow("en_GB, Lang after a gap") << "en_GB" << afterGap << 0;
        QTest::newRow("ru_RU, Lang not a number") << "ru_RU" << notNumber << 2;
        QTest::newRow("pl_PL, English stored") << "pl_PL" << chain(0) << 0;
        QTest::newRow("en_US, Spanish stored") << "en_US" << chain(3) << 3;
        QTest::newRow("en_US, 7 stored") << "en_US" << chain(7) << 1;
    }
    void firstStartLanguage() {
        QFETCH(QString, locale);
        QFETCH(QVariantMap, stored);
        QFETCH(int, lang);
        const QString f = Plik(QTest::currentDataTag());
        {
            QSettings s(f, QSettings::IniFormat);
            for (auto i = stored.cbegin(); i != stored.cend(); ++i)
                s.setValue(i.key(), i.value());
        }
        TConfig c(f);
        c.Read(QLocale(locale));
        QCOMPARE(c.Lang(), lang);
    }

    void notANumberEndsReading() {
        const QString f = Plik("text.ini");
        {
            QSettings s(f, QSettings::IniFormat);
            s.setValue("Comm", 5);
            s.setValue("ElmComm", "COM3");
            s.setValue("Comp", 0);
        }
        TConfig c(f);
        QCOMPARE(c.Read(), 1);
        QCOMPARE(c.Comm(), 5);
        QCOMPARE(c.ElmComm(), 1);
        QCOMPARE(c.Comp(), 3);
    }

    void coloursAndNegativeValues() {
        const QString f = Plik("colours.ini");
        {
            QSettings s(f, QSettings::IniFormat);
            for (const char *k : {"Comm", "ElmComm", "Comp", "Lang", "View", "WTop", "WLeft", "WState"})
                s.setValue(k, 0);
            s.setValue("WWidth", 900);
            s.setValue("WHeight", 650);
            for (int i = 0; i < TConfig::ColourCount; ++i)
                s.setValue(TConfig::ColourKey(i), 0x010203 + i);
            s.setValue("Color1410", -1);
            s.setValue("Color1608", 0x0000FF);
        }
        TConfig c(f);
        QCOMPARE(c.Read(), 10 + TConfig::ColourCount);
        QCOMPARE(c.Colour(0), int64_t(0x010203));
        QCOMPARE(c.Colour(5), int64_t(-1));           // Color1410 = -1 is ignored
        QCOMPARE(c.Colour(6), int64_t(0x010203 + 6)); // and does not end the reading
        QCOMPARE(c.Colour(33), int64_t(0x0000FF));
        QCOMPARE(c.Bounds(), QRect(0, 0, 900, 650));
        QCOMPARE(TConfig::ColourKey(18), QStringLiteral("Color1501"));
        QCOMPARE(TConfig::ColourKey(19), QStringLiteral("Color1601"));
    }

    void maximisedExitKeepsNormalBounds() {
        const QString f = Plik("max.ini");
        {
            TConfig c(f);
            c.Read();
            c.SetBounds(QRect(30, 40, 800, 600));
            c.SetWindowState(TConfig::StateNormal);
            QVERIFY(c.Write());
        }
        {
            TConfig c(f);
            c.Read();
            c.SetBounds(QRect(0, 0, 1920, 1080));
            c.SetWindowState(TConfig::StateMaximised);
            QVERIFY(c.Write());
        }
        TConfig c(f);
        c.Read();
        QCOMPARE(c.WindowStateValue(), int(TConfig::StateMaximised));
        QCOMPARE(c.Bounds(), QRect(30, 40, 800, 600));
    }

    void maximisedFirstExitStillWritesBounds() {
        // Without stored bounds a maximised exit writes the normal ones, so that the window state
        // and the colours after them are read at the next start.
        const QString f = Plik("max-first.ini");
        {
            TConfig c(f);
            c.Read();
            c.SetBounds(QRect(5, 6, 700, 500));
            c.SetWindowState(TConfig::StateMaximised);
            for (int i = 0; i < TConfig::ColourCount; ++i)
                c.SetColour(i, 0x000100 * i);
            c.SetColour(3, 0x123456);
            QVERIFY(c.Write());
        }
        TConfig c(f);
        c.Read();
        QCOMPARE(c.WindowStateValue(), int(TConfig::StateMaximised));
        QCOMPARE(c.Colour(3), int64_t(0x123456));
    }

    void linkKeyIsReadOnItsOwn() {
        const QString f = Plik("key.ini");
        {
            QSettings s(f, QSettings::IniFormat);
            s.setValue("LinkKey", 0x33);
        }
        TConfig c(f);
        c.Read();
        QCOMPARE(c.LinkKey(), uint8_t(0x33));
        {
            QSettings s(f, QSettings::IniFormat);
            s.setValue("LinkKey", 300);
        }
        c.Read();
        QCOMPARE(c.LinkKey(), Frame::DefaultLinkKey);
    }

    // The service report's workshop and the inspection allowance: read on their own; an allowance out
    // of 0 … 11 or not a number reads as 1, texts lose control characters (the address keeps its line
    // breaks) and stop at 200 characters.
    void workshopAndAllowance_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("allowance");
        QTest::newRow("strictest") << QVariant(0) << 0;
        QTest::newRow("all eleven") << QVariant(11) << 11;
        QTest::newRow("twelve") << QVariant(12) << 1;
        QTest::newRow("negative") << QVariant(-1) << 1;
        QTest::newRow("not a number") << QVariant(QStringLiteral("x")) << 1;
        QTest::newRow("missing") << QVariant() << 1;
    }
    void workshopAndAllowance() {
        QFETCH(QVariant, stored);
        const QString f = Plik("workshop.ini");
        QFile::remove(f);
        {
            QSettings s(f, QSettings::IniFormat);
            if (stored.isValid()) s.setValue("InspectionAllowance", stored);
            s.setValue("WorkshopName", QString(QStringLiteral("Gaz\tSerwis\n") + QString(250, u'x')));
            s.setValue("WorkshopAddress", QStringLiteral(" ul. Długa 5\n00-001 Warszawa\r"));
        }
        TConfig c(f);
        c.Read();
        QTEST(c.InspectionAllowance(), "allowance");
        QCOMPARE(c.WorkshopName().size(), 200);
        QVERIFY(c.WorkshopName().startsWith(QStringLiteral("Gaz Serwis x")));
        QCOMPARE(c.WorkshopAddress(), QStringLiteral("ul. Długa 5\n00-001 Warszawa"));
        QCOMPARE(c.WorkshopPhone(), QString());
        c.SetWorkshop(QStringLiteral("A"), QStringLiteral("B\nC"), QStringLiteral("123"));
        c.SetInspectionAllowance(3);
        QVERIFY(c.Write());
        TConfig d(f);
        d.Read();
        QCOMPARE(d.WorkshopAddress(), QStringLiteral("B\nC"));
        QCOMPARE(d.WorkshopPhone(), QStringLiteral("123"));
        QCOMPARE(d.InspectionAllowance(), 3);
    }

    // OBD polling: fast unless "as specified" (0) was stored; read on its own, kept by a write.
    void obdPolling() {
        const QString f = Plik("polling.ini");
        for (const auto &[stored, fast] : {std::pair<QVariant, bool>{QVariant(), true},
                                           {0, false},
                                           {1, true},
                                           {7, true},
                                           {QStringLiteral("x"), true}}) {
            QFile::remove(f);
            {
                QSettings s(f, QSettings::IniFormat);
                if (stored.isValid()) s.setValue("ObdPolling", stored);
            }
            TConfig c(f);
            c.Read();
            QCOMPARE(c.ObdFast(), fast);
            c.SetObdFast(!fast);
            QVERIFY(c.Write());
            TConfig d(f);
            d.Read();
            QCOMPARE(d.ObdFast(), !fast);
        }
    }

    // The Wi-Fi adapter's address: read on its own, only an address counts, and the window keeps it
    // while that adapter is in use and forgets it once a serial port is picked.
    void wifiAdapterAddress() {
        const QString f = Plik("wifi.ini");
        for (const auto &[stored, read] :
             {std::pair<QString, QString>{"192.168.0.10:35000", "192.168.0.10:35000"},
              {" obd.local:23 ", "obd.local:23"},
              {"/dev/ttyUSB0", ""},
              {"192.168.0.10", ""},
              {"", ""}}) {
            {
                QSettings s(f, QSettings::IniFormat);
                s.setValue("ElmHost", stored);
            }
            TConfig c(f);
            c.Read();
            QCOMPARE(c.ElmHost(), read);
        }

        TOkno o(-1, false, [](QSettings &s) { s.setValue("ElmHost", "127.0.0.1:35000"); });
        QVERIFY(o.w->Obd->PortIsTcp());
        QCOMPARE(o.w->Obd->PortPath, QStringLiteral("127.0.0.1:35000"));
        o.w->Obd->PortOnClick(101); // the adapter on a cable after all
        o.w->close();
        TConfig c(o.ini);
        c.Read();
        QCOMPARE(c.ElmHost(), QString());
        QCOMPARE(c.ElmComm(), 101);
    }

    // "OBD polling" in the "ELM" menu: the engine takes the choice at once, and the configuration at exit.
    void obdPollingFromTheMenu() {
        TOkno o(-1);
        QVERIFY(o.w->Obd->SzybkiPolling); // the default
        auto item = [&](int id) -> QAction * {
            o.w->MenuElm();
            for (QAction *a : o.w->MenuElmMenu->actions())
                if (a->text() == LangText(id)) return a;
            return nullptr;
        };
        QAction *spec = item(5001);
        QVERIFY(spec && spec->isCheckable() && !spec->isChecked());
        spec->trigger();
        QVERIFY(!o.w->Obd->SzybkiPolling);
        QVERIFY(item(5001)->isChecked() && !item(5002)->isChecked());
        o.w->close();
        TConfig c(o.ini);
        c.Read();
        QVERIFY(!c.ObdFast());
    }

    // The "ELM" menu's Wi-Fi item asks for the address, connects to it, and the address is kept at exit;
    // a text that is no address changes nothing.
    void wifiAdapterFromTheMenu() {
        TOkno o(-1);
        auto pick = [&](const QString &typed) {
            o.w->MenuElm();
            QAction *wifi = o.w->MenuElmMenu->actions().constLast();
            QVERIFY(wifi->text().startsWith(LangText(1115)));
            QTimer::singleShot(0, o.w.get(), [typed] {
                auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
                QVERIFY(box);
                box->setTextValue(typed);
                box->accept();
            });
            wifi->trigger();
        };
        const int opened = o.portObd->OpenCount;
        pick(QStringLiteral("192.168.0.10"));
        QVERIFY(!o.w->Obd->PortIsTcp());
        QCOMPARE(o.portObd->OpenCount, opened);
        pick(QStringLiteral(" 127.0.0.1:35001 "));
        QCOMPARE(o.w->Obd->PortPath, QStringLiteral("127.0.0.1:35001"));
        QCOMPARE(o.portObd->LastPath, QStringLiteral("127.0.0.1:35001"));
        o.w->MenuElm();
        QVERIFY(o.w->MenuElmMenu->actions().constLast()->isChecked());
        o.w->close();
        TConfig c(o.ini);
        c.Read();
        QCOMPARE(c.ElmHost(), QStringLiteral("127.0.0.1:35001"));
    }

    void workstationIdIsStable() {
        const QString f = Plik("machine-id");
        {
            QFile m(f);
            QVERIFY(m.open(QIODevice::WriteOnly));
            m.write("0123456789abcdef0123456789abcdef\n");
        }
        const uint32_t a = TConfig::WorkstationId(f);
        QVERIFY(a != 0);
        QCOMPARE(TConfig::WorkstationId(f), a);
        QCOMPARE(TConfig::WorkstationId(Plik("no-such-file")), 0u);
    }

    void folders() {
        QVERIFY(!TConfig::UtworzFoldery(QString()));
        QVERIFY(TConfig::UtworzFoldery(dir.path()));
        QVERIFY(QDir(dir.filePath("QERN/Tarven II/Scope")).exists());
        QVERIFY(QDir(TConfig::FolderUstawien(dir.path())).exists());
        QVERIFY(QDir(dir.filePath("QERN/Tarven II/Firmware")).exists());
    }

    // The firmware file box: the folder last used, else "Firmware" beside the program, else the
    // documents' one; a folder that is gone is passed over.
    void firmwareStartFolder() {
        const QString docs = Plik("docs"), program = Plik("program"), last = Plik("last");
        const QString gone = Plik("gone"), bare = Plik("bare");
        QVERIFY(TConfig::UtworzFoldery(docs));
        QVERIFY(QDir().mkpath(program + "/Firmware") && QDir().mkpath(last) && QDir().mkpath(bare));
        const struct {
            QString remembered, program, docs, start;
        } rows[] = {
            {last, program, docs, last},
            {gone, program, docs, program + "/Firmware"},
            {QString(), bare, docs, TConfig::FolderFirmware(docs)},
            {gone, bare, bare, QString()},
            {QString(), QString(), QString(), QString()},
        };
        for (const auto &r : rows)
            QCOMPARE(TConfig::FolderStartowyFirmware(r.remembered, r.program, r.docs), r.start);
    }

    // ---- the window with its store

    void windowFirstRunCreatesStoreAtExit() {
        TOkno o(-1);
        QVERIFY(!QFile::exists(o.ini));
        QCOMPARE(o.w->LangIndex, 1);
        QCOMPARE(o.w->ViewIndex, 1);
        QCOMPARE(o.w->SchemeIndex, 3);
        QCOMPARE(o.S().PortNumber, 1);
        QCOMPARE(o.w->Obd->PortNumber, 1);
        o.w->close();
        QVERIFY(QFile::exists(o.ini));
        TConfig c(o.ini);
        QCOMPARE(c.Read(), 10 + TConfig::ColourCount);
        QCOMPARE(c.Lang(), 1);
        QCOMPARE(c.Colour(0), int64_t(o.S().Wykresy[1].Colour));
    }

    // The window's first start speaks the system's language and stores it at the exit, so the next
    // start is the same whatever the system says then.
    void windowFirstStartLanguage() {
        for (const auto &[language, lang] : {std::pair{QLocale::English, 0}, {QLocale::Spanish, 3}}) {
            TOkno first(-1, false, {}, QLocale(language));
            QCOMPARE(first.w->LangIndex, lang);
            QVERIFY(first.w->ActLang[size_t(lang)]->isChecked());
            first.w->close();
            QCOMPARE(QSettings(first.ini, QSettings::IniFormat).value("Lang").toInt(), lang);
            TOkno next(-1, false, Zostawione(first.ini), QLocale(QLocale::Russian));
            QCOMPARE(next.w->LangIndex, lang);
        }
    }

    // The firmware file box starts in the documents' Firmware folder, and next time (the next start
    // too) in the folder an image was last taken from, even one the controller refused.
    void windowRemembersTheFirmwareFolder() {
        const QString images = Plik("images");
        QVERIFY(QDir().mkpath(images));
        QFile img(images + "/old.img");
        QVERIFY(img.open(QIODevice::WriteOnly));
        img.write("not an image");
        img.close();
        auto pick = [](TOkno &o, const QString &file) {
            QString shown;
            QTimer::singleShot(0, o.w.get(), [&] {
                auto *box = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                QVERIFY(box);
                shown = box->directory().absolutePath();
                if (file.isEmpty()) {
                    box->reject();
                    return;
                }
                box->selectFile(file);
                QTest::keyClick(box, Qt::Key_Return); // Open
            });
            o.w->AktualizacjaClick();
            return shown;
        };
        TOkno o(0);
        // An update is only for a connected controller; the file is checked before any backup.
        QVERIFY(o.S().PortConnected() || o.S().PortOpen(1));
        QCOMPARE(pick(o, QString()), TConfig::FolderFirmware(o.w->DocumentsFolder));
        QCOMPARE(pick(o, img.fileName()), TConfig::FolderFirmware(o.w->DocumentsFolder));
        QCOMPARE(o.boxes.size(), 1); // the file was refused
        QCOMPARE(pick(o, QString()), images);
        o.w->close();
        TOkno next(0, false, Zostawione(o.ini));
        QVERIFY(next.S().PortConnected() || next.S().PortOpen(1));
        QCOMPARE(pick(next, QString()), images);
    }

    void windowAppliesStoredValues() {
        TOkno o(-1, false, [](QSettings &s) {
            s.setValue("Comm", 1024);
            s.setValue("ElmComm", 702);
            s.setValue("Comp", 9);
            s.setValue("Lang", 7);
            s.setValue("View", 0);
        });
        QCOMPARE(o.w->SchemeIndex, 3);
        QCOMPARE(o.w->LangIndex, 1);
        QCOMPARE(o.w->ViewIndex, 0);
        QCOMPARE(o.w->Obd->PortNumber, 702);
        QVERIFY(o.w->ActLang[1]->isChecked());
        QVERIFY(o.w->ActColor[3]->isChecked());
        QVERIFY(o.w->ActView[0]->isChecked());
    }

    void windowSeriesColours() {
        uint32_t builtIn1400 = 0;
        {
            TOkno plain(-1);
            builtIn1400 = plain.S().Wykresy[1].Colour;
        }
        TOkno o(-1, false, [](QSettings &s) {
            for (const char *k : {"Comm", "ElmComm", "Comp", "Lang", "View", "WTop", "WLeft", "WState"})
                s.setValue(k, 0);
            s.setValue("WWidth", 900);
            s.setValue("WHeight", 650);
            for (int i = 0; i < TConfig::ColourCount; ++i)
                s.setValue(TConfig::ColourKey(i), -1);
            s.setValue("Color1410", 0x0000FF);
        });
        QCOMPARE(o.S().Wykresy[1].Colour, builtIn1400); // -1 keeps the built-in colour
        QCOMPARE(o.S().Wykresy[6].Colour, 0x0000FFu);   // reducer temperature drawn red
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
