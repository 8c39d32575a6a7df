#include "Inbox.h"

namespace ui {

void Inbox::Post(std::function<void()> call) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_closed) return;
    m_calls.push_back(std::move(call));
    // One message stands for everything that waits: the drain takes it all.
    if (!m_signalled) m_signalled = ::PostMessageW(m_window, kInboxMessage, 0, 0) != FALSE;
}

void Inbox::Drain() {
    std::deque<std::function<void()>> calls;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        calls.swap(m_calls);
        m_signalled = false;
    }
    for (auto& call : calls) {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_closed) return;  // a call closed the window's inbox: the rest is dropped
        }
        call();
    }
}

void Inbox::Close() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_closed = true;
    m_calls.clear();
}

}  // namespace ui
