// The strict reader of the definitions kept as JSON (browsers, traces): every field is named by
// its path ("traces[2].values") in the error, an unknown or missing field is an error, and a
// text is never empty. Free of Windows headers, so that the parsers built on it can be fuzzed.
#pragma once
#include <functional>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace engine {

std::wstring FromUtf8(const std::string& utf8);

struct DefinitionError {
    std::wstring text;
};

class DefinitionReader {
public:
    using json = nlohmann::json;
    explicit DefinitionReader(std::wstring file) : m_file(std::move(file)) {}

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
    // A whole number from low to high.
    int Number(const json& v, const std::string& field, int low, int high) const {
        if (!v.is_number_integer() || v.get<long long>() < low || v.get<long long>() > high)
            Bad(field, "is not a number from " + std::to_string(low) + " to " + std::to_string(high));
        return static_cast<int>(v.get<long long>());
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

    // Runs read over one file's text: false with "<file>: <what is wrong>" in error.
    static bool Read(const std::wstring& file, const std::string& text, std::wstring& error,
                     const std::function<void(const DefinitionReader&, const json&)>& read) {
        DefinitionReader r(file);
        try {
            read(r, json::parse(text));
            return true;
        } catch (const DefinitionError& e) {
            error = e.text;
        } catch (const json::exception& e) {
            error = file + L": " + FromUtf8(e.what());
        }
        return false;
    }

private:
    std::wstring m_file;
};

// Hands every RCDATA resource of this program whose name starts with prefix to add, with its
// name and bytes; a resource that cannot be read is an error "<name>: ...".
void ForEachDefinitionResource(const wchar_t* prefix,
                               const std::function<void(const std::wstring& name, const std::string& text)>& add,
                               std::vector<std::wstring>& errors);

// The definitions embedded under a resource prefix, each read by parse under the file name
// fileOf gives its resource; one that does not read is left out and its error kept.
template <class Def>
struct EmbeddedDefinitions {
    std::vector<Def> defs;
    std::vector<std::wstring> errors;

    template <class Parse, class FileOf>
    EmbeddedDefinitions(const wchar_t* prefix, Parse parse, FileOf fileOf) {
        ForEachDefinitionResource(prefix, [&](const std::wstring& name, const std::string& text) {
            Def def;
            std::wstring error;
            if (parse(fileOf(name), text, def, error))
                defs.push_back(std::move(def));
            else
                errors.push_back(error);
        }, errors);
    }
};

}  // namespace engine
