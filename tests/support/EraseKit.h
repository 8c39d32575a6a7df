// Helpers of the erasing pages' tests.
#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testkit {
// Puts the test build of the maker's library in the program's folder, with its call log in a
// fresh scratch file; returns the log's path.
std::wstring UseLibraryStub(const std::wstring& scratchName);
// The folder of the running test program, with a trailing '\'.
std::wstring ProgramFolder();
// The whole content of a text file, or "" when it does not exist.
std::wstring ReadText(const std::wstring& path);

// Watches the erase progress dialog ("Vivazo") from a thread of its own: records the paths it
// shows, can press Cancel when a given path number appears, and presses Cancel on a dialog still
// there when the watch's patience runs out, so that a dialog that never ends fails a test instead
// of hanging it.
class ProgressWatch {
public:
    // cancelAt: press Cancel as the dialog shows its cancelAt-th distinct path (0: never).
    explicit ProgressWatch(size_t cancelAt = 0, int patienceMs = 20000);
    ~ProgressWatch();
    std::vector<std::wstring> Paths();
    bool HadToCancel();   // a dialog outlasted the patience and was cancelled by the watch

private:
    void Run();
    size_t m_cancelAt;
    int m_patienceMs;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_forced{false};
    std::mutex m_lock;
    std::vector<std::wstring> m_paths;
    std::thread m_thread;
};
}  // namespace testkit
