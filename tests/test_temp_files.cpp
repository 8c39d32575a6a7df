// The temporary-files pages: the folder and its sub-folders listed in walk order, Erase deleting
// every file and listing what is left, one walk at a time, pages closed mid-walk, links and
// look-alike names never followed, and a temporary folder the guard refuses. TMP and TEMP point
// at scratch folders inside the test prefix.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppHarness.h"
#include "FileWalk.h"
#include "TestKit.h"
#include "resource.h"
#include "system/TempFilesPages.h"

using namespace testkit;

namespace {
class TempPages : public ::testing::Test {
protected:
    void SetUp() override {
        StartApp();
        for (const char* name : {"TMP", "TEMP"}) {
            char value[MAX_PATH] = "";
            ::GetEnvironmentVariableA(name, value, sizeof value);
            m_saved.push_back(value);
        }
    }
    void TearDown() override {
        CloseAllPages();
        ::SetEnvironmentVariableA("TMP", m_saved[0].c_str());
        ::SetEnvironmentVariableA("TEMP", m_saved[1].c_str());
    }
    static void PointTempAt(const std::string& folder) {
        ::SetEnvironmentVariableA("TMP", folder.c_str());
        ::SetEnvironmentVariableA("TEMP", folder.c_str());
    }
    template <class V>
    static V* Open(PageId page) {
        auto* view = dynamic_cast<V*>(ViewOf(TheApp()->OpenPage(page)));
        if (view) PumpUntil([&] { return !view->Walking(); });
        Pump();
        return view;
    }
    static void PressErase(CTempFilesPage* v, int id) {
        v->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(v->m_hWnd, id)));
        PumpUntil([&] { return !v->Walking(); });
        Pump();
    }
    static std::vector<std::string> Rows(CTempFilesPage* v) {
        std::vector<std::string> rows;
        for (int i = 0; i < v->m_list.GetItemCount(); ++i) rows.push_back(v->m_list.GetItemText(i, 0));
        return rows;
    }
    std::vector<std::string> m_saved;
};

// The rows a walk of the folder shows: depth first, each sub-folder's name before what it
// holds, files without "ini"/"dat" endings.
void WalkRows(const std::string& folder, std::vector<std::string>& rows) {
    WIN32_FIND_DATAA d;
    HANDLE h = ::FindFirstFileA((folder + "\\*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string n = d.cFileName;
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (filewalk::IsListedCacheName(n)) rows.push_back(n);
        } else if (n != "." && n != "..") {
            rows.push_back(n);
            WalkRows(folder + "\\" + n, rows);
        }
    } while (::FindNextFileA(h, &d));
    ::FindClose(h);
}

std::string Tree(const std::string& name, int folders, int files) {
    std::string root = ScratchFolder(name);
    for (int d = 0; d < folders; ++d) {
        std::string sub = root + "\\d" + std::to_string(d);
        ::CreateDirectoryA(sub.c_str(), nullptr);
        for (int f = 0; f < files; ++f) WriteFile(sub + "\\f" + std::to_string(f) + ".tmp");
    }
    return root;
}

bool ReadOnly(const std::string& path) { return ::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY; }
}  // namespace

TEST_F(TempPages, ListsInWalkOrderAndEraseLeavesOnlyFoldersAndFilesInUse) {
    std::string temp = ScratchFolder("temp-cases");
    ::CreateDirectoryA((temp + "\\Sub1").c_str(), nullptr);
    ::CreateDirectoryA((temp + "\\Sub2").c_str(), nullptr);
    for (const char* f : {"setup.ini", "cache.dat", "readme.INI", "olddat", "ro.txt", "xxxxxxxx.xxx", "held.txt",
                          "Sub1\\a.txt", "Sub1\\b.ini"})
        WriteFile(temp + "\\" + f);
    ::SetFileAttributesA((temp + "\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    PointTempAt(temp);
    auto* view = Open<CAdminTempFVw>(PageId::AdminTempFiles);
    ASSERT_NE(view, nullptr);
    std::vector<std::string> expected;
    WalkRows(temp, expected);
    EXPECT_EQ(Rows(view), expected);
    for (const char* shown : {"readme.INI", "xxxxxxxx.xxx", "Sub1", "a.txt", "Sub2"})
        EXPECT_NE(std::find(expected.begin(), expected.end(), shown), expected.end()) << shown;
    EXPECT_EQ(expected.size(), 7u);
    EXPECT_FALSE(ReadOnly(temp + "\\ro.txt"));  // merely opening the page resets attributes
    EXPECT_TRUE(FileExists(temp + "\\olddat"));

    HANDLE held = ::CreateFileA((temp + "\\held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PressErase(view, IDC_ADMINTEMP_ERASE);
    std::vector<std::string> left;
    WalkRows(temp, left);
    EXPECT_EQ(Rows(view), left);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Sub1", "Sub2", "held.txt"}));
    for (const char* gone : {"setup.ini", "cache.dat", "olddat", "xxxxxxxx.xxx", "Sub1\\b.ini"})
        EXPECT_FALSE(FileExists(temp + "\\" + gone)) << gone;

    WriteFile(temp + "\\Sub2\\new.txt", "12345");
    EraseResult r = CAdminTempFVw::EraseWithoutWindow();
    EXPECT_EQ(r.erased, 1u);
    EXPECT_EQ(r.bytes, 5u);
    EXPECT_GE(r.failed, 1u);
    EXPECT_FALSE(r.firstReason.empty());
    ::CloseHandle(held);
}

TEST_F(TempPages, NeverTouchesWhatALinkOrALookAlikeNameReaches) {
    const std::string root = "C:\\corvane-links";
    ASSERT_TRUE(::GetFileAttributesA((root + "\\temp\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    WriteFile(root + "\\temp\\own.txt");
    for (const char* folder : {"\\temp", "\\temp-odd"}) {
        PointTempAt(root + folder);
        auto* view = Open<CAdminTempFVw>(PageId::AdminTempFiles);
        ASSERT_NE(view, nullptr);
        PressErase(view, IDC_ADMINTEMP_ERASE);
        CAdminTempFVw::EraseWithoutWindow();
    }
    EXPECT_FALSE(FileExists(root + "\\temp\\own.txt"));
    EXPECT_TRUE(ReadOnly(root + "\\sentinel\\keep.txt"));
    EXPECT_TRUE(ReadOnly(root + "\\keep.txt"));
}

TEST_F(TempPages, EraseDuringTheListingShowsOnlyTheErasesRows) {
    std::string temp = Tree("temp-busy", 30, 30);
    PointTempAt(temp);
    auto* view = dynamic_cast<CAdminTempFVw*>(ViewOf(TheApp()->OpenPage(PageId::AdminTempFiles)));
    ASSERT_NE(view, nullptr);
    while (view->Walking()) ::Sleep(10);  // the listing's rows wait in the queue, unshown
    PressErase(view, IDC_ADMINTEMP_ERASE);
    std::vector<std::string> folders;
    WalkRows(temp, folders);
    EXPECT_EQ(folders.size(), 30u);  // every file went, every folder stayed
    EXPECT_EQ(Rows(view), folders);
}

TEST_F(TempPages, ClosingAPageDuringItsWalkIsSafe) {
    std::string temp = Tree("temp-closing", 10, 20);
    PointTempAt(temp);
    int midway = 0;
    for (int i = 0; i < 15; ++i) {
        if (i % 3 == 2) Tree("temp-closing", 10, 20);
        CDocument* doc = TheApp()->OpenPage(PageId::AdminTempFiles);
        auto* view = dynamic_cast<CAdminTempFVw*>(ViewOf(doc));
        ASSERT_NE(view, nullptr);
        if (i % 3 == 1) view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADMINTEMP_ERASE, BN_CLICKED), 0);
        midway += view->Walking();
        FrameOf(doc)->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_TRUE(TheApp()->PageTemplate(PageId::AdminTempFiles)->GetDocuments().empty());
    EXPECT_GE(midway, 3);
}

TEST_F(TempPages, ARefusedTemporaryFolderIsNeitherListedNorErased) {
    char profile[MAX_PATH] = "", windows[MAX_PATH] = "";
    ::GetEnvironmentVariableA("USERPROFILE", profile, sizeof profile);
    ::GetWindowsDirectoryA(windows, sizeof windows);
    // Where GetTempPathA falls back to, and a TMP one edit away.
    for (std::string refused : {std::string(profile), std::string(profile) + "\\Temp\\..", std::string(windows),
                                std::string("C:\\"), std::string("C:\\users"), std::string("C:\\corvane\\..\\..")})
        EXPECT_TRUE(filewalk::IsRefusedTopFolder(refused)) << refused;
    EXPECT_FALSE(filewalk::IsRefusedTopFolder(std::string(profile) + "\\Temp"));

    std::string sentinel = std::string(profile) + "\\temp-sentinel.txt";
    WriteFile(sentinel);
    PointTempAt(std::string(profile) + "\\Temp\\..");
    auto* view = Open<CAdminTempFVw>(PageId::AdminTempFiles);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(Rows(view).empty());
    PressErase(view, IDC_ADMINTEMP_ERASE);
    EXPECT_TRUE(Rows(view).empty());
    EraseResult r = CAdminTempFVw::EraseWithoutWindow();
    EXPECT_EQ(r.erased, 0u);
    EXPECT_TRUE(FileExists(sentinel));
    ::DeleteFileA(sentinel.c_str());
}

TEST_F(TempPages, TheSystemPageWalksTheWindowsTemporaryFolder) {
    std::string temp = WindowsTempFolder();
    ASSERT_FALSE(temp.empty());
    std::string mine = temp + "corvane-systemp";
    ::CreateDirectoryA(mine.c_str(), nullptr);
    ::CreateDirectoryA((mine + "\\sub").c_str(), nullptr);
    WriteFile(mine + "\\a.txt");
    WriteFile(mine + "\\sub\\b.txt");
    auto* view = Open<CSysTempFile>(PageId::SysTempFiles);
    ASSERT_NE(view, nullptr);
    std::vector<std::string> rows = Rows(view);
    auto at = std::find(rows.begin(), rows.end(), "corvane-systemp");
    ASSERT_NE(at, rows.end());
    std::vector<std::string> mineRows;
    WalkRows(mine, mineRows);
    EXPECT_TRUE(std::equal(mineRows.begin(), mineRows.end(), at + 1));
    PressErase(view, IDC_SYSTEMP_ERASE);
    EXPECT_FALSE(FileExists(mine + "\\a.txt"));
    EXPECT_FALSE(FileExists(mine + "\\sub\\b.txt"));
    rows = Rows(view);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "sub"), rows.end());
}
