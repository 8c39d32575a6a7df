// sweepmere.exe against bare loops in the same run: erasing the cache of 5,000 files against
// FindFirstFileW/DeleteFileW over the same tree (and against the engine's erase called in this
// process, which tells the program's share from the walk's), and its start-up to the first output
// against "cmd /c exit" (Wine's own process start). The three erases take turns, in an order that
// turns each round: on a shared machine, load that comes and goes falls on all three alike.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "Categories.h"
#include "ConsoleRun.h"
#include "EraseKit.h"
#include "TestKit.h"

using namespace testkit;

int main() {
    const int kFolders = 50, kPerFolder = 100;
    const std::wstring sweepmere = L"\"" + ProgramFolder() + L"sweepmere.exe\"";
    const std::wstring top = ScratchFolder(L"bench-cli");  // ScratchTree makes it afresh each time
    PointCacheAt(top);

    double bareMs = 0, cliMs = 0, insideMs = 0;  // each the sum of its three runs
    int bare = 0;
    ConsoleRun erase;
    engine::Result inside;
    const std::function<void()> erases[] = {
        [&] { bareMs += 1000 * SecondsTaken([&] { bare = BareWalk(top, true); }); },
        [&] { cliMs += (erase = RunConsole(sweepmere + L" /erase internet.cache")).totalMs; },
        // The same erase inside this process: what the walk costs without the program around it.
        [&] {
            insideMs += 1000 * SecondsTaken([&] { inside = engine::RunErase(engine::CategoryOf("internet.cache"), engine::Options{}); });
        },
    };
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 3; ++i) {
            ScratchTree(L"bench-cli", kFolders, kPerFolder);
            erases[(round + i) % 3]();
        }
    printf("erase %d files: sweepmere %.0f ms (%s), bare DeleteFileW loop %.0f ms (%d files): ratio %.2fx (target >= 0.8x)\n",
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
