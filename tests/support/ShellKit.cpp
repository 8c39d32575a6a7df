#include "ShellKit.h"

#include <shlobj.h>

#include <algorithm>

#include "TestKit.h"

namespace testkit {
namespace {
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}

ScopedShellFolder::ScopedShellFolder(const char* value, const std::string& dir) : m_value(value) {
    HKEY k = nullptr;
    ::RegOpenKeyA(HKEY_CURRENT_USER, kShellFolders, &k);
    DWORD type = 0, size = sizeof m_old;
    m_hadOld = ::RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE*>(m_old), &size) == ERROR_SUCCESS;
    m_type = type;
    m_size = size;
    ::RegCloseKey(k);
    RegSetBinary(HKEY_CURRENT_USER, kShellFolders, value, dir.c_str(), static_cast<DWORD>(dir.size() + 1), REG_EXPAND_SZ);
}

ScopedShellFolder::~ScopedShellFolder() {
    if (m_hadOld) RegSetBinary(HKEY_CURRENT_USER, kShellFolders, m_value, m_old, m_size, m_type);
}

void MakeShortcut(const std::string& lnk, const std::string& target) {
    IShellLinkA* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link))))
        return;
    link->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    WCHAR path[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, path, MAX_PATH);
    file->Save(path, TRUE);
    file->Release();
    link->Release();
}

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH] = "";
    ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string TrashFolder() {
    char home[MAX_PATH] = "", xdg[MAX_PATH] = "";
    if (::GetEnvironmentVariableA("XDG_DATA_HOME", xdg, MAX_PATH)) return {};  // may lie anywhere
    if (!::GetEnvironmentVariableA("WINEHOMEDIR", home, MAX_PATH)) return {};
    std::string h = home;
    if (h.rfind("\\??\\unix\\", 0) != 0 || h.find("\\test-home") == std::string::npos) return {};
    return "\\\\?\\" + h.substr(4) + "\\.local\\share\\Trash";
}

void SeedTrash(const std::string& trash, const std::string& name, const std::string& content) {
    ::SHCreateDirectoryExA(nullptr, (trash + "\\files").c_str(), nullptr);
    ::SHCreateDirectoryExA(nullptr, (trash + "\\info").c_str(), nullptr);
    WriteFile(trash + "\\files\\" + name, content);
    WriteFile(trash + "\\info\\" + name + ".trashinfo",
              "[Trash Info]\nPath=/corvane/" + name + "\nDeletionDate=2024-05-06T07:08:09\n");
}

std::vector<std::string> OnlyPrefixed(std::vector<std::string> names, const std::string& prefix) {
    names.erase(std::remove_if(names.begin(), names.end(), [&](const std::string& n) { return n.rfind(prefix, 0) != 0; }),
                names.end());
    return names;
}
}  // namespace testkit
