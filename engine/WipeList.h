// Wipe lists: the user's own files, folders and registry keys, kept one list a file in
// %APPDATA%\Corvane-Sweepmere\Wipe Lists\<name>.wipelist and erased with overwriting always on.
// Everything an erase would refuse is found by CheckWipeList before anything is touched.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "Categories.h"
#include "Options.h"
#include "Result.h"
#include "WipeListFormat.h"

namespace engine {

// Where the lists are kept; empty when the application-data folder is unknown.
std::wstring WipeListFolder();
// The names of the saved lists, in name order (files whose name is not a list name are left out).
std::vector<std::wstring> WipeListNames();
// Reads a list. False with the reason when the name is not a list name, there is no such list or
// its file cannot be read; a list with bad lines loads (they are in list.bad).
bool LoadWipeList(const std::wstring& name, WipeList& list, std::wstring* reason = nullptr);
// Writes the list under list.name, all or nothing: a new file in the same folder, flushed, then
// put in place of the old one in one step. Bad lines are written back as they were read.
// False with the reason when the name or an entry is not valid or the file cannot be written;
// the old list is then as it was.
bool SaveWipeList(const WipeList& list, std::wstring* reason = nullptr);
// A list that is not there counts as deleted.
bool DeleteWipeList(const std::wstring& name, std::wstring* reason = nullptr);

// An entry the erase will not touch, and why.
struct Refusal {
    size_t entry = 0;  // index into list.entries
    std::wstring reason;
};
// The refusals among the checked entries (checked[i] for entries[i]; entries past its end are
// not checked), touching nothing.
std::vector<Refusal> CheckWipeList(const WipeList& list, const std::vector<bool>& checked);

// What erasing one checked entry would take: items (files and folders, or keys and values) and
// bytes, or why it cannot be looked at or would be refused.
struct EntryPreview {
    size_t entry = 0;
    unsigned long long items = 0;
    unsigned long long bytes = 0;
    std::wstring problem;
};
std::vector<EntryPreview> PreviewWipeList(const WipeList& list, const std::vector<bool>& checked,
                                          const Options& options = {});

// Erases the checked entries that are not refused, overwriting every file whatever options says:
// a file through the one delete, a folder with everything in it (links inside are not followed),
// a key tree (links inside are deleted as links). Each refusal is a failure with its reason.
Result EraseWipeList(const WipeList& list, const std::vector<bool>& checked, Options options);

// A saved list as a category of the command line ("wipelist:<name>"): its preview and erase read
// the list when they run and take every entry; its bad lines are failures with their numbers.
// The list of exactly that name; else the one list whose name differs only in case. Empty when
// there is none, or when there are several such lists (reason then names them).
std::optional<Category> WipeListCategory(const std::wstring& listName, std::wstring* reason = nullptr);
// The checked entries of a list as it stands (saved or not), as a category of the same key.
Category WipeListCategory(const WipeList& list, const std::vector<bool>& checked);

}  // namespace engine
