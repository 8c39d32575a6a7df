#include "HistroryVw.h"

#include "Categories.h"
#include "ReportBox.h"
#include "Settings.h"
#include "Traces.h"
#include "resource.h"

namespace {
const wchar_t kErased[] = L" Internet Explorer History Completely Erased.";
const wchar_t kNotErased[] = L" Internet Explorer History could not be erased.";
}  // namespace

const MsgMap CHistroryVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_HISTORY_ERASE, &CHistroryVw::OnErase),
}};

CHistroryVw::CHistroryVw() : CPageView(IDD_HISTORY, look::ListLook(IDC_HISTORY_TITLE, IDC_HISTORY_TEXT), L"History") {}

void CHistroryVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HISTORY_LIST, m_list);
    if (pDX->m_bSaveAndValidate) return;  // the list is filled once, when the page opens
    AddColumns();
    Fill();
}

void CHistroryVw::AddColumns() {
    // The list shows item texts only; the report columns are there for a report-mode list.
    m_list.InsertColumn(0, L"Last Access Date", LVCFMT_LEFT, 125);
    m_list.InsertColumn(1, L"Last Access Time", LVCFMT_LEFT, 125);
    m_list.InsertColumn(2, L"URL Title", LVCFMT_LEFT, 175);
    m_list.InsertColumn(3, L"URL", LVCFMT_LEFT, 200);
}

void CHistroryVw::Fill() {
    // The list sorts itself; the index only says "at the end".
    int index = 1;
    std::vector<std::wstring> urls;
    engine::ReadHistory(urls);
    for (const std::wstring& url : urls) m_list.InsertItem(index++, url);
}

bool CHistroryVw::EraseHistory() {
    bool cleared = engine::RunErase(engine::CategoryOf(engine::keys::kHistory), settings::EraseOptions()).Complete();
    report::ShowText(cleared ? kErased : kNotErased);
    return cleared;
}

void CHistroryVw::OnErase() {
    if (m_erasing) return;  // ERASE pressed again while the message box is up
    m_erasing = true;
    HWND self = m_hWnd;
    bool cleared = EraseHistory();
    // The page may have been closed while the message box was up.
    if (!StillOwns(self)) return;
    m_erasing = false;
    // A history that is still there keeps its list: the page shows what the machine holds.
    if (cleared) m_list.DeleteAllItems();
}
