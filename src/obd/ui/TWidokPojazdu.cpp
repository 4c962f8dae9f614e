#include "obd/ui/TWidokPojazdu.h"

#include "lang/LangText.h"
#include "obd/DtcTexts.h"
#include "widgets/TSiatka.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {
constexpr int WysokoscPaska = 26;
constexpr int WysokoscWerdyktu = 22;
constexpr int WysokoscWiersza = 18;

QString TakNie(bool v) {
    return LangText(v ? 4414 : 4415);
}

QString Liczba(const std::optional<int> &v, int format) {
    if (!v) return LangText(4418);
    return format ? LangText(format).arg(*v) : QString::number(*v);
}

// "812 [rpm]": the unit in brackets after the value, as the PID grid shows it.
QString ZJednostka(const TObdWartoscZamrozona &w) {
    return w.jednostka.isEmpty() ? w.tekst : w.tekst + QStringLiteral(" [") + w.jednostka + u']';
}
} // namespace

TWidokPojazdu::TWidokPojazdu(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("WidokPojazdu"));
    PrzyciskCzytaj = new QPushButton(this);
    PrzyciskCzytaj->setObjectName(QStringLiteral("PrzyciskCzytaj"));
    PrzyciskCzytaj->setFocusPolicy(Qt::NoFocus);
    connect(PrzyciskCzytaj, &QPushButton::clicked, this, [this] {
        if (OnCzytaj) OnCzytaj();
    });
    LiniaStatusu = new QLabel(this);
    LiniaStatusu->setObjectName(QStringLiteral("LiniaStatusu"));
    LiniaWerdyktu = new QLabel(this);
    LiniaWerdyktu->setObjectName(QStringLiteral("LiniaWerdyktu"));
    LiniaWerdyktu->setAutoFillBackground(true);
    LiniaWerdyktu->setContentsMargins(4, 0, 4, 0);
    QFont pogrubiona = LiniaWerdyktu->font();
    pogrubiona.setBold(true);
    LiniaWerdyktu->setFont(pogrubiona);
    Siatka = new TSiatka(this);
    Siatka->setObjectName(QStringLiteral("SiatkaPojazdu"));
    Siatka->setSelectionMode(QAbstractItemView::NoSelection);
    Siatka->setFocusPolicy(Qt::NoFocus);
    Siatka->verticalHeader()->setDefaultSectionSize(WysokoscWiersza);
    Siatka->setColumnCount(4);
    Siatka->OnDrawCell = [this](QPainter &p, int col, int row, const QRect &r) {
        const QPalette &pal = Siatka->palette();
        QColor tlo = pal.color(QPalette::Base), tekst = pal.color(QPalette::Text);
        QFont f = Siatka->font();
        if (row >= 0 && row < wiersze_.size()) {
            const Wiersz &w = wiersze_[row];
            if (w.ostrzezenie[col]) tlo = Kolor(paleta_.WarningBox);
            if (w.rodzaj == Rodzaj::Naglowek) {
                f.setBold(true);
                tekst = Kolor(paleta_.BannerText);
            } else if (w.rodzaj == Rodzaj::Kolumny) {
                f.setBold(true);
            }
        }
        p.fillRect(r, tlo);
        p.setFont(f);
        p.setPen(tekst);
        p.drawText(r.adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, Siatka->Komorka(col, row));
    };
    Relabel();
}

void TWidokPojazdu::Relabel() {
    PrzyciskCzytaj->setText(LangText(4401));
    Przebuduj();
}

void TWidokPojazdu::UstawKolory(const TPaleta &p) {
    paleta_ = p;
    QPalette g = Siatka->palette();
    g.setColor(QPalette::Base, Kolor(p.Box));
    g.setColor(QPalette::Window, Kolor(p.Box));
    g.setColor(QPalette::Text, Kolor(p.Text));
    Siatka->setPalette(g);
    QPalette l = LiniaStatusu->palette();
    l.setColor(QPalette::WindowText, Kolor(p.Text));
    LiniaStatusu->setPalette(l);
    Przebuduj(); // the verdict's colours
    QPalette b = PrzyciskCzytaj->palette();
    b.setColor(QPalette::ButtonText, Kolor(p.Text));
    PrzyciskCzytaj->setPalette(b);
    Siatka->viewport()->update();
}

void TWidokPojazdu::CzytaniePojazdu() {
    czyta_ = true;
    Przebuduj();
}

void TWidokPojazdu::UstawDozwolone(int n) {
    dozwolone_ = n;
    Przebuduj();
}

void TWidokPojazdu::PokazPojazd(const TObdPojazd &pojazd) {
    pojazd_ = pojazd;
    wizyta_.Odczyt(pojazd);
    odczytany_ = true;
    czyta_ = false;
    Przebuduj();
}

TWidokPojazdu::Wiersz *TWidokPojazdu::DodajWiersz(Rodzaj r, const QString &a, const QString &b,
                                                  bool scalony) {
    Wiersz w;
    w.rodzaj = r;
    w.komorki[0] = a;
    w.komorki[1] = b;
    w.scalony = scalony;
    wiersze_.append(w);
    return &wiersze_.last();
}

void TWidokPojazdu::DodajEcu(const TObdEcuPojazdu &e) {
    auto wiersz = [this](Rodzaj r, const QString &a, const QString &b = QString(), bool scalony = true) {
        return DodajWiersz(r, a, b, scalony);
    };
    const QString brak = LangText(4418);
    wiersz(Rodzaj::Naglowek, QStringLiteral("ECU %1").arg(e.adresTekst) +
                                 (e.nazwaEcu ? QStringLiteral("  ") + *e.nazwaEcu : QString()));

    // Readiness: since the codes were cleared, and this drive cycle beside it.
    const TObdGotowosc *g = e.status ? &*e.status : e.cykl ? &*e.cykl : nullptr;
    if (!g) {
        wiersz(Rodzaj::Zwykly, LangText(4410), brak);
    } else {
        Wiersz *k = wiersz(Rodzaj::Kolumny, LangText(4410), LangText(4411), false);
        k->komorki[2] = LangText(4412);
        k->komorki[3] = LangText(4413);
        for (int i = 0; i < g->monitory.size(); ++i) {
            const QString &nazwa = g->monitory[i].nazwa;
            Wiersz *w = wiersz(Rodzaj::Zwykly, nazwa, QString(), false);
            if (e.status) {
                const TObdMonitor &m = e.status->monitory[i];
                w->komorki[1] = TakNie(m.obslugiwany);
                w->komorki[2] = m.obslugiwany ? TakNie(m.gotowy) : QStringLiteral("-");
                w->ostrzezenie[2] = m.obslugiwany && !m.gotowy;
            } else {
                w->komorki[1] = w->komorki[2] = QStringLiteral("-");
            }
            // The drive cycle's list has the same monitors when the ignition types agree.
            if (e.cykl && i < e.cykl->monitory.size() && e.cykl->monitory[i].nazwa == nazwa) {
                const TObdMonitor &m = e.cykl->monitory[i];
                w->komorki[3] = m.obslugiwany ? TakNie(m.gotowy) : QStringLiteral("-");
                w->ostrzezenie[3] = m.obslugiwany && !m.gotowy;
            } else {
                w->komorki[3] = e.cykl ? QStringLiteral("-") : brak;
            }
        }
    }

    // The counters that give a fresh clear away.
    wiersz(Rodzaj::Kolumny, LangText(4804),
           LangText(4806).arg(Liczba(e.rozgrzania, 0), Liczba(e.kmOdKasowania, 4843),
                              Liczba(e.minOdKasowania, 4844)));
    wiersz(Rodzaj::Zwykly, LangText(4805),
           LangText(4807).arg(Liczba(e.kmZLampa, 4843), Liczba(e.minZLampa, 4844)));

    // Stored, pending and permanent codes, each with its description; a permanent code fails an inspection.
    const std::pair<int, const std::optional<QList<uint16_t>> *> kody[] = {
        {4406, &e.kodyZapisane}, {4873, &e.kodyOczekujace}, {4874, &e.kodyPermanentne}};
    for (const auto &[id, lista] : kody) {
        if (!*lista || (*lista)->isEmpty()) {
            wiersz(Rodzaj::Zwykly, LangText(id), *lista ? LangText(4851) : brak);
            continue;
        }
        for (int i = 0; i < (*lista)->size(); ++i) {
            const uint16_t k = (**lista)[i];
            Wiersz *w = wiersz(Rodzaj::Zwykly, i == 0 ? LangText(id) : QString(),
                               DtcTekstKodu(k) + QStringLiteral("  ") + OpisKoduDtc(k));
            w->ostrzezenie[1] = id == 4874;
        }
    }

    // The freeze frame.
    if (e.zamrozenie) {
        wiersz(Rodzaj::Kolumny, LangText(4416), e.zamrozenie->dtc);
        for (const TObdWartoscZamrozona &w : e.zamrozenie->wartosci)
            wiersz(Rodzaj::Zwykly, w.nazwa, ZJednostka(w));
    } else {
        wiersz(Rodzaj::Kolumny, LangText(4416), LangText(4417));
    }

    // The vehicle information.
    wiersz(Rodzaj::Kolumny, LangText(4419), e.vin.value_or(brak));
    wiersz(Rodzaj::Zwykly, LangText(4420), e.kalibracje ? e.kalibracje->join(QStringLiteral(", ")) : brak);
    wiersz(Rodzaj::Zwykly, LangText(4421), e.cvn ? e.cvn->join(QStringLiteral(", ")) : brak);
    wiersz(Rodzaj::Zwykly, LangText(4422), e.nazwaEcu.value_or(brak));
    wiersz(Rodzaj::Zwykly, QString());
}

// What changed since the car came in: monitors that completed (or went back after a clear), codes
// no longer reported.
void TWidokPojazdu::DodajZmiany() {
    if (wizyta_.Pusta()) return;
    auto wiersz = [this](Rodzaj r, const QString &a, const QString &b) { DodajWiersz(r, a, b, true); };
    QStringList gotowe, niegotowe, skasowane;
    const bool wiele = wizyta_.teraz.ecu.size() > 1;
    for (const TObdZmianaMonitora &z : wizyta_.ZmianyMonitorow())
        (z.gotowy ? gotowe : niegotowe) << (wiele ? z.ecu + u' ' : QString()) + z.nazwa;
    for (const TObdKodWizyty &k : wizyta_.kody)
        if (k.skasowany) skasowane << (wiele ? k.ecu + u' ' : QString()) + DtcTekstKodu(k.kod);
    wiersz(Rodzaj::Naglowek, LangText(4808).arg(wizyta_.czasPrzyjazdu.toString(QStringLiteral("HH:mm"))),
           QString());
    if (gotowe.isEmpty() && niegotowe.isEmpty() && skasowane.isEmpty())
        wiersz(Rodzaj::Zwykly, LangText(4809), QString());
    if (!gotowe.isEmpty()) wiersz(Rodzaj::Zwykly, LangText(4845), gotowe.join(QStringLiteral(", ")));
    if (!niegotowe.isEmpty()) wiersz(Rodzaj::Zwykly, LangText(4871), niegotowe.join(QStringLiteral(", ")));
    if (!skasowane.isEmpty()) wiersz(Rodzaj::Zwykly, LangText(4872), skasowane.join(QStringLiteral(", ")));
    wiersz(Rodzaj::Zwykly, QString(), QString());
}

void TWidokPojazdu::Przebuduj() {
    // Status line: the lamp and codes of all units together, the ignition of the first one.
    QString status;
    if (czyta_) {
        status = LangText(4402);
    } else if (!odczytany_) {
        status = LangText(4425);
    } else if (pojazd_.ecu.isEmpty()) {
        status = LangText(4423);
    } else {
        bool mil = false, znany = false, samoczynny = false;
        int kody = 0;
        for (const TObdEcuPojazdu &e : pojazd_.ecu) {
            if (!e.status) continue;
            if (!znany) samoczynny = e.status->samoczynny;
            znany = true;
            mil = mil || e.status->mil;
            kody += e.status->kody;
        }
        if (!znany)
            status = LangText(4403) + QStringLiteral(": ") + LangText(4418);
        else
            status = QStringLiteral("%1: %2     %3: %4     %5: %6")
                         .arg(LangText(4403), LangText(mil ? 4404 : 4405), LangText(4406),
                              QString::number(kody), LangText(4407), LangText(samoczynny ? 4409 : 4408));
    }
    LiniaStatusu->setText(status);

    // The verdict, on the warning colour when the car would fail.
    const bool pokaz = odczytany_ && !czyta_ && !pojazd_.ecu.isEmpty();
    const TObdWerdykt werdykt = Werdykt(pojazd_, dozwolone_);
    LiniaWerdyktu->setText(pokaz ? TekstWerdyktu(werdykt) : QString());
    QPalette v = LiniaWerdyktu->palette();
    v.setColor(QPalette::Window, Kolor(pokaz && !werdykt.gotowy ? paleta_.WarningBox : paleta_.Box));
    v.setColor(QPalette::WindowText, Kolor(paleta_.Text));
    LiniaWerdyktu->setPalette(v);

    wiersze_.clear();
    if (odczytany_) {
        DodajZmiany();
        for (const TObdEcuPojazdu &e : pojazd_.ecu)
            DodajEcu(e);
    }
    Siatka->clearSpans();
    Siatka->setRowCount(int(wiersze_.size()));
    for (int r = 0; r < wiersze_.size(); ++r) {
        const Wiersz &w = wiersze_[r];
        for (int c = 0; c < 4; ++c)
            Siatka->UstawKomorke(c, r, w.komorki[c]);
        if (w.rodzaj == Rodzaj::Naglowek)
            Siatka->setSpan(r, 0, 1, 4);
        else if (w.scalony)
            Siatka->setSpan(r, 1, 1, 3);
    }
    Siatka->viewport()->update();
    Rozmiesc();
}

void TWidokPojazdu::resizeEvent(QResizeEvent *) {
    Rozmiesc();
}

void TWidokPojazdu::Rozmiesc() {
    const int w = width(), h = height();
    const QFontMetrics m(PrzyciskCzytaj->font());
    const int bw = m.horizontalAdvance(PrzyciskCzytaj->text()) + 30;
    PrzyciskCzytaj->setGeometry(2, 2, bw, WysokoscPaska - 4);
    LiniaStatusu->setGeometry(bw + 12, 0, std::max(0, w - bw - 14), WysokoscPaska);
    LiniaWerdyktu->setGeometry(0, WysokoscPaska, w, WysokoscWerdyktu);
    const int gora = WysokoscPaska + WysokoscWerdyktu;
    Siatka->setGeometry(0, gora, w, std::max(0, h - gora));
    // The first column takes the longest monitor or item name, the other three their widest text;
    // column titles are bold, and a value spanning columns 1-3 (a long list of calibration IDs)
    // widens the last one.
    QFont pogrubiona = Siatka->font();
    pogrubiona.setBold(true);
    const QFontMetrics g(Siatka->font()), gb(pogrubiona);
    auto szerokosc = [&](const Wiersz &r, int c) {
        return (r.rodzaj == Rodzaj::Zwykly ? g : gb).horizontalAdvance(r.komorki[c]) + 16;
    };
    int pierwsza = 120, reszta = 60, scalone = 0;
    for (const Wiersz &r : std::as_const(wiersze_)) {
        if (r.rodzaj == Rodzaj::Naglowek) continue;
        pierwsza = std::max(pierwsza, szerokosc(r, 0));
        if (r.scalony)
            scalone = std::max(scalone, szerokosc(r, 1));
        else
            for (int c = 1; c < 4; ++c)
                reszta = std::max(reszta, szerokosc(r, c));
    }
    Siatka->setColumnWidth(0, pierwsza);
    for (int c = 1; c < 4; ++c)
        Siatka->setColumnWidth(c, c < 3 ? reszta : std::max(reszta, scalone - 2 * reszta));
}
