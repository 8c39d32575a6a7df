// What the Unused Space page says about a wipe: the question before it, the report after it, and
// what the program tells at its start when it removed the filler of a wipe that never ended.
#pragma once
#include <string>
#include <vector>

#include "UnusedSpace.h"

namespace wipe {
// "T:", "C: and T:", "C:, D: and T:".
std::wstring DriveList(const std::vector<wchar_t>& drives);
std::wstring Confirmation(const std::vector<wchar_t>& drives);
// One line per drive asked for: what its wipe did, or why it did not run; the refusals first;
// then the solid-state note once.
std::wstring Report(const std::vector<wchar_t>& drives, const std::vector<engine::WipeResult>& results,
                    const std::vector<std::wstring>& refusals, const std::wstring& failure);
// True when the report tells of anything that did not go as asked (a warning, not information).
bool ReportWarns(const std::vector<wchar_t>& drives, const std::vector<engine::WipeResult>& results,
                 const std::vector<std::wstring>& refusals, const std::wstring& failure);

// At the program's start, before anything else: removes the fillers a wipe left behind (a crash,
// a power cut) and tells the user once what went and what could not. Returns what it told.
std::wstring RemoveLeftoverFillersAtStart();
}  // namespace wipe
