#include "MruBytes.h"

namespace engine {
namespace mru {

std::wstring Rot13(const std::wstring& text) {
    std::wstring out = text;
    for (wchar_t& c : out) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(L'a' + (c - L'a' + 13) % 26);
        else if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(L'A' + (c - L'A' + 13) % 26);
    }
    return out;
}

std::vector<std::wstring> NamesFromList(const std::wstring& list) {
    std::vector<std::wstring> names;
    for (wchar_t c : list) names.emplace_back(1, c);
    return names;
}

std::vector<uint32_t> OrderFromListEx(const std::vector<unsigned char>& data) {
    std::vector<uint32_t> order;
    for (size_t i = 0; i + 4 <= data.size(); i += 4) {
        uint32_t n = data[i] | data[i + 1] << 8 | data[i + 2] << 16 | static_cast<uint32_t>(data[i + 3]) << 24;
        if (n == 0xFFFFFFFFu) break;
        order.push_back(n);
    }
    return order;
}

std::vector<unsigned char> ListExFrom(const std::vector<uint32_t>& order) {
    std::vector<unsigned char> data;
    auto put = [&data](uint32_t n) {
        for (int b = 0; b < 4; ++b) data.push_back(static_cast<unsigned char>(n >> (8 * b)));
    };
    for (uint32_t n : order) put(n);
    put(0xFFFFFFFFu);
    return data;
}

size_t ItemIdListSize(const unsigned char* data, size_t size) {
    size_t at = 0;
    while (at + 2 <= size) {
        size_t cb = data[at] | data[at + 1] << 8;
        if (cb == 0) return at + 2;
        if (cb < 2 || cb > size - at) return 0;
        at += cb;
    }
    return 0;
}

namespace {
// The UTF-16 string starting at `at`, up to its zero or the end; `next` is after the zero.
std::u16string Utf16At(const std::vector<unsigned char>& data, size_t at, size_t& next, bool& terminated) {
    std::u16string s;
    terminated = false;
    for (; at + 2 <= data.size(); at += 2) {
        char16_t c = static_cast<char16_t>(data[at] | data[at + 1] << 8);
        if (c == 0) {
            terminated = true;
            at += 2;
            break;
        }
        s.push_back(c);
    }
    next = at;
    return s;
}
}  // namespace

ProgramAndList SplitProgramAndList(const std::vector<unsigned char>& data) {
    ProgramAndList entry;
    size_t next = 0;
    bool terminated = false;
    entry.program = Utf16At(data, 0, next, terminated);
    if (!terminated) return entry;
    entry.listOffset = next;
    entry.listSize = ItemIdListSize(data.data() + next, data.size() - next);
    return entry;
}

std::vector<std::u16string> Utf16Strings(const std::vector<unsigned char>& data) {
    std::vector<std::u16string> strings;
    size_t at = 0;
    while (at + 2 <= data.size()) {
        bool terminated = false;
        strings.push_back(Utf16At(data, at, at, terminated));
    }
    return strings;
}

std::wstring Utf16Text(const std::vector<unsigned char>& data, size_t n) {
    size_t at = 0;
    std::u16string s;
    for (size_t i = 0; i <= n && at + 2 <= data.size(); ++i) {
        bool terminated = false;
        s = Utf16At(data, at, at, terminated);
        if (i == n) return std::wstring(s.begin(), s.end());
    }
    return {};
}

std::wstring RunEntryText(const std::wstring& value) {
    return value.size() < 2 ? std::wstring() : value.substr(0, value.size() - 2);
}

}  // namespace mru
}  // namespace engine
