#include "LibraryStep.h"

#include <windows.h>

void RunLibraryStep(const char* exportName) {
    HMODULE lib = ::LoadLibraryExW(L"Kestrix.dll", nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!lib) return;
    using Export = int(WINAPI*)();
    if (auto call = reinterpret_cast<Export>(::GetProcAddress(lib, exportName))) call();
    ::FreeLibrary(lib);
}
