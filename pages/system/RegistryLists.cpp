#include "RegistryLists.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "MruData.h"
#include "RegistryErase.h"

namespace {
const char kComDlg[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\";
const char kUserAssist[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist";

// How one list names the order of its entries and what an entry's data is.
enum class Order { Letters, Numbers };  // "MRUList" text, or "MRUListEx" numbers
enum class Data { Path, ItemIds, ProgramThenPath, ProgramThenItemIds };
struct DialogList {
    const char* key;   // below ComDlg32
    bool perType;      // one list in the key itself and one per file type below it
    Order order;
    Data data;
};
const DialogList kDialogLists[] = {
    {"OpenSavePidlMRU", true, Order::Numbers, Data::ItemIds},
    {"OpenSaveMRU", true, Order::Letters, Data::Path},
    {"LastVisitedPidlMRU", false, Order::Numbers, Data::ProgramThenItemIds},
    {"LastVisitedMRU", false, Order::Letters, Data::ProgramThenPath},
};

// Newer counters name a program by a known folder's id and the rest of its path: the folder's
// own path is shown instead of the id.
std::string WithKnownFolder(const std::string& name) {
    if (name.size() < 38 || name[0] != '{' || name[37] != '}') return name;
    std::wstring id(name.begin(), name.begin() + 38);
    GUID folder{};
    PWSTR path = nullptr;
    std::string result = name;
    if (SUCCEEDED(::CLSIDFromString(id.c_str(), &folder)) && SUCCEEDED(::SHGetKnownFolderPath(folder, 0, nullptr, &path))) {
        int n = ::WideCharToMultiByte(CP_ACP, 0, path, -1, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
        if (n > 1) ::WideCharToMultiByte(CP_ACP, 0, path, -1, text.data(), n, nullptr, nullptr);
        result = text + name.substr(38);
    }
    ::CoTaskMemFree(path);
    return result;
}

const char* OrderValue(Order o) { return o == Order::Letters ? "MRUList" : "MRUListEx"; }

std::string ToAnsi(const std::u16string& text) {
    if (text.empty()) return {};
    const auto* w = reinterpret_cast<const wchar_t*>(text.c_str());
    int n = ::WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// The path (or, for what is not a file, the shell's name) of a checked item-id list.
std::string ItemIdsText(const unsigned char* data, size_t size) {
    if (size == 0) return {};
    auto* pidl = static_cast<LPITEMIDLIST>(::CoTaskMemAlloc(size));  // aligned, as the shell expects
    if (!pidl) return {};
    memcpy(pidl, data, size);
    char text[MAX_PATH] = "";
    if (!::SHGetPathFromIDListA(pidl, text)) {
        IShellFolder* desktop = nullptr;
        STRRET name{};
        if (SUCCEEDED(::SHGetDesktopFolder(&desktop)) &&
            SUCCEEDED(desktop->GetDisplayNameOf(pidl, SHGDN_FORPARSING, &name)))
            ::StrRetToBufA(&name, pidl, text, MAX_PATH);
        if (desktop) desktop->Release();
    }
    ::CoTaskMemFree(pidl);
    return text;
}

// The zero-separated 8-bit strings of a text value.
std::vector<std::string> NarrowStrings(const std::vector<unsigned char>& data) {
    std::vector<std::string> strings(1);
    for (unsigned char c : data) {
        if (c)
            strings.back().push_back(static_cast<char>(c));
        else
            strings.emplace_back();
    }
    return strings;
}

// The n-th zero-separated string of a value: 8-bit for text types, UTF-16 for binary data.
std::string NthString(const std::vector<unsigned char>& data, DWORD type, size_t n) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::vector<std::string> parts = NarrowStrings(data);
        return n < parts.size() ? parts[n] : std::string();
    }
    std::vector<std::u16string> parts = mru::Utf16Strings(data);
    return n < parts.size() ? ToAnsi(parts[n]) : std::string();
}

std::string EntryText(Data kind, const std::vector<unsigned char>& data, DWORD type) {
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
std::vector<std::string> EntryNames(const std::string& key, Order order) {
    std::vector<unsigned char> data;
    if (!regerase::ReadValue(HKEY_CURRENT_USER, key, OrderValue(order), data)) return {};
    if (order == Order::Letters) {
        return mru::NamesFromList(NarrowStrings(data)[0]);
    }
    std::vector<std::string> names;
    for (uint32_t n : mru::OrderFromListEx(data)) names.push_back(std::to_string(n));
    return names;
}

// The keys that hold the lists of one kind.
std::vector<std::string> ListKeys(const DialogList& list) {
    std::string key = std::string(kComDlg) + list.key;
    std::vector<std::string> keys{key};
    if (list.perType)
        for (const std::string& sub : regerase::SubkeyNames(HKEY_CURRENT_USER, key)) keys.push_back(key + "\\" + sub);
    return keys;
}

// Rewrites a list's order value to name only the entries still there.
void KeepOrderConsistent(const std::string& key, Order order, const std::vector<std::string>& names) {
    std::vector<std::string> left;
    std::vector<unsigned char> data;
    for (const std::string& name : names)
        if (regerase::ReadValue(HKEY_CURRENT_USER, key, name, data)) left.push_back(name);
    if (left.size() == names.size()) return;
    if (order == Order::Letters) {
        std::string letters;
        for (const std::string& name : left) letters += name;
        std::vector<unsigned char> text(letters.begin(), letters.end());
        text.push_back(0);
        regerase::WriteValue(HKEY_CURRENT_USER, key, OrderValue(order), REG_SZ, text);
    } else {
        std::vector<uint32_t> numbers;
        for (const std::string& name : left) numbers.push_back(static_cast<uint32_t>(std::stoul(name)));
        regerase::WriteValue(HKEY_CURRENT_USER, key, OrderValue(order), REG_BINARY, mru::ListExFrom(numbers));
    }
}
}  // namespace

namespace openfiles {
std::vector<RegistryEntry> Read() {
    std::vector<RegistryEntry> entries;
    for (const DialogList& list : kDialogLists)
        for (const std::string& key : ListKeys(list))
            for (const std::string& name : EntryNames(key, list.order)) {
                std::vector<unsigned char> data;
                DWORD type = 0;
                if (!regerase::ReadValue(HKEY_CURRENT_USER, key, name, data, &type)) continue;
                std::string text = EntryText(list.data, data, type);
                if (!text.empty()) entries.push_back({key, name, text});
            }
    return entries;
}

EraseResult Erase() {
    EraseResult result;
    for (const DialogList& list : kDialogLists)
        for (const std::string& key : ListKeys(list)) {
            std::vector<std::string> names = EntryNames(key, list.order);
            for (const std::string& name : names) regerase::DeleteValue(HKEY_CURRENT_USER, key, name, result);
            KeepOrderConsistent(key, list.order, names);
        }
    return result;
}
}  // namespace openfiles

namespace programuse {
std::vector<RegistryEntry> Read() {
    std::vector<RegistryEntry> entries;
    for (const std::string& guid : regerase::SubkeyNames(HKEY_CURRENT_USER, kUserAssist)) {
        std::string key = std::string(kUserAssist) + "\\" + guid + "\\Count";
        for (const std::string& name : regerase::ValueNames(HKEY_CURRENT_USER, key)) {
            std::string text = mru::Rot13(name);
            if (text.rfind("UEME_CTL", 0) == 0) continue;  // the session counters, not a program
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
