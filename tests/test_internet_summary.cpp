// The Internet summary page: its check boxes and "Erase Selected", the erases it runs through
// the category pages' own routines (and only those asked for), the controls it disables while
// they run, and its "Details..." links, clicked with the mouse.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "FakeUrlHistory.h"
#include "internet/InternetVw.h"
#include "RegistryRead.h"
#include "internet/TempNetFileVw.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
const char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const int kChecks[] = {IDC_INTERNET_CHECK_TEMPNET, IDC_INTERNET_CHECK_COOKIES, IDC_INTERNET_CHECK_HISTORY,
                       IDC_INTERNET_CHECK_TYPEDURL};
const int kBusySet[] = {IDC_INTERNET_ERASE_SELECTED, IDC_INTERNET_ERASE_TYPEDURL, IDC_INTERNET_ERASE_HISTORY,
                        IDC_INTERNET_ERASE_COOKIES,  IDC_INTERNET_ERASE_TEMPNET,  IDC_INTERNET_DETAILS_TYPEDURL,
                        IDC_INTERNET_DETAILS_HISTORY, IDC_INTERNET_DETAILS_COOKIES, IDC_INTERNET_DETAILS_TEMPNET,
                        IDC_INTERNET_SELECTALL,      IDC_INTERNET_CLEARALL};

// A top-level window of the user-interface thread as it appeared, and what the page let the
// user do at that moment.
struct Appearance {
    HWND hWnd;
    std::string caption;
    int busyEnabled;    // how many of the busy set were enabled
    int checksEnabled;  // how many check boxes were enabled
};

// Notes every message box and dialog made on this thread while it lives, through a CBT hook:
// it sees them even when they close again at once.
class DialogWatch {
public:
    explicit DialogWatch(CInternetVw* page) {
        s_self = this;
        m_page = page;
        m_hook = ::SetWindowsHookExA(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~DialogWatch() {
        ::UnhookWindowsHookEx(m_hook);
        s_self = nullptr;
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> c;
        for (const Appearance& a : m_seen) c.push_back(a.caption);
        return c;
    }
    std::vector<Appearance> m_seen;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l) {
        if (s_self) s_self->Note(code, reinterpret_cast<HWND>(w), l);
        return ::CallNextHookEx(nullptr, code, w, l);
    }
    void Note(int code, HWND h, LPARAM l) {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(l)->lpcs;
            if (cs->style & WS_CHILD) return;
            std::string name = cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "";
            m_seen.push_back({h, name, Count(kBusySet), Count(kChecks)});
        } else if (code == HCBT_ACTIVATE) {
            char text[256] = "";
            ::GetWindowTextA(h, text, sizeof text);
            for (Appearance& a : m_seen)
                if (a.hWnd == h && *text) a.caption = text;
        }
    }
    template <size_t N>
    int Count(const int (&ids)[N]) const {
        int n = 0;
        for (int id : ids) n += ::IsWindowEnabled(::GetDlgItem(m_page->m_hWnd, id)) ? 1 : 0;
        return n;
    }
    static DialogWatch* s_self;
    CInternetVw* m_page;
    HHOOK m_hook;
};
DialogWatch* DialogWatch::s_self = nullptr;

class InternetPage : public testing::Test {
protected:
    void SetUp() override {
        app = StartApp();
        doc = app->OpenPage(PageId::Internet);
        Pump();
        page = dynamic_cast<CInternetVw*>(ViewOf(doc));
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override { CloseAllPages(); }

    HWND Item(int id) const { return ::GetDlgItem(page->m_hWnd, id); }
    void Click(int id) { ::SendMessageA(Item(id), BM_CLICK, 0, 0); }
    bool Checked(int id) const { return ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    int EnabledCount() const {
        int n = 0;
        for (int id : kBusySet) n += Enabled(id) ? 1 : 0;
        return n;
    }

    // Points the cache and cookie folders at scratch folders, each holding files, and types
    // one address.
    void SeedTraces() {
        cache = ScratchFolder("summary-cache");
        cookies = ScratchFolder("summary-cookies");
        WriteFile(cache + "\\page.htm");
        WriteFile(cookies + "\\user@site.txt");
        WriteFile(cookies + "\\user@other.txt");
        RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, "Cache", cache);
        RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", cookies);
        RegSetString(HKEY_CURRENT_USER, kTypedUrlsKey, "url1", "http://typed.example/");
    }

    CTidemarkApp* app = nullptr;
    CDocument* doc = nullptr;
    CInternetVw* page = nullptr;
    std::string cache, cookies;
};
}  // namespace

TEST_F(InternetPage, TheCheckBoxesDecideWhetherEraseSelectedIsEnabled) {
    for (int id : kChecks) EXPECT_TRUE(Checked(id)) << id;
    EXPECT_EQ(EnabledCount(), 11);

    Click(IDC_INTERNET_CLEARALL);
    for (int id : kChecks) EXPECT_FALSE(Checked(id)) << id;
    EXPECT_FALSE(Enabled(IDC_INTERNET_ERASE_SELECTED));

    for (int id : kChecks) {
        Click(id);
        EXPECT_TRUE(Enabled(IDC_INTERNET_ERASE_SELECTED)) << "only " << id << " checked";
        Click(id);
        EXPECT_FALSE(Enabled(IDC_INTERNET_ERASE_SELECTED));
    }

    Click(IDC_INTERNET_SELECTALL);
    for (int id : kChecks) EXPECT_TRUE(Checked(id)) << id;
    EXPECT_TRUE(Enabled(IDC_INTERNET_ERASE_SELECTED));
}

TEST_F(InternetPage, EraseSelectedRunsOnlyTheCheckedErasesInOrderWithTheBusySetDisabled) {
    SeedTraces();
    FakeUrlHistory history({{L"http://visited.example/"}});
    Click(IDC_INTERNET_CLEARALL);
    Click(IDC_INTERNET_CHECK_COOKIES);
    Click(IDC_INTERNET_CHECK_HISTORY);
    {
        DialogAnswerer box("Corvane-Sweepmere");
        DialogWatch watch(page);
        Click(IDC_INTERNET_ERASE_SELECTED);
        EXPECT_EQ(watch.Captions(), (std::vector<std::string>{"Corvane-Sweepmere", "Vivazo"}))
            << "the history's report, then the cookies' progress dialog";
        for (const Appearance& a : watch.m_seen) {
            EXPECT_EQ(a.busyEnabled, 0) << a.caption;
            EXPECT_EQ(a.checksEnabled, 4) << a.caption;
        }
        ASSERT_EQ(box.Count(), 1u);
        EXPECT_EQ(box.Seen()[0].text, " Internet Explorer History Completely Erased.");
    }
    EXPECT_EQ(history.ClearCalls(), 1);
    EXPECT_FALSE(FileExists(cookies + "\\user@site.txt"));
    EXPECT_FALSE(FileExists(cookies + "\\user@other.txt"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kTypedUrlsKey, "url1")) << "typed addresses untouched";
    EXPECT_TRUE(FileExists(cache + "\\page.htm")) << "cache untouched";
    EXPECT_EQ(EnabledCount(), 11);
}

TEST_F(InternetPage, ARowsEraseIgnoresItsBoxAndAfterwardsEverythingIsEnabled) {
    SeedTraces();
    FakeUrlHistory history({{L"http://visited.example/"}});
    Click(IDC_INTERNET_CLEARALL);
    {
        DialogAnswerer box("Corvane-Sweepmere");
        Click(IDC_INTERNET_ERASE_TYPEDURL);
        Click(IDC_INTERNET_ERASE_HISTORY);
        EXPECT_EQ(box.Count(), 2u);
    }
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kTypedUrlsKey));
    EXPECT_EQ(history.ClearCalls(), 1);
    EXPECT_TRUE(FileExists(cookies + "\\user@site.txt"));
    EXPECT_TRUE(FileExists(cache + "\\page.htm"));
    for (int id : kChecks) EXPECT_FALSE(Checked(id));
    EXPECT_EQ(EnabledCount(), 11) << "\"Erase Selected\" too, with no box checked";

    {
        DialogWatch watch(page);
        Click(IDC_INTERNET_ERASE_TEMPNET);
        EXPECT_EQ(watch.Captions(), std::vector<std::string>{"Vivazo"});
        ASSERT_EQ(watch.m_seen.size(), 1u);
        EXPECT_EQ(watch.m_seen[0].busyEnabled, 0);
    }
    EXPECT_FALSE(FileExists(cache + "\\page.htm"));
    EXPECT_TRUE(FileExists(cookies + "\\user@site.txt"));
    EXPECT_EQ(EnabledCount(), 11);
}

TEST_F(InternetPage, EachDetailsLinkClickedWithTheMouseOpensOneMorePageOfItsCategory) {
    struct Link {
        int id;
        PageId page;
    } links[] = {{IDC_INTERNET_DETAILS_TEMPNET, PageId::TempInternetFiles},
                 {IDC_INTERNET_DETAILS_COOKIES, PageId::Cookies},
                 {IDC_INTERNET_DETAILS_HISTORY, PageId::History},
                 {IDC_INTERNET_DETAILS_TYPEDURL, PageId::TypedUrls},
                 {IDC_INTERNET_DETAILS_HISTORY, PageId::History}};
    auto* main = dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    CFrameWnd* frame = FrameOf(doc);
    for (const Link& link : links) {
        SCOPED_TRACE(link.id);
        // The page just opened covers the summary page: bring it back to the top first.
        ::SendMessageA(main->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), 0);
        ::SetForegroundWindow(main->m_hWnd);
        Pump();
        size_t before = app->PageTemplate(link.page)->GetDocuments().size();
        CRect r;
        ::GetWindowRect(Item(link.id), &r);
        ::SetCursorPos(r.left + 4, r.top + r.Height() / 2);
        ASSERT_EQ(::WindowFromPoint(CPoint(r.left + 4, r.top + r.Height() / 2)), Item(link.id));
        INPUT clicks[2] = {};
        clicks[0].type = clicks[1].type = INPUT_MOUSE;
        clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(2, clicks, sizeof(INPUT));
        EXPECT_TRUE(PumpUntil([&] { return app->PageTemplate(link.page)->GetDocuments().size() == before + 1; }, 3000));
        Pump();
        EXPECT_EQ(app->PageTemplate(link.page)->GetDocuments().size(), before + 1);
    }
}
