// Reading the system's list of a file's data streams (the FileStreamInfo class: entries of next
// offset, name length, size, allocation and name), with no system call: tested and fuzzed directly.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace engine {

// The named data streams in the answer (":name:$DATA"), the main one left out. An entry past the
// bytes given ends the list; a name that could reach beyond its file is never returned.
std::vector<std::wstring> NamedStreams(const unsigned char* data, size_t size);

}  // namespace engine
