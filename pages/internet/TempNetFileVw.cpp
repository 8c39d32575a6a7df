#include "TempNetFileVw.h"

#include <cstring>
#include <memory>

#include "EraseProgressDlg.h"
#include "RegistryRead.h"
#include "resource.h"

namespace {
// One progress dialog for every erase of this page, for the life of the process.
CEraseProgressDlg& ProgressDialog() {
    static auto* dialog = new CEraseProgressDlg;
    return *dialog;
}

std::wstring CacheFolder() {
    std::wstring path;
    QueryRegString(HKEY_CURRENT_USER, kShellFoldersKey, L"Cache", path);
    return filewalk::WithSlash(path);
}
}  // namespace

const MsgMap CTempNetFileVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_TEMPNET_ERASE, &CTempNetFileVw::OnErase),
    msg::Message(filewalk::WM_WALK_NAMES, &CTempNetFileVw::OnWalkNames),
    msg::Message(filewalk::WM_WALK_ENDED, &CTempNetFileVw::OnWalkEnded),
    msg::Notify(LVN_GETDISPINFOW, IDC_TEMPNET_LIST, &CTempNetFileVw::OnRowText),
}};

CTempNetFileVw::CTempNetFileVw()
    : CPageView(IDD_TEMPNET, look::ListLook(IDC_TEMPNET_TITLE, IDC_TEMPNET_TEXT), L"Temporary Internet Files") {}

filewalk::WalkJob CTempNetFileVw::Job() { return {CacheFolder, GetSafeHwnd(), filewalk::IsListedCacheName}; }

void CTempNetFileVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TEMPNET_LIST, m_list);
    if (pDX->m_bSaveAndValidate) return;
    m_list.InsertColumn(0, L"Disk", LVCFMT_LEFT, 100);
    filewalk::StartListing(m_listing, Job());
}

void CTempNetFileVw::OnDestroy() {
    // The listing must be over before the list goes; what it posted goes with the page.
    m_listing.Stop(filewalk::kStopWaitMs);
    filewalk::DropQueuedBatches(m_hWnd);
    CPageView::OnDestroy();
}

void CTempNetFileVw::StartCacheErase() {
    // A listing still running would fill the list the erase empties.
    m_listing.Stop(filewalk::kStopWaitMs);
    filewalk::EraseBehindDialog(Job(), ProgressDialog());
}

EraseResult CTempNetFileVw::EraseWithoutWindow() {
    return filewalk::EraseWithoutWindow({CacheFolder, nullptr, nullptr});
}

void CTempNetFileVw::OnErase() {
    if (ProgressDialog().GetSafeHwnd()) return;  // ERASE pressed again while this erase runs
    StartCacheErase();
    filewalk::ReportRefusedFolder(CacheFolder());
    RunLibraryStep("InterNet");
}

LRESULT CTempNetFileVw::OnWalkNames(WPARAM, LPARAM lParam) {
    std::unique_ptr<filewalk::NameBatch> batch(reinterpret_cast<filewalk::NameBatch*>(lParam));
    // Each name goes on top, so the list reads in the reverse of the walk's order.
    m_rows.Add(*batch, m_list);
    return 0;
}

void CTempNetFileVw::OnRowText(NMHDR* nm, LRESULT*) { m_rows.Answer(nm); }

LRESULT CTempNetFileVw::OnWalkEnded(WPARAM, LPARAM) {
    m_rows.Clear(m_list);
    return 0;
}
