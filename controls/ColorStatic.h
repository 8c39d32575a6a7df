#pragma once
#include "afxwin.h"

// A static that paints itself in its own background and text colours.
class CColorStatic : public CStatic {
public:
    CColorStatic();
    void SetBkColor(COLORREF c);
    void SetTextColor(COLORREF c);
    COLORREF GetBkColor() const { return m_bkColor; }
    COLORREF GetTextColor() const { return m_textColor; }
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) override;

private:
    COLORREF m_bkColor;
    COLORREF m_textColor = RGB(0, 0, 0);
    CBrush m_brush;
};
