// The recent-file lists of the applications: what each page lists from its registry key, and how
// its Erase removes the checked values by the exact name they were listed under.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "applications/RecentFileListPages.h"

using namespace testkit;

namespace {
using Texts = std::vector<std::wstring>;
const wchar_t* const kThanks = L"Selected items have been Erased. Thank you for using Corvane Scrubline";

class RecentFileList : public ::testing::TestWithParam<const RecentFileListRow*> {
protected:
    void SetUp() override {
        ASSERT_NE(StartApp(), nullptr);
        list = NumberedListOf(Row().category);
        RegDeleteTree(HKEY_CURRENT_USER, list.key);
    }
    void TearDown() override {
        CloseAllPages();
        RegDeleteTree(HKEY_CURRENT_USER, list.key);
    }

    const RecentFileListRow& Row() const { return *GetParam(); }
    void Seed(int n, const std::wstring& path) { RegSetString(HKEY_CURRENT_USER, list.key, list.Name(n), path); }
    bool Has(int n) const { return RegValueExists(HKEY_CURRENT_USER, list.key, list.Name(n)); }
    static Texts Items(CRecentFileListView* v) {
        Texts items;
        for (int i = 0; i < v->m_list.GetItemCount(); ++i) items.push_back(v->m_list.GetItemText(i, 0));
        return items;
    }
    // Presses Erase and returns the texts of the boxes it showed (the program's one report box).
    Texts Erase(CRecentFileListView* v) {
        DialogAnswerer boxes(L"Corvane-Sweepmere");
        Press(v, Row().eraseId);
        Texts texts;
        for (const SeenDialog& d : boxes.Seen()) texts.push_back(d.text);
        return texts;
    }
    NumberedList list;
};
}  // namespace

// The page shows what the engine lists; the rules of each list are the engine's table (tests/engine).
TEST_P(RecentFileList, ErasesTheCheckedEntriesByNameKeepingWhatStayedAndARenumberedValue) {
    SCOPED_TRACE(Row().category);
    const int f = list.first;
    // The last one outside any 8-bit code page (Cyrillic, CJK and a surrogate pair): shown and erased as it is.
    const Texts paths{L"C:\\a.doc", L"C:\\a.doc", L"C:\\b.doc", L"C:\\\u043e\u0442\u0447\u0451\u0442 \u5c65\u6b74 \xD834\xDD1E.doc"};
    for (int n = 0; n < 4; ++n) Seed(f + n, paths[n]);
    auto* v = OpenPage<CRecentFileListView>(Row().category);
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(Items(v), paths);
    EXPECT_EQ(Erase(v), (Texts{kThanks}));  // nothing checked: nothing changes, the same words
    v->m_list.SetCheck(0);
    v->m_list.SetCheck(2);
    {
        LockedKey lock(list.key);
        ASSERT_TRUE(lock.Locked());
        EXPECT_EQ(Erase(v), (Texts{L"Some selected items could not be erased."}));
    }
    EXPECT_EQ(v->m_list.GetItemCount(), 4);
    EXPECT_TRUE(v->m_list.GetCheck(0) && v->m_list.GetCheck(2));
    // The application renumbered its list after the page was filled: the newer value is not the
    // one the user checked.
    Seed(f + 2, L"C:\\newer.doc");
    EXPECT_EQ(Erase(v), (Texts{kThanks}));
    EXPECT_FALSE(Has(f));
    EXPECT_TRUE(Has(f + 1)) << L"an unchecked duplicate stays";
    EXPECT_TRUE(Has(f + 2)) << L"the renumbered value stays";
    EXPECT_EQ(Items(v), (Texts{paths[1], paths[3]}));  // what was listed as b.doc is gone

    Press(v, Row().selectAllId);
    EXPECT_EQ(Erase(v), (Texts{kThanks}));
    EXPECT_EQ(v->m_list.GetItemCount(), 0);
    EXPECT_FALSE(Has(f + 1) || Has(f + 3));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, list.key));  // values go one by one, never the key
    EXPECT_EQ(Erase(v), (Texts{L"There are no Recent Files in this folder"}));
}

INSTANTIATE_TEST_SUITE_P(EightApplications, RecentFileList,
                         ::testing::Values(&recentfiles::kAccess, &recentfiles::kMediaPlayer, &recentfiles::kExcel, &recentfiles::kConsole,
                                           &recentfiles::kPowerPoint, &recentfiles::kPaint, &recentfiles::kWinzip, &recentfiles::kWordPad));
