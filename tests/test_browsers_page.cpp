// The Web Browsers summary against the profiles tests/browsers/make_profiles.sh makes in the test
// prefix: a row per category of each browser found, the erases through the engine's runner with
// one report each and the rows counted again, a page closed during an erase, and no browser at
// all. What each browser category erases is the engine's suite's.
#include <gtest/gtest.h>

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

class BrowsersPage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(StartApp(), nullptr); }
    void TearDown() override { CloseAllPages(); }
    CBrowsersVw* Open() {
        view = dynamic_cast<CBrowsersVw*>(ViewOf(TheApp()->OpenPage(pages::kBrowsers)));
        if (view) EXPECT_TRUE(PumpUntil([&] { return !view->Busy(); }, 20000));
        return view;
    }
    size_t Row(const std::string& key) const {
        for (size_t i = 0; i < view->Rows().size(); ++i)
            if (view->Rows()[i].key == key) return i;
        ADD_FAILURE() << "no row " << key;
        return 0;
    }
    std::wstring Description(const std::string& key) const { return ItemText(view->m_hWnd, CBrowsersVw::DescriptionId(Row(key))); }
    HWND Item(int id) const { return ::GetDlgItem(view->m_hWnd, id); }
    void Press(int id) { view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
    // Presses the button, checks that the page's buttons wait for the erase, and returns its boxes.
    std::vector<SeenDialog> EraseWith(int id) {
        DialogAnswerer boxes(kCaption);
        Press(id);
        if (view->Busy()) {
            EXPECT_FALSE(::IsWindowEnabled(Item(IDC_BROWSERS_ERASE_NOW)));
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
        EXPECT_EQ(ItemText(view->m_hWnd, CBrowsersVw::HeadingId(Row(e.key))), e.heading);
        EXPECT_EQ(Description(e.key).rfind(e.profiles, 0), 0u) << engine::Utf8(Description(e.key));
        EXPECT_TRUE(::IsWindowEnabled(Item(CBrowsersVw::EraseId(Row(e.key)))));
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

TEST_F(BrowsersPage, ARowsEraseAndEraseNowRunTheirCategoriesReportOnceAndCountAgain) {
    ASSERT_NE(Open(), nullptr);
    std::vector<SeenDialog> boxes = EraseWith(IDC_BROWSERS_ERASE_NOW);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, CBrowsersVw::kNothingChecked);

    EXPECT_EQ(Description("browser.firefox.cookies").find(L", 0 items,"), std::wstring::npos);
    boxes = EraseWith(CBrowsersVw::EraseId(Row("browser.firefox.cookies")));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind(L"Mozilla Firefox: Cookies (", 0), 0u) << engine::Utf8(boxes[0].text);
    EXPECT_EQ(boxes[0].text.find(L"Mozilla Firefox: Cache"), std::wstring::npos);
    EXPECT_NE(Description("browser.firefox.cookies").find(L", 0 items,"), std::wstring::npos);

    for (const char* key : {"browser.chrome.cookies", "browser.firefox.cache"})
        ::SendMessageW(Item(CBrowsersVw::CheckId(Row(key))), BM_SETCHECK, BST_CHECKED, 0);
    boxes = EraseWith(IDC_BROWSERS_ERASE_NOW);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(L"Google Chrome: Cookies ("), std::wstring::npos);
    EXPECT_NE(boxes[0].text.find(L"Mozilla Firefox: Cache ("), std::wstring::npos);
    EXPECT_EQ(::SendMessageW(Item(CBrowsersVw::CheckId(Row("browser.firefox.cache"))), BM_GETCHECK, 0, 0), BST_CHECKED)
        << "the rows counted again keep their checks";
}

TEST_F(BrowsersPage, APageClosedDuringAnEraseIsNeverToldOfIt) {
    ASSERT_NE(Open(), nullptr);
    DialogAnswerer boxes(kCaption);
    Press(CBrowsersVw::EraseId(Row("browser.edge.cache")));
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
