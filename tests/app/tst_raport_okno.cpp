// The hand-over in the window: the vehicle page's counters, codes, verdict and changes since arrival;
// the workshop form and the service report window driven with real clicks and keys; every one of them
// grabbed in each colour scheme and view level (TARVEN_SHOTS=folder keeps the pictures).
#include "Okno.h"
#include "config/TConfig.h"
#include "dialogs/TFormRaportSerwisowy.h"
#include "dialogs/TFormWarsztat.h"
#include "obd/ui/TPanelObd.h"
#include "obd/ui/TWidokPojazdu.h"
#include "widgets/TSiatka.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTimer>

namespace {
TObdPojazd Samochod(bool poKasowaniu) {
    TObdEcuPojazdu e;
    e.adres = 0x7E8;
    e.adresTekst = QStringLiteral("7E8");
    // Arrival: lamp on, catalyst and evaporative system incomplete; after the clear all five again.
    e.status = DekodujGotowosc(QByteArray::fromHex(poKasowaniu ? "0007E5E5" : "8207E505"), false);
    e.vin = QStringLiteral("TRVSIM0A0B1C23456");
    e.rozgrzania = poKasowaniu ? 0 : 42;
    e.kmOdKasowania = poKasowaniu ? 0 : 1234;
    e.minOdKasowania = poKasowaniu ? 0 : 2710;
    e.kmZLampa = poKasowaniu ? 0 : 57;
    e.kodyZapisane = poKasowaniu ? QList<uint16_t>{} : QList<uint16_t>{0x0420, 0x0171};
    e.kodyOczekujace = QList<uint16_t>{};
    e.kodyPermanentne = QList<uint16_t>{0x0420};
    TObdPojazd p;
    p.ecu = {e};
    return p;
}

int Wiersz(TSiatka *g, const QString &first, int from = 0) {
    for (int r = from; r < g->rowCount(); ++r)
        if (g->Komorka(0, r) == first) return r;
    return -1;
}

// Typed key by key; a letter beyond ASCII comes as a key event with its text, as a keyboard layout sends it.
void Pisz(QWidget *w, const QString &text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(w, char(c.unicode()));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c)),
            release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
}

void Zachowaj(QWidget *w, const QString &name) {
    const QString folder = qEnvironmentVariable("TARVEN_SHOTS");
    const QImage im = w->grab().toImage();
    QVERIFY(!im.isNull());
    if (!folder.isEmpty()) QVERIFY(im.save(folder + u'/' + name + QStringLiteral(".png")));
}
} // namespace

class TestRaportOkno : public QObject {
    Q_OBJECT
private slots:
    void vehiclePage();
    void vehiclePageInEverySchemeAndLevel();
    void workshopForm();
    void reportWindow();
};

void TestRaportOkno::vehiclePage() {
    TOkno o;
    o.w->SpeedButton1Click(5);
    QTest::mouseClick(o.w->PanelObd->SpeedButton43, Qt::LeftButton);
    TWidokPojazdu *page = o.w->PanelObd->Pojazd;
    TSiatka *g = page->Siatka;
    page->PokazPojazd(Samochod(false));
    QCOMPARE(
        page->LiniaWerdyktu->text(),
        QStringLiteral("Ready for an emissions inspection: no — 2 monitors incomplete (allowed 1), lamp on, "
                       "permanent codes 1"));
    QCOMPARE(page->LiniaWerdyktu->palette().color(QPalette::Window), Kolor(o.w->Paleta.WarningBox));
    QCOMPARE(g->Komorka(1, Wiersz(g, QStringLiteral("Since the codes were cleared"))),
             QStringLiteral("warm-ups: 42, distance: 1234 km, time: 2710 min"));
    QCOMPARE(g->Komorka(1, Wiersz(g, QStringLiteral("With the lamp on"))),
             QStringLiteral("distance: 57 km, time: not available"));
    const int stored = Wiersz(g, QStringLiteral("Stored codes"));
    QCOMPARE(g->Komorka(1, stored),
             QStringLiteral("P0420  Catalyst System Efficiency Below Threshold (Bank 1)"));
    QCOMPARE(g->Komorka(1, stored + 1), QStringLiteral("P0171  System Too Lean (Bank 1)"));
    QCOMPARE(g->Komorka(1, Wiersz(g, QStringLiteral("Pending codes"))), QStringLiteral("none"));
    const int permanent = Wiersz(g, QStringLiteral("Permanent codes"));
    QVERIFY(g->Komorka(1, permanent).startsWith(QStringLiteral("P0420  ")));
    QCOMPARE(g->Komorka(1, Wiersz(g, QStringLiteral("no changes"))), QString());

    // Cleared: the codes are gone, three monitors back to incomplete; the visit shows it.
    page->PokazPojazd(Samochod(true));
    QCOMPARE(g->Komorka(1, Wiersz(g, QStringLiteral("Codes cleared"))), QStringLiteral("P0420, P0171"));
    QCOMPARE(g->Komorka(1, Wiersz(g, QStringLiteral("Monitors back to incomplete since arrival"))),
             QStringLiteral("Oxygen sensor, Oxygen sensor heater, EGR/VVT"));
    QCOMPARE(Wiersz(g, QStringLiteral("no changes")), -1);
    QCOMPARE(g->Komorka(1, Wiersz(g, QStringLiteral("Stored codes"))), QStringLiteral("none"));
    // The permanent code is drawn on the warning colour.
    g->scrollTo(g->model()->index(Wiersz(g, QStringLiteral("Permanent codes")), 1));
    const QImage shot = g->viewport()->grab().toImage();
    const QRect cell = g->visualRect(g->model()->index(Wiersz(g, QStringLiteral("Permanent codes")), 1));
    QCOMPARE(shot.pixelColor(cell.left() + 2, cell.center().y()), Kolor(o.w->Paleta.WarningBox));

    // With five allowed and no lamp the car would pass but for its permanent code.
    page->UstawDozwolone(5);
    QVERIFY(page->LiniaWerdyktu->text().contains(
        QStringLiteral("no — 5 monitors incomplete (allowed 5), lamp off, "
                       "permanent codes 1")));
}

void TestRaportOkno::vehiclePageInEverySchemeAndLevel() {
    TOkno o;
    o.w->resize(1366, 768);
    o.w->SpeedButton1Click(5);
    QTest::mouseClick(o.w->PanelObd->SpeedButton43, Qt::LeftButton);
    TWidokPojazdu *page = o.w->PanelObd->Pojazd;
    page->PokazPojazd(Samochod(false));
    page->PokazPojazd(Samochod(true));
    for (int level = 0; level < 3; ++level) {
        o.w->MenuView0Click(level);
        for (int scheme = 0; scheme < 6; ++scheme) {
            o.w->MenuColor0Click(scheme);
            QApplication::processEvents();
            // The verdict fits on its line, and its text stands out from its background.
            const QFontMetrics m(page->LiniaWerdyktu->font());
            QVERIFY(m.horizontalAdvance(page->LiniaWerdyktu->text()) + 8 <= page->LiniaWerdyktu->width());
            const QPalette p = page->LiniaWerdyktu->palette();
            QVERIFY2(qAbs(p.color(QPalette::WindowText).lightness() - p.color(QPalette::Window).lightness()) >
                         90,
                     qPrintable(QStringLiteral("scheme %1").arg(scheme)));
            Zachowaj(page, QStringLiteral("vehicle-level%1-scheme%2").arg(level).arg(scheme));
        }
    }
}

void TestRaportOkno::workshopForm() {
    TOkno o;
    TFormWarsztat *f = o.w->FormWarsztat;
    bool shown = false;
    // Typed in and confirmed: stored in the configuration, the page's verdict takes the allowance.
    QTimer::singleShot(0, f, [&] {
        shown = f->isVisible();
        QTest::keyClicks(f->Nazwa, QStringLiteral("Auto-Gaz Serwis"));
        QTest::mouseClick(f->Adres->viewport(), Qt::LeftButton);
        Pisz(f->Adres, QStringLiteral("ul. Długa 5"));
        QTest::keyClick(f->Adres, Qt::Key_Return);
        QTest::keyClicks(f->Adres, QStringLiteral("00-001 Warszawa"));
        QTest::keyClicks(f->Telefon, QStringLiteral("+48 22 000 00 00"));
        f->Liczba->setFocus();
        QTest::keyClick(f->Liczba, Qt::Key_Down);
        for (int scheme = 0; scheme < 6; scheme += 5) {
            f->Przygotuj(f->NazwaWarsztatu(), f->AdresWarsztatu(), f->TelefonWarsztatu(), f->Dozwolone(),
                         scheme ? Qt::black : Qt::white, scheme ? Qt::white : Qt::black);
            Zachowaj(f, QStringLiteral("workshop-%1").arg(scheme ? "black" : "white"));
        }
        QTest::mouseClick(f->Ok, Qt::LeftButton);
    });
    o.w->ActWarsztat->trigger();
    QVERIFY(shown);
    TConfig c(o.ini);
    c.Read();
    QCOMPARE(c.WorkshopName(), QStringLiteral("Auto-Gaz Serwis"));
    QCOMPARE(c.WorkshopAddress(), QStringLiteral("ul. Długa 5\n00-001 Warszawa"));
    QCOMPARE(c.WorkshopPhone(), QStringLiteral("+48 22 000 00 00"));
    QCOMPARE(c.InspectionAllowance(), 0);
    QCOMPARE(o.w->PanelObd->Pojazd->Dozwolone(), 0);

    // Cancelled: nothing changes.
    QTimer::singleShot(0, f, [&] {
        f->Nazwa->clear();
        QTest::keyClicks(f->Nazwa, QStringLiteral("Other"));
        QTest::mouseClick(f->Anuluj, Qt::LeftButton);
    });
    o.w->ActWarsztat->trigger();
    c.Read();
    QCOMPARE(c.WorkshopName(), QStringLiteral("Auto-Gaz Serwis"));
}

void TestRaportOkno::reportWindow() {
    TOkno o;
    QVERIFY(o.w->MenuDevice->actions().contains(o.w->ActRaport));
    QCOMPARE(o.w->ActRaport->text(), QStringLiteral("Service report…"));
    o.w->PanelObd->Pojazd->PokazPojazd(Samochod(false));
    TFormRaportSerwisowy *f = o.w->FormRaportSerwisowy;
    const QString pdf = o.dir.filePath(QStringLiteral("visit")),
                  html = o.dir.filePath(QStringLiteral("visit.html"));
    QString podglad, wynik, blad;
    QTimer::singleShot(0, f, [&] {
        podglad = f->Podglad->toPlainText();
        f->OnWybierzPlik = [&](bool asPdf) { return asPdf ? pdf : html; };
        QTest::mouseClick(f->Pdf, Qt::LeftButton); // ".pdf" is added
        QTest::mouseClick(f->Html, Qt::LeftButton);
        wynik = f->Wynik->text();
        f->OnWybierzPlik = [&](bool) { return o.dir.filePath(QStringLiteral("missing/visit.pdf")); };
        QTest::mouseClick(f->Pdf, Qt::LeftButton);
        blad = f->Wynik->text();
        f->OnWybierzPlik = [&](bool) { return QString(); }; // Cancel in the file box
        QTest::mouseClick(f->Html, Qt::LeftButton);
        Zachowaj(f, QStringLiteral("report-window"));
        f->OnWybierzPlik = nullptr;
        QTest::mouseClick(f->Zamknij, Qt::LeftButton);
    });
    o.w->ActRaport->trigger();
    QVERIFY2(podglad.contains(QStringLiteral("TRVSIM0A0B1C23456")), qPrintable(podglad));
    QVERIFY(podglad.contains(QStringLiteral("The gas controller was not connected.")));
    QVERIFY(podglad.contains(QStringLiteral("P0420")));
    QFile p(pdf + QStringLiteral(".pdf"));
    QVERIFY(p.open(QIODevice::ReadOnly) && p.read(5) == "%PDF-");
    QFile h(html);
    QVERIFY(h.open(QIODevice::ReadOnly) && h.readAll().contains("TRVSIM0A0B1C23456"));
    QCOMPARE(wynik, QStringLiteral("Report written: %1").arg(html));
    QVERIFY2(blad.startsWith(QStringLiteral("The report cannot be written: ")), qPrintable(blad));
}

QTEST_MAIN(TestRaportOkno)
#include "tst_raport_okno.moc"
