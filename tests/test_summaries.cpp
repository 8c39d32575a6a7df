// The System and Application Traces summaries: their rows' check boxes and the "Details..." links
// that open the categories' pages. Their erases are in test_summary_erase.cpp.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "LinkButton.h"
#include "PageLook.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
struct Link {
    int id;
    PageId page;
};

struct Summary {
    const char* name;
    PageId page;
    int selectAll, clearAll, eraseNow;
    std::vector<int> checks, eraseButtons;
    std::vector<Link> links;
};

const Summary kSystem{
    "System", PageId::System, IDC_SYSTEM_SELECTALL, IDC_SYSTEM_CLEARALL, IDC_SYSTEM_ERASE_NOW,
    {1122, 1134, 1148, 1052, 1035, 1142, 1130, 1147, 1126, 1138},
    {1123, 1135, 1119, 1053, 1087, 1143, 1131, 1091, 1127, 1139},
    {{1196, PageId::AdminTempFiles}, {1197, PageId::Clipboard}, {1198, PageId::MfuRegistry},
     {1199, PageId::OpenFileHistory}, {1200, PageId::RecentDocuments}, {1201, PageId::RecentNetworkFolder},
     {1202, PageId::Recycle}, {1203, PageId::SystemRegistry}, {1204, PageId::SysTempFiles},
     {1205, PageId::EventLog}}};

const Summary kApplications{
    "ApplicationTraces", PageId::ApplicationTraces, IDC_APPTRACES_SELECTALL, IDC_APPTRACES_CLEARALL,
    IDC_APPTRACES_ERASE_NOW,
    {1086, 1258, 1259, 1169, 1260, 1163, 1166, 1160, 1171, 1174},
    {1087, 1000, 1053, 1131, 1091, 1123, 1127, 1119, 1135, 1139},
    {{1215, PageId::Acrobat}, {1206, PageId::Access}, {1207, PageId::Excel}, {1208, PageId::MMConsole},
     {1209, PageId::PowerPoint}, {1211, PageId::Paint}, {1212, PageId::MediaPlayer}, {1210, PageId::Word},
     {1213, PageId::WinZip}, {1216, PageId::WordPad}}};

size_t AllDocuments() {
    size_t n = 0;
    for (CDocTemplate* t : TheApp()->GetDocTemplates()) n += t->GetDocuments().size();
    return n;
}

class SummaryPage : public ::testing::TestWithParam<Summary> {
protected:
    void SetUp() override {
        ASSERT_NE(StartApp(), nullptr);
        doc = TheApp()->OpenPage(GetParam().page);
        Pump();
        view = dynamic_cast<CPageView*>(ViewOf(doc));
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { CloseAllPages(); }
    HWND Item(int id) const { return ::GetDlgItem(view->m_hWnd, id); }
    void Press(int id) { view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
    int CheckedCount() const {
        int n = 0;
        for (int id : GetParam().checks) n += ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
        return n;
    }
    CDocument* doc = nullptr;
    CPageView* view = nullptr;
};
}  // namespace

TEST_P(SummaryPage, OpensUncheckedAndSelectAllOrClearAllSetEveryRow) {
    EXPECT_EQ(CheckedCount(), 0);
    Press(GetParam().selectAll);
    EXPECT_EQ(CheckedCount(), 10);
    Press(GetParam().clearAll);
    EXPECT_EQ(CheckedCount(), 0);
}

TEST_P(SummaryPage, EachDetailsLinkOpensOneMorePageOfItsRowAndOtherIdsNothing) {
    for (const Link& link : GetParam().links) {
        SCOPED_TRACE(link.id);
        size_t before = TheApp()->PageTemplate(link.page)->GetDocuments().size();
        ::SendMessageA(Item(link.id), BM_CLICK, 0, 0);  // the shell cannot open "Details...": the page is told
        Pump();
        EXPECT_EQ(TheApp()->PageTemplate(link.page)->GetDocuments().size(), before + 1);
    }
    size_t all = AllDocuments();
    view->SendMessage(WM_LINK_CLICKED, 1214, 0);
    view->SendMessage(WM_LINK_CLICKED, GetParam().checks[0], 0);
    EXPECT_EQ(AllDocuments(), all);
}

INSTANTIATE_TEST_SUITE_P(Both, SummaryPage, ::testing::Values(kSystem, kApplications),
                         [](const ::testing::TestParamInfo<Summary>& info) { return std::string(info.param.name); });
