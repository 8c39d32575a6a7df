#include "EventLog.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace engine {
namespace events {

namespace {
// The machine's "Application" log.
class MachineLog : public EventLogSource {
public:
    bool Open() override {
        m_h = ::OpenEventLogW(nullptr, L"Application");
        return m_h != nullptr;
    }
    bool Read(uint8_t* buf, uint32_t size, uint32_t& read, uint32_t& needed) override {
        DWORD got = 0, more = 0;
        BOOL ok = ::ReadEventLogW(m_h, EVENTLOG_SEQUENTIAL_READ | EVENTLOG_FORWARDS_READ, 0, buf, size, &got, &more);
        read = got;
        needed = !ok && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER ? more : 0;
        return ok != FALSE;
    }
    bool Clear() override { return ::ClearEventLogW(m_h, nullptr) != FALSE; }
    void Close() override {
        ::CloseEventLog(m_h);
        m_h = nullptr;
    }

private:
    HANDLE m_h = nullptr;
};

SourceFactory& Factory() {
    static SourceFactory factory;
    return factory;
}

// Closes an opened log however the reading ends.
struct OpenLog {
    EventLogSource& log;
    ~OpenLog() { log.Close(); }
};
}  // namespace

std::unique_ptr<EventLogSource> MakeSource() {
    if (Factory()) return Factory()();
    return std::make_unique<MachineLog>();
}

void SetSourceFactory(SourceFactory factory) { Factory() = std::move(factory); }

ReadEnd ReadLog(EventLogSource& log, const std::function<bool(const EventRecord&)>& fn, uint32_t firstBuffer) {
    if (!log.Open()) return ReadEnd::NotOpened;
    OpenLog opened{log};
    std::vector<uint8_t> buf(std::max<uint32_t>(firstBuffer, 1));
    for (;;) {
        uint32_t read = 0, needed = 0;
        if (!log.Read(buf.data(), static_cast<uint32_t>(buf.size()), read, needed)) {
            // A record longer than the buffer: read it again with room for it.
            if (needed <= buf.size() || needed > kLargestRecord) return ReadEnd::Done;
            buf.resize(needed);
            continue;
        }
        if (read == 0) return ReadEnd::Done;
        bool stopped = false;
        bool whole = ForEachRecord(buf.data(), std::min<size_t>(read, buf.size()), [&](const EventRecord& r) {
            stopped = !fn(r);
            return !stopped;
        });
        if (!whole) return ReadEnd::Malformed;
        if (stopped) return ReadEnd::Stopped;
    }
}

const RowMaker::Account& RowMaker::Lookup(const EventRecord& r) {
    static const Account kNone{false, {}, {}};
    if (!IsValidSid(r.sid, r.sidSize)) return kNone;
    std::string key(reinterpret_cast<const char*>(r.sid), 8 + 4 * r.sid[1]);
    auto found = m_accounts.find(key);
    if (found != m_accounts.end()) return found->second;
    wchar_t name[261] = L"", domain[261] = L"";
    DWORD nameLen = 261, domainLen = 261;
    SID_NAME_USE use;
    // The key is an aligned copy of the SID, which lies unaligned in the read buffer.
    BOOL ok = ::LookupAccountSidW(nullptr, reinterpret_cast<PSID>(&key[0]), name, &nameLen, domain, &domainLen, &use);
    Account account = ok ? Account{true, domain, name} : kNone;
    return m_accounts.emplace(std::move(key), std::move(account)).first->second;
}

EventRow RowMaker::Row(const EventRecord& r) {
    EventRow row;
    row[0] = EventTypeName(r.eventType);
    row[1] = r.source;
    row[2] = r.computer;
    if (!r.sid) {
        row[3] = row[4] = row[5] = L"N/A";
    } else if (const Account& a = Lookup(r); a.found) {
        row[3] = a.domain;
        row[4] = a.name;
        row[5] = SidText(r.sid, r.sidSize).value_or(L"");
    }
    row[6] = std::to_wstring(r.eventId);
    row[7] = TimeText(r.generated);
    row[8] = TimeText(r.written);
    return row;
}

}  // namespace events
}  // namespace engine
