#include "TempNetFileVw.h"

#include "CategoryKeys.h"
#include "EraseProgressDlg.h"
#include "LibraryStep.h"
#include "ReportBox.h"
#include "Traces.h"
#include "resource.h"

namespace {
// One progress dialog for every erase of this page, for the life of the process.
CEraseProgressDlg& ProgressDialog() {
    static auto* dialog = new CEraseProgressDlg;
    return *dialog;
}
}  // namespace

const MsgMap CTempNetFileVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_TEMPNET_ERASE, &CTempNetFileVw::OnErase),
    msg::Notify(LVN_GETDISPINFOW, IDC_TEMPNET_LIST, &CTempNetFileVw::OnRowText),
}};

CTempNetFileVw::CTempNetFileVw()
    : CPageView(IDD_TEMPNET, look::ListLook(IDC_TEMPNET_TITLE, IDC_TEMPNET_TEXT), L"Temporary Internet Files") {}

void CTempNetFileVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TEMPNET_LIST, m_list);
    if (pDX->m_bSaveAndValidate) return;
    m_list.InsertColumn(0, L"Disk", LVCFMT_LEFT, 100);
    m_walk.Attach(m_hWnd);
    m_walk.List(engine::ShellFolder(L"Cache"),
                {engine::IsListedCacheName, false, [this](CPageWalk::Names& n) { m_rows.Add(n, m_list); }, IDC_HIDDEN_COUNT}, true);
}

void CTempNetFileVw::OnDestroy() {
    // The listing must be over before the list goes; what it handed over goes with the page.
    m_walk.Stop();
    CPageView::OnDestroy();
}

void CTempNetFileVw::OnErase() {
    bool ran = false;
    engine::Result r = m_walk.EraseBehindDialog(engine::keys::kCache, ProgressDialog(), [this] { m_rows.Clear(m_list); }, &ran);
    if (!ran) return;  // ERASE pressed again while this erase runs
    if (!r.Complete()) report::ShowOutcomes({{L"Temporary Internet Files", r, 0}});
    RunLibraryStep("InterNet");
}

void CTempNetFileVw::OnRowText(NMHDR* nm, LRESULT*) { m_rows.Answer(nm); }
