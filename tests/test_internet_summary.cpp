// The Internet summary page: its check boxes, the erases it runs on the worker (only those asked
// for) with the controls it disables meanwhile and the one report, its "Details..." links.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppHarness.h"
#include "internet/InternetVw.h"
#include "Pages.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t kTypedUrlsKey[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The shell rewrites "Shell Folders" from these whenever it resolves a folder (the history's
// erase does): both name the scratch folders.
const wchar_t kUserShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::vector<int> kChecks{IDC_INTERNET_CHECK_TEMPNET, IDC_INTERNET_CHECK_COOKIES, IDC_INTERNET_CHECK_HISTORY,
                               IDC_INTERNET_CHECK_TYPEDURL};
const std::vector<int> kBusySet{IDC_INTERNET_ERASE_SELECTED,  IDC_INTERNET_ERASE_TYPEDURL,  IDC_INTERNET_ERASE_HISTORY,
                                IDC_INTERNET_ERASE_COOKIES,   IDC_INTERNET_ERASE_TEMPNET,   IDC_INTERNET_DETAILS_TYPEDURL,
                                IDC_INTERNET_DETAILS_HISTORY, IDC_INTERNET_DETAILS_COOKIES, IDC_INTERNET_DETAILS_TEMPNET,
                                IDC_INTERNET_SELECTALL,       IDC_INTERNET_CLEARALL};

int EnabledOf(HWND page, const std::vector<int>& ids) {
    return std::count_if(ids.begin(), ids.end(), [&](int id) { return ::IsWindowEnabled(::GetDlgItem(page, id)); });
}

// Every top-level window of this thread made while a watch lives (through a CBT hook, so even one
// that closes at once), with how many of the busy set and of the check boxes were enabled then.
struct Appearance {
    HWND hWnd;
    std::wstring caption;
    int busyEnabled, checksEnabled;
};
std::vector<Appearance> g_seen;
HWND g_page;
LRESULT CALLBACK Watch(int code, WPARAM w, LPARAM l) {
    HWND h = reinterpret_cast<HWND>(w);
    const CREATESTRUCTW* cs = code == HCBT_CREATEWND ? reinterpret_cast<CBT_CREATEWNDW*>(l)->lpcs : nullptr;
    if (cs && !(cs->style & WS_CHILD)) {
        std::wstring name = cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : L"";
        g_seen.push_back({h, name, EnabledOf(g_page, kBusySet), EnabledOf(g_page, kChecks)});
    }
    for (Appearance& a : g_seen)
        if (code == HCBT_ACTIVATE && a.hWnd == h && !TextOf(h).empty()) a.caption = TextOf(h);
    return ::CallNextHookEx(nullptr, code, w, l);
}

class InternetPage : public testing::Test {
protected:
    void SetUp() override {
        app = StartApp();
        doc = app->OpenPage(pages::kInternet);
        Pump();
        page = dynamic_cast<CInternetVw*>(ViewOf(doc));
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override { CloseAllPages(); }

    HWND Item(int id) const { return ::GetDlgItem(page->m_hWnd, id); }
    void Click(int id) { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    bool Checked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    int EnabledCount() const { return EnabledOf(page->m_hWnd, kBusySet); }
    // Presses the button, waits for the erase and its report to end, and returns the captions of
    // the windows it opened (their texts in texts), each of which must have come with the busy
    // set disabled and the check boxes still enabled.
    std::vector<std::wstring> CaptionsWhileBusy(int id, std::vector<std::wstring>* texts = nullptr) {
        g_seen.clear();
        g_page = page->m_hWnd;
        DialogAnswerer box(L"Corvane-Sweepmere");
        HHOOK hook = ::SetWindowsHookExW(WH_CBT, Watch, nullptr, ::GetCurrentThreadId());
        Click(id);
        EXPECT_TRUE(PumpUntil([&] { return !page->Erasing(); }, 20000));
        ::UnhookWindowsHookEx(hook);
        if (texts)
            for (const SeenDialog& d : box.Seen()) texts->push_back(d.text);
        std::vector<std::wstring> captions;
        for (const Appearance& a : g_seen) {
            EXPECT_EQ(a.busyEnabled, 0) << a.caption;
            EXPECT_EQ(a.checksEnabled, 4) << a.caption;
            captions.push_back(a.caption);
        }
        return captions;
    }
    // Points the cache and cookie folders at scratch folders holding files, and types one address.
    void SeedTraces() {
        cache = ScratchFolder(L"summary-cache");
        cookies = ScratchFolder(L"summary-cookies");
        WriteFile(cache + L"\\page.htm");
        WriteFile(cookies + L"\\user@site.txt");
        WriteFile(cookies + L"\\user@other.txt");
        RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, L"Cache", cache);
        RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, L"Cookies", cookies);
        RegSetString(HKEY_CURRENT_USER, kUserShellFoldersKey, L"Cache", cache);
        RegSetString(HKEY_CURRENT_USER, kUserShellFoldersKey, L"Cookies", cookies);
        RegSetString(HKEY_CURRENT_USER, kTypedUrlsKey, L"url1", L"http://typed.example/");
    }

    CTidemarkApp* app = nullptr;
    CDocument* doc = nullptr;
    CInternetVw* page = nullptr;
    std::wstring cache, cookies;
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
        EXPECT_TRUE(Enabled(IDC_INTERNET_ERASE_SELECTED)) << L"only " << id << L" checked";
        Click(id);
        EXPECT_FALSE(Enabled(IDC_INTERNET_ERASE_SELECTED));
    }

    Click(IDC_INTERNET_SELECTALL);
    for (int id : kChecks) EXPECT_TRUE(Checked(id)) << id;
    EXPECT_TRUE(Enabled(IDC_INTERNET_ERASE_SELECTED));
}

// Each line of the one report, up to " (": the categories that ran, in their order.
std::vector<std::wstring> Categories(const std::vector<std::wstring>& texts) {
    std::vector<std::wstring> names;
    for (const std::wstring& t : texts)
        for (size_t at = 0; at < t.size();) {
            size_t end = t.find(L'\n', at), paren = t.find(L" (", at);
            if (paren < end) names.push_back(t.substr(at, paren - at));
            at = end == std::wstring::npos ? t.size() : end + 1;
        }
    return names;
}

TEST_F(InternetPage, EraseSelectedRunsOnlyTheCheckedErasesWithOneReportAndARowsEraseIgnoresTheBoxes) {
    SeedTraces();
    Click(IDC_INTERNET_CLEARALL);
    Click(IDC_INTERNET_CHECK_COOKIES);
    Click(IDC_INTERNET_CHECK_HISTORY);
    std::vector<std::wstring> texts;
    EXPECT_EQ(CaptionsWhileBusy(IDC_INTERNET_ERASE_SELECTED, &texts), std::vector<std::wstring>{L"Corvane-Sweepmere"})
        << L"one report for both, no progress dialog";
    EXPECT_EQ(Categories(texts), (std::vector<std::wstring>{L"History", L"Cookies"}));
    // Wine's history clears nothing, and the test's fake history is not reached from the
    // worker's apartment: the line says the history stayed; the cookies' line is clean.
    EXPECT_NE(texts.front().find(L"History could not be erased"), std::wstring::npos) << texts.front();
    EXPECT_NE(texts.front().find(L"\nCookies (") , std::wstring::npos) << texts.front();
    EXPECT_EQ(texts.front().find(L"not erased", texts.front().find(L"\nCookies (")), std::wstring::npos) << texts.front();
    EXPECT_FALSE(FileExists(cookies + L"\\user@site.txt") || FileExists(cookies + L"\\user@other.txt"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kTypedUrlsKey, L"url1")) << L"typed addresses untouched";
    EXPECT_TRUE(FileExists(cache + L"\\page.htm")) << L"cache untouched";
    EXPECT_EQ(EnabledCount(), 11);

    SeedTraces();
    Click(IDC_INTERNET_CLEARALL);
    texts.clear();
    CaptionsWhileBusy(IDC_INTERNET_ERASE_TYPEDURL, &texts);
    CaptionsWhileBusy(IDC_INTERNET_ERASE_HISTORY, &texts);
    EXPECT_EQ(Categories(texts), (std::vector<std::wstring>{L"Typed URLs", L"History"}));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kTypedUrlsKey));
    EXPECT_TRUE(FileExists(cookies + L"\\user@site.txt"));
    EXPECT_TRUE(FileExists(cache + L"\\page.htm"));
    for (int id : kChecks) EXPECT_FALSE(Checked(id));
    EXPECT_EQ(EnabledCount(), 10) << L"all but \"Erase Selected\", with no box checked";
    EXPECT_EQ(CaptionsWhileBusy(IDC_INTERNET_ERASE_TEMPNET), std::vector<std::wstring>{L"Corvane-Sweepmere"});
    EXPECT_FALSE(FileExists(cache + L"\\page.htm"));
    EXPECT_TRUE(FileExists(cookies + L"\\user@site.txt"));
    EXPECT_EQ(EnabledCount(), 10);
}

TEST_F(InternetPage, EachDetailsLinkClickedWithTheMouseOpensOneMorePageOfItsCategory) {
    const std::pair<int, const char*> links[] = {
        {IDC_INTERNET_DETAILS_TEMPNET, "internet.cache"}, {IDC_INTERNET_DETAILS_COOKIES, "internet.cookies"},
        {IDC_INTERNET_DETAILS_HISTORY, "internet.history"}, {IDC_INTERNET_DETAILS_TYPEDURL, "internet.typed-urls"},
        {IDC_INTERNET_DETAILS_HISTORY, "internet.history"}};  // once more: a second page of the same kind
    auto* main = dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    for (const auto& [id, kind] : links) {
        // The page just opened covers the summary page: bring it back to the top first.
        ::SendMessageW(main->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FrameOf(doc)->m_hWnd), 0);
        ::SetForegroundWindow(main->m_hWnd);
        Pump();
        size_t before = app->PageTemplate(kind)->GetDocuments().size();
        CRect r;
        ::GetWindowRect(Item(id), &r);
        CPoint at(r.left + 4, r.top + r.Height() / 2);
        ::SetCursorPos(at.x, at.y);
        ASSERT_EQ(::WindowFromPoint(at), Item(id));
        ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        PumpUntil([&] { return app->PageTemplate(kind)->GetDocuments().size() > before; }, 3000);
        Pump();
        EXPECT_EQ(app->PageTemplate(kind)->GetDocuments().size(), before + 1) << id;
    }
}
