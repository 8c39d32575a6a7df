#include "GifBlocks.h"

#include <algorithm>

namespace gif {
namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void PutU16(uint8_t* p, int v) {
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

size_t ColorTableSize(uint8_t packed) { return (packed & 0x80) ? size_t{3} << ((packed & 7) + 1) : 0; }

// Length of a chain of data sub-blocks at p, its zero-length terminator included; 0 when the
// chain runs past the end of the data.
size_t ChainLength(const uint8_t* data, size_t size, size_t p) {
    size_t total = 0;
    while (p < size) {
        size_t n = data[p];
        total += n + 1;
        if (n == 0) return total;
        p += n + 1;
    }
    return 0;
}

bool IsFrameEnd(Block b) { return b == Block::Image || b == Block::PlainText; }
bool IsFatal(Block b) { return b == Block::Trailer || b == Block::Unknown; }

// Skips blocks from p until one for which stop() holds; false on a block that cannot be walked.
template <class Stop>
bool SkipUntil(const uint8_t* data, size_t size, size_t& p, Stop stop) {
    for (;;) {
        Block b = KindAt(data, size, p);
        if (stop(b)) return true;
        if (IsFatal(b)) return false;
        size_t n = BlockLength(data, size, p);
        if (n == 0) return false;
        p += n;
    }
}

}  // namespace

bool ReadScreen(const uint8_t* data, size_t size, Screen& screen) {
    if (!data || size < 13 || data[0] != 'G' || data[1] != 'I' || data[2] != 'F') return false;
    screen.width = U16(data + 6);
    screen.height = U16(data + 8);
    screen.colorTableSize = ColorTableSize(data[10]);
    screen.firstBlock = 13 + screen.colorTableSize;
    return screen.firstBlock <= size;
}

Block KindAt(const uint8_t* data, size_t size, size_t pos) {
    if (pos >= size) return Block::Unknown;
    switch (data[pos]) {
    case 0x2C: return Block::Image;
    case 0x3B: return Block::Trailer;
    case 0x21: break;
    default: return Block::Unknown;
    }
    if (pos + 1 >= size) return Block::Unknown;
    switch (data[pos + 1]) {
    case 0xFF: return Block::Application;
    case 0xFE: return Block::Comment;
    case 0xF9: return Block::GraphicControl;
    case 0x01: return Block::PlainText;
    default: return Block::Unknown;
    }
}

size_t BlockLength(const uint8_t* data, size_t size, size_t pos) {
    size_t head = 0;  // bytes before the sub-block chain
    switch (KindAt(data, size, pos)) {
    case Block::Unknown: return 0;
    case Block::Trailer: return 1;
    case Block::Image:
        if (size - pos < 10) return 0;
        head = 11 + ColorTableSize(data[pos + 9]);  // descriptor, local table, LZW code size
        break;
    default:
        head = 2;  // introducer and label; the extension's fixed fields are its first sub-block
        break;
    }
    if (head >= size - pos) return 0;
    size_t chain = ChainLength(data, size, pos + head);
    return chain ? head + chain : 0;
}

bool TakeFrame(const uint8_t* data, size_t size, size_t& pos, Frame& frame) {
    size_t p = pos;
    auto graphic = [](Block b) { return b == Block::GraphicControl || IsFrameEnd(b); };
    if (!SkipUntil(data, size, p, graphic)) return false;
    Frame f;
    f.begin = p;
    if (KindAt(data, size, p) == Block::GraphicControl) {
        size_t n = BlockLength(data, size, p);
        if (n == 0) return false;
        if (data[p + 2] >= 4) {  // the fields lie inside the first sub-block
            f.disposal = (data[p + 3] >> 2) & 7;
            f.delay = U16(data + p + 4);
        }
        p += n;
        if (!SkipUntil(data, size, p, IsFrameEnd)) return false;
    }
    size_t n = BlockLength(data, size, p);
    if (n == 0) return false;
    if (KindAt(data, size, p) == Block::Image) {
        f.image = p;
        f.left = U16(data + p + 1);
        f.top = U16(data + p + 3);
        f.width = U16(data + p + 5);
        f.height = U16(data + p + 7);
    }
    f.end = p + n;
    pos = f.end;
    frame = f;
    return true;
}

std::vector<Frame> Frames(const uint8_t* data, size_t size, const Screen& screen) {
    std::vector<Frame> frames;
    size_t pos = screen.firstBlock;
    Frame f;
    while (TakeFrame(data, size, pos, f)) frames.push_back(f);
    return frames;
}

std::vector<uint8_t> FrameFile(const uint8_t* data, const Screen& screen, const Frame& frame) {
    size_t head = screen.firstBlock;
    std::vector<uint8_t> out;
    out.reserve(head + (frame.end - frame.begin) + 1);
    out.insert(out.end(), data, data + head);
    out.insert(out.end(), data + frame.begin, data + frame.end);
    out.push_back(0x3B);
    if (frame.image) {
        PutU16(&out[6], frame.width);
        PutU16(&out[8], frame.height);
        uint8_t* descriptor = &out[head + (frame.image - frame.begin)];
        PutU16(descriptor + 1, 0);
        PutU16(descriptor + 3, 0);
    }
    return out;
}

uint32_t FrameDelayMs(uint32_t delay) {
    if (delay == kNoDelay || delay < 5) return 100;
    return std::min<uint32_t>(delay, 0xFFFFFFFFu / 10) * 10;
}

}  // namespace gif
