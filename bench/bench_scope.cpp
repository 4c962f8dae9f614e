// The scope view at 1366 x 768 with a full hour recorded and eight drawn channels:
//   fullRedraw      the whole picture at every zoom index (target: under 8 ms)
//   pausedSample    a new sample while paused, only the overview strip (target: under 1 ms)
//   liveSample      a new sample while live, the whole picture (target: under 3 ms)
#include "device/TSterownik.h"
#include "scope/TScope.h"

#include <QtTest>
#include <cmath>
#include <ctime>

namespace {
// The machine may be shared: besides the wall-clock figures, report the CPU time this thread spent.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
template <class F> void CzasCpu(const char *what, F f) {
    static QSet<QByteArray> done; // the benchmark may run its function several times
    if (done.contains(what)) return;
    done.insert(what);
    constexpr int n = 30;
    const double t0 = CpuMs();
    for (int i = 0; i < n; ++i)
        f();
    qInfo("%s: %.3f ms CPU per iteration", what, (CpuMs() - t0) / n);
}

struct TScena {
    TSterownik link;
    QWidget parent;
    TScope *scope;
    uint8_t sample[128] = {};
    int n = 0;
    TScena() {
        link.StopTimer();
        for (int k : {1, 3, 4, 6, 7, 12, 19, 20})
            link.Wykresy[size_t(k)].Flags |= WykresDrawn;
        parent.resize(1366, 768);
        scope = new TScope(&parent, &link);
        scope->setGeometry(0, 0, 1366, 768);
        for (int i = 0; i < TModelScope::Pojemnosc; ++i)
            Dodaj(); // hidden: recording only
        parent.show();
        scope->show();
    }
    // A plausible engine: speed, pressures and temperatures that wander, the work state changing.
    void Dodaj() {
        ++n;
        const int rpm = 80 + int(60 * std::sin(n * 0.01)) + (n * 7) % 13;
        sample[10] = 0x03;
        sample[11] = (n / 500) % 3 == 0 ? 0x01 : 0x03;
        sample[17] = uint8_t(rpm);
        sample[44] = uint8_t(100 + (n * 3) % 50);
        sample[48] = uint8_t(120 + (n % 40));
        sample[40] = uint8_t(170 + (n / 900) % 20);
        sample[42] = uint8_t(150 + (n / 700) % 20);
        sample[52] = uint8_t(0xC0 + n % 8);
        sample[53] = 0x0A;
        sample[60] = uint8_t(n % 256);
        sample[61] = 0x03;
        sample[62] = uint8_t((n * 3) % 256);
        sample[63] = 0x03;
        scope->NowaProbka(sample);
    }
};
} // namespace

class BenchScope : public QObject {
    Q_OBJECT
    std::unique_ptr<TScena> scena_;
private slots:
    void initTestCase() { scena_ = std::make_unique<TScena>(); }

    void fullRedraw_data() {
        QTest::addColumn<int>("zoom");
        for (int z = 0; z < TModelScope::IleZoomow; ++z)
            QTest::addRow("zoom index %d", z) << z;
    }
    void fullRedraw() {
        QFETCH(int, zoom);
        TScope &s = *scena_->scope;
        s.Polecenie(2);
        s.Model().ZoomIndeks = zoom;
        s.Model().Last = TModelScope::Pojemnosc;
        QBENCHMARK {
            s.RysujOscyloskop(false);
        }
        CzasCpu(QTest::currentDataTag(), [&] { s.RysujOscyloskop(false); });
    }

    void pausedSample() {
        scena_->scope->Polecenie(2);
        QBENCHMARK {
            scena_->Dodaj();
        }
        CzasCpu("paused sample", [&] { scena_->Dodaj(); });
    }

    void liveSample() {
        scena_->scope->Polecenie(1);
        scena_->scope->Model().ZoomIndeks = 3;
        QBENCHMARK {
            scena_->Dodaj();
        }
        CzasCpu("live sample", [&] { scena_->Dodaj(); });
    }
};

QTEST_MAIN(BenchScope)
#include "bench_scope.moc"
