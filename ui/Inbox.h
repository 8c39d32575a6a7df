// The one hand-off from a worker to a window's thread.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace ui {

// What workers hand to a window's thread: closures run there, in the order they came. An inbox
// belongs to the thread that makes it; a hidden message-only window of that thread drains it, so
// any message loop there delivers (a modal dialog's, a message box's) and no window wires a
// message of its own. A closed inbox drops what waits and takes nothing more, so nothing reaches
// a window that is going. Held by shared_ptr: the message finds it through a weak reference,
// never through a pointer that could dangle.
class Inbox : public std::enable_shared_from_this<Inbox> {
public:
    Inbox();  // on the window's thread
    ~Inbox();
    Inbox(const Inbox&) = delete;
    Inbox& operator=(const Inbox&) = delete;
    // Any thread.
    void Post(std::function<void()> call);
    // The window's thread: runs what waits now (the message would run it later).
    void Drain();
    void Close();

private:
    HWND m_postbox;
    const LPARAM m_id;
    std::mutex m_lock;
    std::deque<std::function<void()>> m_calls;
    bool m_closed = false;
    bool m_signalled = false;
    bool m_known = false;  // found by its id
};

}  // namespace ui
