#include "Worker.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <stdexcept>

#include "Text.h"

namespace engine {

StopToken::StopToken() : m_event(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
StopToken::~StopToken() = default;

void StopToken::Request() {
    m_stop = true;
    ::SetEvent(m_event.Get());
}

bool StopToken::Wait(unsigned ms) const {
    if (m_stop.load()) return true;
    return ms && ::WaitForSingleObject(m_event.Get(), ms) == WAIT_OBJECT_0;
}

std::wstring ExceptionText(std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const std::bad_alloc&) {
        return L"not enough memory";
    } catch (const std::exception& x) {
        return L"an internal error (" + FromUtf8(x.what()) + L")";
    } catch (...) {
        return L"an internal error";
    }
}

struct Worker::State {
    std::shared_ptr<StopToken> token = std::make_shared<StopToken>();
    Handle thread;
    Job job;
    Failure onFailure;
};

std::function<void(const StopToken&)>& Worker::FaultForTests() {
    static std::function<void(const StopToken&)> fault;
    return fault;
}

namespace {
// Every job started, for StopAll; a job that has ended is dropped from it at the next start.
std::mutex g_jobsLock;
std::vector<std::weak_ptr<Worker::State>> g_jobs;

DWORD WINAPI Run(LPVOID param) {
    auto* held = static_cast<std::shared_ptr<Worker::State>*>(param);
    std::shared_ptr<Worker::State> state = *held;
    delete held;
    try {
        if (Worker::FaultForTests()) Worker::FaultForTests()(*state->token);
        state->job(*state->token);
    } catch (...) {
        std::wstring text = ExceptionText(std::current_exception());
        try {
            if (state->onFailure) state->onFailure(text);
        } catch (...) {
        }
    }
    return 0;
}
}  // namespace

Worker::~Worker() { Stop(); }

bool Worker::Start(Job job, Failure onFailure) {
    Stop();
    auto state = std::make_shared<State>();
    state->job = std::move(job);
    state->onFailure = std::move(onFailure);
    auto* held = new std::shared_ptr<State>(state);
    state->thread.Reset(::CreateThread(nullptr, 0, Run, held, 0, nullptr));
    if (!state->thread) {
        delete held;
        return false;
    }
    m_state = state;
    std::lock_guard<std::mutex> lock(g_jobsLock);
    g_jobs.erase(std::remove_if(g_jobs.begin(), g_jobs.end(), [](const auto& j) { return j.expired(); }), g_jobs.end());
    g_jobs.push_back(state);
    return true;
}

void Worker::StopAll(unsigned maxWaitMs) {
    std::vector<std::shared_ptr<State>> running;
    {
        std::lock_guard<std::mutex> lock(g_jobsLock);
        for (const auto& j : g_jobs)
            if (auto s = j.lock()) running.push_back(s);
    }
    for (const auto& s : running) s->token->Request();
    const ULONGLONG until = ::GetTickCount64() + maxWaitMs;
    for (const auto& s : running) {
        const ULONGLONG now = ::GetTickCount64();
        ::WaitForSingleObject(s->thread.Get(), now < until ? static_cast<DWORD>(until - now) : 0);
    }
}

void Worker::Stop(unsigned maxWaitMs) {
    if (!m_state) return;
    m_state->token->Request();
    // Let go after the wait: the thread holds its own share of the state and ends by itself.
    ::WaitForSingleObject(m_state->thread.Get(), maxWaitMs);
    m_state.reset();
}

void Worker::Join() {
    if (!m_state) return;
    ::WaitForSingleObject(m_state->thread.Get(), INFINITE);
    m_state.reset();
}

bool Worker::Running() const { return m_state && ::WaitForSingleObject(m_state->thread.Get(), 0) == WAIT_TIMEOUT; }

}  // namespace engine
