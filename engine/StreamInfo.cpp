#include "StreamInfo.h"

#include <cstdint>
#include <cstring>

namespace engine {

namespace {
constexpr size_t kNext = 0, kNameBytes = 4, kName = 24;  // offsets in an entry

uint32_t Read32(const unsigned char* at) {
    uint32_t v;
    std::memcpy(&v, at, sizeof v);  // the answer need not be aligned
    return v;
}
}  // namespace

std::vector<std::wstring> NamedStreams(const unsigned char* data, size_t size) {
    std::vector<std::wstring> names;
    for (size_t at = 0; size >= kName && at <= size - kName;) {
        const uint32_t next = Read32(data + at + kNext), bytes = Read32(data + at + kNameBytes);
        if (bytes % 2 || bytes > size - at - kName) break;
        std::wstring name;
        for (size_t i = 0; i < bytes; i += 2) name += static_cast<wchar_t>(data[at + kName + i] | data[at + kName + i + 1] << 8);
        if (name.size() > 1 && name[0] == L':' && name != L"::$DATA" && name.find_first_of(L"\\/") == std::wstring::npos)
            names.push_back(name);
        if (next == 0) break;
        at += next;
    }
    return names;
}

}  // namespace engine
