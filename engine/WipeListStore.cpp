// Keeping wipe lists: one UTF-8 file a list, replaced whole on every save.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "Handles.h"
#include "Text.h"
#include "WipeList.h"

namespace engine {

namespace {

const wchar_t kExtension[] = L".wipelist";
constexpr LONGLONG kMaxListBytes = 16 << 20;

bool Fail(std::wstring* reason, const std::wstring& why) {
    if (reason) *reason = why;
    return false;
}

std::wstring ListPath(const std::wstring& name) { return WipeListFolder() + L"\\" + name + kExtension; }

bool ReadAll(const std::wstring& path, std::string& bytes, DWORD& error) {
    Handle h(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h) {
        error = ::GetLastError();
        return false;
    }
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(h.Get(), &size) != 0;
    error = ok ? ERROR_FILE_TOO_LARGE : ::GetLastError();
    if (ok && size.QuadPart <= kMaxListBytes) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = bytes.empty() || (::ReadFile(h.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
        error = ok ? 0 : ::GetLastError();
    } else {
        ok = false;
    }
    return ok;
}

bool WriteAll(const std::wstring& path, const std::string& bytes) {
    Handle h(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return false;
    DWORD put = 0;
    bool ok = bytes.empty() || (::WriteFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size());
    ok = ok && ::FlushFileBuffers(h.Get());
    DWORD error = ::GetLastError();
    h.Reset();
    ::SetLastError(error);
    return ok;
}

}  // namespace

std::wstring WipeListFolder() {
    std::wstring roaming = KnownFolderPath(FOLDERID_RoamingAppData);
    return roaming.empty() ? roaming : roaming + L"\\Corvane-Sweepmere\\Wipe Lists";
}

std::vector<std::wstring> WipeListNames() {
    std::vector<std::wstring> names;
    std::wstring folder = WipeListFolder();
    if (folder.empty()) return names;
    WIN32_FIND_DATAW found;
    FindHandle h(::FindFirstFileExW((folder + L"\\*" + kExtension).c_str(), FindExInfoBasic, &found,
                                    FindExSearchNameMatch, nullptr, 0));
    if (!h) return names;
    const size_t ext = wcslen(kExtension);
    do {
        std::wstring file = found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // The pattern also matches through short names: keep only a real ".wipelist" ending.
        if (file.size() <= ext || !SameNoCase(file.substr(file.size() - ext), kExtension)) continue;
        std::wstring name = file.substr(0, file.size() - ext);
        if (CheckListName(name).empty()) names.push_back(name);
    } while (::FindNextFileW(h.Get(), &found));
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return names;
}

bool LoadWipeList(const std::wstring& name, WipeList& list, std::wstring* reason) {
    std::wstring why = CheckListName(name);
    if (!why.empty()) return Fail(reason, why);
    if (WipeListFolder().empty()) return Fail(reason, L"The application data folder is not known.");
    std::string bytes;
    DWORD error = 0;
    if (!ReadAll(ListPath(name), bytes, error)) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return Fail(reason, L"There is no wipe list named \"" + name + L"\".");
        return Fail(reason, Reason(ListPath(name), error));
    }
    ParseWipeList(bytes, list);
    list.name = name;
    return true;
}

bool SaveWipeList(const WipeList& list, std::wstring* reason) {
    std::wstring why = CheckListName(list.name);
    if (!why.empty()) return Fail(reason, why);
    for (const WipeEntry& e : list.entries) {
        why = CheckEntryText(e.kind, e.target);
        if (!why.empty()) return Fail(reason, e.target + L": " + why);
    }
    std::wstring folder = WipeListFolder();
    if (folder.empty()) return Fail(reason, L"The application data folder is not known.");
    int made = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS) return Fail(reason, Reason(folder, made));
    // The new list goes to a file of its own in the same folder first, so that the step that puts
    // it in place is a rename within one volume: the old list or the new one, never half of one.
    wchar_t temp[MAX_PATH + 1];
    if (!::GetTempFileNameW(folder.c_str(), L"wl", 0, temp)) return Fail(reason, Reason(folder, ::GetLastError()));
    std::wstring target = ListPath(list.name);
    if (!WriteAll(temp, FormatWipeList(list)) ||
        !::MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = ::GetLastError();
        ::DeleteFileW(temp);
        return Fail(reason, Reason(target, error));
    }
    return true;
}

bool DeleteWipeList(const std::wstring& name, std::wstring* reason) {
    std::wstring why = CheckListName(name);
    if (!why.empty()) return Fail(reason, why);
    std::wstring path = ListPath(name);
    if (::DeleteFileW(path.c_str())) return true;
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
    return Fail(reason, Reason(path, error));
}

}  // namespace engine
