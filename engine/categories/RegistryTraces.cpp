// The lists Windows keeps of recently used things in the registry: the last key the registry
// editor opened, the mapped network drives, the Run dialog's history and the search
// auto-complete lists.
#include "MruBytes.h"
#include "RegKey.h"
#include "Rows.h"
#include "Traces.h"

namespace engine {

namespace {
const wchar_t kRegeditKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
const wchar_t kMapDriveKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Map Network Drive MRU";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const wchar_t* const kAutoCompleteKeys[2] = {L"Software\\Microsoft\\Search Assistant\\ACMru\\5603",
                                             L"Software\\Microsoft\\Search Assistant\\ACMru\\5604"};

// One value's text; false when the key or the value is not there (or the key is a link).
bool Read(const wchar_t* path, const std::wstring& name, std::wstring& text) {
    RegKey key;
    text.clear();
    return rows::OpenKey(path, KEY_QUERY_VALUE, key, nullptr) && key.ReadString(name, text);
}

std::wstring Text(const wchar_t* path, const std::wstring& name) {
    std::wstring text;
    Read(path, name, text);
    return text;
}
}  // namespace

std::vector<TraceGroup> ReadRegistryTraces() {
    std::vector<TraceGroup> groups;
    std::wstring text;
    groups.push_back({L"Last Opened Registry Key", {}});
    if (Read(kRegeditKey, L"LastKey", text)) groups.back().texts.push_back(text);

    // A letter without its value still shows, as an empty text.
    groups.push_back({L"Mapped Network Drive List", {}});
    for (const std::wstring& name : mru::NamesFromList(Text(kMapDriveKey, L"MRUList")))
        groups.back().texts.push_back(Text(kMapDriveKey, name));

    groups.push_back({L"Run List", {}});
    for (const std::wstring& name : mru::NamesFromList(Text(kRunKey, L"MRUList"))) {
        if (!Read(kRunKey, name, text)) break;
        groups.back().texts.push_back(mru::RunEntryText(text));
    }

    groups.push_back({L"Start Menu Auto Complete(Computers,Files.Movies etc..)", {}});
    for (int n = 0; n <= 999; ++n) {
        std::wstring name = mru::ThreeDigitName(n);
        std::wstring first = Text(kAutoCompleteKeys[0], name), second;
        if (!Read(kAutoCompleteKeys[1], name, second)) break;
        groups.back().texts.push_back(first);
        groups.back().texts.push_back(second);
    }
    return groups;
}

namespace rows {

Listing ListRegistryTraces(const Options&) {
    Listing listing;
    for (const TraceGroup& g : ReadRegistryTraces())
        for (const std::wstring& t : g.texts) listing.items.push_back({g.heading + L": " + t, 0});
    return listing;
}

// The Run list's "MRUList" stays; the mapped drives' goes with its entries.
Result EraseRegistryTraces(const Options&) {
    Result result;
    for (const wchar_t* key : kAutoCompleteKeys) DeleteKeyTree(HKEY_CURRENT_USER, key, result);
    DeleteValue(HKEY_CURRENT_USER, kRegeditKey, L"LastKey", result);
    for (const std::wstring& name : mru::NamesFromList(Text(kRunKey, L"MRUList")))
        DeleteValue(HKEY_CURRENT_USER, kRunKey, name, result);
    for (const std::wstring& name : mru::NamesFromList(Text(kMapDriveKey, L"MRUList")))
        DeleteValue(HKEY_CURRENT_USER, kMapDriveKey, name, result);
    DeleteValue(HKEY_CURRENT_USER, kMapDriveKey, L"MRUList", result);
    return result;
}

}  // namespace rows
}  // namespace engine
