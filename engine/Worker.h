// Background work: one worker class for every job and one stop request it honours. What a job
// finds reaches a window through the window layer's inbox (ui/Inbox.h).
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "Handles.h"

namespace engine {

// A request to stop, shared by whoever asks and the job that honours it.
class StopToken {
public:
    StopToken();
    ~StopToken();
    StopToken(const StopToken&) = delete;
    StopToken& operator=(const StopToken&) = delete;
    void Request();
    bool Requested() const { return m_stop.load(); }
    // Waits ms, or less when a stop is requested; true when the job must stop.
    bool Wait(unsigned ms) const;

private:
    Handle m_event;
    std::atomic<bool> m_stop{false};
};

// One job on a thread of its own. An exception that leaves the job (not enough memory, ...) is
// turned into a failure text handed to onFailure, on the worker's thread; the program goes on.
class Worker {
public:
    using Job = std::function<void(const StopToken&)>;
    using Failure = std::function<void(const std::wstring&)>;

    Worker() = default;
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Stops a job still running first. False when no thread could be started.
    bool Start(Job job, Failure onFailure = nullptr);
    // Asks the job to stop and waits for it at most maxWaitMs; a job that takes longer is let go
    // (it keeps its own token and ends by itself; whatever it posts to a closed inbox is dropped).
    void Stop(unsigned maxWaitMs = INFINITE);
    bool Running() const;
    // Waits until the job has ended (no stop request).
    void Join();
    // Asks every job still running, let go ones too, to stop and waits for them (at most
    // maxWaitMs in all): for the end of the program, before anything static goes.
    static void StopAll(unsigned maxWaitMs);

    // Tests only: runs before every job, on the worker's thread (to throw from there, or to hold
    // the job until its stop is requested).
    static std::function<void(const StopToken&)>& FaultForTests();

    struct State;  // shared by the worker object and its thread

private:
    std::shared_ptr<State> m_state;
};

// The text of an exception, for a failure: "not enough memory" and the like.
std::wstring ExceptionText(std::exception_ptr e);

}  // namespace engine
