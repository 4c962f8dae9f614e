// Tabs, sub-tabs, action buttons, hot keys and confirmations.
#include "Okno.h"
#include "obd/ui/TPanelObd.h"
#include "widgets/TRichBox.h"

#include <QLineEdit>
#include <QPushButton>

class TestTabs : public QObject {
    Q_OBJECT

    static QList<int> Widoczne(TOkno &o) {
        QList<int> tags;
        for (QPushButton *b : o.w->Btn)
            if (!b->isHidden()) tags << b->property("tag").toInt();
        return tags;
    }

private slots:
    void settingsTab() {
        TOkno o;
        o.w->SpeedButton1Click(0);
        QCOMPARE(Widoczne(o), QList<int>({101}));
        QCOMPARE(o.w->Btn[3]->text(), LangText(1260));
        QVERIFY(o.w->TabMain[0]->isChecked());
    }

    void rpmCorrectionSubTabByView() {
        TOkno o;
        o.w->MenuView0Click(0);
        o.w->SpeedButton1Click(2);
        o.w->WybierzPodzakladkeMapy(1);
        o.w->SpeedButton11Click();
        QCOMPARE(Widoczne(o), QList<int>({323}));
        QCOMPARE(o.w->Btn[0]->text(), LangText(1272));
        o.w->MenuView0Click(1);
        o.w->WybierzPodzakladkeMapy(1);
        o.w->SpeedButton11Click();
        QCOMPARE(Widoczne(o), QList<int>({321, 322, 323}));
    }

    void mapSubTabs() {
        TOkno o;
        o.w->SpeedButton1Click(2);
        o.w->WybierzPodzakladkeMapy(0);
        o.w->SpeedButton11Click();
        QCOMPARE(Widoczne(o), QList<int>({311, 312, 313}));
        QVERIFY(!o.w->PanelNasInfoObd->isHidden()); // settings page 20 docked below
        o.w->WybierzPodzakladkeMapy(2);
        o.w->SpeedButton11Click();
        QCOMPARE(Widoczne(o), QList<int>({331}));
        QVERIFY(o.w->PanelNasInfoObd->isHidden());
        // The pressed caption takes the selected-tab colour at once, the others the text colour.
        const auto kolor = [&](int i) {
            return o.w->TabMapy[size_t(i)]->palette().color(QPalette::ButtonText);
        };
        QCOMPARE(kolor(2), Kolor(o.w->Paleta.SelectedTab));
        QCOMPARE(kolor(0), Kolor(o.w->Paleta.Text));
        o.w->WybierzPodzakladkeMapy(-1);
        o.w->SpeedButton11Click();
        QVERIFY(Widoczne(o).isEmpty());
        QCOMPARE(kolor(2), Kolor(o.w->Paleta.Text));
    }

    void f3CyclesMapSubTabs() {
        TOkno o(0, true);
        o.w->FormKeyDown(Qt::Key_Q, {}); // administrator mode: the second row is there, F3 still cycles 0-4
        o.w->FormKeyDown(Qt::Key_F3, {});
        QCOMPARE(o.w->CurrentTab, 2);
        QCOMPARE(o.w->PanelTopTab2->height(), 50);
        QVERIFY(!o.w->TabMapy[6]->isHidden());
        QVERIFY(!o.w->TabMapy[7]->isHidden());
        QList<int> seen;
        for (int i = 0; i < 6; ++i) {
            seen << o.w->PodzakladkaMapy();
            o.w->FormKeyDown(Qt::Key_F3, {});
        }
        QCOMPARE(seen, QList<int>({0, 1, 2, 3, 4, 0}));
        o.w->WybierzPodzakladkeMapy(7);
        o.w->FormKeyDown(Qt::Key_F3, {});
        QCOMPARE(o.w->PodzakladkaMapy(), 0);
        o.w->FormKeyDown(Qt::Key_Q, {});
        QCOMPARE(o.w->PanelTopTab2->height(), 25);
        QVERIFY(o.w->TabMapy[6]->isHidden());
    }

    void f6StepsObdSubTabs() {
        TOkno o;
        o.w->FormKeyDown(Qt::Key_F6, {});
        QCOMPARE(o.w->CurrentTab, 5);
        QList<int> seen;
        for (int i = 0; i < 5; ++i) {
            seen << o.w->PodzakladkaObd();
            o.w->FormKeyDown(Qt::Key_F6, {});
        }
        QCOMPARE(seen, QList<int>({0, 1, 2, 3, 0}));
    }

    void obdSubTabs() {
        TOkno o;
        o.w->SpeedButton1Click(5);
        o.w->WybierzPodzakladkeObd(0);
        o.w->SpeedButton31Click();
        QCOMPARE(Widoczne(o), QList<int>({391, 392, 390}));
        QVERIFY(o.w->PanelObd->ZakladkiWidoczne());
        o.w->PanelObd->SpeedButton41->click();
        QVERIFY(!o.w->PanelObd->RichEditDtc->isHidden());
        QVERIFY(o.w->PanelObd->StringGridPid->isHidden());
        o.w->PanelObd->SpeedButton42->click();
        QVERIFY(o.w->PanelObd->RichEditDtc->isHidden());
        o.w->WybierzPodzakladkeObd(2);
        o.w->SpeedButton31Click();
        QCOMPARE(Widoczne(o), QList<int>({395, 396}));
        QVERIFY(!o.w->PanelObd->ZakladkiWidoczne());
        o.w->SpeedButton1Click(0);
        QVERIFY(o.w->PanelObd->isHidden());
    }

    void diagnosticsTabRequestsErrors() {
        TOkno o;
        o.S().OtherRequests = 0;
        o.w->FormKeyDown(Qt::Key_F4, {});
        QCOMPARE(o.w->CurrentTab, 3);
        QVERIFY(o.S().OtherRequests & ReqReadErrors);
        QCOMPARE(Widoczne(o), QList<int>({402, 403, 401}));
        o.w->Btn[0]->click();
        QCOMPARE(o.S().SpeakerTestPending, uint8_t(1));
        o.w->Btn[1]->click();
        QCOMPARE(o.S().LeakTestPending, uint8_t(1));
        o.w->Btn[3]->click();
        QCOMPARE(o.S().EraseErrorsPending, uint8_t(1));
    }

    void confirmations() {
        TOkno o;
        o.S().Mapy[MapaA][5] = 77;
        o.answer = 7; // No
        o.w->Akcja(311);
        QCOMPARE(o.S().Mapy[MapaA][5], uint8_t(77));
        QCOMPARE(o.boxes, QStringList({LangText(2101)}));
        o.answer = 6; // Yes
        o.w->Akcja(311);
        QCOMPARE(o.S().Mapy[MapaA][5], uint8_t(0));
        o.w->Akcja(999); // no entry: nothing, no box
        QCOMPARE(o.boxes.size(), 2);
    }

    void keysReachWindowFromTextFields() {
        TOkno o;
        o.w->Edit1->show();
        o.w->Edit1->setFocus();
        QApplication::setActiveWindow(o.w.get());
        QTest::keyClick(o.w->Edit1, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(o.w->LeftCollapsed, false); // collapsed at start, so L shows it
        QTest::keyClick(o.w->Edit1, Qt::Key_L);
        QCOMPARE(o.w->LeftCollapsed, true);
        QTest::keyClick(o.w->Edit1, Qt::Key_R);
        QCOMPARE(o.w->RightCollapsed, true);
        QVERIFY(o.w->Edit1->text().contains(QLatin1Char('r'))); // the field got the key too
        QTest::keyClick(o.w->Edit1, Qt::Key_Space);
        QCOMPARE(o.S().FuelAutoPending, uint8_t(1));
        QTest::keyClick(o.w->Edit1, Qt::Key_F11);
        QCOMPARE(o.S().FuelFastPending, uint8_t(1));
    }

    // The administrator's demonstration maps: cell (rpm column c, load row r) is byte c x 16 + r, and
    // the injection time rises mostly with load, so a step down a column outweighs one along a row.
    void demoMapsRiseWithLoad() {
        TOkno o;
        o.w->Demo();
        const uint8_t *a = o.S().Mapy[MapaA];
        const int along = a[6 * 16 + 9] - a[6 * 16 + 6];  // column 6, rows 6 -> 9 (load)
        const int across = a[9 * 16 + 6] - a[6 * 16 + 6]; // row 6, columns 6 -> 9 (rpm)
        QVERIFY2(along > across, qPrintable(QStringLiteral("%1 %2").arg(along).arg(across)));
        QCOMPARE(o.S().WriteRequests & 0xF30000u, 0xF30000u);
    }

    void languageRelabelsAtOnce() {
        TOkno o;
        QCOMPARE(o.w->TabMain[3]->text(), QStringLiteral("Diagnostics [F4]"));
        o.w->MenuLangClick(1);
        QCOMPARE(o.w->TabMain[3]->text(), QStringLiteral("Diagnostyka [F4]"));
        QCOMPARE(o.w->Btn[3]->text(), LangText(1260)); // the current tab's buttons follow
    }
};

QTEST_MAIN(TestTabs)
#include "tst_tabs.moc"
