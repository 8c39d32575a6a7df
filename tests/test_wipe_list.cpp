// Wipe lists: kept in their files and read back line for line, saved all or nothing, their
// names and keys guarded, and erased through the engine without following any link.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "Text.h"
#include "WipeList.h"
#include "Walk.h"

using namespace engine;

namespace {

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(h, buf, sizeof buf, &got, nullptr) && got) bytes.append(buf, got);
    ::CloseHandle(h);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    ::CloseHandle(h);
}

std::wstring ListFile(const std::wstring& name) { return WipeListFolder() + L"\\" + name + L".wipelist"; }

size_t FilesInListFolder() {
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW((WipeListFolder() + L"\\*").c_str(), &d);
    size_t n = 0;
    if (h == INVALID_HANDLE_VALUE) return n;
    do n += !(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (::FindNextFileW(h, &d));
    ::FindClose(h);
    return n;
}

bool Listed(const std::wstring& name) {
    for (const std::wstring& n : WipeListNames())
        if (n == name) return true;
    return false;
}

}  // namespace

TEST(WipeListText, NamesAndKeysGuarded) {
    EXPECT_EQ(CheckListName(std::wstring(64, L'a')), L"");
    EXPECT_EQ(CheckListName(L"Mail \u0141ukasz.old"), L"");
    for (const wchar_t* bad : {L"", L"a/b", L"a\\b", L"a:b", L"a*", L"a?", L"a\"", L"a<", L"a>", L"a|", L"tab\there",
                               L"CON", L"nul.txt", L"Com1 .x", L"LPT9", L"com\u00B9", L"x.", L"x ", L"."})
        EXPECT_NE(CheckListName(bad), L"") << Utf8(bad);
    EXPECT_NE(CheckListName(std::wstring(65, L'a')), L"");

    for (const wchar_t* refused :
         {L"HKCU", L"HKLM\\", L"HKEY_LOCAL_MACHINE\\system", L"HKLM\\\\SOFTWARE\\\\", L"HKLM\\SAM", L"hklm\\Security",
          L"HKLM\\HARDWARE", L"hkcu\\software", L"HKCU\\\\Software\\", L"HKCU\\Software\\\\Microsoft\\",
          L"HKEY_CURRENT_USER\\SOFTWARE\\CLASSES", L"HKCU\\\u017Foftware"})
        EXPECT_NE(CheckKey(refused), L"") << Utf8(refused);
    for (const wchar_t* allowed : {L"HKCU\\Software\\Acme", L"HKLM\\SOFTWARE\\Acme\\Tool", L"HKCU\\Softwares",
                                   L"HKCU\\Software\\Microsoft\\Notepad", L"HKEY_CURRENT_USER\\Environment\\x"})
        EXPECT_EQ(CheckKey(allowed), L"") << Utf8(allowed);
    for (const wchar_t* other : {L"HKCR\\x", L"HKEY_USERS\\x", L"HKCUx\\a", L"Software\\x"})
        EXPECT_EQ(CheckKey(other), L"not a key of HKCU or HKLM") << Utf8(other);
    KeyPath key;
    ASSERT_TRUE(SplitKey(L"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\Acme\\", key));
    EXPECT_EQ(KeyText(key), L"HKLM\\SOFTWARE\\Acme");
}

TEST(WipeListStore, WrittenAndReadBackLineForLine) {
    const std::wstring name = L"Mail \u0141ukasz";
    ASSERT_TRUE(DeleteWipeList(name));
    ::SHCreateDirectoryExW(nullptr, WipeListFolder().c_str(), nullptr);
    // A BOM, CRLF and LF mixed, every kind, comments, blanks and four kinds of bad line.
    WriteBytes(ListFile(name),
               "\xEF\xBB\xBF# my mail\r\n"
               "file C:\\mail\\\xC5\x81ukasz.pst\r\n"
               "\r\n"
               "  folder   \\\\server\\share\\old mail  \n"
               "key HKCU\\Software\\Acme Mail\r\n"
               "files C:\\x\r\n"
               "folder mail\\relative\r\n"
               "key\r\n"
               "key HKEY_USERS\\x\r\n");
    WipeList list;
    std::wstring why;
    ASSERT_TRUE(LoadWipeList(name, list, &why)) << Utf8(why);
    EXPECT_TRUE(Listed(name));
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.entries[0].kind, WipeKind::File);
    EXPECT_EQ(list.entries[0].target, L"C:\\mail\\\u0141ukasz.pst");
    EXPECT_EQ(list.entries[1].kind, WipeKind::Folder);
    EXPECT_EQ(list.entries[1].target, L"\\\\server\\share\\old mail");
    EXPECT_EQ(list.entries[2].kind, WipeKind::Key);
    EXPECT_EQ(list.entries[2].target, L"HKCU\\Software\\Acme Mail");
    ASSERT_EQ(list.comments.size(), 1u);
    ASSERT_EQ(list.bad.size(), 4u);
    const unsigned lines[] = {6, 7, 8, 9};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(list.bad[i].line, lines[i]);
        EXPECT_NE(list.bad[i].reason, L"");
    }
    EXPECT_EQ(list.bad[0].reason, L"unknown kind \"files\" (file, folder or key)");
    EXPECT_EQ(list.bad[1].reason, L"not an absolute path");
    EXPECT_EQ(list.bad[2].reason, L"no key");

    // Saved with a new entry: the bad lines and the comment stay where they were, the new entry
    // goes last, and it all reads back the same.
    list.entries.push_back({WipeKind::Folder, L"D:\\tmp\\\u0416", 0});
    ASSERT_TRUE(SaveWipeList(list, &why)) << Utf8(why);
    const std::string saved = ReadBytes(ListFile(name));
    EXPECT_EQ(saved,
              "# my mail\r\nfile C:\\mail\\\xC5\x81ukasz.pst\r\nfolder \\\\server\\share\\old mail\r\n"
              "key HKCU\\Software\\Acme Mail\r\nfiles C:\\x\r\nfolder mail\\relative\r\nkey\r\n"
              "key HKEY_USERS\\x\r\nfolder D:\\tmp\\\xD0\x96\r\n");
    WipeList again;
    ASSERT_TRUE(LoadWipeList(name, again));
    EXPECT_EQ(again.entries.size(), 4u);
    EXPECT_EQ(again.entries[3].target, L"D:\\tmp\\\u0416");
    EXPECT_EQ(again.bad.size(), 4u);

    // An entry that would read back as a bad line is not saved.
    again.entries.push_back({WipeKind::File, L"relative.txt", 0});
    EXPECT_FALSE(SaveWipeList(again, &why));
    EXPECT_EQ(ReadBytes(ListFile(name)), saved);

    ASSERT_TRUE(DeleteWipeList(name));
    EXPECT_FALSE(Listed(name));
    EXPECT_FALSE(LoadWipeList(name, list, &why));
    EXPECT_EQ(why, L"There is no wipe list named \"Mail \u0141ukasz\".");
    EXPECT_TRUE(DeleteWipeList(name));
}

TEST(WipeListStore, BadNamesTouchNothing) {
    WipeList list;
    list.entries.push_back({WipeKind::File, L"C:\\a.txt", 0});
    for (const std::wstring& name : {std::wstring(65, L'x'), std::wstring(L"a\\..\\b"), std::wstring(L"NUL")}) {
        size_t before = FilesInListFolder();
        list.name = name;
        std::wstring why;
        EXPECT_FALSE(SaveWipeList(list, &why)) << Utf8(name);
        EXPECT_NE(why, L"");
        EXPECT_FALSE(LoadWipeList(name, list));
        EXPECT_FALSE(DeleteWipeList(name));
        EXPECT_EQ(FilesInListFolder(), before);
    }
}

TEST(WipeListStore, AFailedReplaceLeavesTheOldList) {
    WipeList list;
    list.name = L"all or nothing";
    list.entries.push_back({WipeKind::File, L"C:\\old.txt", 0});
    ASSERT_TRUE(SaveWipeList(list));
    const std::string old = ReadBytes(ListFile(list.name));
    size_t files = FilesInListFolder();
    // A list file held open without leave to delete it cannot be replaced: the replace step
    // fails after the new file is written in full.
    HANDLE held = ::CreateFileW(ListFile(list.name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    list.entries[0].target = L"C:\\new.txt";
    list.entries.push_back({WipeKind::Folder, L"C:\\new", 0});
    std::wstring why;
    EXPECT_FALSE(SaveWipeList(list, &why));
    EXPECT_NE(why, L"");
    EXPECT_EQ(ReadBytes(ListFile(list.name)), old);
    EXPECT_EQ(FilesInListFolder(), files);  // the new file did not stay behind
    ::CloseHandle(held);
    EXPECT_TRUE(SaveWipeList(list, &why)) << Utf8(why);
    EXPECT_NE(ReadBytes(ListFile(list.name)), old);
    EXPECT_TRUE(DeleteWipeList(list.name));
}

namespace {

const wchar_t kLinkTarget[] = L"Software\\Corvane-Tests\\WipeTarget";
const wchar_t kDoomed[] = L"Software\\Corvane-Tests\\Wipe\\doomed";

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY h = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    ::RegCloseKey(h);
    return true;
}

void SetValue(HKEY root, const std::wstring& path, const wchar_t* name) {
    HKEY h = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), ERROR_SUCCESS);
    DWORD one = 1;
    ::RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    ::RegCloseKey(h);
}

// doomed\inner holds a value, doomed\link is a registry link to a key of HKLM with a value.
void SeedKeys() {
    SetValue(HKEY_LOCAL_MACHINE, kLinkTarget, L"keep");
    SetValue(HKEY_CURRENT_USER, std::wstring(kDoomed) + L"\\inner", L"x");
    HKEY link = nullptr;
    LONG made = ::RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kDoomed) + L"\\link").c_str(), 0, nullptr,
                                  REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE, KEY_ALL_ACCESS | KEY_CREATE_LINK,
                                  nullptr, &link, nullptr);
    if (made == ERROR_ALREADY_EXISTS || made == ERROR_SUCCESS) {
        std::wstring target = std::wstring(L"\\Registry\\Machine\\") + kLinkTarget;
        ::RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.c_str()),
                         static_cast<DWORD>(target.size() * sizeof(wchar_t)));
        ::RegCloseKey(link);
    }
    ASSERT_EQ(made, ERROR_SUCCESS);
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR p = nullptr;
    ::SHGetKnownFolderPath(id, 0, nullptr, &p);
    std::wstring s = p ? p : L"";
    ::CoTaskMemFree(p);
    return s;
}

}  // namespace

// C:\wipe-fixtures\erase holds a.txt, sub\b.txt, a link to a folder and a link to a file, both
// links aimed at a read-only sentinel beside it (make_wipe_fixtures.sh).
TEST(WipeListErase, RefusalsFirstThenEntriesWithoutFollowingLinks) {
    const std::wstring folder = L"C:\\wipe-fixtures\\erase", scratch = L"C:\\corvane-scratch\\wipe";
    ASSERT_TRUE(Exists(folder + L"\\dirlink")) << "make_wipe_fixtures.sh makes the fixture";
    ::CreateDirectoryW(L"C:\\corvane-scratch", nullptr);
    ::CreateDirectoryW(scratch.c_str(), nullptr);
    WriteBytes(scratch + L"\\one.txt", "one");
    WriteBytes(scratch + L"\\kept.txt", "kept");
    SeedKeys();

    WipeList list;
    list.name = L"erase test";
    list.entries = {{WipeKind::Folder, folder, 0},
                    {WipeKind::File, scratch + L"\\one.txt", 0},
                    {WipeKind::File, scratch + L"\\kept.txt", 0},
                    {WipeKind::Folder, L"C:\\Windows", 0},
                    {WipeKind::File, L"C:\\Windows\\win.ini", 0},
                    {WipeKind::Folder, KnownFolder(FOLDERID_Profile), 0},
                    {WipeKind::Key, L"HKCU\\Software\\", 0},
                    {WipeKind::Key, std::wstring(L"HKCU\\") + kDoomed, 0}};
    const std::vector<bool> checked = {true, true, false, true, true, true, true, true};

    std::vector<Refusal> refusals = CheckWipeList(list, checked);
    ASSERT_EQ(refusals.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(refusals[i].entry, i + 3);
        EXPECT_NE(refusals[i].reason, L"");
    }

    std::vector<EntryPreview> previews = PreviewWipeList(list, checked);
    ASSERT_EQ(previews.size(), 7u);
    EXPECT_GE(previews[0].bytes, 16u);  // a.txt and sub\b.txt at least
    EXPECT_EQ(previews[1].items, 1u);
    EXPECT_EQ(previews[1].bytes, 3u);
    EXPECT_NE(previews[3].problem, L"");
    EXPECT_EQ(previews[6].items, 4u);  // doomed, inner, its value, the link
    EXPECT_TRUE(Exists(folder + L"\\a.txt"));

    Result result = EraseWipeList(list, checked, Options{});
    // The four refusals come first; then the two links, which stay, and so does their folder.
    ASSERT_EQ(result.failed, 7u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(result.reasons[i].find(list.entries[i + 3].target), 0u);
    EXPECT_FALSE(Exists(folder + L"\\a.txt"));
    EXPECT_FALSE(Exists(folder + L"\\sub"));
    EXPECT_TRUE(Exists(folder + L"\\dirlink"));
    EXPECT_TRUE(Exists(folder + L"\\filelink"));
    EXPECT_FALSE(Exists(scratch + L"\\one.txt"));
    EXPECT_TRUE(Exists(scratch + L"\\kept.txt"));
    EXPECT_EQ(ReadBytes(L"C:\\wipe-fixtures\\sentinel\\keep.txt"), "keep\n");
    EXPECT_TRUE(Exists(L"C:\\Windows\\win.ini"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kDoomed));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Corvane-Tests\\Wipe"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kLinkTarget));
    DWORD type = 0;
    EXPECT_EQ(::RegGetValueW(HKEY_LOCAL_MACHINE, kLinkTarget, L"keep", RRF_RT_REG_DWORD, &type, nullptr, nullptr),
              ERROR_SUCCESS);
}

// A saved list is a category of the command line: its key, its preview, its erase, and its bad
// lines as failures with their numbers.
TEST(WipeListErase, ASavedListIsACategory) {
    const std::wstring scratch = L"C:\\corvane-scratch\\wipe-category";
    ::CreateDirectoryW(L"C:\\corvane-scratch", nullptr);
    ::CreateDirectoryW(scratch.c_str(), nullptr);
    WriteBytes(scratch + L"\\a.txt", "12345");
    WipeList list;
    ASSERT_TRUE(DeleteWipeList(L"Nightly"));
    EXPECT_FALSE(WipeListCategory(L"Nightly"));
    ::SHCreateDirectoryExW(nullptr, WipeListFolder().c_str(), nullptr);
    WriteBytes(ListFile(L"Nightly"), "file " + Utf8(scratch) + "\\a.txt\nfolder relative\n");

    std::optional<Category> category = WipeListCategory(L"NIGHTLY");
    ASSERT_TRUE(category);
    EXPECT_EQ(category->key, "wipelist:Nightly");
    Listing listing = category->list(Options{});
    ASSERT_EQ(listing.items.size(), 1u);
    EXPECT_EQ(listing.items[0].bytes, 5u);
    EXPECT_EQ(listing.problems.failed, 1u);
    EXPECT_NE(listing.problems.FirstReason().find(L"Line 2"), std::wstring::npos);
    EXPECT_TRUE(Exists(scratch + L"\\a.txt"));

    Result result = category->erase(Options{});
    EXPECT_EQ(result.erased, 1u);
    EXPECT_EQ(result.failed, 1u);
    EXPECT_FALSE(Exists(scratch + L"\\a.txt"));
    EXPECT_TRUE(DeleteWipeList(L"Nightly"));
}
