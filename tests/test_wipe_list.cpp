// Wipe lists: kept in their files and read back line for line, saved all or nothing, their
// names and keys guarded, and erased through the engine without following any link.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "TestKit.h"
#include "Text.h"
#include "WipeList.h"

using namespace engine;
using namespace testkit;

namespace {

const wchar_t kLinkTarget[] = L"Software\\Corvane-Tests\\WipeTarget";
const wchar_t kDoomed[] = L"Software\\Corvane-Tests\\Wipe\\doomed";

std::wstring ListFile(const std::wstring& name) { return WipeListFolder() + L"\\" + name + L".wipelist"; }

}  // namespace

// Runs first: the next test deletes every list. "Twin" and "twin" are two lists here.
TEST(WipeListName, OneNameOneListAndNamesAndKeysGuarded) {
    std::optional<Category> exact = WipeListCategory(L"twin");
    ASSERT_TRUE(exact) << "make_wipe_fixtures.sh makes the lists";
    EXPECT_EQ(exact->key, "wipelist:twin");
    std::wstring why;
    EXPECT_FALSE(WipeListCategory(L"TWIN", &why));
    EXPECT_EQ(why.rfind(L"several wipe lists have this name in other cases: ", 0), 0u);
    EXPECT_NE(why.find(L"\"Twin\""), std::wstring::npos);
    EXPECT_NE(why.find(L"\"twin\""), std::wstring::npos);

    // Names and keys are guarded.
    EXPECT_EQ(CheckListName(std::wstring(64, L'a')), L"");
    EXPECT_EQ(CheckListName(L"Mail \u0141ukasz.old"), L"");
    for (const wchar_t* bad : {L"", L"a/b", L"a\\b", L"a:b", L"a*", L"a?", L"a\"", L"a<", L"a>", L"a|", L"tab\there",
                               L"CON", L"nul.txt", L"Com1 .x", L"LPT9", L"com\u00B9", L"x.", L"x ", L"."})
        EXPECT_NE(CheckListName(bad), L"") << Utf8(bad);
    EXPECT_NE(CheckListName(std::wstring(65, L'a')), L"");

    // A hive's root, a whole subtree and below it, a key at or above a settings root (in any case
    // and with doubled or trailing separators), every key of HKCU but Software, a look-alike letter.
    for (const wchar_t* refused : {L"HKCU", L"HKLM\\", L"HKEY_LOCAL_MACHINE\\system", L"HKLM\\software\\policies\\x",
                                   L"HKLM\\\\SOFTWARE\\\\", L"hkcu\\software", L"HKCU\\Software\\\\Microsoft\\",
                                   L"HKLM\\SOFTWARE\\WOW6432Node", L"HKCU\\Control Panel", L"HKEY_CURRENT_USER\\SOFTWARE\\CLASSES\\x",
                                   L"HKCU\\\u017Foftware"})
        EXPECT_NE(CheckKey(refused), L"") << Utf8(refused);
    for (const wchar_t* allowed : {L"HKLM\\SOFTWARE\\Acme\\Tool", L"HKCU\\Software\\Microsoft\\Notepad", L"HKLM\\SOFTWARE\\WOW6432Node\\Acme",
                                   L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs"})
        EXPECT_EQ(CheckKey(allowed), L"") << Utf8(allowed);
    for (const wchar_t* whole : {L"HKCR\\x", L"HKEY_USERS\\x", L"hkcc"})
        EXPECT_NE(CheckKey(whole).find(L"is refused whole"), std::wstring::npos) << Utf8(whole);
    for (const wchar_t* other : {L"HKCUx\\a", L"Software\\x"})
        EXPECT_EQ(CheckKey(other), L"not a key of HKCU or HKLM") << Utf8(other);
    KeyPath key;
    ASSERT_TRUE(SplitKey(L"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\Acme\\", key));
    EXPECT_EQ(KeyText(key), L"HKLM\\SOFTWARE\\Acme");
}

TEST(WipeListStore, WrittenAllOrNothingAndReadBackLineForLine) {
    const std::wstring name = L"Mail \u0141ukasz";
    for (const std::wstring& left : WipeListNames()) DeleteWipeList(left);
    ::SHCreateDirectoryExW(nullptr, WipeListFolder().c_str(), nullptr);
    // A BOM, CRLF and LF mixed, every kind, a comment, a blank line and four kinds of bad line.
    WriteBytes(ListFile(name),
               "\xEF\xBB\xBF# my mail\r\nfile C:\\mail\\\xC5\x81ukasz.pst\r\n\r\n"
               "  folder   \\\\server\\share\\old mail  \nkey HKCU\\Software\\Acme Mail\r\n"
               "files C:\\x\r\nfolder mail\\relative\r\nkey\r\nkey HKEY_USERS\\x\r\n");
    WipeList list;
    std::wstring why;
    ASSERT_TRUE(LoadWipeList(name, list, &why)) << Utf8(why);
    ASSERT_EQ(list.entries.size(), 3u);  // each read exactly: the saved bytes below show it
    std::vector<std::wstring> bad;
    for (const KeptLine& b : list.bad) bad.push_back(std::to_wstring(b.line) + L": " + b.reason);
    EXPECT_EQ(bad, (std::vector<std::wstring>{L"6: unknown kind \"files\" (file, folder or key)", L"7: not an absolute path",
                                              L"8: no key", L"9: not a key of HKCU or HKLM"}));

    // Saved with a new entry: the comment and the bad lines stay where they were, the new entry
    // goes last.
    list.entries.push_back({WipeKind::Folder, L"D:\\tmp\\\u0416", 0});
    ASSERT_TRUE(SaveWipeList(list, &why)) << Utf8(why);
    const std::string saved = ReadWholeFile(ListFile(name));
    EXPECT_EQ(saved,
              "# my mail\r\nfile C:\\mail\\\xC5\x81ukasz.pst\r\nfolder \\\\server\\share\\old mail  \r\n"
              "key HKCU\\Software\\Acme Mail\r\nfiles C:\\x\r\nfolder mail\\relative\r\nkey\r\n"
              "key HKEY_USERS\\x\r\nfolder D:\\tmp\\\xD0\x96\r\n");
    // An entry that would read back as a bad line is not saved.
    list.entries.push_back({WipeKind::File, L"relative.txt", 0});
    EXPECT_FALSE(SaveWipeList(list, &why));
    EXPECT_EQ(ReadWholeFile(ListFile(name)), saved);
    // A list file held open without leave to delete it cannot be replaced: the replace step fails
    // after the new file is written in full, and the old list stays, alone.
    list.entries.pop_back();
    HANDLE held = ::CreateFileW(ListFile(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    list.entries[0].target = L"C:\\new.txt";
    EXPECT_FALSE(SaveWipeList(list, &why));
    EXPECT_NE(why, L"");
    EXPECT_EQ(ReadWholeFile(ListFile(name)), saved);
    EXPECT_EQ(EntriesIn(WipeListFolder()), 1u);
    ::CloseHandle(held);

    ASSERT_TRUE(DeleteWipeList(name));
    EXPECT_FALSE(LoadWipeList(name, list, &why));
    EXPECT_EQ(why, L"There is no wipe list named \"Mail \u0141ukasz\".");
    // A name that is not a list name reaches no file.
    list.name = L"..\\x";
    EXPECT_FALSE(SaveWipeList(list));
    EXPECT_FALSE(LoadWipeList(L"NUL", list));
    EXPECT_FALSE(DeleteWipeList(std::wstring(65, L'x')));
    EXPECT_EQ(EntriesIn(WipeListFolder()), 0u);
}

// C:\wipe-fixtures\erase holds a.txt, sub\b.txt, a link to a folder and a link to a file, both
// links aimed at a read-only sentinel beside it (make_wipe_fixtures.sh).
TEST(WipeListErase, RefusalsFirstThenEntriesWithoutFollowingLinksAndNamesTakenExactly) {
    const std::wstring folder = L"C:\\wipe-fixtures\\erase", scratch = L"C:\\corvane-scratch\\wipe";
    ASSERT_TRUE(FileExists(folder + L"\\dirlink")) << "make_wipe_fixtures.sh makes the fixture";
    ::SHCreateDirectoryExW(nullptr, scratch.c_str(), nullptr);
    WriteBytes(scratch + L"\\one.txt", "one");
    WriteBytes(scratch + L"\\kept.txt", "kept");
    // doomed\inner holds a value, doomed\link is a registry link to a key of HKLM with a value.
    RegSetDword(HKEY_LOCAL_MACHINE, kLinkTarget, L"keep", 1);
    RegSetDword(HKEY_CURRENT_USER, std::wstring(kDoomed) + L"\\inner", L"x", 1);
    HKEY link = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kDoomed) + L"\\link").c_str(), 0, nullptr,
                                REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE, KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr,
                                &link, nullptr),
              ERROR_SUCCESS);
    std::wstring target = std::wstring(L"\\Registry\\Machine\\") + kLinkTarget;
    ::RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.c_str()),
                     static_cast<DWORD>(target.size() * sizeof(wchar_t)));
    ::RegCloseKey(link);

    WipeList list;
    list.name = L"erase test";
    list.entries = {{WipeKind::Folder, folder, 0},
                    {WipeKind::File, scratch + L"\\one.txt", 0},
                    {WipeKind::File, scratch + L"\\kept.txt", 0},
                    {WipeKind::Folder, L"C:\\Windows", 0},
                    {WipeKind::File, L"C:\\Windows\\win.ini", 0},
                    {WipeKind::Folder, _wgetenv(L"USERPROFILE"), 0},
                    {WipeKind::Key, L"HKCU\\Software\\", 0},
                    {WipeKind::Key, std::wstring(L"HKCU\\") + kDoomed, 0},
                    {WipeKind::Key, std::wstring(L"HKCU\\") + kDoomed + L"\\link", 0}};
    const std::vector<bool> checked = {true, true, false, true, true, true, true, true, true};

    std::vector<EntryPreview> previews = PreviewWipeList(list, checked);  // each refusal named there too
    ASSERT_EQ(previews.size(), 8u);
    EXPECT_NE(previews[3].problem, L"");
    Result result = EraseWipeList(list, checked, Options{});  // overwriting off: the list turns it on
    EXPECT_EQ(result.overwritten + result.deletedOnly, 3u);    // a.txt, sub\b.txt, one.txt
    // The five refusals come first; then the two links, which stay, and so does their folder.
    ASSERT_EQ(result.failed, 8u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(result.reasons[i].find(list.entries[i + 3].target), 0u);
    EXPECT_NE(result.reasons[4].find(L"is a registry link"), std::wstring::npos);
    for (const std::wstring& gone : {folder + L"\\a.txt", folder + L"\\sub", scratch + L"\\one.txt"})
        EXPECT_FALSE(FileExists(gone)) << Utf8(gone);
    for (const std::wstring& kept : {folder + L"\\dirlink", folder + L"\\filelink", scratch + L"\\kept.txt", std::wstring(L"C:\\Windows\\win.ini")})
        EXPECT_TRUE(FileExists(kept)) << Utf8(kept);
    EXPECT_EQ(ReadWholeFile(L"C:\\wipe-fixtures\\sentinel\\keep.txt"), "keep\n");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kDoomed));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Corvane-Tests\\Wipe"));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kLinkTarget));
    EXPECT_EQ(::RegGetValueW(HKEY_LOCAL_MACHINE, kLinkTarget, L"keep", RRF_RT_REG_DWORD, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);

    // A name is taken as written: Win32 would trim "data." to the sibling "data" and "f.txt " to
    // "f.txt". A folder whose own folder is not there is not taken as gone.
    const std::wstring exact = L"C:\\corvane-scratch\\exact";
    ::SHCreateDirectoryExW(nullptr, (exact + L"\\data").c_str(), nullptr);
    WriteBytes(exact + L"\\data\\x.txt", "x");
    WriteBytes(exact + L"\\f.txt", "f");
    ::SHCreateDirectoryExW(nullptr, WipeListFolder().c_str(), nullptr);
    WriteBytes(ListFile(L"exact"), "folder " + Utf8(exact) + "\\data.\nfile " + Utf8(exact) + "\\f.txt \nfolder " +
                                       Utf8(exact) + "\\gone\\sub\nfolder " + Utf8(exact) + "\\gone\n");
    WipeList loaded;
    ASSERT_TRUE(LoadWipeList(L"exact", loaded));
    ASSERT_TRUE(SaveWipeList(loaded));
    ASSERT_TRUE(LoadWipeList(L"exact", loaded));
    ASSERT_EQ(loaded.entries.size(), 4u);
    EXPECT_EQ(loaded.entries[0].target, exact + L"\\data.");
    EXPECT_EQ(loaded.entries[1].target, exact + L"\\f.txt ");
    result = EraseWipeList(loaded, std::vector<bool>(4, true), Options{});
    EXPECT_EQ(result.erased, 0u);
    // data. cannot be opened by its exact name here (Wine trims it); gone\sub's folder cannot be
    // listed; gone itself is simply not there.
    ASSERT_EQ(result.failed, 2u);
    EXPECT_EQ(result.reasons[0].find(exact + L"\\data."), 0u);
    EXPECT_EQ(result.reasons[1].find(exact + L"\\gone\\sub: "), 0u);
    EXPECT_TRUE(FileExists(exact + L"\\data\\x.txt"));
    EXPECT_TRUE(FileExists(exact + L"\\f.txt"));
    EXPECT_TRUE(DeleteWipeList(L"exact"));
}
