// The Typed URLs page: lists url1, url2, ... of the browser's TypedURLs key in registry order and
// erases the whole key, also from a view that never got a window.
#include <gtest/gtest.h>

#include <functional>

#include "AppHarness.h"
#include "TestKit.h"
#include "internet/TypedUrlVw.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t* const kKey = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const wchar_t* const kCaption = L"Corvane-Sweepmere";

class TypedUrlsPage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(StartApp(), nullptr);
        RegDeleteTree(HKEY_CURRENT_USER, kKey);
    }
    void TearDown() override {
        CloseAllPages();
        RegDeleteTree(HKEY_CURRENT_USER, kKey);
    }

    static CTypedUrlVw* Open() { return dynamic_cast<CTypedUrlVw*>(ViewOf(TheApp()->OpenPage("internet.typed-urls"))); }

    static std::vector<std::wstring> Rows(CTypedUrlVw* view) {
        std::vector<std::wstring> rows;
        for (int i = 0; i < view->m_list.GetCount(); ++i) rows.push_back(view->m_list.GetText(i));
        return rows;
    }

    // Presses ERASE (or erases a view without a window) and checks the one box it showed.
    static void ExpectErasedBox(const std::function<void()>& erase) {
        DialogAnswerer box(kCaption);
        erase();
        ASSERT_EQ(box.Count(), 1u);
        EXPECT_EQ(box.Seen()[0].text, L"Typed URLs Completely Erased.");
        EXPECT_TRUE(box.Seen()[0].exStyle & WS_EX_TOPMOST) << L"system-modal";
        EXPECT_EQ(box.Seen()[0].icon, ::LoadIcon(nullptr, IDI_INFORMATION));
    }

    static std::wstring Url(int n) { return L"http://site" + std::to_wstring(n) + L".example/"; }
};
}  // namespace

TEST_F(TypedUrlsPage, ListsInRegistryOrderUpToAGapAValueTooLongOrAHundredEntries) {
    using Values = std::vector<std::pair<std::wstring, std::wstring>>;
    Values many;
    std::vector<std::wstring> hundred;
    for (int n = 1; n <= 150; ++n) many.emplace_back(L"url" + std::to_wstring(n), Url(n));
    for (int n = 1; n <= 100; ++n) hundred.push_back(Url(n));
    const std::pair<Values, std::vector<std::wstring>> cases[] = {
        {{}, {}},
        {{{L"url1", L"http://zeta.example/"}, {L"url2", L"http://alpha.example/"}, {L"url4", Url(4)}},
         {L"http://zeta.example/", L"http://alpha.example/"}},
        // 300 bytes do not fit the page's buffer.
        {{{L"url1", Url(1)}, {L"url2", L"http://long.example/" + std::wstring(279, 'x')}, {L"url3", Url(3)}}, {Url(1)}},
        {many, hundred},
    };
    for (const auto& [values, rows] : cases) {
        RegDeleteTree(HKEY_CURRENT_USER, kKey);
        for (const auto& [name, value] : values) RegSetString(HKEY_CURRENT_USER, kKey, name, value);
        CTypedUrlVw* view = Open();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(Rows(view), rows);
        CloseAllPages();
    }
}

// Registry links inside the key are the engine's own test.
TEST_F(TypedUrlsPage, EraseTakesTheWholeKeyAgainWhenThereIsNoKeyAndFromAViewWithoutAWindow) {
    RegSetString(HKEY_CURRENT_USER, kKey, L"url1", Url(1));
    RegSetString(HKEY_CURRENT_USER, std::wstring(kKey) + L"\\child", L"url1", Url(2));
    CTypedUrlVw* view = Open();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->m_list.GetCount(), 1);
    for (int press = 0; press < 2; ++press) {
        ExpectErasedBox([&] {
            view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TYPEDURL_ERASE, BN_CLICKED),
                              reinterpret_cast<LPARAM>(::GetDlgItem(view->m_hWnd, IDC_TYPEDURL_ERASE)));
        });
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));
        EXPECT_EQ(view->m_list.GetCount(), 0);
    }
    RegSetString(HKEY_CURRENT_USER, kKey, L"url1", Url(1));
    CTypedUrlVw windowless;
    ExpectErasedBox([&] { EXPECT_TRUE(windowless.Erase()); });
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));
}
