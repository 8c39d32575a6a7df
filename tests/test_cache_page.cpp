// The Temporary Internet Files page: the listing on its worker, the erase behind the progress
// dialog, the outside library's step, and closing the page while it lists. What it shares with the
// Cookies page is in test_erasing_pages.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppHarness.h"
#include "EraseKit.h"
#include "FileWalk.h"
#include "Pacing.h"
#include "internet/TempNetFileVw.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
class CachePage : public ::testing::Test {
protected:
    void SetUp() override {
        StartApp();
        m_log = UseLibraryStub("cache-library");
    }
    void TearDown() override {
        CloseAllPages();
        Pacing::SetScalePercent(0);
    }
    static void PointCacheAt(const std::string& folder) {
        RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, "Cache", folder);
    }
    static CTempNetFileVw* Open() {
        auto* view = dynamic_cast<CTempNetFileVw*>(ViewOf(TheApp()->OpenPage(PageId::TempInternetFiles)));
        if (view) PumpUntil([&] { return !view->Listing(); });
        Pump();
        return view;
    }
    static std::vector<std::string> Rows(CTempNetFileVw* v) {
        std::vector<std::string> rows;
        for (int i = 0; i < v->m_list.GetItemCount(); ++i) rows.push_back(v->m_list.GetItemText(i, 0));
        return rows;
    }
    static void PressErase(CTempNetFileVw* v) {
        v->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEMPNET_ERASE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(v->m_hWnd, IDC_TEMPNET_ERASE)));
    }
    std::string m_log;
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

TEST_F(CachePage, IniAndDatFilesAreNotListedButErased) {
    std::string cache = ScratchFolder("cache-only-index");
    WriteFile(cache + "\\desktop.ini");
    WriteFile(cache + "\\index.dat");
    PointCacheAt(cache);
    CTempNetFileVw* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(Rows(view).empty());
    ProgressWatch watch;
    PressErase(view);
    EXPECT_FALSE(FileExists(cache + "\\desktop.ini"));
    EXPECT_FALSE(FileExists(cache + "\\index.dat"));
    EXPECT_FALSE(watch.HadToCancel());
}

TEST_F(CachePage, ListsFilesOfTheWholeTreeNewestFirstAndClearsTheirAttributes) {
    std::string cache = ScratchFolder("cache-tree");
    ::CreateDirectoryA((cache + "\\Content.IE5").c_str(), nullptr);
    ::CreateDirectoryA((cache + "\\Content.IE5\\AB12").c_str(), nullptr);
    for (const char* f : {"LOG.DAT", "olddat", "a.htm", "z.gif", "Content.IE5\\b.js", "Content.IE5\\AB12\\c.css",
                          "Content.IE5\\AB12\\d.png", "Content.IE5\\index.dat"})
        WriteFile(cache + "\\" + f);
    ::SetFileAttributesA((cache + "\\a.htm").c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesA((cache + "\\Content.IE5\\b.js").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    PointCacheAt(cache);

    CTempNetFileVw* view = Open();
    ASSERT_NE(view, nullptr);
    std::vector<std::string> expected;
    WalkOrder(cache, expected);
    expected.erase(std::remove_if(expected.begin(), expected.end(), [](const std::string& n) { return !filewalk::IsListedCacheName(n); }),
                   expected.end());
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(Rows(view), expected);
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
    EXPECT_TRUE(Rows(view).empty());
    EXPECT_FALSE(watch.HadToCancel());
    EXPECT_EQ(ReadText(m_log), "InterNet\n");
}

TEST_F(CachePage, ClosingThePageWhileItListsIsSafe) {
    std::string cache = ScratchFolder("cache-closing");
    for (int d = 0; d < 20; ++d) {
        std::string sub = cache + "\\d" + std::to_string(d);
        ::CreateDirectoryA(sub.c_str(), nullptr);
        for (int f = 0; f < 5; ++f) WriteFile(sub + "\\f" + std::to_string(f) + ".htm");
    }
    PointCacheAt(cache);
    Pacing::SetScalePercent(10);  // 10 ms per folder: the listing outlives a quick close
    int closedMidway = 0;
    for (int i = 0; i < 100; ++i) {
        CDocument* doc = TheApp()->OpenPage(PageId::TempInternetFiles);
        auto* view = dynamic_cast<CTempNetFileVw*>(ViewOf(doc));
        ASSERT_NE(view, nullptr);
        Pump();
        if (view->Listing()) ++closedMidway;
        FrameOf(doc)->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_TRUE(TheApp()->PageTemplate(PageId::TempInternetFiles)->GetDocuments().empty());
    EXPECT_GE(closedMidway, 10);  // the case this test is about did happen
}
