// Reading and clearing the "Application" event log through one seam (open, read, clear, close),
// wide throughout, and the texts of one record as a list shows them.
#pragma once
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "EventRecord.h"

namespace engine {
namespace events {

// The log as the engine uses it. Each call stands for one platform call.
class EventLogSource {
public:
    virtual ~EventLogSource() = default;
    virtual bool Open() = 0;
    // Reads the next whole records (the wide form), oldest first, into buf. On false, needed
    // holds the size the next record needs when the buffer was too small for it, else 0.
    virtual bool Read(uint8_t* buf, uint32_t size, uint32_t& read, uint32_t& needed) = 0;
    virtual bool Clear() = 0;  // without a backup
    virtual void Close() = 0;  // called once after every Open that succeeded
};

// The source every reader gets: the machine's own log unless a test put another in.
using SourceFactory = std::function<std::unique_ptr<EventLogSource>()>;
std::unique_ptr<EventLogSource> MakeSource();
void SetSourceFactory(SourceFactory factory);  // an empty factory restores the machine's log

constexpr uint32_t kFirstBuffer = 0x10000;
// A record never needs more; a larger claim is not believed.
constexpr uint32_t kLargestRecord = 0x1000000;

enum class ReadEnd { Done, NotOpened, Malformed, Stopped };

// Hands every record of the log to fn, oldest first, until the log ends or fn returns false. A
// record longer than the buffer makes the read start again with a buffer of its size. The log is
// closed however the reading ends.
ReadEnd ReadLog(EventLogSource& log, const std::function<bool(const EventRecord&)>& fn,
                uint32_t firstBuffer = kFirstBuffer);

// The nine texts of one row: type, source, computer, domain, user, SID, event id, submit time
// and write time.
using EventRow = std::array<std::wstring, 9>;

// Makes rows, looking each user SID up once per listing.
class RowMaker {
public:
    EventRow Row(const EventRecord& r);

private:
    struct Account {
        bool found;
        std::wstring domain, name;
    };
    const Account& Lookup(const EventRecord& r);
    std::map<std::string, Account> m_accounts;
};

}  // namespace events
}  // namespace engine
