// The History page: the addresses of the URL history, sorted by the list, and the clearing of
// the history with its report. The history is the test's own fake (Wine's lists nothing).
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "FakeUrlHistory.h"
#include "internet/HistroryVw.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t kCaption[] = L"Corvane-Sweepmere";

std::vector<std::wstring> Rows(const CListCtrl& list) {
    std::vector<std::wstring> rows;
    for (int i = 0; i < list.GetItemCount(); ++i) rows.push_back(list.GetItemText(i, 0));
    return rows;
}

// Presses "ERASE" and answers the message box; returns what the box showed.
SeenDialog PressErase(CHistroryVw* page) {
    DialogAnswerer box(kCaption);
    Press(page, IDC_HISTORY_ERASE);
    EXPECT_EQ(box.Count(), 1u);
    return box.Count() ? box.Seen()[0] : SeenDialog{};
}
}  // namespace

// The page is closed by its last section.
TEST(HistoryPage, ListsTheAddressesSortedEmptiesTheListOnlyOnceClearedAndIgnoresEraseUnderItsBox) {
    const std::vector<std::wstring> sorted{L"http://alpha.example/", L"http://caf\xE9.example/", L"http://mid.example/",
                                           L"http://zeta.example/", L"http://\u4f8b\u3048.jp/"};
    CHistroryVw* page;
    {
        // Listed as they are, sorted by the list; an entry without an address is skipped.
        FakeUrlHistory listing({{L"http://zeta.example/", L"http://alpha.example/", std::nullopt,
                                 L"http://caf\u00e9.example/", L"http://\u4f8b\u3048.jp/", L"http://mid.example/"}});
        page = OpenPage<CHistroryVw>("internet.history");
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(Rows(page->m_list), sorted);
        EXPECT_EQ(listing.LiveObjects(), 0) << L"the history and its enumerator are released";
    }
    {
        FakeUrlHistory unmade({{L"http://kept.example/"}, S_OK, E_OUTOFMEMORY});
        EXPECT_EQ(PressErase(page).text, L" Internet Explorer History could not be erased.");
        EXPECT_EQ(Rows(page->m_list), sorted);
    }
    FakeUrlHistory history({{L"http://kept.example/"}});
    SeenDialog box = PressErase(page);
    EXPECT_EQ(box.text, L" Internet Explorer History Completely Erased.");
    EXPECT_TRUE(box.exStyle & WS_EX_TOPMOST) << L"system-modal";
    EXPECT_EQ(box.icon, ::LoadIcon(nullptr, IDI_INFORMATION));
    EXPECT_EQ((std::pair{page->m_list.GetItemCount(), history.ClearCalls()}), (std::pair{0, 1}));

    // ERASE again and a close both reach the page inside the box's loop: the one is ignored, and the
    // page closed under its box is left alone.
    HWND button = ::GetDlgItem(page->m_hWnd, IDC_HISTORY_ERASE);
    WPARAM erase = MAKEWPARAM(IDC_HISTORY_ERASE, BN_CLICKED);
    DialogAnswerer again(kCaption, IDOK, 300);
    page->PostMessage(WM_COMMAND, erase, reinterpret_cast<LPARAM>(button));
    page->GetParentFrame()->PostMessage(WM_CLOSE);
    page->SendMessage(WM_COMMAND, erase, reinterpret_cast<LPARAM>(button));
    Pump();
    EXPECT_EQ(again.Count(), 1u);
    EXPECT_TRUE(TheApp()->PageTemplate("internet.history")->GetDocuments().empty());
}
