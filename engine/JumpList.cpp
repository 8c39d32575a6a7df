#include "JumpList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <map>

#include "ItemIdList.h"

namespace engine {
namespace jumplist {
namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kNoSector = 0xFFFFFFFA;  // this and above: free, end, table sectors
constexpr size_t kHeaderFields = 512;       // the header's fields, whatever the sector size
constexpr size_t kDirEntry = 128;
constexpr size_t kMiniSector = 64;
constexpr size_t kLinkHeader = 76;
constexpr uint64_t kMaxLink = 64 * 1024;  // a shell link is a few kilobytes: larger is not read
const unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
// A shell link starts with its header's size and its class: the marker between a custom
// list's entries too.
const unsigned char kLinkStart[20] = {0x4C, 0, 0, 0, 0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};

// Little-endian reads that give 0 past the end, and strings that stay inside the bytes.
struct Bytes {
    const unsigned char* p;
    size_t n;
    uint32_t U16(size_t at) const { return at < n && n - at >= 2 ? p[at] | p[at + 1] << 8 : 0; }
    uint32_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
    // `chars` UTF-16 characters at `at`; empty when they do not fit.
    std::wstring Wide(size_t at, size_t chars) const {
        if (at > n || chars > (n - at) / 2) return {};
        return Widen(at, at + 2 * std::min(chars, kMaxPath), false);
    }
    // UTF-16 text from `at` to its zero or the end.
    std::wstring WideToZero(size_t at) const { return at > n ? std::wstring() : Widen(at, n, true); }
    std::wstring Widen(size_t at, size_t end, bool toZero) const {
        std::wstring s;
        for (; at + 2 <= end && s.size() < kMaxPath; at += 2) {
            wchar_t c = static_cast<wchar_t>(U16(at));
            if (toZero && !c) break;
            s.push_back(c);
        }
        return s;
    }
    // An 8-bit string to its zero: only plain ASCII is taken, since the code page it was
    // written in is not known here. Empty otherwise.
    std::wstring Ascii(size_t at) const {
        std::wstring s;
        for (; at < n && p[at] && s.size() < kMaxPath; ++at) {
            if (p[at] >= 0x80) return {};
            s.push_back(static_cast<wchar_t>(p[at]));
        }
        return s;
    }
};

// A path as shown: control characters would break the row, so they show as '?'.
std::wstring Clean(std::wstring path) {
    if (path.size() > kMaxPath) path.resize(kMaxPath);
    for (wchar_t& c : path)
        if (c < 0x20) c = L'?';
    return path;
}

// The streams of a compound file. Every sector index is checked against its table, every chain
// is followed at most once round (a sector seen twice ends it as broken), and no size is taken
// beyond the bytes that hold it.
class Compound {
public:
    struct Stream {
        std::wstring name;
        uint32_t start;
        uint64_t size;
    };

    Compound(const unsigned char* data, size_t size) : b_{data, size} { ok_ = ReadHeader() && ReadTables(); }
    bool Ok() const { return ok_; }
    const std::vector<Stream>& Streams() const { return streams_; }

    bool Read(const Stream& s, std::vector<unsigned char>& out) const {
        bool mini = s.size < cutoff_;
        return Read(mini ? minifat_ : fat_, s.start, s.size, mini, out);
    }

private:
    bool ReadHeader() {
        if (b_.n < kHeaderFields || std::memcmp(b_.p, kSignature, sizeof kSignature) != 0) return false;
        uint32_t shift = b_.U16(0x1E);
        if ((shift != 9 && shift != 12) || b_.U16(0x20) != 6) return false;
        sector_ = size_t(1) << shift;
        cutoff_ = b_.U32(0x38);
        return b_.n > sector_;
    }

    bool Exists(uint32_t s) const { return (uint64_t(s) + 1) * sector_ < b_.n; }

    // The sector's bytes, zero-filled where the file ends inside it.
    void Append(uint32_t s, std::vector<unsigned char>& out) const {
        size_t at = (size_t(s) + 1) * sector_, have = std::min(sector_, b_.n - at);
        out.insert(out.end(), b_.p + at, b_.p + at + have);
        out.resize(out.size() + sector_ - have);
    }

    // The sectors of the chain from first, at most max of them; false when an index lies
    // outside the table or the chain comes round to a sector it passed.
    static bool Chain(const std::vector<uint32_t>& table, uint32_t first, size_t max, std::vector<uint32_t>& chain) {
        for (uint32_t s = first; s != kEndOfChain && chain.size() < max; s = table[s]) {
            if (s >= table.size()) return false;
            chain.push_back(s);
        }
        std::vector<uint32_t> sorted = chain;
        std::sort(sorted.begin(), sorted.end());
        return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
    }

    bool Read(const std::vector<uint32_t>& table, uint32_t first, uint64_t size, bool mini,
              std::vector<unsigned char>& out) const {
        size_t unit = mini ? kMiniSector : sector_;
        if (size > (mini ? mini_.size() : b_.n)) return false;
        std::vector<uint32_t> chain;
        if (!Chain(table, first, static_cast<size_t>((size + unit - 1) / unit), chain) || chain.size() * unit < size)
            return false;
        for (uint32_t s : chain) {
            if (!mini && !Exists(s)) return false;
            if (mini && (size_t(s) + 1) * unit > mini_.size()) return false;
            if (mini) out.insert(out.end(), mini_.begin() + s * unit, mini_.begin() + (s + 1) * unit);
            else Append(s, out);
        }
        out.resize(static_cast<size_t>(size));
        return true;
    }

    // The sector table's own sectors: 109 in the header, the rest in a chain of its own.
    bool FatSectors(std::vector<uint32_t>& ids) const {
        size_t count = b_.U32(0x2C), perSector = sector_ / 4 - 1;
        if (count > b_.n / sector_) return false;  // each is a sector of the file
        for (size_t i = 0; i < 109 && ids.size() < count; ++i) ids.push_back(b_.U32(0x4C + 4 * i));
        std::vector<bool> seen((b_.n + sector_ - 1) / sector_);
        for (uint32_t s = b_.U32(0x44); ids.size() < count && s < kNoSector; s = b_.U32((size_t(s) + 1) * sector_ + 4 * perSector)) {
            if (!Exists(s) || seen[s]) return false;
            seen[s] = true;
            for (size_t i = 0; i < perSector && ids.size() < count; ++i) ids.push_back(b_.U32((size_t(s) + 1) * sector_ + 4 * i));
        }
        return ids.size() == count;
    }

    bool ReadTables() {
        std::vector<uint32_t> ids;
        if (!FatSectors(ids)) return false;
        std::vector<unsigned char> fat, dir, minifat;
        for (uint32_t s : ids) {
            if (!Exists(s)) return false;
            Append(s, fat);
        }
        fat_ = Words(fat);
        // The directory and the mini table have no size of their own: the whole chain is theirs.
        if (!ReadWhole(b_.U32(0x30), dir) || dir.size() < kDirEntry) return false;
        Bytes d{dir.data(), dir.size()};
        if (d.p[0x42] != 5) return false;  // the first entry is the root
        if (!Read(fat_, d.U32(0x74), StreamSize(d, 0), false, mini_)) mini_.clear();
        if (b_.U32(0x3C) < kNoSector && ReadWhole(b_.U32(0x3C), minifat)) minifat_ = Words(minifat);
        for (size_t at = 0; at + kDirEntry <= dir.size(); at += kDirEntry) {
            size_t nameBytes = d.U16(at + 0x40);
            if (d.p[at + 0x42] == 2 && nameBytes >= 2 && nameBytes <= 64)
                streams_.push_back({d.Wide(at, nameBytes / 2 - 1), d.U32(at + 0x74), StreamSize(d, at)});
        }
        return true;
    }

    static std::vector<uint32_t> Words(const std::vector<unsigned char>& bytes) {
        std::vector<uint32_t> words;
        for (size_t at = 0; at < bytes.size(); at += 4) words.push_back(Bytes{bytes.data(), bytes.size()}.U32(at));
        return words;
    }

    // A directory entry's stream size: files of 512-byte sectors may hold anything in its high half.
    uint64_t StreamSize(const Bytes& dir, size_t entry) const {
        return dir.U32(entry + 0x78) | (sector_ == 512 ? 0 : uint64_t(dir.U32(entry + 0x7C)) << 32);
    }

    bool ReadWhole(uint32_t first, std::vector<unsigned char>& out) const {
        std::vector<uint32_t> chain;
        if (!Chain(fat_, first, fat_.size() + 1, chain)) return false;
        for (uint32_t s : chain) {
            if (!Exists(s)) return false;
            Append(s, out);
        }
        return true;
    }

    Bytes b_;
    bool ok_ = false;
    size_t sector_ = 512;
    uint64_t cutoff_ = 4096;
    std::vector<uint32_t> fat_, minifat_;
    std::vector<unsigned char> mini_;
    std::vector<Stream> streams_;
};

// The number a numbered stream's name gives in hex ("1f"); -1 for any other name.
long long StreamNumber(const std::wstring& name) {
    if (name.empty() || name.size() > 8 || !std::all_of(name.begin(), name.end(), [](wchar_t c) { return std::iswxdigit(c); }))
        return -1;
    return std::stoll(name, nullptr, 16);
}

struct DestEntry {
    uint32_t number;
    std::wstring path;
};

// DestList: a 32-byte header, then entries of fixed fields and a counted UTF-16 path. The first
// version's fields (Windows 7 and 8) end at 114 bytes; those of versions 2 to 4 at 130, with 4
// more bytes after the path. Reading ends at the first entry that does not fit.
std::vector<DestEntry> ReadDestList(const std::vector<unsigned char>& bytes) {
    std::vector<DestEntry> entries;
    Bytes b{bytes.data(), bytes.size()};
    uint32_t version = b.U32(0), count = b.U32(4);
    if (bytes.size() < 32 || version < 1 || version > 4) return entries;
    size_t fixed = version == 1 ? 114 : 130, after = version == 1 ? 0 : 4;
    for (size_t at = 32, i = 0; i < count && i < kMaxDocuments && fixed <= b.n - at; ++i) {
        size_t chars = b.U16(at + fixed - 2);
        if (2 * chars > b.n - at - fixed) break;
        entries.push_back({b.U32(at + 88), b.Wide(at + fixed, chars)});
        at = std::min(b.n, at + fixed + 2 * chars + after);
    }
    return entries;
}

// A LinkInfo's local path: its base path (UTF-16 where the structure has it) and suffix.
std::wstring LocalPath(const Bytes& info) {
    if (!(info.U32(8) & 1)) return {};
    bool wide = info.U32(4) >= 0x24;
    std::wstring base = wide ? info.WideToZero(info.U32(28)) : info.Ascii(info.U32(16));
    std::wstring suffix = wide ? info.WideToZero(info.U32(32)) : info.Ascii(info.U32(24));
    if (base.empty() || suffix.empty()) return base;
    return base + (base.back() == L'\\' ? L"" : L"\\") + suffix;
}

}  // namespace

std::wstring LinkTarget(const unsigned char* data, size_t size) {
    Bytes b{data, size};
    if (size < kLinkHeader || std::memcmp(data, kLinkStart, sizeof kLinkStart) != 0) return {};
    uint32_t flags = b.U32(0x14);
    size_t at = kLinkHeader;
    std::wstring items, local, relative;
    if (flags & 0x01) {
        size_t cb = b.U16(at);
        if (at + 2 > size || cb > size - at - 2) return {};
        items = itemids::PathText(data + at + 2, cb);
        at += 2 + cb;
    }
    if (flags & 0x02) {
        size_t cb = b.U32(at);
        if (cb < 0x1C || cb > size - at) return {};
        local = LocalPath(Bytes{data + at, cb});
        at += cb;
    }
    // StringData: the description, then the relative path, each counted in characters.
    bool unicode = flags & 0x80;
    for (uint32_t bit : {0x04u, 0x08u}) {
        if (!(flags & bit)) continue;
        size_t chars = b.U16(at), cb = chars * (unicode ? 2 : 1);
        if (at + 2 > size || cb > size - at - 2) break;
        if (bit == 0x08) relative = unicode ? b.Wide(at + 2, chars) : Bytes{data, at + 2 + cb}.Ascii(at + 2);
        at += 2 + cb;
    }
    return Clean(!local.empty() ? local : !items.empty() ? items : relative);
}

std::vector<std::wstring> AutomaticDocuments(const unsigned char* data, size_t size) {
    std::vector<std::wstring> documents;
    Compound file(data, size);
    if (!file.Ok()) return documents;
    std::map<long long, const Compound::Stream*> links;
    const Compound::Stream* destList = nullptr;
    for (const Compound::Stream& s : file.Streams()) {
        if (s.name == L"DestList") destList = &s;
        else if (StreamNumber(s.name) >= 0) links.emplace(StreamNumber(s.name), &s);
    }
    auto linkOf = [&](long long number) {
        std::vector<unsigned char> bytes;
        auto found = links.find(number);
        bool read = found != links.end() && found->second->size <= kMaxLink && file.Read(*found->second, bytes);
        return read ? LinkTarget(bytes.data(), bytes.size()) : std::wstring();
    };
    // Without a DestList that reads, every numbered stream's link is an entry.
    std::vector<unsigned char> bytes;
    std::vector<DestEntry> entries;
    if (destList && file.Read(*destList, bytes)) entries = ReadDestList(bytes);
    if (entries.empty()) {
        for (const auto& link : links)
            if (entries.size() < kMaxDocuments) entries.push_back({static_cast<uint32_t>(link.first), L""});
    }
    for (const DestEntry& e : entries) {
        std::wstring path = e.path.empty() ? linkOf(e.number) : Clean(e.path);
        if (!path.empty()) documents.push_back(std::move(path));
    }
    return documents;
}

std::vector<std::wstring> CustomDocuments(const unsigned char* data, size_t size) {
    std::vector<std::wstring> documents;
    const unsigned char* end = data + size;
    const unsigned char* link = std::search(data, end, std::begin(kLinkStart), std::end(kLinkStart));
    while (link != end && documents.size() < kMaxDocuments) {
        const unsigned char* next = std::search(link + 1, end, std::begin(kLinkStart), std::end(kLinkStart));
        // A program's tasks are often one program with other arguments: it is named once.
        std::wstring path = LinkTarget(link, static_cast<size_t>(next - link));
        if (!path.empty() && std::find(documents.begin(), documents.end(), path) == documents.end())
            documents.push_back(std::move(path));
        link = next;
    }
    return documents;
}

std::vector<std::wstring> Documents(const unsigned char* data, size_t size) {
    bool compound = size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
    return compound ? AutomaticDocuments(data, size) : CustomDocuments(data, size);
}

std::wstring RowText(const std::wstring& path, const std::vector<std::wstring>& documents) {
    // Every list of a kind lies in the same folder: where a list names documents, they and the
    // list's name are what tell one row from another, so the folder gives way to them.
    if (documents.empty()) return path;
    std::wstring text = L"\u2026\\" + path.substr(path.rfind(L'\\') + 1) + L" (" + std::to_wstring(documents.size()) +
                        (documents.size() == 1 ? L" document: " : L" documents: ");
    for (size_t i = 0; i < documents.size(); ++i) text += (i ? L", " : L"") + documents[i];
    return text + L")";
}

}  // namespace jumplist
}  // namespace engine
