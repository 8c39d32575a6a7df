#include "Inbox.h"

#include <map>

namespace ui {

namespace {
std::mutex g_lock;
LPARAM g_lastId = 0;
std::map<LPARAM, std::weak_ptr<Inbox>>& Known() {
    static auto* known = new std::map<LPARAM, std::weak_ptr<Inbox>>;  // never destroyed: workers may outlive statics
    return *known;
}
LPARAM NextId() {
    std::lock_guard<std::mutex> lock(g_lock);
    return ++g_lastId;
}
}  // namespace

Inbox::Inbox(HWND window) : m_window(window), m_id(NextId()) {}

Inbox::~Inbox() {
    std::lock_guard<std::mutex> lock(g_lock);
    Known().erase(m_id);
}

void Inbox::Post(std::function<void()> call) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_closed) return;
    m_calls.push_back(std::move(call));
    if (!m_known) {
        std::lock_guard<std::mutex> known(g_lock);
        Known()[m_id] = weak_from_this();
        m_known = true;
    }
    // One message stands for everything that waits: the drain takes it all.
    if (!m_signalled) m_signalled = ::PostMessageW(m_window, kInboxMessage, 0, m_id) != FALSE;
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

LRESULT Deliver(WPARAM, LPARAM id) {
    std::shared_ptr<Inbox> inbox;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        auto found = Known().find(id);
        if (found != Known().end()) inbox = found->second.lock();
    }
    // Held while it drains: a call may close the page that owns it.
    if (inbox) inbox->Drain();
    return 0;
}

}  // namespace ui
