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
    ScopedShellFolder(const char* value, const std::string& dir);
    ~ScopedShellFolder();

private:
    std::string m_value;
    char m_old[MAX_PATH * 2] = "";
    bool m_hadOld = false;
    DWORD m_type = 0, m_size = 0;
};

void MakeShortcut(const std::string& lnk, const std::string& target);
// The path the shell gives for a special folder now.
std::string SpecialFolder(int csidl);

// The Windows side's view of the Linux trash of the test prefix's HOME; empty when it cannot be
// reached without leaving the build folder.
std::string TrashFolder();
// Puts a file into the trash as the desktop would: its data and its information record.
void SeedTrash(const std::string& trash, const std::string& name, const std::string& content = "binned");
// The names that start with the prefix, in their order: a test's own among whatever else is there.
std::vector<std::string> OnlyPrefixed(std::vector<std::string> names, const std::string& prefix);
}  // namespace testkit
