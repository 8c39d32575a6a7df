// fuzz-sources: pages/system/EventRecords.cpp
// Any bytes as the event log's read buffer: every record handed on lies inside the bytes, and so
// do its SID and the next record's start.
#include <cstdint>
#include <cstdlib>

#include "../../pages/system/EventRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* end = data + size;
    const uint8_t* at = data;
    eventlog::ForEachRecord(data, size, [&](const eventlog::EventRecord& r) {
        if (r.length < eventlog::kHeaderSize || r.length > size_t(end - at)) std::abort();
        if (r.sid && (r.sid < at || r.sidSize > size_t(at + r.length - r.sid))) std::abort();
        if (r.source.size() + r.computer.size() > r.length) std::abort();
        eventlog::SidText(r.sid, r.sidSize);
        eventlog::EventTypeName(r.eventType);
        if (eventlog::TimeText(r.generated).size() > 24) std::abort();
        at += r.length;
        return true;
    });
    return 0;
}
