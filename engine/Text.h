// Conversions at the edges of the engine. Names stay UTF-16 inside; UTF-8 is for files and the
// console that are defined as UTF-8, never for a name handed back to the system.
#pragma once
#include <windows.h>

#include <string>

namespace engine {

std::string Utf8(const std::wstring& wide);
std::wstring FromUtf8(const std::string& utf8);
// The system's own text for an error code, without the line break it ends with.
std::wstring ErrorText(DWORD error);
// "<what>: <the system's text for the error>".
std::wstring Reason(const std::wstring& what, DWORD error);
// Case-insensitive ordinal comparison, as the file system and the registry compare names.
bool SameNoCase(const std::wstring& a, const std::wstring& b);
// A known folder's path as the shell gives it (flags: KF_FLAG_*); empty when there is none.
std::wstring KnownFolderPath(const GUID& id, DWORD flags = 0);
// The SID of the user this process runs as ("S-1-5-21-…"); empty when it cannot be read.
std::wstring UserSidText();

}  // namespace engine
