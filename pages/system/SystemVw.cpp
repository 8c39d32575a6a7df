#include "SystemVw.h"

#include "resource.h"

CSystemVw::CSystemVw() : CPageView(IDD_SYSREG, look::ListLook(IDC_SYSREG_TITLE, IDC_SYSREG_TEXT), "System Registry Traces") {}

void CSystemVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SYSREG_TREE, m_tree);
}
