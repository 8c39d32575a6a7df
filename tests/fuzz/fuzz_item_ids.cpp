// fuzz-sources: engine/ItemIdList.cpp
// Item-ID lists come from the registry as any bytes: the decoder stays inside them and its
// names stay short, whatever a list claims.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../../engine/ItemIdList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring plain = engine::itemids::PathText(data, size);
    std::wstring named = engine::itemids::PathText(
        data, size, [](const std::wstring& guid) -> std::wstring { return guid[1] == L'3' ? L"C:\\known" : L""; });
    // Every character comes from the data or from a name: never more than a few per byte.
    if (plain.size() > 4 * size + 64 || named.size() > 64 * size + 64) abort();
    if (plain.find(L'\0') != std::wstring::npos) abort();
    return 0;
}
