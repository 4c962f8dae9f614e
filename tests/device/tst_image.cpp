// The device data image: defaults, erase operations with their write marks, the change history.
#include "support/ScriptedController.h"

#include <QtTest>
#include <cstring>
#include <set>

namespace {
constexpr uint32_t B(int n) {
    return uint32_t(1) << n;
}

bool All(const uint8_t *p, int n, uint8_t v) {
    for (int i = 0; i < n; ++i)
        if (p[i] != v) return false;
    return true;
}

QByteArray Entry(const TSterownik &e, int n) {
    return QByteArray(reinterpret_cast<const char *>(e.Historia + 8 * n), 8);
}
QByteArray Bytes(std::initializer_list<int> l) {
    QByteArray b;
    for (int v : l)
        b.append(char(v));
    return b;
}
} // namespace

class TestImage : public QObject {
    Q_OBJECT
private slots:
    void defaultsAtStart() {
        TSterownik e;
        e.StopTimer();
        QCOMPARE(e.WriteRequests, 0u);
        QVERIFY(All(e.Mnoznik1, 256, 100) && All(e.Mnoznik2, 256, 100));
        QVERIFY(All(e.KorObr1, 256, 100) && All(e.KorObr2, 256, 100));
        QVERIFY(All(e.Wzbogacenie, 256, 128));
        QVERIFY(All(e.Opoznienia, 256, 0) && All(e.Emulator, 256, 0) && All(e.Historia, 256, 0));
        for (int i = 0; i < 304; ++i) {
            const int want = (i == 189 || i == 215) ? 200 : 0;
            QVERIFY2(e.Nastawy[i] == want, qPrintable(QString::number(i)));
        }
        for (const auto &m : e.Mapy)
            QVERIFY(All(m, 256, 0));
        QVERIFY(All(e.Identyfikacja, 192, 0));
        QCOMPARE(int(e.InjectorMask), 255);
        QCOMPARE(int(e.InjectorCount), 8);
        QCOMPARE(int(e.MultiplierScale), 200);
        QCOMPARE(int(e.KorCis[0]), 8);
        QCOMPARE(int(e.KorTempRed[0]), 9);
        QCOMPARE(int(e.KorTempGazu[0]), 10);
    }

    void correctionCurveDefaults_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("xFirst");
        QTest::addColumn<int>("xLast");
        QTest::newRow("gas pressure") << 0 << 8 << 50 << 250;
        QTest::newRow("reducer temperature") << 1 << 9 << 98 << 228;
        QTest::newRow("gas temperature") << 2 << 10 << 98 << 228;
    }
    void correctionCurveDefaults() {
        QFETCH(int, which);
        QFETCH(int, id);
        QFETCH(int, xFirst);
        QFETCH(int, xLast);
        TSterownik e;
        e.StopTimer();
        uint8_t *k[3] = {e.KorCis, e.KorTempRed, e.KorTempGazu};
        std::memset(k[which], 0x33, 256);
        e.KasujKorekty();
        const uint8_t *c = k[which];
        QCOMPARE(int(c[0]), id);
        QCOMPARE(int(c[1]), 0);
        QCOMPARE(int(c[2]), xFirst);
        QCOMPARE(int(c[3]), 128);
        QCOMPARE(int(c[16]), xLast);
        QCOMPARE(int(c[17]), 128);
        QVERIFY(All(c + 4, 12, 0)); // points 2…7 unused
        QVERIFY(All(c + 18, 32, 0));
        QVERIFY(All(c + 50, 206, 128));
        QCOMPARE(e.WriteRequests, B(8) | B(9) | B(10));
    }

    void eraseMarks_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<uint32_t>("marks");
        QTest::newRow("multipliers") << 0 << (B(0) | B(1) | B(2));
        QTest::newRow("rpm corrections") << 1 << (B(3) | B(4));
        QTest::newRow("petrol map") << 2 << B(16);
        QTest::newRow("gas map") << 3 << B(17);
        QTest::newRow("obd petrol maps") << 4 << (B(20) | B(22));
        QTest::newRow("obd gas maps") << 5 << (B(21) | B(23));
        QTest::newRow("factory") << 6 << (B(0) | B(1) | B(2) | B(3) | B(4) | B(8) | B(9) | B(10));
        QTest::newRow("history") << 7 << B(7);
    }
    void eraseMarks() {
        QFETCH(int, op);
        QFETCH(uint32_t, marks);
        TSterownik e; // port closed: these erases mark their blocks whatever the link does
        e.StopTimer();
        for (auto &m : e.Mapy)
            std::memset(m, 77, 256);
        std::memset(e.Mnoznik1, 1, 256);
        std::memset(e.KorObr2, 1, 256);
        std::memset(e.Historia, 5, 256);
        switch (op) {
        case 0: e.KasujMnoznik(); break;
        case 1: e.KasujKorOdObr(); break;
        case 2: e.KasujMapeEcuBen(); break;
        case 3: e.KasujMapeEcuGaz(); break;
        case 4: e.KasujMapeOdbBen(); break;
        case 5: e.KasujMapeObdGaz(); break;
        case 6: e.NastawyFabryczne(); break;
        case 7: e.HistoriaZmianKasuj(); break;
        }
        QCOMPARE(e.WriteRequests, marks);
        QCOMPARE(int(e.FactoryPending), op == 6 ? 1 : 0);
        // Exactly the maps the operation names are cleared.
        const int mapBits[6] = {16, 17, 20, 21, 22, 23};
        for (int m = 0; m < 6; ++m)
            QCOMPARE(All(e.Mapy[m], 256, 0), bool(marks & B(mapBits[m])));
        if (op == 0 || op == 6) QVERIFY(All(e.Mnoznik1, 256, 100));
        if (op == 1 || op == 6) QVERIFY(All(e.KorObr2, 256, 100));
        if (op == 7) QVERIFY(All(e.Historia, 256, 0));
    }

    void multiplierAreas() {
        TSterownik e;
        e.StopTimer();
        std::memset(e.Nastawy, 9, sizeof e.Nastawy);
        e.MultiplierScale = 150;
        e.KasujMnoznik();
        QCOMPARE(int(e.Nastawy[163]), 9);
        QVERIFY(All(e.Nastawy + 164, 25, 0));
        QCOMPARE(int(e.Nastawy[189]), 150);
        QVERIFY(All(e.Nastawy + 190, 25, 0));
        QCOMPARE(int(e.Nastawy[215]), 150);
        QCOMPARE(int(e.Nastawy[216]), 9);
    }

    void petrolMapEraseClearsByte79() {
        TSterownik e;
        e.StopTimer();
        e.Nastawy[79] = 0;
        e.KasujMapeEcuBen();
        QCOMPARE(e.WriteRequests, B(16)); // only map A
        e.WriteRequests = 0;
        e.Nastawy[79] = 3;
        e.KasujMapeEcuBen();
        QCOMPARE(int(e.Nastawy[79]), 0);
        QCOMPARE(e.WriteRequests, B(16) | B(0));
    }

    void delayDefaultTable() {
        TLinkRig r;
        r.Eng.KasujOpoznienia();
        const uint8_t *t = r.Eng.Opoznienia;
        const int row0[16] = {2, 4, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34};
        for (int c = 0; c < 16; ++c)
            QCOMPARE(int(t[c]), row0[c]);
        QVERIFY(All(t + 15 * 16, 16, 2));
        // Row 5: 2 up to the diagonal, 4 just after it, then 8, 10, …
        QCOMPARE(int(t[5 * 16 + 5]), 2);
        QCOMPARE(int(t[5 * 16 + 6]), 4);
        QCOMPARE(int(t[5 * 16 + 7]), 8);
        QCOMPARE(int(t[5 * 16 + 15]), 24);
        QCOMPARE(r.Eng.WriteRequests, B(12));
    }

    // These two go through the link's write rules: only when the block was read and the link is up.
    void delayAndEnrichmentRespectTheLink() {
        {
            TSterownik e; // port closed
            e.StopTimer();
            std::memset(e.Wzbogacenie, 1, 256);
            e.KasujWzbogacenie();
            e.KasujOpoznienia();
            QVERIFY(All(e.Wzbogacenie, 256, 128)); // the table is reset anyway
            QCOMPARE(int(e.Opoznienia[1]), 4);
            QCOMPARE(e.WriteRequests, 0u);
        }
        {
            TLinkRig r;
            r.Eng.ReadRequests = B(13);
            r.Eng.KasujWzbogacenie();
            QCOMPARE(r.Eng.WriteRequests, 0u); // not read yet
            r.Eng.ReadRequests = 0;
            r.Eng.KasujWzbogacenie();
            QCOMPARE(r.Eng.WriteRequests, B(13));
        }
    }

    void blocksByBit() {
        TSterownik e;
        e.StopTimer();
        const int bits[] = {0, 1, 2, 3, 4, 7, 8, 9, 10, 11, 12, 13, 16, 17, 20, 21, 22, 23};
        std::set<uint8_t *> seen;
        for (int b : bits) {
            uint8_t *p = e.Blok(b);
            QVERIFY2(p, qPrintable(QString::number(b)));
            seen.insert(p);
        }
        QCOMPARE(int(seen.size()), 18);
        QCOMPARE(e.Blok(0), e.Nastawy);
        QCOMPARE(e.Blok(20), e.Mapy[MapaC]);
        QCOMPARE(e.Blok(17), e.Mapy[MapaB]);
        QCOMPARE(e.Blok(13), e.Wzbogacenie);
        for (int b : {-1, 5, 6, 14, 15, 18, 19, 24, 31, 32})
            QVERIFY(!e.Blok(b));
    }

    void dateAndWorkstation() {
        TSterownik e;
        e.StopTimer();
        e.UstawDateIdent(QDate(2024, 3, 9), 0xA1B2C3D4);
        QCOMPARE(e.ChangeDate[0], 24);
        QCOMPARE(e.ChangeDate[1], 3);
        QCOMPARE(e.ChangeDate[2], 9);
        QCOMPARE(e.WorkstationId, 0xA1B2C3D4u);
        e.HistoriaZmian(3);
        QCOMPARE(Entry(e, 0), Bytes({0x08, 24, 3, 9, 0xA1, 0xB2, 0xC3, 0xD4}));
        QCOMPARE(e.WriteRequests, B(7));
    }

    void historyNotWrittenBeforeRead() {
        TSterownik e;
        e.StopTimer();
        e.UstawDateIdent(QDate(2025, 1, 31), 7);
        e.CzytajZeSterownika(B(7));
        e.HistoriaZmian(0);
        QCOMPARE(e.WriteRequests, 0u); // the controller's own record is not overwritten
        QCOMPARE(int(e.Historia[0]), 0);
        e.ReadRequests = 0;
        e.HistoriaZmian(0);
        QCOMPARE(e.WriteRequests, B(7));
    }

    void historySameDay() {
        TSterownik e;
        e.StopTimer();
        e.UstawDateIdent(QDate(2025, 1, 31), 7);
        e.HistoriaZmian(3);
        e.WriteRequests = 0;
        e.HistoriaZmian(3); // repeat: nothing changes, nothing is marked
        QCOMPARE(e.WriteRequests, 0u);
        QCOMPARE(int(e.Historia[8]), 0);
        e.HistoriaZmian(2); // merged into the same entry
        QCOMPARE(Entry(e, 0), Bytes({0x0C, 25, 1, 31, 0, 0, 0, 7}));
        QCOMPARE(int(e.Historia[8]), 0);
        QCOMPARE(e.WriteRequests, B(7));

        // Another PC on the same day, and the next day, start new entries.
        e.UstawDateIdent(QDate(2025, 1, 31), 8);
        e.HistoriaZmian(2);
        QCOMPARE(Entry(e, 1), Bytes({0x04, 25, 1, 31, 0, 0, 0, 8}));
        e.UstawDateIdent(QDate(2025, 2, 1), 8);
        e.HistoriaZmian(0);
        QCOMPARE(Entry(e, 2), Bytes({0x01, 25, 2, 1, 0, 0, 0, 8}));
        // Only the latest entry is merged into.
        e.UstawDateIdent(QDate(2025, 1, 31), 7);
        e.HistoriaZmian(3);
        QCOMPARE(Entry(e, 3), Bytes({0x08, 25, 1, 31, 0, 0, 0, 7}));
    }

    void historyFullShifts() {
        TSterownik e;
        e.StopTimer();
        for (int n = 0; n < 32; ++n) {
            e.UstawDateIdent(QDate(2020, 1, 1).addDays(n), 100 + n);
            e.HistoriaZmian(n % 4);
        }
        QByteArray before(reinterpret_cast<const char *>(e.Historia), 256);
        e.WriteRequests = 0;
        e.UstawDateIdent(QDate(2021, 6, 15), 0x01020304);
        e.HistoriaZmian(1);
        QCOMPARE(Entry(e, 0), before.mid(0, 8)); // the oldest stays: it is the production date
        for (int n = 1; n <= 30; ++n)
            QCOMPARE(Entry(e, n), before.mid(8 * (n + 1), 8));
        // The new entry carries only its own kind, not the kinds of the entry it replaced.
        QCOMPARE(Entry(e, 31), Bytes({0x02, 21, 6, 15, 1, 2, 3, 4}));
        QCOMPARE(e.WriteRequests, B(7));

        // Full table, same day and PC as the last entry: merged, not shifted.
        QByteArray full(reinterpret_cast<const char *>(e.Historia), 256);
        e.HistoriaZmian(3);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(e.Historia), 248), full.left(248));
        QCOMPARE(int(e.Historia[248]), 0x0A);
    }

    void historyRejectsUnknownKinds() {
        TSterownik e;
        e.StopTimer();
        e.HistoriaZmian(-1);
        e.HistoriaZmian(8);
        e.HistoriaZmian(40);
        QVERIFY(All(e.Historia, 256, 0));
        QCOMPARE(e.WriteRequests, 0u);
    }
};

QTEST_GUILESS_MAIN(TestImage)
#include "tst_image.moc"
