// The program's erase tasks in Windows' Task Scheduler, folder \Corvane-Sweepmere\. The program
// also keeps the names it registered (with each task's description) in the profile: a scheduler
// that lists no tasks of a folder can still be asked for each by name. Every function returns
// empty when it worked, else the scheduler's own reason.
#pragma once
#include <string>
#include <vector>

#include "TaskDefinition.h"

namespace engine {

struct ScheduledTask {
    TaskSpec plan;            // read back from the task's description
    bool enabled = true;
    std::wstring nextRun;     // "2026-12-07 18:00"; empty when none is planned
};

// The task folder, and sweepmere.exe beside the running program.
extern const wchar_t kTaskFolder[];
std::wstring SweepmerePath();

std::wstring RegisterTask(const TaskSpec& plan);
std::wstring ListTasks(std::vector<ScheduledTask>& tasks);
std::wstring RemoveTask(const std::wstring& name);
// Enables or disables the task, keeping its trigger and action.
std::wstring EnableTask(const std::wstring& name, bool enabled);
// Runs the task now through the scheduler; where the scheduler cannot, starts the same action
// directly and says so in *direct. With process, the caller gets the direct start's process
// handle (to wait for) and closes it.
std::wstring StartTask(const std::wstring& name, bool* direct = nullptr, void** process = nullptr);

}  // namespace engine
