// The event log page: records read with bounds checks from built bytes, SID and time texts, the
// reading over the log's seam (long records, failures, closing), and the page that lists on a
// worker and clears the log. Wine's event log reads nothing, so the log is the test's own.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "FakeEventLog.h"
#include "TestKit.h"
#include "resource.h"
#include "system/EventLogVw.h"

using namespace testkit;
using namespace engine::events;

namespace {
// Each record listed as "source/computer[/sid] ", then "whole" or "cut".
std::wstring Listed(const std::vector<uint8_t>& bytes) {
    std::wstring seen;
    bool whole = ForEachRecord(bytes.data(), bytes.size(), [&](const EventRecord& r) {
        seen += r.source + L"/" + r.computer + (r.sid ? L"/sid " : L" ");
        return true;
    });
    return seen + (whole ? L"whole" : L"cut");
}

RecordSpec Named(const std::wstring& source, size_t dataSize = 0, std::vector<uint8_t> sid = {}) {
    RecordSpec s;
    s.source = source;
    s.dataSize = dataSize;
    s.sid = std::move(sid);
    return s;
}

std::shared_ptr<FakeLogState> LogOf(const std::vector<RecordSpec>& specs) {
    auto state = std::make_shared<FakeLogState>();
    for (const RecordSpec& s : specs) state->records.push_back(BuildRecord(s));
    return state;
}

ReadEnd ReadAll(const std::shared_ptr<FakeLogState>& state, std::vector<std::wstring>& seen, size_t stopAfter = 99) {
    FakeEventLog log(state);
    seen.clear();
    return ReadLog(log, [&](const EventRecord& r) {
        seen.push_back(r.source);
        return seen.size() < stopAfter;
    }, 255);
}

class EventLogPage : public ::testing::Test {
protected:
    void TearDown() override { CloseAllPages(); }
    static CEventLogVw* Open() {
        auto* view = OpenPage<CEventLogVw>("system.event-log");
        if (view) PumpUntil([&] { return !view->Listing(); });
        Pump();
        return view;
    }
    // The presses wait in the queue together: any after the first land while its box is up.
    static std::vector<SeenDialog> PressErase(CEventLogVw* v, int presses = 1) {
        DialogAnswerer box(L"Corvane-Sweepmere", IDOK, presses > 1 ? 100 : 0);
        for (int i = 0; i < presses; ++i)
            ::PostMessageW(v->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_EVENTLOG_ERASE, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(v->m_hWnd, IDC_EVENTLOG_ERASE)));
        Pump();
        PumpUntil([&] { return !v->Listing(); });
        Pump();
        return box.Seen();
    }
};
}  // namespace

TEST(EventRecords, BoundsChecksEndTheListingOrMakeAPartAbsentAndOnlyAWholeSidHasAText) {
    std::vector<uint8_t> first = BuildRecord(Named(L"a", 0, Sid(5, {18}))), bytes = first;
    std::vector<uint8_t> second = BuildRecord(Named(L"b"));
    bytes.insert(bytes.end(), second.begin(), second.end());
    EXPECT_EQ(Listed(bytes), L"a/TESTHOST/sid b/TESTHOST whole");
    // A length below the header or past the bytes read, or a cut read: the listing ends there.
    for (uint32_t bad : {0u, 55u, static_cast<uint32_t>(second.size()) + 1, 0xFFFFFFFFu}) {
        std::vector<uint8_t> hostile = bytes;
        Put32(hostile, first.size(), bad);
        EXPECT_EQ(Listed(hostile), L"a/TESTHOST/sid cut") << bad;
    }
    EXPECT_EQ(Listed({bytes.begin(), bytes.end() - 3}), L"a/TESTHOST/sid cut");
    // A SID reaching past the record (also through a sum that would wrap) counts as absent.
    const uint32_t length = static_cast<uint32_t>(first.size());
    for (auto [size, offset] : {std::pair<uint32_t, uint32_t>{12, length - 8}, {0xFFFFFFF0u, 64}, {8, 0xFFFFFFFCu}}) {
        std::vector<uint8_t> h = first;
        Put32(h, 40, size);
        Put32(h, 44, offset);
        EXPECT_EQ(Listed(h), L"a/TESTHOST whole") << size << L" at " << offset;
    }
    // Names that do not close inside the record are empty, though a zero follows just past it.
    std::vector<uint8_t> open(kHeaderSize + 8, 'A');
    Put32(open, 0, static_cast<uint32_t>(open.size()));
    Put32(open, 40, 0);
    open.push_back(0);
    EXPECT_EQ(Listed(open).substr(0, 2), L"/ ");

    // SID texts: an authority beyond 32 bits in hex; a cut, overlong or other revision's SID has none.
    EXPECT_EQ(SidText(Sid(5, {21, 1004336348, 682003330, 512}).data(), 24).value_or(L""), L"S-1-5-21-1004336348-682003330-512");
    std::vector<uint8_t> wide = Sid(0xAB, {7});
    wide[2] = 0x12;  // an authority beyond 32 bits is written in hex
    EXPECT_EQ(SidText(wide.data(), wide.size()).value_or(L""), L"S-1-0x1200000000ab-7");
    std::vector<uint8_t> sid = Sid(5, {18}), many = Sid(5, std::vector<uint32_t>(16, 1));
    EXPECT_FALSE(SidText(sid.data(), 11));  // its sub-authority cut off
    EXPECT_FALSE(SidText(many.data(), many.size()));
    sid[0] = 2;
    EXPECT_FALSE(SidText(sid.data(), sid.size()));
}

TEST(EventLogReading, LongRecordsAreReadAgainWithRoomAndTheLogIsClosedOnEveryPath) {
    auto state = LogOf({Named(L"a"), Named(L"long", 300), Named(L"b"), Named(L"longer", 5000), Named(L"c")});
    std::vector<std::wstring> seen;
    EXPECT_EQ(ReadAll(state, seen), ReadEnd::Done);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"a", L"long", L"b", L"longer", L"c"}));
    EXPECT_EQ(ReadAll(state, seen, 2), ReadEnd::Stopped);
    Put32(state->records[2], 0, 20);
    EXPECT_EQ(ReadAll(state, seen), ReadEnd::Malformed);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"a", L"long"}));
    state->records[2].assign(kLargestRecord + 1, 0);  // beyond belief: no huge buffer, the end
    EXPECT_EQ(ReadAll(state, seen), ReadEnd::Done);
    EXPECT_EQ(state->closes, 4);
    state->openFails = true;
    EXPECT_EQ(ReadAll(state, seen), ReadEnd::NotOpened);
    EXPECT_EQ(state->closes, 4);
}

// What a clear that keeps the records is called is the engine's own test.
TEST_F(EventLogPage, ListsEveryRecordWithItsAccountUnderNineHeadersAndEraseClearsTheLogOrSaysItCouldNot) {
    RecordSpec system = Named(L"system", 0, Sid(5, {18}));
    system.eventId = 0x80000003;
    system.type = 2;
    auto state = LogOf({Named(L"plain"), system, Named(L"huge", 70000), Named(L"stranger", 0, Sid(5, {21, 1, 2, 4242}))});
    UseFakeEventLog fake(state);
    CEventLogVw* v = Open();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->m_list.GetItemCount(), 4);
    auto row = [&](int i) {
        std::wstring all;
        for (int c = 0; c < 9; ++c) all += v->m_list.GetItemText(i, c) + L"|";
        return all;
    };
    auto starts = [&](int i, const std::wstring& head) { EXPECT_EQ(row(i).substr(0, head.size()), head); };
    EXPECT_EQ(row(0), L"Information|plain|TESTHOST|N/A|N/A|N/A|1000|" + TimeText(315626635) + L"|" + TimeText(315626700) + L"|");
    starts(1, L"Warning|system|TESTHOST|NT AUTHORITY|SYSTEM|S-1-5-18|2147483651|");
    starts(2, L"Information|huge|");  // longer than the first buffer, and the list goes on
    starts(3, L"Information|stranger|TESTHOST||||");  // no such account: the row stays
    EXPECT_TRUE(v->m_list.GetExtendedStyle() & LVS_EX_GRIDLINES);

    state->clearFails = true;
    std::vector<SeenDialog> boxes = PressErase(v, 2);
    ASSERT_EQ(boxes.size(), 1u);  // Erase during the erase is ignored
    EXPECT_EQ(boxes[0].text, L"The event log could not be cleared.");
    EXPECT_EQ(boxes[0].icon, ::LoadIcon(nullptr, IDI_WARNING));
    EXPECT_EQ(v->m_list.GetItemCount(), 4);  // listed again, not twice
    state->clearFails = false;
    EXPECT_TRUE(PressErase(v).empty());
    EXPECT_EQ(v->m_list.GetItemCount(), 0);
    EXPECT_EQ(state->opens, state->closes);
}

TEST_F(EventLogPage, ALongLogListsInOrderAndClosingOrErasingMidwayIsSafe) {
    std::vector<RecordSpec> specs;
    for (int i = 0; i < 4000; ++i) specs.push_back(Named(L"r" + std::to_wstring(i)));
    auto state = LogOf(specs);
    state->clearEmpties = false;
    UseFakeEventLog fake(state);
    CEventLogVw* v = Open();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->m_list.GetItemCount(), 4000);
    EXPECT_EQ(v->m_list.GetItemText(3999, 1), L"r3999");
    // More rows than the worker queues unshown (8 batches of 256): each new page still lists here.
    for (int i = 0; i < 4; ++i) {
        CDocument* doc = TheApp()->OpenPage("system.event-log");
        auto* page = dynamic_cast<CEventLogVw*>(ViewOf(doc));
        ASSERT_TRUE(page && page->Listing());
        if (i % 2) {
            // Cleared but still full (as Wine's log is): not cleared, and the user is told.
            EXPECT_EQ(PressErase(page).size(), 1u);  // the first listing's queued rows never land after the emptying
            EXPECT_EQ(page->m_list.GetItemCount(), 4000);
        }
        FrameOf(doc)->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_EQ(state->opens, state->closes);
}
