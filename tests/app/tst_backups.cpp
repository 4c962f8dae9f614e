// A way back in the window, end to end against the virtual controller on a pseudo-terminal: a file
// loaded before the controller has been read waits for the read and its backup, the backup holds
// what the controller held, the backups window compares it with the controller and restores it.
#include "Okno.h"
#include "app/TDemo.h"
#include "backup/StrazKopii.h"
#include "dialogs/TFormKopie.h"
#include "dialogs/TFormRaport.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr int Ustawienia = 512; // file offset of the settings block; the controller's blocks follow

QByteArray Czytaj(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The controller's blocks in the image, as a settings file holds them (checksum byte left out).
QByteArray Bloki(TSterownik &s, const QString &scratch) {
    s.ZapiszUstawienia(scratch);
    return Czytaj(scratch).mid(Ustawienia + 1);
}

bool Bezczynny(const TSterownik &s) {
    return s.WriteRequests == 0 && !s.SettingsWritePending && s.ReadRequests == 0;
}

void Klik(QWidget *w) {
    QApplication::setActiveWindow(w->window());
    QTest::mouseClick(w, Qt::LeftButton);
}

} // namespace

class TestBackups : public QObject {
    Q_OBJECT
private slots:
    void loadWaitsBacksUpCompareRestore();
};

void TestBackups::loadWaitsBacksUpCompareRestore() {
#if !defined(TARVEN_SIM_PATH) || !defined(TARVEN_CLI_PATH)
    QSKIP("tarven-sim or tarven-cli is not built");
#else
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit()); // the documents folder of this test
    QStandardPaths::setTestModeEnabled(true);
    QStringList boxes;
    LangSetMessageHandler([&boxes](const QString &text, int) {
        boxes << text;
        return 6;
    });
    TDemo d;
    QString error;
    const QString pty = d.Uruchom(QStringLiteral(TARVEN_SIM_PATH), QStringLiteral("controller"),
                                  {QStringLiteral("--learn-every"), QStringLiteral("3600000")}, &error);
    QVERIFY2(pty.startsWith(QStringLiteral("/dev/")), qPrintable(error));
    // What the controller holds, read by another program before the window connects.
    const QString before = home.filePath(QStringLiteral("before.set"));
    QCOMPARE(QProcess::execute(QStringLiteral(TARVEN_CLI_PATH),
                               {QStringLiteral("--port"), pty, QStringLiteral("read-settings"), before}),
             0);
    QByteArray changed = Czytaj(before);
    QCOMPARE(changed.size(), 4096);
    for (int o : {Ustawienia + 51, 768 + 9, 2560 + 40, 4095})
        changed[o] = char(uint8_t(changed[o]) + 5);
    const QString file = home.filePath(QStringLiteral("changed.set"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(changed) == changed.size());
    }

    TForm1 w(OpcjeTestu(home.filePath(QStringLiteral("DuzERO.ini")), 0, pty));
    w.show();
    TSterownik &s = *w.Sterownik1;
    const QString scratch = home.filePath(QStringLiteral("scratch.set"));

    // Loaded at once, before the controller has been read: the write waits.
    QTimer::singleShot(0, &w, [file] {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        dlg->selectFile(file);
        static_cast<QDialog *>(dlg)->accept();
    });
    w.ActReadSet->trigger();
    QVERIFY(w.Czekanie && w.Czekanie->isVisible());
    QVERIFY(!w.Straz->Kompletna());
    QTRY_VERIFY_WITH_TIMEOUT(!w.Czekanie->isVisible(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(Bezczynny(s), 20000);
    QCOMPARE(Bloki(s, scratch), changed.mid(Ustawienia + 1)); // written and read back

    const TMagazynKopii m(w.DocumentsFolder);
    QList<TKopia> kopie = m.Lista(s.StrNrSeryjny());
    QCOMPARE(kopie.size(), 2); // the connection's and the one before the write
    QCOMPARE(kopie[0].Powod, QStringLiteral("file-write"));
    QCOMPARE(kopie[1].Powod, QStringLiteral("connect"));
    for (const TKopia &k : kopie)
        QCOMPARE(Czytaj(k.Sciezka).mid(Ustawienia), Czytaj(before).mid(Ustawienia));

    // The backups window: the file-write backup compared with the controller, then restored.
    QString report;
    QTimer::singleShot(0, &w, [&] {
        TFormKopie *k = w.FormKopie;
        QTreeWidgetItem *row = k->Lista->topLevelItem(0);
        QVERIFY(row && !k->ZeSterownikiem->isEnabled());
        QApplication::setActiveWindow(k);
        QTest::mouseClick(k->Lista->viewport(), Qt::LeftButton, {}, k->Lista->visualItemRect(row).center());
        QTimer::singleShot(0, &w, [&] {
            report = w.FormRaport->Tekst();
            Klik(w.FormRaport->Zamknij);
        });
        Klik(k->ZeSterownikiem);
        Klik(k->Przywroc);
        Klik(k->Zamknij);
    });
    w.ActKopie->trigger();
    // Exactly what the file changed: an item, three tables, and item 257 of the bytes that only
    // files hold (the window starts with the catalogue's default, the file has the other program's 0).
    int rows = 0;
    for (const QString &l : report.split(QLatin1Char('\n')))
        rows += l.startsWith(QLatin1Char('\t')) && !l.startsWith(QLatin1String("\t\t"));
    QVERIFY2(rows == 5, qPrintable(report));
    for (const char *line :
         {"\tSwitching to LPG when temp. rises above\t40\t45\t[°C]\n", "\tOBD protocol\tAutomatic\tOff\n",
          "\tMultipliers bank 1\t1 bytes differ\tlargest difference 5\n", "\t\tbyte 9\t100\t105\n",
          "\tMap A (petrol injection times)\t1 bytes differ\tlargest difference 5\n",
          "\t\trow 8, column 3\t0\t5\n", "\tMap F (OBD gas bank 2)\t1 bytes differ\tlargest difference 5\n",
          "\t\trow 1, column 16\t0\t5\n"})
        QVERIFY2(report.contains(QString::fromUtf8(line)), qPrintable(report));
    QVERIFY(!report.contains(QLatin1String("Another controller")));
    QVERIFY2(boxes.size() == 1 && boxes[0] == LangText(4262), qPrintable(boxes.join(QLatin1Char('|'))));

    // The controller has its blocks of before back, and the state it left is kept as well.
    QTRY_VERIFY_WITH_TIMEOUT(Bezczynny(s) && Bloki(s, scratch) == Czytaj(before).mid(Ustawienia + 1), 20000);
    kopie = m.Lista(s.StrNrSeryjny());
    QCOMPARE(kopie.size(), 3);
    QCOMPARE(kopie[0].Powod, QStringLiteral("restore"));
    QCOMPARE(Czytaj(kopie[0].Sciezka).mid(Ustawienia + 1), changed.mid(Ustawienia + 1));
    w.close();
    d.Zatrzymaj();
    LangSetMessageHandler(nullptr);
#endif
}

QTEST_MAIN(TestBackups)
#include "tst_backups.moc"
