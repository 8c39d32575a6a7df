// The steps every walk takes to touch a file, in wide characters: a folder is opened and its
// final path taken once; a file or sub-folder inside is opened without following links and
// acted on only when its final path is the folder's final path plus the relative path walked
// (compared in the system's own form of the path, the object's name, which costs one call).
// For the walks of this folder only; pages use FileWalk.h.
#pragma once
#include <string>

#include "EraseResult.h"
#include "afxwin.h"

namespace filewalk {
namespace safe {

enum class TopState { Missing, Refused, Ok };

// A folder that a walk or a delete starts from.
struct Top {
    TopState state = TopState::Missing;
    std::wstring final;   // "\\?\C:\...\" : the folder's final path, with a trailing '\'
    std::wstring object;  // the same as the system names the object, with a trailing '\'
    std::wstring display;  // the folder as given (ANSI), with a trailing '\'
};
// Opens the folder: Missing when empty, not walkable or not there; Refused when the guard
// refuses its full path or its final path.
Top OpenTop(const std::wstring& folder);

// Opens rel (relative to the top, no leading '\') without following links; an invalid handle
// unless its final path is the top's plus rel. A folder must also be a plain folder.
// On failure the last error tells why (ERROR_BAD_PATHNAME for a handle that leads elsewhere).
HANDLE OpenInside(const Top& top, const std::wstring& rel, DWORD access, bool folder);
constexpr DWORD kEraseAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
constexpr DWORD kResetAccess = FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

bool ResetAttributes(HANDLE h);
// Marks the file for deletion through its handle, clearing a read-only attribute first (or on
// a refusal); false with the last error set when it stays.
bool DeleteThrough(HANDLE h, unsigned long attributes);

// Why a file stayed, for an EraseResult: "<path>: <the system's text for the error>".
std::wstring Reason(const std::wstring& path, DWORD error);

// Whether a found name may be joined to a path: the walks join real (wide) names; a name that
// reaches a page in its ANSI form must be plain in that form too.
bool IsPlainReal(const std::wstring& name);
bool IsPlainShown(const std::wstring& name);

// A search of one folder, closed however the walk leaves it.
class Search {
public:
    explicit Search(const std::wstring& folder);
    ~Search();
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;
    bool Ok() const { return m_h != INVALID_HANDLE_VALUE; }
    const WIN32_FIND_DATAW& Data() const { return m_data; }
    bool Next();
    // The entry is "." or "..".
    bool IsDots() const;

private:
    WIN32_FIND_DATAW m_data{};
    HANDLE m_h;
};

}  // namespace safe
}  // namespace filewalk
