#include "InternetVw.h"

#include "Cookies.h"
#include "HistroryVw.h"
#include "TempNetFileVw.h"
#include "TidemarkApp.h"
#include "TypedUrlVw.h"
#include "resource.h"

namespace {
using Category = CInternetVw::Category;

look::PageLook InternetLook() {
    using namespace look;
    return {kWhite,
            {Colour(kWhite, {IDC_INTERNET_HEADING_TEMPNET, IDC_INTERNET_HEADING_COOKIES, IDC_INTERNET_HEADING_HISTORY,
                             IDC_INTERNET_HEADING_TYPEDURL, IDC_INTERNET_DESC_TEMPNET, IDC_INTERNET_DESC_COOKIES,
                             IDC_INTERNET_DESC_HISTORY, IDC_INTERNET_DESC_TYPEDURL, IDC_INTERNET_DETAILS_TEMPNET,
                             IDC_INTERNET_DETAILS_COOKIES, IDC_INTERNET_DETAILS_HISTORY,
                             IDC_INTERNET_DETAILS_TYPEDURL}),
             Colour(kPageColour, {IDC_INTERNET_TITLE, IDC_INTERNET_TEXT, IDC_INTERNET_HEADING_TEMPNET,
                                  IDC_INTERNET_HEADING_COOKIES, IDC_INTERNET_HEADING_HISTORY,
                                  IDC_INTERNET_HEADING_TYPEDURL, IDC_INTERNET_BAND}),
             Font(kTitleFont, {IDC_INTERNET_TITLE}),
             Font(kSummaryTextFont, {IDC_INTERNET_TEXT, IDC_INTERNET_DESC_TEMPNET, IDC_INTERNET_DESC_COOKIES,
                                     IDC_INTERNET_DESC_HISTORY, IDC_INTERNET_DESC_TYPEDURL}),
             Font(kHeadingFont, {IDC_INTERNET_HEADING_TEMPNET, IDC_INTERNET_HEADING_COOKIES,
                                 IDC_INTERNET_HEADING_HISTORY, IDC_INTERNET_HEADING_TYPEDURL})}};
}

// One row of the page per category, in the order "Erase Selected" takes them.
struct Row {
    Category category;
    int checkId;
    int detailsId;
    PageId page;
};
const Row kRows[] = {
    {Category::TypedUrls, IDC_INTERNET_CHECK_TYPEDURL, IDC_INTERNET_DETAILS_TYPEDURL, PageId::TypedUrls},
    {Category::History, IDC_INTERNET_CHECK_HISTORY, IDC_INTERNET_DETAILS_HISTORY, PageId::History},
    {Category::Cookies, IDC_INTERNET_CHECK_COOKIES, IDC_INTERNET_DETAILS_COOKIES, PageId::Cookies},
    {Category::TempInternetFiles, IDC_INTERNET_CHECK_TEMPNET, IDC_INTERNET_DETAILS_TEMPNET, PageId::TempInternetFiles},
};

// The controls an erase disables: everything that could start another erase or open a page.
const int kBusySet[] = {IDC_INTERNET_ERASE_SELECTED, IDC_INTERNET_ERASE_TYPEDURL, IDC_INTERNET_ERASE_HISTORY,
                        IDC_INTERNET_ERASE_COOKIES,  IDC_INTERNET_ERASE_TEMPNET,  IDC_INTERNET_DETAILS_TYPEDURL,
                        IDC_INTERNET_DETAILS_HISTORY, IDC_INTERNET_DETAILS_COOKIES, IDC_INTERNET_DETAILS_TEMPNET,
                        IDC_INTERNET_SELECTALL,      IDC_INTERNET_CLEARALL};

// The category pages' erase routines run on views that never get a window, one of each for
// the whole process, shared by every Internet page.
CTypedUrlVw g_typedUrls;
CHistroryVw g_history;
CCookies g_cookies;
CTempNetFileVw g_tempInternetFiles;

void Erase(Category c) {
    switch (c) {
    case Category::TypedUrls: g_typedUrls.Erase(); break;
    case Category::History: g_history.EraseHistory(); break;
    case Category::Cookies: g_cookies.StartCookieErase(); break;
    case Category::TempInternetFiles: g_tempInternetFiles.StartCacheErase(); break;
    }
}
}  // namespace

const MsgMap CInternetVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_INTERNET_SELECTALL, &CInternetVw::OnSelectAll),
    msg::Command(IDC_INTERNET_CLEARALL, &CInternetVw::OnClearAll),
    msg::Command(IDC_INTERNET_CHECK_TEMPNET, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_CHECK_COOKIES, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_CHECK_HISTORY, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_CHECK_TYPEDURL, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_ERASE_TYPEDURL, &CInternetVw::OnEraseTypedUrl),
    msg::Command(IDC_INTERNET_ERASE_HISTORY, &CInternetVw::OnEraseHistory),
    msg::Command(IDC_INTERNET_ERASE_COOKIES, &CInternetVw::OnEraseCookies),
    msg::Command(IDC_INTERNET_ERASE_TEMPNET, &CInternetVw::OnEraseTempNet),
    msg::Command(IDC_INTERNET_ERASE_SELECTED, &CInternetVw::OnEraseSelected),
    msg::Registered(&WM_LINK_CLICKED, &CInternetVw::OnLinkClicked),
}};

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
    if (!pDX->m_bSaveAndValidate) {
        SetAllChecks(BST_CHECKED);
        OnCheckBox();
    }
}

void CInternetVw::SetAllChecks(int check) {
    for (const Row& r : kRows) ::SendDlgItemMessageA(m_hWnd, r.checkId, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

void CInternetVw::OnSelectAll() {
    SetAllChecks(BST_CHECKED);
    m_eraseSelected.EnableWindow(TRUE);
}

void CInternetVw::OnClearAll() {
    SetAllChecks(BST_UNCHECKED);
    m_eraseSelected.EnableWindow(FALSE);
}

void CInternetVw::OnCheckBox() {
    bool any = false;
    for (const Row& r : kRows)
        any = any || ::SendDlgItemMessageA(m_hWnd, r.checkId, BM_GETCHECK, 0, 0) == BST_CHECKED;
    m_eraseSelected.EnableWindow(any);
}

void CInternetVw::EnableBusySet(BOOL enable) {
    for (int id : kBusySet) ::EnableWindow(::GetDlgItem(m_hWnd, id), enable);
}

void CInternetVw::RunErases(const std::vector<Category>& categories) {
    EnableBusySet(FALSE);
    HWND self = m_hWnd;
    for (Category c : categories) Erase(c);
    // Message boxes have no owner: the page may have been closed while one was up.
    if (::IsWindow(self) && FromHandlePermanent(self) == this) EnableBusySet(TRUE);
}

void CInternetVw::OnEraseTypedUrl() { RunErases({Category::TypedUrls}); }
void CInternetVw::OnEraseHistory() { RunErases({Category::History}); }
void CInternetVw::OnEraseCookies() { RunErases({Category::Cookies}); }
void CInternetVw::OnEraseTempNet() { RunErases({Category::TempInternetFiles}); }

void CInternetVw::OnEraseSelected() {
    std::vector<Category> checked;
    for (const Row& r : kRows)
        if (::SendDlgItemMessageA(m_hWnd, r.checkId, BM_GETCHECK, 0, 0) == BST_CHECKED) checked.push_back(r.category);
    RunErases(checked);
}

LRESULT CInternetVw::OnLinkClicked(WPARAM wParam, LPARAM) {
    for (const Row& r : kRows)
        if (static_cast<WPARAM>(r.detailsId) == wParam) {
            if (CTidemarkApp* app = TheApp()) app->OpenPage(r.page);
            break;
        }
    return 0;
}
