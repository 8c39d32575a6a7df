// fuzz-sources: engine/PathRules.cpp
// The guard on a walk's top folder: every known folder, every folder above one and every root
// is refused, spelling the same folder with "." and ".." steps changes nothing, and a plain name
// is one path step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "PathRules.h"

using namespace engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Input: UTF-16 code units (two bytes each): the folder, then known folders, split at '\n'.
    std::vector<std::wstring> parts(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (c == L'\n') parts.emplace_back();
        else parts.back() += c;
    }
    const std::wstring& folder = parts[0];
    // A machine has a few dozen known folders; more only slows the search down.
    std::vector<std::wstring> known(parts.begin() + 1, parts.begin() + (parts.size() < 9 ? parts.size() : 9));
    bool refused = !RefusalOf(folder, known).empty();
    if (RefusalOf(folder + L"\\.\\x\\..", known).empty() == refused) abort();
    if (!refused && RefusalOf(folder, {folder}).empty()) abort();
    for (const std::wstring& k : known) {
        PathSteps steps;
        if (!SplitFullPath(k, steps)) continue;
        if (RefusalOf(k, known).empty() || RefusalOf(k + L"\\..", known).empty()) abort();
        if (RefusalOf(steps.root + L"\\", {}).empty()) abort();
    }
    // Exactly what the guard reads as a full path has an exact form to open.
    if (ExactPath(folder).empty() == IsAbsoluteFolder(folder)) abort();
    // A server is this machine in one spelling only if in every: its own name is always it.
    const std::wstring server = ServerOf(folder);
    if (server.find_first_not_of(L'.') != std::wstring::npos && (IsThisMachine(server, known) != IsThisMachine(server + L".", known) ||
                            !IsThisMachine(server, {server})))
        abort();
    if (IsPlainName(folder)) {
        PathSteps steps;
        if (SplitFullPath(L"C:\\x\\" + folder, steps) && steps.steps.size() != 2) abort();
    }
    return 0;
}
