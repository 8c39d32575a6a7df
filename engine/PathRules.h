// The rules every walk applies to names and to the folder it is given. Pure functions: no
// Windows header, no file system, so that they are tested and fuzzed directly.
#pragma once
#include <string>
#include <vector>

namespace engine {

// A name that may be joined to a folder: one path step that stays in that folder. Refused: an
// empty name, one holding \ / : * ? " < > | or a control character, and one made of nothing but
// dots and blanks ("." and ".." among them).
bool IsPlainName(const std::wstring& name);

// A full path split into its root ("C:" or "\\SERVER\SHARE", upper-cased; an administrative
// share "\\host\c$" is its drive "C:") and its steps, with "." and ".." resolved and trailing
// dots and blanks of each step removed. "\\?\C:\..." and "\\?\UNC\s\h\..." are read as "C:\..."
// and "\\s\h\...". False for anything else: relative, drive-relative ("C:x", "C:"), rooted
// without a drive ("\x"), device paths ("\\.\", "\\?\Volume{...}", "\\?\GLOBALROOT"), a server
// without a share, or a step of dots and blanks that is not "." or "..".
struct PathSteps {
    std::wstring root;
    std::vector<std::wstring> steps;
};
bool SplitFullPath(const std::wstring& path, PathSteps& out);

// The path as the system is to open it, exactly as the user named it: "\\\\?\\" plus the full path
// with only "." and ".." steps and repeated or forward separators resolved. No trailing dot or
// blank is trimmed and no length limit applies. Empty for anything SplitFullPath refuses.
std::wstring ExactPath(const std::wstring& path);

// The path as the guard compares it: root and steps joined with '\', case folded.
std::wstring FoldedPath(const PathSteps& steps);

// Whether a folder is absolute, as a folder source must be ("X:\..." or "\\server\share...").
bool IsAbsoluteFolder(const std::wstring& folder);

// Why a walk must refuse this folder as its top, or empty when it may walk it: anything that is
// not a full path, a drive or share root, a device path, any of the known folders or any
// folder above one of them. Case does not count; "." and ".." are resolved first.
std::wstring RefusalOf(const std::wstring& folder, const std::vector<std::wstring>& known);

// The server a UNC path names ("\\\\srv\\x", "\\\\?\\UNC\\srv\\x"); empty for any other path.
std::wstring ServerOf(const std::wstring& path);
// Whether a server name means this machine: "localhost", a loopback address (127.0.0.0/8 in any
// form an IPv4 address can be written in, ::1 and ::ffff:127.x.y.z, also as an
// "ipv6-literal.net" name) or one of ownNames (this machine's names and addresses). Case and a
// trailing dot do not count; an IPv4 address counts in any of its spellings.
bool IsThisMachine(const std::wstring& server, const std::vector<std::wstring>& ownNames);

// Whether path lies at or below folder (both full paths; case does not count).
bool IsAtOrBelow(const std::wstring& path, const std::wstring& folder);

}  // namespace engine
