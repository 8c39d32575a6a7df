// The registry lists behind the Open File History and MFU pages: what each holds, read into rows
// that remember their value, and erased value by value.
#pragma once
#include <string>
#include <vector>

#include "EraseResult.h"

// One listed entry: the value it comes from (below HKEY_CURRENT_USER) and the text shown for it.
struct RegistryEntry {
    std::wstring key;
    std::wstring value;
    std::wstring text;
};

namespace openfiles {
// The common file dialogs' history of files and folders, each list in its most-recent order.
std::vector<RegistryEntry> Read();
// Deletes every entry of those lists and rewrites each list's order value to name what remains.
EraseResult Erase();
}  // namespace openfiles

namespace programuse {
// The shell's program-use counters, their names decoded; the counters' own bookkeeping values
// are not listed.
std::vector<RegistryEntry> Read();
// Deletes the entries given (those Read gave).
EraseResult Erase(const std::vector<RegistryEntry>& entries);
}  // namespace programuse
