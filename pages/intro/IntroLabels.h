// The statics of the introduction page: texts that colour themselves (a solid background of
// their colour, black text, their own font) and pictures loaded from bitmap resources.
#pragma once
#include "afxwin.h"
#include "PageLook.h"

// A text static answering the reflected WM_CTLCOLOR with its background, black text and font.
class CIntroLabel : public CStatic {
public:
    CIntroLabel(COLORREF background, const look::FontSpec& font);
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) override;
    COLORREF GetBkColor() const { return m_background; }

private:
    COLORREF m_background;
    CBrush m_brush;
    CFont m_font;
};

// The product's name at the top.
class CTitleLabel : public CIntroLabel {
public:
    CTitleLabel();
};

// The lead paragraphs, on the page colour.
class CLeadLabel : public CIntroLabel {
public:
    CLeadLabel();
};

// The paragraphs on white.
class CBodyLabel : public CIntroLabel {
public:
    CBodyLabel();
};

// A static showing a bitmap resource, its greys mapped to the system's 3-D colours.
class CBitmapStatic : public CStatic {
public:
    BOOL Create(UINT bitmapId, const RECT& r, CWnd* parent, UINT id);

private:
    CBitmap m_bitmap;  // the control shows it but does not own it
};
