// The categories described by engine/traces/*.json: what each finds (files, values, keys),
// listed and erased through the one walk and the one registry key class, and read back after
// an erase, so that what is still there is counted as stayed.
#pragma once
#include <string>
#include <vector>

#include "Categories.h"
#include "TraceDefinitions.h"

namespace engine {

// The text of an entry whose data shows nothing it can be named by (and that is erased all the same).
extern const wchar_t kNotAPath[];

// One thing a trace category found.
struct TraceEntry {
    enum class Kind { File, Value, Key };
    Kind kind = Kind::Value;
    std::wstring path;   // File: the full path; Value: the key holding it; Key: the key (below HKCU)
    std::wstring value;  // Value: the exact name
    std::wstring text;   // as shown
    unsigned long long bytes = 0;
    size_t source = 0;   // the definition's trace that found it
    TraceSource::Show show = TraceSource::Show::Text;
    bool wholeKey = false;   // Value: the erase deletes its key whole
    bool listed = true;      // false: the erase takes it, the listing neither shows nor counts it
    std::wstring order;      // Value: the key's order value, rewritten after an erase
    std::wstring alongside;  // Value: the value that goes with it ("Item Metadata 3")
};

// The definitions embedded in this program (RCDATA resources named TRACE_*), read once. A
// definition that does not read is left out and its error kept in errors.
const std::vector<TraceDef>& TraceDefinitions(std::vector<std::wstring>* errors = nullptr);
const TraceDef* FindTraceDefinition(const std::string& key);

// What a definition finds now, in its sources' order; keys that are links are refused (a
// problem), never read through. With unlisted, also what only the erase takes.
std::vector<TraceEntry> ReadTraces(const TraceDef& def, Result* problems = nullptr, bool unlisted = false);
// Erases the entries (a value only while it still holds the text listed), then looks again:
// an entry still there stayed, with its reason.
Result EraseTraces(const std::vector<TraceEntry>& entries, const Options& options);
// Whether the entry is still there as listed.
bool StillThere(const TraceEntry& entry);

// The preview and the erase of the definition with this key; nothing when there is none.
Listing ListDefined(const std::string& key);
Result EraseDefined(const std::string& key, const Options& options);

// The category row of a definition.
Category TraceCategory(const TraceDef& def);

}  // namespace engine
