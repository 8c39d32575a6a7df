// The temporary-files pages: the folder and its sub-folders listed in walk order, Erase deleting
// every file and listing what is left, telling the user only about what stayed, one walk at a
// time, pages closed mid-walk, and a temporary folder the guard refuses. TMP and TEMP point at scratch folders inside the test prefix.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppHarness.h"
#include "Categories.h"
#include "TestKit.h"
#include "Traces.h"
#include "resource.h"
#include "system/TempFilesPages.h"

using namespace testkit;

namespace {
class TempPages : public ::testing::Test {
protected:
    void SetUp() override {
        StartApp();
        ::GetEnvironmentVariableW(L"TMP", m_saved, ARRAYSIZE(m_saved));
    }
    void TearDown() override {
        CloseAllPages();
        PointTempAt(m_saved);
    }
    static void PointTempAt(const std::wstring& folder) {
        ::SetEnvironmentVariableW(L"TMP", folder.c_str());
        ::SetEnvironmentVariableW(L"TEMP", folder.c_str());
    }
    template <class V = CAdminTempFVw>
    static V* Open(const char* page = "system.user-temp", bool wait = true) {
        auto* view = dynamic_cast<V*>(ViewOf(TheApp()->OpenPage(page)));
        if (view && wait) PumpUntil([&] { return !view->Walking(); });
        return view;
    }
    static void PressErase(CTempFilesPage* v, int id = IDC_ADMINTEMP_ERASE, bool wait = true) {
        v->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(v->m_hWnd, id)));
        if (wait) PumpUntil([&] { return !v->Walking(); });
        Pump();
    }
    static std::vector<std::wstring> Rows(CTempFilesPage* v) {
        std::vector<std::wstring> rows;
        for (int i = 0; i < v->m_list.GetItemCount(); ++i) rows.push_back(v->m_list.GetItemText(i, 0));
        return rows;
    }
    wchar_t m_saved[MAX_PATH] = L"";
};

// The rows a walk of the folder shows: depth first, each sub-folder's name before what it
// holds, files without "ini"/"dat" endings.
void WalkRows(const std::wstring& folder, std::vector<std::wstring>& rows) {
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW((folder + L"\\*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring n = d.cFileName;
        if (n == L"." || n == L"..") continue;
        bool sub = d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (sub || engine::IsListedCacheName(n)) rows.push_back(n);
        if (sub) WalkRows(folder + L"\\" + n, rows);
    } while (::FindNextFileW(h, &d));
    ::FindClose(h);
}

std::wstring Tree(const std::wstring& name, int folders, int files) {
    std::wstring root = ScratchFolder(name);
    for (int d = 0; d < folders; ++d) {
        ::CreateDirectoryW((root + L"\\d" + std::to_wstring(d)).c_str(), nullptr);
        for (int f = 0; f < files; ++f) WriteFile(root + L"\\d" + std::to_wstring(d) + L"\\f" + std::to_wstring(f));
    }
    return root;
}

bool ReadOnly(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY; }
}  // namespace

TEST_F(TempPages, ListsInWalkOrderAndEraseLeavesOnlyFoldersAndFilesInUse) {
    std::wstring temp = ScratchFolder(L"temp-cases");
    ::CreateDirectoryW((temp + L"\\Sub1").c_str(), nullptr);
    ::CreateDirectoryW((temp + L"\\Sub2").c_str(), nullptr);
    for (const wchar_t* f : {L"setup.ini", L"cache.dat", L"readme.INI", L"olddat", L"ro.txt", L"xxxxxxxx.xxx", L"held.txt",
                             L"Sub1\\a.txt", L"Sub1\\b.ini"})
        WriteFile(temp + L"\\" + f);
    ::SetFileAttributesW((temp + L"\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    PointTempAt(temp);
    CAdminTempFVw* view = Open();
    ASSERT_NE(view, nullptr);
    std::vector<std::wstring> expected;
    WalkRows(temp, expected);
    EXPECT_EQ(Rows(view), expected);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, (std::vector<std::wstring>{L"Sub1", L"Sub2", L"a.txt", L"held.txt", L"readme.INI", L"ro.txt", L"xxxxxxxx.xxx"}));
    EXPECT_TRUE(ReadOnly(temp + L"\\ro.txt"));  // looking changes nothing; the erase takes it all the same
    EXPECT_TRUE(FileExists(temp + L"\\olddat"));

    HANDLE held = ::CreateFileW((temp + L"\\held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DialogAnswerer box(L"Corvane-Sweepmere");
    PressErase(view);
    ASSERT_TRUE(PumpUntil([&] { return box.Count() == 1; }));
    EXPECT_NE(box.Seen()[0].text.find(L"held.txt"), std::wstring::npos) << box.Seen()[0].text;
    EXPECT_EQ(box.Seen()[0].icon, ::LoadIcon(nullptr, IDI_WARNING));
    std::vector<std::wstring> left;
    WalkRows(temp, left);
    EXPECT_EQ(Rows(view), left);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::wstring>{L"Sub1", L"Sub2", L"held.txt"}));
    for (const wchar_t* gone : {L"setup.ini", L"cache.dat", L"olddat", L"xxxxxxxx.xxx", L"Sub1\\b.ini"})
        EXPECT_FALSE(FileExists(temp + L"\\" + gone)) << gone;
    ::CloseHandle(held);

    // Everything goes: the page says nothing.
    WriteFile(temp + L"\\Sub2\\new.txt", L"12345");
    PressErase(view);
    EXPECT_FALSE(FileExists(temp + L"\\held.txt") || FileExists(temp + L"\\Sub2\\new.txt"));
    EXPECT_EQ(box.Count(), 1u);
}

TEST_F(TempPages, OneWalkAtATimeAndClosingAPageMidWalkIsSafe) {
    std::wstring temp = Tree(L"temp-busy", 30, 30);
    PointTempAt(temp);
    CAdminTempFVw* view = Open<>("system.user-temp", false);
    while (view->Walking()) ::Sleep(10);  // the listing's rows wait in the queue, unshown
    PressErase(view);
    std::vector<std::wstring> folders;
    WalkRows(temp, folders);
    EXPECT_EQ(folders.size(), 30u);  // every file went, every folder stayed
    EXPECT_EQ(Rows(view), folders);  // and no listing row came after the list was emptied
    CloseAllPages();

    int midway = 0;
    for (int i = 0; i < 12; ++i) {
        if (i % 3 == 2) Tree(L"temp-busy", 10, 20);
        view = Open<>("system.user-temp", false);
        if (i % 3 == 1) PressErase(view, IDC_ADMINTEMP_ERASE, false);
        midway += view->Walking();
        view->GetParentFrame()->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_TRUE(TheApp()->PageTemplate("system.user-temp")->GetDocuments().empty());
    EXPECT_GE(midway, 3);
}

TEST_F(TempPages, ARefusedTemporaryFolderIsNeitherListedNorErasedAndTheUserIsTold) {
    wchar_t profile[MAX_PATH] = L"";
    ::GetEnvironmentVariableW(L"USERPROFILE", profile, ARRAYSIZE(profile));
    std::wstring sentinel = std::wstring(profile) + L"\\temp-sentinel.txt";
    WriteFile(sentinel);
    PointTempAt(std::wstring(profile) + L"\\Temp\\..");  // a TMP one edit away from the profile
    CAdminTempFVw* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(Rows(view).empty());
    DialogAnswerer box(L"Corvane-Sweepmere");
    PressErase(view);
    EXPECT_TRUE(Rows(view).empty());
    ASSERT_TRUE(PumpUntil([&] { return box.Count() == 1; }));
    EXPECT_EQ(box.Seen()[0].icon, ::LoadIcon(nullptr, IDI_WARNING));
    EXPECT_TRUE(FileExists(sentinel));
    ::DeleteFileW(sentinel.c_str());
}

TEST_F(TempPages, TheSystemPageWalksTheWindowsTemporaryFolder) {
    std::wstring mine = engine::WindowsTempFolder() + L"\\corvane-systemp";
    ::CreateDirectoryW(mine.c_str(), nullptr);
    ::CreateDirectoryW((mine + L"\\sub").c_str(), nullptr);
    WriteFile(mine + L"\\a.txt");
    WriteFile(mine + L"\\sub\\b.txt");
    auto* view = Open<CSysTempFile>("system.windows-temp");
    ASSERT_NE(view, nullptr);
    std::vector<std::wstring> rows = Rows(view), expected{L"corvane-systemp"};
    WalkRows(mine, expected);
    EXPECT_NE(std::search(rows.begin(), rows.end(), expected.begin(), expected.end()), rows.end());
    DialogAnswerer box(L"Corvane-Sweepmere");  // other programs' files there may stay
    PressErase(view, IDC_SYSTEMP_ERASE);
    EXPECT_FALSE(FileExists(mine + L"\\a.txt") || FileExists(mine + L"\\sub\\b.txt"));
    rows = Rows(view);
    EXPECT_NE(std::find(rows.begin(), rows.end(), L"sub"), rows.end());
}
