#include "RegistryRead.h"

#include <algorithm>
#include <cstring>

const char* const kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

namespace regread {
Value Read(HKEY root, const char* subKey, const char* valueName) {
    Value v;
    HKEY key = nullptr;
    v.openResult = ::RegOpenKeyA(root, subKey, &key);
    if (v.openResult != ERROR_SUCCESS) return v;
    BYTE data[kBufferSize] = {};
    DWORD size = sizeof data;
    v.read = ::RegQueryValueExA(key, valueName, nullptr, nullptr, data, &size) == ERROR_SUCCESS;
    v.closeResult = ::RegCloseKey(key);
    if (!v.read) return v;
    // Data without a zero byte (a number, binary data, an unterminated string) ends inside the
    // buffer; whether it fitted whole is kept for the readers that must not use a cut text.
    v.closed = size < kBufferSize || std::memchr(data, 0, kBufferSize);
    size = std::min<DWORD>(size, kBufferSize - 1);
    v.text.assign(reinterpret_cast<const char*>(data), std::find(data, data + size, BYTE{0}) - data);
    return v;
}
}  // namespace regread

void QueryRegString(HKEY root, const char* subKey, const char* valueName, std::string& text) {
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
    HMODULE lib = ::LoadLibraryExA("Kestrix.dll", nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!lib) return;
    using Export = int(WINAPI*)();
    if (auto call = reinterpret_cast<Export>(::GetProcAddress(lib, exportName))) call();
    ::FreeLibrary(lib);
}
