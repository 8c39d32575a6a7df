#include "RecycleVw.h"

#include "resource.h"

CRecycleVw::CRecycleVw() : CPageView(IDD_RECYCLE, look::ListLook(IDC_RECYCLE_TITLE, IDC_RECYCLE_TEXT), "Recycle Bin") {}

void CRecycleVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RECYCLE_TREE, m_tree);
}
