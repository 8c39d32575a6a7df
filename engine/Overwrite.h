// Overwriting a file before its name goes, for the one delete path when overwriting is on.
#pragma once
#include <windows.h>

#include <string>

namespace engine {

// The access the delete path opens a file with when it overwrites.
constexpr DWORD kOverwriteAccess = GENERIC_READ | GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

enum class Disposal { Overwritten, DeletedOnly, Stayed };
// Overwrites the file behind h (opened without following links, checked), renames it, empties
// it and marks it for deletion. note: for DeletedOnly why it was not overwritten; for Stayed the
// last error tells why.
Disposal OverwriteAndDelete(HANDLE h, const std::wstring& path, unsigned passes, std::wstring& note);
// Asks for the file's deletion at the next restart; true when that was accepted.
bool DeleteAtRestart(const std::wstring& path);
// A note for a solid-state volume holding path; empty when it is not one or nobody can tell.
std::wstring SolidStateNote(const std::wstring& path);

}  // namespace engine
