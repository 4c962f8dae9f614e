// One controller, one session: the window's link moved between two in-memory controllers with
// different serials. Every row makes changes for one controller (or for none), moves the cable and
// checks what each controller was sent, frame by frame, and which backups exist in which folder.
#include "Okno.h"
#include "backup/MagazynKopii.h"
#include "backup/StrazKopii.h"
#include "device/TDziennik.h"
#include "device/TSesja.h"
#include "dialogs/TFormProg.h"
#include "settings/TKatalogNastaw.h"
#include "support/ScriptedController.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace {

const char *const NumerA = "TV2401234567";
const char *const NumerB = "TV2409999999";

void UstawNumer(ScriptedController &c, const char *numer) {
    for (int i = 0; i < 16; ++i)
        SetFrameByte(c.Ident, 6 + i, uint8_t(i < int(strlen(numer)) ? numer[i] : 0));
}

QList<int> Kody(const ScriptedController &c) {
    QList<int> k;
    for (const TPcFrame &f : c.Received)
        k << f.Code;
    return k;
}

QByteArray Bajty(const uint8_t *p) {
    return QByteArray(reinterpret_cast<const char *>(p), 256);
}

// The window on a memory port and the two controllers that can be at the other end of its cable.
struct TStanowisko {
    QTemporaryDir home;
    std::unique_ptr<TOkno> o;
    ScriptedController a, b;
    ScriptedController *kabel = nullptr;
    QStringList pytania; // texts of the questions answered
    QMessageBox::StandardButton odpowiedz = QMessageBox::No;
    QTimer klikacz;

    TStanowisko() {
        qputenv("HOME", home.path().toLocal8Bit()); // the documents folder of this window
        o = std::make_unique<TOkno>(0);             // English
        UstawNumer(a, NumerA);
        UstawNumer(b, NumerB);
        // Settings the window takes as they are (a value beyond its limit would be mended and
        // written back by the grid); B's differ from A's in one item.
        TSterownik wzor;
        wzor.StopTimer();
        TKatalogNastaw k(&wzor);
        k.UtworzNastawy();
        k.NastawyDomyslne();
        for (ScriptedController *c : {&a, &b}) {
            if (c == &b) wzor.Nastawy[51] = uint8_t(wzor.Nastawy[51] + 3);
            wzor.Nastawy[0] = 0;
            wzor.Nastawy[0] = uint8_t(-Frame::Sum(wzor.Nastawy, 256));
            c->Block(0xE8) = QByteArray(reinterpret_cast<const char *>(wzor.Nastawy), 256);
        }
        // B's controller holds other values than A's.
        for (uint8_t code : {0xE1, 0xE0, 0xE9}) {
            QByteArray &blk = b.Block(code);
            for (char &c : blk)
                c = char(c ^ 0x55);
        }
        // The question is answered as the fitter does: a click on one of its buttons.
        klikacz.setInterval(5);
        QObject::connect(&klikacz, &QTimer::timeout, [this] {
            QMessageBox *p = o->w->Pytanie;
            if (!p || !p->isVisible()) return;
            pytania << p->text();
            QApplication::setActiveWindow(p);
            QTest::mouseClick(p->button(odpowiedz), Qt::LeftButton);
        });
        klikacz.start();
    }
    TSterownik &S() { return o->S(); }
    TForm1 &W() { return *o->w; }

    // One transmit turn; the controller on the cable answers before the next one.
    void Tura() {
        const int cycle = S().TxCycle;
        for (int i = 0; i < 64 && S().TxCycle == cycle; ++i)
            S().Timer1OnTimer();
        const QByteArray tx = o->port->TakeTx();
        if (kabel && !tx.isEmpty()) o->port->Rx.append(kabel->Handle(tx));
        QCoreApplication::processEvents();
    }
    bool Spokoj() {
        return S().ReadRequests == 0 && S().WriteRequests == 0 && !S().SettingsWritePending &&
               !S().FactoryPending && !S().Sesja->Czeka() && W().Straz->Kompletna();
    }
    // Turns until the controller has been read and everything waiting has gone out.
    void DoSpokoju() {
        // The first turns take a new link's start and its identification.
        for (int i = 0; i < 3; ++i)
            Tura();
        for (int i = 0; i < 600 && !Spokoj(); ++i)
            Tura();
        for (int i = 0; i < 6; ++i)
            Tura();
    }
    void Podlacz(ScriptedController *c) {
        S().PortClose();
        kabel = c;
        S().PortOpen(1);
    }
    void Odlacz() {
        S().PortClose();
        kabel = nullptr;
    }
    QList<TKopia> Kopie(const char *numer) {
        return TMagazynKopii(S().DocumentsFolder).Lista(QString::fromLatin1(numer));
    }
    QStringList Foldery() {
        return QDir(TMagazynKopii(S().DocumentsFolder).Folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }
    // One step of the journal: a cell of map B set to v (as the grid does).
    void Komorka(int i, uint8_t v) {
        TZmiana krok(&S().Dziennik, 1u << BitMapaB, QStringLiteral("cell"));
        S().Mapy[MapaB][i] = v;
        S().ZapiszDoSterownika(1u << BitMapaB);
    }
};

// Codes that change what a controller holds.
bool Zapisuje(int code) {
    return code == 0x89 || code == 0x8E || (code >= 0xF0 && code <= 0xFC) || (code >= 0xC7 && code <= 0xCD);
}

QString Plik(const QString &folder, const char *numer, const QByteArray &blokMapyB = {}) {
    // A settings file of another car: its own identification.
    TSterownik obraz;
    obraz.StopTimer();
    const char *n = numer;
    obraz.Identyfikacja[3] = 0x81;
    for (int i = 0; n[i]; ++i)
        obraz.Identyfikacja[6 + i] = uint8_t(n[i]);
    TKatalogNastaw k(&obraz);
    k.UtworzNastawy();
    k.NastawyDomyslne();
    std::memset(obraz.Mapy[MapaB], 0x33, 256);
    if (!blokMapyB.isEmpty()) std::memcpy(obraz.Mapy[MapaB], blokMapyB.constData(), 256);
    const QString path = folder + QStringLiteral("/other.set");
    obraz.ZapiszUstawienia(path);
    return path;
}

QString ObrazFirmware(const QString &folder) {
    QByteArray img(65535, '\0');
    std::memcpy(img.data(), "img file", 8);
    img[20] = 1; // the board type the controllers report
    const QString path = folder + QStringLiteral("/fw.img");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(img);
    return path;
}

} // namespace

class TestSesja : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data();
    void scenarios();
    void questionYesWritesOnlyTheChangedBytes();
    void questionNoDropsEverything();
    void firmwareBackupAfterTheCheck();
    void failedConnectBackupIsShown();
};

void TestSesja::scenarios_data() {
    QTest::addColumn<int>("row");
    QTest::newRow("factory settings with the port closed") << 1;
    QTest::newRow("firmware update with the port closed") << 2;
    QTest::newRow("a file loaded while connected") << 3;
    QTest::newRow("journal started offline") << 4;
    QTest::newRow("factory settings redone after the break") << 5;
    QTest::newRow("file write waiting for the read") << 6;
    QTest::newRow("two undos of one byte during a break") << 7;
    QTest::newRow("same controller after a break") << 8;
}

void TestSesja::scenarios() {
    QFETCH(int, row);
    TStanowisko t;
    if (row != 4) {
        t.Podlacz(&t.a);
        t.DoSpokoju();
        QCOMPARE(t.S().NumerSterownika(), QString::fromLatin1(NumerA));
        QCOMPARE(t.Kopie(NumerA).size(), 1); // its connect backup
    }
    const QByteArray mapaA = t.a.Block(0xE1);
    switch (row) {
    case 1:
        t.Odlacz();
        t.W().Akcja(101); // "Factory settings", confirmed
        QVERIFY(t.S().FactoryPending);
        t.Podlacz(&t.b);
        t.DoSpokoju();
        break;
    case 2: {
        t.Odlacz();
        t.o->boxes.clear();
        // Today's file box would wait for a click: closed if it comes.
        QTimer::singleShot(200, [] {
            if (QWidget *m = QApplication::activeModalWidget()) m->close();
        });
        t.W().AktualizacjaClick(); // no file box: it says the controller must be connected
        QCOMPARE(t.o->boxes, QStringList{LangText(4607)});
        QVERIFY(!t.S().Aktualizacja(ObrazFirmware(t.home.path())));
        t.Podlacz(&t.b);
        t.DoSpokoju();
        break;
    }
    case 3: {
        const QString file = Plik(t.home.path(), "OTHER99");
        t.W().PrzedZapisem(TPowodKopii::ZapisPliku, [&] { t.W().WczytajPlikUstawien(file); });
        t.DoSpokoju();
        QCOMPARE(t.S().StrNrSeryjny(), QStringLiteral("OTHER99")); // the image shows the file's
        t.W().Akcja(101); // a backup of the controller before its factory settings
        t.DoSpokoju();
        break;
    }
    case 4: {
        t.Odlacz();
        const QString file = Plik(t.home.path(), "OTHER99");
        t.W().WczytajPlikUstawien(file); // shown: nothing connected
        t.o->answer = 6;
        t.W().Akcja(312); // "Erase gas map", confirmed
        t.Podlacz(&t.b);
        t.DoSpokoju();
        t.W().Cofnij();
        t.DoSpokoju();
        break;
    }
    case 5:
        t.W().Akcja(101);
        t.DoSpokoju();
        QVERIFY(Kody(t.a).contains(0x89));
        t.Odlacz();
        t.W().Cofnij();
        t.W().Ponow();
        t.Podlacz(&t.b);
        t.DoSpokoju();
        break;
    case 6: {
        t.Podlacz(&t.a); // the cable again, and at once a file for this car
        t.Tura();
        t.Tura();
        const QString file = Plik(t.home.path(), NumerA, QByteArray(256, '\x21'));
        t.W().PrzedZapisem(TPowodKopii::ZapisPliku, [&] { t.W().WczytajPlikUstawien(file); });
        QVERIFY(t.W().Czekanie->isVisible());
        t.Podlacz(&t.b); // the cable moves during the wait
        t.DoSpokoju();
        QVERIFY(!t.W().Czekanie->isVisible());
        break;
    }
    case 7:
        t.Komorka(5, uint8_t(mapaA[5] + 1));
        t.Komorka(5, uint8_t(mapaA[5] + 2));
        t.DoSpokoju();
        QCOMPARE(uint8_t(t.a.Block(0xE1)[5]), uint8_t(mapaA[5] + 2));
        t.Odlacz();
        t.W().Cofnij();
        t.W().Cofnij();
        QCOMPARE(t.S().Mapy[MapaB][5], uint8_t(mapaA[5]));
        t.Podlacz(&t.a);
        t.DoSpokoju();
        break;
    case 8:
        t.Odlacz();
        t.W().Akcja(312); // "Erase gas map" during the break
        t.Podlacz(&t.a);
        t.DoSpokoju();
        break;
    }

    const QList<int> kodyA = Kody(t.a), kodyB = Kody(t.b);
    const auto zapisyB = std::count_if(kodyB.begin(), kodyB.end(), Zapisuje);
    // Nothing made for A (or for no controller) reaches B without the fitter's Yes.
    QString wyslane;
    for (int c : kodyB)
        if (Zapisuje(c)) wyslane += QStringLiteral(" %1").arg(c, 2, 16);
    QVERIFY2(zapisyB == 0, qPrintable(QStringLiteral("B was sent%1").arg(wyslane)));
    switch (row) {
    case 1:
    case 4:
    case 5:
        // B was read whole and backed up, then asked about, and No kept what it holds.
        QCOMPARE(t.pytania.size(), 1);
        QVERIFY(kodyB.contains(0xE5) && kodyB.contains(0xAA));
        QCOMPARE(t.Kopie(NumerB).size(), 1);
        QCOMPARE(t.Kopie(NumerB)[0].Powod, QStringLiteral("connect"));
        QCOMPARE(Bajty(t.S().Mapy[MapaB]), t.b.Block(0xE1));
        QCOMPARE(t.S().Dziennik.IleCofnij() + t.S().Dziennik.IlePonow(), 0);
        if (row == 1) QVERIFY(t.pytania[0].contains(LangText(4272)));
        if (row == 4)
            QCOMPARE(t.pytania[0],
                     QStringLiteral("1 change was made for no controller: %1. Write it to controller %2?")
                         .arg(LangText(4218), QLatin1String(NumerB)));
        break;
    case 2:
        QVERIFY(!kodyB.contains(0x8E));
        QVERIFY(t.pytania.isEmpty());
        break;
    case 3: {
        // Every backup of A in A's folder, holding A's identification.
        QCOMPARE(t.Foldery(), QStringList{QString::fromLatin1(NumerA)});
        const QList<TKopia> k = t.Kopie(NumerA);
        QCOMPARE(k.size(), 3);
        QCOMPARE(k[0].Powod, QStringLiteral("factory"));
        QCOMPARE(k[1].Powod, QStringLiteral("file-write"));
        for (const TKopia &c : k)
            QCOMPARE(c.Numer, QString::fromLatin1(NumerA));
        QCOMPARE(t.S().NumerKopii(), QString::fromLatin1(NumerA));
        break;
    }
    case 6:
        QVERIFY(t.pytania.isEmpty());
        QCOMPARE(Bajty(t.S().Mapy[MapaB]), t.b.Block(0xE1));
        QCOMPARE(t.Kopie(NumerB).size(), 1); // its connect backup, no file-write one
        break;
    case 7:
        // The value the fitter saw, on both.
        QCOMPARE(uint8_t(t.a.Block(0xE1)[5]), uint8_t(mapaA[5]));
        QCOMPARE(t.S().Mapy[MapaB][5], uint8_t(mapaA[5]));
        QCOMPARE(t.S().Dziennik.IlePonow(), 2);
        QVERIFY(t.pytania.isEmpty());
        break;
    case 8: {
        // No question; after the read and the connect backup the erase goes out.
        QVERIFY(t.pytania.isEmpty());
        QCOMPARE(t.a.Block(0xE1), QByteArray(256, '\0'));
        const int odczyt = int(kodyA.lastIndexOf(0xE1)), zapis = int(kodyA.lastIndexOf(0xF1));
        QVERIFY(odczyt >= 0 && zapis > odczyt);
        QList<TKopia> k = t.Kopie(NumerA);
        QCOMPARE(k.size(), 1); // the same blocks as at the first connection
        QString error;
        const auto kopia = WczytajObraz(k[0].Sciezka, &error, true);
        QVERIFY(kopia);
        QCOMPARE(Bajty(kopia->Mapy[MapaB]), mapaA);
        break;
    }
    }
}

void TestSesja::questionYesWritesOnlyTheChangedBytes() {
    TStanowisko t;
    t.Podlacz(&t.a);
    t.DoSpokoju();
    t.Odlacz();
    t.Komorka(5, 77); // made for A, during the break
    t.odpowiedz = QMessageBox::Yes;
    t.Podlacz(&t.b);
    t.DoSpokoju();
    QCOMPARE(t.pytania.size(), 1);
    QCOMPARE(t.pytania[0], QStringLiteral("1 change was made for %1: %2. Write it to controller %3?")
                               .arg(QLatin1String(NumerA), LangText(4218), QLatin1String(NumerB)));
    // B's own map with the one cell the fitter changed; its other blocks not written.
    QByteArray want = t.b.Block(0xE1);
    want[5] = char(77);
    QByteArray bm = t.b.Block(0xE1);
    QCOMPARE(bm, want);
    QCOMPARE(Bajty(t.S().Mapy[MapaB]), want);
    const QList<int> kody = Kody(t.b);
    QCOMPARE(std::count_if(kody.begin(), kody.end(), Zapisuje), qsizetype(1));
    QVERIFY(kody.indexOf(0xF1) > kody.lastIndexOf(0xE1));
    // Backed up before the write, in B's folder.
    QCOMPARE(t.Kopie(NumerB).size(), 1);
    QCOMPARE(t.S().Dziennik.IleCofnij(), 1); // the journal follows the answer
}

void TestSesja::questionNoDropsEverything() {
    TStanowisko t;
    t.Podlacz(&t.a);
    t.DoSpokoju();
    t.Odlacz();
    t.Komorka(5, 77);
    t.W().Akcja(101); // and factory settings
    t.odpowiedz = QMessageBox::No;
    t.Podlacz(&t.b);
    t.DoSpokoju();
    QCOMPARE(t.pytania.size(), 1);
    const QRegularExpression kto(
        QStringLiteral("^[0-9]+ changes were made for %1: .*map.*factory settings\\. ")
            .arg(QLatin1String(NumerA)),
        QRegularExpression::CaseInsensitiveOption);
    QVERIFY2(kto.match(t.pytania[0]).hasMatch(), qPrintable(t.pytania[0]));
    QVERIFY(t.pytania[0].endsWith(QStringLiteral("Write them to controller %1?").arg(NumerB)));
    const QList<int> kody = Kody(t.b);
    QCOMPARE(std::count_if(kody.begin(), kody.end(), Zapisuje), qsizetype(0));
    QCOMPARE(Bajty(t.S().Mapy[MapaB]), t.b.Block(0xE1));
    QCOMPARE(t.S().Dziennik.IleCofnij(), 0);
    QVERIFY(!t.S().Dziennik.Cofnij());
}

// The firmware box checks the file before the backup: a refused image leaves none; an accepted one
// is backed up for the update.
void TestSesja::firmwareBackupAfterTheCheck() {
    TStanowisko t;
    t.Podlacz(&t.a);
    t.DoSpokoju();
    const QString dobry = ObrazFirmware(t.home.path());
    QByteArray zly = QByteArray(65535, '\0');
    const QString plikZly = t.home.filePath(QStringLiteral("bad.img"));
    {
        QFile f(plikZly);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(zly) == zly.size());
    }
    const auto wybierz = [](const QString &file) {
        QTimer::singleShot(0, [file] {
            auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            dlg->selectFile(file);
            static_cast<QDialog *>(dlg)->accept();
        });
    };
    t.o->boxes.clear();
    wybierz(plikZly);
    t.W().AktualizacjaClick();
    QCOMPARE(t.o->boxes, QStringList{LangText(1367)});
    QCOMPARE(t.Kopie(NumerA).size(), 1);

    wybierz(dobry);
    QTimer postep; // the progress window of the transfer is closed when it shows
    postep.setInterval(20);
    QObject::connect(&postep, &QTimer::timeout, [&t] {
        if (t.W().FormProg && t.W().FormProg->isVisible()) t.W().FormProg->Koniec();
    });
    postep.start();
    t.W().AktualizacjaClick();
    const QList<TKopia> k = t.Kopie(NumerA);
    QCOMPARE(k.size(), 2);
    QCOMPARE(k[0].Powod, QStringLiteral("firmware"));
}

// The log is mostly hidden: a connect backup that could not be saved is shown in a box, in the
// window's language.
void TestSesja::failedConnectBackupIsShown() {
    TStanowisko t;
    const QString plik = t.home.filePath(QStringLiteral("docs"));
    {
        QFile f(plik);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("a file") == 6);
    }
    t.S().DocumentsFolder = plik; // a documents "folder" that is a file
    t.o->boxes.clear();
    t.Podlacz(&t.a);
    t.DoSpokoju();
    QCOMPARE(t.o->boxes.size(), 1);
    QVERIFY2(t.o->boxes[0].startsWith(QStringLiteral("The connect backup could not be saved: ")),
             qPrintable(t.o->boxes[0]));
    QVERIFY(t.o->boxes[0].contains(QLatin1String("cannot be created")));
}

QTEST_MAIN(TestSesja)
#include "tst_sesja.moc"
