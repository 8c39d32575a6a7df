// Navigation: the main frame with its toolbar, status bar and docking utility pane, and the
// category tree that opens the pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "AppHarness.h"
#include "CategoryKeys.h"
#include "CategoryTree.h"
#include "LastChosenText.h"
#include "MainFrm.h"
#include "Pacing.h"
#include "Settings.h"
#include "Pages.h"
#include "resource.h"

using namespace testkit;

namespace {
CMainFrame* Main() {
    StartApp();
    return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}
CCategoryTree* Tree() { return Main()->TreeBar().Tree(); }
size_t PagesOf(const char* page) { return TheApp()->PageTemplate(page)->GetDocuments().size(); }
std::vector<LONG> Sides(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::vector<std::wstring> Texts(CTreeCtrl* tree, HTREEITEM first) {
    std::vector<std::wstring> texts;
    for (HTREEITEM i = first; i; i = tree->GetNextSiblingItem(i)) texts.push_back(tree->GetItemText(i));
    return texts;
}

// Every node of the tree, roots and children.
std::vector<HTREEITEM> Nodes(CTreeCtrl* tree) {
    std::vector<HTREEITEM> nodes;
    for (HTREEITEM root = tree->GetRootItem(); root; root = tree->GetNextSiblingItem(root)) {
        nodes.push_back(root);
        for (HTREEITEM i = tree->GetChildItem(root); i; i = tree->GetNextSiblingItem(i)) nodes.push_back(i);
    }
    return nodes;
}

HTREEITEM FindNode(CTreeCtrl* tree, const std::wstring& text) {
    for (HTREEITEM i : Nodes(tree))
        if (tree->GetItemText(i) == text) return i;
    return nullptr;
}

CRect TextRect(CTreeCtrl* tree, HTREEITEM item) {
    CRect r;
    memcpy(static_cast<RECT*>(&r), &item, sizeof item);  // the item goes in, its rectangle comes back
    tree->SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    return r;
}

CPoint Center(const CRect& r) { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

void Click(CWnd* w, CPoint p, bool right = false) {
    LPARAM at = MAKELPARAM(p.x, p.y);
    w->SendMessage(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
    w->SendMessage(right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    Pump();
}

// Scrolled into view first: the All Categories tree is taller than its pane.
void ClickNode(const std::wstring& text) {
    HTREEITEM item = FindNode(Tree(), text);
    Tree()->SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    Click(Tree(), Center(TextRect(Tree(), item)));
}

// Brings toolbar buttons, menu checks and status panes up to date, as idle time does.
void Idle() {
    Pump();
    AfxGetApp()->OnIdle(0);
}

std::wstring MessagePane() { return Main()->StatusBar().GetPaneText(0); }

CRect ClientRectIn(CWnd* w, CWnd* parent) {
    CRect r;
    w->GetWindowRect(&r);
    ::MapWindowPoints(nullptr, parent->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

CRect MdiClientRect() { return ClientRectIn(CWnd::FromHandle(Main()->m_hWndMDIClient), Main()); }

// The tab control's distance from the edges of the bar's client area.
int TabMargin() {
    CTreeBar& bar = Main()->TreeBar();
    CRect client, tab = ClientRectIn(&bar.TabCtrl(), &bar);
    bar.GetClientRect(&client);
    EXPECT_EQ(tab.left - client.left, client.right - tab.right);
    EXPECT_EQ(tab.top - client.top, client.bottom - tab.bottom);
    return tab.left - client.left;
}

// A drag as a person makes it: the button goes down on `from` (screen; the message carries it
// in client coordinates unless it is a non-client one), the pointer moves to
// `to` and the button comes up there (or Escape cancels). The moves are queued before the
// button goes down because the drag runs its own message loop.
void Drag(CWnd* target, UINT downMessage, WPARAM hit, CPoint from, CPoint to, bool cancel = false) {
    CMRCSizeControlBar& bar = Main()->TreeBar();
    CPoint mid((from.x + to.x) / 2, (from.y + to.y) / 2), end = to;
    ::ScreenToClient(bar.m_hWnd, &mid);
    ::ScreenToClient(bar.m_hWnd, &end);
    bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(mid.x, mid.y));
    bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end.x, end.y));
    if (cancel) bar.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    else bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(end.x, end.y));
    CPoint at = from;
    if (downMessage == WM_LBUTTONDOWN) ::ScreenToClient(target->m_hWnd, &at);
    target->SendMessage(downMessage, hit, MAKELPARAM(at.x, at.y));
    Pump();
}

// The check marks come from the settings as the profile holds them (read there anew each time).
UINT MenuState(UINT id) {
    HMENU view = ::GetSubMenu(::GetMenu(Main()->m_hWnd), 0);
    Main()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 0);
    return ::GetMenuState(view, id, MF_BYCOMMAND);
}

// A page frame whose chain handles Copy.
class CCopyFrame : public CMDIChildWnd {
public:
    void OnCopy() {}
    DECLARE_MESSAGE_MAP()
};
const MsgMap CCopyFrame::messageMap{&CMDIChildWnd::messageMap, {msg::Command(ID_EDIT_COPY, &CCopyFrame::OnCopy)}};
}  // namespace

// ---- the category tree ----

TEST(Tree, StartsWithInternetExpandedAndEveryClickOnANodeOrItsExpandButtonOpensItsPage) {
    CCategoryTree* tree = Tree();
    HTREEITEM internet = tree->GetRootItem();
    EXPECT_TRUE(tree->GetItemState(internet, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(Texts(tree, tree->GetChildItem(internet)),
              (std::vector<std::wstring>{L"Cookies", L"History", L"Temporary Internet Files", L"Typed URLs"}));
    EXPECT_EQ(tree->GetCount(), 5u);
    CRect text = TextRect(tree, internet);
    CPoint button(-1, Center(text).y);
    for (int x = 0; x < text.left && button.x < 0; ++x) {
        UINT flags = 0;
        if (tree->HitTest(CPoint(x, button.y), &flags) == internet && (flags & TVHT_ONITEMBUTTON)) button.x = x;
    }
    ASSERT_GE(button.x, 0) << L"no expand button found";
    size_t before = PagesOf(pages::kInternet);
    Click(tree, button);
    EXPECT_EQ(PagesOf(pages::kInternet), before + 1);
    EXPECT_TRUE(tree->GetItemState(internet, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(LastChosenText(), L"Internet");

    // Every click on a node opens a page; clicks beside it, with the right button or by key do not.
    HTREEITEM cookies = FindNode(tree, L"Cookies");
    tree->SelectItem(cookies);
    size_t documents = DocumentCount(), history = PagesOf("internet.history");
    CRect last = TextRect(tree, FindNode(tree, L"Typed URLs")), client;
    tree->GetClientRect(&client);
    ASSERT_LT(last.bottom + 20, client.bottom);
    Click(tree, CPoint(last.left, last.bottom + 20));
    Click(tree, Center(TextRect(tree, FindNode(tree, L"History"))), true);
    EXPECT_EQ(tree->GetSelectedItem(), cookies);
    tree->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    tree->SendMessage(WM_KEYUP, VK_DOWN, 0);
    Pump();
    EXPECT_EQ(tree->GetItemText(tree->GetSelectedItem()), L"History");
    EXPECT_EQ(DocumentCount(), documents);

    tree->SelectItem(cookies);
    ClickNode(L"History");
    ClickNode(L"History");
    EXPECT_EQ(PagesOf("internet.history"), history + 2);
    EXPECT_EQ(LastChosenText(), L"History");
    EXPECT_EQ(tree->GetItemText(tree->GetSelectedItem()), L"History");
    CloseAllPages();
}

// ---- the main frame ----

TEST(Frame, ToolbarButtonsHaveTipsAndPromptsAreEnabledByTheirHandlersAndTheStatusBarFollows) {
    CToolBar& bar = Main()->ToolBar();
    NMTTDISPINFOW tip{};  // tool tips are the second line of the command's string
    tip.hdr.code = TTN_GETDISPINFOW;
    tip.hdr.idFrom = ID_FILE_OPEN;
    bar.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(tip.lpszText, L"Open");

    Idle();
    for (UINT id : {ID_FILE_NEW, ID_FILE_OPEN, ID_TOOLS, ID_APP_ABOUT, ID_SCHEDULER}) EXPECT_TRUE(bar.IsButtonEnabled(id)) << id;
    for (UINT id : {ID_FILE_SAVE, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT}) EXPECT_FALSE(bar.IsButtonEnabled(id)) << id;
    // A page whose chain handles Copy enables the button while it is active.
    auto* page = new CCopyFrame;
    ASSERT_TRUE(page->LoadFrame(IDR_TIDEMATYPE, WS_CHILD | WS_OVERLAPPEDWINDOW, Main(), nullptr));
    page->ActivateFrame();
    Idle();
    EXPECT_TRUE(bar.IsButtonEnabled(ID_EDIT_COPY));
    page->DestroyWindow();
    Idle();
    EXPECT_FALSE(bar.IsButtonEnabled(ID_EDIT_COPY));

    // The status bar shows Ready, the command prompts and the key indicators.
    CStatusBar& status = Main()->StatusBar();
    ASSERT_EQ(status.SendMessage(SB_GETPARTS), 4);
    Idle();
    EXPECT_EQ(MessagePane(), L"Ready");
    Main()->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_NEW, MF_STRING), 1);
    EXPECT_EQ(MessagePane(), L"Create a new document");
    Main()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(MessagePane(), L"Ready");

    // The pointer over a toolbar button shows its prompt until it leaves the bar.
    CRect button;
    bar.GetItemRect(1, &button);
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(button.left + 5, button.top + 5));
    Idle();
    EXPECT_EQ(MessagePane(), L"Open an existing document");
    bar.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(MessagePane(), L"Ready");

    BYTE keys[256];
    ::GetKeyboardState(keys);
    for (BYTE capsLock : {1, 0}) {
        keys[VK_CAPITAL] = capsLock;
        ::SetKeyboardState(keys);
        Idle();
        EXPECT_EQ(status.GetPaneText(1), capsLock ? L"CAP" : L"");
    }
}

TEST(Frame, ViewCommandsHideAndShowTheBarsAndTheUtilityPaneResizesFloatsAndDocksByDragging) {
    CMainFrame* main = Main();
    CTreeBar& bar = main->TreeBar();
    CRect docked = ClientRectIn(&bar, main), client;
    main->GetClientRect(&client);
    EXPECT_EQ(MdiClientRect().left, docked.right);
    for (bool shown : {false, true}) {
        main->SendMessage(WM_COMMAND, ID_VIEW_UTILITY_PANE);
        EXPECT_EQ(bar.IsWindowVisible() != FALSE, shown);
        EXPECT_EQ((MenuState(ID_VIEW_UTILITY_PANE) & MF_CHECKED) != 0, shown);
        EXPECT_EQ(MdiClientRect().left, shown ? docked.right : 0);
        main->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
        EXPECT_EQ((MenuState(ID_VIEW_STATUS_BAR) & MF_CHECKED) != 0, shown);
        EXPECT_EQ(MdiClientRect().bottom < client.bottom, shown);
    }
    EXPECT_EQ(Sides(ClientRectIn(&bar, main)), Sides(docked));

    // The utility pane resizes by its edge, floats when dragged off and docks when dragged back.
    ASSERT_FALSE(bar.IsProbablyFloating());
    int width = ClientRectIn(&bar, main).Width();
    CPoint edge = Center(bar.SplitterRectOnScreen());
    Drag(&bar, WM_LBUTTONDOWN, MK_LBUTTON, edge, CPoint(edge.x + 60, edge.y));
    EXPECT_EQ(ClientRectIn(&bar, main).Width(), width + 60);
    EXPECT_EQ(MdiClientRect().left, width + 60);
    EXPECT_EQ(TabMargin(), 4);
    Drag(&bar, WM_LBUTTONDOWN, MK_LBUTTON, CPoint(edge.x + 60, edge.y), edge);
    EXPECT_EQ(ClientRectIn(&bar, main).Width(), width);

    CRect mdi = MdiClientRect();
    CPoint grip = Center(bar.GripperRectOnScreen());
    CPoint middle = Center(mdi);
    ::ClientToScreen(main->m_hWnd, &middle);

    // The gripper answers as client area, so the drag starts from a plain button message.
    EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTCLIENT);
    Drag(&bar, WM_LBUTTONDOWN, MK_LBUTTON, grip, middle, /*cancel=*/true);
    EXPECT_FALSE(bar.IsProbablyFloating());

    Drag(&bar, WM_LBUTTONDOWN, MK_LBUTTON, grip, middle);
    ASSERT_TRUE(bar.IsProbablyFloating());
    EXPECT_TRUE(bar.FloatFrame()->IsWindowVisible());
    EXPECT_EQ(TabMargin(), 2);
    EXPECT_EQ(MdiClientRect().left, 0);
    EXPECT_TRUE(bar.TabCtrl().IsWindowVisible() && bar.Tree()->IsWindowVisible());

    // Back by the tool window's caption to the left edge of the client area.
    CRect tool;
    bar.FloatFrame()->GetWindowRect(&tool);
    CPoint caption(tool.left + 30, tool.top + ::GetSystemMetrics(SM_CYSMCAPTION) / 2 + 2);
    CPoint leftEdge(MdiClientRect().left + 5, Center(mdi).y);
    ::ClientToScreen(main->m_hWnd, &leftEdge);
    Drag(bar.FloatFrame(), WM_NCLBUTTONDOWN, HTCAPTION, caption, leftEdge);
    ASSERT_FALSE(bar.IsProbablyFloating());
    EXPECT_FALSE(bar.FloatFrame()->IsWindowVisible());
    EXPECT_EQ(bar.GetDockSide(), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(TabMargin(), 4);
    EXPECT_EQ(Sides(MdiClientRect()), Sides(mdi));
}

// ---- all categories and quick erase ----

TEST(ViewMenu, AllCategoriesShowsEveryBranchSortedEachNodeOpensItsPageAndQuickEraseDropsThePauses) {
    CCategoryTree* tree = Tree();
    ASSERT_EQ(MenuState(ID_VIEW_ALL_CATEGORIES) & MF_CHECKED, 0u);  // off until the user turns it on
    Main()->SendMessage(WM_COMMAND, ID_VIEW_ALL_CATEGORIES);
    EXPECT_TRUE(MenuState(ID_VIEW_ALL_CATEGORIES) & MF_CHECKED);
    EXPECT_EQ(Texts(tree, tree->GetRootItem()),
              (std::vector<std::wstring>{L"Internet", L"Web Browsers", L"System", L"Application Traces", L"Unused Space"}));
    auto before = [](const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; };
    for (HTREEITEM root = tree->GetRootItem(); root; root = tree->GetNextSiblingItem(root)) {
        // "Web Browsers" has no branch: its rows are on its page.
        EXPECT_TRUE(!tree->GetChildItem(root) || (tree->GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED))
            << tree->GetItemText(root);
        std::vector<std::wstring> children = Texts(tree, tree->GetChildItem(root));
        EXPECT_TRUE(std::is_sorted(children.begin(), children.end(), before)) << tree->GetItemText(root);
    }
    EXPECT_NE(FindNode(tree, L"C: [CORVANE]"), nullptr);
    for (HTREEITEM item : Nodes(tree)) {
        std::wstring text = tree->GetItemText(item);
        const char* key = tree->KeyOf(item);
        ASSERT_NE(key, nullptr) << text;
        int image = -1, selected = -1;
        tree->GetItemImage(item, image, selected);
        if (key != std::string(pages::kDrives))  // a drive's image is its drive's
            EXPECT_EQ(std::pair(image, selected), std::pair(CCategoryTree::ImageOf(pages::IconOf(*pages::Find(key))), image)) << text;
        size_t pages = PagesOf(key);
        ClickNode(text);
        EXPECT_EQ(PagesOf(key), pages + 1) << text;
        EXPECT_EQ(LastChosenText(), text);
    }
    Main()->SendMessage(WM_COMMAND, ID_VIEW_ALL_CATEGORIES);
    CloseAllPages();
    EXPECT_EQ(tree->GetCount(), 5u);
    EXPECT_EQ(MenuState(ID_VIEW_ALL_CATEGORIES) & MF_CHECKED, 0u);

    // Quick Erase drops the pauses of erasing but not the splash.
    Pacing::SetScalePercent(100);
    ASSERT_EQ(MenuState(ID_VIEW_QUICK_ERASE) & MF_CHECKED, 0u);
    for (bool quick : {true, false}) {
        Main()->SendMessage(WM_COMMAND, ID_VIEW_QUICK_ERASE);
        EXPECT_EQ((MenuState(ID_VIEW_QUICK_ERASE) & MF_CHECKED) != 0, quick);
        EXPECT_EQ(Pacing::FileMs(), quick ? 0u : 1000u);
        EXPECT_EQ(Pacing::FolderMs() == 0, quick);
        EXPECT_EQ(Pacing::SplashMs(), 2000u);
    }
    Pacing::SetScalePercent(0);

    // A tree built at start follows the saved setting and adds nodes only where they belong.
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 200, 300), nullptr, 0));
    for (bool all : {true, false}) {
        settings::SetAllCategories(all);
        CCategoryTree built;
        ASSERT_TRUE(built.CreateEx(0, WC_TREEVIEWW, nullptr, WS_CHILD, CRect(0, 0, 200, 300), &host, 1));
        built.Initialise();
        EXPECT_EQ(FindNode(&built, L"Unused Space") != nullptr, all);
        EXPECT_EQ(built.GetCount() > 5u, all);
        if (all) continue;
        HTREEITEM internet = built.GetRootItem();
        EXPECT_EQ(built.AddNode(engine::keys::kCookies, internet), FindNode(&built, L"Cookies"));  // already there
        EXPECT_EQ(built.AddNode(pages::kInternet, TVI_ROOT), internet);
        EXPECT_EQ(built.AddNode(pages::kSystem, internet), nullptr);             // a top page under a node
        EXPECT_EQ(built.AddNode(engine::keys::kRecycleBin, TVI_ROOT), nullptr);  // a category at the top
        EXPECT_EQ(built.AddNode("Internet.Cookies", internet), nullptr);         // keys compare exactly
        EXPECT_EQ(built.GetCount(), 5u);
        // Where it belongs a node is added as the full tree adds each (checked node by node above).
        HTREEITEM system = built.AddNode(pages::kSystem, TVI_ROOT);
        EXPECT_EQ(built.GetNextSiblingItem(internet), system);
    }
}
