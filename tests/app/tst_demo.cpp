// Demo mode end to end: the virtual controller and the virtual ELM327 adapter on pseudo-terminals,
// the window connected to both as `tarven --demo` does it.
#include "app/TDemo.h"
#include "app/TForm1.h"
#include "app/TPanelPrawy.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "obd/TObd.h"
#include "obd/ui/TPanelObd.h"
#include "obd/ui/TWidokPojazdu.h"
#include "widgets/TSiatka.h"

#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestDemo : public QObject {
    Q_OBJECT

private slots:
    void missingSimulator() {
        TDemo d;
        QString error;
        QVERIFY(d.Uruchom(QStringLiteral("/nonexistent/tarven-sim"), QStringLiteral("elm"), {}, &error)
                    .isEmpty());
        QVERIFY(!error.isEmpty());
    }

    // tarven-sim beside the program (a build tree), else on the PATH, else the package's /usr/bin.
    void simulatorLookup() {
        QTemporaryDir program, path, empty;
        auto makeSim = [](const QString &dir) {
            QFile f(dir + QStringLiteral("/tarven-sim"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\n");
            f.close();
            QVERIFY(f.setPermissions(f.permissions() | QFile::ExeOwner));
        };
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", empty.path().toLocal8Bit());
        QCOMPARE(TDemo::SciezkaSymulatora(program.path()), QStringLiteral("/usr/bin/tarven-sim"));
        makeSim(path.path());
        qputenv("PATH", (empty.path() + QLatin1Char(':') + path.path()).toLocal8Bit());
        QCOMPARE(TDemo::SciezkaSymulatora(program.path()), path.path() + QStringLiteral("/tarven-sim"));
        makeSim(program.path());
        QCOMPARE(TDemo::SciezkaSymulatora(program.path()), program.path() + QStringLiteral("/tarven-sim"));
        qputenv("PATH", oldPath);
    }

    void liveWindow() {
#ifndef TARVEN_SIM_PATH
        QSKIP("tarven-sim is not built");
#else
        QStandardPaths::setTestModeEnabled(true);
        LangSetMessageHandler([](const QString &, int) { return 1; });
        TDemo d;
        QString error;
        const QString controller =
            d.Uruchom(QStringLiteral(TARVEN_SIM_PATH), QStringLiteral("controller"), {}, &error);
        QVERIFY2(controller.startsWith(QStringLiteral("/dev/")), qPrintable(error));
        const QString elm = d.Uruchom(QStringLiteral(TARVEN_SIM_PATH), QStringLiteral("elm"), {}, &error);
        QVERIFY2(elm.startsWith(QStringLiteral("/dev/")), qPrintable(error));

        QTemporaryDir dir;
        qputenv("HOME", dir.path().toLocal8Bit()); // the connection's backup goes into this folder
        TOpcjeStartu o;
        o.PlikKonfiguracji = dir.filePath(QStringLiteral("DuzERO.ini"));
        o.Splash = false;
        o.Jezyk = 0;
        o.Port = controller;
        o.PortObd = elm;
        {
            TForm1 w(o);
            w.show();
            // Identified: the caption names the model and its version; live readings arrive.
            QTRY_VERIFY_WITH_TIMEOUT(w.windowTitle().startsWith(w.BaseTitle + QStringLiteral("  -  TARVEN")),
                                     15000);
            QTRY_VERIFY_WITH_TIMEOUT(!w.PanelRight->StringGridParametry->Komorka(1, 0).isEmpty(), 10000);
            QTRY_VERIFY_WITH_TIMEOUT(!w.PanelRight->StringGridCzasyWtr->Komorka(1, 0).isEmpty(), 10000);
            QVERIFY(w.PanelStatus->text() != LangText(1240));
            // The adapter: a protocol found, an ECU, polled PIDs with values.
            QTRY_VERIFY_WITH_TIMEOUT(w.PanelRight->IkonaObd() > 0, 20000);
            QTRY_VERIFY_WITH_TIMEOUT(!w.PanelObd->StringGridElm->Komorka(1, 4).isEmpty(), 20000);
            QTRY_VERIFY_WITH_TIMEOUT(!w.PanelObd->StringGridPid->Komorka(4, 0x06).isEmpty(), 20000);
            // The vehicle page was read by itself once the ECUs were known: the virtual car's VIN.
            TSiatka *page = w.PanelObd->Pojazd->Siatka;
            QTRY_VERIFY_WITH_TIMEOUT(
                page->findItems(QStringLiteral("TRVSIM0A0B1C23456"), Qt::MatchExactly).size() == 1, 20000);
            w.close();
        }
        QVERIFY(QFile::exists(o.PlikKonfiguracji));
        QSettings s(o.PlikKonfiguracji, QSettings::IniFormat);
        QCOMPARE(s.value(QStringLiteral("Comm")).toInt(), 1); // the demo's terminals are not remembered
        d.Zatrzymaj();
        LangSetMessageHandler(nullptr);
#endif
    }
};

QTEST_MAIN(TestDemo)
#include "tst_demo.moc"
