// The animated picture: the GIF block walk on built files (cut ones too), still pictures, the
// frames the animation thread draws into the off-screen image, and stopping.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "AnimatedPicture.h"
#include "EraseProgressDlg.h"
#include "GifBlocks.h"
#include "TestKit.h"
#include "resource.h"

using Bytes = std::vector<uint8_t>;

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
enum : uint8_t { Red, Green, Blue, Black };

// Writes small GIF89a files with a four-colour global table (red, green, blue, black). The image
// data is LZW with a 9-bit code and a clear code every 100 pixels, so the table never grows.
class GifWriter {
public:
    GifWriter(int w, int h) {
        m_out = {'G', 'I', 'F', '8', '9', 'a'};
        Put16({w, h});
        m_out.insert(m_out.end(), {0x81, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0});
    }
    GifWriter& Control(uint16_t delay, int disposal) {
        m_out.insert(m_out.end(), {0x21, 0xF9, 4, static_cast<uint8_t>(disposal << 2)});
        Put16({delay, 0});
        return *this;
    }
    GifWriter& Image(int left, int top, int w, int h, uint8_t colour) {
        m_out.push_back(0x2C);
        Put16({left, top, w, h});
        m_out.push_back(0);
        Lzw(Bytes(static_cast<size_t>(w * h), colour));
        return *this;
    }
    // A comment (0xFE) or application (0xFF) extension holding the text as one sub-block.
    GifWriter& Extension(uint8_t label, const std::string& text) {
        m_out.insert(m_out.end(), {0x21, label, static_cast<uint8_t>(text.size())});
        m_out.insert(m_out.end(), text.begin(), text.end());
        m_out.push_back(0);
        return *this;
    }
    size_t Size() const { return m_out.size(); }
    Bytes Done() const {
        Bytes b = m_out;
        b.push_back(0x3B);
        return b;
    }

private:
    // Little-endian 16-bit fields; the last of Control's is the transparent index and terminator.
    void Put16(std::initializer_list<int> values) {
        for (int v : values) m_out.insert(m_out.end(), {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)});
    }
    // The pictures here are small enough for their codes to fit one sub-block.
    void Lzw(const Bytes& pixels) {
        Bytes codes;
        uint32_t acc = 0;
        int bits = 0;
        auto put = [&](int code) {
            acc |= static_cast<uint32_t>(code) << bits;
            for (bits += 9; bits >= 8; bits -= 8, acc >>= 8) codes.push_back(static_cast<uint8_t>(acc));
        };
        for (size_t i = 0; i < pixels.size(); ++i) {
            if (i % 100 == 0) put(256);
            put(pixels[i]);
        }
        put(257);
        if (bits) codes.push_back(static_cast<uint8_t>(acc));
        ASSERT_LT(codes.size(), 256u);
        m_out.insert(m_out.end(), {8, static_cast<uint8_t>(codes.size())});
        m_out.insert(m_out.end(), codes.begin(), codes.end());
        m_out.push_back(0);
    }
    Bytes m_out;
};

std::vector<gif::Frame> Walk(const Bytes& b) {
    gif::Screen screen;
    if (!gif::ReadScreen(b.data(), b.size(), screen)) return {};
    return gif::Frames(b.data(), b.size(), screen);
}

// A frame's delay, disposal and place, for comparing frames whole.
std::vector<int> Fields(const gif::Frame& f) {
    return {static_cast<int>(f.delay), f.disposal, f.left, f.top, f.width, f.height};
}

bool LoadInto(CAnimatedPicture& picture, const Bytes& b) {
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, b.size() ? b.size() : 1);
    if (!b.empty()) std::memcpy(::GlobalLock(h), b.data(), b.size());
    ::GlobalUnlock(h);
    BOOL ok = picture.Load(h, static_cast<DWORD>(b.size()));
    ::GlobalFree(h);
    return ok != FALSE;
}

}  // namespace

// ---- the block walk (any bytes at all are left to tests/fuzz/fuzz_gif_blocks.cpp) ----

// Comment and application blocks anywhere change no frame; one between a frame's control
// extension and its image travels inside that frame's file.
TEST(GifBlocks, FramesCarryTheirFieldsAndEachMakesAGifOfItsOwn) {
    Bytes b = GifWriter(10, 12)
                  .Extension(0xFE, "first").Extension(0xFF, "NETSCAPE2.0")
                  .Control(25, 2).Extension(0xFE, "inside").Image(1, 2, 3, 4, Red)
                  .Image(0, 0, 10, 12, Green)  // no graphic control extension
                  .Done();
    gif::Screen screen;
    ASSERT_TRUE(gif::ReadScreen(b.data(), b.size(), screen));
    EXPECT_EQ((std::vector<size_t>{screen.width, screen.height, screen.colorTableSize}), (std::vector<size_t>{10, 12, 12}));
    auto frames = gif::Frames(b.data(), b.size(), screen);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(Fields(frames[0]), (std::vector<int>{25, 2, 1, 2, 3, 4}));
    EXPECT_EQ(b[frames[0].begin + 1], 0xF9);  // the frame starts at its control extension
    EXPECT_EQ(Fields(frames[1]), (std::vector<int>{static_cast<int>(gif::kNoDelay), 0, 0, 0, 10, 12}));
    EXPECT_EQ(frames[1].begin, frames[0].end);
    EXPECT_EQ(b[frames[1].end], 0x3B);

    // Header and colour table of the whole file, the frame's blocks, a trailer; sized to the
    // frame with the image at the origin.
    Bytes file = gif::FrameFile(b.data(), screen, frames[0]);
    ASSERT_EQ(file.size(), screen.firstBlock + (frames[0].end - frames[0].begin) + 1);
    EXPECT_TRUE(std::equal(b.begin(), b.begin() + 6, file.begin()));
    EXPECT_TRUE(std::equal(b.begin() + 10, b.begin() + 25, file.begin() + 10));
    EXPECT_EQ(file.back(), 0x3B);
    EXPECT_EQ((std::vector<int>{file[6] | file[7] << 8, file[8] | file[9] << 8}), (std::vector<int>{3, 4}));
    const std::string text(file.begin(), file.end());
    EXPECT_NE(text.find("inside"), std::string::npos);
    EXPECT_EQ(text.find("first"), std::string::npos);
    auto again = Walk(file);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(Fields(again[0]), (std::vector<int>{25, 2, 0, 0, 3, 4}));
}

TEST(GifBlocks, ACutOrAnUnknownBlockKeepsTheFramesBeforeIt) {
    GifWriter w(4, 4);
    w.Control(5, 0).Image(0, 0, 4, 4, Red).Control(5, 0).Image(0, 0, 4, 4, Green);
    size_t twoFrames = w.Size();
    w.Control(5, 0).Image(0, 0, 4, 4, Blue);
    Bytes whole = w.Done();
    EXPECT_EQ(Walk(whole).size(), 3u);
    for (size_t cut = twoFrames; cut < whole.size() - 1; ++cut)
        EXPECT_EQ(Walk(Bytes(whole.begin(), whole.begin() + cut)).size(), 2u) << L"cut at " << cut;
    Bytes unknown(whole.begin(), whole.begin() + twoFrames);
    unknown.insert(unknown.end(), {0x21, 0x99, 1, 0, 0});
    unknown.insert(unknown.end(), whole.begin() + twoFrames, whole.end());
    EXPECT_EQ(Walk(unknown).size(), 2u);
    EXPECT_TRUE(Walk(Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80}).empty());  // short header
}

// ---- the control ----

class AnimatedPictureTest : public testing::Test {
protected:
    void SetUp() override {
        m_host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 100, 100, 200, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_picture.Create(L"", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, RECT{10, 10, 70, 70},
                                     CWnd::FromHandle(m_host), 1289));
    }
    void TearDown() override {
        if (::IsWindow(m_host)) ::DestroyWindow(m_host);
    }
    bool Load(const Bytes& b) { return LoadInto(m_picture, b); }
    bool WaitForPixel(int x, int y, COLORREF c) {
        return testkit::PumpUntil([&] { return m_picture.ImagePixel(x, y) == c; });
    }
    void ExpectEmpty() {
        EXPECT_FALSE(m_picture.IsPlaying());
        EXPECT_EQ(m_picture.FrameCount(), 0);
        EXPECT_FALSE(m_picture.Draw());
        EXPECT_EQ(m_picture.ImagePixel(0, 0), CLR_INVALID);
    }

    HWND m_host = nullptr;
    CAnimatedPicture m_picture;
};

TEST_F(AnimatedPictureTest, AOneImageGifAndOtherFormatsAreStillPictures) {
    ASSERT_TRUE(Load(GifWriter(8, 8).Control(0, 0).Image(0, 0, 8, 8, Blue).Done()));
    EXPECT_EQ(m_picture.FrameCount(), 1);
    EXPECT_TRUE(m_picture.Draw());
    EXPECT_FALSE(m_picture.IsPlaying());
    RECT r;
    m_picture.GetClientRect(&r);
    EXPECT_EQ(std::make_pair(r.right, r.bottom), std::make_pair(8L, 8L));  // sized to the logical screen
    EXPECT_EQ(m_picture.ImagePixel(7, 7), kBlue);
    ::ShowWindow(m_host, SW_SHOWNOACTIVATE);
    EXPECT_EQ(testkit::ClientPixel(m_picture, 3, 3), kBlue);  // WM_PAINT copies the image out

    // A 2 x 2 bottom-up 24-bit bitmap: green, rows padded to 8 bytes.
    Bytes bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,
                 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int row = 0; row < 2; ++row) bmp.insert(bmp.end(), {0, 255, 0, 0, 255, 0, 0, 0});
    ASSERT_TRUE(Load(bmp));
    EXPECT_EQ(m_picture.FrameCount(), 1);
    EXPECT_TRUE(m_picture.Draw());
    EXPECT_FALSE(m_picture.IsPlaying());
    EXPECT_EQ(m_picture.ImagePixel(1, 1), kGreen);
}

TEST_F(AnimatedPictureTest, GarbageAMissingResourceAndUnloadLeaveItEmpty) {
    for (const Bytes& b : {Bytes{}, Bytes{'x', 'y', 'z', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
                           Bytes{'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0, 0x99, 0x3B}}) {
        EXPECT_FALSE(Load(b));
        ExpectEmpty();
    }
    const Bytes playing = GifWriter(4, 4).Control(3000, 0).Image(0, 0, 4, 4, Red).Control(0, 0).Image(0, 0, 1, 1, Green).Done();
    ASSERT_TRUE(Load(playing) && m_picture.Draw());
    EXPECT_FALSE(m_picture.Load(MAKEINTRESOURCEW(9999), L"GIF"));
    ExpectEmpty();
    ASSERT_TRUE(Load(playing) && m_picture.Draw());
    m_picture.Unload();
    ExpectEmpty();
}

// Frame one fills the screen red, frame two puts blue into (4,4)-(8,8) with the given disposal,
// frame three shows green in the corner for a long time: what is left under frame two then?
class Disposal : public AnimatedPictureTest, public testing::WithParamInterface<int> {};

TEST_P(Disposal, LeavesTheRightPixelsUnderTheFrame) {
    int disposal = GetParam();
    ASSERT_TRUE(Load(GifWriter(8, 8)
                         .Control(0, 1).Image(0, 0, 8, 8, Red)
                         .Control(1, disposal).Image(4, 4, 4, 4, Blue)
                         .Control(3000, 1).Image(0, 0, 2, 2, Green)
                         .Done()));
    ASSERT_EQ(m_picture.FrameCount(), 3);
    ASSERT_TRUE(m_picture.Draw());
    EXPECT_TRUE(m_picture.IsPlaying());
    ASSERT_TRUE(WaitForPixel(0, 0, kGreen));
    COLORREF expected = disposal == 2 ? m_picture.BackgroundColor() : disposal == 3 ? kRed : kBlue;
    EXPECT_EQ(m_picture.ImagePixel(5, 5), expected);
    EXPECT_EQ(m_picture.ImagePixel(7, 3), kRed);  // outside the frame: untouched
    m_picture.Stop();
}
INSTANTIATE_TEST_SUITE_P(Methods, Disposal, testing::Values(0, 1, 2, 3));

TEST_F(AnimatedPictureTest, FramesWithoutControlAdvanceAndAfterTheLastTheImageIsClearedForTheFirst) {
    ASSERT_TRUE(Load(GifWriter(8, 8).Image(0, 0, 2, 2, Red).Image(4, 4, 2, 2, Green).Done()));
    ASSERT_TRUE(m_picture.Draw());
    ASSERT_TRUE(WaitForPixel(5, 5, kGreen));
    COLORREF bg = m_picture.BackgroundColor();
    EXPECT_TRUE(testkit::PumpUntil([&] {
        return m_picture.ImagePixel(5, 5) == bg && m_picture.ImagePixel(0, 0) == kRed;
    }));
}

TEST_F(AnimatedPictureTest, StopEndsALongWaitAndDestroyingTheWindowOrTheObjectStops) {
    const uint16_t delay = 3000;  // 30 s per frame
    const Bytes slow = GifWriter(4, 4).Control(delay, 0).Image(0, 0, 4, 4, Red).Control(delay, 0).Image(0, 0, 4, 4, Green).Done();
    ASSERT_TRUE(Load(slow));
    ASSERT_TRUE(m_picture.Draw());
    ASSERT_TRUE(WaitForPixel(0, 0, kRed));
    ULONGLONG start = ::GetTickCount64();
    m_picture.Stop();
    EXPECT_LT(::GetTickCount64() - start, gif::FrameDelayMs(delay));
    EXPECT_FALSE(m_picture.IsPlaying());
    m_picture.Stop();  // a second stop has no thread to wait for or close

    {
        CAnimatedPicture other;  // its destructor unloads: the thread must be gone before the object is
        other.Create(L"", WS_CHILD, RECT{0, 0, 8, 8}, CWnd::FromHandle(m_host), 1);
        ASSERT_TRUE(LoadInto(other, slow));
        ASSERT_TRUE(other.Draw());
    }

    ASSERT_TRUE(m_picture.Draw());  // plays on from where it stopped
    EXPECT_TRUE(m_picture.IsPlaying());
    start = ::GetTickCount64();
    ::DestroyWindow(m_host);
    EXPECT_LT(::GetTickCount64() - start, gif::FrameDelayMs(delay));
    EXPECT_FALSE(m_picture.IsPlaying());
}

TEST(AnimatedPicture, TheProgressDialogPlaysTheProgramsOwnAnimationUntilItCloses) {
    CEraseProgressDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ERASE_PROGRESS));
    EXPECT_GT(dlg.m_picture.FrameCount(), 1);
    EXPECT_TRUE(dlg.m_picture.IsPlaying());
    dlg.DestroyWindow();
    EXPECT_FALSE(dlg.m_picture.IsPlaying());
}
