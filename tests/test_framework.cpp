// The application framework: command routing, update-UI, documents and their titles, frames
// created hidden, data exchange, reflected colours, threads and modal dialogs.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "ColorStatic.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
std::vector<std::string> g_calls;
constexpr UINT kViewAndDoc = 40001, kDocOnly = 40002, kFrameOnly = 40003, kNobody = 40004, kUpdated = 40005;

class RouteDoc : public CDocument {
public:
    void OnViewAndDoc() { g_calls.push_back("doc"); }
    void OnDocOnly() { g_calls.push_back("doc"); }
    DECLARE_MESSAGE_MAP()
};
const MsgMap RouteDoc::messageMap{&CDocument::messageMap, {
    msg::Command(kViewAndDoc, &RouteDoc::OnViewAndDoc),
    msg::Command(kDocOnly, &RouteDoc::OnDocOnly),
}};

class RouteFrame : public CMDIChildWnd {
public:
    void OnFrameOnly() { g_calls.push_back("frame"); }
    DECLARE_MESSAGE_MAP()
};
const MsgMap RouteFrame::messageMap{&CMDIChildWnd::messageMap, {
    msg::Command(kFrameOnly, &RouteFrame::OnFrameOnly),
}};

class RouteView : public CFormView {
public:
    RouteView() : CFormView(IDD_WIPELIST) {}
    void OnViewAndDoc() { g_calls.push_back("view"); }
    void OnUpdate5(CCmdUI* ui) { ui->SetCheck(1); ui->Enable(FALSE); }
    void DoDataExchange(CDataExchange*) override { g_calls.push_back("exchange"); }
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
        tmpl = std::make_unique<CMultiDocTemplate>(155, RUNTIME_CLASS(RouteDoc), RUNTIME_CLASS(RouteFrame),
                                                   RUNTIME_CLASS(RouteView));
        tmpl->LoadTemplate();
    }
    void TearDown() override {
        tmpl->CloseAllDocuments();
        Pump();
    }
    void Send(UINT id) { AfxGetMainWnd()->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::unique_ptr<CMultiDocTemplate> tmpl;
};

struct ProbeUI : CCmdUI {
    explicit ProbeUI(UINT id) { m_nID = id; }
};
}  // namespace

TEST_F(RouteFixture, CommandsGoViewThenDocumentThenFrameThenApplication) {
    CDocument* doc = tmpl->OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(g_calls, std::vector<std::string>{"exchange"});  // the initial update ran the exchange
    g_calls.clear();
    Send(kViewAndDoc);
    Send(kDocOnly);
    Send(kFrameOnly);
    Send(kNobody);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"view", "doc", "frame"}));
}

TEST_F(RouteFixture, UpdateUIDisablesWhatNoHandlerTakesAndAsksTheChainFirst) {
    ASSERT_NE(tmpl->OpenDocumentFile(nullptr, TRUE), nullptr);
    CCmdTarget* main = AfxGetMainWnd();
    ProbeUI handled(kDocOnly), unhandled(kNobody), updated(kUpdated), app(ID_FILE_NEW);
    handled.DoUpdate(main, TRUE);
    unhandled.DoUpdate(main, TRUE);
    updated.DoUpdate(main, TRUE);
    app.DoUpdate(main, TRUE);
    EXPECT_TRUE(handled.m_bEnabled);
    EXPECT_FALSE(unhandled.m_bEnabled);
    EXPECT_FALSE(updated.m_bEnabled);
    EXPECT_EQ(updated.m_nCheck, 1);
    EXPECT_TRUE(app.m_bEnabled);
    EXPECT_TRUE(g_calls.size() == 1 && g_calls[0] == "exchange");  // asking never runs a handler
}

TEST_F(RouteFixture, UntitledDocumentsWithoutANameAreUntitledAndClosingTheFrameDeletesThem) {
    CDocument* a = tmpl->OpenDocumentFile(nullptr, TRUE);
    CDocument* b = tmpl->OpenDocumentFile(nullptr, TRUE);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->GetTitle(), "Untitled");
    EXPECT_EQ(b->GetTitle(), "Untitled");
    EXPECT_EQ(tmpl->GetDocuments().size(), 2u);
    CFrameWnd* frame = FrameOf(a);
    EXPECT_TRUE(frame->IsWindowVisible());  // shown by its activation
    EXPECT_EQ(frame->GetWindowText(), "Untitled");
    frame->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(tmpl->GetDocuments().size(), 1u);
    EXPECT_EQ(tmpl->GetDocuments().front(), b);
}

TEST_F(RouteFixture, NotMakingVisibleSkipsTheInitialUpdateAndKeepsTheFrameHidden) {
    CDocument* doc = tmpl->OpenDocumentFile(nullptr, FALSE);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_FALSE(FrameOf(doc)->IsWindowVisible());
}

TEST(Framework, ExtractSubStringSplitsDocumentStrings) {
    std::string s = "\nTidema\nTidema\n\n\nTidemark.Document\nTidema Document";
    EXPECT_EQ(AfxExtractSubString(s, 0), "");
    EXPECT_EQ(AfxExtractSubString(s, 1), "Tidema");
    EXPECT_EQ(AfxExtractSubString(s, 3), "");
    EXPECT_EQ(AfxExtractSubString(s, 6), "Tidema Document");
    EXPECT_EQ(AfxExtractSubString(s, 7), "");
}

namespace {
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_SCHEDULER) {}
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_SCHEDULER_TASKNAME, edit);
        DDX_Text(pDX, IDC_SCHEDULER_TASKNAME, name);
        DDX_Radio(pDX, IDC_SCHEDULER_MANUALLY, radio);
        DDX_Check(pDX, IDC_SCHEDULER_TURN_OFF, check);
    }
    CEdit edit;
    std::string name = "first";
    int radio = 2;
    int check = 1;
};
}  // namespace

TEST(Framework, DataExchangeMovesValuesBothWays) {
    StartApp();
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SCHEDULER));
    EXPECT_NE(dlg.edit.m_hWnd, nullptr);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SCHEDULER_TASKNAME), "first");
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SCHEDULER_EVERY), BST_CHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SCHEDULER_MANUALLY), BST_UNCHECKED);
    dlg.SetDlgItemText(IDC_SCHEDULER_TASKNAME, "second");
    dlg.CheckDlgButton(IDC_SCHEDULER_EVERY, BST_UNCHECKED);
    dlg.CheckDlgButton(IDC_SCHEDULER_ON, BST_CHECKED);
    dlg.CheckDlgButton(IDC_SCHEDULER_TURN_OFF, BST_UNCHECKED);
    dlg.UpdateData(TRUE);
    EXPECT_EQ(dlg.name, "second");
    EXPECT_EQ(dlg.radio, 1);
    EXPECT_EQ(dlg.check, 0);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.edit.m_hWnd, nullptr);  // a destroyed control lets go of its object
}

namespace {
class ColourDialog : public CDialog {
public:
    ColourDialog() : CDialog(IDD_ABOUTBOX) {}
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_ABOUT_VERSION, label); }
    CColorStatic label;
};

COLORREF BrushColour(HBRUSH b) {
    LOGBRUSH lb{};
    ::GetObjectA(b, sizeof lb, &lb);
    return lb.lbColor;
}
}  // namespace

TEST(Framework, AControlAnswersItsOwnReflectedColourMessage) {
    StartApp();
    ColourDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    dlg.label.SetBkColor(RGB(255, 255, 255));
    dlg.label.SetTextColor(RGB(10, 20, 30));
    HDC dc = ::CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(
        dlg.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dlg.label.m_hWnd)));
    EXPECT_EQ(BrushColour(brush), RGB(255, 255, 255));
    EXPECT_EQ(::GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(::GetTextColor(dc), RGB(10, 20, 30));
    // A static without its own colours gets the dialog's default.
    auto other = reinterpret_cast<HBRUSH>(dlg.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                          reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_ABOUT_INFO1)->m_hWnd)));
    EXPECT_NE(BrushColour(other), RGB(255, 255, 255));
    ::DeleteDC(dc);
    dlg.DestroyWindow();
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

TEST(Framework, ModalDialogReturnsTheResultItWasEndedWith) {
    StartApp();
    CDialog about(IDD_ABOUTBOX);
    DialogAnswerer cancel("About Corvane-Sweepmere", IDCANCEL);
    EXPECT_EQ(about.DoModal(), IDCANCEL);
    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
}
