// What the category rows read, for the pages that show more than a row's listing: the folders the
// file categories walk, the history and the shell folders' items. UTF-16 throughout.
#pragma once
#include <windows.h>

#include <functional>
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

// The browser history's addresses in its own order; false with the reason when it cannot be read.
bool ReadHistory(std::vector<std::wstring>& urls, std::wstring* reason = nullptr);

// Empties the clipboard, opened through open (the caller's OpenClipboard, whose window becomes
// its owner); with announceText that owner then announces a text it never renders, so other
// programs see a text and get none.
Result EmptyClipboard(const std::function<bool()>& open, bool announceText);

// The display names of a shell folder's items (CSIDL_BITBUCKET, ...), in the shell's order.
bool ShellFolderNames(int csidl, std::vector<std::wstring>& names);

}  // namespace engine
