// The Typed URLs page: shows what the engine lists of the browser's TypedURLs key and erases the
// whole key, also from a view that never got a window. What the list holds, where it ends and
// registry links are the engine's table (tests/engine).
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "internet/TypedUrlVw.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t* const kKey = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
std::wstring Url(int n) { return L"http://site" + std::to_wstring(n) + L".example/"; }

// Erases (by the page's button or a view without a window) and checks the one box it showed.
template <class Erase>
void ExpectErasedBox(Erase erase) {
    DialogAnswerer box(L"Corvane-Sweepmere");
    erase();
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, L"Typed URLs Completely Erased.");
    EXPECT_EQ(box.Seen()[0].icon, ::LoadIcon(nullptr, IDI_INFORMATION));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));
}
}  // namespace

TEST(TypedUrlsPage, ShowsTheEnginesListAndErasesTheWholeKeyAgainWhenThereIsNoKeyAndWithoutAWindow) {
    ASSERT_NE(StartApp(), nullptr);
    RegDeleteTree(HKEY_CURRENT_USER, kKey);
    for (int n : {1, 2, 4}) RegSetString(HKEY_CURRENT_USER, kKey, L"url" + std::to_wstring(n), Url(n));
    RegSetString(HKEY_CURRENT_USER, std::wstring(kKey) + L"\\child", L"url1", Url(2));
    auto* view = OpenPage<CTypedUrlVw>("internet.typed-urls");
    ASSERT_NE(view, nullptr);
    std::vector<std::wstring> rows;
    for (int i = 0; i < view->m_list.GetCount(); ++i) rows.push_back(view->m_list.GetText(i));
    EXPECT_EQ(rows, (std::vector<std::wstring>{Url(1), Url(2)}));
    for (int press = 0; press < 2; ++press) {
        ExpectErasedBox([&] { Press(view, IDC_TYPEDURL_ERASE); });
        EXPECT_EQ(view->m_list.GetCount(), 0);
    }
    CloseAllPages();
    RegSetString(HKEY_CURRENT_USER, kKey, L"url1", Url(1));
    CTypedUrlVw windowless;
    ExpectErasedBox([&] { EXPECT_TRUE(windowless.Erase()); });
}
