#include "ReportBox.h"

#include <windows.h>

namespace report {

void ShowText(const std::wstring& text, bool warning) {
    // No owner: a page closed under the box is never touched by it.
    ::MessageBoxW(nullptr, text.c_str(), L"Corvane-Sweepmere",
                  (warning ? MB_ICONWARNING : MB_ICONINFORMATION) | MB_SYSTEMMODAL);
}

void ShowOutcomes(const std::vector<engine::Outcome>& outcomes) {
    bool stayed = false;
    for (const engine::Outcome& o : outcomes) stayed = stayed || !o.result.Complete();
    ShowText(engine::ReportText(outcomes), stayed);
}

}  // namespace report
