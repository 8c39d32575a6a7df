// The strict reader of one browser definition: pure, without the system, so that it is fuzzed
// natively (tests/fuzz/fuzz_browser_definition.cpp).
#include <cstring>

#include "BrowserDefinitions.h"
#include "DefinitionReader.h"

namespace engine {
namespace {

using nlohmann::json;

using Reader = DefinitionReader;

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
    return Reader::Read(file, text, error, [&](const Reader& r, const json& j) {
        r.Object(j, "", {"id", "name", "process", "profiles"}, {"categories", "sameAs"});
        def = BrowserDef();
        def.id = r.Name(j, "", "id");
        def.name = r.Text(j, "", "name");
        def.process = r.Text(j, "", "process");
        ReadProfiles(r, j.at("profiles"), def);
        if (j.contains("sameAs") == j.contains("categories")) r.Bad("categories", "or sameAs is needed, not both");
        if (j.contains("sameAs")) {
            def.sameAs = r.Name(j, "", "sameAs");
            return;
        }
        const json& categories = r.Array(j, "", "categories");
        for (size_t i = 0; i < categories.size(); ++i)
            def.categories.push_back(ReadCategory(r, categories[i], Reader::Index("categories", i)));
    });
}

}  // namespace engine
