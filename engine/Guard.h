// The checks between a found name and the file it opens: the folder a walk starts from, and
// every file or sub-folder it touches inside it. For the engine's walk and delete.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Options.h"
#include "Handles.h"

namespace engine {

// The volume's serial number and the file's index: one folder has one ID whatever spelling,
// link or share reached it. False when the system gives none (an index of 0 counts as none).
bool IdOf(HANDLE h, FileId& id);

// This machine's protected folders: Windows, System, SysWOW64, drivers, both Program Files,
// ProgramData, Users, Public, the profile and its known folders, the application-data roots,
// the Start Menus; each as the system names it and as its final path (where it is a link).
const std::vector<std::wstring>& KnownFolders();

// This machine's NetBIOS and DNS names and its own addresses: a share on any of them is refused.
const std::vector<std::wstring>& ThisMachineNames();

// A folder a walk starts from, once opened and checked.
struct Top {
    std::wstring given;   // as the caller named it, with a trailing '\'
    std::wstring final;   // "\\?\C:\...\": its final path, long form, with a trailing '\'
    std::wstring object;  // the same as the system names the object, with a trailing '\'
};
enum class TopCheck { Guarded, Protected };
// Opens and checks a folder. Empty reason and top filled when it may be walked; else why not.
// missing is set when it is simply not there (nothing to erase), which callers may treat apart.
// Guarded refuses every known folder and what lies above one; Protected refuses only the
// system's folders (Windows, Program Files, ProgramData) and what lies below them, for a file
// the user named. Both by path and by ID, so that no other name of a protected folder gets past.
std::wstring OpenTop(const std::wstring& folder, Top& top, bool* missing = nullptr, TopCheck check = TopCheck::Guarded);

// Opens rel (relative to the top, no leading '\'; "" is the top itself) without following
// links; an invalid handle unless its object name is the top's plus rel, exactly. A folder must
// also be a plain folder. On failure the last error tells why (ERROR_BAD_PATHNAME for a handle
// that leads elsewhere).
Handle OpenInside(const Top& top, const std::wstring& rel, DWORD access, bool folder);

// A search of one folder, closed however the walk leaves it.
class Search {
public:
    explicit Search(const std::wstring& folder);  // folder ends with '\'
    bool Ok() const { return static_cast<bool>(m_h); }
    DWORD Error() const { return m_error; }
    const WIN32_FIND_DATAW& Data() const { return m_data; }
    bool Next();
    bool IsDots() const;

private:
    WIN32_FIND_DATAW m_data{};
    FindHandle m_h;
    DWORD m_error = 0;
};

}  // namespace engine
