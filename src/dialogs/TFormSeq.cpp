#include "dialogs/TFormSeq.h"

#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "settings/TKatalogNastaw.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <bit>

// The assignment matrix, or the row of gas injectors below it (one row of n cells).
class TMacierzSeq : public QWidget {
public:
    TMacierzSeq(TFormSeq *form, bool row) : QWidget(form), form_(form), wiersz_(row) {}

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    void Krzyz(QPainter &g, const QRect &r);
    TFormSeq *form_;
    bool wiersz_;
};

namespace {
constexpr int K = TFormSeq::Komorka;
constexpr int Gora = 150; // top edge of the matrix
int LewaKrawedz(int n) {
    return n == 8 ? 96 : n == 6 ? 124 : 152;
}
} // namespace

void TMacierzSeq::Krzyz(QPainter &g, const QRect &r) {
    g.setPen(QPen(QColor(180, 0, 0), 3));
    g.drawLine(r.topLeft() + QPoint(6, 6), r.bottomRight() - QPoint(6, 6));
    g.drawLine(r.topRight() + QPoint(-6, 6), r.bottomLeft() + QPoint(6, -6));
}

void TMacierzSeq::paintEvent(QPaintEvent *) {
    QPainter g(this);
    const int n = form_->Kanaly();
    const QColor tekst = form_->palette().color(QPalette::WindowText);
    if (wiersz_) {
        for (int c = 0; c < n; ++c) {
            const QRect r(c * K, 0, K - 1, K - 1);
            g.fillRect(r, Qt::white);
            g.setPen(Qt::gray);
            g.drawRect(r);
            if (form_->KrzyzKolumny(c + 1)) Krzyz(g, r);
        }
        return;
    }
    for (int rr = 0; rr <= n; ++rr)
        for (int c = 0; c <= n; ++c) {
            const QRect r(c * K, rr * K, K - 1, K - 1);
            if (rr == 0 || c == 0) {
                if (rr == 0 && c == 0) continue;
                g.setPen(tekst);
                g.drawText(r, Qt::AlignCenter, QString::number(rr == 0 ? c : rr));
                if (rr == 0 ? form_->KrzyzKolumny(c) : form_->KrzyzWiersza(rr)) Krzyz(g, r);
                continue;
            }
            const int stan = form_->Komorki(c, rr);
            g.fillRect(r, stan == 2 ? Qt::black : stan == 1 ? QColor(0xE1, 0xE1, 0xE1) : Qt::white);
            g.setPen(Qt::gray);
            g.drawRect(r);
        }
}

void TMacierzSeq::mousePressEvent(QMouseEvent *e) {
    const int c = int(e->position().x()) / K;
    const int r = int(e->position().y()) / K;
    if (wiersz_)
        form_->KlikWiersza(c);
    else if (c >= 1 && r >= 1)
        form_->KlikMacierzy(c, r);
}

TFormSeq::TFormSeq(QWidget *parent) : TDialog(parent, QStringLiteral("FormSeq"), 450, 540) {
    Label1 = Etykieta(16, 14, 220, 26);
    Edit1 = Pole(240, 14, 190, 26);
    Label2 = Etykieta(16, 50, 220, 26);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setGeometry(240, 50, 190, 26);
    Label3 = Etykieta(16, 86, 220, 26);
    ComboBox3 = new QComboBox(this);
    ComboBox3->setGeometry(240, 86, 190, 26);
    Label4 = Etykieta(0, Gora - 24, 450, 22, Qt::AlignCenter);
    Label5 = Etykieta(4, 0, 90, 22, Qt::AlignRight | Qt::AlignVCenter);
    Label6 = Etykieta(16, 0, 420, 22, Qt::AlignCenter);
    Macierz = new TMacierzSeq(this, false);
    Wiersz = new TMacierzSeq(this, true);
    Ok->setGeometry(180, 496, 90, 28);
    connect(ComboBox2, &QComboBox::activated, this, &TFormSeq::ComboBox2Change);
    connect(ComboBox3, &QComboBox::activated, this, &TFormSeq::ComboBox3Change);
}

void TFormSeq::Lista(QComboBox *box, int item) {
    const TNastawa &n = katalog_->Rekord(item);
    box->clear();
    for (int v = n.Min; v <= n.Max; ++v)
        box->addItem(katalog_->TekstNastawy(item, v));
    box->setCurrentIndex(katalog_->Wartosc(item) - n.Min);
}

void TFormSeq::Przygotuj(TKatalogNastaw *catalogue, int injectorCount) {
    katalog_ = catalogue;
    n_ = injectorCount;
    setWindowTitle(QStringLiteral("TARVEN - ") + LangText(1375));
    Label1->setText(LangText(1376));
    Label4->setText(LangText(1249));
    Label5->setText(LangText(1244));
    Edit1->setText(LangText(1377));
    if (!MaDane()) return;
    Label2->setText(katalog_->NazwaNastawy(8));
    Label3->setText(katalog_->NazwaNastawy(56));
    Label6->setText(katalog_->NazwaNastawy(31));
    Lista(ComboBox2, 8);
    Lista(ComboBox3, 56);
    const int left = LewaKrawedz(n_);
    const int side = (n_ + 1) * K;
    Macierz->setGeometry(left, Gora, side, side);
    Label4->setGeometry(left, Gora - 24, side, 22);
    Label5->setGeometry(2, Gora + side / 2 - 11, left - 6, 22);
    Label6->setGeometry(16, Gora + side + 8, 418, 22);
    Wiersz->setGeometry(left + K, Gora + side + 34, n_ * K, K);
    update();
}

int TFormSeq::Komorki(int c, int r) const {
    if (!katalog_ || c < 1 || r < 1 || c > 8 || r > 8) return 0;
    if (katalog_->Wartosc(31 + r) & (1 << (c - 1))) return 2;
    switch (katalog_->Wartosc(8)) {
    case 0: return c == r ? 1 : 0;
    case 1: return (r == 1 && c % 2 == 1) || (r == 2 && c % 2 == 0) ? 1 : 0;
    case 2: return r == 1 ? 1 : 0;
    default: return 0;
    }
}

bool TFormSeq::KrzyzKolumny(int c) const {
    return katalog_ && c >= 1 && c <= 8 && (katalog_->Wartosc(31) & (1 << (c - 1)));
}

bool TFormSeq::KrzyzWiersza(int r) const {
    return katalog_ && r >= 1 && r <= 8 && katalog_->Wartosc(31 + r) == 0;
}

void TFormSeq::KlikMacierzy(int c, int r) {
    if (!MaDane() || c < 1 || r < 1 || c > n_ || r > n_) return;
    TSterownik *s = katalog_->PodajSterownik();
    if (!s) return;
    TZmiana krok(&s->Dziennik, (1u << BitNastawy) | DziennikStan, LangText(1375)); // with the injector mask
    const uint8_t m = uint8_t(1 << (c - 1));
    const bool mial = s->Nastawy[31 + r] & m;
    // Each gas injector is driven by at most one petrol signal; a second click frees it.
    for (int k = 32; k <= 39; ++k)
        s->Nastawy[k] &= uint8_t(~m);
    if (mial) {
        s->InjectorMask &= uint8_t(~m);
    } else {
        s->Nastawy[31 + r] |= m;
        s->InjectorMask |= m;
    }
    Zapisz();
}

void TFormSeq::KlikWiersza(int c) {
    if (!MaDane() || c < 0 || c >= n_) return;
    TSterownik *s = katalog_->PodajSterownik();
    if (!s) return;
    TZmiana krok(&s->Dziennik, (1u << BitNastawy) | DziennikStan, LangText(1375)); // with the injector mask
    const uint8_t m = uint8_t(1 << c);
    if (s->Nastawy[31] & m) {
        s->Nastawy[32 + c] |= m; // driven by the petrol signal of the same number again
        s->InjectorMask |= m;
    } else {
        for (int k = 32; k <= 39; ++k)
            s->Nastawy[k] &= uint8_t(~m);
        s->InjectorMask &= uint8_t(~m);
    }
    Zapisz();
}

void TFormSeq::Zapisz() {
    TSterownik *s = katalog_->PodajSterownik();
    s->InjectorMaskPending = 1;
    int uzyte = 0;
    for (int k = 32; k <= 39; ++k)
        uzyte |= s->Nastawy[k];
    katalog_->UstawNastawe(31, ~uzyte & 0xFF);
    Macierz->update();
    Wiersz->update();
}

void TFormSeq::ComboBox2Change(int index) {
    if (!MaDane()) return;
    katalog_->UstawNastawe(8, index + katalog_->Rekord(8).Min);
    const QSignalBlocker b(ComboBox3);
    ComboBox3->setCurrentIndex(katalog_->Wartosc(56) - katalog_->Rekord(56).Min);
    Macierz->update();
    Wiersz->update();
}

void TFormSeq::ComboBox3Change(int index) {
    if (!MaDane()) return;
    katalog_->UstawNastawe(56, index + katalog_->Rekord(56).Min);
    Macierz->update();
}

void TFormSeq::NowyOdczyt(const uint8_t *reply) {
    if (!MaDane()) return;
    const int rpm = (reply[17] | reply[18] << 8) * 10;
    if (rpm >= 2000 || reply[19] >= 60) return;
    const int j = std::popcount(unsigned(reply[21]) & ((1u << n_) - 1));
    int i = 0;
    for (int k = 32; k < 32 + n_; ++k)
        if (katalog_->Wartosc(k) != 0) ++i;
    QString text;
    if (j >= i)
        text = katalog_->TekstNastawy(8, 2);
    else if (j == 1)
        text = katalog_->TekstNastawy(8, 0);
    else if (j >= 2)
        text = katalog_->TekstNastawy(8, 1);
    else
        text = LangText(1377); // no petrol signal seen yet: still detecting
    Edit1->setText(text);
    Macierz->update();
    Wiersz->update();
}
