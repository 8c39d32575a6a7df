#include "DefinitionReader.h"

#include <windows.h>

namespace engine {
namespace {
struct Walk {
    const wchar_t* prefix;
    const std::function<void(const std::wstring&, const std::string&)>* add;
    std::vector<std::wstring>* errors;
};

BOOL CALLBACK AddResource(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    auto* walk = reinterpret_cast<Walk*>(param);
    size_t n = wcslen(walk->prefix);
    if (IS_INTRESOURCE(name) || wcsncmp(name, walk->prefix, n) != 0) return TRUE;
    HRSRC found = ::FindResourceW(module, name, type);
    HGLOBAL data = found ? ::LoadResource(module, found) : nullptr;
    const char* bytes = data ? static_cast<const char*>(::LockResource(data)) : nullptr;
    if (!bytes)
        walk->errors->push_back(std::wstring(name) + L": the resource could not be read");
    else
        (*walk->add)(name, std::string(bytes, ::SizeofResource(module, found)));
    return TRUE;
}
}  // namespace

void ForEachDefinitionResource(const wchar_t* prefix,
                               const std::function<void(const std::wstring& name, const std::string& text)>& add,
                               std::vector<std::wstring>& errors) {
    Walk walk{prefix, &add, &errors};
    ::EnumResourceNamesW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(10) /* RT_RCDATA */, AddResource,
                         reinterpret_cast<LONG_PTR>(&walk));
}

}  // namespace engine
