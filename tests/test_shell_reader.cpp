// The shared reader: registry string values into a 260-byte buffer, and the items of the shell's
// Recent folder with their icons. (The Recycle Bin's items, which come without icons here, are the
// Recycle Bin page's test.)
#include <gtest/gtest.h>
#include <shlobj.h>

#include "ShellKit.h"
#include "ShellReader.h"
#include "TestKit.h"

using namespace testkit;

namespace {
const wchar_t* const kKey = L"Software\\CorvaneTests\\Reader";

class ReadRegStringTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTree(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { RegDeleteTree(HKEY_CURRENT_USER, kKey); }
    CSpecialFolderEnum reader;
};
}  // namespace

TEST_F(ReadRegStringTest, ReadsUpToTheFirstZeroInsideTheBufferAndLeavesItEmptyWhenMissingOrTooLong) {
    std::wstring data(260, 'q');
    data[0] = 'A';
    data[258] = 'Z';
    RegSetDword(HKEY_CURRENT_USER, kKey, L"short", 0x00000061);  // "a" then a zero
    RegSetDword(HKEY_CURRENT_USER, kKey, L"full", 0x00620061);   // "ab", no zero at all
    RegSetBinary(HKEY_CURRENT_USER, kKey, L"bin", data.data(), 260 * sizeof(wchar_t), REG_BINARY);
    RegSetString(HKEY_CURRENT_USER, kKey, L"exact", std::wstring(259, 'e'));  // 260 bytes with its zero
    RegSetString(HKEY_CURRENT_USER, kKey, L"big", std::wstring(299, 'a'));    // 300 bytes with the zero
    RegSetString(HKEY_CURRENT_USER, kKey, L"good", L"fine");
    const std::wstring absentKey = std::wstring(kKey) + L"\\Absent";
    struct Case { const wchar_t *key, *name; std::wstring read; LONG rc; };
    // A failed read clears the indicator and the buffer; a missing value still closes its key fine.
    const Case cases[] = {{kKey, L"short", L"a", 0},         {kKey, L"full", L"ab", 0},
                          {kKey, L"bin", data.substr(0, 259), 0}, {kKey, L"exact", std::wstring(259, 'e'), 0},
                          {kKey, L"big", L"", 0},           {kKey, L"absent", L"", 0},
                          {absentKey.c_str(), L"url1", L"", ERROR_FILE_NOT_FOUND}};
    for (const Case& c : cases) {
        // A caller's buffer of 260 characters, with guard characters behind it that a read must never touch.
        std::wstring b = std::wstring(260, L'x') + std::wstring(40, L'#');
        // After a good read, so that a failing read has to clear the indicator itself.
        reader.ReadRegString(HKEY_CURRENT_USER, kKey, L"good", b.data());
        EXPECT_TRUE(reader.LastReadOk());
        EXPECT_EQ(reader.ReadRegString(HKEY_CURRENT_USER, c.key, c.name, b.data()), c.rc) << c.name;
        EXPECT_EQ(reader.LastReadOk(), !c.read.empty()) << c.name;
        EXPECT_EQ(std::wstring(b.c_str()), c.read) << c.name;
        EXPECT_EQ(b.substr(260), std::wstring(40, L'#')) << c.name;
    }
}

namespace {
int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return 0;
    BITMAP bm{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return bm.bmWidth;
}
}  // namespace

TEST(ShellFolders, RecentItemsComeWithTheirIconsAndASecondReadReplacesTheList) {
    std::wstring dir = ScratchFolder(L"reader-recent");
    std::wstring targets = ScratchFolder(L"reader-recent-targets");
    ScopedShellFolder recent(L"Recent", dir);
    ASSERT_EQ(SpecialFolder(CSIDL_RECENT), dir);
    CSpecialFolderEnum reader;
    std::list<ShellItem>* items = reader.EnumRecent();
    ASSERT_NE(items, nullptr);
    EXPECT_TRUE(items->empty());
    const std::vector<std::wstring> names{L"alpha notes", L"caf\xe9 menu", L"zeta report"};
    for (const std::wstring& name : names) {
        WriteFile(targets + L"\\" + name + L".txt");
        MakeShortcut(dir + L"\\" + name + L".lnk", targets + L"\\" + name + L".txt");
    }
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(reader.EnumRecent(), items);
        EXPECT_EQ(items->size(), names.size());  // read again, not added to; the names are the Recent Documents page's test
    }
    for (const ShellItem& i : *items) {
        EXPECT_EQ(IconWidth(i.SmallIcon), 16) << i.Name;
        EXPECT_EQ(IconWidth(i.LargeIcon), 32) << i.Name;
    }
}
