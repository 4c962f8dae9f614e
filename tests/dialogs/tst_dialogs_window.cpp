// The dialogs inside the main window: created once, fed by the dispatcher while shown, the readings
// chooser behind the "V" button, and none left polling the level sensor when the window closes.
#include "app/Okno.h"
#include "app/TPanelPrawy.h"
#include "dialogs/TDialogi.h"
#include "dialogs/TFormLevel.h"
#include "dialogs/TFormParam.h"

#include <QTimer>
#include <QToolButton>

class TstDialogsWindow : public QObject {
    Q_OBJECT
private slots:
    void dispatcherFeedsShownLevelDialog();
    void readingsButtonOpensChooser();
};

void TstDialogsWindow::dispatcherFeedsShownLevelDialog() {
    TOkno o;
    TDialogi *d = o.w->Dialogi.get();
    QVERIFY(d);
    TFormLevel *f = d->FormLevel;
    o.Zero();
    o.S().RxBuffer[13] = 0x3C;
    o.Odpowiedz(); // hidden: not fed
    QCOMPARE(f->KolorLampki(1), TFormLevel::Szary);
    d->Przygotuj(40, o.w->font())->show();
    QVERIFY(o.S().PollMode & TFormLevel::BitPoziomu);
    o.Odpowiedz();
    QCOMPARE(f->KolorLampki(1), TFormLevel::Zielony);
    o.w->close(); // the window closing takes the level poll with it
    QVERIFY(!(o.S().PollMode & TFormLevel::BitPoziomu));
    QVERIFY(!f->isVisible());
}

void TstDialogsWindow::readingsButtonOpensChooser() {
    TOkno o;
    TFormParam *f = o.w->Dialogi->FormParam;
    TSterownik &s = o.S();
    const int series = s.PodajPozycje(WykresChooser, 0);
    QVERIFY(series >= 0 && series < int(s.Wykresy.size()));
    const bool before = s.Wykresy[size_t(series)].Flags & WykresReadings;
    bool shown = false;
    QTimer::singleShot(0, f, [&] {
        shown = f->isVisible();
        f->Przelacz(0);
        f->accept();
    });
    o.w->PanelRight->BtnParam->click();
    QVERIFY(shown);
    QCOMPARE(bool(s.Wykresy[size_t(series)].Flags & WykresReadings), !before);
}

QTEST_MAIN(TstDialogsWindow)
#include "tst_dialogs_window.moc"
