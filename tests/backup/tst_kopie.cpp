// The backup store (folder names, distinct file names, files that are no backups) and the guard that
// decides when the image holds the whole controller and takes the backup of a connection.
#include "backup/StrazKopii.h"
#include "device/TSterownik.h"

#include <QtTest>

namespace {

void UstawNumer(TSterownik &s, const QByteArray &serial) {
    std::fill(s.Identyfikacja + 6, s.Identyfikacja + 22, uint8_t(0));
    std::copy(serial.begin(), serial.end(), s.Identyfikacja + 6);
}

bool Zapisz(const QString &path, const QByteArray &data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// The reply codes of the full read after an identification that fill the blocks of a settings file.
constexpr uint8_t OdczytyPliku[] = {0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xE0, 0xE1,
                                    0xE2, 0xE3, 0xE4, 0xE5, 0xA8, 0xA9, 0xAA};

} // namespace

class TestKopie : public QObject {
    Q_OBJECT
private slots:
    // Serial numbers as folder names: kept where safe, anything that could leave the folder replaced.
    void serialsStayInsideTheFolder() {
        const std::pair<const char *, const char *> rows[] = {
            {"TV2403PRO00417", "TV2403PRO00417"}, {"ECO-77_b", "ECO-77_b"}, {"", "unknown"},    {"..", "__"},
            {"../../etc/x", "______etc_x"},       {"A\\B C", "A_B_C"},      {"ŁÓDŹ9", "__D_9"},
        };
        const TMagazynKopii m(QStringLiteral("/docs"));
        for (const auto &[serial, folder] : rows) {
            QCOMPARE(TMagazynKopii::BezpiecznyNumer(QString::fromUtf8(serial)), QString::fromLatin1(folder));
            QCOMPARE(m.FolderSterownika(QString::fromUtf8(serial)),
                     QStringLiteral("/docs/QERN/Tarven II/Backups/") + QString::fromLatin1(folder));
        }
    }

    // Two backups in one second get their own names; files that are not whole backups are listed
    // as unreadable, never taken as a backup and left where they are.
    void namesListingAndForeignFiles() {
        QTemporaryDir docs;
        TSterownik s;
        s.StopTimer();
        UstawNumer(s, "TV1");
        s.Identyfikacja[38] = 2;
        const TMagazynKopii m(docs.path());
        const QDateTime t(QDate(2024, 5, 1), QTime(14, 3, 27));
        QString error;
        QStringList paths;
        for (TPowodKopii p : {TPowodKopii::Polaczenie, TPowodKopii::ZapisPliku, TPowodKopii::ZapisPliku})
            paths << m.Zapisz(s, p, &error, t);
        QCOMPARE(QFileInfo(paths[0]).fileName(), QStringLiteral("2024-05-01_14-03-27_connect.set"));
        QCOMPARE(QFileInfo(paths[1]).fileName(), QStringLiteral("2024-05-01_14-03-27_file-write.set"));
        QCOMPARE(QFileInfo(paths[2]).fileName(), QStringLiteral("2024-05-01_14-03-27_file-write_2.set"));
        paths << m.Zapisz(s, TPowodKopii::Reczna, &error, t.addSecs(-60));

        const QString dir = m.FolderSterownika(QStringLiteral("TV1"));
        QFile first(paths[0]);
        QVERIFY(first.open(QIODevice::ReadOnly));
        const QByteArray whole = first.readAll();
        QCOMPARE(whole.size(), 4096);
        QByteArray foreign = whole;
        foreign.replace(0, 8, "osc file");
        const QStringList bad = {dir + "/2024-06-01_10-00-00_manual.set", // truncated
                                 dir + "/2024-06-02_10-00-00_manual.set", // another kind of file
                                 dir + "/notes.txt", dir + "/2024-06-03_10-00-00_holiday.set"};
        QVERIFY(Zapisz(bad[0], whole.left(4000)));
        QVERIFY(Zapisz(bad[1], foreign));
        QVERIFY(Zapisz(bad[2], "hello"));
        QVERIFY(Zapisz(bad[3], whole)); // a whole file under a name no backup has

        const QList<TKopia> l = m.Lista(QStringLiteral("TV1"));
        QCOMPARE(l.size(), 8);
        QStringList readable;
        for (const TKopia &k : l) {
            if (!k.Czytelna) continue;
            readable << k.Sciezka;
            QCOMPARE(k.Model, QStringLiteral("TARVEN PRO+"));
        }
        // Newest first; the second one of the same second before the first.
        QCOMPARE(readable, (QStringList{paths[2], paths[1], paths[0], paths[3]}));
        for (const QString &p : bad)
            QVERIFY2(QFileInfo::exists(p), qPrintable(p));
        QCOMPARE(m.Najnowsza(QStringLiteral("TV1")), paths[2]);
    }

    // Complete only once the controller identified itself and sent every block of a settings file
    // since the connection, with nothing of them waiting; one connect backup per connection, none
    // when the controller holds what its newest backup holds.
    void guardAndConnectBackup() {
        QTemporaryDir docs;
        TSterownik s;
        s.StopTimer();
        s.DocumentsFolder = docs.path();
        UstawNumer(s, "TV2");
        TStrazKopii g(s);
        g.KopiaPolaczenia = true;
        QStringList made;
        g.OnKopiaPolaczenia = [&](const QString &path, const QString &) { made << path; };
        const auto polacz = [&] {
            g.Zdarzenie(3, 0);
            g.Zdarzenie(0, 0x81);
            for (uint8_t code : OdczytyPliku) {
                QVERIFY(!g.Kompletna());
                g.Zdarzenie(0, code);
            }
        };
        QString error;
        QVERIFY(g.Zapisz(TPowodKopii::Reczna, &error).isEmpty());
        g.Zdarzenie(0, 0x81);
        for (uint8_t code : OdczytyPliku)
            if (code != 0xE5) g.Zdarzenie(0, code);
        QVERIFY(!g.Kompletna()); // map F missing
        g.Zdarzenie(0, 0xE5);
        QVERIFY(g.Kompletna());
        QCOMPARE(made.size(), 1);
        s.WriteRequests = 1u << BitMapaB; // a block waiting to be written is not the controller's yet
        QVERIFY(!g.Kompletna());
        s.WriteRequests = 0;
        // The factory command answered: until its blocks are read again the image holds the
        // PC's defaults, not what the controller made of them.
        s.ReadRequests = 0x71F;
        QVERIFY(!g.Kompletna());
        s.ReadRequests = 0;

        polacz(); // the same controller again: no second copy
        QVERIFY(g.Kompletna());
        QCOMPARE(made.size(), 1);
        s.Mapy[MapaC][5] = 7; // changed meanwhile: a new one
        polacz();
        QCOMPARE(made.size(), 2);
        QVERIFY(made[1] != made[0] && QFileInfo::exists(made[1]));

        g.Zdarzenie(3, 0); // a new link: nothing read from it yet
        QVERIFY(!g.Kompletna());
        s.Identyfikacja[5] = 1;
        g.Zdarzenie(0, 0x81);
        QVERIFY(g.WBootloaderze());
        QVERIFY(g.Zapisz(TPowodKopii::Firmware, &error).isEmpty());
        QVERIFY(error.contains(QLatin1String("bootloader")));
    }
};

QTEST_GUILESS_MAIN(TestKopie)
#include "tst_kopie.moc"
