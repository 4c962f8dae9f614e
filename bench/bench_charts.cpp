// The map view's drawing: a full redraw of the multiplier chart with both maps full (256 dots each),
// their trends and the knots at 1366 x 768; a repaint of both map tables; a cursor move.
// Build with `ninja bench_charts` and run with QT_QPA_PLATFORM=offscreen ./bench/bench_charts.
#include "charts/Arkusz.h"
#include "charts/TGrafika.h"
#include "charts/TTabelaMapy.h"
#include "device/TSterownik.h"
#include "widgets/TPaleta.h"

#include <QtTest>
#include <cstring>

class BenchCharts : public QObject {
    Q_OBJECT

    QWidget panel;
    TSterownik s;
    TGrafika *g = nullptr;

private slots:
    void initTestCase() {
        s.StopTimer();
        static const uint8_t load[16] = {6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100};
        static const uint8_t rpm[16] = {12, 18, 24, 30, 36, 42, 48, 54, 60, 66, 72, 80, 90, 100, 110, 120};
        std::memcpy(s.Nastawy + 224, load, 16);
        std::memcpy(s.Nastawy + 240, rpm, 16);
        s.Identyfikacja[67] = 128;
        for (int i = 0; i < 256; ++i) {
            s.Mapy[MapaA][i] = uint8_t(20 + (i & 15) * 8 + (i >> 4));
            s.Mapy[MapaB][i] = uint8_t(22 + (i & 15) * 8 + (i >> 4));
        }
        for (int k = 1; k < 12; ++k)
            s.Nastawy[190 + k] = uint8_t(k * 15);
        panel.resize(1366, 768);
        g = new TGrafika(&panel, &s);
        g->UstawKolory(PaletaSchematu(2));
        g->UstawPoziom(2);
        panel.show();
        g->show();
    }

    void mode0FullRedraw() {
        g->UstawTryb(0);
        QBENCHMARK {
            g->RysujTlo();
            g->Rysuj();
        }
    }

    void mode0Composition() {
        g->UstawTryb(0);
        QBENCHMARK {
            g->Rysuj();
        }
    }

    void cursorMove() {
        g->UstawTryb(0);
        uint8_t b[128] = {};
        int i = 0;
        QImage img(g->size(), QImage::Format_RGB32);
        QBENCHMARK {
            b[19] = uint8_t(40 + (i & 31));
            b[44] = uint8_t(30 + (i++ & 15));
            g->NoweParametry(b);
            // What the widget paints then: the strips of the new lines (the old ones likewise).
            const Wykres2D::TObszar &o = g->Obszar();
            QRegion strips(QRect(g->KursorX() - 1, o.top() - 1, 3, o.h + 3));
            strips += QRect(o.left - 1, g->KursorY() - 1, o.w + 3, 3);
            g->render(&img, QPoint(), strips);
        }
    }

    void tableRepaint() {
        g->UstawTryb(1);
        QImage img(g->TabelaDolna()->size(), QImage::Format_RGB32);
        QBENCHMARK {
            g->Rysuj();
            g->TabelaGorna()->render(&img);
            g->TabelaDolna()->render(&img);
        }
    }

    // A paste of 10,000 full rows (about 0.6 MB) reads only the rows that fit the table, so it costs
    // what a table's paste costs (target under 1 ms: the window never stalls).
    void pasteHugeClipboard() {
        const QString row = QStringLiteral("7\t8\t9\t10\t11\t12\t13\t14\t15\t16\t17\t18\t19\t20\t21\t22\n");
        const QString t = row.repeated(10000);
        std::vector<std::vector<double>> grid;
        QBENCHMARK {
            QVERIFY(Arkusz::Czytaj(t, 16, 16, true, grid));
        }
        QCOMPARE(int(grid.size()), 16);
    }
};

QTEST_MAIN(BenchCharts)
#include "bench_charts.moc"
