#include "InternetVw.h"

#include "resource.h"

namespace {
look::PageLook InternetLook() {
    using namespace look;
    return {kWhite,
            {Colour(kWhite, {1079, 1011, 1085, 1089, 1082, 1084, 1088, 1092, 1217, 1218, 1219, 1220}),
             Colour(kPageColour, {1077, 1078, 1079, 1011, 1085, 1089, 1223}),
             Font(kTitleFont, {1077}),
             Font(kSummaryTextFont, {1078, 1082, 1084, 1088, 1092}),
             Font(kHeadingFont, {1079, 1011, 1085, 1089})}};
}
}  // namespace

CInternetVw::CInternetVw() : CPageView(IDD_INTERNET, InternetLook(), "Internet") {}

void CInternetVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_INTERNET_CLEARALL, m_clearAll);
    DDX_Control(pDX, IDC_INTERNET_SELECTALL, m_selectAll);
    DDX_Control(pDX, IDC_INTERNET_ERASE_TYPEDURL, m_eraseTypedUrl);
    DDX_Control(pDX, IDC_INTERNET_ERASE_HISTORY, m_eraseHistory);
    DDX_Control(pDX, IDC_INTERNET_ERASE_COOKIES, m_eraseCookies);
    DDX_Control(pDX, IDC_INTERNET_ERASE_TEMPNET, m_eraseTempNet);
    DDX_Control(pDX, IDC_INTERNET_CHECK_HISTORY, m_checkHistory);
    DDX_Control(pDX, IDC_INTERNET_CHECK_TYPEDURL, m_checkTypedUrl);
    DDX_Control(pDX, IDC_INTERNET_ERASE_SELECTED, m_eraseSelected);
    DDX_Control(pDX, IDC_INTERNET_DETAILS_TYPEDURL, m_detailsTypedUrl);
    DDX_Control(pDX, IDC_INTERNET_DETAILS_HISTORY, m_detailsHistory);
    DDX_Control(pDX, IDC_INTERNET_DETAILS_COOKIES, m_detailsCookies);
    DDX_Control(pDX, IDC_INTERNET_DETAILS_TEMPNET, m_detailsTempNet);
    DDX_Control(pDX, IDC_INTERNET_CHECK_COOKIES, m_checkCookies);
    DDX_Control(pDX, IDC_INTERNET_CHECK_TEMPNET, m_checkTempNet);
}
