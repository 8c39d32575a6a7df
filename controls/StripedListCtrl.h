// A report list whose rows alternate between two background colours, in grey text; the space
// below the last row is banded the same way, so the stripes run down the whole list.
#pragma once
#include "afxwin.h"

class CStripedListCtrl : public CListCtrl {
public:
    static constexpr COLORREF kTextColour = RGB(96, 96, 96);

    COLORREF m_evenColour = RGB(208, 231, 247);  // rows 0, 2, 4, ...
    COLORREF m_oddColour = RGB(255, 255, 255);   // rows 1, 3, 5, ...

    COLORREF RowColour(int row) const { return row % 2 == 0 ? m_evenColour : m_oddColour; }
    BOOL OnEraseBkgnd(CDC* pDC) override;

    DECLARE_MESSAGE_MAP()

private:
    void OnCustomDraw(NMHDR* nm, LRESULT* result);
};
