#include "Settings.h"

#include "Pacing.h"
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
}  // namespace settings
