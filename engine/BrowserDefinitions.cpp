#include "BrowserDefinitions.h"

#include "DefinitionReader.h"

namespace engine {
namespace {

struct Loaded {
    std::vector<BrowserDef> defs;
    std::vector<std::wstring> errors;
};

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
        EmbeddedDefinitions<BrowserDef> embedded(L"BROWSER_", ParseBrowserDefinition,
                                                 [](const std::wstring& name) { return name; });
        Loaded l{std::move(embedded.defs), std::move(embedded.errors)};
        ResolveSameAs(l);
        return l;
    }();
    if (errors) *errors = loaded.errors;
    return loaded.defs;
}

}  // namespace engine
