// The pseudo-random data that overwrites files and unused space: xoshiro256** seeded from the
// system's generator, fast enough that the disk, not the generator, sets the pace.
#pragma once
#include <cstddef>
#include <cstdint>

namespace engine {

class RandomStream {
public:
    // Seeded from BCryptGenRandom (the clock and the address of the object if that fails).
    RandomStream();
    // A fixed seed, for tests.
    explicit RandomStream(uint64_t seed);
    uint64_t Next();
    // Fills bytes with the stream's next bytes.
    void Fill(void* data, size_t bytes);

private:
    uint64_t m_s[4];
};

}  // namespace engine
