// How long the engine takes to clear a browser history (the definition's deletes in one
// transaction, then the rebuild of the file). tests/browsers/bench_history.sh makes the database
// and runs the native sqlite3 shell on a copy with the same statements, in the same run, for the
// ratio. Usage: bench_browser_history.exe <History file>
#include <chrono>
#include <cstdio>

#include "BrowserDatabase.h"
#include "Text.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const engine::BrowserCategoryDef* history = nullptr;
    for (const engine::BrowserDef& b : engine::BrowserDefinitions())
        for (const engine::BrowserCategoryDef& c : b.categories)
            if (b.id == "chrome" && c.key == "history") history = &c;
    if (!history) return 3;
    engine::Result result;
    auto t0 = std::chrono::steady_clock::now();
    engine::ClearDatabase(engine::FromUtf8(argv[1]), history->database, L"Google Chrome", result);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("engine %.3f s, %u entries erased, %u failed %s\n", seconds, result.erased, result.failed,
                engine::Utf8(result.FirstReason()).c_str());
    return result.failed ? 1 : 0;
}
