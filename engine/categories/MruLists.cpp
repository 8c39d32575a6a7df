// The shell's lists of recently used things: the common file dialogs' history of files and
// folders, and the documents the shell opened (RecentDocs). Each list's entries in its own order
// ("MRUList" letters or "MRUListEx" numbers); the dialogs' lists are erased value by value,
// their order value rewritten to name only what remains; the documents' list goes whole, with
// its per-type lists.
#include <shlobj.h>

#include "ItemIdList.h"
#include "MruBytes.h"
#include "RegKey.h"
#include "Rows.h"
#include "Traces.h"

namespace engine {

const wchar_t kNotAPath[] = L"an entry that cannot be shown as a path";

namespace {
#define EXPLORER L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
#define COMDLG EXPLORER L"ComDlg32\\"

enum class Order { Letters, Numbers };
// How an entry is shown: the first (or, after a program's name, the second) UTF-16 string of its
// data, or the item-ID list at its start (or after a program's name).
enum class Data { Path, ItemIds, ProgramThenPath, ProgramThenItemIds };
struct MruList {
    const wchar_t* key;
    bool perType;  // one list in the key itself and one per file type below it
    Order order;
    Data data;
};
const MruList kDialogLists[] = {
    {COMDLG L"OpenSavePidlMRU", true, Order::Numbers, Data::ItemIds},
    {COMDLG L"OpenSaveMRU", true, Order::Letters, Data::Path},
    {COMDLG L"LastVisitedPidlMRU", false, Order::Numbers, Data::ProgramThenItemIds},
    {COMDLG L"LastVisitedMRU", false, Order::Letters, Data::ProgramThenPath},
    {COMDLG L"CIDSizeMRU", false, Order::Numbers, Data::Path},  // the programs whose dialog size was kept
    {COMDLG L"FirstFolder", false, Order::Numbers, Data::Path},
};
// A document's name, then the shortcut the shell made for it.
const MruList kRecentDocs{EXPLORER L"RecentDocs", true, Order::Numbers, Data::Path};

const wchar_t* OrderValue(Order o) { return o == Order::Letters ? L"MRUList" : L"MRUListEx"; }

std::wstring EntryText(Data kind, const std::vector<unsigned char>& data) {
    switch (kind) {
    case Data::Path: return mru::Utf16Text(data, 0);
    case Data::ProgramThenPath: return mru::Utf16Text(data, 1);
    case Data::ItemIds: return itemids::PathText(data.data(), data.size(), rows::KnownFolderByText);
    case Data::ProgramThenItemIds: {
        mru::ProgramAndList e = mru::SplitProgramAndList(data);
        return e.listSize ? itemids::PathText(data.data() + e.listOffset, e.listSize, rows::KnownFolderByText) : std::wstring();
    }
    }
    return {};
}

// The entry value names of one list, in its order; a value its order does not name is not the
// list's (the shell never leaves one so).
std::vector<std::wstring> EntryNames(const RegKey& key, Order order) {
    std::vector<std::wstring> names;
    std::wstring letters;
    std::vector<unsigned char> data;
    if (order == Order::Letters && key.ReadString(OrderValue(order), letters)) names = mru::NamesFromList(letters);
    if (order == Order::Numbers && key.ReadBinary(OrderValue(order), data))
        for (uint32_t n : mru::OrderFromListEx(data)) names.push_back(std::to_wstring(n));
    return names;
}

// The keys that hold the lists of one kind.
std::vector<std::wstring> ListKeys(const MruList& list, Result* problems) {
    std::wstring path = list.key;
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

void ReadList(const MruList& list, std::vector<RegistryEntry>& entries, Result* problems) {
    for (const std::wstring& path : ListKeys(list, problems)) {
        RegKey key;
        if (!rows::OpenKey(path, KEY_QUERY_VALUE, key, problems)) continue;
        for (const std::wstring& name : EntryNames(key, list.order)) {
            std::vector<unsigned char> data;
            if (!key.ReadBinary(name, data)) continue;
            std::wstring text = EntryText(list.data, data);
            entries.push_back({path, name, text.empty() ? kNotAPath : text});
        }
    }
}

Listing AsListing(std::vector<RegistryEntry> (*read)(Result*)) {
    Listing listing;
    for (RegistryEntry& e : read(&listing.problems)) listing.items.push_back({std::move(e.text), 0});
    return listing;
}
}  // namespace

std::vector<RegistryEntry> ReadOpenFileHistory(Result* problems) {
    std::vector<RegistryEntry> entries;
    for (const MruList& list : kDialogLists) ReadList(list, entries, problems);
    return entries;
}

std::vector<RegistryEntry> ReadRecentDocs(Result* problems) {
    std::vector<RegistryEntry> entries;
    ReadList(kRecentDocs, entries, problems);
    return entries;
}

namespace rows {

Listing ListOpenFileHistory(const Options&) { return AsListing(ReadOpenFileHistory); }

Result EraseOpenFileHistory(const Options&) {
    Result result;
    for (const MruList& list : kDialogLists)
        for (const std::wstring& path : ListKeys(list, &result)) {
            RegKey key;
            if (!OpenKey(path, KEY_QUERY_VALUE | KEY_SET_VALUE, key, &result)) continue;
            std::vector<std::wstring> names = EntryNames(key, list.order);
            for (const std::wstring& name : names) DeleteValue(HKEY_CURRENT_USER, path, name, result);
            KeepOrderConsistent(key, list.order, names);
        }
    return result;
}

Listing ListRecentDocs() { return AsListing(ReadRecentDocs); }

Result EraseRecentDocs() {
    Result result, deleted;
    size_t entries = ReadRecentDocs(&result).size();
    DeleteKeyTree(HKEY_CURRENT_USER, kRecentDocs.key, deleted);
    deleted.erased = deleted.Complete() ? static_cast<unsigned>(entries) : 0;  // the entries, not the keys
    return result += deleted;
}

}  // namespace rows
}  // namespace engine
