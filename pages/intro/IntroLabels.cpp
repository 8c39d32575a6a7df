#include "IntroLabels.h"
#include "afxdpi.h"

namespace {
// "Thoma" is the face as the page asks for it; the font mapper picks the closest installed one.
const look::FontSpec kTitleLabelFont{L"Thoma", 36, 12, 34};
const look::FontSpec kLeadLabelFont{L"Thoma", 22, 8, 24};
const look::FontSpec kBodyLabelFont{L"Thoma", 16, 7, 24};
}  // namespace

CIntroLabel::CIntroLabel(COLORREF background, const look::FontSpec& font) : m_background(background) {
    m_brush.CreateSolidBrush(background);
    m_font.CreateFontW(AfxScaled(font.height), AfxScaled(font.width), 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       font.face);
}

HBRUSH CIntroLabel::CtlColor(CDC* pDC, UINT) {
    pDC->SetBkColor(m_background);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetBkMode(OPAQUE);
    pDC->SelectObject(m_font);
    return m_brush;
}

CTitleLabel::CTitleLabel() : CIntroLabel(look::kPageColour, kTitleLabelFont) {}
CLeadLabel::CLeadLabel() : CIntroLabel(look::kPageColour, kLeadLabelFont) {}
CBodyLabel::CBodyLabel() : CIntroLabel(look::kWhite, kBodyLabelFont) {}

BOOL CBitmapStatic::Create(UINT bitmapId, const RECT& r, CWnd* parent, UINT id) {
    if (!CStatic::Create(nullptr, WS_CHILD | WS_VISIBLE | SS_BITMAP, r, parent, id)) return FALSE;
    m_bitmap.Attach(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0,
                                 LR_LOADMAP3DCOLORS));
    SetBitmap(m_bitmap);
    return m_bitmap.GetSafeHandle() != nullptr;
}
