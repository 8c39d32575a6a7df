#include "Rows.h"
#include "Text.h"

namespace engine {
namespace rows {

bool OpenKey(const std::wstring& path, REGSAM access, RegKey& key, Result* problems) {
    LONG rc = key.Open(HKEY_CURRENT_USER, path, access);
    if (rc == ERROR_SUCCESS) return true;
    if (rc == ERROR_FILE_NOT_FOUND || !problems) return false;
    std::wstring shown = KeyText(HKEY_CURRENT_USER, path);
    if (rc == kRegLinkRefused)
        problems->Failed(shown + L": a registry link on the way; it was not followed.");
    else
        problems->Failed(Reason(shown, static_cast<DWORD>(rc)));
    return false;
}

namespace {
bool IsAbsolute(const std::wstring& p) {
    bool drive = p.size() >= 3 && iswalpha(p[0]) && p[1] == L':' && p[2] == L'\\';
    return drive || p.compare(0, 2, L"\\\\") == 0;
}

}  // namespace

std::wstring FolderRefusal(const std::wstring& folder, bool& gone) {
    gone = false;
    if (folder.empty()) return L"No folder is named.";
    std::wstring why = CheckTopFolder(folder);
    if (why.empty()) return why;
    DWORD error = ::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : 0;
    gone = IsAbsolute(folder) && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND);
    return why;
}

Listing ListTop(const std::wstring& folder, const Options& options, const WalkSettings& settings) {
    bool gone = false;
    std::wstring why = FolderRefusal(folder, gone);
    if (gone) return {};
    if (!why.empty()) {
        Listing refused;
        refused.problems.Failed(folder + L": " + why);
        return refused;
    }
    return ListFolder(folder, options, nullptr, settings);
}

Result EraseTop(const std::wstring& folder, const Options& options,
                Result (*erase)(const std::wstring& folder, const Options& options)) {
    bool gone = false;
    std::wstring why = FolderRefusal(folder, gone);
    Result result;
    if (gone) return result;
    if (!why.empty()) {
        result.Failed(folder + L": " + why);
        return result;
    }
    return erase(folder, options);
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) { return KnownFolderPath(id, KF_FLAG_DONT_VERIFY); }

std::wstring KnownFolderByText(const std::wstring& id) {
    GUID guid{};
    return SUCCEEDED(::CLSIDFromString(id.c_str(), &guid)) ? KnownFolder(guid) : std::wstring();
}

}  // namespace rows
}  // namespace engine
