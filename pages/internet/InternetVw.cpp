#include "InternetVw.h"

#include "Cookies.h"
#include "HistroryVw.h"
#include "TempNetFileVw.h"
#include "TidemarkApp.h"
#include "TypedUrlVw.h"
#include "resource.h"

namespace {
using Category = CInternetVw::Category;

const SummaryFace& InternetFace() {
    static const SummaryFace face{
        IDD_INTERNET, L"Internet", IDC_INTERNET_TITLE, IDC_INTERNET_TEXT, IDC_INTERNET_BAND,
        IDC_INTERNET_SELECTALL, IDC_INTERNET_CLEARALL, IDC_INTERNET_ERASE_SELECTED,
        {{IDC_INTERNET_HEADING_TEMPNET, IDC_INTERNET_CHECK_TEMPNET, IDC_INTERNET_ERASE_TEMPNET,
          IDC_INTERNET_DESC_TEMPNET, IDC_INTERNET_DETAILS_TEMPNET, PageId::TempInternetFiles, nullptr},
         {IDC_INTERNET_HEADING_COOKIES, IDC_INTERNET_CHECK_COOKIES, IDC_INTERNET_ERASE_COOKIES,
          IDC_INTERNET_DESC_COOKIES, IDC_INTERNET_DETAILS_COOKIES, PageId::Cookies, nullptr},
         {IDC_INTERNET_HEADING_HISTORY, IDC_INTERNET_CHECK_HISTORY, IDC_INTERNET_ERASE_HISTORY,
          IDC_INTERNET_DESC_HISTORY, IDC_INTERNET_DETAILS_HISTORY, PageId::History, nullptr},
         {IDC_INTERNET_HEADING_TYPEDURL, IDC_INTERNET_CHECK_TYPEDURL, IDC_INTERNET_ERASE_TYPEDURL,
          IDC_INTERNET_DESC_TYPEDURL, IDC_INTERNET_DETAILS_TYPEDURL, PageId::TypedUrls, nullptr}}};
    return face;
}

// The order "Erase Selected" takes the categories in, with the check box that selects each.
struct EraseStep {
    Category category;
    int checkId;
};
const EraseStep kEraseOrder[] = {
    {Category::TypedUrls, IDC_INTERNET_CHECK_TYPEDURL},
    {Category::History, IDC_INTERNET_CHECK_HISTORY},
    {Category::Cookies, IDC_INTERNET_CHECK_COOKIES},
    {Category::TempInternetFiles, IDC_INTERNET_CHECK_TEMPNET},
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

const MsgMap CInternetVw::messageMap{&CSummaryView::messageMap, {
    msg::Command(IDC_INTERNET_CHECK_TEMPNET, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_CHECK_COOKIES, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_CHECK_HISTORY, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_CHECK_TYPEDURL, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_ERASE_TYPEDURL, &CInternetVw::OnEraseTypedUrl),
    msg::Command(IDC_INTERNET_ERASE_HISTORY, &CInternetVw::OnEraseHistory),
    msg::Command(IDC_INTERNET_ERASE_COOKIES, &CInternetVw::OnEraseCookies),
    msg::Command(IDC_INTERNET_ERASE_TEMPNET, &CInternetVw::OnEraseTempNet),
    msg::Command(IDC_INTERNET_ERASE_SELECTED, &CInternetVw::OnEraseSelected),
}};

CInternetVw::CInternetVw() : CSummaryView(InternetFace()) {}

void CInternetVw::DoDataExchange(CDataExchange* pDX) {
    CSummaryView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_INTERNET_CLEARALL, m_clearAll);
    DDX_Control(pDX, IDC_INTERNET_SELECTALL, m_selectAll);
    DDX_Control(pDX, IDC_INTERNET_ERASE_TYPEDURL, m_eraseTypedUrl);
    DDX_Control(pDX, IDC_INTERNET_ERASE_HISTORY, m_eraseHistory);
    DDX_Control(pDX, IDC_INTERNET_ERASE_COOKIES, m_eraseCookies);
    DDX_Control(pDX, IDC_INTERNET_ERASE_TEMPNET, m_eraseTempNet);
    DDX_Control(pDX, IDC_INTERNET_ERASE_SELECTED, m_eraseSelected);
    if (!pDX->m_bSaveAndValidate) {
        SetAllChecks(BST_CHECKED);
        OnCheckBox();
    }
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
    for (const SummaryRow& r : m_face.rows) any = any || IsChecked(r);
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
    for (const EraseStep& s : kEraseOrder)
        if (::SendDlgItemMessageW(m_hWnd, s.checkId, BM_GETCHECK, 0, 0) == BST_CHECKED) checked.push_back(s.category);
    RunErases(checked);
}
