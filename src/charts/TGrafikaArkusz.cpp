// The map view and a spreadsheet: copy and paste of the tables (tab-separated, cells as shown) and
// of the multiplier knots and correction-curve points (x TAB y lines), the block tools of the lower
// table, its right-click menu, and the journal's steps of the view's edits.
#include "charts/Arkusz.h"
#include "charts/TGrafika.h"
#include "charts/TTabelaMapy.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <cmath>

using namespace Wykres2D;

namespace {

// A pasted value as an int, whatever its size (the caller clamps it to the cell's limits).
int Calkowita(double v) {
    return int(std::lround(std::clamp(v, -1e6, 1e6)));
}

QString Jedno(double v, int decimals) {
    return QLocale().toString(v, 'f', decimals);
}

} // namespace

TDziennik *TGrafika::Dziennik() const {
    return s_ ? &s_->Dziennik : nullptr;
}

uint32_t TGrafika::MaskaWidoku() const {
    // The blocks the mode edits, with the settings (knots, axes); never the learnt maps.
    switch (tryb_) {
    case 0: return 1u << BitNastawy | 1u << BitMnoznik1;
    case 2: return 1u << BitKorTempRed;
    case 3: return 1u << BitKorTempGazu;
    case 4: return 1u << BitKorCis;
    default: return Tabela() ? 1u << BitNastawy | MaskaTabeli() : 0;
    }
}

QString TGrafika::OpisWidoku() const {
    switch (tryb_) {
    case 0: return LangText(1709);
    case 1:
    case 5: return LangText(1211);
    case 2:
    case 3:
    case 4: return LangText(1210 + tryb_);
    case 6: return LangText(1216);
    case 7: return LangText(1218);
    default: return QString();
    }
}

QString TGrafika::OpisKlawisza(int key, Qt::KeyboardModifiers mods) const {
    QString t = OpisWidoku();
    if (!Tabela()) return t;
    const bool gora = key == Qt::Key_Up || key == Qt::Key_Plus;
    const bool dol = key == Qt::Key_Down || key == Qt::Key_Minus;
    if (!gora && !dol) return t;
    if ((mods & Qt::AltModifier) && key != Qt::Key_Plus && key != Qt::Key_Minus)
        t += QStringLiteral(", ") + LangText(4311);
    return t + (gora ? QStringLiteral(" +1") : QString::fromUtf8(" −1"));
}

void TGrafika::WpisPolaKrok() {
    const bool obroty = poleWiersz_ == 0 && poleKol_ >= 1 && poleKol_ <= 16;
    const bool obciazenie = poleKol_ == 0 && poleWiersz_ >= 1 && poleWiersz_ <= 16;
    if (!Tabela() || (!obroty && !obciazenie)) {
        WpisPola();
        return;
    }
    const int item = obroty ? ItemOsObrotow + poleKol_ - 1 : ItemOsObciazenia + 16 - poleWiersz_;
    auto tekst = [&](int v) { return obroty ? QString::number(v * 50) : Jedno(v * 0.01, 2); };
    TZmiana krok(Dziennik(), 1u << BitNastawy);
    const int przed = Item(item);
    WpisPola();
    krok.Opis({LangText(obroty ? 4312 : 4313), tekst(przed), tekst(Item(item)), QString()});
}

void TGrafika::Odmowa(const QString &text) {
    Beep();
    komunikat_ = text;
    // Shown from the event loop: a tip created inside the window's key filter installs its own filter
    // while the key is being filtered, and the key would reach the window's filter a second time.
    QWidget *w = dolna_ && dolna_->isVisible() ? static_cast<QWidget *>(dolna_) : this;
    QTimer::singleShot(0, w, [w, text] { QToolTip::showText(w->mapToGlobal(QPoint(20, 20)), text, w); });
}

// ------------------------------------------------------------------------------------ keys, menu

bool TGrafika::KlawiszArkusza(int key, Qt::KeyboardModifiers mods) {
    if (!(mods & Qt::ControlModifier) || (mods & Qt::AltModifier)) return false;
    const bool shift = mods & Qt::ShiftModifier;
    if (Tabela()) {
        if (!dolna_ || !dolna_->hasFocus()) return false;
        if (key == Qt::Key_C && !shift)
            KopiujTabele(dolna_);
        else if (key == Qt::Key_V && !shift)
            WklejTabele();
        else if (key == Qt::Key_A && !shift)
            dolna_->UstawBlok(1, 1, 16, 16);
        else if (key == Qt::Key_I && !shift)
            NarzedzieBloku(Arkusz::Narozniki);
        else if (key == Qt::Key_W && shift)
            NarzedzieBloku(Arkusz::Wiersze);
        else if (key == Qt::Key_V && shift)
            NarzedzieBloku(Arkusz::Kolumny);
        else if (key == Qt::Key_S && shift)
            NarzedzieBloku(Arkusz::Wygladz);
        else
            return false;
        return true;
    }
    if (!Wykres() || !Fokus() || shift) return false;
    if (key == Qt::Key_C)
        KopiujPunkty();
    else if (key == Qt::Key_V)
        WklejPunkty();
    else
        return false;
    return true;
}

void TGrafika::MenuTabeli(TTabelaMapy *t, QPoint global) {
    QMenu menu(this);
    auto dodaj = [&](int id, const QKeySequence &keys, const std::function<void()> &f) {
        QAction *a = menu.addAction(LangText(id));
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WidgetShortcut); // the view's keys do the work; the menu shows them
        connect(a, &QAction::triggered, this, f);
    };
    dodaj(4302, QKeySequence(Qt::CTRL | Qt::Key_C), [this, t] { KopiujTabele(t); });
    if (t == dolna_) {
        dodaj(4303, QKeySequence(Qt::CTRL | Qt::Key_V), [this] { WklejTabele(); });
        dodaj(4304, QKeySequence(Qt::CTRL | Qt::Key_A), [this] { dolna_->UstawBlok(1, 1, 16, 16); });
        menu.addSeparator();
        dodaj(4305, QKeySequence(Qt::CTRL | Qt::Key_I), [this] { NarzedzieBloku(Arkusz::Narozniki); });
        dodaj(4306, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W),
              [this] { NarzedzieBloku(Arkusz::Wiersze); });
        dodaj(4307, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
              [this] { NarzedzieBloku(Arkusz::Kolumny); });
        dodaj(4308, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
              [this] { NarzedzieBloku(Arkusz::Wygladz); });
    }
    menu.exec(global);
}

// ------------------------------------------------------------------------------------ tables

void TGrafika::KopiujTabele(TTabelaMapy *t) {
    if (!t || !Tabela()) return;
    WypelnijTabele();
    // A block of one cell is only the cursor: the whole table goes, with its axes.
    QRect b = t == dolna_ ? dolna_->Blok() : QRect(1, 1, 16, 16);
    if (b.width() * b.height() == 1) b = QRect(1, 1, 16, 16);
    const bool cala = b.width() == 16 && b.height() == 16;
    QList<QStringList> rows;
    if (cala) {
        QStringList h{t->Tekst[0][0]};
        for (int c = 1; c <= 16; ++c)
            h << t->Tekst[c][0];
        rows << h;
    }
    for (int r = b.top(); r <= b.bottom(); ++r) {
        QStringList row;
        if (cala) row << t->Tekst[0][r];
        for (int c = b.left(); c <= b.right(); ++c)
            row << t->Tekst[c][r];
        rows << row;
    }
    QGuiApplication::clipboard()->setText(Arkusz::Tekst(rows));
}

void TGrafika::WklejTabele() {
    uint8_t *t = TabelaEdytowana();
    if (!t || !dolna_) return;
    const QRect b = dolna_->Blok();
    std::vector<std::vector<double>> g;
    if (!Arkusz::Czytaj(QGuiApplication::clipboard()->text(), 17 - b.top(), 17 - b.left(), true, g)) {
        Odmowa(LangText(4309));
        return;
    }
    const bool mapy = tryb_ == 1 || tryb_ == 5;
    const int lo = mapy ? 50 : 0, hi = mapy ? 150 : 255;
    TZmiana krok(Dziennik(), MaskaWidoku(), OpisWidoku() + QStringLiteral(": ") + LangText(4303));
    bool zmiana = false;
    int szer = 1;
    for (size_t i = 0; i < g.size(); ++i)
        for (size_t j = 0; j < g[i].size(); ++j) {
            if (std::isnan(g[i][j])) continue;
            // Shown as value - 100 (RPM corrections), value × 0.1 (delay), value - 128 (enrichment).
            const double v = g[i][j];
            const int raw = mapy ? Calkowita(v) + 100 : tryb_ == 6 ? Calkowita(v * 10) : Calkowita(v) + 128;
            const int col = b.left() + int(j), row = b.top() + int(i);
            uint8_t &cell = t[(col - 1) * 16 + (16 - row)];
            const uint8_t nowa = uint8_t(std::clamp(raw, lo, hi));
            zmiana = zmiana || cell != nowa;
            cell = nowa;
            szer = std::max(szer, int(j) + 1);
        }
    if (zmiana) Zapisz(MaskaTabeli());
    dolna_->UstawBlok(b.left(), b.top(), b.left() + szer - 1, b.top() + std::max(1, int(g.size())) - 1);
    WypelnijTabele();
}

void TGrafika::NarzedzieBloku(int narzedzie) {
    uint8_t *t = TabelaEdytowana();
    if (!t || !dolna_) return;
    const QRect b = dolna_->Blok();
    const int w = b.width(), h = b.height();
    auto bajt = [&](int x, int y) -> uint8_t & { return t[(b.left() + x - 1) * 16 + (16 - b.top() - y)]; };
    std::vector<double> v(size_t(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            v[size_t(y * w + x)] = bajt(x, y);
    Arkusz::Zastosuj(v, w, h, Arkusz::TNarzedzie(narzedzie));
    const bool mapy = tryb_ == 1 || tryb_ == 5;
    static const int ids[4] = {4305, 4306, 4307, 4308};
    TZmiana krok(Dziennik(), MaskaWidoku(),
                 OpisWidoku() + QStringLiteral(": ") + LangText(ids[narzedzie & 3]));
    bool zmiana = false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t n = uint8_t(std::clamp(int(v[size_t(y * w + x)]), mapy ? 50 : 0, mapy ? 150 : 255));
            zmiana = zmiana || bajt(x, y) != n;
            bajt(x, y) = n;
        }
    if (zmiana) Zapisz(MaskaTabeli());
    WypelnijTabele();
}

// ------------------------------------------------------------------------------------ curves

void TGrafika::KopiujPunkty() {
    QList<QStringList> rows;
    if (tryb_ == 0) {
        const TMnoznik m = Mnoznik();
        // The knots in x order (processing keeps them sorted), the stored multiplier of each.
        for (int i = 0; i < Wykres2D::Wezly; ++i)
            if (m.Jest(i) && m.X(i) <= m.skala)
                rows << QStringList{Jedno(m.X(i) * 0.1, 1), Jedno(m.tabela[m.X(i)] * 0.01, 2)};
    } else if (const TKorekta k = Korekta(); k.blok) {
        for (int i = 0; i < Punkty; ++i)
            if (k.Uzyty(i))
                rows << QStringList{k.Cisnienie() ? Jedno(k.X(i) * 0.01, 2) : QString::number(k.X(i) - 128),
                                    Jedno(k.Y(i) * 0.78125 - 100, 2)};
    }
    QGuiApplication::clipboard()->setText(Arkusz::Tekst(rows));
}

void TGrafika::WklejPunkty() {
    const bool mnoznik = tryb_ == 0;
    if (!mnoznik && !BlokKorekty()) return;
    std::vector<std::vector<double>> g;
    bool ok =
        Arkusz::Czytaj(QGuiApplication::clipboard()->text(), mnoznik ? Wykres2D::Wezly : Punkty, 2, false, g);
    std::vector<std::pair<int, double>> p; // raw x, shown y
    for (const auto &row : g) {
        ok = ok && row.size() == 2 && !std::isnan(row[0]) && !std::isnan(row[1]);
        if (!ok) break;
        const int x = mnoznik                 ? Calkowita(row[0] * 10)
                      : BlokKorekty()[0] == 8 ? Calkowita(row[0] * 100)
                                              : Calkowita(row[0]) + 128;
        p.emplace_back(x, row[1]);
    }
    if (!ok || p.size() < (mnoznik ? 1u : 2u)) {
        Odmowa(LangText(4310));
        return;
    }
    std::stable_sort(p.begin(), p.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    TZmiana krok(Dziennik(), MaskaWidoku(), OpisWidoku() + QStringLiteral(": ") + LangText(4303));
    if (mnoznik) {
        // The pasted knots replace the curve's: x 0 is knot 0, x at the scale the last one.
        TMnoznik m = Mnoznik();
        const int skala = std::clamp(int(m.skala), 1, 255);
        auto y = [&](double v) { return uint8_t(std::clamp(Calkowita(v * 100), m.Min(), m.Max())); };
        for (int i = 1; i <= 24; ++i)
            s_->Nastawy[ItemWezly + i] = 0;
        int wolny = 1;
        for (const auto &[x, v] : p) {
            if (x <= 0) {
                m.tabela[0] = y(v);
            } else if (x >= skala) {
                m.tabela[skala] = y(v);
            } else if (wolny <= 24) {
                s_->Nastawy[ItemWezly + wolny++] = uint8_t(x);
                m.tabela[x] = y(v);
            }
        }
        m.wybrany = -1;
        m.Przelicz();
        wezel_ = -1;
        Zapisz(3);
    } else {
        // The ends keep their x and take the first and last y; the points between, up to six, in order.
        TKorekta k = Korekta();
        auto y = [](double v) { return uint8_t(std::clamp(Calkowita((v + 100) / 0.78125), 64, 192)); };
        k.blok[3] = y(p.front().second);
        k.blok[3 + 2 * (Punkty - 1)] = y(p.back().second);
        for (int i = 1; i <= 6; ++i) {
            const bool jest = i < int(p.size()) - 1;
            k.blok[2 + 2 * i] = jest ? uint8_t(std::clamp(p[size_t(i)].first, k.XMin(), k.XMax())) : 0;
            k.blok[3 + 2 * i] = jest ? y(p[size_t(i)].second) : 0;
        }
        k.wybrany = -1;
        k.Przelicz();
        punkt_ = -1;
        s_->CurveSelected = k.Id();
        Zapisz(tryb_ == 2 ? 512 : tryb_ == 3 ? 1024 : 256);
    }
    Rysuj();
}
