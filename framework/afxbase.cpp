#include "afxbase.h"

static HINSTANCE g_resourceHandle = nullptr;

HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleW(nullptr); }

HINSTANCE AfxGetResourceHandle() {
    return g_resourceHandle ? g_resourceHandle : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE h) { g_resourceHandle = h; }

CString AfxLoadString(UINT id) {
    // LoadStringW with a zero length gives a pointer to the resource itself (UTF-16, unterminated).
    const WCHAR* p = nullptr;
    int n = LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p) return CString();
    return CString(p, static_cast<size_t>(n));
}

CString AfxExtractSubString(const CString& full, int index, wchar_t sep) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t next = full.find(sep, start);
        if (next == CString::npos) return CString();
        start = next + 1;
    }
    size_t end = full.find(sep, start);
    return full.substr(start, end == CString::npos ? CString::npos : end - start);
}

#include "afxdpi.h"

int AfxScaled(int px) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return ::MulDiv(px, dpi > 0 ? dpi : 96, 96);
}
