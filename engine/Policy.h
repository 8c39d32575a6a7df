// What an administrator set with Group Policy under Software\Policies\Corvane-Sweepmere: each value
// is taken from the machine's key when it is there, else from the user's; a value set there wins
// over the user's own choice in the program's profile or on the command line.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "Categories.h"
#include "Options.h"

namespace engine {

struct Policy {
    std::optional<bool> overwrite;         // Overwrite: 1 every erase overwrites, 0 none does
    std::optional<unsigned> passes;        // OverwritePasses, 1 to 3
    std::vector<std::string> disabled;     // DisabledCategories: keys or groups, lower case
    std::wstring logFile;                  // LogFile: empty when not set
    std::wstring reportFolder;             // ReportFolder: empty when not set
};

// Reads the machine's and the user's policy keys now.
Policy ReadPolicy();
// The user's options with what the policy sets put over them.
Options WithPolicy(Options options, const Policy& policy = ReadPolicy());
// Whether the policy turns this category off, by its key or by its group.
bool TurnedOff(const Category& category, const Policy& policy = ReadPolicy());
extern const wchar_t* const kTurnedOffText;  // "turned off by policy"
// The log file every erase of either program writes to when the policy names one; empty when not.
std::wstring PolicyLogFile();
// Where a report named by a bare file name goes: the policy's folder joined to the name; any other
// name, or no folder set, is kept as given.
std::wstring ReportPath(const std::wstring& named, const Policy& policy = ReadPolicy());

}  // namespace engine
