// fuzz-sources: engine/TraceDefinitions.cpp
// The trace definitions' reader takes any text: it reads it or names what is wrong, never more;
// the name patterns take any pattern and name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <codecvt>
#include <locale>
#include <string>

#include "../../engine/TraceDefinitions.h"

namespace engine {
// The engine's conversion is Windows'; the standard library's does here (text that is not
// UTF-8 becomes "?").
std::wstring FromUtf8(const std::string& utf8) {
    return std::wstring_convert<std::codecvt_utf8<wchar_t>>("?", L"?").from_bytes(utf8);
}
}  // namespace engine

using namespace engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    TraceDef def;
    std::wstring error;
    if (ParseTraceDefinition(L"f.json", text, def, error)) {
        if (!error.empty() || def.sources.empty() || def.name.empty()) abort();
        for (const TraceSource& s : def.sources) {
            for (const std::wstring& key : def.Keys(s))
                if (key.find(L"{version}") != std::wstring::npos || (s.wholeKey && KeySteps(key).size() < 3)) abort();
            if (s.first > s.last || (!s.listed && s.kind != TraceSource::Kind::Key)) abort();
            if (!s.alongside.empty() && NumberIn(s.alongside, NameFor(s.alongside, s.last, s.digits)) != s.last) abort();
        }
    } else if (error.compare(0, 8, L"f.json: ") != 0) {
        abort();
    }
    // The same bytes as a pattern and a name, split in the middle.
    std::wstring wide = FromUtf8(text);
    std::wstring pattern = wide.substr(0, wide.size() / 2), name = wide.substr(wide.size() / 2);
    MatchName(pattern, name);
    if (!MatchName(L"*", name) || !MatchName(name.find_first_of(L"*?") == std::wstring::npos ? name : L"*", name)) abort();
    long long n = NumberIn(pattern, name);
    if (n < -1 || n > 999999999) abort();
    if (NaturalLess(name, name)) abort();
    AfterStar(name);
    if (pattern.find(L'*') == std::wstring::npos) return 0;
    std::wstring named = NameFor(pattern, static_cast<long long>(size), static_cast<int>(size % 5));
    if (!MatchName(pattern, named) && pattern.find_first_of(L"?") == std::wstring::npos) abort();
    return 0;
}
