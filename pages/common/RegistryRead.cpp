#include "RegistryRead.h"

#include <algorithm>
#include <cstring>

const wchar_t* const kShellFoldersKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

namespace regread {
Value Read(HKEY root, const wchar_t* subKey, const wchar_t* valueName) {
    Value v;
    HKEY key = nullptr;
    v.openResult = ::RegOpenKeyW(root, subKey, &key);
    if (v.openResult != ERROR_SUCCESS) return v;
    wchar_t data[kBufferSize] = {};
    DWORD size = sizeof data;
    v.read = ::RegQueryValueExW(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
    v.closeResult = ::RegCloseKey(key);
    if (!v.read) return v;
    // Data without a zero byte (a number, binary data, an unterminated string) ends inside the
    // buffer; whether it fitted whole is kept for the readers that must not use a cut text.
    size_t chars = size / sizeof(wchar_t);
    v.closed = chars < kBufferSize || std::wmemchr(data, L'\0', kBufferSize);
    chars = std::min<size_t>(chars, kBufferSize - 1);
    v.text.assign(data, std::find(data, data + chars, L'\0') - data);
    return v;
}
}  // namespace regread

void QueryRegString(HKEY root, const wchar_t* subKey, const wchar_t* valueName, std::wstring& text) {
    regread::Value v = regread::Read(root, subKey, valueName);
    if (v.openResult != ERROR_SUCCESS) return;
    // A cut path would name another folder.
    if (v.read && v.closed)
        text = v.text;
    else
        text.clear();
}

void RunLibraryStep(const char* exportName) {
    // Only the program's own folder or the system folder: never the current folder or PATH.
    HMODULE lib = ::LoadLibraryExW(L"Kestrix.dll", nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!lib) return;
    using Export = int(WINAPI*)();
    if (auto call = reinterpret_cast<Export>(::GetProcAddress(lib, exportName))) call();
    ::FreeLibrary(lib);
}
