// The texts of the one message box that tells what a run of several categories' erases did.
#pragma once
#include <string>
#include <vector>

#include "EraseResult.h"

// What one category's erase did and how long it took.
struct CategoryOutcome {
    std::wstring name;
    EraseResult result;
    unsigned long long ms = 0;
};

// "Recycle Bin (40 ms): 3 items erased (12.0 KB); 1 not erased: <first reason>". Bytes show only when
// files were deleted.
std::wstring EraseReportLine(const CategoryOutcome& outcome);
// One line per category, in the order they ran, and the whole time taken.
std::wstring EraseReport(const std::vector<CategoryOutcome>& outcomes);
