// The map view against the virtual controller on a pseudo-terminal, as `tarven --demo` runs it: the
// maps fill while the engine runs on gas, the cursor follows the replies, and a knot and a table
// cell edited in the view reach the controller and read back equal.
// TARVEN_GRAB=<folder> also saves the window on each map sub-tab.
#include "app/TDemo.h"
#include "app/TForm1.h"
#include "charts/TGrafika.h"
#include "charts/TTabelaMapy.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstring>

class TestGrafikaDemo : public QObject {
    Q_OBJECT

    static int Wypelnione(const uint8_t *m) {
        return int(std::count_if(m, m + 256, [](uint8_t v) { return v != 0; }));
    }
    // Forgets the block, reads it from the controller again and compares.
    static bool Odczytane(TSterownik &s, uint32_t bits, uint8_t *block, int size) {
        const QByteArray przed(reinterpret_cast<char *>(block), size);
        std::memset(block, 0, size_t(size));
        s.CzytajZeSterownika(bits);
        if (!QTest::qWaitFor([&] { return (s.ReadRequests & bits) == 0; }, 10000)) return false;
        const QByteArray po(reinterpret_cast<char *>(block), size);
        for (int i = 0; i < size; ++i)
            if (po[i] != przed[i])
                qWarning("byte %d: %d read back as %d", i, uint8_t(przed[i]), uint8_t(po[i]));
        return po == przed;
    }
    static void Zrzut(TForm1 &w, const QString &name) {
        const QString dir = qEnvironmentVariable("TARVEN_GRAB");
        if (dir.isEmpty()) return;
        QDir().mkpath(dir);
        QTest::qWait(300); // a few replies on the picture
        w.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

private slots:
    void editsReachTheController() {
#ifndef TARVEN_SIM_PATH
        QSKIP("tarven-sim is not built");
#else
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale::c());
        LangSetMessageHandler([](const QString &, int) { return 6; });
        TDemo d;
        QString error;
        const QString controller = d.Uruchom(QStringLiteral(TARVEN_SIM_PATH), QStringLiteral("controller"),
                                             {QStringLiteral("--learn-every"), QStringLiteral("100"),
                                              QStringLiteral("--learn-spread"), QStringLiteral("3")},
                                             &error);
        QVERIFY2(controller.startsWith(QStringLiteral("/dev/")), qPrintable(error));
        QTemporaryDir dir;
        qputenv("HOME", dir.path().toLocal8Bit()); // the connection's backup goes into this folder
        TOpcjeStartu o;
        o.PlikKonfiguracji = dir.filePath(QStringLiteral("DuzERO.ini"));
        o.Splash = false;
        o.Jezyk = 0;
        o.Port = controller;
        {
            TForm1 w(o);
            w.resize(1100, 760);
            w.show();
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            TSterownik &s = *w.Sterownik1;
            QTRY_VERIFY_WITH_TIMEOUT(w.windowTitle().startsWith(w.BaseTitle + QStringLiteral("  -  TARVEN")),
                                     15000);
            QTRY_VERIFY_WITH_TIMEOUT(s.ReadRequests == 0, 15000);
            auto *g = dynamic_cast<TGrafika *>(w.Grafika.get());
            QVERIFY(g);

            // On gas; the multiplier chart fills and its cursor follows the engine.
            s.FuelFastPending = 1;
            w.FormKeyDown(Qt::Key_F3, Qt::NoModifier);
            QCOMPARE(g->Tryb(), 0);
            QVERIFY(g->isVisible());
            QTRY_VERIFY_WITH_TIMEOUT(Wypelnione(s.Mapy[MapaB]) >= 4,
                                     60000); // the idle part of the drive is 20 s
            QVERIFY(Wypelnione(s.Mapy[MapaA]) >= 1);
            QTRY_VERIFY_WITH_TIMEOUT(g->KursorX() > g->Obszar().left, 5000);
            g->Rysuj();
            Zrzut(w, QStringLiteral("demo_m0"));

            // A knot added with the mouse is written and reads back equal, with its settings.
            const Wykres2D::TObszar ob = g->Obszar();
            g->Nacisnij(QPoint(ob.left + ob.w * 3 / 4 + 1, ob.bottom - ob.h / 2), Qt::RightButton);
            QVERIFY(g->WybranyWezel() > 0);
            g->KlawiszMapy(Qt::Key_Up, Qt::NoModifier);
            QCOMPARE(int(s.Mnoznik1[150]), 101);
            QVERIFY(s.WriteRequests & 3u);
            QTRY_VERIFY_WITH_TIMEOUT((s.WriteRequests & 3u) == 0, 10000);
            QVERIFY(Odczytane(s, 2, s.Mnoznik1, 256));
            QVERIFY(Odczytane(s, 1, s.Nastawy + 1, 255)); // byte 0 is the checksum the frame carries
            QCOMPARE(int(s.Nastawy[190 + g->WybranyWezel()]), 150);

            // The tables: a block of the RPM correction raised with Ctrl + Up.
            w.FormKeyDown(Qt::Key_F3, Qt::NoModifier);
            QCOMPARE(g->Tryb(), 1);
            TTabelaMapy *dolna = g->TabelaDolna();
            QVERIFY(dolna && dolna->isVisible());
            dolna->setFocus();
            dolna->UstawBlok(2, 10, 4, 12);
            const int przed = s.KorObr1[2 * 16 + 5];
            w.FormKeyDown(Qt::Key_Up, Qt::ControlModifier);
            QCOMPARE(int(s.KorObr1[2 * 16 + 5]), przed + 1);
            QTRY_VERIFY_WITH_TIMEOUT((s.WriteRequests & 8u) == 0, 10000);
            QVERIFY(Odczytane(s, 8, s.KorObr1, 256));
            QTRY_VERIFY_WITH_TIMEOUT(g->ZywaKolumna() >= 0, 5000);
            Zrzut(w, QStringLiteral("demo_m1"));
            for (int sub = 2; sub <= 4; ++sub) {
                w.FormKeyDown(Qt::Key_F3, Qt::NoModifier);
                QCOMPARE(g->Tryb(), sub);
                Zrzut(w, QStringLiteral("demo_m%1").arg(sub));
            }
            w.close();
        }
        d.Zatrzymaj();
        LangSetMessageHandler(nullptr);
#endif
    }
};

QTEST_MAIN(TestGrafikaDemo)
#include "tst_grafika_demo.moc"
