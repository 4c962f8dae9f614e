// The dialogs of the settings grid: the nozzle estimate, the injector-correction rows, the level
// sensor's poll mode and lamps, the small settings window, the injection-type matrix and the readings
// chooser; every change through the catalogue's setter.
#include "device/TSterownik.h"
#include "dialogs/TDialogi.h"
#include "dialogs/TFormCal.h"
#include "dialogs/TFormInj.h"
#include "dialogs/TFormLevel.h"
#include "dialogs/TFormNastaw.h"
#include "dialogs/TFormParam.h"
#include "dialogs/TFormSeq.h"
#include "dialogs/TStrzalki.h"
#include "lang/LangText.h"
#include "link/SerialBackend.h"
#include "settings/TKatalogNastaw.h"
#include "widgets/TPaleta.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <array>
#include <cstring>
#include <memory>

class TstDialogs : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QWidget> okno;
    std::unique_ptr<TSterownik> s;
    std::unique_ptr<TKatalogNastaw> k;
    std::shared_ptr<TMemoryPort> port;
    std::unique_ptr<TDialogi> d;
    TPaleta paleta = PaletaSchematu(3);
    const uint32_t zapis = 1u << BitNastawy;

    void Grab(QWidget *w, const char *name);

private slots:
    void init();
    void cleanup();
    void nozzleEstimate_data();
    void nozzleEstimate();
    void nozzlePressureCorrections();
    void calculatorPresetsAndKeepsPower();
    void injectorRows_data();
    void injectorRows();
    void injectorStepQueuesOneWrite();
    void levelPollModeClearedOnEveryExit_data();
    void levelPollModeClearedOnEveryExit();
    void levelLampsAndVoltage();
    void levelOrderCheck_data();
    void levelOrderCheck();
    void levelTypeChangeMovesArrows();
    void smallSettingsVolumeSoundsBuzzer();
    void sequenceMatrixClicks();
    void readingsChooserToggles();
    void pictures();
};

void TstDialogs::init() {
    LangSetLanguage(0);
    QLocale::setDefault(QLocale::c());
    okno = std::make_unique<QWidget>();
    s = std::make_unique<TSterownik>();
    s->StopTimer();
    port = std::make_shared<TMemoryPort>();
    s->UseBackend(port);
    QVERIFY(s->PortOpen(1));
    k = std::make_unique<TKatalogNastaw>(s.get());
    k->UtworzNastawy();
    k->NastawyDomyslne();
    k->OnBeep = [] {};
    s->WriteRequests = 0;
    d = std::make_unique<TDialogi>(okno.get(), k.get(), &paleta);
}

void TstDialogs::cleanup() {
    d.reset();
    okno.reset(); // the dialogs go with their owner
    k.reset();
    s.reset();
}

// TARVEN_GRAB=folder saves each dialog's picture there, to be looked at.
void TstDialogs::Grab(QWidget *w, const char *name) {
    const QString dir = qEnvironmentVariable("TARVEN_GRAB");
    if (!dir.isEmpty()) w->grab().save(dir + QStringLiteral("/%1.png").arg(QLatin1String(name)));
}

void TstDialogs::nozzleEstimate_data() {
    QTest::addColumn<int>("power");
    QTest::addColumn<bool>("kW");
    QTest::addColumn<int>("cylinders");
    QTest::addColumn<int>("pressure");
    QTest::addColumn<bool>("cng");
    QTest::addColumn<int>("injection");
    QTest::addColumn<int>("injector");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("unit");
    // 100 / 4 x 0.0625 + 0.2 - 0.05 = 1.7125
    QTest::newRow("100 HP") << 100 << false << 4 << 2 << false << 0 << 2 << "1.7" << true;
    // 135.96 / 4 x 0.0625 + 0.2 - 0.05 = 2.274
    QTest::newRow("100 kW") << 100 << true << 4 << 2 << false << 0 << 2 << "2.3" << true;
    // 200 / 8 x 0.0625 + 0.2 + 0 = 1.7625
    QTest::newRow("8 cylinders") << 200 << false << 8 << 1 << false << 0 << 2 << "1.8" << true;
    // 1.5625 + 0.2 + 0.2 (CNG) - 0.1 (semi) + 0.2 (type 1) = 2.0625
    QTest::newRow("cng semi type 1") << 100 << false << 4 << 1 << true << 1 << 1 << "2.1" << true;
    // 1.00 bar: 25 / 1 x 0.0625 + 0.2 + 0.1 = 1.8625; full group - 0.2
    QTest::newRow("1.00 bar full group") << 25 << false << 1 << 0 << false << 2 << 2 << "1.7" << true;
    // 128 / 4 x 0.0625 + 0.2 = 2.2
    QTest::newRow("class B") << 128 << false << 4 << 1 << false << 0 << 9 << "B red" << false;
    QTest::newRow("class C") << 100 << false << 4 << 2 << false << 0 << 8 << "C black" << false;
    QTest::newRow("class A") << 160 << false << 4 << 1 << false << 0 << 10 << "A green" << false;
    QTest::newRow("class A+") << 200 << false << 4 << 1 << false << 0 << 8 << "A+ blue" << false;
    // 25 / 12 x 0.0625 + 0.2 - 0.30 - 0.2 = -0.17: no diameter
    QTest::newRow("tiny engine") << 25 << false << 12 << 12 << false << 2 << 2 << "\u2014" << true;
    // 25 / 10 x 0.0625 + 0.2 - 0.30 - 0.1 = -0.044
    QTest::newRow("rounds to nothing") << 25 << false << 10 << 12 << false << 1 << 2 << "\u2014" << true;
}

void TstDialogs::nozzleEstimate() {
    QFETCH(int, power);
    QFETCH(bool, kW);
    QFETCH(int, cylinders);
    QFETCH(int, pressure);
    QFETCH(bool, cng);
    QFETCH(int, injection);
    QFETCH(int, injector);
    const TWynikDyszy w = ObliczDysze(power, kW, cylinders, pressure, cng, injection, injector);
    QFETCH(QString, text);
    QFETCH(bool, unit);
    QCOMPARE(w.Tekst, text);
    QCOMPARE(w.Jednostka, unit);
}

// Entries 3 … 12 of the pressure list (1.30 … 2.20 bar) on 100 HP / 4 cylinders: 1.5625 + 0.2 + correction.
void TstDialogs::nozzlePressureCorrections() {
    const double correction[] = {-0.10, -0.15, -0.20, -0.20, -0.25, -0.25, -0.25, -0.30, -0.30};
    for (int entry = 3; entry <= 11; ++entry)
        QVERIFY2(qAbs(ObliczDysze(100, false, 4, entry, false, 0, 2).Srednica -
                      (1.7625 + correction[entry - 3])) < 1e-9,
                 qPrintable(QString::number(entry)));
}

void TstDialogs::calculatorPresetsAndKeepsPower() {
    s->Nastawy[86] = 98; // 0.98 bar presets 1.00
    s->Nastawy[24] = 2;
    TFormCal *f = d->FormCal;
    QCOMPARE(d->Przygotuj(TDialogiNastaw::Kalkulator, QFont()), f);
    QCOMPARE(f->ComboBox3->currentIndex(), 0);
    QCOMPARE(f->ComboBox6->currentIndex(), 1); // injector type 2, the list starts at 1
    s->Nastawy[86] = 120;
    d->Przygotuj(TDialogiNastaw::Kalkulator, QFont());
    QCOMPARE(f->Edit2->text(), QStringLiteral("1.7"));
    f->ComboBox1->setCurrentIndex(1); // kW
    QCOMPARE(f->Edit2->text(), QStringLiteral("2.3"));
    f->UpDown1->Krok(1);
    f->ComboBox2->setCurrentIndex(6); // 8 cylinders
    s->Nastawy[86] = 250;
    d->Przygotuj(TDialogiNastaw::Kalkulator, QFont());
    QCOMPARE(f->Edit1->text(), QStringLiteral("101")); // power and cylinders kept between openings
    QCOMPARE(f->ComboBox2->currentText(), QStringLiteral("8"));
    QCOMPARE(f->ComboBox1->currentIndex(), 0); // the unit back to horsepower
    QCOMPARE(f->ComboBox3->currentIndex(), 5); // 2.50 bar presets 1.50
    QCOMPARE(s->WriteRequests, 0u);            // it writes nothing
    f->UpDown1->UstawPozycje(25);
    f->UpDown1->Krok(-1);
    QCOMPARE(f->UpDown1->Pozycja(), 25);
    f->Edit1Change(QStringLiteral("1001")); // typed: taken only within the limits
    QCOMPARE(f->UpDown1->Pozycja(), 25);
    f->Edit1Change(QStringLiteral("200"));
    QCOMPARE(f->UpDown1->Pozycja(), 200);
    f->UpDown1->Krok(1);
    QCOMPARE(f->Edit1->text(), QStringLiteral("201"));
}

void TstDialogs::injectorRows_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("height");
    QTest::newRow("8") << 8 << 8 << 350;
    QTest::newRow("6") << 6 << 6 << 290;
    QTest::newRow("4") << 4 << 4 << 230;
    QTest::newRow("5") << 5 << 5 << 260;
    QTest::newRow("3") << 3 << 3 << 200;
    QTest::newRow("0") << 0 << 1 << 140;
    QTest::newRow("12") << 12 << 8 << 350;
}

void TstDialogs::injectorRows() {
    QFETCH(int, count);
    QFETCH(int, rows);
    QFETCH(int, height);
    TFormInj *f = d->FormInj;
    s->InjectorCount = 6; // an earlier opening must not decide the rows of this one
    d->Przygotuj(TDialogiNastaw::KorektyWtryskiwaczy, QFont());
    s->InjectorCount = uint8_t(count);
    d->Przygotuj(TDialogiNastaw::KorektyWtryskiwaczy, QFont());
    QCOMPARE(f->PokazaneWiersze(), rows);
    QCOMPARE(f->height(), height);
    for (int n = 0; n < 8; ++n) {
        QCOMPARE(f->Edit[size_t(n)]->isVisibleTo(f), n < rows);
        QCOMPARE(f->UpDown[size_t(n)]->isVisibleTo(f), n < rows);
    }
}

void TstDialogs::injectorStepQueuesOneWrite() {
    TFormInj *f = d->FormInj;
    s->Nastawy[218] = 128;
    d->Przygotuj(TDialogiNastaw::KorektyWtryskiwaczy, QFont());
    QCOMPARE(s->WriteRequests, 0u);
    QTest::mouseClick(f->UpDown[2]->Prawa, Qt::LeftButton);
    QCOMPARE(int(s->Nastawy[218]), 129);
    QCOMPARE(s->WriteRequests, zapis);
    QCOMPARE(f->Edit[2]->text(), k->TekstNastawy(218, 129));
    QVERIFY(f->Edit[2]->text() != k->TekstNastawy(218, 128));
    // The arrows stop at 78 although the item allows less.
    s->Nastawy[219] = 79;
    d->Przygotuj(TDialogiNastaw::KorektyWtryskiwaczy, QFont());
    f->UpDown[3]->Krok(-1);
    f->UpDown[3]->Krok(-1);
    QCOMPARE(int(s->Nastawy[219]), 78);
}

void TstDialogs::levelPollModeClearedOnEveryExit_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("Esc") << 0;
    QTest::newRow("close box") << 1;
    QTest::newRow("OK") << 2;
    QTest::newRow("owner closing") << 3;
    QTest::newRow("owner destroyed") << 4;
}

void TstDialogs::levelPollModeClearedOnEveryExit() {
    QFETCH(int, how);
    s->PollMode = 1; // calibration polling stays as it was
    QDialog *f = d->Przygotuj(40, QFont());
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QCOMPARE(s->PollMode, 3u);
    switch (how) {
    case 0: QTest::keyClick(f, Qt::Key_Escape); break;
    case 1: f->close(); break;
    case 2: QTest::mouseClick(d->FormLevel->Ok, Qt::LeftButton); break;
    case 3: d->Zamknij(); break;
    case 4: okno.reset(); break;
    }
    QCOMPARE(s->PollMode, 1u);
    if (okno) QVERIFY(!f->isVisible());
}

void TstDialogs::levelLampsAndVoltage() {
    TFormLevel *f = d->FormLevel;
    d->Przygotuj(40, QFont())->show();
    uint8_t rx[92] = {};
    rx[13] = 0x3C;
    rx[50] = 44;
    f->NowyOdczyt(rx);
    for (int lamp = 1; lamp <= 4; ++lamp)
        QCOMPARE(f->KolorLampki(lamp), TFormLevel::Zielony);
    QCOMPARE(f->KolorLampki(0), TFormLevel::Szary);
    QCOMPARE(f->EditNapiecie->text(), QStringLiteral("0.88"));
    rx[13] = 0x01 | 0x08; // reserve warning, lamp 2
    f->NowyOdczyt(rx);
    QCOMPARE(f->KolorLampki(0), TFormLevel::Czerwony);
    QCOMPARE(f->KolorLampki(2), TFormLevel::Zielony);
    QCOMPARE(f->KolorLampki(4), TFormLevel::Szary);
    rx[13] = 0x03; // the fill bit wins over the warning bit
    f->NowyOdczyt(rx);
    QCOMPARE(f->KolorLampki(0), TFormLevel::Zielony);
    // Opened again with an open-circuit sensor: a steady 255 (5.10 V, every lamp bit) is shown too.
    f->reject();
    d->Przygotuj(40, QFont())->show();
    std::memset(rx, 255, sizeof rx);
    f->NowyOdczyt(rx);
    QCOMPARE(f->EditNapiecie->text(), QStringLiteral("5.10"));
    QCOMPARE(f->KolorLampki(4), TFormLevel::Zielony);
    Grab(f, "level");
    f->reject();
}

void TstDialogs::levelOrderCheck_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("t");
    QTest::addColumn<QList<bool>>("red");
    QTest::newRow("growing defaults")
        << 0 << QList<int>{44, 39, 20, 8} << QList<bool>{false, false, false, false};
    QTest::newRow("growing 43 raised")
        << 0 << QList<int>{44, 39, 40, 8} << QList<bool>{false, true, true, false};
    QTest::newRow("growing 44 raised")
        << 2 << QList<int>{44, 39, 20, 30} << QList<bool>{false, false, true, true};
    QTest::newRow("falling, growing values")
        << 1 << QList<int>{44, 39, 20, 8} << QList<bool>{true, true, true, true};
    QTest::newRow("falling in order")
        << 3 << QList<int>{8, 20, 39, 44} << QList<bool>{false, false, false, false};
    QTest::newRow("equal is in order")
        << 1 << QList<int>{9, 9, 9, 9} << QList<bool>{false, false, false, false};
}

void TstDialogs::levelOrderCheck() {
    QFETCH(int, type);
    QFETCH(QList<int>, t);
    QFETCH(QList<bool>, red);
    TFormLevel *f = d->FormLevel;
    d->Przygotuj(40, QFont())->show();
    s->Nastawy[40] = uint8_t(type);
    for (int i = 0; i < 4; ++i)
        s->Nastawy[41 + i] = uint8_t(t[i]);
    f->Wypelnij();
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(f->CzerwonyProg(i), red[i]);
        QCOMPARE(f->Prog[size_t(i)]->palette().color(QPalette::Text),
                 red[i] ? QColor(238, 0, 0) : QColor(0, 0, 0)); // red that reads on the white field
    }
    f->reject();
}

void TstDialogs::levelTypeChangeMovesArrows() {
    TFormLevel *f = d->FormLevel;
    d->Przygotuj(40, QFont())->show();
    f->UpDownClick(43, 40);
    QCOMPARE(int(s->Nastawy[43]), 40);
    QCOMPARE(s->WriteRequests, zapis);
    f->ComboBox1Change(1);
    QCOMPARE(int(s->Nastawy[40]), 1);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(f->UpDown[size_t(i)]->Pozycja(), int(s->Nastawy[41 + i])); // no wait: at once
    const int t41 = s->Nastawy[41];
    f->UpDown[0]->Krok(1);
    QCOMPARE(int(s->Nastawy[41]), std::min(t41 + 1, 255));
    f->reject();
}

void TstDialogs::smallSettingsVolumeSoundsBuzzer() {
    TFormNastaw *f = d->FormNastaw;
    s->Nastawy[98] = 3;
    d->Przygotuj(96, QFont());
    QCOMPARE(f->Pozycja(2), 98);
    QVERIFY(f->ComboBox1->isVisibleTo(f));
    QCOMPARE(f->ComboBox1->count(), 4);
    f->UpDown[2]->Krok(1);
    QCOMPARE(int(s->Nastawy[98]), 4);
    QCOMPARE(int(s->SpeakerTestPending), 1);
    QCOMPARE(s->WriteRequests, zapis);
    s->SpeakerTestPending = 0;
    f->UpDown[1]->Krok(1); // brightness: no buzzer
    QCOMPARE(int(s->SpeakerTestPending), 0);
    d->Przygotuj(57, QFont());
    QVERIFY(!f->Label[2]->isVisibleTo(f));
    QVERIFY(f->Label[1]->text().endsWith(QStringLiteral("[°C]")));
    QVERIFY(!d->Przygotuj(58, QFont())); // no dialog behind other items
}

void TstDialogs::sequenceMatrixClicks() {
    TFormSeq *f = d->FormSeq;
    s->InjectorCount = 8;
    k->UstawNastawe(8, 0); // factory assignment: petrol signal r drives gas injector r
    s->InjectorMask = 0xFF;
    d->Przygotuj(8, QFont());
    for (int c = 1; c <= 8; ++c) {
        QCOMPARE(f->Komorki(c, c), 2);
        QCOMPARE(f->Komorki(c, c % 8 + 1), 0);
        QVERIFY(!f->KrzyzKolumny(c) && !f->KrzyzWiersza(c));
    }
    s->WriteRequests = 0;
    s->InjectorMaskPending = 0;
    f->KlikMacierzy(3, 3);
    QCOMPARE(int(s->Nastawy[34]), 0);
    QVERIFY(s->Nastawy[31] & 0x04);
    QVERIFY(f->KrzyzKolumny(3) && f->KrzyzWiersza(3));
    QCOMPARE(int(s->InjectorMask), 0xFB);
    QCOMPARE(int(s->InjectorMaskPending), 1);
    QCOMPARE(s->WriteRequests, zapis);
    f->KlikMacierzy(3, 1);
    QCOMPARE(int(s->Nastawy[32]), 0x05);
    QCOMPARE(int(s->Nastawy[31]), 0);
    f->KlikWiersza(2); // gas injector 3 is driven: the click frees it (kept on petrol)
    QCOMPARE(int(s->Nastawy[32]), 0x01);
    f->KlikWiersza(2); // kept on petrol: driven by petrol signal 3 again
    QCOMPARE(int(s->Nastawy[34]), 0x04);
    uint8_t rx[92] = {};
    rx[21] = 0x01; // one petrol signal at a time, engine at rest
    f->NowyOdczyt(rx);
    QCOMPARE(f->Edit1->text(), k->TekstNastawy(8, 0));
    // From 2000 rpm (bytes 17-18 x 10: 200, then 256) or with byte 19 at 60 the detection holds: every
    // signal at once changes nothing.
    rx[21] = 0xFF;
    for (const auto &b : {std::array<int, 3>{200, 0, 0}, {0, 1, 0}, {0, 0, 60}}) {
        rx[17] = uint8_t(b[0]), rx[18] = uint8_t(b[1]), rx[19] = uint8_t(b[2]);
        f->NowyOdczyt(rx);
        QCOMPARE(f->Edit1->text(), k->TekstNastawy(8, 0));
    }
    Grab(f, "seq");
    s->InjectorCount = 5;
    d->Przygotuj(8, QFont())->show();
    QTRY_VERIFY(!f->isVisible()); // only 4, 6 and 8 channels
}

void TstDialogs::readingsChooserToggles() {
    TFormParam *f = static_cast<TFormParam *>(d->PrzygotujParametry(QFont()));
    QVERIFY(f->Wiersze() > 0);
    QCOMPARE(f->Wiersze(), s->PodajIleParamBiez(WykresChooser));
    const int i = f->Seria(0);
    const bool before = f->Zaznaczony(0);
    f->Przelacz(0);
    QCOMPARE(bool(s->Wykresy[size_t(i)].Flags & WykresReadings), !before);
    QCOMPARE(f->height(), f->Wiersze() * (TFormParam::WysokoscWiersza + 1) + 44);
    Grab(f, "param");
}

// Every dialog in two schemes, for looking at (TARVEN_GRAB); each must at least show its caption.
void TstDialogs::pictures() {
    for (int scheme : {0, 3, 4}) {
        paleta = PaletaSchematu(scheme);
        for (int item :
             {int(TDialogiNastaw::Kalkulator), int(TDialogiNastaw::KorektyWtryskiwaczy), 8, 40, 57, 63, 96}) {
            QDialog *w = d->Przygotuj(item, QFont());
            QVERIFY(w->windowTitle().startsWith(QStringLiteral("TARVEN")));
            QCOMPARE(w->palette().color(QPalette::Window), Kolor(paleta.Background));
            Grab(w, qPrintable(QStringLiteral("dlg%1_%2").arg(item).arg(scheme)));
        }
    }
}

QTEST_MAIN(TstDialogs)
#include "tst_dialogs.moc"
