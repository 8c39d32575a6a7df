// fuzz-sources: controls/GifBlocks.cpp
// The GIF block walk on any bytes: every frame it finds lies inside the data, in order, and a
// frame's own file can be built from it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "GifBlocks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gif::Screen screen;
    if (!gif::ReadScreen(data, size, screen)) return 0;
    if (screen.firstBlock > size) abort();
    size_t last = 0;
    for (const gif::Frame& f : gif::Frames(data, size, screen)) {
        if (f.begin < last || f.begin >= f.end || f.end > size || (f.image && (f.image < f.begin || f.image >= f.end))) abort();
        last = f.end;
        std::vector<uint8_t> own = gif::FrameFile(data, screen, f);
        gif::Screen inner;
        if (!own.empty() && !gif::ReadScreen(own.data(), own.size(), inner)) abort();
        gif::FrameDelayMs(f.delay);
    }
    for (size_t pos = 0; pos <= size && pos < 64; ++pos) {
        if (gif::BlockLength(data, size, pos) > size - pos) abort();
        gif::KindAt(data, size, pos);
    }
    return 0;
}
