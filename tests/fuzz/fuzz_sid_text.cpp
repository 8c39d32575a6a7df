// fuzz-sources: engine/EventRecord.cpp
// Any bytes as a SID: a text only for a valid one, "S-1-" and one part per sub-authority.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../../engine/EventRecord.h"

using namespace engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::optional<std::wstring> text = events::SidText(data, size);
    if (text.has_value() != events::IsValidSid(data, size)) std::abort();
    if (!text) return 0;
    size_t dashes = 0;
    for (wchar_t c : *text) dashes += c == L'-';
    if (text->compare(0, 4, L"S-1-") != 0 || dashes != 2u + data[1]) std::abort();
    return 0;
}
