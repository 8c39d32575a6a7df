// The strict reader of one browser definition: pure, without the system, so that it is fuzzed
// natively (tests/fuzz/fuzz_browser_definition.cpp).
#include <codecvt>
#include <cstring>
#include <initializer_list>
#include <locale>
#include <nlohmann/json.hpp>

#include "BrowserDefinitions.h"

namespace engine {
namespace {

using nlohmann::json;

// UTF-16 of a definition's text (the JSON reader has checked its UTF-8; a parse error's excerpt
// may not be whole, and shows as "?").
std::wstring FromUtf8(const std::string& text) {
    std::wstring_convert<std::codecvt_utf8_utf16<wchar_t>> convert("?", L"?");
    return convert.from_bytes(text);
}

struct DefinitionError {
    std::wstring text;
};

// Walks one file's JSON, naming every field by its path ("categories[2].database.file").
class Reader {
public:
    explicit Reader(std::wstring file) : m_file(std::move(file)) {}

    // "<file>: unknown field "x"", "<file>: missing field "x"".
    [[noreturn]] void Fail(const std::string& field, const std::string& what) const {
        throw DefinitionError{m_file + L": " + FromUtf8(what) + L" \"" + FromUtf8(field) + L"\""};
    }
    // "<file>: field "x" is not a text".
    [[noreturn]] void Bad(const std::string& field, const std::string& what) const {
        throw DefinitionError{m_file + L": field \"" + FromUtf8(field) + L"\" " + FromUtf8(what)};
    }
    // An object holding only the given keys; each of them listed as required must be there.
    const json& Object(const json& j, const std::string& at, std::initializer_list<const char*> required,
                       std::initializer_list<const char*> optional = {}) const {
        if (!j.is_object()) Bad(at.empty() ? "(top)" : at, "is not an object");
        for (auto it = j.begin(); it != j.end(); ++it) {
            bool known = false;
            for (const char* k : required) known = known || it.key() == k;
            for (const char* k : optional) known = known || it.key() == k;
            if (!known) Fail(Join(at, it.key()), "unknown field");
        }
        for (const char* k : required)
            if (!j.contains(k)) Fail(Join(at, k), "missing field");
        return j;
    }
    std::string Utf8Text(const json& j, const std::string& at, const char* key) const {
        return Utf8Of(j.at(key), Join(at, key));
    }
    std::string Utf8Of(const json& v, const std::string& field) const {
        if (!v.is_string() || v.get_ref<const std::string&>().empty()) Bad(field, "is not a text");
        return v.get<std::string>();
    }
    std::wstring Text(const json& j, const std::string& at, const char* key) const {
        return FromUtf8(Utf8Text(j, at, key));
    }
    // An SQL name as the definition gives it: letters, digits and '_' only.
    std::string Name(const json& j, const std::string& at, const char* key) const {
        return NameOf(j.at(key), Join(at, key));
    }
    std::string NameOf(const json& v, const std::string& field) const {
        std::string name = Utf8Of(v, field);
        for (char c : name)
            if (!isalnum(static_cast<unsigned char>(c)) && c != '_') Bad(field, "is not a plain name");
        return name;
    }
    bool Flag(const json& j, const std::string& at, const char* key) const {
        if (!j.contains(key)) return false;
        if (!j.at(key).is_boolean()) Bad(Join(at, key), "is not true or false");
        return j.at(key).get<bool>();
    }
    const json& Array(const json& j, const std::string& at, const char* key) const {
        const json& v = j.at(key);
        if (!v.is_array() || v.empty()) Bad(Join(at, key), "is not a list of one or more");
        return v;
    }
    // A path relative to a profile: plain names joined by '\'.
    std::wstring RelativePath(const json& v, const std::string& field) const {
        std::wstring path = FromUtf8(Utf8Of(v, field));
        if (path.front() == L'\\' || path.back() == L'\\' || path.find(L"\\\\") != std::wstring::npos ||
            path.find_first_of(L"/:*?\"<>|") != std::wstring::npos || path.find(L"..") != std::wstring::npos)
            Bad(field, "is not a relative path");
        return path;
    }
    static std::string Join(const std::string& at, const std::string& key) { return at.empty() ? key : at + "." + key; }
    static std::string Index(const std::string& at, size_t i) { return at + "[" + std::to_string(i) + "]"; }

private:
    std::wstring m_file;
};

// A LIKE pattern of a definition: letters, digits and "_/%.-" only.
std::string Pattern(const Reader& r, const json& j, const std::string& at, const char* key) {
    std::string pattern = r.Utf8Text(j, at, key);
    for (char c : pattern)
        if (!isalnum(static_cast<unsigned char>(c)) && !strchr("_/%.-", c)) r.Bad(Reader::Join(at, key), "is not a plain pattern");
    return pattern;
}

std::vector<RowRef> ReadRefs(const Reader& r, const json& j, const std::string& at, const char* key) {
    std::vector<RowRef> refs;
    if (!j.contains(key)) return refs;
    const json& list = r.Array(j, at, key);
    for (size_t i = 0; i < list.size(); ++i) {
        std::string k = Reader::Index(Reader::Join(at, key), i);
        r.Object(list[i], k, {"column", "in", "as"}, {"named"});
        RowRef ref{r.Name(list[i], k, "column"), r.Name(list[i], k, "in"), r.Name(list[i], k, "as"), {}};
        if (list[i].contains("named")) ref.named = Pattern(r, list[i], k, "named");
        refs.push_back(std::move(ref));
    }
    return refs;
}

// A table: its name alone, or an object with its keep and drop rules.
TableClear ReadTable(const Reader& r, const json& j, const std::string& at) {
    TableClear t;
    if (j.is_string()) {
        t.table = r.NameOf(j, at);
        return t;
    }
    r.Object(j, at, {"table"}, {"keep", "drop"});
    t.table = r.Name(j, at, "table");
    t.keep = ReadRefs(r, j, at, "keep");
    t.drop = ReadRefs(r, j, at, "drop");
    return t;
}

// What a table's rows stay for must not come back to it: its rules are followed to their end.
bool RefersBack(const DatabaseClear& db, const std::string& table, const std::string& start, size_t depth) {
    if (depth > db.tables.size()) return true;
    for (const TableClear& t : db.tables) {
        if (t.table != table) continue;
        for (const std::vector<RowRef>* refs : {&t.keep, &t.drop})
            for (const RowRef& ref : *refs)
                if (ref.in == start || RefersBack(db, ref.in, start, depth + 1)) return true;
    }
    return false;
}

DatabaseClear ReadDatabase(const Reader& r, const json& j, const std::string& at, const std::wstring& inUse) {
    r.Object(j, at, {"files", "identify", "tables"});
    DatabaseClear d;
    d.inUse = inUse;
    const json& files = r.Array(j, at, "files");
    for (size_t i = 0; i < files.size(); ++i)
        d.files.push_back(r.RelativePath(files[i], Reader::Index(Reader::Join(at, "files"), i)));
    const json& identify = r.Array(j, at, "identify");
    for (size_t i = 0; i < identify.size(); ++i)
        d.identify.push_back(r.NameOf(identify[i], Reader::Index(Reader::Join(at, "identify"), i)));
    const json& tables = r.Array(j, at, "tables");
    for (size_t i = 0; i < tables.size(); ++i)
        d.tables.push_back(ReadTable(r, tables[i], Reader::Index(Reader::Join(at, "tables"), i)));
    for (size_t i = 0; i < d.tables.size(); ++i)
        if (RefersBack(d, d.tables[i].table, d.tables[i].table, 0))
            r.Bad(Reader::Index(Reader::Join(at, "tables"), i), "keeps rows for a table that keeps them for it");
    return d;
}

std::vector<std::wstring> ReadPaths(const Reader& r, const json& j, const std::string& at, const char* key) {
    std::vector<std::wstring> paths;
    if (!j.contains(key)) return paths;
    const json& list = r.Array(j, at, key);
    for (size_t i = 0; i < list.size(); ++i) paths.push_back(r.RelativePath(list[i], Reader::Index(Reader::Join(at, key), i)));
    return paths;
}

BrowserCategoryDef ReadCategory(const Reader& r, const json& j, const std::string& at) {
    r.Object(j, at, {"key", "name"}, {"folders", "files", "local", "inUse", "databases"});
    BrowserCategoryDef c;
    c.key = r.Name(j, at, "key");
    c.name = r.Text(j, at, "name");
    c.local = r.Flag(j, at, "local");
    c.folders = ReadPaths(r, j, at, "folders");
    c.files = ReadPaths(r, j, at, "files");
    if (j.contains("databases") != j.contains("inUse")) r.Bad(at, "needs inUse with its databases");
    if (j.contains("databases")) {
        std::wstring inUse = r.Text(j, at, "inUse");
        const json& dbs = r.Array(j, at, "databases");
        for (size_t i = 0; i < dbs.size(); ++i)
            c.databases.push_back(ReadDatabase(r, dbs[i], Reader::Index(Reader::Join(at, "databases"), i), inUse));
    }
    if (c.folders.empty() && c.files.empty() && c.databases.empty()) r.Bad(at, "needs folders, files or databases");
    return c;
}

void ReadProfiles(const Reader& r, const json& j, BrowserDef& def) {
    const std::string at = "profiles";
    if (!j.is_object()) r.Bad(at, "is not an object");
    if (!j.contains("kind")) r.Fail("profiles.kind", "missing field");
    std::string kind = r.Utf8Text(j, at, "kind");
    if (kind == "chromium") {
        r.Object(j, at, {"kind", "userData"});
        def.kind = BrowserDef::Kind::Chromium;
        def.userData = r.Text(j, at, "userData");
    } else if (kind == "firefox") {
        r.Object(j, at, {"kind", "ini", "local"});
        def.kind = BrowserDef::Kind::Firefox;
        def.ini = r.Text(j, at, "ini");
        def.local = r.Text(j, at, "local");
    } else if (kind == "folder") {
        r.Object(j, at, {"kind", "folder", "local"});
        def.kind = BrowserDef::Kind::Folder;
        def.folder = r.Text(j, at, "folder");
        def.local = r.Text(j, at, "local");
    } else {
        r.Bad("profiles.kind", "is not chromium, firefox or folder");
    }
}

}  // namespace

bool ParseBrowserDefinition(const std::wstring& file, const std::string& text, BrowserDef& def, std::wstring& error) {
    Reader r(file);
    try {
        json j = json::parse(text);
        r.Object(j, "", {"id", "name", "process", "profiles"}, {"categories", "sameAs"});
        def = BrowserDef();
        def.id = r.Name(j, "", "id");
        def.name = r.Text(j, "", "name");
        def.process = r.Text(j, "", "process");
        ReadProfiles(r, j.at("profiles"), def);
        if (j.contains("sameAs") == j.contains("categories")) r.Bad("categories", "or sameAs is needed, not both");
        if (j.contains("sameAs")) {
            def.sameAs = r.Name(j, "", "sameAs");
            return true;
        }
        const json& categories = r.Array(j, "", "categories");
        for (size_t i = 0; i < categories.size(); ++i)
            def.categories.push_back(ReadCategory(r, categories[i], Reader::Index("categories", i)));
        return true;
    } catch (const DefinitionError& e) {
        error = e.text;
    } catch (const json::exception& e) {
        error = file + L": " + FromUtf8(e.what());
    }
    return false;
}

}  // namespace engine
