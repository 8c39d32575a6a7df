// The log file: named in the log-file dialog (kept in the profile, where sweepmere finds it too),
// looked at, created or emptied, and appended to by every erase, all without ever following a
// link, so that writing it can never change another file.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Result.h"

namespace engine {

enum class LogFileState { Absent, Empty, HoldsData, Link, Folder };
// What is at path now, looked at without following a link.
LogFileState InspectLogFile(const std::wstring& path);
// Creates the file, or empties it when it exists (hidden or system files too); a link is
// refused. Empty when it worked, else the reason to show the user.
std::wstring CreateOrEmptyLogFile(const std::wstring& path);

// The log every erase appends to, resolved in this one place: the process's own choice (sweepmere's
// /log), else the one kept in the profile, else DefaultLogPath().
std::wstring LogPath();
// %LOCALAPPDATA%\Corvane-Sweepmere\Erase.txt: a folder every user has, on a drive that exists.
std::wstring DefaultLogPath();
// Keeps path in the profile for both programs.
bool KeepLogPath(const std::wstring& path);
// For this process only, before the profile's (sweepmere's /log); empty: none.
void SetLogPathForProcess(const std::wstring& path);

// "<key>  <erased> erased, <bytes> bytes, <stayed> stayed[: <first reason>][; <note>...]": the
// console's line and the log's.
std::wstring EraseLine(const std::string& key, const Result& result);
// "2026-12-07 18:00:05  <text>": a line of the log, in local time.
std::wstring LogLine(const SYSTEMTIME& local, const std::wstring& text);
// The log's lines for one category's erase: its line, then one line per reason an item stayed.
std::vector<std::wstring> EraseLogLines(const SYSTEMTIME& local, const std::string& key, const Result& result);
// The log is capped: past kLogCap it is moved to the first older name and begun again.
constexpr unsigned long long kLogCap = 4ull << 20;
bool RotationDue(unsigned long long size, unsigned long long adding);
// "C:\x\Erase.txt" -> "C:\x\Erase.1.txt"; a name without extension gets ".1".
std::wstring RotatedName(const std::wstring& path);

// Appends the lines (UTF-8, CRLF) to the log at LogPath(), making its folder when missing. Empty
// when they were written, else the reason, said once per process by whoever reports it.
std::wstring AppendToLog(const std::vector<std::wstring>& lines);
// The same to a given file.
std::wstring AppendToLogFile(const std::wstring& path, const std::vector<std::wstring>& lines);
// Appends a category's lines and, when the log cannot be written, notes that on the result.
void LogErase(const std::string& key, Result& result);

}  // namespace engine
