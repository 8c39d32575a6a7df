// The block structure of a GIF file (GIF87a/GIF89a), walked without decoding any image data.
// Every read is checked against the size of the data: a truncated or hostile file ends the
// walk, it never makes it read past the end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gif {

// The delay of a frame that has no graphic control extension.
constexpr uint32_t kNoDelay = 0xFFFFFFFFu;

enum class Block { Application, Comment, GraphicControl, PlainText, Image, Trailer, Unknown };

struct Screen {
    uint16_t width = 0;
    uint16_t height = 0;
    size_t colorTableSize = 0;  // bytes of the global colour table, 0 when there is none
    size_t firstBlock = 0;      // offset of the first block after the header
};

// One animation frame: where its bytes lie and what its extension and descriptor say.
struct Frame {
    size_t begin = 0;  // the graphic control extension, or the image when there is none
    size_t end = 0;    // one past the end of the image (or plain-text) block
    size_t image = 0;  // the image block, 0 when a plain-text extension ends the frame
    uint32_t delay = kNoDelay;  // hundredths of a second
    int disposal = 0;           // 0..7
    int left = 0, top = 0, width = 0, height = 0;
};

// Reads the header and logical screen; false when the data is not a GIF or is too short for them.
bool ReadScreen(const uint8_t* data, size_t size, Screen& screen);

// The kind of block at pos (Unknown at or past the end of the data).
Block KindAt(const uint8_t* data, size_t size, size_t pos);

// The length of the block at pos, or 0 when it is unknown or runs past the end of the data.
size_t BlockLength(const uint8_t* data, size_t size, size_t pos);

// Takes the frame that starts at pos, moving pos past it; false (pos unchanged) when the walk
// meets an unknown block, the trailer, or the end of the data first.
bool TakeFrame(const uint8_t* data, size_t size, size_t& pos, Frame& frame);

// Every frame of the file up to the trailer or the first block that cannot be walked.
std::vector<Frame> Frames(const uint8_t* data, size_t size, const Screen& screen);

// A GIF file of its own for one frame: the header, the logical screen and global colour table of
// the whole file, the frame's blocks and a trailer. The logical screen is set to the frame's size
// and the image moved to its origin, so that a decoder returns exactly the frame's pixels.
std::vector<uint8_t> FrameFile(const uint8_t* data, const Screen& screen, const Frame& frame);

// How long a frame stays, in milliseconds: delays below 5 hundredths, and a missing graphic
// control extension, mean 100 ms.
uint32_t FrameDelayMs(uint32_t delay);

}  // namespace gif
