// The recent-file lists of the applications: what each page lists from its registry key, and how
// its Erase and its window-less erase remove values by their content.
#include <gtest/gtest.h>
#include <algorithm>
#include <windows.h>

#include "AppHarness.h"
#include "TestKit.h"
#include "applications/RecentFileListPages.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t* const kThanks = L"Selected items have been Erased. Thank you for using Corvane Scrubline";
const wchar_t* const kSomeStayed = L"Some selected items could not be erased.";
const wchar_t* const kNoFiles = L"There are no Recent Files in this folder";

struct Family {
    const char* page;
    const RecentFileListRow* row;
};

class RecentFileList : public ::testing::TestWithParam<Family> {
protected:
    void SetUp() override {
        ASSERT_NE(StartApp(), nullptr);
        RegDeleteTree(HKEY_CURRENT_USER, Row().key);
    }
    void TearDown() override {
        CloseAllPages();
        RegDeleteTree(HKEY_CURRENT_USER, Row().key);
    }

    const RecentFileListRow& Row() const { return *GetParam().row; }
    std::wstring Name(int n) const { return recentfiles::ValueName(Row(), n); }
    void Seed(int n, const std::wstring& path) { RegSetString(HKEY_CURRENT_USER, Row().key, Name(n), path); }
    bool Has(int n) const { return RegValueExists(HKEY_CURRENT_USER, Row().key, Name(n)); }

    CRecentFileListView* Open() {
        auto* view = dynamic_cast<CRecentFileListView*>(ViewOf(TheApp()->OpenPage(GetParam().page)));
        Pump();
        return view;
    }
    std::vector<std::wstring> Items(CRecentFileListView* v) const {
        std::vector<std::wstring> items;
        for (int i = 0; i < v->m_list.GetItemCount(); ++i) items.push_back(v->m_list.GetItemText(i, 0));
        return items;
    }
    using Texts = std::vector<std::wstring>;
    // Presses Erase and returns the texts of the message boxes it showed.
    Texts Erase(CRecentFileListView* v) {
        DialogAnswerer boxes(L"Application");
        v->SendMessage(WM_COMMAND, MAKEWPARAM(Row().eraseId, BN_CLICKED), 0);
        Texts texts;
        for (const SeenDialog& d : boxes.Seen()) texts.push_back(d.text);
        return texts;
    }
};
}  // namespace

TEST_P(RecentFileList, ListsInReadingOrderSkippingOrStoppingAtAGapAndLeavingOutTooLongData) {
    const int f = Row().first;
    Seed(f, L"C:\\a.doc");
    Seed(f + 2, L"C:\\c.doc");
    Seed(f + 3, L"C:\\a.doc");
    RegSetString(HKEY_CURRENT_USER, Row().key, Name(f + 4), std::wstring(300, 'x'));
    Seed(Row().last + 1, L"C:\\outside.doc");
    CRecentFileListView* v = Open();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->m_list.GetExtendedStyle(), static_cast<DWORD>(LVS_EX_CHECKBOXES));
    if (Row().stopAtFirstMissing)
        EXPECT_EQ(Items(v), (Texts{L"C:\\a.doc"}));
    else
        EXPECT_EQ(Items(v), (Texts{L"C:\\a.doc", L"C:\\c.doc", L"C:\\a.doc"}));
    // Without a window every listed entry goes; the second "a" finds its value gone and counts.
    EraseResult r = CRecentFileListView::EraseWithoutWindow(Row());
    EXPECT_EQ(r.erased, static_cast<unsigned>(v->m_list.GetItemCount()));
    EXPECT_TRUE(r.Complete());
    EXPECT_FALSE(Has(f));
    EXPECT_TRUE(Has(Row().last + 1));
}

TEST_P(RecentFileList, EraseGoesByContentSoRenumberedValuesAndDuplicatesGoAndTheRestStays) {
    const int f = Row().first;
    Seed(f, L"C:\\a.doc");
    Seed(f + 1, L"C:\\a.doc");
    Seed(f + 2, L"C:\\b.doc");
    Seed(f + 3, L"C:\\keep.doc");
    Seed(Row().last + 1, L"C:\\a.doc");  // outside the range: never touched
    CRecentFileListView* v = Open();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->m_list.GetItemCount(), 4);
    v->m_list.SetCheck(0);
    v->m_list.SetCheck(2);
    // The application renumbered its list after the page was filled.
    RegSetString(HKEY_CURRENT_USER, Row().key, Name(Row().last), L"C:\\b.doc");
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, Row().key, Name(f + 2).c_str());

    EXPECT_EQ(Erase(v), (Texts{kThanks}));
    EXPECT_EQ(Items(v), (Texts{L"C:\\a.doc", L"C:\\keep.doc"}));  // the unchecked duplicate stays listed
    EXPECT_FALSE(Has(f));
    EXPECT_FALSE(Has(f + 1));
    EXPECT_FALSE(Has(Row().last));
    EXPECT_TRUE(Has(f + 3));
    EXPECT_TRUE(Has(Row().last + 1));
}

TEST_P(RecentFileList, NothingCheckedChangesNothingAndALockedKeyKeepsEveryRowThenAllGo) {
    const int count = Row().last - Row().first + 1;
    for (int n = Row().first; n <= Row().last; ++n) Seed(n, L"C:\\file" + std::to_wstring(n) + L".doc");
    CRecentFileListView* v = Open();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->m_list.GetItemCount(), count);
    EXPECT_EQ(Erase(v), (Texts{kThanks}));  // nothing checked: nothing changes, the same words
    EXPECT_EQ(v->m_list.GetItemCount(), count);
    EXPECT_TRUE(Has(Row().last));

    v->SendMessage(WM_COMMAND, MAKEWPARAM(Row().selectAllId, BN_CLICKED), 0);
    {
        LockedKey lock(Row().key);
        ASSERT_TRUE(lock.Locked());
        EXPECT_EQ(Erase(v), (Texts{kSomeStayed}));
        EraseResult r = CRecentFileListView::EraseWithoutWindow(Row());
        EXPECT_EQ(r.erased, 0u);
        EXPECT_EQ(r.failed, static_cast<unsigned>(count));
        EXPECT_NE(r.firstReason.find(Name(Row().first)), std::wstring::npos) << r.firstReason;
    }
    EXPECT_EQ(v->m_list.GetItemCount(), count);
    EXPECT_TRUE(v->m_list.GetCheck(0) && v->m_list.GetCheck(count - 1));
    EXPECT_TRUE(Has(Row().first));

    EXPECT_EQ(Erase(v), (Texts{kThanks}));
    EXPECT_EQ(v->m_list.GetItemCount(), 0);
    for (int n = Row().first; n <= Row().last; ++n) EXPECT_FALSE(Has(n)) << Name(n);
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, Row().key));  // values go one by one, never the key
    EXPECT_EQ(Erase(v), (Texts{kNoFiles}));
}

INSTANTIATE_TEST_SUITE_P(
    EightApplications, RecentFileList,
    ::testing::Values(Family{"apps.access", &recentfiles::kAccess}, Family{"apps.media-player", &recentfiles::kMediaPlayer},
                      Family{"apps.excel", &recentfiles::kExcel}, Family{"apps.mmc", &recentfiles::kConsole},
                      Family{"apps.powerpoint", &recentfiles::kPowerPoint}, Family{"apps.paint", &recentfiles::kPaint},
                      Family{"apps.winzip", &recentfiles::kWinzip}, Family{"apps.wordpad", &recentfiles::kWordPad}),
    [](const ::testing::TestParamInfo<Family>& info) {
        std::wstring caption = info.param.row->caption;
        std::string name(caption.begin(), caption.end());
        name.erase(std::remove_if(name.begin(), name.end(), [](unsigned char c) { return !isalnum(c); }), name.end());
        return name;
    });
