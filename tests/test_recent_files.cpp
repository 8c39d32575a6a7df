// The recent-file lists of the applications: what each page lists from its registry key, and how
// its Erase removes the checked values by the exact name they were listed under.
#include <gtest/gtest.h>
#include <algorithm>
#include <windows.h>

#include "AppHarness.h"
#include "Categories.h"
#include "MruBytes.h"
#include "TestKit.h"
#include "Traces.h"
#include "applications/RecentFileListPages.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t* const kThanks = L"Selected items have been Erased. Thank you for using Corvane Scrubline";
const wchar_t* const kSomeStayed = L"Some selected items could not be erased.";
const wchar_t* const kNoFiles = L"There are no Recent Files in this folder";

class RecentFileList : public ::testing::TestWithParam<const RecentFileListRow*> {
protected:
    void SetUp() override {
        ASSERT_NE(StartApp(), nullptr);
        list = engine::FindRecentFileList(Row().category);
        ASSERT_NE(list, nullptr);
        RegDeleteTree(HKEY_CURRENT_USER, list->key);
    }
    void TearDown() override {
        CloseAllPages();
        RegDeleteTree(HKEY_CURRENT_USER, list->key);
    }

    const RecentFileListRow& Row() const { return *GetParam(); }
    std::wstring Name(int n) const { return engine::mru::NumberedName(list->pattern, n); }
    void Seed(int n, const std::wstring& path) { RegSetString(HKEY_CURRENT_USER, list->key, Name(n), path); }
    bool Has(int n) const { return RegValueExists(HKEY_CURRENT_USER, list->key, Name(n)); }

    CRecentFileListView* Open() {
        auto* view = dynamic_cast<CRecentFileListView*>(ViewOf(TheApp()->OpenPage(Row().category)));
        Pump();
        return view;
    }
    using Texts = std::vector<std::wstring>;
    Texts Items(CRecentFileListView* v) const {
        Texts items;
        for (int i = 0; i < v->m_list.GetItemCount(); ++i) items.push_back(v->m_list.GetItemText(i, 0));
        return items;
    }
    // Presses Erase and returns the texts of the boxes it showed (the program's one report box).
    Texts Erase(CRecentFileListView* v) {
        DialogAnswerer boxes(L"Corvane-Sweepmere");
        v->SendMessage(WM_COMMAND, MAKEWPARAM(Row().eraseId, BN_CLICKED), 0);
        Texts texts;
        for (const SeenDialog& d : boxes.Seen()) texts.push_back(d.text);
        return texts;
    }
    const engine::RecentFileList* list = nullptr;
};
}  // namespace

TEST_P(RecentFileList, ListsInReadingOrderAndTheWindowlessEraseTakesEveryListedValue) {
    const int f = list->first;
    Seed(f, L"C:\\a.doc");
    Seed(f + 2, L"C:\\c.doc");
    Seed(f + 3, L"C:\\a.doc");
    Seed(list->last + 1, L"C:\\outside.doc");
    CRecentFileListView* v = Open();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->m_list.GetExtendedStyle(), static_cast<DWORD>(LVS_EX_CHECKBOXES));
    if (list->stopAtFirstMissing)
        EXPECT_EQ(Items(v), (Texts{L"C:\\a.doc"}));
    else
        EXPECT_EQ(Items(v), (Texts{L"C:\\a.doc", L"C:\\c.doc", L"C:\\a.doc"}));
    engine::Result r = engine::RunErase(*engine::FindCategory(Row().category), {});
    EXPECT_EQ(r.erased, static_cast<unsigned>(v->m_list.GetItemCount()));
    EXPECT_TRUE(r.Complete()) << r.FirstReason();
    EXPECT_FALSE(Has(f));
    EXPECT_TRUE(Has(list->last + 1));
}

TEST_P(RecentFileList, EraseTakesTheCheckedValuesByNameAndARenumberedValueStays) {
    const int f = list->first;
    Seed(f, L"C:\\a.doc");
    Seed(f + 1, L"C:\\a.doc");
    Seed(f + 2, L"C:\\b.doc");
    Seed(f + 3, L"C:\\keep.doc");
    CRecentFileListView* v = Open();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->m_list.GetItemCount(), 4);
    v->m_list.SetCheck(0);
    v->m_list.SetCheck(2);
    // The application renumbered its list after the page was filled: the newer value is not the
    // one the user checked.
    Seed(f + 2, L"C:\\newer.doc");

    EXPECT_EQ(Erase(v), (Texts{kThanks}));
    EXPECT_FALSE(Has(f));
    EXPECT_TRUE(Has(f + 1)) << L"an unchecked duplicate stays";
    EXPECT_TRUE(Has(f + 2)) << L"the renumbered value stays";
    EXPECT_TRUE(Has(f + 3));
    EXPECT_EQ(Items(v), (Texts{L"C:\\a.doc", L"C:\\keep.doc"}));  // what was listed as b.doc is gone
}

TEST_P(RecentFileList, NothingCheckedChangesNothingAndALockedKeyKeepsEveryRowThenAllGo) {
    const int count = list->last - list->first + 1;
    for (int n = list->first; n <= list->last; ++n) Seed(n, L"C:\\file" + std::to_wstring(n) + L".doc");
    CRecentFileListView* v = Open();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->m_list.GetItemCount(), count);
    EXPECT_EQ(Erase(v), (Texts{kThanks}));  // nothing checked: nothing changes, the same words
    EXPECT_EQ(v->m_list.GetItemCount(), count);
    EXPECT_TRUE(Has(list->last));

    v->SendMessage(WM_COMMAND, MAKEWPARAM(Row().selectAllId, BN_CLICKED), 0);
    {
        LockedKey lock(list->key);
        ASSERT_TRUE(lock.Locked());
        EXPECT_EQ(Erase(v), (Texts{kSomeStayed}));
    }
    EXPECT_EQ(v->m_list.GetItemCount(), count);
    EXPECT_TRUE(v->m_list.GetCheck(0) && v->m_list.GetCheck(count - 1));
    EXPECT_TRUE(Has(list->first));

    EXPECT_EQ(Erase(v), (Texts{kThanks}));
    EXPECT_EQ(v->m_list.GetItemCount(), 0);
    for (int n = list->first; n <= list->last; ++n) EXPECT_FALSE(Has(n)) << Name(n);
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, list->key));  // values go one by one, never the key
    EXPECT_EQ(Erase(v), (Texts{kNoFiles}));
}

INSTANTIATE_TEST_SUITE_P(
    EightApplications, RecentFileList,
    ::testing::Values(&recentfiles::kAccess, &recentfiles::kMediaPlayer, &recentfiles::kExcel, &recentfiles::kConsole,
                      &recentfiles::kPowerPoint, &recentfiles::kPaint, &recentfiles::kWinzip, &recentfiles::kWordPad),
    [](const ::testing::TestParamInfo<const RecentFileListRow*>& info) {
        std::string name = info.param->category;
        name.erase(std::remove_if(name.begin(), name.end(), [](unsigned char c) { return !isalnum(c); }), name.end());
        return name;
    });
