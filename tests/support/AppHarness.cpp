#include "AppHarness.h"

#include <cstdlib>

#include "Settings.h"
#include "TestKit.h"

namespace testkit {
namespace {
CTidemarkApp* g_app = nullptr;

void StopApp() {
    if (!g_app) return;
    if (g_app->m_pMainWnd && g_app->m_pMainWnd->IsWindow()) {
        g_app->CloseAllDocuments(FALSE);
        g_app->m_pMainWnd->DestroyWindow();
    }
    Pump();
    g_app->ExitInstance();
}
}  // namespace

CTidemarkApp* StartApp() {
    if (g_app) return g_app;
    g_app = new CTidemarkApp;
    g_app->m_hInstance = ::GetModuleHandleW(nullptr);
    g_app->m_nCmdShow = SW_SHOWNORMAL;
    if (!g_app->InitInstance()) return nullptr;
    // The page tests write their temporary files a moment before they erase them.
    settings::SetKeepRecentTemp(false);
    Pump();
    std::atexit(StopApp);
    return g_app;
}

void CloseAllPages() {
    if (g_app) g_app->CloseAllDocuments(FALSE);
    Pump();
}

CView* ViewOf(CDocument* doc) { return doc && !doc->GetViews().empty() ? doc->GetViews().front() : nullptr; }

CFrameWnd* FrameOf(CDocument* doc) {
    CView* v = ViewOf(doc);
    return v ? v->GetParentFrame() : nullptr;
}

COLORREF ErasedPixel(CWnd* wnd, int x, int y) {
    CRect r;
    wnd->GetClientRect(&r);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, r.Width() + 1, r.Height() + 1);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    RECT all{0, 0, r.Width() + 1, r.Height() + 1};
    ::FillRect(mem, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem));
    COLORREF c = ::GetPixel(mem, x, y);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return c;
}
}  // namespace testkit
