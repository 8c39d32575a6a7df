#include "ColorStatic.h"

CColorStatic::CColorStatic() : m_bkColor(::GetSysColor(COLOR_BTNFACE)) { m_brush.CreateSolidBrush(m_bkColor); }

void CColorStatic::SetBkColor(COLORREF c) {
    m_bkColor = c;
    m_brush.CreateSolidBrush(c);
    if (IsWindow()) RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CColorStatic::SetTextColor(COLORREF c) {
    m_textColor = c;
    if (IsWindow()) RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HBRUSH CColorStatic::CtlColor(CDC* pDC, UINT) {
    pDC->SetBkColor(m_bkColor);
    pDC->SetTextColor(m_textColor);
    return m_brush;
}
