// The animated picture: the GIF block walk on built files (cut ones too), still pictures, the
// frames the animation thread draws into the off-screen image, and stopping.
#include <gtest/gtest.h>

#include <algorithm>
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
    Bytes Done() {
        m_out.push_back(0x3B);  // the trailer
        return m_out;
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

bool LoadInto(CAnimatedPicture& picture, const Bytes& b) {
    HGLOBAL h = ::GlobalAlloc(GMEM_FIXED, b.size() + 1);  // a fixed block's handle is its address
    std::copy(b.begin(), b.end(), static_cast<uint8_t*>(h));
    BOOL ok = picture.Load(h, static_cast<DWORD>(b.size()));
    ::GlobalFree(h);
    return ok != FALSE;
}

}  // namespace

// ---- the block walk (any bytes at all are left to tests/fuzz/fuzz_gif_blocks.cpp; disposal,
// place and the blocks between a frame's parts to the control's tests below) ----

TEST(GifBlocks, FramesCarryTheirDelayMakeFilesOfTheirOwnAndACutOrAnUnknownBlockKeepsTheFramesBefore) {
    GifWriter w(4, 4);
    w.Control(5, 0).Image(0, 0, 4, 4, Red).Control(0x0102, 0).Image(1, 2, 3, 2, Green);
    size_t twoFrames = w.Size();
    w.Control(5, 0).Image(0, 0, 4, 4, Blue);
    Bytes whole = w.Done();
    std::vector<gif::Frame> frames = Walk(whole);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1].delay, 0x0102u);  // little-endian, as written
    gif::Screen screen, own;
    ASSERT_TRUE(gif::ReadScreen(whole.data(), whole.size(), screen));
    const Bytes file = gif::FrameFile(whole.data(), screen, frames[1]);  // sized to the frame, its image at the origin
    std::vector<gif::Frame> again = Walk(file);
    ASSERT_TRUE(gif::ReadScreen(file.data(), file.size(), own) && again.size() == 1);
    EXPECT_EQ((std::vector<int>{own.width, own.height, again[0].left, again[0].top, again[0].width}), (std::vector<int>{3, 2, 0, 0, 3}));
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

// A one-image GIF and other formats are still pictures, sized to their logical screen; garbage,
// a missing resource and Unload leave the control empty.
TEST_F(AnimatedPictureTest, StillPicturesAndEmptyOnes) {
    // A 2 x 2 bottom-up 24-bit bitmap: green, rows padded to 8 bytes.
    Bytes bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,
                 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int row = 0; row < 2; ++row) bmp.insert(bmp.end(), {0, 255, 0, 0, 255, 0, 0, 0});
    ::ShowWindow(m_host, SW_SHOWNOACTIVATE);
    for (auto [bytes, side, colour] : {std::tuple{GifWriter(8, 8).Control(0, 0).Image(0, 0, 8, 8, Blue).Done(), 8L, kBlue},
                                       {bmp, 2L, kGreen}}) {
        ASSERT_TRUE(Load(bytes));
        EXPECT_EQ(m_picture.FrameCount(), 1);
        EXPECT_TRUE(m_picture.Draw());
        EXPECT_FALSE(m_picture.IsPlaying());
        RECT r;
        m_picture.GetClientRect(&r);
        EXPECT_EQ(std::make_pair(r.right, r.bottom), std::make_pair(side, side));
        EXPECT_EQ(m_picture.ImagePixel(side - 1, side - 1), colour);
        EXPECT_EQ(testkit::ClientPixel(m_picture, side / 2, side / 2), colour);  // WM_PAINT copies the image out
    }

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
// Comment and application blocks, also between frame two's control extension and its image,
// change no frame.
class Disposal : public AnimatedPictureTest, public testing::WithParamInterface<int> {};

TEST_P(Disposal, LeavesTheRightPixelsUnderTheFrame) {
    int disposal = GetParam();
    ASSERT_TRUE(Load(GifWriter(8, 8)
                         .Extension(0xFE, "first").Extension(0xFF, "NETSCAPE2.0")
                         .Control(0, 1).Image(0, 0, 8, 8, Red)
                         .Control(1, disposal).Extension(0xFE, "inside").Image(4, 4, 4, 4, Blue)
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

// Frames without a control extension advance, and after the last the image is cleared for the
// first. Stop ends a long wait; destroying the window or the object stops; the progress dialog
// plays the program's own animation until it closes.
TEST_F(AnimatedPictureTest, PlaysLoopsAndStopsOnStopOrWithItsWindowOrObject) {
    ASSERT_TRUE(Load(GifWriter(8, 8).Image(0, 0, 2, 2, Red).Image(4, 4, 2, 2, Green).Done()));
    ASSERT_TRUE(m_picture.Draw());
    ASSERT_TRUE(WaitForPixel(5, 5, kGreen));
    COLORREF bg = m_picture.BackgroundColor();
    EXPECT_TRUE(testkit::PumpUntil([&] {
        return m_picture.ImagePixel(5, 5) == bg && m_picture.ImagePixel(0, 0) == kRed;
    }));

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

    CEraseProgressDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ERASE_PROGRESS));
    EXPECT_GT(dlg.m_picture.FrameCount(), 1);
    EXPECT_TRUE(dlg.m_picture.IsPlaying());
    dlg.DestroyWindow();
    EXPECT_FALSE(dlg.m_picture.IsPlaying());
}
