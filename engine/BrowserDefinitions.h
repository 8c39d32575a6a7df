// What the engine knows of each browser, read from data: where its profiles are, and per
// category which folders of a profile to empty and which tables of which database to clear.
// The definitions are JSON files embedded in the program; the reader is strict, so a misspelt
// or missing field fails with the file and the field named instead of clearing the wrong thing.
#pragma once
#include <string>
#include <vector>

namespace engine {

// A reference from a table's rows to another table: a row refers when its `column` is found in
// `in`.`as` (among the rows of `in` whose name is like `named`, when given).
struct RowRef {
    std::string column, in, as;
    std::string named;  // a LIKE pattern on in.name; empty: every row of `in`
};

// One table a database clear empties when the file has it. Rows that a keep rule finds stay,
// unless a drop rule finds them too.
struct TableClear {
    std::string table;
    std::vector<RowRef> keep, drop;
};

// A database of a profile and what clearing it takes: it is the browser's when it has every
// table of `identify`; then each table of `tables` that it has is emptied, the others are simply
// absent.
struct DatabaseClear {
    std::vector<std::wstring> files;     // relative to the profile, each cleared where it is
    std::wstring inUse;                  // "its history is in use", for "Close <browser> first: ..."
    std::vector<std::string> identify;   // "urls", "visits"
    std::vector<TableClear> tables;      // in the order they are cleared
};

struct BrowserCategoryDef {
    std::string key;     // "cache": the category's key is browser.<id>.<key>
    std::wstring name;   // "Cache"
    std::vector<std::wstring> folders;  // emptied, relative to the profile
    std::vector<std::wstring> files;    // deleted, relative to the profile
    bool local = false;  // the folders and files lie in the profile's local (not roaming) folder
    std::vector<DatabaseClear> databases;
};

struct BrowserDef {
    // Chromium: profiles are Default and Profile N in a user-data folder; Firefox: profiles.ini
    // names them; Folder: the profile is one folder of its own.
    enum class Kind { Chromium, Firefox, Folder };
    std::string id;     // "chrome"
    std::wstring name;  // "Google Chrome"
    std::wstring process;  // "chrome.exe": the program file whose processes are the browser
    Kind kind = Kind::Chromium;
    std::wstring userData;  // Chromium: the folder holding Default and Profile N (unexpanded)
    std::wstring ini;       // Firefox: profiles.ini (unexpanded)
    std::wstring folder;    // Folder: the profile (unexpanded)
    std::wstring local;     // Firefox, Folder: the local folder (relative profile paths are under it)
    std::string sameAs;     // a browser whose categories this one has, instead of its own
    std::vector<BrowserCategoryDef> categories;
};

// Reads one definition (its sameAs not yet resolved); false with "<file>: <what is wrong with which field>" in error.
bool ParseBrowserDefinition(const std::wstring& file, const std::string& json, BrowserDef& def, std::wstring& error);

// The definitions embedded in this program (RCDATA resources named BROWSER_*), read once. A
// definition that does not read, or whose sameAs names no browser with categories of its own, is
// left out and its error kept in errors.
const std::vector<BrowserDef>& BrowserDefinitions(std::vector<std::wstring>* errors = nullptr);

}  // namespace engine
