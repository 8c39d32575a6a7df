#include "Pacing.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

namespace {
std::atomic<int> g_percent{-1};
std::atomic<bool> g_quick{false};

unsigned Scaled(unsigned ms) {
    int p = g_percent.load();
    if (p < 0) {
        wchar_t buf[16] = L"";
        p = GetEnvironmentVariableW(L"CORVANE_PACING_PERCENT", buf, ARRAYSIZE(buf)) ? _wtoi(buf) : 100;
        if (p < 0 || p > 100) p = 100;
        g_percent.store(p);
    }
    return ms * static_cast<unsigned>(p) / 100;
}

unsigned ErasePause(unsigned ms) { return g_quick.load() ? 0 : Scaled(ms); }
}  // namespace

namespace Pacing {
unsigned SplashMs() { return Scaled(2000); }
unsigned FolderMs() { return ErasePause(100); }
unsigned FileMs() { return ErasePause(1000); }
unsigned BeforeEraseMs() { return ErasePause(100); }
unsigned WipeShowMs() { return Scaled(250); }
void SetScalePercent(unsigned percent) { g_percent.store(percent > 100 ? 100 : static_cast<int>(percent)); }
void SetQuickErase(bool on) { g_quick.store(on); }
bool QuickErase() { return g_quick.load(); }
}  // namespace Pacing
