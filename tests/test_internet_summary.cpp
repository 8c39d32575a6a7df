// The Internet summary page: its check boxes decide "Erase Selected", which erases only the
// checked categories with one report; a row's erase ignores the boxes. The busy controls, the
// "Details..." links and a page closed under its report are the summary family's own tests.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "internet/InternetVw.h"
#include "Pages.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t kTypedUrlsKey[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The shell rewrites "Shell Folders" from these whenever it resolves a folder (the history's
// erase does): both name the scratch folders.
const wchar_t kUserShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::vector<int> kChecks{IDC_INTERNET_CHECK_TEMPNET, IDC_INTERNET_CHECK_COOKIES, IDC_INTERNET_CHECK_HISTORY,
                               IDC_INTERNET_CHECK_TYPEDURL};

class InternetPage : public testing::Test {
protected:
    void SetUp() override {
        page = dynamic_cast<CInternetVw*>(ViewOf(StartApp()->OpenPage(pages::kInternet)));
        Pump();
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override { CloseAllPages(); }

    HWND Item(int id) const { return ::GetDlgItem(page->m_hWnd, id); }
    void Click(int id) { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    bool Checked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool CanEraseSelected() const { return ::IsWindowEnabled(Item(IDC_INTERNET_ERASE_SELECTED)) != FALSE; }
    // Presses the button, waits for the erase and its report, and returns the categories the
    // report names (each line up to " ("), its text in text.
    std::vector<std::wstring> Erase(int id, std::wstring* text = nullptr) {
        DialogAnswerer box(L"Corvane-Sweepmere");
        Click(id);
        EXPECT_TRUE(PumpUntil([&] { return !page->Erasing(); }, 20000));
        EXPECT_EQ(box.Count(), 1u) << L"one report, no progress dialog";
        std::vector<std::wstring> names;
        const std::wstring t = box.Count() ? box.Seen()[0].text : L"";
        for (size_t at = 0; at < t.size();) {
            size_t end = t.find(L'\n', at), paren = t.find(L" (", at);
            if (paren < end) names.push_back(t.substr(at, paren - at));
            at = end == std::wstring::npos ? t.size() : end + 1;
        }
        if (text) *text = t;
        return names;
    }
    // Points the cache and cookie folders at scratch folders holding files, and types one address.
    void SeedTraces() {
        cache = ScratchFolder(L"summary-cache");
        cookies = ScratchFolder(L"summary-cookies");
        WriteFile(cache + L"\\page.htm");
        WriteFile(cookies + L"\\user@site.txt");
        for (const wchar_t* key : {kShellFoldersKey, kUserShellFoldersKey}) {
            RegSetString(HKEY_CURRENT_USER, key, L"Cache", cache);
            RegSetString(HKEY_CURRENT_USER, key, L"Cookies", cookies);
        }
        RegSetString(HKEY_CURRENT_USER, kTypedUrlsKey, L"url1", L"http://typed.example/");
    }

    CInternetVw* page = nullptr;
    std::wstring cache, cookies;
};
}  // namespace

TEST_F(InternetPage, TheCheckBoxesDecideWhetherEraseSelectedIsEnabled) {
    for (int id : kChecks) EXPECT_TRUE(Checked(id)) << id;
    EXPECT_TRUE(CanEraseSelected());
    Click(IDC_INTERNET_CLEARALL);
    for (int id : kChecks) EXPECT_FALSE(Checked(id)) << id;
    EXPECT_FALSE(CanEraseSelected());
    for (int id : kChecks) {
        Click(id);
        EXPECT_TRUE(CanEraseSelected()) << L"only " << id << L" checked";
        Click(id);
        EXPECT_FALSE(CanEraseSelected());
    }
    Click(IDC_INTERNET_SELECTALL);
    for (int id : kChecks) EXPECT_TRUE(Checked(id)) << id;
    EXPECT_TRUE(CanEraseSelected());
}

TEST_F(InternetPage, EraseSelectedRunsOnlyTheCheckedCategories) {
    SeedTraces();
    Click(IDC_INTERNET_CLEARALL);
    Click(IDC_INTERNET_CHECK_COOKIES);
    Click(IDC_INTERNET_CHECK_HISTORY);
    std::wstring text;
    EXPECT_EQ(Erase(IDC_INTERNET_ERASE_SELECTED, &text), (std::vector<std::wstring>{L"History", L"Cookies"}));
    // Wine's history clears nothing, and the test's fake history is not reached from the
    // worker's apartment: the report says the history stayed.
    EXPECT_NE(text.find(L"History could not be erased"), std::wstring::npos) << text;
    EXPECT_FALSE(FileExists(cookies + L"\\user@site.txt"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kTypedUrlsKey, L"url1")) << L"typed addresses untouched";
    EXPECT_TRUE(FileExists(cache + L"\\page.htm")) << L"cache untouched";
}

TEST_F(InternetPage, ARowsEraseIgnoresTheCheckBoxes) {
    SeedTraces();
    Click(IDC_INTERNET_CLEARALL);
    EXPECT_EQ(Erase(IDC_INTERNET_ERASE_TEMPNET), std::vector<std::wstring>{L"Temporary Internet Files"});
    EXPECT_FALSE(FileExists(cache + L"\\page.htm"));
    EXPECT_TRUE(FileExists(cookies + L"\\user@site.txt"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kTypedUrlsKey, L"url1"));
    for (int id : kChecks) EXPECT_FALSE(Checked(id));
}
