#include "LogFile.h"

#include <windows.h>

#include "PathRules.h"
#include "Text.h"

namespace engine {

namespace {
std::wstring FullPathOf(const std::wstring& path) {
    DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    full.resize(n ? ::GetFullPathNameW(path.c_str(), n, &full[0], nullptr) : 0);
    return full;
}

// A link that does not say it is one (under Wine, a Linux link to a file) still leads
// elsewhere: its final path is not the path that was named.
bool LeadsElsewhere(HANDLE h, const std::wstring& path) {
    wchar_t final[MAX_PATH * 4];
    DWORD n = ::GetFinalPathNameByHandleW(h, final, MAX_PATH * 4, VOLUME_NAME_DOS);
    if (!n || n >= MAX_PATH * 4) return false;  // cannot tell: the reparse attribute decides
    std::wstring full = FullPathOf(path);
    DWORD m = ::GetLongPathNameW(full.c_str(), nullptr, 0);
    std::wstring longForm(m, L'\0');
    if (m) longForm.resize(::GetLongPathNameW(full.c_str(), &longForm[0], m));
    PathSteps a, b;
    return SplitFullPath(final, a) && SplitFullPath(longForm.empty() ? full : longForm, b) && FoldedPath(a) != FoldedPath(b);
}

HANDLE OpenNoFollow(const std::wstring& path, DWORD access, DWORD disposition) {
    return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                         FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}
}  // namespace

LogFileState InspectLogFile(const std::wstring& path) {
    HANDLE h = OpenNoFollow(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING);
    if (h == INVALID_HANDLE_VALUE) return LogFileState::Absent;
    BY_HANDLE_FILE_INFORMATION info{};
    ::GetFileInformationByHandle(h, &info);
    LogFileState state = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || LeadsElsewhere(h, path)
                             ? LogFileState::Link
                         : (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? LogFileState::Folder
                         : (info.nFileSizeHigh || info.nFileSizeLow)           ? LogFileState::HoldsData
                                                                                : LogFileState::Empty;
    ::CloseHandle(h);
    return state;
}

std::wstring CreateOrEmptyLogFile(const std::wstring& path) {
    LogFileState before = InspectLogFile(path);
    if (before == LogFileState::Link) return path + L" is a link; choose another name.";
    if (before == LogFileState::Folder) return path + L" is a folder; choose a file name.";
    HANDLE h = OpenNoFollow(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, OPEN_ALWAYS);
    if (h == INVALID_HANDLE_VALUE) return Reason(path, ::GetLastError());
    BY_HANDLE_FILE_INFORMATION info{};
    ::GetFileInformationByHandle(h, &info);
    // Made a link between the look and the open: leave it alone.
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || LeadsElsewhere(h, path)) {
        ::CloseHandle(h);
        return path + L" is a link; choose another name.";
    }
    FILE_END_OF_FILE_INFO end{};
    bool ok = ::SetFileInformationByHandle(h, FileEndOfFileInfo, &end, sizeof end) != FALSE;
    DWORD error = ::GetLastError();
    ::CloseHandle(h);
    return ok ? std::wstring() : Reason(path, error);
}

}  // namespace engine
