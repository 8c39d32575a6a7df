#include "UnusedSpaceWipe.h"

#include <algorithm>

#include "Overwrite.h"
#include "Report.h"
#include "ReportBox.h"
#include "WipeProgressDlg.h"

namespace wipe {

namespace {
std::wstring Name(wchar_t drive) { return std::wstring(1, drive) + L":"; }

const engine::WipeResult* ResultOf(const std::vector<engine::WipeResult>& results, wchar_t drive) {
    auto it = std::find_if(results.begin(), results.end(), [&](const engine::WipeResult& r) { return r.drive == drive; });
    return it == results.end() ? nullptr : &*it;
}

std::wstring Line(wchar_t drive, const engine::WipeResult* r) {
    const std::wstring name = Name(drive);
    if (!r) return name + L" was not wiped: the wipe was cancelled before it began.";
    const std::wstring wrote = engine::SizeText(r->bytesWiped);
    // What is left free, whatever went wrong: the user must never be left with a full drive unsaid.
    std::wstring after;
    if (r->bytesLeft) after += L" " + engine::SizeText(r->bytesLeft) + L" of filler could not be removed yet.";
    if (r->bytesWiped) after += L" Free space now: " + engine::SizeText(r->freeAfter) + L".";
    if (r->stopped)
        return name + L" wipe cancelled after " + wrote + L" written" + (r->bytesLeft ? L"." : L"; its filler was removed.") + after;
    if (!r->failure.empty()) {
        if (r->bytesWiped == 0) return r->failure;
        return name + L" wipe stopped after " + wrote + L" written: " + r->failure + after;
    }
    // Fields with fixed labels: the same words whatever the counts, as in the command line's result.
    return name + L" bytes wiped: " + wrote + L", file records wiped: " + std::to_wstring(r->fileRecords) +
           L", time taken: " + wipetext::Duration(r->seconds) + L".";
}
}  // namespace

std::wstring DriveList(const std::vector<wchar_t>& drives) {
    std::wstring text;
    for (size_t i = 0; i < drives.size(); ++i) {
        if (i > 0) text += i + 1 == drives.size() ? L" and " : L", ";
        text += Name(drives[i]);
    }
    return text;
}

std::wstring Confirmation(const std::vector<wchar_t>& drives) {
    std::wstring shadows;
    for (wchar_t d : drives) {
        const std::wstring note = engine::ShadowCopiesNote(Name(d) + L"\\");
        if (!note.empty()) shadows += note + L"\n";
    }
    return L"Wiping fills the unused space of " + DriveList(drives) +
           L" for a while; other programs may find the disk full until it ends." + (shadows.empty() ? L" " : L"\n\n" + shadows) +
           L"Continue?";
}

std::wstring Report(const std::vector<wchar_t>& drives, const std::vector<engine::WipeResult>& results,
                    const std::vector<std::wstring>& refusals, const std::wstring& failure) {
    std::wstring text = L"Wiping unused space:\n";
    for (const std::wstring& why : refusals) text += why + L"\n";
    for (wchar_t d : drives) text += Line(d, ResultOf(results, d)) + L"\n";
    if (!failure.empty()) text += L"The wipe ended early: " + failure + L".\n";
    for (const engine::WipeResult& r : results)
        if (!r.solidStateNote.empty()) {
            text += L"\n" + r.solidStateNote + L"\n";
            break;
        }
    for (const engine::WipeResult& r : results)
        if (!r.shadowCopiesNote.empty()) text += L"\n" + r.shadowCopiesNote + L"\n";
    for (const engine::WipeResult& r : results)
        if (!r.logProblem.empty()) {
            text += L"\nThe log could not be written: " + r.logProblem + L"\n";
            break;
        }
    return text;
}

bool ReportWarns(const std::vector<wchar_t>& drives, const std::vector<engine::WipeResult>& results,
                 const std::vector<std::wstring>& refusals, const std::wstring& failure) {
    if (!refusals.empty() || !failure.empty() || results.size() < drives.size()) return true;
    return std::any_of(results.begin(), results.end(), [](const engine::WipeResult& r) { return !r.complete; });
}

std::wstring RemoveLeftoverFillersAtStart() {
    std::vector<std::wstring> failures;
    const std::vector<std::wstring> removed = engine::RemoveLeftoverFillers(&failures);
    const std::wstring text = engine::LeftoverFillersText(removed, failures);
    if (!text.empty()) report::ShowText(text, !failures.empty());
    return text;
}

}  // namespace wipe
