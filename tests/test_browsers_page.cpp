// The Web Browsers summary against the profiles tests/browsers/make_profiles.sh makes in the test
// prefix: a row per category of each browser found, a row's Erase and Erase Now through the
// engine with one report each, a page closed during an erase, and no browser at all.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "AppHarness.h"
#include "ModalScript.h"
#include "Pages.h"
#include "TestKit.h"
#include "Text.h"
#include "browsers/BrowsersVw.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t kCaption[] = L"Corvane-Sweepmere";

std::wstring Expand(const wchar_t* text) {
    wchar_t out[MAX_PATH];
    ::ExpandEnvironmentStringsW(text, out, MAX_PATH);
    return out;
}
const std::wstring kFirefoxCookies = Expand(L"%APPDATA%\\Mozilla\\Firefox\\Profiles\\abcd.default-release\\cookies.sqlite");
const std::wstring kFirefoxCache = Expand(L"%LOCALAPPDATA%\\Mozilla\\Firefox\\Profiles\\abcd.default-release\\cache2\\entries\\");
const std::wstring kChromeCache = Expand(L"%LOCALAPPDATA%\\Google\\Chrome\\User Data\\Default\\Cache\\Cache_Data\\");

// Runs a statement; the first column of its first row as a number, -1 on any error.
long long Sql(const std::wstring& path, const std::string& sql) {
    sqlite3* db = nullptr;
    long long value = -1;
    if (sqlite3_open_v2(engine::Utf8(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
            int step = sqlite3_step(st);
            value = step == SQLITE_ROW ? sqlite3_column_int64(st, 0) : step == SQLITE_DONE ? 0 : -1;
        }
        sqlite3_finalize(st);
    }
    sqlite3_close_v2(db);
    return value;
}
long long Cookies() { return Sql(kFirefoxCookies, "SELECT count(*) FROM moz_cookies"); }
void SeedCookie() {
    Sql(kFirefoxCookies, "INSERT OR IGNORE INTO moz_cookies(name, value, host, path) VALUES ('page', 'v', '.page.example', '/')");
}

class BrowsersPage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(StartApp(), nullptr); }
    void TearDown() override { CloseAllPages(); }
    CBrowsersVw* Open() {
        view = dynamic_cast<CBrowsersVw*>(ViewOf(TheApp()->OpenPage(pages::kBrowsers)));
        if (view) {
            EXPECT_TRUE(PumpUntil([&] { return !view->Busy(); }, 20000));
        }
        return view;
    }
    size_t Row(const std::string& key) const {
        for (size_t i = 0; i < view->Rows().size(); ++i)
            if (view->Rows()[i].key == key) return i;
        ADD_FAILURE() << "no row " << key;
        return 0;
    }
    HWND Item(int id) const { return ::GetDlgItem(view->m_hWnd, id); }
    void Press(int id) { view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
    // Presses the button, checks that the page's buttons wait for the erase, and returns its boxes.
    std::vector<SeenDialog> EraseWith(int id) {
        DialogAnswerer boxes(kCaption);
        Press(id);
        if (view->Busy()) {
            EXPECT_FALSE(::IsWindowEnabled(Item(IDC_BROWSERS_ERASE_NOW)));
            EXPECT_FALSE(::IsWindowEnabled(Item(CBrowsersVw::EraseId(0))));
        }
        EXPECT_TRUE(PumpUntil([&] { return !view->Busy(); }, 20000));
        EXPECT_TRUE(::IsWindowEnabled(Item(IDC_BROWSERS_ERASE_NOW)));
        return boxes.Seen();
    }
    CBrowsersVw* view = nullptr;
};
}  // namespace

TEST_F(BrowsersPage, ShowsOneRowPerCategoryOfEachBrowserFoundWithItsProfiles) {
    ASSERT_NE(Open(), nullptr);
    ASSERT_EQ(view->Rows().size(), 12u);  // Edge, Chrome, Firefox and Opera
    EXPECT_EQ(ItemText(view->m_hWnd, IDC_BROWSERS_NONE), L"");
    struct Expected { const char* key; const wchar_t *heading, *profiles; };
    for (const Expected& e : {Expected{"browser.chrome.history", L"Google Chrome: History", L"3 profiles, "},
                              Expected{"browser.edge.cache", L"Microsoft Edge: Cache", L"1 profile, "},
                              Expected{"browser.firefox.cookies", L"Mozilla Firefox: Cookies", L"2 profiles, "}}) {
        size_t i = Row(e.key);
        EXPECT_EQ(ItemText(view->m_hWnd, CBrowsersVw::HeadingId(i)), e.heading);
        EXPECT_EQ(ItemText(view->m_hWnd, CBrowsersVw::DescriptionId(i)).rfind(e.profiles, 0), 0u)
            << engine::Utf8(ItemText(view->m_hWnd, CBrowsersVw::DescriptionId(i)));
        EXPECT_TRUE(::IsWindowEnabled(Item(CBrowsersVw::EraseId(i))));
    }
    auto checked = [&] {
        size_t n = 0;
        for (size_t i = 0; i < view->Rows().size(); ++i)
            n += ::SendMessageW(Item(CBrowsersVw::CheckId(i)), BM_GETCHECK, 0, 0) == BST_CHECKED;
        return n;
    };
    Press(IDC_BROWSERS_SELECTALL);
    EXPECT_EQ(checked(), 12u);
    Press(IDC_BROWSERS_CLEARALL);
    EXPECT_EQ(checked(), 0u);
}

TEST_F(BrowsersPage, ARowsEraseEmptiesItsCategoryOnlyAndReportsOnce) {
    SeedCookie();
    ::CreateDirectoryW(kChromeCache.c_str(), nullptr);
    WriteFile(kChromeCache + L"page-kept");
    ASSERT_GT(Cookies(), 0);
    ASSERT_NE(Open(), nullptr);
    size_t row = Row("browser.firefox.cookies");
    EXPECT_EQ(ItemText(view->m_hWnd, CBrowsersVw::DescriptionId(row)).find(L", 0 items,"), std::wstring::npos);

    std::vector<SeenDialog> boxes = EraseWith(CBrowsersVw::EraseId(row));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind(L"Mozilla Firefox: Cookies", 0), 0u) << engine::Utf8(boxes[0].text);
    EXPECT_EQ(Cookies(), 0);
    EXPECT_TRUE(FileExists(kChromeCache + L"page-kept"));
    EXPECT_NE(ItemText(view->m_hWnd, CBrowsersVw::DescriptionId(Row("browser.firefox.cookies"))).find(L", 0 items,"),
              std::wstring::npos);
}

TEST_F(BrowsersPage, EraseNowErasesTheCheckedRowsAndAsksForOneWhenNoneIs) {
    ASSERT_NE(Open(), nullptr);
    std::vector<SeenDialog> none = EraseWith(IDC_BROWSERS_ERASE_NOW);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].text, CBrowsersVw::kNothingChecked);

    SeedCookie();
    ::CreateDirectoryW(kFirefoxCache.c_str(), nullptr);
    WriteFile(kFirefoxCache + L"page-seed");
    ::CreateDirectoryW(kChromeCache.c_str(), nullptr);
    WriteFile(kChromeCache + L"page-kept");
    for (const char* key : {"browser.firefox.cookies", "browser.firefox.cache"})
        ::SendMessageW(Item(CBrowsersVw::CheckId(Row(key))), BM_SETCHECK, BST_CHECKED, 0);
    std::vector<SeenDialog> boxes = EraseWith(IDC_BROWSERS_ERASE_NOW);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(L"Mozilla Firefox: Cache"), std::wstring::npos);
    EXPECT_NE(boxes[0].text.find(L"Mozilla Firefox: Cookies"), std::wstring::npos);
    EXPECT_EQ(Cookies(), 0);
    EXPECT_FALSE(FileExists(kFirefoxCache + L"page-seed"));
    EXPECT_TRUE(FileExists(kChromeCache + L"page-kept"));
    EXPECT_EQ(::SendMessageW(Item(CBrowsersVw::CheckId(Row("browser.firefox.cache"))), BM_GETCHECK, 0, 0), BST_CHECKED)
        << "the rows counted again keep their checks";
}

TEST_F(BrowsersPage, APageClosedDuringAnEraseIsNeverToldOfIt) {
    SeedCookie();
    ASSERT_NE(Open(), nullptr);
    DialogAnswerer boxes(kCaption);
    Press(CBrowsersVw::EraseId(Row("browser.firefox.cookies")));
    CloseAllPages();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(BrowsersPage, NoBrowserAtAllSaysSo) {
    std::wstring empty = ScratchFolder(L"no-browsers");
    wchar_t local[MAX_PATH], roaming[MAX_PATH];
    ::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    ::GetEnvironmentVariableW(L"APPDATA", roaming, MAX_PATH);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", empty.c_str());
    ::SetEnvironmentVariableW(L"APPDATA", empty.c_str());
    Open();
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", local);
    ::SetEnvironmentVariableW(L"APPDATA", roaming);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->Rows().empty());
    EXPECT_EQ(ItemText(view->m_hWnd, IDC_BROWSERS_NONE), CBrowsersVw::kNoneFound);
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_BROWSERS_ERASE_NOW)));
}
