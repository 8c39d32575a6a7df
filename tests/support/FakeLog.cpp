#include "FakeLog.h"

namespace testkit {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

std::vector<uint8_t> BuildRecord(const RecordSpec& s) {
    std::vector<uint8_t> b(56);  // the fixed part of a record
    for (const std::wstring* text : {&s.source, &s.computer})
        for (wchar_t c : *text + L'\0') b.insert(b.end(), {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>(c >> 8)});
    b.resize((b.size() + 3) & ~size_t(3));
    size_t sidAt = b.size();
    b.insert(b.end(), s.sid.begin(), s.sid.end());
    size_t dataAt = b.size();
    b.resize(b.size() + s.dataSize, 0xAB);
    b.resize(((b.size() + 3) & ~size_t(3)) + 4);  // closed by a copy of the length
    uint32_t length = static_cast<uint32_t>(b.size());
    Put32(b, 0, length);
    Put32(b, 4, 0x654c664c);
    Put32(b, 12, s.generated);
    Put32(b, 16, s.written);
    Put32(b, 20, s.eventId);
    std::memcpy(b.data() + 24, &s.type, 2);
    Put32(b, 40, static_cast<uint32_t>(s.sid.size()));
    Put32(b, 44, static_cast<uint32_t>(s.sid.empty() ? 0 : sidAt));
    Put32(b, 48, static_cast<uint32_t>(s.dataSize));
    Put32(b, 52, static_cast<uint32_t>(dataAt));
    Put32(b, length - 4, length);
    return b;
}

std::vector<uint8_t> Sid(uint8_t authority, std::vector<uint32_t> subs) {
    std::vector<uint8_t> b{1, static_cast<uint8_t>(subs.size()), 0, 0, 0, 0, 0, authority};
    b.resize(8 + 4 * subs.size());
    if (!subs.empty()) std::memcpy(b.data() + 8, subs.data(), 4 * subs.size());  // little-endian, as a SID keeps them
    return b;
}

}  // namespace testkit
