#include "TempFilesPages.h"

#include <memory>

#include "resource.h"

std::wstring UserTempFolder() {
    wchar_t path[MAX_PATH + 1];
    DWORD n = ::GetTempPathW(ARRAYSIZE(path), path);
    // 0 is a failure; a length beyond the buffer leaves no path in it.
    if (n == 0 || n >= ARRAYSIZE(path)) return {};
    return filewalk::WithSlash(path);
}

std::wstring WindowsTempFolder() {
    wchar_t path[MAX_PATH];
    UINT n = ::GetWindowsDirectoryW(path, ARRAYSIZE(path));
    if (n == 0 || n >= ARRAYSIZE(path)) return {};
    return filewalk::WithSlash(path) + L"Temp\\";
}

const MsgMap CTempFilesPage::messageMap{&CPageView::messageMap, {
    msg::Message(filewalk::WM_WALK_NAMES, &CTempFilesPage::OnWalkNames),
}};

CTempFilesPage::CTempFilesPage(UINT dialogId, int listId, look::PageLook pageLook, const wchar_t* caption,
                               std::wstring (*folder)())
    : CPageView(dialogId, std::move(pageLook), caption), m_listId(listId), m_folder(folder) {}

filewalk::WalkJob CTempFilesPage::JobFor(std::wstring (*folder)(), HWND view) {
    // The list leaves out the same "ini" and "dat" names as the cache list.
    filewalk::WalkJob job{folder, view, filewalk::IsListedCacheName};
    job.folderRows = true;
    job.paced = false;
    return job;
}

EraseResult CTempFilesPage::Erase(std::wstring (*folder)()) { return filewalk::EraseWithoutWindow(JobFor(folder, nullptr)); }

void CTempFilesPage::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, m_listId, m_list);
    if (!pDX->m_bSaveAndValidate) filewalk::StartListing(m_walk, JobFor(m_folder, m_hWnd));
}

void CTempFilesPage::OnDestroy() {
    m_walk.Stop(filewalk::kStopWaitMs);
    filewalk::DropQueuedBatches(m_hWnd);
    CPageView::OnDestroy();
}

void CTempFilesPage::OnErase() {
    // No row of the listing may land in the list after it was emptied.
    m_walk.Stop(filewalk::kStopWaitMs);
    filewalk::DropQueuedBatches(m_hWnd);
    m_rows.Clear(m_list);
    filewalk::StartErasing(m_walk, JobFor(m_folder, m_hWnd));
}

LRESULT CTempFilesPage::OnWalkNames(WPARAM, LPARAM lParam) {
    std::unique_ptr<filewalk::NameBatch> batch(reinterpret_cast<filewalk::NameBatch*>(lParam));
    // Rows follow one another in the walk's order. (The described row counter, never reset, is
    // always at or past the end of the list, so each row lands last.)
    m_rows.Add(*batch, m_list);
    return 0;
}

void CTempFilesPage::OnRowText(NMHDR* nm, LRESULT*) { m_rows.Answer(nm); }

const MsgMap CAdminTempFVw::messageMap{&CTempFilesPage::messageMap, {
    msg::Command(IDC_ADMINTEMP_ERASE, &CAdminTempFVw::OnErase),
    msg::Notify(LVN_GETDISPINFOW, IDC_ADMINTEMP_LIST, &CAdminTempFVw::OnRowText),
}};

CAdminTempFVw::CAdminTempFVw()
    : CTempFilesPage(IDD_ADMINTEMP, IDC_ADMINTEMP_LIST, look::ListLook(IDC_ADMINTEMP_TITLE, IDC_ADMINTEMP_TEXT),
                     L"Administrator's Temporary Files", UserTempFolder) {}

EraseResult CAdminTempFVw::EraseWithoutWindow() { return Erase(UserTempFolder); }

const MsgMap CSysTempFile::messageMap{&CTempFilesPage::messageMap, {
    msg::Command(IDC_SYSTEMP_ERASE, &CSysTempFile::OnErase),
    msg::Notify(LVN_GETDISPINFOW, IDC_SYSTEMP_LIST, &CSysTempFile::OnRowText),
}};

CSysTempFile::CSysTempFile()
    : CTempFilesPage(IDD_SYSTEMP, IDC_SYSTEMP_LIST, look::ListLook(IDC_SYSTEMP_TITLE, IDC_SYSTEMP_TEXT),
                     L"System Temporary Files", WindowsTempFolder) {}

EraseResult CSysTempFile::EraseWithoutWindow() { return Erase(WindowsTempFolder); }
