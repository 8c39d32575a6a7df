// fuzz-sources: engine/TraceDefinitions.cpp
// The trace definitions' reader takes any text: it reads it or names what is wrong, never more;
// the name patterns take any pattern and name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../../engine/TraceDefinitions.h"

namespace engine {
// The engine's conversion is Windows'; a plain UTF-8 reading does here.
std::wstring FromUtf8(const std::string& utf8) {
    std::wstring out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        int n = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        wchar_t w = n == 0 ? c : c & (0x3F >> n);
        for (int k = 1; k <= n && i + k < utf8.size(); ++k) w = (w << 6) | (utf8[i + k] & 0x3F);
        out.push_back(w);
        i += n + 1;
    }
    return out;
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
                if (key.find(L"{version}") != std::wstring::npos) abort();
            if (s.first > s.last) abort();
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
    return 0;
}
