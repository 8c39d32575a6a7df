#include "AnimatedPicture.h"

#include <process.h>

#include <algorithm>
#include <cstring>

#include "GifBlocks.h"

namespace {

// Loads a picture from global memory; the stream frees the block when it owns it.
IPicture* PictureFrom(HGLOBAL hGlobal, DWORD size, bool streamOwnsMemory) {
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(hGlobal, streamOwnsMemory, &stream))) {
        if (streamOwnsMemory) ::GlobalFree(hGlobal);
        return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture))))
        picture = nullptr;
    stream->Release();
    return picture;
}

IPicture* PictureFromBytes(const std::vector<uint8_t>& bytes) {
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!h) return nullptr;
    void* p = ::GlobalLock(h);
    if (!p) {
        ::GlobalFree(h);
        return nullptr;
    }
    std::memcpy(p, bytes.data(), bytes.size());
    ::GlobalUnlock(h);
    return PictureFrom(h, static_cast<DWORD>(bytes.size()), true);
}

// The picture's size in screen pixels.
SIZE PixelSize(IPicture* picture) {
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    HDC screen = ::GetDC(nullptr);
    SIZE s{::MulDiv(w, ::GetDeviceCaps(screen, LOGPIXELSX), 2540), ::MulDiv(h, ::GetDeviceCaps(screen, LOGPIXELSY), 2540)};
    ::ReleaseDC(nullptr, screen);
    return s;
}

class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : m_cs(cs) { ::EnterCriticalSection(&m_cs); }
    ~Lock() { ::LeaveCriticalSection(&m_cs); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};

}  // namespace

bool CAnimatedPicture::MemImage::Create(HDC like, int cx, int cy) {
    dc = ::CreateCompatibleDC(like);
    bitmap = dc ? ::CreateCompatibleBitmap(like, cx, cy) : nullptr;
    if (!bitmap) {
        Destroy();
        return false;
    }
    old = ::SelectObject(dc, bitmap);
    return true;
}

void CAnimatedPicture::MemImage::Destroy() {
    if (dc && old) ::SelectObject(dc, old);
    if (bitmap) ::DeleteObject(bitmap);
    if (dc) ::DeleteDC(dc);
    *this = MemImage{};
}

CAnimatedPicture::CAnimatedPicture() : m_background(::GetSysColor(COLOR_BTNFACE)) {
    ::InitializeCriticalSection(&m_drawLock);
    m_exitEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CAnimatedPicture::~CAnimatedPicture() {
    Unload();
    if (m_exitEvent) ::CloseHandle(m_exitEvent);
    ::DeleteCriticalSection(&m_drawLock);
}

BOOL CAnimatedPicture::Load(LPCWSTR name, LPCWSTR type) {
    Unload();
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC res = ::FindResourceW(module, name, type);
    HGLOBAL loaded = res ? ::LoadResource(module, res) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    DWORD size = res ? ::SizeofResource(module, res) : 0;
    if (!bytes || size == 0) return FALSE;
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
    void* p = copy ? ::GlobalLock(copy) : nullptr;
    if (!p) {
        if (copy) ::GlobalFree(copy);
        return FALSE;
    }
    std::memcpy(p, bytes, size);
    ::GlobalUnlock(copy);
    BOOL ok = Load(copy, size);
    ::GlobalFree(copy);
    return ok;
}

BOOL CAnimatedPicture::Load(HGLOBAL hGlobal, DWORD size) {
    Unload();
    const auto* data = hGlobal ? static_cast<const uint8_t*>(::GlobalLock(hGlobal)) : nullptr;
    if (!data) return FALSE;
    size = static_cast<DWORD>(std::min<SIZE_T>(size, ::GlobalSize(hGlobal)));  // never read past the block
    bool isGif = size >= 3 && std::memcmp(data, "GIF", 3) == 0;
    BOOL ok = isGif ? LoadFrames(data, size) : FALSE;
    ::GlobalUnlock(hGlobal);
    if (!isGif) ok = LoadStill(hGlobal, size);
    if (!ok) Unload();  // a failed load leaves the control empty
    return ok;
}

// Any format the system's picture loader reads, shown at its own size.
BOOL CAnimatedPicture::LoadStill(HGLOBAL hGlobal, DWORD size) {
    m_picture = PictureFrom(hGlobal, size, false);
    if (!m_picture) return FALSE;
    SIZE s = PixelSize(m_picture);
    return PrepareImage(s.cx, s.cy);
}

BOOL CAnimatedPicture::LoadFrames(const uint8_t* data, size_t size) {
    gif::Screen screen;
    if (!gif::ReadScreen(data, size, screen)) return FALSE;
    std::vector<gif::Frame> frames = gif::Frames(data, size, screen);
    if (frames.empty()) return FALSE;
    if (frames.size() == 1) {
        m_picture = PictureFromBytes(std::vector<uint8_t>(data, data + size));
        return m_picture && PrepareImage(screen.width, screen.height);
    }
    for (const gif::Frame& f : frames) {
        IPicture* picture = PictureFromBytes(gif::FrameFile(data, screen, f));
        if (!picture) continue;  // a frame the loader cannot decode is left out
        m_frames.push_back({picture, {f.left, f.top, f.left + f.width, f.top + f.height}, f.delay, f.disposal});
    }
    return !m_frames.empty() && PrepareImage(screen.width, screen.height);
}

BOOL CAnimatedPicture::PrepareImage(int cx, int cy) {
    if (cx <= 0 || cy <= 0) return FALSE;
    if (m_hWnd) SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HDC screen = ::GetDC(m_hWnd);
    bool made = m_image.Create(screen, cx, cy);
    ::ReleaseDC(m_hWnd, screen);
    if (!made) return FALSE;
    m_size = {cx, cy};
    m_background = ::GetSysColor(COLOR_BTNFACE);
    FillBackground({0, 0, cx, cy});
    m_ready = true;
    return TRUE;
}

BOOL CAnimatedPicture::Draw() {
    if (!m_ready) return FALSE;
    if (m_frames.size() > 1) {
        if (m_thread) return TRUE;  // already playing
        m_exit = false;
        ::ResetEvent(m_exitEvent);
        m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadMain, this, CREATE_SUSPENDED, nullptr));
        if (!m_thread) return FALSE;
        m_playing = true;
        ::ResumeThread(m_thread);
        return TRUE;
    }
    if (m_frames.size() == 1) return RenderInto(m_frames[0].picture, m_frames[0].rect);  // one frame decoded
    if (!m_picture) return FALSE;
    SIZE s = PixelSize(m_picture);
    return RenderInto(m_picture, {0, 0, s.cx, s.cy});
}

void CAnimatedPicture::Stop() {
    m_playing = false;
    m_exit = true;
    if (m_exitEvent) ::SetEvent(m_exitEvent);
    if (m_thread) {
        ::WaitForSingleObject(m_thread, 5000);
        ::CloseHandle(m_thread);
        m_thread = nullptr;
    }
    if (m_exitEvent) ::ResetEvent(m_exitEvent);
    m_exit = false;
}

void CAnimatedPicture::Unload() {
    Stop();
    if (m_picture) m_picture->Release();
    m_picture = nullptr;
    for (FrameRecord& f : m_frames) f.picture->Release();
    m_frames.clear();
    m_current = 0;
    Lock lock(m_drawLock);
    m_image.Destroy();
    m_saved.Destroy();
    m_size = {};
    m_ready = false;
    m_background = ::GetSysColor(COLOR_BTNFACE);
}

bool CAnimatedPicture::IsPlaying() const { return m_playing; }

int CAnimatedPicture::FrameCount() const {
    if (!m_frames.empty()) return static_cast<int>(m_frames.size());
    return m_picture ? 1 : 0;
}

COLORREF CAnimatedPicture::ImagePixel(int x, int y) const {
    Lock lock(m_drawLock);
    return m_image.dc ? ::GetPixel(m_image.dc, x, y) : CLR_INVALID;
}

void CAnimatedPicture::OnPaint() {
    if (!m_ready) {
        Default();
        return;
    }
    CPaintDC dc(this);
    Lock lock(m_drawLock);
    ::BitBlt(dc.m_hDC, 0, 0, m_size.cx, m_size.cy, m_image.dc, 0, 0, SRCCOPY);
}

BOOL CAnimatedPicture::OnEraseBkgnd(CDC* pDC) {
    // The image covers the whole control; erasing first would only flicker.
    return m_ready ? TRUE : CStatic::OnEraseBkgnd(pDC);
}

void CAnimatedPicture::OnDestroy() {
    Stop();
    CStatic::OnDestroy();
}

// ---- the animation thread ----

unsigned __stdcall CAnimatedPicture::ThreadMain(void* self) {
    auto* control = static_cast<CAnimatedPicture*>(self);
    control->m_playing = true;
    control->Animate();
    control->m_playing = false;
    return 0;
}

void CAnimatedPicture::Animate() {
    // A restart first undoes what the frame it stopped on left behind.
    Dispose(m_frames[m_current]);
    while (!m_exit) {
        const FrameRecord& f = m_frames[m_current];
        if (f.disposal == 3) SaveUnder(f.rect);
        RenderInto(f.picture, f.rect);
        if (!WaitFrame(f)) return;
        Dispose(f);
        if (++m_current == m_frames.size()) {
            m_current = 0;
            FillBackground({0, 0, m_size.cx, m_size.cy});
        }
    }
}

// Shows the frame for its delay; false when asked to end meanwhile.
bool CAnimatedPicture::WaitFrame(const FrameRecord& f) {
    if (m_exit) return false;
    ::WaitForSingleObject(m_exitEvent, gif::FrameDelayMs(f.delay));
    return !m_exit;
}

// Scales the picture's whole extent into r of the off-screen image (Render takes the source
// upside down, in HIMETRIC).
bool CAnimatedPicture::RenderInto(IPicture* picture, const RECT& r) {
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    HRESULT hr;
    {
        Lock lock(m_drawLock);
        hr = picture->Render(m_image.dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, h, w, -h, nullptr);
    }
    if (FAILED(hr)) return false;
    InvalidateImage();
    return true;
}

// Keeps what lies under a frame that is to be restored after it.
void CAnimatedPicture::SaveUnder(const RECT& r) {
    Lock lock(m_drawLock);
    m_saved.Destroy();
    int cx = r.right - r.left, cy = r.bottom - r.top;
    if (m_saved.Create(m_image.dc, cx, cy)) ::BitBlt(m_saved.dc, 0, 0, cx, cy, m_image.dc, r.left, r.top, SRCCOPY);
}

void CAnimatedPicture::Dispose(const FrameRecord& f) {
    if (f.disposal == 2) {
        FillBackground(f.rect);
    } else if (f.disposal == 3) {
        Lock lock(m_drawLock);
        if (!m_saved.dc) return;
        ::BitBlt(m_image.dc, f.rect.left, f.rect.top, f.rect.right - f.rect.left, f.rect.bottom - f.rect.top,
                 m_saved.dc, 0, 0, SRCCOPY);
        m_saved.Destroy();
    }
}

void CAnimatedPicture::FillBackground(const RECT& r) {
    HBRUSH brush = ::CreateSolidBrush(m_background);
    {
        Lock lock(m_drawLock);
        ::FillRect(m_image.dc, &r, brush);
    }
    ::DeleteObject(brush);
}

void CAnimatedPicture::InvalidateImage() {
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}
