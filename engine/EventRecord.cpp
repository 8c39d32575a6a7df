#include "EventRecord.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace engine {
namespace events {

namespace {
// The read bytes carry no alignment promise.
uint32_t U32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
uint16_t U16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The zero-terminated UTF-16 text at at, when it closes before end; at moves past its zero.
std::wstring TextAt(const uint8_t* record, size_t& at, size_t end) {
    std::wstring text;
    for (size_t i = at; i + 2 <= end; i += 2) {
        uint16_t c = U16(record + i);
        if (c == 0) {
            at = i + 2;
            return text;
        }
        text.push_back(static_cast<wchar_t>(c));
    }
    at = end;
    return {};
}

std::wstring Widen(const char* text) {
    std::wstring w;
    for (; *text; ++text) w.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*text)));
    return w;
}
}  // namespace

std::optional<EventRecord> ParseRecord(const uint8_t* bytes, size_t size) {
    if (size < kHeaderSize) return std::nullopt;
    EventRecord r;
    r.length = U32(bytes);
    if (r.length < kHeaderSize || r.length > size) return std::nullopt;
    r.generated = U32(bytes + 12);
    r.written = U32(bytes + 16);
    r.eventId = U32(bytes + 20);
    r.eventType = U16(bytes + 24);
    size_t at = kHeaderSize;
    r.source = TextAt(bytes, at, r.length);
    r.computer = TextAt(bytes, at, r.length);
    uint32_t sidSize = U32(bytes + 40), sidOffset = U32(bytes + 44);
    // Compared without adding, so that no sum wraps around.
    if (sidSize != 0 && sidOffset <= r.length && sidSize <= r.length - sidOffset) {
        r.sid = bytes + sidOffset;
        r.sidSize = sidSize;
    }
    return r;
}

const wchar_t* EventTypeName(uint16_t type) {
    switch (type) {
    case 0: return L"Success";
    case 1: return L"Error";
    case 2: return L"Warning";
    case 4: return L"Information";
    case 8: return L"Success Audit";
    case 16: return L"Failure Audit";
    default: return L"Unknown";
    }
}

bool IsValidSid(const uint8_t* sid, size_t size) {
    return sid && size >= 8 && sid[0] == 1 && sid[1] <= 15 && size >= 8 + 4u * sid[1];
}

std::optional<std::wstring> SidText(const uint8_t* sid, size_t size) {
    if (!IsValidSid(sid, size)) return std::nullopt;
    const uint8_t* a = sid + 2;  // the identifier authority, six bytes, most significant first
    char part[32];
    std::string text = "S-1-";
    if (a[0] || a[1]) {
        std::snprintf(part, sizeof part, "0x%02x%02x%02x%02x%02x%02x", a[0], a[1], a[2], a[3], a[4], a[5]);
    } else {
        unsigned long v = (unsigned long)a[2] << 24 | (unsigned long)a[3] << 16 | (unsigned long)a[4] << 8 | a[5];
        std::snprintf(part, sizeof part, "%lu", v);
    }
    text += part;
    for (unsigned i = 0; i < sid[1]; ++i) {
        std::snprintf(part, sizeof part, "-%lu", static_cast<unsigned long>(U32(sid + 8 + 4 * i)));
        text += part;
    }
    return Widen(text.c_str());
}

std::wstring TimeText(uint32_t secondsSince1970) {
    std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &t) != 0) return {};
#else
    if (!localtime_r(&t, &local)) return {};
#endif
    char text[64];
    // The asctime layout, with its day of the month written in two digits.
    size_t n = std::strftime(text, sizeof text, "%a %b %d %H:%M:%S %Y", &local);
    return Widen(std::string(text, n > 24 ? 24 : n).c_str());
}

}  // namespace events
}  // namespace engine
