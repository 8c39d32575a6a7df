// The common file dialogs' history of files and folders: each list's entries in its own order
// ("MRUList" letters or "MRUListEx" numbers), erased value by value, its order value rewritten
// to name only what remains.
#include <shlobj.h>
#include <shlwapi.h>

#include "MruBytes.h"
#include "RegKey.h"
#include "Rows.h"
#include "Traces.h"

namespace engine {

namespace {
const std::wstring kComDlg = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\";

enum class Order { Letters, Numbers };
enum class Data { Path, ItemIds, ProgramThenPath, ProgramThenItemIds };
struct DialogList {
    const wchar_t* key;  // below ComDlg32
    bool perType;        // one list in the key itself and one per file type below it
    Order order;
    Data data;
};
const DialogList kDialogLists[] = {
    {L"OpenSavePidlMRU", true, Order::Numbers, Data::ItemIds},
    {L"OpenSaveMRU", true, Order::Letters, Data::Path},
    {L"LastVisitedPidlMRU", false, Order::Numbers, Data::ProgramThenItemIds},
    {L"LastVisitedMRU", false, Order::Letters, Data::ProgramThenPath},
};

const wchar_t* OrderValue(Order o) { return o == Order::Letters ? L"MRUList" : L"MRUListEx"; }

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
        if (SUCCEEDED(::SHGetDesktopFolder(&desktop)) && SUCCEEDED(desktop->GetDisplayNameOf(pidl, SHGDN_FORPARSING, &name)))
            ::StrRetToBufW(&name, pidl, text, MAX_PATH);
        if (desktop) desktop->Release();
    }
    ::CoTaskMemFree(pidl);
    return text;
}

// The n-th zero-separated string of a value (text values are UTF-16 in the wide read too).
std::wstring NthString(const std::vector<unsigned char>& data, size_t n) {
    std::vector<std::u16string> parts = mru::Utf16Strings(data);
    return n < parts.size() ? std::wstring(parts[n].begin(), parts[n].end()) : std::wstring();
}

std::wstring EntryText(Data kind, const std::vector<unsigned char>& data) {
    switch (kind) {
    case Data::Path: return NthString(data, 0);
    case Data::ProgramThenPath: return NthString(data, 1);
    case Data::ItemIds: return ItemIdsText(data.data(), mru::ItemIdListSize(data.data(), data.size()));
    case Data::ProgramThenItemIds: {
        mru::ProgramAndList e = mru::SplitProgramAndList(data);
        return ItemIdsText(data.data() + e.listOffset, e.listSize);
    }
    }
    return {};
}

// The entry value names of one list, in its order.
std::vector<std::wstring> EntryNames(const RegKey& key, Order order) {
    std::vector<std::wstring> names;
    if (order == Order::Letters) {
        std::wstring letters;
        if (key.ReadString(OrderValue(order), letters)) names = mru::NamesFromList(letters);
        return names;
    }
    std::vector<unsigned char> data;
    if (key.ReadBinary(OrderValue(order), data))
        for (uint32_t n : mru::OrderFromListEx(data)) names.push_back(std::to_wstring(n));
    return names;
}

// The keys that hold the lists of one kind.
std::vector<std::wstring> ListKeys(const DialogList& list, Result* problems) {
    std::wstring path = kComDlg + list.key;
    std::vector<std::wstring> keys{path};
    RegKey key;
    if (list.perType && rows::OpenKey(path, KEY_ENUMERATE_SUB_KEYS, key, problems))
        for (const std::wstring& sub : key.SubkeyNames()) keys.push_back(path + L"\\" + sub);
    return keys;
}

// Rewrites a list's order value to name only the entries still there.
void KeepOrderConsistent(const RegKey& key, Order order, const std::vector<std::wstring>& names) {
    std::vector<std::wstring> left;
    std::vector<unsigned char> data;
    for (const std::wstring& name : names)
        if (key.ReadBinary(name, data)) left.push_back(name);
    if (left.size() == names.size()) return;
    if (order == Order::Letters) {
        std::wstring letters;
        for (const std::wstring& name : left) letters += name;
        key.Write(OrderValue(order), REG_SZ, letters.c_str(), static_cast<DWORD>((letters.size() + 1) * sizeof(wchar_t)));
    } else {
        std::vector<uint32_t> numbers;
        for (const std::wstring& name : left) numbers.push_back(static_cast<uint32_t>(std::stoul(name)));
        std::vector<unsigned char> ex = mru::ListExFrom(numbers);
        key.Write(OrderValue(order), REG_BINARY, ex.data(), static_cast<DWORD>(ex.size()));
    }
}
}  // namespace

std::vector<RegistryEntry> ReadOpenFileHistory(Result* problems) {
    std::vector<RegistryEntry> entries;
    for (const DialogList& list : kDialogLists)
        for (const std::wstring& path : ListKeys(list, problems)) {
            RegKey key;
            if (!rows::OpenKey(path, KEY_QUERY_VALUE, key, problems)) continue;
            for (const std::wstring& name : EntryNames(key, list.order)) {
                std::vector<unsigned char> data;
                if (!key.ReadBinary(name, data)) continue;
                std::wstring text = EntryText(list.data, data);
                if (!text.empty()) entries.push_back({path, name, text});
            }
        }
    return entries;
}

namespace rows {

Listing ListOpenFileHistory(const Options&) {
    Listing listing;
    for (RegistryEntry& e : ReadOpenFileHistory(&listing.problems)) listing.items.push_back({std::move(e.text), 0});
    return listing;
}

Result EraseOpenFileHistory(const Options&) {
    Result result;
    for (const DialogList& list : kDialogLists)
        for (const std::wstring& path : ListKeys(list, &result)) {
            RegKey key;
            if (!OpenKey(path, KEY_QUERY_VALUE | KEY_SET_VALUE, key, &result)) continue;
            std::vector<std::wstring> names = EntryNames(key, list.order);
            for (const std::wstring& name : names) DeleteValue(HKEY_CURRENT_USER, path, name, result);
            KeepOrderConsistent(key, list.order, names);
        }
    return result;
}

}  // namespace rows
}  // namespace engine
