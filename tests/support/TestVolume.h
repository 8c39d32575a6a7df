// The ext2 or NTFS test volume of the tests of real bytes (tests/support/test-volume.sh mounts it as T:
// before such a test runs and searches its raw image afterwards).
#pragma once
#include <windows.h>

#include <string>

namespace testkit {

constexpr wchar_t kTestDrive = L'T';
// Empty when T: is the test volume (its label tells), else what is wrong: the tests then fail.
std::wstring TestVolumeProblem();
// Writes a file of `bytes` bytes made of `text` repeated, flushed to the disk, so that a plain
// delete leaves the text in the volume's free blocks.
bool WriteTextFile(const std::wstring& path, const std::string& text, size_t bytes);
std::string ReadWholeFile(const std::wstring& path);
// The names directly inside a folder, without "." and "..".
size_t EntriesIn(const std::wstring& folder);

}  // namespace testkit
