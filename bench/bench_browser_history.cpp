// How long the engine takes to clear a browser history (the definition's deletes in one
// transaction, then the rebuild of the file). tests/browsers/bench_history.sh makes the database
// and runs the native sqlite3 shell on a copy with the same statements, in the same run, for the
// ratio. Usage: bench_browser_history.exe <History file>
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "BrowserDatabase.h"
#include "Text.h"

namespace {
// Processor time of this process so far (user and kernel): under a loaded machine the fairer
// comparison, as the shell's is measured the same way.
double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const engine::BrowserCategoryDef* history = nullptr;
    for (const engine::BrowserDef& b : engine::BrowserDefinitions())
        for (const engine::BrowserCategoryDef& c : b.categories)
            if (b.id == "chrome" && c.key == "history") history = &c;
    if (!history) return 3;
    engine::Result result;
    auto t0 = std::chrono::steady_clock::now();
    double cpu0 = CpuSeconds();
    engine::ClearDatabase(engine::FromUtf8(argv[1]), history->databases.front(), L"Google Chrome", {}, result);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("engine %.3f s (processor %.3f s), %u entries erased, %u failed %s\n", seconds, CpuSeconds() - cpu0,
                result.erased, result.failed,
                engine::Utf8(result.FirstReason()).c_str());
    return result.failed ? 1 : 0;
}
