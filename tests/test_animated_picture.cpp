// The animated picture: the GIF block walk on built files (truncated and random ones too), still
// pictures, the frames the animation thread draws into the off-screen image, and stopping.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
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
        Put16(w);
        Put16(h);
        m_out.insert(m_out.end(), {0x81, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0});
    }
    GifWriter& Control(uint16_t delay, int disposal) {
        m_out.insert(m_out.end(), {0x21, 0xF9, 4, static_cast<uint8_t>(disposal << 2)});
        Put16(delay);
        m_out.insert(m_out.end(), {0, 0});
        return *this;
    }
    GifWriter& Image(int left, int top, int w, int h, uint8_t colour) {
        m_out.push_back(0x2C);
        for (int v : {left, top, w, h}) Put16(v);
        m_out.push_back(0);
        Lzw(Bytes(static_cast<size_t>(w * h), colour));
        return *this;
    }
    GifWriter& Comment(const std::string& text) {
        m_out.insert(m_out.end(), {0x21, 0xFE, static_cast<uint8_t>(text.size())});
        m_out.insert(m_out.end(), text.begin(), text.end());
        m_out.push_back(0);
        return *this;
    }
    GifWriter& Looping() {
        const char* id = "NETSCAPE2.0";
        m_out.insert(m_out.end(), {0x21, 0xFF, 11});
        m_out.insert(m_out.end(), id, id + 11);
        m_out.insert(m_out.end(), {3, 1, 0, 0, 0});
        return *this;
    }
    GifWriter& Raw(const Bytes& b) {
        m_out.insert(m_out.end(), b.begin(), b.end());
        return *this;
    }
    size_t Size() const { return m_out.size(); }
    Bytes Done() const {
        Bytes b = m_out;
        b.push_back(0x3B);
        return b;
    }

private:
    void Put16(int v) {
        m_out.push_back(static_cast<uint8_t>(v & 0xFF));
        m_out.push_back(static_cast<uint8_t>(v >> 8));
    }
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
        m_out.push_back(8);
        for (size_t i = 0; i < codes.size(); i += 255) {
            size_t n = std::min<size_t>(255, codes.size() - i);
            m_out.push_back(static_cast<uint8_t>(n));
            m_out.insert(m_out.end(), codes.begin() + i, codes.begin() + i + n);
        }
        m_out.push_back(0);
    }
    Bytes m_out;
};

// Data that ends exactly where an inaccessible page begins: a read past its end faults, and the
// fault ends the test program at once with a message (rather than waiting for a debugger).
class GuardedCopy {
public:
    explicit GuardedCopy(const Bytes& b) {
        m_base = static_cast<uint8_t*>(::VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        ::VirtualProtect(m_base + kPage, kPage, PAGE_NOACCESS, &old);
        m_data = m_base + kPage - b.size();
        if (!b.empty()) std::memcpy(m_data, b.data(), b.size());
        s_guard = m_base + kPage;
        m_handler = ::AddVectoredExceptionHandler(1, OnFault);
    }
    ~GuardedCopy() {
        ::RemoveVectoredExceptionHandler(m_handler);
        ::VirtualFree(m_base, 0, MEM_RELEASE);
    }
    const uint8_t* data() const { return m_data; }

private:
    static LONG CALLBACK OnFault(EXCEPTION_POINTERS* e) {
        const EXCEPTION_RECORD* r = e->ExceptionRecord;
        auto at = reinterpret_cast<const uint8_t*>(r->NumberParameters > 1 ? r->ExceptionInformation[1] : 0);
        if (r->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && at >= s_guard && at < s_guard + kPage) {
            std::fprintf(stderr, "FAILED: the GIF walk read %d bytes past the end of its data\n",
                         static_cast<int>(at - s_guard) + 1);
            std::fflush(stderr);
            std::_Exit(3);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static constexpr size_t kPage = 65536;
    static inline const uint8_t* s_guard = nullptr;
    uint8_t* m_base;
    uint8_t* m_data;
    void* m_handler;
};

std::vector<gif::Frame> Walk(const Bytes& b) {
    gif::Screen screen;
    if (!gif::ReadScreen(b.data(), b.size(), screen)) return {};
    return gif::Frames(b.data(), b.size(), screen);
}

HGLOBAL ToGlobal(const Bytes& b) {
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, b.size() ? b.size() : 1);
    if (!b.empty()) std::memcpy(::GlobalLock(h), b.data(), b.size());
    ::GlobalUnlock(h);
    return h;
}

}  // namespace

// ---- the block walk ----

TEST(GifBlocks, FramesCarryTheirControlFieldsAndDescriptor) {
    Bytes b = GifWriter(10, 12)
                  .Looping()
                  .Control(25, 2).Image(1, 2, 3, 4, Red)
                  .Image(0, 0, 10, 12, Green)  // no graphic control extension
                  .Done();
    gif::Screen screen;
    ASSERT_TRUE(gif::ReadScreen(b.data(), b.size(), screen));
    EXPECT_EQ(screen.width, 10);
    EXPECT_EQ(screen.height, 12);
    EXPECT_EQ(screen.colorTableSize, 12u);
    auto frames = gif::Frames(b.data(), b.size(), screen);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].delay, 25u);
    EXPECT_EQ(frames[0].disposal, 2);
    EXPECT_EQ(frames[0].left, 1);
    EXPECT_EQ(frames[0].top, 2);
    EXPECT_EQ(frames[0].width, 3);
    EXPECT_EQ(frames[0].height, 4);
    EXPECT_EQ(b[frames[0].begin + 1], 0xF9);  // the frame starts at its control extension
    EXPECT_EQ(frames[1].delay, gif::kNoDelay);
    EXPECT_EQ(frames[1].disposal, 0);
    EXPECT_EQ(frames[1].begin, frames[0].end);
    EXPECT_EQ(b[frames[1].end], 0x3B);
}

TEST(GifBlocks, DelayRule) {
    for (uint32_t d = 0; d < 5; ++d) EXPECT_EQ(gif::FrameDelayMs(d), 100u) << d;
    EXPECT_EQ(gif::FrameDelayMs(5), 50u);
    EXPECT_EQ(gif::FrameDelayMs(25), 250u);
    EXPECT_EQ(gif::FrameDelayMs(65535), 655350u);
    EXPECT_EQ(gif::FrameDelayMs(gif::kNoDelay), 100u);  // no control extension: not for ever
}

TEST(GifBlocks, CommentAndApplicationBlocksDoNotChangeTheFrames) {
    Bytes plain = GifWriter(4, 4).Control(10, 1).Image(0, 0, 4, 4, Red).Control(20, 3).Image(1, 1, 2, 2, Blue).Done();
    Bytes mixed = GifWriter(4, 4)
                      .Comment("first").Looping()
                      .Control(10, 1).Comment("inside").Image(0, 0, 4, 4, Red)
                      .Comment("between").Looping()
                      .Control(20, 3).Looping().Image(1, 1, 2, 2, Blue)
                      .Comment("last")
                      .Done();
    auto a = Walk(plain), m = Walk(mixed);
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(m.size(), a.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(m[i].delay, a[i].delay);
        EXPECT_EQ(m[i].disposal, a[i].disposal);
        EXPECT_EQ(m[i].left, a[i].left);
        EXPECT_EQ(m[i].width, a[i].width);
    }
    // A block between the control extension and the image travels inside the frame's own file.
    gif::Screen screen;
    gif::ReadScreen(mixed.data(), mixed.size(), screen);
    Bytes file = gif::FrameFile(mixed.data(), screen, m[0]);
    std::string text(file.begin(), file.end());
    EXPECT_NE(text.find("inside"), std::string::npos);
    EXPECT_EQ(text.find("first"), std::string::npos);
}

TEST(GifBlocks, FrameFileIsAGifOfTheFrameAlone) {
    Bytes b = GifWriter(8, 6).Control(7, 2).Image(3, 2, 4, 3, Red).Control(7, 2).Image(0, 0, 1, 1, Green).Done();
    auto frames = Walk(b);
    ASSERT_EQ(frames.size(), 2u);
    gif::Screen screen;
    gif::ReadScreen(b.data(), b.size(), screen);
    Bytes file = gif::FrameFile(b.data(), screen, frames[0]);
    // Header and colour table of the whole file, the frame's blocks, a trailer.
    ASSERT_EQ(file.size(), screen.firstBlock + (frames[0].end - frames[0].begin) + 1);
    EXPECT_TRUE(std::equal(b.begin(), b.begin() + 6, file.begin()));
    EXPECT_TRUE(std::equal(b.begin() + 10, b.begin() + 25, file.begin() + 10));
    EXPECT_EQ(file.back(), 0x3B);
    // Sized to the frame, the image at the origin.
    auto again = Walk(file);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(file[6] | (file[7] << 8), 4);
    EXPECT_EQ(file[8] | (file[9] << 8), 3);
    EXPECT_EQ(again[0].left, 0);
    EXPECT_EQ(again[0].top, 0);
    EXPECT_EQ(again[0].width, 4);
    EXPECT_EQ(again[0].delay, 7u);
}

TEST(GifBlocks, ACutOrAnUnknownBlockKeepsTheFramesBeforeIt) {
    GifWriter w(4, 4);
    w.Control(5, 0).Image(0, 0, 4, 4, Red).Control(5, 0).Image(0, 0, 4, 4, Green);
    size_t twoFrames = w.Size();
    w.Control(5, 0).Image(0, 0, 4, 4, Blue);
    Bytes whole = w.Done();
    EXPECT_EQ(Walk(whole).size(), 3u);
    for (size_t cut = twoFrames; cut < whole.size() - 1; ++cut)
        EXPECT_EQ(Walk(Bytes(whole.begin(), whole.begin() + cut)).size(), 2u) << "cut at " << cut;
    Bytes unknown(whole.begin(), whole.begin() + twoFrames);
    unknown.insert(unknown.end(), {0x21, 0x99, 1, 0, 0});
    unknown.insert(unknown.end(), whole.begin() + twoFrames, whole.end());
    EXPECT_EQ(Walk(unknown).size(), 2u);
    EXPECT_TRUE(Walk(Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80}).empty());  // short header
}

TEST(GifBlocks, TruncatedAndRandomDataIsNeverReadPastItsEnd) {
    Bytes valid = GifWriter(6, 6)
                      .Looping().Control(3, 3).Comment("c").Image(1, 1, 3, 3, Red)
                      .Raw({0x21, 0x01, 12, 0, 0, 0, 0, 8, 0, 8, 0, 4, 4, 1, 0, 2, 'h', 'i', 0})
                      .Control(3, 2).Image(0, 0, 6, 6, Green).Done();
    std::mt19937 rng(1234);
    std::vector<Bytes> inputs;
    for (size_t n = 0; n <= valid.size(); ++n) inputs.emplace_back(valid.begin(), valid.begin() + n);
    for (int i = 0; i < 3000; ++i) {
        Bytes b = valid;
        for (int k = 1 + static_cast<int>(rng() % 4); k > 0; --k) b[rng() % b.size()] = static_cast<uint8_t>(rng());
        b.resize(rng() % (b.size() + 1));
        inputs.push_back(b);
        Bytes noise{'G', 'I', 'F', '8', '9', 'a'};
        for (size_t n = rng() % 200; n > 0; --n) noise.push_back(static_cast<uint8_t>(rng()));
        inputs.push_back(noise);
    }
    for (const Bytes& in : inputs) {
        GuardedCopy copy(in);  // a read past the end faults and ends the test program
        gif::Screen screen;
        if (!gif::ReadScreen(copy.data(), in.size(), screen)) continue;
        for (const gif::Frame& f : gif::Frames(copy.data(), in.size(), screen)) {
            ASSERT_LT(f.begin, f.end);
            ASSERT_LE(f.end, in.size());
            gif::FrameFile(copy.data(), screen, f);
        }
    }
}

// ---- the control ----

class AnimatedPictureTest : public testing::Test {
protected:
    void SetUp() override {
        m_host = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 100, 200, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_picture.Create("", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, RECT{10, 10, 70, 70},
                                     CWnd::FromHandle(m_host), 1289));
    }
    void TearDown() override {
        if (::IsWindow(m_host)) ::DestroyWindow(m_host);
    }
    bool Load(const Bytes& b) {
        HGLOBAL h = ToGlobal(b);
        BOOL ok = m_picture.Load(h, static_cast<DWORD>(b.size()));
        ::GlobalFree(h);
        return ok != FALSE;
    }
    bool WaitForPixel(int x, int y, COLORREF c) {
        return testkit::PumpUntil([&] { return m_picture.ImagePixel(x, y) == c; });
    }

    HWND m_host = nullptr;
    CAnimatedPicture m_picture;
};

TEST_F(AnimatedPictureTest, OneImageGifIsStillAndPaintsItsImage) {
    ASSERT_TRUE(Load(GifWriter(8, 8).Control(0, 0).Image(0, 0, 8, 8, Blue).Done()));
    EXPECT_EQ(m_picture.FrameCount(), 1);
    EXPECT_TRUE(m_picture.Draw());
    EXPECT_FALSE(m_picture.IsPlaying());
    RECT r;
    m_picture.GetClientRect(&r);
    EXPECT_EQ(r.right, 8);  // sized to the logical screen
    EXPECT_EQ(r.bottom, 8);
    EXPECT_EQ(m_picture.ImagePixel(7, 7), kBlue);
    ::ShowWindow(m_host, SW_SHOWNOACTIVATE);
    EXPECT_EQ(testkit::ClientPixel(m_picture, 3, 3), kBlue);  // WM_PAINT copies the image out
}

TEST_F(AnimatedPictureTest, OtherPictureFormatsAreStillPictures) {
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

TEST_F(AnimatedPictureTest, GarbageLoadsNothing) {
    for (const Bytes& b : {Bytes{}, Bytes{'x', 'y', 'z', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
                           Bytes{'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0, 0x99, 0x3B}}) {
        EXPECT_FALSE(Load(b));
        EXPECT_EQ(m_picture.FrameCount(), 0);
        EXPECT_FALSE(m_picture.Draw());
        EXPECT_EQ(m_picture.ImagePixel(0, 0), CLR_INVALID);
    }
}

TEST_F(AnimatedPictureTest, TruncatedAnimationKeepsTheFramesBeforeTheCut) {
    GifWriter w(4, 4);
    w.Control(5, 0).Image(0, 0, 4, 4, Red).Control(5, 0).Image(0, 0, 4, 4, Green);
    size_t cut = w.Size() + 20;  // inside the third frame's image
    w.Control(5, 0).Image(0, 0, 4, 4, Blue);
    Bytes b = w.Done();
    ASSERT_TRUE(Load(Bytes(b.begin(), b.begin() + cut)));
    EXPECT_EQ(m_picture.FrameCount(), 2);
    ASSERT_TRUE(Load(b));
    EXPECT_EQ(m_picture.FrameCount(), 3);
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

TEST_F(AnimatedPictureTest, AfterTheLastFrameTheImageIsClearedAndTheFirstFollows) {
    ASSERT_TRUE(Load(GifWriter(8, 8).Control(0, 1).Image(0, 0, 2, 2, Red).Control(0, 1).Image(4, 4, 2, 2, Green).Done()));
    ASSERT_TRUE(m_picture.Draw());
    ASSERT_TRUE(WaitForPixel(5, 5, kGreen));
    COLORREF bg = m_picture.BackgroundColor();
    EXPECT_TRUE(testkit::PumpUntil([&] {
        return m_picture.ImagePixel(5, 5) == bg && m_picture.ImagePixel(0, 0) == kRed;
    }));
}

TEST_F(AnimatedPictureTest, FramesWithoutControlExtensionStillAdvance) {
    ASSERT_TRUE(Load(GifWriter(4, 4).Image(0, 0, 4, 4, Red).Image(0, 0, 4, 4, Green).Done()));
    ASSERT_TRUE(m_picture.Draw());
    EXPECT_TRUE(WaitForPixel(0, 0, kRed));
    EXPECT_TRUE(WaitForPixel(0, 0, kGreen));
}

TEST_F(AnimatedPictureTest, StopEndsALongWaitAndDestroyingTheWindowStops) {
    const uint16_t delay = 3000;  // 30 s per frame
    ASSERT_TRUE(Load(GifWriter(4, 4).Control(delay, 0).Image(0, 0, 4, 4, Red).Control(delay, 0).Image(0, 0, 4, 4, Green).Done()));
    ASSERT_TRUE(m_picture.Draw());
    ASSERT_TRUE(WaitForPixel(0, 0, kRed));
    ULONGLONG start = ::GetTickCount64();
    m_picture.Stop();
    EXPECT_LT(::GetTickCount64() - start, gif::FrameDelayMs(delay));
    EXPECT_FALSE(m_picture.IsPlaying());
    m_picture.Stop();  // a second stop has no thread to wait for or close

    ASSERT_TRUE(m_picture.Draw());  // plays on from where it stopped
    EXPECT_TRUE(m_picture.IsPlaying());
    start = ::GetTickCount64();
    ::DestroyWindow(m_host);
    EXPECT_LT(::GetTickCount64() - start, gif::FrameDelayMs(delay));
    EXPECT_FALSE(m_picture.IsPlaying());
}

TEST_F(AnimatedPictureTest, UnloadEmptiesTheControl) {
    ASSERT_TRUE(Load(GifWriter(4, 4).Control(3000, 0).Image(0, 0, 4, 4, Red).Control(0, 0).Image(0, 0, 1, 1, Green).Done()));
    ASSERT_TRUE(m_picture.Draw());
    m_picture.Unload();
    EXPECT_FALSE(m_picture.IsPlaying());
    EXPECT_EQ(m_picture.FrameCount(), 0);
    EXPECT_FALSE(m_picture.Draw());
    EXPECT_EQ(m_picture.ImagePixel(0, 0), CLR_INVALID);
}

TEST_F(AnimatedPictureTest, TheProgramsOwnAnimationLoadsAndPlays) {
    ASSERT_TRUE(m_picture.Load(MAKEINTRESOURCEA(312), "GIF"));
    EXPECT_GT(m_picture.FrameCount(), 1);
    ASSERT_TRUE(m_picture.Draw());
    EXPECT_TRUE(m_picture.IsPlaying());
    EXPECT_FALSE(m_picture.Load(MAKEINTRESOURCEA(9999), "GIF"));
    EXPECT_FALSE(m_picture.IsPlaying());
}

TEST(AnimatedPicture, TheProgressDialogPlaysItsAnimationUntilItCloses) {
    CEraseProgressDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ERASE_PROGRESS));
    EXPECT_GT(dlg.m_picture.FrameCount(), 1);
    EXPECT_TRUE(dlg.m_picture.IsPlaying());
    RECT r;
    dlg.m_picture.GetClientRect(&r);
    EXPECT_EQ(r.right, 64);  // the control takes the animation's size
    dlg.DestroyWindow();
    EXPECT_FALSE(dlg.m_picture.IsPlaying());
}

TEST(AnimatedPicture, DestroyingAPlayingControlStopsIt) {
    HWND host = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    {
        CAnimatedPicture picture;
        picture.Create("", WS_CHILD, RECT{0, 0, 8, 8}, CWnd::FromHandle(host), 1);
        Bytes b = GifWriter(2, 2).Control(3000, 0).Image(0, 0, 2, 2, Red).Control(3000, 0).Image(0, 0, 2, 2, Blue).Done();
        HGLOBAL h = ToGlobal(b);
        ASSERT_TRUE(picture.Load(h, static_cast<DWORD>(b.size())));
        ::GlobalFree(h);
        ASSERT_TRUE(picture.Draw());
    }  // the destructor unloads: the thread must be gone before the object is
    ::DestroyWindow(host);
}
