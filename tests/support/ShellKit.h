// Helpers of the shell-folder tests: redirected user folders, shortcuts, and the Recycle Bin of
// the test HOME.
#pragma once
#include <string>
#include <vector>

#include "afxwin.h"

namespace testkit {
// Points one of the user's shell folders ("Recent", "NetHood", ...) at a folder for the life of
// the object, and puts the old value back.
class ScopedShellFolder {
public:
    ScopedShellFolder(const wchar_t* value, const std::wstring& dir);
    ~ScopedShellFolder();

private:
    std::wstring m_value;
    wchar_t m_old[MAX_PATH * 2] = L"";
    bool m_hadOld = false;
    DWORD m_type = 0, m_size = sizeof m_old;
};

void MakeShortcut(const std::wstring& lnk, const std::wstring& target);
// The path the shell gives for a special folder now.
std::wstring SpecialFolder(int csidl);

// The Windows side's view of the Linux trash of the test prefix's HOME; empty when it cannot be
// reached without leaving the build folder.
std::wstring TrashFolder();
// Puts a file into the trash as the desktop would: its data and its information record.
void SeedTrash(const std::wstring& trash, const std::wstring& name, const std::wstring& content = L"binned");
// The names that start with the prefix, in their order: a test's own among whatever else is there.
std::vector<std::wstring> OnlyPrefixed(std::vector<std::wstring> names, const std::wstring& prefix);
}  // namespace testkit
