#include "BrowserDefinitions.h"

#include <windows.h>

#include <initializer_list>
#include <mutex>
#include <nlohmann/json.hpp>

#include "Text.h"

namespace engine {
namespace {

using nlohmann::json;

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
        std::string name = Utf8Text(j, at, key);
        for (char c : name)
            if (!isalnum(static_cast<unsigned char>(c)) && c != '_') Bad(Join(at, key), "is not a plain name");
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
    Reader r(file);
    try {
        json j = json::parse(text);
        r.Object(j, "", {"id", "name", "process", "profiles", "categories"});
        def = BrowserDef();
        def.id = r.Name(j, "", "id");
        def.name = r.Text(j, "", "name");
        def.process = r.Text(j, "", "process");
        ReadProfiles(r, j.at("profiles"), def);
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

namespace {

struct Loaded {
    std::vector<BrowserDef> defs;
    std::vector<std::wstring> errors;
};

BOOL CALLBACK AddResource(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name) || wcsncmp(name, L"BROWSER_", 8) != 0) return TRUE;
    auto* loaded = reinterpret_cast<Loaded*>(param);
    HRSRC found = ::FindResourceW(module, name, type);
    HGLOBAL data = found ? ::LoadResource(module, found) : nullptr;
    const char* bytes = data ? static_cast<const char*>(::LockResource(data)) : nullptr;
    std::wstring file = name;
    if (!bytes) {
        loaded->errors.push_back(file + L": the resource could not be read");
        return TRUE;
    }
    BrowserDef def;
    std::wstring error;
    if (ParseBrowserDefinition(file, std::string(bytes, ::SizeofResource(module, found)), def, error))
        loaded->defs.push_back(std::move(def));
    else
        loaded->errors.push_back(error);
    return TRUE;
}

}  // namespace

const std::vector<BrowserDef>& BrowserDefinitions(std::vector<std::wstring>* errors) {
    static const Loaded loaded = [] {
        Loaded l;
        ::EnumResourceNamesW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(10) /* RT_RCDATA */, AddResource,
                             reinterpret_cast<LONG_PTR>(&l));
        return l;
    }();
    if (errors) *errors = loaded.errors;
    return loaded.defs;
}

}  // namespace engine
