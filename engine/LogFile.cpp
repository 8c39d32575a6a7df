#include "LogFile.h"
#include "Policy.h"

#include <shlobj.h>

#include <cstdio>
#include <mutex>

#include "Handles.h"
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

// The log's own folder (%LOCALAPPDATA%\Corvane-Sweepmere the first time); never a whole path.
void MakeFolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 2) ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
}

Handle OpenNoFollow(const std::wstring& path, DWORD access, DWORD disposition) {
    return Handle(::CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}
}  // namespace

LogFileState InspectLogFile(const std::wstring& path) {
    Handle h = OpenNoFollow(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING);
    if (!h) return LogFileState::Absent;
    BY_HANDLE_FILE_INFORMATION info{};
    ::GetFileInformationByHandle(h.Get(), &info);
    return (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || LeadsElsewhere(h.Get(), path) ? LogFileState::Link
           : (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)                                    ? LogFileState::Folder
           : (info.nFileSizeHigh || info.nFileSizeLow)                                              ? LogFileState::HoldsData
                                                                                                     : LogFileState::Empty;
}

std::wstring CreateOrEmptyLogFile(const std::wstring& path) {
    LogFileState before = InspectLogFile(path);
    if (before == LogFileState::Link) return path + L" is a link; choose another name.";
    if (before == LogFileState::Folder) return path + L" is a folder; choose a file name.";
    MakeFolderOf(path);
    Handle h = OpenNoFollow(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, OPEN_ALWAYS);
    if (!h) return Reason(path, ::GetLastError());
    BY_HANDLE_FILE_INFORMATION info{};
    ::GetFileInformationByHandle(h.Get(), &info);
    // Made a link between the look and the open: leave it alone.
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || LeadsElsewhere(h.Get(), path))
        return path + L" is a link; choose another name.";
    FILE_END_OF_FILE_INFO end{};
    return ::SetFileInformationByHandle(h.Get(), FileEndOfFileInfo, &end, sizeof end) ? std::wstring()
                                                                                       : Reason(path, ::GetLastError());
}

namespace {
// The program's profile, where the log-file dialog keeps its choice.
const wchar_t kProfileKey[] = L"Software\\Local AppWizard-Generated Applications\\Application\\Settings";
const wchar_t kLogValue[] = L"Log File";

std::wstring& ProcessLogPath() {
    static std::wstring path;
    return path;
}

std::wstring ProfileLogPath() {
    wchar_t text[MAX_PATH * 4];
    DWORD size = sizeof text;
    if (::RegGetValueW(HKEY_CURRENT_USER, kProfileKey, kLogValue, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::wstring();
    return text;
}

// Opens the log for appending, creating it, never through a link.
Handle OpenForAppend(const std::wstring& path, std::wstring& problem) {
    if (InspectLogFile(path) == LogFileState::Link) {
        problem = path + L" is a link; the log is not written through it";
        return {};
    }
    Handle h(::CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!h) {
        problem = Reason(path, ::GetLastError());
        return h;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    ::GetFileInformationByHandle(h.Get(), &info);
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || LeadsElsewhere(h.Get(), path)) {
        problem = path + L" is a link; the log is not written through it";
        return {};
    }
    return h;
}

unsigned long long SizeOf(HANDLE h) {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(h, &size) ? static_cast<unsigned long long>(size.QuadPart) : 0;
}
}  // namespace

std::wstring DefaultLogPath() {
    std::wstring local = KnownFolderPath(FOLDERID_LocalAppData);
    return local.empty() ? local : local + L"\\Corvane-Sweepmere\\Erase.txt";
}

std::wstring LogPath() {
    std::wstring policy = PolicyLogFile();  // an administrator's choice wins over the user's and /log
    if (!policy.empty()) return policy;
    if (!ProcessLogPath().empty()) return ProcessLogPath();
    std::wstring kept = ProfileLogPath();
    return kept.empty() ? DefaultLogPath() : kept;
}

bool KeepLogPath(const std::wstring& path) {
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, kProfileKey, kLogValue, REG_SZ, path.c_str(),
                             static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void SetLogPathForProcess(const std::wstring& path) { ProcessLogPath() = path; }

std::wstring EraseLine(const std::string& key, const Result& r) {
    std::wstring line = FromUtf8(key) + L"  " + std::to_wstring(r.erased) + L" erased, " + std::to_wstring(r.bytes) +
                        L" bytes, " + std::to_wstring(r.failed) + L" stayed";
    if (r.failed && !r.reasons.empty()) line += L": " + r.FirstReason();
    if (r.withoutOverwriting && r.erased) line += L"; deleted without overwriting";
    for (const std::wstring& note : r.notes) line += L"; " + note;
    return line;
}

std::wstring LogLine(const SYSTEMTIME& t, const std::wstring& text) {
    wchar_t stamp[32];
    swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u  ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return stamp + text;
}

std::vector<std::wstring> EraseLogLines(const SYSTEMTIME& local, const std::string& key, const Result& result) {
    std::vector<std::wstring> lines{LogLine(local, EraseLine(key, result))};
    for (const std::wstring& reason : result.reasons) lines.push_back(LogLine(local, L"    stayed: " + reason));
    return lines;
}

bool RotationDue(unsigned long long size, unsigned long long adding) { return size > 0 && size + adding > kLogCap; }

std::wstring RotatedName(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return path + L".1";
    return path.substr(0, dot) + L".1" + path.substr(dot);
}

std::wstring AppendToLogFile(const std::wstring& path, const std::vector<std::wstring>& lines) {
    if (path.empty()) return L"the log has no name";
    // One writer at a time in this process: a rotation must not move the file under another append.
    static std::mutex lock;
    std::lock_guard<std::mutex> held(lock);
    std::string bytes;
    for (const std::wstring& line : lines) bytes += Utf8(line) + "\r\n";
    MakeFolderOf(path);
    std::wstring problem;
    Handle h = OpenForAppend(path, problem);
    if (!h) return problem;
    if (RotationDue(SizeOf(h.Get()), bytes.size())) {
        h.Reset();
        const std::wstring older = RotatedName(path);
        if (!::MoveFileExW(path.c_str(), older.c_str(), MOVEFILE_REPLACE_EXISTING))
            return Reason(L"the log could not be moved to " + older, ::GetLastError());
        h = OpenForAppend(path, problem);
        if (!h) return problem;
    }
    DWORD written = 0;
    bool ok = ::WriteFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    return ok ? std::wstring() : Reason(path, ::GetLastError());
}

std::wstring AppendToLog(const std::vector<std::wstring>& lines) { return AppendToLogFile(LogPath(), lines); }

void LogErase(const std::string& key, Result& result) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::wstring problem = AppendToLog(EraseLogLines(now, key, result));
    if (!problem.empty()) result.Note(L"the log could not be written: " + problem);
}

}  // namespace engine
