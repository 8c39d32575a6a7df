// An event log served from built records, since Wine's event log reads nothing: records are
// built byte by byte as the log hands them over, and the log counts what was asked of it.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EventLog.h"
#include "system/EventLogReader.h"

namespace testkit {

struct RecordSpec {
    uint16_t type = 4;
    uint32_t eventId = 1000;
    uint32_t generated = 315626635;  // 1980-01-02 02:03:55 UTC
    uint32_t written = 315626700;
    std::wstring source = L"Corvane";
    std::wstring computer = L"TESTHOST";
    std::vector<uint8_t> sid;  // none when empty
    size_t dataSize = 0;
};
std::vector<uint8_t> BuildRecord(const RecordSpec& record);
void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value);
// A SID of revision 1 with the authority's last byte and the sub-authorities given.
std::vector<uint8_t> Sid(uint8_t authority, std::vector<uint32_t> subs);

// What the log holds and what it was asked. Shared by the test and the sources it hands out.
struct FakeLogState {
    std::vector<std::vector<uint8_t>> records;
    bool openFails = false, clearFails = false;
    bool clearEmpties = true;
    std::atomic<int> opens{0}, closes{0}, clears{0};
};

// A source reading the state as the platform reads a log: as many whole records as fit in the
// buffer; a record that does not fit fails the read and tells the size it needs.
class FakeEventLog : public eventlog::EventLogSource {
public:
    explicit FakeEventLog(std::shared_ptr<FakeLogState> state) : m_state(std::move(state)) {}
    bool Open() override;
    bool Read(uint8_t* buf, uint32_t size, uint32_t& read, uint32_t& needed) override;
    bool Clear() override;
    void Close() override;

private:
    std::shared_ptr<FakeLogState> m_state;
    size_t m_next = 0;
};

// The same log for the engine's readers.
class FakeEngineEventLog : public engine::events::EventLogSource {
public:
    explicit FakeEngineEventLog(std::shared_ptr<FakeLogState> state) : m_log(std::move(state)) {}
    bool Open() override { return m_log.Open(); }
    bool Read(uint8_t* buf, uint32_t size, uint32_t& read, uint32_t& needed) override {
        return m_log.Read(buf, size, read, needed);
    }
    bool Clear() override { return m_log.Clear(); }
    void Close() override { m_log.Close(); }

private:
    FakeEventLog m_log;
};

// Makes every reader of the program (pages and engine) get a FakeEventLog over state, until the guard goes.
class UseFakeEventLog {
public:
    explicit UseFakeEventLog(std::shared_ptr<FakeLogState> state);
    ~UseFakeEventLog();
};

}  // namespace testkit
