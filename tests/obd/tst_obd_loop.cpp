// OBD engine: the task loop tick by tick against a scripted adapter on the in-memory port.
#include "device/TSterownik.h"
#include "tst_obd_common.h"

#include <QSet>
#include <QtTest>

namespace {
// An ELM327 that answers at once: echo as configured, "OK" to settings, the car on one protocol.
struct FakeElm {
    bool echo = true;
    bool silent = false;
    int bus = 6;            // the protocol the car talks, 0 = none
    int tp = 0;             // protocol chosen with ATTP
    bool autoPrefix = true; // report the protocol as "A6"
    QSet<int> refuse;       // ATTP numbers the adapter does not accept
    QByteArray noBus = "NO DATA";
    QMap<QByteArray, QByteArray> answers; // OBD request -> answer lines (already laid out)
    QList<QByteArray> sent;

    QByteArray Reply(const QByteArray &cmd) {
        QByteArray body;
        const bool echoNow = echo;
        if (cmd == "ATZ") {
            echo = true;
            body = "\rELM327 v1.5";
        } else if (cmd == "ATE0") {
            echo = false;
            body = "OK";
        } else if (cmd == "ATE1") {
            echo = true;
            body = "OK";
        } else if (cmd == "ATRV") {
            body = "12.6V";
        } else if (cmd == "ATDPN") {
            body = (autoPrefix ? "A" : "") + QByteArray::number(tp);
        } else if (cmd.startsWith("ATTP")) {
            const int n = cmd.mid(4).toInt();
            if (refuse.contains(n)) {
                body = "?";
            } else {
                tp = n;
                body = "OK";
            }
        } else if (cmd.startsWith("AT")) {
            body = "OK";
        } else {
            const QByteArray req = cmd == "01001" ? QByteArray("0100") : cmd;
            body = (bus != 0 && tp == bus) ? answers.value(req, "NO DATA") : noBus;
        }
        return (echoNow ? cmd + '\r' : QByteArray()) + body + "\r\r>";
    }
};

QByteArray CanLines(const QStringList &lines) {
    QByteArray r;
    for (const QString &l : lines) {
        if (!r.isEmpty()) r += '\r';
        r += l.toLatin1() + ' ';
    }
    return r;
}
} // namespace

class TestObdLoop : public QObject {
    Q_OBJECT

    struct Rig : ObdRig {
        FakeElm elm;
        Rig() {
            elm.answers["0100"] = CanLines({"7E8 06 41 00 BE 1F B8 11", "7E9 06 41 00 98 18 80 11"});
            elm.answers["0101"] = CanLines({"7E8 06 41 01 83 07 E5 00"});
            elm.answers["0120"] = CanLines({"7E8 06 41 20 80 00 00 00"});
            elm.answers["0103"] = CanLines({"7E8 04 41 03 02 00"});
            elm.answers["0106"] = CanLines({"7E8 03 41 06 85"});
            elm.answers["0107"] = CanLines({"7E8 03 41 07 00"});
        }
        // One tick; whatever the engine sent is answered straight away (read on the next tick).
        void Tick() {
            obd.OnTimer1();
            const QList<QByteArray> cmds = port->TakeTx().split('\r');
            for (const QByteArray &c : cmds) {
                if (c.isEmpty()) continue;
                elm.sent.append(c);
                if (!elm.silent) port->Rx += elm.Reply(c);
            }
        }
        void Ticks(int n) {
            for (int i = 0; i < n; ++i)
                Tick();
        }
        // Ticks until the loop is in the given state; false when it never gets there.
        bool RunTo(int state, int maxTicks = 2000) {
            for (int i = 0; i < maxTicks; ++i) {
                if (obd.Stan == state) return true;
                Tick();
            }
            return obd.Stan == state;
        }
        bool RunToSent(const QByteArray &cmd, int maxTicks = 2000) {
            const int from = int(elm.sent.size());
            for (int i = 0; i < maxTicks; ++i) {
                Tick();
                if (elm.sent.mid(from).contains(cmd)) return true;
            }
            return false;
        }
        QList<QByteArray> SentSince(int from) const { return elm.sent.mid(from); }
    };

private slots:
    void connectAndPollCan();
    void searchOrderAndNoProtocol();
    void searchOnKLineThenPolling();
    void refusedProtocolRestartsSearch();
    void timeoutTickByTick();
    void troubleCodeButtonsDuringSearch();
    void forcedProtocol();
    void errorDuringDiscoveryRestarts();
    void replyInPieces();
    void timeoutLeavesBytesForNextReply();
    void fullBufferWithoutPrompt();
    void userCommand();
    void portNotUsable();
    void closedPortSendsNothing();
    void firstTickSwitchesTimer();
};

void TestObdLoop::connectAndPollCan() {
    TSterownik ster;
    ster.StopTimer();
    Rig r;
    r.obd.Sterownik = &ster;
    r.obd.OnTimer0();
    r.Tick(); // port just opened: state 2
    QCOMPARE(r.obd.Stan, 3);
    QCOMPARE(r.status.Cell(1, 0), QStringLiteral("COMM 5"));
    QVERIFY(r.Logged(QStringLiteral("2) połączono5"), ObdBlack));
    QVERIFY(r.RunTo(1001));
    const QList<QByteArray> expected = {"ATZ",   "ATE1",  "ATL0",  "ATCAF1", "ATH1",   "ATM0", "ATRV",
                                        "ATTP6", "0100",  "ATDPN", "ATM1",   "ATST32", "ATAL", "ATE0",
                                        "ATH1",  "01001", "0100",  "0101",   "0120",   "0103", "0106",
                                        "0107",  "0108",  "0109",  "ATRV",   "0103"};
    QCOMPARE(r.elm.sent, expected);
    QCOMPARE(r.events, (QList<QList<int>>{{100, 100, -1, 0}, {100, 100, 0, 1}, {100, 100, 6, 0}}));
    QCOMPARE(r.obd.Protokol, 6);
    QCOMPARE(r.obd.Ecu, 0x7E8);
    QCOMPARE(r.status.Cell(1, 1), QStringLiteral("ELM327 v1.5"));
    QCOMPARE(r.status.Cell(1, 2), QStringLiteral("12.6V"));
    QCOMPARE(r.status.Cell(1, 3), QStringLiteral("CAN (11 bit ID, 500 kb)"));
    QCOMPARE(r.status.Cell(1, 4), QStringLiteral("7E8h 7E9h "));
    QCOMPARE(r.status.Cell(1, 5), QStringLiteral("3"));
    QCOMPARE(r.status.Cell(1, 6), QStringLiteral("zapalony"));
    QCOMPARE(r.obd.Pidy[0x21].obslugiwany, uint8_t(1));
    QCOMPARE(r.obd.Pidy[0x08].obslugiwany, uint8_t(0));
    QCOMPARE(r.pidy.Cell(1, 0x03), QStringLiteral("on"));
    QCOMPARE(r.pidy.Cell(1, 0x08), QStringLiteral("x"));

    // Polling walks the supported polled PIDs and relays them to the controller.
    const int from = int(r.elm.sent.size());
    r.Ticks(8);
    QCOMPARE(r.SentSince(from), (QList<QByteArray>{"0106", "0107", "0103", "0106"}));
    QCOMPARE(r.pidy.Cell(4, 0x03), QStringLiteral("CL"));
    QCOMPARE(r.pidy.Cell(4, 0x06), QStringLiteral("3.9[%]"));
    QCOMPARE(r.pidy.Cell(4, 0x07), QStringLiteral("-100.0[%]"));
    QCOMPARE(ster.ObdRelay[0], uint8_t(0x02));
    QCOMPARE(ster.ObdRelay[1], uint8_t(0x00));
    QCOMPARE(ster.ObdRelay[2], uint8_t(0x85));
    QCOMPARE(ster.ObdRelay[3], uint8_t(0x01));
    QCOMPARE(ster.ObdRelayPending, uint8_t(1));
}

void TestObdLoop::searchOrderAndNoProtocol() {
    Rig r;
    r.elm.bus = 0;
    r.elm.noBus = "SEARCHING...\rUNABLE TO CONNECT";
    QVERIFY(r.RunTo(223));
    QList<QByteArray> search;
    for (const QByteArray &c : r.elm.sent)
        if (c.startsWith("ATTP")) search << c;
    QCOMPARE(search, (QList<QByteArray>{"ATTP6", "ATTP7", "ATTP2", "ATTP1", "ATTP3", "ATTP4", "ATTP5",
                                        "ATTP6", "ATTP7", "ATTP8", "ATTP9"}));
    QCOMPARE(r.elm.sent.count("0100"), 11);
    QVERIFY(r.Logged(QStringLiteral("ISO 9141-2 (KL) ( 5 baud init, 10.4 Kbaud)"), ObdBlack));
    r.Tick();
    QCOMPARE(r.status.Cell(1, 3), QStringLiteral("brak protokołu"));
    QVERIFY(r.RunToSent("ATZ"));
    QCOMPARE(r.SentSince(int(r.elm.sent.size()) - 2), (QList<QByteArray>{"ATM1", "ATZ"}));
    QCOMPARE(r.obd.Stan, 3);
    // and the adapter search starts over
    QVERIFY(r.RunTo(100));
}

void TestObdLoop::searchOnKLineThenPolling() {
    Rig r;
    r.elm.bus = 3;
    r.elm.autoPrefix = false;
    r.elm.answers.clear();
    r.elm.answers["0100"] = "48 6B 10 41 00 BE 3E B8 11 C9 ";
    r.elm.answers["0101"] = "48 6B 10 41 01 00 07 E5 00 11 ";
    r.elm.answers["0120"] = "48 6B 10 41 20 00 00 00 00 11 ";
    r.elm.answers["0106"] = "48 6B 10 41 06 7A 11 ";
    QVERIFY(r.RunTo(300));
    QList<QByteArray> search;
    for (const QByteArray &c : r.elm.sent)
        if (c.startsWith("ATTP")) search << c;
    QCOMPARE(search, (QList<QByteArray>{"ATTP6", "ATTP7", "ATTP2", "ATTP1", "ATTP3"}));
    QCOMPARE(r.status.Cell(1, 3), QStringLiteral("łączenie ISO 9141-2 (KL)"));
    QVERIFY(r.RunTo(1000));
    QCOMPARE(r.obd.Protokol, 3);
    QCOMPARE(r.obd.Ecu, 0x10);
    QCOMPARE(r.status.Cell(1, 6), QStringLiteral("zgaszony"));
    // Slow protocols wait a further 200 ms before every request.
    r.Tick();
    QCOMPARE(r.obd.Stan, 1001);
    QCOMPARE(r.obd.Opoznienie, 200);
    QCOMPARE(r.elm.sent.last(), QByteArray("0103")); // supported by the bitmap, its probe unanswered
    r.Ticks(3);
    QCOMPARE(r.obd.Stan, 1000);
    r.Tick();
    QCOMPARE(r.elm.sent.last(), QByteArray("0106"));
    r.Ticks(2);
    QCOMPARE(r.pidy.Cell(4, 0x06), QString());
    r.Tick();
    QCOMPARE(r.pidy.Cell(4, 0x06), QStringLiteral("-4.7[%]"));
}

void TestObdLoop::refusedProtocolRestartsSearch() {
    Rig r;
    r.elm.bus = 5;
    r.elm.refuse = {2};
    QVERIFY(r.RunToSent("ATTP2"));
    r.Tick(); // reply read, step 205 refuses
    QCOMPARE(r.obd.Stan, 200);
    QCOMPARE(r.obd.Opoznienie, 5000);
    const int from = int(r.elm.sent.size());
    r.Ticks(50);
    QVERIFY(r.SentSince(from).isEmpty()); // 5 s of waiting
    QVERIFY(r.RunToSent("ATTP6", 5));     // and the search starts again at step 1
    QCOMPARE(r.status.Cell(1, 3), QStringLiteral("łączenie CAN (11 bit ID, 500 Kbaud)"));
}

void TestObdLoop::timeoutTickByTick() {
    Rig r;
    r.elm.silent = true;
    QVERIFY(r.RunToSent("ATZ"));
    QCOMPARE(r.obd.Stan, 101);
    QCOMPARE(r.obd.CzasOdpowiedzi, 3000);
    r.Ticks(30);
    QCOMPARE(r.obd.CzekaNaOdpowiedz, uint8_t(1));
    QCOMPARE(r.obd.CzasOdpowiedzi, 0);
    QVERIFY(!r.LoggedContaining(QStringLiteral("Przekroczenie czasu")));
    r.Tick();
    QCOMPARE(r.obd.CzekaNaOdpowiedz, uint8_t(0));
    QVERIFY(r.Logged(QStringLiteral("Przekroczenie czasu"), ObdRed));
    QCOMPARE(r.obd.Stan, 101);
    r.Tick(); // empty reply: no adapter
    QCOMPARE(r.status.Cell(1, 1), QStringLiteral("brak interfejsu"));
    QCOMPARE(r.obd.Stan, 3);
    QCOMPARE(r.obd.Opoznienie, 5000);

    // In the search an unanswered "0100" ends the search at that protocol.
    Rig s;
    s.elm.bus = 0;
    QVERIFY(s.RunToSent("0100"));
    s.port->Rx.clear(); // the car never answers
    s.elm.silent = true;
    s.Ticks(32);
    QCOMPARE(s.obd.Stan, 300);
}

void TestObdLoop::troubleCodeButtonsDuringSearch() {
    Rig r;
    r.elm.bus = 0;
    QVERIFY(r.RunTo(205));
    r.dtc.Append(QStringLiteral("old"), ObdDefaultColour);
    r.obd.WcisnietoPrzycisk(3);
    QCOMPARE(r.obd.Stan, 3000);
    QVERIFY(r.RunToSent("03"));
    QCOMPARE(r.dtc.lines.size(), 0);
    QVERIFY(r.RunTo(1000));
    QCOMPARE(r.SentSince(int(r.elm.sent.size()) - 3), (QList<QByteArray>{"03", "07", "0A"}));
    r.obd.WcisnietoPrzycisk(4);
    QVERIFY(r.RunToSent("04", 10));
    QVERIFY(r.RunTo(1000, 10));
    r.obd.WcisnietoPrzycisk(0);
    QVERIFY(r.RunToSent("ATZ", 10));
    r.obd.WcisnietoPrzycisk(7); // no such button
    QCOMPARE(r.obd.Stan, 101);
}

void TestObdLoop::forcedProtocol() {
    Rig r;
    r.elm.bus = 7;
    r.elm.answers.clear();
    r.elm.answers["0100"] = "NO DATA";
    r.elm.answers["0101"] = "18 DA F1 10 06 41 01 00 07 E5 00 ";
    r.obd.SetProtokol(7);
    QCOMPARE(r.obd.Stan, 3);
    QVERIFY(r.RunToSent("ATTP7"));
    QCOMPARE(r.status.Cell(1, 3), QStringLiteral("łączenie"));
    QVERIFY(r.Logged(QStringLiteral("łączenie protokołu 7"), ObdBlack));
    QCOMPARE(r.obd.Stan, 300); // the answer is not checked
    QVERIFY(r.RunTo(1001));
    QVERIFY(!r.elm.sent.contains("ATTP6"));
    QCOMPARE(r.elm.sent.count("ATZ"), 1); // "NO DATA" to the bitmap does not restart
    QCOMPARE(r.obd.Protokol, 7);
    QCOMPARE(r.elm.sent.last(), QByteArray("0101"));
    r.Ticks(4);
    QCOMPARE(r.SentSince(int(r.elm.sent.size()) - 3), (QList<QByteArray>{"0101", "0101", "0101"}));
}

void TestObdLoop::errorDuringDiscoveryRestarts() {
    Rig r;
    r.elm.answers["0101"] = "NO DATA";
    QVERIFY(r.RunToSent("0101"));
    QVERIFY(r.RunTo(309, 5));
    r.Tick();
    QCOMPARE(r.obd.Stan, 100);
    // ... and everything from the adapter reset on runs again
    QVERIFY(r.RunToSent("ATZ", 5));
    QCOMPARE(r.elm.sent.count("ATZ"), 2);

    // Not "OK" after the last "ATH1": back to the reset as well.
    Rig s;
    QVERIFY(s.RunToSent("ATH1"));
    QVERIFY(s.RunToSent("ATH1"));
    s.port->Rx.clear();
    s.elm.silent = true;
    QVERIFY(s.RunTo(100, 40));
}

void TestObdLoop::replyInPieces() {
    Rig r;
    r.elm.silent = true;
    QVERIFY(r.RunToSent("ATZ"));
    r.port->Rx += "ATZ\r\rEL";
    r.Tick();
    QCOMPARE(r.obd.DlugoscRx, 7);
    QCOMPARE(r.obd.CzekaNaOdpowiedz, uint8_t(1));
    r.port->Rx += "M327 v1.5\r";
    r.Tick();
    r.port->Rx += "\r>";
    r.Tick();
    QCOMPARE(r.obd.DlugoscRx, 0);
    QCOMPARE(r.obd.Stan, 102); // the joined banner passed the test
    QCOMPARE(r.status.Cell(1, 1), QStringLiteral("ELM327 v1.5"));
    QVERIFY(r.Logged(QStringLiteral("ATZ..ELM327 v1.5..>"), ObdBlue));
    QVERIFY(r.Logged(QStringLiteral("ATE1."), ObdMagenta));
}

void TestObdLoop::timeoutLeavesBytesForNextReply() {
    Rig r;
    r.elm.silent = true;
    QVERIFY(r.RunToSent("ATZ"));
    r.port->Rx += "garbage ";
    r.Ticks(32); // time-out with bytes held
    QCOMPARE(r.obd.Stan, 3);
    QCOMPARE(r.obd.DlugoscRx, 8);
    QVERIFY(r.RunToSent("ATZ"));
    r.port->Rx += "ATZ\r\rELM327 v1.5\r\r>";
    r.Tick();
    QCOMPARE(r.status.Cell(1, 1), QStringLiteral("ELM327 v1.5"));
    QCOMPARE(r.obd.Stan, 102);
    QVERIFY(r.Logged(QStringLiteral("garbage ATZ..ELM327 v1.5..>"), ObdBlue));
}

void TestObdLoop::fullBufferWithoutPrompt() {
    Rig r;
    r.elm.silent = true;
    QVERIFY(r.RunToSent("ATZ"));
    // Mode 09 of eight units with 29-bit headers, ~27 frame lines of 36 characters each, and more: a
    // long answer comes whole.
    const QByteArray lang = QByteArray("18 DA F1 10 21 54 52 56 31 41 32 42 \r").repeated(90) + "\r>";
    QVERIFY(lang.size() > 3000);
    r.port->Rx += lang.left(1000);
    r.Tick();
    r.port->Rx += lang.mid(1000);
    r.Tick();
    QCOMPARE(r.obd.Odpowiedz, lang);
    QVERIFY(!r.LoggedContaining(QStringLiteral("przepełnienie")));
    // Past 16 kB without a prompt the answer is dropped, and the log says so.
    QVERIFY(r.RunToSent("ATZ"));
    r.port->Rx += QByteArray(17000, 'A');
    r.Tick();
    QCOMPARE(r.obd.DlugoscRx, 0);
    QCOMPARE(r.obd.CzekaNaOdpowiedz, uint8_t(0));
    QVERIFY(r.Logged(QStringLiteral("przepełnienie bufora odbioru, odpowiedź odrzucona"), ObdRed));
    QVERIFY(r.obd.Odpowiedz.isEmpty());
    QCOMPARE(r.port->Rx.size(), 17000 - 16384); // the rest stays waiting
    r.port->Rx = QByteArray(TObd::RozmiarBufora, 'B') + ">";
    r.Ticks(2); // the prompt after a dropped buffer comes through on its own
    QCOMPARE(r.obd.DlugoscRx, 0);
    QCOMPARE(r.obd.Odpowiedz, QByteArray(">"));
}

void TestObdLoop::userCommand() {
    Rig r;
    QVERIFY(r.RunTo(1001));
    r.obd.AtCommand("ATI");
    r.Tick(); // reply of the poll read, then the raw command goes out before the loop step
    QCOMPARE(r.elm.sent.last(), QByteArray("ATI"));
    QCOMPARE(r.obd.Opoznienie, 1000);
    QCOMPARE(r.obd.Stan, 1001);
    r.Ticks(10);
    QCOMPARE(r.obd.Stan, 1001);
    r.Tick(); // the step after it sees the raw command's reply
    QCOMPARE(r.obd.Stan, 1000);
    QCOMPARE(r.obd.Odpowiedz, QByteArray("OK\r\r>"));
}

void TestObdLoop::portNotUsable() {
    Rig r;
    r.port->Fail = true;
    r.Tick();
    QCOMPARE(r.obd.Stan, 0);
    QCOMPARE(r.status.Cell(1, 0), QStringLiteral("brak połączenia"));
    QVERIFY(r.Logged(QStringLiteral("2) brak połączenia"), ObdBlack));
    QCOMPARE(r.events, (QList<QList<int>>{{100, 100, -1, 0}}));
    r.obd.Stan = 3;
    r.obd.Opoznienie = 0;
    r.Tick();
    QCOMPARE(r.obd.Stan, 0);
    QVERIFY(r.Logged(QStringLiteral("3) brak połączenia"), ObdBlack));
    QCOMPARE(r.events.size(), 2);
    // A port that refuses to open says why in the log, with the fix for a missing permission.
    r.port->Fail = false;
    r.port->RefuseOpen = true;
    r.port->RefuseWith = TPortFault::Denied;
    r.obd.PortOpen(5);
    r.obd.Stan = 2;
    r.obd.Opoznienie = 0;
    r.Tick();
    QVERIFY(r.LoggedContaining(QStringLiteral("usermod -aG dialout")));
    r.port->RefuseOpen = false;
    r.port->Fail = true;
    // Opening the port again restarts the loop at state 2, whatever it was doing.
    r.port->Fail = false;
    r.obd.Stan = 1001;
    r.obd.PortOpen(1030);
    r.obd.Opoznienie = 0;
    r.Tick();
    QCOMPARE(r.status.Cell(1, 0), QStringLiteral("FTDI 6"));
    QCOMPARE(r.obd.Stan, 3);
}

void TestObdLoop::closedPortSendsNothing() {
    Rig r;
    QVERIFY(r.RunTo(1001));
    r.obd.PortClose();
    const int from = int(r.elm.sent.size());
    r.Ticks(40); // the outstanding reply times out, then polling goes on without sending
    QVERIFY(r.SentSince(from).isEmpty());
    QCOMPARE(r.obd.CzekaNaOdpowiedz, uint8_t(0));
    QVERIFY(r.obd.Stan == 1000 || r.obd.Stan == 1001);
}

void TestObdLoop::firstTickSwitchesTimer() {
    TObd obd;
    QCOMPARE(obd.PortNumber, 1);
    QCOMPARE(obd.Timer->interval(), 200);
    QVERIFY(obd.Timer->isActive());
    obd.OnTimer0(); // no widgets set: nothing to lay out
    QCOMPARE(obd.Timer->interval(), 100);
    QVERIFY(obd.Timer->isActive());
    obd.Zajety = 1;
    obd.JustOpened = 1;
    obd.OnTimer1(); // busy: returns at once
    QCOMPARE(obd.Stan, 0);
    obd.Zajety = 0;
    obd.OnTimer1();
    QCOMPARE(obd.Stan, 0); // port 2 check failed at once: idle again, without any callback set
    QCOMPARE(obd.Opoznienie, 5000);
}

QTEST_GUILESS_MAIN(TestObdLoop)
#include "tst_obd_loop.moc"
