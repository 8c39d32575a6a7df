#include "BitmapDialog.h"

BOOL CBitmapDialog::OnInitDialog() {
    BOOL r = CDialog::OnInitDialog();
    m_bitmap.LoadBitmap(m_nIDBitmap);
    return r;
}

BOOL CBitmapDialog::OnEraseBkgnd(CDC* pDC) {
    CRect r;
    GetClientRect(&r);
    if (!m_bitmap.GetSafeHandle()) {
        pDC->FillSolidRect(r, ::GetSysColor(COLOR_BTNFACE));
        return TRUE;
    }
    BITMAP bm{};
    ::GetObjectW(m_bitmap, sizeof bm, &bm);
    HDC mem = ::CreateCompatibleDC(pDC->m_hDC);
    HGDIOBJ old = ::SelectObject(mem, m_bitmap);
    ::SetStretchBltMode(pDC->m_hDC, HALFTONE);
    ::StretchBlt(pDC->m_hDC, 0, 0, r.Width(), r.Height(), mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    return TRUE;
}
