// The hyperlink control: what its parent is told on a click, the keys that click it, and how it
// draws in each state (read from a drawing into a memory bitmap).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "AppHarness.h"
#include "LinkButton.h"

using namespace testkit;

namespace {
constexpr UINT kLinkId = 1219;

// A framework window that holds one link and notes every WM_LINK_CLICKED it gets.
class LinkHost : public CWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> clicks;
    LRESULT OnLinkClicked(WPARAM w, LPARAM l) {
        clicks.emplace_back(w, l);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
const MsgMap LinkHost::messageMap{&CWnd::messageMap, {msg::Registered(&WM_LINK_CLICKED, &LinkHost::OnLinkClicked)}};

class LinkButtonTest : public testing::Test {
protected:
    void SetUp() override {
        // A child of the main window: the application's pump hands keys to the controls first.
        ASSERT_NE(StartApp(), nullptr);
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))),
                                  L"links", WS_CHILD | WS_VISIBLE, CRect(100, 100, 400, 200), AfxGetMainWnd(), 0));
        HWND button = ::CreateWindowExW(0, L"BUTTON", L"Details...", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                        10, 10, 120, 20, host.m_hWnd, reinterpret_cast<HMENU>(kLinkId), nullptr, nullptr);
        ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        ASSERT_TRUE(link.SubclassWindow(button));
        Pump();
    }
    void TearDown() override {
        link.UnsubclassWindow();
        host.DestroyWindow();
        Pump();
    }

    // The longest horizontal run of each colour in a drawing of the link: an underline spans the text.
    std::map<COLORREF, int> Draw() {
        CRect r;
        link.GetClientRect(&r);
        HDC screen = ::GetDC(nullptr), mem = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(mem, ::CreateCompatibleBitmap(screen, r.Width(), r.Height()));
        ::ReleaseDC(nullptr, screen);
        DRAWITEMSTRUCT dis{ODT_BUTTON, kLinkId, 0, ODA_DRAWENTIRE, 0, link.m_hWnd, mem, r, 0};
        link.DrawItem(&dis);
        std::map<COLORREF, int> runs;
        for (int y = 0; y < r.Height(); ++y)
            for (int x = 0, run = 0; x < r.Width(); ++x) {
                COLORREF c = ::GetPixel(mem, x, y);
                run = x > 0 && c == ::GetPixel(mem, x - 1, y) ? run + 1 : 1;
                runs[c] = std::max(runs[c], run);
            }
        ::DeleteObject(::SelectObject(mem, old));
        ::DeleteDC(mem);
        return runs;
    }

    void PressKey(WPARAM key) {
        link.PostMessage(WM_KEYDOWN, key, 1);
        link.PostMessage(WM_KEYUP, key, 0xC0000001);
        Pump();
    }

    LinkHost host;
    CLinkButton link;
};
}  // namespace

// The mouse on the link underlines it in the hover colour and shows the hand. Disabled, the link
// ignores clicks and hover and draws grey; enabled, Enter or a click on anything but an address
// tells the parent and turns it visited: only addresses go to the shell.
TEST_F(LinkButtonTest, HoverUnderlinesAndEnterOrAClickTellsTheParentAndTurnsVisitedUnlessDisabled) {
    std::map<COLORREF, int> runs;
    link.SetWindowText(L"Details...");  // which sizes it to its text
    ::SetWindowPos(host.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(AfxGetMainWnd()->m_hWnd);
    Pump();
    CRect r;
    link.GetWindowRect(&r);
    ASSERT_EQ(::WindowFromPoint(CPoint(r.left + 5, r.top + 5)), link.m_hWnd);
    const COLORREF linkColour = ::GetSysColor(COLOR_HIGHLIGHT);
    for (bool inside : {true, false}) {
        ::SetCursorPos(inside ? r.left + 5 : r.right + 50, inside ? r.top + 5 : r.bottom + 50);
        ASSERT_TRUE(PumpUntil([&] { return link.IsHovering() == inside; }, 3000)) << inside;
        runs = Draw();
        EXPECT_EQ(runs[inside ? RGB(0, 0, 255) : linkColour] >= r.Width() - 2, inside) << L"underlined only on hover";
        EXPECT_EQ(runs[linkColour] > 0, !inside) << inside;
    }
    ASSERT_NE(CLinkButton::HandCursor(), nullptr);
    EXPECT_TRUE(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), CLinkButton::HandCursor());

    link.EnableWindow(FALSE);
    host.SendMessage(WM_COMMAND, MAKEWPARAM(kLinkId, BN_CLICKED), reinterpret_cast<LPARAM>(link.m_hWnd));
    PressKey(VK_RETURN);
    EXPECT_TRUE(host.clicks.empty());
    EXPECT_FALSE(link.IsVisited());
    link.SendMessage(WM_MOUSEHOVER);
    runs = Draw();
    EXPECT_GT(runs[::GetSysColor(COLOR_GRAYTEXT)], 0);
    EXPECT_EQ(runs[RGB(0, 0, 255)], 0);
    link.EnableWindow(TRUE);

    // A file the shell would open, in the current folder: a link names no such thing.
    std::wstring folder = ScratchFolder(L"link-target");
    WriteFile(folder + L"\\probe.txt");
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(folder.c_str());
    link.SetWindowText(L"probe.txt");
    link.SetFocus();
    PressKey(VK_SPACE);
    EXPECT_TRUE(host.clicks.empty());
    PressKey(VK_RETURN);
    link.SendMessage(BM_CLICK);  // as the button reports a mouse click
    Pump();
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(host.clicks, (std::vector<std::pair<WPARAM, LPARAM>>(2, {kLinkId, 0})));
    EXPECT_TRUE(link.IsVisited());
    runs = Draw();
    EXPECT_GT(runs[RGB(128, 0, 128)], 0);
    EXPECT_EQ(runs[::GetSysColor(COLOR_HIGHLIGHT)], 0);

    // Only addresses go to the shell.
    for (const wchar_t* url : {L"http://example.com/", L"HTTPS://example.com/", L"mailto:someone@example.com"})
        EXPECT_TRUE(CLinkButton::IsShellTarget(url)) << url;
    for (const wchar_t* other : {L"Details...", L"notepad", L"C:\\windows\\notepad.exe", L"file:///C:/x", L"http", L" http://x", L""})
        EXPECT_FALSE(CLinkButton::IsShellTarget(other)) << other;
}
