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
const char* const kKey = "Software\\CorvaneTests\\Reader";

// A caller's buffer of 260 bytes with guard bytes behind it that a read must never touch.
struct GuardedBuffer {
    char bytes[300];
    GuardedBuffer() { memset(bytes, '#', sizeof bytes); }
    bool GuardIntact() const {
        return std::all_of(bytes + 260, bytes + sizeof bytes, [](char c) { return c == '#'; });
    }
};

class ReadRegStringTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTree(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { RegDeleteTree(HKEY_CURRENT_USER, kKey); }

    // Reads after a good read, so that a failing read has to clear the indicator itself.
    LONG ReadAfterGoodRead(const char* key, const char* name, GuardedBuffer& out) {
        RegSetString(HKEY_CURRENT_USER, kKey, "good", "fine");
        reader.ReadRegString(HKEY_CURRENT_USER, kKey, "good", out.bytes);
        EXPECT_TRUE(reader.LastReadOk());
        return reader.ReadRegString(HKEY_CURRENT_USER, key, name, out.bytes);
    }
    CSpecialFolderEnum reader;
};
}  // namespace

TEST_F(ReadRegStringTest, MissingOrTooLongValuesLeaveTheBufferEmptyAndClearTheIndicator) {
    RegSetString(HKEY_CURRENT_USER, kKey, "big", std::string(299, 'a'));  // 300 bytes with the zero
    const std::string absentKey = std::string(kKey) + "\\Absent";
    for (auto [key, name, rc] : {std::tuple<const char*, const char*, LONG>{kKey, "big", ERROR_SUCCESS},
                                 {kKey, "absent", ERROR_SUCCESS}, {absentKey.c_str(), "url1", ERROR_FILE_NOT_FOUND}}) {
        GuardedBuffer b;
        EXPECT_EQ(ReadAfterGoodRead(key, name, b), rc) << name;  // a missing value still closes its key fine
        EXPECT_FALSE(reader.LastReadOk()) << name;
        EXPECT_STREQ(b.bytes, "") << name;
        EXPECT_TRUE(b.GuardIntact()) << name;
    }
}

TEST_F(ReadRegStringTest, DataIsReadUpToItsFirstZeroOrTerminatedInsideTheBuffer) {
    std::string data(260, 'q');
    data[0] = 'A';
    data[258] = 'Z';
    RegSetDword(HKEY_CURRENT_USER, kKey, "short", 0x00636261);  // "abc" then a zero byte
    RegSetDword(HKEY_CURRENT_USER, kKey, "full", 0x64636261);   // four bytes, no zero at all
    RegSetBinary(HKEY_CURRENT_USER, kKey, "bin", data.data(), 260, REG_BINARY);
    RegSetString(HKEY_CURRENT_USER, kKey, "exact", std::string(259, 'e'));  // 260 bytes with its zero
    for (auto [name, expected] : {std::pair<const char*, std::string>{"short", "abc"}, {"full", "abcd"},
                                  {"bin", data.substr(0, 259)}, {"exact", std::string(259, 'e')}}) {
        GuardedBuffer b;
        memset(b.bytes, 'x', 260);
        reader.ReadRegString(HKEY_CURRENT_USER, kKey, name, b.bytes);
        EXPECT_TRUE(reader.LastReadOk()) << name;
        EXPECT_EQ(std::string(b.bytes), expected) << name;
        EXPECT_TRUE(b.GuardIntact()) << name;
    }
    // A string type goes through the 8-bit conversion, which may want room for a zero of its
    // own and so find the data too long: then the read fails cleanly, never unterminated.
    RegSetBinary(HKEY_CURRENT_USER, kKey, "sz", data.data(), 260, REG_SZ);
    GuardedBuffer sz;
    reader.ReadRegString(HKEY_CURRENT_USER, kKey, "sz", sz.bytes);
    EXPECT_EQ(std::string(sz.bytes), reader.LastReadOk() ? data.substr(0, 259) : "");
    EXPECT_TRUE(sz.GuardIntact());
}

TEST_F(ReadRegStringTest, EveryReadOpensTheKeyAnewAndClosesIt) {
    RegSetString(HKEY_CURRENT_USER, kKey, "v", "first");
    GuardedBuffer b;
    reader.ReadRegString(HKEY_CURRENT_USER, kKey, "v", b.bytes);
    EXPECT_STREQ(b.bytes, "first");

    // A freed handle slot is taken again by the next handle: a key left open would shift it.
    HKEY probe = nullptr;
    ASSERT_EQ(::RegOpenKeyA(HKEY_CURRENT_USER, kKey, &probe), ERROR_SUCCESS);
    HKEY before = probe;
    ::RegCloseKey(probe);
    for (int i = 0; i < 3; ++i) reader.ReadRegString(HKEY_CURRENT_USER, kKey, "v", b.bytes);
    reader.ReadRegString(HKEY_CURRENT_USER, kKey, "absent", b.bytes);
    ASSERT_EQ(::RegOpenKeyA(HKEY_CURRENT_USER, kKey, &probe), ERROR_SUCCESS);
    EXPECT_EQ(probe, before);
    ::RegCloseKey(probe);

    // The key replaced between two reads: the second read sees the new key.
    RegDeleteTree(HKEY_CURRENT_USER, kKey);
    RegSetString(HKEY_CURRENT_USER, kKey, "v", "second");
    reader.ReadRegString(HKEY_CURRENT_USER, kKey, "v", b.bytes);
    EXPECT_STREQ(b.bytes, "second");
}

namespace {
// The names of a special folder in the order the shell itself enumerates them.
std::vector<std::string> ShellOrder(int csidl) {
    std::vector<std::string> names;
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
            char text[MAX_PATH] = "";
            if (SUCCEEDED(folder->GetDisplayNameOf(item, SHGDN_INFOLDER, &name))) ::StrRetToBufA(&name, item, text, MAX_PATH);
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

std::vector<std::string> NamesOf(const std::list<ShellItem>& items) {
    std::vector<std::string> names;
    for (const ShellItem& i : items) names.push_back(i.Name);
    return names;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return 0;
    BITMAP bm{};
    ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return bm.bmWidth;
}

}  // namespace

TEST(ShellFolders, RecentItemsComeInTheReverseOfTheShellsOrderWithTheirIcons) {
    std::string dir = ScratchFolder("reader-recent");
    std::string targets = ScratchFolder("reader-recent-targets");
    ScopedShellFolder recent("Recent", dir);
    ASSERT_EQ(SpecialFolder(CSIDL_RECENT), dir);
    CSpecialFolderEnum reader;
    std::list<ShellItem>* items = reader.EnumRecent();
    ASSERT_NE(items, nullptr);
    EXPECT_TRUE(items->empty());
    // "caf\xe9" checks the names come in the active code page that the 8-bit controls show.
    for (const char* name : {"zeta report", "alpha notes", "caf\xe9 menu", "mid"}) {
        std::string target = targets + "\\" + name + ".txt";
        WriteFile(target);
        MakeShortcut(dir + "\\" + name + ".lnk", target);
    }
    std::vector<std::string> expected = ShellOrder(CSIDL_RECENT);
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
    std::string trash = TrashFolder();
    if (trash.empty()) GTEST_SKIP() << "the trash of the test HOME is not reachable from inside the prefix";
    const char* names[] = {"reader-one.txt", "reader-two.txt", "reader-three.txt"};
    for (const char* n : names) SeedTrash(trash, n);

    std::vector<std::string> expected = OnlyPrefixed(ShellOrder(CSIDL_BITBUCKET), "reader-");
    std::reverse(expected.begin(), expected.end());
    CSpecialFolderEnum reader;
    std::list<ShellItem>* items = reader.EnumRecycleBin();
    for (const char* n : names) {
        ::DeleteFileA((trash + "\\files\\" + n).c_str());
        ::DeleteFileA((trash + "\\info\\" + n + ".trashinfo").c_str());
    }
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(expected.size(), 3u);
    EXPECT_EQ(OnlyPrefixed(NamesOf(*items), "reader-"), expected);
    // This shell offers no icon extractor for bin items: they stay, with no icons.
    for (const ShellItem& i : *items)
        if (i.Name.rfind("reader-", 0) == 0) EXPECT_TRUE(!i.SmallIcon && !i.LargeIcon) << i.Name;
}
