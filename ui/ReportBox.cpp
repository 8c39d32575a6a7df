#include "ReportBox.h"

#include "afxwin.h"

namespace report {

void ShowText(const std::wstring& text, bool warning) {
    // Owned by the main window: no page can be closed or pressed again while the box is up.
    CWnd* main = AfxGetMainWnd();
    ::MessageBoxW(main ? main->GetSafeHwnd() : nullptr, text.c_str(), L"Corvane-Sweepmere",
                  (warning ? MB_ICONWARNING : MB_ICONINFORMATION) | MB_SYSTEMMODAL);
}

void ShowOutcomes(const std::vector<engine::Outcome>& outcomes) {
    bool stayed = false;
    for (const engine::Outcome& o : outcomes) stayed = stayed || !o.result.Complete();
    ShowText(engine::ReportText(outcomes), stayed);
}

bool ShowPageReport(const CWnd& page, const std::vector<engine::Outcome>& outcomes, const std::function<void()>& after) {
    // Only these two once the box is up: the page object itself may be gone by then.
    const HWND window = page.GetSafeHwnd();
    const CWnd* const self = &page;
    ShowOutcomes(outcomes);
    if (after) after();
    return ::IsWindow(window) && CWnd::FromHandlePermanent(window) == self;
}

}  // namespace report
