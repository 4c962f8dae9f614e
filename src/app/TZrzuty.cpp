#include "app/TZrzuty.h"

#include "app/TForm1.h"
#include "device/TSterownik.h"
#include "obd/ui/TPanelObd.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>

namespace {
constexpr int OknoW = 1366, OknoH = 768;
constexpr int Takt = 250;         // ms between steps
constexpr int ZakladkaObd = 5;    // the main tab whose sub-tabs are pictured one by one
constexpr int PodzakladkaElm = 0; // its adapter sub-tab, whose own pages are pictured one by one

std::vector<QAbstractButton *> Widoczne(QButtonGroup *g) {
    std::vector<QAbstractButton *> b;
    for (QAbstractButton *x : g->buttons())
        if (!x->isHidden()) b.push_back(x);
    std::sort(b.begin(), b.end(),
              [g](QAbstractButton *l, QAbstractButton *r) { return g->id(l) < g->id(r); });
    return b;
}
} // namespace

TZrzuty::TZrzuty(TForm1 *okno, const QString &folder, QObject *parent)
    : QObject(parent), okno_(okno), folder_(folder) {
    Timer.setInterval(Takt);
    connect(&Timer, &QTimer::timeout, this, &TZrzuty::Krok);
}

QString TZrzuty::Nazwa(const QString &caption) {
    QString c = caption;
    if (const qsizetype b = c.indexOf(QLatin1Char('[')); b >= 0) c.truncate(b);
    // Letters without their accents; "ł" has no decomposition of its own.
    c = c.toLower().replace(QChar(0x0142), QLatin1Char('l')).normalized(QString::NormalizationForm_KD);
    QString n;
    for (const QChar ch : c) {
        if (ch.isMark()) continue;
        if (ch.isLetterOrNumber())
            n += ch;
        else if (!n.isEmpty() && !n.endsWith(QLatin1Char('-')))
            n += QLatin1Char('-');
    }
    while (n.endsWith(QLatin1Char('-')))
        n.chop(1);
    return n.isEmpty() ? QStringLiteral("tab") : n;
}

void TZrzuty::Start() {
    okno_->setWindowState(Qt::WindowNoState);
    okno_->resize(OknoW, OknoH);
    zegar_.start();
    Timer.start();
}

int TZrzuty::Komorki(int mapa) const {
    const uint8_t *m = okno_->Sterownik1->Mapy[mapa];
    return int(std::count_if(m, m + 256, [](uint8_t v) { return v != 0; }));
}

void TZrzuty::Krok() {
    if (Koniec) return;
    if (!zegar_.isValid()) zegar_.start();
    TSterownik &s = *okno_->Sterownik1;
    if (nastepny_ < 0) {
        const int a = Komorki(MapaA), b = Komorki(MapaB);
        // Map A is learnt on petrol; then the car goes over to gas, as the fitter's Space key does,
        // and map B is learnt.
        if (a >= KomorekMapy && !paliwo_) {
            s.FuelAutoPending = 1;
            paliwo_ = true;
        }
        // Nothing is waited for without a controller that answers.
        const bool polaczenie = s.PortConnected() && s.Unanswered <= 10;
        const qint64 t = zegar_.elapsed();
        const bool gotowe = a >= KomorekMapy && b >= KomorekMapy;
        if (!gotowe && polaczenie && t < CzekajNaMapyMs) return;
        std::printf("screenshots: maps A %d and B %d cells after %lld s\n", a, b, (long long)(t / 1000));
        std::fflush(stdout);
        if (!QDir().mkpath(folder_)) {
            std::fprintf(stderr, "screenshots: %s cannot be created\n", qPrintable(folder_));
            Blad = true;
            Zakoncz();
            return;
        }
        Kroki();
        nastepny_ = 0;
    }
    if (nastepny_ >= int(kroki_.size())) {
        Zakoncz();
        return;
    }
    TKrok &k = kroki_[size_t(nastepny_)];
    if (!pokazany_) {
        k.pokaz();
        pokazany_ = true;
        zegar_.restart();
        return;
    }
    if (zegar_.elapsed() < PrzerwaMs) return;
    Zrob(k);
    pokazany_ = false;
    ++nastepny_;
    if (Blad) Zakoncz();
}

// The tabs as they are now: a tab or sub-tab hidden in this view level or by the controller's
// identification is left out, one added later is pictured too.
void TZrzuty::Kroki() {
    kroki_.clear();
    TForm1 &w = *okno_;
    for (QAbstractButton *tab : Widoczne(w.GrupaMain)) {
        const QString nazwa = Nazwa(tab->text());
        if (w.GrupaMain->id(tab) != ZakladkaObd) {
            kroki_.push_back({nazwa, [tab] { tab->click(); }});
            continue;
        }
        for (QAbstractButton *sub : Widoczne(w.GrupaObd)) {
            const QString podNazwa = nazwa + QLatin1Char('-') + Nazwa(sub->text());
            if (w.GrupaObd->id(sub) != PodzakladkaElm) {
                kroki_.push_back({podNazwa, [tab, sub] {
                                      tab->click();
                                      sub->click();
                                  }});
                continue;
            }
            // The adapter's page: each of its pages (trouble codes, PIDs, the vehicle) on its own.
            for (QAbstractButton *strona : Widoczne(w.PanelObd->Grupa))
                kroki_.push_back({podNazwa + QLatin1Char('-') + Nazwa(strona->text()), [tab, sub, strona] {
                                      tab->click();
                                      sub->click();
                                      strona->click();
                                  }});
        }
    }
}

namespace {
QByteArray Kompresja(const QImage &obraz) {
    QByteArray b;
    QBuffer bufor(&b);
    bufor.open(QIODevice::WriteOnly);
    // Quality 0 is the PNG writer's strongest compression.
    return obraz.save(&bufor, "PNG", 0) ? b : QByteArray();
}
} // namespace

QByteArray TZrzuty::Png(const QImage &obraz, qint64 granica) {
    QByteArray png = Kompresja(obraz);
    // Too large: the colours lose their lowest bits first (hardly visible), then all but 256 go.
    if (png.size() >= granica) png = Kompresja(obraz.convertToFormat(QImage::Format_RGB555));
    if (png.size() >= granica)
        png = Kompresja(obraz.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither));
    return png;
}

void TZrzuty::Zrob(const TKrok &k) {
    const QImage obraz = okno_->grab().toImage();
    const QString plik = QDir(folder_).filePath(k.plik + QStringLiteral(".png"));
    const QByteArray png = obraz.isNull() ? QByteArray() : Png(obraz, GranicaBajtow);
    QSaveFile f(plik);
    if (png.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(png) != png.size() || !f.commit()) {
        std::fprintf(stderr, "screenshots: %s cannot be written\n", qPrintable(plik));
        Blad = true;
        return;
    }
    Zapisane << plik;
    std::printf("screenshots: %s\n", qPrintable(plik));
    std::fflush(stdout);
}

void TZrzuty::Zakoncz() {
    Timer.stop();
    Koniec = true;
    okno_->close();
    QCoreApplication::exit(Blad ? 1 : 0);
}
