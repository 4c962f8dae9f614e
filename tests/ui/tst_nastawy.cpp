// The settings grid: pages, drawing of the warning colours, stepping with keys and buttons, the
// auto-repeat, the pop-up choice list, the dialog buttons, and one change travelling to the controller.
// Set TARVEN_GRAB_DIR to a folder to get a picture of every page in every scheme.
#include "app/Okno.h"
#include "settings/TKatalogNastaw.h"
#include "settings/ui/TNastawy.h"
#include "support/ScriptedController.h"

#include <QListWidget>
#include <QPainter>
#include <QtTest>
#include <cstring>

namespace {

struct TDialogiTestowe : TDialogiNastaw {
    QList<int> Otwarte;
    void Otworz(int item, const QFont &) override { Otwarte << item; }
};

// A grid over a link to the scripted controller, in a window of the size of a small laptop screen.
struct TRig {
    TLinkRig r;
    TKatalogNastaw k{&r.Eng};
    QWidget okno;
    TNastawy *g = nullptr;
    int beeps = 0;

    explicit TRig(int page = 0, int level = 2, QSize size = QSize(1366, 768)) {
        k.UtworzNastawy();
        k.NastawyDomyslne();
        k.OnBeep = [this] { ++beeps; };
        okno.resize(size);
        g = new TNastawy(&okno, &r.Eng, &k);
        okno.show();
        g->setGeometry(okno.rect());
        g->show();
        Strona(page, level);
    }
    void Strona(int page, int level) {
        g->UstawPoziom(level);
        g->UstawStrone(page);
        g->Rozmiesc();
    }
    // Column and row of an item on the page.
    QPoint Gdzie(int item) const {
        for (int row = 0; row < g->IleWierszy(); ++row)
            for (int col = 0; col < 2; ++col)
                if (g->Komorka(col, row) == item) return {col, row};
        return {-1, -1};
    }
    // A point of the item's cell between two column stops, at mid-height.
    QPoint Punkt(int item, int stopA, int stopB) const {
        const QPoint c = Gdzie(item);
        const QRect cell = g->ProstokatKomorki(c.x(), c.y());
        return {(g->Stop(c.x(), stopA) + g->Stop(c.x(), stopB)) / 2, cell.center().y()};
    }
    void Klik(int item, int stopA, int stopB) {
        const QPoint p = Punkt(item, stopA, stopB);
        g->MouseDown(p.x(), p.y());
        g->MouseUp();
    }
    uint8_t &V(int item) { return r.Eng.Nastawy[item]; }
    bool Zapis() const { return r.Eng.WriteRequests & (1u << BitNastawy); }
};

} // namespace

class TestNastawy : public QObject {
    Q_OBJECT

private slots:
    void pagesAndLevels_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("lastLeft");  // left cell of the second-to-last row
        QTest::addColumn<int>("lastRight"); // its right cell
        QTest::addColumn<int>("midRow");    // a row inside the table
        QTest::addColumn<int>("midLeft");
        QTest::addColumn<int>("midRight");
        QTest::newRow("0 basic") << 0 << 0 << 16 << 55 << 63 << 8 << -10 << 46;
        QTest::newRow("0 full") << 0 << 1 << 19 << 57 << 96 << 9 << -10 << 47;
        QTest::newRow("0 advanced") << 0 << 2 << 24 << 57 << 96 << 16 << 52 << 62;
        QTest::newRow("1") << 1 << 1 << 3 << 85 << -1 << 0 << 86 << 90;
        QTest::newRow("20") << 20 << 1 << 3 << 78 << 81 << 0 << 79 << 90;
        QTest::newRow("50") << 50 << 1 << 9 << 107 << 269 << 4 << -1 << 263;
        QTest::newRow("51") << 51 << 2 << 9 << 107 << 121 << 4 << -1 << 115;
    }
    void pagesAndLevels() {
        QFETCH(int, page);
        QFETCH(int, level);
        QFETCH(int, rows);
        TRig t(page, level);
        QCOMPARE(t.g->IleWierszy(), rows);
        QFETCH(int, lastLeft);
        QFETCH(int, lastRight);
        QCOMPARE(t.g->Komorka(0, rows - 2), lastLeft);
        QCOMPARE(t.g->Komorka(1, rows - 2), lastRight);
        QFETCH(int, midRow);
        QFETCH(int, midLeft);
        QFETCH(int, midRight);
        QCOMPARE(QPoint(t.g->Komorka(0, midRow), t.g->Komorka(1, midRow)), QPoint(midLeft, midRight));
        QCOMPARE(t.g->Komorka(0, rows), -1); // past the page
        // Layout: every row fits the window, buttons and stops as laid out for 683-pixel columns.
        const int h = page == 1 || page == 20 ? 24 : 768 / rows;
        QCOMPARE(t.g->WysokoscWiersza(), h);
        QCOMPARE(t.g->RozmiarPrzycisku(), std::min({h, 50, 683 / 10}));
        QCOMPARE(t.g->Stop(1, 2), 683 + 683 / 2 + 18);
        QCOMPARE(t.g->Stop(1, 5), 683 + 683 - 7);
        QVERIFY(t.g->RozmiarCzcionki() >= 7 && t.g->RozmiarCzcionki() <= 24);
        // Changes are locked only on the calibration page at the basic level.
        t.Strona(1, 0);
        QVERIFY(t.k.BlokadaZmian);
        t.Strona(page, level);
        QCOMPARE(t.k.BlokadaZmian, page == 1 && level == 0);
    }

    void shortRowsScroll() {
        TRig t(0, 2, QSize(800, 300)); // 300 / 24 < 20 px a row
        QCOMPARE(t.g->WysokoscWiersza(), 20);
        QCOMPARE(t.g->SzerokoscKolumny(), 800 / 2 - 10);
    }

    // Item 83, 85 and 86 boxes turn to the warning colour outside their ranges.
    void warningColour_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("raw");
        QTest::addColumn<bool>("warning");
        QTest::newRow("83 at 19") << 83 << 19 << true;
        QTest::newRow("83 at 20") << 83 << 20 << false;
        QTest::newRow("83 at 120") << 83 << 120 << false;
        QTest::newRow("83 at 121") << 83 << 121 << true;
        QTest::newRow("85 at 147") << 85 << 147 << true;
        QTest::newRow("85 at 218") << 85 << 218 << false;
        QTest::newRow("86 at 201") << 86 << 201 << true;
        QTest::newRow("86 at 80") << 86 << 80 << false;
    }
    void warningColour() {
        QFETCH(int, item);
        QFETCH(int, raw);
        QFETCH(bool, warning);
        for (int scheme : {0, 2, 5}) {
            TRig t(1, 1);
            t.g->UstawKolory(PaletaSchematu(scheme));
            t.V(item) = uint8_t(raw);
            const QImage img = t.g->viewport()->grab().toImage();
            const QPoint c = t.Gdzie(item);
            const QRect cell = t.g->ProstokatKomorki(c.x(), c.y());
            // Count the pixels of the warning colour along a line near the box's top, clear of the text.
            const QColor ostrzezenie = t.g->Kolory().Ostrzezenie;
            int n = 0, all = 0;
            for (int x = t.g->Stop(c.x(), 2) + 8; x < t.g->Stop(c.x(), 3) - 8; ++x, ++all)
                if (img.pixelColor(x, cell.top() + 3) == ostrzezenie) ++n;
            QVERIFY2(warning ? n > all / 2 : n == 0,
                     qPrintable(QStringLiteral("scheme %1: %2 of %3").arg(scheme).arg(n).arg(all)));
        }
    }

    // Left and Right on the selected cell; at the limits only a beep. Decorations take no step.
    void leftRight_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("raw");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("beeps");
        QTest::newRow("left at the minimum") << 50 << 0 << int(Qt::Key_Left) << 0 << 1;
        QTest::newRow("right at the maximum") << 50 << 255 << int(Qt::Key_Right) << 255 << 1;
        QTest::newRow("left") << 50 << 70 << int(Qt::Key_Left) << 69 << 0;
        QTest::newRow("right on a choice") << 45 << 2 << int(Qt::Key_Right) << 3 << 0;
        QTest::newRow("left at an offset minimum") << 51 << 128 << int(Qt::Key_Left) << 128 << 1;
    }
    void leftRight() {
        QFETCH(int, item);
        QFETCH(int, raw);
        QFETCH(int, key);
        TRig t(0, 2);
        t.V(item) = uint8_t(raw);
        t.Klik(item, 2, 3); // selects the cell (click on the value box)
        QCOMPARE(t.g->Komorka(t.g->WybranaKolumna(), t.g->WybranyWiersz()), item);
        t.r.Eng.WriteRequests = 0;
        QTest::keyClick(t.g, Qt::Key(key));
        QFETCH(int, expected);
        QFETCH(int, beeps);
        QCOMPARE(int(t.V(item)), expected);
        QCOMPARE(t.beeps, beeps);
        QCOMPARE(t.Zapis(), expected != raw);
    }

    void leftRightOnDecorationsDoNothing() {
        TRig t(0, 2);
        uint8_t before[IleNastaw];
        std::memcpy(before, t.r.Eng.Nastawy, sizeof before);
        t.r.Eng.WriteRequests = 0;
        int seen = 0;
        // Walk down every row of the left column; on each decoration or empty cell press both keys.
        for (int row = 1; row < t.g->IleWierszy(); ++row) {
            if (row > 1) QTest::keyClick(t.g, Qt::Key_Down);
            QCOMPARE(t.g->WybranyWiersz(), row);
            if (t.g->Komorka(0, row) >= 0) continue;
            ++seen;
            QTest::keyClick(t.g, Qt::Key_Left);
            QTest::keyClick(t.g, Qt::Key_Right);
        }
        QCOMPARE(seen, 6); // -7, -3, -10, -8, -5, -8
        QCOMPARE(t.beeps, 0);
        QCOMPARE(std::memcmp(before, t.r.Eng.Nastawy, sizeof before), 0);
        QCOMPARE(t.r.Eng.WriteRequests, 0u);
        // Down from the last row and Up from row 1 beep.
        QTest::keyClick(t.g, Qt::Key_Down);
        QCOMPARE(t.beeps, 1);
        for (int i = 0; i < 30; ++i)
            QTest::keyClick(t.g, Qt::Key_Up);
        QCOMPARE(t.g->WybranyWiersz(), 1);
        QCOMPARE(t.beeps, 1 + 30 - (t.g->IleWierszy() - 2));
    }

    void basicCalibrationPageIsLocked() {
        TRig t(1, 0);
        t.V(86) = 100;
        t.Klik(86, 4, 5); // + of item 86
        QCOMPARE(int(t.V(86)), 100);
        QCOMPARE(t.beeps, 1);
        QVERIFY(!t.g->TimerPowtarzania().isActive()); // no repeat that would beep on
        t.Strona(1, 1);
        t.Klik(86, 4, 5);
        QCOMPARE(int(t.V(86)), 101);
        // The lock goes with the page: hiding the grid lifts it.
        t.Strona(1, 0);
        t.g->Ukryj();
        QVERIFY(!t.k.BlokadaZmian);
    }

    void greyedItemIsNeitherSelectedNorChanged() {
        TRig t(0, 2);
        t.V(1) = 3; // item 4 only applies to signal 7
        t.V(4) = 0;
        const int row = t.g->WybranyWiersz();
        t.Klik(4, 4, 5);
        QCOMPARE(t.g->WybranyWiersz(), row);
        QCOMPARE(t.g->ListaWyboruItem(), 0);
        QCOMPARE(int(t.V(4)), 0);
    }

    void flagToggles() {
        TRig t(0, 2);
        t.V(21) = 0;
        t.Klik(21, 4, 5);
        QCOMPARE(int(t.V(21)), 1);
        t.Klik(21, 4, 5);
        QCOMPARE(int(t.V(21)), 0);
        t.Klik(21, 2, 3); // the value box itself does not toggle
        QCOMPARE(int(t.V(21)), 0);
    }

    void dropDownOfItem45() {
        TRig t(0, 2);
        t.V(45) = 4;
        t.Klik(45, 4, 5);
        QListWidget *l = t.g->ListaWyboru();
        QVERIFY(l && l->isVisible());
        QCOMPARE(t.g->ListaWyboruItem(), 45);
        QCOMPARE(l->count(), 4); // raw 1..4
        for (int i = 0; i < l->count(); ++i)
            QVERIFY2(l->item(i)->text().contains(QChar(0x2126)), qPrintable(l->item(i)->text()));
        QCOMPARE(l->currentRow(), 3);
        QVERIFY(l->geometry().bottom() <= t.g->viewport()->height());
        t.r.Eng.WriteRequests = 0;
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(2)).center());
        QCOMPARE(int(t.V(45)), 3);
        QVERIFY(t.Zapis());
        QVERIFY(!l->isVisible());
        QCOMPARE(t.g->ListaWyboruItem(), 0);
    }

    // Real presses: the open list has the focus, and the press that takes it away is the one that
    // must close the list rather than open it again.
    void dropDownOpensClosesAndEscapes() {
        TRig t(0, 2);
        t.okno.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&t.okno));
        const QPoint arrow = t.Punkt(24, 4, 5);
        QTest::mouseClick(t.g->viewport(), Qt::LeftButton, {}, arrow);
        QVERIFY(t.g->ListaWyboru()->isVisible());
        QVERIFY(t.g->ListaWyboru()->hasFocus());
        QCOMPARE(t.g->ListaWyboru()->count(), 26);
        QTest::mouseClick(t.g->viewport(), Qt::LeftButton, {}, arrow);
        QVERIFY(!t.g->ListaWyboru()->isVisible());
        QCOMPARE(t.g->ListaWyboruItem(), 0);
        QTest::mouseClick(t.g->viewport(), Qt::LeftButton, {}, arrow); // and a third opens it again
        QVERIFY(t.g->ListaWyboru()->isVisible());
        t.Klik(24, 4, 5);
        QVERIFY(!t.g->ListaWyboru()->isVisible());
        // Esc closes it and changes nothing.
        t.V(24) = 5;
        t.Klik(24, 4, 5);
        QTest::keyClick(t.g->ListaWyboru(), Qt::Key_Down);
        QTest::keyClick(t.g->ListaWyboru(), Qt::Key_Escape);
        QVERIFY(!t.g->ListaWyboru()->isVisible());
        QCOMPARE(int(t.V(24)), 5);
    }

    // A choice item written with its limits the wrong way round still lists every value between them.
    void reversedLimitsListEveryValue() {
        TRig t(0, 2);
        const TNastawa r = t.k.Rekord(45);
        t.k.DodajNastawe(45, r.LabelId, r.Unit, r.Scale, r.Kind, 4, 1, 1,
                         {r.Choice[0], r.Choice[1], r.Choice[2], r.Choice[3], r.Choice[4]});
        t.V(45) = 9;
        t.Klik(45, 4, 5);
        QCOMPARE(t.g->ListaWyboru()->count(), 4);
        QCOMPARE(t.g->ListaWyboru()->currentRow(), 3);
    }

    // Holding +: one step at the press, then 600, 600, 600, 300 ... ms; hiding or re-paging stops it.
    void autoRepeat() {
        TRig t(0, 2);
        t.V(50) = 100;
        const QPoint plus = t.Punkt(50, 4, 5);
        t.g->MouseDown(plus.x(), plus.y());
        QCOMPARE(int(t.V(50)), 101);
        QVERIFY(t.g->TimerPowtarzania().isActive());
        const int expected[] = {600, 600, 300, 300, 300, 300, 300, 300, 300, 100};
        for (int i = 0; i < 10; ++i) {
            t.g->TimerPowtarzaniaTimer();
            QCOMPARE(t.g->TimerPowtarzania().interval(), expected[i]);
        }
        QCOMPARE(int(t.V(50)), 111);
        for (int i = 10; i < 30; ++i)
            t.g->TimerPowtarzaniaTimer();
        QCOMPARE(t.g->TimerPowtarzania().interval(), 30);
        // At the limit: one beep and the repeat stops.
        t.V(50) = 254;
        t.g->TimerPowtarzaniaTimer();
        t.g->TimerPowtarzaniaTimer();
        QCOMPARE(int(t.V(50)), 255);
        QCOMPARE(t.beeps, 1);
        QVERIFY(!t.g->TimerPowtarzania().isActive());

        for (int way = 0; way < 2; ++way) {
            TRig u(0, 2);
            u.V(50) = 100;
            const QPoint p = u.Punkt(50, 4, 5);
            u.g->MouseDown(p.x(), p.y());
            if (way == 0)
                u.g->Ukryj();
            else
                u.g->UstawStrone(1);
            QVERIFY(!u.g->TimerPowtarzania().isActive());
            u.g->TimerPowtarzaniaTimer(); // a tick already queued changes nothing
            QCOMPARE(int(u.V(50)), 101);
        }
    }

    // The corrections button's caption is red while an existing injector has a correction.
    void correctionsCaption_data() {
        QTest::addColumn<int>("injectors");
        QTest::addColumn<int>("changed"); // injector whose correction is not neutral, -1 none
        QTest::addColumn<bool>("red");
        QTest::newRow("none") << 4 << -1 << false;
        QTest::newRow("injector 3 of 4") << 4 << 3 << true;
        QTest::newRow("injector 7 of 4") << 4 << 7 << false;
        QTest::newRow("injector 4 of 4 (the fifth)") << 4 << 4 << false;
        QTest::newRow("injector 7 of 8") << 8 << 7 << true;
    }
    void correctionsCaption() {
        QFETCH(int, injectors);
        QFETCH(int, changed);
        QFETCH(bool, red);
        TRig t(0, 2);
        t.r.Eng.InjectorCount = uint8_t(injectors);
        for (int i = 0; i < 8; ++i)
            t.V(216 + i) = i == changed ? 129 : 128;
        const QImage img = t.g->viewport()->grab().toImage();
        const QRect cell = t.g->ProstokatKomorki(0, t.Gdzie(-10).y());
        int n = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = t.g->Stop(0, 0); x < t.g->Stop(0, 6); ++x)
                if (img.pixelColor(x, y) == t.g->Kolory().NapisCzerwony) ++n;
        QCOMPARE(n > 0, red);
    }

    void dialogButtons() {
        TRig t(0, 2);
        t.Klik(8, 6, 7); // nothing happens without dialogs
        TDialogiTestowe d;
        t.g->UstawDialogi(&d);
        for (int item : {8, 40, 57, 63, 96})
            t.Klik(item, 6, 7);
        const QPoint row = t.Gdzie(-10);
        const int y = t.g->ProstokatKomorki(0, row.y()).center().y();
        t.g->MouseDown(t.g->Stop(0, 0) + 3, y);
        t.g->MouseDown(t.g->Stop(0, 2) + 3, y);
        QCOMPARE(d.Otwarte, (QList<int>{8, 40, 57, 63, 96, TDialogiNastaw::KorektyWtryskiwaczy,
                                        TDialogiNastaw::Kalkulator}));
    }

    // A grid narrower than one letter of a value still paints, with the value cut to nothing.
    void tinyGridPaints() {
        TRig t(0, 2, QSize(40, 480));
        const QImage img = t.g->viewport()->grab().toImage();
        QVERIFY(!img.isNull());
    }

    // One step repaints its own row and nothing else.
    void oneStepRepaintsOneRow() {
        TRig t(0, 2);
        QCoreApplication::processEvents();
        struct Filtr : QObject {
            QRegion r;
            bool eventFilter(QObject *, QEvent *e) override {
                if (e->type() == QEvent::Paint) r += static_cast<QPaintEvent *>(e)->region();
                return false;
            }
        } f;
        t.V(50) = 100;
        t.Klik(50, 2, 3); // select first; the selection repaints the old row as well
        QCoreApplication::processEvents();
        t.g->viewport()->installEventFilter(&f);
        const QPoint minus = t.Punkt(50, 3, 4);
        t.Klik(50, 3, 4);
        QCoreApplication::processEvents();
        QCOMPARE(int(t.V(50)), 99);
        QVERIFY(!f.r.isEmpty());
        QCOMPARE(f.r.boundingRect().height(), t.g->WysokoscWiersza());
        QVERIFY(f.r.boundingRect().contains(minus));
    }

    // A change made in the grid reaches the controller in exactly one settings write.
    void changeReachesTheController() {
        TRig t(0, 2);
        for (int i = 0; i < 300; ++i) {
            t.r.Turn();
            if (i > 2 && !t.r.Eng.ReadRequests && !t.r.Eng.OtherRequests && !t.r.Eng.WriteRequests &&
                !t.r.Eng.SettingsWritePending && !t.r.Eng.TxWait)
                break;
        }
        t.r.Settle();
        QCOMPARE(t.r.Eng.WriteRequests, 0u);
        const int before = t.V(50);
        QVERIFY(before < 255);
        t.r.Ctl.Received.clear();
        t.Klik(50, 4, 5);
        QCOMPARE(int(t.V(50)), before + 1);
        for (int i = 0; i < 12; ++i)
            t.r.Turn();
        t.r.Settle();
        int writes = 0;
        for (const TPcFrame &f : t.r.Ctl.Received)
            if (f.Code == 0xF8) ++writes;
        QCOMPARE(writes, 1);
        QCOMPARE(int(uint8_t(t.r.Ctl.Block(0xE8)[50])), before + 1);
        QCOMPARE(t.r.Eng.WriteRequests & (1u << BitNastawy), 0u);
    }

    // In the main window: the settings tab shows the grid, the View menu sets its level, and a key
    // on the grid steps the setting in the controller's block.
    void insideTheWindow() {
        TOkno o;
        auto *g = dynamic_cast<TNastawy *>(o.w->Nastawy.get());
        QVERIFY(g);
        QVERIFY(g->isVisible());
        QCOMPARE(g->Strona(), 0);
        o.w->MenuView0Click(2);
        QCOMPARE(g->IleWierszy(), 24);
        o.w->MenuView0Click(0);
        QCOMPARE(g->IleWierszy(), 16);
        int beeps = 0;
        o.w->Katalog->OnBeep = [&] { ++beeps; };
        const int before = o.S().Nastawy[1];
        QTest::keyClick(g, Qt::Key_Right); // row 1, column 0: item 1
        QCOMPARE(int(o.S().Nastawy[1]), before + 1);
        QCOMPARE(beeps, 0);
        if (const QString dir = qEnvironmentVariable("TARVEN_GRAB_DIR"); !dir.isEmpty())
            o.w->grab().save(dir + QStringLiteral("/okno.png"));
    }

    // Every page in every scheme: labels end before the value boxes; pictures on request.
    void everyPageInEveryScheme() {
        const QString dir = qEnvironmentVariable("TARVEN_GRAB_DIR");
        const QSize sizes[] = {QSize(1366, 768), QSize(740, 420)};
        for (const QSize &size : sizes) {
            TRig t(0, 2, size);
            t.V(216 + 1) = 130; // a changed correction: the button caption turns red
            t.V(83) = 10;
            for (int scheme = 0; scheme < 6; ++scheme) {
                t.g->UstawKolory(PaletaSchematu(scheme));
                const int pages[][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 2}, {20, 1}, {50, 1}, {51, 1}};
                for (const auto &pl : pages) {
                    t.Strona(pl[0], pl[1]);
                    if (t.g->RozmiarCzcionki() > 7)
                        QVERIFY(t.g->Stop(0, 2) - 4 - std::max(t.g->Stop(0, 0), 0) > 0);
                    if (dir.isEmpty()) continue;
                    t.g->grab().save(QStringLiteral("%1/nastawy_%2x%3_s%4_p%5_l%6.png")
                                         .arg(dir)
                                         .arg(size.width())
                                         .arg(size.height())
                                         .arg(scheme)
                                         .arg(pl[0])
                                         .arg(pl[1]));
                }
            }
        }
    }
};

QTEST_MAIN(TestNastawy)
#include "tst_nastawy.moc"
