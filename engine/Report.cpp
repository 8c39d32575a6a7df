#include "Report.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwchar>

namespace engine {

namespace {
std::wstring TimeText(unsigned long long ms) {
    wchar_t text[32];
    if (ms < 1000)
        std::swprintf(text, 32, L"%llu ms", ms);
    else
        std::swprintf(text, 32, L"%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

std::wstring Count(unsigned n, const wchar_t* one, const wchar_t* many) {
    return std::to_wstring(n) + L" " + (n == 1 ? one : many);
}
}  // namespace

std::wstring SizeText(unsigned long long bytes) {
    wchar_t text[32] = L"";
    ::StrFormatByteSizeW(static_cast<LONGLONG>(bytes), text, 32);
    return text;
}

namespace {
// Three figures in the given unit, as the shell writes sizes: "0.59", "12.5", "600".
std::wstring InUnit(unsigned long long bytes, double unit) {
    const double v = bytes / unit;
    wchar_t text[32];
    swprintf(text, 32, v < 10 ? L"%.2f" : v < 100 ? L"%.1f" : L"%.0f", v);
    return text;
}
}  // namespace

std::wstring PartOfText(unsigned long long part, unsigned long long whole) {
    struct Unit { double bytes; const wchar_t* name; };
    const Unit units[] = {{1099511627776.0, L"TB"}, {1073741824.0, L"GB"}, {1048576.0, L"MB"}, {1024.0, L"KB"}};
    for (const Unit& u : units)
        if (whole >= u.bytes * 1000 / 1024) return InUnit(part, u.bytes) + L" of " + InUnit(whole, u.bytes) + L" " + u.name;
    return std::to_wstring(part) + L" of " + std::to_wstring(whole) + L" bytes";
}

std::wstring ReportLine(const Outcome& o) {
    const Result& r = o.result;
    std::wstring line = o.name + L" (" + TimeText(o.ms) + L"): ";
    if (r.erased == 0 && r.failed == 0) return line + L"nothing to erase.";
    line += Count(r.erased, L"item erased", L"items erased");
    if (r.bytes > 0) line += L" (" + SizeText(r.bytes) + L")";
    if (r.overwritten > 0) line += L"; " + Count(r.overwritten, L"file overwritten", L"files overwritten");
    if (r.deletedOnly > 0) line += L"; " + Count(r.deletedOnly, L"file deleted without overwriting", L"files deleted without overwriting");
    if (r.withoutOverwriting && r.erased > 0) line += L"; deleted without overwriting";
    if (r.failed > 0) line += L"; " + std::to_wstring(r.failed) + L" not erased: " + r.FirstReason();
    return line;
}

std::wstring ReportText(const std::vector<Outcome>& outcomes) {
    std::wstring text;
    std::vector<std::wstring> notes;
    unsigned long long total = 0;
    for (const Outcome& o : outcomes) {
        text += ReportLine(o) + L"\n";
        total += o.ms;
        for (const std::wstring& n : o.result.notes)
            if (std::find(notes.begin(), notes.end(), n) == notes.end()) notes.push_back(n);
    }
    for (const std::wstring& n : notes) text += L"\n" + n;
    if (!notes.empty()) text += L"\n";
    return text + L"\nTime taken: " + TimeText(total) + L".";
}

}  // namespace engine
