#include "raport/TRaportSerwisowy.h"

#include "device/ErrorLines.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "obd/DtcTexts.h"

#include <QFileInfo>

namespace {

QString E(const QString &s) {
    return s.toHtmlEscaped();
}

QString Czas(const QDateTime &t) {
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// One row of a two-column table of labels and values (the value already HTML).
QString Wiersz(const QString &etykieta, const QString &wartoscHtml) {
    return QStringLiteral("<tr><th align=\"left\">%1</th><td>%2</td></tr>").arg(E(etykieta), wartoscHtml);
}

QString Brak() {
    return E(LangText(4418));
}

QString Lista(const std::optional<QStringList> &l) {
    return l ? E(l->join(QStringLiteral(", "))) : Brak();
}

QString Tabela(const QString &wiersze) {
    return QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">") +
           wiersze + QStringLiteral("</table>");
}

QString Naglowek(int id) {
    return QStringLiteral("<h2>%1</h2>").arg(E(LangText(id)));
}

QString Podnaglowek(int id) {
    return QStringLiteral("<h3>%1</h3>").arg(E(LangText(id)));
}

QString Uwaga(const QString &tekst) {
    return QStringLiteral("<p><i>%1</i></p>").arg(E(tekst));
}

QString RodzajKodu(int tryb) {
    return LangText(tryb == 0x43 ? 4830 : tryb == 0x47 ? 4831 : 4832);
}

QString SekcjaSamochodu(const TRaportSerwisowy &r) {
    QString h = Naglowek(4813);
    if (!r.pojazd) return h + Uwaga(LangText(4816));
    const TObdPojazd &p = r.pojazd->teraz;
    if (p.ecu.isEmpty()) return h + Uwaga(LangText(4423));
    for (const TObdEcuPojazdu &e : p.ecu) {
        QString w = Wiersz(QStringLiteral("ECU"), E(e.adresTekst));
        w += Wiersz(LangText(4419), e.vin ? E(*e.vin) : Brak());
        w += Wiersz(LangText(4420), Lista(e.kalibracje));
        w += Wiersz(LangText(4421), Lista(e.cvn));
        w += Wiersz(LangText(4422), e.nazwaEcu ? E(*e.nazwaEcu) : Brak());
        h += Tabela(w) + QStringLiteral("<br>");
    }
    return h;
}

QString SekcjaSterownika(const TRaportSerwisowy &r) {
    QString h = Naglowek(4814);
    if (!r.sterownik) return h + Uwaga(LangText(4817));
    const TRaportSterownika &s = *r.sterownik;
    h += Tabela(Wiersz(LangText(4818), E(s.model)) + Wiersz(LangText(4819), E(s.numer)) +
                Wiersz(LangText(4820), E(s.wersja)) + Wiersz(LangText(4821), E(s.dataProdukcji)) +
                Wiersz(LangText(4822), E(s.czasGaz)) + Wiersz(LangText(4823), E(s.czasBenzyna)));
    h += Podnaglowek(4824);
    if (!s.bledy) return h + Uwaga(LangText(4826));
    QStringList linie;
    for (const QString &l : *s.bledy)
        if (!l.trimmed().isEmpty()) linie << E(l.trimmed());
    if (linie.isEmpty()) return h + QStringLiteral("<p>%1</p>").arg(E(LangText(4825)));
    return h + QStringLiteral("<p>") + linie.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
}

QString Kody(const TObdWizyta &w) {
    QString h = Podnaglowek(4827);
    if (w.kody.isEmpty()) return h + QStringLiteral("<p>%1</p>").arg(E(LangText(4833)));
    QString t =
        QStringLiteral("<tr><th align=\"left\">%1</th><th align=\"left\">%2</th><th "
                       "align=\"left\">ECU</th><th align=\"left\">%3</th><th align=\"left\">%4</th></tr>")
            .arg(E(LangText(4857)), E(LangText(4859)), E(LangText(4858)), E(LangText(4856)));
    for (const TObdKodWizyty &k : w.kody)
        t += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td><td>%3</td><td>%4</td><td>%5</td></tr>")
                 .arg(E(DtcTekstKodu(k.kod)), E(RodzajKodu(k.tryb)), E(k.ecu), E(OpisKoduDtc(k.kod)),
                      E(LangText(k.skasowany ? 4828 : 4829)));
    return h + Tabela(t);
}

// A counter with its unit (format 0: the number alone).
QString TekstLicznika(const std::optional<int> &v, int format) {
    if (!v) return Brak();
    return E(format ? LangText(format).arg(*v) : QString::number(*v));
}

QString Gotowosc(const TObdWizyta &w, int dozwolone) {
    QString h = Podnaglowek(4834);
    const TObdPojazd &a = *w.przyjazd, &n = w.teraz;
    QString t =
        QStringLiteral("<tr><th></th><th align=\"left\">%1<br>%2</th><th align=\"left\">%3<br>%4</th></tr>")
            .arg(E(LangText(4835)), E(Czas(w.czasPrzyjazdu)), E(LangText(4836)), E(Czas(w.czasTeraz)));
    auto wiersz = [&](int id, const QString &przyjazd, const QString &teraz) {
        t += QStringLiteral("<tr><th align=\"left\">%1</th><td>%2</td><td>%3</td></tr>")
                 .arg(E(LangText(id)), przyjazd, teraz);
    };
    const TObdWerdykt wa = Werdykt(a, dozwolone), wn = Werdykt(n, dozwolone);
    auto mil = [](const TObdWerdykt &v) { return v.znany ? E(LangText(v.mil ? 4404 : 4405)) : Brak(); };
    auto niegotowe = [](const TObdPojazd &p, const TObdWerdykt &v) {
        if (!v.znany) return Brak();
        const QStringList l = NiegotoweMonitory(p);
        return l.isEmpty() ? QStringLiteral("0")
                           : QStringLiteral("%1: %2").arg(l.size()).arg(E(l.join(", ")));
    };
    wiersz(4403, mil(wa), mil(wn));
    wiersz(4837, niegotowe(a, wa), niegotowe(n, wn));
    const std::pair<int, std::pair<std::optional<int> TObdEcuPojazdu::*, int>> liczniki[] = {
        {4838, {&TObdEcuPojazdu::rozgrzania, 0}},        {4839, {&TObdEcuPojazdu::kmOdKasowania, 4843}},
        {4840, {&TObdEcuPojazdu::minOdKasowania, 4844}}, {4841, {&TObdEcuPojazdu::kmZLampa, 4843}},
        {4842, {&TObdEcuPojazdu::minZLampa, 4844}},
    };
    for (const auto &[id, pole] : liczniki)
        wiersz(id, TekstLicznika(Licznik(a, pole.first), pole.second),
               TekstLicznika(Licznik(n, pole.first), pole.second));
    h += Tabela(t);
    // The verdicts read across the page, the one of now in bold.
    h += QStringLiteral("<p>%1: %2<br><b>%3: %4</b></p>")
             .arg(E(LangText(4835)), E(TekstWerdyktu(wa)), E(LangText(4836)), E(TekstWerdyktu(wn)));

    QStringList gotowe, niegotowe2;
    for (const TObdZmianaMonitora &z : w.ZmianyMonitorow())
        (z.gotowy ? gotowe : niegotowe2)
            << (w.teraz.ecu.size() > 1 ? z.ecu + QLatin1Char(' ') : QString()) + z.nazwa;
    if (!gotowe.isEmpty())
        h += QStringLiteral("<p>%1: %2</p>").arg(E(LangText(4845)), E(gotowe.join(QStringLiteral(", "))));
    if (!niegotowe2.isEmpty())
        h += QStringLiteral("<p>%1: %2</p>").arg(E(LangText(4871)), E(niegotowe2.join(QStringLiteral(", "))));
    return h;
}

QString Zmiany(const TRaportSerwisowy &r) {
    QString h = Podnaglowek(4846);
    if (!r.sterownik) return h + Uwaga(LangText(4817));
    if (!r.zmiany) return h + Uwaga(LangText(4849));
    h += QStringLiteral("<p>%1</p>").arg(E(LangText(4847).arg(r.bazaZmian)));
    const TRaportZmian &z = *r.zmiany;
    if (z.InnySterownik()) h += QStringLiteral("<p><b>%1</b></p>").arg(E(z.LiniaInnySterownik()));
    if (z.Rowne()) return h + QStringLiteral("<p>%1</p>").arg(E(LangText(4848)));
    QString t = QStringLiteral(
                    "<tr><th align=\"left\">%1</th><th align=\"left\">%2</th><th align=\"left\">%3</th></tr>")
                    .arg(E(LangText(4853)), E(LangText(4854)), E(LangText(4855)));
    auto zJednostka = [](const QString &v, const QString &j) {
        return j.isEmpty() ? v : v + QStringLiteral(" [") + j + u']';
    };
    for (const TZmianaNastawy &n : z.Nastawy)
        t += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                 .arg(E(n.Nazwa), E(zJednostka(n.TekstA, n.Jednostka)), E(zJednostka(n.TekstB, n.Jednostka)));
    for (const TZmianaBloku &b : z.Bloki)
        t += QStringLiteral("<tr><td>%1</td><td colspan=\"2\">%2</td></tr>")
                 .arg(E(b.Nazwa), E(LangText(4240).arg(b.Ile())));
    return h + Tabela(t);
}

QString Kopie(const TRaportSerwisowy &r) {
    QString h = Podnaglowek(4850);
    if (r.kopie.isEmpty()) return h + QStringLiteral("<p>%1</p>").arg(E(LangText(4851)));
    QStringList l;
    for (const QString &k : r.kopie)
        l << E(k);
    return h + QStringLiteral("<p>") + l.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
}

} // namespace

TRaportSterownika OpisSterownika(TSterownik &s, const QByteArray &raportBledow) {
    TRaportSterownika r;
    r.model = s.StrWersjaSterownika();
    r.numer = s.NumerKopii();
    r.wersja = s.StrWersjaCyframi(1).trimmed();
    r.dataProdukcji = s.StrDataProdukcji();
    r.czasGaz = s.StrCzasNaGazie();
    r.czasBenzyna = s.StrCzasNaBenzynie();
    if (raportBledow.size() >= 13)
        r.bledy = LinieBledow(reinterpret_cast<const uint8_t *>(raportBledow.constData()),
                              int(raportBledow.size()), s.StatusBytes[1]);
    return r;
}

QString RaportHtml(const TRaportSerwisowy &r) {
    QString h =
        QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title>"
                       "<style>body { font-family: 'DejaVu Sans', sans-serif; font-size: 9pt; } "
                       "h1 { font-size: 16pt; } h2 { font-size: 12pt; margin-top: 12px; } "
                       "h3 { font-size: 10pt; } th, td { vertical-align: top; }</style></head><body>\n")
            .arg(E(LangText(4810)));
    h += QStringLiteral("<h1>%1</h1>\n").arg(E(LangText(4810)));
    QStringList warsztat;
    for (const QString &l : {r.warsztat.nazwa, r.warsztat.adres, r.warsztat.telefon})
        if (!l.trimmed().isEmpty())
            warsztat << E(l.trimmed()).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    h += QStringLiteral("<table width=\"100%\"><tr><td><b>%1</b><br>%2</td><td align=\"right\">%3: "
                        "%4</td></tr></table>\n")
             .arg(E(LangText(4811)), warsztat.isEmpty() ? Brak() : warsztat.join(QStringLiteral("<br>")),
                  E(LangText(4812)), E(Czas(r.czas)));
    h += SekcjaSamochodu(r) + QLatin1Char('\n');
    h += SekcjaSterownika(r) + QLatin1Char('\n');
    h += Naglowek(4815);
    if (r.pojazd && r.pojazd->przyjazd) {
        h += Kody(*r.pojazd) + QLatin1Char('\n');
        h += Gotowosc(*r.pojazd, r.dozwolone) + QLatin1Char('\n');
    } else {
        h += Uwaga(LangText(4816));
    }
    h += Zmiany(r) + QLatin1Char('\n') + Kopie(r) + QLatin1Char('\n');
    h += QStringLiteral("<p><br><br><br>%1: ______________________________</p>\n").arg(E(LangText(4852)));
    return h + QStringLiteral("</body></html>\n");
}

std::optional<bool> RaportJakoPdf(const QString &path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("pdf")) return true;
    if (ext == QLatin1String("html") || ext == QLatin1String("htm")) return false;
    return std::nullopt;
}
