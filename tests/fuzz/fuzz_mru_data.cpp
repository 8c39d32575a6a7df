// fuzz-sources: pages/system/MruData.cpp
// The decoders of the recently-used lists take registry data as it comes: any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../../pages/system/MruData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<unsigned char> bytes(data, data + size);
    size_t listSize = mru::ItemIdListSize(data, size);
    if (listSize > size) abort();
    mru::ProgramAndList e = mru::SplitProgramAndList(bytes);
    if (e.listSize && e.listOffset + e.listSize > size) abort();
    std::vector<uint32_t> order = mru::OrderFromListEx(bytes);
    if (mru::OrderFromListEx(mru::ListExFrom(order)) != order) abort();
    mru::Utf16Strings(bytes);
    std::wstring text(bytes.begin(), bytes.end());
    if (mru::Rot13(mru::Rot13(text)) != text) abort();
    mru::RunEntryText(text);
    return 0;
}
