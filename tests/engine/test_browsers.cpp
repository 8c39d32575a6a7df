// Browsers from their definitions, against the profiles tests/browsers/make_profiles.sh makes in
// the test prefix's AppData: the strict reader, the profiles found, and every category erased
// through the engine (tables empty, file sound, erased text gone from its bytes, bookmarks kept),
// a database another connection holds, broken databases and a profile that is a link.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <set>
#include <sqlite3.h>

#include "BrowserDatabase.h"
#include "Browsers.h"
#include "Categories.h"
#include "Worker.h"
#include "TestFiles.h"
#include "Text.h"

using namespace engine;
using testkit::FileExists;
using testkit::ReadWholeFile;

namespace {

const BrowserDef& Browser(const std::string& id) {
    return *std::find_if(BrowserDefinitions().begin(), BrowserDefinitions().end(), [&](const BrowserDef& b) { return b.id == id; });
}
// Through the category table's row; a held database is given up on soon.
Result Erase(const std::string& id, const std::string& key) {
    DatabaseBusyMs() = 50;
    return CategoryOf("browser." + id + "." + key).erase({});
}

const std::wstring kLocal = KnownFolderPath(FOLDERID_LocalAppData), kRoaming = KnownFolderPath(FOLDERID_RoamingAppData);
const std::wstring kChrome = kLocal + L"\\Google\\Chrome\\User Data\\", kEdge = kLocal + L"\\Microsoft\\Edge\\User Data\\";
const std::wstring kFirefox = kRoaming + L"\\Mozilla\\Firefox\\Profiles\\abcd.default-release\\";
const std::wstring kFirefoxLocal = kLocal + L"\\Mozilla\\Firefox\\Profiles\\abcd.default-release\\";
const std::wstring kScratch = L"C:\\corvane-browsers\\";

// The first column of a query's first row, "" when there is none, "(error)" when it cannot be asked.
std::string Query(const std::wstring& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    std::string value = "(error)";
    if (sqlite3_open_v2(Utf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK)
        value = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0) ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0)) : "";
    sqlite3_finalize(st);
    sqlite3_close_v2(db);
    return value;
}
std::string Count(const std::wstring& path, const std::string& table) { return Query(path, "SELECT count(*) FROM " + table); }

// Every table emptied, the file sound, and none of the erased text left anywhere in its bytes.
void ExpectCleared(const std::wstring& path, std::initializer_list<const char*> tables, const char* erasedText) {
    SCOPED_TRACE(Utf8(path));
    // Before anything reads it (a reader makes a new, empty log).
    for (const wchar_t* log : {L"-wal", L"-journal"}) EXPECT_FALSE(FileExists(path + log)) << "its old pages went with it";
    for (const char* t : tables) EXPECT_EQ(Count(path, t), "0") << t;
    EXPECT_EQ(Query(path, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(ReadWholeFile(path).find(erasedText), std::string::npos);
}

}  // namespace

// The table's own test checks each row's key, group and functions.
TEST(BrowserDefinitions, EmbeddedOnesMakeTheCategoryRowsAndAFaultyOneNamesTheFileAndTheField) {
    std::vector<std::wstring> errors;
    BrowserDefinitions(&errors);
    EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : Utf8(errors[0]));
    std::set<std::string> keys, expected;
    for (const Category& c : BrowserCategories()) keys.insert(c.key);
    for (const char* b : {"edge", "chrome", "firefox", "brave", "vivaldi", "opera"})
        for (const char* c : {"cache", "cookies", "history"}) expected.insert(std::string("browser.") + b + "." + c);
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(CategoryOf("browser.chrome.history").name, L"Google Chrome: History");

    HRSRC found = ::FindResourceW(nullptr, L"BROWSER_CHROME", MAKEINTRESOURCEW(10));
    ASSERT_TRUE(found);
    const std::string good(static_cast<const char*>(::LockResource(::LoadResource(nullptr, found))), ::SizeofResource(nullptr, found));
    struct Case { std::string from, to; std::wstring error; } cases[] = {
        {"\"folders\"", "\"foldrs\"", L"chrome.json: unknown field \"categories[0].foldrs\""},
        {"[\"cookies\"] }", "[{ \"table\": \"cookies\", \"where\": \"1\" }] }",
         L"chrome.json: unknown field \"categories[1].databases[0].tables[0].where\""},
        {", \"userData\"", ", \"userDat\"", L"chrome.json: unknown field \"profiles.userDat\""},
        {"\"inUse\": \"its history is in use\",", "", L"chrome.json: field \"categories[2]\" needs inUse with its databases"},
        {"\"name\": \"Google Chrome\",", "", L"chrome.json: missing field \"name\""},
        {"\"kind\": \"chromium\", ", "", L"chrome.json: missing field \"profiles.kind\""},
        {"\"urls\", \"visits\", \"visit_source\"", "\"urls; DROP\", \"visits\", \"visit_source\"", L"chrome.json: field \"categories[2].databases[0].tables[0]\" is not a plain name"},
        {"[\"top_sites\", \"thumbnails\"]",
         "[{ \"table\": \"top_sites\", \"keep\": [{ \"column\": \"url\", \"in\": \"thumbnails\", \"as\": \"url\" }] },"
         " { \"table\": \"thumbnails\", \"keep\": [{ \"column\": \"url\", \"in\": \"top_sites\", \"as\": \"url\" }] }]",
         L"chrome.json: field \"categories[2].databases[1].tables[0]\" keeps rows for a table that keeps them for it"},
    };
    BrowserDef def;
    std::wstring error;
    for (const Case& c : cases) {
        std::string text = good;
        ASSERT_NE(text.find(c.from), std::string::npos) << c.from;
        text.replace(text.find(c.from), c.from.size(), c.to);
        EXPECT_FALSE(ParseBrowserDefinition(L"chrome.json", text, def, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(BrowserProfiles, FoundFromFoldersAndProfilesIni) {
    // What the test profiles' profiles.ini does not hold: CR LF, a path outside a profile's
    // section, and an "absolute" path that is not.
    auto ini = ParseProfilesIni("[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n[General]\nPath=x\n"
                                "[Profile3]\nIsRelative=0\nPath=..\\rel\n");
    ASSERT_EQ(ini.size(), 1u);
    EXPECT_EQ(ini[0].path, L"Profiles\\a.default");

    std::set<std::wstring> chrome;
    for (const BrowserProfile& p : FindProfiles(Browser("chrome"))) chrome.insert(p.folder);
    EXPECT_EQ(chrome, (std::set<std::wstring>{kChrome + L"Default", kChrome + L"Profile 1", kChrome + L"Profile 3"}));
    // Not the profile outside the Profiles folder. Where Firefox's two profiles and Opera's keep
    // their files, local and roaming, is what their erases below find.
    EXPECT_EQ(FindProfiles(Browser("firefox")).size(), 2u);

    // What the summary shows, before anything is erased: usable profiles, entries, sizes.
    std::vector<BrowserSurveyRow> rows = SurveyBrowsers({});
    ASSERT_EQ(rows.size(), 12u);  // Edge, Chrome, Firefox and Opera
    for (const BrowserSurveyRow& r : rows) {
        if (r.key == "browser.chrome.history") {
            EXPECT_EQ(r.profiles, 3u);
            EXPECT_EQ(r.items, 2u * 246u + 8u);  // and Default's other stores: 5 rows, 3 files
            EXPECT_GT(r.bytes, 0u);
        }
        if (r.key == "browser.edge.cache") EXPECT_EQ(r.profiles, 1u) << "the linked profile is not counted";
    }
}

TEST(BrowserErase, ChromeCategoriesAndDatabasesThatAreNotAsExpected) {
    const std::wstring brokenHistory = kChrome + L"Profile 3\\History", brokenCookies = kChrome + L"Profile 3\\Network\\Cookies";
    const std::string historyBefore = ReadWholeFile(brokenHistory), cookiesBefore = ReadWholeFile(brokenCookies);
    Listing history = CategoryOf("browser.chrome.history").list({});
    ASSERT_EQ(history.items.size(), 8u);
    std::set<std::wstring> listed;
    for (const Item& item : history.items) listed.insert(item.text);
    for (const wchar_t* item : {L"History (246 entries)", L"Favicons (3 entries)", L"Visited Links"})
        EXPECT_EQ(listed.count(kChrome + L"Default\\" + item), 1u) << item;
    EXPECT_EQ(history.problems.failed, 1u);

    Result cache = Erase("chrome", "cache");
    EXPECT_TRUE(cache.Complete()) << Utf8(cache.FirstReason());
    EXPECT_EQ(cache.erased, 8u);  // four files in each of two profiles
    for (const wchar_t* f : {L"Cache\\Cache_Data\\f_000001", L"Code Cache\\js\\abc_0", L"GPUCache\\data_0"})
        EXPECT_FALSE(FileExists(kChrome + L"Default\\" + f));

    Result cookies = Erase("chrome", "cookies"), cleared = Erase("chrome", "history");
    EXPECT_EQ(cookies.erased, 120u);  // Profile 1's also at the older place
    EXPECT_EQ(cleared.erased, 2u * 246u + 8u);
    // Cookies and History, in both places, are cleared as real_browser_files checks on real machines' files.
    for (const wchar_t* profile : {L"Default\\", L"Profile 1\\"})
        EXPECT_EQ(Count(kChrome + profile + L"History", "meta"), "1");  // what the browser needs stays
    ExpectCleared(kChrome + L"Default\\Top Sites", {"top_sites"}, "erase-me.example");
    ExpectCleared(kChrome + L"Default\\Shortcuts", {"omni_box_shortcuts"}, "erase-me.example");
    ExpectCleared(kChrome + L"Default\\Favicons", {"icon_mapping", "favicons", "favicon_bitmaps"}, "erase-me.example");
    for (const wchar_t* f : {L"Visited Links", L"Sessions\\Session_13300000000000000"}) EXPECT_FALSE(FileExists(kChrome + L"Default\\" + f));
    // The broken profile's databases are reported, each one, and left byte for byte.
    ASSERT_EQ(cookies.failed, 1u);
    EXPECT_EQ(cookies.reasons[0], brokenCookies + L": not the database Google Chrome keeps there (its integrity check "
                                                  L"failed (row 1 missing from index cookies_unique_index)); left untouched.");
    ASSERT_EQ(cleared.failed, 1u);
    EXPECT_EQ(cleared.reasons[0], brokenHistory + L": not the database Google Chrome keeps there (it has no table visits); left untouched.");
    EXPECT_EQ(ReadWholeFile(brokenHistory), historyBefore);
    EXPECT_EQ(ReadWholeFile(brokenCookies), cookiesBefore);
}

TEST(BrowserErase, FirefoxKeepsBookmarksAndOperaIsOneFolder) {
    for (const char* key : {"cache", "cookies", "history"}) {
        Result r = Erase("firefox", key);
        EXPECT_TRUE(r.Complete()) << key << ": " << Utf8(r.FirstReason());
        EXPECT_GT(r.erased, 0u) << key;
    }
    for (const std::wstring& profile : {kFirefox, kScratch + L"ff-absolute\\"}) {
        const std::wstring places = profile + L"places.sqlite";
        ExpectCleared(profile + L"cookies.sqlite", {"moz_cookies"}, "cookie-value-secret");
        ExpectCleared(places, {"moz_historyvisits", "moz_inputhistory"}, "erase-me");
        ExpectCleared(profile + L"favicons.sqlite", {"moz_icons", "moz_pages_w_icons", "moz_icons_to_pages"}, "erase-me");
        // A kept page keeps its own notes, but no download's.
        EXPECT_EQ(Query(places, "SELECT group_concat(content) FROM moz_annos"), "Kept description");
        EXPECT_FALSE(FileExists(profile + L"sessionstore-backups\\recovery.jsonlz4"));
        EXPECT_EQ(Query(places, "SELECT group_concat(url) FROM moz_places"), "https://keep-me.example/bookmarked");
        EXPECT_EQ(Query(places, "SELECT group_concat(host) FROM moz_origins"), "keep-me.example");
        EXPECT_EQ(Query(places, "SELECT title FROM moz_bookmarks WHERE fk=100"), "Kept bookmark");
        EXPECT_EQ(Count(places, "moz_bookmarks"), "2");
    }
    EXPECT_FALSE(FileExists(kFirefoxLocal + L"cache2\\entries\\0A1B"));
    // Opera, a Chromium browser of the same categories, in a profile folder of its own.
    EXPECT_EQ(Erase("opera", "history").erased, 246u);
    EXPECT_EQ(Erase("opera", "cache").erased, 1u);
    EXPECT_FALSE(FileExists(kScratch + L"ff-absolute\\cache2\\entries\\9F8E"));
}

TEST(BrowserErase, EdgeDatabaseHeldOpenAndProfileThatIsALink) {
    const std::wstring cookies = kEdge + L"Default\\Network\\Cookies";
    const std::string before = ReadWholeFile(cookies), sentinelHistory = ReadWholeFile(kScratch + L"sentinel\\History");
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open_v2(Utf8(cookies).c_str(), &holder, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    Result held = Erase("edge", "cookies");
    EXPECT_EQ(held.erased, 0u);
    const std::wstring inUse = L"Close Microsoft Edge first: its cookies are in use.";
    EXPECT_NE(std::find(held.reasons.begin(), held.reasons.end(), inUse), held.reasons.end()) << Utf8(held.FirstReason());
    EXPECT_EQ(ReadWholeFile(cookies), before);
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(holder);

    for (const char* key : {"cache", "cookies", "history"}) {
        Result r = Erase("edge", key);
        EXPECT_GT(r.erased, 0u) << key;
        // The linked profile is refused once per category, and only it.
        EXPECT_EQ(r.failed, 1u) << key;
        EXPECT_NE(r.FirstReason().find(L"Profile 2"), std::wstring::npos) << key << ": " << Utf8(r.FirstReason());
    }
    EXPECT_EQ(Count(cookies, "cookies"), "0");
    EXPECT_EQ(ReadWholeFile(kScratch + L"sentinel\\History"), sentinelHistory);
    EXPECT_EQ(Count(kScratch + L"sentinel\\Network\\Cookies", "cookies"), "40");
    EXPECT_TRUE(FileExists(kScratch + L"sentinel\\Cache\\Cache_Data\\f_000001"));
}

TEST(BrowserDatabase, OpenedAsDataAndBoundedByStopAndBudget) {
    const std::wstring path = kScratch + L"trigger\\History";
    const BrowserCategoryDef& history = Browser("chrome").categories[2];
    ASSERT_EQ(history.key, "history");
    Result late, stopped, done;
    DatabaseBudgetMs() = 0;
    ClearDatabase(path, history.databases[0], L"Google Chrome", {}, late);
    DatabaseBudgetMs() = 120000;
    StopToken stop;
    stop.Request();
    Options stopping;
    stopping.stop = &stop;
    ClearDatabase(path, history.databases[0], L"Google Chrome", stopping, stopped);
    for (const Result* r : {&late, &stopped}) {
        EXPECT_EQ(r->erased, 0u);
        EXPECT_EQ(r->failed, 1u);
    }
    EXPECT_EQ(late.FirstReason(), path + L": not done within 0 seconds; stopped, its entries stayed.");
    EXPECT_EQ(stopped.FirstReason(), path + L": stopped; its entries stayed.");
    EXPECT_EQ(Count(path, "urls"), "40");
    // Its endless trigger never runs: the clear ends, and nothing of the trigger's is written.
    ClearDatabase(path, history.databases[0], L"Google Chrome", {}, done);
    EXPECT_TRUE(done.Complete()) << Utf8(done.FirstReason());
    EXPECT_EQ(done.erased, 246u);
    EXPECT_EQ(Count(path, "urls"), "0");
    EXPECT_EQ(Count(path, "meta"), "1");
    EXPECT_NE(Query(path, "SELECT count(*) FROM sqlite_master WHERE name='endless'"), "0") << "the browser's schema stays";
}
