#include "BrowserDefinitions.h"

#include "DefinitionReader.h"

namespace engine {
namespace {

using nlohmann::json;
using Reader = DefinitionReader;

TableClear ReadTable(const Reader& r, const json& j, const std::string& at) {
    r.Object(j, at, {"table"}, {"optional", "keep"});
    TableClear t;
    t.table = r.Name(j, at, "table");
    t.optional = r.Flag(j, at, "optional");
    if (j.contains("keep")) {
        std::string k = Reader::Join(at, "keep");
        r.Object(j.at("keep"), k, {"column", "in", "as"});
        t.keepColumn = r.Name(j.at("keep"), k, "column");
        t.keepIn = r.Name(j.at("keep"), k, "in");
        t.keepAs = r.Name(j.at("keep"), k, "as");
    }
    return t;
}

BrowserCategoryDef ReadCategory(const Reader& r, const json& j, const std::string& at) {
    r.Object(j, at, {"key", "name"}, {"folders", "local", "database"});
    BrowserCategoryDef c;
    c.key = r.Name(j, at, "key");
    c.name = r.Text(j, at, "name");
    c.local = r.Flag(j, at, "local");
    if (j.contains("folders") == j.contains("database")) r.Bad(at, "needs either folders or a database");
    if (j.contains("folders")) {
        const json& folders = r.Array(j, at, "folders");
        for (size_t i = 0; i < folders.size(); ++i)
            c.folders.push_back(r.RelativePath(folders[i], Reader::Index(Reader::Join(at, "folders"), i)));
        return c;
    }
    std::string d = Reader::Join(at, "database");
    const json& db = r.Object(j.at("database"), d, {"file", "inUse", "tables"});
    c.hasDatabase = true;
    c.database.file = r.RelativePath(db.at("file"), Reader::Join(d, "file"));
    c.database.inUse = r.Text(db, d, "inUse");
    const json& tables = r.Array(db, d, "tables");
    for (size_t i = 0; i < tables.size(); ++i)
        c.database.tables.push_back(ReadTable(r, tables[i], Reader::Index(Reader::Join(d, "tables"), i)));
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
    } else {
        r.Bad("profiles.kind", "is neither chromium nor firefox");
    }
}

}  // namespace

bool ParseBrowserDefinition(const std::wstring& file, const std::string& text, BrowserDef& def, std::wstring& error) {
    return Reader::Read(file, text, error, [&](const Reader& r, const json& j) {
        r.Object(j, "", {"id", "name", "process", "profiles", "categories"});
        def = BrowserDef();
        def.id = r.Name(j, "", "id");
        def.name = r.Text(j, "", "name");
        def.process = r.Text(j, "", "process");
        ReadProfiles(r, j.at("profiles"), def);
        const json& categories = r.Array(j, "", "categories");
        for (size_t i = 0; i < categories.size(); ++i)
            def.categories.push_back(ReadCategory(r, categories[i], Reader::Index("categories", i)));
    });
}

const std::vector<BrowserDef>& BrowserDefinitions(std::vector<std::wstring>* errors) {
    static const EmbeddedDefinitions<BrowserDef> loaded(L"BROWSER_", ParseBrowserDefinition,
                                                        [](const std::wstring& name) { return name; });
    if (errors) *errors = loaded.errors;
    return loaded.defs;
}

}  // namespace engine
