#include "Cookies.h"

#include "resource.h"

CCookies::CCookies() : CPageView(IDD_COOKIES, look::ListLook(IDC_COOKIES_TITLE, IDC_COOKIES_TEXT), "Cookies") {}

void CCookies::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COOKIES_TREE, m_tree);
}
