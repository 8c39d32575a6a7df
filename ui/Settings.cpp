#include "Settings.h"

#include "Pacing.h"
#include "Policy.h"
#include "afxwin.h"

namespace {
constexpr const wchar_t* kSection = L"Settings";

bool Read(const wchar_t* entry) {
    CWinApp* app = AfxGetApp();
    return app && app->GetProfileInt(kSection, entry, 0) != 0;
}

void Write(const wchar_t* entry, bool on) {
    if (CWinApp* app = AfxGetApp()) app->WriteProfileInt(kSection, entry, on ? 1 : 0);
}
}  // namespace

namespace settings {
bool AllCategories() { return Read(L"All Categories"); }
void SetAllCategories(bool on) { Write(L"All Categories", on); }
bool QuickErase() { return Read(L"Quick Erase"); }

void SetQuickErase(bool on) {
    Write(L"Quick Erase", on);
    Pacing::SetQuickErase(on);
}

bool Overwrite() { return Read(L"Overwrite"); }
void SetOverwrite(bool on) { Write(L"Overwrite", on); }

unsigned Passes() {
    CWinApp* app = AfxGetApp();
    int n = app ? app->GetProfileInt(kSection, L"Passes", 1) : 1;
    return n < 1 ? 1u : n > 3 ? 3u : static_cast<unsigned>(n);
}

void SetPasses(unsigned passes) {
    if (CWinApp* app = AfxGetApp()) app->WriteProfileInt(kSection, L"Passes", static_cast<int>(passes < 1 ? 1 : passes > 3 ? 3 : passes));
}

bool KeepRecentTemp() { return !Read(L"Erase Recent Temp"); }
void SetKeepRecentTemp(bool on) { Write(L"Erase Recent Temp", !on); }

engine::Options EraseOptions() {
    engine::Options options;
    options.keepRecentTemp = KeepRecentTemp();
    options.overwrite = Overwrite();
    options.passes = Passes();
    return engine::WithPolicy(options);
}
}  // namespace settings
