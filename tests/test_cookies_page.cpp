// The Cookies page: the tree of the cookie folder's entries, the erase of the folder and its
// sub-folders behind the progress dialog, and the outside library's step. What it shares with the
// cache page is in test_erasing_pages.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "internet/Cookies.h"
#include "EraseKit.h"
#include "Pacing.h"
#include "internet/TempNetFileVw.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
class CookiesPage : public ::testing::Test {
protected:
    void SetUp() override {
        StartApp();
        m_log = UseLibraryStub("cookies-library");
    }
    void TearDown() override {
        CloseAllPages();
        Pacing::SetScalePercent(0);
    }
    static void PointCookiesAt(const std::string& folder) {
        RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", folder);
    }
    static CCookies* Open() { return dynamic_cast<CCookies*>(ViewOf(TheApp()->OpenPage(PageId::Cookies))); }
    // Root items in tree order, each followed by "+" when it has a child.
    static std::vector<std::string> Items(CCookies* v) {
        std::vector<std::string> items;
        for (HTREEITEM i = v->m_tree.GetRootItem(); i; i = v->m_tree.GetNextSiblingItem(i)) {
            HTREEITEM child = v->m_tree.GetChildItem(i);
            items.push_back(v->m_tree.GetItemText(i) + (child ? "+" + v->m_tree.GetItemText(child) : ""));
        }
        return items;
    }
    static void PressErase(CCookies* v) {
        v->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COOKIES_ERASE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(v->m_hWnd, IDC_COOKIES_ERASE)));
    }
    std::string m_log;
};

void MakeFolder(const std::string& path) { ::CreateDirectoryA(path.c_str(), nullptr); }
}  // namespace

TEST_F(CookiesPage, TreeShowsTheFoldersOwnEntriesSortedAndTheEraseTakesEveryFile) {
    std::string c = ScratchFolder("cookies-tree");
    for (const char* f : {"zed@site.txt", "anna@site.txt", "index.dat", "mike@olddat"}) WriteFile(c + "\\" + f);
    for (const char* d : {"full", "hidden-only", "empty", "nested", "nested\\inner"}) MakeFolder(c + "\\" + d);
    WriteFile(c + "\\full\\inside.txt");
    WriteFile(c + "\\hidden-only\\h.txt");
    ::SetFileAttributesA((c + "\\hidden-only\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteFile(c + "\\nested\\inner\\deep.txt");
    PointCookiesAt(c);

    CCookies* view = Open();
    ASSERT_NE(view, nullptr);
    std::vector<std::string> expected{c + "\\anna@site.txt", c + "\\empty", c + "\\full+", c + "\\hidden-only",
                                      c + "\\nested+", c + "\\zed@site.txt"};
    EXPECT_EQ(Items(view), expected);

    ProgressWatch watch;
    PressErase(view);
    EXPECT_FALSE(watch.HadToCancel());  // it ended with the walk, without an index file met twice
    for (const char* f : {"zed@site.txt", "index.dat", "mike@olddat", "full\\inside.txt", "hidden-only\\h.txt",
                          "nested\\inner\\deep.txt"})
        EXPECT_FALSE(FileExists(c + "\\" + f)) << f;
    EXPECT_TRUE(FileExists(c + "\\nested\\inner\\"));
    EXPECT_EQ(view->m_tree.GetCount(), 0u);
    EXPECT_EQ(ReadText(m_log), "Cookies\n");
}

TEST_F(CookiesPage, OpeningAndClosingAHundredTimesIsSafe) {
    std::string c = ScratchFolder("cookies-cycles");
    for (int i = 0; i < 10; ++i) WriteFile(c + "\\c" + std::to_string(i) + ".txt");
    PointCookiesAt(c);
    for (int i = 0; i < 100; ++i) {
        CDocument* doc = TheApp()->OpenPage(PageId::Cookies);
        ASSERT_NE(doc, nullptr);
        Pump();
        FrameOf(doc)->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_TRUE(TheApp()->PageTemplate(PageId::Cookies)->GetDocuments().empty());
}
