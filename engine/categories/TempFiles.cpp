// The user's and the Windows temporary folders. The user's is taken from TMP/TEMP as written:
// GetTempPath would resolve "." or "C:" against the current folder (the install folder), which
// the guard then could not tell from a real temporary folder.
#include "Rows.h"
#include "Traces.h"

namespace engine {

namespace {
// The variable's value; false when it is not set at all.
bool Variable(const wchar_t* name, std::wstring& value) {
    value.assign(32767, L'\0');
    ::SetLastError(ERROR_SUCCESS);
    DWORD n = ::GetEnvironmentVariableW(name, &value[0], static_cast<DWORD>(value.size()));
    if (n == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
    value.resize(n < value.size() ? n : 0);
    return true;
}

// What a running installer or program wrote a moment ago is still in use.
WalkSettings TempSettings(const Options& options) {
    WalkSettings s;
    s.keepHours = options.keepRecentTemp ? 24 : 0;
    return s;
}
Result EraseAll(const std::wstring& folder, const Options& options) {
    return EraseInside(folder, options, nullptr, TempSettings(options));
}

Result EraseUser(const Options& o) {
    std::wstring why;
    std::wstring folder = UserTempFolder(&why);
    if (folder.empty()) {
        Result refused;
        refused.Failed(why);
        return refused;
    }
    return rows::EraseTop(folder, o, EraseAll);
}
}  // namespace

std::wstring UserTempFolder(std::wstring* reason) {
    std::wstring value;
    for (const wchar_t* name : {L"TMP", L"TEMP"}) {
        if (!Variable(name, value)) continue;
        if (value.empty() && reason) *reason = std::wstring(name) + L" is set but empty: no temporary folder is named.";
        return value;
    }
    wchar_t path[MAX_PATH + 1];
    DWORD n = ::GetTempPathW(MAX_PATH + 1, path);
    if (n == 0 || n > MAX_PATH) {
        if (reason) *reason = L"The temporary folder could not be found.";
        return {};
    }
    return path;
}

std::wstring WindowsTempFolder() {
    wchar_t path[MAX_PATH];
    UINT n = ::GetWindowsDirectoryW(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::wstring folder = path;
    if (folder.back() != L'\\') folder += L'\\';
    return folder + L"Temp";
}

namespace rows {
Listing ListUserTemp(const Options& o) {
    std::wstring why;
    std::wstring folder = UserTempFolder(&why);
    if (!folder.empty()) return ListTop(folder, o, TempSettings(o));
    Listing refused;
    refused.problems.Failed(why);
    return refused;
}
Result EraseUserTemp(const Options& o) { return EraseUser(o); }
Listing ListWindowsTemp(const Options& o) { return ListTop(WindowsTempFolder(), o, TempSettings(o)); }
Result EraseWindowsTemp(const Options& o) { return EraseTop(WindowsTempFolder(), o, EraseAll); }
}  // namespace rows

}  // namespace engine
