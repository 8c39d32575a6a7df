// fuzz-sources: pages/common/WalkRules.cpp
// A name the walk accepts as plain, joined to a folder, must stay one step inside that folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "WalkRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string name(reinterpret_cast<const char*>(data), size);
    bool plain = filewalk::IsPlainName(name);
    filewalk::NameOf(name);
    filewalk::IsListedCacheName(name);
    filewalk::Classify(size, name.c_str());
    if (!plain) return 0;
    filewalk::PathSteps p;
    if (!filewalk::SplitFullPath("C:\\top\\" + name, p)) abort();
    if (p.root != "C:" || p.steps.size() != 2 || p.steps[0] != "top") abort();
    if (filewalk::NameOf("C:\\top\\" + name) != name) abort();
    return 0;
}
