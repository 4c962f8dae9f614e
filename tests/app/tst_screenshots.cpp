// Pictures of the window for the documentation: the wait for both maps (gas asked for once map A is
// learnt), one PNG per tab and per OBD sub-tab that is not hidden; and the program itself on a fresh
// account, whose first start takes the system's language.
#include "Okno.h"
#include "app/TZrzuty.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QPushButton>

class TestScreenshots : public QObject {
    Q_OBJECT

    static void Naucz(uint8_t *mapa, int komorek) {
        for (int i = 0; i < komorek; ++i)
            mapa[i * 7] = uint8_t(40 + i);
    }

private slots:
    void names() {
        const std::pair<QString, QString> rows[] = {
            {"Settings [F1]", "settings"},         {"OBD [F6]", "obd"},          {"Moduł", "modul"},
            {"Kor. od obrotów", "kor-od-obrotow"}, {"  Gas temp. ", "gas-temp"}, {"[F2]", "tab"},
        };
        for (const auto &[caption, name] : rows)
            QCOMPARE(TZrzuty::Nazwa(caption), name);
    }

    // A picture that would reach the size limit is kept with fewer colours, not refused.
    void fewerColoursOnlyWhenTooLarge() {
        QImage noise(320, 200, QImage::Format_RGB32);
        quint32 x = 12345;
        for (int y = 0; y < noise.height(); ++y)
            for (int i = 0; i < noise.width(); ++i) {
                x = x * 1103515245u + 12345u;
                noise.setPixel(i, y, 0xFF000000u | (x >> 8));
            }
        const QByteArray full = TZrzuty::Png(noise, 1 << 30);
        QCOMPARE(QImage::fromData(full), noise);
        const QByteArray fewer = TZrzuty::Png(noise, full.size());
        QVERIFY(fewer.size() < full.size());
        const QByteArray fewest = TZrzuty::Png(noise, fewer.size());
        QVERIFY(fewest.size() < 320 * 200 + 2048); // 256 colours: one byte a pixel and the palette
        for (const QByteArray &png : {fewer, fewest})
            QCOMPARE(QImage::fromData(png).size(), noise.size());
    }

    void waitsForBothMapsThenPicturesEveryShownTab() {
        TOkno o(0);
        QVERIFY(o.S().PortOpenPath(QStringLiteral("/dev/memory")));
        QTemporaryDir out;
        TZrzuty z(o.w.get(), out.filePath(QStringLiteral("img")));
        z.KomorekMapy = 3;
        z.PrzerwaMs = 0;
        z.Start();
        z.Timer.stop(); // the test takes the steps
        QCOMPARE(o.w->size(), QSize(1366, 768));

        z.Krok();
        QCOMPARE(o.S().FuelAutoPending, uint8_t(0));
        Naucz(o.S().Mapy[MapaA], 3);
        z.Krok();
        QCOMPARE(o.S().FuelAutoPending, uint8_t(1)); // map A learnt: over to gas for map B
        o.S().FuelAutoPending = 0;
        z.Krok();
        QCOMPARE(o.S().FuelAutoPending, uint8_t(0)); // asked once
        QVERIFY(!QFileInfo::exists(out.filePath(QStringLiteral("img"))));

        o.w->TabObd[1]->hide(); // as after the identification of a running controller
        Naucz(o.S().Mapy[MapaB], 3);
        for (int i = 0; i < 100 && !z.Koniec; ++i)
            z.Krok();
        QVERIFY(z.Koniec && !z.Blad);
        QStringList names;
        for (const QString &f : z.Zapisane)
            names << QFileInfo(f).fileName();
        QCOMPARE(names, QStringList({"settings.png", "calibration.png", "map.png", "diagnostics.png",
                                     "oscilloscope.png", "obd-elm-error.png", "obd-elm-pid.png",
                                     "obd-elm-vehicle.png", "obd-device.png"}));
        QList<QImage> pictures;
        for (const QString &f : z.Zapisane) {
            const QImage p(f);
            QCOMPARE(p.size(), QSize(1366, 768));
            QVERIFY2(!pictures.contains(p), qPrintable(f + QStringLiteral(" shows the tab before it")));
            pictures << p;
        }
        QVERIFY(!o.w->isVisible());
    }

    void aFolderThatCannotBeMadeEndsWithAnError() {
        TOkno o(0);
        QTemporaryDir out;
        const QString plik = out.filePath(QStringLiteral("file"));
        QFile f(plik);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        TZrzuty z(o.w.get(), plik + QStringLiteral("/img"));
        z.CzekajNaMapyMs = 0; // the maps are not waited for
        z.Krok();
        QVERIFY(z.Koniec && z.Blad && z.Zapisane.isEmpty());
    }

    // The program on a fresh account: Polish locale, nothing stored, no controller. Its pictures
    // carry the Polish tab names, and the language it started in is stored at the exit.
    void programFirstStartOnAFreshAccount() {
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("LANG"), QStringLiteral("pl_PL.UTF-8"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("pl_PL.UTF-8"));
        env.remove(QStringLiteral("LANGUAGE"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TARVEN_APP_PATH),
                {QStringLiteral("--port"), home.filePath(QStringLiteral("no-tty")),
                 QStringLiteral("--screenshot-dir"), home.filePath(QStringLiteral("img"))});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                 p.readAllStandardError().constData());
        QCOMPARE(QDir(home.filePath(QStringLiteral("img"))).entryList({"*.png"}, QDir::Files, QDir::Name),
                 QStringList({"diagnostyka.png", "kalibracja.png", "mapa.png", "obd-elm-bledy.png",
                              "obd-elm-pid.png", "obd-elm-pojazd.png", "obd-modul.png", "obd-sterownik.png",
                              "oscyloskop.png", "ustawienia.png"}));
        QSettings stored(home.filePath(QStringLiteral("config/DuzERO.conf")), QSettings::IniFormat);
        QCOMPARE(stored.value("Lang").toInt(), 1);

        QProcess v;
        v.start(QStringLiteral(TARVEN_APP_PATH), {QStringLiteral("--version")});
        QVERIFY(v.waitForFinished(30000));
        QCOMPARE(v.readAllStandardOutput(), QByteArray("tarven " TARVEN_VERSION "\n"));
    }
};

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
