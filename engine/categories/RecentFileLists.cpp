// The recent-file lists of applications: values named by a pattern ("File1" ... "File20") in the
// application's key. Erase goes value by value, by the exact name listed; the application's key
// itself is never deleted, and a key that is a registry link is never read or written through.
#include "MruBytes.h"
#include "RegKey.h"
#include "Rows.h"
#include "Traces.h"

namespace engine {

const std::vector<RecentFileList>& RecentFileLists() {
    static const std::vector<RecentFileList> lists{
        {"apps.access", L"Software\\Microsoft\\Office\\11.0\\Access\\Settings", L"MRU%d", 1, 20, false},
        {"apps.excel", L"Software\\Microsoft\\Office\\11.0\\Excel\\Recent Files", L"File%d", 1, 20, false},
        {"apps.powerpoint", L"Software\\Microsoft\\Office\\11.0\\PowerPoint\\Recent File List", L"File%d", 1, 20, false},
        {"apps.winzip", L"Software\\Nico Mak Computing\\WinZip\\filemenu", L"filemenu%d", 1, 20, true},
        {"apps.paint", L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", L"File%d", 1, 20, false},
        {"apps.media-player", L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", L"File%d", 0, 20, true},
        {"apps.mmc", L"Software\\Microsoft\\Microsoft Management Console\\Recent File List", L"File%d", 1, 20, true},
        {"apps.wordpad", L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List", L"File%d", 1, 20, false},
    };
    return lists;
}

const RecentFileList* FindRecentFileList(const std::string& category) {
    for (const RecentFileList& l : RecentFileLists())
        if (category == l.category) return &l;
    return nullptr;
}

std::vector<RegistryEntry> ReadRecentFiles(const RecentFileList& list, Result* problems) {
    std::vector<RegistryEntry> entries;
    RegKey key;
    if (!rows::OpenKey(list.key, KEY_QUERY_VALUE, key, problems)) return entries;
    for (int n = list.first; n <= list.last; ++n) {
        std::wstring name = mru::NumberedName(list.pattern, n), text;
        if (key.ReadString(name, text))
            entries.push_back({list.key, name, text});
        else if (list.stopAtFirstMissing)
            break;
    }
    return entries;
}

Result EraseRecentFiles(const std::vector<RegistryEntry>& entries) {
    Result result;
    for (const RegistryEntry& e : entries) {
        RegKey key;
        std::wstring now;
        if (!rows::OpenKey(e.key, KEY_QUERY_VALUE | KEY_SET_VALUE, key, &result)) continue;
        // Renumbered since it was listed: the value now holds another file, which stays.
        if (!key.ReadString(e.value, now) || now != e.text) continue;
        DeleteValue(HKEY_CURRENT_USER, e.key, e.value, result);
    }
    return result;
}

namespace rows {

Listing ListRecentFiles(const std::string& category, const Options&) {
    Listing listing;
    if (const RecentFileList* list = FindRecentFileList(category))
        for (RegistryEntry& e : ReadRecentFiles(*list, &listing.problems)) listing.items.push_back({std::move(e.text), 0});
    return listing;
}

Result EraseRecentFiles(const std::string& category, const Options&) {
    const RecentFileList* list = FindRecentFileList(category);
    if (!list) return {};
    Result problems;
    std::vector<RegistryEntry> entries = ReadRecentFiles(*list, &problems);
    Result result = engine::EraseRecentFiles(entries);
    result += problems;
    return result;
}

}  // namespace rows
}  // namespace engine
