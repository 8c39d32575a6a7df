#include "RegKey.h"

#include "Text.h"

namespace engine {

namespace {
// The native delete of an open key: the only one that deletes a link key itself rather than the
// key it points to.
LONG DeleteOpenKey(HKEY key) {
    using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
    static auto ntDeleteKey =
        reinterpret_cast<NtDeleteKeyFn>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey"));
    if (!ntDeleteKey) return ERROR_CALL_NOT_IMPLEMENTED;
    return ntDeleteKey(key) == 0 ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

bool KeyIsLink(HKEY key) {
    DWORD type = 0;
    LONG rc = ::RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr);
    return (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) && type == REG_LINK;
}

// The steps of a path; empty steps (doubled or trailing '\') are dropped.
std::vector<std::wstring> Steps(const std::wstring& path) {
    std::vector<std::wstring> steps;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        if (end > start) steps.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return steps;
}

// Opens (or creates) one step below parent without following it; a link is refused.
LONG OpenStep(HKEY parent, const std::wstring& name, REGSAM access, bool create, HKEY* out) {
    *out = nullptr;
    HKEY key = nullptr;
    LONG rc = create ? ::RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_OPEN_LINK, access | KEY_QUERY_VALUE,
                                         nullptr, &key, nullptr)
                     : ::RegOpenKeyExW(parent, name.c_str(), REG_OPTION_OPEN_LINK, access | KEY_QUERY_VALUE, &key);
    if (rc != ERROR_SUCCESS) return rc;
    if (KeyIsLink(key)) {
        ::RegCloseKey(key);
        return kRegLinkRefused;
    }
    *out = key;
    return ERROR_SUCCESS;
}

LONG OpenPath(HKEY root, const std::wstring& path, REGSAM access, bool create, HKEY* out) {
    *out = nullptr;
    std::vector<std::wstring> steps = Steps(path);
    if (steps.empty()) return ::RegOpenKeyExW(root, nullptr, 0, access, out);
    HKEY current = root;
    for (size_t i = 0; i < steps.size(); ++i) {
        bool last = i + 1 == steps.size();
        HKEY next = nullptr;
        LONG rc = OpenStep(current, steps[i], last ? access : KEY_ENUMERATE_SUB_KEYS | (create ? KEY_CREATE_SUB_KEY : 0),
                           create, &next);
        if (current != root) ::RegCloseKey(current);
        if (rc != ERROR_SUCCESS) return rc;
        current = next;
    }
    *out = current;
    return ERROR_SUCCESS;
}

std::wstring RootText(HKEY root) {
    if (root == HKEY_CURRENT_USER) return L"HKCU";
    if (root == HKEY_LOCAL_MACHINE) return L"HKLM";
    if (root == HKEY_CLASSES_ROOT) return L"HKCR";
    if (root == HKEY_USERS) return L"HKU";
    return L"HK?";
}

std::vector<std::wstring> SubkeysOf(HKEY key) {
    std::vector<std::wstring> names;
    wchar_t buf[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = 256;
        LONG rc = ::RegEnumKeyExW(key, i, buf, &size, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;  // longer than any key name can be
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(buf, size);
    }
    return names;
}

// Deletes the key name of parent and everything below it; a link is deleted as a link.
LONG DeleteTree(HKEY parent, const std::wstring& name) {
    HKEY key = nullptr;
    LONG rc = ::RegOpenKeyExW(parent, name.c_str(), REG_OPTION_OPEN_LINK, KEY_READ | DELETE, &key);
    if (rc != ERROR_SUCCESS) return rc;
    if (!KeyIsLink(key))
        for (const std::wstring& sub : SubkeysOf(key)) {
            LONG subRc = DeleteTree(key, sub);
            if (subRc != ERROR_SUCCESS && subRc != ERROR_FILE_NOT_FOUND) rc = subRc;
        }
    if (rc == ERROR_SUCCESS) rc = DeleteOpenKey(key);
    ::RegCloseKey(key);
    return rc;
}
}  // namespace

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        m_key = other.m_key;
        other.m_key = nullptr;
    }
    return *this;
}

void RegKey::Close() {
    if (m_key) ::RegCloseKey(m_key);
    m_key = nullptr;
}

LONG RegKey::Open(HKEY root, const std::wstring& path, REGSAM access) {
    Close();
    return OpenPath(root, path, access, false, &m_key);
}

LONG RegKey::Create(HKEY root, const std::wstring& path, REGSAM access) {
    Close();
    return OpenPath(root, path, access, true, &m_key);
}

std::vector<std::wstring> RegKey::ValueNames() const {
    std::vector<std::wstring> names;
    if (!m_key) return names;
    DWORD longest = 0;
    ::RegQueryInfoKeyW(m_key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr,
                       nullptr);
    std::wstring buf(longest + 2, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD size = static_cast<DWORD>(buf.size());
        LONG rc = ::RegEnumValueW(m_key, i, &buf[0], &size, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) {  // a value added since the size was asked
            buf.resize(buf.size() * 2 + 256);
            --i;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(buf.data(), size);
    }
    return names;
}

std::vector<std::wstring> RegKey::SubkeyNames() const {
    std::vector<std::wstring> names;
    if (!m_key) return names;
    for (std::wstring& name : SubkeysOf(m_key))
        if (!name.empty() && name.find(L'\\') == std::wstring::npos) names.push_back(std::move(name));
    return names;
}

bool RegKey::ReadBinary(const std::wstring& name, std::vector<unsigned char>& data, DWORD* type) const {
    data.clear();
    if (!m_key) return false;
    DWORD t = 0, size = 0;
    LONG rc = ::RegQueryValueExW(m_key, name.c_str(), nullptr, &t, nullptr, &size);
    for (int tries = 0; rc == ERROR_SUCCESS && tries < 4; ++tries) {
        data.resize(size);
        DWORD got = size;
        rc = ::RegQueryValueExW(m_key, name.c_str(), nullptr, &t, data.empty() ? nullptr : data.data(), &got);
        if (rc == ERROR_MORE_DATA) {  // grew between the two calls
            size = got;
            rc = ERROR_SUCCESS;
            continue;
        }
        if (rc == ERROR_SUCCESS) {
            data.resize(got);
            if (type) *type = t;
            return true;
        }
    }
    return false;
}

bool RegKey::ReadString(const std::wstring& name, std::wstring& text) const {
    text.clear();
    std::vector<unsigned char> data;
    DWORD type = 0;
    if (!ReadBinary(name, data, &type) || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    // Data need not end with a zero: take what there is up to the first one.
    std::wstring raw(data.size() / sizeof(wchar_t), L'\0');
    if (!raw.empty()) memcpy(&raw[0], data.data(), raw.size() * sizeof(wchar_t));
    raw.resize(wcsnlen(raw.c_str(), raw.size()));
    if (type == REG_EXPAND_SZ) {
        DWORD n = ::ExpandEnvironmentStringsW(raw.c_str(), nullptr, 0);
        std::wstring expanded(n, L'\0');
        if (n && ::ExpandEnvironmentStringsW(raw.c_str(), &expanded[0], n) == n) {
            expanded.resize(n - 1);
            raw = expanded;
        }
    }
    text = raw;
    return true;
}

bool RegKey::ReadDword(const std::wstring& name, DWORD& value) const {
    std::vector<unsigned char> data;
    DWORD type = 0;
    if (!ReadBinary(name, data, &type) || type != REG_DWORD || data.size() != sizeof(DWORD)) return false;
    memcpy(&value, data.data(), sizeof value);
    return true;
}

LONG RegKey::Write(const std::wstring& name, DWORD type, const void* data, DWORD size) const {
    if (!m_key) return ERROR_INVALID_HANDLE;
    return ::RegSetValueExW(m_key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

LONG RegKey::DeleteValue(const std::wstring& name) const {
    if (!m_key) return ERROR_INVALID_HANDLE;
    return ::RegDeleteValueW(m_key, name.c_str());
}

bool RegKey::IsLink(HKEY root, const std::wstring& path) {
    std::vector<std::wstring> steps = Steps(path);
    if (steps.empty()) return false;
    std::wstring parentPath;
    for (size_t i = 0; i + 1 < steps.size(); ++i) parentPath += (i ? L"\\" : L"") + steps[i];
    RegKey parent;
    if (parent.Open(root, parentPath, KEY_ENUMERATE_SUB_KEYS) != ERROR_SUCCESS) return false;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(parent.Get(), steps.back().c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    bool link = KeyIsLink(key);
    ::RegCloseKey(key);
    return link;
}

std::wstring KeyText(HKEY root, const std::wstring& path) { return path.empty() ? RootText(root) : RootText(root) + L"\\" + path; }

void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name, Result& result) {
    RegKey key;
    LONG rc = key.Open(root, path, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (rc == ERROR_SUCCESS) rc = key.DeleteValue(name);
    if (rc == ERROR_SUCCESS)
        ++result.erased;
    else if (rc != ERROR_FILE_NOT_FOUND)
        result.Failed(Reason(L"The value \"" + name + L"\" of " + KeyText(root, path), rc == kRegLinkRefused ? ERROR_ACCESS_DENIED : rc) +
                      (rc == kRegLinkRefused ? L" (a registry link on the way was not followed)" : L""));
}

void DeleteKeyTree(HKEY root, const std::wstring& path, Result& result) {
    std::vector<std::wstring> steps = Steps(path);
    std::wstring shown = KeyText(root, path);
    if (steps.empty()) {
        result.Failed(shown + L": a whole hive is never deleted.");
        return;
    }
    std::wstring parentPath;
    for (size_t i = 0; i + 1 < steps.size(); ++i) parentPath += (i ? L"\\" : L"") + steps[i];
    RegKey parent;
    LONG rc = parent.Open(root, parentPath, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
    if (rc == kRegLinkRefused) {
        result.Failed(shown + L": a key on the way is a registry link; it was not followed and nothing was deleted.");
        return;
    }
    if (rc == ERROR_SUCCESS) rc = DeleteTree(parent.Get(), steps.back());
    if (rc == ERROR_SUCCESS)
        ++result.erased;
    else if (rc != ERROR_FILE_NOT_FOUND)
        result.Failed(Reason(shown, static_cast<DWORD>(rc)));
}

}  // namespace engine
