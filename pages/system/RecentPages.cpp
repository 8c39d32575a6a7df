#include "RecentPages.h"

#include "resource.h"

CRecentDocu::CRecentDocu() : CPageView(IDD_RECENTDOC, look::ListLook(IDC_RECENTDOC_TITLE, IDC_RECENTDOC_TEXT), "Recent Documents") {}

void CRecentDocu::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RECENTDOC_TREE, m_tree);
}

CRecentNWFVw::CRecentNWFVw() : CPageView(IDD_RECENTNW, look::ListLook(IDC_RECENTNW_TITLE, IDC_RECENTNW_TEXT), "Recent Network Folder") {}

void CRecentNWFVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RECENTNW_LIST, m_list);
}
