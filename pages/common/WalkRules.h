// The rules the file walks share: names, paths, entries and the guard on the folder a walk is
// given. Pure functions: no window, no file system, no Windows header, so that they are tested
// and fuzzed directly.
#pragma once
#include <string>
#include <vector>

namespace filewalk {

// The text after the last '\' (the whole path when there is none).
std::wstring NameOf(const std::wstring& path);
// The path up to, not including, its last '\'; false when it holds none.
bool FolderOf(const std::wstring& path, std::wstring& folder);
// The folder with one trailing '\'.
std::wstring WithSlash(const std::wstring& folder);
// The leftover file some browsers keep in a cache folder: "<folder>\xxxxxxxx.xxx".
std::wstring LeftoverIn(const std::wstring& folder);
// A folder path a walk accepts: absolute ("C:\..." or "\\server\..."). A relative path would
// be taken from whatever the current folder happens to be.
bool IsWalkable(const std::wstring& folder);
// The cache list leaves out names whose last three characters are "ini" or "dat" (case counts).
bool IsListedCacheName(const std::wstring& name);
// The cookie list leaves out names whose last three characters are "dat" (the index file).
bool IsListedCookieName(const std::wstring& name);

// A name that may be joined to a folder: one path step that stays in that folder. Refused: an
// empty name, one holding \ / : * ? " < > | or a control character, and one that is nothing
// but dots and blanks ("." and ".." among them). The ANSI form of a name can be such a step
// even when the real name is not: look-alike characters map onto '.', '\' and '/'.
bool IsPlainName(const std::wstring& name);

// A full path ("C:\..." or "\\server\share\...") whose every step is a plain name: no "." or
// ".." step, nothing that a look-alike character became. The safe delete takes only these.
bool IsPlainPath(const std::wstring& path);

// What a found entry is to a walk. Anything that is a reparse point (junction, directory or
// file link) is skipped: going through it would reach what lies outside the folder.
enum class Entry { Skip, Folder, File };
Entry Classify(unsigned long attributes, const wchar_t* name);
// Whether an entry makes its folder "not empty" in the cookie tree: a sub-folder, or a file
// that is not hidden.
bool CountsAsContent(unsigned long attributes, const wchar_t* name);

// A full path split into its root ("C:" or "\\server\share", upper-cased) and its steps, with
// "." and ".." resolved and trailing dots and blanks of each step removed. False for anything
// that is not a full path of a drive or share, for device paths ("\\.\") and for a step made
// only of dots and blanks that is not "." or "..". "\\?\C:\..." and "\\?\UNC\s\h\..." are read
// as "C:\..." and "\\s\h\...".
struct PathSteps {
    std::wstring root;
    std::vector<std::wstring> steps;
};
bool SplitFullPath(const std::wstring& path, PathSteps& out);

// Whether a walk must refuse this folder as its top: anything that is not a full path, a drive
// or share root, any of the known folders (Windows, system, Program Files, the profile) or any
// folder above one of them. Case does not count; "." and ".." are resolved first.
bool IsRefusedTopFolder(const std::wstring& folder, const std::vector<std::wstring>& known);

}  // namespace filewalk
