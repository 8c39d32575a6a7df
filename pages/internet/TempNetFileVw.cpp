#include "TempNetFileVw.h"

#include "resource.h"

CTempNetFileVw::CTempNetFileVw()
    : CPageView(IDD_TEMPNET, look::ListLook(IDC_TEMPNET_TITLE, IDC_TEMPNET_TEXT), "Temporary Internet Files") {}

void CTempNetFileVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TEMPNET_LIST, m_list);
}
