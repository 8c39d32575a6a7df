// Owners for what the system hands out, closed however the code leaves them: a kernel handle, a
// search handle, task memory and COM pointers (Microsoft::WRL::ComPtr, from the system headers).
#pragma once
#include <windows.h>
#include <objbase.h>
#include <wrl/client.h>

#include <memory>

namespace engine {

// A handle that is closed by Close; both null and INVALID_HANDLE_VALUE mean "none", as the
// system's calls return either.
template <class Closer>
class BasicHandle {
public:
    BasicHandle() = default;
    explicit BasicHandle(HANDLE h) : m_h(h) {}
    ~BasicHandle() { Reset(); }
    BasicHandle(BasicHandle&& other) noexcept : m_h(other.Detach()) {}
    BasicHandle& operator=(BasicHandle&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    BasicHandle(const BasicHandle&) = delete;
    BasicHandle& operator=(const BasicHandle&) = delete;

    explicit operator bool() const { return m_h && m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }
    // For a call that hands a new handle out through a pointer; what was held is closed first.
    HANDLE* Put() {
        Reset();
        return &m_h;
    }
    HANDLE Detach() {
        HANDLE h = m_h;
        m_h = nullptr;
        return h;
    }
    void Reset(HANDLE h = nullptr) {
        if (*this) Closer::Close(m_h);
        m_h = h;
    }

private:
    HANDLE m_h = nullptr;
};

struct KernelCloser {
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FindCloser {
    static void Close(HANDLE h) { ::FindClose(h); }
};
using Handle = BasicHandle<KernelCloser>;
using FindHandle = BasicHandle<FindCloser>;

// Memory the system allocated with CoTaskMemAlloc for the caller (known-folder paths, item-ID
// lists, strings of enumerations).
struct TaskMemFree {
    void operator()(void* p) const { ::CoTaskMemFree(p); }
};
template <class T>
using TaskMem = std::unique_ptr<T, TaskMemFree>;

template <class T>
using ComPtr = Microsoft::WRL::ComPtr<T>;

}  // namespace engine
