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
    const char* name;       // also the Shell Folders value naming the folder
    PageId page;
    UINT erase;             // the ERASE button
    const char* library;    // the library call logged after ERASE
    const char* fixture;    // its link fixtures under C:\corvane-links
    int (*rows)(CView*);    // the rows or items the page shows
    void (*eraseBehindDialog)();  // the summary page's erase of a view without window
    EraseResult (*windowless)();
};

int CacheRows(CView* v) { return static_cast<CTempNetFileVw*>(v)->m_list.GetItemCount(); }
int CookieRows(CView* v) { return static_cast<int>(static_cast<CCookies*>(v)->m_tree.GetCount()); }

const ErasingPage kPages[] = {
    {"Cache", PageId::TempInternetFiles, IDC_TEMPNET_ERASE, "InterNet\n", "cache", CacheRows,
     [] { CTempNetFileVw().StartCacheErase(); }, CTempNetFileVw::EraseWithoutWindow},
    {"Cookies", PageId::Cookies, IDC_COOKIES_ERASE, "Cookies\n", "cookies", CookieRows,
     [] { CCookies().StartCookieErase(); }, CCookies::EraseWithoutWindow},
};

const std::string kLinks = "C:\\corvane-links";

bool ReadOnly(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

class PageTest : public ::testing::Test {
protected:
    explicit PageTest(const ErasingPage& page) : m_page(page) {}
    void SetUp() override {
        StartApp();
        m_log = UseLibraryStub(std::string(m_page.name) + "-library");
    }
    void TearDown() override {
        CloseAllPages();
        Pacing::SetScalePercent(0);
    }
    std::string Scratch(const char* what) { return ScratchFolder(std::string(m_page.name) + "-" + what); }
    void PointAt(const std::string& folder) {
        RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, m_page.name, folder);
    }
    CView* OpenAt(const std::string& folder) {
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
    std::string m_log;
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
void WalkOrder(const std::string& folder, std::vector<std::string>& names) {
    WIN32_FIND_DATAA d;
    HANDLE h = ::FindFirstFileA((folder + "\\*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string n = d.cFileName;
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(n);
        else if (n != "." && n != "..") WalkOrder(folder + "\\" + n, names);
    } while (::FindNextFileA(h, &d));
    ::FindClose(h);
}
}  // namespace

TEST_P(ErasingPages, CancelKeepsTheFileInHandAndAllAfterItAndTheLibraryStepStillRuns) {
    std::string f = Scratch("cancel");
    for (int i = 0; i < 5; ++i) WriteFile(f + "\\f" + std::to_string(i) + ".htm");
    CView* view = OpenAt(f);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(Rows(view), 5);
    Pacing::SetScalePercent(100);  // a second in hand per file: time enough to press Cancel
    ProgressWatch watch(2);
    PressErase(view);
    std::vector<std::string> shown = watch.Paths();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(FileExists(shown[0]));
    EXPECT_TRUE(FileExists(shown[1]));
    std::vector<std::string> left;
    WalkOrder(f, left);
    EXPECT_EQ(left.size(), 4u);
    EXPECT_EQ(Rows(view), 5);  // a cancelled erase leaves the list as it was
    EXPECT_EQ(ReadText(m_log), m_page.library);
}

TEST_P(ErasingPages, MissingOrRefusedFolderIsNeitherListedNorErasedAndTheDialogStillEnds) {
    const std::string sentinel = "C:\\corvane-refused.txt";
    WriteFile(sentinel);
    ::SetFileAttributesA(sentinel.c_str(), FILE_ATTRIBUTE_READONLY);
    for (const char* folder : {"C:\\corvane-scratch\\no-such-folder", "C:\\corvane-scratch\\x\\..\\.."}) {
        const bool refused = folder[strlen(folder) - 1] == '.';  // the drive's root
        CView* view = OpenAt(folder);
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(Rows(view), 0);  // a listed root would be erased next: stop here
        DialogAnswerer box("Corvane-Sweepmere");
        ProgressWatch watch;
        PressErase(view);
        EXPECT_FALSE(watch.HadToCancel());
        ASSERT_EQ(box.Count(), refused ? 1u : 0u);  // the user is told why nothing went
        EXPECT_TRUE(!refused || box.Seen()[0].text.find("protected folder") != std::string::npos) << box.Seen()[0].text;
        EraseResult r = m_page.windowless();
        EXPECT_EQ(r.Complete(), !refused);  // nothing there, nothing left
        EXPECT_EQ(r.firstReason.find("protected") != std::string::npos, refused) << r.firstReason;
        EXPECT_EQ(r.erased, 0u);
    }
    EXPECT_EQ(ReadText(m_log), std::string(m_page.library) + m_page.library);
    EXPECT_TRUE(ReadOnly(sentinel));  // not even its attributes
}

TEST_P(ErasingPages, NeverLeavesItsFolderThroughLinksOrLookAlikeNamesAndIgnoresEraseAgain) {
    std::string links = kLinks + "\\" + m_page.fixture;
    ASSERT_TRUE(FileExists(links + "\\filelink")) << "made by tests/make_links.sh";
    ASSERT_TRUE(ReadOnly(kLinks + "\\sentinel\\keep.txt") && ReadOnly(kLinks + "\\keep.txt"));
    WriteFile(links + "\\own.txt");
    CView* view = OpenAt(links);
    ASSERT_NE(view, nullptr);
    {
        ProgressWatch watch;
        PressErase(view, true);
        EXPECT_FALSE(watch.HadToCancel());
    }
    EXPECT_FALSE(FileExists(links + "\\own.txt"));
    EXPECT_TRUE(FileExists(links + "\\filelink"));
    EXPECT_EQ(ReadText(m_log), m_page.library);  // one erase, one library call

    // Their ANSI names are "..\keep.txt" and "..": erased by their real names, inside.
    view = OpenAt(links + "-odd");
    ASSERT_NE(view, nullptr);
    {
        ProgressWatch watch;
        PressErase(view);
        EXPECT_FALSE(watch.HadToCancel());
    }
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW(L"C:\\corvane-links\\*-odd\\*keep.txt", &d);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "a look-alike file is left";
    if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
    EXPECT_TRUE(ReadOnly(kLinks + "\\sentinel\\keep.txt"));
    EXPECT_TRUE(ReadOnly(kLinks + "\\keep.txt"));
}

TEST_P(ErasingPages, WindowlessErasesCountWhatTheyDidWithoutTheLibraryStep) {
    std::string f = Scratch("windowless");
    WriteFile(f + "\\a.htm", "1234");
    WriteFile(f + "\\ro.htm", "12");
    ::SetFileAttributesA((f + "\\ro.htm").c_str(), FILE_ATTRIBUTE_READONLY);
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
    EXPECT_FALSE(FileExists(f + "\\ro.htm"));

    WriteFile(f + "\\b.htm");
    ProgressWatch watch;
    m_page.eraseBehindDialog();
    EXPECT_FALSE(FileExists(f + "\\b.htm"));
    EXPECT_FALSE(watch.HadToCancel());
    EXPECT_EQ(ReadText(m_log), "");
}

TEST_P(ErasingPages, TheLibraryIsNeverLoadedFromTheCurrentFolderAndUnlistedFilesAreErasedToo) {
    std::string current = Scratch("current");
    ASSERT_TRUE(::MoveFileExA((ProgramFolder() + "Kestrix.dll").c_str(), (current + "\\Kestrix.dll").c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED));
    char previous[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(current.c_str());
    std::string folder = Scratch("unlisted"), unlisted = folder + "\\index.dat";
    WriteFile(unlisted);
    CView* view = OpenAt(folder);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Rows(view), 0);
    {
        ProgressWatch watch;
        PressErase(view);
    }
    ::SetCurrentDirectoryA(previous);
    EXPECT_EQ(ReadText(m_log), "");
    EXPECT_FALSE(FileExists(unlisted));  // an empty list is no reason to skip the erase
}

TEST_P(ErasingPages, ClosingThePageWhileItListsIsSafe) {
    std::string f = Scratch("closing");
    for (int d = 0; d < 20; ++d) {
        std::string sub = f + "\\d" + std::to_string(d);
        ::CreateDirectoryA(sub.c_str(), nullptr);
        for (int i = 0; i < 5; ++i) WriteFile(sub + "\\f" + std::to_string(i) + ".htm");
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
    EXPECT_GE(closedMidway, m_page.page == PageId::TempInternetFiles ? 10 : 0);  // the case did happen
}

INSTANTIATE_TEST_SUITE_P(Pages, ErasingPages, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<ErasingPage>& i) { return std::string(i.param.name); });

TEST_F(CachePage, ListsFilesOfTheWholeTreeNewestFirstClearsTheirAttributesAndErasesEvenUnlistedOnes) {
    std::string cache = Scratch("tree");
    ::CreateDirectoryA((cache + "\\Content.IE5").c_str(), nullptr);
    ::CreateDirectoryA((cache + "\\Content.IE5\\AB12").c_str(), nullptr);
    for (const char* f : {"LOG.DAT", "olddat", "a.htm", "z.gif", "Content.IE5\\b.js", "Content.IE5\\AB12\\c.css",
                          "Content.IE5\\AB12\\d.png", "Content.IE5\\index.dat", "Content.IE5\\desktop.ini"})
        WriteFile(cache + "\\" + f);
    ::SetFileAttributesA((cache + "\\a.htm").c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesA((cache + "\\Content.IE5\\b.js").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    auto* view = static_cast<CTempNetFileVw*>(OpenAt(cache));
    ASSERT_NE(view, nullptr);
    std::vector<std::string> expected, rows;
    WalkOrder(cache, expected);  // newest first: the walk's order, reversed, of the listed names
    expected.erase(std::remove_if(expected.begin(), expected.end(), [](const std::string& n) { return !filewalk::IsListedCacheName(n); }),
                   expected.end());
    std::reverse(expected.begin(), expected.end());
    for (int i = 0; i < view->m_list.GetItemCount(); ++i) rows.push_back(view->m_list.GetItemText(i, 0));
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(expected.size(), 6u);
    EXPECT_EQ(::GetFileAttributesA((cache + "\\a.htm").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(::GetFileAttributesA((cache + "\\Content.IE5\\b.js").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_TRUE(FileExists(cache + "\\olddat"));  // listing deletes nothing

    ProgressWatch watch;
    PressErase(view);
    std::vector<std::string> left;
    WalkOrder(cache, left);
    EXPECT_TRUE(left.empty()) << left.front();
    EXPECT_TRUE(FileExists(cache + "\\Content.IE5\\AB12\\"));  // folders stay
    EXPECT_EQ(Rows(view), 0);
    EXPECT_FALSE(watch.HadToCancel());
    EXPECT_EQ(ReadText(m_log), "InterNet\n");
}

TEST(QueryRegStringTest, KeepsTextWithoutKeyEmptiesItWithoutValueAndClosesUnterminatedData) {
    const std::string key = "Software\\Corvane-Tests\\Query";
    RegDeleteTree(HKEY_CURRENT_USER, key);
    std::string text = "before";
    QueryRegString(HKEY_CURRENT_USER, key.c_str(), "v", text);
    EXPECT_EQ(text, "before");
    RegSetString(HKEY_CURRENT_USER, key, "other", "x");
    QueryRegString(HKEY_CURRENT_USER, key.c_str(), "v", text);
    EXPECT_EQ(text, "");
    RegSetBinary(HKEY_CURRENT_USER, key, "v", "C:\\c", 4, REG_SZ);  // no closing zero
    QueryRegString(HKEY_CURRENT_USER, key.c_str(), "v", text);
    EXPECT_EQ(text, "C:\\c");
    std::string full(260, 'a');
    RegSetBinary(HKEY_CURRENT_USER, key, "v", full.data(), 260, REG_SZ);  // fills the buffer, unclosed
    QueryRegString(HKEY_CURRENT_USER, key.c_str(), "v", text);
    EXPECT_EQ(text, "");
    RegSetString(HKEY_CURRENT_USER, key, "v", std::string(300, 'b'));
    text = "x";
    QueryRegString(HKEY_CURRENT_USER, key.c_str(), "v", text);
    EXPECT_EQ(text, "");
    RegDeleteTree(HKEY_CURRENT_USER, key);
}

TEST_F(CookiesPage, TreeShowsTheFoldersOwnEntriesSortedAndTheEraseTakesEveryFile) {
    std::string c = Scratch("tree");
    for (const char* f : {"zed@site.txt", "anna@site.txt", "index.dat", "mike@olddat"}) WriteFile(c + "\\" + f);
    for (const char* d : {"full", "hidden-only", "empty", "nested", "nested\\inner"})
        ::CreateDirectoryA((c + "\\" + d).c_str(), nullptr);
    WriteFile(c + "\\full\\inside.txt");
    WriteFile(c + "\\hidden-only\\h.txt");
    ::SetFileAttributesA((c + "\\hidden-only\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteFile(c + "\\nested\\inner\\deep.txt");
    auto* view = static_cast<CCookies*>(OpenAt(c));
    ASSERT_NE(view, nullptr);
    std::vector<std::string> items;  // root items in tree order, "+" their first child
    for (HTREEITEM i = view->m_tree.GetRootItem(); i; i = view->m_tree.GetNextSiblingItem(i)) {
        HTREEITEM child = view->m_tree.GetChildItem(i);
        items.push_back(view->m_tree.GetItemText(i) + (child ? "+" + view->m_tree.GetItemText(child) : ""));
    }
    std::vector<std::string> expected{c + "\\anna@site.txt", c + "\\empty", c + "\\full+", c + "\\hidden-only",
                                      c + "\\nested+", c + "\\zed@site.txt"};
    EXPECT_EQ(items, expected);

    ProgressWatch watch;
    PressErase(view);
    EXPECT_FALSE(watch.HadToCancel());  // it ended with the walk, without an index file met twice
    std::vector<std::string> left;
    WalkOrder(c, left);
    EXPECT_TRUE(left.empty()) << left.front();
    EXPECT_TRUE(FileExists(c + "\\nested\\inner\\"));
    EXPECT_EQ(Rows(view), 0);
    EXPECT_EQ(ReadText(m_log), "Cookies\n");
}
