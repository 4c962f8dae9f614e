// Repaint cost of the settings grid: page 0 at the advanced level in a 1366 x 768 window, drawn
// off-screen into an image (target: under 5 ms), and the area one -/+ step repaints (one row).
// Run with QT_QPA_PLATFORM=offscreen: ./bench/bench_ui
#include "device/TSterownik.h"
#include "settings/TKatalogNastaw.h"
#include "settings/ui/TNastawy.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QtTest>

namespace {
struct TStanowisko {
    TSterownik s;
    TKatalogNastaw k{&s};
    QWidget okno;
    TNastawy *g;
    TStanowisko() {
        s.StopTimer();
        k.UtworzNastawy();
        k.NastawyDomyslne();
        k.OnBeep = [] {};
        okno.resize(1366, 768);
        g = new TNastawy(&okno, &s, &k);
        okno.show();
        g->setGeometry(okno.rect());
        g->show();
        g->UstawPoziom(2);
        g->UstawStrone(0);
        g->Rozmiesc();
    }
};

struct TObszar : QObject {
    QRegion r;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint) r += static_cast<QPaintEvent *>(e)->region();
        return false;
    }
};
} // namespace

class BenchUi : public QObject {
    Q_OBJECT
private slots:
    void fullRepaintPage0Advanced() {
        TStanowisko st;
        QImage img(st.g->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        QBENCHMARK {
            st.g->viewport()->render(&img);
        }
    }

    void oneStepRepaintsOneRow() {
        TStanowisko st;
        QCoreApplication::processEvents();
        TObszar f;
        st.g->viewport()->installEventFilter(&f);
        int col = 0, row = 0;
        for (int r = 0; r < st.g->IleWierszy(); ++r)
            if (st.g->Komorka(0, r) == 50) row = r;
        const int y = st.g->ProstokatKomorki(col, row).center().y();
        const int x = (st.g->Stop(col, 4) + st.g->Stop(col, 5)) / 2;
        st.g->MouseDown((st.g->Stop(col, 2) + st.g->Stop(col, 3)) / 2, y); // select first
        st.g->MouseUp();
        QCoreApplication::processEvents();
        f.r = QRegion();
        QImage img(st.g->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        QElapsedTimer t;
        t.start();
        st.g->MouseDown(x, y);
        st.g->MouseUp();
        QCoreApplication::processEvents();
        const qint64 ns = t.nsecsElapsed();
        qInfo("one step: repainted %d x %d px (row height %d), %.3f ms", f.r.boundingRect().width(),
              f.r.boundingRect().height(), st.g->WysokoscWiersza(), ns / 1e6);
        QCOMPARE(f.r.boundingRect().height(), st.g->WysokoscWiersza());
    }
};

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchUi b;
    return QTest::qExec(&b, argc, argv);
}
#include "bench_ui.moc"
