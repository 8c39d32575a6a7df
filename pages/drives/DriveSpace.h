// What the drive pages read about a drive besides its volume: which drives there are and their
// space, with the system's critical-error boxes off, so that an empty card reader or CD drive
// asks the user nothing.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "afxwin.h"

namespace drives {
// Whole mebibytes, the remainder dropped, followed by " MB": 1,572,864 bytes give "1 MB".
std::wstring MegabytesText(unsigned long long bytes);

// The letters B to Z whose drives are present, in order; A: is never looked at.
std::vector<wchar_t> PresentDrives();
// "C:\" for 'C'.
std::wstring RootOf(wchar_t letter);

struct Space {
    unsigned long long freeBytes, totalBytes;
};
using FreeSpaceCall = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
// GetDiskFreeSpaceExW, looked up at run time; null on a system without it.
FreeSpaceCall FindFreeSpaceCall();
// The volume's total free and total bytes; nothing when the call fails.
std::optional<Space> QuerySpace(FreeSpaceCall call, const std::wstring& root);
}  // namespace drives
