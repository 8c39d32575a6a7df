// The log file the user names in the log-file dialog: looked at and then created or emptied
// without ever following a link, so that emptying it can never empty another file.
#pragma once
#include <string>

namespace engine {

enum class LogFileState { Absent, Empty, HoldsData, Link, Folder };
// What is at path now, looked at without following a link.
LogFileState InspectLogFile(const std::wstring& path);
// Creates the file, or empties it when it exists (hidden or system files too); a link is
// refused. Empty when it worked, else the reason to show the user.
std::wstring CreateOrEmptyLogFile(const std::wstring& path);

}  // namespace engine
