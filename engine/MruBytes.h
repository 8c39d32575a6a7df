// What the shell's lists of recently and most used things hold, decoded from their raw registry
// data, and the names their values go by. Pure: no registry, no shell, no Windows header, so that
// every rule is tested and fuzzed on plain bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace engine {
namespace mru {

// ROT13 of the letters A-Z and a-z; everything else stays. The program-use counters keep their
// value names so; the same step encodes and decodes.
std::wstring Rot13(const std::wstring& text);

// The value names an "MRUList" text gives: one per character, in its order.
std::vector<std::wstring> NamesFromList(const std::wstring& list);

// The entry numbers of an "MRUListEx" value: little-endian 32-bit numbers up to the first
// 0xFFFFFFFF; bytes after the last whole number are ignored.
std::vector<uint32_t> OrderFromListEx(const std::vector<unsigned char>& data);
// The "MRUListEx" data of an order, with its 0xFFFFFFFF end.
std::vector<unsigned char> ListExFrom(const std::vector<uint32_t>& order);

// The size of the item-id list at the start of the data, its two-byte zero end included; 0 when
// the data holds no whole list.
size_t ItemIdListSize(const unsigned char* data, size_t size);

// A folder entry of the dialogs' last-visited list: the program's name (UTF-16, ending in a
// zero), then the folder's item-id list.
struct ProgramAndList {
    std::u16string program;
    size_t listOffset = 0;  // where the item-id list starts in the data
    size_t listSize = 0;    // its size with its end; 0 when there is none whole
};
ProgramAndList SplitProgramAndList(const std::vector<unsigned char>& data);

// The zero-separated UTF-16 strings of the data; an odd last byte is ignored, and a last string
// without its zero still counts.
std::vector<std::u16string> Utf16Strings(const std::vector<unsigned char>& data);
// The n-th of those strings; empty when there are fewer. The recent-document lists keep a
// document's name so, first, ahead of binary data.
std::wstring Utf16Text(const std::vector<unsigned char>& data, size_t n);

// A Run dialog entry ends in two characters ("\1") that are not part of the command; an entry
// shorter than that gives an empty text.
std::wstring RunEntryText(const std::wstring& value);

}  // namespace mru
}  // namespace engine
