// The temporary-files pages: the folder and its sub-folders listed in walk order, Erase deleting
// every file and listing what is left, one walk at a time, pages closed mid-walk, links and
// look-alike names never followed, and a temporary folder the guard refuses. TMP and TEMP point
// at scratch folders inside the test prefix.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppHarness.h"
#include "TestKit.h"
#include "resource.h"
#include "system/TempFilesPages.h"

using namespace testkit;

namespace {
class TempPages : public ::testing::Test {
protected:
    void SetUp() override {
        StartApp();
        ::GetEnvironmentVariableA("TMP", m_saved, sizeof m_saved);
    }
    void TearDown() override {
        CloseAllPages();
        PointTempAt(m_saved);
    }
    static void PointTempAt(const std::string& folder) {
        ::SetEnvironmentVariableA("TMP", folder.c_str());
        ::SetEnvironmentVariableA("TEMP", folder.c_str());
    }
    template <class V = CAdminTempFVw>
    static V* Open(PageId page = PageId::AdminTempFiles, bool wait = true) {
        auto* view = dynamic_cast<V*>(ViewOf(TheApp()->OpenPage(page)));
        if (view && wait) PumpUntil([&] { return !view->Walking(); });
        return view;
    }
    static void PressErase(CTempFilesPage* v, int id = IDC_ADMINTEMP_ERASE, bool wait = true) {
        v->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(v->m_hWnd, id)));
        if (wait) PumpUntil([&] { return !v->Walking(); });
        Pump();
    }
    static std::vector<std::string> Rows(CTempFilesPage* v) {
        std::vector<std::string> rows;
        for (int i = 0; i < v->m_list.GetItemCount(); ++i) rows.push_back(v->m_list.GetItemText(i, 0));
        return rows;
    }
    char m_saved[MAX_PATH] = "";
};

// The rows a walk of the folder shows: depth first, each sub-folder's name before what it
// holds, files without "ini"/"dat" endings.
void WalkRows(const std::string& folder, std::vector<std::string>& rows) {
    WIN32_FIND_DATAA d;
    HANDLE h = ::FindFirstFileA((folder + "\\*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string n = d.cFileName;
        if (n == "." || n == "..") continue;
        bool sub = d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (sub || filewalk::IsListedCacheName(n)) rows.push_back(n);
        if (sub) WalkRows(folder + "\\" + n, rows);
    } while (::FindNextFileA(h, &d));
    ::FindClose(h);
}

std::string Tree(const std::string& name, int folders, int files) {
    std::string root = ScratchFolder(name);
    for (int d = 0; d < folders; ++d) {
        ::CreateDirectoryA((root + "\\d" + std::to_string(d)).c_str(), nullptr);
        for (int f = 0; f < files; ++f) WriteFile(root + "\\d" + std::to_string(d) + "\\f" + std::to_string(f));
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
    CAdminTempFVw* view = Open();
    ASSERT_NE(view, nullptr);
    std::vector<std::string> expected;
    WalkRows(temp, expected);
    EXPECT_EQ(Rows(view), expected);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, (std::vector<std::string>{"Sub1", "Sub2", "a.txt", "held.txt", "readme.INI", "ro.txt", "xxxxxxxx.xxx"}));
    EXPECT_FALSE(ReadOnly(temp + "\\ro.txt"));  // merely opening the page resets attributes
    EXPECT_TRUE(FileExists(temp + "\\olddat"));

    HANDLE held = ::CreateFileA((temp + "\\held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    PressErase(view);
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
    EXPECT_EQ(r.failed, 1u);  // the file in use
    ::CloseHandle(held);
}

TEST_F(TempPages, NeverTouchesWhatALinkOrALookAlikeNameReaches) {
    const std::string root = "C:\\corvane-links";
    ASSERT_TRUE(::GetFileAttributesA((root + "\\temp\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    WriteFile(root + "\\temp\\own.txt");
    for (const char* folder : {"\\temp", "\\temp-odd"}) {
        PointTempAt(root + folder);
        PressErase(Open());
        CAdminTempFVw::EraseWithoutWindow();
    }
    EXPECT_FALSE(FileExists(root + "\\temp\\own.txt"));
    EXPECT_TRUE(ReadOnly(root + "\\sentinel\\keep.txt"));
    EXPECT_TRUE(ReadOnly(root + "\\keep.txt"));
}

TEST_F(TempPages, OneWalkAtATimeAndClosingAPageMidWalkIsSafe) {
    std::string temp = Tree("temp-busy", 30, 30);
    PointTempAt(temp);
    CAdminTempFVw* view = Open<>(PageId::AdminTempFiles, false);
    while (view->Walking()) ::Sleep(10);  // the listing's rows wait in the queue, unshown
    PressErase(view);
    std::vector<std::string> folders;
    WalkRows(temp, folders);
    EXPECT_EQ(folders.size(), 30u);  // every file went, every folder stayed
    EXPECT_EQ(Rows(view), folders);  // and no listing row came after the list was emptied
    CloseAllPages();

    int midway = 0;
    for (int i = 0; i < 12; ++i) {
        if (i % 3 == 2) Tree("temp-busy", 10, 20);
        view = Open<>(PageId::AdminTempFiles, false);
        if (i % 3 == 1) PressErase(view, IDC_ADMINTEMP_ERASE, false);
        midway += view->Walking();
        view->GetParentFrame()->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_TRUE(TheApp()->PageTemplate(PageId::AdminTempFiles)->GetDocuments().empty());
    EXPECT_GE(midway, 3);
}

TEST_F(TempPages, ARefusedTemporaryFolderIsNeitherListedNorErased) {
    char profile[MAX_PATH] = "";
    ::GetEnvironmentVariableA("USERPROFILE", profile, sizeof profile);
    EXPECT_FALSE(filewalk::IsRefusedTopFolder(std::string(profile) + "\\Temp"));

    std::string sentinel = std::string(profile) + "\\temp-sentinel.txt";
    WriteFile(sentinel);
    PointTempAt(std::string(profile) + "\\Temp\\..");  // a TMP one edit away from the profile
    CAdminTempFVw* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(Rows(view).empty());
    PressErase(view);
    EXPECT_TRUE(Rows(view).empty());
    EXPECT_EQ(CAdminTempFVw::EraseWithoutWindow().erased, 0u);
    EXPECT_TRUE(FileExists(sentinel));
}

TEST_F(TempPages, TheSystemPageWalksTheWindowsTemporaryFolder) {
    std::string mine = WindowsTempFolder() + "corvane-systemp";
    ::CreateDirectoryA(mine.c_str(), nullptr);
    ::CreateDirectoryA((mine + "\\sub").c_str(), nullptr);
    WriteFile(mine + "\\a.txt");
    WriteFile(mine + "\\sub\\b.txt");
    auto* view = Open<CSysTempFile>(PageId::SysTempFiles);
    ASSERT_NE(view, nullptr);
    std::vector<std::string> rows = Rows(view), expected{"corvane-systemp"};
    WalkRows(mine, expected);
    EXPECT_NE(std::search(rows.begin(), rows.end(), expected.begin(), expected.end()), rows.end());
    PressErase(view, IDC_SYSTEMP_ERASE);
    EXPECT_FALSE(FileExists(mine + "\\a.txt") || FileExists(mine + "\\sub\\b.txt"));
    rows = Rows(view);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "sub"), rows.end());
}
