// The OBD panel on screen: the engine's grids and trouble-code box, PID toggling by click, double
// click and Enter, and the firmware progress window.
#include "Okno.h"
#include "app/TPanelObd.h"
#include "dialogs/TFormProg.h"
#include "widgets/TRichBox.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

class TestObdPanel : public QObject {
    Q_OBJECT

private slots:
    void engineWritesCells() {
        TOkno o;
        TObdGrid *g = o.w->Obd->MyGridStatus;
        QVERIFY(g);
        g->SetColCount(2);
        g->SetRowCount(7);
        g->SetCell(0, 3, QStringLiteral("OBD:"));
        g->SetCell(1, 3, QStringLiteral("CAN (11 bit ID, 500 kb)"), ObdGreen);
        QCOMPARE(g->Cell(1, 3), QStringLiteral("CAN (11 bit ID, 500 kb)"));
        QCOMPARE(o.w->PanelObd->StringGridElm->KolorKomorki(1, 3), ObdGreen);
        const int writes = o.w->PanelObd->StringGridElm->LiczbaZapisow();
        g->SetCell(1, 3, QStringLiteral("CAN (11 bit ID, 500 kb)"), ObdGreen);
        QCOMPARE(o.w->PanelObd->StringGridElm->LiczbaZapisow(), writes);
        g->SetCell(1, 9, QStringLiteral("x")); // past the end: the grid grows, nothing breaks
        QCOMPARE(g->RowCount(), 10);
        g->SetCell(-1, 0, QStringLiteral("y"));
    }

    void troubleCodeBox() {
        TOkno o;
        o.w->Obd->MyRichDtc->Append(QStringLiteral("P0301"), ObdRed);
        o.w->Obd->MyRichDtc->Append(QStringLiteral("P0420"));
        QCOMPARE(o.w->PanelObd->RichEditDtc->Linie(), QStringList({"P0301", "P0420"}));
        o.w->PanelObd->RichEditDtc->Wypisz();
        QCOMPARE(o.w->PanelObd->RichEditDtc->toPlainText(), QStringLiteral("P0301\nP0420"));
        o.w->Obd->MyRichDtc->Clear();
        QVERIFY(o.w->PanelObd->RichEditDtc->Linie().isEmpty());
        QVERIFY(o.w->PanelObd->RichEditDtc->toPlainText().isEmpty());
    }

    void pidGridToggling() {
        TOkno o;
        TObd &obd = *o.w->Obd;
        obd.Pidy[0x0C].obslugiwany = 1;
        obd.Pidy[0x0C].odpytywany = 0;
        obd.OpiszPid();
        TSiatka *grid = o.w->PanelObd->StringGridPid;
        QCOMPARE(grid->rowCount(), int(obd.Pidy.size()));
        QCOMPARE(grid->Komorka(1, 0x0C), QStringLiteral("off"));
        grid->setCurrentCell(0x0C, 1);
        emit grid->cellClicked(0x0C, 1);
        QCOMPARE(obd.Pidy[0x0C].odpytywany, uint8_t(1));
        QCOMPARE(grid->Komorka(1, 0x0C), QStringLiteral("on"));
        grid->setCurrentCell(0x0C, 2);
        emit grid->cellDoubleClicked(0x0C, 2);
        QCOMPARE(obd.Pidy[0x0C].odpytywany, uint8_t(0));
        emit grid->EnterWcisniety();
        QCOMPARE(obd.Pidy[0x0C].odpytywany, uint8_t(1));
        // Unsupported rows do not change.
        obd.Pidy[0x0A].obslugiwany = 0;
        grid->setCurrentCell(0x0A, 1);
        emit grid->cellClicked(0x0A, 1);
        QCOMPARE(obd.Pidy[0x0A].odpytywany, uint8_t(0));
        QCOMPARE(grid->Komorka(1, 0x0A), QStringLiteral("x"));
    }

    void connectButtonOpensAdapter() {
        TOkno o;
        const int before = o.portObd->OpenCount;
        o.w->SpeedButton1Click(5);
        o.w->Btn[3]->click(); // "Connect", tag 390
        QCOMPARE(o.portObd->OpenCount, before + 1);
        QVERIFY(o.w->Obd->PortConnected());
    }

    void firmwareProgressWindow() {
        TFormProg p;
        p.Przygotuj(Qt::black, Qt::white, QStringLiteral("TARVEN - Firmware update"),
                    QStringLiteral("Updating"));
        QCOMPARE(p.size(), QSize(640, 200));
        p.show();
        QCOMPARE(p.Timer1.interval(), 5000);
        QCOMPARE(p.Label2->text(), QStringLiteral("0%"));
        p.Postep(112 * 100 / 224);
        QCOMPARE(p.ProgressBar1->value(), 50);
        QCOMPARE(p.Label2->text(), QStringLiteral("50%"));
        QCOMPARE(p.Timer1.interval(), 1000);
        p.Timer1Timer(); // the watchdog closes the window
        QVERIFY(!p.isVisible());
        p.show();
        p.Koniec();
        QVERIFY(!p.isVisible());
        QVERIFY(!p.Timer1.isActive());
    }

    void firmwareProgressFromTheLink() {
        TOkno o;
        o.w->FormProg->show();
        o.S().OnFirmwareProgress(25);
        QCOMPARE(o.w->FormProg->Label2->text(), QStringLiteral("25%"));
        o.S().OnFirmwareDone();
        QVERIFY(!o.w->FormProg->isVisible());
    }
};

QTEST_MAIN(TestObdPanel)
#include "tst_obdpanel.moc"
