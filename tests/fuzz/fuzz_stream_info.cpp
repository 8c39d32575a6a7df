// fuzz-sources: engine/StreamInfo.cpp
// A file's stream list as the system answers it: any bytes, never read past their end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../../engine/StreamInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const std::wstring& name : engine::NamedStreams(data, size))
        if (name.size() < 2 || name[0] != L':' || name == L"::$DATA" || name.size() * 2 > size) abort();
    return 0;
}
