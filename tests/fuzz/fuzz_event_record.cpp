// fuzz-sources: engine/EventRecord.cpp
// Any bytes as the event log's read buffer: every record handed on lies inside the bytes, and so
// do its SID and the next record's start.
#include <cstdint>
#include <cstdlib>

#include "../../engine/EventRecord.h"

using namespace engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* end = data + size;
    const uint8_t* at = data;
    events::ForEachRecord(data, size, [&](const events::EventRecord& r) {
        if (r.length < events::kHeaderSize || r.length > size_t(end - at)) std::abort();
        if (r.sid && (r.sid < at || r.sidSize > size_t(at + r.length - r.sid))) std::abort();
        if (2 * (r.source.size() + r.computer.size()) > r.length) std::abort();
        events::SidText(r.sid, r.sidSize);
        events::EventTypeName(r.eventType);
        if (events::TimeText(r.generated).size() > 24) std::abort();
        at += r.length;
        return true;
    });
    return 0;
}
