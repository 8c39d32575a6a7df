// Runs a console program as a script runs it: its standard output and error read through pipes,
// its exit code and how soon it said something.
#pragma once
#include <windows.h>

#include <string>

namespace testkit {

struct ConsoleRun {
    DWORD code = 99;           // 99: it did not start or did not end within a minute
    std::string out, err;      // as written, with "\r" taken out
    double firstOutputMs = 0;  // from the start to the first byte on standard output (or the end)
    double totalMs = 0;        // from the start to the end of its output
};
ConsoleRun RunConsole(std::wstring commandLine);

}  // namespace testkit
