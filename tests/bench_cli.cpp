// sweepmere.exe against bare loops in the same run: erasing the cache of 5,000 files against
// FindFirstFileW/DeleteFileW over the same tree (and against the engine's erase called in this
// process, which tells the program's share from the walk's), and its start-up to the first output
// against "cmd /c exit" (Wine's own process start). The three erases take turns, in an order that
// turns each round: on a shared machine, load that comes and goes falls on all three alike.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "Categories.h"
#include "ConsoleRun.h"
#include "EraseKit.h"
#include "TestKit.h"

using namespace testkit;

namespace {

const int kFolders = 50, kPerFolder = 100;

void Seed(const std::wstring& top) {
    for (int d = 0; d < kFolders; ++d) {
        std::wstring dir = top + L"\\d" + std::to_wstring(d);
        ::CreateDirectoryW(dir.c_str(), nullptr);
        for (int f = 0; f < kPerFolder; ++f) WriteFile(dir + L"\\f" + std::to_wstring(f) + L".htm", L"cac");  // 6 bytes
    }
}

unsigned BareDelete(const std::wstring& folder) {
    unsigned n = 0;
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW((folder + L"\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        std::wstring name = d.cFileName, path = folder + L"\\" + name;
        if (name == L"." || name == L"..") continue;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) n += BareDelete(path);
        else n += ::DeleteFileW(path.c_str()) ? 1 : 0;
    } while (::FindNextFileW(h, &d));
    ::FindClose(h);
    return n;
}

double Ms(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    const std::wstring sweepmere = L"\"" + ProgramFolder() + L"sweepmere.exe\"";
    const std::wstring top = ScratchFolder(L"bench-cli");
    RegSetString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", L"Cache",
                 top);

    double bareMs = 0, cliMs = 0, insideMs = 0;  // each the sum of its three runs
    unsigned bare = 0;
    ConsoleRun erase;
    engine::Result inside;
    const std::function<void()> erases[] = {
        [&] { bareMs += Ms([&] { bare = BareDelete(top); }); },
        [&] { cliMs += (erase = RunConsole(sweepmere + L" /erase internet.cache")).totalMs; },
        // The same erase inside this process: what the walk costs without the program around it.
        [&] { insideMs += Ms([&] { inside = engine::RunErase(engine::CategoryOf("internet.cache"), engine::Options{}); }); },
    };
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 3; ++i) {
            Seed(top);
            erases[(round + i) % 3]();
        }
    printf("erase %d files: sweepmere %.0f ms (%s), bare DeleteFileW loop %.0f ms (%u files): ratio %.2fx (target >= 0.8x)\n",
           kFolders * kPerFolder, cliMs / 3, erase.out.substr(0, erase.out.find('\n')).c_str(), bareMs / 3, bare, bareMs / cliMs);
    printf("the engine's erase in this process: %.0f ms (%u erased): ratio to the bare loop %.2fx\n", insideMs / 3,
           inside.erased, bareMs / insideMs);

    double startMs = 1e9, cmdMs = 1e9;
    for (int i = 0; i < 5; ++i) {
        startMs = std::min(startMs, RunConsole(sweepmere + L" /?").firstOutputMs);
        cmdMs = std::min(cmdMs, RunConsole(L"cmd /c exit").totalMs);
    }
    printf("start-up to first output: sweepmere %.0f ms, cmd /c exit %.0f ms: %.0f ms beyond (target <= 100 ms)\n",
           startMs, cmdMs, startMs - cmdMs);
    return erase.code == 0 ? 0 : 1;
}
