// A block of memory aligned to the page, as unbuffered writes need it (and large writes like it).
#pragma once
#include <windows.h>

#include <cstddef>

namespace engine {

class AlignedBuffer {
public:
    explicit AlignedBuffer(size_t bytes)
        : m_data(static_cast<unsigned char*>(::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))),
          m_size(m_data ? bytes : 0) {}
    ~AlignedBuffer() {
        if (m_data) ::VirtualFree(m_data, 0, MEM_RELEASE);
    }
    AlignedBuffer(const AlignedBuffer&) = delete;
    AlignedBuffer& operator=(const AlignedBuffer&) = delete;
    unsigned char* data() const { return m_data; }
    size_t size() const { return m_size; }

private:
    unsigned char* m_data;
    size_t m_size;
};

}  // namespace engine
