#include "BrowserDefinitions.h"

#include <windows.h>

#include "Text.h"

namespace engine {
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

// A browser of the same make as another takes that one's categories.
void ResolveSameAs(Loaded& l) {
    for (BrowserDef& def : l.defs)
        for (const BrowserDef& other : l.defs)
            if (!def.sameAs.empty() && other.id == def.sameAs && other.sameAs.empty()) def.categories = other.categories;
    std::vector<BrowserDef> resolved;
    for (BrowserDef& def : l.defs) {
        if (def.categories.empty())
            l.errors.push_back(FromUtf8(def.id) + L": field \"sameAs\" names no browser with categories of its own");
        else
            resolved.push_back(std::move(def));
    }
    l.defs = std::move(resolved);
}

}  // namespace

const std::vector<BrowserDef>& BrowserDefinitions(std::vector<std::wstring>* errors) {
    static const Loaded loaded = [] {
        Loaded l;
        ::EnumResourceNamesW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(10) /* RT_RCDATA */, AddResource,
                             reinterpret_cast<LONG_PTR>(&l));
        ResolveSameAs(l);
        return l;
    }();
    if (errors) *errors = loaded.errors;
    return loaded.defs;
}

}  // namespace engine
