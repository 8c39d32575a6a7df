#include "TempFilesPages.h"

#include "resource.h"

CAdminTempFVw::CAdminTempFVw() : CPageView(IDD_ADMINTEMP, look::ListLook(IDC_ADMINTEMP_TITLE, IDC_ADMINTEMP_TEXT), "Administrator's Temporary Files") {}

void CAdminTempFVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ADMINTEMP_LIST, m_list);
}

CSysTempFile::CSysTempFile() : CPageView(IDD_SYSTEMP, look::ListLook(IDC_SYSTEMP_TITLE, IDC_SYSTEMP_TEXT), "System Temporary Files") {}

void CSysTempFile::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SYSTEMP_LIST, m_list);
}
