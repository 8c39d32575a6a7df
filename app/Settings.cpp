#include "Settings.h"

#include "Pacing.h"
#include "afxwin.h"

namespace {
constexpr const char* kSection = "Settings";

bool Read(const char* entry) {
    CWinApp* app = AfxGetApp();
    return app && app->GetProfileInt(kSection, entry, 0) != 0;
}

void Write(const char* entry, bool on) {
    if (CWinApp* app = AfxGetApp()) app->WriteProfileInt(kSection, entry, on ? 1 : 0);
}
}  // namespace

namespace settings {
bool AllCategories() { return Read("All Categories"); }
void SetAllCategories(bool on) { Write("All Categories", on); }
bool QuickErase() { return Read("Quick Erase"); }

void SetQuickErase(bool on) {
    Write("Quick Erase", on);
    Pacing::SetQuickErase(on);
}
}  // namespace settings
