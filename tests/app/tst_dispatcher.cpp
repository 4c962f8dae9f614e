// The dispatcher of device events: fuel-change history, error report, trace lines, caption, OBD
// adapter state, calibration progress.
#include "Okno.h"
#include "app/TFormAdmin.h"
#include "app/TPanelPrawy.h"
#include "obd/ui/TPanelObd.h"
#include "widgets/TRichBox.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

class TestDispatcher : public QObject {
    Q_OBJECT

    // Polling replies before the one under test (which is itself a sample of the scope).
    static void Probki(TOkno &o, int n) {
        o.Zero();
        for (int i = 0; i < n; ++i)
            o.Odpowiedz();
    }

private slots:
    void fuelChangeWithReason() {
        TOkno o;
        Probki(o, 14); // the reply under test is sample 15: 1.5 s
        o.S().RxBuffer[6] = 0xF0;
        o.S().RxBuffer[7] = 16;
        o.Odpowiedz();
        const QStringList l = o.w->RichEditInfo->Linie();
        QCOMPARE(l.size(), 1);
        QCOMPARE(l[0], QStringLiteral("1.5 [s]\t\t") + LangText(2016));
        QCOMPARE(LangText(2016), QStringLiteral("OBD corrections exceeded"));
    }

    void fuelChangeUnknownReasonAndLongTime() {
        TOkno o;
        Probki(o, 124); // 12.5 s: the text alone is 8 characters, one TAB
        o.S().RxBuffer[6] = 0xF0;
        o.S().RxBuffer[7] = 18;
        o.Odpowiedz();
        QCOMPARE(o.w->RichEditInfo->Linie().value(0), QStringLiteral("12.5 [s]\t"));
    }

    void fuelChangeReasons32To35() {
        TOkno o;
        o.Zero();
        o.S().RxBuffer[6] = 0xF0;
        o.S().RxBuffer[7] = 0x22;
        o.Odpowiedz();
        QVERIFY(o.w->RichEditInfo->Linie().value(0).endsWith(LangText(2020)));
    }

    void shortPollingReplyIgnored() {
        TOkno o;
        o.Zero();
        o.S().RxBuffer[6] = 0xF0;
        o.S().RxBuffer[7] = 1;
        o.w->Zdarzenie(0, 0x90, 4, 0);
        QVERIFY(o.w->RichEditInfo->Linie().isEmpty());
    }

    void errorReportInjectors() {
        TOkno o;
        o.Zero();
        o.S().RxBuffer[10] = 0x05;
        o.w->Zdarzenie(0, 0x82, 70, 0);
        const QStringList l = o.w->RichEditBledy->Linie();
        QCOMPARE(l,
                 QStringList({LangText(1940) + QStringLiteral(" 1"), LangText(1940) + QStringLiteral(" 3")}));
    }

    void errorReportWithoutStoredSection() {
        TOkno o;
        o.Zero();
        o.S().RxBuffer[6] = 0x01;
        for (int i = 13; i <= 68; ++i)
            o.S().RxBuffer[i] = 7;
        o.S().StatusBytes[1] = 0x00;
        o.w->Zdarzenie(0, 0x82, 70, 0);
        QCOMPARE(o.w->RichEditBledy->Linie(), QStringList({LangText(1901)}));
    }

    void errorReportStoredCounters() {
        TOkno o;
        o.Zero();
        o.S().RxBuffer[7] = 0x04; // bit 2 of byte 7 carries no error
        o.S().RxBuffer[13] = 3;   // byte 6 bit 0
        o.S().RxBuffer[23] = 9;   // byte 7 bit 2: no error, not shown
        o.S().RxBuffer[45] = 2;   // byte 10 bit 0: injector 1
        o.S().StatusBytes[1] = 0x10;
        o.w->Zdarzenie(0, 0x82, 70, 0);
        const QStringList l = o.w->RichEditBledy->Linie();
        QCOMPARE(l, QStringList({QString(), QLatin1Char('\t') + LangText(1233) + QLatin1Char(':'), QString(),
                                 QStringLiteral("3 x ") + LangText(1901),
                                 QStringLiteral("2 x ") + LangText(1940) + QStringLiteral(" 1")}));
        // A new report replaces the old one.
        o.S().StatusBytes[1] = 0;
        o.Zero();
        o.w->Zdarzenie(0, 0x82, 70, 0);
        QVERIFY(o.w->RichEditBledy->Linie().isEmpty());
    }

    void fileLoadedAndLinkRestart() {
        TOkno o;
        o.S().LastFileName = QStringLiteral("/home/u/auto.set");
        o.w->Zdarzenie(4, 0, 0, 0);
        QCOMPARE(o.w->windowTitle(), o.w->BaseTitle + QStringLiteral(" - [/home/u/auto.set]"));
        QCOMPARE(o.w->ConnectTag, -1);
        o.w->Zdarzenie(3, 0, 0, 0);
        QCOMPARE(o.w->windowTitle(), o.w->BaseTitle);
    }

    void baseTitle() {
        QCOMPARE(TForm1::TytulBazowy(QStringLiteral("2.0.2.0")), QStringLiteral("TARVEN v2.02"));
        QCOMPARE(TForm1::TytulBazowy(QStringLiteral("2.1.13")), QStringLiteral("TARVEN v2.113"));
        QCOMPARE(TForm1::TytulBazowy(QStringLiteral("x")), QStringLiteral("TARVEN ver 2.01"));
    }

    void identification() {
        TOkno o;
        o.S().Identyfikacja[5] = 0;
        o.S().NewBoard = 0;
        o.w->Zdarzenie(0, 0x81, 64, 0);
        QVERIFY(o.w->windowTitle().startsWith(o.w->BaseTitle + QStringLiteral("  -  ")));
        QVERIFY(o.w->windowTitle().contains(QStringLiteral(" v")));
        QCOMPARE(o.w->PanelStatus->text(), QStringLiteral("CONNECTED"));
        QVERIFY(o.w->TabObd[1]->isHidden());
        QVERIFY(o.w->TabObd[2]->isHidden());
        QVERIFY(o.w->TabObd[0]->isChecked());
        o.S().NewBoard = 1;
        o.w->Zdarzenie(0, 0x81, 64, 0);
        QVERIFY(!o.w->TabObd[2]->isHidden());
        // Bootloader: the base title alone, the sub-tabs as they are.
        o.S().Identyfikacja[5] = 1;
        o.w->Zdarzenie(0, 0x81, 64, 0);
        QCOMPARE(o.w->windowTitle(), o.w->BaseTitle);
        QVERIFY(!o.w->TabObd[2]->isHidden());
    }

    void traceLines() {
        TOkno o;
        o.Zero();
        uint8_t *rx = o.S().RxBuffer;
        rx[17] = 2;
        rx[18] = 0x0C;
        rx[19] = 0xAB;
        o.w->Zdarzenie(0, 0x70, 20, 0);
        rx[17] = 1;
        rx[18] = 2;
        rx[19] = 0x41;
        rx[20] = 0x0d;
        rx[21] = 0x99; // beyond the count in byte 18
        o.w->Zdarzenie(0, 0x70, 30, 0);
        rx[18] = 200; // a count past the frame end stops at the frame end
        o.w->Zdarzenie(0, 0x70, 21, 0);
        rx[17] = 0; // no trace
        o.w->Zdarzenie(0, 0x70, 30, 0);
        QCOMPARE(o.w->PanelObd->RichEditDtc->Linie(),
                 QStringList({QStringLiteral("  PID: 0C AB"), QStringLiteral("  RXD: 02    41 0D"),
                              QStringLiteral("  RXD: C8    41 0D")}));
    }

    void obdAdapterState() {
        TOkno o;
        o.w->SpeedButton1Click(0);
        o.w->Zdarzenie(100, 100, 0, 1);
        QCOMPARE(o.w->PanelRight->PokazanyObrazekObd(), QStringLiteral("RC_OBD_ON"));
        QCOMPARE(o.w->CurrentTab, 0);
        o.w->Zdarzenie(100, 100, -1, 0);
        QCOMPARE(o.w->PanelRight->PokazanyObrazekObd(), QStringLiteral("RC_OBD_OFF"));
        QCOMPARE(o.w->CurrentTab, 5);
        o.w->SpeedButton1Click(1);
        o.w->Zdarzenie(100, 100, 6, 0);
        QCOMPARE(o.w->PanelRight->PokazanyObrazekObd(), QStringLiteral("RC_OBD_CAN"));
        QCOMPARE(o.w->CurrentTab, 5);
    }

    void framesSentChangeNothing() {
        TOkno o;
        const QString title = o.w->windowTitle();
        const int tab = o.w->CurrentTab;
        o.w->Zdarzenie(1, 0x90, 6, 0);
        o.w->Zdarzenie(3, 1, 0, 0);
        o.w->Zdarzenie(100, 5, 1, 0);
        o.w->Zdarzenie(0, 0x55, 10, 0);
        QCOMPARE(o.w->windowTitle(), title);
        QCOMPARE(o.w->CurrentTab, tab);
        QVERIFY(o.boxes.isEmpty());
    }

    void communicationLog() {
        TOkno o;
        QVERIFY(!o.S().OnTekst);
        o.w->FormAdmin->Dodaj(QStringLiteral("dropped"), 0); // hidden window: dropped
        o.w->ActTransmisja->setChecked(true);
        QVERIFY(o.w->FormAdmin->isVisible());
        QVERIFY(o.S().OnTekst);
        QVERIFY(o.w->Obd->OnTekst);
        o.S().Log(QStringLiteral("\n  TX: 65 00"), KolorNiebieski);
        o.w->Obd->DoOnTekst(QStringLiteral("ATZ"), 0x008000);
        QCOMPARE(o.w->FormAdmin->Log->Linie(), QStringList({"  TX: 65 00", "ATZ"}));
        o.w->ActVerbose->setChecked(true);
        QCOMPARE(o.S().VerboseLog, uint8_t(1));
        o.w->ActVerbose->setChecked(false);
        QCOMPARE(o.S().VerboseLog, uint8_t(0));
        QTest::mouseDClick(o.w->FormAdmin->Log->viewport(), Qt::LeftButton);
        QVERIFY(o.w->FormAdmin->Log->Linie().isEmpty());
        o.w->ActTransmisja->setChecked(false);
        QVERIFY(!o.w->FormAdmin->isVisible());
        QVERIFY(!o.S().OnTekst);
        QVERIFY(!o.w->Obd->OnTekst);
        // Closing the window takes the tick away too.
        o.w->ActTransmisja->setChecked(true);
        o.w->FormAdmin->close();
        QVERIFY(!o.w->ActTransmisja->isChecked());
        QVERIFY(!o.S().OnTekst);
    }

    void calibrationProgress() {
        TOkno o;
        o.w->SpeedButton1Click(1);
        o.w->Zdarzenie(2, 1, 0, 0);
        QVERIFY(!o.w->ProgressBar1->isHidden());
        QCOMPARE(o.w->Btn[3]->text(), LangText(1263) + QStringLiteral("  [Enter]"));
        o.w->Zdarzenie(2, 2, 0, 512);
        QCOMPARE(o.w->ProgressBar1->value(), 512);
        o.w->Zdarzenie(2, 4, 0, 0);
        QVERIFY(o.w->ProgressBar1->isHidden());
        QCOMPARE(o.w->Btn[3]->text(), LangText(1261) + QStringLiteral("  [Enter]"));
        QCOMPARE(o.boxes, QStringList({QStringLiteral("Autocalibration aborted")}));
        o.w->Zdarzenie(2, 1, 0, 0);
        o.w->Zdarzenie(2, 5, 0, 0);
        QCOMPARE(o.boxes.size(), 1); // stopped by the user: no box
        o.w->Zdarzenie(2, 3, 0, 0);
        QCOMPARE(o.boxes.size(), 2);
        QVERIFY(o.boxes[1].contains(LangText(1294)));
    }
};

QTEST_MAIN(TestDispatcher)
#include "tst_dispatcher.moc"
