// What every page that erases a folder (the cache and the cookies) shares: Cancel, a missing or
// refused folder, links and look-alike names that lead out of the folder, ERASE pressed again
// during an erase, and the window-less erase with its counts.
#include <gtest/gtest.h>

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
    const char* name;
    PageId page;
    const char* value;      // the Shell Folders value naming the folder
    UINT erase;             // the ERASE button
    const char* library;    // the library call logged after ERASE
    const char* fixture;    // its link fixtures under C:\corvane-links
    int (*rows)(CView*);    // the rows or items the page shows
    void (*eraseBehindDialog)();  // the erase of a view without window (the summary's)
    EraseResult (*windowless)();
};

int CacheRows(CView* v) { return static_cast<CTempNetFileVw*>(v)->m_list.GetItemCount(); }
int CookieRows(CView* v) { return static_cast<int>(static_cast<CCookies*>(v)->m_tree.GetCount()); }

const ErasingPage kPages[] = {
    {"Cache", PageId::TempInternetFiles, "Cache", IDC_TEMPNET_ERASE, "InterNet\n", "cache", CacheRows,
     [] { CTempNetFileVw().StartCacheErase(); }, CTempNetFileVw::EraseWithoutWindow},
    {"Cookies", PageId::Cookies, "Cookies", IDC_COOKIES_ERASE, "Cookies\n", "cookies", CookieRows,
     [] { CCookies().StartCookieErase(); }, CCookies::EraseWithoutWindow},
};

const std::string kLinks = "C:\\corvane-links";

bool ReadOnly(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

class ErasingPages : public ::testing::TestWithParam<ErasingPage> {
protected:
    void SetUp() override {
        StartApp();
        m_log = UseLibraryStub(std::string(GetParam().name) + "-library");
    }
    void TearDown() override {
        CloseAllPages();
        Pacing::SetScalePercent(0);
    }
    void PointAt(const std::string& folder) {
        RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, GetParam().value, folder);
    }
    CView* Open() {
        CView* view = ViewOf(TheApp()->OpenPage(GetParam().page));
        if (auto* cache = dynamic_cast<CTempNetFileVw*>(view)) PumpUntil([&] { return !cache->Listing(); });
        Pump();
        return view;
    }
    int Rows(CView* v) { return GetParam().rows(v); }
    void PressErase(CView* v, bool alsoQueueASecond = false) {
        LPARAM button = reinterpret_cast<LPARAM>(::GetDlgItem(v->m_hWnd, GetParam().erase));
        WPARAM command = MAKEWPARAM(GetParam().erase, BN_CLICKED);
        // A queued press reaches the page inside the progress dialog's modal loop.
        if (alsoQueueASecond) v->PostMessage(WM_COMMAND, command, button);
        v->SendMessage(WM_COMMAND, command, button);
        Pump();
    }
    std::string m_log;
};
}  // namespace

TEST_P(ErasingPages, CancelKeepsTheFileInHandAndAllAfterItAndTheLibraryStepStillRuns) {
    std::string f = ScratchFolder(std::string(GetParam().name) + "-cancel");
    for (const char* n : {"f1.htm", "f2.htm", "f3.htm", "f4.htm", "f5.htm"}) WriteFile(f + "\\" + n);
    PointAt(f);
    CView* view = Open();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(Rows(view), 5);
    Pacing::SetScalePercent(100);  // a second in hand per file: time enough to press Cancel
    ProgressWatch watch(2);
    PressErase(view);
    std::vector<std::string> shown = watch.Paths();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(FileExists(shown[0]));
    EXPECT_TRUE(FileExists(shown[1]));
    int left = 0;
    for (const char* n : {"f1.htm", "f2.htm", "f3.htm", "f4.htm", "f5.htm"}) left += FileExists(f + "\\" + n);
    EXPECT_EQ(left, 4);
    EXPECT_EQ(Rows(view), 5);  // a cancelled erase leaves the list as it was
    EXPECT_EQ(ReadText(m_log), GetParam().library);
}

TEST_P(ErasingPages, MissingFolderListsNothingAndTheEraseEndsItsDialog) {
    PointAt("C:\\corvane-scratch\\no-such-folder");
    CView* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Rows(view), 0);
    ProgressWatch watch;
    PressErase(view);
    EXPECT_FALSE(watch.HadToCancel());
    EXPECT_EQ(ReadText(m_log), GetParam().library);
    EXPECT_TRUE(GetParam().windowless().Complete());  // nothing there, nothing left
}

TEST_P(ErasingPages, RefusedFolderIsNeitherListedNorErasedAndTheDialogStillEnds) {
    const std::string sentinel = "C:\\corvane-refused.txt";
    WriteFile(sentinel);
    ::SetFileAttributesA(sentinel.c_str(), FILE_ATTRIBUTE_READONLY);
    PointAt("C:\\corvane-scratch\\x\\..\\..");  // the drive's root
    CView* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Rows(view), 0);
    {
        DialogAnswerer box("Corvane-Sweepmere");
        ProgressWatch watch;
        PressErase(view);
        EXPECT_FALSE(watch.HadToCancel());
        ASSERT_EQ(box.Count(), 1u);  // the user is told why nothing went
        EXPECT_NE(box.Seen()[0].text.find("protected folder"), std::string::npos) << box.Seen()[0].text;
    }
    EraseResult r = GetParam().windowless();
    EXPECT_EQ(r.erased, 0u);
    EXPECT_NE(r.firstReason.find("protected"), std::string::npos) << r.firstReason;
    EXPECT_TRUE(ReadOnly(sentinel));  // not even its attributes
}

TEST_P(ErasingPages, NeverLeavesItsFolderThroughLinksOrLookAlikeNames) {
    std::string links = kLinks + "\\" + GetParam().fixture;
    ASSERT_TRUE(FileExists(links + "\\filelink")) << "made by tests/make_links.sh";
    ASSERT_TRUE(ReadOnly(kLinks + "\\sentinel\\keep.txt") && ReadOnly(kLinks + "\\keep.txt"));
    WriteFile(links + "\\own.txt");
    PointAt(links);
    CView* view = Open();
    ASSERT_NE(view, nullptr);
    {
        ProgressWatch watch;
        PressErase(view);
    }
    EXPECT_FALSE(FileExists(links + "\\own.txt"));
    EXPECT_TRUE(FileExists(links + "\\filelink"));

    // Their ANSI names are "..\keep.txt" and "..": erased by their real names, inside.
    PointAt(links + "-odd");
    view = Open();
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

TEST_P(ErasingPages, EraseAgainDuringAnEraseIsIgnored) {
    std::string f = ScratchFolder(std::string(GetParam().name) + "-twice");
    WriteFile(f + "\\a.htm");
    PointAt(f);
    CView* view = Open();
    ASSERT_NE(view, nullptr);
    ProgressWatch watch;
    PressErase(view, true);
    EXPECT_FALSE(FileExists(f + "\\a.htm"));
    EXPECT_FALSE(watch.HadToCancel());
    EXPECT_EQ(ReadText(m_log), GetParam().library);  // one erase, one library call
}

TEST_P(ErasingPages, WindowlessErasesCountWhatTheyDidWithoutTheLibraryStep) {
    std::string f = ScratchFolder(std::string(GetParam().name) + "-windowless");
    WriteFile(f + "\\a.htm", "1234");
    WriteFile(f + "\\ro.htm", "12");
    ::SetFileAttributesA((f + "\\ro.htm").c_str(), FILE_ATTRIBUTE_READONLY);
    PointAt(f);
    EraseResult r;
    {
        ProgressWatch watch;
        r = GetParam().windowless();
        EXPECT_TRUE(watch.Paths().empty());  // no dialog
    }
    EXPECT_EQ(r.erased, 2u);
    EXPECT_EQ(r.bytes, 6u);
    EXPECT_TRUE(r.Complete()) << r.firstReason;
    EXPECT_FALSE(FileExists(f + "\\ro.htm"));

    WriteFile(f + "\\b.htm");
    ProgressWatch watch;
    GetParam().eraseBehindDialog();  // the summary page's erase, behind the dialog
    EXPECT_FALSE(FileExists(f + "\\b.htm"));
    EXPECT_FALSE(watch.HadToCancel());
    EXPECT_EQ(ReadText(m_log), "");
}

TEST_P(ErasingPages, TheLibraryIsNeverLoadedFromTheCurrentFolder) {
    std::string current = ScratchFolder(std::string(GetParam().name) + "-current");
    ASSERT_TRUE(::MoveFileExA((ProgramFolder() + "Kestrix.dll").c_str(), (current + "\\Kestrix.dll").c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED));
    char previous[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(current.c_str());
    PointAt(ScratchFolder(std::string(GetParam().name) + "-empty"));
    CView* view = Open();
    ASSERT_NE(view, nullptr);
    {
        ProgressWatch watch;
        PressErase(view);
    }
    ::SetCurrentDirectoryA(previous);
    EXPECT_EQ(ReadText(m_log), "");
}

INSTANTIATE_TEST_SUITE_P(Pages, ErasingPages, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<ErasingPage>& i) { return std::string(i.param.name); });
