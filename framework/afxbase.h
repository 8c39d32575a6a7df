// Base of the application framework: Windows headers, geometry, run-time classes, strings.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <string>
#include <vector>

// The framework's text: UTF-16, as the W functions take it.
using CString = std::wstring;

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int x_, int y_) : POINT{x_, y_} {}
    explicit CPoint(LPARAM lp) : POINT{(short)LOWORD(lp), (short)HIWORD(lp)} {}
};

struct CSize : SIZE {
    CSize() : SIZE{0, 0} {}
    CSize(int cx_, int cy_) : SIZE{cx_, cy_} {}
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CPoint TopLeft() const { return CPoint(left, top); }
    bool IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
    void DeflateRect(int dx, int dy) { left += dx; top += dy; right -= dx; bottom -= dy; }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    bool PtInRect(POINT p) const { return ::PtInRect(this, p) != FALSE; }
};

// Every framework object; only its destructor is virtual.
class CObject {
public:
    virtual ~CObject() = default;
};

// Dynamic creation: a class record names a class and makes new objects of it.
struct CRuntimeClass {
    const wchar_t* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

template <class T>
const CRuntimeClass* RuntimeClassFor(const wchar_t* name) {
    static const CRuntimeClass rc{name, []() -> CObject* { return new T; }};
    return &rc;
}
#define AFX_WIDEN2(x) L##x
#define AFX_WIDEN(x) AFX_WIDEN2(x)
#define RUNTIME_CLASS(T) RuntimeClassFor<T>(AFX_WIDEN(#T))

// Resources come from the module that holds them: the executable, also for the test programs.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE h);

// A string resource as text; empty when it does not exist.
CString AfxLoadString(UINT id);
// The n-th '\n'-separated part of a text (document strings, fly-by prompts).
CString AfxExtractSubString(const CString& full, int index, wchar_t sep = '\n');
