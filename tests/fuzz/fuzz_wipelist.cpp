// fuzz-sources: engine/WipeListFormat.cpp
// Wipe list files and the registry key guard: a list written back reads as the same list (no
// line lost or changed), and spelling a key another way (long hive name, other case, doubled and
// trailing '\') never changes whether it is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "WipeListFormat.h"

using namespace engine;

namespace {

bool SameLines(const std::vector<KeptLine>& a, const std::vector<KeptLine>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].bytes != b[i].bytes || a[i].reason != b[i].reason) return false;
    return true;
}

std::wstring Respelled(const std::wstring& key) {
    size_t cut = key.find(L'\\');
    std::wstring hive = key.substr(0, cut), rest = cut == std::wstring::npos ? L"" : key.substr(cut);
    bool user = hive.size() == 4 && (hive[2] == L'C' || hive[2] == L'c');
    std::wstring out = user ? L"hkey_current_user" : L"HKEY_LOCAL_MACHINE";
    for (wchar_t c : rest) {
        if (c == L'\\') out += L"\\\\";
        else if (c >= L'a' && c <= L'z') out += static_cast<wchar_t>(c - 32);
        else if (c >= L'A' && c <= L'Z') out += static_cast<wchar_t>(c + 32);
        else out += c;
    }
    return out + L"\\";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    WipeList list;
    ParseWipeList(bytes, list);
    std::string written = FormatWipeList(list);
    WipeList again;
    ParseWipeList(written, again);
    if (again.entries.size() != list.entries.size()) abort();
    for (size_t i = 0; i < list.entries.size(); ++i) {
        const WipeEntry& e = list.entries[i];
        if (again.entries[i].kind != e.kind || again.entries[i].target != e.target) abort();
        if (!CheckEntryText(e.kind, e.target).empty()) abort();
        if (e.kind == WipeKind::Key) {
            KeyPath key;
            if (!SplitKey(e.target, key)) abort();
            std::wstring why = CheckKey(e.target);
            if (why.empty() != CheckKey(Respelled(KeyText(key))).empty()) abort();
            if (why != CheckKey(KeyText(key))) abort();
        }
    }
    if (!SameLines(again.comments, list.comments) || !SameLines(again.bad, list.bad)) abort();
    if (FormatWipeList(again) != written) abort();
    for (const KeptLine& b : list.bad)
        if (b.line == 0 || b.reason.empty()) abort();

    std::wstring text;
    if (DecodeUtf8(bytes, text)) {
        std::wstring back;
        if (!DecodeUtf8(EncodeUtf8(text), back) || back != text) abort();
        std::wstring name = text.substr(0, text.find(L'\n'));
        if (CheckListName(name).empty() && (name.empty() || name.size() > kMaxListName)) abort();
    }
    return 0;
}
