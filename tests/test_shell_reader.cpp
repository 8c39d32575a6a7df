// The shared reader: registry string values into a 260-byte buffer, and the items of the shell's
// special folders (Recent, Recycle Bin) with their icons.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "ShellKit.h"
#include "ShellReader.h"
#include "TestKit.h"

using namespace testkit;

namespace {
const wchar_t* const kKey = L"Software\\CorvaneTests\\Reader";

// A caller's buffer of 260 characters with guard characters behind it that a read must never touch.
struct GuardedBuffer {
    wchar_t bytes[300];
    GuardedBuffer() { std::fill(std::begin(bytes), std::end(bytes), L'#'); }
    bool GuardIntact() const {
        return std::all_of(bytes + 260, std::end(bytes), [](wchar_t c) { return c == '#'; });
    }
};

class ReadRegStringTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTree(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { RegDeleteTree(HKEY_CURRENT_USER, kKey); }

    // Reads after a good read, so that a failing read has to clear the indicator itself.
    LONG ReadAfterGoodRead(const wchar_t* key, const wchar_t* name, GuardedBuffer& out) {
        RegSetString(HKEY_CURRENT_USER, kKey, L"good", L"fine");
        reader.ReadRegString(HKEY_CURRENT_USER, kKey, L"good", out.bytes);
        EXPECT_TRUE(reader.LastReadOk());
        return reader.ReadRegString(HKEY_CURRENT_USER, key, name, out.bytes);
    }
    CSpecialFolderEnum reader;
};
}  // namespace

TEST_F(ReadRegStringTest, MissingOrTooLongValuesLeaveTheBufferEmptyAndClearTheIndicator) {
    RegSetString(HKEY_CURRENT_USER, kKey, L"big", std::wstring(299, 'a'));  // 300 bytes with the zero
    const std::wstring absentKey = std::wstring(kKey) + L"\\Absent";
    for (auto [key, name, rc] : {std::tuple<const wchar_t*, const wchar_t*, LONG>{kKey, L"big", ERROR_SUCCESS},
                                 {kKey, L"absent", ERROR_SUCCESS}, {absentKey.c_str(), L"url1", ERROR_FILE_NOT_FOUND}}) {
        GuardedBuffer b;
        EXPECT_EQ(ReadAfterGoodRead(key, name, b), rc) << name;  // a missing value still closes its key fine
        EXPECT_FALSE(reader.LastReadOk()) << name;
        EXPECT_STREQ(b.bytes, L"") << name;
        EXPECT_TRUE(b.GuardIntact()) << name;
    }
}

TEST_F(ReadRegStringTest, DataIsReadUpToItsFirstZeroOrTerminatedInsideTheBuffer) {
    std::wstring data(260, 'q');
    data[0] = 'A';
    data[258] = 'Z';
    RegSetDword(HKEY_CURRENT_USER, kKey, L"short", 0x00000061);  // "a" then a zero
    RegSetDword(HKEY_CURRENT_USER, kKey, L"full", 0x00620061);   // "ab", no zero at all
    RegSetBinary(HKEY_CURRENT_USER, kKey, L"bin", data.data(), 260 * sizeof(wchar_t), REG_BINARY);
    RegSetString(HKEY_CURRENT_USER, kKey, L"exact", std::wstring(259, 'e'));  // 260 bytes with its zero
    for (auto [name, expected] : {std::pair<const wchar_t*, std::wstring>{L"short", L"a"}, {L"full", L"ab"},
                                  {L"bin", data.substr(0, 259)}, {L"exact", std::wstring(259, 'e')}}) {
        GuardedBuffer b;
        std::fill_n(b.bytes, 260, L'x');
        reader.ReadRegString(HKEY_CURRENT_USER, kKey, name, b.bytes);
        EXPECT_TRUE(reader.LastReadOk()) << name;
        EXPECT_EQ(std::wstring(b.bytes), expected) << name;
        EXPECT_TRUE(b.GuardIntact()) << name;
    }
}

namespace {
// The names of a special folder in the order the shell itself enumerates them.
std::vector<std::wstring> ShellOrder(int csidl) {
    std::vector<std::wstring> names;
    IShellFolder* desktop = nullptr;
    ::SHGetDesktopFolder(&desktop);
    LPITEMIDLIST pidl = nullptr;
    IShellFolder* folder = nullptr;
    IEnumIDList* items = nullptr;
    if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) &&
        SUCCEEDED(desktop->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder))) &&
        folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items) == S_OK) {
        LPITEMIDLIST item = nullptr;
        while (items->Next(1, &item, nullptr) == S_OK) {
            STRRET name{};
            wchar_t text[MAX_PATH] = L"";
            if (SUCCEEDED(folder->GetDisplayNameOf(item, SHGDN_INFOLDER, &name))) ::StrRetToBufW(&name, item, text, MAX_PATH);
            names.push_back(text);
            ::CoTaskMemFree(item);
        }
        items->Release();
    }
    if (folder) folder->Release();
    ::CoTaskMemFree(pidl);
    desktop->Release();
    return names;
}

std::vector<std::wstring> NamesOf(const std::list<ShellItem>& items) {
    std::vector<std::wstring> names;
    for (const ShellItem& i : items) names.push_back(i.Name);
    return names;
}

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

TEST(ShellFolders, RecentItemsComeInTheReverseOfTheShellsOrderWithTheirIcons) {
    std::wstring dir = ScratchFolder(L"reader-recent");
    std::wstring targets = ScratchFolder(L"reader-recent-targets");
    ScopedShellFolder recent(L"Recent", dir);
    ASSERT_EQ(SpecialFolder(CSIDL_RECENT), dir);
    CSpecialFolderEnum reader;
    std::list<ShellItem>* items = reader.EnumRecent();
    ASSERT_NE(items, nullptr);
    EXPECT_TRUE(items->empty());
    for (const wchar_t* name : {L"zeta report", L"alpha notes", L"caf\xe9 menu", L"mid"}) {
        std::wstring target = targets + L"\\" + name + L".txt";
        WriteFile(target);
        MakeShortcut(dir + L"\\" + name + L".lnk", target);
    }
    std::vector<std::wstring> expected = ShellOrder(CSIDL_RECENT);
    ASSERT_EQ(expected.size(), 4u);
    std::reverse(expected.begin(), expected.end());

    ASSERT_EQ(reader.EnumRecent(), items);
    EXPECT_EQ(NamesOf(*items), expected);
    for (const ShellItem& i : *items) {
        EXPECT_EQ(IconWidth(i.SmallIcon), 16) << i.Name;
        EXPECT_EQ(IconWidth(i.LargeIcon), 32) << i.Name;
    }
    // A second enumeration replaces the list rather than adding to it.
    ASSERT_EQ(reader.EnumRecent(), items);
    EXPECT_EQ(NamesOf(*items), expected);
}

TEST(ShellFolders, RecycleBinItemsAreListedEvenWithoutIcons) {
    std::wstring trash = TrashFolder();
    if (trash.empty()) GTEST_SKIP() << L"the trash of the test HOME is not reachable from inside the prefix";
    const wchar_t* names[] = {L"reader-one.txt", L"reader-two.txt", L"reader-three.txt"};
    for (const wchar_t* n : names) SeedTrash(trash, n);

    std::vector<std::wstring> expected = OnlyPrefixed(ShellOrder(CSIDL_BITBUCKET), L"reader-");
    std::reverse(expected.begin(), expected.end());
    CSpecialFolderEnum reader;
    std::list<ShellItem>* items = reader.EnumRecycleBin();
    for (const wchar_t* n : names) {
        ::DeleteFileW((trash + L"\\files\\" + n).c_str());
        ::DeleteFileW((trash + L"\\info\\" + n + L".trashinfo").c_str());
    }
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(expected.size(), 3u);
    EXPECT_EQ(OnlyPrefixed(NamesOf(*items), L"reader-"), expected);
    // This shell offers no icon extractor for bin items: they stay, with no icons.
    for (const ShellItem& i : *items) {
        if (i.Name.rfind(L"reader-", 0) == 0) {
            EXPECT_TRUE(!i.SmallIcon && !i.LargeIcon) << i.Name;
        }
    }
}
