#include "RegistryErase.h"

#include "SafeRegistry.h"

namespace regerase {
namespace {
std::wstring Reason(const std::wstring& path, const std::wstring& name, LONG rc) {
    std::wstring what = name.empty() ? L"key " + path : L"value \"" + name + L"\" of " + path;
    return what + L" could not be deleted (error " + std::to_wstring(rc) + L")";
}

bool KeyIsLink(HKEY key) {
    DWORD type = 0;
    return ::RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

// Opens the last step of the path without following it, whatever it is.
LONG OpenLastStep(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) {
    return ::RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, access | KEY_QUERY_VALUE, key);
}

std::vector<std::wstring> EnumKeys(HKEY key) {
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = ARRAYSIZE(name);
        LONG rc = ::RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;  // longer than any key name can be
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    return names;
}
}  // namespace

bool IsPlainKeyName(const std::wstring& name) {
    return !name.empty() && name.find('\\') == std::wstring::npos;
}

bool IsLink(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (OpenLastStep(root, path, 0, &key) != ERROR_SUCCESS) return false;
    bool link = KeyIsLink(key);
    ::RegCloseKey(key);
    return link;
}

LONG OpenPlainKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) {
    *key = nullptr;
    LONG rc = OpenLastStep(root, path, access, key);
    if (rc != ERROR_SUCCESS) return rc;
    if (KeyIsLink(*key)) {
        ::RegCloseKey(*key);
        *key = nullptr;
        return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

std::vector<std::wstring> SubkeyNames(HKEY root, const std::wstring& path) {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (OpenPlainKey(root, path, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) return names;
    for (const std::wstring& name : EnumKeys(key))
        if (IsPlainKeyName(name) && !IsLink(key, name)) names.push_back(name);
    ::RegCloseKey(key);
    return names;
}

std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path) {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (OpenPlainKey(root, path, 0, &key) != ERROR_SUCCESS) return names;
    wchar_t name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD size = ARRAYSIZE(name);
        if (::RegEnumValueW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    ::RegCloseKey(key);
    return names;
}

bool ReadValue(HKEY root, const std::wstring& path, const std::wstring& name, std::vector<unsigned char>& data,
               DWORD* type) {
    data.clear();
    HKEY key = nullptr;
    if (OpenPlainKey(root, path, 0, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0, kind = 0;
    LONG rc = ::RegQueryValueExW(key, name.c_str(), nullptr, &kind, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        data.resize(size);
        rc = ::RegQueryValueExW(key, name.c_str(), nullptr, &kind, data.data(), &size);
        data.resize(rc == ERROR_SUCCESS ? size : 0);
    }
    ::RegCloseKey(key);
    if (type) *type = kind;
    return rc == ERROR_SUCCESS;
}

void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name, EraseResult& result) {
    HKEY key = nullptr;
    LONG rc = OpenPlainKey(root, path, KEY_SET_VALUE, &key);
    if (rc == ERROR_SUCCESS) {
        rc = ::RegDeleteValueW(key, name.c_str());
        ::RegCloseKey(key);
    }
    if (rc == ERROR_SUCCESS)
        ++result.erased;
    else if (rc != ERROR_FILE_NOT_FOUND)
        result.Failed(Reason(path, name, rc));
}

void DeleteKey(HKEY root, const std::wstring& path, EraseResult& result) {
    LONG rc = safereg::DeleteKeyTree(root, path);
    if (rc == ERROR_SUCCESS)
        ++result.erased;
    else if (rc != ERROR_FILE_NOT_FOUND)
        result.Failed(Reason(path, L"", rc));
}

LONG WriteValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                const std::vector<unsigned char>& data) {
    HKEY key = nullptr;
    LONG rc = OpenPlainKey(root, path, KEY_SET_VALUE, &key);
    if (rc != ERROR_SUCCESS) return rc;
    rc = ::RegSetValueExW(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    ::RegCloseKey(key);
    return rc;
}

}  // namespace regerase
