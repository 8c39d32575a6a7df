// The pages that erase a folder, the cache and the cookies: what each lists, Cancel, a missing or
// refused folder, links and look-alike names that lead out of the folder, ERASE pressed again
// during an erase, the window-less erase with its counts, and closing a page while it lists.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppHarness.h"
#include "EraseKit.h"
#include "FileWalk.h"
#include "Pacing.h"
#include "RegistryRead.h"
#include "TestKit.h"
#include "internet/Cookies.h"
#include "internet/TempNetFileVw.h"
#include "resource.h"

using namespace testkit;

namespace {
struct ErasingPage {
    const wchar_t* name;       // also the Shell Folders value naming the folder
    const char* page;
    UINT erase;             // the ERASE button
    const wchar_t* library;    // the library call logged after ERASE
    const wchar_t* fixture;    // its link fixtures under C:\corvane-links
    int (*rows)(CView*);    // the rows or items the page shows
    void (*eraseBehindDialog)();  // the summary page's erase of a view without window
    EraseResult (*windowless)();
};

int CacheRows(CView* v) { return static_cast<CTempNetFileVw*>(v)->m_list.GetItemCount(); }
int CookieRows(CView* v) { return static_cast<int>(static_cast<CCookies*>(v)->m_tree.GetCount()); }

const ErasingPage kPages[] = {
    {L"Cache", "internet.cache", IDC_TEMPNET_ERASE, L"InterNet\n", L"cache", CacheRows,
     [] { CTempNetFileVw().StartCacheErase(); }, CTempNetFileVw::EraseWithoutWindow},
    {L"Cookies", "internet.cookies", IDC_COOKIES_ERASE, L"Cookies\n", L"cookies", CookieRows,
     [] { CCookies().StartCookieErase(); }, CCookies::EraseWithoutWindow},
};

const std::wstring kLinks = L"C:\\corvane-links";

bool ReadOnly(const std::wstring& path) {
    DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

class PageTest : public ::testing::Test {
protected:
    explicit PageTest(const ErasingPage& page) : m_page(page) {}
    void SetUp() override {
        StartApp();
        m_log = UseLibraryStub(std::wstring(m_page.name) + L"-library");
    }
    void TearDown() override {
        CloseAllPages();
        Pacing::SetScalePercent(0);
    }
    std::wstring Scratch(const wchar_t* what) { return ScratchFolder(std::wstring(m_page.name) + L"-" + what); }
    void PointAt(const std::wstring& folder) {
        RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, m_page.name, folder);
    }
    CView* OpenAt(const std::wstring& folder) {
        PointAt(folder);
        CView* view = ViewOf(TheApp()->OpenPage(m_page.page));
        if (auto* cache = dynamic_cast<CTempNetFileVw*>(view)) PumpUntil([&] { return !cache->Listing(); });
        Pump();
        return view;
    }
    int Rows(CView* v) { return m_page.rows(v); }
    void PressErase(CView* v, bool alsoQueueASecond = false) {
        LPARAM button = reinterpret_cast<LPARAM>(::GetDlgItem(v->m_hWnd, m_page.erase));
        WPARAM command = MAKEWPARAM(m_page.erase, BN_CLICKED);
        // A queued press reaches the page inside the progress dialog's modal loop.
        if (alsoQueueASecond) v->PostMessage(WM_COMMAND, command, button);
        v->SendMessage(WM_COMMAND, command, button);
        Pump();
    }
    const ErasingPage& m_page;
    std::wstring m_log;
};

class ErasingPages : public PageTest, public ::testing::WithParamInterface<ErasingPage> {
protected:
    ErasingPages() : PageTest(GetParam()) {}
};
struct CachePage : PageTest {
    CachePage() : PageTest(kPages[0]) {}
};
struct CookiesPage : PageTest {
    CookiesPage() : PageTest(kPages[1]) {}
};

// The files a depth-first walk meets in its second pass of each folder, in order.
void WalkOrder(const std::wstring& folder, std::vector<std::wstring>& names) {
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW((folder + L"\\*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring n = d.cFileName;
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(n);
        else if (n != L"." && n != L"..") WalkOrder(folder + L"\\" + n, names);
    } while (::FindNextFileW(h, &d));
    ::FindClose(h);
}
}  // namespace

TEST_P(ErasingPages, CancelKeepsTheFileInHandAndAllAfterItAndTheLibraryStepStillRuns) {
    std::wstring f = Scratch(L"cancel");
    for (int i = 0; i < 5; ++i) WriteFile(f + L"\\f" + std::to_wstring(i) + L".htm");
    CView* view = OpenAt(f);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(Rows(view), 5);
    Pacing::SetScalePercent(100);  // a second in hand per file: time enough to press Cancel
    ProgressWatch watch(2);
    PressErase(view);
    std::vector<std::wstring> shown = watch.Paths();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(FileExists(shown[0]));
    EXPECT_TRUE(FileExists(shown[1]));
    std::vector<std::wstring> left;
    WalkOrder(f, left);
    EXPECT_EQ(left.size(), 4u);
    EXPECT_EQ(Rows(view), 5);  // a cancelled erase leaves the list as it was
    EXPECT_EQ(ReadText(m_log), m_page.library);
}

TEST_P(ErasingPages, MissingOrRefusedFolderIsNeitherListedNorErasedAndTheDialogStillEnds) {
    const std::wstring sentinel = L"C:\\corvane-refused.txt";
    WriteFile(sentinel);
    ::SetFileAttributesW(sentinel.c_str(), FILE_ATTRIBUTE_READONLY);
    for (const wchar_t* folder : {L"C:\\corvane-scratch\\no-such-folder", L"C:\\corvane-scratch\\x\\..\\.."}) {
        const bool refused = folder[wcslen(folder) - 1] == '.';  // the drive's root
        CView* view = OpenAt(folder);
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(Rows(view), 0);  // a listed root would be erased next: stop here
        DialogAnswerer box(L"Corvane-Sweepmere");
        ProgressWatch watch;
        PressErase(view);
        EXPECT_FALSE(watch.HadToCancel());
        ASSERT_EQ(box.Count(), refused ? 1u : 0u);  // the user is told why nothing went
        EXPECT_TRUE(!refused || box.Seen()[0].text.find(L"protected folder") != std::wstring::npos) << box.Seen()[0].text;
        EraseResult r = m_page.windowless();
        EXPECT_EQ(r.Complete(), !refused);  // nothing there, nothing left
        EXPECT_EQ(r.firstReason.find(L"protected") != std::wstring::npos, refused) << r.firstReason;
        EXPECT_EQ(r.erased, 0u);
    }
    EXPECT_EQ(ReadText(m_log), std::wstring(m_page.library) + m_page.library);
    EXPECT_TRUE(ReadOnly(sentinel));  // not even its attributes
}

TEST_P(ErasingPages, NeverLeavesItsFolderThroughLinksOrLookAlikeNamesAndIgnoresEraseAgain) {
    std::wstring links = kLinks + L"\\" + m_page.fixture;
    ASSERT_TRUE(FileExists(links + L"\\filelink")) << L"made by tests/make_links.sh";
    ASSERT_TRUE(ReadOnly(kLinks + L"\\sentinel\\keep.txt") && ReadOnly(kLinks + L"\\keep.txt"));
    WriteFile(links + L"\\own.txt");
    CView* view = OpenAt(links);
    ASSERT_NE(view, nullptr);
    {
        ProgressWatch watch;
        PressErase(view, true);
        EXPECT_FALSE(watch.HadToCancel());
    }
    EXPECT_FALSE(FileExists(links + L"\\own.txt"));
    EXPECT_TRUE(FileExists(links + L"\\filelink"));
    EXPECT_EQ(ReadText(m_log), m_page.library);  // one erase, one library call

    // Their ANSI names are "..\keep.txt" and "..": erased by their real names, inside.
    view = OpenAt(links + L"-odd");
    ASSERT_NE(view, nullptr);
    {
        ProgressWatch watch;
        PressErase(view);
        EXPECT_FALSE(watch.HadToCancel());
    }
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW(L"C:\\corvane-links\\*-odd\\*keep.txt", &d);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << L"a look-alike file is left";
    if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
    EXPECT_TRUE(ReadOnly(kLinks + L"\\sentinel\\keep.txt"));
    EXPECT_TRUE(ReadOnly(kLinks + L"\\keep.txt"));
}

TEST_P(ErasingPages, WindowlessErasesCountWhatTheyDidWithoutTheLibraryStep) {
    std::wstring f = Scratch(L"windowless");
    WriteFile(f + L"\\a.htm", L"1234");
    WriteFile(f + L"\\ro.htm", L"12");
    ::SetFileAttributesW((f + L"\\ro.htm").c_str(), FILE_ATTRIBUTE_READONLY);
    PointAt(f);
    EraseResult r;
    {
        ProgressWatch watch;
        r = m_page.windowless();
        EXPECT_TRUE(watch.Paths().empty());  // no dialog
    }
    EXPECT_EQ(r.erased, 2u);
    EXPECT_EQ(r.bytes, 6u);
    EXPECT_TRUE(r.Complete()) << r.firstReason;
    EXPECT_FALSE(FileExists(f + L"\\ro.htm"));

    WriteFile(f + L"\\b.htm");
    ProgressWatch watch;
    m_page.eraseBehindDialog();
    EXPECT_FALSE(FileExists(f + L"\\b.htm"));
    EXPECT_FALSE(watch.HadToCancel());
    EXPECT_EQ(ReadText(m_log), L"");
}

TEST_P(ErasingPages, TheLibraryIsNeverLoadedFromTheCurrentFolderAndUnlistedFilesAreErasedToo) {
    std::wstring current = Scratch(L"current");
    ASSERT_TRUE(::MoveFileExW((ProgramFolder() + L"Kestrix.dll").c_str(), (current + L"\\Kestrix.dll").c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED));
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(current.c_str());
    std::wstring folder = Scratch(L"unlisted"), unlisted = folder + L"\\index.dat";
    WriteFile(unlisted);
    CView* view = OpenAt(folder);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Rows(view), 0);
    {
        ProgressWatch watch;
        PressErase(view);
    }
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(ReadText(m_log), L"");
    EXPECT_FALSE(FileExists(unlisted));  // an empty list is no reason to skip the erase
}

TEST_P(ErasingPages, ClosingThePageWhileItListsIsSafe) {
    std::wstring f = Scratch(L"closing");
    for (int d = 0; d < 20; ++d) {
        std::wstring sub = f + L"\\d" + std::to_wstring(d);
        ::CreateDirectoryW(sub.c_str(), nullptr);
        for (int i = 0; i < 5; ++i) WriteFile(sub + L"\\f" + std::to_wstring(i) + L".htm");
    }
    PointAt(f);
    Pacing::SetScalePercent(10);  // 10 ms per folder: the cache's listing outlives a quick close
    int closedMidway = 0;
    for (int i = 0; i < 100; ++i) {
        CDocument* doc = TheApp()->OpenPage(m_page.page);
        ASSERT_NE(ViewOf(doc), nullptr);
        Pump();
        if (auto* cache = dynamic_cast<CTempNetFileVw*>(ViewOf(doc))) closedMidway += cache->Listing();
        FrameOf(doc)->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_TRUE(TheApp()->PageTemplate(m_page.page)->GetDocuments().empty());
    EXPECT_GE(closedMidway, m_page.page == "internet.cache" ? 10 : 0);  // the case did happen
}

INSTANTIATE_TEST_SUITE_P(Pages, ErasingPages, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<ErasingPage>& i) { std::wstring n = i.param.name; return std::string(n.begin(), n.end()); });

TEST_F(CachePage, ListsFilesOfTheWholeTreeNewestFirstClearsTheirAttributesAndErasesEvenUnlistedOnes) {
    std::wstring cache = Scratch(L"tree");
    ::CreateDirectoryW((cache + L"\\Content.IE5").c_str(), nullptr);
    ::CreateDirectoryW((cache + L"\\Content.IE5\\AB12").c_str(), nullptr);
    for (const wchar_t* f : {L"LOG.DAT", L"olddat", L"a.htm", L"z.gif", L"Content.IE5\\b.js", L"Content.IE5\\AB12\\c.css",
                          L"Content.IE5\\AB12\\d.png", L"Content.IE5\\index.dat", L"Content.IE5\\desktop.ini"})
        WriteFile(cache + L"\\" + f);
    ::SetFileAttributesW((cache + L"\\a.htm").c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW((cache + L"\\Content.IE5\\b.js").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    auto* view = static_cast<CTempNetFileVw*>(OpenAt(cache));
    ASSERT_NE(view, nullptr);
    std::vector<std::wstring> expected, rows;
    WalkOrder(cache, expected);  // newest first: the walk's order, reversed, of the listed names
    expected.erase(std::remove_if(expected.begin(), expected.end(), [](const std::wstring& n) { return !filewalk::IsListedCacheName(n); }),
                   expected.end());
    std::reverse(expected.begin(), expected.end());
    for (int i = 0; i < view->m_list.GetItemCount(); ++i) rows.push_back(view->m_list.GetItemText(i, 0));
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(expected.size(), 6u);
    EXPECT_EQ(::GetFileAttributesW((cache + L"\\a.htm").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(::GetFileAttributesW((cache + L"\\Content.IE5\\b.js").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_TRUE(FileExists(cache + L"\\olddat"));  // listing deletes nothing

    ProgressWatch watch;
    PressErase(view);
    std::vector<std::wstring> left;
    WalkOrder(cache, left);
    EXPECT_TRUE(left.empty()) << left.front();
    EXPECT_TRUE(FileExists(cache + L"\\Content.IE5\\AB12\\"));  // folders stay
    EXPECT_EQ(Rows(view), 0);
    EXPECT_FALSE(watch.HadToCancel());
    EXPECT_EQ(ReadText(m_log), L"InterNet\n");
}

TEST(QueryRegStringTest, KeepsTextWithoutKeyEmptiesItWithoutValueAndClosesUnterminatedData) {
    const std::wstring key = L"Software\\Corvane-Tests\\Query";
    RegDeleteTree(HKEY_CURRENT_USER, key);
    std::wstring text = L"before";
    QueryRegString(HKEY_CURRENT_USER, key.c_str(), L"v", text);
    EXPECT_EQ(text, L"before");
    RegSetString(HKEY_CURRENT_USER, key, L"other", L"x");
    QueryRegString(HKEY_CURRENT_USER, key.c_str(), L"v", text);
    EXPECT_EQ(text, L"");
    RegSetBinary(HKEY_CURRENT_USER, key, L"v", L"C:\\c", 4 * sizeof(wchar_t), REG_SZ);  // no closing zero
    QueryRegString(HKEY_CURRENT_USER, key.c_str(), L"v", text);
    EXPECT_EQ(text, L"C:\\c");
    std::wstring full(260, 'a');
    RegSetBinary(HKEY_CURRENT_USER, key, L"v", full.data(), 260 * sizeof(wchar_t), REG_SZ);  // fills the buffer, unclosed
    QueryRegString(HKEY_CURRENT_USER, key.c_str(), L"v", text);
    EXPECT_EQ(text, L"");
    RegSetString(HKEY_CURRENT_USER, key, L"v", std::wstring(300, 'b'));
    text = L"x";
    QueryRegString(HKEY_CURRENT_USER, key.c_str(), L"v", text);
    EXPECT_EQ(text, L"");
    RegDeleteTree(HKEY_CURRENT_USER, key);
}

TEST_F(CookiesPage, TreeShowsTheFoldersOwnEntriesSortedAndTheEraseTakesEveryFile) {
    std::wstring c = Scratch(L"tree");
    for (const wchar_t* f : {L"zed@site.txt", L"anna@site.txt", L"index.dat", L"mike@olddat"}) WriteFile(c + L"\\" + f);
    for (const wchar_t* d : {L"full", L"hidden-only", L"empty", L"nested", L"nested\\inner"})
        ::CreateDirectoryW((c + L"\\" + d).c_str(), nullptr);
    WriteFile(c + L"\\full\\inside.txt");
    WriteFile(c + L"\\hidden-only\\h.txt");
    ::SetFileAttributesW((c + L"\\hidden-only\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteFile(c + L"\\nested\\inner\\deep.txt");
    auto* view = static_cast<CCookies*>(OpenAt(c));
    ASSERT_NE(view, nullptr);
    std::vector<std::wstring> items;  // root items in tree order, "+" their first child
    for (HTREEITEM i = view->m_tree.GetRootItem(); i; i = view->m_tree.GetNextSiblingItem(i)) {
        HTREEITEM child = view->m_tree.GetChildItem(i);
        items.push_back(view->m_tree.GetItemText(i) + (child ? L"+" + view->m_tree.GetItemText(child) : L""));
    }
    std::vector<std::wstring> expected{c + L"\\anna@site.txt", c + L"\\empty", c + L"\\full+", c + L"\\hidden-only",
                                      c + L"\\nested+", c + L"\\zed@site.txt"};
    EXPECT_EQ(items, expected);

    ProgressWatch watch;
    PressErase(view);
    EXPECT_FALSE(watch.HadToCancel());  // it ended with the walk, without an index file met twice
    std::vector<std::wstring> left;
    WalkOrder(c, left);
    EXPECT_TRUE(left.empty()) << left.front();
    EXPECT_TRUE(FileExists(c + L"\\nested\\inner\\"));
    EXPECT_EQ(Rows(view), 0);
    EXPECT_EQ(ReadText(m_log), L"Cookies\n");
}
