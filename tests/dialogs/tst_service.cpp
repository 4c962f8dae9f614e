// The service and device windows: the next inspection, the reminder box, the history grid, the
// refresh after the history read, and a settings write the link refuses.
#include "app/Okno.h"
#include "app/core/LangText.h"
#include "dialogs/TFormDevice.h"
#include "dialogs/TFormService.h"
#include "support/ScriptedController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

namespace {
void GasTime(TSterownik &s, int hours, int seconds) {
    s.Identyfikacja[74] = uint8_t(seconds);
    s.Identyfikacja[75] = uint8_t(seconds >> 8);
    s.Identyfikacja[76] = uint8_t(hours);
    s.Identyfikacja[77] = uint8_t(hours >> 8);
}

// A connected link whose settings were read: writes are accepted.
void Ready(TLinkRig &r) {
    r.Eng.JustOpened = 0; // no identification and full read to come
    r.Eng.OtherRequests = 0;
    r.Eng.ReadRequests = 0;
    r.Eng.Unanswered = 0;
}

int SettingsWrites(TLinkRig &r, int turns) {
    int n = 0;
    for (int code : r.TurnCodes(turns))
        n += code == 0xF8;
    return n;
}
} // namespace

class TestService : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(LangTableInstance().LoadResource()); }

    void nextInspection_data() {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("next");
        QTest::addColumn<QString>("left");
        QTest::newRow("rounded up") << 1234 << 1801 << 9 << 1435 << "201:00:00";
        QTest::newRow("half hour stays") << 1234 << 1800 << 9 << 1434 << "200:00:00";
        QTest::newRow("ninth entry 9000 km") << 0 << 0 << 8 << 180 << "180:00:00";
        QTest::newRow("last entry 25000 km") << 10 << 3599 << 24 << 511 << "501:00:00";
        QTest::newRow("low 16 bits kept") << 65530 << 0 << 0 << 14 << "0:00:00";
    }
    void nextInspection() {
        QFETCH(int, hours);
        QFETCH(int, seconds);
        QFETCH(int, entry);
        QFETCH(int, next);
        QFETCH(QString, left);
        TLinkRig r;
        Ready(r);
        GasTime(r.Eng, hours, seconds);
        TFormService f;
        f.Przygotuj(&r.Eng, Qt::white, Qt::black, f.font());
        f.Wypelnij();
        QCOMPARE(f.ComboBox1->count(), 25);
        QCOMPARE(f.ComboBox1->itemText(0), QStringLiteral(" 1000"));
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("10000"));
        f.ComboBox1->setCurrentIndex(entry);
        f.Button1Click();
        QCOMPARE(r.Eng.Nastawy[101], uint8_t(next & 0xFF)); // 1435: 0x9B, 0x05
        QCOMPARE(r.Eng.Nastawy[102], uint8_t(next >> 8));
        QCOMPARE(f.Edit4->text(), left);
        QCOMPARE(r.Eng.Nastawy[100], uint8_t(1)); // reminder switched on
        QVERIFY(f.CheckBox1->isChecked() && f.Edit4->isEnabled());
        QVERIFY(r.Eng.WriteRequests & 1);
        QVERIFY(f.LabelNieWyslano->isHidden());
    }

    void openingChangesNothing() {
        TLinkRig r;
        Ready(r);
        r.Eng.Nastawy[100] = 3;
        TFormService f;
        f.Przygotuj(&r.Eng, Qt::white, Qt::black, f.font());
        f.Wypelnij();
        QVERIFY(f.CheckBox1->isChecked());
        QVERIFY(f.Edit4->isEnabled());
        QCOMPARE(r.Eng.Nastawy[100], uint8_t(3));
        QCOMPARE(r.Eng.WriteRequests, 0u);
        QCOMPARE(SettingsWrites(r, 6), 0);
    }

    void reminderTwice_data() {
        QTest::addColumn<int>("first");
        QTest::newRow("off") << 0;
        QTest::newRow("on") << 1;
    }
    void reminderTwice() {
        QFETCH(int, first);
        TLinkRig r;
        Ready(r);
        r.Eng.Nastawy[100] = uint8_t(first);
        TFormService f;
        f.Przygotuj(&r.Eng, Qt::white, Qt::black, f.font());
        f.Wypelnij();
        f.CheckBox1Click();
        QCOMPARE(r.Eng.Nastawy[100], uint8_t(!first));
        QCOMPARE(f.Edit4->isEnabled(), !first);
        QCOMPARE(SettingsWrites(r, 6), 1);
        f.CheckBox1Click();
        QCOMPARE(r.Eng.Nastawy[100], uint8_t(first));
        QCOMPARE(SettingsWrites(r, 6), 1);
    }

    void historyGrid() {
        TLinkRig r;
        TFormService f;
        r.Eng.Historia[8] = 0x09; // entry 1: firmware and settings
        r.Eng.Historia[9] = 25;
        r.Eng.Historia[10] = 5;
        r.Eng.Historia[11] = 20;
        f.Przygotuj(&r.Eng, Qt::white, Qt::black, f.font());
        f.Wypelnij();
        QCOMPARE(f.StringGrid1->rowCount(), 33);
        QCOMPARE(f.StringGrid1->columnCount(), 6);
        QCOMPARE(f.StringGrid1->item(0, 5)->text(), LangText(1346));
        QCOMPARE(f.StringGrid1->item(2, 0)->text(), QStringLiteral("2025.5.20"));
        QCOMPARE(f.StringGrid1->item(2, 1)->text(), QStringLiteral("v"));
        QCOMPARE(f.StringGrid1->item(2, 2)->text(), QString());
        QCOMPARE(f.StringGrid1->item(2, 4)->text(), QStringLiteral("v"));
        for (int row : {1, 3, 32})
            for (int c = 0; c < 6; ++c)
                QVERIFY(f.StringGrid1->item(row, c)->text().isEmpty());
    }

    // A write the link does not queue must not look done.
    void refusedWrite_data() {
        QTest::addColumn<bool>("linkDown");
        QTest::newRow("controller not answering") << true;
        QTest::newRow("settings not read yet") << false;
    }
    void refusedWrite() {
        QFETCH(bool, linkDown);
        TLinkRig r;
        Ready(r);
        if (linkDown)
            r.Eng.Unanswered = 11;
        else
            r.Eng.ReadRequests = 1;
        TFormService f;
        f.Przygotuj(&r.Eng, Qt::white, Qt::black, f.font());
        f.Button1Click();
        QCOMPARE(r.Eng.WriteRequests, 0u);
        QVERIFY(!f.LabelNieWyslano->isHidden());
        QCOMPARE(f.LabelNieWyslano->text(), LangText(1356));
        Ready(r); // the controller answers again: the next change goes out and the line goes
        f.CheckBox1Click();
        QVERIFY(r.Eng.WriteRequests & 1);
        QVERIFY(f.LabelNieWyslano->isHidden());
    }

    // The fields are filled again once, when the history read has finished.
    void refreshAfterHistoryRead() {
        TLinkRig r;
        GasTime(r.Eng, 5, 0);
        r.Eng.ReadRequests = 1u << 7;
        TFormService s;
        TFormDevice d;
        s.Przygotuj(&r.Eng, Qt::white, Qt::black, s.font());
        d.Przygotuj(&r.Eng, Qt::white, Qt::black, d.font());
        s.show();
        d.show();
        QVERIFY(s.Timer1.isActive() && d.Timer1.isActive());
        const QString before = s.Edit2->text();
        r.Eng.Identyfikacja[76] = 9;
        r.Eng.Identyfikacja[38] = 1;
        r.Eng.Historia[0] = 1;
        s.Timer1Timer();
        d.Timer1Timer();
        QCOMPARE(s.Edit2->text(), before);
        QVERIFY(d.Pola[0]->text().isEmpty());
        QVERIFY(s.Timer1.isActive());
        r.Eng.ReadRequests = 0;
        s.Timer1Timer();
        d.Timer1Timer();
        QVERIFY(!s.Timer1.isActive() && !d.Timer1.isActive());
        QVERIFY(s.Edit2->text() != before);
        QCOMPARE(s.StringGrid1->item(1, 1)->text(), QStringLiteral("v"));
        QCOMPARE(d.Pola[0]->text(), QStringLiteral("TARVEN ECO+"));
        QCOMPARE(d.windowTitle(), QStringLiteral("TARVEN - ") + LangText(1330));
    }

    // The device menu opens both windows on the main window's link, in the scheme's colours.
    void openedFromDeviceMenu() {
        TOkno o;
        QVERIFY(o.w->ActDeviceInfo->isEnabled() && o.w->ActService->isEnabled());
        bool deviceShown = false, serviceShown = false;
        QTimer::singleShot(0, o.w.get(), [&] {
            deviceShown = o.w->FormDevice->isVisible() && o.w->FormDevice->Sterownik == o.w->Sterownik1;
            o.w->FormDevice->accept();
        });
        o.w->ActDeviceInfo->trigger();
        QTimer::singleShot(0, o.w.get(), [&] {
            serviceShown = o.w->FormService->isVisible() && o.w->FormService->Sterownik == o.w->Sterownik1;
            o.w->FormService->accept();
        });
        o.w->ActService->trigger();
        QVERIFY(deviceShown && serviceShown);
        QCOMPARE(o.w->FormService->palette().color(QPalette::Window), Kolor(o.w->Paleta.Background));
    }

    void closesWithoutLink() {
        TFormService s;
        s.show();
        QTRY_VERIFY(!s.isVisible());
        TFormDevice d;
        d.show();
        QTRY_VERIFY(!d.isVisible());
    }
};

QTEST_MAIN(TestService)
#include "tst_service.moc"
