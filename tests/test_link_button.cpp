// The hyperlink control: what its parent is told on a click, the keys that click it, and how it
// draws in each state (read from a drawing into a memory bitmap).
#include <gtest/gtest.h>

#include <algorithm>

#include "AppHarness.h"
#include "LinkButton.h"
#include "TestKit.h"

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
const MsgMap LinkHost::messageMap{&CWnd::messageMap, {
    msg::Registered(&WM_LINK_CLICKED, &LinkHost::OnLinkClicked),
}};

// The pixels of one drawing of the link.
struct Drawing {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    int Count(COLORREF c) const { return static_cast<int>(std::count(pixels.begin(), pixels.end(), c)); }
    // The longest horizontal run of pixels in the colour: an underline spans the whole text.
    int LongestRun(COLORREF c) const {
        int best = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0, run = 0; x < width; ++x) {
                run = At(x, y) == c ? run + 1 : 0;
                best = std::max(best, run);
            }
        return best;
    }
};

class LinkButtonTest : public testing::Test {
protected:
    void SetUp() override {
        // The application's pump hands keys to the controls first. The host is a child of its
        // main window: a top-level window would cost seconds to go again on a bare X server.
        ASSERT_NE(StartApp(), nullptr);
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))),
                                  "links", WS_CHILD | WS_VISIBLE, CRect(100, 100, 400, 200), AfxGetMainWnd(), 0));
        HWND button = ::CreateWindowExA(0, "BUTTON", "Details...", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                        10, 10, 120, 20, host.m_hWnd, reinterpret_cast<HMENU>(kLinkId), nullptr, nullptr);
        ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        ASSERT_TRUE(link.SubclassWindow(button));
        Pump();
    }
    void TearDown() override {
        link.UnsubclassWindow();
        host.DestroyWindow();
        Pump();
    }

    Drawing Draw() {
        CRect r;
        link.GetClientRect(&r);
        Drawing d{r.Width(), r.Height(), {}};
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof bi.bmiHeader, d.width, -d.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC mem = ::CreateCompatibleDC(nullptr);
        HBITMAP bmp = ::CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(mem, bmp);
        DRAWITEMSTRUCT dis{ODT_BUTTON, kLinkId, 0, ODA_DRAWENTIRE, 0, link.m_hWnd, mem, r, 0};
        link.DrawItem(&dis);
        ::GdiFlush();
        for (int i = 0; i < d.width * d.height; ++i) {
            DWORD p = static_cast<const DWORD*>(bits)[i];
            d.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
        ::SelectObject(mem, old);
        ::DeleteObject(bmp);
        ::DeleteDC(mem);
        return d;
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

TEST_F(LinkButtonTest, AClickWithoutTargetTellsTheParentAndTurnsVisited) {
    const COLORREF linkColour = ::GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_GT(Draw().Count(linkColour), 0);
    link.SendMessage(BM_CLICK);  // as the button reports a mouse click
    Pump();
    ASSERT_EQ(host.clicks.size(), 1u) << "the shell cannot open \"Details...\"";
    EXPECT_EQ(host.clicks[0].first, kLinkId);
    EXPECT_EQ(host.clicks[0].second, 0);
    EXPECT_TRUE(link.IsVisited());
    Drawing d = Draw();
    EXPECT_GT(d.Count(RGB(128, 0, 128)), 0);
    EXPECT_EQ(d.Count(linkColour), 0);
}

TEST_F(LinkButtonTest, EnterClicksAndSpaceDoesNot) {
    link.SetFocus();
    PressKey(VK_SPACE);
    EXPECT_TRUE(host.clicks.empty());
    PressKey(VK_RETURN);
    ASSERT_EQ(host.clicks.size(), 1u);
    EXPECT_EQ(host.clicks[0].first, kLinkId);
}

TEST_F(LinkButtonTest, ADisabledLinkIgnoresClicksAndDrawsGrey) {
    link.EnableWindow(FALSE);
    host.SendMessage(WM_COMMAND, MAKEWPARAM(kLinkId, BN_CLICKED), reinterpret_cast<LPARAM>(link.m_hWnd));
    link.PostMessage(WM_KEYDOWN, VK_RETURN, 1);
    link.PostMessage(WM_KEYUP, VK_RETURN, 0xC0000001);
    Pump();
    EXPECT_TRUE(host.clicks.empty());
    EXPECT_FALSE(link.IsVisited());
    link.SendMessage(WM_MOUSEHOVER);  // hovering does not colour a disabled link either
    Drawing d = Draw();
    EXPECT_GT(d.Count(::GetSysColor(COLOR_GRAYTEXT)), 0);
    EXPECT_EQ(d.Count(RGB(0, 0, 255)), 0);
}

TEST_F(LinkButtonTest, HoveringUnderlinesInTheHoverColourAndLeavingRestoresTheLink) {
    SIZE text{};
    {
        CClientDC dc(&link);
        dc.SelectObject(link.GetFont());
        ::GetTextExtentPoint32A(dc.m_hDC, "Details...", 10, &text);
    }
    const COLORREF linkColour = ::GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_LT(Draw().LongestRun(linkColour), text.cx / 2) << "no underline at rest";

    link.SendMessage(WM_MOUSEHOVER);
    Drawing hover = Draw();
    EXPECT_GE(hover.LongestRun(RGB(0, 0, 255)), text.cx - 2) << "underlined in the hover colour";
    EXPECT_EQ(hover.Count(linkColour), 0);

    link.SendMessage(WM_MOUSELEAVE);
    Drawing after = Draw();
    EXPECT_EQ(after.Count(RGB(0, 0, 255)), 0);
    EXPECT_GT(after.Count(linkColour), 0);
    EXPECT_LT(after.LongestRun(linkColour), text.cx / 2);
}

TEST_F(LinkButtonTest, TheMouseOnTheLinkHoversItAndShowsTheHand) {
    ::SetWindowPos(host.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(AfxGetMainWnd()->m_hWnd);
    Pump();
    CRect r;
    link.GetWindowRect(&r);
    ::SetCursorPos(r.left + 5, r.top + 5);
    ASSERT_EQ(::WindowFromPoint(CPoint(r.left + 5, r.top + 5)), link.m_hWnd);
    EXPECT_TRUE(PumpUntil([&] { return link.IsHovering(); }, 3000));
    ASSERT_NE(CLinkButton::HandCursor(), nullptr);
    EXPECT_TRUE(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), CLinkButton::HandCursor());
    ::SetCursorPos(r.right + 50, r.bottom + 50);
    EXPECT_TRUE(PumpUntil([&] { return !link.IsHovering(); }, 3000));
}

TEST_F(LinkButtonTest, OnlyAddressesGoToTheShellAndAnythingElseOnlyTellsTheParent) {
    for (const char* url : {"http://example.com/", "HTTPS://example.com/", "mailto:someone@example.com"})
        EXPECT_TRUE(CLinkButton::IsShellTarget(url)) << url;
    for (const char* other : {"Details...", "notepad", "C:\\windows\\notepad.exe", "file:///C:/x", "http", " http://x", ""})
        EXPECT_FALSE(CLinkButton::IsShellTarget(other)) << other;
    // A file the shell would open, in the current folder: a link names no such thing.
    std::string folder = ScratchFolder("link-target");
    WriteFile(folder + "\\probe.txt");
    char previous[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(folder.c_str());
    link.SetWindowText("probe.txt");
    link.SendMessage(BM_CLICK);
    Pump();
    ::SetCurrentDirectoryA(previous);
    ASSERT_EQ(host.clicks.size(), 1u);
    EXPECT_EQ(host.clicks[0].first, kLinkId);
}
