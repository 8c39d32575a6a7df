// Helpers of the erasing pages' tests.
#pragma once
#include <string>
#include <vector>

namespace testkit {
// Puts the test build of the maker's library in the program's folder, with its call log in a
// fresh scratch file; returns the log's path.
std::wstring UseLibraryStub(const std::wstring& scratchName);
// The folder of the running test program, with a trailing '\'.
std::wstring ProgramFolder();
// The whole content of a text file, or "" when it does not exist.
std::wstring ReadText(const std::wstring& path);
// The names an erasing page lists of a folder, in the walk's order: each sub-folder's (when asked)
// before what it holds, and the files whose names a listing shows.
std::vector<std::wstring> ListedNames(const std::wstring& folder, bool withFolders);
}  // namespace testkit
