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

class HistoryPage : public testing::Test {
protected:
    void TearDown() override { CloseAllPages(); }
};
}  // namespace

TEST_F(HistoryPage, ListsTheAddressesInAscendingOrderAsTheyAreSkippingEntriesWithoutOne) {
    FakeUrlHistory history({{L"http://zeta.example/", L"http://alpha.example/", std::nullopt,
                             L"http://caf\u00e9.example/", L"http://\u4f8b\u3048.jp/", L"http://mid.example/"}});
    CHistroryVw* page = OpenPage<CHistroryVw>("internet.history");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Rows(page->m_list),
              (std::vector<std::wstring>{L"http://alpha.example/", L"http://caf\xE9.example/", L"http://mid.example/",
                                        L"http://zeta.example/", L"http://\u4f8b\u3048.jp/"}));
    EXPECT_EQ(history.LiveObjects(), 0) << L"the history and its enumerator are released";
}

TEST_F(HistoryPage, EraseReportsWhetherTheHistoryWasClearedAndEmptiesTheListOnlyThen) {
    CHistroryVw* page;
    {
        FakeUrlHistory listing({{L"http://kept.example/"}});
        page = OpenPage<CHistroryVw>("internet.history");
    }
    ASSERT_NE(page, nullptr);
    {
        FakeUrlHistory unmade({{L"http://kept.example/"}, S_OK, E_OUTOFMEMORY});
        EXPECT_EQ(PressErase(page).text, L" Internet Explorer History could not be erased.");
        EXPECT_EQ(Rows(page->m_list), (std::vector<std::wstring>{L"http://kept.example/"}));
    }
    FakeUrlHistory history({{L"http://kept.example/"}});
    SeenDialog box = PressErase(page);
    EXPECT_EQ(box.text, L" Internet Explorer History Completely Erased.");
    EXPECT_TRUE(box.exStyle & WS_EX_TOPMOST) << L"system-modal";
    EXPECT_EQ(box.icon, ::LoadIcon(nullptr, IDI_INFORMATION));
    EXPECT_EQ((std::pair{page->m_list.GetItemCount(), history.ClearCalls()}), (std::pair{0, 1}));
}

TEST_F(HistoryPage, EraseAgainUnderItsBoxIsIgnoredAndAPageClosedUnderItIsLeftAlone) {
    FakeUrlHistory history({{L"http://a.example/"}});
    CHistroryVw* page = OpenPage<CHistroryVw>("internet.history");
    ASSERT_NE(page, nullptr);
    HWND button = ::GetDlgItem(page->m_hWnd, IDC_HISTORY_ERASE);
    WPARAM erase = MAKEWPARAM(IDC_HISTORY_ERASE, BN_CLICKED);
    DialogAnswerer box(kCaption, IDOK, 300);
    // Both reach the page inside the message box's loop: first ERASE again, then the close.
    page->PostMessage(WM_COMMAND, erase, reinterpret_cast<LPARAM>(button));
    page->GetParentFrame()->PostMessage(WM_CLOSE);
    page->SendMessage(WM_COMMAND, erase, reinterpret_cast<LPARAM>(button));
    Pump();
    EXPECT_EQ(box.Count(), 1u);
    EXPECT_TRUE(TheApp()->PageTemplate("internet.history")->GetDocuments().empty());
}
