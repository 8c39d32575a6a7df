// The shell's program-use counters (UserAssist): value names are ROT13 of what was run, read
// wide and deleted by the exact name listed (an 8-bit read lists look-alikes and deletes a twin).
#include <shlobj.h>

#include "MruBytes.h"
#include "RegKey.h"
#include "Rows.h"
#include "Traces.h"

namespace engine {

namespace {
const std::wstring kUserAssist = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist";

// Newer counters name a program by a known folder's id and the rest of its path: the folder's
// own path is shown instead of the id.
std::wstring WithKnownFolder(const std::wstring& name) {
    if (name.size() < 38 || name[0] != L'{' || name[37] != L'}') return name;
    std::wstring path = rows::KnownFolderByText(name.substr(0, 38));
    return path.empty() ? name : path + name.substr(38);
}
}  // namespace

std::vector<RegistryEntry> ReadProgramUse(Result* problems) {
    std::vector<RegistryEntry> entries;
    RegKey root;
    if (!rows::OpenKey(kUserAssist, KEY_ENUMERATE_SUB_KEYS, root, problems)) return entries;
    for (const std::wstring& guid : root.SubkeyNames()) {
        std::wstring path = kUserAssist + L"\\" + guid + L"\\Count";
        RegKey key;
        if (!rows::OpenKey(path, KEY_QUERY_VALUE, key, problems)) continue;
        for (const std::wstring& name : key.ValueNames()) {
            std::wstring text = mru::Rot13(name);
            if (text.compare(0, 8, L"UEME_CTL") == 0) continue;  // the session counters, not a program
            entries.push_back({path, name, WithKnownFolder(text)});
        }
    }
    return entries;
}

Result EraseValues(const std::vector<RegistryEntry>& entries) {
    Result result;
    for (const RegistryEntry& e : entries) DeleteValue(HKEY_CURRENT_USER, e.key, e.value, result);
    return result;
}

namespace rows {

Listing ListProgramUse(const Options&) {
    Listing listing;
    for (RegistryEntry& e : ReadProgramUse(&listing.problems)) listing.items.push_back({std::move(e.text), 0});
    return listing;
}

Result EraseProgramUse(const Options&) {
    Result problems;
    Result result = EraseValues(ReadProgramUse(&problems));
    result += problems;
    return result;
}

}  // namespace rows
}  // namespace engine
