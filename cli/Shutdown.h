// /shutdown: after the erase, the computer is turned off with a minute's notice, and a box
// offers to cancel it.
#pragma once
#include <windows.h>

#include <string>

namespace cli {

struct ShutdownCalls {
    BOOL(WINAPI* start)(LPWSTR machine, LPWSTR message, DWORD seconds, BOOL force, BOOL reboot, DWORD reason);
    BOOL(WINAPI* abort)(LPWSTR machine);
};
// The system's calls; tests put their own in place (a real shutdown never runs under Wine).
ShutdownCalls& Shutdown();

// Starts the shutdown and shows the box; empty when it started (or the user cancelled it),
// else why it could not start.
std::wstring TurnOffAfterErase();

}  // namespace cli
