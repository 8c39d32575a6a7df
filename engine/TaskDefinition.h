// An erase task as the scheduler dialog and the Task Scheduler know it: what it erases, when it
// runs, the task's XML, its trigger in words, and the description it carries so that it can be
// read back where the scheduler keeps no trigger. No Windows header here: these are fuzzed
// natively.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace engine {

// In the order of the dialog's kinds of "Every", after "Manually" and "On".
enum class TaskKind { Manually, Once, Interval, Daily, Weekly, Monthly, Logon, Startup, Logoff, Shutdown, BrowserClosed };

struct TaskTime {
    int year = 2000, month = 1, day = 1;
    int dayOfWeek = 0;  // 0 Sunday .. 6 Saturday
    int hour = 0, minute = 0;
};

struct TaskSpec {
    std::wstring name;
    TaskKind kind = TaskKind::Manually;
    TaskTime when;               // Once: date and time; calendar kinds: the time, the week day, the month day
    int everyMinutes = 0;        // Interval: the repetition
    std::vector<std::string> keys;  // the categories it erases
    bool shutdown = false;       // turn the computer off afterwards
    bool enabled = true;
};

// Why the scheduler would refuse the name; empty when it is sound.
std::wstring TaskNameProblem(const std::wstring& name);
// Why the task cannot be registered as it is (no category, no interval); empty when it can.
std::wstring TaskSpecProblem(const TaskSpec& plan);
// sweepmere's arguments: "/erase k1 k2 [/shutdown]", or "/watch-browsers k1 k2 [/shutdown]".
std::wstring TaskArguments(const TaskSpec& plan);
// "Manually", "at 18:00 on 2026-12-07", "every day at 18:00", "every 2:30 hours", "at user logon" ...
std::wstring TaskInWords(const TaskSpec& plan);
// The task's definition for the Task Scheduler: trigger, action (command with TaskArguments),
// enabled state, run as the interactive user only when logged on, elevated only when asked.
std::wstring TaskXml(const TaskSpec& plan, const std::wstring& command, const std::wstring& userId, bool elevated);
// The description kept with the task: its words, then a line from which the plan is read back.
std::wstring TaskDescription(const TaskSpec& plan);
std::optional<TaskSpec> SpecFromDescription(const std::wstring& name, const std::wstring& description);
// The events Windows writes at a user's log-off and at shut-down: (log, provider, event id).
struct TaskEvent {
    const wchar_t* log;
    const wchar_t* provider;
    int id;
};
TaskEvent EventOf(TaskKind kind);

}  // namespace engine
