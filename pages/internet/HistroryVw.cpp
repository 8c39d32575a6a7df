#include "HistroryVw.h"

#include "resource.h"

CHistroryVw::CHistroryVw() : CPageView(IDD_HISTORY, look::ListLook(IDC_HISTORY_TITLE, IDC_HISTORY_TEXT), "History") {}

void CHistroryVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HISTORY_LIST, m_list);
}
