// Waiting for a browser to close: the program files of the browsers of the definitions (and
// Internet Explorer's), looked for among the running processes now and then.
#pragma once
#include <string>
#include <vector>

namespace engine {

// "iexplore.exe", then each definition's program file, lower case.
std::vector<std::wstring> BrowserPrograms();
// Which of the programs (lower case) have a process running now.
std::vector<std::wstring> RunningPrograms(const std::vector<std::wstring>& programs);
// The programs that ran before and run no more: their last process has ended.
std::vector<std::wstring> Closed(const std::vector<std::wstring>& before, const std::vector<std::wstring>& now);

}  // namespace engine
