// What the engine knows of each browser, read from data: where its profiles are, and per
// category which folders of a profile to empty and which tables of which database to clear.
// The definitions are JSON files embedded in the program; the reader is strict, so a misspelt
// or missing field fails with the file and the field named instead of clearing the wrong thing.
#pragma once
#include <string>
#include <vector>

namespace engine {

// One table a database clear empties; with a keep rule, the rows another table refers to stay
// (keepColumn's value found in keepIn.keepAs).
struct TableClear {
    std::string table;
    bool optional = false;  // cleared when there, not required
    std::string keepColumn, keepIn, keepAs;
};

struct DatabaseClear {
    std::wstring file;   // relative to the profile: "Network\Cookies"
    std::wstring inUse;  // "its history is in use", for "Close <browser> first: ..."
    std::vector<TableClear> tables;  // in the order they are cleared
};

struct BrowserCategoryDef {
    std::string key;     // "cache": the category's key is browser.<id>.<key>
    std::wstring name;   // "Cache"
    std::vector<std::wstring> folders;  // emptied, relative to the profile
    bool local = false;  // the folders lie in the profile's local (not roaming) folder
    bool hasDatabase = false;
    DatabaseClear database;
};

struct BrowserDef {
    enum class Kind { Chromium, Firefox };
    std::string id;     // "chrome"
    std::wstring name;  // "Google Chrome"
    std::wstring process;  // "chrome.exe": the program file whose processes are the browser
    Kind kind = Kind::Chromium;
    std::wstring userData;  // Chromium: the folder holding Default and Profile N (unexpanded)
    std::wstring ini;       // Firefox: profiles.ini (unexpanded)
    std::wstring local;     // Firefox: the local folder relative profile paths are also under
    std::vector<BrowserCategoryDef> categories;
};

// Reads one definition; false with "<file>: <what is wrong with which field>" in error.
bool ParseBrowserDefinition(const std::wstring& file, const std::string& json, BrowserDef& def, std::wstring& error);

// The definitions embedded in this program (RCDATA resources named BROWSER_*), read once. A
// definition that does not read is left out and its error kept in errors.
const std::vector<BrowserDef>& BrowserDefinitions(std::vector<std::wstring>* errors = nullptr);

}  // namespace engine
