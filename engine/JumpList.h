// The documents a jump list names: an automatic list is a compound file whose DestList stream
// holds the path of each entry (and whose numbered streams hold a shell link each); a custom
// list is a run of shell links. Pure and bounded: bytes in, paths out, no file or shell call;
// every index, chain, size and count the bytes claim is checked against the bytes themselves.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace engine {
namespace jumplist {

constexpr size_t kMaxDocuments = 1000;  // a list keeps a few hundred at most
constexpr size_t kMaxPath = 32767;      // characters: the longest path Windows takes

// The documents of an automatic list (*.automaticDestinations-ms), in the list's order:
// DestList's paths, an entry without one read from its shell link; every numbered stream's
// link when DestList names no entry. Empty when the bytes are no compound file.
std::vector<std::wstring> AutomaticDocuments(const unsigned char* data, size_t size);
// The targets of the shell links of a custom list (*.customDestinations-ms), each named once.
std::vector<std::wstring> CustomDocuments(const unsigned char* data, size_t size);
// The documents of either kind of list, told apart by their bytes.
std::vector<std::wstring> Documents(const unsigned char* data, size_t size);
// The target of one shell link: its local path, else its item-ID list's path, else its
// relative path. Empty when none can be read.
std::wstring LinkTarget(const unsigned char* data, size_t size);

// The row text of a jump-list file: "…\name (2 documents: a, b)", or its path when the file
// names no document.
std::wstring RowText(const std::wstring& path, const std::vector<std::wstring>& documents);

}  // namespace jumplist
}  // namespace engine
