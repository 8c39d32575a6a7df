// Files and folders of the tests, and the guard that keeps every test program inside the build
// folder's test Wine prefix. No window code: the engine's tests use them too.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace testkit {

// False, after saying why on standard error, unless WINEPREFIX is a build folder's test prefix:
// the tests erase files and registry keys.
bool InsideTestPrefix();

bool FileExists(const std::wstring& path);
// Writes the bytes, flushed to the disk; false when the file could not be written whole.
bool WriteBytes(const std::wstring& path, const std::string& bytes);
// Writes as many bytes as the text has characters, taken from its UTF-16 form: an ASCII text's
// first half ("keep" gives k, 0, e, 0). Tests count on those sizes and bytes.
void WriteFile(const std::wstring& path, const std::wstring& content = L"x");
// Writes `bytes` bytes made of lines of `text`, so that a plain delete leaves the text in free blocks.
bool WriteTextFile(const std::wstring& path, const std::string& text, size_t bytes);
// The whole file, or "" when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);
// The names directly inside a folder, without "." and "..".
size_t EntriesIn(const std::wstring& folder);
// Removes a folder and what it holds; a link inside goes, never what it points at.
void RemoveTree(const std::wstring& dir);
// A fresh, empty folder C:\corvane-scratch\<name>, for one test.
std::wstring ScratchFolder(const std::wstring& name);
// A fresh scratch folder holding `folders` folders F<n> of `filesEach` one-byte files page<n>.htm.
std::wstring ScratchTree(const std::wstring& name, int folders, int filesEach);

// The benchmarks' yardstick: a bare depth-first FindFirstFileW walk that counts the files below a
// folder (keeping each path where asked), or deletes them with DeleteFileW and counts the deleted.
int BareWalk(const std::wstring& folder, bool erase, std::vector<std::wstring>* kept = nullptr);
// How long fn took, in seconds.
double SecondsTaken(const std::function<void()>& fn);

}  // namespace testkit
