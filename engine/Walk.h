// The one walk and the one delete of files. Names are UTF-16 throughout; a found name is joined
// to a path only when it is a plain name; nothing that is a link is entered or deleted through;
// a file is acted on only through a handle whose final path is the top folder's plus the path
// walked (compared exactly); a folder that cannot be opened or listed is a failure with its
// reason. The walk is iterative: no depth of folders can exhaust the stack.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Options.h"
#include "Result.h"

namespace engine {

// What a page or a job does with a walk while it runs; called on the walk's thread.
class WalkSink {
public:
    virtual ~WalkSink() = default;
    // Between any two items (ms 0) and at the pacing points of a paced walk. True: stop now.
    virtual bool Pause(unsigned ms) { (void)ms; return false; }
    // An entry met: its path relative to the top ("a\b.txt"), whether it is a folder, its size.
    virtual void Met(const std::wstring& rel, bool folder, unsigned long long bytes) {
        (void)rel; (void)folder; (void)bytes;
    }
    // The file about to be erased (full path as given), before the pause that precedes it.
    virtual void Erasing(const std::wstring& path) { (void)path; }
    // A file the erase met that stayed (its reason is in the result).
    virtual void Stayed(const std::wstring& rel) { (void)rel; }
};

struct WalkSettings {
    unsigned folderMs = 0;         // a pause before each folder
    unsigned fileMs = 0;           // a pause before each file erased
    bool keepFolders = true;       // erasing: sub-folders stay (emptied)
    bool filesAtTopOnly = false;   // only the files directly inside the top; sub-folders stay whole
    // Left out of the listing and the erase alike, each told in a note:
    unsigned keepHours = 0;        // files written in the last keepHours hours (0: none)
    std::wstring keepFolder;       // a folder of this name wherever it is met, whole...
    std::wstring keepFolderWhy;    // ...for this reason
};

// Whether a folder may be a walk's top: empty reason when it may, else why not (relative,
// protected, reached through a link, not there). The next walk of the same folder on this thread
// takes the top opened here instead of opening it again.
std::wstring CheckTopFolder(const std::wstring& folder);

// Lists every file and sub-folder below a folder (items: full paths as given, files with their
// sizes), touching nothing: attributes change only when a file is erased, and are put back
// wherever it then stays.
Listing ListFolder(const std::wstring& folder, const Options& options, WalkSink* sink = nullptr,
                   const WalkSettings& settings = {});
// Erases what lies below a folder; the folder itself stays (and its emptied sub-folders, when
// settings keep them).
Result EraseInside(const std::wstring& folder, const Options& options, WalkSink* sink = nullptr,
                   const WalkSettings& settings = {});
// Erases what is inside the folder and then the folder itself.
Result EraseFolder(const std::wstring& folder, const Options& options);
// Erases the files directly inside a folder; its sub-folders and what they hold stay.
Result EraseFilesIn(const std::wstring& folder, const Options& options);
// Erases one file named by its full path, through the same checks (its folder is the top).
Result EraseFile(const std::wstring& path, const Options& options);

// The identity of the file at path (not following a link); false when it cannot be opened.
bool FileIdOf(const std::wstring& path, FileId& id);

// The entries directly inside a folder, touching nothing: for pages that show one level.
struct Entry {
    std::wstring name;
    unsigned long attributes = 0;
    bool folder = false;
    bool holdsContent = false;  // a folder holding a sub-folder or a file that is not hidden
    unsigned long long bytes = 0;
};
// False with the reason when the folder is refused or cannot be listed. Links and names that
// are not plain are left out.
bool ListEntries(const std::wstring& folder, std::vector<Entry>& entries, std::wstring* reason = nullptr);

}  // namespace engine
