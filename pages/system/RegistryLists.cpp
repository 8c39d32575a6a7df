#include "RegistryLists.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "MruData.h"
#include "RegistryErase.h"

namespace {
const wchar_t kComDlg[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\";
const wchar_t kUserAssist[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist";

// How one list names the order of its entries and what an entry's data is.
enum class Order { Letters, Numbers };  // "MRUList" text, or "MRUListEx" numbers
enum class Data { Path, ItemIds, ProgramThenPath, ProgramThenItemIds };
struct DialogList {
    const wchar_t* key;   // below ComDlg32
    bool perType;      // one list in the key itself and one per file type below it
    Order order;
    Data data;
};
const DialogList kDialogLists[] = {
    {L"OpenSavePidlMRU", true, Order::Numbers, Data::ItemIds},
    {L"OpenSaveMRU", true, Order::Letters, Data::Path},
    {L"LastVisitedPidlMRU", false, Order::Numbers, Data::ProgramThenItemIds},
    {L"LastVisitedMRU", false, Order::Letters, Data::ProgramThenPath},
};

// Newer counters name a program by a known folder's id and the rest of its path: the folder's
// own path is shown instead of the id.
std::wstring WithKnownFolder(const std::wstring& name) {
    if (name.size() < 38 || name[0] != '{' || name[37] != '}') return name;
    std::wstring id(name.begin(), name.begin() + 38);
    GUID folder{};
    PWSTR path = nullptr;
    std::wstring result = name;
    if (SUCCEEDED(::CLSIDFromString(id.c_str(), &folder)) && SUCCEEDED(::SHGetKnownFolderPath(folder, 0, nullptr, &path))) {
        result = path + name.substr(38);
    }
    ::CoTaskMemFree(path);
    return result;
}

const wchar_t* OrderValue(Order o) { return o == Order::Letters ? L"MRUList" : L"MRUListEx"; }

std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

// The path (or, for what is not a file, the shell's name) of a checked item-id list.
std::wstring ItemIdsText(const unsigned char* data, size_t size) {
    if (size == 0) return {};
    auto* pidl = static_cast<LPITEMIDLIST>(::CoTaskMemAlloc(size));  // aligned, as the shell expects
    if (!pidl) return {};
    memcpy(pidl, data, size);
    wchar_t text[MAX_PATH] = L"";
    if (!::SHGetPathFromIDListW(pidl, text)) {
        IShellFolder* desktop = nullptr;
        STRRET name{};
        if (SUCCEEDED(::SHGetDesktopFolder(&desktop)) &&
            SUCCEEDED(desktop->GetDisplayNameOf(pidl, SHGDN_FORPARSING, &name)))
            ::StrRetToBufW(&name, pidl, text, MAX_PATH);
        if (desktop) desktop->Release();
    }
    ::CoTaskMemFree(pidl);
    return text;
}

// The zero-separated 8-bit strings of a text value.
std::vector<std::wstring> NarrowStrings(const std::vector<unsigned char>& data) {
    std::vector<std::wstring> strings(1);
    for (unsigned char c : data) {
        if (c)
            strings.back().push_back(static_cast<wchar_t>(c));
        else
            strings.emplace_back();
    }
    return strings;
}

// The n-th zero-separated string of a value: 8-bit for text types, UTF-16 for binary data.
std::wstring NthString(const std::vector<unsigned char>& data, DWORD type, size_t n) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::vector<std::wstring> parts = NarrowStrings(data);
        return n < parts.size() ? parts[n] : std::wstring();
    }
    std::vector<std::u16string> parts = mru::Utf16Strings(data);
    return n < parts.size() ? ToWide(parts[n]) : std::wstring();
}

std::wstring EntryText(Data kind, const std::vector<unsigned char>& data, DWORD type) {
    switch (kind) {
    case Data::Path:
        return NthString(data, type, 0);
    case Data::ProgramThenPath:
        return NthString(data, type, 1);
    case Data::ItemIds:
        return ItemIdsText(data.data(), mru::ItemIdListSize(data.data(), data.size()));
    case Data::ProgramThenItemIds: {
        mru::ProgramAndList e = mru::SplitProgramAndList(data);
        return ItemIdsText(data.data() + e.listOffset, e.listSize);
    }
    }
    return {};
}

// The entry value names of one list, in its order.
std::vector<std::wstring> EntryNames(const std::wstring& key, Order order) {
    std::vector<unsigned char> data;
    if (!regerase::ReadValue(HKEY_CURRENT_USER, key, OrderValue(order), data)) return {};
    if (order == Order::Letters) {
        return mru::NamesFromList(NarrowStrings(data)[0]);
    }
    std::vector<std::wstring> names;
    for (uint32_t n : mru::OrderFromListEx(data)) names.push_back(std::to_wstring(n));
    return names;
}

// The keys that hold the lists of one kind.
std::vector<std::wstring> ListKeys(const DialogList& list) {
    std::wstring key = std::wstring(kComDlg) + list.key;
    std::vector<std::wstring> keys{key};
    if (list.perType)
        for (const std::wstring& sub : regerase::SubkeyNames(HKEY_CURRENT_USER, key)) keys.push_back(key + L"\\" + sub);
    return keys;
}

// Rewrites a list's order value to name only the entries still there.
void KeepOrderConsistent(const std::wstring& key, Order order, const std::vector<std::wstring>& names) {
    std::vector<std::wstring> left;
    std::vector<unsigned char> data;
    for (const std::wstring& name : names)
        if (regerase::ReadValue(HKEY_CURRENT_USER, key, name, data)) left.push_back(name);
    if (left.size() == names.size()) return;
    if (order == Order::Letters) {
        std::wstring letters;
        for (const std::wstring& name : left) letters += name;
        std::vector<unsigned char> text(letters.begin(), letters.end());
        text.push_back(0);
        regerase::WriteValue(HKEY_CURRENT_USER, key, OrderValue(order), REG_SZ, text);
    } else {
        std::vector<uint32_t> numbers;
        for (const std::wstring& name : left) numbers.push_back(static_cast<uint32_t>(std::stoul(name)));
        regerase::WriteValue(HKEY_CURRENT_USER, key, OrderValue(order), REG_BINARY, mru::ListExFrom(numbers));
    }
}
}  // namespace

namespace openfiles {
std::vector<RegistryEntry> Read() {
    std::vector<RegistryEntry> entries;
    for (const DialogList& list : kDialogLists)
        for (const std::wstring& key : ListKeys(list))
            for (const std::wstring& name : EntryNames(key, list.order)) {
                std::vector<unsigned char> data;
                DWORD type = 0;
                if (!regerase::ReadValue(HKEY_CURRENT_USER, key, name, data, &type)) continue;
                std::wstring text = EntryText(list.data, data, type);
                if (!text.empty()) entries.push_back({key, name, text});
            }
    return entries;
}

EraseResult Erase() {
    EraseResult result;
    for (const DialogList& list : kDialogLists)
        for (const std::wstring& key : ListKeys(list)) {
            std::vector<std::wstring> names = EntryNames(key, list.order);
            for (const std::wstring& name : names) regerase::DeleteValue(HKEY_CURRENT_USER, key, name, result);
            KeepOrderConsistent(key, list.order, names);
        }
    return result;
}
}  // namespace openfiles

namespace programuse {
std::vector<RegistryEntry> Read() {
    std::vector<RegistryEntry> entries;
    for (const std::wstring& guid : regerase::SubkeyNames(HKEY_CURRENT_USER, kUserAssist)) {
        std::wstring key = std::wstring(kUserAssist) + L"\\" + guid + L"\\Count";
        for (const std::wstring& name : regerase::ValueNames(HKEY_CURRENT_USER, key)) {
            std::wstring text = mru::Rot13(name);
            if (text.rfind(L"UEME_CTL", 0) == 0) continue;  // the session counters, not a program
            entries.push_back({key, name, WithKnownFolder(text)});
        }
    }
    return entries;
}

EraseResult Erase(const std::vector<RegistryEntry>& entries) {
    EraseResult result;
    for (const RegistryEntry& e : entries) regerase::DeleteValue(HKEY_CURRENT_USER, e.key, e.value, result);
    return result;
}
}  // namespace programuse
