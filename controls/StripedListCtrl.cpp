#include "StripedListCtrl.h"

const MsgMap CStripedListCtrl::messageMap{&CListCtrl::messageMap, {
    msg::NotifyReflect(NM_CUSTOMDRAW, &CStripedListCtrl::OnCustomDraw),
}};

void CStripedListCtrl::OnCustomDraw(NMHDR* nm, LRESULT* result) {
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(nm);
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
        cd->clrText = kTextColour;
        *result = CDRF_NOTIFYSUBITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        cd->clrTextBk = RowColour(static_cast<int>(cd->nmcd.dwItemSpec));
        *result = CDRF_DODEFAULT;
        break;
    default:
        *result = CDRF_DODEFAULT;
        break;
    }
}

BOOL CStripedListCtrl::OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(client, m_oddColour);
    // The bands follow the rows on screen: their top and height come from the first row shown,
    // and each band takes the colour of the row it stands for, also when the list is scrolled.
    int top = GetTopIndex();
    CRect row;
    if (GetItemCount() == 0 || !GetItemRect(top, &row, LVIR_BOUNDS)) return TRUE;
    int height = row.Height();
    if (height <= 0) return TRUE;
    int perPage = GetCountPerPage();
    for (int r = 0; r <= perPage; ++r) {
        CRect band(client.left, row.top + r * height, client.right, row.top + (r + 1) * height);
        pDC->FillSolidRect(band, RowColour(top + r));
    }
    return TRUE;
}
