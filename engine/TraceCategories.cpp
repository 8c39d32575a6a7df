#include "TraceCategories.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "DefinitionReader.h"
#include "ItemIdList.h"
#include "JumpList.h"
#include "MruBytes.h"
#include "RegKey.h"
#include "Text.h"
#include "Walk.h"
#include "categories/Rows.h"

namespace engine {

const wchar_t kNotAPath[] = L"an entry that cannot be shown as a path";

namespace {

// "TRACE_JUMP_LISTS" was engine/traces/jump-lists.json.
std::wstring FileOf(const std::wstring& resource) {
    std::wstring file = resource.substr(6);
    for (wchar_t& c : file) c = c == L'_' ? L'-' : static_cast<wchar_t>(towlower(c));
    return file + L".json";
}

// A folder of a definition with its variable expanded; empty when the variable is not set.
std::wstring ExpandFolder(const std::wstring& folder) {
    std::wstring out(::ExpandEnvironmentStringsW(folder.c_str(), nullptr, 0), L'\0');
    if (out.empty() || ::ExpandEnvironmentStringsW(folder.c_str(), &out[0], static_cast<DWORD>(out.size())) != out.size())
        return {};
    out.pop_back();
    return out.find(L'%') == std::wstring::npos ? out : std::wstring();
}

// The keys a path with "*" steps stands for now, each step opened without following links.
void ExpandKey(const std::wstring& done, const std::vector<std::wstring>& steps, size_t i,
               std::vector<std::wstring>& keys, Result* problems) {
    if (i == steps.size()) {
        keys.push_back(done);
        return;
    }
    if (steps[i] != L"*") return ExpandKey(done.empty() ? steps[i] : done + L"\\" + steps[i], steps, i + 1, keys, problems);
    RegKey key;
    if (!rows::OpenKey(done, KEY_ENUMERATE_SUB_KEYS, key, problems)) return;
    for (const std::wstring& sub : key.SubkeyNames()) ExpandKey(done + L"\\" + sub, steps, i + 1, keys, problems);
}

using Show = TraceSource::Show;

// Newer program-use counters name a program by a known folder's id and the rest of its path: the
// folder's own path is shown instead of the id.
std::wstring WithKnownFolder(const std::wstring& name) {
    if (name.size() < 38 || name[0] != L'{' || name[37] != L'}') return name;
    std::wstring path = rows::KnownFolderByText(name.substr(0, 38));
    return path.empty() ? name : path + name.substr(38);
}

// What binary data shows in a decoding mode; empty when it shows nothing.
std::wstring Decoded(Show show, const std::vector<unsigned char>& data) {
    if (show == Show::Utf16 || show == Show::ProgramThenUtf16) return mru::Utf16Text(data, show == Show::Utf16 ? 0 : 1);
    if (show == Show::ItemIds) return itemids::PathText(data.data(), data.size(), rows::KnownFolderByText);
    mru::ProgramAndList e = mru::SplitProgramAndList(data);
    return e.listSize ? itemids::PathText(data.data() + e.listOffset, e.listSize, rows::KnownFolderByText) : std::wstring();
}

std::wstring Shown(Show show, const RegKey& key, const std::wstring& name) {
    std::wstring text;
    std::vector<unsigned char> data;
    DWORD type = 0;
    if (show == Show::Rot13) return WithKnownFolder(mru::Rot13(name));
    if (show == Show::Text || show == Show::AfterStar || show == Show::RunCommand) {
        if (key.ReadString(name, text))
            return show == Show::AfterStar ? AfterStar(text) : show == Show::RunCommand ? mru::RunEntryText(text) : text;
        if (!key.ReadBinary(name, data, &type)) return text;
        // A path kept as the bytes of a text (Acrobat's tDIText).
        if (type == REG_BINARY) return FromUtf8(std::string(data.begin(), std::find(data.begin(), data.end(), '\0')));
        return mru::Utf16Text(data, 0);
    }
    if (!key.ReadBinary(name, data)) return text;
    text = Decoded(show, data);
    return text.empty() ? kNotAPath : text;
}

bool HasValue(const RegKey& key, const std::wstring& name) {
    return ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// The value names an order value ("MRUList" letters, "MRUListEx" numbers) gives, in its order.
std::vector<std::wstring> OrderedNames(const RegKey& key, const std::wstring& order) {
    std::vector<std::wstring> names;
    std::wstring letters;
    std::vector<unsigned char> data;
    if (order == L"MRUList" && key.ReadString(order, letters)) names = mru::NamesFromList(letters);
    if (order == L"MRUListEx" && key.ReadBinary(order, data))
        for (uint32_t n : mru::OrderFromListEx(data)) names.push_back(std::to_wstring(n));
    return names;
}

TraceEntry NewEntry(TraceEntry::Kind kind, size_t index, const std::wstring& path, const std::wstring& value = L"",
                    const std::wstring& text = L"") {
    TraceEntry e;
    e.kind = kind;
    e.source = index;
    e.path = path;
    e.value = value;
    e.text = text;
    return e;
}

TraceEntry ValueEntry(size_t index, const TraceSource& s, const std::wstring& path, const std::wstring& name) {
    TraceEntry e = NewEntry(TraceEntry::Kind::Value, index, path, name);
    e.show = s.show;
    e.wholeKey = s.wholeKey;
    return e;
}

// A values trace's names in one key, each with its number, in the list's order: as its order
// value names them, or by number; an entry past the list's end that only the erase takes is
// marked so.
std::vector<std::tuple<std::wstring, long long, bool>> ValueNames(const TraceSource& s, const RegKey& key) {
    auto kept = [&](const std::wstring& name) {
        std::wstring shown = s.show == Show::Rot13 ? mru::Rot13(name) : name;
        return !MatchName(s.pattern, name) ||
               std::any_of(s.keep.begin(), s.keep.end(), [&](const std::wstring& k) { return MatchName(k, shown); });
    };
    std::vector<std::tuple<std::wstring, long long, bool>> names;
    if (!s.order.empty()) {
        bool ended = false;  // the list ends at a missing value; the erase still takes every value named
        for (const std::wstring& name : OrderedNames(key, s.order)) {
            if (kept(name)) continue;
            bool there = HasValue(key, name);
            ended = ended || (!there && s.untilGap);
            if (there || (s.showMissing && !ended)) names.emplace_back(name, 0, !ended);
        }
        return names;
    }
    for (const std::wstring& name : key.ValueNames()) {
        long long n = s.first < 0 ? 0 : NumberIn(s.pattern, name);
        if (kept(name) || (s.first >= 0 && (n < s.first || n > s.last)) ||
            (s.digits && !SameNoCase(NameFor(s.pattern, n, s.digits), name)))
            continue;
        names.emplace_back(name, n, true);
    }
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
        return std::get<1>(a) != std::get<1>(b) ? std::get<1>(a) < std::get<1>(b) : NaturalLess(std::get<0>(a), std::get<0>(b));
    });
    long long expected = s.first;
    for (size_t i = 0; i < names.size(); ++i)
        if (s.untilGap && std::get<1>(names[i]) != expected++) names.resize(i);
    return names;
}

void ReadValues(size_t index, const TraceSource& s, const std::wstring& path, std::vector<TraceEntry>& out, Result* problems) {
    RegKey key, before;
    if (!rows::OpenKey(path, KEY_QUERY_VALUE, key, problems)) return;
    bool paired = !s.before.empty() && rows::OpenKey(s.before, KEY_QUERY_VALUE, before, problems);
    for (const auto& [name, n, listed] : ValueNames(s, key)) {
        if (!s.before.empty()) {
            TraceEntry e = ValueEntry(index, s, s.before, name);
            if (paired && HasValue(before, name)) e.text = Shown(s.show, before, name);
            e.listed = listed;
            out.push_back(e);
        }
        TraceEntry e = ValueEntry(index, s, path, name);
        if (HasValue(key, name)) e.text = Shown(s.show, key, name);
        e.listed = listed;
        e.order = s.order;
        if (!s.alongside.empty()) e.alongside = NameFor(s.alongside, n, s.digits);
        out.push_back(e);
    }
}

void ReadSubkeys(size_t index, const TraceSource& s, const std::wstring& path, std::vector<TraceEntry>& out, Result* problems) {
    RegKey key;
    if (!rows::OpenKey(path, KEY_ENUMERATE_SUB_KEYS, key, problems)) return;
    std::vector<std::wstring> names = key.SubkeyNames();
    std::sort(names.begin(), names.end(), NaturalLess);
    for (const std::wstring& name : names) {
        if (!MatchName(s.pattern, name)) continue;
        std::wstring sub = path + L"\\" + name, text = name;
        RegKey inside;
        if (!s.textValue.empty() && rows::OpenKey(sub, KEY_QUERY_VALUE, inside, problems)) text = Shown(s.show, inside, s.textValue);
        out.push_back(NewEntry(TraceEntry::Kind::Key, index, sub, L"", text));
    }
}

// Rewrites each order value that erased entries were named by, so that it names only the values
// still there.
void RewriteOrders(const std::vector<TraceEntry>& entries) {
    std::set<std::pair<std::wstring, std::wstring>> done;
    for (const TraceEntry& e : entries) {
        if (e.order.empty() || e.wholeKey || !done.insert({e.path, e.order}).second) continue;
        RegKey key;
        if (key.Open(HKEY_CURRENT_USER, e.path, KEY_QUERY_VALUE | KEY_SET_VALUE) != ERROR_SUCCESS) continue;
        std::vector<std::wstring> names = OrderedNames(key, e.order), left;
        std::copy_if(names.begin(), names.end(), std::back_inserter(left), [&](const std::wstring& n) { return HasValue(key, n); });
        if (left.size() == names.size()) continue;
        if (e.order == L"MRUList") {
            std::wstring letters;
            for (const std::wstring& name : left) letters += name;
            key.Write(e.order, REG_SZ, letters.c_str(), static_cast<DWORD>((letters.size() + 1) * sizeof(wchar_t)));
        } else {
            std::vector<uint32_t> numbers;
            for (const std::wstring& name : left) numbers.push_back(static_cast<uint32_t>(std::stoul(name)));
            std::vector<unsigned char> ex = mru::ListExFrom(numbers);
            key.Write(e.order, REG_BINARY, ex.data(), static_cast<DWORD>(ex.size()));
        }
    }
}

// A file's row: its path, and for a jump list the documents it names (read whole, up to a size
// no list reaches; the reader checks every byte it is given).
std::wstring FileText(const TraceSource& s, const std::wstring& path, unsigned long long bytes) {
    if (s.show != TraceSource::Show::JumpList || bytes == 0 || bytes > (16u << 20)) return path;
    std::vector<unsigned char> data(static_cast<size_t>(bytes));
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()))) return path;
    return jumplist::RowText(path, jumplist::Documents(data.data(), data.size()));
}

void ReadFiles(size_t index, const TraceSource& s, std::vector<TraceEntry>& out, Result* problems) {
    std::wstring folder = ExpandFolder(s.folder);
    std::vector<Entry> entries;
    std::wstring why;
    if (folder.empty() || ::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    if (!ListEntries(folder, entries, &why)) {
        if (problems) problems->Failed(folder + L": " + why);
        return;
    }
    for (const Entry& e : entries)
        if (!e.folder && MatchName(s.pattern, e.name)) {
            std::wstring path = folder + L"\\" + e.name;
            out.push_back(NewEntry(TraceEntry::Kind::File, index, path, L"", FileText(s, path, e.bytes)));
            out.back().bytes = e.bytes;
        }
}

}  // namespace

const std::vector<TraceDef>& TraceDefinitions(std::vector<std::wstring>* errors) {
    static const EmbeddedDefinitions<TraceDef> loaded(L"TRACE_", ParseTraceDefinition, FileOf);
    if (errors) *errors = loaded.errors;
    return loaded.defs;
}

const TraceDef* FindTraceDefinition(const std::string& key) {
    for (const TraceDef& d : TraceDefinitions())
        if (d.key == key) return &d;
    return nullptr;
}

std::vector<TraceEntry> ReadTraces(const TraceDef& def, Result* problems, bool unlisted) {
    std::vector<TraceEntry> entries;
    for (size_t i = 0; i < def.sources.size(); ++i) {
        const TraceSource& s = def.sources[i];
        if (s.kind == TraceSource::Kind::Files) {
            ReadFiles(i, s, entries, problems);
            continue;
        }
        std::vector<std::wstring> keys;
        for (const std::wstring& k : def.Keys(s)) ExpandKey(L"", KeySteps(k), 0, keys, problems);
        for (const std::wstring& k : keys) {
            if (s.kind == TraceSource::Kind::Values) ReadValues(i, s, k, entries, problems);
            if (s.kind == TraceSource::Kind::Subkeys) ReadSubkeys(i, s, k, entries, problems);
            RegKey key;
            if (s.kind == TraceSource::Kind::Key && rows::OpenKey(k, KEY_QUERY_VALUE, key, problems)) {
                entries.push_back(NewEntry(TraceEntry::Kind::Key, i, k, L"", KeyText(HKEY_CURRENT_USER, k)));
                entries.back().listed = s.listed;
            }
        }
    }
    if (!unlisted) entries.erase(std::remove_if(entries.begin(), entries.end(), [](const TraceEntry& e) { return !e.listed; }), entries.end());
    return entries;
}

bool StillThere(const TraceEntry& e) {
    if (e.kind == TraceEntry::Kind::File) return ::GetFileAttributesW(e.path.c_str()) != INVALID_FILE_ATTRIBUTES;
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, e.path, KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
    // A value that shows another text now is another entry: the program renumbered its list.
    return e.kind == TraceEntry::Kind::Key || (HasValue(key, e.value) && Shown(e.show, key, e.value) == e.text);
}

Result EraseTraces(const std::vector<TraceEntry>& entries, const Options& options) {
    Result result;
    for (const TraceEntry& e : entries) {
        Result one;
        if (e.kind == TraceEntry::Kind::File) {
            one = EraseFile(e.path, options);
            // A file another program holds open (Explorer, its thumbnails) is named as in use.
            for (std::wstring& why : one.reasons)
                if (why.find(ErrorText(ERROR_SHARING_VIOLATION)) != std::wstring::npos)
                    why = e.path + L": in use by another program; it stays.";
        } else if (e.kind == TraceEntry::Kind::Key || e.wholeKey) {
            // Counted are the entries, not the keys: a key an earlier entry took counts for this one too.
            DeleteKeyTree(HKEY_CURRENT_USER, e.path, one);
            one.erased = one.failed == 0;
        } else if (StillThere(e)) {  // renumbered since it was listed: the value now holds another entry, which stays
            DeleteValue(HKEY_CURRENT_USER, e.path, e.value, one);
            Result beside;
            if (!e.alongside.empty()) DeleteValue(HKEY_CURRENT_USER, e.path, e.alongside, beside);
            beside.erased = 0;
            one += beside;
        }
        if (one.failed == 0 && StillThere(e)) {
            one.erased = 0;
            one.Failed(e.text + L": still there after the erase.");
        }
        if (!e.listed) one.erased = 0;  // what only the erase takes is not counted
        result += one;
    }
    RewriteOrders(entries);
    return result;
}

Listing ListDefined(const std::string& key) {
    Listing listing;
    if (const TraceDef* d = FindTraceDefinition(key))
        for (TraceEntry& e : ReadTraces(*d, &listing.problems)) listing.items.push_back({std::move(e.text), e.bytes});
    return listing;
}

Result EraseDefined(const std::string& key, const Options& options) {
    Result problems;
    const TraceDef* d = FindTraceDefinition(key);
    Result result = d ? EraseTraces(ReadTraces(*d, &problems, true), options) : Result{};
    return result += problems;
}

Category TraceCategory(const TraceDef& def) {
    std::string key = def.key;
    return {key, def.group, def.name, [key](const Options&) { return ListDefined(key); },
            [key](const Options& options) { return EraseDefined(key, options); }};
}

}  // namespace engine
