// The journal of edits: each kind of step undone and redone byte for byte with exactly its blocks
// marked, runs of one gesture as one step, cells the controller learnt left alone, and an undo made
// while the link is down reaching the controller after it reconnects.
#include "device/TSterownik.h"
#include "settings/TKatalogNastaw.h"
#include "support/ObrazDziennika.h"
#include "support/ScriptedController.h"

#include <QTemporaryDir>
#include <QtTest>
#include <functional>

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

struct TRodzaj {
    const char *nazwa;
    std::function<void(TSterownik &, TKatalogNastaw &, const QString &dir)> zrob;
};

const TRodzaj Rodzaje[] = {
    {"setting", [](TSterownik &, TKatalogNastaw &k,
                   const QString &) { k.UstawNastawe(51, k.Wartosc(51) == 150 ? 170 : 150); }},
    {"choice with dependants", [](TSterownik &, TKatalogNastaw &k,
                                  const QString &) { k.UstawNastawe(40, k.Wartosc(40) == 2 ? 1 : 2); }},
    {"erase gas map",
     [](TSterownik &s, TKatalogNastaw &, const QString &) {
         TZmiana z(&s.Dziennik, DziennikWszystko, QStringLiteral("Erase gas map"));
         s.KasujMapeEcuGaz();
     }},
    {"erase multiplier",
     [](TSterownik &s, TKatalogNastaw &, const QString &) {
         TZmiana z(&s.Dziennik, DziennikWszystko, QStringLiteral("Erase adjustments"));
         s.KasujMnoznik();
     }},
    {"erase delay",
     [](TSterownik &s, TKatalogNastaw &, const QString &) {
         TZmiana z(&s.Dziennik, DziennikWszystko, QStringLiteral("Clear corrections"));
         s.KasujOpoznienia();
     }},
    {"factory settings",
     [](TSterownik &s, TKatalogNastaw &k, const QString &) {
         TZmiana z(&s.Dziennik, DziennikWszystko, QStringLiteral("Factory settings"));
         k.NastawyDomyslne();
         s.NastawyFabryczne();
     }},
    {"settings file",
     [](TSterownik &s, TKatalogNastaw &, const QString &dir) {
         // A file of another car: every block different.
         TSterownik inny;
         inny.StopTimer();
         for (int bit = 0; bit < 24; ++bit)
             if (uint8_t *b = inny.Blok(bit))
                 for (int i = 0; i < 256; ++i)
                     b[i] = uint8_t(i * 3 + bit);
         const QString plik = dir + QStringLiteral("/inny.set");
         QVERIFY(inny.ZapiszUstawienia(plik));
         TZmiana z(&s.Dziennik, DziennikWszystko, QStringLiteral("Read settings file"));
         QVERIFY(s.CzytajUstawienia(plik));
         // Written and read back: as if the controller had answered with the file's blocks.
         s.ReadRequests = 0;
     }},
};

} // namespace

class TestDziennik : public QObject {
    Q_OBJECT
private slots:
    // For each kind of step: undo gives the earlier image back with exactly the changed blocks
    // marked, redo the later one with the same blocks.
    void undoRedo_data() {
        QTest::addColumn<int>("rodzaj");
        for (int i = 0; i < int(std::size(Rodzaje)); ++i)
            QTest::newRow(Rodzaje[i].nazwa) << i;
    }
    void undoRedo() {
        QFETCH(int, rodzaj);
        QTemporaryDir dir;
        TLinkRig r;
        Sesja(r);
        TKatalogNastaw k(&r.Eng);
        k.UtworzNastawy();
        TSterownik &s = r.Eng;
        const QByteArray przed = ObrazDziennika(s);
        Rodzaje[rodzaj].zrob(s, k, dir.path());
        const QByteArray po = ObrazDziennika(s);
        QVERIFY(po != przed);
        QCOMPARE(s.Dziennik.IleCofnij(), 1);
        const uint32_t bloki = BlokiRozne(s, przed, po);
        s.WriteRequests = 0; // the controller took the writes
        s.FactoryPending = 0;

        QVERIFY(s.Dziennik.Cofnij());
        QCOMPARE(ObrazDziennika(s), przed);
        QCOMPARE(s.WriteRequests, bloki);
        QCOMPARE(s.Dziennik.Oczekujace(), 0u);
        QVERIFY(!s.Dziennik.Cofnij());

        s.WriteRequests = 0;
        QVERIFY(s.Dziennik.Ponow());
        QCOMPARE(ObrazDziennika(s), po); // a redone factory reset asks the controller for it again
        QCOMPARE(s.WriteRequests, bloki);
    }

    void exactBlocksOfErase() {
        TLinkRig r;
        Sesja(r);
        TSterownik &s = r.Eng;
        {
            TZmiana z(&s.Dziennik, DziennikWszystko, QStringLiteral("Erase gas map"));
            s.KasujMapeEcuGaz();
        }
        QCOMPARE(s.Dziennik.OpisCofnij(), QStringLiteral("Erase gas map"));
        s.WriteRequests = 0;
        s.Dziennik.Cofnij();
        QCOMPARE(s.WriteRequests, 1u << BitMapaB);
    }

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
        const QByteArray skasowana(reinterpret_cast<const char *>(s.Mapy[MapaB]), 256);
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
    // go over them and out to the controller. A second step stays undoable after the reconnection.
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
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(s.Mapy[MapaB]), 256), mapaB);
        QCOMPARE(s.WriteRequests, 0u); // nothing is queued while the link is down
        QCOMPARE(s.Dziennik.Oczekujace(), 1u << BitMapaB);

        QVERIFY(s.PortOpen(1));
        Sesja(r);
        QCOMPARE(s.Dziennik.Oczekujace(), 0u);
        QCOMPARE(r.Ctl.Block(0xE1), mapaB);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(s.Mapy[MapaB]), 256), mapaB);

        QVERIFY(s.Dziennik.Cofnij()); // the same controller: its journal was kept
        Sesja(r);
        QCOMPARE(r.Ctl.Block(0xE8), nastawy);
    }

    void anotherControllerClearsTheJournal() {
        TLinkRig r;
        Sesja(r);
        TKatalogNastaw k(&r.Eng);
        k.UtworzNastawy();
        k.UstawNastawe(51, k.Wartosc(51) == 150 ? 170 : 150);
        QCOMPARE(r.Eng.Dziennik.IleCofnij(), 1);
        r.Eng.PortClose();
        r.Eng.Dziennik.Cofnij(); // waits for the link
        SetFrameByte(r.Ctl.Ident, 6, 'X');
        const QByteArray nastawy = r.Ctl.Block(0xE8);
        QVERIFY(r.Eng.PortOpen(1));
        Sesja(r);
        QCOMPARE(r.Eng.Dziennik.IleCofnij(), 0);
        QCOMPARE(r.Eng.Dziennik.IlePonow(), 0);
        QCOMPARE(r.Ctl.Block(0xE8), nastawy); // the other controller did not get our bytes
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
        QCOMPARE(d.OpisCofnij(), k.NazwaNastawy(51) + QLatin1Char(' ') + k.TekstNastawy(51, 150) +
                                     QString::fromUtf8(" → ") + k.TekstNastawy(51, 154) + QLatin1Char(' ') +
                                     k.JednostkaNastawy(51));
        QVERIFY(d.Cofnij());
        QCOMPARE(int(s.Nastawy[51]), 150);
        k.UstawNastawe(51, 150); // no change
        QCOMPARE(d.IlePonow(), 1);
        for (int i = 0; i < 1001; ++i)
            k.UstawNastawe(51, 150 + (i % 2 ? -1 : 1));
        QCOMPARE(d.IleCofnij(), TDziennik::MaksKrokow);
        QCOMPARE(d.IlePonow(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDziennik)
#include "tst_dziennik.moc"
