// The command line of sweepmere.exe, read without touching anything: a pure function of the
// arguments and the category table, so that it can be tested and fuzzed directly.
#pragma once
#include <string>
#include <vector>

#include "Categories.h"

namespace cli {

enum class Command { None, Help, List, Preview, Erase, WipeUnused, WatchBrowsers };

struct Args {
    Command command = Command::None;
    // The categories to run, each once: table rows in table order, then wipe-list rows as given.
    std::vector<const engine::Category*> categories;
    bool overwrite = false;
    std::wstring report;  // empty: no report
    std::wstring log;     // /log: the file erases are logged to instead of the chosen log; empty: that one
    bool shutdown = false;  // /shutdown: turn the computer off after the erase
    std::wstring error;   // the usage error; empty when the line is sound
    // /wipe-unused: the drive letters given ("t:", "T:\\"), upper case, each once, in the order given.
    std::vector<wchar_t> drives;
};

// Finds the category of a wipe list by its name ("wipelist:<name>" keys); null: no such list, or
// why the name means no one list (set in why).
using WipeListLookup = const engine::Category* (*)(const std::wstring& name, std::wstring& why);

// args without the program's name. A null lookup makes every wipelist: key unknown.
Args Parse(const std::vector<std::wstring>& args, const std::vector<engine::Category>& table,
           WipeListLookup wipeLists = nullptr);

extern const wchar_t* const kUsage;

}  // namespace cli
