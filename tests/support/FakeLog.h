// An event log served from built records, since Wine's event log reads nothing: records are
// built byte by byte as the log hands them over, and the log counts what was asked of it. Over
// either reader's source interface (the pages' or the engine's); no window code.
#pragma once
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

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
    bool openFails = false, clearFails = false, clearEmpties = true;
    std::atomic<int> opens{0}, closes{0};
};

// A source reading the state as the platform reads a log: as many whole records as fit in the
// buffer (its names in UTF-16, as the wide read hands them over); a record that does not fit fails the read and tells the size it needs.
template <class Source>
class FakeLogSource : public Source {
public:
    explicit FakeLogSource(std::shared_ptr<FakeLogState> state) : m_state(std::move(state)) {}
    bool Open() override {
        ++m_state->opens;
        return !m_state->openFails;
    }
    bool Read(uint8_t* buf, uint32_t size, uint32_t& read, uint32_t& needed) override {
        read = needed = 0;
        const auto& all = m_state->records;
        while (m_next < all.size() && read + all[m_next].size() <= size) {
            std::memcpy(buf + read, all[m_next].data(), all[m_next].size());
            read += static_cast<uint32_t>(all[m_next++].size());
        }
        if (read > 0) return true;
        if (m_next < all.size()) needed = static_cast<uint32_t>(all[m_next].size());
        return false;
    }
    bool Clear() override {
        if (m_state->clearEmpties && !m_state->clearFails) m_state->records.clear();
        return !m_state->clearFails;
    }
    void Close() override { ++m_state->closes; }

private:
    std::shared_ptr<FakeLogState> m_state;
    size_t m_next = 0;
};

}  // namespace testkit
