#pragma once
// The map tables and curves as a spreadsheet sees them, without widgets: grids of cells as
// tab-separated text and back, and the block tools (interpolation, smoothing) on raw values.
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <vector>

namespace Arkusz {

// Rows of cells as tab-separated lines, each ending with a line feed.
QString Tekst(const QList<QStringList> &rows);

// A number as a spreadsheet writes it: the locale's decimal separator (or a point, where the locale
// does not group thousands with one), no group separators, finite. False for anything else.
bool Liczba(const QString &cell, double &out, const QLocale &loc = QLocale());

// A pasted grid, cells separated by TABs (or semicolons when a line has no TAB). Only the first
// maxRows rows and maxCols cells of each row are read; what lies beyond is not even looked at, so a
// huge paste costs no more than a small one. With headers, a first row and column whose top-left cell
// is text (a copied whole table) are skipped. An empty cell is NaN (nothing to paste there). False
// when a cell read is not a number, or no cell holds one.
bool Czytaj(const QString &text, int maxRows, int maxCols, bool headers,
            std::vector<std::vector<double>> &out, const QLocale &loc = QLocale());

// The block tools, on w × h raw values stored row by row; the results are rounded to whole raw
// units, the way the cells store them.
enum TNarzedzie { Narozniki, Wiersze, Kolumny, Wygladz };
void Zastosuj(std::vector<double> &v, int w, int h, TNarzedzie narzedzie);

} // namespace Arkusz
