// The registry reads that several pages share: one core that opens a key, reads one value into a
// 260-byte buffer and closes the key again, and the string readers built on it.
#pragma once
#include <windows.h>

#include <string>

// The registry key that names the cache and cookie folders of the current user.
extern const wchar_t* const kShellFoldersKey;

namespace regread {
constexpr DWORD kBufferSize = 260;

struct Value {
    LONG openResult = ERROR_SUCCESS;   // the error of opening the key; the rest is unset on failure
    LONG closeResult = ERROR_SUCCESS;  // the result of closing it
    bool read = false;                 // the value was there and fitted into the buffer
    bool closed = false;               // its bytes held a zero inside the buffer (or left room for one)
    std::wstring text;                  // the bytes up to the first zero, at most kBufferSize - 1
};

// Opens the key, reads the value, closes the key; no key stays open.
Value Read(HKEY root, const wchar_t* subKey, const wchar_t* valueName);
}  // namespace regread

// Reads a string value into text. When the key cannot be opened the text stays as it was; when
// the value cannot be read (missing, longer than 259 characters) it becomes empty.
void QueryRegString(HKEY root, const wchar_t* subKey, const wchar_t* valueName, std::wstring& text);

// Calls one export of the maker's outside library after an erase; silent when the library or
// the export is not there.
void RunLibraryStep(const char* exportName);
