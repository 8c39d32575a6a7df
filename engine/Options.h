// How an erase goes about it: chosen by the user (the Erase Settings, the command line's
// /overwrite) and handed down to every file the erase deletes.
#pragma once

namespace engine {

class StopToken;

struct Options {
    bool overwrite = false;            // overwrite a file's content before its name is deleted
    unsigned passes = 1;               // overwriting passes, 1 to 3
    const StopToken* stop = nullptr;   // asked between any two items; null: never stopped
};

}  // namespace engine
