// Views and colour schemes: palette tables, the advanced view's extras, the forced basic series,
// the administrator keys.
#include "Okno.h"
#include "app/TPanelPrawy.h"
#include "widgets/TPaleta.h"

#include <QPushButton>
#include <QToolButton>

class TestViews : public QObject {
    Q_OBJECT

private slots:
    void paletteTables() {
        const TPaleta p5 = PaletaSchematu(5);
        QCOMPARE(p5.Background, 0x000000u);
        QCOMPARE(p5.Text, 0xC0C0C0u);
        QCOMPARE(p5.EditableText, 0x00BE00u);
        QCOMPARE(p5.MapBackground, 0x323232u);
        QCOMPARE(p5.ScopeBackground, 0x323232u);
        QCOMPARE(p5.ValueCell, p5.NameCell); // dark variant
        const TPaleta p2 = PaletaSchematu(2);
        QCOMPARE(p2.Background, 0xD2D2D2u);
        QCOMPARE(p2.FixedCells, 0xF0F0F0u); // background lighter by 30
        QCOMPARE(p2.ValueCell, p2.Box);     // light variant
        QCOMPARE(p2.MapCurve, 0x800080u);
        const TPaleta p0 = PaletaSchematu(0);
        QCOMPARE(p0.Background, uint32_t(SysButtonFace));
        QCOMPARE(Kolor(p0.Background), QApplication::palette().color(QPalette::Button));
        QCOMPARE(PaletaSchematu(9).Background, PaletaSchematu(3).Background);
    }

    void colourHelpers() {
        QCOMPARE(Kolor(0x0000FF), QColor(255, 0, 0));
        QCOMPARE(KolorWartosc(QColor(1, 2, 3)), 0x030201u);
        QCOMPARE(Jasniejszy(0xF0F0F0, 30), 0xFFFFFFu);
        QCOMPARE(Jasniejszy(0x101010, -20), 0x000000u);
    }

    void schemeFiveOnTheWindow() {
        TOkno o;
        o.w->MenuColor0Click(5);
        QCOMPARE(o.w->SchemeIndex, 5);
        QVERIFY(o.w->ActColor[5]->isChecked());
        QCOMPARE(o.w->centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 0));
        QCOMPARE(o.w->centralWidget()->palette().color(QPalette::WindowText), QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(o.w->Paleta.EditableText, 0x00BE00u);
        QCOMPARE(o.w->PanelRight->palette().color(QPalette::Window), QColor(0, 0, 0));
    }

    void advancedToBasicOnObdSubTab3() {
        TOkno o;
        o.w->MenuView0Click(2);
        QVERIFY(!o.w->TabObd[3]->isHidden());
        o.w->SpeedButton1Click(4);
        QVERIFY(!o.w->PanelLeft->isHidden()); // advanced: the scope channel list is shown
        o.w->SpeedButton1Click(5);
        o.w->WybierzPodzakladkeObd(3);
        o.w->SpeedButton31Click();
        QCOMPARE(o.w->PodzakladkaObd(), 3);
        o.w->MenuView0Click(0);
        QCOMPARE(o.w->PodzakladkaObd(), 0);
        QVERIFY(o.w->TabObd[3]->isHidden());
        QVERIFY(o.w->PanelLeft->isHidden());
        o.w->SpeedButton1Click(4);
        QVERIFY(o.w->PanelLeft->isHidden());
    }

    void basicSeriesForced() {
        TOkno o;
        o.w->MenuView0Click(2);
        for (int k : {1, 3, 4, 6, 7})
            o.S().Wykresy[size_t(k)].Flags &= ~(WykresDrawn | WykresReadings);
        o.w->MenuView0Click(1);
        for (int k : {1, 3, 4, 6, 7})
            QCOMPARE(o.S().Wykresy[size_t(k)].Flags & 0x30, 0x30);
    }

    void advancedButtonsOnTheRightPanel() {
        TOkno o;
        o.w->MenuView0Click(1);
        QVERIFY(o.w->PanelRight->BtnZwin->isHidden());
        QVERIFY(o.w->PanelRight->BtnParam->isHidden());
        o.w->MenuView0Click(2);
        QVERIFY(!o.w->PanelRight->BtnZwin->isHidden());
        o.w->PanelRight->BtnZwin->click();
        QVERIFY(o.w->RightCollapsed);
        o.w->MenuView0Click(0); // basic and full views bring the right panel back
        QVERIFY(!o.w->RightCollapsed);
    }

    void adminKeys() {
        TOkno plain;
        plain.w->FormKeyDown(Qt::Key_K, {});
        plain.w->FormKeyDown(Qt::Key_H, {});
        plain.w->FormKeyDown(Qt::Key_J, {});
        plain.w->FormKeyDown(Qt::Key_Q, {});
        QCOMPARE(plain.w->SchemeIndex, 3);
        QCOMPARE(plain.w->ViewIndex, 1);
        QCOMPARE(plain.w->LangIndex, 0);
        QCOMPARE(plain.w->AdminFlag, 0);

        TOkno o(0, true);
        o.w->MenuColor0Click(5);
        o.w->FormKeyDown(Qt::Key_K, {});
        QCOMPARE(o.w->SchemeIndex, 0);
        o.w->MenuView0Click(2);
        o.w->FormKeyDown(Qt::Key_H, {});
        QCOMPARE(o.w->ViewIndex, 0);
        o.w->FormKeyDown(Qt::Key_J, {});
        QCOMPARE(o.w->LangIndex, 1);
        QCOMPARE(o.w->TabMain[0]->text(), LangText(1200) + QStringLiteral(" [F1]"));
        QCOMPARE(LangText(1200), QStringLiteral("Ustawienia"));
        o.w->FormKeyDown(Qt::Key_Q, {});
        QCOMPARE(o.w->AdminFlag, 3);
        QVERIFY(o.w->MenuAdmAction->isVisible());
        QCOMPARE(o.S().ExtendedView, uint8_t(1));
        o.w->FormKeyDown(Qt::Key_Q, {});
        QCOMPARE(o.w->AdminFlag, 1);
        QVERIFY(!o.w->MenuAdmAction->isVisible());
    }

    void sizePresets() {
        TOkno o;
        o.w->UstawRozmiar(800, 600);
        QCOMPARE(o.w->size(), QSize(800, 600));
        o.w->UstawRozmiar(100, 100);
        QCOMPARE(o.w->size(), QSize(640, 480)); // never below the minimum
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
