// How an erase goes about it: chosen by the user (the Erase Settings, the command line's
// /overwrite) and handed down to every file the erase deletes.
#pragma once

namespace engine {

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
};

}  // namespace engine
