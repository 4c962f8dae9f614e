// OBD engine: random adapter replies through every parser and through the task loop.
// Nothing may crash, read outside the reply or leave the engine's counters out of range.
#include "tst_obd_common.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
// Replies made of pieces the parsers look for, mixed with noise, so that deep paths are reached.
QByteArray RandomReply(QRandomGenerator &g) {
    static const char *const pieces[] = {
        "7E8 ",
        "7E9 ",
        "18 DA F1 10 ",
        "18 DA F1 ",
        "48 6B 10 ",
        "48 6B 1F ",
        "86 F1 11 ",
        "87 F1 1F ",
        "06 41 00 ",
        "41 00 ",
        "41 01 ",
        "41 0C ",
        "04 41 0C ",
        "03 41 06 ",
        "10 08 43 ",
        "10 0C 43 ",
        "02 43 00 ",
        "04 43 01 ",
        "06 47 02 ",
        "7E8 21 ",
        "10 21 ",
        "43 ",
        "47 ",
        "4A ",
        "00 00 ",
        "C1 55 ",
        "01 05 ",
        "FF ",
        "BE 1F B8 11 ",
        "\r",
        "\r\r>",
        ">",
        "ELM327 v1.5",
        "ATRV",
        "ATDPN",
        "0101",
        "A6",
        "?",
        "NO DATA",
        "ERROR",
        "UNABLE TO CONNECT",
        "12.6V",
        " ",
        "1",
        "8",
        "F",
        "SEARCHING...",
        "\x00",
        "\xff\xfe",
        "zz",
    };
    QByteArray r;
    const int n = int(g.bounded(0, 40));
    for (int i = 0; i < n; ++i) {
        const quint32 k = g.bounded(0, 10);
        if (k == 0) {
            // raw random bytes, NULs and high bytes included
            const int len = int(g.bounded(0, 30));
            for (int j = 0; j < len; ++j)
                r.append(char(g.bounded(0, 256)));
        } else if (k == 1 && g.bounded(0, 20) == 0) {
            r.append(QByteArray(int(g.bounded(200, 1500)), char('0' + g.bounded(0, 10)))); // very long line
        } else {
            const char *p = pieces[g.bounded(0, int(std::size(pieces)))];
            r.append(p[0] == 0 ? QByteArray(1, '\0') : QByteArray(p));
        }
    }
    if (g.bounded(0, 2)) r.truncate(int(g.bounded(0, int(r.size()) + 1))); // truncated hex
    return r;
}
} // namespace

class TestObdFuzz : public QObject {
    Q_OBJECT
private slots:
    void parsers();
    void loop();
};

void TestObdFuzz::parsers() {
    QRandomGenerator g(20240611);
    ObdRig r(false);
    const int protocols[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};
    const int ecus[] = {0, 0x7E8, 0x10, 0x1F, 0x11, -1};
    for (int it = 0; it < 6000; ++it) {
        r.obd.Protokol = protocols[g.bounded(0, int(std::size(protocols)))];
        r.obd.Ecu = ecus[g.bounded(0, int(std::size(ecus)))];
        const QByteArray reply = RandomReply(g);
        const int what = int(g.bounded(0, 10));
        r.obd.Odpowiedz = reply;
        switch (what) {
        case 0: r.obd.SzukajEcu(); break;
        case 1: r.obd.PIDsupported(int(g.bounded(0, 4)) * 0x20); break;
        case 2:
            r.obd.AktualnyPid = int(g.bounded(-5, 140));
            r.obd.TrybListy = int(g.bounded(0, 2));
            r.obd.OpiszPid();
            r.obd.WyswietlPid();
            break;
        case 3: r.obd.KodyBledow(QList<int>{0x43, 0x47, 0x4A}[int(g.bounded(0, 3))]); break;
        case 4: r.obd.StatusElm(); break;
        case 5: r.obd.StatusVoltage(); break;
        case 6: r.obd.StatusProtokol(); break;
        case 7: r.obd.StatusDteMil(); break;
        case 8: r.obd.CzyBlad(); break;
        default:
            TObd::TekstNaInt(reply, int(g.bounded(-2, 20)));
            r.obd.SzukajEcuPid(int(g.bounded(-5, 140)));
            // The vehicle page's readers.
            for (const TObdWiadomosc &w : WiadomosciOdpowiedzi(reply, r.obd.Protokol)) {
                QVERIFY(w.dane.size() <= reply.size());
                DekodujGotowosc(w.dane, false);
                KalibracjeId(DaneInformacji({w.dane}, 0x04, r.obd.Protokol >= 6));
                TekstVin(w.dane);
            }
            break;
        }
        QVERIFY(r.obd.Protokol >= -1 && r.obd.Protokol <= 12);
        QVERIFY(r.obd.Odpowiedz.size() <= reply.size());
        if (r.dtc.lines.size() > 2000) r.dtc.Clear();
        r.log.clear();
    }
    // The trouble-code reader never prints more codes than the reply can hold.
    QVERIFY(r.dtc.lines.size() <= 2000);
}

void TestObdFuzz::loop() {
    QRandomGenerator g(77);
    ObdRig r;
    struct : TObdPojazdWidok {
        int shown = 0;
        void CzytaniePojazdu() override {}
        void PokazPojazd(const TObdPojazd &) override { ++shown; }
    } page;
    r.obd.MyPojazd = &page; // the vehicle read after connecting and on button 5
    int published = 0;
    for (int it = 0; it < 20000; ++it) {
        if (g.bounded(0, 3) == 0) r.port->Rx += RandomReply(g);
        if (g.bounded(0, 500) == 0) r.obd.WcisnietoPrzycisk(int(g.bounded(0, 6)));
        if (g.bounded(0, 2000) == 0) r.obd.SetProtokol(int(g.bounded(0, 10)));
        if (g.bounded(0, 1000) == 0) r.obd.AtCommand("ATI");
        r.obd.OnTimer1();
        r.port->TakeTx();
        QVERIFY(r.obd.DlugoscRx >= 0 && r.obd.DlugoscRx <= TObd::RozmiarBufora);
        QVERIFY(r.obd.Odpowiedz.size() <= TObd::RozmiarBufora);
        if (r.obd.Odpowiedz.endsWith('>')) ++published;
        r.log.clear();
        r.dtc.Clear();
    }
    QVERIFY(published > 0);
    QVERIFY(page.shown > 0);
}

QTEST_GUILESS_MAIN(TestObdFuzz)
#include "tst_obd_fuzz.moc"
