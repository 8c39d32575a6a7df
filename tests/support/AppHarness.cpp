#include "AppHarness.h"

#include <cstdlib>

#include "Settings.h"

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

size_t DocumentCount() {
    size_t n = 0;
    for (CDocTemplate* t : StartApp()->GetDocTemplates()) n += t->GetDocuments().size();
    return n;
}

CView* ViewOf(CDocument* doc) { return doc && !doc->GetViews().empty() ? doc->GetViews().front() : nullptr; }

CFrameWnd* FrameOf(CDocument* doc) {
    CView* v = ViewOf(doc);
    return v ? v->GetParentFrame() : nullptr;
}

void Press(CWnd* parent, int id) {
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(parent->m_hWnd, id)));
    Pump();
}

std::wstring FontText(HFONT font) {
    LOGFONTW f{};
    ::GetObjectW(font, sizeof f, &f);
    return std::wstring(f.lfFaceName) + L" " + std::to_wstring(f.lfHeight) + L"/" + std::to_wstring(f.lfWidth) + L"/" +
           std::to_wstring(f.lfWeight);
}

CtlColours AskColours(CWnd* parent, HWND control) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ initialFont = ::GetCurrentObject(dc, OBJ_FONT);
    LRESULT brush = parent->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    LOGBRUSH lb{};
    ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
    HGDIOBJ font = ::GetCurrentObject(dc, OBJ_FONT);
    CtlColours c{lb.lbColor, ::GetBkColor(dc), ::GetTextColor(dc), font != initialFont ? FontText(static_cast<HFONT>(font)) : L""};
    ::DeleteDC(dc);
    return c;
}

COLORREF ErasedPixel(CWnd* wnd, int x, int y) {
    CRect r;
    wnd->GetClientRect(&r);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, r.Width() + 1, r.Height() + 1);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::PatBlt(mem, 0, 0, r.Width() + 1, r.Height() + 1, BLACKNESS);
    wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem));
    COLORREF c = ::GetPixel(mem, x, y);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return c;
}
}  // namespace testkit
