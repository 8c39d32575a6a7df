// The one hand-off from a worker to a window's thread.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

namespace ui {

// The message an inbox's window gets when something waits in it.
constexpr UINT kInboxMessage = WM_APP + 0x150;

// What workers hand to a window's thread: closures run there, in the order they came, when the
// window drains its inbox on kInboxMessage. A closed inbox drops what waits and takes nothing
// more, so nothing reaches a window that is going.
class Inbox {
public:
    explicit Inbox(HWND window) : m_window(window) {}
    // Any thread.
    void Post(std::function<void()> call);
    // The window's thread.
    void Drain();
    void Close();

private:
    HWND m_window;
    std::mutex m_lock;
    std::deque<std::function<void()>> m_calls;
    bool m_closed = false;
    bool m_signalled = false;
};

}  // namespace ui
