// What the category rows read, for the pages that show more than a row's listing: the folders the
// file categories walk, the registry lists with the exact value behind each entry, the typed
// addresses, the history, the registry traces and the shell folders' items. UTF-16 throughout.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Result.h"

namespace engine {

// ---- folders ----
// The folder a value of the user's "Shell Folders" key names ("Cache", "Cookies"), or the known
// folder it stands for when the value is missing; empty when there is neither.
std::wstring ShellFolder(const wchar_t* value);
// The user's temporary folder exactly as TMP (or, without TMP, TEMP) names it, not resolved
// against the current folder: the guard must see a relative value as relative. Empty with the
// reason when the variable is set but empty.
std::wstring UserTempFolder(std::wstring* reason = nullptr);
// "Temp" in the Windows folder.
std::wstring WindowsTempFolder();
// The cache list leaves out names ending in "ini" or "dat" (case counts); the cookie list
// leaves out names ending in "dat" (the index file).
bool IsListedCacheName(const std::wstring& name);
bool IsListedCookieName(const std::wstring& name);

// ---- registry lists ----
// One listed entry below HKEY_CURRENT_USER: the key and the exact value name it comes from,
// and the text shown for it.
struct RegistryEntry {
    std::wstring key;
    std::wstring value;
    std::wstring text;
};

// The common dialogs' history of files and folders, each list in its most-recent order; an
// entry whose data shows no path is listed as kNotAPath (and erased all the same).
extern const wchar_t kNotAPath[];
std::vector<RegistryEntry> ReadOpenFileHistory(Result* problems = nullptr);
// The shell's list of recently opened documents, by name, with its per-type lists.
std::vector<RegistryEntry> ReadRecentDocs(Result* problems = nullptr);
// The shell's program-use counters, their names decoded (ROT13, known folders shown as paths);
// the counters' own bookkeeping values are left out.
std::vector<RegistryEntry> ReadProgramUse(Result* problems = nullptr);
// Deletes each entry's value by the exact name it was listed under.
Result EraseValues(const std::vector<RegistryEntry>& entries);

// The registry traces as their page groups them.
struct TraceGroup {
    std::wstring heading;  // "Run List", ...
    std::vector<std::wstring> texts;
};
std::vector<TraceGroup> ReadRegistryTraces();

// The typed addresses, url1, url2, ... up to the first missing one.
extern const wchar_t kTypedUrlsKey[];
std::vector<std::wstring> ReadTypedUrls(Result* problems = nullptr);

// The browser history's addresses in its own order; false with the reason when it cannot be read.
bool ReadHistory(std::vector<std::wstring>& urls, std::wstring* reason = nullptr);

// Empties the clipboard for a window of the program, which then announces a text it never
// renders; a null owner announces nothing.
Result EmptyClipboardFor(HWND owner);

// The display names of a shell folder's items (CSIDL_BITBUCKET, ...), in the shell's order.
bool ShellFolderNames(int csidl, std::vector<std::wstring>& names);

}  // namespace engine
