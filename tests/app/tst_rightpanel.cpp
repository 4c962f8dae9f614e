// The right panel and the status panel fed with polling replies.
#include "Okno.h"
#include "app/TPanelPrawy.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>

class TestRightPanel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void injectionTimes() {
        TOkno o;
        o.Zero();
        o.S().InjectorCount = 4;
        uint8_t *rx = o.S().RxBuffer;
        rx[60] = 625 & 0xFF;
        rx[61] = 625 >> 8;
        rx[62] = 250; // gas 1.00 ms
        o.Odpowiedz();
        TSiatka *g = o.w->PanelRight->StringGridCzasyWtr;
        QCOMPARE(g->rowCount(), 4);
        QCOMPARE(g->Komorka(1, 0), QStringLiteral("2.50"));
        QCOMPARE(g->Komorka(3, 0), QStringLiteral("1.00"));
        QCOMPARE(g->Komorka(1, 3), QStringLiteral("0.00"));
        const int writes = g->LiczbaZapisow();
        o.Odpowiedz(); // the same reply again rewrites nothing
        QCOMPARE(g->LiczbaZapisow(), writes);
        rx[60] = 0;
        o.Odpowiedz(); // one changed value, one written cell
        QCOMPARE(g->LiczbaZapisow(), writes + 1);
        QCOMPARE(g->Komorka(1, 0), QStringLiteral("2.05")); // 512 × 0.004
    }

    void collapseToOneRow() {
        TOkno o(0, true);
        o.w->MenuView0Click(2);
        o.Zero();
        o.S().InjectorCount = 4;
        o.Odpowiedz();
        TPanelPrawy *p = o.w->PanelRight;
        QCOMPARE(p->StringGridCzasyWtr->rowCount(), 4);
        QVERIFY(!p->BtnParamIng->isHidden());
        p->BtnParamIng->click();
        QCOMPARE(p->BtnParamIng->text(), QStringLiteral("+"));
        QCOMPARE(p->StringGridCzasyWtr->rowCount(), 1);
        o.Odpowiedz();
        QCOMPARE(p->StringGridCzasyWtr->rowCount(), 1);
        p->BtnParamIng->click();
        QCOMPARE(p->BtnParamIng->text(), QStringLiteral("-"));
        QCOMPARE(p->StringGridCzasyWtr->rowCount(), 4);
        // Leaving the advanced view expands a collapsed grid.
        p->BtnParamIng->click();
        o.w->MenuView0Click(1);
        QCOMPARE(p->StringGridCzasyWtr->rowCount(), 4);
        QVERIFY(p->BtnParamIng->isHidden());
    }

    void switchBoxes() {
        TOkno o;
        o.S().InjectorMask = 0xFF;
        o.S().Nastawy[31] = 0x04; // gas injector 3 kept on petrol
        TSiatka *g = o.w->PanelRight->StringGridCzasyWtr;
        emit g->cellClicked(0, 2); // row 0, column 2
        QCOMPARE(o.S().InjectorMask, uint8_t(0xFE & ~0x04));
        QCOMPARE(o.S().InjectorMaskPending, uint8_t(1));
        o.S().InjectorMaskPending = 0;
        emit g->cellClicked(2, 2); // injector 3 stays off, but the mask is sent
        QCOMPARE(o.S().InjectorMask & 0x04, 0);
        QCOMPARE(o.S().InjectorMaskPending, uint8_t(1));
        o.S().InjectorMaskPending = 0;
        emit g->cellClicked(1, 1); // other columns do nothing
        QCOMPARE(o.S().InjectorMaskPending, uint8_t(0));
    }

    void waitingReasonOnOddSeconds() {
        TOkno o;
        o.Zero();
        uint8_t *rx = o.S().RxBuffer;
        rx[10] = 0;
        rx[11] = 0x03;
        rx[6] = 10;
        rx[7] = 0x05;
        o.w->SecondsCounter = 1;
        o.Odpowiedz();
        QCOMPARE(o.w->PanelStatus->text(), LangText(1813));
        QCOMPARE(o.w->PanelStatus->font().pointSize(), 8);
        o.w->SecondsCounter = 2;
        o.Odpowiedz();
        QCOMPARE(o.w->PanelStatus->text(), o.S().StrStanPracy(0x0300, 1));
        QCOMPARE(o.w->PanelStatus->font().pointSize(), 10);
        // Group 1: bit 1 then bit 2, the highest wins.
        rx[6] = 1;
        rx[7] = 0x06;
        o.w->SecondsCounter = 3;
        o.Odpowiedz();
        QCOMPARE(o.w->PanelStatus->text(), LangText(1803));
    }

    void diagnosticsCaptionColour() {
        TOkno o;
        o.Zero();
        o.S().RxBuffer[11] = 0x08;
        o.Odpowiedz();
        // Red and dark green, each as dark as the tab's face needs (scheme 3: 0xA00000 and 0x005B00).
        QCOMPARE(o.w->TabMain[3]->palette().color(QPalette::ButtonText), QColor(160, 0, 0));
        o.S().RxBuffer[11] = 0x10;
        o.Odpowiedz();
        QCOMPARE(o.w->TabMain[3]->palette().color(QPalette::ButtonText), QColor(0, 0x5B, 0));
        o.S().RxBuffer[11] = 0;
        o.Odpowiedz();
        QCOMPARE(o.w->TabMain[3]->palette().color(QPalette::ButtonText), Kolor(o.w->NormalDiagColour));
    }

    void protocolPictures() {
        QCOMPARE(TPanelPrawy::NazwaObrazkaObd(0), QStringLiteral("RC_OBD_ON"));
        QCOMPARE(TPanelPrawy::NazwaObrazkaObd(12), QStringLiteral("RC_OBD_ON"));
        QCOMPARE(TPanelPrawy::NazwaObrazkaObd(-1), QStringLiteral("RC_OBD_OFF"));
        QCOMPARE(TPanelPrawy::NazwaObrazkaObd(1), QStringLiteral("RC_OBD_PWM"));
        QCOMPARE(TPanelPrawy::NazwaObrazkaObd(2), QStringLiteral("RC_OBD_VPW"));
        QCOMPARE(TPanelPrawy::NazwaObrazkaObd(5), QStringLiteral("RC_OBD_ISO"));
        QCOMPARE(TPanelPrawy::NazwaObrazkaObd(9), QStringLiteral("RC_OBD_CAN"));
        for (const char *n :
             {"RC_OBD_ON", "RC_OBD_OFF", "RC_OBD_PWM", "RC_OBD_VPW", "RC_OBD_ISO", "RC_OBD_CAN"})
            QVERIFY2(!QImage(QStringLiteral(":/img/%1.png").arg(QLatin1String(n))).isNull(), n);
        QCOMPARE(QImage(QStringLiteral(":/img/RC_CEN_BMP.png")).size(), QSize(91, 91));
        QCOMPARE(QImage(QStringLiteral(":/img/RC_LOGO_BMP.png")).size(), QSize(700, 482));
    }

    void lamps() {
        TOkno o;
        o.Zero();
        uint8_t *rx = o.S().RxBuffer;
        rx[13] = 0x20 | 0x01; // lamp 1 green, lamp 5 red
        rx[14] = 0x02;        // lamp 6 green
        o.Odpowiedz();
        const QImage &img = o.w->PanelRight->Przelacznik();
        QCOMPARE(img.pixelColor(15, 16), QColor(0, 0xA0, 0));
        QCOMPARE(img.pixelColor(15, 31), QColor(0, 0, 0));
        QCOMPARE(img.pixelColor(15, 76), QColor(200, 0, 0));
        QCOMPARE(img.pixelColor(74, 16), QColor(0, 0xA0, 0));
        // A scheme change draws the switch anew and forgets the lamps; the next reply paints them.
        o.w->MenuColor0Click(5);
        QVERIFY(o.w->PanelRight->Przelacznik().pixelColor(15, 16) != QColor(0, 0xA0, 0));
        o.Odpowiedz();
        QCOMPARE(o.w->PanelRight->Przelacznik().pixelColor(15, 16), QColor(0, 0xA0, 0));
    }

    void readingsGrid() {
        TOkno o;
        o.Zero();
        o.Odpowiedz();
        TSiatka *g = o.w->PanelRight->StringGridParametry;
        const int n = o.S().PodajIleParamBiez(WykresReadings);
        QVERIFY(n > 0);
        QCOMPARE(g->rowCount(), n);
        for (int i = 0; i < n; ++i) {
            const QString t = o.S().StrParamBiez(WykresReadings, i);
            if (!t.isEmpty()) QCOMPARE(g->Komorka(1, i), t);
        }
        const int writes = g->LiczbaZapisow();
        o.Odpowiedz();
        QCOMPARE(g->LiczbaZapisow(), writes);
    }
};

QTEST_MAIN(TestRightPanel)
#include "tst_rightpanel.moc"
