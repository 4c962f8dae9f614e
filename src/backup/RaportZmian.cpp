#include "backup/RaportZmian.h"

#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "settings/TKatalogNastaw.h"

#include <cstdlib>

namespace {

struct TOpisBloku {
    int Bit;
    int NazwaId;
    bool Tabela;
};
// The blocks of a settings file other than the settings, in the order the report lists them.
constexpr TOpisBloku Bloki[] = {
    {BitMnoznik1, 4210, false},    {BitMnoznik2, 4211, false}, {BitKorObr1, 4212, true},
    {BitKorObr2, 4213, true},      {BitKorCis, 4214, false},   {BitKorTempRed, 4215, false},
    {BitKorTempGazu, 4216, false}, {BitMapaA, 4217, true},     {BitMapaB, 4218, true},
    {BitMapaC, 4219, true},        {BitMapaD, 4220, true},     {BitMapaE, 4221, true},
    {BitMapaF, 4222, true},
};

// Items the catalogue leaves without a label are named by what they are.
QString Etykieta(const TKatalogNastaw &k, int item) {
    const QString t = k.NazwaNastawy(item);
    if (!t.isEmpty()) return t;
    if (item >= 164 && item <= 189) return LangText(4231).arg(item - 164 + 1);
    if (item >= 190 && item <= 215) return LangText(4232).arg(item - 190 + 1);
    if (item >= 216 && item <= 223) return LangText(4233).arg(item - 216 + 1);
    if (item >= 224 && item <= 239) return LangText(4234).arg(item - 224 + 1);
    if (item >= 240 && item <= 255) return LangText(4235).arg(item - 240 + 1);
    return LangText(4230).arg(item);
}

// The grid's text of a value; a number without a scale (bit masks, items without a record) as it is.
QString Tekst(TKatalogNastaw &k, int item, int raw) {
    const TNastawa &n = k.Rekord(item);
    const int rodzaj = n.Rodzaj();
    const bool liczba = rodzaj == 0 || rodzaj == NastawaLiczba || rodzaj == NastawaLiczba2 ||
                        rodzaj == NastawaPrzesuniecie || rodzaj == NastawaKodBledu2;
    if (liczba && n.Scale == 0) return QString::number(raw);
    return k.TekstNastawy(item, raw);
}

} // namespace

TRaportZmian PorownajObrazy(TSterownik &a, TSterownik &b) {
    TRaportZmian r;
    r.NumerA = a.NumerKopii();
    r.NumerB = b.NumerKopii();
    const auto opis = [](TSterownik &s) {
        QStringList l{s.StrWersjaSterownika(), s.StrWersjaCyframi(1).trimmed(), s.NumerKopii()};
        l.removeAll(QString());
        return l.join(QStringLiteral("  "));
    };
    r.OpisA = opis(a);
    r.OpisB = opis(b);
    // Each side is shown through a catalogue of its own: some texts depend on the image's
    // identification (the adaptation added to items 90 and 92).
    TKatalogNastaw ka(&a), kb(&b);
    ka.UtworzNastawy();
    kb.UtworzNastawy();
    for (int item = 1; item < IleNastaw; ++item) {
        const int va = a.Nastawy[item], vb = b.Nastawy[item];
        if (va == vb) continue;
        TZmianaNastawy z;
        z.Item = item;
        z.A = va;
        z.B = vb;
        z.Nazwa = Etykieta(ka, item);
        z.TekstA = Tekst(ka, item, va);
        z.TekstB = Tekst(kb, item, vb);
        if (z.TekstA == z.TekstB) { // bytes that show alike (an error code, a value beyond its limit)
            z.TekstA += QStringLiteral(" (%1)").arg(va);
            z.TekstB += QStringLiteral(" (%1)").arg(vb);
        }
        z.Jednostka = ka.JednostkaNastawy(item);
        r.Nastawy.append(z);
    }
    for (const TOpisBloku &o : Bloki) {
        const uint8_t *pa = a.Blok(o.Bit), *pb = b.Blok(o.Bit);
        TZmianaBloku z;
        z.Bit = o.Bit;
        z.Tabela = o.Tabela;
        z.Nazwa = LangText(o.NazwaId);
        for (int i = 0; i < 256; ++i) {
            if (pa[i] == pb[i]) continue;
            z.Komorki.append({i, pa[i], pb[i]});
            z.Najwieksza = std::max(z.Najwieksza, std::abs(pa[i] - pb[i]));
        }
        if (!z.Komorki.isEmpty()) r.Bloki.append(z);
    }
    return r;
}

QString TRaportZmian::LiniaInnySterownik() const {
    if (!InnySterownik()) return QString();
    const auto pokaz = [](const QString &n) { return n.isEmpty() ? QStringLiteral("?") : n; };
    return LangText(4202).arg(pokaz(NumerA), pokaz(NumerB));
}

QStringList TRaportZmian::Linie() const {
    QStringList l;
    const QChar tab = QLatin1Char('\t');
    for (const TZmianaNastawy &z : Nastawy)
        l << QString::number(z.Item) + tab + z.Nazwa + tab + z.TekstA + tab + z.TekstB + tab + z.Jednostka;
    for (const TZmianaBloku &z : Bloki)
        l << z.Nazwa + tab + LangText(4240).arg(z.Ile()) + tab + QString::number(z.Najwieksza);
    return l;
}

int WierszTabeli(int indeks) {
    return 16 - (indeks & 15);
}

int KolumnaTabeli(int indeks) {
    return (indeks >> 4) + 1;
}

QString OpisKomorki(const TZmianaBloku &b, int indeks) {
    if (b.Tabela) return LangText(4242).arg(WierszTabeli(indeks)).arg(KolumnaTabeli(indeks));
    return LangText(4243).arg(indeks);
}
