// The scope view and its recorder: texts under the plot, bands, commands, the file and CSV round
// trips, the ring of one hour, and the guards of the channel arithmetic.
#include "device/ImageFile.h"
#include "device/ScopeCsv.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "scope/TScope.h"
#include "widgets/TPaleta.h"

#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A sample that names itself: bytes 0…3 hold n, the work state says "running on gas", rpm varies.
QByteArray Probka(int n) {
    QByteArray b(128, '\0');
    for (int k = 0; k < 4; ++k)
        b[k] = char(n >> (8 * k));
    b[10] = 0x03;
    b[11] = 0x03;
    b[17] = char(n % 200);
    b[44] = char(n % 97);
    return b;
}
int Numer(const uint8_t *p) {
    return p ? int(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24) : -1;
}

struct TStanowisko {
    QTemporaryDir dir;
    TSterownik link;
    QWidget parent;
    TScope *scope;
    QString answer; // what the file dialog answers
    TStanowisko(int w = 800, int h = 500) {
        link.StopTimer();
        link.OnMessage = [](const QString &, int) { return 1; };
        parent.resize(w, h);
        scope = new TScope(&parent, &link);
        scope->setGeometry(0, 0, w, h);
        scope->show();
        parent.show();
        DialogPlikuScope() = [this](const TDialogPlikuScope &) { return answer; };
    }
    ~TStanowisko() { DialogPlikuScope() = nullptr; }
    void Dodaj(int from, int n) {
        for (int i = from; i < from + n; ++i)
            scope->NowaProbka(reinterpret_cast<const uint8_t *>(Probka(i).constData()));
    }
    void Rysowane(const QList<int> &series) {
        for (size_t k = 0; k < link.Wykresy.size(); ++k)
            link.Wykresy[k].Flags &= ~WykresDrawn;
        for (int k : series)
            link.Wykresy[size_t(k)].Flags |= WykresDrawn;
    }
    QString Plik(const char *name) { return dir.filePath(QLatin1String(name)); }
};
} // namespace

class TstScope : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanup() {
        LangSetLanguage(0);
        QLocale::setDefault(QLocale::c());
    }

    void textsUnderThePlot_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("division");
        QTest::newRow("index 3, Polish") << 3 << 1 << "pl_PL"
                                         << "5 [s/dz]     ";
        QTest::newRow("index 0, Polish comma") << 0 << 1 << "pl_PL"
                                               << "0,5 [s/dz]     ";
        QTest::newRow("index 0, English point") << 0 << 0 << "en_US"
                                                << "0.5 [sec/div]     ";
        QTest::newRow("index 8") << 8 << 0 << "en_US"
                                 << "200 [sec/div]     ";
    }
    void textsUnderThePlot() {
        QFETCH(int, zoom);
        QFETCH(int, language);
        QFETCH(QString, locale);
        QFETCH(QString, division);
        LangSetLanguage(language);
        QLocale::setDefault(QLocale(locale));
        TModelScope m;
        m.ZoomIndeks = zoom;
        QCOMPARE(m.TekstDzialki(), division);
    }

    void sixHundredSamplesReadSixtySeconds() {
        TStanowisko t;
        t.Dodaj(0, 600);
        QCOMPARE(t.scope->Model().Last, 600);
        QCOMPARE(t.scope->Model().TekstCzasu(), QStringLiteral("60.0 ") + LangText(1055));
        QCOMPARE(t.scope->CzasNagrania(), QStringLiteral("60.0 [s]"));
    }

    void csvOfThreeSamples() {
        for (int extended : {0, 1}) {
            TStanowisko t;
            t.link.ExtendedView = uint8_t(extended);
            t.Dodaj(0, 3);
            t.answer = t.Plik("a.csv");
            t.scope->Polecenie(7);
            QFile f(t.answer);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray text = f.readAll();
            QVERIFY(text.endsWith("\r\n"));
            const QList<QByteArray> lines = text.chopped(2).split('\n');
            QCOMPARE(lines.size(), 4);
            const int series = t.link.PodajIleParamBiez(WykresScope);
            for (int i = 0; i < 4; ++i) {
                QVERIFY(lines[i].endsWith(";\r") || i == 3);
                QCOMPARE(lines[i].count(';'), series + 1);
            }
            QVERIFY(lines[1].startsWith("0.0;") && lines[2].startsWith("0.1;") &&
                    lines[3].startsWith("0.2;"));
            // Sample 2: rpm word 2 x 10, vacuum word 2 x 0.01 with two decimals, gas pressures 0,
            // temperatures byte 0 - 128.
            QVERIFY2(lines[3].startsWith("0.2;20;0.02;0.00;0.00;-128;-128;"), lines[3].constData());
            // The service series carry their fixed names in the header while they are listed.
            QCOMPARE(lines[0].contains(";t. ster.;"), extended == 1);
        }
    }

    void bands_data() {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QList<int>>("drawn");
        QTest::addColumn<QList<int>>("bases"); // in units of E, + 40
        QTest::addColumn<int>("divisor");
        QTest::newRow("stacked, four") << 12 << QList<int>{1, 3, 4, 6} << QList<int>{1, 2, 3, 4} << 4;
        QTest::newRow("overlay") << 10 << QList<int>{1, 3, 4} << QList<int>{1, 1, 1} << 1;
        QTest::newRow("grouped") << 11 << QList<int>{1, 3, 4, 7, 12} << QList<int>{1, 2, 3, 4, 4} << 4;
        QTest::newRow("grouped, none below 8") << 11 << QList<int>{9, 12} << QList<int>{1, 1} << 4;
        QTest::newRow("stacked, none") << 12 << QList<int>{} << QList<int>{} << 1;
    }
    void bands() {
        QFETCH(int, layout);
        QFETCH(QList<int>, drawn);
        QFETCH(QList<int>, bases);
        QFETCH(int, divisor);
        TStanowisko t(800, 500);
        t.Rysowane(drawn);
        t.Dodaj(0, 50);
        t.scope->Polecenie(layout);
        const int E = (500 - 98) / divisor;
        const auto &p = t.scope->Pasma();
        QCOMPARE(p.size(), drawn.size());
        for (int j = 0; j < int(p.size()); ++j) {
            QCOMPARE(p[j].Seria, drawn[j]);
            QCOMPARE(p[j].E, E);
            QCOMPARE(p[j].G, bases[j] * E + 40);
        }
    }

    void narrowAndFlatViewsDrawOnlyFrameAndTexts() {
        for (QSize size : {QSize(100, 300), QSize(121, 300), QSize(600, 60), QSize(20, 20)}) {
            TStanowisko t(size.width(), size.height());
            t.Dodaj(0, 30);
            for (int c : {10, 11, 12, 21, 21, 21, 21, 21, 2})
                t.scope->Polecenie(c);
            QCOMPARE(t.scope->Obraz().size(), size);
        }
    }

    void tooLowForABandDrawsNoTraceNorBar() {
        // Under 98 px, or stacked bands of 0 px: below the strip, no trace, label or work-state bar.
        const QList<int> drawn{1, 3, 4, 6, 7, 12, 19, 20};
        struct {
            QSize size;
            int layout;
        } cases[] = {{{600, 90}, 10}, {{600, 60}, 11}, {{600, 103}, 12}};
        for (const auto &c : cases) {
            TStanowisko t(c.size.width(), c.size.height());
            t.Rysowane(drawn);
            QSet<QRgb> dynamic{Kolor(t.link.KolorStanuPracy(0x0306)).rgb()};
            for (int k : drawn)
                dynamic << Kolor(t.link.Wykresy[size_t(k)].Colour).rgb();
            QByteArray b(128, '\0');
            b[10] = 0x06; // running on gas
            b[11] = 0x03;
            for (int i = 0; i < 50; ++i) {
                b[17] = char(i);
                b[40] = char(2 * i);
                t.scope->NowaProbka(reinterpret_cast<const uint8_t *>(b.constData()));
            }
            t.scope->Polecenie(c.layout);
            const QImage &img = t.scope->Obraz();
            QPoint hit(-1, -1);
            for (int y = 40; y < img.height() && hit.x() < 0; ++y)
                for (int x = 0; x < img.width() && hit.x() < 0; ++x)
                    if (dynamic.contains(img.pixel(x, y))) hit = QPoint(x, y);
            QCOMPARE(hit, QPoint(-1, -1));
        }
    }

    void readWhileHiddenIsShownWhenShown() {
        TStanowisko t;
        t.Dodaj(0, 300);
        t.answer = t.Plik("h.osc");
        t.scope->Polecenie(4);
        t.scope->Polecenie(4);
        t.scope->Polecenie(6); // the picture of an empty recording
        t.scope->hide();       // another tab; the file is read from the menu
        t.scope->Polecenie(5);
        t.scope->show();
        const QImage shown = t.scope->Obraz().copy();
        t.scope->Przerysuj();
        QCOMPARE(shown, t.scope->Obraz());
    }

    void zoomStopsAtItsEnds() {
        TStanowisko t;
        TModelScope &m = t.scope->Model();
        m.ZoomIndeks = 0;
        t.scope->Polecenie(20);
        QCOMPARE(m.ZoomIndeks, 0);
        m.ZoomIndeks = 8;
        t.scope->Polecenie(21);
        QCOMPARE(m.ZoomIndeks, 8);
        t.scope->Polecenie(20);
        QCOMPARE(m.Zoom(), 20.0);
    }

    void pausedSamplesReachBufferAndFileOnly() {
        TStanowisko t;
        t.Dodaj(0, 100);
        t.answer = t.Plik("rec.osc");
        t.scope->Polecenie(4); // record: the 100 samples so far, the file stays open
        QVERIFY(t.link.ScopeFile);
        QCOMPARE(QFileInfo(t.answer).size(), qint64(TImageFile::Size + 100 * 128));
        t.scope->Polecenie(2);
        const QImage before = t.scope->Obraz().copy();
        t.Dodaj(100, 7);
        QCOMPARE(t.scope->Model().Ile(), 107);
        QCOMPARE(QFileInfo(t.answer).size(), qint64(TImageFile::Size + 107 * 128));
        const QImage after = t.scope->Obraz();
        const int h = before.height();
        QCOMPARE(after.copy(0, 40, after.width(), h - 40), before.copy(0, 40, before.width(), h - 40));
        QVERIFY(after.copy(0, 0, after.width(), 40) != before.copy(0, 0, before.width(), 40));
        t.scope->Polecenie(3); // stopped: nothing is taken
        t.Dodaj(107, 5);
        QCOMPARE(t.scope->Model().Ile(), 107);
        t.scope->Polecenie(4); // closes the file
        QVERIFY(!t.link.ScopeFile);
    }

    void recordThenReadIsTheSameRecording() {
        TStanowisko t;
        t.Dodaj(0, 250);
        t.answer = t.Plik("rt.osc");
        t.scope->Polecenie(4);
        t.Dodaj(250, 50);
        t.scope->Polecenie(4);
        QByteArray original(reinterpret_cast<const char *>(t.scope->Model().Bufor()), 300 * 128);
        t.scope->Polecenie(6);
        QCOMPARE(t.scope->Model().Ile(), 0);
        t.scope->Polecenie(5);
        TModelScope &m = t.scope->Model();
        QCOMPARE(m.Stan, int(TModelScope::Odtwarzanie));
        QCOMPARE(m.Ile(), 300);
        QCOMPARE(m.Last, 300);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(m.Bufor()), 300 * 128), original);
        t.Dodaj(0, 3); // replaying: live samples wait for play or pause
        QCOMPARE(m.Ile(), 300);
    }

    void theLastHourInTimeOrder() {
        TStanowisko t;
        t.scope->hide(); // recording only; no pictures
        const int n = TModelScope::Pojemnosc + 5;
        t.Dodaj(0, n);
        TModelScope &m = t.scope->Model();
        QCOMPARE(m.Ile(), TModelScope::Pojemnosc);
        QCOMPARE(Numer(m.Probka(0)), 5);
        QCOMPARE(Numer(m.Probka(TModelScope::Pojemnosc - 1)), n - 1);
        QCOMPARE(t.scope->CzasNagrania(),
                 QStringLiteral("0.5 [s]")); // the history's clock restarts each hour
        t.answer = t.Plik("hour.osc");
        t.scope->Polecenie(4);
        t.scope->Polecenie(4);
        QFile f(t.answer);
        QVERIFY(f.open(QIODevice::ReadOnly));
        f.seek(TImageFile::Size);
        QCOMPARE(Numer(reinterpret_cast<const uint8_t *>(f.read(128).constData())), 5);
        QCOMPARE(Numer(m.Probka(1)), 6); // the recorder still reads in time order after saving
        t.scope->Polecenie(5);           // a full hour read back: all of it, the count clamped at the buffer
        QCOMPARE(m.Ile(), TModelScope::Pojemnosc);
        QCOMPARE(m.Last, TModelScope::Pojemnosc);
        QCOMPARE(Numer(m.Probka(TModelScope::Pojemnosc - 1)), n - 1);
    }

    void channelArithmetic_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("position");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("gain");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("expected");
        // bytes: 10 = 0x12, 11 = 0x01, 40 = 0xA8, 99 = 0xC0, 127 = 0x07
        QTest::newRow("bit 4, pixels") << 4 << 10 << 1.0 << 1.0 << 50 << 50;
        QTest::newRow("uint16") << 11 << 10 << 1.0 << 1.0 << 0 << 0x112;
        QTest::newRow("uint16 pixels") << 11 << 10 << 1.0 << 2.0 << 100 << int(2.0 * 100 * 0x112 / 1024);
        QTest::newRow("byte-128") << 20 << 40 << 1.0 << 1.0 << 0 << 40;
        QTest::newRow("trim") << 22 << 99 << 1.0 << 1.0 << 0 << 50;
        QTest::newRow("trim, no value") << 22 << 98 << 1.0 << 1.0 << 0 << 0;
        QTest::newRow("fuel status pixels") << 23 << 10 << 1.0 << 1.0 << 30 << 15;
        QTest::newRow("uint16 at 127 reads 0") << 11 << 127 << 1.0 << 1.0 << 0 << 0;
        QTest::newRow("kelvin at 127 reads 0-273") << 21 << 127 << 1.0 << 1.0 << 0 << -273;
        QTest::newRow("afr, scale 0") << 24 << 10 << 0.0 << 1.0 << 0 << 0;
        QTest::newRow("afr, scale 0, pixels") << 24 << 10 << 0.0 << 1.0 << 100 << 0;
        QTest::newRow("afr") << 24 << 10 << 0.008 << 1.0 << 0 << int(0x112 * 3 + 7.35 / 0.008);
        QTest::newRow("calibration value") << 12 << 10 << 1.0 << 1.0 << 0 << 0;
    }
    void channelArithmetic() {
        QFETCH(int, type);
        QFETCH(int, position);
        QFETCH(double, scale);
        QFETCH(double, gain);
        QFETCH(int, height);
        QFETCH(int, expected);
        uint8_t s[128] = {};
        s[10] = 0x12;
        s[11] = 0x01;
        s[40] = 0xA8;
        s[99] = 0xC0;
        s[127] = 0x07;
        TWykres w;
        w.RawType = type;
        w.Position = position;
        w.Scale = scale;
        w.Gain = gain;
        QCOMPARE(WartoscKanalu(w, s, height), expected);
        QCOMPARE(WartoscKanalu(w, nullptr, height), 0); // no sample
    }

    // A pixel column at zoom above 1 spans exactly the pixel heights of its samples, however long,
    // while the ring fills, wraps and is turned back into time order.
    void columnSpanEqualsItsSamples() {
        TModelScope m;
        uint32_t seed = 7;
        uint8_t b[128] = {};
        auto dodaj = [&](int n) {
            for (int i = 0; i < n; ++i) {
                for (uint8_t &v : b) // every byte wanders, so each column has extremes of its own
                    v = uint8_t(v + int((seed = seed * 1103515245u + 12345u) >> 29) - 3);
                if (i % 5 == 0) b[99] = 0; // trims without a value
                m.Dodaj(b);
            }
        };
        auto sprawdz = [&] {
            const struct {
                int type, position;
            } serie[] = {{0, 44},  {4, 44},  {7, 44},  {10, 44}, {11, 44},  {20, 44},
                         {21, 44}, {22, 99}, {23, 44}, {24, 44}, {11, 127}, {12, 44}};
            // One column, and twelve neighbouring columns read together, from before the recording
            // to past its end.
            for (const auto &k : serie)
                for (double gain : {1.4, -2.0})
                    for (int i0 : {-15, 0, 100, m.Ile() - 30, m.Ile() - 10})
                        for (int n : {2, 40, 150})
                            for (int c : {300, 0}) // pixel heights, decoded values
                                for (int ile : {1, 12}) {
                                    TWykres w;
                                    w.RawType = k.type;
                                    w.Position = k.position;
                                    w.Scale = 0.008;
                                    w.Gain = gain;
                                    std::vector<int> lo(static_cast<size_t>(ile)), hi(static_cast<size_t>(ile));
                                    if (ile == 1)
                                        m.ZakresKanalu(w, i0, n, c, lo[0], hi[0]);
                                    else
                                        m.ZakresyKanalu(w, i0, n, ile, c, lo.data(), hi.data());
                                    for (int j = 0; j < ile; ++j) {
                                        int elo = INT32_MAX, ehi = INT32_MIN;
                                        for (int i = i0 + j * n; i < i0 + (j + 1) * n; ++i) {
                                            elo = std::min(elo, WartoscKanalu(w, m.Probka(i), c));
                                            ehi = std::max(ehi, WartoscKanalu(w, m.Probka(i), c));
                                        }
                                        QCOMPARE(lo[size_t(j)], elo);
                                        QCOMPARE(hi[size_t(j)], ehi);
                                    }
                                }
            // Single samples read through the same keys (the overview strip).
            for (const auto &k : serie)
                for (int c : {20, 0}) {
                    TWykres w;
                    w.RawType = k.type;
                    w.Position = k.position;
                    w.Scale = 0.008;
                    const int i[] = {-1, 0, 7, m.Ile() - 1, m.Ile()};
                    int v[5];
                    m.WartosciProbek(w, i, 5, c, v);
                    for (int j = 0; j < 5; ++j)
                        QCOMPARE(v[j], WartoscKanalu(w, m.Probka(i[j]), c));
                }
        };
        dodaj(3000);
        sprawdz();
        dodaj(TModelScope::Pojemnosc); // wrapped, every sample taken into the extremes already kept
        sprawdz();
        m.Wyprostuj();
        sprawdz();
    }

    // A live sample moves the picture on where a sample is a whole number of pixels wide. Sample
    // after sample, the picture must be the one composed from scratch, also while a trace leaves the
    // plot for a while and the move gives way to the whole picture.
    void liveSampleMovesThePictureAsComposed_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("scheme");
        QTest::newRow("0.1 per pixel, stacked") << 0 << 12 << 0;
        QTest::newRow("0.2 per pixel, overlay, dark") << 1 << 10 << 5;
        QTest::newRow("1 per pixel, overlay") << 3 << 10 << 0;
        QTest::newRow("1 per pixel, grouped, dark") << 3 << 11 << 5;
        QTest::newRow("1 per pixel, stacked") << 3 << 12 << 0;
        QTest::newRow("4 per pixel: composed") << 5 << 12 << 0;
    }
    void liveSampleMovesThePictureAsComposed() {
        QFETCH(int, zoom);
        QFETCH(int, layout);
        QFETCH(int, scheme);
        TStanowisko a(900, 520), b(900, 520);
        b.scope->PrzesuwajNaZywo = false;
        uint8_t p[128] = {};
        auto probka = [&](int n) {
            p[10] = (n / 17) % 3 ? 0x06 : 0x02; // the bar changes colour
            p[11] = n % 23 ? 0x03 : 0x01;
            p[17] = uint8_t(20 + n * 7 % 120); // rpm
            // Vacuum, with peaks that leave the window on the left while the test looks.
            p[44] = uint8_t(n == 120 || n == 640 || n == 760 ? 250 : 100 + n * 3 % 50);
            p[48] = uint8_t(120 + n % 40); // gas pressure
            p[52] = uint8_t(0xC0 + n % 8); // supply: above its band, drawn along the top
            p[53] = 0x0A;
            p[60] = uint8_t(n);
            p[61] = 0x03;
            const int kelvin = n >= 920 && n < 930 ? 0 : 300 + n % 50; // -273 °C: below the plot
            p[54] = uint8_t(kelvin);
            p[55] = uint8_t(kelvin >> 8);
            return p;
        };
        for (TStanowisko *t : {&a, &b}) {
            t->Rysowane({1, 3, 4, 12, 19, 35});
            t->scope->UstawKolory(PaletaSchematu(scheme));
            t->scope->Model().ZoomIndeks = zoom;
            t->scope->Polecenie(layout);
            t->scope->hide(); // an hour's start recorded on another tab
            for (int n = 0; n < 880; ++n)
                t->scope->NowaProbka(probka(n));
            t->scope->show();
        }
        for (int n = 880; n < 940; ++n) {
            a.scope->NowaProbka(probka(n));
            b.scope->NowaProbka(probka(n));
            QCOMPARE(a.scope->Obraz(), b.scope->Obraz());
        }
        QCOMPARE(a.scope->Przesuniecia() > 30, zoom != 5);
    }

    void channelTexts() {
        TSterownik link;
        link.StopTimer();
        uint8_t s[128] = {};
        s[17] = 0x4C;
        s[97] = 2;
        QCOMPARE(TekstKanalu(link.Wykresy[1], s), LangText(1401) + QStringLiteral("=760") + QString(26, ' '));
        QCOMPARE(TekstKanalu(link.Wykresy[13], s).trimmed(), LangText(1450) + QStringLiteral("= CL"));
        QCOMPARE(TekstKanalu(link.Wykresy[1], nullptr), LangText(1401) + QString(26, ' '));
        QVERIFY(!NazwaKanalu(link.Wykresy[35]).trimmed().isEmpty());
    }

    void cursorAndStripClick() {
        TStanowisko t(800, 500); // s = 680
        t.Dodaj(0, 2000);
        TModelScope &m = t.scope->Model();
        // Live ignores the mouse; paused, the cursor follows it, even left of the first sample.
        QTest::mouseMove(t.scope, QPoint(400, 200));
        QCOMPARE(t.scope->KursorX(), -1);
        t.scope->Polecenie(2);
        QCOMPARE(m.First, 2000 - 680);
        for (int x : {11, 400, 689}) {
            QTest::mouseMove(t.scope, QPoint(x, 200));
            QCOMPARE(t.scope->KursorX(), x);
        }
        // A click on the strip at the middle of the recording centres the window there.
        const int x = 10 + 340;
        QTest::mouseClick(t.scope, Qt::LeftButton, {}, QPoint(x, 20));
        QCOMPARE(m.Last, 1000 + 340);
        QCOMPARE(t.scope->KursorX(), -1);
        // Near the start the window stays at the start.
        QTest::mouseClick(t.scope, Qt::LeftButton, {}, QPoint(12, 20));
        QCOMPARE(m.Last, 680);
        QCOMPARE(m.First, 0);
    }

    void indicesOutsideTheRecordingAreNoSample() {
        TModelScope m;
        QVERIFY(!m.Probka(-1) && !m.Probka(0) && !m.Probka(36000) && !m.Probka(40000));
        uint8_t b[128] = {};
        m.Dodaj(b);
        QVERIFY(m.Probka(0) && !m.Probka(1));
        TStanowisko t(800, 500);
        t.Dodaj(0, 5);
        t.scope->Polecenie(21);
        t.scope->Polecenie(21);
        t.scope->Polecenie(21);
        t.scope->Polecenie(2);
        QTest::mouseMove(t.scope, QPoint(20, 200)); // i far below 0
        QCOMPARE(t.scope->KursorX(), 20);
    }
};

QTEST_MAIN(TstScope)
#include "tst_scope.moc"
