// A picture control that shows an image and plays an animated GIF on a thread of its own.
#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include "afxwin.h"

#include <olectl.h>

class CAnimatedPicture : public CStatic {
public:
    CAnimatedPicture();
    ~CAnimatedPicture() override;

    // From a resource of the program (name or id, and type such as "GIF").
    BOOL Load(LPCWSTR name, LPCWSTR type);
    // From movable global memory of the given size; the caller keeps and frees it.
    BOOL Load(HGLOBAL hGlobal, DWORD size);
    // Shows the image: starts the animation of an animated GIF, or renders a still picture.
    BOOL Draw();
    // Ends the animation within its current wait.
    void Stop();
    void Unload();
    bool IsPlaying() const;
    int FrameCount() const;

    // The colour that disposal and the end of each round clear to (the button face).
    COLORREF BackgroundColor() const { return m_background; }
    // A pixel of the off-screen image, CLR_INVALID when nothing is loaded.
    COLORREF ImagePixel(int x, int y) const;

    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnDestroy() override;

private:
    struct FrameRecord {
        IPicture* picture = nullptr;
        RECT rect{};  // in the logical screen
        uint32_t delay = 0;
        int disposal = 0;
    };

    // A DC with its own bitmap selected into it; empty when not made.
    struct MemImage {
        HDC dc = nullptr;
        HBITMAP bitmap = nullptr;
        HGDIOBJ old = nullptr;
        bool Create(HDC like, int cx, int cy);
        void Destroy();
    };

    BOOL LoadStill(HGLOBAL hGlobal, DWORD size);
    BOOL LoadFrames(const uint8_t* data, size_t size);
    BOOL PrepareImage(int cx, int cy);
    bool RenderInto(IPicture* picture, const RECT& r);
    void SaveUnder(const RECT& r);
    void FillBackground(const RECT& r);
    void Dispose(const FrameRecord& f);
    void Animate();
    bool WaitFrame(const FrameRecord& f);
    void InvalidateImage();
    static unsigned __stdcall ThreadMain(void* self);

    IPicture* m_picture = nullptr;
    std::vector<FrameRecord> m_frames;
    size_t m_current = 0;
    MemImage m_image;
    MemImage m_saved;  // what lay under a frame with disposal 3
    SIZE m_size{};
    COLORREF m_background;
    bool m_ready = false;
    std::atomic<bool> m_playing{false};
    std::atomic<bool> m_exit{false};
    HANDLE m_exitEvent = nullptr;
    HANDLE m_thread = nullptr;
    // Drawing into the off-screen image (animation thread) and copying it out (UI thread)
    // never overlap.
    mutable CRITICAL_SECTION m_drawLock;
};
