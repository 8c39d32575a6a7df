// The "Application" event log. A log that still holds records after it was cleared was not
// cleared, whatever the clear call said (Wine's reports success and clears nothing).
#include "EventLog.h"
#include "Rows.h"
#include "Worker.h"

namespace engine {
namespace rows {

namespace {
const wchar_t kNotCleared[] = L"The event log could not be cleared.";

bool HoldsRecords() {
    std::unique_ptr<events::EventLogSource> log = events::MakeSource();
    bool any = false;
    events::ReadLog(*log, [&](const events::EventRecord&) {
        any = true;
        return false;
    });
    return any;
}
}  // namespace

Listing ListEventLog(const Options& o) {
    Listing listing;
    std::unique_ptr<events::EventLogSource> log = events::MakeSource();
    events::RowMaker rows;
    events::ReadEnd end = events::ReadLog(*log, [&](const events::EventRecord& r) {
        events::EventRow row = rows.Row(r);
        listing.items.push_back({row[7] + L"  " + row[0] + L"  " + row[1] + L"  " + row[6], 0});
        return !(o.stop && o.stop->Requested());
    });
    if (end == events::ReadEnd::NotOpened) listing.problems.Failed(L"The event log could not be opened.");
    return listing;
}

Result EraseEventLog(const Options& options) {
    Result result;
    result.withoutOverwriting = options.overwrite;  // the system's own call: it cannot overwrite
    std::unique_ptr<events::EventLogSource> log = events::MakeSource();
    bool cleared = false;
    if (log->Open()) {
        cleared = log->Clear();
        log->Close();
    }
    if (cleared && !HoldsRecords())
        result.erased = 1;
    else
        result.Failed(kNotCleared);
    return result;
}

}  // namespace rows
}  // namespace engine
