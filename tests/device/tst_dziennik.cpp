// The journal of edits over a link: cells the controller learnt left alone by an undo, an undo made
// while the link is down reaching the controller after it reconnects, another controller's No
// clearing the journal, runs of one gesture as one step, the length limit, values the controller
// changed meanwhile kept and counted, the load-axis switch undone. (Each kind of step is undone and
// redone through the window in tests/app/tst_cofanie.cpp.)
#include "device/TSesja.h"
#include "device/TSterownik.h"
#include "settings/TKatalogNastaw.h"
#include "support/ObrazDziennika.h"
#include "support/ScriptedController.h"

#include <QtTest>

namespace {

// Turns until the controller is identified, every block read and every write answered.
void Sesja(TLinkRig &r) {
    r.Turn(); // a new connection asks for the identification on its first tick
    for (int i = 0; i < 400; ++i) {
        const TSterownik &e = r.Eng;
        if (e.Identyfikacja[3] == 0x81 && e.ReadRequests == 0 && e.WriteRequests == 0 &&
            !e.SettingsWritePending && e.OtherRequests == 0)
            return;
        r.Turn();
    }
    QFAIL("the session did not settle");
}

} // namespace

class TestDziennik : public QObject {
    Q_OBJECT
private slots:
    // A cell the controller learns between the erase and its undo keeps its learnt value.
    void learntCellSurvives() {
        TLinkRig r;
        Sesja(r);
        TSterownik &s = r.Eng;
        const QByteArray przed = r.Ctl.Block(0xE1);
        {
            TZmiana z(&s.Dziennik, DziennikWszystko, QStringLiteral("Erase gas map"));
            s.KasujMapeEcuGaz();
        }
        const QByteArray skasowana = Bajty(s.Mapy[MapaB]);
        SetFrameByte(r.Ctl.Live, 6, 0);    // a learnt cell
        SetFrameByte(r.Ctl.Live, 7, 3);    // of map B
        SetFrameByte(r.Ctl.Live, 8, 0x35); // its position
        SetFrameByte(r.Ctl.Live, 9, 77);   // its value
        for (int i = 0; i < 8; ++i)        // the write of the erased map, then polls
            r.Turn();
        int nauczona = -1;
        for (int i = 0; i < 256; ++i)
            if (s.Mapy[MapaB][i] != uint8_t(skasowana[i])) nauczona = i;
        QVERIFY(nauczona >= 0);
        QVERIFY(s.Dziennik.Cofnij());
        QCOMPARE(int(s.Mapy[MapaB][nauczona]), 77);
        for (int i = 0; i < 256; ++i)
            if (i != nauczona) QCOMPARE(s.Mapy[MapaB][i], uint8_t(przed[i]));
    }

    // Undone while the link is down: the image is restored at once, the blocks wait; after the
    // reconnection reads them again (with the edits the controller had taken), the undone bytes
    // go over them and out to the controller. A second step stays undoable after the reconnection,
    // until another controller connects.
    void undoAcrossReconnection() {
        TLinkRig r;
        Sesja(r);
        TSterownik &s = r.Eng;
        TKatalogNastaw k(&s);
        k.UtworzNastawy();
        const QByteArray nastawy = r.Ctl.Block(0xE8), mapaB = r.Ctl.Block(0xE1);
        k.UstawNastawe(51, k.Wartosc(51) == 150 ? 170 : 150);
        {
            TZmiana z(&s.Dziennik, DziennikWszystko, QStringLiteral("Erase gas map"));
            s.KasujMapeEcuGaz();
        }
        Sesja(r);
        QVERIFY(r.Ctl.Block(0xE8) != nastawy && r.Ctl.Block(0xE1) != mapaB);

        s.PortClose();
        QVERIFY(s.Dziennik.Cofnij());
        QCOMPARE(Bajty(s.Mapy[MapaB]), mapaB);
        QCOMPARE(s.WriteRequests, 0u); // nothing is queued while the link is down
        QCOMPARE(s.Dziennik.Oczekujace(), 1u << BitMapaB);

        QVERIFY(s.PortOpen(1));
        Sesja(r);
        QCOMPARE(s.Dziennik.Oczekujace(), 0u);
        QCOMPARE(r.Ctl.Block(0xE1), mapaB);
        QCOMPARE(Bajty(s.Mapy[MapaB]), mapaB);

        QVERIFY(s.Dziennik.Cofnij()); // the same controller: its journal was kept
        Sesja(r);
        QCOMPARE(r.Ctl.Block(0xE8), nastawy);

        // Another controller (serial number) on the cable: what waits is set aside, not sent, and
        // the fitter's No drops it with the journal.
        s.PortClose();
        QVERIFY(s.Dziennik.Ponow());
        SetFrameByte(r.Ctl.Ident, 6, 'X');
        QVERIFY(s.PortOpen(1));
        Sesja(r);
        QVERIFY(s.Sesja->Czeka() && !s.Sesja->TenSam());
        s.Sesja->Zastosuj(false);
        QCOMPARE(s.Dziennik.IleCofnij() + s.Dziennik.IlePonow(), 0);
        QCOMPARE(r.Ctl.Block(0xE8), nastawy); // it did not get our bytes
    }

    // Steps of one gesture are one step named by the first value before and the last after; a
    // step that changes nothing is no step; the journal keeps the last 1000.
    void gesturesAndLimits() {
        TSterownik s;
        s.StopTimer();
        TKatalogNastaw k(&s);
        k.UtworzNastawy();
        TDziennik &d = s.Dziennik;
        s.Nastawy[51] = 150;
        const uint32_t g = d.NowyGest();
        for (int v = 151; v <= 154; ++v) {
            TZmiana z(&d, 1u << BitNastawy, QString(), g);
            k.UstawNastawe(51, v);
        }
        QCOMPARE(d.IleCofnij(), 1);
        // Raw 150 and 154 are 22 and 26 °C (the item counts from -128).
        QCOMPARE(d.OpisCofnij(), QString::fromUtf8("Switching to LPG when temp. rises above 22 → 26 [°C]"));
        QVERIFY(d.Cofnij());
        QCOMPARE(int(s.Nastawy[51]), 150);
        k.UstawNastawe(51, 150); // no change
        QCOMPARE(d.IlePonow(), 1);
        for (int i = 0; i < 1001; ++i)
            k.UstawNastawe(51, 150 + (i % 2 ? -1 : 1));
        QCOMPARE(d.IleCofnij(), TDziennik::MaksKrokow);
        QCOMPARE(d.IlePonow(), 0);
        // The oldest step made room: the newest is undone first, the first one is gone.
        QVERIFY(d.Cofnij());
        QCOMPARE(int(s.Nastawy[51]), 149);
        while (d.Cofnij()) {
        }
        QCOMPARE(int(s.Nastawy[51]), 151);
    }

    // Undoing the load-axis switch of the RPM corrections asks for both banks again, as the switch
    // does: the controller rebuilds them for the axis.
    void axisSwitchUndoneReadsTheBanks() {
        TLinkRig r;
        Sesja(r);
        TSterownik &s = r.Eng;
        {
            TZmiana z(&s.Dziennik, 1u << BitNastawy, QStringLiteral("axis"));
            s.Nastawy[76] ^= 1;
            s.ZapiszDoSterownika(1u << BitNastawy);
        }
        Sesja(r);
        QVERIFY(s.Dziennik.Cofnij());
        QCOMPARE(s.ReadRequests, (1u << BitKorObr1) | (1u << BitKorObr2));
        {
            TZmiana z(&s.Dziennik, 1u << BitNastawy, QStringLiteral("other"));
            s.Nastawy[77] ^= 1;
        }
        s.ReadRequests = 0;
        QVERIFY(s.Dziennik.Cofnij());
        QCOMPARE(s.ReadRequests, 0u);
    }

    // An undo lays a byte only where the controller still holds what the step left; the others
    // keep the controller's value and are counted: undone while the block waits to be read again,
    // and undone during a break.
    void controllersValueKept_data() {
        QTest::addColumn<bool>("przerwa");
        QTest::newRow("block read again") << false;
        QTest::newRow("after a break") << true;
    }
    void controllersValueKept() {
        QFETCH(bool, przerwa);
        TLinkRig r;
        Sesja(r);
        TSterownik &s = r.Eng;
        const QByteArray mapaB = r.Ctl.Block(0xE1);
        {
            TZmiana z(&s.Dziennik, DziennikWszystko, QStringLiteral("Erase gas map"));
            s.KasujMapeEcuGaz();
        }
        Sesja(r);
        QCOMPARE(r.Ctl.Block(0xE1), QByteArray(256, '\0'));
        QList<int> zachowane;
        s.Dziennik.OnZachowane = [&zachowane](int n) { zachowane << n; };
        r.Ctl.Block(0xE1)[0x35] = char(77); // learnt by the controller meanwhile
        if (przerwa) {
            s.PortClose();
            QVERIFY(s.Dziennik.Cofnij());
            QVERIFY(s.PortOpen(1));
        } else {
            s.CzytajZeSterownika(1u << BitMapaB);
            QVERIFY(s.Dziennik.Cofnij());
        }
        Sesja(r);
        QByteArray want = mapaB;
        want[0x35] = char(77);
        QCOMPARE(r.Ctl.Block(0xE1), want);
        QCOMPARE(Bajty(s.Mapy[MapaB]), want);
        QCOMPARE(zachowane, QList<int>{1});
    }
};

QTEST_GUILESS_MAIN(TestDziennik)
#include "tst_dziennik.moc"
