// A name outside any 8-bit code page (Cyrillic, CJK and a surrogate pair) on every page that lists
// and erases by name: each shows the name exactly as it is, read back with the W messages, and
// erases exactly it. That a look-alike twin stays is the engine suite's test.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppHarness.h"
#include "MruBytes.h"
#include "ShellKit.h"
#include "applications/RecentFileListPages.h"
#include "internet/TempNetFileVw.h"
#include "resource.h"
#include "system/RecentPages.h"
#include "system/RegistryListPages.h"
#include "system/TempFilesPages.h"

using namespace testkit;

namespace {
const std::wstring kName = L"\u043e\u0442\u0447\u0451\u0442 \u5c65\u6b74 \xD834\xDD1E.txt";
using Texts = std::vector<std::wstring>;

Texts ListTexts(const CListCtrl& list) {
    Texts texts;
    for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back(list.GetItemText(i, 0));
    return texts;
}

Texts TreeChildren(const CTreeCtrl& tree) {
    Texts texts;
    for (HTREEITEM i = tree.GetChildItem(tree.GetRootItem()); i; i = tree.GetNextSiblingItem(i))
        texts.push_back(tree.GetItemText(i));
    return texts;
}

class UnicodeNames : public ::testing::Test {
protected:
    void TearDown() override {
        CloseAllPages();
        EXPECT_EQ(m_box.Count(), m_boxes);
    }
    DialogAnswerer m_box{L"Corvane-Sweepmere"};
    size_t m_boxes = 0;  // the pages that erase files say nothing when all went
};
}  // namespace

TEST_F(UnicodeNames, CacheAndTemporaryFile) {
    const std::wstring cacheFolder = ScratchFolder(L"unicode-cache"), tempFolder = ScratchFolder(L"unicode-temp");
    const std::wstring cached = cacheFolder + L"\\" + kName, temporary = tempFolder + L"\\" + kName;
    WriteFile(cached);
    WriteFile(temporary);
    PointCacheAt(cacheFolder);
    wchar_t saved[MAX_PATH] = L"";
    ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH);
    ::SetEnvironmentVariableW(L"TMP", tempFolder.c_str());
    auto* cache = OpenPage<CTempNetFileVw>("internet.cache");
    auto* temp = OpenPage<CAdminTempFVw>("system.user-temp");
    ASSERT_TRUE(cache && temp);
    PumpUntil([&] { return !cache->Listing() && !temp->Walking(); });
    Pump();
    EXPECT_EQ(ListTexts(cache->m_list), Texts{kName});
    EXPECT_EQ(ListTexts(temp->m_list), Texts{kName});
    cache->OnErase();
    Press(temp, IDC_ADMINTEMP_ERASE);
    PumpUntil([&] { return !temp->Walking(); });
    ::SetEnvironmentVariableW(L"TMP", saved);
    EXPECT_FALSE(FileExists(cached));
    EXPECT_FALSE(FileExists(temporary));
}

TEST_F(UnicodeNames, RecentShortcut) {
    const std::wstring folder = ScratchFolder(L"unicode-recent"), target = ScratchFolder(L"unicode-targets") + L"\\" + kName;
    const std::wstring link = folder + L"\\" + kName + L".lnk";
    WriteFile(target);
    MakeShortcut(link, target);
    ScopedShellFolder recent(L"Recent", folder);
    auto* view = OpenPage<CRecentDocu>("system.recent-documents");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(TreeChildren(view->m_tree), Texts{kName});
    // In a fresh prefix the shell may hold the new shortcut a moment after reading it.
    EXPECT_TRUE(PumpUntil([&] {
        HANDLE h = ::CreateFileW(link.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        return h != INVALID_HANDLE_VALUE && ::CloseHandle(h);
    }));
    Press(view, IDC_RECENTDOC_ERASE);
    EXPECT_FALSE(FileExists(link));
    EXPECT_TRUE(FileExists(target));
}

TEST_F(UnicodeNames, UserAssistValue) {
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\"
                             L"{75048700-EF1F-11D0-9888-006097DEACF9}\\Count";
    const std::wstring name = L"C:\\" + kName, value = engine::mru::Rot13(name);
    const BYTE counts[16] = {1};
    RegDeleteTree(HKEY_CURRENT_USER, key);
    RegSetBinary(HKEY_CURRENT_USER, key, value, counts, sizeof counts, REG_BINARY);
    auto* view = OpenPage<CMFURegVw>("system.mfu");
    ASSERT_NE(view, nullptr);
    Texts shown = ListTexts(view->m_list);
    EXPECT_NE(std::find(shown.begin(), shown.end(), name), shown.end());
    Press(view, IDC_MFUREG_ERASE);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key, value));
    RegDeleteTree(HKEY_CURRENT_USER, key);
}

TEST_F(UnicodeNames, RecentFileValue) {
    const NumberedList list = NumberedListOf(recentfiles::kPaint.category);
    const std::wstring name = L"C:\\" + kName, value = list.Name(list.first);
    RegDeleteTree(HKEY_CURRENT_USER, list.key);
    RegSetString(HKEY_CURRENT_USER, list.key, value, name);
    auto* view = OpenPage<CPaintVw>(recentfiles::kPaint.category);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ListTexts(view->m_list), Texts{name});
    view->m_list.SetCheck(0);
    Press(view, recentfiles::kPaint.eraseId);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, list.key, value));
    EXPECT_TRUE(ListTexts(view->m_list).empty());
    m_boxes = 1;  // the thanks after the erase
    RegDeleteTree(HKEY_CURRENT_USER, list.key);
}
