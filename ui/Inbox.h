// The one hand-off from a worker to a window's thread.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace ui {

// The message an inbox posts to its window when something waits in it; lParam names the inbox.
// Every window that owns inboxes answers it with Deliver (the pages through CPageView).
constexpr UINT kInboxMessage = WM_APP + 0x150;

// What workers hand to a window's thread: closures run there, in the order they came, when the
// window drains its inbox on kInboxMessage. A closed inbox drops what waits and takes nothing
// more, so nothing reaches a window that is going. Held by shared_ptr: the message finds it
// through a weak reference, never through a pointer that could dangle.
class Inbox : public std::enable_shared_from_this<Inbox> {
public:
    explicit Inbox(HWND window);
    ~Inbox();
    Inbox(const Inbox&) = delete;
    Inbox& operator=(const Inbox&) = delete;
    // Any thread.
    void Post(std::function<void()> call);
    // The window's thread.
    void Drain();
    void Close();

private:
    HWND m_window;
    const LPARAM m_id;
    std::mutex m_lock;
    std::deque<std::function<void()>> m_calls;
    bool m_closed = false;
    bool m_signalled = false;
    bool m_known = false;  // found by its id
};

// The window's thread, on kInboxMessage: drains the inbox the message names while it is there.
LRESULT Deliver(WPARAM, LPARAM id);

}  // namespace ui
