#include "TypedUrlVw.h"

#include "resource.h"

CTypedUrlVw::CTypedUrlVw() : CPageView(IDD_TYPEDURL, look::ListLook(IDC_TYPEDURL_TITLE, IDC_TYPEDURL_TEXT), "Typed URL") {}

void CTypedUrlVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TYPEDURL_LIST, m_list);
    DDX_LBString(pDX, IDC_TYPEDURL_LIST, m_selection);
}
