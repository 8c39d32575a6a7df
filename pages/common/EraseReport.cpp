#include "EraseReport.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>

namespace {
std::string TimeText(unsigned long long ms) {
    char text[32];
    if (ms < 1000)
        std::snprintf(text, sizeof text, "%llu ms", ms);
    else
        std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

std::string SizeText(unsigned long long bytes) {
    char text[32] = "";
    ::StrFormatByteSize64A(static_cast<LONGLONG>(bytes), text, sizeof text);
    return text;
}
}  // namespace

std::string EraseReportLine(const CategoryOutcome& o) {
    const EraseResult& r = o.result;
    std::string line = o.name + " (" + TimeText(o.ms) + "): ";
    if (r.erased == 0 && r.failed == 0) return line + "nothing to erase.";
    line += std::to_string(r.erased) + (r.erased == 1 ? " item erased" : " items erased");
    if (r.bytes > 0) line += " (" + SizeText(r.bytes) + ")";
    if (r.failed > 0) line += "; " + std::to_string(r.failed) + " not erased: " + r.firstReason;
    return line;
}

std::string EraseReport(const std::vector<CategoryOutcome>& outcomes) {
    std::string text;
    unsigned long long total = 0;
    for (const CategoryOutcome& o : outcomes) {
        text += EraseReportLine(o) + "\n";
        total += o.ms;
    }
    return text + "\nTime taken: " + TimeText(total) + ".";
}
