// fuzz-sources: engine/BrowserDefinitionReader.cpp
// Browser definitions: any text is read or refused with the file named, never a crash or a hang;
// what is read holds only plain names, relative paths and tables that do not keep their rows for
// one another.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <codecvt>
#include <locale>
#include <string>

#include "BrowserDefinitions.h"

namespace engine {
// The engine's conversion is Windows'; the standard library's does here (text that is not
// UTF-8 becomes "?").
std::wstring FromUtf8(const std::string& utf8) {
    return std::wstring_convert<std::codecvt_utf8_utf16<wchar_t>>("?", L"?").from_bytes(utf8);
}
}  // namespace engine

using namespace engine;

namespace {

bool PlainName(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) { return isalnum(c) || c == '_'; });
}
bool Relative(const std::wstring& path) {
    return !path.empty() && path.front() != L'\\' && path.find(L"..") == std::wstring::npos &&
           path.find_first_of(L"/:*?\"<>|") == std::wstring::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BrowserDef def;
    std::wstring error;
    if (!ParseBrowserDefinition(L"f.json", std::string(reinterpret_cast<const char*>(data), size), def, error)) {
        if (error.compare(0, 8, L"f.json: ") != 0) abort();
        return 0;
    }
    if (!PlainName(def.id) || (def.sameAs.empty() == def.categories.empty())) abort();
    for (const BrowserCategoryDef& c : def.categories) {
        if (!PlainName(c.key) || (c.folders.empty() && c.files.empty() && c.databases.empty())) abort();
        for (const std::wstring& f : c.folders) if (!Relative(f)) abort();
        for (const std::wstring& f : c.files) if (!Relative(f)) abort();
        for (const DatabaseClear& d : c.databases) {
            if (d.identify.empty() || d.tables.empty() || d.files.empty()) abort();
            for (const TableClear& t : d.tables) {
                if (!PlainName(t.table)) abort();
                for (const RowRef& r : t.keep)
                    if (r.in == t.table || !PlainName(r.in) || !PlainName(r.column) || !PlainName(r.as)) abort();
            }
        }
    }
    return 0;
}
