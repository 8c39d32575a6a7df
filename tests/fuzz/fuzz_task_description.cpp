// fuzz-sources: engine/TaskDefinition.cpp
// A task's description as the scheduler hands it back, which anyone may have edited: a plan is
// read only from a sound line, and a plan read once reads back the same from its own description.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "TaskDefinition.h"

using namespace engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    // Half the runs start from a sound line, so that the fields themselves get changed.
    if (size && (data[0] & 1)) text = L"sweepmere: kind=3 at=2026-12-07T18:05 dow=1 every=0 shutdown=0 keys=a" + text;
    std::optional<TaskSpec> plan = SpecFromDescription(L"n", text);
    if (!plan) return 0;
    for (const std::string& key : plan->keys)
        if (key.empty() || key.find_first_of(" ,/\\") != std::string::npos) abort();
    std::optional<TaskSpec> again = SpecFromDescription(L"n", TaskDescription(*plan));
    if (!again || TaskXml(*again, L"c", L"u", false) != TaskXml(*plan, L"c", L"u", false)) abort();
    return 0;
}
