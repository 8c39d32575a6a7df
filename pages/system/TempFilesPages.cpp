#include "TempFilesPages.h"

#include <memory>

#include "resource.h"

std::string UserTempFolder() {
    char path[MAX_PATH + 1];
    DWORD n = ::GetTempPathA(sizeof path, path);
    // 0 is a failure; a length beyond the buffer leaves no path in it.
    if (n == 0 || n >= sizeof path) return {};
    return filewalk::WithSlash(path);
}

std::string WindowsTempFolder() {
    char path[MAX_PATH];
    UINT n = ::GetWindowsDirectoryA(path, sizeof path);
    if (n == 0 || n >= sizeof path) return {};
    return filewalk::WithSlash(path) + "Temp\\";
}

const MsgMap CTempFilesPage::messageMap{&CPageView::messageMap, {
    msg::Message(filewalk::WM_WALK_NAMES, &CTempFilesPage::OnWalkNames),
}};

CTempFilesPage::CTempFilesPage(UINT dialogId, int listId, look::PageLook pageLook, const char* caption,
                               std::string (*folder)())
    : CPageView(dialogId, std::move(pageLook), caption), m_listId(listId), m_folder(folder) {}

filewalk::WalkJob CTempFilesPage::JobFor(std::string (*folder)(), HWND view) {
    // The list leaves out the same "ini" and "dat" names as the cache list.
    filewalk::WalkJob job{folder, view, filewalk::IsListedCacheName};
    job.folderRows = true;
    job.paced = false;
    return job;
}

EraseResult CTempFilesPage::Erase(std::string (*folder)()) { return filewalk::EraseWithoutWindow(JobFor(folder, nullptr)); }

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
    m_list.DeleteAllItems();
    filewalk::StartErasing(m_walk, JobFor(m_folder, m_hWnd));
}

LRESULT CTempFilesPage::OnWalkNames(WPARAM, LPARAM lParam) {
    std::unique_ptr<filewalk::NameBatch> batch(reinterpret_cast<filewalk::NameBatch*>(lParam));
    // Rows follow one another in the walk's order. (The described row counter, never reset, is
    // always at or past the end of the list, so each row lands last.)
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    for (const std::string& name : *batch) m_list.InsertItem(m_list.GetItemCount(), name);
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
    return 0;
}

const MsgMap CAdminTempFVw::messageMap{&CTempFilesPage::messageMap, {
    msg::Command(IDC_ADMINTEMP_ERASE, &CAdminTempFVw::OnErase),
}};

CAdminTempFVw::CAdminTempFVw()
    : CTempFilesPage(IDD_ADMINTEMP, IDC_ADMINTEMP_LIST, look::ListLook(IDC_ADMINTEMP_TITLE, IDC_ADMINTEMP_TEXT),
                     "Administrator's Temporary Files", UserTempFolder) {}

EraseResult CAdminTempFVw::EraseWithoutWindow() { return Erase(UserTempFolder); }

const MsgMap CSysTempFile::messageMap{&CTempFilesPage::messageMap, {
    msg::Command(IDC_SYSTEMP_ERASE, &CSysTempFile::OnErase),
}};

CSysTempFile::CSysTempFile()
    : CTempFilesPage(IDD_SYSTEMP, IDC_SYSTEMP_LIST, look::ListLook(IDC_SYSTEMP_TITLE, IDC_SYSTEMP_TEXT),
                     "System Temporary Files", WindowsTempFolder) {}

EraseResult CSysTempFile::EraseWithoutWindow() { return Erase(WindowsTempFolder); }
