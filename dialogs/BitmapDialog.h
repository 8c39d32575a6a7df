#pragma once
#include "afxwin.h"

// A dialog whose background is a bitmap, stretched over the whole client area.
class CBitmapDialog : public CDialog {
public:
    CBitmapDialog(UINT nIDTemplate, UINT nIDBitmap, CWnd* pParent = nullptr)
        : CDialog(nIDTemplate, pParent), m_nIDBitmap(nIDBitmap) {}
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* pDC) override;

protected:
    UINT m_nIDBitmap;
    CBitmap m_bitmap;
};
