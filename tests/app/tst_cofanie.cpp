// Undo and redo in the window, driven by real mouse and key events: each kind of edit undone with
// Ctrl+Z and redone with Ctrl+Y, image bytes and marked blocks compared; the map tables through the
// clipboard (a spreadsheet's tab-separated grid and back, refused pastes, the block tools), the
// curves' x TAB y lines; and the whole round against the virtual controller on a pseudo-terminal.
#include "app/Okno.h"
#include "app/TDemo.h"
#include "backup/StrazKopii.h"
#include "charts/TGrafika.h"
#include "charts/TTabelaMapy.h"
#include "settings/TKatalogNastaw.h"
#include "settings/ui/TNastawy.h"
#include "support/ObrazDziennika.h"

#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>

namespace {

// Mouse and keys on a window.
struct TReka {
    TForm1 *f;
    TSterownik &St() { return *f->Sterownik1; }
    TNastawy *Siatka() { return static_cast<TNastawy *>(f->Nastawy->Widget()); }
    TGrafika *Mapa() { return static_cast<TGrafika *>(f->Grafika->Widget()); }
    TTabelaMapy *Dolna() { return Mapa()->TabelaDolna(); }
    void Mapy(int sub) {
        f->SpeedButton1Click(2);
        f->WybierzPodzakladkeMapy(sub);
        f->SpeedButton11Click();
    }
    void Klawisz(int key, Qt::KeyboardModifiers m = {}) {
        QWidget *w = QApplication::focusWidget();
        QTest::keyClick(w ? w : f, Qt::Key(key), m);
    }
    void Cofnij() { Klawisz(Qt::Key_Z, Qt::ControlModifier); }
    void Ponow() { Klawisz(Qt::Key_Y, Qt::ControlModifier); }
    QPoint Cela(int col, int row) { return Dolna()->Komorka(col, row).center(); }
    void Klik(int col, int row, Qt::KeyboardModifiers m = {}) {
        QTest::mouseClick(Dolna(), Qt::LeftButton, m, Cela(col, row));
    }
    uint8_t &Kor(int col, int row) { return St().KorObr1[(col - 1) * 16 + 16 - row]; }
    // The + or V button of a settings item on the settings tab.
    QPoint Przycisk(int item) {
        f->SpeedButton1Click(0);
        TNastawy *g = Siatka();
        for (int row = 0; row < g->IleWierszy(); ++row)
            for (int col = 0; col < 2; ++col)
                if (g->Komorka(col, row) == item)
                    return {(g->Stop(col, 4) + g->Stop(col, 5)) / 2,
                            g->ProstokatKomorki(col, row).center().y()};
        return {};
    }
    // Knot 0 of the multiplier curve, where it is drawn.
    QPoint Wezel0() {
        const auto &o = Mapa()->Obszar();
        const int v = St().Mnoznik1[0];
        const bool szeroki = St().Nastawy[80] & 1;
        return {o.left + 1,
                int(szeroki ? o.bottom - v * o.h * 0.004 + 1 : o.bottom - (v - 50) * o.h * 0.01 + 1)};
    }
    QPoint Srodek() {
        const auto &o = Mapa()->Obszar();
        return {o.left + o.w / 2, o.bottom - o.h / 2};
    }
    void Schowek(const QString &t) { QGuiApplication::clipboard()->setText(t); }
    QString Schowek() { return QGuiApplication::clipboard()->text(); }
};

// The window on memory ports, every block as if read, maps a controller has learnt for a while.
struct TUi : TOkno, TReka {
    int beeps = 0;
    TUi() : TOkno(0), TReka{w.get()} {
        if (!S().PortConnected()) S().PortOpen(1);
        for (auto &m : S().Mapy)
            for (int i = 0; i < 256; ++i)
                m[i] = uint8_t(i % 7 ? 30 + i % 90 : 0);
        S().Nastawy[50] = 99; // away from the factory values
        S().KorObr1[40] = 120;
        Bez();
        // As after a full read of this controller: a file or factory reset is backed up and written
        // at once instead of waiting for the read.
        w->Straz->Zdarzenie(0, 0x81);
        for (int code = 0x82; code <= 0xFF; ++code)
            w->Straz->Zdarzenie(0, code);
        Mapa()->OnBeep = [this] { ++beeps; };
        QApplication::setActiveWindow(w.get());
    }
    void Bez() { S().ReadRequests = S().WriteRequests = 0; } // nothing pending
    void Mapy(int sub) {
        TReka::Mapy(sub);
        Bez();
    }
};

struct TRodzaj {
    const char *nazwa;
    std::function<void(TUi &)> zrob;
};

const TRodzaj Rodzaje[] = {
    {"settings + press",
     [](TUi &u) {
         const QPoint p = u.Przycisk(50);
         QTest::mouseClick(u.Siatka()->viewport(), Qt::LeftButton, {}, p);
     }},
    {"settings auto-repeat run",
     [](TUi &u) {
         const QPoint p = u.Przycisk(50);
         QTest::mousePress(u.Siatka()->viewport(), Qt::LeftButton, {}, p);
         for (int i = 0; i < 6; ++i)
             u.Siatka()->TimerPowtarzaniaTimer();
         QTest::mouseRelease(u.Siatka()->viewport(), Qt::LeftButton, {}, p);
     }},
    {"choice with dependants", // the sensor type rewrites the four thresholds
     [](TUi &u) {
         QTest::mouseClick(u.Siatka()->viewport(), Qt::LeftButton, {}, u.Przycisk(40));
         QListWidget *l = u.Siatka()->ListaWyboru();
         QListWidgetItem *it = l->item(l->currentRow() == 2 ? 1 : 2);
         QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(it).center());
     }},
    {"settings file",
     [](TUi &u) {
         TSterownik inny; // another car: every block different
         inny.StopTimer();
         for (int bit = 0; bit < 24; ++bit)
             if (uint8_t *b = inny.Blok(bit))
                 for (int i = 0; i < 256; ++i)
                     b[i] = uint8_t(i * 3 + bit);
         const QString plik = u.dir.filePath(QStringLiteral("inny.set"));
         QVERIFY(inny.ZapiszUstawienia(plik));
         QTimer::singleShot(0, [plik] {
             auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
             QVERIFY(d);
             d->selectFile(plik);
             QMetaObject::invokeMethod(d, "accept");
         });
         u.w->CzytajUstawieniaClick();
         u.Bez(); // written, and read back equal
     }},
    {"knot raised",
     [](TUi &u) {
         u.Mapy(0);
         QTest::mouseClick(u.Mapa(), Qt::LeftButton, {}, u.Srodek());
         u.Klawisz(Qt::Key_Home);
         u.Klawisz(Qt::Key_Up);
     }},
    {"knot dragged",
     [](TUi &u) {
         u.Mapy(0);
         const QPoint p = u.Wezel0();
         QTest::mousePress(u.Mapa(), Qt::LeftButton, {}, p);
         for (int dy = 10; dy <= 30; dy += 10)
             QTest::mouseMove(u.Mapa(), p - QPoint(0, dy));
         QTest::mouseRelease(u.Mapa(), Qt::LeftButton, {}, p - QPoint(0, 30));
     }},
    {"block Ctrl+Up",
     [](TUi &u) {
         u.Mapy(1);
         u.Klik(3, 4);
         u.Klik(5, 6, Qt::ShiftModifier);
         u.Klawisz(Qt::Key_Up, Qt::ControlModifier);
     }},
    {"axis header",
     [](TUi &u) {
         u.Mapy(1);
         QTest::mouseClick(u.Dolna(), Qt::LeftButton, {}, u.Cela(3, 0));
         QLineEdit *pole = u.Mapa()->PoleFokusu();
         pole->selectAll();
         QTest::keyClicks(pole, QStringLiteral("3100"));
         QTest::keyClick(pole, Qt::Key_Return);
     }},
    {"erase gas map",
     [](TUi &u) {
         u.Mapy(0);
         QTest::mouseClick(u.w->Btn[1], Qt::LeftButton);
     }},
    {"paste",
     [](TUi &u) {
         u.Mapy(1);
         u.Klik(2, 2);
         u.Schowek(QStringLiteral("7;8\r\n-9;-10\r\n")); // as a spreadsheet saves CSV
         u.Klawisz(Qt::Key_V, Qt::ControlModifier);
     }},
    {"demo maps", [](TUi &u) { u.w->Demo(); }},
    {"factory settings",
     [](TUi &u) {
         u.w->SpeedButton1Click(0);
         QTest::mouseClick(u.w->Btn[3], Qt::LeftButton);
     }},
};

} // namespace

class TestCofanie : public QObject {
    Q_OBJECT
    QTemporaryDir home; // the documents folder the backups go to

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        qputenv("HOME", home.path().toLocal8Bit());
    }

    void undoRedo_data() {
        QTest::addColumn<int>("rodzaj");
        for (int i = 0; i < int(std::size(Rodzaje)); ++i)
            QTest::newRow(Rodzaje[i].nazwa) << i;
    }
    void undoRedo() {
        QFETCH(int, rodzaj);
        TUi u;
        QVERIFY(QTest::qWaitForWindowActive(u.w.get()));
        u.w->OdswiezMenuCofania();
        QVERIFY(!u.w->ActCofnij->isEnabled()); // nothing to undo yet: greyed
        const QByteArray przed = ObrazDziennika(u.S());
        Rodzaje[rodzaj].zrob(u);
        const QByteArray po = ObrazDziennika(u.S());
        QVERIFY(po != przed);
        QCOMPARE(u.S().Dziennik.IleCofnij(), 1); // one press, run, drag or paste is one step
        const uint32_t bloki = BlokiRozne(u.S(), przed, po);
        u.S().WriteRequests = 0;

        u.w->OdswiezMenuCofania();
        QVERIFY(u.w->ActCofnij->isEnabled());
        QCOMPARE(u.w->ActCofnij->text(), QStringLiteral("Undo: ") + u.S().Dziennik.OpisCofnij());
        u.Cofnij();
        QCOMPARE(ObrazDziennika(u.S()), przed);
        QCOMPARE(u.S().WriteRequests, bloki);
        u.S().WriteRequests = 0;
        u.Ponow();
        QCOMPARE(ObrazDziennika(u.S()), po);
        QCOMPARE(u.S().WriteRequests, bloki);
    }

    // Two presses of + are two steps (a held run is one: the rows above).
    void pressesAndRuns() {
        TUi u;
        const QPoint p = u.Przycisk(50);
        QTest::mouseClick(u.Siatka()->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseClick(u.Siatka()->viewport(), Qt::LeftButton, {}, p);
        QCOMPARE(u.S().Dziennik.IleCofnij(), 2);
    }

    // A whole table copied pastes into a spreadsheet as the grid shown, axes included, and back.
    void tableRoundTrip() {
        TUi u;
        u.Mapy(1);
        TTabelaMapy *t = u.Dolna();
        u.Kor(4, 7) = 130;
        u.Kor(9, 2) = 61;
        u.Klik(1, 1);
        u.Klawisz(Qt::Key_A, Qt::ControlModifier);
        u.Klawisz(Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = u.Schowek().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 17);
        for (int r = 0; r < 17; ++r) {
            const QStringList cells = lines[r].split(QLatin1Char('\t'));
            QCOMPARE(cells.size(), 17);
            for (int c = 0; c < 17; ++c)
                QCOMPARE(cells[c], t->Tekst[c][r]);
        }
        QCOMPARE(t->Tekst[4][7], QStringLiteral("30"));
        const QByteArray kopia = Bajty(u.S().KorObr1);
        u.Klawisz(Qt::Key_Up, Qt::AltModifier); // the whole table +1
        QVERIFY(Bajty(u.S().KorObr1) != kopia);
        const int kroki = u.S().Dziennik.IleCofnij();
        u.Klik(1, 1);
        u.Klawisz(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Bajty(u.S().KorObr1), kopia);
        QCOMPARE(u.S().Dziennik.IleCofnij(), kroki + 1);
        // Ctrl+Z from the header entry box (a text field) is still the journal's.
        QTest::mouseClick(t, Qt::LeftButton, {}, u.Cela(2, 0));
        QVERIFY(u.Mapa()->PoleFokusu()->hasFocus());
        u.Cofnij();
        QCOMPARE(u.Kor(4, 7), uint8_t(131));
    }

    void refusedPastes_data() {
        QTest::addColumn<QString>("tekst");
        QTest::newRow("empty") << QString();
        QTest::newRow("binary") << QString::fromLatin1("\x01\x02\x7f\xff\t\x10", 6);
        QTest::newRow("words") << QStringLiteral("abc\tdef\n1\t2");
        QTest::newRow("thousands") << QStringLiteral("1,000\t2\n3\t4");
        QTest::newRow("one bad cell") << QStringLiteral("1\t2\n3\tx");
    }
    void refusedPastes() {
        QFETCH(QString, tekst);
        TUi u;
        u.Mapy(1);
        u.Klik(2, 2);
        u.Schowek(tekst);
        const QByteArray przed = ObrazDziennika(u.S());
        u.Klawisz(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(ObrazDziennika(u.S()), przed);
        QCOMPARE(u.beeps, 1);
        QCOMPARE(u.Mapa()->Komunikat(), LangText(4309));
        QCOMPARE(u.S().Dziennik.IleCofnij(), 0);
    }

    // 10,000 lines: what falls inside the table from the selected cell is pasted, nothing else.
    void hugePasteIsClipped() {
        TUi u;
        u.Mapy(1);
        u.Klik(15, 10);
        u.Schowek(QStringLiteral("7\t999\t9\n").repeated(10000)); // 999 is clamped to +50 %
        const QByteArray przed = Bajty(u.S().KorObr1);
        u.Klawisz(Qt::Key_V, Qt::ControlModifier);
        for (int col = 1; col <= 16; ++col)
            for (int row = 1; row <= 16; ++row) {
                const bool w = col >= 15 && row >= 10;
                const int want = w ? (col == 15 ? 107 : 150) : uint8_t(przed[(col - 1) * 16 + 16 - row]);
                QCOMPARE(int(u.Kor(col, row)), want);
            }
    }

    // The block tools on a 3 x 3 block with known corners; one of them from the right-click menu.
    void blockTools_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QList<int>>("want"); // rows top to bottom
        const int cs = int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("corners (menu)") << 0 << 0 << QList<int>{60, 70, 80, 80, 95, 110, 100, 120, 140};
        QTest::newRow("corners") << int(Qt::Key_I) << int(Qt::ControlModifier)
                                 << QList<int>{60, 70, 80, 80, 95, 110, 100, 120, 140};
        QTest::newRow("rows") << int(Qt::Key_W) << cs << QList<int>{60, 70, 80, 100, 100, 100, 100, 120, 140};
        QTest::newRow("columns") << int(Qt::Key_V) << cs
                                 << QList<int>{60, 100, 80, 80, 100, 110, 100, 100, 140};
        QTest::newRow("smooth") << int(Qt::Key_S) << cs << QList<int>{90, 90, 95, 93, 98, 103, 100, 107, 110};
    }
    void blockTools() {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(QList<int>, want);
        TUi u;
        u.Mapy(1);
        const int start[9] = {60, 100, 80, 100, 100, 100, 100, 100, 140};
        for (int i = 0; i < 9; ++i)
            u.Kor(2 + i % 3, 2 + i / 3) = uint8_t(start[i]);
        u.Klik(2, 2);
        u.Klik(4, 4, Qt::ShiftModifier);
        if (key) {
            u.Klawisz(key, Qt::KeyboardModifiers(mods));
        } else {
            QTimer::singleShot(0, [] {
                auto *m = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                for (QAction *a : m ? m->actions() : QList<QAction *>())
                    if (a->text() == LangText(4305))
                        QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(a).center());
            });
            QTest::mouseClick(u.Dolna(), Qt::RightButton, {}, u.Cela(3, 3)); // inside: the block stays
        }
        for (int i = 0; i < 9; ++i)
            QCOMPARE(int(u.Kor(2 + i % 3, 2 + i / 3)), want[i]);
        QCOMPARE(u.S().WriteRequests, 1u << BitKorObr1);
        QCOMPARE(u.S().Dziennik.IleCofnij(), 1);
    }

    // Knots as x TAB y lines and back; a pasted point outside the range is clamped as the keys would.
    void curvePoints() {
        TUi u;
        u.Mapy(0);
        QTest::mouseClick(u.Mapa(), Qt::RightButton, {}, u.Srodek()); // a knot more, selected
        const QByteArray przed = ObrazDziennika(u.S());
        int wezly = 2; // knot 0 and the last one, and those present between them
        for (int i = 1; i <= 24; ++i)
            wezly += u.S().Nastawy[190 + i] != 0;
        u.Klawisz(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(u.Schowek().count(QLatin1Char('\n')), wezly);
        u.Klawisz(Qt::Key_Delete);
        u.Klawisz(Qt::Key_Up);
        QVERIFY(ObrazDziennika(u.S()) != przed);
        u.Klawisz(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(ObrazDziennika(u.S()), przed);
        u.Schowek(QStringLiteral("0\t9.99\n5.0\t0.1\n"));
        u.Klawisz(Qt::Key_V, Qt::ControlModifier);
        const bool szeroki = u.S().Nastawy[80] & 1;
        QCOMPARE(int(u.S().Mnoznik1[0]), szeroki ? 250 : 150);
        QCOMPARE(int(u.S().Mnoznik1[50]), szeroki ? 10 : 50);
        QCOMPARE(int(u.S().Nastawy[214]), 50); // the one knot between the ends, sorted to the last slot

        u.Mapy(4); // gas pressure: the ends keep their x and take the first and last y
        QTest::mouseClick(u.Mapa(), Qt::LeftButton, {}, u.Srodek());
        u.Schowek(QStringLiteral("0.5\t-80\n1.5\t10.16\n2.5\t80\n"));
        u.Klawisz(Qt::Key_V, Qt::ControlModifier);
        const uint8_t *k = u.S().KorCis;
        QCOMPARE(QList<int>({k[2], k[3], k[4], k[5], k[16], k[17]}),
                 QList<int>({50, 64, 150, 141, 250, 192}));
        u.Schowek(QStringLiteral("0.5\n"));
        u.Klawisz(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(u.Mapa()->Komunikat(), LangText(4310));
    }

    // As in `tarven --demo`: a setting, a knot, a block and the gas map changed by hand, then four
    // Ctrl+Z give the virtual controller its earlier blocks back (read back equal), four Ctrl+Y the
    // changed ones.
    void againstVirtualController() {
#ifndef TARVEN_SIM_PATH
        QSKIP("tarven-sim is not built");
#else
        QStandardPaths::setTestModeEnabled(true);
        LangSetMessageHandler([](const QString &, int) { return 6; });
        TDemo d;
        QString error;
        const QString port =
            d.Uruchom(QStringLiteral(TARVEN_SIM_PATH), QStringLiteral("controller"), {}, &error);
        QVERIFY2(port.startsWith(QStringLiteral("/dev/")), qPrintable(error));
        {
            TForm1 w(OpcjeTestu(home.filePath(QStringLiteral("DuzERO.ini")), 0, port));
            w.show();
            QApplication::setActiveWindow(&w);
            QVERIFY(QTest::qWaitForWindowActive(&w));
            TReka r{&w};
            TSterownik &s = r.St();
            auto spokoj = [&s] {
                return s.Identyfikacja[3] == 0x81 && s.ReadRequests == 0 && s.WriteRequests == 0 &&
                       !s.SettingsWritePending;
            };
            // The four blocks as the controller holds them: asked for again and read back.
            auto odczyt = [&] {
                s.CzytajZeSterownika(1u << BitNastawy | 1u << BitMnoznik1 | 1u << BitKorObr1 |
                                     1u << BitMapaB);
                if (!QTest::qWaitFor(spokoj, 30000)) return QList<QByteArray>();
                return QList<QByteArray>{Bajty(s.Nastawy), Bajty(s.Mnoznik1), Bajty(s.KorObr1),
                                         Bajty(s.Mapy[MapaB])};
            };
            QVERIFY(QTest::qWaitFor(spokoj, 30000));
            w.Demo(); // the gas map needs cells to erase
            const QList<QByteArray> przed = odczyt();
            QCOMPARE(przed.size(), 4);
            const int kroki = s.Dziennik.IleCofnij();

            QTest::mouseClick(r.Siatka()->viewport(), Qt::LeftButton, {}, r.Przycisk(50));
            r.Mapy(0);
            QTest::mouseClick(r.Mapa(), Qt::LeftButton, {}, r.Srodek());
            r.Klawisz(Qt::Key_Home);
            r.Klawisz(Qt::Key_Up);
            r.Mapy(1);
            r.Klik(3, 4);
            r.Klawisz(Qt::Key_Up, Qt::ControlModifier);
            for (QPushButton *b : w.Btn)
                if (b->isVisible() && b->text() == LangText(1269)) QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(s.Dziennik.IleCofnij(), kroki + 4);
            const QList<QByteArray> po = odczyt();
            QCOMPARE(po.size(), 4);
            for (int i = 0; i < 4; ++i)
                QVERIFY2(po[i] != przed[i], qPrintable(QString::number(i)));

            for (int i = 0; i < 4; ++i)
                r.Cofnij();
            QCOMPARE(odczyt(), przed);
            for (int i = 0; i < 4; ++i) // Ctrl+Y and Ctrl+Shift+Z
                r.Klawisz(i % 2 ? Qt::Key_Y : Qt::Key_Z,
                          i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(odczyt(), po);
            w.close();
        }
        d.Zatrzymaj();
        LangSetMessageHandler(nullptr);
#endif
    }
};

QTEST_MAIN(TestCofanie)
#include "tst_cofanie.moc"
