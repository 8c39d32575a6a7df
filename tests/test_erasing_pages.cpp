// The pages that erase a folder, the cache and the cookies: what each lists, Cancel, a missing or
// refused folder, and ERASE pressed again during an erase. What the walk never follows is the
// engine's own test; a page closed while it lists, the temporary-files pages'.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppHarness.h"
#include "Categories.h"
#include "EraseKit.h"
#include "ModalScript.h"
#include "Pacing.h"
#include "internet/Cookies.h"
#include "internet/TempNetFileVw.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kCaption[] = L"Corvane-Sweepmere";
// Outside any 8-bit code page (Cyrillic, CJK and a surrogate pair): listed and erased as it is.
const wchar_t kUnicode[] = L"\u043e\u0442\u0447\u0451\u0442 \u5c65\u6b74 \xD834\xDD1E.txt";

struct ErasingPage {
    const wchar_t* name;     // also the Shell Folders value naming the folder
    const char* key;         // the category
    UINT erase;              // the ERASE button
    const wchar_t* library;  // the library call logged after ERASE
    int (*rows)(CView*);     // the rows or items the page shows
};

int CacheRows(CView* v) { return static_cast<CTempNetFileVw*>(v)->m_list.GetItemCount(); }
int CookieRows(CView* v) { return static_cast<int>(static_cast<CCookies*>(v)->m_tree.GetCount()); }

const ErasingPage kPages[] = {
    {L"Cache", "internet.cache", IDC_TEMPNET_ERASE, L"InterNet\n", CacheRows},
    {L"Cookies", "internet.cookies", IDC_COOKIES_ERASE, L"Cookies\n", CookieRows},
};

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
    CView* OpenAt(const std::wstring& folder) {
        RegSetString(HKEY_CURRENT_USER, kShellFolders, m_page.name, folder);
        CView* view = OpenPage(m_page.key);
        if (auto* cache = dynamic_cast<CTempNetFileVw*>(view)) PumpUntil([&] { return !cache->Listing(); });
        Pump();
        return view;
    }
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
template <int N>
struct OnePage : PageTest {
    OnePage() : PageTest(kPages[N]) {}
};
using CachePage = OnePage<0>;
using CookiesPage = OnePage<1>;
}  // namespace

TEST_P(ErasingPages, CancelKeepsTheFileInHandAndAllAfterItAndTheLibraryStepStillRuns) {
    std::wstring f = Scratch(L"cancel");
    for (int i = 0; i < 5; ++i) WriteFile(f + L"\\f" + std::to_wstring(i) + L".htm");
    CView* view = OpenAt(f);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(m_page.rows(view), 5);
    Pacing::SetScalePercent(100);  // a second in hand per file: time enough to press Cancel
    DialogAnswerer box(kCaption);
    std::vector<std::wstring> shown;  // the paths the progress dialog showed, to the second: Cancel there
    EXPECT_TRUE(WithModalDialog(L"Vivazo", [&](HWND dlg) {
        EXPECT_TRUE(PumpUntil([&] {
            std::wstring path = TextOf(::GetDlgItem(dlg, IDC_PROGRESS_PATH));
            if (!path.empty() && (shown.empty() || shown.back() != path)) shown.push_back(path);
            return shown.size() == 2;
        }, 20000));
        Click(dlg, IDC_PROGRESS_CANCEL);
    }, [&] { PressErase(view); }));
    EXPECT_LE(box.Count(), 1u);  // what stayed may be reported, once
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(FileExists(shown[0]));
    EXPECT_TRUE(FileExists(shown[1]));
    EXPECT_EQ(EntriesIn(f), 4u);
    EXPECT_EQ(m_page.rows(view), 5);  // a cancelled erase leaves the list as it was
    EXPECT_EQ(ReadText(m_log), m_page.library);
}

// The library is never loaded from the current folder either.
TEST_P(ErasingPages, MissingOrRefusedFolderIsNeitherListedNorErasedAndTheDialogStillEnds) {
    const std::wstring sentinel = L"C:\\corvane-refused.txt";
    WriteFile(sentinel);
    ::SetFileAttributesW(sentinel.c_str(), FILE_ATTRIBUTE_READONLY);
    for (const wchar_t* folder : {L"C:\\corvane-scratch\\no-such-folder", L"C:\\corvane-scratch\\x\\..\\.."}) {
        const bool refused = folder[wcslen(folder) - 1] == '.';  // the drive's root
        CView* view = OpenAt(folder);
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(m_page.rows(view), 0);  // a listed root would be erased next: stop here
        DialogAnswerer box(kCaption);
        PressErase(view);
        ASSERT_EQ(box.Count(), refused ? 1u : 0u);  // the user is told why nothing went
        if (refused) {  // the engine's own reason
            const std::wstring reason = engine::RunErase(engine::CategoryOf(m_page.key), {}).FirstReason();
            EXPECT_TRUE(!reason.empty() && box.Seen()[0].text.find(reason) != std::wstring::npos) << box.Seen()[0].text;
        }
    }
    const DWORD kept = ::GetFileAttributesW(sentinel.c_str());
    EXPECT_TRUE(kept != INVALID_FILE_ATTRIBUTES && (kept & FILE_ATTRIBUTE_READONLY));  // not even its attributes
    EXPECT_EQ(ReadText(m_log), std::wstring(m_page.library) + m_page.library);

    std::wstring current = Scratch(L"current");
    ASSERT_TRUE(::MoveFileExW((ProgramFolder() + L"Kestrix.dll").c_str(), (current + L"\\Kestrix.dll").c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED));
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(current.c_str());
    PressErase(OpenAt(Scratch(L"unlisted")));
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(ReadText(m_log), std::wstring(m_page.library) + m_page.library);  // no third call
}

INSTANTIATE_TEST_SUITE_P(Pages, ErasingPages, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<ErasingPage>& i) { std::wstring n = i.param.name; return std::string(n.begin(), n.end()); });

TEST_F(CachePage, ListsFilesOfTheWholeTreeNewestFirstCountsTheOthersAndErasesThemToo) {
    std::wstring cache = Scratch(L"tree");
    ::CreateDirectoryW((cache + L"\\Content.IE5").c_str(), nullptr);
    ::CreateDirectoryW((cache + L"\\Content.IE5\\AB12").c_str(), nullptr);
    const wchar_t* const files[] = {L"LOG.DAT", L"olddat", L"a.htm", L"z.gif", L"Content.IE5\\b.js", L"Content.IE5\\AB12\\c.css",
                                    L"Content.IE5\\AB12\\d.png", L"Content.IE5\\index.dat", L"Content.IE5\\desktop.ini", kUnicode};
    for (const wchar_t* f : files) WriteFile(cache + L"\\" + f);
    auto* view = static_cast<CTempNetFileVw*>(OpenAt(cache));
    ASSERT_NE(view, nullptr);
    std::vector<std::wstring> rows;
    for (int i = 0; i < view->m_list.GetItemCount(); ++i) rows.push_back(view->m_list.GetItemText(i, 0));
    std::vector<std::wstring> expected = ListedNames(cache, false);
    std::reverse(expected.begin(), expected.end());  // newest first
    EXPECT_EQ(rows, expected);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"LOG.DAT", L"a.htm", L"b.js", L"c.css", L"d.png", L"z.gif", kUnicode}));
    EXPECT_EQ(ItemText(view->m_hWnd, IDC_HIDDEN_COUNT), CPageWalk::HiddenText(3));  // olddat, index.dat, desktop.ini

    DialogAnswerer box(kCaption);
    PressErase(view, true);  // the second press lands during the erase and is ignored
    EXPECT_EQ(box.Count(), 0u);  // everything went: nothing to say
    for (const wchar_t* f : files) EXPECT_FALSE(FileExists(cache + L"\\" + f)) << f;
    EXPECT_TRUE(FileExists(cache + L"\\Content.IE5\\AB12\\"));  // folders stay
    EXPECT_EQ(m_page.rows(view), 0);
    EXPECT_EQ(ItemText(view->m_hWnd, IDC_HIDDEN_COUNT), L"");
    EXPECT_EQ(ReadText(m_log), L"InterNet\n");  // one erase, one library call
}

TEST_F(CookiesPage, TreeShowsTheFoldersOwnEntriesSortedAndTheEraseEmptiesIt) {
    std::wstring c = Scratch(L"tree");
    for (const wchar_t* d : {L"full", L"hidden-only", L"empty", L"nested", L"nested\\inner"})
        ::CreateDirectoryW((c + L"\\" + d).c_str(), nullptr);
    for (const wchar_t* f : {L"zed@site.txt", L"anna@site.txt", L"index.dat", L"mike@olddat", L"full\\inside.txt", L"hidden-only\\h.txt",
                             L"nested\\inner\\deep.txt"})
        WriteFile(c + L"\\" + f);
    ::SetFileAttributesW((c + L"\\hidden-only\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
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

    // The erase is the cache page's (files go, folders stay); its end empties the tree.
    PressErase(view);
    EXPECT_EQ(m_page.rows(view), 0);
}
