// Starts the installed program, presses its Help command as the toolbar would, and reports
// whether the help viewer came up with the program's help file (its window carries the help
// file's title). Ends the program and the viewer afterwards. Exit code 0 when the viewer came.
// Usage: open_help.exe <path of the installed CorvaneSweepmere.exe>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
// A visible top-level window of the process (any process for 0) whose title starts with the text,
// waited for up to the given seconds.
HWND WaitForWindow(DWORD pid, const char* titleStart, int seconds) {
    struct Search { DWORD pid; const char* titleStart; HWND found; };
    auto match = [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        char title[256] = "";
        ::GetWindowTextA(h, title, sizeof title);
        if ((s->pid && owner != s->pid) || !::IsWindowVisible(h) || std::string(title).rfind(s->titleStart, 0) != 0) return TRUE;
        s->found = h;
        return FALSE;
    };
    for (int i = 0; i < seconds * 10; ++i) {
        Search s{pid, titleStart, nullptr};
        ::EnumWindows(match, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        ::Sleep(100);
    }
    return nullptr;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::string cmd = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(argv[1], &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        fprintf(stderr, "cannot start %s\n", argv[1]);
        return 1;
    }
    HWND main = WaitForWindow(pi.dwProcessId, "Corvane-Sweepmere", 30);
    if (!main) {
        fprintf(stderr, "the program showed no main window\n");
        ::TerminateProcess(pi.hProcess, 1);
        return 1;
    }
    const WPARAM kHelpCommand = 57670;
    ::PostMessageA(main, WM_COMMAND, kHelpCommand, 0);
    HWND viewer = WaitForWindow(0, "Corvane-Sweepmere Help", 30);
    printf(viewer ? "help viewer opened\n" : "no help viewer\n");
    DWORD viewerPid = 0;
    if (viewer && ::GetWindowThreadProcessId(viewer, &viewerPid))
        if (HANDLE p = ::OpenProcess(PROCESS_TERMINATE, FALSE, viewerPid)) {
            ::TerminateProcess(p, 0);
            ::CloseHandle(p);
        }
    ::TerminateProcess(pi.hProcess, 0);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return viewer ? 0 : 1;
}
