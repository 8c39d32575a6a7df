#include "TraceCategories.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "DefinitionReader.h"
#include "JumpList.h"
#include "MruBytes.h"
#include "RegKey.h"
#include "Text.h"
#include "Walk.h"
#include "categories/Rows.h"

namespace engine {
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

std::wstring Shown(const TraceSource& s, const RegKey& key, const std::wstring& name) {
    std::wstring text;
    std::vector<unsigned char> data;
    DWORD type = 0;
    if (s.show != TraceSource::Show::Utf16 && key.ReadString(name, text))
        return s.show == TraceSource::Show::AfterStar ? AfterStar(text) : text;
    if (!key.ReadBinary(name, data, &type)) return text;
    if (s.show == TraceSource::Show::Utf16 || type != REG_BINARY) {
        std::vector<std::u16string> strings = mru::Utf16Strings(data);
        return strings.empty() ? text : std::wstring(strings[0].begin(), strings[0].end());
    }
    // A path kept as the bytes of a text (Acrobat's tDIText).
    std::string bytes(data.begin(), std::find(data.begin(), data.end(), '\0'));
    return FromUtf8(bytes);
}

void ReadValues(const TraceSource& s, const std::wstring& path, std::vector<TraceEntry>& out, Result* problems) {
    RegKey key;
    if (!rows::OpenKey(path, KEY_QUERY_VALUE, key, problems)) return;
    std::vector<std::pair<long long, std::wstring>> names;
    for (const std::wstring& name : key.ValueNames()) {
        bool kept = std::any_of(s.keep.begin(), s.keep.end(), [&](const std::wstring& k) { return SameNoCase(k, name); });
        if (kept || !MatchName(s.pattern, name)) continue;
        long long n = s.first < 0 ? 0 : NumberIn(s.pattern, name);
        if (s.first >= 0 && (n < s.first || n > s.last)) continue;
        names.push_back({n, name});
    }
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : NaturalLess(a.second, b.second);
    });
    long long expected = s.first;
    for (const auto& [n, name] : names) {
        if (s.untilGap && n != expected++) break;
        out.push_back({TraceEntry::Kind::Value, path, name, Shown(s, key, name)});
    }
}

void ReadSubkeys(const TraceSource& s, const std::wstring& path, std::vector<TraceEntry>& out, Result* problems) {
    RegKey key;
    if (!rows::OpenKey(path, KEY_ENUMERATE_SUB_KEYS, key, problems)) return;
    std::vector<std::wstring> names = key.SubkeyNames();
    std::sort(names.begin(), names.end(), NaturalLess);
    for (const std::wstring& name : names) {
        if (!MatchName(s.pattern, name)) continue;
        std::wstring sub = path + L"\\" + name, text = name;
        RegKey inside;
        if (!s.textValue.empty() && rows::OpenKey(sub, KEY_QUERY_VALUE, inside, problems))
            text = Shown(s, inside, s.textValue);
        out.push_back({TraceEntry::Kind::Key, sub, L"", text});
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

void ReadFiles(const TraceSource& s, std::vector<TraceEntry>& out, Result* problems) {
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
            out.push_back({TraceEntry::Kind::File, path, L"", FileText(s, path, e.bytes), e.bytes});
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

std::vector<TraceEntry> ReadTraces(const TraceDef& def, Result* problems) {
    std::vector<TraceEntry> entries;
    for (const TraceSource& s : def.sources) {
        if (s.kind == TraceSource::Kind::Files) {
            ReadFiles(s, entries, problems);
            continue;
        }
        std::vector<std::wstring> keys;
        for (const std::wstring& k : def.Keys(s)) ExpandKey(L"", KeySteps(k), 0, keys, problems);
        for (const std::wstring& k : keys) {
            if (s.kind == TraceSource::Kind::Values) ReadValues(s, k, entries, problems);
            if (s.kind == TraceSource::Kind::Subkeys) ReadSubkeys(s, k, entries, problems);
            RegKey key;
            if (s.kind == TraceSource::Kind::Key && rows::OpenKey(k, KEY_QUERY_VALUE, key, problems))
                entries.push_back({TraceEntry::Kind::Key, k, L"", KeyText(HKEY_CURRENT_USER, k)});
        }
    }
    return entries;
}

bool StillThere(const TraceEntry& e) {
    if (e.kind == TraceEntry::Kind::File) return ::GetFileAttributesW(e.path.c_str()) != INVALID_FILE_ATTRIBUTES;
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, e.path, KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
    if (e.kind == TraceEntry::Kind::Key) return true;
    // A value that holds another text now is another entry: the program renumbered its list.
    std::wstring now;
    if (key.ReadString(e.value, now)) return now == e.text || AfterStar(now) == e.text;
    return ::RegQueryValueExW(key.Get(), e.value.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
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
        } else if (e.kind == TraceEntry::Kind::Key) {
            DeleteKeyTree(HKEY_CURRENT_USER, e.path, one);
        } else {
            // Renumbered since it was listed: the value now holds another entry, which stays.
            if (StillThere(e)) DeleteValue(HKEY_CURRENT_USER, e.path, e.value, one);
        }
        if (one.failed == 0 && StillThere(e)) {
            one.erased = 0;
            one.Failed(e.text + L": still there after the erase.");
        }
        result += one;
    }
    return result;
}

Category TraceCategory(const TraceDef& def) {
    std::string key = def.key;
    auto list = [key](const Options&) {
        Listing listing;
        if (const TraceDef* d = FindTraceDefinition(key))
            for (TraceEntry& e : ReadTraces(*d, &listing.problems)) listing.items.push_back({std::move(e.text), e.bytes});
        return listing;
    };
    auto erase = [key](const Options& options) {
        Result problems;
        const TraceDef* d = FindTraceDefinition(key);
        Result result = d ? EraseTraces(ReadTraces(*d, &problems), options) : Result{};
        result += problems;
        return result;
    };
    return {def.key, def.group, def.name, list, erase};
}

}  // namespace engine
