#include "SafeRegistry.h"

#include <vector>

namespace safereg {
namespace {
// The native delete of an open key: the only one that deletes a link key itself rather than
// the key it points to.
LONG DeleteOpenKey(HKEY key) {
    using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
    static auto ntDeleteKey =
        reinterpret_cast<NtDeleteKeyFn>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey"));
    if (!ntDeleteKey) return ERROR_CALL_NOT_IMPLEMENTED;
    return ntDeleteKey(key) == 0 ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

bool IsLink(HKEY key) {
    DWORD type = 0;
    LONG rc = ::RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr);
    return (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) && type == REG_LINK;
}

std::vector<std::wstring> SubkeysOf(HKEY key) {
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = 256;
        if (::RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    return names;
}

// Opened without following a link, so that a link is seen as what it is.
LONG DeleteTree(HKEY parent, const std::wstring& name) {
    HKEY key = nullptr;
    LONG rc = ::RegOpenKeyExW(parent, name.c_str(), REG_OPTION_OPEN_LINK, KEY_READ | DELETE, &key);
    if (rc != ERROR_SUCCESS) return rc;
    if (!IsLink(key)) {
        for (const std::wstring& sub : SubkeysOf(key)) {
            LONG subRc = DeleteTree(key, sub);
            if (subRc != ERROR_SUCCESS && subRc != ERROR_FILE_NOT_FOUND) rc = subRc;
        }
    }
    if (rc == ERROR_SUCCESS) rc = DeleteOpenKey(key);
    ::RegCloseKey(key);
    return rc;
}
}  // namespace

LONG DeleteKeyTree(HKEY root, const std::wstring& subKey) {
    if (subKey.empty()) return ERROR_INVALID_PARAMETER;  // never the root itself
    return DeleteTree(root, subKey);
}
}  // namespace safereg
