#include "EraseReport.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>

namespace {
std::wstring TimeText(unsigned long long ms) {
    wchar_t text[32];
    if (ms < 1000)
        std::swprintf(text, ARRAYSIZE(text), L"%llu ms", ms);
    else
        std::swprintf(text, ARRAYSIZE(text), L"%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

std::wstring SizeText(unsigned long long bytes) {
    wchar_t text[32] = L"";
    ::StrFormatByteSizeW(static_cast<LONGLONG>(bytes), text, ARRAYSIZE(text));
    return text;
}
}  // namespace

std::wstring EraseReportLine(const CategoryOutcome& o) {
    const EraseResult& r = o.result;
    std::wstring line = o.name + L" (" + TimeText(o.ms) + L"): ";
    if (r.erased == 0 && r.failed == 0) return line + L"nothing to erase.";
    line += std::to_wstring(r.erased) + (r.erased == 1 ? L" item erased" : L" items erased");
    if (r.bytes > 0) line += L" (" + SizeText(r.bytes) + L")";
    if (r.failed > 0) line += L"; " + std::to_wstring(r.failed) + L" not erased: " + r.firstReason;
    return line;
}

std::wstring EraseReport(const std::vector<CategoryOutcome>& outcomes) {
    std::wstring text;
    unsigned long long total = 0;
    for (const CategoryOutcome& o : outcomes) {
        text += EraseReportLine(o) + L"\n";
        total += o.ms;
    }
    return text + L"\nTime taken: " + TimeText(total) + L".";
}
