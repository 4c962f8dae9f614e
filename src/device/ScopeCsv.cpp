#include "device/ScopeCsv.h"

#include "device/Liczby.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QSaveFile>
#include <cmath>

namespace ScopeCsv {

namespace {
int Bajt(const uint8_t *sample, int pos) {
    return sample && pos >= 0 && pos < SampleSize ? sample[pos] : 0;
}
// A 16-bit value needs both of its bytes inside the sample: one that would run past it reads as 0.
int Slowo(const uint8_t *sample, int pos) {
    if (!sample || pos < 0 || pos + 1 >= SampleSize) return 0;
    return sample[pos] | sample[pos + 1] << 8;
}
} // namespace

double WartoscKanalu(const TWykres &w, const uint8_t *sample) {
    const int p = w.Position;
    const int b = Bajt(sample, p);
    const int u = Slowo(sample, p);
    switch (w.RawType) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7: return (b >> w.RawType) & 1;
    case 10: return b;
    case 11: return u;
    case 20: return b - 128;
    case 21: return u - 273;
    case 22: {
        const int b1 = b == 0 ? 128 : b;
        return (b1 - 128) * 100 / 128; // integer division, toward zero
    }
    case 23: return b;
    case 24: {
        const double g = std::trunc(u * 3 + 7.35 / w.Scale);
        return std::isfinite(g) ? g : 0.0; // a scale of 0 has no offset to add
    }
    default: return 0;
    }
}

QString TekstWartosci(const TWykres &w, const uint8_t *sample) {
    const int decimals = w.Decimals <= 0 ? 0 : std::min(w.Decimals, 3);
    return FormatLiczby(WartoscKanalu(w, sample) * w.Scale, decimals);
}

QByteArray Tekst(TSterownik &s, const uint8_t *samples, int count) {
    QList<int> series;
    const int n = s.PodajIleParamBiez(WykresScope);
    for (int i = 0; i < n; ++i) {
        const int p = s.PodajPozycje(WykresScope, i);
        if (p >= 0 && p < int(s.Wykresy.size())) series << p;
    }
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("sec;");
    for (int p : series)
        text += LangText(s.Wykresy[size_t(p)].LabelId) + QLatin1Char(';');
    text += crlf;
    QByteArray out = text.toUtf8();
    for (int i = 0; i < count && samples; ++i) {
        const uint8_t *sample = samples + qsizetype(i) * SampleSize;
        QString row = FormatLiczby(i * 0.1, 1) + QLatin1Char(';');
        for (int p : series)
            row += TekstWartosci(s.Wykresy[size_t(p)], sample) + QLatin1Char(';');
        row += crlf;
        out += row.toUtf8();
    }
    return out;
}

bool Zapisz(TSterownik &s, const uint8_t *samples, int count, const QString &fileName, QString *error) {
    const QByteArray data = Tekst(s, samples, count);
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly)) {
        *error = f.errorString();
        return false;
    }
    if (f.write(data) != data.size() || !f.commit()) {
        *error = f.errorString();
        return false;
    }
    return true;
}

} // namespace ScopeCsv
