// How fast the event log page turns a log of 100,000 records into rows, over the log's seam
// (Wine's own log reads nothing), beside bare loops doing the same work in the same run:
//  - reading and row texts: the checked reader with its account lookups, beside an unchecked walk
//    of the same bytes making the same texts;
//  - the page: opening it until every row shows, beside inserting the same rows into a bare,
//    shown report list with its drawing held.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

#include "AppHarness.h"
#include "FakeEventLog.h"
#include "TestKit.h"
#include "system/EventLogVw.h"

using namespace testkit;
using Clock = std::chrono::steady_clock;

namespace {
constexpr int kRecords = 100000;

double Seconds(const std::function<void()>& fn) {
    auto t0 = Clock::now();
    fn();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

void Report(const wchar_t* what, int rows, double s, double bare) {
    wprintf(L"%-44ls %7d rows %7.2f s %9.0f rows/s  %.2fx the bare loop\n", what, rows, s, rows / s, s / bare);
    fflush(stdout);
}

std::shared_ptr<FakeLogState> MakeLog() {
    auto state = std::make_shared<FakeLogState>();
    for (int i = 0; i < kRecords; ++i) {
        RecordSpec s;
        s.source = L"Source" + std::to_wstring(i % 50);
        s.eventId = 1000 + i;
        s.generated = s.written = 1700000000 + i;
        if (i % 10 == 0) s.sid = Sid(5, {18});
        s.dataSize = i % 7 * 16;
        state->records.push_back(BuildRecord(s));
    }
    return state;
}

// The same texts, from the same bytes, with no check at all.
int BareRows(const std::vector<uint8_t>& bytes, std::vector<engine::events::EventRow>& out) {
    for (size_t at = 0; at < bytes.size();) {
        const auto* r = reinterpret_cast<const EVENTLOGRECORD*>(bytes.data() + at);
        const wchar_t* source = reinterpret_cast<const wchar_t*>(r + 1);
        engine::events::EventRow row;
        row[0] = engine::events::EventTypeName(r->EventType);
        row[1] = source;
        row[2] = source + wcslen(source) + 1;
        if (r->UserSidLength) row[5] = *engine::events::SidText(bytes.data() + at + r->UserSidOffset, r->UserSidLength);
        row[6] = std::to_wstring(r->EventID);
        row[7] = engine::events::TimeText(r->TimeGenerated);
        row[8] = engine::events::TimeText(r->TimeWritten);
        out.push_back(std::move(row));
        at += r->Length;
    }
    return static_cast<int>(out.size());
}

// Returns the checked reader's rows, which the page's bare loop then inserts.
std::vector<engine::events::EventRow> ReadingAndTexts(const std::shared_ptr<FakeLogState>& state) {
    std::vector<uint8_t> all;
    for (const auto& r : state->records) all.insert(all.end(), r.begin(), r.end());
    std::vector<engine::events::EventRow> bare, checked;
    bare.reserve(kRecords);
    checked.reserve(kRecords);
    double b = Seconds([&] { BareRows(all, bare); });
    Report(L"bare unchecked walk, same texts", kRecords, b, b);
    double s = Seconds([&] {
        FakeEventLog log(state);
        engine::events::RowMaker rows;
        engine::events::ReadLog(log, [&](const engine::events::EventRecord& r) {
            checked.push_back(rows.Row(r));
            return true;
        });
    });
    Report(L"checked reader over the seam, with lookups", static_cast<int>(checked.size()), s, b);
    return checked;
}

void ThePage(const std::shared_ptr<FakeLogState>& state, std::vector<engine::events::EventRow> rows) {
    HWND bare = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 800, 400,
                                  AfxGetMainWnd()->m_hWnd, nullptr, nullptr, nullptr);
    LVCOLUMNW col{LVCF_WIDTH, 0, 150};
    for (int c = 0; c < 9; ++c) ListView_InsertColumn(bare, c, &col);
    double b = Seconds([&] {
        ::SendMessageW(bare, WM_SETREDRAW, FALSE, 0);
        int at = 0;
        for (auto& row : rows) {
            LVITEMW item{LVIF_TEXT, at++, 0, 0, 0, row[0].data()};
            int i = ListView_InsertItem(bare, &item);
            for (int c = 1; c < 9; ++c) ListView_SetItemText(bare, i, c, row[c].data());
        }
        ::SendMessageW(bare, WM_SETREDRAW, TRUE, 0);
    });
    Report(L"bare list inserts of the same rows", ListView_GetItemCount(bare), b, b);
    ::DestroyWindow(bare);

    UseFakeEventLog fake(state);
    CEventLogVw* view = nullptr;
    double s = Seconds([&] {
        view = dynamic_cast<CEventLogVw*>(ViewOf(TheApp()->OpenPage("system.event-log")));
        PumpUntil([&] { return !view->Listing() && view->m_list.GetItemCount() == kRecords; }, 600000);
    });
    Report(L"event log page, opened until every row shows", view->m_list.GetItemCount(), s, b);
    CloseAllPages();
}
}  // namespace

int main() {
    if (!InsideTestPrefix()) return 2;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    StartApp();
    std::shared_ptr<FakeLogState> state = MakeLog();
    ThePage(state, ReadingAndTexts(state));
    return 0;
}
