#include "TraceDefinitions.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "DefinitionReader.h"

namespace engine {
namespace {

using json = DefinitionReader::json;
using Reader = DefinitionReader;

const wchar_t kVersion[] = L"{version}";

// A name inside one key or folder: no separators, not "." or "..".
void CheckName(const Reader& r, const std::wstring& name, const std::string& field, bool wildcards) {
    const wchar_t* bad = wildcards ? L"\\/" : L"\\/*?";
    if (name.find_first_of(bad) != std::wstring::npos || name == L"." || name == L"..") r.Bad(field, "is not a name");
}

// A key below HKEY_CURRENT_USER: plain steps, "*" steps and "{version}" where versions are given.
// A key erased whole lies at least three steps deep, so that no slip erases "Software\Microsoft".
void CheckKey(const Reader& r, const std::wstring& key, const std::string& field, bool versions, size_t depth) {
    std::vector<std::wstring> steps = KeySteps(key);
    if (steps.size() < depth) r.Bad(field, "is not " + std::to_string(depth) + " or more steps deep");
    bool hasVersion = false;
    for (const std::wstring& step : steps) {
        if (step.empty() || step == L"." || step == L".." || step.find_first_of(L"/?") != std::wstring::npos ||
            (step.find(L'*') != std::wstring::npos && step != L"*"))
            r.Bad(field, "is not a registry path below HKEY_CURRENT_USER");
        hasVersion = hasVersion || step.find(kVersion) != std::wstring::npos;
    }
    if (hasVersion != versions) r.Bad(field, versions ? "has no {version} step" : "has {version} but no versions");
}

std::vector<std::wstring> Texts(const Reader& r, const json& j, const std::string& at, const char* key) {
    std::vector<std::wstring> texts;
    const json& list = r.Array(j, at, key);
    for (size_t i = 0; i < list.size(); ++i)
        texts.push_back(FromUtf8(r.Utf8Of(list[i], Reader::Index(Reader::Join(at, key), i))));
    return texts;
}

TraceSource ReadFiles(const Reader& r, const json& j, const std::string& at) {
    r.Object(j, at, {"folder", "files"}, {"show"});
    TraceSource s;
    s.kind = TraceSource::Kind::Files;
    s.folder = r.Text(j, at, "folder");
    // The folder starts at a variable the system sets ("%APPDATA%\"), never at a drive, and
    // goes on by plain names.
    size_t close = s.folder.find(L'%', 1);
    std::wstring rest = close == std::wstring::npos ? L"" : s.folder.substr(close + 1);
    if (s.folder[0] != L'%' || close == std::wstring::npos || close < 2 || (!rest.empty() && rest[0] != L'\\') || rest == L"\\" ||
        rest.find_first_of(L"/:*?\"<>|%") != std::wstring::npos || rest.find(L"\\\\") != std::wstring::npos ||
        rest.find(L"..") != std::wstring::npos || (!rest.empty() && rest.back() == L'\\'))
        r.Bad(Reader::Join(at, "folder"), "is not a folder variable such as %APPDATA% and plain names");
    s.pattern = r.Text(j, at, "files");
    CheckName(r, s.pattern, Reader::Join(at, "files"), true);
    if (j.contains("show") && r.Utf8Text(j, at, "show") != "jump-list") r.Bad(Reader::Join(at, "show"), "is not jump-list");
    if (j.contains("show")) s.show = TraceSource::Show::JumpList;
    return s;
}

// Each show mode by its name in a definition.
const std::pair<const char*, TraceSource::Show> kShows[] = {
    {"text", TraceSource::Show::Text},
    {"after-star", TraceSource::Show::AfterStar},
    {"utf16", TraceSource::Show::Utf16},
    {"program-then-utf16", TraceSource::Show::ProgramThenUtf16},
    {"item-ids", TraceSource::Show::ItemIds},
    {"program-then-item-ids", TraceSource::Show::ProgramThenItemIds},
    {"rot13", TraceSource::Show::Rot13},
    {"run-command", TraceSource::Show::RunCommand},
};

TraceSource::Show ReadShow(const Reader& r, const json& j, const std::string& at) {
    std::string show = r.Utf8Text(j, at, "show"), names;
    for (const auto& [name, mode] : kShows) {
        if (show == name) return mode;
        names += (names.empty() ? "" : ", ") + std::string(name);
    }
    r.Bad(Reader::Join(at, "show"), "is none of " + names);
}

// The fields that only a trace of one kind takes.
void Only(const Reader& r, const json& j, const std::string& at, std::initializer_list<const char*> fields, const char* kind) {
    for (const char* f : fields)
        if (j.contains(f)) r.Bad(Reader::Join(at, f), std::string("belongs to a trace of ") + kind);
}

void ReadNumbers(const Reader& r, const json& j, const std::string& at, TraceSource& s) {
    std::string n = Reader::Join(at, "numbers");
    const json& range = j.at("numbers");
    if (!range.is_array() || range.size() != 2) r.Bad(n, "is not [first, last]");
    s.first = r.Number(range[0], Reader::Index(n, 0), 0, 9999);
    s.last = r.Number(range[1], Reader::Index(n, 1), s.first, 9999);
    if (std::count(s.pattern.begin(), s.pattern.end(), L'*') != 1 || s.pattern.find(L'?') != std::wstring::npos)
        r.Bad(n, "needs a values pattern with one '*' for the number");
    if (j.contains("digits")) s.digits = r.Number(j.at("digits"), Reader::Join(at, "digits"), 1, 4);
}

TraceSource ReadKey(const Reader& r, const json& j, const std::string& at) {
    r.Object(j, at, {"key"}, {"versions", "values", "order", "subkeys", "numbers", "digits", "untilGap", "showMissing", "show",
                              "textValue", "keep", "before", "alongside", "erase", "listed", "heading"});
    TraceSource s;
    s.key = r.Text(j, at, "key");
    if (j.contains("versions")) s.versions = Texts(r, j, at, "versions");
    for (size_t i = 0; i < s.versions.size(); ++i)
        CheckName(r, s.versions[i], Reader::Index(Reader::Join(at, "versions"), i), false);
    if (j.contains("values") + j.contains("order") + j.contains("subkeys") > 1)
        r.Bad(at, "has more than one of values, order and subkeys");
    if (j.contains("values") || j.contains("order")) {
        s.kind = TraceSource::Kind::Values;
        s.pattern = j.contains("values") ? r.Text(j, at, "values") : L"*";
        Only(r, j, at, {"textValue", "listed"}, "subkeys or keys");
    } else if (j.contains("subkeys")) {
        s.kind = TraceSource::Kind::Subkeys;
        s.pattern = r.Text(j, at, "subkeys");
        Only(r, j, at, {"numbers", "digits", "untilGap", "showMissing", "keep", "show", "before", "alongside", "listed"}, "values");
        if (j.contains("textValue")) s.textValue = r.Text(j, at, "textValue");
    } else {
        Only(r, j, at, {"numbers", "digits", "untilGap", "showMissing", "keep", "show", "textValue", "before", "alongside"},
             "values or subkeys");
    }
    s.wholeKey = s.kind == TraceSource::Kind::Key;
    if (j.contains("erase")) {
        if (r.Utf8Text(j, at, "erase") != "key") r.Bad(Reader::Join(at, "erase"), "is not \"key\"");
        s.wholeKey = true;
    }
    // A key erased whole lies at least three steps deep, so that no slip erases "Software\Microsoft".
    size_t depth = s.kind == TraceSource::Kind::Key || s.wholeKey ? 3 : 2;
    CheckKey(r, s.key, Reader::Join(at, "key"), !s.versions.empty(), depth);
    if (j.contains("before")) {
        s.before = r.Text(j, at, "before");
        CheckKey(r, s.before, Reader::Join(at, "before"), false, depth);
        if (s.before.find(L'*') != std::wstring::npos) r.Bad(Reader::Join(at, "before"), "is not one key");
    }
    if (j.contains("values") || j.contains("subkeys"))
        CheckName(r, s.pattern, Reader::Join(at, j.contains("values") ? "values" : "subkeys"), true);
    if (j.contains("order")) {
        s.order = r.Text(j, at, "order");
        if (s.order != L"MRUList" && s.order != L"MRUListEx") r.Bad(Reader::Join(at, "order"), "is neither MRUList nor MRUListEx");
        Only(r, j, at, {"numbers", "digits", "alongside"}, "numbered values");
    } else {
        Only(r, j, at, {"showMissing"}, "ordered values");
    }
    if (j.contains("numbers")) ReadNumbers(r, j, at, s);
    else Only(r, j, at, {"digits", "alongside"}, "numbered values");
    s.untilGap = r.Flag(j, at, "untilGap");
    if (s.untilGap && s.first < 0 && s.order.empty()) r.Bad(Reader::Join(at, "untilGap"), "needs numbers or an order");
    s.showMissing = r.Flag(j, at, "showMissing");
    if (j.contains("show")) s.show = ReadShow(r, j, at);
    if (j.contains("keep")) s.keep = Texts(r, j, at, "keep");
    if (j.contains("alongside")) {
        s.alongside = r.Text(j, at, "alongside");
        CheckName(r, s.alongside, Reader::Join(at, "alongside"), true);
        if (std::count(s.alongside.begin(), s.alongside.end(), L'*') != 1 || s.alongside.find(L'?') != std::wstring::npos)
            r.Bad(Reader::Join(at, "alongside"), "needs one '*' for the number");
    }
    if (j.contains("listed")) {
        s.listed = r.Flag(j, at, "listed");
        if (s.listed || s.kind != TraceSource::Kind::Key) r.Bad(Reader::Join(at, "listed"), "is only ever false, for a key erased whole");
    }
    if (j.contains("heading")) s.heading = r.Text(j, at, "heading");
    return s;
}

}  // namespace

std::vector<std::wstring> KeySteps(const std::wstring& path) {
    std::vector<std::wstring> steps;
    size_t start = 0;
    for (size_t slash; (slash = path.find(L'\\', start)) != std::wstring::npos; start = slash + 1)
        steps.push_back(path.substr(start, slash - start));
    steps.push_back(path.substr(start));
    return steps;
}

std::vector<std::wstring> TraceDef::Keys(const TraceSource& s) const {
    if (s.versions.empty()) return {s.key};
    std::vector<std::wstring> keys;
    for (const std::wstring& v : s.versions) {
        std::wstring key = s.key;
        for (size_t at = 0; (at = key.find(kVersion, at)) != std::wstring::npos; at += v.size())
            key.replace(at, wcslen(kVersion), v);
        keys.push_back(key);
    }
    return keys;
}

bool ParseTraceDefinition(const std::wstring& file, const std::string& text, TraceDef& def, std::wstring& error) {
    return Reader::Read(file, text, error, [&](const Reader& r, const json& j) {
        r.Object(j, "", {"key", "group", "name", "icon", "text", "traces"});
        def = TraceDef();
        def.key = r.Utf8Text(j, "", "key");
        def.group = r.Utf8Text(j, "", "group");
        if (def.group != "internet" && def.group != "system" && def.group != "apps")
            r.Bad("group", "is none of internet, system, apps");
        if (def.key.compare(0, def.group.size() + 1, def.group + ".") != 0 || def.key.size() <= def.group.size() + 1)
            r.Bad("key", "does not start with its group and a dot");
        for (char c : def.key)
            if (!islower(static_cast<unsigned char>(c)) && !isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-')
                r.Bad("key", "is not made of a-z, 0-9, '.' and '-'");
        def.name = r.Text(j, "", "name");
        def.icon = r.Number(j.at("icon"), "icon", 1, 32767);
        def.text = r.Text(j, "", "text");
        const json& traces = r.Array(j, "", "traces");
        for (size_t i = 0; i < traces.size(); ++i) {
            std::string at = Reader::Index("traces", i);
            if (!traces[i].is_object()) r.Bad(at, "is not an object");
            def.sources.push_back(traces[i].contains("folder") ? ReadFiles(r, traces[i], at) : ReadKey(r, traces[i], at));
        }
    });
}

bool MatchName(const std::wstring& pattern, const std::wstring& name) {
    // The classic two-pointer walk: on a mismatch, the last '*' takes one more character.
    size_t p = 0, n = 0, star = std::wstring::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            mark = n;
        } else if (p < pattern.size() && (pattern[p] == L'?' || std::towlower(pattern[p]) == std::towlower(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

long long NumberIn(const std::wstring& pattern, const std::wstring& name) {
    size_t star = pattern.find(L'*');
    if (star == std::wstring::npos) return -1;
    size_t tail = pattern.size() - star - 1;
    if (name.size() <= star + tail || !MatchName(pattern.substr(0, star), name.substr(0, star)) ||
        !MatchName(pattern.substr(star + 1), name.substr(name.size() - tail)))
        return -1;
    std::wstring digits = name.substr(star, name.size() - star - tail);
    if (digits.size() > 9 || digits.find_first_not_of(L"0123456789") != std::wstring::npos) return -1;
    return std::stoll(digits);
}

bool NaturalLess(const std::wstring& a, const std::wstring& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::iswdigit(a[i]) && std::iswdigit(b[j])) {
            size_t ei = a.find_first_not_of(L"0123456789", i), ej = b.find_first_not_of(L"0123456789", j);
            std::wstring x = a.substr(i, ei - i), y = b.substr(j, ej - j);
            x.erase(0, std::min(x.find_first_not_of(L'0'), x.size()));
            y.erase(0, std::min(y.find_first_not_of(L'0'), y.size()));
            if (x.size() != y.size()) return x.size() < y.size();
            if (x != y) return x < y;
            i = ei == std::wstring::npos ? a.size() : ei;
            j = ej == std::wstring::npos ? b.size() : ej;
            continue;
        }
        wint_t x = std::towlower(a[i++]), y = std::towlower(b[j++]);
        if (x != y) return x < y;
    }
    return a.size() - i < b.size() - j;
}

std::wstring NameFor(const std::wstring& pattern, long long n, int digits) {
    std::wstring number = std::to_wstring(n);
    if (number.size() < static_cast<size_t>(digits)) number.insert(0, static_cast<size_t>(digits) - number.size(), L'0');
    std::wstring name = pattern;
    size_t star = name.find(L'*');
    return star == std::wstring::npos ? name : name.replace(star, 1, number);
}

std::wstring AfterStar(const std::wstring& text) {
    size_t star = text.find(L'*');
    return star == std::wstring::npos ? text : text.substr(star + 1);
}

}  // namespace engine
