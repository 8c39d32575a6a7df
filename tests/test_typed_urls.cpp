// The Typed URLs page: shows what the engine lists of the browser's TypedURLs key and erases the
// whole key, also from a view that never got a window.
#include <gtest/gtest.h>

#include <functional>

#include "AppHarness.h"
#include "TestKit.h"
#include "TraceCategories.h"
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

// What the list holds, where it ends and registry links are the engine's table (tests/engine).
TEST_F(TypedUrlsPage, ShowsTheEnginesListAndErasesTheWholeKeyAgainWhenThereIsNoKeyAndWithoutAWindow) {
    for (int n : {1, 2, 4}) RegSetString(HKEY_CURRENT_USER, kKey, L"url" + std::to_wstring(n), Url(n));
    RegSetString(HKEY_CURRENT_USER, std::wstring(kKey) + L"\\child", L"url1", Url(2));
    CTypedUrlVw* view = Open();
    ASSERT_NE(view, nullptr);
    std::vector<std::wstring> listed;
    for (const engine::TraceEntry& e : engine::ReadTraces(*engine::FindTraceDefinition("internet.typed-urls"))) listed.push_back(e.text);
    EXPECT_EQ(Rows(view), listed);
    EXPECT_EQ(Rows(view), (std::vector<std::wstring>{Url(1), Url(2)}));
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
