// The views factory: the settings grid, the scope view, and a stand-in for the map view.
#include "app/TPaleta.h"
#include "app/TWidoki.h"
#include "scope/TScope.h"
#include "settings/ui/TNastawy.h"

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

class TMapaZastepcza : public TWidokMapy {
public:
    explicit TMapaZastepcza(QWidget *parent) : w_(new TPanelZastepczy(parent, QStringLiteral("Grafika"))) {}
    QWidget *Widget() override { return w_; }
    void UstawTryb(int mode) override {
        tryb_ = mode;
        w_->setText(QStringLiteral("map %1").arg(mode));
        w_->show();
    }
    void UstawPoziom(int) override {}
    void Ukryj() override { w_->hide(); }
    void NoweParametry(const uint8_t *) override {}
    void KlawiszMapy(int, Qt::KeyboardModifiers) override {}
    void KasujKorekte() override {}
    void UstawKolory(const TPaleta &p) override { w_->Kolory(p); }
    void RysujTlo() override {}
    void Rysuj() override { w_->update(); }

private:
    TPanelZastepczy *w_;
    int tryb_ = 0;
};

} // namespace

TFabrykaWidokow &FabrykaWidokow() {
    static TFabrykaWidokow f{
        [](QWidget *parent, TSterownik *) -> TWidokMapy * { return new TMapaZastepcza(parent); },
        [](QWidget *parent, TSterownik *link) -> TWidokScope * { return new TScope(parent, link); },
        [](QWidget *parent, TSterownik *link, TKatalogNastaw *catalogue) -> TWidokNastaw * {
            return new TNastawy(parent, link, catalogue);
        },
    };
    return f;
}
