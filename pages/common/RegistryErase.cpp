#include "RegistryErase.h"

#include "SafeRegistry.h"

namespace regerase {
namespace {
std::string Reason(const std::string& path, const std::string& name, LONG rc) {
    std::string what = name.empty() ? "key " + path : "value \"" + name + "\" of " + path;
    return what + " could not be deleted (error " + std::to_string(rc) + ")";
}

bool KeyIsLink(HKEY key) {
    DWORD type = 0;
    return ::RegQueryValueExA(key, "SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

// Opens the last step of the path without following it, whatever it is.
LONG OpenLastStep(HKEY root, const std::string& path, REGSAM access, HKEY* key) {
    return ::RegOpenKeyExA(root, path.c_str(), REG_OPTION_OPEN_LINK, access | KEY_QUERY_VALUE, key);
}

std::vector<std::string> EnumKeys(HKEY key) {
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        LONG rc = ::RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;  // longer than any key name can be
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    return names;
}
}  // namespace

bool IsPlainKeyName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

bool IsLink(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (OpenLastStep(root, path, 0, &key) != ERROR_SUCCESS) return false;
    bool link = KeyIsLink(key);
    ::RegCloseKey(key);
    return link;
}

LONG OpenPlainKey(HKEY root, const std::string& path, REGSAM access, HKEY* key) {
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

std::vector<std::string> SubkeyNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (OpenPlainKey(root, path, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) return names;
    for (const std::string& name : EnumKeys(key))
        if (IsPlainKeyName(name) && !IsLink(key, name)) names.push_back(name);
    ::RegCloseKey(key);
    return names;
}

std::vector<std::string> ValueNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (OpenPlainKey(root, path, 0, &key) != ERROR_SUCCESS) return names;
    char name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (::RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    ::RegCloseKey(key);
    return names;
}

bool ReadValue(HKEY root, const std::string& path, const std::string& name, std::vector<unsigned char>& data,
               DWORD* type) {
    data.clear();
    HKEY key = nullptr;
    if (OpenPlainKey(root, path, 0, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0, kind = 0;
    LONG rc = ::RegQueryValueExA(key, name.c_str(), nullptr, &kind, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        data.resize(size);
        rc = ::RegQueryValueExA(key, name.c_str(), nullptr, &kind, data.data(), &size);
        data.resize(rc == ERROR_SUCCESS ? size : 0);
    }
    ::RegCloseKey(key);
    if (type) *type = kind;
    return rc == ERROR_SUCCESS;
}

void DeleteValue(HKEY root, const std::string& path, const std::string& name, EraseResult& result) {
    HKEY key = nullptr;
    LONG rc = OpenPlainKey(root, path, KEY_SET_VALUE, &key);
    if (rc == ERROR_SUCCESS) {
        rc = ::RegDeleteValueA(key, name.c_str());
        ::RegCloseKey(key);
    }
    if (rc == ERROR_SUCCESS)
        ++result.erased;
    else if (rc != ERROR_FILE_NOT_FOUND)
        result.Failed(Reason(path, name, rc));
}

void DeleteKey(HKEY root, const std::string& path, EraseResult& result) {
    LONG rc = safereg::DeleteKeyTree(root, path);
    if (rc == ERROR_SUCCESS)
        ++result.erased;
    else if (rc != ERROR_FILE_NOT_FOUND)
        result.Failed(Reason(path, "", rc));
}

LONG WriteValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                const std::vector<unsigned char>& data) {
    HKEY key = nullptr;
    LONG rc = OpenPlainKey(root, path, KEY_SET_VALUE, &key);
    if (rc != ERROR_SUCCESS) return rc;
    rc = ::RegSetValueExA(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    ::RegCloseKey(key);
    return rc;
}

}  // namespace regerase
