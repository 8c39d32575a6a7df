#include "TempFilesPages.h"

#include "CategoryKeys.h"
#include "ReportBox.h"
#include "Traces.h"
#include "resource.h"

const MsgMap CTempFilesPage::messageMap{&CPageView::messageMap, {
}};

CTempFilesPage::CTempFilesPage(UINT dialogId, int listId, look::PageLook pageLook, const wchar_t* caption,
                               const char* category, std::wstring (*folder)())
    : CPageView(dialogId, std::move(pageLook), caption), m_listId(listId), m_category(category), m_folder(folder) {}

// Rows follow one another in the walk's order: sub-folders, and the files the list shows (not the
// same "ini" and "dat" names as the cache list, counted under it instead).
CPageWalk::Rows CTempFilesPage::Rows() {
    return {engine::IsListedCacheName, true, [this](CPageWalk::Names& names) { m_rows.Add(names, m_list); }, IDC_HIDDEN_COUNT};
}

void CTempFilesPage::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, m_listId, m_list);
    if (pDX->m_bSaveAndValidate) return;
    m_walk.Attach(m_hWnd);
    m_walk.List(m_folder(), Rows(), false);
}

void CTempFilesPage::OnDestroy() {
    m_walk.Stop();
    CPageView::OnDestroy();
}

void CTempFilesPage::OnErase() {
    if (m_erasing) return;
    m_erasing = true;
    // No row of the listing may land in the list after it was emptied: starting the erase drops them.
    m_rows.Clear(m_list);
    const wchar_t* caption = m_caption;
    m_walk.Erase(m_category, Rows(), [this, caption](const engine::Result& r) {
        m_erasing = false;
        if (!r.Complete()) report::ShowOutcomes({{caption, r, 0}});
    });
}

void CTempFilesPage::OnRowText(NMHDR* nm, LRESULT*) { m_rows.Answer(nm); }

const MsgMap CAdminTempFVw::messageMap{&CTempFilesPage::messageMap, {
    msg::Command(IDC_ADMINTEMP_ERASE, &CAdminTempFVw::OnErase),
    msg::Notify(LVN_GETDISPINFOW, IDC_ADMINTEMP_LIST, &CAdminTempFVw::OnRowText),
}};

CAdminTempFVw::CAdminTempFVw()
    : CTempFilesPage(IDD_ADMINTEMP, IDC_ADMINTEMP_LIST, look::ListLook(IDC_ADMINTEMP_TITLE, IDC_ADMINTEMP_TEXT),
                     L"Administrator's Temporary Files", engine::keys::kUserTemp,
                     [] { return engine::UserTempFolder(); }) {}

const MsgMap CSysTempFile::messageMap{&CTempFilesPage::messageMap, {
    msg::Command(IDC_SYSTEMP_ERASE, &CSysTempFile::OnErase),
    msg::Notify(LVN_GETDISPINFOW, IDC_SYSTEMP_LIST, &CSysTempFile::OnRowText),
}};

CSysTempFile::CSysTempFile()
    : CTempFilesPage(IDD_SYSTEMP, IDC_SYSTEMP_LIST, look::ListLook(IDC_SYSTEMP_TITLE, IDC_SYSTEMP_TEXT),
                     L"System Temporary Files", engine::keys::kWindowsTemp,
                     engine::WindowsTempFolder) {}
