// The browsers people use: their profiles found on this machine from the definitions, and per
// category (cache, cookies, history) what an erase would take and the erase itself. Folders go
// through the one walk; databases through SQLite (BrowserDatabase.h).
#pragma once
#include <string>
#include <vector>

#include "BrowserDefinitions.h"
#include "Categories.h"

namespace engine {

struct BrowserProfile {
    std::wstring folder;  // the profile's folder: "...\User Data\Default"
    std::wstring local;   // where its local folders (a cache) are; the same folder for most
    std::wstring refused; // why it is not touched (a link, a protected folder); empty: usable
};

// A profile named in Firefox's profiles.ini: the path as written, relative or not.
struct IniProfile {
    std::wstring path;
    bool relative = true;
};
// The [Profile*] sections of a profiles.ini text; a path with a step that is not a plain name
// ("..", "a:b") is left out.
std::vector<IniProfile> ParseProfilesIni(const std::string& text);

// The profiles of a browser on this machine; none when it is not installed.
std::vector<BrowserProfile> FindProfiles(const BrowserDef& browser);

Listing ListBrowserCategory(const BrowserDef& browser, const BrowserCategoryDef& category, const Options& options);
Result EraseBrowserCategory(const BrowserDef& browser, const BrowserCategoryDef& category, const Options& options);

// The category rows of every browser definition: browser.<id>.<category>, group "browsers",
// named "Google Chrome: History".
std::vector<Category> BrowserCategories();

// What a summary shows of one browser category on this machine.
struct BrowserSurveyRow {
    std::string key;        // "browser.chrome.history"
    std::wstring browser;   // "Google Chrome"
    std::wstring category;  // "History"
    unsigned profiles = 0;  // usable profiles
    unsigned long long items = 0;  // files and database entries
    unsigned long long bytes = 0;  // bytes of the files (databases at their size)
};
// Rows for the browsers found (at least one profile folder), in definition order; none at all
// when no browser is there.
std::vector<BrowserSurveyRow> SurveyBrowsers(const Options& options);

}  // namespace engine
