#include "ShellKit.h"

#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>

#include "TestKit.h"

namespace testkit {
namespace {
const wchar_t* const kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}

ScopedShellFolder::ScopedShellFolder(const wchar_t* value, const std::wstring& dir) : m_value(value) {
    m_hadOld = ::RegGetValueW(HKEY_CURRENT_USER, kShellFolders, value, RRF_RT_ANY | RRF_NOEXPAND, &m_type, m_old,
                              &m_size) == ERROR_SUCCESS;
    RegSetBinary(HKEY_CURRENT_USER, kShellFolders, value, dir.c_str(), static_cast<DWORD>((dir.size() + 1) * sizeof(wchar_t)), REG_EXPAND_SZ);
}

ScopedShellFolder::~ScopedShellFolder() {
    if (m_hadOld) RegSetBinary(HKEY_CURRENT_USER, kShellFolders, m_value, m_old, m_size, m_type);
}

void MakeShortcut(const std::wstring& lnk, const std::wstring& target) {
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return;
    link->SetPath(target.c_str());
    if (SUCCEEDED(link.As(&file))) file->Save(lnk.c_str(), TRUE);
}

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring TrashFolder() {
    wchar_t home[MAX_PATH] = L"", xdg[MAX_PATH] = L"";
    if (::GetEnvironmentVariableW(L"XDG_DATA_HOME", xdg, MAX_PATH)) return {};  // may lie anywhere
    if (!::GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH)) return {};
    std::wstring h = home;
    if (h.rfind(L"\\??\\unix\\", 0) != 0 || h.find(L"\\test-home") == std::wstring::npos) return {};
    return L"\\\\?\\" + h.substr(4) + L"\\.local\\share\\Trash";
}

void SeedTrash(const std::wstring& trash, const std::wstring& name, const std::wstring& content) {
    ::SHCreateDirectoryExW(nullptr, (trash + L"\\files").c_str(), nullptr);
    ::SHCreateDirectoryExW(nullptr, (trash + L"\\info").c_str(), nullptr);
    WriteFile(trash + L"\\files\\" + name, content);
    WriteFile(trash + L"\\info\\" + name + L".trashinfo",
              L"[Trash Info]\nPath=/corvane/" + name + L"\nDeletionDate=2024-05-06T07:08:09\n");
}

std::vector<std::wstring> OnlyPrefixed(std::vector<std::wstring> names, const std::wstring& prefix) {
    names.erase(std::remove_if(names.begin(), names.end(), [&](const std::wstring& n) { return n.rfind(prefix, 0) != 0; }),
                names.end());
    return names;
}
}  // namespace testkit
