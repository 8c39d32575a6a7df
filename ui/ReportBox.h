// The one way an erase tells the user what it did: a system-modal box of the main window, captioned
// with the program's name, with one line per category and what the user should know besides.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Report.h"

class CWnd;

namespace report {
// Shows the report of erases that ran: a warning icon when anything stayed. Returns when closed.
void ShowOutcomes(const std::vector<engine::Outcome>& outcomes);
// The same for a page's own erase, then after (which must not touch the page). The page may be
// closed while the box is up: true when it is still there, and only then may the caller go on.
bool ShowPageReport(const CWnd& page, const std::vector<engine::Outcome>& outcomes, const std::function<void()>& after = {});
// Shows a message of an erase (information, or a warning when warning is set).
void ShowText(const std::wstring& text, bool warning = false);
}  // namespace report
