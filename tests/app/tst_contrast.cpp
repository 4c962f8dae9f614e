// Every text the window draws reads in all six colour schemes: 4.5:1 against its background, 3:1 for
// greyed text. The palette's text entries on the backgrounds the views draw them on, the colours picked
// while drawing (status panel, OBD grids and boxes), and the pressed tab and emphasised action buttons
// measured on the grabbed window.
#include "Okno.h"
#include "obd/ObdModels.h"
#include "obd/ui/TPanelObd.h"
#include "widgets/TPaleta.h"
#include "widgets/TRichBox.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextBlock>

namespace {
struct TPara {
    const char *co;
    uint32_t TPaleta::*tekst;
    uint32_t TPaleta::*tlo;
    double prog = KontrastTekstu;
};

// What the drawing code puts on what.
const TPara Pary[] = {
    {"window, grid labels, map and scope texts", &TPaleta::Text, &TPaleta::Background},
    {"reading names", &TPaleta::Text, &TPaleta::NameCell},
    {"boxes, adapter and PID grids", &TPaleta::Text, &TPaleta::Box},
    {"side strips", &TPaleta::SplitterText, &TPaleta::Splitter},
    {"banners, grid captions", &TPaleta::BannerText, &TPaleta::Background},
    {"reading values", &TPaleta::BannerText, &TPaleta::ValueCell},
    {"pressed tab, emphasised buttons", &TPaleta::SelectedTab, &TPaleta::Background},
    {"red buttons and captions", &TPaleta::CaptionRed, &TPaleta::Background},
    {"petrol injection times", &TPaleta::CaptionRed, &TPaleta::ValueCell},
    {"green buttons and captions", &TPaleta::CaptionGreen, &TPaleta::Background},
    {"gas injection times", &TPaleta::CaptionGreen, &TPaleta::ValueCell},
    {"purple buttons", &TPaleta::CaptionPurple, &TPaleta::Background},
    {"diagnostics tab, controller warns", &TPaleta::CaptionDarkGreen, &TPaleta::Background},
    {"value boxes", &TPaleta::EditableText, &TPaleta::Box},
    {"value boxes out of range", &TPaleta::EditableText, &TPaleta::WarningBox},
    {"selected value box", &TPaleta::SelectedCellText, &TPaleta::SelectedCell},
    {"locked value box", &TPaleta::LockedCellText, &TPaleta::LockedCell, KontrastWyszarzony},
    {"locked label", &TPaleta::LockedCellText, &TPaleta::Background, KontrastWyszarzony},
    {"dialogs", &TPaleta::DialogText, &TPaleta::Background},
    {"map legend: curve", &TPaleta::MapCurveText, &TPaleta::MapBackground},
    {"map legend: petrol", &TPaleta::MapPetrolText, &TPaleta::MapBackground},
    {"map legend: gas", &TPaleta::MapGasText, &TPaleta::MapBackground},
    {"map legend and scale: deviation", &TPaleta::MapDeviationText, &TPaleta::MapBackground},
    {"map marker labels", &TPaleta::MapMarkerText, &TPaleta::MapBackground},
};

QString Opis(const QColor &text, const QColor &background) {
    return QStringLiteral("%1 on %2: %3:1")
        .arg(text.name(), background.name())
        .arg(Kontrast(text, background), 0, 'f', 2);
}

// On screen: the face is the colour most pixels of r have; the pixel that stands out most from it is
// the text's own colour where a stroke covers a whole pixel.
QString NaEkranie(const QImage &im, const QRect &r, double *ratio) {
    QHash<QRgb, int> ile;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++ile[im.pixel(x, y)];
    QRgb face = 0;
    for (auto it = ile.cbegin(); it != ile.cend(); ++it)
        if (it.value() > ile.value(face)) face = it.key();
    const QColor tlo(face);
    QColor ink = tlo;
    for (auto it = ile.cbegin(); it != ile.cend(); ++it)
        if (Kontrast(QColor(it.key()), tlo) > Kontrast(ink, tlo)) ink = QColor(it.key());
    *ratio = Kontrast(ink, tlo);
    return Opis(ink, tlo);
}
} // namespace

class TestContrast : public QObject {
    Q_OBJECT
    std::unique_ptr<TOkno> o_;

private slots:
    void initTestCase() { o_ = std::make_unique<TOkno>(1); }
    void cleanupTestCase() { o_.reset(); }

    void paletteFloor_data() {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("pair");
        for (int s = 0; s < 6; ++s)
            for (int i = 0; i < int(std::size(Pary)); ++i)
                QTest::addRow("%d %s", s, Pary[i].co) << s << i;
    }
    void paletteFloor() {
        QFETCH(int, scheme);
        QFETCH(int, pair);
        const TPaleta p = PaletaSchematu(scheme);
        const TPara &q = Pary[pair];
        const QColor t = Kolor(p.*q.tekst), b = Kolor(p.*q.tlo);
        QVERIFY2(Kontrast(t, b) >= q.prog, qPrintable(Opis(t, b)));
    }

    // Moved just far enough, toward white on dark and black on light; what reads stays as it is.
    // Worked out with a separate model of the relative-luminance formula and the 1/255 steps.
    void movedJustFarEnough_data() {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<double>("floor");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("dark blue on black")
            << QColor(0, 0, 128) << QColor(0, 0, 0) << 4.5 << QColor(109, 109, 182);
        QTest::newRow("locked grey, dim")
            << QColor(60, 60, 60) << QColor(40, 40, 40) << 3.0 << QColor(113, 113, 113);
        QTest::newRow("white on mid blue")
            << QColor(255, 255, 255) << QColor(48, 140, 198) << 4.5 << QColor(30, 30, 30);
        QTest::newRow("reads already")
            << QColor(0, 0, 160) << QColor(210, 210, 210) << 4.5 << QColor(0, 0, 160);
    }
    void movedJustFarEnough() {
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QFETCH(double, floor);
        QFETCH(QColor, expected);
        QCOMPARE(Czytelny(text, background, floor), expected);
    }

    // The pressed tab and the emphasised action buttons (and the diagnostics tab, pressed, in its error
    // and warning colours) as the window draws them.
    void onScreen_data() {
        QTest::addColumn<int>("scheme");
        for (int s = 0; s < 6; ++s)
            QTest::addRow("scheme %d", s) << s;
    }
    void onScreen() {
        QFETCH(int, scheme);
        TForm1 &w = *o_->w;
        w.MenuColor0Click(scheme);
        auto czytelny = [&](QWidget *b, const char *what) {
            const QImage im = b->grab().toImage();
            double k = 0;
            const QString opis = NaEkranie(im, im.rect().adjusted(2, 2, -2, -2), &k); // inside the frame
            QVERIFY2(k >= KontrastTekstu, qPrintable(QStringLiteral("%1: ").arg(QLatin1String(what)) + opis));
        };
        w.SpeedButton1Click(0);
        czytelny(w.TabMain[0], "pressed tab");
        czytelny(w.Btn[3], "Factory settings");
        w.SpeedButton1Click(1);
        czytelny(w.Btn[3], "Start [Enter]");
        w.SpeedButton1Click(3);
        czytelny(w.Btn[3], "Clear errors");
        for (uint8_t bits : {uint8_t(0x08), uint8_t(0x04)}) {
            o_->Zero();
            o_->S().RxBuffer[11] = bits;
            w.UpdateLive(o_->S().RxBuffer);
            czytelny(w.TabMain[3], bits == 0x08 ? "diagnostics tab, errors" : "diagnostics tab, warning");
        }
        w.SpeedButton1Click(2);
        w.WybierzPodzakladkeMapy(0);
        w.SpeedButton11Click();
        czytelny(w.Btn[0], "Erase petrol map");
        czytelny(w.Btn[1], "Erase gas map");
        czytelny(w.Btn[2], "Erase adjustments");
        w.WybierzPodzakladkeMapy(1);
        w.SpeedButton11Click();
        czytelny(w.Btn[2], "Clear corrections");
    }

    // Colours chosen while drawing: the status panel's text on every work-state colour and on the
    // connection panel.
    void statusPanel_data() {
        QTest::addColumn<int>("state"); // -1 not connected, -2 connected, else the work-state word
        QTest::newRow("no connection") << -1;
        QTest::newRow("connected") << -2;
        for (int state : {0x0000, 0x0100, 0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307})
            QTest::addRow("state %04x", state) << state;
    }
    void statusPanel() {
        QFETCH(int, state);
        TForm1 &w = *o_->w;
        if (state < 0) {
            w.StatusPolaczenia(state == -2);
        } else {
            o_->Zero();
            o_->S().RxBuffer[10] = uint8_t(state);
            o_->S().RxBuffer[11] = uint8_t(state >> 8);
            w.UpdateLive(o_->S().RxBuffer);
        }
        const QPalette p = w.PanelStatus->palette();
        const QColor t = p.color(QPalette::WindowText), b = p.color(QPalette::Window);
        QVERIFY2(Kontrast(t, b) >= KontrastTekstu, qPrintable(Opis(t, b)));
    }

    // The OBD engine's fixed colours on the scheme's box: the grid cells as drawn, the trouble-code lines
    // again after the scheme changed; lines without a colour of their own follow the box's text colour.
    void obdColours_data() {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("colour");
        QTest::addColumn<double>("floor");
        for (int s : {0, 5}) {
            QTest::addRow("%d green", s) << s << ObdGreen << KontrastTekstu;
            QTest::addRow("%d red", s) << s << ObdRed << KontrastTekstu;
            QTest::addRow("%d unsupported grey", s) << s << ObdSilver << KontrastWyszarzony;
            QTest::addRow("%d box text", s) << s << ObdDefaultColour << KontrastTekstu;
        }
    }
    void obdColours() {
        QFETCH(int, scheme);
        QFETCH(int, colour);
        QFETCH(double, floor);
        TForm1 &w = *o_->w;
        w.MenuColor0Click(3);
        TRichBox *dtc = w.PanelObd->RichEditDtc;
        dtc->Wyczysc();
        dtc->Dodaj(QStringLiteral("P0300"), colour);
        dtc->Wypisz();
        w.MenuColor0Click(scheme);
        const QTextCharFormat f = dtc->document()->firstBlock().begin().fragment().charFormat();
        const QColor box = dtc->palette().color(QPalette::Base);
        const QColor line = f.hasProperty(QTextFormat::ForegroundBrush)
                                ? f.foreground().color()
                                : dtc->palette().color(QPalette::Text);
        QVERIFY2(Kontrast(line, box) >= floor, qPrintable(QStringLiteral("line ") + Opis(line, box)));

        TSiatka *pid = w.PanelObd->StringGridPid;
        pid->UstawWymiary(5, 1);
        w.PanelObd->GridPidy->SetCell(4, 0, QStringLiteral("-12.5"), colour);
        QImage im(120, 24, QImage::Format_RGB32);
        QPainter p(&im);
        p.setFont(QFont(pid->font().family(), 14, QFont::Bold));
        pid->OnDrawCell(p, 4, 0, im.rect());
        p.end();
        double k = 0;
        const QString opis = NaEkranie(im, im.rect(), &k);
        QVERIFY2(k >= floor, qPrintable(QStringLiteral("cell ") + opis));
    }

    // The scope's channel labels in the traces' colours, on the scope's surroundings.
    void scopeLabels_data() {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<uint32_t>("colour");
        QTest::newRow("purple on black") << 5 << 0x800080u;
        QTest::newRow("green on silver") << 2 << 0x00A000u;
    }
    void scopeLabels() {
        QFETCH(int, scheme);
        QFETCH(uint32_t, colour);
        TForm1 &w = *o_->w;
        w.MenuColor0Click(scheme);
        w.SpeedButton1Click(4);
        TWykres &vacuum = o_->S().Wykresy[3];
        vacuum.Colour = colour;
        o_->Zero();
        for (int i = 0; i < 5; ++i)
            w.Scope->NowaProbka(o_->S().RxBuffer);
        w.Scope->Przerysuj();
        const QImage im = w.Scope->Widget()->grab().toImage();
        const QRect label(im.width() - 108, vacuum.LabelRow, 108, 16);
        double k = 0;
        const QString opis = NaEkranie(im, label, &k);
        QVERIFY2(k >= KontrastTekstu, qPrintable(opis));
    }
};

QTEST_MAIN(TestContrast)
#include "tst_contrast.moc"
