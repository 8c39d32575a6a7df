// The temporary-files pages: the folder and its sub-folders listed in walk order and the files
// kept out of view counted, Erase deleting every file and listing what is left, telling the user
// only about what stayed, one walk at a time, and a page or the main window closed mid-walk. TMP
// and TEMP point at scratch folders inside the test prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "AppHarness.h"
#include "EraseKit.h"
#include "ModalScript.h"
#include "Traces.h"
#include "Worker.h"
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
        // A bound, not a timing: a loaded machine takes its time over a thousand files.
        if (wait) {
            EXPECT_TRUE(PumpUntil([&] { return !v->Walking(); }, 120000)) << "the erase never ended";
        }
        Pump();
    }
    static std::wstring Hidden(CTempFilesPage* v) { return ItemText(v->m_hWnd, IDC_HIDDEN_COUNT); }
    static std::vector<std::wstring> Rows(CTempFilesPage* v) {
        std::vector<std::wstring> rows;
        for (int i = 0; i < v->m_list.GetItemCount(); ++i) rows.push_back(v->m_list.GetItemText(i, 0));
        return rows;
    }
    wchar_t m_saved[MAX_PATH] = L"";
};

// Outside any 8-bit code page (Cyrillic, CJK and a surrogate pair): listed and erased as it is.
const wchar_t kUnicode[] = L"\u043e\u0442\u0447\u0451\u0442 \u5c65\u6b74 \xD834\xDD1E.txt";
}  // namespace

TEST_F(TempPages, ListsInWalkOrderCountsWhatItHidesAndEraseLeavesOnlyFoldersAndFilesInUseOnBothPages) {
    std::wstring temp = ScratchFolder(L"temp-cases");
    ::CreateDirectoryW((temp + L"\\Sub1").c_str(), nullptr);
    ::CreateDirectoryW((temp + L"\\Sub2.dat").c_str(), nullptr);  // a folder is listed whatever its name
    for (const wchar_t* f : {L"setup.ini", L"cache.dat", L"readme.INI", L"olddat", L"ro.txt", L"xxxxxxxx.xxx", L"held.txt",
                             L"Sub1\\a.txt", L"Sub1\\b.ini", kUnicode})
        WriteFile(temp + L"\\" + f);
    ::SetFileAttributesW((temp + L"\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    PointTempAt(temp);
    CAdminTempFVw* view = Open();
    ASSERT_NE(view, nullptr);
    std::vector<std::wstring> expected = ListedNames(temp, true);
    EXPECT_EQ(Rows(view), expected);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, (std::vector<std::wstring>{L"Sub1", L"Sub2.dat", L"a.txt", L"held.txt", L"readme.INI", L"ro.txt",
                                                   L"xxxxxxxx.xxx", kUnicode}));
    EXPECT_EQ(Hidden(view), L"4 files ending in \"ini\" or \"dat\" (desktop.ini, index.dat \u2026) are not listed; Erase treats "
                            L"them like the rest.");

    std::vector<HANDLE> held;
    for (const wchar_t* f : {L"\\held.txt", L"\\setup.ini"})
        held.push_back(::CreateFileW((temp + f).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    DialogAnswerer box(L"Corvane-Sweepmere");
    PressErase(view);
    ASSERT_TRUE(PumpUntil([&] { return box.Count() == 1; }));
    EXPECT_NE(box.Seen()[0].text.find(L"held.txt"), std::wstring::npos) << box.Seen()[0].text;
    EXPECT_EQ(box.Seen()[0].icon, ::LoadIcon(nullptr, IDI_WARNING));
    std::vector<std::wstring> left = ListedNames(temp, true);
    EXPECT_EQ(Rows(view), left);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::wstring>{L"Sub1", L"Sub2.dat", L"held.txt"}));
    EXPECT_EQ(Hidden(view), L"1 file ending in \"ini\" or \"dat\" (desktop.ini, index.dat \u2026) is not listed; Erase treats "
                            L"it like the rest.");  // setup.ini, held too
    for (HANDLE h : held) ::CloseHandle(h);

    // Everything goes: the page says nothing.
    WriteFile(temp + L"\\Sub2.dat\\new.txt", L"12345");
    PressErase(view);
    EXPECT_FALSE(FileExists(temp + L"\\held.txt") || FileExists(temp + L"\\setup.ini") || FileExists(temp + L"\\Sub2.dat\\new.txt"));
    EXPECT_EQ(Hidden(view), L"");
    EXPECT_EQ(box.Count(), 1u);

    // The system page walks the Windows temporary folder; other programs' files there may stay.
    std::wstring mine = engine::WindowsTempFolder() + L"\\corvane-systemp";
    ::CreateDirectoryW(mine.c_str(), nullptr);
    WriteFile(mine + L"\\a.txt");
    auto* system = Open<CSysTempFile>("system.windows-temp");
    ASSERT_NE(system, nullptr);
    std::vector<std::wstring> rows = Rows(system), mineListed{L"corvane-systemp", L"a.txt"};
    EXPECT_NE(std::search(rows.begin(), rows.end(), mineListed.begin(), mineListed.end()), rows.end());
    PressErase(system, IDC_SYSTEMP_ERASE);
    EXPECT_FALSE(FileExists(mine + L"\\a.txt"));
}

// Last in this file: it closes the main window.
TEST_F(TempPages, OneWalkAtATimeAndClosingAPageOrTheMainWindowMidWalkIsSafe) {
    std::wstring temp = ScratchTree(L"temp-busy", 30, 30);
    PointTempAt(temp);
    CAdminTempFVw* view = Open<>("system.user-temp", false);
    while (view->Walking()) ::Sleep(10);  // the listing's rows wait in the queue, unshown
    PressErase(view);
    std::vector<std::wstring> folders = ListedNames(temp, true);
    EXPECT_EQ(folders.size(), 30u);  // every file went, every folder stayed
    EXPECT_EQ(Rows(view), folders);  // and no listing row came after the list was emptied
    CloseAllPages();

    int midway = 0;
    for (int i = 0; i < 12; ++i) {
        if (i % 3 == 2) ScratchTree(L"temp-busy", 10, 20);
        view = Open<>("system.user-temp", false);
        if (i % 3 == 1) PressErase(view, IDC_ADMINTEMP_ERASE, false);
        midway += view->Walking();
        view->GetParentFrame()->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_TRUE(TheApp()->PageTemplate("system.user-temp")->GetDocuments().empty());
    EXPECT_GE(midway, 3);

    // Last, the main window closed during an erase. Its worker is held until its stop is requested,
    // and then takes longer to end than a page waits for it (100 ms): only a close that stops every
    // worker through its token and waits for it sees it end before the window has gone.
    PointTempAt(ScratchTree(L"temp-closing", 2, 2));
    view = Open();
    ASSERT_NE(view, nullptr);
    const HWND main = TheApp()->m_pMainWnd->m_hWnd;
    std::atomic<bool> held{false}, ended{false};
    engine::Worker::FaultForTests() = [&](const engine::StopToken& stop) {
        held = true;
        stop.Wait(INFINITE);
        ::Sleep(500);  // the file in hand
        ended = true;
    };
    PressErase(view, IDC_ADMINTEMP_ERASE, false);
    EXPECT_TRUE(PumpUntil([&] { return held.load(); }));
    ::SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ended);
    EXPECT_FALSE(::IsWindow(main));
    engine::Worker::FaultForTests() = nullptr;
}
