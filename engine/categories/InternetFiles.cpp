// Temporary Internet Files and Cookies: the folders the user's "Shell Folders" key names, read
// wide (an 8-bit read turns "Łukasz" into "Lukasz", another folder), walked by the one walk.
#include <shlobj.h>

#include "RegKey.h"
#include "Rows.h"
#include "Traces.h"

namespace engine {

namespace {
const wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";


// The last three characters, compared as they are: "ini" and "INI" are different names here.
bool EndsWith(const std::wstring& name, const wchar_t* tail) {
    return name.size() >= 3 && name.compare(name.size() - 3, 3, tail) == 0;
}

Result EraseAll(const std::wstring& folder, const Options& options) { return EraseInside(folder, options); }

// Outlook opens attachments from here, and keeps the user's edits to them here.
WalkSettings CacheSettings() {
    WalkSettings s;
    s.keepFolder = L"Content.Outlook";
    s.keepFolderWhy = L"Outlook keeps here the attachments you opened, with your changes to them";
    return s;
}
Result EraseCacheFolder(const std::wstring& folder, const Options& options) {
    return EraseInside(folder, options, nullptr, CacheSettings());
}
}  // namespace

std::wstring ShellFolder(const wchar_t* value) {
    RegKey key;
    std::wstring folder;
    if (key.Open(HKEY_CURRENT_USER, kShellFoldersKey, KEY_QUERY_VALUE) == ERROR_SUCCESS && key.ReadString(value, folder) &&
        !folder.empty())
        return folder;
    if (std::wstring(value) == L"Cache") return rows::KnownFolder(FOLDERID_InternetCache);
    if (std::wstring(value) == L"Cookies") return rows::KnownFolder(FOLDERID_Cookies);
    return {};
}

bool IsListedCacheName(const std::wstring& name) { return !EndsWith(name, L"ini") && !EndsWith(name, L"dat"); }
bool IsListedCookieName(const std::wstring& name) { return !EndsWith(name, L"dat"); }

namespace rows {
Listing ListCache(const Options& o) { return ListTop(ShellFolder(L"Cache"), o, CacheSettings()); }
Result EraseCache(const Options& o) { return EraseTop(ShellFolder(L"Cache"), o, EraseCacheFolder); }
Listing ListCookies(const Options& o) { return ListTop(ShellFolder(L"Cookies"), o); }
Result EraseCookies(const Options& o) { return EraseTop(ShellFolder(L"Cookies"), o, EraseAll); }
}  // namespace rows

}  // namespace engine
