// fuzz-sources: pages/common/WalkRules.cpp
// A name the walk accepts as plain, joined to a folder, must stay one step inside that folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "WalkRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring name;  // two bytes a UTF-16 unit, lone surrogates included
    for (size_t i = 0; i + 1 < size; i += 2) name.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    bool plain = filewalk::IsPlainName(name);
    filewalk::NameOf(name);
    filewalk::IsListedCacheName(name);
    filewalk::Classify(size, name.c_str());
    if (!plain) return 0;
    filewalk::PathSteps p;
    if (!filewalk::SplitFullPath(L"C:\\top\\" + name, p)) abort();
    if (p.root != L"C:" || p.steps.size() != 2 || p.steps[0] != L"top") abort();
    if (filewalk::NameOf(L"C:\\top\\" + name) != name) abort();
    return 0;
}
