#include "Guard.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "PathRules.h"
#include "Text.h"

namespace engine {

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

// A handle's attributes, 0 when they cannot be read. Asked by class: the by-handle call also asks
// the volume for its serial number, which costs more than the rest of a file's visit under Wine.
DWORD AttributesOf(HANDLE h) {
    FILE_BASIC_INFO basic{};
    return ::GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) ? basic.FileAttributes : 0;
}

// The name the system gives the object a handle refers to ("\Device\...\a.txt", under Wine
// "\??\C:\...\a.txt"): where a link leads, without the cost of a drive path.
std::wstring ObjectNameOf(HANDLE h) {
    using NtQueryObjectFn = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static auto query =
        reinterpret_cast<NtQueryObjectFn>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryObject"));
    struct Name {
        USHORT length, maximum;
        wchar_t* buffer;
    };
    std::vector<char> buf(sizeof(Name) + 2 * MAX_PATH * sizeof(wchar_t));
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

Handle OpenFolderFollowing(const std::wstring& path) {
    return Handle(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::wstring FinalOfPath(const std::wstring& path) {
    Handle h = OpenFolderFollowing(path);
    return h ? FinalPathOf(h.Get()) : std::wstring();
}

std::wstring FullPathOf(const std::wstring& path) {
    DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    full.resize(n ? ::GetFullPathNameW(path.c_str(), n, &full[0], nullptr) : 0);
    return full;
}

std::wstring LongPathOf(const std::wstring& path) {
    DWORD n = ::GetLongPathNameW(path.c_str(), nullptr, 0);
    if (!n) return path;
    std::wstring out(n, L'\0');
    n = ::GetLongPathNameW(path.c_str(), &out[0], n);
    out.resize(n < out.size() ? n : 0);
    return out.empty() ? path : out;
}

std::wstring WithSlash(std::wstring s) {
    if (s.empty() || s.back() != L'\\') s += L'\\';
    return s;
}

std::wstring LastName(std::wstring path) {
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path.substr(path.find_last_of(L"\\/") + 1);
}

bool EndsTrimmable(const std::wstring& name) { return !name.empty() && (name.back() == L'.' || name.back() == L' '); }

// The same folder, whatever prefix, case or short names the two forms use.
bool SameFolder(const std::wstring& a, const std::wstring& b) {
    PathSteps x, y;
    return SplitFullPath(a, x) && SplitFullPath(b, y) && FoldedPath(x) == FoldedPath(y);
}

// A folder and each folder above it, opened from its final path ("\\?\C:\a" names "\\?\C:\a\" and
// "\\?\C:\"): their IDs and paths, the folder first. Those that cannot be opened are left out.
struct NamedId {
    FileId id;
    std::wstring path;
};
std::vector<NamedId> ChainOf(const std::wstring& final) {
    std::vector<NamedId> chain;
    PathSteps steps;
    if (!SplitFullPath(final, steps)) return chain;
    std::wstring path = final;
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    for (size_t up = 0; up <= steps.steps.size(); ++up) {
        Handle h = OpenFolderFollowing(path + L"\\");
        FileId id;
        if (h && IdOf(h.Get(), id)) chain.push_back({id, path});
        if (chain.empty()) break;  // without the folder's own ID, the rest names no folder of it
        path.erase(path.find_last_of(L'\\'));
    }
    return chain;
}

// The IDs of folders (each where it leads), with the folders above each when above is set.
std::vector<NamedId> IdsOf(const std::vector<std::wstring>& folders, bool above) {
    std::vector<NamedId> ids;
    for (const std::wstring& f : folders) {
        std::vector<NamedId> chain = ChainOf(FinalOfPath(f));
        ids.insert(ids.end(), chain.begin(), above ? chain.end() : chain.begin() + (chain.empty() ? 0 : 1));
    }
    return ids;
}

const NamedId* Find(const std::vector<NamedId>& ids, const FileId& id) {
    for (const NamedId& n : ids)
        if (n.id == id) return &n;
    return nullptr;
}

std::wstring Shown(const std::wstring& final) {
    if (final.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\" + final.substr(7);
    return final.compare(0, 4, L"\\\\?\\") == 0 ? final.substr(4) : final;
}

const std::vector<std::wstring>& SystemFolders() {
    static const std::vector<std::wstring> folders = [] {
        std::vector<std::wstring> out;
        for (REFKNOWNFOLDERID id : {FOLDERID_Windows, FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86, FOLDERID_ProgramData}) {
            std::wstring path = KnownFolderPath(id, KF_FLAG_DONT_VERIFY);
            if (!path.empty()) out.push_back(path);
        }
        return out;
    }();
    return folders;
}

// The refusals of the path checks, by ID: another name of a protected folder (a share of this
// machine, a folder mounted a second time, a short name) names the same folder.
std::wstring IdRefusal(const std::wstring& folder, const std::wstring& final, const FileId& id, TopCheck check) {
    if (check == TopCheck::Guarded) {
        static const std::vector<NamedId> guarded = IdsOf(KnownFolders(), true);
        const NamedId* n = Find(guarded, id);
        return n ? folder + L" is " + Shown(n->path) + L" under another name: a protected folder or one above it" : L"";
    }
    static const std::vector<NamedId> system = IdsOf(SystemFolders(), false);
    for (const NamedId& a : ChainOf(final))
        if (const NamedId* n = Find(system, a.id))
            return folder + L" lies in " + Shown(n->path) + L" under another name: a folder of the system";
    return {};
}
}  // namespace

bool IdOf(HANDLE h, FileId& id) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info)) return false;
    id = {info.dwVolumeSerialNumber, (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return id.index != 0;
}

const std::vector<std::wstring>& ThisMachineNames() {
    static const std::vector<std::wstring> names = [] {
        std::vector<std::wstring> out;
        for (COMPUTER_NAME_FORMAT format : {ComputerNameNetBIOS, ComputerNameDnsHostname, ComputerNameDnsFullyQualified}) {
            wchar_t name[256];
            DWORD n = 256;
            if (::GetComputerNameExW(format, name, &n)) out.emplace_back(name, n);
        }
        ULONG size = 16384;
        std::vector<char> buf(size);
        auto* list = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buf.data());
        const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
        if (::GetAdaptersAddresses(AF_UNSPEC, flags, nullptr, list, &size) == ERROR_BUFFER_OVERFLOW) {
            buf.resize(size);
            list = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buf.data());
            if (::GetAdaptersAddresses(AF_UNSPEC, flags, nullptr, list, &size) != NO_ERROR) list = nullptr;
        }
        for (auto* a = list; a; a = a->Next)
            for (auto* u = a->FirstUnicastAddress; u; u = u->Next) {
                wchar_t text[64];
                DWORD n = 64;
                if (!::WSAAddressToStringW(u->Address.lpSockaddr, u->Address.iSockaddrLength, nullptr, text, &n))
                    out.emplace_back(text);
            }
        return out;
    }();
    return names;
}

const std::vector<std::wstring>& KnownFolders() {
    static const std::vector<std::wstring> folders = [] {
        std::vector<std::wstring> out;
        const KNOWNFOLDERID* ids[] = {&FOLDERID_Windows,      &FOLDERID_System,        &FOLDERID_SystemX86,
                                      &FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86, &FOLDERID_ProgramData,
                                      &FOLDERID_UserProfiles, &FOLDERID_Public,        &FOLDERID_Profile,
                                      &FOLDERID_Documents,    &FOLDERID_Desktop,       &FOLDERID_Downloads,
                                      &FOLDERID_Pictures,     &FOLDERID_Music,         &FOLDERID_Videos,
                                      &FOLDERID_RoamingAppData, &FOLDERID_LocalAppData, &FOLDERID_StartMenu,
                                      &FOLDERID_CommonStartMenu, &FOLDERID_PublicDesktop, &FOLDERID_PublicDocuments};
        for (const KNOWNFOLDERID* id : ids) {
            std::wstring path = KnownFolderPath(*id, KF_FLAG_DONT_VERIFY);
            if (!path.empty()) out.push_back(path);
        }
        wchar_t system[MAX_PATH];
        UINT n = ::GetSystemDirectoryW(system, MAX_PATH);
        if (n && n < MAX_PATH) out.push_back(std::wstring(system) + L"\\drivers");
        // A known folder that is a link (under Wine the profile's folders lead to the Linux home)
        // is protected where it leads too.
        size_t count = out.size();
        for (size_t i = 0; i < count; ++i) {
            std::wstring final = FinalOfPath(out[i]);
            if (!final.empty() && !SameFolder(final, out[i])) out.push_back(final);
        }
        return out;
    }();
    return folders;
}

std::wstring OpenTop(const std::wstring& folder, Top& top, bool* missing, TopCheck check) {
    if (missing) *missing = false;
    top = {};
    auto refusal = [&](const std::wstring& path) -> std::wstring {
        if (check == TopCheck::Guarded) return RefusalOf(path, KnownFolders());
        if (!IsAbsoluteFolder(path)) return RefusalOf(path, {});
        for (const std::wstring& s : SystemFolders())
            if (IsAtOrBelow(path, s)) return folder + L" lies in a folder of the system (Windows, Program Files or ProgramData)";
        return {};
    };
    // A share of this machine reaches its folders under a name the guard cannot compare.
    auto ownShare = [&](const std::wstring& path) {
        std::wstring server = ServerOf(path);
        return !server.empty() && IsThisMachine(server, ThisMachineNames());
    };
    if (ownShare(folder)) return folder + L" is a share of this machine; name its folder by its own path instead";
    std::wstring why = refusal(folder);
    if (!why.empty()) return why;
    std::wstring full = FullPathOf(folder);
    if (full.empty()) return Reason(folder, ::GetLastError());
    if (ownShare(full)) return folder + L" is a share of this machine; name its folder by its own path instead";
    why = refusal(full);
    if (!why.empty()) return why;
    // Where the folder leads is what counts: opened following links, its final path is checked.
    Handle h = OpenFolderFollowing(full);
    if (!h) {
        DWORD error = ::GetLastError();
        if (missing) *missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return Reason(folder, error);
    }
    bool isFolder = AttributesOf(h.Get()) & FILE_ATTRIBUTE_DIRECTORY;
    std::wstring final = FinalPathOf(h.Get());
    FileId id;
    bool known = IdOf(h.Get(), id);
    h.Reset();
    if (!isFolder) return folder + L" is not a folder";
    if (final.empty()) return folder + L": where this folder leads cannot be told, so it is not walked";
    why = refusal(final);
    if (why.empty() && known) why = IdRefusal(folder, final, id, check);
    if (!why.empty()) return why;
    if (!SameFolder(LongPathOf(full), final))
        return folder + L" is reached through a link (it leads to " + final + L"); it is not walked";
    // The comparison above forgives trailing dots and blanks; the name opened must not: "data."
    // trimmed by the system is the sibling "data".
    if (EndsTrimmable(LastName(folder)) != EndsTrimmable(LastName(final)))
        return folder + L" leads to " + final + L", a folder of another name; it is not walked";
    // The object name comes from a handle opened through the long final path, the form in which
    // every file inside is opened.
    h = OpenFolderFollowing(final);
    if (!h) return Reason(folder, ::GetLastError());
    std::wstring object = ObjectNameOf(h.Get());
    if (object.empty()) return folder + L": where this folder leads cannot be told, so it is not walked";
    top.given = WithSlash(folder);
    top.final = WithSlash(final);
    top.object = WithSlash(object);
    return {};
}

Handle OpenInside(const Top& top, const std::wstring& rel, DWORD access, bool folder) {
    DWORD flags = FILE_FLAG_OPEN_REPARSE_POINT | (folder ? FILE_FLAG_BACKUP_SEMANTICS : 0);
    Handle h(::CreateFileW((top.final + rel).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, flags, nullptr));
    if (!h) return h;
    std::wstring expected = top.object + rel;
    if (!expected.empty() && expected.back() == L'\\') expected.pop_back();
    std::wstring object = ObjectNameOf(h.Get());
    if (!object.empty() && object.back() == L'\\') object.pop_back();
    // Exactly: a link whose target differs only by case (Linux names) leads elsewhere.
    bool inside = object == expected;
    if (inside && folder) {
        DWORD a = AttributesOf(h.Get());
        inside = (a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    if (inside) return h;
    h.Reset();
    ::SetLastError(ERROR_BAD_PATHNAME);
    return h;
}

Search::Search(const std::wstring& folder)
    : m_h(::FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &m_data, FindExSearchNameMatch, nullptr,
                             FIND_FIRST_EX_LARGE_FETCH)) {
    if (!m_h) m_error = ::GetLastError();
}

bool Search::Next() {
    if (::FindNextFileW(m_h.Get(), &m_data)) return true;
    m_error = ::GetLastError();
    return false;
}

bool Search::IsDots() const { return !wcscmp(m_data.cFileName, L".") || !wcscmp(m_data.cFileName, L".."); }

}  // namespace engine
