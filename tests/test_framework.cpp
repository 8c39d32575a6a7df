// The application framework: command routing, update-UI, documents and their titles, frames
// created hidden, bound controls, reflected colours, threads and modal dialogs.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "AboutDlg.h"
#include "Inbox.h"
#include "resource.h"

using namespace testkit;

namespace {
std::vector<std::wstring> g_calls;
constexpr UINT kViewAndDoc = 40001, kDocOnly = 40002, kFrameOnly = 40003, kNobody = 40004, kUpdated = 40005;

class RouteDoc : public CDocument {
public:
    void OnCommand() { g_calls.push_back(L"doc"); }
    DECLARE_MESSAGE_MAP()
};
const MsgMap RouteDoc::messageMap{&CDocument::messageMap, {
    msg::Command(kViewAndDoc, &RouteDoc::OnCommand),
    msg::Command(kDocOnly, &RouteDoc::OnCommand),
}};

class RouteFrame : public CMDIChildWnd {
public:
    void OnFrameOnly() { g_calls.push_back(L"frame"); }
    DECLARE_MESSAGE_MAP()
};
const MsgMap RouteFrame::messageMap{&CMDIChildWnd::messageMap, {msg::Command(kFrameOnly, &RouteFrame::OnFrameOnly)}};

class RouteView : public CFormView {
public:
    RouteView() : CFormView(IDD_WIPELIST) {}
    void OnViewAndDoc() { g_calls.push_back(L"view"); }
    void OnUpdate5(CCmdUI* ui) { ui->SetCheck(1); ui->Enable(FALSE); }
    void DoDataExchange(CDataExchange*) override { g_calls.push_back(L"exchange"); }
    DECLARE_MESSAGE_MAP()
};
const MsgMap RouteView::messageMap{&CFormView::messageMap, {
    msg::Command(kViewAndDoc, &RouteView::OnViewAndDoc),
    msg::UpdateUI(kUpdated, &RouteView::OnUpdate5),
}};

struct RouteFixture : ::testing::Test {
    void SetUp() override {
        StartApp();
        g_calls.clear();
        tmpl.LoadTemplate();
    }
    void TearDown() override {
        tmpl.CloseAllDocuments();
        Pump();
    }
    CMultiDocTemplate tmpl{155, RUNTIME_CLASS(RouteDoc), RUNTIME_CLASS(RouteFrame), RUNTIME_CLASS(RouteView)};
};
}  // namespace

// Commands go to the view, then the document, then the frame, and update-UI asks the same chain.
// Documents are untitled, closing the frame deletes its document, and hidden ones skip the update.
TEST_F(RouteFixture, CommandsFollowTheChainAndDocumentsAreUntitledClosedWithTheirFrameAndHiddenWithoutUpdate) {
    CDocument* a = tmpl.OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(g_calls, std::vector<std::wstring>{L"exchange"});  // the initial update ran the exchange
    for (UINT id : {kViewAndDoc, kDocOnly, kFrameOnly, kNobody}) AfxGetMainWnd()->SendMessage(WM_COMMAND, id);
    const std::vector<std::wstring> routed{L"exchange", L"view", L"doc", L"frame"};
    EXPECT_EQ(g_calls, routed);
    CCmdUI handled, updated;
    for (auto [ui, id] : {std::pair{&handled, kDocOnly}, {&updated, kUpdated}}) {
        ui->m_nID = id;
        ui->DoUpdate(AfxGetMainWnd(), TRUE);
    }
    EXPECT_TRUE(handled.m_bEnabled);
    EXPECT_FALSE(updated.m_bEnabled);
    EXPECT_EQ(updated.m_nCheck, 1);
    EXPECT_EQ(g_calls, routed);  // asking never runs a handler

    CDocument* b = tmpl.OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(b, nullptr);
    CFrameWnd* frame = FrameOf(a);
    EXPECT_EQ((std::vector<std::wstring>{a->GetTitle(), b->GetTitle(), frame->GetWindowText()}),
              (std::vector<std::wstring>(3, L"Untitled")));
    EXPECT_TRUE(frame->IsWindowVisible());  // shown by its activation
    frame->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(tmpl.GetDocuments(), std::vector<CDocument*>{b});
    g_calls.clear();
    CDocument* hidden = tmpl.OpenDocumentFile(nullptr, FALSE);
    ASSERT_NE(hidden, nullptr);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_FALSE(FrameOf(hidden)->IsWindowVisible());
}

namespace {
std::atomic<int> g_destroyed{0};
struct Guard {
    ~Guard() { ++g_destroyed; }
};
UINT EndsEarly(LPVOID) {
    Guard g;
    AfxEndThread(7);
}
}  // namespace

TEST(Framework, EndingAWorkerUnwindsItsStackAndGivesItsExitCode) {
    CWinThread* t = AfxBeginThread(EndsEarly, nullptr, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(t, nullptr);
    t->m_bAutoDelete = FALSE;
    t->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(t->m_hThread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(t->m_hThread, &code);
    EXPECT_EQ(code, 7u);
    EXPECT_EQ(g_destroyed.load(), 1);
    delete t;
}

TEST(Framework, TheAboutStaticsAreBoundAnswerTheirOwnColoursAndLetGoAndModalItReturnsItsResult) {
    StartApp();
    CAboutDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    CColorStatic& label = dlg.m_statics[0];
    ASSERT_NE(label.m_hWnd, nullptr);
    label.SetTextColor(RGB(10, 20, 30));
    CtlColours c = AskColours(&dlg, label.m_hWnd);
    EXPECT_EQ((std::vector<COLORREF>{c.brush, c.background, c.text}), (std::vector<COLORREF>{RGB(255, 255, 255), RGB(255, 255, 255), RGB(10, 20, 30)}));
    dlg.DestroyWindow();
    EXPECT_EQ(label.m_hWnd, nullptr);  // a destroyed control lets go of its object

    // Modal, it returns the result it was ended with; without its template it cannot run.
    CDialog about(IDD_ABOUTBOX);
    DialogAnswerer cancel(L"About Corvane-Sweepmere", IDCANCEL);
    EXPECT_EQ(about.DoModal(), IDCANCEL);
    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
}

// Order, the window's thread and a gone inbox: Inbox.AMessageDeliversTheInboxItNamesWhileThatOneLives.
TEST(Framework, AnInboxClosedByOneOfItsCallsDropsTheRestAndTakesNothingMore) {
    auto inbox = std::make_shared<ui::Inbox>();
    std::vector<int> got;
    inbox->Post([&] { got.push_back(1); inbox->Close(); });
    inbox->Post([&] { got.push_back(2); });
    inbox->Drain();
    inbox->Post([&] { got.push_back(3); });
    inbox->Drain();
    EXPECT_EQ(got, std::vector<int>{1});
}
