// The window-less preview and erase of every category, one family per file; Categories.cpp
// puts them into the one table.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "Walk.h"

#include "Categories.h"
#include "RegKey.h"

namespace engine {
namespace rows {

using ListFn = Listing (*)(const Options&);
using EraseFn = Result (*)(const Options&);

Listing ListCache(const Options&);
Result EraseCache(const Options&);
Listing ListCookies(const Options&);
Result EraseCookies(const Options&);
Listing ListHistory(const Options&);
Result EraseHistory(const Options&);
Listing ListRecycleBin(const Options&);
Result EraseRecycleBin(const Options&);
Listing ListRecentDocuments(const Options&);
Result EraseRecentDocuments(const Options&);
Listing ListNetworkPlaces(const Options&);
Result EraseNetworkPlaces(const Options&);
Listing ListUserTemp(const Options&);
Result EraseUserTemp(const Options&);
Listing ListWindowsTemp(const Options&);
Result EraseWindowsTemp(const Options&);
Listing ListClipboard(const Options&);
Result EraseClipboard(const Options&);
Listing ListEventLog(const Options&);
Result EraseEventLog(const Options&);

// ---- shared steps ----
// A known folder's path as the shell gives it; empty when there is none.
std::wstring KnownFolder(REFKNOWNFOLDERID id);
// The same by the id's text ("{374DE290-...}"); empty when it names no known folder.
std::wstring KnownFolderByText(const std::wstring& id);
// Opens a key below HKEY_CURRENT_USER: false when it is missing (silently) or refused (a
// problem with its reason: a registry link on the way, or another error).
bool OpenKey(const std::wstring& path, REGSAM access, RegKey& key, Result* problems);
// Whether a folder may be walked: an empty reason when it may. A folder that is absolute and
// not there gives "nothing" (gone is true): there is nothing to erase.
std::wstring FolderRefusal(const std::wstring& folder, bool& gone);
// A walk of one folder, refused (a failure with its reason) when the guard refuses it, and
// nothing at all when the folder is not there. A listing names every file the erase takes.
Listing ListTop(const std::wstring& folder, const Options& options, const WalkSettings& settings = {});
Result EraseTop(const std::wstring& folder, const Options& options,
                Result (*erase)(const std::wstring& folder, const Options& options));
// COM for the length of one call on this thread; balanced only when this call started it.
class ComScope {
public:
    ComScope() : m_hr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_hr;
};

}  // namespace rows
}  // namespace engine
