// fuzz-sources: engine/WipeListFormat.cpp
// Wipe list files and the registry key guard: a list written back reads as the same list (no
// line lost or changed), and spelling a key another way (long hive name, other case, doubled and
// trailing '\') never changes whether it is refused.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "WipeListFormat.h"

using namespace engine;

namespace {

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
    // No line is dropped: every line holding more than blanks is an entry, a comment or a bad line.
    size_t lines = 0, from = bytes.compare(0, 3, "\xEF\xBB\xBF") ? 0 : 3;
    for (size_t end; from <= bytes.size(); from = end + 1) {
        end = std::min(bytes.find('\n', from), bytes.size());
        std::string line = bytes.substr(from, end - from - (end > from && bytes[end - 1] == '\r'));
        lines += line.find_first_not_of(" \t") != std::string::npos;
    }
    if (lines != list.entries.size() + list.comments.size() + list.bad.size()) abort();
    // Every line comes back: the same bytes written again, the same bad lines with their reasons.
    if (FormatWipeList(again) != written || again.entries.size() != list.entries.size()) abort();
    if (again.bad.size() != list.bad.size() || again.comments.size() != list.comments.size()) abort();
    for (size_t i = 0; i < list.bad.size(); ++i)
        if (again.bad[i].reason != list.bad[i].reason || list.bad[i].line == 0) abort();
    for (const WipeEntry& e : list.entries) {
        if (!CheckEntryText(e.kind, e.target).empty()) abort();
        KeyPath key;
        if (e.kind == WipeKind::Key && (!SplitKey(e.target, key) || CheckKey(e.target) != CheckKey(KeyText(key)) ||
                                        CheckKey(e.target).empty() != CheckKey(Respelled(KeyText(key))).empty()))
            abort();
    }
    std::wstring text;
    if (DecodeUtf8(bytes, text)) {
        std::wstring back;
        if (!DecodeUtf8(EncodeUtf8(text), back) || back != text) abort();
        std::wstring name = text.substr(0, text.find(L'\n'));
        if (CheckListName(name).empty() && (name.empty() || name.size() > kMaxListName)) abort();
    }
    return 0;
}
