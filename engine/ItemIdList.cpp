#include "ItemIdList.h"

#include <cstdint>
#include <vector>

namespace engine {
namespace itemids {

namespace {
constexpr uint32_t kFileExtension = 0xBEEF0004;  // the file entry's block with the long name
constexpr uint32_t kKnownFolder = 0x23FEBBEE;    // an item that names a known folder by its GUID
constexpr size_t kMaxName = 1024;                // characters: every read stays short, whatever the bytes

// One item of the list: its bytes, all of them inside the data.
struct Item {
    const unsigned char* p;
    size_t n;
    unsigned U16(size_t at) const { return at + 2 <= n ? p[at] | p[at + 1] << 8 : 0; }
    uint32_t U32(size_t at) const { return at + 4 <= n ? U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16 : 0; }
    // An 8-bit string from `at` to its zero or the item's end.
    std::wstring Narrow(size_t at) const {
        std::wstring s;
        for (; at < n && p[at]; ++at) s.push_back(static_cast<wchar_t>(p[at]));
        return s;
    }
    // A UTF-16 string from `at` to its zero or `end`, at most kMaxName characters.
    std::wstring Wide(size_t at, size_t end) const {
        std::wstring s;
        for (end = end < n ? end : n; at + 2 <= end && s.size() < kMaxName; at += 2) {
            unsigned c = U16(at);
            if (!c) break;
            s.push_back(static_cast<wchar_t>(c));
        }
        return s;
    }
};

// The shell's roots that are not folders of their own, shown by name; "My Computer" is no step.
struct Root {
    const wchar_t* guid;
    const wchar_t* name;
};
const Root kRoots[] = {
    {L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L""},
    {L"{208D2C60-3AEA-1069-A2D7-08002B30309D}", L"Network"},
    {L"{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}", L"Network"},
    {L"{031E4825-7B94-4DC3-B131-E946B44C8DD5}", L"Libraries"},
};

// The user's folders as "This PC" shows them, by the known folder each stands for.
const Root kThisPc[] = {
    {L"{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}", L"{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}"},
    {L"{A8CDFF1C-4878-43BE-B5FD-F8091C1C60D0}", L"{FDD39AD0-238F-46AF-ADB4-6C85480369C7}"},
    {L"{D3162B92-9365-467A-956B-92703ACA08AF}", L"{FDD39AD0-238F-46AF-ADB4-6C85480369C7}"},
    {L"{088E3905-0323-4B02-9826-5D99428E115F}", L"{374DE290-123F-4565-9164-39C4925E467B}"},
    {L"{1CF1260C-4DD0-4EBB-811F-33C572699FDE}", L"{4BD8D571-6D19-48D3-BE97-422220080E43}"},
    {L"{3DFDF296-DBEC-4FB4-81D1-6A3438BCF4DE}", L"{4BD8D571-6D19-48D3-BE97-422220080E43}"},
    {L"{3ADD1653-EB32-4CB0-BBD7-DFA0ABB5ACCA}", L"{33E28130-4E1E-4676-835A-98395C3BC3BB}"},
    {L"{24AD3AD4-A569-4530-98E1-AB02F9417AA8}", L"{33E28130-4E1E-4676-835A-98395C3BC3BB}"},
    {L"{A0953C92-50DC-43BF-BE83-3742FED03C9C}", L"{18989B1D-99B5-455B-841C-AB7C74E4DDFC}"},
    {L"{F86FA3AB-70D2-4FC7-9C99-FCBF05467F3A}", L"{18989B1D-99B5-455B-841C-AB7C74E4DDFC}"},
};

std::wstring Folder(std::wstring guid, FolderNamer namer) {
    for (const Root& r : kRoots)
        if (guid == r.guid) return r.name;
    for (const Root& r : kThisPc)
        if (guid == r.guid) guid = r.name;
    std::wstring path = namer ? namer(guid) : std::wstring();
    return path.empty() ? L"::" + guid : path;
}

// The long name in a file entry's extension block, wherever in the item the block starts; of
// the file entries nested in other items, the last is the item itself. Empty when there is none.
std::wstring LongName(const Item& item) {
    std::wstring last;
    for (size_t ext = 3; ext + 8 <= item.n; ++ext) {
        if (item.U32(ext + 4) != kFileExtension) continue;
        unsigned size = item.U16(ext), version = item.U16(ext + 2);
        if (version < 3 || size < 8 || size > item.n - ext) continue;
        size_t at = version >= 7 ? 38 : 20;
        if (version >= 8) at += 4;
        if (version >= 9) at += 4;
        std::wstring name = item.Wide(ext + at, ext + size);
        if (!name.empty()) last = std::move(name);
    }
    return last;
}

// The longest drive path ("C:\...") in UTF-16 anywhere in the item: the property stores of
// search and library items keep the item's whole path so.
std::wstring DrivePath(const Item& item) {
    std::wstring longest;
    for (size_t at = 3; at + 6 <= item.n;) {
        unsigned letter = item.U16(at) | 0x20;
        if (letter >= 'a' && letter <= 'z' && item.U16(at + 2) == ':' && item.U16(at + 4) == '\\') {
            std::wstring path = item.Wide(at, item.n);
            if (path.size() > longest.size()) longest = path;
            at += 2 * path.size();
        } else {
            ++at;
        }
    }
    return longest;
}

// The step an item adds; false when it cannot be read. An item of a kind not known here gives
// kUnknown: the path cannot be shown unless a later item is a whole path of its own.
const std::wstring kUnknown(1, L'\0');
bool Step(const Item& item, FolderNamer namer, std::wstring& step) {
    unsigned type = item.p[2];
    if (type == 0x1F || (type == 0x2E && item.n == 20)) {
        if (item.n < 20) return false;
        step = Folder(GuidText(item.p + 4), namer);
        return true;  // "My Computer" is an empty step
    } else if ((type & 0x70) == 0x20) {
        step = item.Narrow(3);
        if (step.size() < 2 || step[1] != L':') return false;
        step.resize(2);
    } else if ((type & 0x70) == 0x30) {
        step = LongName(item);
        if (step.empty()) step = (type & 0x04) ? item.Wide(14, item.n) : item.Narrow(14);
    } else if ((type & 0x70) == 0x40) {
        step = item.Narrow(5);
    } else if (type == 0x61) {
        size_t at = 6 + item.U16(4);
        step = (item.n > 3 && (item.p[3] & 0x80)) ? item.Wide(at, item.n) : item.Narrow(at);
    } else if (item.U32(6) == kKnownFolder && item.n >= 30) {
        step = Folder(GuidText(item.p + 14), namer);
    } else {
        step = DrivePath(item);
        if (step.empty()) step = LongName(item);
        if (step.empty()) step = kUnknown;
    }
    return !step.empty();
}

// A step that is a whole path of its own: a drive, a share, an address, a known folder's path.
bool IsWhole(const std::wstring& step) {
    return (step.size() >= 2 && step[0] != L':' && step[1] == L':') || step.compare(0, 2, L"\\\\") == 0 ||
           step.find(L"://") != std::wstring::npos;
}
}  // namespace

std::wstring GuidText(const unsigned char* b) {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    // Data1..Data3 are little-endian, Data4 is written byte by byte.
    const int order[] = {3, 2, 1, 0, -1, 5, 4, -1, 7, 6, -1, 8, 9, -1, 10, 11, 12, 13, 14, 15};
    std::wstring text = L"{";
    for (int i : order) {
        if (i < 0) {
            text += L'-';
            continue;
        }
        text += kHex[b[i] >> 4];
        text += kHex[b[i] & 15];
    }
    return text + L"}";
}

std::wstring PathText(const unsigned char* data, size_t size, FolderNamer namer) {
    std::vector<std::wstring> steps;
    size_t at = 0;
    while (at + 2 <= size) {
        size_t cb = data[at] | data[at + 1] << 8;
        if (cb == 0) break;
        if (cb < 3 || cb > size - at) return {};
        std::wstring step;
        if (!Step({data + at, cb}, namer, step)) return {};
        if (IsWhole(step)) steps.clear();
        if (!step.empty()) steps.push_back(std::move(step));
        at += cb;
    }
    std::wstring path;
    for (const std::wstring& s : steps) {
        if (s == kUnknown) return {};
        path += (path.empty() ? L"" : L"\\") + s;
    }
    if (path.size() == 2 && path[1] == L':') path += L'\\';
    return path;
}

}  // namespace itemids
}  // namespace engine
