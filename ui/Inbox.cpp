#include "Inbox.h"

#include <map>

namespace ui {

namespace {
// Every inbox that has had something posted, by its id. Never destroyed: a worker let go may post
// while the program ends.
struct Registry {
    std::mutex lock;
    LPARAM lastId = 0;
    std::map<LPARAM, std::weak_ptr<Inbox>> known;
};
Registry& Known() {
    static auto* registry = new Registry;
    return *registry;
}
LPARAM NextId() {
    std::lock_guard<std::mutex> lock(Known().lock);
    return ++Known().lastId;
}

constexpr UINT kInboxMessage = WM_APP + 0x150;

// Drains the inbox a message names while that inbox is there.
LRESULT CALLBACK PostboxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kInboxMessage) return ::DefWindowProcW(window, message, wParam, lParam);
    std::shared_ptr<Inbox> inbox;
    {
        std::lock_guard<std::mutex> lock(Known().lock);
        auto found = Known().known.find(lParam);
        if (found != Known().known.end()) inbox = found->second.lock();
    }
    // Held while it drains: a call may close the page that owns it.
    if (inbox) inbox->Drain();
    return 0;
}

// One per thread that makes inboxes; it goes with the thread.
HWND ThreadPostbox() {
    static const wchar_t* const kClass = L"CorvaneSweepmere.Postbox";
    static const ATOM registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PostboxProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        return ::RegisterClassW(&wc);
    }();
    thread_local HWND postbox = registered ? ::CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                               ::GetModuleHandleW(nullptr), nullptr)
                                           : nullptr;
    return postbox;
}
}  // namespace

Inbox::Inbox() : m_postbox(ThreadPostbox()), m_id(NextId()) {}

Inbox::~Inbox() {
    std::lock_guard<std::mutex> lock(Known().lock);
    Known().known.erase(m_id);
}

void Inbox::Post(std::function<void()> call) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_closed) return;
    m_calls.push_back(std::move(call));
    if (!m_known) {
        std::lock_guard<std::mutex> known(Known().lock);
        Known().known[m_id] = weak_from_this();
        m_known = true;
    }
    // One message stands for everything that waits: the drain takes it all.
    if (!m_signalled) m_signalled = ::PostMessageW(m_postbox, kInboxMessage, 0, m_id) != FALSE;
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
