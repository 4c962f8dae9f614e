// The OBD panel on screen: the engine's grids and trouble-code box, PID toggling by click, double
// click and Enter, the vehicle page, the confirmation before clearing codes, and the firmware
// progress window.
#include "Okno.h"
#include "dialogs/TFormProg.h"
#include "obd/ui/TPanelObd.h"
#include "obd/ui/TWidokPojazdu.h"
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

    void vehiclePage() {
        TOkno o;
        o.w->SpeedButton1Click(5);
        o.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(o.w.get()));
        TPanelObd *panel = o.w->PanelObd;
        QTest::mouseClick(panel->SpeedButton43, Qt::LeftButton);
        TWidokPojazdu *page = panel->Pojazd;
        QVERIFY(page->isVisible() && !panel->StringGridPid->isVisible() && !panel->RichEditDtc->isVisible());
        QCOMPARE(o.w->Obd->MyPojazd, static_cast<TObdPojazdWidok *>(page));

        TObdEcuPojazdu e;
        e.adres = 0x7E8;
        e.adresTekst = QStringLiteral("7E8");
        e.status = DekodujGotowosc(QByteArray::fromHex("8107E505"), false); // catalyst, evap incomplete
        e.vin = QStringLiteral("WVWZZZ1JZXW000001");
        e.kalibracje = QStringList{"TRV1A2B3C4D5E6F", "TRVGAS0720"};
        TObdPojazd v;
        v.ecu = {e};
        o.w->Obd->MyPojazd->PokazPojazd(v);
        QCOMPARE(page->LiniaStatusu->text(),
                 QStringLiteral("MIL lamp: on     Stored codes: 1     Ignition: spark"));
        TSiatka *g = page->Siatka;
        auto row = [&](const QString &first) {
            for (int r = 0; r < g->rowCount(); ++r)
                if (g->Komorka(0, r) == first) return r;
            return -1;
        };
        const int catalyst = row(QStringLiteral("Catalyst")), o2 = row(QStringLiteral("Oxygen sensor"));
        QVERIFY(catalyst > 0 && o2 > 0);
        QCOMPARE(g->Komorka(2, catalyst), QStringLiteral("No"));
        QCOMPARE(g->Komorka(3, catalyst), QStringLiteral("not available"));
        QCOMPARE(g->Komorka(2, o2), QStringLiteral("Yes"));
        QCOMPARE(g->Komorka(1, row(QStringLiteral("VIN"))), QStringLiteral("WVWZZZ1JZXW000001"));
        QCOMPARE(g->Komorka(1, row(QStringLiteral("Freeze frame"))), QStringLiteral("none stored"));
        // An incomplete monitor is drawn on the scheme's warning colour, a complete one is not.
        g->scrollToTop();
        const QImage shot = g->viewport()->grab().toImage();
        auto colourAt = [&](int r, int c) {
            const QRect cell = g->visualRect(g->model()->index(r, c));
            return shot.pixelColor(cell.right() - 2, cell.center().y());
        };
        QCOMPARE(colourAt(catalyst, 2), Kolor(o.w->Paleta.WarningBox));
        QVERIFY(colourAt(o2, 2) != Kolor(o.w->Paleta.WarningBox));

        // "Read" starts the engine's vehicle steps.
        o.w->Obd->Stan = 1000;
        QTest::mouseClick(page->PrzyciskCzytaj, Qt::LeftButton);
        o.w->Obd->PetlaZadan();
        QCOMPARE(o.w->Obd->Stan, 5000);
        o.w->Obd->PetlaZadan();
        QCOMPARE(page->LiniaStatusu->text(), QStringLiteral("Reading…"));
    }

    void clearingCodesAsksFirst() {
        TOkno o;
        o.w->SpeedButton1Click(5);
        o.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(o.w.get()));
        QPushButton *clear = o.w->Btn[1];
        QCOMPARE(clear->property("tag").toInt(), 392);
        o.w->Obd->Stan = 1000;
        o.answer = 7; // No
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(o.boxes.size(), 1);
        QVERIFY2(o.boxes[0].contains(QLatin1String("freeze frame")) &&
                     o.boxes[0].contains(QLatin1String("incomplete")),
                 qPrintable(o.boxes[0]));
        QCOMPARE(o.w->Obd->Stan, 1000);
        o.answer = 6; // Yes
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(o.w->Obd->Stan, 4000);
        // After the clear the vehicle page is read again, so the monitors show what they are now.
        o.w->Obd->PetlaZadan();
        o.w->Obd->CzekaNaOdpowiedz = 0;
        o.w->Obd->PetlaZadan();
        QCOMPARE(o.w->Obd->Stan, 5000);
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
