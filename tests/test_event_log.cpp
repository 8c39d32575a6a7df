// The event log page: records read with bounds checks from built bytes, SID and time texts, the
// reading over the log's seam (long records, failures, closing), and the page that lists on a
// worker and clears the log. Wine's event log reads nothing, so the log is the test's own.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "AppHarness.h"
#include "FakeEventLog.h"
#include "TestKit.h"
#include "resource.h"
#include "system/EventLogVw.h"

using namespace testkit;
using namespace eventlog;

namespace {
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

std::vector<uint8_t> Join(const std::vector<std::vector<uint8_t>>& parts) {
    std::vector<uint8_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::vector<std::string> Sources(const std::vector<uint8_t>& bytes, bool* whole = nullptr) {
    std::vector<std::string> seen;
    bool w = ForEachRecord(bytes.data(), bytes.size(), [&](const EventRecord& r) {
        seen.push_back(r.source);
        return true;
    });
    if (whole) *whole = w;
    return seen;
}
}  // namespace

TEST(EventRecordParsing, ReadsFieldsAndEndsAtARecordThatIsNotWhole) {
    RecordSpec spec;
    spec.type = 16;
    spec.eventId = 0xC0000005;
    spec.sid = Sid(5, {18});
    std::vector<uint8_t> b = BuildRecord(spec);
    std::optional<EventRecord> r = ParseRecord(b.data(), b.size());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->source, "Corvane");
    EXPECT_EQ(r->computer, "TESTHOST");
    EXPECT_EQ(r->eventId, 0xC0000005u);
    EXPECT_STREQ(EventTypeName(r->eventType), "Failure Audit");
    ASSERT_EQ(r->sidSize, 12u);
    EXPECT_EQ(SidText(r->sid, r->sidSize).value_or("none"), "S-1-5-18");

    RecordSpec other;
    other.source = "second";
    std::vector<uint8_t> two = Join({b, BuildRecord(other)});
    bool whole = false;
    EXPECT_EQ(Sources(two, &whole), (std::vector<std::string>{"Corvane", "second"}));
    EXPECT_TRUE(whole);

    // A length below the header, past the bytes read, or a cut read: the listing ends there.
    for (uint32_t bad : {0u, 20u, 55u, static_cast<uint32_t>(two.size()) + 1, 0xFFFFFFFFu}) {
        std::vector<uint8_t> hostile = two;
        Put32(hostile, b.size(), bad);
        EXPECT_EQ(Sources(hostile, &whole), std::vector<std::string>{"Corvane"}) << bad;
        EXPECT_FALSE(whole) << bad;
    }
    std::vector<uint8_t> cut(two.begin(), two.end() - 3);
    EXPECT_EQ(Sources(cut, &whole).size(), 1u);
    EXPECT_FALSE(whole);
    EXPECT_FALSE(ParseRecord(b.data(), 40));
}

TEST(EventRecordParsing, NamesAndSidOutsideTheRecordCountAsAbsent) {
    RecordSpec spec;
    spec.sid = Sid(5, {18});
    std::vector<uint8_t> b = BuildRecord(spec);
    const uint32_t length = static_cast<uint32_t>(b.size());
    for (auto [size, offset] : {std::pair<uint32_t, uint32_t>{12, length - 8}, {12, length + 4}, {0xFFFFFFF0u, 64},
                                {8, 0xFFFFFFFCu}}) {
        std::vector<uint8_t> h = b;
        Put32(h, 40, size);
        Put32(h, 44, offset);
        std::optional<EventRecord> r = ParseRecord(h.data(), h.size());
        ASSERT_TRUE(r);
        EXPECT_EQ(r->sid, nullptr) << size << " at " << offset;
    }
    // Names that never close inside the record are empty; nothing past the record is read.
    std::vector<uint8_t> open(eventlog::kHeaderSize + 8, 'A');
    Put32(open, 0, static_cast<uint32_t>(open.size()));
    Put32(open, 40, 0);
    open.push_back(0);  // a zero just past the record's end
    std::optional<EventRecord> r = ParseRecord(open.data(), open.size());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->source, "");
    EXPECT_EQ(r->computer, "");
}

TEST(EventTexts, SidTextTypeNamesAndTimes) {
    EXPECT_EQ(SidText(Sid(5, {21, 1004336348, 1177238915, 682003330, 512}).data(), 28).value_or(""),
              "S-1-5-21-1004336348-1177238915-682003330-512");
    EXPECT_EQ(SidText(Sid(1, {}).data(), 8).value_or("none"), "S-1-1");
    std::vector<uint8_t> wide = Sid(0, {7});
    wide[2] = 0x12;  // an authority beyond 32 bits is written in hex
    wide[7] = 0xAB;
    EXPECT_EQ(SidText(wide.data(), wide.size()).value_or(""), "S-1-0x1200000000ab-7");
    std::vector<uint8_t> big = Sid(0, {1});
    big[4] = 0xFF;  // the last four bytes as one big-endian number
    EXPECT_EQ(SidText(big.data(), big.size()).value_or(""), "S-1-4278190080-1");

    std::vector<uint8_t> sid = Sid(5, {18});
    EXPECT_FALSE(SidText(sid.data(), 11));  // a sub-authority cut off
    EXPECT_FALSE(SidText(sid.data(), 7));
    sid[0] = 2;
    EXPECT_FALSE(SidText(sid.data(), sid.size()));
    std::vector<uint8_t> many = Sid(5, std::vector<uint32_t>(16, 1));
    EXPECT_FALSE(SidText(many.data(), many.size()));

    for (uint16_t t : {3, 5, 32, 0xFFFF}) EXPECT_STREQ(EventTypeName(t), "Unknown") << t;
    EXPECT_STREQ(EventTypeName(0), "Success");
    EXPECT_STREQ(EventTypeName(8), "Success Audit");

    for (uint32_t t : {0u, 315626635u, 0x7FFFFFFFu}) {
        std::time_t tt = t;
        std::string expected(std::asctime(std::localtime(&tt)), 24);
        EXPECT_EQ(TimeText(t), expected) << t;
    }
}

namespace {
std::shared_ptr<FakeLogState> LogOf(std::vector<RecordSpec> specs) {
    auto state = std::make_shared<FakeLogState>();
    for (const RecordSpec& s : specs) state->records.push_back(BuildRecord(s));
    return state;
}

RecordSpec Named(const std::string& source, size_t dataSize = 0) {
    RecordSpec s;
    s.source = source;
    s.dataSize = dataSize;
    return s;
}

ReadEnd ReadAll(const std::shared_ptr<FakeLogState>& state, std::vector<std::string>& seen, uint32_t buffer,
                size_t stopAfter = SIZE_MAX) {
    FakeEventLog log(state);
    return ReadLog(log, [&](const EventRecord& r) {
        seen.push_back(r.source);
        return seen.size() < stopAfter;
    }, buffer);
}
}  // namespace

TEST(EventLogReading, ALongRecordIsReadWithABiggerBufferAndTheLogIsAlwaysClosed) {
    auto state = LogOf({Named("a"), Named("long", 300), Named("b"), Named("longer", 5000), Named("c")});
    std::vector<std::string> seen;
    EXPECT_EQ(ReadAll(state, seen, 255), ReadEnd::Done);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "long", "b", "longer", "c"}));
    EXPECT_EQ(state->closes, 1);

    seen.clear();
    EXPECT_EQ(ReadAll(state, seen, 255, 2), ReadEnd::Stopped);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(state->closes, 2);

    auto hostile = LogOf({Named("a"), Named("b")});
    Put32(hostile->records[1], 0, 20);
    seen.clear();
    EXPECT_EQ(ReadAll(hostile, seen, 4096), ReadEnd::Malformed);
    EXPECT_EQ(seen, std::vector<std::string>{"a"});
    EXPECT_EQ(hostile->closes, 1);

    // A record beyond any believable size ends the listing instead of a huge allocation.
    auto huge = LogOf({Named("a")});
    huge->records.push_back(std::vector<uint8_t>(kLargestRecord + 1));
    seen.clear();
    EXPECT_EQ(ReadAll(huge, seen, 4096), ReadEnd::Done);
    EXPECT_EQ(seen, std::vector<std::string>{"a"});
    EXPECT_EQ(huge->closes, 1);

    auto closed = LogOf({Named("a")});
    closed->openFails = true;
    EXPECT_EQ(ReadAll(closed, seen, 4096), ReadEnd::NotOpened);
    EXPECT_EQ(closed->closes, 0);
}

TEST(EventLogReading, ClearingReportsFailureAndClosesTheLog) {
    auto state = LogOf({Named("a")});
    FakeEventLog log(state);
    state->clearFails = true;
    EXPECT_FALSE(ClearLog(log));
    state->clearFails = false;
    EXPECT_TRUE(ClearLog(log));
    EXPECT_EQ(state->closes, 2);
    state->openFails = true;
    EXPECT_FALSE(ClearLog(log));
    EXPECT_EQ(state->clears, 2);
    EXPECT_EQ(state->closes, 2);
}

namespace {
const char kCaption[] = "Corvane-Sweepmere";

class EventLogPage : public ::testing::Test {
protected:
    void TearDown() override { CloseAllPages(); }
    static CEventLogVw* Open() {
        auto* view = dynamic_cast<CEventLogVw*>(ViewOf(StartApp()->OpenPage(PageId::EventLog)));
        if (view) PumpUntil([&] { return !view->Listing(); });
        Pump();
        return view;
    }
    static std::vector<std::string> Row(CEventLogVw* v, int i) {
        std::vector<std::string> row;
        for (int c = 0; c < 9; ++c) row.push_back(v->m_list.GetItemText(i, c));
        return row;
    }
    static std::vector<SeenDialog> PressErase(CEventLogVw* v) {
        DialogAnswerer box(kCaption);
        v->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_EVENTLOG_ERASE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(v->m_hWnd, IDC_EVENTLOG_ERASE)));
        PumpUntil([&] { return !v->Listing(); });
        Pump();
        return box.Seen();
    }
};
}  // namespace

TEST_F(EventLogPage, ListsEveryRecordWithItsAccountAndNineHeaders) {
    RecordSpec system;
    system.sid = Sid(5, {18});
    system.eventId = 0x80000003;
    system.type = 2;
    RecordSpec unknownSid;
    unknownSid.sid = Sid(5, {21, 1, 2, 3, 4242});
    auto state = LogOf({Named("plain"), system, Named("huge", 70000), unknownSid});
    UseFakeEventLog fake(state);
    CEventLogVw* v = Open();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->m_list.GetItemCount(), 4);
    EXPECT_EQ(Row(v, 0), (std::vector<std::string>{"Information", "plain", "TESTHOST", "N/A", "N/A", "N/A", "1000",
                                                   TimeText(315626635), TimeText(315626700)}));
    std::vector<std::string> sys = Row(v, 1);
    EXPECT_EQ(sys[0], "Warning");
    EXPECT_EQ(sys[3], "NT AUTHORITY");
    EXPECT_EQ(sys[4], "SYSTEM");
    EXPECT_EQ(sys[5], "S-1-5-18");
    EXPECT_EQ(sys[6], "2147483651");
    EXPECT_EQ(Row(v, 2)[1], "huge");  // longer than the first buffer, and the list goes on
    std::vector<std::string> unknown = Row(v, 3);
    EXPECT_EQ(unknown[3] + unknown[4] + unknown[5], "");  // the lookup failed: the row stays, empty there

    HWND header = ListView_GetHeader(v->m_list.m_hWnd);
    EXPECT_EQ(Header_GetItemCount(header), 9);
    EXPECT_EQ(v->m_list.GetColumnWidth(8), 150);
    EXPECT_TRUE(v->m_list.GetExtendedStyle() & LVS_EX_GRIDLINES);
    EXPECT_EQ(state->opens, state->closes);
}

TEST_F(EventLogPage, EraseClearsTheLogAndListsItAgainOrSaysItCouldNot) {
    auto state = LogOf({Named("a"), Named("b")});
    UseFakeEventLog fake(state);
    state->clearFails = true;
    CEventLogVw* v = Open();
    ASSERT_NE(v, nullptr);
    std::vector<SeenDialog> boxes = PressErase(v);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The event log could not be cleared.");
    EXPECT_EQ(v->m_list.GetItemCount(), 2);  // listed again, not twice
    EraseResult r = CEventLogVw::EraseWithoutWindow();
    EXPECT_EQ(r.failed, 1u);
    EXPECT_EQ(r.firstReason, "The event log could not be cleared.");

    state->clearFails = false;
    EXPECT_TRUE(PressErase(v).empty());
    EXPECT_EQ(v->m_list.GetItemCount(), 0);
    EXPECT_EQ(state->clears, 3);
    EXPECT_EQ(state->opens, state->closes);
    state->records.push_back(BuildRecord(Named("new")));
    r = CEventLogVw::EraseWithoutWindow();
    EXPECT_TRUE(r.Complete());
    EXPECT_EQ(r.erased, 1u);
    EXPECT_TRUE(state->records.empty());
}

TEST_F(EventLogPage, ALongLogListsInOrderAndClosingOrErasingMidwayIsSafe) {
    std::vector<RecordSpec> specs;
    for (int i = 0; i < 4000; ++i) specs.push_back(Named("r" + std::to_string(i)));
    auto state = LogOf(specs);
    state->clearEmpties = false;
    UseFakeEventLog fake(state);
    CEventLogVw* v = Open();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->m_list.GetItemCount(), 4000);
    EXPECT_EQ(v->m_list.GetItemText(3999, 1), "r3999");
    EXPECT_EQ(v->m_list.GetItemText(1234, 1), "r1234");
    PressErase(v);  // erased while nothing lists: listed once more, whole
    EXPECT_EQ(v->m_list.GetItemCount(), 4000);

    // More rows than the worker queues unshown: each new page is still listing here.
    for (int i = 0; i < 6; ++i) {
        CDocument* doc = TheApp()->OpenPage(PageId::EventLog);
        auto* page = dynamic_cast<CEventLogVw*>(ViewOf(doc));
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(page->Listing());
        if (i % 2) {
            PressErase(page);  // the first listing's queued rows never land after the emptying
            EXPECT_EQ(page->m_list.GetItemCount(), 4000);
        }
        FrameOf(doc)->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_EQ(state->opens, state->closes);
}
