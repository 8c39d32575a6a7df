// A stand-in for the maker's outside library, for the tests only: each export appends its own
// name as one line to the file that CORVANE_KESTRIX_LOG names.
#include <windows.h>

#include <cstring>

static int Record(const char* name) {
    char path[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("CORVANE_KESTRIX_LOG", path, sizeof path)) return 0;
    HANDLE h = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    WriteFile(h, name, static_cast<DWORD>(strlen(name)), &written, nullptr);
    WriteFile(h, "\n", 1, &written, nullptr);
    CloseHandle(h);
    return 1;
}

extern "C" __declspec(dllexport) int WINAPI InterNet() { return Record("InterNet"); }
extern "C" __declspec(dllexport) int WINAPI Cookies() { return Record("Cookies"); }
