// How an erase goes about it: chosen by the user (the Erase Settings, the command line's
// /overwrite) and handed down to every file the erase deletes.
#pragma once
#include <vector>

namespace engine {

// A file as the volume knows it, whatever name or link leads to it.
struct FileId {
    unsigned long volume = 0;
    unsigned long long index = 0;
    bool operator==(const FileId& o) const { return volume == o.volume && index == o.index; }
};

class StopToken;
class WalkSink;

struct Options {
    bool overwrite = false;            // overwrite a file's content before its name is deleted
    unsigned passes = 1;               // overwriting passes, 1 to 3
    const StopToken* stop = nullptr;   // asked between any two items; null: never stopped
    // A page that shows a walk while it runs: what it meets and erases, and the pauses it takes.
    WalkSink* sink = nullptr;
    unsigned folderMs = 0;  // a pause before each folder
    unsigned fileMs = 0;    // a pause before each file erased
    std::vector<FileId> spare;  // files no erase touches (the report being written)
    bool keepRecentTemp = true;  // the temporary-file erases leave what was written in the last 24 hours
};

}  // namespace engine
