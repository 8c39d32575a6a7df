// Names outside any 8-bit code page, on every page that lists and erases by name: each shows the
// name exactly as it is (read back with the W messages), erases exactly it, and a look-alike
// twin, which an 8-bit conversion would take for it or confuse with it, stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "AppHarness.h"
#include "Categories.h"
#include "MruBytes.h"
#include "ShellKit.h"
#include "TestKit.h"
#include "Traces.h"
#include "applications/RecentFileListPages.h"
#include "internet/TempNetFileVw.h"
#include "resource.h"
#include "system/RecentPages.h"
#include "system/RegistryListPages.h"
#include "system/TempFilesPages.h"

using namespace testkit;

namespace {
struct Named {
    const wchar_t* name;
    const wchar_t* twin;
};
const Named kNames[] = {
    {L"отчёт.docx", L"oтчёт.docx"},                          // Cyrillic; the twin starts with a Latin o
    {L"履歴.txt", L"履歴\xFF0Etxt"},                          // CJK; the twin's dot is full-width
    {L"\xD834\xDD1E notes.txt", L"\xD834\xDD22 notes.txt"},  // a surrogate pair; the twin differs in its low half
};
using Texts = std::vector<std::wstring>;

Texts ListTexts(HWND list) {
    Texts texts;
    int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = L"";
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        ::SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

Texts TreeChildren(HWND tree) {
    Texts texts;
    HTREEITEM root = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    auto next = [&](UINT how, HTREEITEM from) {
        return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    };
    for (HTREEITEM i = next(TVGN_CHILD, root); i; i = next(TVGN_NEXT, i)) {
        wchar_t text[MAX_PATH] = L"";
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = i;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

void Press(CView* view, int id) {
    view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(view->m_hWnd, id)));
    Pump();
}

class UnicodeNames : public ::testing::Test {
protected:
    void SetUp() override { StartApp(); }
    void TearDown() override { CloseAllPages(); }
    template <class V>
    V* Open(const char* page) {
        auto* view = dynamic_cast<V*>(ViewOf(TheApp()->OpenPage(page)));
        Pump();
        return view;
    }
    // A folder named after the name holding a file of that name, and beside it the twin's folder
    // holding the twin: the page is pointed at the first, and the second must stay whole.
    std::wstring Folders(const wchar_t* page, const Named& n, const wchar_t* suffix = L"") {
        std::wstring root = ScratchFolder(std::wstring(L"unicode-") + page);
        m_twin = root + L"\\" + n.twin + L"\\" + n.twin + suffix;
        for (const wchar_t* name : {n.name, n.twin}) ::CreateDirectoryW((root + L"\\" + name).c_str(), nullptr);
        WriteFile(m_twin);
        return root + L"\\" + n.name;
    }
    std::wstring m_twin;
    DialogAnswerer m_box{L"Corvane-Sweepmere"};
};
}  // namespace

TEST_F(UnicodeNames, CacheFile) {
    for (const Named& n : kNames) {
        std::wstring folder = Folders(L"cache", n);
        WriteFile(folder + L"\\" + n.name);
        RegSetString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", L"Cache", folder);
        auto* view = Open<CTempNetFileVw>("internet.cache");
        ASSERT_NE(view, nullptr);
        PumpUntil([&] { return !view->Listing(); });
        Pump();
        EXPECT_EQ(ListTexts(view->m_list.m_hWnd), Texts{n.name});
        view->OnErase();
        EXPECT_FALSE(FileExists(folder + L"\\" + n.name)) << n.name;
        EXPECT_TRUE(FileExists(m_twin)) << n.twin;
        CloseAllPages();
    }
    EXPECT_EQ(m_box.Count(), 0u);
}

TEST_F(UnicodeNames, TemporaryFile) {
    wchar_t saved[MAX_PATH] = L"";
    ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH);
    for (const Named& n : kNames) {
        std::wstring folder = Folders(L"temp", n);
        WriteFile(folder + L"\\" + n.name);
        ::SetEnvironmentVariableW(L"TMP", folder.c_str());
        auto* view = Open<CAdminTempFVw>("system.user-temp");
        ASSERT_NE(view, nullptr);
        PumpUntil([&] { return !view->Walking(); });
        Pump();
        EXPECT_EQ(ListTexts(view->m_list.m_hWnd), Texts{n.name});
        Press(view, IDC_ADMINTEMP_ERASE);
        PumpUntil([&] { return !view->Walking(); });
        EXPECT_FALSE(FileExists(folder + L"\\" + n.name)) << n.name;
        EXPECT_TRUE(FileExists(m_twin)) << n.twin;
        CloseAllPages();
    }
    ::SetEnvironmentVariableW(L"TMP", saved);
    EXPECT_EQ(m_box.Count(), 0u);
}

TEST_F(UnicodeNames, RecentShortcut) {
    std::wstring targets = ScratchFolder(L"unicode-targets");
    for (const Named& n : kNames) {
        std::wstring folder = Folders(L"recent", n, L".lnk");
        WriteFile(targets + L"\\" + n.name);
        MakeShortcut(folder + L"\\" + n.name + L".lnk", targets + L"\\" + n.name);
        ScopedShellFolder recent(L"Recent", folder);
        auto* view = Open<CRecentDocu>("system.recent-documents");
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(TreeChildren(view->m_tree.m_hWnd), Texts{n.name});
        // In a fresh prefix the shell may still hold the new shortcut for a moment after reading
        // it; a held file rightly stays, and this test is about names.
        const std::wstring link = folder + L"\\" + n.name + L".lnk";
        EXPECT_TRUE(PumpUntil([&] {
            HANDLE h = ::CreateFileW(link.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
            if (h == INVALID_HANDLE_VALUE) return false;
            ::CloseHandle(h);
            return true;
        }));
        Press(view, IDC_RECENTDOC_ERASE);
        EXPECT_FALSE(FileExists(link)) << n.name << L": " << (m_box.Count() ? m_box.Seen().back().text : L"");
        EXPECT_TRUE(FileExists(m_twin)) << n.twin;
        EXPECT_TRUE(FileExists(targets + L"\\" + n.name));
        CloseAllPages();
    }
    EXPECT_EQ(m_box.Count(), 0u);
}

TEST_F(UnicodeNames, UserAssistValue) {
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\"
                             L"{75048700-EF1F-11D0-9888-006097DEACF9}\\Count";
    const BYTE counts[16] = {1};
    for (const Named& n : kNames) {
        std::wstring name = L"C:\\" + std::wstring(n.name), twin = L"C:\\" + std::wstring(n.twin);
        RegDeleteTree(HKEY_CURRENT_USER, key);
        RegSetBinary(HKEY_CURRENT_USER, key, engine::mru::Rot13(name), counts, sizeof counts, REG_BINARY);
        auto* view = Open<CMFURegVw>("system.mfu");
        ASSERT_NE(view, nullptr);
        Texts shown = ListTexts(view->m_list.m_hWnd);
        EXPECT_NE(std::find(shown.begin(), shown.end(), name), shown.end()) << name;
        // Counted after the page read its list: the erase takes what it listed, by that name only.
        RegSetBinary(HKEY_CURRENT_USER, key, engine::mru::Rot13(twin), counts, sizeof counts, REG_BINARY);
        Press(view, IDC_MFUREG_ERASE);
        EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key, engine::mru::Rot13(name))) << name;
        EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, key, engine::mru::Rot13(twin))) << twin;
        CloseAllPages();
    }
    RegDeleteTree(HKEY_CURRENT_USER, key);
    EXPECT_EQ(m_box.Count(), 0u);
}

TEST_F(UnicodeNames, RecentFileValue) {
    const NumberedList list = NumberedListOf(recentfiles::kPaint.category);
    const std::wstring first = list.Name(list.first), second = list.Name(list.first + 1);
    for (const Named& n : kNames) {
        std::wstring name = L"C:\\" + std::wstring(n.name), twin = L"C:\\" + std::wstring(n.twin);
        RegDeleteTree(HKEY_CURRENT_USER, list.key);
        RegSetString(HKEY_CURRENT_USER, list.key, first, twin);
        RegSetString(HKEY_CURRENT_USER, list.key, second, name);
        auto* view = Open<CPaintVw>(recentfiles::kPaint.category);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(ListTexts(view->m_list.m_hWnd), (Texts{twin, name}));
        view->m_list.SetCheck(1);
        Press(view, recentfiles::kPaint.eraseId);
        EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, list.key, first)) << twin;
        EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, list.key, second)) << name;
        EXPECT_EQ(ListTexts(view->m_list.m_hWnd), Texts{twin});
        CloseAllPages();
    }
    RegDeleteTree(HKEY_CURRENT_USER, list.key);
    EXPECT_EQ(m_box.Count(), std::size(kNames));  // the thanks after each erase
}
