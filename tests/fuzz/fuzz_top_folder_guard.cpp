// fuzz-sources: pages/common/WalkRules.cpp
// The guard on a walk's top folder: every known folder, every folder above one and every root
// is refused, and spelling the same folder with "." and ".." steps changes nothing.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "WalkRules.h"

using filewalk::IsRefusedTopFolder;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Input: the folder, then known folders, separated by '\n'.
    std::vector<std::wstring> parts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') parts.emplace_back();
        else parts.back() += static_cast<wchar_t>(data[i]);
    }
    std::wstring folder = parts[0];
    // A machine has a handful of guarded folders; more only slows the search down.
    std::vector<std::wstring> known(parts.begin() + 1, parts.begin() + std::min<size_t>(parts.size(), 9));
    bool refused = IsRefusedTopFolder(folder, known);
    if (IsRefusedTopFolder(folder + L"\\.\\x\\..", known) != refused) abort();
    if (!refused && !IsRefusedTopFolder(folder, {folder})) abort();
    for (const std::wstring& k : known) {
        filewalk::PathSteps steps;
        if (!filewalk::SplitFullPath(k, steps)) continue;
        if (!IsRefusedTopFolder(k, known) || !IsRefusedTopFolder(k + L"\\..", known)) abort();
        if (!IsRefusedTopFolder(steps.root + L"\\", {})) abort();
    }
    return 0;
}
