#include "charts/Arkusz.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Arkusz {

namespace {

// The cells of one line, read lazily: a line of megabytes is split only as far as it is read.
class TKomorki {
public:
    explicit TKomorki(QStringView line)
        : line_(line), sep_(line.contains(u'\t')  ? u'\t'
                            : line.contains(u';') ? u';'
                                                  : u'\0') {}
    bool Nastepna(QStringView &cell) {
        if (pos_ > line_.size()) return false;
        qsizetype end = sep_ == u'\0' ? -1 : line_.indexOf(sep_, pos_);
        if (end < 0) end = line_.size();
        cell = line_.mid(pos_, end - pos_).trimmed();
        pos_ = end + 1;
        return true;
    }

private:
    QStringView line_;
    QChar sep_;
    qsizetype pos_ = 0;
};

} // namespace

QString Tekst(const QList<QStringList> &rows) {
    QString t;
    for (const QStringList &r : rows)
        t += r.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return t;
}

bool Liczba(const QString &cell, double &out, const QLocale &loc) {
    const QString c = cell.trimmed();
    if (c.isEmpty() || c.size() > 40) return false;
    QLocale l = loc;
    l.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = l.toDouble(c, &ok);
    // A point where the locale writes a comma, unless the point groups thousands there ("1.000").
    if (!ok && (l.groupSeparator() != QLatin1String(".") || !c.contains(QLatin1Char('.')))) {
        QLocale cl = QLocale::c();
        cl.setNumberOptions(QLocale::RejectGroupSeparator);
        v = cl.toDouble(c, &ok);
    }
    if (!ok || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool Czytaj(const QString &text, int maxRows, int maxCols, bool headers,
            std::vector<std::vector<double>> &out, const QLocale &loc) {
    out.clear();
    if (maxRows <= 0 || maxCols <= 0) return false;
    const QStringView t(text);
    bool pierwszy = true, naglowki = false, liczba = false;
    qsizetype pos = 0;
    while (pos < t.size() && int(out.size()) < maxRows) {
        qsizetype nl = t.indexOf(u'\n', pos);
        if (nl < 0) nl = t.size();
        QStringView line = t.mid(pos, nl - pos);
        pos = nl + 1;
        if (line.endsWith(u'\r')) line.chop(1);
        TKomorki komorki(line);
        QStringView cell;
        std::vector<double> row;
        if (pierwszy && !line.trimmed().isEmpty()) {
            pierwszy = false;
            double v;
            komorki.Nastepna(cell);
            if (!cell.isEmpty() && !Liczba(cell.toString(), v, loc)) {
                // A header row: a corner naming the axes ("bar/rpm"), then axis values.
                if (!headers || std::none_of(cell.begin(), cell.end(), [](QChar c) { return c.isLetter(); }))
                    return false;
                for (int n = 0; n < maxCols && komorki.Nastepna(cell);)
                    if (++n, !cell.isEmpty() && !Liczba(cell.toString(), v, loc)) return false;
                naglowki = true;
                continue;
            }
            komorki = TKomorki(line);
        }
        if (naglowki) komorki.Nastepna(cell); // the row's header
        while (int(row.size()) < maxCols && komorki.Nastepna(cell)) {
            double v = std::numeric_limits<double>::quiet_NaN();
            if (!cell.isEmpty()) {
                if (!Liczba(cell.toString(), v, loc)) return false;
                liczba = true;
            }
            row.push_back(v);
        }
        out.push_back(std::move(row));
    }
    // Blank lines at the end (a trailing line feed, an empty row of the spreadsheet).
    while (!out.empty() &&
           std::all_of(out.back().begin(), out.back().end(), [](double v) { return std::isnan(v); }))
        out.pop_back();
    return liczba;
}

void Zastosuj(std::vector<double> &v, int w, int h, TNarzedzie narzedzie) {
    if (w <= 0 || h <= 0 || int(v.size()) < w * h) return;
    const std::vector<double> z = v;
    auto at = [&](int x, int y) { return z[size_t(y * w + x)]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double u = w > 1 ? double(x) / (w - 1) : 0.0;
            const double t = h > 1 ? double(y) / (h - 1) : 0.0;
            double r = at(x, y);
            switch (narzedzie) {
            case Narozniki:
                r = (1 - u) * (1 - t) * at(0, 0) + u * (1 - t) * at(w - 1, 0) + (1 - u) * t * at(0, h - 1) +
                    u * t * at(w - 1, h - 1);
                break;
            case Wiersze: r = at(0, y) + (at(w - 1, y) - at(0, y)) * u; break;
            case Kolumny: r = at(x, 0) + (at(x, h - 1) - at(x, 0)) * t; break;
            case Wygladz: {
                // The mean of the cell and its neighbours inside the block.
                double s = 0;
                int n = 0;
                for (int yy = std::max(0, y - 1); yy <= std::min(h - 1, y + 1); ++yy)
                    for (int xx = std::max(0, x - 1); xx <= std::min(w - 1, x + 1); ++xx) {
                        s += at(xx, yy);
                        ++n;
                    }
                r = s / n;
                break;
            }
            }
            v[size_t(y * w + x)] = double(std::lround(r));
        }
}

} // namespace Arkusz
