// Language table: every caption, label and message the user sees is addressed by a numeric id and looked
// up here in the current language (0 English, 1 Polish, 2 Russian, 3 Spanish).
//
// The table ships inside the program as the resource ":/lang/langtable.txt" (UTF-16 LE with BOM, one row
// per line: four-digit id TAB Polish TAB English TAB Russian TAB Spanish). Used on the user-interface thread
// only; no locking.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// One language table with its row cache and current language. The program uses the one process-wide
// instance behind the free functions below; tests may also build their own.
class TLangTable {
public:
    static constexpr int CacheSize = 4096; // ids 0..4095 remember the line they were found at
    static constexpr int LanguageCount = 4;

    TLangTable();

    // Replaces the rows with the lines of a UTF-16 table (byte-order mark required). A table that cannot
    // be decoded leaves no rows at all, so that every id of 1000 and above yields "", and returns false.
    // The row cache is kept: a stale entry is noticed by its first comparison and rescanned.
    bool Load(const QByteArray &utf16Table);
    // Loads the built-in table (":/lang/langtable.txt"); a missing resource leaves no rows.
    bool LoadResource();

    QString Text(int id);

    int Language() const { return Lang; }
    void SetLanguage(int index);

    // Inspection, for tests and diagnostics.
    int RowCount() const { return int(LangTable.size()); }
    int CachedRow(int id) const; // line index remembered for id, -1 for ids outside the cache
    int ScanCount() const { return Scans; }

private:
    int FindRow(int id);

    QStringList LangTable;            // the lines exactly as read, one row each
    std::vector<qint32> LangRowCache; // CacheSize entries, all 0 at start
    int Lang = 0;
    int Scans = 0; // linear scans done so far
};

// The process-wide table. It loads the built-in table on first use.
TLangTable &LangTableInstance();

QString LangText(int id);                        // text of id in the current language; "" when unknown
int LangLanguage();                              // 0 English, 1 Polish, 2 Russian, 3 Spanish
void LangSetLanguage(int index);                 // clamps to 0..3
void LangReload();                               // re-reads the built-in table; the row cache survives
bool LangLoadFrom(const QByteArray &utf16Table); // loads another table (tests)

// Message boxes. The user interface installs a handler that shows a modal box with the caption "TARVEN"
// and the standard style flags (16 error + OK, 52 exclamation + Yes/No, 64 information + OK) and returns
// the code of the pressed button (1 OK, 6 Yes, 7 No). Without a handler nothing is shown and the
// default button is answered: 6 (Yes) for Yes/No boxes such as 52, else 1 (OK).
using LangMessageHandler = std::function<int(const QString &text, int flags)>;
void LangSetMessageHandler(LangMessageHandler h);
int LangMessage(int id, int flags);                  // box with the text of id
int LangMessageText(const QString &text, int flags); // box with a text already put together
