#include "Random.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstring>

namespace engine {

namespace {
uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

// splitmix64: spreads one seed over the four words, never all zero.
uint64_t SplitMix(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
}  // namespace

RandomStream::RandomStream(uint64_t seed) {
    for (uint64_t& s : m_s) s = SplitMix(seed);
}

RandomStream::RandomStream() {
    if (BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(m_s), sizeof m_s, BCRYPT_USE_SYSTEM_PREFERRED_RNG)) &&
        (m_s[0] | m_s[1] | m_s[2] | m_s[3]))
        return;
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    uint64_t seed = static_cast<uint64_t>(now.QuadPart) ^ reinterpret_cast<uintptr_t>(this);
    for (uint64_t& s : m_s) s = SplitMix(seed);
}

uint64_t RandomStream::Next() {
    const uint64_t result = Rotl(m_s[1] * 5, 7) * 9;
    const uint64_t t = m_s[1] << 17;
    m_s[2] ^= m_s[0];
    m_s[3] ^= m_s[1];
    m_s[1] ^= m_s[2];
    m_s[0] ^= m_s[3];
    m_s[2] ^= t;
    m_s[3] = Rotl(m_s[3], 45);
    return result;
}

void RandomStream::Fill(void* data, size_t bytes) {
    auto* out = static_cast<unsigned char*>(data);
    for (; bytes >= 8; bytes -= 8, out += 8) {
        uint64_t v = Next();
        std::memcpy(out, &v, 8);
    }
    if (bytes) {
        uint64_t v = Next();
        std::memcpy(out, &v, bytes);
    }
}

}  // namespace engine
