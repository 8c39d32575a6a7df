#include "Pacing.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

namespace {
std::atomic<int> g_percent{-1};

unsigned Scaled(unsigned ms) {
    int p = g_percent.load();
    if (p < 0) {
        char buf[16] = "";
        p = GetEnvironmentVariableA("CORVANE_PACING_PERCENT", buf, sizeof buf) ? std::atoi(buf) : 100;
        if (p < 0 || p > 100) p = 100;
        g_percent.store(p);
    }
    return ms * static_cast<unsigned>(p) / 100;
}
}  // namespace

namespace Pacing {
unsigned SplashMs() { return Scaled(2000); }
unsigned FolderMs() { return Scaled(100); }
unsigned FileMs() { return Scaled(1000); }
unsigned BeforeEraseMs() { return Scaled(100); }
void SetScalePercent(unsigned percent) { g_percent.store(percent > 100 ? 100 : static_cast<int>(percent)); }
}  // namespace Pacing
