// The map view, and stand-ins for the settings grid and the scope view: plain panels that keep the calls
// the main window makes, so the shell runs before the real views are in. The scope stand-in counts
// samples so that the time stamps of the fuel-change history are right.
#include "app/TPaleta.h"
#include "app/TWidoki.h"
#include "charts/TGrafika.h"

#include <QLabel>
#include <QLocale>

namespace {
class TPanelZastepczy : public QLabel {
public:
    TPanelZastepczy(QWidget *parent, const QString &name) : QLabel(parent) {
        setObjectName(name);
        setAlignment(Qt::AlignCenter);
        setAutoFillBackground(true);
        hide();
    }
    void Kolory(const TPaleta &p) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Kolor(p.Background));
        pal.setColor(QPalette::WindowText, Kolor(p.Text));
        setPalette(pal);
    }
};

class TScopeZastepczy : public TWidokScope {
public:
    explicit TScopeZastepczy(QWidget *parent) : w_(new TPanelZastepczy(parent, QStringLiteral("Scope"))) {}
    QWidget *Widget() override { return w_; }
    void Polecenie(int command) override {
        if (command >= 1 && command <= 3) stan_ = command;
        if (command == 6) licznik_ = 0;
    }
    void NowaProbka(const uint8_t *) override {
        if (stan_ == 1 || stan_ == 2) licznik_ = (licznik_ + 1) % 36000;
    }
    QString CzasNagrania() const override {
        return QLocale().toString(licznik_ * 0.1, 'f', 1) + QStringLiteral(" [s]");
    }
    void UstawKolory(const TPaleta &p) override { w_->Kolory(p); }
    void Przerysuj() override { w_->update(); }

private:
    TPanelZastepczy *w_;
    int stan_ = 1;
    int licznik_ = 0;
};

class TNastawyZastepcze : public TWidokNastaw {
public:
    explicit TNastawyZastepcze(QWidget *parent)
        : w_(new TPanelZastepczy(parent, QStringLiteral("Nastawy"))) {}
    QWidget *Widget() override { return w_; }
    void UstawStrone(int page) override { w_->setText(QStringLiteral("settings page %1").arg(page)); }
    void Rozmiesc() override {}
    void UstawPoziom(int) override {}
    void Ukryj() override { w_->hide(); }
    void UstawKolory(const TPaleta &p) override { w_->Kolory(p); }
    void Odswiez() override { w_->update(); }

private:
    TPanelZastepczy *w_;
};
} // namespace

TFabrykaWidokow &FabrykaWidokow() {
    static TFabrykaWidokow f{
        [](QWidget *parent, TSterownik *link) -> TWidokMapy * { return new TGrafika(parent, link); },
        [](QWidget *parent, TSterownik *) -> TWidokScope * { return new TScopeZastepczy(parent); },
        [](QWidget *parent, TSterownik *, TKatalogNastaw *) -> TWidokNastaw * {
            return new TNastawyZastepcze(parent);
        },
    };
    return f;
}
