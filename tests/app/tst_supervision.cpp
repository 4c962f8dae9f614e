// The 100 ms supervision: connection status, reconnection once a second, the user's disconnect and
// loaded files stopping it, the error list requested on the diagnostics tab.
#include "Okno.h"

#include <QLabel>

class TestSupervision : public QObject {
    Q_OBJECT

    static void Tiki(TOkno &o, int n) {
        for (int i = 0; i < n; ++i)
            o.w->Timer1Timer();
    }

private slots:
    void quietLinkStaysConnected() {
        TOkno o;
        QVERIFY(o.S().PortConnected());
        o.w->PanelStatus->setText(QStringLiteral("x"));
        o.S().Unanswered = 10;
        Tiki(o, 20);
        QCOMPARE(o.w->PanelStatus->text(), QStringLiteral("x"));
        QCOMPARE(o.port->OpenCount, 1);
    }

    void unansweredFramesShowNoConnection() {
        TOkno o;
        o.S().Unanswered = 11;
        o.w->Timer1Timer();
        QCOMPARE(o.w->PanelStatus->text(), QStringLiteral("NO CONNECTION"));
        QCOMPARE(o.w->PanelStatus->palette().color(QPalette::Window), QColor(0xFF, 0xFB, 0xF0));
        // Red, darkened just enough to read on the cream panel.
        QCOMPARE(o.w->PanelStatus->palette().color(QPalette::WindowText), QColor(234, 0, 0));
    }

    void reconnectOncePerSecond() {
        TOkno o;
        o.S().Unanswered = 11;
        const int before = o.port->OpenCount;
        Tiki(o, 9); // ticks 1…9: no reopen yet
        QCOMPARE(o.port->OpenCount, before);
        o.w->Timer1Timer(); // the tick counter wraps to 0
        QCOMPARE(o.port->OpenCount, before + 1);
        o.S().Unanswered = 11; // still silent
        Tiki(o, 30);
        QCOMPARE(o.port->OpenCount, before + 4);
        QCOMPARE(o.w->SecondsCounter, 4);
    }

    void closedPortIsReopened() {
        TOkno o;
        o.S().PortClose();
        o.S().Unanswered = 0;
        Tiki(o, 10);
        QVERIFY(o.S().PortConnected());
        QCOMPARE(o.port->OpenCount, 2);
    }

    void noReconnectAfterUserDisconnect() {
        TOkno o;
        o.w->ConnectTag = o.S().PortOnClick(o.w->ConnectTag); // the head item: "Disconnect"
        QCOMPARE(o.w->ConnectTag, -1);
        QVERIFY(!o.S().PortConnected());
        const int opens = o.port->OpenCount;
        Tiki(o, 50);
        QCOMPARE(o.port->OpenCount, opens);
        QCOMPARE(o.w->PanelStatus->text(), QStringLiteral("NO CONNECTION"));
        // "Connect" brings automatic reconnection back.
        o.w->ConnectTag = o.S().PortOnClick(o.w->ConnectTag);
        QCOMPARE(o.w->ConnectTag, 0);
        QVERIFY(o.S().PortConnected());
    }

    void noReconnectAfterFileLoaded() {
        TOkno o;
        o.S().PortClose();
        o.S().LastFileName = QStringLiteral("/tmp/x.set");
        o.w->Zdarzenie(4, 0, 0, 0);
        const int opens = o.port->OpenCount;
        Tiki(o, 30);
        QCOMPARE(o.port->OpenCount, opens);
    }

    void errorListEvery51TicksOnDiagnostics() {
        TOkno o;
        o.w->SpeedButton1Click(0);
        o.S().OtherRequests = 0;
        Tiki(o, 200);
        QCOMPARE(o.S().OtherRequests & ReqReadErrors, 0u); // never on other tabs
        o.w->SpeedButton1Click(3);
        QVERIFY(o.S().OtherRequests & ReqReadErrors); // once on entry
        o.S().OtherRequests = 0;
        o.w->KeepAlive = 0;
        Tiki(o, 50);
        QCOMPARE(o.S().OtherRequests & ReqReadErrors, 0u);
        o.w->Timer1Timer(); // the 51st tick
        QVERIFY(o.S().OtherRequests & ReqReadErrors);
        QCOMPARE(o.w->KeepAlive, 0);
    }
};

QTEST_MAIN(TestSupervision)
#include "tst_supervision.moc"
