// The text that tells the user what erases did: one line per category, then what they should
// know besides (files not overwritten and why, a solid-state drive), then the time taken. Shown
// by the program's one report box; the command line prints its own lines.
#pragma once
#include <string>
#include <vector>

#include "Result.h"

namespace engine {

struct Outcome {
    std::wstring name;
    Result result;
    unsigned long long ms = 0;
};

// "Recycle Bin (40 ms): 3 items erased (12.0 KB); 1 not erased: <first reason>", with "; 2 files
// overwritten" or "; 1 file deleted without overwriting" where overwriting was on.
std::wstring ReportLine(const Outcome& outcome);
// Every line, each category's notes once, and the whole time taken.
std::wstring ReportText(const std::vector<Outcome>& outcomes);
// "12.0 KB": the shell's own size text.
std::wstring SizeText(unsigned long long bytes);
// "0.59 of 0.98 GB", "5.00 of 60.0 MB": a part and its whole in the whole's unit, so that the two
// can be compared at a glance.
std::wstring PartOfText(unsigned long long part, unsigned long long whole);

}  // namespace engine
