#include "InternetVw.h"

#include "CategoryKeys.h"
#include "LibraryStep.h"
#include "resource.h"

namespace {
void CacheLibraryStep() { RunLibraryStep("InterNet"); }
void CookiesLibraryStep() { RunLibraryStep("Cookies"); }

// Shown top to bottom; "Erase Selected" takes the typed addresses first and the cache last.
const SummaryFace& InternetFace() {
    static const SummaryFace face{
        IDD_INTERNET, L"Internet", IDC_INTERNET_TITLE, IDC_INTERNET_TEXT, IDC_INTERNET_BAND,
        IDC_INTERNET_SELECTALL, IDC_INTERNET_CLEARALL, IDC_INTERNET_ERASE_SELECTED,
        {{IDC_INTERNET_HEADING_TEMPNET, IDC_INTERNET_CHECK_TEMPNET, IDC_INTERNET_ERASE_TEMPNET,
          IDC_INTERNET_DESC_TEMPNET, IDC_INTERNET_DETAILS_TEMPNET, engine::keys::kCache, &CacheLibraryStep, 4},
         {IDC_INTERNET_HEADING_COOKIES, IDC_INTERNET_CHECK_COOKIES, IDC_INTERNET_ERASE_COOKIES,
          IDC_INTERNET_DESC_COOKIES, IDC_INTERNET_DETAILS_COOKIES, engine::keys::kCookies, &CookiesLibraryStep, 3},
         {IDC_INTERNET_HEADING_HISTORY, IDC_INTERNET_CHECK_HISTORY, IDC_INTERNET_ERASE_HISTORY,
          IDC_INTERNET_DESC_HISTORY, IDC_INTERNET_DETAILS_HISTORY, engine::keys::kHistory, nullptr, 2},
         {IDC_INTERNET_HEADING_TYPEDURL, IDC_INTERNET_CHECK_TYPEDURL, IDC_INTERNET_ERASE_TYPEDURL,
          IDC_INTERNET_DESC_TYPEDURL, IDC_INTERNET_DETAILS_TYPEDURL, engine::keys::kTypedUrls, nullptr, 1}}};
    return face;
}
}  // namespace

const MsgMap CInternetVw::messageMap{&CErasingSummaryView::messageMap, {
    msg::Command(IDC_INTERNET_CHECK_TEMPNET, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_CHECK_COOKIES, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_CHECK_HISTORY, &CInternetVw::OnCheckBox),
    msg::Command(IDC_INTERNET_CHECK_TYPEDURL, &CInternetVw::OnCheckBox),
}};

CInternetVw::CInternetVw() : CErasingSummaryView(InternetFace()) {}

void CInternetVw::DoDataExchange(CDataExchange* pDX) {
    CErasingSummaryView::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) {
        SetAllChecks(BST_CHECKED);
        OnCheckBox();
    }
}

void CInternetVw::OnSelectAll() {
    CErasingSummaryView::OnSelectAll();
    OnCheckBox();
}

void CInternetVw::OnClearAll() {
    CErasingSummaryView::OnClearAll();
    OnCheckBox();
}

void CInternetVw::OnCheckBox() {
    if (Erasing()) return;
    bool any = false;
    for (const SummaryRow& r : m_face.rows) any = any || IsChecked(r);
    ::EnableWindow(::GetDlgItem(m_hWnd, m_face.eraseAllId), any);
}

void CInternetVw::EnableButtons(bool enable) {
    CErasingSummaryView::EnableButtons(enable);
    if (enable) OnCheckBox();
}
