// fuzz-sources: engine/MruBytes.cpp
// The decoders of the recently-used lists take registry data as it comes: any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../../engine/MruBytes.h"

using namespace engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<unsigned char> bytes(data, data + size);
    size_t listSize = mru::ItemIdListSize(data, size);
    if (listSize > size) abort();
    mru::ProgramAndList e = mru::SplitProgramAndList(bytes);
    if (e.listSize && e.listOffset + e.listSize > size) abort();
    std::vector<uint32_t> order = mru::OrderFromListEx(bytes);
    if (mru::OrderFromListEx(mru::ListExFrom(order)) != order) abort();
    mru::Utf16Strings(bytes);
    if (mru::Utf16Text(bytes, 0).size() * 2 > size) abort();
    mru::Utf16Text(bytes, size % 7);
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    if (mru::Rot13(mru::Rot13(text)) != text) abort();
    mru::RunEntryText(text);
    return 0;
}
