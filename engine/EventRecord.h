// Event log records as the wide read of the log hands them over, read with bounds checks, and the
// texts shown for them. Pure: no window, no Win32 call; the bytes come from wherever they were read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace engine {
namespace events {

// The fixed part of a record (length, numbers, times, identifier, type, offsets), before its
// source name.
constexpr size_t kHeaderSize = 56;

struct EventRecord {
    uint32_t length = 0;     // where the next record starts, counted from this one
    uint32_t eventId = 0;
    uint32_t generated = 0;  // seconds since 1970, UTC
    uint32_t written = 0;
    uint16_t eventType = 0;
    std::wstring source;     // UTF-16 as read; empty when not closed inside the record
    std::wstring computer;
    const uint8_t* sid = nullptr;  // inside the read bytes; null when the record has none
    size_t sidSize = 0;
};

// The record at the start of bytes. None when the bytes hold no whole record: a length below the
// header or past the end of the bytes ends the listing. A name, user SID or offset that reaches
// outside the record counts as absent.
std::optional<EventRecord> ParseRecord(const uint8_t* bytes, size_t size);

// Hands each record of one read to fn, in order, while fn returns true. False when a record that
// is not whole ended it.
template <class Fn>
bool ForEachRecord(const uint8_t* bytes, size_t size, Fn&& fn) {
    size_t at = 0;
    while (at < size) {
        std::optional<EventRecord> r = ParseRecord(bytes + at, size - at);
        if (!r) return false;
        if (!fn(*r)) return true;
        at += r->length;
    }
    return true;
}

// "Success", "Error", ... or "Unknown".
const wchar_t* EventTypeName(uint16_t type);

// A SID as the account functions take it: revision 1, at most 15 sub-authorities, all of them
// inside size.
bool IsValidSid(const uint8_t* sid, size_t size);
// "S-1-5-18" and the like; none for a SID that is not valid.
std::optional<std::wstring> SidText(const uint8_t* sid, size_t size);

// Local time in the asctime form without its line end ("Wed Jan 02 02:03:55 1980"); empty when
// the time cannot be converted.
std::wstring TimeText(uint32_t secondsSince1970);

}  // namespace events
}  // namespace engine
