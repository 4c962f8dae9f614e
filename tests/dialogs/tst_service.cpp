// The service and device windows: the next inspection, the reminder box, the history grid, the
// refresh after the history read, a settings write the link refuses, and the device menu.
#include "app/Okno.h"
#include "dialogs/TFormDevice.h"
#include "dialogs/TFormService.h"
#include "support/ScriptedController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace {
// A connected link whose settings were read (writes are accepted), and a service window on it.
struct Rig {
    TLinkRig r;
    TFormService f;
    Rig(int hours = 0, int seconds = 0) {
        r.Eng.JustOpened = 0; // no identification and full read to come
        r.Eng.OtherRequests = r.Eng.ReadRequests = 0;
        const uint8_t time[4] = {uint8_t(seconds), uint8_t(seconds >> 8), uint8_t(hours),
                                 uint8_t(hours >> 8)};
        std::memcpy(r.Eng.Identyfikacja + 74, time, 4);
        f.Przygotuj(&r.Eng, Qt::white, Qt::black, f.font());
    }
    int SettingsWrites() {
        int n = 0;
        for (int code : r.TurnCodes(6))
            n += code == 0xF8;
        return n;
    }
};
} // namespace

class TestService : public QObject {
    Q_OBJECT

private slots:
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
        Rig g(hours, seconds);
        QCOMPARE(g.f.ComboBox1->count(), 25);
        QCOMPARE(g.f.ComboBox1->itemText(0), QStringLiteral(" 1000"));
        QCOMPARE(g.f.ComboBox1->currentText(), QStringLiteral("10000"));
        g.f.ComboBox1->setCurrentIndex(entry);
        g.f.Button1Click();
        QCOMPARE(g.r.Eng.Nastawy[101], uint8_t(next & 0xFF)); // 1435: 0x9B, 0x05
        QCOMPARE(g.r.Eng.Nastawy[102], uint8_t(next >> 8));
        QCOMPARE(g.f.Edit4->text(), left);
        QCOMPARE(g.r.Eng.Nastawy[100], uint8_t(1)); // reminder switched on
        QVERIFY(g.f.CheckBox1->isChecked() && g.f.Edit4->isEnabled() && g.f.LabelNieWyslano->isHidden());
        QCOMPARE(g.SettingsWrites(), 1);
    }

    // Opening shows the reminder without writing; each click writes, two restore the byte.
    void reminder_data() {
        QTest::addColumn<int>("first");
        QTest::newRow("off") << 0;
        QTest::newRow("on") << 3;
    }
    void reminder() {
        QFETCH(int, first);
        Rig g;
        g.r.Eng.Nastawy[100] = uint8_t(first);
        g.f.Wypelnij();
        QCOMPARE(g.f.CheckBox1->isChecked(), first != 0);
        QCOMPARE(g.SettingsWrites(), 0);
        g.f.CheckBox1Click();
        QCOMPARE(g.r.Eng.Nastawy[100], uint8_t(first ? 0 : 1));
        QCOMPARE(g.f.Edit4->isEnabled(), !first);
        QCOMPARE(g.SettingsWrites(), 1);
        g.f.CheckBox1Click();
        QCOMPARE(g.r.Eng.Nastawy[100], uint8_t(first ? 1 : 0));
        QCOMPARE(g.SettingsWrites(), 1);
    }

    // A write the link does not queue must not look done.
    void refusedWrite() {
        for (bool linkDown : {true, false}) {
            Rig g;
            if (linkDown)
                g.r.Eng.Unanswered = 11;
            else
                g.r.Eng.ReadRequests = 1; // settings not read yet
            g.f.Button1Click();
            QCOMPARE(g.r.Eng.WriteRequests, 0u);
            QVERIFY(!g.f.LabelNieWyslano->isHidden());
            QCOMPARE(g.f.LabelNieWyslano->text(), LangText(1356));
            g.r.Eng.Unanswered = 0;
            g.r.Eng.ReadRequests = 0;
            g.f.CheckBox1Click(); // answering again: the next change goes out and the line goes
            QVERIFY(g.r.Eng.WriteRequests & 1);
            QVERIFY(g.f.LabelNieWyslano->isHidden());
        }
    }

    // Both windows fill once more when the history read has finished; empty entries stay empty.
    void refreshAfterHistoryRead() {
        Rig g(5);
        g.r.Eng.ReadRequests = 1u << 7;
        TFormDevice d;
        d.Przygotuj(&g.r.Eng, Qt::white, Qt::black, d.font());
        g.f.show();
        d.show();
        QVERIFY(g.f.Timer1.isActive() && d.Timer1.isActive());
        const QString before = g.f.Edit2->text();
        g.r.Eng.Identyfikacja[76] = 9;
        g.r.Eng.Identyfikacja[38] = 1;
        const uint8_t entry[8] = {0x09, 25, 5, 20, 0, 0, 0, 1}; // firmware and settings
        std::memcpy(g.r.Eng.Historia + 8, entry, 8);
        g.f.Timer1Timer();
        d.Timer1Timer();
        QVERIFY(g.f.Edit2->text() == before && d.Pola[0]->text().isEmpty() && g.f.Timer1.isActive());
        g.r.Eng.ReadRequests = 0;
        g.f.Timer1Timer();
        d.Timer1Timer();
        QVERIFY(!g.f.Timer1.isActive() && !d.Timer1.isActive());
        QVERIFY(g.f.Edit2->text() != before);
        QCOMPARE(d.Pola[0]->text(), QStringLiteral("TARVEN ECO+"));
        // Serial, production date, version (digits, firmware date, hardware letter) and channels.
        const uint8_t id[] = {'S', 'N', '4', '2', 0};
        std::memcpy(g.r.Eng.Identyfikacja + 6, id, sizeof id);
        const uint8_t date[] = {23, 7, 9}, version[] = {3, 8, 1}, firmware[] = {24, 3, 5};
        std::memcpy(g.r.Eng.Identyfikacja + 46, date, 3);
        std::memcpy(g.r.Eng.Identyfikacja + 58, version, 3);
        std::memcpy(g.r.Eng.Identyfikacja + 62, firmware, 3);
        g.r.Eng.Identyfikacja[53] = 1;
        g.r.Eng.InjectorCount = 6;
        d.Wypelnij();
        QCOMPARE((QStringList{d.Pola[1]->text(), d.Pola[2]->text(), d.Pola[3]->text(), d.Pola[4]->text()}),
                 (QStringList{"SN42", "2023.07.09", "3.8.1  (24.03.05)  B ", "6"}));
        const QTableWidget *t = g.f.StringGrid1;
        QCOMPARE(t->rowCount(), 33);
        QCOMPARE(t->item(0, 5)->text(), LangText(1346));
        const QStringList row2 = {"2025.5.20", "v", "", "", "v", "0000-0001"};
        for (int c = 0; c < 6; ++c) {
            QCOMPARE(t->item(2, c)->text(), row2[c]);
            QVERIFY(t->item(1, c)->text().isEmpty() && t->item(32, c)->text().isEmpty());
        }
    }

    void openedFromDeviceMenuOrClosedWithoutLink() {
        TOkno o;
        QVERIFY(o.w->ActDeviceInfo->isEnabled() && o.w->ActService->isEnabled());
        bool shown[2] = {};
        QDialog *forms[2] = {o.w->FormDevice, o.w->FormService};
        QAction *actions[2] = {o.w->ActDeviceInfo, o.w->ActService};
        for (int i = 0; i < 2; ++i) {
            QTimer::singleShot(0, o.w.get(), [&, i] {
                shown[i] = forms[i]->isVisible();
                forms[i]->accept();
            });
            actions[i]->trigger();
        }
        QVERIFY(shown[0] && shown[1]);
        QCOMPARE(o.w->FormService->Sterownik, o.w->Sterownik1);
        QCOMPARE(o.w->FormService->palette().color(QPalette::Window), Kolor(o.w->Paleta.Background));
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
