#include "SafeFiles.h"

#include <shlobj.h>

#include <vector>

#include "FileWalk.h"

namespace filewalk {
namespace safe {

namespace {

std::wstring FinalPathOf(HANDLE h) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(h, &path[0], static_cast<DWORD>(path.size()), VOLUME_NAME_DOS);
    if (n >= path.size()) {
        path.resize(n + 1);
        n = ::GetFinalPathNameByHandleW(h, &path[0], static_cast<DWORD>(path.size()), VOLUME_NAME_DOS);
    }
    path.resize(n < path.size() ? n : 0);
    return path;
}

// The name the system gives the object a handle refers to ("\\Device\\...\\a.txt", under Wine
// "\\??\\C:\\...\\a.txt"): where a link leads, without the cost of turning it into a drive path.
std::wstring ObjectNameOf(HANDLE h) {
    using NtQueryObjectFn = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static auto query = reinterpret_cast<NtQueryObjectFn>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryObject"));
    struct Name {
        USHORT length, maximum;
        wchar_t* buffer;
    };
    // A buffer for a usual path first: the system's reply costs as much as the room offered.
    std::vector<wchar_t> buf(sizeof(Name) + 2 * MAX_PATH * sizeof(wchar_t));
    ULONG size = 0;
    LONG status = query ? query(h, 1 /* ObjectNameInformation */, buf.data(), static_cast<ULONG>(buf.size()), &size) : -1;
    if (status != 0 && size > buf.size()) {
        buf.resize(size);
        status = query(h, 1, buf.data(), static_cast<ULONG>(buf.size()), &size);
    }
    if (status != 0) return {};
    const Name* name = reinterpret_cast<const Name*>(buf.data());
    return std::wstring(name->buffer, name->length / sizeof(wchar_t));
}

bool SameNoCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool SetBasicAttributes(HANDLE h, DWORD attributes) {
    FILE_BASIC_INFO info{};  // zero times: left as they are
    info.FileAttributes = attributes;
    return ::SetFileInformationByHandle(h, FileBasicInfo, &info, sizeof info) != FALSE;
}

bool IsRefusedPath(const std::wstring& path) { return IsRefusedTopFolder(path, GuardedFolders()); }
}  // namespace

bool IsPlainReal(const std::wstring& name) { return IsPlainName(name); }

Top OpenTop(const std::wstring& folder) {
    Top top;
    if (!IsWalkable(folder)) return top;
    std::wstring given = folder;
    DWORD n = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    full.resize(n ? ::GetFullPathNameW(given.c_str(), n, &full[0], nullptr) : 0);
    if (full.empty() || IsRefusedPath(full)) {
        top.state = TopState::Refused;
        return top;
    }
    // The top may itself be reached through a link; what counts is where it leads.
    HANDLE h = ::CreateFileW(full.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return top;
    BY_HANDLE_FILE_INFORMATION info{};
    bool isFolder = ::GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    std::wstring final = FinalPathOf(h);
    std::wstring object = ObjectNameOf(h);
    ::CloseHandle(h);
    // A top whose final path cannot be told is not walked.
    if (!isFolder || final.empty() || object.empty()) return top;
    if (IsRefusedPath(final)) {
        top.state = TopState::Refused;
        return top;
    }
    top.state = TopState::Ok;
    top.final = final.back() == L'\\' ? final : final + L'\\';
    top.object = object.back() == L'\\' ? object : object + L'\\';
    top.display = WithSlash(folder);
    return top;
}

HANDLE OpenInside(const Top& top, const std::wstring& rel, DWORD access, bool folder) {
    DWORD flags = FILE_FLAG_OPEN_REPARSE_POINT | (folder ? FILE_FLAG_BACKUP_SEMANTICS : 0);
    HANDLE h = ::CreateFileW((top.final + rel).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) return h;
    std::wstring expected = top.object + rel;
    if (!expected.empty() && expected.back() == L'\\') expected.pop_back();
    bool inside = SameNoCase(ObjectNameOf(h), expected);
    if (inside && folder) {
        BY_HANDLE_FILE_INFORMATION info{};
        DWORD a = ::GetFileInformationByHandle(h, &info) ? info.dwFileAttributes : 0;
        inside = (a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    if (inside) return h;
    ::CloseHandle(h);
    ::SetLastError(ERROR_BAD_PATHNAME);
    return INVALID_HANDLE_VALUE;
}

bool ResetAttributes(HANDLE h) { return SetBasicAttributes(h, FILE_ATTRIBUTE_NORMAL); }

bool DeleteThrough(HANDLE h, unsigned long attributes) {
    bool cleared = (attributes & FILE_ATTRIBUTE_READONLY) && ResetAttributes(h);
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose)) return true;
    DWORD error = ::GetLastError();
    if (cleared || error != ERROR_ACCESS_DENIED || !ResetAttributes(h)) {
        ::SetLastError(error);
        return false;
    }
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose) != FALSE;
}

std::wstring Reason(const std::wstring& path, DWORD error) {
    if (error == ERROR_BAD_PATHNAME) return path + L": it leads outside its folder and was left alone.";
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring why = text ? text : L"error " + std::to_wstring(error);
    if (text) ::LocalFree(text);
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == ' ')) why.pop_back();
    return path + L": " + why;
}

Search::Search(const std::wstring& folder)
    : m_h(::FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &m_data, FindExSearchNameMatch, nullptr,
                             FIND_FIRST_EX_LARGE_FETCH)) {}

Search::~Search() {
    if (m_h != INVALID_HANDLE_VALUE) ::FindClose(m_h);
}

bool Search::Next() { return ::FindNextFileW(m_h, &m_data) != FALSE; }

bool Search::IsDots() const { return !wcscmp(m_data.cFileName, L".") || !wcscmp(m_data.cFileName, L".."); }

}  // namespace safe

// ---- the public steps ----

using namespace safe;

std::vector<std::wstring> GuardedFolders() {
    static const std::vector<std::wstring> folders = [] {
        std::vector<std::wstring> out;
        wchar_t path[MAX_PATH];
        if (::GetWindowsDirectoryW(path, MAX_PATH)) out.push_back(path);
        if (::GetSystemDirectoryW(path, MAX_PATH)) out.push_back(path);
        if (::GetSystemWow64DirectoryW(path, MAX_PATH)) out.push_back(path);
        for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_PROFILE})
            if (SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) out.push_back(path);
        return out;
    }();
    return folders;
}

bool IsRefusedTopFolder(const std::wstring& folder) {
    if (!IsWalkable(folder)) return true;
    return OpenTop(folder).state == TopState::Refused;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool DeleteInside(const std::wstring& path) {
    std::wstring folder;
    if (!IsPlainPath(path) || !FolderOf(path, folder)) return false;
    Top top = OpenTop(folder);
    std::wstring name = NameOf(path);
    if (top.state != TopState::Ok || !IsPlainName(NameOf(path)) || !IsPlainReal(name)) return false;
    HANDLE h = OpenInside(top, name, kEraseAccess, false);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool gone = DeleteThrough(h, 0);
    ::CloseHandle(h);
    return gone;
}

namespace {
std::wstring RefusedReason(const std::wstring& folder) {
    return folder + L" is a protected folder (a drive, Windows, Program Files or the profile); nothing in it was erased.";
}
}  // namespace

EraseResult EraseFilesIn(const std::wstring& folder) {
    EraseResult result;
    Top top = OpenTop(folder);
    if (top.state == TopState::Refused) result.Failed(RefusedReason(folder));
    if (top.state != TopState::Ok) return result;
    Search s(top.final);
    if (!s.Ok()) return result;
    do {
        const WIN32_FIND_DATAW& d = s.Data();
        if (s.IsDots() || (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY && !(d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)))
            continue;  // sub-folders stay
        std::wstring shown = top.display + d.cFileName;
        HANDLE h = IsPlainReal(d.cFileName) && !(d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                       ? OpenInside(top, d.cFileName, kEraseAccess, false)
                       : (::SetLastError(ERROR_BAD_PATHNAME), INVALID_HANDLE_VALUE);
        if (h != INVALID_HANDLE_VALUE && DeleteThrough(h, d.dwFileAttributes)) {
            ++result.erased;
            result.bytes += (static_cast<unsigned long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
        } else if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
            result.Failed(Reason(shown, ::GetLastError()));
        }
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    } while (s.Next());
    return result;
}

bool ListEntries(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    Top top = OpenTop(folder);
    if (top.state != TopState::Ok) return false;
    Search s(top.final);
    if (!s.Ok()) return false;
    do {
        if (s.IsDots()) continue;
        const WIN32_FIND_DATAW& d = s.Data();
        std::wstring name = d.cFileName;
        Entry kind = IsPlainReal(d.cFileName) ? Classify(d.dwFileAttributes, name.c_str()) : Entry::Skip;
        bool content = false;
        if (kind == Entry::Folder) {
            Search inner(top.final + d.cFileName + L"\\");
            for (bool more = inner.Ok(); more && !content; more = inner.Next())
                content = !inner.IsDots() && CountsAsContent(inner.Data().dwFileAttributes, L"x");
        }
        entries.push_back({name, d.dwFileAttributes, kind, content});
    } while (s.Next());
    return true;
}

}  // namespace filewalk
