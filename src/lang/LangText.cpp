#include "lang/LangText.h"

#include <QFile>
#include <QStringView>

#include <algorithm>

namespace {

const char *const ResourcePath = ":/lang/langtable.txt";

// Chart series and their parts carry these fixed abbreviations whatever the language.
const char16_t *const FixedTexts[10] = {u"t. ster.",   u" - ",        u"mnożnik", u"kor. obr.", u"kor. cis.",
                                        u"kor. temp.", u"kor. razem", u" + ",     u"otw/nat",   u"test"};

// Length of the id's digits when the line starts with exactly those digits followed by a TAB or the
// line's end, else 0. Ids are positive here.
int MatchId(QStringView line, int id) {
    char16_t digits[12];
    int n = 0;
    for (unsigned v = unsigned(id); v != 0; v /= 10)
        digits[n++] = char16_t(u'0' + v % 10);
    if (line.size() < n) return 0;
    for (int i = 0; i < n; ++i)
        if (line[i].unicode() != digits[n - 1 - i]) return 0;
    if (line.size() > n && line[n] != u'\t') return 0;
    return n;
}

// Blanks and control characters (codes up to 32) are cut from both ends of a cell.
QStringView TrimCell(QStringView cell) {
    qsizetype b = 0, e = cell.size();
    while (b < e && cell[b].unicode() <= 32)
        ++b;
    while (e > b && cell[e - 1].unicode() <= 32)
        --e;
    return cell.sliced(b, e - b);
}

LangMessageHandler &MessageHandler() {
    static LangMessageHandler handler;
    return handler;
}

} // namespace

TLangTable::TLangTable() : LangRowCache(CacheSize, 0) {}

bool TLangTable::Load(const QByteArray &utf16Table) {
    LangTable.clear();
    const qsizetype size = utf16Table.size();
    if (size < 2 || size % 2 != 0) return false;
    const auto *bytes = reinterpret_cast<const unsigned char *>(utf16Table.constData());
    bool bigEndian;
    if (bytes[0] == 0xFF && bytes[1] == 0xFE)
        bigEndian = false;
    else if (bytes[0] == 0xFE && bytes[1] == 0xFF)
        bigEndian = true;
    else
        return false;

    QString text(size / 2 - 1, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 2, k = 0; i < size; i += 2, ++k)
        out[k] = bigEndian ? char16_t(bytes[i] << 8 | bytes[i + 1]) : char16_t(bytes[i + 1] << 8 | bytes[i]);

    LangTable = text.split(u'\n');
    for (QString &line : LangTable)
        if (line.endsWith(u'\r')) line.chop(1);
    // The last line ends with CR LF too, which leaves one empty entry behind it.
    if (!LangTable.isEmpty() && LangTable.constLast().isEmpty()) LangTable.removeLast();
    return !LangTable.isEmpty();
}

bool TLangTable::LoadResource() {
    QFile file(QString::fromLatin1(ResourcePath));
    if (!file.open(QIODevice::ReadOnly)) {
        LangTable.clear();
        return false;
    }
    return Load(file.readAll());
}

void TLangTable::SetLanguage(int index) {
    Lang = std::clamp(index, 0, LanguageCount - 1);
}

int TLangTable::CachedRow(int id) const {
    if (id < 0 || id >= CacheSize) return -1;
    return LangRowCache[size_t(id)];
}

// Index of the row of id, or -1. A row found once is found again by one comparison through the cache;
// ids above the cache are scanned each time.
int TLangTable::FindRow(int id) {
    const bool cached = id < CacheSize;
    if (cached) {
        const int row = LangRowCache[size_t(id)];
        if (row >= 0 && row < LangTable.size() && MatchId(LangTable.at(row), id) != 0) return row;
    }
    ++Scans;
    for (int row = 0; row < LangTable.size(); ++row) {
        if (MatchId(LangTable.at(row), id) != 0) {
            if (cached) LangRowCache[size_t(id)] = row;
            return row;
        }
    }
    return -1;
}

QString TLangTable::Text(int id) {
    if (id >= -39 && id <= -30) return QString::fromUtf16(FixedTexts[-30 - id]);
    if (id < 1000) return QString();
    const int row = FindRow(id);
    if (row < 0) return QString();

    const QString &line = LangTable.at(row);
    // The row's text follows the id's digits and their TAB.
    const qsizetype start = std::min<qsizetype>(MatchId(line, id) + 1, line.size());
    QStringView rest = QStringView(line).sliced(start);
    QStringView cells[4];
    for (int c = 0; c < 4 && !rest.isEmpty(); ++c) {
        const qsizetype tab = rest.indexOf(u'\t');
        cells[c] = TrimCell(tab < 0 ? rest : rest.first(tab));
        rest = tab < 0 ? QStringView() : rest.sliced(tab + 1);
    }
    // Column by language: 0 English, 1 Polish, 2 Russian, 3 Spanish; the last two fall back to English.
    QStringView chosen;
    switch (Lang) {
    case 1: chosen = cells[0]; break;
    case 2: chosen = cells[2].isEmpty() ? cells[1] : cells[2]; break;
    case 3: chosen = cells[3].isEmpty() ? cells[1] : cells[3]; break;
    default: chosen = cells[1]; break;
    }
    return chosen.toString();
}

TLangTable &LangTableInstance() {
    static TLangTable table = [] {
        TLangTable t;
        t.LoadResource();
        return t;
    }();
    return table;
}

QString LangText(int id) {
    return LangTableInstance().Text(id);
}

int LangLanguage() {
    return LangTableInstance().Language();
}

void LangSetLanguage(int index) {
    LangTableInstance().SetLanguage(index);
}

void LangReload() {
    LangTableInstance().LoadResource();
}

bool LangLoadFrom(const QByteArray &utf16Table) {
    return LangTableInstance().Load(utf16Table);
}

void LangSetMessageHandler(LangMessageHandler h) {
    MessageHandler() = std::move(h);
}

int LangMessageText(const QString &text, int flags) {
    if (const LangMessageHandler &handler = MessageHandler()) return handler(text, flags);
    // No one to ask: a question is never answered Yes unattended (No for the Yes/No kinds 3 and 4,
    // as the controller link answers), OK for the others.
    const int buttons = flags & 0x0F;
    return (buttons == 3 || buttons == 4) ? 7 : 1;
}

int LangMessage(int id, int flags) {
    return LangMessageText(LangText(id), flags);
}
